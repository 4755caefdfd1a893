#pragma once
// The series store: the loaded-series chain and the elementary Series operations, the attached
// DSF with its DSDir tree and pattern walks, and the calculations on whole series. All store
// state lives in one Store object owned by the application context.
//
// Failures set StoreError (callers test it after the call) and show fixed texts through the
// Host; nothing is thrown to callers.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "store/Series.h"

namespace plotane {

class Host;
class LogModel;

inline constexpr int kRecordSize = 128;
inline constexpr uint8_t kSeriesKind = 0;
inline constexpr uint8_t kDsDirKind = 1;

// One slot of a DsDirRecord (or the root's entry, which exists only in memory).
struct DsDirEntry {
  uint16_t record = kNoRecord;  // series: its header record; DSDir: its first DsDirRecord
  std::string name;
  uint8_t kind = kDsDirKind;
};

// Called after LOADPATTERN has loaded a series into a worksheet column.
using ColumnLoaded = std::function<void(int column)>;

class Store {
 public:
  Store(Host& host, LogModel& log);
  ~Store();
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  Host& host;
  LogModel& log;

  // ---- Shared state ----
  bool StoreError = false;
  // The default index range of generated series and calculations (the worksheet's row use
  // limits set them).
  int16_t UseLow = 0;
  int16_t UseHigh = 800;
  // Below this magnitude a divisor counts as zero.
  double InverseOverflow = 1.0 / 3.4E38;
  // Set when the last calculation ended on a floating-point fault (a result beyond the single
  // range); a command that runs several calculations stops there.
  bool CalcFault = false;

  // ---- Series operations ----
  void NEWSERIES(Series& s, bool flag, const std::string& description);
  void NAMEDNEWSERIES(Series& s, const std::string& name, const std::string& description);
  void DISPOSESERIES(Series& s);
  bool ISLOADED(Series& s);
  void COPYSERIES(Series& dest, Series& src);
  void MOVESERIES(Series& dest, Series& src);
  std::string SERIESNAME(Series& s);
  // Returns StoreError (true when the handle is not loaded).
  bool SERIESRANGE(Series& s, int& lowest, int& highest);
  float GETVAL(Series& s, int index);
  void PUTVAL(Series& s, int index, double value);
  void STOREMSG(const std::string& text);
  // The legal form of a typed series name: pieces of at most 27 characters, no "&", "*", "?".
  static bool ISLEGALNAME(const std::string& name);

  // The loaded-series chain, in order of creation.
  Series* loadedHead() const { return head_; }
  Series* loadedTail() const { return tail_; }
  Series* loadedCursor() const { return cursor_; }
  int loadedCount() const;

  // ---- DSF and store operations ----
  bool attached() const { return fd_ >= 0; }
  const std::string& DsfName() const { return dsfName_; }
  const std::array<uint8_t, kRecordSize>& DsfHeader() const { return header_; }
  uint16_t nextFree() const;
  DsfIdentity dsfIdentity() const;
  // The current DSDir: "" for the root, otherwise "." + name for each level.
  const std::string& CurrentPath() const { return currentPath_; }
  const DsDirEntry& CurrentEntry() const { return currentEntry_; }
  // The worksheet's Delete DSDir resets the current DSDir to the root.
  void resetCurrentDsDir();
  // Called when the attached file or the current DSDir changed (the worksheet's labels).
  std::function<void()> onLocationChanged;

