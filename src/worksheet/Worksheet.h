#pragma once
// The data worksheet: 510 columns, each owning one Series handle at a fixed address, shown in a
// grid of indices. The model answers what every grid cell and column-list line shows (computed
// when painted, never stored), edits cells, runs the column requests through which every command
// asks for columns, and carries out the column commands and the table-file reads and writes.
// A window (or a test) attaches a WorksheetView to be told what to repaint.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "shell/base/Host.h"
#include "store/Store.h"
#include "worksheet/Format.h"

namespace plotane {

class Host;
class LogModel;
class Worksheet;

// What a window implements to follow the worksheet. Every notification only says what to
// repaint; the texts come from the Worksheet (CellText, GridText, ColumnListLine, ...).
class WorksheetView {
 public:
  virtual ~WorksheetView() = default;
  // One cell's text changed.
  virtual void cellChanged(int /*column*/, int /*index*/) {}
  // Any cell of the column may have changed (shown again, or blanked).
  virtual void columnChanged(int /*column*/) {}
  // The six lines of the column-name list or its selection changed.
  virtual void columnListChanged() {}
  // The "Xvals" grid column or the X name label changed.
  virtual void xvalsChanged() {}
  // The row use limits changed (the use-limit label).
  virtual void useLimitsChanged() {}
  // A column request was opened, replaced, confirmed or cancelled.
  virtual void requestChanged() {}
  // The text the current cell shows in the grid's editor; false when the view has none (then
  // the model's own text is used, which needs no commit).
  virtual bool currentEditText(std::string& /*text*/) { return false; }
  // The number display dialog: format holds the preselected format and receives the choice.
  // False on Cancel. Without a view the format is taken as given.
  virtual bool askDecimalSpec(int& /*format*/) { return true; }
  // The series name dialog for a column (name and two description lines), which calls
  // Worksheet::ApplyName on OK; false on Cancel. A view without it leaves hasNameDialog false
  // and the Host's name prompt is used.
  virtual bool hasNameDialog() const { return false; }
  virtual bool nameDialog(Worksheet& /*ws*/, int /*column*/) { return false; }
  // The attached DSF or the current DSDir changed (the file and DSDir labels), whoever did it.
  virtual void storeLocationChanged() {}
};

enum class RequestKind { None, Column, Range };

// The pending question for columns.
struct ColumnRequest {
  RequestKind kind = RequestKind::None;
  std::string prompt;         // up to 67 characters
  int code = 0;               // RequestCode, the step run on confirmation
  bool forGraphDefs = false;  // asked on behalf of the graph definitions window
};

// One step of a command, run when a column request with its code is confirmed.
using RequestStep = std::function<void(Worksheet&)>;

class Worksheet {
 public:
  static constexpr int kRequestCodes = 41;  // request codes 0..40
  static constexpr std::size_t kPromptLength = 67;
  static constexpr std::size_t kEntryTextLength = 31;
  static constexpr std::size_t kCellTextLength = 67;

  Worksheet(Store& store, Host& host, LogModel& log);
  ~Worksheet();
  Worksheet(const Worksheet&) = delete;
  Worksheet& operator=(const Worksheet&) = delete;

  Store& store;
  Host& host;
  LogModel& log;

  void setView(WorksheetView* view) { view_ = view; }
  WorksheetView* view() const { return view_; }
  // While the flag is set (an EBT statement runs) the worksheet asks no closing question.
  void setScriptRunningFlag(const bool* flag) { scriptRunning_ = flag; }
  bool scriptRunning() const { return scriptRunning_ && *scriptRunning_; }

  // ---- Columns ----
  Series& column(int c) { return columns_[c]; }
  const Series& column(int c) const { return columns_[c]; }
  std::span<Series> columns() { return {columns_.get(), std::size_t(ColumnCount)}; }
  bool inUse(int c) const { return validColumn(c) && columns_[c].inUse(); }
  static bool validColumn(int c) { return c >= 0 && c <= MaxColumn; }
  // The column whose handle this is, -1 for none.
  int columnOf(const Series* s) const;
  // The series name of a column in use, "" otherwise.
  std::string columnName(int c) const;

  std::array<int8_t, ColumnCount> DecimalSpec;

