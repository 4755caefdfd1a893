// The attached DSF: record access, create, attach, store and load of single series, DSDirs.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <unordered_set>

#include "shell/base/Bytes.h"
#include "shell/base/Files.h"
#include "shell/base/Host.h"
#include "shell/base/Messages.h"
#include "store/DsfLayout.h"
#include "store/Store.h"

namespace plotane {

using namespace dsf;

namespace {

// Leading blanks dropped, cut at the first blank after them.
std::string firstWord(const std::string& text) {
  std::string s = cut(text, kPathLength);
  std::size_t a = s.find_first_not_of(' ');
  if (a == std::string::npos) return {};
  std::size_t b = s.find(' ', a);
  return s.substr(a, b == std::string::npos ? std::string::npos : b - a);
}

std::string trimBlanks(const std::string& s) {
  std::size_t a = s.find_first_not_of(' ');
  if (a == std::string::npos) return {};
  std::size_t b = s.find_last_not_of(' ');
  return s.substr(a, b - a + 1);
}

}  // namespace

// ---- Record access ----

void Store::closeFile() {
  if (journalFd_ >= 0) {
    ::close(journalFd_);
    journalFd_ = -1;
    // A journal that still holds an operation is kept for the next attach to roll back.
    if (journalClear_) removeFile(journalName(dsfName_), host.writeFaults());
  }
  journalClear_ = true;
  if (fd_ >= 0) ::close(fd_);  // closing lets go of the lock too
  fd_ = -1;
  fileRecords_ = 0;
  diskRecords_ = 0;
  image_.clear();
  image_.shrink_to_fit();
  dirty_.clear();
  before_.clear();
  touched_.clear();
  syncPending_ = false;
}

void Store::ioFail(const std::string& what) {
  IOFAIL(host, dsfName_, what);
  StoreError = true;
  throw IoFault{};
}

void Store::readRecord(uint16_t n, uint8_t* rec) {
  if (fd_ < 0) ioFail("no file open");
  if (n >= fileRecords_) ioFail("record " + std::to_string(n) + " lies beyond the end of the file");
  std::memcpy(rec, image_.data() + std::size_t(n) * kRecordSize, kRecordSize);
}

void Store::writeRecord(uint16_t n, const uint8_t* rec) {
  if (fd_ < 0) ioFail("no file open");
  // Records are only appended: a write past the end would leave a hole of unknown records.
  if (n > fileRecords_) ioFail("record " + std::to_string(n) + " lies beyond the end of the file");
  if (n == fileRecords_) {
    ++fileRecords_;
    image_.resize(std::size_t(fileRecords_) * kRecordSize);
  } else if (n < diskRecords_ && !before_.count(n)) {
    // The first change of a record of the file in this operation: keep its old bytes for the
    // journal.
    std::array<uint8_t, kRecordSize>& old = before_[n];
    std::memcpy(old.data(), image_.data() + std::size_t(n) * kRecordSize, kRecordSize);
  }
  std::memcpy(image_.data() + std::size_t(n) * kRecordSize, rec, kRecordSize);
  dirty_.push_back(n);
}

void Store::flush() {
  if (dirty_.empty() || fd_ < 0) return;
  WriteFaults* faults = host.writeFaults();
  std::sort(dirty_.begin(), dirty_.end());
  dirty_.erase(std::unique(dirty_.begin(), dirty_.end()), dirty_.end());
  std::vector<uint16_t> appended, overwritten;
  bool header = false;
  for (uint16_t n : dirty_) {
    if (n == 0)
      header = true;
    else
      (n >= diskRecords_ ? appended : overwritten).push_back(n);
  }
  std::vector<uint16_t> journaled;
  for (const auto& [n, old] : before_) journaled.push_back(n);
  const bool durable =
      !(scriptRunning_ && *scriptRunning_) && syncDeferred_ == 0 && host.syncEachStoreOperation();
  const bool journal = journalEnabled && !journaled.empty();
  if (journal && !writeJournal(journaled, durable)) {
    std::string why = systemErrorText(errno);
    clearJournal(false);  // the file was not touched
    abandonOperation();
    StoreError = true;
    IOFAIL(host, journalName(dsfName_), "cannot write the journal: " + why);
    return;
  }
  // Runs of consecutive records, each one write.
  auto writeRuns = [&](const std::vector<uint16_t>& recs) {
    for (std::size_t i = 0; i < recs.size();) {
      std::size_t j = i + 1;
      while (j < recs.size() && recs[j] == recs[j - 1] + 1) ++j;
      std::size_t first = recs[i];
      if (!writeAllAt(fd_, image_.data() + first * kRecordSize, (j - i) * kRecordSize,
                      (long long)first * kRecordSize, faults))
        return false;
      i = j;
    }
    return true;
  };
  const std::vector<uint16_t> headerOnly{0};
  bool ok = writeRuns(appended) && writeRuns(overwritten) && (!header || writeRuns(headerOnly));
  if (ok && durable) ok = syncFile(fd_, faults);
  if (!ok) {
    std::string why = systemErrorText(errno);
    const std::string name = dsfName_;
    bool restored = restoreFileFromMemory();
    if (restored && journal) restored = clearJournal(true);
    abandonOperation();
    StoreError = true;
    IOFAIL(host, name, "cannot write the DSF: " + why);
    if (!restored) {
      // The file is left as the failure left it; the journal rolls it back at the next attach.
      closeFile();
      dsfName_.clear();
      header_.fill(0);
      resetCurrentDsDir();
      STOREMSG("DSF detached: attach it again to restore it");
    }
    return;
  }
  if (!durable) syncPending_ = true;
  if (journal && !clearJournal(durable)) {
    // Left as it is, the journal would undo this operation at the next attach.
    StoreError = true;
    IOFAIL(host, journalName(dsfName_), "cannot clear the journal: " + systemErrorText(errno));
  }
  diskRecords_ = fileRecords_;
  dirty_.clear();
  before_.clear();
  touched_.clear();
}

void Store::abandonOperation() {
  for (const auto& [n, old] : before_)
    std::memcpy(image_.data() + std::size_t(n) * kRecordSize, old.data(), kRecordSize);
  if (fd_ >= 0) {
    fileRecords_ = diskRecords_;
    image_.resize(std::size_t(diskRecords_) * kRecordSize);
  }
  header_ = headerBefore_;
  for (auto it = touched_.rbegin(); it != touched_.rend(); ++it) {
    Series& s = *it->s;
    if (!s.nameBlock || !s.info) continue;
    s.modified = it->modified;
    *s.nameBlock = it->name;
    s.info->stamp = it->stamp;
  }
  dirty_.clear();
  before_.clear();
  touched_.clear();
}

void Store::rememberSeries(Series& s) {
  for (const SeriesBefore& b : touched_)
    if (b.s == &s) return;
  if (!s.nameBlock || !s.info) return;
  touched_.push_back(SeriesBefore{&s, s.modified, *s.nameBlock, s.info->stamp});
}

void Store::SYNCDSF() {
  if (fd_ < 0 || !syncPending_) return;
  syncPending_ = false;
  // The file first, then the journal's cleared mark: never a stale journal beside a newer file.
  if (!syncFile(fd_, host.writeFaults()) ||
      (journalFd_ >= 0 && !syncFile(journalFd_, host.writeFaults()))) {
    StoreError = true;
    IOFAIL(host, dsfName_, "cannot write the DSF: " + systemErrorText(errno));
  }
}

void Store::writeHeader() { writeRecord(0, header_.data()); }

uint16_t Store::nextFree() const { return getU16(header_.data() + kHeaderNextFree); }

void Store::setNextFree(uint16_t n) { putU16(header_.data() + kHeaderNextFree, n); }

DsfIdentity Store::dsfIdentity() const {
  DsfIdentity id{};
  std::memcpy(id.data(), header_.data() + kIdentityOffset, id.size());
  return id;
}

uint16_t Store::allocate() {
  uint16_t n = nextFree();
  if (n >= kNoRecord) {
    StoreError = true;
    STOREMSG("DSF is full");
    throw IoFault{};
  }
  setNextFree(uint16_t(n + 1));
  return n;
}

bool Store::storeGuard() {
  if (!attached()) {
    StoreError = true;
    STOREMSG("No DSF attached");
    return false;
  }
  return true;
}

// Before an operation appends records: the next free record must be the end of the file (else
// appending would overwrite records or leave a hole), and `needed` records must still fit below
// record 0xFFFF. Checked before anything is written.
bool Store::checkAppend(uint32_t needed) {
  if (nextFree() != fileRecords_) {
    ioFail("next free record " + std::to_string(nextFree()) + " does not match the file length");
  }
  if (uint32_t(nextFree()) + needed > kNoRecord) {
    StoreError = true;
    STOREMSG("DSF is full");
    return false;
  }
  return true;
}

void Store::guardIo(const std::function<void()>& f) {
  // An operation called inside another is part of it: the outer one writes or abandons.
  if (ioDepth_ > 0) {
    f();
    return;
  }
  ++ioDepth_;
  headerBefore_ = header_;
  before_.clear();
  touched_.clear();
  diskRecords_ = fileRecords_;
  try {
    f();
  } catch (const IoFault&) {
    StoreError = true;
    // An abandoned operation leaves nothing half written.
    abandonOperation();
  } catch (...) {
    abandonOperation();
    --ioDepth_;
    throw;
  }
  --ioDepth_;
  flush();
}

void Store::readEntry(const uint8_t* rec, int slot, DsDirEntry& e) {
  const uint8_t* p = rec + entryOffset(slot);
  e.record = getU16(p);
  if (e.record == kNoRecord) {
    e.name.clear();
    e.kind = 0;
    return;
  }
  if (p[2] > kComponentLength) ioFail("DSDir entry name longer than its field");
  e.name = getPString(p + 2, kComponentLength);
  e.kind = p[30];
}

// ---- Create, attach, detach ----

void Store::resetCurrentDsDir() {
  currentPath_.clear();
  currentEntry_ = DsDirEntry{1, "", kDsDirKind};
  if (onLocationChanged) onLocationChanged();
}

void Store::CREATEDSF(const std::string& fileName) {
  if (fileExists(resolveFileName(fileName))) {
    StoreError = true;
    STOREMSG("DSF already exists");
    return;
  }
  // Exclusive: of two programs creating the same DSF, one gets "already exists".
  int fd = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    StoreError = true;
    if (errno == EEXIST)
      STOREMSG("DSF already exists");
    else
      IOFAIL(host, fileName, "cannot create the file: " + systemErrorText(errno));
    return;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    StoreError = true;
    STOREMSG("DSF is in use by another program");
    return;
  }
  // A journal left by an earlier file of this name belongs to no file any more.
  removeFile(journalName(fileName), nullptr);
  SYNCDSF();
  closeFile();
  dsfName_.clear();
  header_.fill(0);
  fd_ = fd;
  fileRecords_ = 0;
  dsfName_ = fileName;
  header_[3] = kHeaderKind;
  setNextFree(2);
  // The name tail: from the last folder separator (kept) to the end, at most 9 characters.
  std::size_t sep = fileName.find_last_of("\\/");
  std::string tail = sep == std::string::npos ? fileName : fileName.substr(sep);
  putPString(header_.data() + kHeaderNameTail, kNameTailLength, cut(tail, kNameTailLength));
  putStamp(header_.data() + kHeaderStamp, stampNow());
  StoreError = false;
  guardIo([&] {
    writeHeader();
    uint8_t root[kRecordSize];
    emptyDirRecord(root, 0);
    writeRecord(1, root);
  });
  if (StoreError) {
    closeFile();
    ::unlink(fileName.c_str());  // the file this call made, never finished
    dsfName_.clear();
    header_.fill(0);
  }
  resetCurrentDsDir();
}

