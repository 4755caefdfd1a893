#include "shell/base/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <random>

namespace plotane {

namespace fs = std::filesystem;

bool fileExists(const std::string& name) {
  std::error_code ec;
  return fs::is_regular_file(fs::path(name), ec);
}

std::string resolveFileName(const std::string& given) {
  if (given.empty()) return given;
  std::error_code ec;
  fs::path p(given);
  if (fs::exists(p, ec)) return given;
  fs::path dir = p.has_parent_path() ? p.parent_path() : fs::path(".");
  std::string want = upperCase(p.filename().string());
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (upperCase(it->path().filename().string()) == want) {
      return p.has_parent_path() ? (p.parent_path() / it->path().filename()).string()
                                 : it->path().filename().string();
    }
  }
  return given;
}

std::string systemErrorText(int err) { return std::strerror(err); }

// ---- The fault hook ----

bool WriteFaults::step() {
  if (killed) {
    errno = EIO;
    return false;
  }
  if (killAfterSteps >= 0 && steps >= killAfterSteps) {
    killed = true;
    errno = EIO;
    return false;
  }
  ++steps;
  return true;
}

std::size_t WriteFaults::allowance(std::size_t n) {
  if (failAfterBytes < 0) return n;
  std::size_t allowed = std::min<std::size_t>(n, std::size_t(failAfterBytes));
  failAfterBytes -= (long long)allowed;
  if (allowed == 0) errno = ENOSPC;
  return allowed;
}

// ---- Low-level writes ----

static bool writeLoop(int fd, const void* data, std::size_t n, long long offset,
                      WriteFaults* faults) {
  const char* p = static_cast<const char*>(data);
  // A full disk refuses only what makes a file grow: bytes over existing ones still go.
  long long size = -1;
  if (faults && faults->failAfterBytes >= 0 && offset >= 0) {
    struct stat st {};
    if (::fstat(fd, &st) == 0) size = (long long)st.st_size;
  }
  while (n > 0) {
    if (faults && !faults->step()) return false;
    std::size_t want = n;
    if (faults && !(offset >= 0 && offset < size)) {
      want = faults->allowance(n);
      if (want == 0) return false;  // the hook's full disk
    } else if (offset >= 0 && offset < size) {
      want = std::min<std::size_t>(n, std::size_t(size - offset));
    }
    ssize_t put = offset >= 0 ? ::pwrite(fd, p, want, off_t(offset)) : ::write(fd, p, want);
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (put == 0) {
      errno = ENOSPC;
      return false;
    }
    p += put;
    n -= std::size_t(put);
    if (offset >= 0) offset += put;
  }
  return true;
}

bool writeAllAt(int fd, const void* data, std::size_t n, long long offset, WriteFaults* faults) {
  return writeLoop(fd, data, n, offset, faults);
}

bool writeAll(int fd, const void* data, std::size_t n, WriteFaults* faults) {
  return writeLoop(fd, data, n, -1, faults);
}

bool syncFile(int fd, WriteFaults* faults) {
  if (faults && !faults->step()) return false;
  return ::fsync(fd) == 0;
}

bool syncFolderOf(const std::string& file, WriteFaults* faults) {
  if (faults && !faults->step()) return false;
  fs::path dir = fs::path(file).parent_path();
  int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0 || errno == EINVAL;
  ::close(fd);
  return ok;
}

bool removeFile(const std::string& name, WriteFaults* faults) {
  if (faults && !faults->step()) return false;
  return ::unlink(name.c_str()) == 0 || errno == ENOENT;
}

bool truncateFile(int fd, long long length, WriteFaults* faults) {
  if (faults && !faults->step()) return false;
  return ::ftruncate(fd, off_t(length)) == 0;
}

// ---- The atomic writer ----

AtomicWriter::AtomicWriter(std::string target, WriteFaults* faults)
    : target_(std::move(target)), faults_(faults) {}

AtomicWriter::~AtomicWriter() {
  if (!committed_) discard();
}

void AtomicWriter::fail(const std::string& what, int err) {
  if (failed_) return;
  failed_ = true;
  error_ = err ? what + ": " + systemErrorText(err) : what;
}

void AtomicWriter::discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  // A killed process cleans nothing up.
  if (!temp_.empty() && !(faults_ && faults_->killed)) ::unlink(temp_.c_str());
  temp_.clear();
}