  // ---- Row use limits (the store's default index range) ----
  int UseLow() const { return store.UseLow; }
  int UseHigh() const { return store.UseHigh; }
  static bool UseLimitsValid(int low, int high);
  // Sets the limits as given (the dialog checks them first with UseLimitsValid).
  void SetUseLimits(int low, int high);
  // "Low=" + Str(UseLow, 7) + "      High=" + Str(UseHigh, 7).
  std::string RowUseLabel() const;
  static constexpr const char* kUseLimitsRefused =
      "Row use limits are out of range or low is bigger than high!";

  // ---- What the grid shows ----
  // The text of a data cell: "----" for a missing value inside the column's range, the number
  // in the column's display format otherwise inside the range, "" outside it.
  std::string CellText(int column, int index) const;
  // Grid row 0 is the heading row, rows 1.. show indices -400..12000; grid column 0 holds the
  // row numbers, 1 "Xvals", 2.. the worksheet columns 0..509.
  static constexpr int kGridRows = MaxRowIndex - MinRowIndex + 2;
  static constexpr int kGridColumns = ColumnCount + 2;
  static int gridRowOfIndex(int index) { return index - MinRowIndex + 1; }
  static int indexOfGridRow(int row) { return row + MinRowIndex - 1; }
  std::string GridText(int gridRow, int gridColumn) const;
  std::string XvalsText(int index) const;

  // ---- Current cell ----
  int CurrentColumn = 0;
  int CurrentIndex = 0;
  std::string EntryText;
  // The grid cursor moves: commits the current cell (with its editor text) and moves only when
  // that succeeds. EntryText becomes the new cell's text.
  bool SelectCell(int column, int index);
  // Escape in the grid: the edit is undone.
  void UndoCurrentEdit();
  // Commits text typed into a cell (see the cell rules); false after a refused conversion.
  bool CommitCell(int column, int index, const std::string& text);
  // CommitCell on the current cell with the view's editor text; on failure shows
  // "Error at <column>,<index>".
  bool CommitCurrentCell();

  // ---- Display operations ----
  void ShowCell(int column, int index);
  void ShowColumn(int column);
  void ClearColumn(int column);
  void RefreshColumnList();
  void RefreshXvals(int currentColumn);
  // Every column shown again (after a whole-worksheet change).
  void ShowAllColumns();

  // The column-name list: six lines from the leftmost visible data column on.
  int ListFirstColumn = 0;
  void setLeftColumn(int column);
  std::string ColumnListLine(int line) const;
  // The list's selected line, -1 when the current column is not among the six.
  int ColumnListSelection() const;

  // ---- X column and display switches ----
  int XColumn = -1;         // the X column's number (kept by Clear X)
  bool XColumnSet = false;  // whether the X column reference is set
  bool YofX = false;
  bool XAuto = false;
  bool XAutoEnabled = false;  // the xauto check box is enabled only while y(x) is on
  int XvalsLow = 0, XvalsHigh = -1;
  std::string XNameLabel;
  void SetYofX(bool on);
  void SetXAuto(bool on);
  void ClearX();

  // ---- Column requests ----
  ColumnRequest Request;
  int C1 = 0, C2 = 0;
  int SavedColumn1 = 0, SavedColumn2 = 0;
  // forGraphDefs marks a request of the graph definitions window: its cancel hands back to that
  // window through graphDefsCancelled.
  void AskColumn(const std::string& prompt, int code, bool forGraphDefs = false);
  void AskRange(const std::string& prompt, int code, bool forGraphDefs = false);
  bool requestActive() const { return Request.kind != RequestKind::None; }
  // The user confirmed the request (C2 is used for a range only): runs its step.
  void ConfirmRequest(int c1, int c2 = 0);
  // The same from the letters typed in the selection group.
  void ConfirmRequestText(const std::string& first, const std::string& last = {});
  void CancelRequest();
  // Runs the step named by the code, then refreshes the column list. Scripts call it directly
  // after setting C1, C2 and SavedColumn1.
  void RunRequest(int code);
  // Plugs in the step for a code owned elsewhere (tables of graphs, regression, spline) or
  // replaces a built-in one.
  void setRequestStep(int code, RequestStep step);
  // Called when a request made for the graph definitions window is cancelled.
  std::function<void()> graphDefsCancelled;