void Store::ATTACHDSF(const std::string& fileName) {
  std::string name = resolveFileName(fileName);
  int fd = ::open(name.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    StoreError = true;
    STOREMSG(fileName + " not found");
    return;
  }
  struct stat st {};
  auto refuse = [&](const std::string& what) {
    ::close(fd);
    StoreError = true;
    IOFAIL(host, name, what);
  };
  if (::fstat(fd, &st) != 0) return refuse("cannot read the DSF header");
  if (!S_ISREG(st.st_mode)) return refuse("not a regular file");
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  // Attaching the attached DSF again: let go of it first, or its own lock would refuse it.
  struct stat cur {};
  if (fd_ >= 0 && ::fstat(fd_, &cur) == 0 && cur.st_dev == st.st_dev && cur.st_ino == st.st_ino) {
    SYNCDSF();
    closeFile();
    dsfName_.clear();
    header_.fill(0);
    resetCurrentDsDir();
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    StoreError = true;
    STOREMSG("DSF is in use by another program");
    return;
  }
  // At most 0x10000 records are addressable (record 0xFFFF never exists).
  if (st.st_size > off_t(0x10000) * kRecordSize) return refuse("file is larger than a DSF can be");
  if (!recoverFromJournal(fd, name)) {
    ::close(fd);
    StoreError = true;
    return;
  }
  std::vector<uint8_t> image;
  bool ok = ::fstat(fd, &st) == 0 && st.st_size >= kRecordSize;
  if (ok) {
    image.resize(std::size_t(st.st_size / kRecordSize) * kRecordSize);
    std::size_t done = 0;
    while (ok && done < image.size()) {
      ssize_t got = ::pread(fd, image.data() + done, image.size() - done, off_t(done));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0)
        ok = false;
      else
        done += std::size_t(got);
    }
  }
  if (!ok) return refuse("cannot read the DSF header");
  if (!trimTail(fd, name, image)) return refuse("cannot cut the DSF back to its last record");
  SYNCDSF();
  closeFile();
  fd_ = fd;
  fileRecords_ = uint32_t(image.size() / kRecordSize);
  diskRecords_ = fileRecords_;
  image_ = std::move(image);
  std::memcpy(header_.data(), image_.data(), kRecordSize);
  dsfName_ = name;
  resetCurrentDsDir();
  StoreError = false;
}

