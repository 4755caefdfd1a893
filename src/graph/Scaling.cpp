#include "graph/Scaling.h"

#include <cmath>
#include <optional>

namespace plotane {

namespace {

// Positions compare with a little slack: log values of data and table entries come from
// different computations and may differ in the last bits.
constexpr double kPosEps = 1e-10;

LogTable makeTable(const std::array<int, 10>& mult, int count) {
  LogTable t;
  t.count = count;
  for (int p = 1; p <= count; ++p)
    t.pos[std::size_t(p)] = std::log(mult[std::size_t(p)] / 10.0) / std::log(10.0);
  return t;
}

double roundEven(double x) { return std::nearbyint(x); }

double posValue(const LogTable& tab, int D, int p) { return D + tab.pos[std::size_t(p)]; }

void advancePos(const LogTable& tab, int& D, int& p) {
  if (++p > tab.count) {
    p = 1;
    ++D;
  }
}

// Ticks of a log axis from lo to hi (log units) in the given density.
bool logTicks(double lo, double hi, bool minUser, bool maxUser, bool dense, AxisScale& s) {
  if (!std::isfinite(lo) || !std::isfinite(hi) || lo > hi || std::fabs(lo) > 1e6 ||
      std::fabs(hi) > 1e6)
    return false;
  const LogTable& tab = logTable(dense);
  int Dlo = int(std::floor(lo)) + 1, Dhi = int(std::floor(hi)) + 1;
  int pStart = 1;
  for (int p = 1; p <= tab.count; ++p)
    if (tab.pos[std::size_t(p)] <= lo - Dlo + kPosEps) pStart = p;
  int pEnd = 0;
  for (int p = 1; p <= tab.count && pEnd == 0; ++p)
    if (tab.pos[std::size_t(p)] >= hi - Dhi - kPosEps) pEnd = p;
  if (pEnd == 0) {
    ++Dhi;
    pEnd = 1;
  }
  if (!minUser && std::fabs(lo - posValue(tab, Dlo, pStart)) < kPosEps) {
    if (--pStart < 1) {
      pStart = tab.count;
      --Dlo;
    }
  }
  std::vector<double> t;
  int D = Dlo, p = pStart;
  for (;;) {
    if (int(t.size()) > kMaxTickIndex) return false;
    t.push_back(posValue(tab, D, p));
    if (D == Dhi && p == pEnd) break;
    advancePos(tab, D, p);
  }
  if (t.size() < 2) return false;
  s.t = std::move(t);
  s.n = int(s.t.size()) - 1;
  if (minUser) s.t[0] = lo;
  if (maxUser) s.t[std::size_t(s.n)] = hi;
  s.log = true;
  s.dense = dense;
  s.m = dense ? 1 : 0;
  s.e = 0;
  s.step = 0;
  s.FirstNumbered = s.LastNumbered = true;
  return s.t.front() < s.t.back();
}

}  // namespace

const LogTable& DenseLogTable() {
  static const LogTable t = makeTable({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 9);
  return t;
}
const LogTable& SparseLogTable() {
  static const LogTable t = makeTable({0, 1, 2, 4, 6, 8, 0, 0, 0, 0}, 5);
  return t;
}

int logMultiplier(bool dense, int p) {
  static constexpr int sparse[6] = {0, 1, 2, 4, 6, 8};
  if (dense) return p;
  return (p >= 1 && p <= 5) ? sparse[p] : 0;
}

bool LinearAutoScale(double lo, double hi, double nominalTicks, bool minUser, bool maxUser,
                     AxisScale& s) {
  if (!(lo <= hi) || !std::isfinite(lo) || !std::isfinite(hi) || !(nominalTicks > 0)) return false;
  if (std::fabs(hi) < 1e-10 && std::fabs(lo) < 1e-10) hi = 2e-10;
  double raw = (hi - lo) / nominalTicks;
  if (!std::isfinite(raw)) return false;
  if (raw < 5e-9) {
    raw = 5e-9;
    hi = raw * nominalTicks + lo;
  }
  // The step nearest to the raw step on a log scale; the first of equals stays.
  int bestM = 0, bestE = -10;
  double best = INFINITY;
  for (int m = 0; m < 4; ++m)
    for (int e = -10; e <= 12; ++e) {
      const double d = std::fabs(e * std::log(10.0) + std::log(Mantissas[std::size_t(m)] / raw));
      if (d < best) {
        best = d;
        bestM = m;
        bestE = e;
      }
    }
  const double step = std::pow(10.0, bestE) * Mantissas[std::size_t(bestM)];
  // Constant data of any magnitude gets the 5e-9 step here. Far from zero the ticks may then
  // round together in double precision; an axis whose ends meet is refused below.
  double min, max;
  bool minOnTick, maxOnTick;
  if (minUser) {
    min = lo;
    minOnTick = std::fabs(roundEven(lo / step) * step - lo) / step < 1e-6;
  } else {
    min = (roundEven(lo / step) - 1) * step;
    minOnTick = true;
  }
  if (maxUser) {
    max = hi;
    maxOnTick = std::fabs(roundEven(hi / step) * step - hi) / step < 1e-6;
  } else {
    max = (roundEven(hi / step) + 1) * step;
    maxOnTick = true;
  }
  const double q = (max - min) / step;
  const double nq = (minOnTick && maxOnTick) ? roundEven(q) : std::trunc(q) + 1;
  if (!(nq <= kMaxTickIndex)) return false;
  const int n = nq < 1 ? 1 : int(nq);
  s.t.assign(std::size_t(n) + 1, 0.0);
  s.t[0] = min;
  s.t[std::size_t(n)] = max;
  const bool fromMax = !minOnTick && maxOnTick;
  for (int j = 1; j < n; ++j) s.t[std::size_t(j)] = fromMax ? max - (n - j) * step : min + j * step;
  s.n = n;
  s.step = step;
  s.e = bestE;
  s.m = bestM;
  s.log = false;
  s.FirstNumbered = s.LastNumbered = true;
  return min < max;
}

bool LogAutoScale(double lo, double hi, bool minUser, bool maxUser, AxisScale& s) {
  if (!std::isfinite(lo) || !std::isfinite(hi) || lo > hi) return false;
  const int Dlo = int(std::floor(lo)) + 1, Dhi = int(std::floor(hi)) + 1;
  return logTicks(lo, hi, minUser, maxUser, (Dhi - Dlo) < 5, s);
}

bool ManualScale(const AxisDef& a, AxisScale& s) {
  const double step = a.UnitsPerTick;
  const double end = a.Min + step * double(a.TickIntervals);
  if (!std::isfinite(end) || !std::isfinite(step)) return false;
  std::vector<double> t{a.Min};
  double v = a.Min + step;
  if (step > 0) {
    while (v < end) {
      if (int(t.size()) > kMaxTickIndex - 1) return false;
      t.push_back(v);
      v += step;
    }
  } else {
    while (v > end) {
      if (int(t.size()) > kMaxTickIndex - 1) return false;
      t.push_back(v);
      v += step;
    }
  }
  t.push_back(end);
  // An axis of no extent cannot be mapped onto the page.
  if (t.front() == t.back()) return false;
  s.t = std::move(t);
  s.n = int(s.t.size()) - 1;
  s.step = step;
  s.e = 1 - int(a.DecimalPlaces);
  s.m = 0;
  s.log = a.LogAxis != 0;
  s.dense = true;
  s.FirstNumbered = true;
  s.LastNumbered = std::trunc(a.TickIntervals) == a.TickIntervals;
  return true;
}

bool RetickLinear(AxisScale& s, const AxisDef& a, double length, double scale, double step) {
  const double span = length / scale;
  if (!std::isfinite(span) || !(span > 0) || !(step > 0) || span / step > kMaxTickIndex)
    return false;
  const double oldFirst = s.first(), oldLast = s.last();
  std::vector<double> t;
  bool endNumbered = false;
  // Ticks from `from` by `dir` steps until the span is covered; the end tick is set exactly.
  auto run = [&](double from, double dir) {
    const double target = from + dir * span;
    t.assign(1, from);
    for (int j = 1;; ++j) {
      const double v = from + dir * j * step;
      if (std::fabs(v - target) <= 1e-6 * span) {
        endNumbered = true;
        break;
      }
      if ((dir > 0 && v > target) || (dir < 0 && v < target)) break;
      t.push_back(v);
    }
    t.push_back(target);
  };
  if (a.MinUserSpec) {
    run(oldFirst, 1);
    s.LastNumbered = endNumbered;
  } else if (!a.MaxUserSpec) {
    double start = (roundEven(oldFirst / step) - 1) * step;
    if (start + span < oldLast) start = oldFirst;
    run(start, 1);
    s.LastNumbered = endNumbered;
  } else {
    run(oldLast, -1);
    std::vector<double> up(t.rbegin(), t.rend());
    t = std::move(up);
    s.FirstNumbered = endNumbered;
  }
  if (int(t.size()) - 1 > kMaxTickIndex) return false;
  s.t = std::move(t);
  s.n = int(s.t.size()) - 1;
  s.step = step;
  return true;
}

bool LogPosition(double t, bool dense, int& D, int& p) {
  if (!(std::fabs(t) < 1e6)) return false;
  const LogTable& tab = logTable(dense);
  D = int(std::floor(t + 1e-9)) + 1;
  for (int q = 1; q <= tab.count; ++q)
    if (std::fabs(tab.pos[std::size_t(q)] - (t - D)) < 1e-8) {
      p = q;
      return true;
    }
  return false;
}

LogRetickResult RetickLog(AxisScale& s, const AxisDef& a, double length, double scale,
                          bool otherDense) {
  LogRetickResult r;
  const double span = length / scale;
  if (!std::isfinite(span) || !(span > 0) || span > 300) {
    r.ok = false;
    return r;
  }
  const bool dense = s.dense;
  const LogTable& tab = logTable(dense);
  const double oldFirst = s.first(), oldLast = s.last();
  int D = 0, p = 0;
  if (a.MinUserSpec || a.MaxUserSpec) {
    const double lo = a.MinUserSpec ? oldFirst : oldLast - span;
    const double hi = lo + span;
    AxisScale n = s;
    if (!logTicks(lo, hi, true, true, dense, n)) {
      r.ok = false;
      return r;
    }
    n.FirstNumbered = LogPosition(lo, dense, D, p);
    n.LastNumbered = LogPosition(hi, dense, D, p);
    s = std::move(n);
    return r;
  }
  bool firstNumbered = true;
  double start = oldFirst;
  if (!LogPosition(oldFirst, dense, D, p)) {
    // The minimum is on no position: start from it, at the position just below it.
    r.offPosition = true;
    firstNumbered = false;
    D = int(std::floor(oldFirst)) + 1;
    p = 1;
    for (int q = 1; q <= tab.count; ++q)
      if (posValue(tab, D, q) <= oldFirst) p = q;
    advancePos(tab, D, p);
  } else {
    const double target = oldLast - span;
    if (D - 1 >= target) {
      start = D - 1;
      p = 1;
    } else if (otherDense && !dense) {
      p = p - p / 2;
      start = posValue(tab, D, p);
      if (start < target) {
        start = oldFirst;
        advancePos(tab, D, p);
        firstNumbered = false;
      }
    }
  }
  std::vector<double> t{start};
  if (firstNumbered) advancePos(tab, D, p);
  const double end = start + span;
  double v = posValue(tab, D, p);
  while (v < end - 1e-8) {
    if (int(t.size()) > kMaxTickIndex - 1) {
      r.ok = false;
      return r;
    }
    t.push_back(v);
    advancePos(tab, D, p);
    v = posValue(tab, D, p);
  }
  s.LastNumbered = std::fabs(v - end) < 1e-8;
  t.push_back(end);
  s.t = std::move(t);
  s.n = int(s.t.size()) - 1;
  s.FirstNumbered = firstNumbered;
  return r;
}

bool EqualLengthScale(AxisScale& x, const AxisDef& ax, double lengthX, AxisScale& y,
                      const AxisDef& ay, double lengthY, bool& errA, char& reticked) {
  errA = false;
  reticked = 0;
  const double SX = lengthX / (x.last() - x.first());
  const double SY = lengthY / (y.last() - y.first());
  auto retick = [&](AxisScale& s, const AxisDef& a, double length, double scale,
                    const AxisScale& other) {
    if (s.log) {
      LogRetickResult r = RetickLog(s, a, length, scale, other.dense);
      errA = errA || r.offPosition;
      return r.ok;
    }
    if (!RetickLinear(s, a, length, scale, other.step)) return false;
    s.e = other.e;
    s.m = other.m;
    s.step = other.step;
    return true;
  };
  if (!AxisFixed(ax) && SY <= SX) {
    if (SY == SX && !AxisFixed(ay)) return true;
    reticked = 'X';
    return retick(x, ax, lengthX, SY, y);
  }
  reticked = 'Y';
  return retick(y, ay, lengthY, SX, x);
}

int NumberingEvery(AxisScale& s, const AxisDef& a) {
  if (s.log) return 1;
  // A manual interval of 0 stays 0: the counter, once past it, never returns to it.
  if (a.ManualScaling) return a.NumberingInterval;
  static constexpr int table[4][2] = {{2, 5}, {2, 4}, {2, 4}, {2, 4}};
  const int m = (s.m >= 0 && s.m < 4) ? s.m : 0;
  const int k = table[m][s.n < 17 ? 0 : 1];
  if ((m == 0 || m == 3) && s.step > 0) {
    const double r = roundEven(s.first() / s.step);
    if (std::fmod(std::fabs(r), 2.0) == 1.0) s.FirstNumbered = false;
  }
  return k;
}

namespace {
// The every-k counter: one step, wrapping to 1 after k.
void advanceCounter(int& c, int k) { c = (c >= k) ? 1 : c + 1; }
}  // namespace

std::vector<bool> NumberedTicks(AxisScale& s, const AxisDef& a, int k) {
  std::vector<bool> out(std::size_t(s.n) + 1, false);
  int c = k;
  if (a.ManualScaling && a.NumberingStartDelay > 0) {
    s.FirstNumbered = false;
    c = k - int(a.NumberingStartDelay) + 1;
  }
  if (s.FirstNumbered) {
    out[0] = true;
    advanceCounter(c, k);
  }
  for (int j = 1; j < s.n; ++j) {
    out[std::size_t(j)] = (c == k);
    advanceCounter(c, k);
  }
  out[std::size_t(s.n)] = s.LastNumbered && c == k;
  return out;
}

std::vector<bool> GridTicks(const AxisScale& s, int k) {
  std::vector<bool> out(std::size_t(s.n) + 1, false);
  int c = k;
  if (s.FirstNumbered) advanceCounter(c, k);
  for (int j = 1; j < s.n; ++j) {
    out[std::size_t(j)] = (c == k);
    advanceCounter(c, k);
  }
  return out;
}

int LogDensityClass(double x) {
  if (x < 0.027) return 0;
  if (x < 0.04) return 1;
  if (x < 0.09) return 2;
  if (x < 0.15) return 3;
  if (x < 0.25) return 4;
  return 5;
}

bool LogClassNumbers(int cls, int p) {
  switch (cls) {
    case 0:
      return true;
    case 1:
      return p == 1 || p == 2 || p == 4 || p == 6 || p == 8;
    case 2:
      return p == 1 || p == 2 || p == 4 || p == 6;
    case 3:
      return p == 1 || p == 2 || p == 5;
    case 4:
      return p == 1 || p == 3;
    default:
      return p == 1;
  }
}

}  // namespace plotane
