#pragma once
// File helpers shared by every reader and writer.
//
// Writers never write into the file they replace: AtomicWriter (and writeWholeFile on top of it)
// writes a temporary file in the same folder and renames it over the target, so that a save
// happens whole or leaves the old file exactly as it was. Readers read regular files only, and
// never more than the format can hold.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace plotane {

// The name as given when such a file exists; otherwise a case-insensitive match in the same
// folder (data and scripts come from a case-insensitive file system); otherwise the name as given.
std::string resolveFileName(const std::string& given);

bool fileExists(const std::string& name);

// A hook for tests that makes file writes fail as a full disk or a killed process would. The
// Host hands it out (Host::writeFaults); writers that are given none never fail on purpose.
struct WriteFaults {
  // Writes fail (no space left) once this many more bytes have gone out; the write that crosses
  // the line puts out only the bytes before it. -1: never.
  long long failAfterBytes = -1;
  // The process counts as killed before its next file step once this many steps (each write,
  // sync, rename, truncation or removal) have been taken: that step and every later one do not
  // happen, and nothing is cleaned up. -1: never.
  long long killAfterSteps = -1;
  bool killed = false;
  // Steps taken so far (a test counts the steps of an operation with it).
  long long steps = 0;

  // Takes one step; false (errno set) when the process is killed at it.
  bool step();
  // How many of n bytes the next write may put out; 0 with errno set when none.
  std::size_t allowance(std::size_t n);
};

// Low-level writes through the hook (faults may be null). They retry short writes and
// interruptions; false with errno set on failure.
bool writeAllAt(int fd, const void* data, std::size_t n, long long offset, WriteFaults* faults);
bool writeAll(int fd, const void* data, std::size_t n, WriteFaults* faults);
bool syncFile(int fd, WriteFaults* faults);
// Makes a rename or removal in the folder of `file` durable.
bool syncFolderOf(const std::string& file, WriteFaults* faults);
bool removeFile(const std::string& name, WriteFaults* faults);
bool truncateFile(int fd, long long length, WriteFaults* faults);

// The text of the last system error, for messages.
std::string systemErrorText(int err);

// Writes one whole file atomically: open, write any number of times, then commit. Until commit
// succeeds the target is untouched; a failed or abandoned writer removes its temporary file.
// The temporary file is made in the target's folder; a symbolic link is written through to its
// target; an existing file keeps its permissions (and owner, where allowed). A target that is a
// device or a pipe (/dev/stdout, a printer port) is written directly, checking every write.
class AtomicWriter {
 public:
  explicit AtomicWriter(std::string target, WriteFaults* faults = nullptr);
  ~AtomicWriter();
  AtomicWriter(const AtomicWriter&) = delete;
  AtomicWriter& operator=(const AtomicWriter&) = delete;

  bool open();
  bool write(const void* data, std::size_t n);
  // Flushes, syncs and renames over the target. False (with error()) when anything failed.
  bool commit();
  const std::string& error() const { return error_; }

 private:
  void fail(const std::string& what, int err);
  void discard();

  std::string target_;
  std::string final_;  // where the bytes end up: the target, or the file its link points to
  std::string temp_;
  WriteFaults* faults_;
  int fd_ = -1;
  bool direct_ = false;
  bool failed_ = false;
  bool committed_ = false;
  bool hasMode_ = false;
  unsigned mode_ = 0;
  unsigned uid_ = 0, gid_ = 0;
  std::string error_;
};

// Whole-file helpers. On failure they return false and leave `error` with what failed.
bool writeWholeFile(const std::string& name, const std::vector<uint8_t>& data, std::string& error,
                    WriteFaults* faults = nullptr);

enum class ReadFailure { None, CannotOpen, NotRegular, TooLarge, ReadError, NoMemory };

// Opens a regular file for reading without ever blocking (a pipe, device or folder is refused);
// -1 with `error` and `why` set on failure.
int openRegularFile(const std::string& name, std::string& error, ReadFailure* why = nullptr,
                    long long* size = nullptr);

// Reads a whole regular file of at most maxBytes bytes (each reader passes what its format can
// hold; the default is a bound for files of no fixed format).
inline constexpr std::size_t kDefaultReadLimit = std::size_t(64) << 20;
bool readWholeFile(const std::string& name, std::vector<uint8_t>& out, std::string& error,
                   std::size_t maxBytes = kDefaultReadLimit, ReadFailure* why = nullptr);

// The UTF-8 byte-order mark some editors put at the start of a text file.
bool startsWithUtf8Bom(const void* data, std::size_t n);
void dropUtf8Bom(std::vector<uint8_t>& bytes);

// Reads a text file line by line, holding one line at a time: lines end at LF, and a CR before
// the LF is dropped; a last line without LF counts. A byte-order mark at the start is skipped.
class LineReader {
 public:
  static constexpr std::size_t kMaxLine = 1 << 20;

  LineReader() = default;
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  bool open(const std::string& name, std::string& error, ReadFailure* why = nullptr);
  // The next line; false at the end of the file or on a failure (failed() tells).
  bool next(std::string& line);
  bool failed() const { return failed_; }
  const std::string& error() const { return error_; }

 private:
  bool fill();

  int fd_ = -1;
  std::vector<char> buf_;
  std::size_t pos_ = 0, end_ = 0;
  bool eof_ = false;
  bool failed_ = false;
  bool first_ = true;
  std::string error_;
};

// The name with `ext` (for example ".GRL") appended when it has no extension of its own.
std::string withDefaultExtension(const std::string& name, const std::string& ext);

// ASCII upper-casing, as names and patterns are compared.
std::string upperCase(std::string s);
bool sameTextIgnoringCase(const std::string& a, const std::string& b);

// Cuts a string to at most n characters (the model's length-limited strings).
inline std::string cut(const std::string& s, std::size_t n) {
  return s.size() > n ? s.substr(0, n) : s;
}

}  // namespace plotane