void Store::DETACHDSF() {
  SYNCDSF();
  closeFile();
  dsfName_.clear();
  header_.fill(0);
  resetCurrentDsDir();
}

// ---- DSDir chains ----

// Walks a DSDir chain from `first`, calling f(record number, record bytes) for each record;
// f returns false to stop. A chain longer than the file has records must loop.
void Store::forEachDirRecord(uint16_t first,
                             const std::function<bool(uint16_t, const uint8_t*)>& f) {
  if (first == 0) ioFail("DSDir entry points at the file header");
  uint16_t r = first;
  uint32_t steps = 0;
  uint8_t rec[kRecordSize];
  while (r != 0) {
    if (++steps > recordLimit()) ioFail("DSDir chain loops");
    readRecord(r, rec);
    if (!f(r, rec)) return;
    r = link(rec);
  }
}

bool Store::addEntry(const DsDirEntry& dir, const std::string& name, uint8_t kind, uint16_t& record,
                     bool& isNew, uint8_t& existingKind) {
  if (name.find_first_of("?*&") != std::string::npos || name.empty()) {
    StoreError = true;
    STOREMSG("Name syntax err");
    return false;
  }
  std::string want = upperCase(name);
  bool found = false;
  uint16_t freeRec = 0, lastRec = 0;
  int freeSlot = -1;
  forEachDirRecord(dir.record, [&](uint16_t r, const uint8_t* rec) {
    lastRec = r;
    for (int i = 0; i < kEntriesPerRecord; ++i) {
      DsDirEntry e;
      readEntry(rec, i, e);
      if (e.record == kNoRecord) {
        if (freeSlot < 0) {
          freeSlot = i;
          freeRec = r;
        }
      } else if (upperCase(e.name) == want) {
        found = true;
        record = e.record;
        existingKind = e.kind;
        return false;
      }
    }
    return true;
  });
  if (found) {
    isNew = false;
    return true;
  }
  isNew = true;
  uint8_t rec[kRecordSize];
  if (freeSlot >= 0) {
    record = nextFree();
    readRecord(freeRec, rec);
    putEntry(rec, freeSlot, record, name, kind);
    writeRecord(freeRec, rec);
    return true;
  }
  // Every slot is taken: a new DsDirRecord at the end of the chain holds the entry.
  uint16_t n = allocate();
  readRecord(lastRec, rec);
  setLink(rec, n);
  writeRecord(lastRec, rec);
  emptyDirRecord(rec, 0);
  record = nextFree();
  putEntry(rec, 0, record, name, kind);
  writeRecord(n, rec);
  return true;
}

