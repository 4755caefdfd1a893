#include "worksheet/Worksheet.h"

#include <algorithm>

#include "shell/base/Files.h"
#include "shell/base/Host.h"
#include "shell/base/Messages.h"
#include "worksheet/WorksheetDialogs.h"

namespace plotane {

namespace {

constexpr const char* kCloseQuestion = "Some data may not have been saved!--Return to worksheet??";
constexpr const char* kIllegalName = "Name has illegal form";

int clampColumn(int c) { return std::clamp(c, 0, MaxColumn); }

}  // namespace

Worksheet::Worksheet(Store& s, Host& h, LogModel& l)
    : store(s), host(h), log(l), columns_(new Series[ColumnCount]) {
  DecimalSpec.fill(kSpecFlexible);
  registerSteps();
  // Attach, create, SETDSDIR and Delete DSDir reach the labels whether a menu or a script did them.
  store.onLocationChanged = [this] {
    if (view_) view_->storeLocationChanged();
  };
}

// The columns' handles leave the store's chain as they are destroyed.
Worksheet::~Worksheet() { store.onLocationChanged = nullptr; }

int Worksheet::columnOf(const Series* s) const {
  if (!s) return -1;
  const Series* first = columns_.get();
  if (s < first || s >= first + ColumnCount) return -1;
  return int(s - first);
}

std::string Worksheet::columnName(int c) const {
  if (!inUse(c)) return {};
  return columns_[c].nameBlock->path;
}

// ---- Row use limits ----

bool Worksheet::UseLimitsValid(int low, int high) {
  return low <= high && low >= MinRowIndex && high <= MaxRowIndex;
}

void Worksheet::SetUseLimits(int low, int high) {
  store.UseLow = int16_t(std::clamp(low, -32768, 32767));
  store.UseHigh = int16_t(std::clamp(high, -32768, 32767));
  if (view_) view_->useLimitsChanged();
}

std::string Worksheet::RowUseLabel() const {
  return "Low=" + IntText(UseLow(), 7) + "      High=" + IntText(UseHigh(), 7);
}

// ---- What the grid shows ----

float Worksheet::peek(const Series& s, int index) const {
  if (!s.hasData() || index < s.lowest() || index > s.highestIndex()) return MissingValue;
  int d = index - s.info->base;
  std::size_t block = std::size_t(d / kBlockValues);
  if (block >= s.blocks.size()) return MissingValue;
  return s.blocks[block].v[std::size_t(d % kBlockValues)];
}

std::string Worksheet::CellText(int c, int index) const {
  if (!inUse(c)) return {};
  const Series& s = columns_[c];
  if (!s.hasData() || index < s.lowest() || index > s.highestIndex()) return {};
  float v = peek(s, index);
  if (isMissing(v)) return "----";
  return FormatReal(13, DecimalSpec[c], double(v));
}

std::string Worksheet::XvalsText(int index) const {
  if (!YofX || !XColumnSet || !validColumn(XColumn)) return {};
  return CellText(XColumn, index);
}

std::string Worksheet::GridText(int gridRow, int gridColumn) const {
  if (gridRow < 0 || gridRow >= kGridRows || gridColumn < 0 || gridColumn >= kGridColumns)
    return {};
  if (gridRow == 0) {
    if (gridColumn == 0) return " Row";
    if (gridColumn == 1) return "  Xvals";
    return "  " + ColumnLetters(gridColumn - 2);
  }
  int index = indexOfGridRow(gridRow);
  if (gridColumn == 0) return IntText(index, 6);
  if (gridColumn == 1) return XvalsText(index);
  return CellText(gridColumn - 2, index);
}

// ---- Display operations ----

void Worksheet::ShowCell(int c, int index) {
  if (!validColumn(c)) return;
  if (c == CurrentColumn && index == CurrentIndex)
    EntryText = cut(CellText(c, index), kEntryTextLength);
  if (view_) view_->cellChanged(c, index);
}

void Worksheet::notifyColumn(int c) {
  if (view_) view_->columnChanged(c);
}

void Worksheet::ShowColumn(int c) {
  if (!validColumn(c)) return;
  // The current cell shows what the model computes, so EntryText always follows it.
  if (c == CurrentColumn) EntryText = cut(CellText(c, CurrentIndex), kEntryTextLength);
  notifyColumn(c);
  if (c == XColumn) RefreshXvals(CurrentColumn);
}

void Worksheet::ClearColumn(int c) {
  if (!validColumn(c)) return;
  if (inUse(c)) notifyColumn(c);
  if (c == CurrentColumn) EntryText.clear();
  if (c == XColumn) RefreshXvals(CurrentColumn);
}

void Worksheet::ShowAllColumns() {
  for (int c = 0; c < ColumnCount; ++c) ShowColumn(c);
}

void Worksheet::RefreshColumnList() {
  if (view_) view_->columnListChanged();
}

void Worksheet::setLeftColumn(int c) {
  c = clampColumn(c);
  if (c == ListFirstColumn) return;
  ListFirstColumn = c;
  RefreshColumnList();
}

std::string Worksheet::ColumnListLine(int line) const {
  int c = ListFirstColumn + line;
  if (line < 0 || line > 5 || c > MaxColumn) return {};
  std::string s(1, ' ');
  s += ColumnLetters(c);
  if (inUse(c)) {
    const Series& ser = columns_[c];
    int x = columnOf(ser.xLink);
    if (x >= 0) {
      s += '(';
      s += ColumnLetters(x);
      s += ')';
    } else {
      s += "    ";
    }
    s += ser.modified ? "<c>" : "   ";
    s += ser.nameBlock->path;
  }
  return s;
}

int Worksheet::ColumnListSelection() const {
  int line = CurrentColumn - ListFirstColumn;
  return line >= 0 && line <= 5 ? line : -1;
}

void Worksheet::RefreshXvals(int current) {
  if (XAuto) {
    int x = validColumn(current) && inUse(current) ? columnOf(columns_[current].xLink) : -1;
    XColumnSet = x >= 0;
    XColumn = x;
  }
  if (YofX && XColumnSet && validColumn(XColumn)) {
    if (inUse(XColumn)) {
      const Series& x = columns_[XColumn];
      XNameLabel = ColumnLetters(XColumn) + " = x val: " + x.nameBlock->path;
      XvalsLow = x.lowest();
      XvalsHigh = x.highestIndex();
    } else {
      XNameLabel.clear();
      XvalsLow = 0;
      XvalsHigh = -1;
    }
  } else {
    XNameLabel.clear();
    XvalsLow = 0;
    XvalsHigh = -1;
  }
  if (view_) view_->xvalsChanged();
}

// ---- Display switches and the X column ----

void Worksheet::SetYofX(bool on) {
  YofX = on;
  if (!on) XAuto = false;
  XAutoEnabled = on;
  RefreshXvals(CurrentColumn);
}

void Worksheet::SetXAuto(bool on) {
  CommitCurrentCell();
  XAuto = on && YofX;
  RefreshXvals(CurrentColumn);
}

void Worksheet::ClearX() {
  CommitCurrentCell();
  XColumnSet = false;
  RefreshXvals(CurrentColumn);
}

void Worksheet::StartXSet() { AskColumn("Select a Current X Column", 38); }

void Worksheet::StartYofXSet() { AskRange("", 39); }

void Worksheet::YofXSet(int c1, int c2) {
  Series* x = XColumnSet && validColumn(XColumn) ? &columns_[XColumn] : nullptr;
  for (int c = std::max(c1, 0); c <= std::min(c2, MaxColumn); ++c)
    if (inUse(c)) columns_[c].xLink = x;
  RefreshColumnList();
}

// ---- Cell editing ----

namespace {
// Marks a commit in progress for the life of a scope.
struct CommitGuard {
  bool& flag;
  explicit CommitGuard(bool& f) : flag(f) { flag = true; }
  ~CommitGuard() { flag = false; }
};
}  // namespace

bool Worksheet::CommitCell(int c, int index, const std::string& typed) {
  if (!validColumn(c) || index < MinRowIndex || index > MaxRowIndex) return false;
  // A commit started while one is open (its question box took the focus) does nothing.
  if (committing_) return true;
  CommitGuard guard(committing_);
  Series& s = columns_[c];
  bool wasModified = s.inUse() && s.modified;
  std::string text = cut(typed, kCellTextLength);
  if (text == EntryText) return true;

  bool inRange = s.hasData() && index >= s.lowest() && index <= s.highestIndex();
  if (!text.empty()) {
    double value;
    if (text == "----") {
      if (!s.inUse() || !inRange) {
        host.beep();
        return false;
      }
      value = double(MissingValue);
    } else if (!ConvertReal(text, value)) {
      host.beep();
      return false;
    }
    if (!s.inUse()) {
      store.NEWSERIES(s, false, "");
      RefreshColumnList();
    }
    bool nearRange = s.hasData() && index >= s.lowest() - 1 && index <= s.highestIndex() + 1;
    store.PUTVAL(s, index, value);
    if (nearRange)
      ShowCell(c, index);
    else
      ShowColumn(c);
    if (!wasModified) RefreshColumnList();
  } else if (s.inUse() && inRange) {
    bool end = index == s.lowest() || index == s.highestIndex();
    if (end && s.highestIndex() > s.lowest() && store.DELETEENDVALUE(s, index)) {
      RefreshColumnList();
      notifyColumn(c);
    } else {
      ShowCell(c, index);
    }
  }
  if (c == CurrentColumn && index == CurrentIndex)
    EntryText = cut(CellText(c, index), kEntryTextLength);
  if (view_) view_->cellChanged(c, index);
  return true;
}

bool Worksheet::CommitCurrentCell() {
  std::string text;
  if (committing_ || !view_ || !view_->currentEditText(text)) return true;
  if (CommitCell(CurrentColumn, CurrentIndex, text)) return true;
  CommitGuard guard(committing_);
  host.message("Error at " + std::to_string(CurrentColumn) + "," + std::to_string(CurrentIndex));
  return false;
}

bool Worksheet::SelectCell(int c, int index) {
  if (!validColumn(c) || index < MinRowIndex || index > MaxRowIndex) return false;
  if (committing_) return false;
  std::string text;
  if (view_ && view_->currentEditText(text) && !CommitCell(CurrentColumn, CurrentIndex, text))
    return false;
  bool columnChanged = c != CurrentColumn;
  CurrentColumn = c;
  CurrentIndex = index;
  EntryText = cut(CellText(c, index), kEntryTextLength);
  if (columnChanged) RefreshXvals(c);
  RefreshColumnList();
  return true;
}

void Worksheet::UndoCurrentEdit() {
  EntryText.clear();
  ShowCell(CurrentColumn, CurrentIndex);
}

// ---- Column requests ----

void Worksheet::openRequest(RequestKind kind, const std::string& prompt, int code,
                            bool forGraphDefs) {
  Request.kind = kind;
  Request.prompt = cut(prompt, kPromptLength);
  Request.code = code;
  Request.forGraphDefs = forGraphDefs;
  if (view_) view_->requestChanged();
}

void Worksheet::AskColumn(const std::string& prompt, int code, bool forGraphDefs) {
  openRequest(RequestKind::Column, prompt, code, forGraphDefs);
}

void Worksheet::AskRange(const std::string& prompt, int code, bool forGraphDefs) {
  openRequest(RequestKind::Range, prompt, code, forGraphDefs);
}

void Worksheet::ConfirmRequest(int c1, int c2) {
  if (!requestActive()) return;
  bool range = Request.kind == RequestKind::Range;
  int code = Request.code;
  C1 = clampColumn(c1);
  if (range) C2 = clampColumn(c2);
  Request = ColumnRequest{};
  if (view_) view_->requestChanged();
  RunRequest(code);
}

void Worksheet::ConfirmRequestText(const std::string& first, const std::string& last) {
  ConfirmRequest(ParseColumn(first), ParseColumn(last));
}

void Worksheet::CancelRequest() {
  if (!requestActive()) return;
  bool forGraph = Request.forGraphDefs;
  Request = ColumnRequest{};
  if (view_) view_->requestChanged();
  if (forGraph && graphDefsCancelled) graphDefsCancelled();
}

void Worksheet::setRequestStep(int code, RequestStep step) {
  if (code >= 0 && code < kRequestCodes) steps_[std::size_t(code)] = std::move(step);
}

void Worksheet::RunRequest(int code) {
  if (code >= 0 && code < kRequestCodes && steps_[std::size_t(code)]) {
    RequestStep step = steps_[std::size_t(code)];
    guardFloat(host, [&] { step(*this); });
  }
  RefreshColumnList();
}

// ---- Loading, saving, names, specs ----

void Worksheet::StartLoad(const std::string& pattern) {
  LoadPatternText = pattern;
  AskColumn("Column at which to start loading:", 1);
}

void Worksheet::StartName() { AskColumn("Column to name:", 0); }

void Worksheet::StartSave() { AskRange("Range of columns to save:", 2); }

// The name dialog for column C1; through the Host's name prompt when the view has no dialog.
static bool openNameDialog(Worksheet& ws, int column) {
  WorksheetView* v = ws.view();
  if (v && v->hasNameDialog()) return v->nameDialog(ws, column);
  std::string name = ws.columnName(column);
  std::string description;
  if (ws.inUse(column)) description = ws.column(column).info->description;
  std::size_t bs = description.find('\\');
  std::string line1 = bs == std::string::npos ? description : description.substr(0, bs);
  std::string line2 = bs == std::string::npos ? std::string() : description.substr(bs + 1);
  for (;;) {
    if (!ws.host.askName("Edit Series Name and description for: " + ColumnLetters(column), name))
      return false;
    if (ws.ApplyName(column, name, line1, line2)) return true;
  }
}

bool Worksheet::ApplyName(int c, const std::string& typedName, const std::string& line1,
                          const std::string& line2) {
  if (!validColumn(c)) return false;
  std::string name = cut(typedName, kPathLength);
  if (!Store::ISLEGALNAME(name)) {
    host.message(kIllegalName);
    return false;
  }
  std::string description = line2.empty() ? line1 : line1 + "\\" + line2;
  SetColumnName(c, name, cut(description, kDescriptionLength));
  return true;
}

void Worksheet::SetColumnName(int c, const std::string& name, const std::string& description) {
  if (!validColumn(c)) return;
  Series& s = columns_[c];
  if (s.inUse())
    s.info->description = cut(description, kDescriptionLength);
  else
    store.NEWSERIES(s, false, description);
  if (s.inUse()) s.nameBlock->path = cut(name, kPathLength);
  RefreshColumnList();
  if (c == XColumn) RefreshXvals(CurrentColumn);
}

void Worksheet::RenewColumn(int c, const std::string& name) {
  if (!validColumn(c)) return;
  std::string keep = inUse(c) ? columnName(c) : name;
  store.NAMEDNEWSERIES(columns_[c], keep, "");
}

void Worksheet::SaveColumns(int c1, int c2) {
  Store::SyncOnce syncOnce(store);
  for (int c = std::max(c1, 0); c <= std::min(c2, MaxColumn); ++c) {
    if (!inUse(c)) continue;
    if (!Store::ISLEGALNAME(columnName(c))) {
      C1 = c;
      if (!openNameDialog(*this, c)) continue;
    }
    store.SAVESERIES(columns_[c], columnName(c));
    if (store.StoreError) break;
  }
  RefreshColumnList();
}

void Worksheet::SetDecimalSpecs(int c1, int c2, int format) {
  format = std::clamp(format, -2, 9);
  for (int c = std::max(c1, 0); c <= std::min(c2, MaxColumn); ++c) {
    DecimalSpec[std::size_t(c)] = int8_t(format);
    ShowColumn(c);
  }
}

void Worksheet::ChangeAllDecimalSpecs() {
  CommitCurrentCell();
  int format = kSpecFlexible;
  if (view_ && !view_->askDecimalSpec(format)) return;
  SetDecimalSpecs(0, MaxColumn, format);
}

void Worksheet::StartDecimalChange() { AskRange("Specify range of columns", 40); }

// ---- Closing ----

bool Worksheet::MayClose() {
  bool unsaved = false;
  for (int c = 0; c < ColumnCount && !unsaved; ++c)
    unsaved = columns_[c].inUse() && columns_[c].modified;
  // Yes keeps the data, so an escaped question returns to the worksheet too.
  if (unsaved && !(scriptRunning_ && *scriptRunning_))
    return host.askYesSafe(kCloseQuestion) == Answer::No;
  return true;
}

void Worksheet::CommitClose() {
  for (int c = 0; c < ColumnCount; ++c) columns_[c].modified = false;
}

bool Worksheet::CloseQuery() {
  if (!MayClose()) return false;
  CommitClose();
  return true;
}

void Worksheet::CloseWorksheet() {
  EraseColumns(0, MaxColumn);
  EntryText.clear();
}

// ---- Request steps ----

void Worksheet::registerSteps() {
  setRequestStep(0, [](Worksheet& ws) {
    if (validColumn(ws.C1)) openNameDialog(ws, ws.C1);
  });
  setRequestStep(1, [](Worksheet& ws) {
    if (!validColumn(ws.C1)) return;
    ws.store.LOADPATTERN(ws.LoadPatternText, ws.C1, ws.columns(),
                         [&ws](int c) { ws.ShowColumn(c); });
  });
  setRequestStep(2, [](Worksheet& ws) { ws.SaveColumns(ws.C1, ws.C2); });
  setRequestStep(3, [](Worksheet& ws) {
    if (ConfirmTxtReplace(ws, ws.PendingFileName, ws.C1))
      ws.ReadTxtTable(ws.PendingFileName, ws.C1);
  });
  setRequestStep(4,
                 [](Worksheet& ws) { ws.WriteTxtTable(ws.PendingFileName, true, ws.C1, ws.C2); });
  setRequestStep(5,
                 [](Worksheet& ws) { ws.WriteTxtTable(ws.PendingFileName, false, ws.C1, ws.C2); });
  setRequestStep(38, [](Worksheet& ws) {
    if (!validColumn(ws.C1)) return;
    ws.XColumn = ws.C1;
    ws.XColumnSet = true;
    ws.RefreshXvals(ws.CurrentColumn);
  });
  setRequestStep(39, [](Worksheet& ws) { ws.YofXSet(ws.C1, ws.C2); });
  setRequestStep(40, [](Worksheet& ws) {
    int format = kSpecFlexible;
    if (ws.view() && !ws.view()->askDecimalSpec(format)) return;
    ws.SetDecimalSpecs(ws.C1, ws.C2, format);
  });
  registerColumnOpSteps();
}

}  // namespace plotane
