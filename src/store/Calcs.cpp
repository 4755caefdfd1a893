// Calculations on whole series over the use range, generators and deletion at the ends.

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include "shell/base/Host.h"
#include "shell/base/Messages.h"
#include "store/Store.h"

namespace plotane {

namespace {

constexpr double kExpLimit = 88.7;
const double kMissing = double(MissingValue);

char upperOp(char op) { return char(std::toupper(static_cast<unsigned char>(op))); }

// Whether a single can hold the result.
bool representable(double r) {
  return std::isfinite(r) && std::fabs(r) <= double(std::numeric_limits<float>::max());
}

// The index range [L, H] intersected with [lo, hi]; empty when lo > hi.
struct Range {
  int lo, hi;
  bool empty() const { return lo > hi; }
};

}  // namespace

// The part of the use range a series covers (empty for a series without data).
static Range useRange(const Store& st, const Series& s) {
  if (!s.hasData()) return {1, 0};
  return {std::max<int>(st.UseLow, s.lowest()), std::min<int>(st.UseHigh, s.highestIndex())};
}

// A message box in the middle of a busy loop shows the normal cursor.
static void busyMessage(Store& st, const std::string& text) {
  st.host.setBusy(false);
  st.STOREMSG(text);
  st.host.setBusy(true);
}

// PUTVAL that tells whether the value went in (an index outside the span is refused).
static bool put(Store& st, Series& s, int index, double value) {
  st.StoreError = false;
  st.PUTVAL(s, index, value);
  return !st.StoreError;
}

// How one step of a calculation came out.
enum class Outcome { Value, NoValue, BadOp };

// E, I, L or N on a present value; NoValue outside the operation's domain.
static Outcome unaryValue(Store& st, char op, float v, double& result) {
  switch (op) {
    case 'E':
      if (v > kExpLimit) return Outcome::NoValue;
      result = std::exp(double(v));
      return Outcome::Value;
    case 'I':
      if (std::fabs(double(v)) < st.InverseOverflow) {
        busyMessage(st, "Inverse OVFL");
        return Outcome::NoValue;
      }
      result = 1.0 / v;
      return Outcome::Value;
    case 'L':
      if (v <= 0) return Outcome::NoValue;
      result = std::log(double(v));
      return Outcome::Value;
    case 'N':
      result = -double(v);
      return Outcome::Value;
    default:
      return Outcome::BadOp;
  }
}

// *, +, - or / on two present values; division by (nearly) zero gives no value.
static Outcome binaryValue(const Store& st, char op, float x, float y, double& result) {
  switch (op) {
    case '*':
      result = double(x) * y;
      return Outcome::Value;
    case '+':
      result = double(x) + y;
      return Outcome::Value;
    case '-':
      result = double(x) - y;
      return Outcome::Value;
    case '/':
      if (std::fabs(double(y)) < st.InverseOverflow) return Outcome::NoValue;
      result = double(x) / y;
      return Outcome::Value;
    default:
      return Outcome::BadOp;
  }
}

// The shared end of every step: an unknown operation stops the loop with a message; a missing
// result becomes no value and is remembered. A result a single cannot hold is a floating-point
// fault: the calculation ends there with the platform's message, the values before it kept and
// nothing written from this index on. False when the loop must stop.
static bool settle(Store& st, Outcome o, double& result, bool& missing, const char* caller) {
  if (o == Outcome::BadOp) {
    busyMessage(st, std::string("Invalid op.,") + caller);
    st.StoreError = true;
    return false;
  }
  if (o == Outcome::NoValue) {
    result = kMissing;
    missing = true;
  } else if (!representable(result)) {
    const FloatFaultKind kind =
        std::isnan(result) ? FloatFaultKind::Invalid : FloatFaultKind::Overflow;
    busyMessage(st, floatFaultText(kind));
    st.StoreError = true;
    st.CalcFault = true;
    return false;
  }
  return true;
}

// Writes compute(i, result) into dest for every index of r. StoreError ends up telling whether
// any value was missing.
template <class Compute>
static void calcRange(Store& st, Series& dest, Range r, const char* caller, Compute compute) {
  bool missing = false;
  for (int i = r.lo; i <= r.hi; ++i) {
    double result = kMissing;
    if (!settle(st, compute(i, result), result, missing, caller)) return;
    if (!put(st, dest, i, result)) return;
  }
  st.StoreError = missing;
}

void Store::UNARYCALCS(char op, Series& dest, Series& src) {
  CalcFault = false;
  op = upperOp(op);
  if (!ISLOADED(src)) {
    StoreError = true;
    STOREMSG(std::string("No source for UNARYCALCS ") + op);
    return;
  }
  Range r = useRange(*this, src);
  if (!ISLOADED(dest)) NEWSERIES(dest, false, "");
  BusyCursor busy(host);
  bool cumulationBroken = false;
  double acc = 0.0;
  calcRange(*this, dest, r, "UNARYCALCS", [&](int i, double& result) {
    float v = GETVAL(src, i);
    if (isMissing(v)) {
      cumulationBroken = true;
      return Outcome::NoValue;
    }
    if (op == 'C') {
      acc += v;
      result = cumulationBroken ? kMissing : acc;
      return Outcome::Value;
    }
    // Here a value outside the domain is no value but does not count as a missing source.
    Outcome o = unaryValue(*this, op, v, result);
    if (o == Outcome::NoValue) result = kMissing;
    return o == Outcome::BadOp ? o : Outcome::Value;
  });
}

void Store::CONSTCALCS(char op, Series& dest, Series& src, double c) {
  CalcFault = false;
  op = upperOp(op);
  if (!ISLOADED(src)) {
    StoreError = true;
    STOREMSG(std::string("No source for CONSTCALCS ") + op);
    return;
  }
  if (op == '/' && std::fabs(c) < InverseOverflow) {
    StoreError = true;
    STOREMSG("Div by const zero");
    return;
  }
  Range r = useRange(*this, src);
  if (!ISLOADED(dest)) NEWSERIES(dest, false, "");
  BusyCursor busy(host);
  if (op == 'S') {
    if (r.empty()) {
      StoreError = false;
      return;
    }
    double k = std::nearbyint(c);  // ties to even
    if (!(std::fabs(k) <= 65535.0) || r.lo + k < -32768 || r.hi + k > 32767) {
      StoreError = true;
      busyMessage(*this, "Index out of range for " + dest.path());
      return;
    }
    int shift = int(k);
    if (shift > 0) {
      for (int i = r.hi; i >= r.lo; --i)
        if (!put(*this, dest, i + shift, GETVAL(src, i))) return;
    } else {
      for (int i = r.lo; i <= r.hi; ++i)
        if (!put(*this, dest, i + shift, GETVAL(src, i))) return;
    }
    StoreError = false;
    return;
  }
  calcRange(*this, dest, r, "CONSTCALCS", [&](int i, double& result) {
    float v = GETVAL(src, i);
    if (isMissing(v)) return Outcome::NoValue;
    switch (op) {
      case '*':
        result = v * c;
        return Outcome::Value;
      case '+':
        result = v + c;
        return Outcome::Value;
      case '/':
        result = v / c;
        return Outcome::Value;
      case 'X':
        if (v < 0 || (v == 0 && c < 0)) return Outcome::NoValue;
        result = v == 0 ? 0.0 : std::exp(c * std::log(double(v)));
        return Outcome::Value;
      default:
        return Outcome::BadOp;
    }
  });
}

void Store::BINARYCALCS(char op, Series& dest, Series& left, Series& right) {
  CalcFault = false;
  op = upperOp(op);
  if (!ISLOADED(left) || !ISLOADED(right)) {
    StoreError = true;
    STOREMSG(std::string("No source for BINARYCALCS ") + op);
    return;
  }
  Range a = useRange(*this, left), b = useRange(*this, right);
  Range r{std::max(a.lo, b.lo), std::min(a.hi, b.hi)};
  if (a.empty() || b.empty()) r = {1, 0};
  if (!ISLOADED(dest)) NEWSERIES(dest, false, "");
  BusyCursor busy(host);
  calcRange(*this, dest, r, "BINARYCALCS", [&](int i, double& result) {
    float x = GETVAL(left, i);
    float y = GETVAL(right, i);
    if (isMissing(x) || isMissing(y)) return Outcome::NoValue;
    return binaryValue(*this, op, x, y, result);
  });
}

bool Store::GETVPT(Series& s, int index, int& block, int& slot) {
  if (!ISLOADED(s)) {
    StoreError = true;
    return false;
  }
  const SeriesInfo& in = *s.info;
  int d = index - in.base;
  if (in.firstSlot < 0 || index > in.highest || d < in.firstSlot ||
      std::size_t(d / kBlockValues) >= s.blocks.size()) {
    StoreError = true;
    STOREMSG("GETVPT beyond rnge" + s.path());
    return false;
  }
  block = d / kBlockValues;
  slot = d % kBlockValues;
  return true;
}

// Writes an in-place result straight into its slot; the modified flag is left as it was.
static void putSlot(Series& s, int block, int slot, double result) {
  if (std::fabs(result) < kTinyValue) result = 0.0;
  s.blocks[std::size_t(block)].v[std::size_t(slot)] = float(result);
}

// Replaces every value of target over r by compute(i, value, result).
template <class Compute>
static void modifyRange(Store& st, Series& target, Range r, const char* caller, Compute compute) {
  bool missing = false;
  for (int i = r.lo; i <= r.hi; ++i) {
    int block, slot;
    if (!st.GETVPT(target, i, block, slot)) return;
    float v = target.blocks[std::size_t(block)].v[std::size_t(slot)];
    double result = kMissing;
    if (!settle(st, compute(i, v, result), result, missing, caller)) return;
    putSlot(target, block, slot, result);
  }
  st.StoreError = missing;
}

void Store::MODIFYUN(char op, Series& target) {
  CalcFault = false;
  op = upperOp(op);
  if (!ISLOADED(target)) return;
  Range r = useRange(*this, target);
  BusyCursor busy(host);
  modifyRange(*this, target, r, "MODIFYUN", [&](int, float v, double& result) {
    return isMissing(v) ? Outcome::NoValue : unaryValue(*this, op, v, result);
  });
}

void Store::MODIFYBIN(char op, Series& target, Series& operand) {
  CalcFault = false;
  op = upperOp(op);
  if (!ISLOADED(target)) return;
  if (!ISLOADED(operand) || !operand.hasData() || operand.lowest() > UseLow ||
      operand.highestIndex() < UseHigh) {
    StoreError = true;
    STOREMSG(std::string("No source for MODIFYBIN ") + op);
    return;
  }
  Range r = useRange(*this, target);
  BusyCursor busy(host);
  modifyRange(*this, target, r, "MODIFYBIN", [&](int i, float a, double& result) {
    float b = GETVAL(operand, i);
    if (isMissing(a) || isMissing(b)) return Outcome::NoValue;
    return binaryValue(*this, op, a, b, result);
  });
}

namespace {
std::string indexName(int n) {
  std::string digits = std::to_string(n < 0 ? -n : n);
  std::string r(n < 0 ? "M" : "P");
  r.append(digits, 0, 6);
  return r;
}
}  // namespace

void Store::MAKEINDEXSERIES(Series& s) {
  NAMEDNEWSERIES(s, "ix" + indexName(UseLow) + "to" + indexName(UseHigh), "Index series");
  if (StoreError) return;
  BusyCursor busy(host);
  for (int i = UseLow; i <= UseHigh; ++i)
    if (!put(*this, s, i, i)) return;
}

void Store::MAKERAMP(Series& s, double start, double increment) {
  if (ISLOADED(s)) DISPOSESERIES(s);
  NEWSERIES(s, false, "");
  if (StoreError) return;
  BusyCursor busy(host);
  double v = start;
  for (int i = UseLow; i <= UseHigh; ++i) {
    if (!put(*this, s, i, v)) return;
    v += increment;
  }
}

void Store::MAKECONST(Series& s, double value) {
  if (!ISLOADED(s)) {
    NEWSERIES(s, false, "");
    if (StoreError) return;
  }
  BusyCursor busy(host);
  for (int i = UseLow; i <= UseHigh; ++i)
    if (!put(*this, s, i, value)) return;
}

bool Store::DELETEENDVALUE(Series& s, int index) {
  if (!ISLOADED(s) || !s.hasData() || s.highestIndex() <= s.lowest()) return false;
  SeriesInfo& in = *s.info;
  bool atLow = index == s.lowest();
  bool atHigh = index == s.highestIndex();
  if (!atLow && !atHigh) return false;
  if (host.ask("Data value deletion---Are you sure?") != Answer::Yes) return false;
  int d = index - in.base;
  std::size_t block = std::size_t(d / kBlockValues);
  // The removed value leaves its slot, so a later write beyond the new end cannot revive it.
  if (block < s.blocks.size()) s.blocks[block].v[std::size_t(d % kBlockValues)] = MissingValue;
  if (atLow) {
    if (in.firstSlot == kBlockValues - 1) {
      s.blocks.erase(s.blocks.begin());
      in.base = int16_t(in.base + kBlockValues);
      in.firstSlot = 0;
    } else {
      ++in.firstSlot;
    }
  } else {
    in.highest = int16_t(in.highest - 1);
    if (d % kBlockValues == 0 && block < s.blocks.size()) s.blocks.resize(block);
  }
  if (s.blocks.empty()) s.blocks.emplace_back();
  s.modified = true;
  return true;
}

}  // namespace plotane