bool Store::freeSlot(const DsDirEntry& parent, const std::string& name, uint8_t kind) {
  std::string want = upperCase(name);
  bool done = false;
  forEachDirRecord(parent.record, [&](uint16_t r, const uint8_t* rec) {
    for (int i = 0; i < kEntriesPerRecord; ++i) {
      DsDirEntry e;
      readEntry(rec, i, e);
      if (e.record != kNoRecord && e.kind == kind && upperCase(e.name) == want) {
        uint8_t copy[kRecordSize];
        std::memcpy(copy, rec, kRecordSize);
        putU16(copy + entryOffset(i), kNoRecord);
        writeRecord(r, copy);
        done = true;
        return false;
      }
    }
    return true;
  });
  return done;
}

bool Store::dirIsEmpty(uint16_t record) {
  bool empty = true;
  forEachDirRecord(record, [&](uint16_t, const uint8_t* rec) {
    for (int i = 0; i < kEntriesPerRecord; ++i)
      if (getU16(rec + entryOffset(i)) != kNoRecord) empty = false;
    return empty;
  });
  return empty;
}

bool Store::splitPath(const std::string& path, DsDirEntry& parent, std::string& parentPath,
                      std::string& last) {
  std::string text = firstWord(path);
  std::size_t dot = text.rfind('.');
  last = cut(dot == std::string::npos ? text : text.substr(dot + 1), kComponentLength);
  if (dot == std::string::npos) {
    parent = currentEntry_;
    parentPath = currentPath_;
  } else if (dot == 0) {
    parent = DsDirEntry{1, "", kDsDirKind};
    parentPath.clear();
  } else {
    std::string head = text.substr(0, dot);
    std::string found;
    parent = findEntry(head, found);
    if (StoreError) return false;
    parentPath = found;
  }
  // Only a DSDir can take entries; a series' header record is no DsDirRecord.
  if (parent.record == kNoRecord || parent.kind != kDsDirKind) {
    StoreError = true;
    STOREMSG("Path does not exist");
    return false;
  }
  return true;
}

