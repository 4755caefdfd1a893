#include "batch/EbtCommands.h"

#include <cmath>
#include <cstdio>

#include "drawing/Drawing.h"
#include "drawing/DrawingOutput.h"
#include "drawing/Text.h"
#include "graph/CurvePick.h"
#include "graph/Graph.h"
#include "graph/GraphForms.h"
#include "shell/AppContext.h"
#include "shell/base/Files.h"
#include "shell/base/Messages.h"
#include "worksheet/Format.h"
#include "worksheet/Worksheet.h"

namespace plotane {

namespace {

// A column's letters without the blank that pads a single letter.
std::string letters(int column) {
  std::string s = ColumnLetters(column);
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

std::string shortNumber(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

}  // namespace

EbtCommands::EbtCommands(AppContext& ctx) : ctx_(ctx) {
  add("WWATTACH", &EbtCommands::wwAttach);
  add("WWCREATE", &EbtCommands::wwCreate);
  add("WWCOLSAVE", &EbtCommands::wwColSave);
  add("WWCOLNAME", &EbtCommands::wwColName);
  add("WWCOLCOPY", &EbtCommands::wwColCopy);
  add("WWCOLERASE", &EbtCommands::wwColErase);
  add("WWSETDSDIR", &EbtCommands::wwSetDsDir);
  add("WWMKDSDIR", &EbtCommands::wwMkDsDir);
  add("WWDELDSDIR", &EbtCommands::wwDelDsDir);
  add("WWUSELIMS", &EbtCommands::wwUseLims);
  add("WWFILEREADTXT", &EbtCommands::wwReadTxt);
  add("WWFILEWRITEHTXT", &EbtCommands::wwWriteHTxt);
  add("WWFILEWRITENOHTXT", &EbtCommands::wwWriteNoHTxt);

  add("GWCURVENEWDEF", &EbtCommands::gwCurveNewDef);
  add("GWCURVEOLDDEF", &EbtCommands::gwCurveOldDef);
  add("GWFILELOAD", &EbtCommands::gwFileLoad);
  add("GWFILESAVE", &EbtCommands::gwFileSave);
  add("GWSETXSTOCOLS", &EbtCommands::gwSetXsToCols);
  add("GWREMOVEDEF", &EbtCommands::gwRemoveDef);
  add("GWSETUPDRAWGRAPH", &EbtCommands::gwSetupDrawGraph);
  add("GWBLANKDRAWING", &EbtCommands::gwBlankDrawing);

  add("DWFILEOPEN", &EbtCommands::dwFileOpen);
  add("DWFILESAVE", &EbtCommands::dwFileSave);
  add("DWPRINT", &EbtCommands::dwPrint);
  add("DWSETFONT", &EbtCommands::dwSetFont);
  add("DWSETLINEW", &EbtCommands::dwSetLineW);
  add("DWSETPOINTSIZE", &EbtCommands::dwSetPointSize);
  add("DWSETANGLE", &EbtCommands::dwSetAngle);
  add("DWDRAWLINE", &EbtCommands::dwDrawLine);
  add("DWDRAWDASHED", &EbtCommands::dwDrawDashed);
  add("DWDRAWINTERMITTENT", &EbtCommands::dwDrawIntermittent);
  add("DWDRAWRECT", &EbtCommands::dwDrawRect);
  add("DWDRAWARROW", &EbtCommands::dwDrawArrow);
  add("DWDRAWNODE", &EbtCommands::dwDrawNode);
  add("DWDRAWGRAPH", &EbtCommands::dwDrawGraph);
  add("DWMAAF", &EbtCommands::dwMaaf);
  add("DWMBAF", &EbtCommands::dwMbaf);
  add("DWMAAG", &EbtCommands::dwMaag);
  add("DWMBAG", &EbtCommands::dwMbag);
  add("DWMARF", &EbtCommands::dwMarf);
  add("DWMBRF", &EbtCommands::dwMbrf);
  add("DWMARG", &EbtCommands::dwMarg);
  add("DWMBRG", &EbtCommands::dwMbrg);

  add("@BINCALC", &EbtCommands::atBinCalc);
  add("@SHIFT", &EbtCommands::atShift);
  add("@NEGATE", &EbtCommands::atNegate);
  add("@INVERT", &EbtCommands::atInvert);
  add("@LN", &EbtCommands::atLn);
  add("@EXP", &EbtCommands::atExp);
  add("@CUMULATE", &EbtCommands::atCumulate);
  add("@LOAD", &EbtCommands::atLoad);
  add("@ULIMENDS", &EbtCommands::atULimEnds);
  add("@CURVLINE", &EbtCommands::atCurvLine);
  add("@CURVPTS", &EbtCommands::atCurvPts);
  add("@FREEZESC", &EbtCommands::atFreezeSc);
  add("@E", &EbtCommands::atErase);
  add("@ESC", &EbtCommands::atEsc);
  add("@T", &EbtCommands::atText);
  add("@DRAWPOINT", &EbtCommands::atDrawPoint);
  add("@DRAWCIRCLE", &EbtCommands::atDrawCircle);
  add("@ARCSTART", &EbtCommands::atArcStart);
  add("@ARCFIN", &EbtCommands::atArcFin);
  add("@SHOWDRAWING", &EbtCommands::atShowDrawing);
  add("@SHOWWKSHEET", &EbtCommands::atShowWkSheet);
  add("@SHOWGRDEFS", &EbtCommands::atShowGrDefs);
  add("@CLEARDRAWING", &EbtCommands::atClearDrawing);
  add("@QUIT", &EbtCommands::atQuit);
}

void EbtCommands::add(const char* word, Handler h) {
  table_[word] = h;
  order_.push_back(word);
}

std::vector<std::string> EbtCommands::words() const { return order_; }

bool EbtCommands::execute(EbtRunner& r, const std::string& word) {
  auto it = table_.find(word);
  if (it == table_.end()) return false;
  (this->*(it->second))(r);
  return true;
}

void EbtCommands::beforeStatement() {
  // A statement run while the drawing is discarded finds a new, blank one.
  ctx_.ensureDrawing();
}

void EbtCommands::runEnded() {
  // A script's store operations are synced once, at the end of the run.
  ctx_.store.SYNCDSF();
}

bool EbtCommands::cursorValue(const std::string& name, double& value) {
  const DrawState& s = drawing().state;
  if (name == "%NRCURAX")
    value = s.A.X;
  else if (name == "%NRCURAY")
    value = s.A.Y;
  else if (name == "%NRCURBX")
    value = s.B.X;
  else if (name == "%NRCURBY")
    value = s.B.Y;
  else
    return false;
  return true;
}

bool EbtCommands::useLimitValue(const std::string& name, int& value) {
  if (name == "%NILOLIM")
    value = ctx_.worksheet.UseLow();
  else if (name == "%NIUPLIM")
    value = ctx_.worksheet.UseHigh();
  else
    return false;
  return true;
}

bool EbtCommands::logAxis(bool yAxis) {
  return (yAxis ? ctx_.graph.def.Y : ctx_.graph.def.X).LogAxis != 0;
}

void EbtCommands::columnsSelected(int first, int second, bool range) {
  Worksheet& ws = ctx_.worksheet;
  ws.C1 = first;
  if (range) ws.C2 = second;
}

Drawing& EbtCommands::drawing() { return ctx_.ensureDrawing(); }

template <class F>
void EbtCommands::fromStore(EbtRunner& r, F&& f) {
  if (r.ScriptError) return;
  Store& store = ctx_.store;
  store.StoreError = false;
  if (!guardFloat(ctx_.host, f)) store.StoreError = true;
  r.ScriptError = store.StoreError;
}

int EbtCommands::columnFromText(EbtRunner& r, const std::string& text) {
  if (r.ScriptError) return -1;
  int c = 0;
  if (!EbtRunner::parseColumnLetters(text, c)) {
    r.failArgument(r.argumentNumber(), EbtRunner::quote(text) + " is not a column");
    return -1;
  }
  return c;
}

// ---------------------------------------------------------------------------------------------
// Worksheet and store

void EbtCommands::wwAttach(EbtRunner& r) {
  std::string file = r.readText(true);
  fromStore(r, [&] { ctx_.store.ATTACHDSF(file + ".DSF"); });
}

void EbtCommands::wwCreate(EbtRunner& r) {
  std::string file = r.readText(true);
  fromStore(r, [&] { ctx_.store.CREATEDSF(file + ".DSF"); });
}

void EbtCommands::wwColSave(EbtRunner& r) {
  int c1 = 0, c2 = 0;
  r.readRange(true, c1, c2);
  if (r.ScriptError) return;
  // A script cannot answer the name dialog: a column with an illegal name stops the command
  // before anything is saved, instead of being passed over.
  Worksheet& ws = ctx_.worksheet;
  for (int c = c1; c <= c2; ++c) {
    if (ws.inUse(c) && !Store::ISLEGALNAME(ws.columnName(c))) {
      ws.C1 = c;
      ctx_.store.STOREMSG("Name has illegal form");
      r.fail("column " + letters(c) + " is named " + EbtRunner::quote(ws.columnName(c)));
      return;
    }
  }
  fromStore(r, [&] { ws.SaveColumns(c1, c2); });
}

void EbtCommands::wwColName(EbtRunner& r) {
  int c = r.readColumn(false);
  std::string name = r.readText(false);
  std::string line1 = r.readText(false);
  std::string line2 = r.readText(true);
  if (r.ScriptError) return;
  // A name that could never be saved is refused as the name dialog refuses it.
  if (!Store::ISLEGALNAME(name)) {
    ctx_.store.STOREMSG("Name has illegal form");
    r.ScriptError = true;
    return;
  }
  // The backslash stays even with an empty line 2.
  ctx_.worksheet.SetColumnName(c, name, line1 + "\\" + line2);
  ctx_.worksheet.ShowColumn(c);
  ctx_.worksheet.RefreshColumnList();
}

void EbtCommands::wwColCopy(EbtRunner& r) {
  int c1 = 0, c2 = 0;
  r.readRange(false, c1, c2);
  int dest = r.readColumn(true);
  fromStore(r, [&] {
    Worksheet& ws = ctx_.worksheet;
    ws.SavedColumn1 = c1;
    ws.C2 = c2;
    ws.C1 = dest;
    ws.CopyBlock(c1, c2, dest);
    ws.RefreshColumnList();
  });
}

void EbtCommands::wwColErase(EbtRunner& r) {
  int c1 = 0, c2 = 0;
  r.readRange(true, c1, c2);
  fromStore(r, [&] {
    ctx_.worksheet.EraseColumns(c1, c2);
    ctx_.worksheet.RefreshColumnList();
  });
}

void EbtCommands::wwSetDsDir(EbtRunner& r) {
  std::string path = r.readText(true);
  if (r.ScriptError) return;
  fromStore(r, [&] { ctx_.store.SETDSDIR(path); });
  // A path that names no DSDir fails without a message of its own.
  if (r.ScriptError && ctx_.store.attached()) r.fail(EbtRunner::quote(path) + " is not a DSDir");
}

void EbtCommands::wwMkDsDir(EbtRunner& r) {
  std::string path = r.readText(true);
  if (r.ScriptError) return;
  fromStore(r, [&] { ctx_.store.MAKEDSDIR(path); });
  // Wildcards or an empty last name are refused without a message of their own.
  if (r.ScriptError && ctx_.store.attached() &&
      (path.find_first_of("&*?") != std::string::npos || path.back() == '.'))
    r.fail(EbtRunner::quote(path) + " is no name for a DSDir");
}

void EbtCommands::wwDelDsDir(EbtRunner& r) {
  std::string pattern = r.readText(true);
  if (r.ScriptError) return;
  Store& store = ctx_.store;
  fromStore(r, [&] { store.DELETEDSDIR(pattern); });
  const std::size_t from = pattern.find_first_not_of(' '), to = pattern.find_last_not_of(' ');
  if (r.ScriptError && store.attached() && from != std::string::npos &&
      pattern.substr(from, to - from + 1) == ".")
    r.fail("the root DSDir is never deleted");
  // The current DSDir stays current unless it was deleted (itself or with a DSDir above it):
  // then the root becomes current, so that later saves land where they can be found.
  if (store.attached() && !store.CurrentPath().empty()) {
    const bool keep = store.StoreError;
    const DsDirEntry e = store.FINDENTRY(store.CurrentPath());
    if (store.StoreError || e.record != store.CurrentEntry().record || e.kind != kDsDirKind)
      store.resetCurrentDsDir();
    store.StoreError = keep;
  }
}

void EbtCommands::wwUseLims(EbtRunner& r) {
  int lo = r.readInt(false, -398, 12000);
  int hi = r.readInt(true, -398, 12000);
  if (r.ScriptError) return;
  if (lo > hi) {
    r.fail("the low limit " + std::to_string(lo) + " is above the high limit " +
           std::to_string(hi));
    return;
  }
  ctx_.worksheet.SetUseLimits(lo, hi);
}

void EbtCommands::wwReadTxt(EbtRunner& r) {
  std::string file = r.readText(false);
  int c = r.readColumn(true);
  fromStore(r, [&] {
    ctx_.worksheet.ReadTxtTable(file + ".TXT", c);
    ctx_.worksheet.RefreshColumnList();
  });
}

void EbtCommands::writeTxt(EbtRunner& r, bool headers) {
  std::string file = r.readText(false);
  int c1 = 0, c2 = 0;
  r.readRange(true, c1, c2);
  fromStore(r, [&] { ctx_.worksheet.WriteTxtTable(file + ".TXT", headers, c1, c2); });
}

void EbtCommands::wwWriteHTxt(EbtRunner& r) { writeTxt(r, true); }
void EbtCommands::wwWriteNoHTxt(EbtRunner& r) { writeTxt(r, false); }

// ---------------------------------------------------------------------------------------------
// Graph definitions

void EbtCommands::gwCurveNewDef(EbtRunner& r) { defineCurve(r, 0); }

void EbtCommands::gwCurveOldDef(EbtRunner& r) {
  int n = r.readInt(false, 1, std::max<int>(1, ctx_.graph.def.CurveCount), "the first curve",
                    "the number of curves");
  if (!r.ScriptError && ctx_.graph.def.CurveCount == 0) r.fail("no curve is defined");
  if (r.ScriptError) return;
  defineCurve(r, n);
}

// curve 0: a new curve, or the one that already has this Y column. The rules are the graph
// window's pick (CurvePick.h); nothing changes unless every argument is accepted.
void EbtCommands::defineCurve(EbtRunner& r, int curve) {
  Worksheet& ws = ctx_.worksheet;
  Store& store = ctx_.store;
  store.StoreError = false;
  auto fail = [&](const char* text) {
    store.STOREMSG(text);
    store.StoreError = r.ScriptError = true;
  };

  int yc = r.readColumn(false);
  if (r.ScriptError) return;
  int newCount = 0;
  curve = CurveForY(ctx_.graph.def, curve, yc, newCount);
  if (curve == 0) return fail(kCurvesFull);
  if (!ws.inUse(yc)) return fail(kYUndefined);
  int xc = r.readColumn(false);
  if (r.ScriptError) return;
  if (!ws.inUse(xc)) return fail(kXUndefined);
  int lo = 0, hi = -1;
  if (!CommonIndexRange(ws.column(yc), ws.column(xc), lo, hi)) return fail(kNoCommonIndices);
  int first = r.readInt(false, lo, hi, "the first common index", "the last common index");
  int last = r.readInt(true, first, hi, "the first index", "the last common index");
  if (r.ScriptError) return;
  CommitCurve(ctx_.graph, ws, curve, newCount, yc, xc, first, last);
  r.ScriptError = store.StoreError;
}

void EbtCommands::gwFileLoad(EbtRunner& r) {
  std::string file = r.readText(true);
  if (r.ScriptError) return;
  fromStore(r, [&] { ctx_.graph.LoadGrd(file + ".GRD"); });
  // A file that is not there is refused without a message of its own.
  if (r.ScriptError && !fileExists(resolveFileName(file + ".GRD")))
    r.fail("cannot open " + file + ".GRD");
}

void EbtCommands::gwFileSave(EbtRunner& r) {
  std::string file = r.readText(true);
  fromStore(r, [&] { ctx_.graph.SaveGrd(file + ".GRD", ctx_.PclPrintMode); });
}

void EbtCommands::gwSetXsToCols(EbtRunner&) { ctx_.graph.SetXsToCols(); }

void EbtCommands::gwRemoveDef(EbtRunner& r) {
  int count = ctx_.graph.def.CurveCount;
  int n = r.readInt(true, 1, std::max(1, count), "the first curve", "the number of curves");
  if (!r.ScriptError && count == 0) r.fail("no curve is defined");
  if (r.ScriptError) return;
  ctx_.graph.DeleteCurve(n, true);
}

void EbtCommands::gwSetupDrawGraph(EbtRunner&) {
  ctx_.SHOWDRAWING();
  SetupGraphCursors(ctx_.graph, drawing());
}

void EbtCommands::gwBlankDrawing(EbtRunner&) { ctx_.discardDrawing(); }

// ---------------------------------------------------------------------------------------------
// Drawing

void EbtCommands::grlFile(EbtRunner& r, bool save) {
  std::string file = r.readText(true);
  if (r.ScriptError) return;
  Drawing& d = drawing();
  // The drawing takes the file's name, shown in its caption.
  d.state.GrlFileName = cut(file + ".GRL", 255);
  d.UpdateDrawingCaption(true);
  d.state.GrlError = false;
  fromStore(r, [&] {
    if (save)
      d.SaveGrl(d.state.GrlFileName);
    else
      d.LoadGrl(d.state.GrlFileName);
  });
  if (d.state.GrlError) r.ScriptError = true;
}

void EbtCommands::dwFileOpen(EbtRunner& r) { grlFile(r, false); }
void EbtCommands::dwFileSave(EbtRunner& r) { grlFile(r, true); }

void EbtCommands::dwPrint(EbtRunner& r) {
  // Printing failures are reported by the printing service or the file check; a page that was
  // not printed stops the script.
  if (!PrintDrawing(drawing(), ctx_.PclPrintMode, ctx_.printToFile)) r.ScriptError = true;
}

void EbtCommands::dwSetFont(EbtRunner& r) {
  std::string s = upperCase(r.readText(true));
  if (r.ScriptError) return;
  int code = 0;
  long n = 0;
  if (s.size() == 1 && s[0] >= 'A' && s[0] <= 'V') {
    code = kFirstPlatformFontCode + (s[0] - 'A');
  } else if (EbtRunner::parseInteger(s, n) && n >= -32768 && n <= 32767) {
    code = int(n);
  } else {
    r.failArgument(1, EbtRunner::quote(s) + " is not a font (a number, or a letter A to V)");
    return;
  }
  ctx_.textEngine().SetFontCode(code);
}

void EbtCommands::dwSetLineW(EbtRunner& r) {
  int w = r.readInt(true, 0, 4);
  if (!r.ScriptError) drawing().SetLineCode(w);
}

void EbtCommands::dwSetPointSize(EbtRunner& r) {
  int s = r.readInt(true, -2, 9);
  if (!r.ScriptError) drawing().state.PointSizeCode = int16_t(s);
}

void EbtCommands::dwSetAngle(EbtRunner& r) {
  double a = r.readReal(true, -360, 360);
  if (r.ScriptError) return;
  drawing().SetTextAngle(a);
  drawing().cursorsChanged();
}

void EbtCommands::dwDrawLine(EbtRunner&) {
  drawing().DrawLineCommand();
  drawing().repaint();
}

void EbtCommands::dwDrawDashed(EbtRunner&) {
  drawing().DrawDashedCommand();
  drawing().repaint();
}

void EbtCommands::dwDrawIntermittent(EbtRunner&) {
  drawing().DrawIntermittentCommand();
  drawing().repaint();
}

void EbtCommands::dwDrawRect(EbtRunner&) {
  drawing().DrawRectangle();
  drawing().repaint();
}

void EbtCommands::dwDrawArrow(EbtRunner&) {
  drawing().DrawArrowhead();
  drawing().EndDrawingCommand();
}

void EbtCommands::dwDrawNode(EbtRunner&) { drawing().DrawNode(); }

void EbtCommands::dwDrawGraph(EbtRunner& r) {
  Drawing& d = drawing();
  // A graph refused or not drawn whole stops the script, as every failing command does.
  if (ctx_.graph.GraphCommand(d, ctx_.textEngine())) return;
  r.ScriptError = true;
  const std::string why = silentGraphFailure();
  if (!why.empty()) r.fail(why);
}

// A graph stops without a message at a value at or below zero on a logarithmic axis whose
// scale was not taken from the data (fixed by the user).
std::string EbtCommands::silentGraphFailure() {
  const GraphDef& g = ctx_.graph.def;
  Store& store = ctx_.store;
  const bool keep = store.StoreError;
  std::string why;
  for (int axis = 0; axis < 2 && why.empty(); ++axis) {
    const AxisDef& a = axis == 0 ? g.X : g.Y;
    if (!a.LogAxis || !(a.ManualScaling || (a.MinUserSpec && a.MaxUserSpec))) continue;
    for (int n = 1; n <= std::min<int>(g.CurveCount, kMaxCurves) && why.empty(); ++n) {
      const CurveDef& c = g.curve(n);
      const int col = axis == 0 ? c.XColumn : c.YColumn;
      if (col < 0 || col > MaxColumn) continue;
      Series& s = ctx_.worksheet.column(col);
      for (int i = c.LowIndex; i <= c.HiIndex; ++i) {
        const float v = store.GETVAL(s, i);
        if (store.StoreError) break;
        if (!isMissing(v) && !(v > 0)) {
          why = "curve " + std::to_string(n) + " has " + shortNumber(v) + " at index " +
                std::to_string(i) + " on the logarithmic " + (axis == 0 ? "X" : "Y") + " axis";
          break;
        }
      }
      store.StoreError = false;
    }
  }
  store.StoreError = keep;
  return why;
}

// Moves the A or B cursor with the bounds test and shows it.
void EbtCommands::setCursor(bool a, double x, double y) {
  Drawing& d = drawing();
  if (a)
    d.SetACursor(x, y);
  else
    d.SetBCursor(x, y);
  d.cursorsChanged();
}

void EbtCommands::moveAbsolutePage(EbtRunner& r, bool a) {
  double x = r.readReal(false, 0, 10);
  double y = r.readReal(true, 0, 10);
  if (r.ScriptError) return;
  // Written directly, without the cursor bounds test.
  Drawing& d = drawing();
  (a ? d.state.A : d.state.B) = {x, y};
  d.cursorsChanged();
}

void EbtCommands::moveAbsoluteUser(EbtRunner& r, bool a) {
  double u = 0, v = 0;
  r.readGraphPoint(true, u, v);
  if (r.ScriptError) return;
  Drawing& d = drawing();
  PagePoint p;
  d.SetPointUser(p, u, v);
  setCursor(a, p.X, p.Y);
}

void EbtCommands::moveRelativePage(EbtRunner& r, bool a) {
  double dx = r.readReal(false, -10, 10);
  double dy = r.readReal(true, -10, 10);
  if (r.ScriptError) return;
  Drawing& d = drawing();
  const PageXY& c = a ? d.state.A : d.state.B;
  setCursor(a, c.X + dx, c.Y + dy);
}

void EbtCommands::moveRelativeUser(EbtRunner& r, bool a) {
  double du = 0, dv = 0;
  r.readGraphPoint(true, du, dv);
  if (r.ScriptError) return;
  Drawing& d = drawing();
  PagePoint p = d.pointAt(a ? d.state.A : d.state.B);
  d.MovePointUser(p, du, dv);
  setCursor(a, p.X, p.Y);
}

void EbtCommands::dwMaaf(EbtRunner& r) { moveAbsolutePage(r, true); }
void EbtCommands::dwMbaf(EbtRunner& r) { moveAbsolutePage(r, false); }
void EbtCommands::dwMaag(EbtRunner& r) { moveAbsoluteUser(r, true); }
void EbtCommands::dwMbag(EbtRunner& r) { moveAbsoluteUser(r, false); }
void EbtCommands::dwMarf(EbtRunner& r) { moveRelativePage(r, true); }
void EbtCommands::dwMbrf(EbtRunner& r) { moveRelativePage(r, false); }
void EbtCommands::dwMarg(EbtRunner& r) { moveRelativeUser(r, true); }
void EbtCommands::dwMbrg(EbtRunner& r) { moveRelativeUser(r, false); }

// ---------------------------------------------------------------------------------------------
// Arithmetic, styles, drawing shortcuts and windows

void EbtCommands::atBinCalc(EbtRunner& r) {
  int dest = columnFromText(r, r.readText(false));
  int src = columnFromText(r, r.readText(false));
  std::string op = upperCase(r.readText(false));
  std::string operand = upperCase(r.readText(true));
  if (r.ScriptError) return;
  if (op.size() != 1 || std::string("+-*/X").find(op[0]) == std::string::npos) {
    r.failArgument(3, EbtRunner::quote(op) + " is not an operation (+, -, *, / or X)");
    return;
  }
  Worksheet& ws = ctx_.worksheet;
  if (!operand.empty() && operand[0] >= 'A' && operand[0] <= 'Z') {
    int right = columnFromText(r, operand);
    if (!r.ScriptError && op[0] == 'X') r.failArgument(4, "a power takes a number, not a column");
    if (r.ScriptError) return;
    fromStore(r, [&] {
      ctx_.store.BINARYCALCS(op[0], ws.column(dest), ws.column(src), ws.column(right));
    });
  } else {
    double k = 0;
    if (!EbtRunner::parseReal(operand, k)) {
      r.failArgument(4, EbtRunner::quote(operand) + " is neither a column nor a number");
      return;
    }
    char o = op[0];
    if (o == '-') {
      o = '+';
      k = -k;
    }
    fromStore(r, [&] { ctx_.store.CONSTCALCS(o, ws.column(dest), ws.column(src), k); });
  }
  ws.ShowColumn(dest);
  ws.RefreshColumnList();
}

void EbtCommands::atShift(EbtRunner& r) {
  int dest = columnFromText(r, r.readText(false));
  int src = columnFromText(r, r.readText(false));
  std::string ks = r.readText(true);
  if (r.ScriptError) return;
  long k = 0;
  if (!EbtRunner::parseInteger(ks, k) || k < -32768 || k > 32767) {
    r.failArgument(3, EbtRunner::quote(ks) + " is not a whole number from -32768 to 32767");
    return;
  }
  Worksheet& ws = ctx_.worksheet;
  fromStore(r, [&] { ctx_.store.CONSTCALCS('S', ws.column(dest), ws.column(src), double(k)); });
  ws.ShowColumn(dest);
  ws.RefreshColumnList();
}

void EbtCommands::unary(EbtRunner& r, char op) {
  int dest = columnFromText(r, r.readText(false));
  int src = columnFromText(r, r.readText(true));
  if (r.ScriptError) return;
  Worksheet& ws = ctx_.worksheet;
  fromStore(r, [&] { ctx_.store.UNARYCALCS(op, ws.column(dest), ws.column(src)); });
  ws.ShowColumn(dest);
  ws.RefreshColumnList();
}

void EbtCommands::atNegate(EbtRunner& r) { unary(r, 'N'); }
void EbtCommands::atInvert(EbtRunner& r) { unary(r, 'I'); }
void EbtCommands::atLn(EbtRunner& r) { unary(r, 'L'); }
void EbtCommands::atExp(EbtRunner& r) { unary(r, 'E'); }
void EbtCommands::atCumulate(EbtRunner& r) { unary(r, 'C'); }

void EbtCommands::atLoad(EbtRunner& r) {
  int c = columnFromText(r, r.readText(false));
  std::string path = r.readText(true);
  if (r.ScriptError) return;
  Worksheet& ws = ctx_.worksheet;
  Store& store = ctx_.store;
  // The path is looked up first: a load that cannot succeed leaves the column and its unsaved
  // data as they were.
  bool lookedUp = false;
  fromStore(r, [&] {
    const DsDirEntry e = store.FINDENTRY(path);
    if (store.StoreError) return;
    lookedUp = true;
    if (e.record == kNoRecord || e.kind != kSeriesKind) {
      store.StoreError = true;
      store.STOREMSG(path + " is not a series");
    }
  });
  if (r.ScriptError) {
    // A pattern with wildcards names no single series, and is refused without a word.
    if (!lookedUp && store.attached()) r.fail(EbtRunner::quote(path) + " names no single series");
    return;
  }
  fromStore(r, [&] { store.LOADONE(ws.column(c), path); });
  ws.ShowAllColumns();
  ws.RefreshColumnList();
}

void EbtCommands::atULimEnds(EbtRunner& r) {
  int c = columnFromText(r, r.readText(true));
  if (r.ScriptError) return;
  Worksheet& ws = ctx_.worksheet;
  Series& s = ws.column(c);
  if (!s.inUse()) {
    r.fail("column " + letters(c) + " holds no series");
    return;
  }
  if (s.hasData()) ws.SetUseLimits(s.lowest(), s.highestIndex());
}

void EbtCommands::atCurvLine(EbtRunner& r) {
  int n = r.readInt(false, 1, kMaxCurves);
  std::string style = upperCase(r.readText(false));
  int width = r.readInt(true, 0, 4);
  if (r.ScriptError) return;
  int type = -1;
  switch (style.empty() ? ' ' : style[0]) {
    case 'L':
      type = kLineCurve;
      break;
    case 'D':
      type = kDashedCurve;
      break;
    case 'I':
      type = kIntermittentCurve;
      break;
    case 'T':
      type = kDotsCurve;
      break;
    default:
      break;
  }
  if (type < 0) {
    r.failArgument(2, EbtRunner::quote(style) + " is not a line style (L, D, I or T)");
    return;
  }
  CurveDef& c = ctx_.graph.def.curve(n);
  c.CurveType = uint8_t(type);
  c.SizeCode = int8_t(width);
  if (ctx_.graph.onCurveListChanged) ctx_.graph.onCurveListChanged();
}

void EbtCommands::atCurvPts(EbtRunner& r) {
  int n = r.readInt(false, 1, kMaxCurves);
  std::string kind = upperCase(r.readText(false));
  int size = r.readInt(true, -2, 9);
  if (r.ScriptError) return;
  int type = kind.empty()     ? -1
             : kind[0] == 'P' ? kPointsCurve
             : kind[0] == 'C' ? kConnectedPointsCurve
                              : -1;
  int shape = kind.size() == 3 ? EbtRunner::symbolCode(kind.substr(1)) : -1;
  if (type < 0 || shape < 0) {
    r.failArgument(2, EbtRunner::quote(kind) + " is not P or C followed by a point symbol");
    return;
  }
  CurveDef& c = ctx_.graph.def.curve(n);
  c.CurveType = uint8_t(type);
  c.PointShape = uint8_t(shape);
  c.SizeCode = int8_t(size);
  if (ctx_.graph.onCurveListChanged) ctx_.graph.onCurveListChanged();
}

void EbtCommands::atFreezeSc(EbtRunner&) { ctx_.graph.FreezeRequest = true; }

void EbtCommands::atErase(EbtRunner&) {
  Drawing& d = drawing();
  d.state.DrawEraseMode = true;
  d.state.PenDraw = false;
  d.repaint();
}

void EbtCommands::atEsc(EbtRunner&) { drawing().EndDrawingCommand(); }

void EbtCommands::atText(EbtRunner& r) {
  std::string text = r.readText(true);
  if (r.ScriptError) return;
  Drawing& d = drawing();
  d.EndDrawingCommand();
  // The A-cursor marks the text's middle height; the baseline is a quarter unit below it (the
  // move is in text units, as the graph's numbers are centred on their ticks).
  PagePoint p = d.pointAt(d.state.A);
  d.MovePointRotated(p, 0, -0.25);
  ctx_.textEngine().DrawTextString(p, text);
  d.repaint();
}

void EbtCommands::atDrawPoint(EbtRunner& r) {
  int shape = r.readSymbol(true);
  if (r.ScriptError) return;
  drawing().DrawPointSymbolAtA(shape);
  drawing().repaint();
}

void EbtCommands::atDrawCircle(EbtRunner&) {
  Drawing& d = drawing();
  d.DrawCircle(d.pointAt(d.state.A),
               std::hypot(d.state.B.X - d.state.A.X, d.state.B.Y - d.state.A.Y));
  d.EndDrawingCommand();
}

void EbtCommands::atArcStart(EbtRunner&) { drawing().BeginCircleArc(); }
void EbtCommands::atArcFin(EbtRunner&) { drawing().FinishCircleArc(); }

void EbtCommands::atShowDrawing(EbtRunner&) { ctx_.SHOWDRAWING(); }
void EbtCommands::atShowWkSheet(EbtRunner&) { ctx_.SHOWWORKSHEET(); }
void EbtCommands::atShowGrDefs(EbtRunner&) { ctx_.SHOWGRAPHDEFS(); }

void EbtCommands::atClearDrawing(EbtRunner&) {
  ctx_.discardDrawing();
  ctx_.SHOWDRAWING();
}

void EbtCommands::atQuit(EbtRunner& r) {
  // The program ends once the statement is over; nothing after it runs.
  ctx_.requestQuit();
  r.ScriptStop = true;
}

}  // namespace plotane