  void CREATEDSF(const std::string& fileName);
  void ATTACHDSF(const std::string& fileName);
  void DETACHDSF();
  // Makes every operation stored so far durable (fsync). Operations started from a window do
  // this themselves; during a script run it waits for the end of the run (and for detach).
  void SYNCDSF();
  // While the flag is set (a script statement runs) an operation's writes are not synced.
  void setScriptRunningFlag(const bool* flag) { scriptRunning_ = flag; }
  // The rollback journal beside the attached DSF (NAME.DSF-journal).
  static std::string journalName(const std::string& dsfName) { return dsfName + "-journal"; }
  // Off only to measure what the journal costs: operations are then written without it.
  bool journalEnabled = true;
  // One command that stores many series (Save columns) syncs once, at its end, not per series.
  class SyncOnce {
   public:
    explicit SyncOnce(Store& store) : store_(store) { ++store_.syncDeferred_; }
    ~SyncOnce() {
      // Inside a script the end of the run syncs.
      if (--store_.syncDeferred_ == 0 && !(store_.scriptRunning_ && *store_.scriptRunning_))
        store_.SYNCDSF();
    }
    SyncOnce(const SyncOnce&) = delete;
    SyncOnce& operator=(const SyncOnce&) = delete;

   private:
    Store& store_;
  };
  void SAVESERIES(Series& s, const std::string& path);
  void LOADSERIES(Series& s, uint16_t record, const std::string& path);
  void LOADONE(Series& s, const std::string& path);
  DsDirEntry FINDENTRY(const std::string& path);
  void SETDSDIR(const std::string& path);
  void MAKEDSDIR(const std::string& path);
  void SETXSPEC(const std::string& yPattern, const std::string& xPath);

  // Loads every matching series into the columns, starting at firstColumn (see the worksheet's
  // column array); refresh is called with the column number after each load.
  void LOADPATTERN(const std::string& pattern, int firstColumn, std::span<Series> columns,
                   const ColumnLoaded& refresh = {});
  void REPLACESERIES(const std::string& pattern);
  void ERASESERIES(const std::string& pattern);
  void DELETEDSDIR(const std::string& pattern);
  void LISTDSDIR(const std::string& pattern);
  void TREELIST();
  void FULLDETAILS(const std::string& pattern);
  // The absolute path of the entry with this record and kind, searched over the whole tree.
  bool FINDPATH(uint16_t record, uint8_t kind, std::string& path);
  // The series-selection dialog's two listings.
  void LISTSERIESPATHS(const std::string& pattern, std::vector<std::string>& out);
  void TREELISTLINES(std::vector<std::string>& out);

  // ---- Calculations over the use range ----
  void UNARYCALCS(char op, Series& dest, Series& src);
  void CONSTCALCS(char op, Series& dest, Series& src, double constant);
  void BINARYCALCS(char op, Series& dest, Series& left, Series& right);
  void MODIFYUN(char op, Series& target);
  void MODIFYBIN(char op, Series& target, Series& operand);
  // Location of an index's value (block number and slot); false with StoreError outside range.
  bool GETVPT(Series& s, int index, int& block, int& slot);
  void MAKEINDEXSERIES(Series& s);
  void MAKERAMP(Series& s, double start, double increment);
  void MAKECONST(Series& s, double value);
  bool DELETEENDVALUE(Series& s, int index);

 private:
  friend class Series;
  struct IoFault {};

  // One entry a walk offers to its operation, with its absolute path (".NAME" per level).
  struct WalkHit {
    const DsDirEntry& entry;
    int depth;
    std::string path;
    std::string parentPath;
    DsDirEntry parent;
  };
  using WalkOp = std::function<void(const WalkHit& hit, bool& stop)>;

  void unlink(Series& s);
  void freeSeries(Series& s);
  void appendLoaded(Series& s);
  SaveStamp stampNow();

