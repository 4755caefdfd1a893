#pragma once
// Axis scaling: the tick values of one axis for automatic linear, automatic logarithmic and
// manual scaling, re-ticking for equal length scales, and which ticks carry numbers. Pure
// functions over plain values, so each rule can be checked on its own.

#include <array>
#include <vector>

#include "graph/GraphDef.h"

namespace plotane {

// Highest tick index an axis may have (325 ticks).
inline constexpr int kMaxTickIndex = 324;

inline constexpr std::array<double, 4> Mantissas = {0.1, 0.2, 0.4, 0.5};

// Tick positions inside a decade, as log10(multiplier / 10), index 1..9 (dense) or 1..5 (sparse).
struct LogTable {
  std::array<double, 10> pos{};  // pos[1..count]
  int count = 0;
};
const LogTable& DenseLogTable();
const LogTable& SparseLogTable();
inline const LogTable& logTable(bool dense) { return dense ? DenseLogTable() : SparseLogTable(); }
// Multiplier of position p in the table ("1".."9" dense, 1 2 4 6 8 sparse).
int logMultiplier(bool dense, int p);

// One scaled axis. For a log axis the tick values are log10 of the data.
struct AxisScale {
  std::vector<double> t;  // t[0..n]
  int n = 0;
  double step = 0;
  int e = 0;  // exponent of the step: numbers get max(1 - e, 0) decimals
  int m = 0;  // mantissa index of the step
  bool log = false;
  bool dense = true;  // log axis: ticks at 1..9 per decade, else at 1 2 4 6 8
  bool FirstNumbered = true;
  bool LastNumbered = true;
  double first() const { return t.front(); }
  double last() const { return t.back(); }
};

// Automatic linear scaling of lo..hi (user limits already put in place of the data's).
// False for an impossible range (lo > hi, more than 325 ticks, no nominal tick count).
bool LinearAutoScale(double lo, double hi, double nominalTicks, bool minUser, bool maxUser,
                     AxisScale& s);
// Automatic logarithmic scaling of lo..hi, both already log10 of the values.
bool LogAutoScale(double lo, double hi, bool minUser, bool maxUser, AxisScale& s);
// Manual scaling from the axis's Min, UnitsPerTick, TickIntervals and DecimalPlaces.
bool ManualScale(const AxisDef& a, AxisScale& s);

// Re-ticks a linear axis so that `length` inches span length / scale units, with the given step.
bool RetickLinear(AxisScale& s, const AxisDef& a, double length, double scale, double step);

// Result of re-ticking a log axis: false on too many ticks; offPosition is set when the axis
// minimum lies on no tick position (the "ERR A" case), and the ticks then start from it.
struct LogRetickResult {
  bool ok = true;
  bool offPosition = false;
};
LogRetickResult RetickLog(AxisScale& s, const AxisDef& a, double length, double scale,
                          bool otherDense);

// Whether an axis keeps its scale under the equal length rule.
inline bool AxisFixed(const AxisDef& a) {
  return a.ManualScaling || (a.MinUserSpec && a.MaxUserSpec);
}

// Equal length scale for both axes between cursor lengths lengthX and lengthY (inches).
// Returns false when a re-ticking failed; errA is set when a log re-ticking met "ERR A";
// reticked names the axis that was re-ticked ('X', 'Y' or 0 for none).
bool EqualLengthScale(AxisScale& x, const AxisDef& ax, double lengthX, AxisScale& y,
                      const AxisDef& ay, double lengthY, bool& errA, char& reticked);

// Number every k-th tick (log axes 1, manual the axis's interval, else by the step's mantissa).
// May clear FirstNumbered (automatic linear steps 0.1 and 0.5 keep numbers on even multiples).
int NumberingEvery(AxisScale& s, const AxisDef& a);

// Which ticks 0..n get numbers and grid lines, by the every-k counter (may clear FirstNumbered
// for a manual numbering start delay).
std::vector<bool> NumberedTicks(AxisScale& s, const AxisDef& a, int k);

// Which inner ticks 1..n-1 get grid lines: the same counter from k, advanced first when
// FirstNumbered is set, but without the numbering start delay.
std::vector<bool> GridTicks(const AxisScale& s, int k);

// The decade and position of a log tick, or false when it lies on no position of the table.
bool LogPosition(double t, bool dense, int& D, int& p);

// Which positions a log axis numbers for density class 0..5.
bool LogClassNumbers(int cls, int p);
int LogDensityClass(double x);

}  // namespace plotane