bool AtomicWriter::open() {
  // Follow symbolic links to the file they name, so that the link itself stays a link.
  std::string p = target_;
  struct stat st {};
  bool exists = false;
  for (int depth = 0;; ++depth) {
    if (::lstat(p.c_str(), &st) != 0) {
      if (errno != ENOENT) {
        fail("cannot create the file", errno);
        return false;
      }
      break;
    }
    if (!S_ISLNK(st.st_mode)) {
      exists = true;
      break;
    }
    if (depth >= 40) {
      fail("cannot create the file", ELOOP);
      return false;
    }
    std::error_code ec;
    fs::path link = fs::read_symlink(p, ec);
    if (ec) {
      fail("cannot create the file", ec.value());
      return false;
    }
    p = link.is_absolute() ? link.string() : (fs::path(p).parent_path() / link).string();
  }
  final_ = p;
  if (exists && S_ISDIR(st.st_mode)) {
    fail("cannot create the file", EISDIR);
    return false;
  }
  if (exists && !S_ISREG(st.st_mode)) {
    // A device or a pipe has nothing to replace: write it directly.
    direct_ = true;
    fd_ = ::open(final_.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd_ < 0) fail("cannot create the file", errno);
    return fd_ >= 0;
  }
  if (exists) {
    hasMode_ = true;
    mode_ = st.st_mode & 07777;
    uid_ = st.st_uid;
    gid_ = st.st_gid;
  }
  fs::path f(final_);
  std::string folder = f.parent_path().string();
  std::string base = f.filename().string();
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", unsigned(rd()));
    temp_ = (folder.empty() ? std::string() : folder + "/") + "." + base + "." + suffix + ".tmp";
    if (faults_ && !faults_->step()) {
      temp_.clear();
      fail("cannot create the file", errno);
      return false;
    }
    // Mode 0666 lets the user's umask decide for a new file, as a plain create would.
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) break;
    if (errno != EEXIST) {
      int err = errno;
      temp_.clear();
      fail("cannot create the file", err);
      return false;
    }
  }
  if (fd_ < 0) {
    temp_.clear();
    fail("cannot create the file", EEXIST);
    return false;
  }
  if (hasMode_) {
    // Owner first: changing it may clear the set-id bits, which the mode then restores.
    if (::fchown(fd_, uid_, gid_) != 0) {
      // Only the owner's own group change may be refused; the file stays the user's.
    }
    ::fchmod(fd_, mode_t(mode_));
  }
  return true;
}

bool AtomicWriter::write(const void* data, std::size_t n) {
  if (failed_ || fd_ < 0) {
    if (!failed_) fail("file not open", 0);
    return false;
  }
  if (n == 0) return true;
  if (!writeAll(fd_, data, n, faults_)) {
    fail("cannot write the file", errno);
    return false;
  }
  return true;
}

bool AtomicWriter::commit() {
  if (fd_ < 0 && !failed_) fail("file not open", 0);
  if (failed_) {
    discard();
    return false;
  }
  if (!syncFile(fd_, faults_) && !(direct_ && (errno == EINVAL || errno == EROFS))) {
    fail("cannot write the file", errno);
    discard();
    return false;
  }
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    fail("cannot write the file", errno);
    discard();
    return false;
  }
  if (direct_) {
    committed_ = true;
    return true;
  }
  if (faults_ && !faults_->step()) {
    fail("cannot replace the file", errno);
    discard();
    return false;
  }
  if (::rename(temp_.c_str(), final_.c_str()) != 0) {
    fail("cannot replace the file", errno);
    discard();
    return false;
  }
  temp_.clear();
  committed_ = true;
  // The new name is made durable too; the save itself is already whole either way.
  syncFolderOf(final_, faults_);
  return true;
}

bool writeWholeFile(const std::string& name, const std::vector<uint8_t>& data, std::string& error,
                    WriteFaults* faults) {
  AtomicWriter w(name, faults);
  if (w.open() && w.write(data.data(), data.size()) && w.commit()) return true;
  error = w.error();
  return false;
}

// ---- Bounded reads ----

int openRegularFile(const std::string& name, std::string& error, ReadFailure* why,
                    long long* size) {
  auto refuse = [&](ReadFailure f, const std::string& text) {
    if (why) *why = f;
    error = text;
    return -1;
  };
  // Non-blocking, so that opening a pipe never waits for a writer.
  int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return refuse(ReadFailure::CannotOpen, "cannot open file: " + systemErrorText(errno));
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    int err = errno;
    ::close(fd);
    return refuse(ReadFailure::ReadError, "cannot read file: " + systemErrorText(err));
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    return refuse(ReadFailure::NotRegular,
                  S_ISDIR(st.st_mode) ? "is a folder, not a file" : "not a regular file");
  }
  int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  if (size) *size = (long long)st.st_size;
  if (why) *why = ReadFailure::None;
  return fd;
}