  // Record file access; a failure reports through IOFAIL and throws IoFault, which every
  // public DSF operation catches.
  void readRecord(uint16_t n, uint8_t* rec);
  void writeRecord(uint16_t n, const uint8_t* rec);
  void writeHeader();
  // Writes the operation's records: old bytes of overwritten records to the journal, then the
  // appended records, the overwritten ones and the header last; then the journal goes.
  void flush();
  // The operation failed before or while it was written: memory and file as they were before it.
  void abandonOperation();
  bool writeJournal(const std::vector<uint16_t>& overwritten, bool durable);
  // Clears the journal's mark once its operation is whole: the journal then rolls nothing back.
  bool clearJournal(bool durable);
  // Puts the old bytes back into the file after a failed write; false when even that failed.
  bool restoreFileFromMemory();
  // At attach: a leftover journal rolls the file back; false when the file cannot be attached.
  bool recoverFromJournal(int fd, const std::string& name);
  // At attach: a file longer than its next free record is cut back to it.
  bool trimTail(int fd, const std::string& name, std::vector<uint8_t>& image);
  void rememberSeries(Series& s);
  uint16_t allocate();
  [[noreturn]] void ioFail(const std::string& what);
  void setNextFree(uint16_t n);
  void closeFile();
  bool storeGuard();
  bool checkAppend(uint32_t needed);
  // Runs f; an IoFault inside ends it with StoreError set.
  void guardIo(const std::function<void()>& f);
  // Walks a DSDir chain; f(record number, record bytes) returns false to stop.
  void forEachDirRecord(uint16_t first, const std::function<bool(uint16_t, const uint8_t*)>& f);
  void readEntry(const uint8_t* rec, int slot, DsDirEntry& e);
  // How many records a chain may pass before it must be looping.
  uint32_t recordLimit() const { return fileRecords_ > 0 ? fileRecords_ : 1; }

  bool splitPath(const std::string& path, DsDirEntry& parent, std::string& parentPath,
                 std::string& last);
  bool addEntry(const DsDirEntry& dir, const std::string& name, uint8_t kind, uint16_t& record,
                bool& isNew, uint8_t& existingKind);
  void writeSeries(Series& s, uint16_t r, uint8_t* headerImage, uint8_t* dataImage);
  void readSeriesInto(Series& s, uint16_t r, const std::string& path);
  bool freeSlot(const DsDirEntry& parent, const std::string& name, uint8_t kind);
  bool dirIsEmpty(uint16_t record);
  // The entry a path without wildcards names (record 0xFFFF when none) and its absolute path.
  DsDirEntry findEntry(const std::string& path, std::string& foundPath);
  // The tree walk: false when the store guard or the pattern refused it.
  bool storeWalk(const std::string& pattern, bool singleEntry, const WalkOp& op,
                 bool offerEveryDir = false);
  bool findPath(uint16_t record, uint8_t kind, std::string& path);
  void treeLines(std::vector<std::string>& out);

  Series* head_ = nullptr;
  Series* tail_ = nullptr;
  Series* cursor_ = nullptr;

  int fd_ = -1;
  uint32_t fileRecords_ = 0;
  // Records in the file itself, before the running operation appends any.
  uint32_t diskRecords_ = 0;
  // The running operation: old bytes of the records it overwrote, the header before it, and the
  // loaded series it stored (their in-memory state comes back if it fails).
  std::map<uint16_t, std::array<uint8_t, kRecordSize>> before_;
  std::array<uint8_t, kRecordSize> headerBefore_{};
  struct SeriesBefore {
    Series* s;
    bool modified;
    SeriesNameBlock name;
    SaveStamp stamp;
  };
  std::vector<SeriesBefore> touched_;
  int ioDepth_ = 0;
  const bool* scriptRunning_ = nullptr;
  int syncDeferred_ = 0;
  bool syncPending_ = false;
  // The journal stays open while the DSF is attached and is cleared after each operation (cheaper
  // than making and removing a file each time); detach removes it.
  int journalFd_ = -1;
  bool journalClear_ = true;
  // The attached file's records, read once at attach: reads are served from here and writes go
  // here first, then to the file in runs of consecutive records at the end of each operation.
  std::vector<uint8_t> image_;
  std::vector<uint16_t> dirty_;
  std::string dsfName_;
  std::array<uint8_t, kRecordSize> header_{};
  std::string currentPath_;
  DsDirEntry currentEntry_{1, "", kDsDirKind};
};

}  // namespace plotane
