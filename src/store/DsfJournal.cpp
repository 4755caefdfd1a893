// The DSF's rollback journal (NAME.DSF-journal) and the repairs made when a DSF is attached.
//
// Before an operation overwrites records of the file, their old bytes go to the journal with the
// file's length; the operation then writes its appended records, the overwritten ones and the
// header last, and clears the journal's mark (the journal stays open while the DSF is attached
// and is removed at detach). A journal with its mark found at attach means the operation may be
// half written: its old bytes go back and the file is cut to its old length. The DSF's own byte
// layout is never touched for this.
//
// Journal layout (little-endian): 16-byte mark, u32 record count of the file before the
// operation, u32 number of saved records, 16 bytes of the DSF's identity, then per saved record
// its number (u16) and its 128 old bytes, and last a 64-bit FNV-1a sum of everything before it.
// A journal whose sum does not match was cut short before the DSF was touched; one whose mark is
// all zeros belongs to a finished operation.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include "shell/base/Bytes.h"
#include "shell/base/Files.h"
#include "shell/base/Host.h"
#include "shell/base/LogModel.h"
#include "shell/base/Messages.h"
#include "store/DsfLayout.h"
#include "store/Store.h"

namespace plotane {

using namespace dsf;

namespace {

constexpr char kMark[17] = "PLOTANE DSF JNL1";
constexpr std::size_t kHead = 16 + 4 + 4 + 16;
constexpr std::size_t kEntry = 2 + kRecordSize;
constexpr std::size_t kSum = 8;

uint64_t fnv1a(const uint8_t* p, std::size_t n) {
  uint64_t h = 14695981039346656037ull;
  for (std::size_t i = 0; i < n; ++i) {
    h ^= p[i];
    h *= 1099511628211ull;
  }
  return h;
}

// Whether any DSDir or series chain of the tree in `image` links to a record at or beyond `next`.
// Chains that loop or leave the file count as reaching beyond (nothing is cut then).
bool reachesBeyond(const std::vector<uint8_t>& image, uint16_t next) {
  const uint32_t records = uint32_t(image.size() / kRecordSize);
  std::vector<bool> seen(records, false);
  std::vector<uint16_t> dirs{1}, series;
  auto rec = [&](uint16_t n) { return image.data() + std::size_t(n) * kRecordSize; };
  // Follows one chain from `first`; false when it reaches beyond or misbehaves.
  auto chain = [&](uint16_t first, const std::function<void(const uint8_t*)>& visit) {
    for (uint16_t r = first; r != 0;) {
      if (r >= next || r >= records || seen[r]) return false;
      seen[r] = true;
      if (visit) visit(rec(r));
      r = link(rec(r));
    }
    return true;
  };
  while (!dirs.empty()) {
    uint16_t d = dirs.back();
    dirs.pop_back();
    bool ok = chain(d, [&](const uint8_t* r) {
      for (int i = 0; i < kEntriesPerRecord; ++i) {
        const uint8_t* e = r + entryOffset(i);
        uint16_t target = getU16(e);
        if (target == kNoRecord) continue;
        (e[30] == 1 ? dirs : series).push_back(target);
      }
    });
    if (!ok) return true;
  }
  for (uint16_t s : series)
    if (!chain(s, {})) return true;
  return false;
}

}  // namespace

bool Store::writeJournal(const std::vector<uint16_t>& overwritten, bool durable) {
  WriteFaults* faults = host.writeFaults();
  std::vector<uint8_t> j(kHead + kEntry * overwritten.size() + kSum);
  std::memcpy(j.data(), kMark, 16);
  putU32(j.data() + 16, diskRecords_);
  putU32(j.data() + 20, uint32_t(overwritten.size()));
  std::memcpy(j.data() + 24, headerBefore_.data() + kIdentityOffset, 16);
  uint8_t* p = j.data() + kHead;
  for (uint16_t n : overwritten) {
    putU16(p, n);
    std::memcpy(p + 2, before_.at(n).data(), kRecordSize);
    p += kEntry;
  }
  uint64_t sum = fnv1a(j.data(), j.size() - kSum);
  putU32(p, uint32_t(sum));
  putU32(p + 4, uint32_t(sum >> 32));

  const std::string name = journalName(dsfName_);
  bool made = false;
  if (journalFd_ < 0) {
    if (faults && !faults->step()) return false;
    journalFd_ = ::open(name.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (journalFd_ < 0) return false;
    made = true;
  }
  journalClear_ = false;
  bool ok = writeAllAt(journalFd_, j.data(), j.size(), 0, faults);
  if (ok && durable) ok = syncFile(journalFd_, faults);
  if (ok && durable && made) ok = syncFolderOf(name, faults);
  return ok;
}

bool Store::clearJournal(bool durable) {
  if (journalFd_ < 0) return true;
  WriteFaults* faults = host.writeFaults();
  const uint8_t zeros[16] = {};
  bool ok = writeAllAt(journalFd_, zeros, sizeof zeros, 0, faults);
  if (ok && durable) ok = syncFile(journalFd_, faults);
  if (ok) journalClear_ = true;
  return ok;
}

bool Store::restoreFileFromMemory() {
  WriteFaults* faults = host.writeFaults();
  if (fd_ < 0) return false;
  for (const auto& [n, old] : before_)
    if (!writeAllAt(fd_, old.data(), kRecordSize, (long long)n * kRecordSize, faults)) return false;
  struct stat st {};
  if (::fstat(fd_, &st) != 0) return false;
  if (st.st_size > off_t(diskRecords_) * kRecordSize &&
      !truncateFile(fd_, (long long)diskRecords_ * kRecordSize, faults))
    return false;
  return syncFile(fd_, faults);
}

bool Store::recoverFromJournal(int fd, const std::string& name) {
  WriteFaults* faults = host.writeFaults();
  const std::string jname = journalName(name);
  struct stat js {};
  if (::lstat(jname.c_str(), &js) != 0 && errno == ENOENT) return true;
  std::vector<uint8_t> j;
  std::string error;
  const std::size_t most = kHead + kEntry * 0x10000 + kSum;
  if (!readWholeFile(jname, j, error, most)) {
    IOFAIL(host, jname, error);
    return false;
  }
  uint32_t oldRecords = 0, count = 0;
  // A cleared mark: the last operation was whole, nothing to roll back.
  static const uint8_t zeros[16] = {};
  if (j.size() >= 16 && std::memcmp(j.data(), zeros, 16) == 0) {
    if (!removeFile(jname, faults)) {
      IOFAIL(host, jname, "cannot remove the journal: " + systemErrorText(errno));
      return false;
    }
    return true;
  }
  bool whole = j.size() >= kHead + kSum && std::memcmp(j.data(), kMark, 16) == 0;
  std::size_t length = 0;
  if (whole) {
    oldRecords = getU32(j.data() + 16);
    count = getU32(j.data() + 20);
    length = kHead + kEntry * std::size_t(count) + kSum;
    // The file may be longer than its last journal: what lies beyond is an older one's rest.
    whole = count <= 0x10000 && j.size() >= length && oldRecords <= 0x10000;
  }
  if (whole) {
    const uint8_t* s = j.data() + length - kSum;
    uint64_t sum = uint64_t(getU32(s)) | (uint64_t(getU32(s + 4)) << 32);
    whole = sum == fnv1a(j.data(), length - kSum);
  }
  if (!whole) {
    // Cut short while it was written: the DSF itself was not touched yet.
    if (!removeFile(jname, faults)) {
      IOFAIL(host, jname, "cannot remove the journal: " + systemErrorText(errno));
      return false;
    }
    log.ADDLOG("DSF " + name + ": an unfinished journal was removed; the file was not changed");
    return true;
  }
  // The journal must belong to this file: its identity is that of the file's header.
  uint8_t header[kRecordSize] = {};
  if (::pread(fd, header, kRecordSize, 0) != kRecordSize ||
      std::memcmp(header + kIdentityOffset, j.data() + 24, 16) != 0) {
    IOFAIL(host, jname, "the journal belongs to another DSF; move it away to attach");
    return false;
  }
  const uint8_t* p = j.data() + kHead;
  for (uint32_t i = 0; i < count; ++i, p += kEntry) {
    uint16_t n = getU16(p);
    if (n >= oldRecords ||
        !writeAllAt(fd, p + 2, kRecordSize, (long long)n * kRecordSize, faults)) {
      IOFAIL(host, name, "cannot roll back an interrupted operation");
      return false;
    }
  }
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0;
  if (ok && st.st_size > off_t(oldRecords) * kRecordSize)
    ok = truncateFile(fd, (long long)oldRecords * kRecordSize, faults);
  ok = ok && syncFile(fd, faults) && removeFile(jname, faults);
  if (!ok) {
    IOFAIL(host, name, "cannot roll back an interrupted operation: " + systemErrorText(errno));
    return false;
  }
  syncFolderOf(jname, faults);
  log.ADDLOG("DSF " + name + ": an interrupted operation was rolled back");
  return true;
}

bool Store::trimTail(int fd, const std::string& name, std::vector<uint8_t>& image) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return false;
  const uint32_t records = uint32_t(image.size() / kRecordSize);
  const uint8_t* h = image.data();
  // Only a file whose header is plainly a DSF header is cut; anything else is left as it is.
  const uint16_t next = getU16(h + kHeaderNextFree);
  if (h[0] != 0 || h[1] != 0 || h[2] != 0 || h[3] != kHeaderKind || next < 2 || next > records)
    return true;
  if (next == records && st.st_size == off_t(records) * kRecordSize) return true;
  // Records at and beyond the next free one are cut only when nothing in the tree reaches them:
  // a damaged header must not cost stored series.
  if (next < records && reachesBeyond(image, next)) return true;
  if (!truncateFile(fd, (long long)next * kRecordSize, host.writeFaults())) return false;
  image.resize(std::size_t(next) * kRecordSize);
  log.ADDLOG("DSF " + name + ": " + std::to_string(st.st_size - off_t(next) * kRecordSize) +
             " bytes after its last record (an interrupted store) were cut off");
  return true;
}

}  // namespace plotane