// ---- Store and load ----

void Store::SAVESERIES(Series& s, const std::string& path) {
  StoreError = false;
  if (!storeGuard()) return;
  if (!ISLOADED(s)) {
    StoreError = true;
    return;
  }
  guardIo([&] {
    DsDirEntry parent;
    std::string parentPath, last;
    if (!splitPath(path, parent, parentPath, last)) return;
    // Worst case: a new DsDirRecord, the header record and one record per block.
    if (!checkAppend(uint32_t(s.blocks.size()) + 2)) return;
    uint16_t r = 0;
    bool isNew = false;
    uint8_t existingKind = 0;
    if (!addEntry(parent, last, kSeriesKind, r, isNew, existingKind)) return;
    uint8_t headerImage[kRecordSize] = {};
    uint8_t dataImage[kRecordSize] = {};
    if (isNew) {
      setNextFree(uint16_t(r + 2));
      setLink(headerImage, uint16_t(r + 1));
      headerImage[3] = kSeriesHeaderKind;
      dataImage[3] = kSeriesDataKind;
    } else {
      if (existingKind != kSeriesKind) {
        StoreError = true;
        STOREMSG("A DSDir has the name " + last);
        return;
      }
      readRecord(r, headerImage);
      uint16_t first = link(headerImage);
      if (first == 0) ioFail("stored series without a data record");
      readRecord(first, dataImage);
    }
    rememberSeries(s);
    s.nameBlock->storedRecord = r;
    std::string given = firstWord(path);
    s.nameBlock->path = cut(given[0] == '.' ? given : currentPath_ + "." + given, kPathLength);
    s.nameBlock->identity = dsfIdentity();
    writeSeries(s, r, headerImage, dataImage);
  });
}