  // ---- Loading, saving, names, specs ----
  std::string LoadPatternText;
  void StartLoad(const std::string& pattern);  // AskColumn(..., 1)
  void StartName();                            // AskColumn("Column to name:", 0)
  void StartSave();                            // AskRange("Range of columns to save:", 2)
  void SaveColumns(int c1, int c2);
  // The name dialog's OK: the name must pass ISLEGALNAME (else false, nothing changes); the
  // description is line1 + "\" + line2 (line1 alone when line2 is empty).
  bool ApplyName(int column, const std::string& name, const std::string& line1,
                 const std::string& line2);
  // Replaces a column's description, or gives it a new series with it; sets the name.
  void SetColumnName(int column, const std::string& name, const std::string& description);
  // The column gets a new empty series keeping the old name, or `name` when it was not in use.
  void RenewColumn(int column, const std::string& name);
  void StartXSet();     // AskColumn("Select a Current X Column", 38)
  void StartYofXSet();  // AskRange("", 39)
  void YofXSet(int c1, int c2);
  void ChangeAllDecimalSpecs();
  void StartDecimalChange();  // AskRange("Specify range of columns", 40)
  void SetDecimalSpecs(int c1, int c2, int format);

  // ---- Closing ----
  // MayClose asks "Return to worksheet?" when a column holds unsaved data (not while a script
  // statement runs) and changes nothing; CommitClose clears the modified flags once the program
  // really closes. CloseQuery is both at once.
  bool MayClose();
  void CommitClose();
  bool CloseQuery();
  // Erases every column and empties EntryText.
  void CloseWorksheet();

  // ---- Column operations ----
  char PendingOp = '+';
  double ConstSeriesValue = 0.0;
  double DiffStart = 0.0;
  double DiffStep = 0.0;
  double FillValue = 0.0;
  static std::string UnaryName(char op);
  void StartSeriesSeries(char op);  // + - * /
  void StartConstant(char op);      // + * / S X
  void StartUnary(char op);         // N I L E C
  void StartIndexSeries();
  void StartDifferenceSeries();
  void StartFill();
  void StartSumRange();
  void StartRangeOp(char op);     // + - * /
  void StartUnaryRange(char op);  // N I L E
  void StartCopy();
  void StartMove();
  void StartErase();
  // The steps themselves, over explicit columns (scripts and tests call them directly).
  void SumOverRange(int first, int last, int dest);
  void CopyBlock(int first, int last, int dest);
  void MoveBlock(int first, int last, int dest);
  void EraseColumns(int first, int last);
  static constexpr const char* kOverlap = "Dest. may not overlap source";
  static constexpr const char* kPastLastColumn = "Dest. block runs past column SP";

  // ---- Table files ----
  std::string PendingFileName;
  void StartReadTxt(const std::string& fileName);                 // AskColumn(..., 3)
  void StartWriteTxt(const std::string& fileName, bool headers);  // AskRange(..., 4 or 5)
  void ReadTxtTable(const std::string& fileName, int c1);
  // How many columns from c1 on a TXT read of the file would replace (0 when unreadable).
  int TxtColumnsToReplace(const std::string& fileName, int c1) const;
  void WriteTxtTable(const std::string& fileName, bool headers, int c1, int c2);
  void ReadWks(const std::string& fileName);
  void WriteWks(const std::string& fileName);
  // The WKS file image WriteWks writes.
  std::vector<uint8_t> WksImage();

 private:
  void registerSteps();
  void registerColumnOpSteps();
  void openRequest(RequestKind kind, const std::string& prompt, int code, bool forGraphDefs);
  // A value inside the series' range read straight from its block (no warning); MissingValue
  // outside it.
  float peek(const Series& s, int index) const;
  void notifyColumn(int column);
  bool blockAllowed(int first, int last, int dest);
  void clearAndDispose(int column);
  void newTableColumn(int column, const std::string& description, const std::string& name);

  std::unique_ptr<Series[]> columns_;
  std::array<RequestStep, kRequestCodes> steps_;
  WorksheetView* view_ = nullptr;
  const bool* scriptRunning_ = nullptr;
  // Set while a cell commit runs: a focus loss caused by its own question or message box must
  // not commit again.
  bool committing_ = false;
};

}  // namespace plotane
