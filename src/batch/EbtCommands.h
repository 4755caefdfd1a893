#pragma once
// The EBT command set: every command word of the four groups ("WW" worksheet and store, "GW"
// graph definitions, "DW" drawing, "@" arithmetic, styles, drawing shortcuts and windows), each
// reading its arguments through the runner and calling the operation of its subsystem through
// the application context.

#include <map>
#include <string>

#include "batch/EbtRunner.h"

namespace plotane {

class AppContext;
class Drawing;
class Series;

class EbtCommands : public ScriptCommands {
 public:
  explicit EbtCommands(AppContext& ctx);

  bool execute(EbtRunner& runner, const std::string& word) override;
  void beforeStatement() override;
  void runEnded() override;
  bool cursorValue(const std::string& name, double& value) override;
  bool useLimitValue(const std::string& name, int& value) override;
  bool logAxis(bool yAxis) override;
  void columnsSelected(int first, int second, bool range) override;

  // Every command word known, in table order (for tests and help).
  std::vector<std::string> words() const;

 private:
  using Handler = void (EbtCommands::*)(EbtRunner&);
  void add(const char* word, Handler h);

  // ---- Worksheet and store ----
  void wwAttach(EbtRunner& r);
  void wwCreate(EbtRunner& r);
  void wwColSave(EbtRunner& r);
  void wwColName(EbtRunner& r);
  void wwColCopy(EbtRunner& r);
  void wwColErase(EbtRunner& r);
  void wwSetDsDir(EbtRunner& r);
  void wwMkDsDir(EbtRunner& r);
  void wwDelDsDir(EbtRunner& r);
  void wwUseLims(EbtRunner& r);
  void wwReadTxt(EbtRunner& r);
  void wwWriteHTxt(EbtRunner& r);
  void wwWriteNoHTxt(EbtRunner& r);
  void writeTxt(EbtRunner& r, bool headers);

  // ---- Graph definitions ----
  void gwCurveNewDef(EbtRunner& r);
  void gwCurveOldDef(EbtRunner& r);
  void defineCurve(EbtRunner& r, int curve);
  void gwFileLoad(EbtRunner& r);
  void gwFileSave(EbtRunner& r);
  void gwSetXsToCols(EbtRunner& r);
  void gwRemoveDef(EbtRunner& r);
  void gwSetupDrawGraph(EbtRunner& r);
  void gwBlankDrawing(EbtRunner& r);

  // ---- Drawing ----
  void grlFile(EbtRunner& r, bool save);
  void dwFileOpen(EbtRunner& r);
  void dwFileSave(EbtRunner& r);
  void dwPrint(EbtRunner& r);
  void dwSetFont(EbtRunner& r);
  void dwSetLineW(EbtRunner& r);
  void dwSetPointSize(EbtRunner& r);
  void dwSetAngle(EbtRunner& r);
  void dwDrawLine(EbtRunner& r);
  void dwDrawDashed(EbtRunner& r);
  void dwDrawIntermittent(EbtRunner& r);
  void dwDrawRect(EbtRunner& r);
  void dwDrawArrow(EbtRunner& r);
  void dwDrawNode(EbtRunner& r);
  void dwDrawGraph(EbtRunner& r);
  std::string silentGraphFailure();
  void dwMaaf(EbtRunner& r);
  void dwMbaf(EbtRunner& r);
  void dwMaag(EbtRunner& r);
  void dwMbag(EbtRunner& r);
  void dwMarf(EbtRunner& r);
  void dwMbrf(EbtRunner& r);
  void dwMarg(EbtRunner& r);
  void dwMbrg(EbtRunner& r);
  void setCursor(bool a, double x, double y);
  void moveAbsolutePage(EbtRunner& r, bool a);
  void moveAbsoluteUser(EbtRunner& r, bool a);
  void moveRelativePage(EbtRunner& r, bool a);
  void moveRelativeUser(EbtRunner& r, bool a);

  // ---- Arithmetic, styles, shortcuts, windows ----
  void atBinCalc(EbtRunner& r);
  void atShift(EbtRunner& r);
  void atNegate(EbtRunner& r);
  void atInvert(EbtRunner& r);
  void atLn(EbtRunner& r);
  void atExp(EbtRunner& r);
  void atCumulate(EbtRunner& r);
  void unary(EbtRunner& r, char op);
  void atLoad(EbtRunner& r);
  void atULimEnds(EbtRunner& r);
  void atCurvLine(EbtRunner& r);
  void atCurvPts(EbtRunner& r);
  void atFreezeSc(EbtRunner& r);
  void atErase(EbtRunner& r);
  void atEsc(EbtRunner& r);
  void atText(EbtRunner& r);
  void atDrawPoint(EbtRunner& r);
  void atDrawCircle(EbtRunner& r);
  void atArcStart(EbtRunner& r);
  void atArcFin(EbtRunner& r);
  void atShowDrawing(EbtRunner& r);
  void atShowWkSheet(EbtRunner& r);
  void atShowGrDefs(EbtRunner& r);
  void atClearDrawing(EbtRunner& r);
  void atQuit(EbtRunner& r);

  // A column named by a text argument (strict letters); -1 after ScriptError.
  int columnFromText(EbtRunner& r, const std::string& text);
  // Runs a store operation: a floating-point fault ends it with its message; ScriptError then
  // takes StoreError.
  template <class F>
  void fromStore(EbtRunner& r, F&& f);
  Drawing& drawing();

  AppContext& ctx_;
  std::map<std::string, Handler> table_;
  std::vector<std::string> order_;
};

}  // namespace plotane