void Store::writeSeries(Series& s, uint16_t r, uint8_t* headerImage, uint8_t* dataImage) {
  rememberSeries(s);
  headerImage[2] = s.reserved;
  s.info->stamp = stampNow();
  putInfo(headerImage, *s.info);
  writeRecord(r, headerImage);
  s.modified = false;
  uint16_t cur = link(headerImage);
  std::unordered_set<uint16_t> seen;
  const std::size_t n = s.blocks.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (cur == 0 || cur == r || !seen.insert(cur).second) ioFail("series record chain loops");
    for (int k = 0; k < kBlockValues; ++k) putF32(dataImage + 4 + 4 * k, s.blocks[i].v[k]);
    uint16_t l = link(dataImage);
    bool lastBlock = i + 1 == n;
    if (l == 0 && !lastBlock) {
      // The stored chain ends here: the remaining blocks go to new records at the end.
      uint16_t rec = allocate();
      setLink(dataImage, rec);
      writeRecord(cur, dataImage);
      for (std::size_t j = i + 1; j < n; ++j) {
        uint8_t img[kRecordSize] = {};
        img[3] = kSeriesDataKind;
        for (int k = 0; k < kBlockValues; ++k) putF32(img + 4 + 4 * k, s.blocks[j].v[k]);
        uint16_t next = j + 1 < n ? allocate() : 0;
        setLink(img, next);
        writeRecord(rec, img);
        rec = next;
      }
      break;
    }
    if (l != 0 && lastBlock) setLink(dataImage, 0);  // the rest of the old chain is abandoned
    writeRecord(cur, dataImage);
    if (lastBlock) break;
    readRecord(l, dataImage);
    cur = l;
  }
  writeHeader();
}

void Store::readSeriesInto(Series& s, uint16_t r, const std::string& path) {
  uint8_t rec[kRecordSize];
  readRecord(r, rec);
  if (rec[kInfoDescription] > kDescriptionLength)
    ioFail("series description longer than its field");
  SeriesInfo in;
  in.base = getI16(rec + 4);
  in.highest = getI16(rec + 6);
  in.firstSlot = int8_t(rec[8]);
  if (in.firstSlot >= kBlockValues || in.firstSlot < -1) ioFail("damaged series header");
  in.reserved = rec[9];
  in.stamp = getStamp(rec + 10);
  in.description = getPString(rec + kInfoDescription, kDescriptionLength);
  in.xRecord = getU16(rec + kInfoXRecord);
  // The values first, so that a damaged chain leaves the handle as it was.
  std::vector<ValueBlock> blocks;
  uint16_t l = link(rec);
  uint32_t steps = 0;
  uint8_t data[kRecordSize];
  while (l != 0) {
    if (++steps > recordLimit()) ioFail("series record chain loops");
    readRecord(l, data);
    ValueBlock& b = blocks.emplace_back();
    for (int k = 0; k < kBlockValues; ++k) b.v[k] = getF32(data + 4 + 4 * k);
    l = link(data);
  }
  if (blocks.empty()) blocks.emplace_back();
  Series* x = nullptr;
  if (in.xRecord != 0) {
    DsfIdentity id = dsfIdentity();
    for (Series* p = head_; p && !x; p = p->link)
      if (p->nameBlock && p->nameBlock->storedRecord == in.xRecord && p->nameBlock->identity == id)
        x = p;  // the first loaded copy in the chain
    if (!x) {
      StoreError = true;
      STOREMSG("Warning, x not avail for " + path);
    }
  }
  s.xLink = x;
  s.nameBlock->storedRecord = r;
  s.nameBlock->path = cut(path, kPathLength);
  s.nameBlock->identity = dsfIdentity();
  *s.info = std::move(in);
  s.reserved = rec[2];
  s.modified = false;
  s.blocks = std::move(blocks);
}

