#include "worksheet/Regression.h"

#include <cfloat>
#include <cmath>
#include <span>
#include <string>

#include "shell/base/Host.h"
#include "shell/base/LogModel.h"
#include "shell/base/Messages.h"
#include "worksheet/Worksheet.h"

namespace plotane {

namespace {

constexpr int kLastRegressor = kMaxRegressors - 1;
constexpr long kHighestIndex = INT16_MAX;
constexpr long kLowestIndex = INT16_MIN;

}  // namespace

Regression::Regression(Worksheet& ws) : ws_(ws) {
  ws_.setRequestStep(kDependentCode, [this](Worksheet& w) { DefineDependent(w.C1); });
  ws_.setRequestStep(kIndependentCode, [this](Worksheet& w) { DefineIndependent(w.C1); });
  ws_.setRequestStep(kSavePredictedCode, [this](Worksheet& w) { SavePredicted(w.C1); });
  ws_.setRequestStep(kSaveRangeCode, [this](Worksheet& w) { SaveRange(w.C1); });
  ws_.setRequestStep(kSaveCoefficientsCode, [this](Worksheet& w) { SaveCoefficients(w.C1); });
  ws_.setRequestStep(kSaveMatrixCode, [this](Worksheet& w) { SaveMatrix(w.C1); });
}

Regression::~Regression() {
  for (int code : {kDependentCode, kIndependentCode, kSavePredictedCode, kSaveRangeCode,
                   kSaveCoefficientsCode, kSaveMatrixCode})
    ws_.setRequestStep(code, nullptr);
}

// ---- Menu commands ----

void Regression::StartDependent() {
  ws_.AskColumn("Select Dependent variable column:", kDependentCode);
}

void Regression::StartIndependent() {
  ws_.AskColumn("Select Independent variable column:", kIndependentCode);
}

void Regression::RemoveIndependent() {
  double v = 1.0;
  if (!ws_.host.askReal("Enter variable number to remove:", v)) return;
  if (!std::isfinite(v) || std::fabs(v) > 1.0E6) return;  // no such variable
  RemoveVariable(long(std::nearbyint(v)));
}

void Regression::ToggleConstant() {
  if (model.constant) {
    model.constant = false;
    removeSlot(0);
  } else if (model.p >= kLastRegressor) {
    ws_.store.STOREMSG(kTooMany);
    return;
  } else {
    model.constant = true;
    for (int j = model.p; j >= 0; --j) model.reg[j + 1] = model.reg[j];
    model.reg[0] = RegEntry{};
    ++model.p;
  }
  ShowVDefs();
}

void Regression::CalculateCommand() {
  ws_.CommitCurrentCell();
  Calculate();
}

void Regression::StartSave(int code) {
  if (!calculated_) {
    ws_.host.message(kNotCalculated);
    return;
  }
  switch (code) {
    case kSavePredictedCode:
      ws_.AskColumn("Column to save predicted values:", code);
      break;
    case kSaveRangeCode:
      ws_.AskColumn("1st of 2 columns to save predicted range:", code);
      break;
    case kSaveCoefficientsCode:
      ws_.AskColumn("Column to save estimated coefficients:", code);
      break;
    case kSaveMatrixCode:
      ws_.AskColumn("1st column of correlation matrix:", code);
      break;
    default:
      break;
  }
}

// ---- Listings ----

void Regression::recheck(RegEntry& e) {
  e.defined = ws_.inUse(e.column);
  e.covers = false;
  if (e.defined) {
    const Series& s = ws_.column(e.column);
    e.covers = s.hasData() && ws_.UseLow() >= s.lowest() && ws_.UseHigh() <= s.highestIndex();
  }
}

std::string Regression::columnText(const RegEntry& e) const {
  return e.defined ? ColumnLetters(e.column) + " : " : "** : ";
}

std::string Regression::nameText(const RegEntry& e) const {
  if (e.covers) return ws_.columnName(e.column);
  if (e.defined) return "   ** index error **";
  return " ";
}

void Regression::ShowVDefs() {
  recheck(model.dependent);
  for (RegEntry& e : model.reg) recheck(e);

  std::vector<RegVarText> vars;
  for (int j = 0; j <= model.p; ++j) {
    const RegEntry& e = model.reg[j];
    vars.push_back({model.constant && j == 0, columnText(e), nameText(e)});
  }
  auto lines =
      RegVarListLines(columnText(model.dependent), nameText(model.dependent), model.constant, vars);
  LogModel& log = ws_.log;
  log.CLEARLOG();
  log.APPENDLOG(lines.front());
  for (std::size_t i = 1; i < lines.size(); ++i) log.ADDLOG(lines[i]);
  log.SHOWLOG(ws_.host);
}

// ---- Definitions ----

// A column that holds a series covering the use range, or the message why not.
bool Regression::usableEntry(int column, RegEntry& e) {
  e = RegEntry{int16_t(column), false, false};
  recheck(e);
  if (!e.defined) {
    ws_.store.STOREMSG(kNoSeries);
    return false;
  }
  if (!e.covers) {
    ws_.store.STOREMSG(kIndexError);
    return false;
  }
  return true;
}

void Regression::DefineDependent(int column) {
  RegEntry e;
  if (!usableEntry(column, e)) return;
  model.dependent = e;
  ShowVDefs();
}

void Regression::DefineIndependent(int column) {
  if (model.p >= kLastRegressor) {
    ws_.store.STOREMSG(kTooMany);
    return;
  }
  RegEntry e;
  if (!usableEntry(column, e)) return;
  bool duplicate = column == model.dependent.column;
  for (int j = model.constant ? 1 : 0; j <= model.p; ++j)
    if (model.reg[j].column == column) duplicate = true;
  if (duplicate) {
    ws_.store.STOREMSG(kDuplicate);
    return;
  }
  ++model.p;
  model.reg[model.p] = e;
  ShowVDefs();
}

void Regression::removeSlot(int k) {
  for (int j = k; j < model.p; ++j) model.reg[j] = model.reg[j + 1];
  if (model.p >= 0) model.reg[model.p] = RegEntry{};
  --model.p;
}

void Regression::RemoveVariable(long k) {
  if (k < 0 || k > model.p) return;
  if (model.constant && k == 0) {
    // Variable 0 is the constant term: removing it turns the constant off (nothing to do when
    // it is the only regressor).
    if (model.p == 0) return;
    model.constant = false;
  }
  removeSlot(int(k));
  ShowVDefs();
}

// ---- Calculate ----

bool Regression::complete() const {
  auto ok = [](const RegEntry& e) { return e.defined && e.covers; };
  if (!ok(model.dependent)) return false;
  for (int j = 0; j <= model.p; ++j)
    if (!(model.constant && j == 0) && !ok(model.reg[j])) return false;
  return true;
}

void Regression::failed() { ws_.store.StoreError = true; }

bool Regression::Calculate() {
  Store& store = ws_.store;
  const int useLow = ws_.UseLow(), useHigh = ws_.UseHigh();
  const int n = useHigh - useLow + 1;
  ShowVDefs();
  store.StoreError = false;
  if (!complete()) {
    store.STOREMSG(kErrorInProblem);
    failed();
    return false;
  }

  BusyCursor busy(ws_.host);
  const int m = model.p + 1;
  const std::size_t count = n > 0 ? std::size_t(n) : 0;
  std::vector<float> y(count);
  std::vector<std::vector<float>> x(static_cast<std::size_t>(m), std::vector<float>(count));
  Series& dep = ws_.column(model.dependent.column);
  for (std::size_t i = 0; i < count; ++i) y[i] = store.GETVAL(dep, useLow + int(i));
  for (int j = 0; j < m; ++j) {
    if (model.constant && j == 0) {
      std::fill(x[0].begin(), x[0].end(), 1.0f);
      continue;
    }
    Series& s = ws_.column(model.reg[j].column);
    for (std::size_t i = 0; i < count; ++i) x[j][i] = store.GETVAL(s, useLow + int(i));
  }
  store.StoreError = false;
  // A gap in a variable would enter the fit as 3.4E38 and swamp it: refuse, naming the first
  // one (the dependent first, then the regressors in order, lowest index first).
  auto refuseGap = [&](const std::vector<float>& v, int column) {
    for (std::size_t i = 0; i < count; ++i)
      if (isMissing(v[i])) {
        std::string name = ColumnLetters(column);
        while (!name.empty() && name.back() == ' ') name.pop_back();
        store.STOREMSG("Missing value at index " + std::to_string(useLow + long(i)) +
                       " in column " + name);
        failed();
        return true;
      }
    return false;
  };
  if (refuseGap(y, model.dependent.column)) return false;
  for (int j = 0; j < m; ++j)
    if (!(model.constant && j == 0) && refuseGap(x[j], model.reg[j].column)) return false;

  std::vector<std::span<const float>> xs(x.begin(), x.end());
  RegFit fit;
  RegStatus status = RegStatus::Ok;
  if (!guardFloat(ws_.host, [&] { status = REGFIT(y, xs, fit); })) {
    failed();
    return false;
  }
  if (status == RegStatus::Singular) {
    ws_.host.message(" ZERO DET");
    store.STOREMSG("ZERO DET");
    failed();
    return false;
  }

  RegReportHead head{ColumnLetters(model.dependent.column),
                     ws_.columnName(model.dependent.column),
                     n,
                     useLow,
                     useHigh,
                     model.constant};
  std::vector<RegVarText> vars;
  for (int j = 0; j < m; ++j) {
    bool isConstant = model.constant && j == 0;
    int c = model.reg[j].column;
    vars.push_back(
        {isConstant, isConstant ? "" : ColumnLetters(c), isConstant ? "" : ws_.columnName(c)});
  }
  auto lines = RegReportLines(head, fit.res, vars);
  LogModel& log = ws_.log;
  log.CLEARLOG();
  for (const auto& line : lines) log.ADDLOG(line);
  log.SHOWLOG(ws_.host);

  fit_ = std::move(fit);
  calculated_ = true;
  return true;
}

// ---- Saves ----

bool Regression::writeColumns(const std::vector<ColumnValues>& out) {
  for (const auto& c : out) {
    if (!Worksheet::validColumn(c.column)) {
      ws_.store.STOREMSG(kPastLastColumn);
      failed();
      return false;
    }
  }
  // A value beyond the single range cannot be stored: the platform's overflow, before any
  // column is touched.
  bool storable = guardFloat(ws_.host, [&] {
    for (const auto& c : out)
      for (double v : c.values)
        if (std::fabs(fpCheck(v)) > double(FLT_MAX)) throw FloatFault{FloatFaultKind::Overflow};
  });
  if (!storable) {
    failed();
    return false;
  }
  for (const auto& c : out) {
    ws_.ClearColumn(c.column);
    ws_.RenewColumn(c.column, c.name);
  }
  for (const auto& c : out) {
    Series& s = ws_.column(c.column);
    for (std::size_t i = 0; i < c.values.size(); ++i) {
      const long index = c.first + long(i);
      if (index >= kLowestIndex && index <= kHighestIndex)
        ws_.store.PUTVAL(s, int(index), c.values[i]);
    }
    ws_.ShowColumn(c.column);
  }
  return true;
}

void Regression::SavePredicted(int column) {
  if (!calculated_) return;
  ColumnValues pred{column, "Predicted", ws_.UseLow(), {}};
  pred.values.assign(fit_.yhat.begin(), fit_.yhat.end());
  writeColumns({pred});
}

void Regression::SaveRange(int column) {
  if (!calculated_) return;
  ColumnValues lower{column, "PredLower", ws_.UseLow(), {}};
  ColumnValues upper{column + 1, "PredUpper", ws_.UseLow(), {}};
  for (int i = 0; i < fit_.n; ++i) {
    lower.values.push_back(double(fit_.yhat[i]) - fit_.pse[i]);
    upper.values.push_back(double(fit_.yhat[i]) + fit_.pse[i]);
  }
  writeColumns({lower, upper});
}

void Regression::SaveCoefficients(int column) {
  if (!calculated_) return;
  ColumnValues coeff{column, "BCoeff", 0, {}};
  coeff.values.assign(fit_.res.b.begin(), fit_.res.b.begin() + fit_.m);
  writeColumns({coeff});
}

void Regression::SaveMatrix(int column) {
  if (!calculated_) return;
  std::vector<ColumnValues> out{{column, "S2", 0, {fit_.s2}}};
  for (int j = 0; j < fit_.m; ++j) {
    ColumnValues cc{column + 1 + j, "CC" + std::to_string(j), 0, {}};
    for (int k = 0; k < fit_.m; ++k)
      cc.values.push_back(fit_.res.C[std::size_t(k * kMaxRegressors + j)]);
    out.push_back(std::move(cc));
  }
  writeColumns(out);
}

}  // namespace plotane