bool readWholeFile(const std::string& name, std::vector<uint8_t>& out, std::string& error,
                   std::size_t maxBytes, ReadFailure* why) {
  out.clear();
  long long size = 0;
  int fd = openRegularFile(name, error, why, &size);
  if (fd < 0) return false;
  auto refuse = [&](ReadFailure f, const std::string& text) {
    ::close(fd);
    out.clear();
    out.shrink_to_fit();
    if (why) *why = f;
    error = text;
    return false;
  };
  if (size < 0 || (unsigned long long)size > maxBytes)
    return refuse(ReadFailure::TooLarge, "file is larger than this kind of file can be");
  try {
    out.resize(std::size_t(size));
  } catch (const std::bad_alloc&) {
    return refuse(ReadFailure::NoMemory, "not enough memory to read the file");
  }
  std::size_t done = 0;
  for (;;) {
    if (done == out.size()) {
      // The file may have grown since it was measured: read on, within the bound.
      if (out.size() >= maxBytes) {
        uint8_t probe;
        ssize_t more = ::read(fd, &probe, 1);
        if (more > 0)
          return refuse(ReadFailure::TooLarge, "file is larger than this kind of file can be");
        break;
      }
      // A small probe first: most files have not grown, and the buffer is not widened (and
      // its new pages paid for) for nothing.
      uint8_t chunk[4096];
      ssize_t got = ::read(fd, chunk, std::min(sizeof chunk, maxBytes - out.size()));
      if (got < 0) {
        if (errno == EINTR) continue;
        return refuse(ReadFailure::ReadError, "read failed: " + systemErrorText(errno));
      }
      if (got == 0) break;
      try {
        out.insert(out.end(), chunk, chunk + got);
      } catch (const std::bad_alloc&) {
        return refuse(ReadFailure::NoMemory, "not enough memory to read the file");
      }
      done += std::size_t(got);
      continue;
    }
    ssize_t got = ::read(fd, out.data() + done, out.size() - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      return refuse(ReadFailure::ReadError, "read failed: " + systemErrorText(errno));
    }
    if (got == 0) break;
    done += std::size_t(got);
  }
  ::close(fd);
  out.resize(done);
  if (why) *why = ReadFailure::None;
  return true;
}

bool startsWithUtf8Bom(const void* data, std::size_t n) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  return n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF;
}

void dropUtf8Bom(std::vector<uint8_t>& bytes) {
  if (startsWithUtf8Bom(bytes.data(), bytes.size())) bytes.erase(bytes.begin(), bytes.begin() + 3);
}

// ---- Line reader ----

LineReader::~LineReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool LineReader::open(const std::string& name, std::string& error, ReadFailure* why) {
  fd_ = openRegularFile(name, error, why);
  if (fd_ < 0) return false;
  try {
    buf_.resize(65536);
  } catch (const std::bad_alloc&) {
    error = "not enough memory to read the file";
    if (why) *why = ReadFailure::NoMemory;
    return false;
  }
  return true;
}

bool LineReader::fill() {
  if (eof_ || failed_ || fd_ < 0) return false;
  if (pos_ > 0) {
    std::memmove(buf_.data(), buf_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
  }
  if (end_ == buf_.size()) {
    if (buf_.size() >= kMaxLine + 2) {
      failed_ = true;
      error_ = "line too long";
      return false;
    }
    try {
      buf_.resize(std::min(buf_.size() * 2, kMaxLine + 2));
    } catch (const std::bad_alloc&) {
      failed_ = true;
      error_ = "not enough memory to read the file";
      return false;
    }
  }
  const std::size_t had = end_;
  for (;;) {
    ssize_t got = ::read(fd_, buf_.data() + end_, buf_.size() - end_);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      failed_ = true;
      error_ = "read failed: " + systemErrorText(errno);
      return false;
    }
    if (got == 0) {
      eof_ = true;
      return end_ > had;  // what this call read is still to be scanned
    }
    end_ += std::size_t(got);
    if (first_ && end_ < 3 && !eof_) continue;  // enough to see a byte-order mark
    return true;
  }
}

bool LineReader::next(std::string& line) {
  if (fd_ < 0 || failed_) return false;
  std::size_t scanned = pos_;
  for (;;) {
    if (first_ && end_ - pos_ >= 3) {
      if (startsWithUtf8Bom(buf_.data() + pos_, 3)) pos_ += 3;
      first_ = false;
      scanned = pos_;
    }
    const char* start = buf_.data() + pos_;
    const void* nl = std::memchr(buf_.data() + scanned, '\n', end_ - scanned);
    if (nl) {
      std::size_t len = std::size_t(static_cast<const char*>(nl) - start);
      std::size_t keep = len > 0 && start[len - 1] == '\r' ? len - 1 : len;
      line.assign(start, keep);
      pos_ += len + 1;
      return true;
    }
    std::size_t before = end_ - pos_;
    if (!fill()) {
      if (failed_) return false;
      first_ = false;
      if (end_ == pos_) return false;
      // The last line, without a line end.
      std::size_t len = end_ - pos_;
      const char* s = buf_.data() + pos_;
      std::size_t keep = s[len - 1] == '\r' ? len - 1 : len;
      line.assign(s, keep);
      pos_ = end_;
      return true;
    }
    scanned = pos_ + before;
  }
}

std::string withDefaultExtension(const std::string& name, const std::string& ext) {
  fs::path p(name);
  if (p.has_extension()) return name;
  return name + ext;
}

std::string upperCase(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

bool sameTextIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && upperCase(a) == upperCase(b);
}

}  // namespace plotane