void Store::LOADSERIES(Series& s, uint16_t record, const std::string& path) {
  if (!storeGuard()) return;
  if (!ISLOADED(s)) NEWSERIES(s, false, "");
  guardIo([&] { readSeriesInto(s, record, path); });
}

void Store::LOADONE(Series& s, const std::string& path) {
  StoreError = false;
  if (!storeGuard()) return;
  NAMEDNEWSERIES(s, "", "");
  guardIo([&] {
    std::string found;
    DsDirEntry e = findEntry(path, found);
    if (StoreError) return;  // a refused pattern
    if (e.record == kNoRecord || e.kind != kSeriesKind) {
      StoreError = true;
      STOREMSG(path + " is not a series");
      return;
    }
    readSeriesInto(s, e.record, found);
  });
}

DsDirEntry Store::FINDENTRY(const std::string& path) {
  DsDirEntry e;
  e.record = kNoRecord;
  guardIo([&] {
    std::string found;
    e = findEntry(path, found);
  });
  return e;
}

void Store::SETDSDIR(const std::string& path) {
  StoreError = false;
  std::string text = trimBlanks(path);
  if (!text.empty() && text.back() == '.') text.pop_back();
  if (text.empty()) {
    resetCurrentDsDir();
    return;
  }
  guardIo([&] {
    std::string found;
    DsDirEntry e = findEntry(text, found);
    if (StoreError) return;
    if (e.record == kNoRecord || e.kind != kDsDirKind) {
      StoreError = true;
      return;
    }
    // The path as typed (up to the blank that ends it), made absolute: saves made afterwards
    // carry the user's spelling.
    const std::string typed = text.substr(0, text.find(' '));
    currentPath_ = cut(typed[0] == '.' ? typed : currentPath_ + "." + typed, kPathLength);
    currentEntry_ = e;
  });
  if (!StoreError && onLocationChanged) onLocationChanged();
}

void Store::MAKEDSDIR(const std::string& path) {
  StoreError = false;
  if (!storeGuard()) return;
  guardIo([&] {
    DsDirEntry parent;
    std::string parentPath, last;
    if (!splitPath(path, parent, parentPath, last)) return;
    if (last.empty() || last.find_first_of("&*?") != std::string::npos) {
      StoreError = true;
      return;
    }
    if (!checkAppend(2)) return;
    uint16_t r = 0;
    bool isNew = false;
    uint8_t existingKind = 0;
    if (!addEntry(parent, last, kDsDirKind, r, isNew, existingKind)) return;
    if (!isNew) {
      StoreError = true;
      STOREMSG("Directory already exists");
      return;
    }
    uint8_t rec[kRecordSize];
    emptyDirRecord(rec, 0);
    writeRecord(r, rec);
    setNextFree(uint16_t(r + 1));
    writeHeader();
  });
}

void Store::SETXSPEC(const std::string& yPattern, const std::string& xPath) {
  StoreError = false;
  if (!storeGuard()) return;
  guardIo([&] {
    uint16_t xRecord = 0;
    if (!trimBlanks(xPath).empty()) {
      std::string found;
      DsDirEntry x = findEntry(xPath, found);
      if (StoreError || x.record == kNoRecord || x.kind != kSeriesKind) {
        StoreError = true;
        STOREMSG("X series missing");
        return;
      }
      xRecord = x.record;
    }
    int matched = 0;
    bool ok = storeWalk(yPattern, false, [&](const WalkHit& hit, bool&) {
      if (hit.entry.kind != kSeriesKind) return;
      uint8_t rec[kRecordSize];
      readRecord(hit.entry.record, rec);
      putU16(rec + kInfoXRecord, xRecord);
      writeRecord(hit.entry.record, rec);
      ++matched;
    });
    if (!ok || StoreError || matched == 0) {
      StoreError = true;
      STOREMSG("Y series name error");
    }
  });
}

}  // namespace plotane
