#include "graph/Graph.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "drawing/Drawing.h"
#include "graph/GraphForms.h"
#include "shell/base/Files.h"
#include "shell/base/Host.h"
#include "shell/base/Messages.h"
#include "store/Store.h"

namespace plotane {

namespace {
constexpr uint8_t kFormatCurrent = 0xF3;
constexpr uint8_t kFormatF1 = 0xF1;
constexpr uint8_t kFormatF2 = 0xF2;
}  // namespace

Graph::Graph(Host& h, Store& s) : host(h), store(s) { ResetGraphDefs(); }

Series* Graph::column(int c) const {
  if (c < 0 || std::size_t(c) >= columns_.size()) return nullptr;
  return &columns_[std::size_t(c)];
}

int Graph::columnOf(const Series* s) const {
  if (!s || columns_.empty()) return -1;
  const Series* base = columns_.data();
  // Compare addresses without pointer arithmetic across unrelated objects.
  for (std::size_t i = 0; i < columns_.size(); ++i)
    if (base + i == s) return int(i);
  return -1;
}

void Graph::ResetGraphDefs() {
  def = GraphDef{};
  TakeSavedCopy();
}

void Graph::LoadGrd(const std::string& path) {
  const std::string name = resolveFileName(path);
  // A graph definitions file is 1572 bytes at most; a little room is left for the padding old
  // file transfers added.
  constexpr std::size_t kGrdReadLimit = 4096;
  std::vector<uint8_t> bytes;
  std::string error;
  ReadFailure why = ReadFailure::None;
  const bool read = readWholeFile(name, bytes, error, kGrdReadLimit, &why);
  if (!read && why == ReadFailure::CannotOpen) {
    curveListChanged();
    store.StoreError = true;
    return;
  }

  auto damaged = [&](const std::string& what) {
    store.StoreError = true;
    IOFAIL(host, path, what);
  };
  if (!read) return damaged(error);
  if (bytes.empty()) return damaged("file is empty");

  const uint8_t mark = bytes[0];
  GraphDefImage image = EncodeGraphDef(def);
  std::optional<bool> pclMode;
  bool oldManualWarning = false;
  if (mark == kFormatCurrent) {
    if (bytes.size() < 2 + kGraphDefSize) return damaged("file is too short");
    pclMode = bytes[1] != 0;
    std::memcpy(image.data(), bytes.data() + 2, kGraphDefSize);
  } else if (mark == kFormatF1 || mark == kFormatF2 || mark > kFormatCurrent) {
    if (bytes.size() < 2 + kOldGraphDefSize) return damaged("file is too short");
    std::memcpy(image.data(), bytes.data() + 2, kOldGraphDefSize);
    oldManualWarning = mark == kFormatF1;
  } else {
    if (bytes.size() < kOldGraphDefSize) return damaged("file is too short");
    std::memcpy(image.data(), bytes.data(), kOldGraphDefSize);
    oldManualWarning = true;
  }
  GraphDef loaded;
  if (!DecodeGraphDef(image, loaded)) return damaged("invalid graph definition record");
  if (mark < kFormatF1) {
    // The headerless format had no intermittent line: its types 2..4 are today's 3..5.
    for (int n = 1; n <= loaded.CurveCount; ++n)
      if (loaded.curve(n).CurveType >= 2 && loaded.curve(n).CurveType < 255)
        ++loaded.curve(n).CurveType;
  }
  def = std::move(loaded);
  if (pclMode && onPrintModeLoaded) onPrintModeLoaded(*pclMode);

  GrdFileName = cut(path, kGrdNameLength);
  Caption = kGraphCaption + GrdFileName;
  captionChanged();
  TakeSavedCopy();
  if (oldManualWarning && (def.X.ManualScaling || def.Y.ManualScaling))
    host.message("Fix the manual scaling--it's old format", "WARNING");
  ApplyOrientation();
  curveListChanged();
  store.StoreError = false;
}

void Graph::SaveGrd(const std::string& path, bool pclPrintMode) {
  std::vector<uint8_t> bytes;
  bytes.reserve(2 + kGraphDefSize);
  bytes.push_back(kFormatCurrent);
  bytes.push_back(pclPrintMode ? 1 : 0);
  const GraphDefImage image = EncodeGraphDef(def);
  bytes.insert(bytes.end(), image.begin(), image.end());
  std::string error;
  if (!writeWholeFile(path, bytes, error, host.writeFaults())) {
    store.StoreError = true;
    IOFAIL(host, path, error);
    return;
  }
  store.StoreError = false;
  SavedGraphDef = image;
  GrdFileName = cut(path, kGrdNameLength);
  Caption = kGraphCaption + GrdFileName;
  captionChanged();
}

void Graph::LoadStartUpGrd(const std::string& programDir) {
  std::string dir = programDir;
  if (!dir.empty() && dir.back() != '/') dir += '/';
  const std::string path = resolveFileName(dir + "StartUp.GRD");
  if (!fileExists(path)) return;
  LoadGrd(path);
}

void Graph::RefreshCurveStatus(int n) {
  if (n < 1 || n > kMaxCurves) return;
  CurveDef& c = def.curve(n);
  CurveStatus& st = Status[std::size_t(n - 1)];
  st = CurveStatus{};
  Series* y = column(c.YColumn);
  st.YDefined = y && y->inUse();
  if (st.YDefined) {
    const int xc = columnOf(y->xLink);
    Series* x = column(xc);
    st.XDefined = x && x->inUse();
    if (st.XDefined) c.XColumn = int16_t(xc);
  }
  st.IndexOk = true;
  if (st.YDefined && st.XDefined) {
    Series* x = column(c.XColumn);
    const bool keep = store.StoreError;
    int yLo = 0, yHi = -1, xLo = 0, xHi = -1;
    store.SERIESRANGE(*y, yLo, yHi);
    store.SERIESRANGE(*x, xLo, xHi);
    store.StoreError = keep;
    st.IndexOk = c.LowIndex >= yLo && c.LowIndex >= xLo && c.HiIndex <= yHi && c.HiIndex <= xHi;
  }
}

void Graph::RefreshAllCurveStatus() {
  for (int n = 1; n <= def.CurveCount; ++n) RefreshCurveStatus(n);
}

bool Graph::AllCurvesValid() const {
  for (int n = 1; n <= def.CurveCount; ++n)
    if (!Status[std::size_t(n - 1)].ok()) return false;
  return true;
}

bool Graph::CheckGraphData() {
  if (AllCurvesValid()) return true;
  store.StoreError = true;
  STOREMSG(host, "Error in graph data specifications.");
  return false;
}

bool Graph::GraphCommand(Drawing& drawing, TextEngine& text) {
  store.StoreError = false;
  drawing.EndDrawingCommand();
  RefreshAllCurveStatus();
  if (CheckGraphData()) DrawGraph(drawing, text);
  const bool drawn = !store.StoreError;
  drawing.EndDrawingCommand();
  drawing.repaint();
  return drawn;
}

void Graph::DeleteCurve(int n, bool scriptRunning) {
  if (def.CurveCount == 0) return;
  if (n >= 1 && n <= def.CurveCount &&
      (scriptRunning || host.ask("Deleting curve---Are you sure?") == Answer::Yes)) {
    RemoveCurveSlot(def, n);  // bar links follow the renumbering
    --def.CurveCount;
  }
  RefreshAllCurveStatus();
  curveListChanged();
}

void Graph::SetXsToCols() {
  for (int n = 1; n <= def.CurveCount; ++n) {
    const CurveDef& c = def.curve(n);
    Series* y = column(c.YColumn);
    Series* x = column(c.XColumn);
    if (Status[std::size_t(n - 1)].YDefined && y && y->inUse() && x && x->inUse()) y->xLink = x;
  }
  curveListChanged();
}

void Graph::ApplyOrientation(Drawing& drawing) const {
  if (def.Landscape == 1)
    drawing.SetLandscape();
  else
    drawing.SetPortrait();
}

void Graph::ApplyOrientation() const {
  if (onOrientation) onOrientation(def.Landscape == 1);
}

}  // namespace plotane
