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

// A result a single cannot hold is no value.
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

void Store::UNARYCALCS(char op, Series& dest, Series& src) {
  op = upperOp(op);
  if (!ISLOADED(src)) {
    StoreError = true;
    STOREMSG(std::string("No source for UNARYCALCS ") + op);
    return;
  }
  Range r = useRange(*this, src);
  if (!ISLOADED(dest)) NEWSERIES(dest, false, "");
  BusyCursor busy(host);
  bool missing = false, cumulationBroken = false;
  double acc = 0.0;
  for (int i = r.lo; i <= r.hi; ++i) {
    float v = GETVAL(src, i);
    double result;
    if (isMissing(v)) {
      result = kMissing;
      missing = true;
      cumulationBroken = true;
    } else {
      switch (op) {
        case 'C':
          acc += v;
          result = cumulationBroken ? kMissing : acc;
          break;
        case 'E':
          result = v > kExpLimit ? kMissing : std::exp(double(v));
          break;
        case 'I':
          if (std::fabs(double(v)) < InverseOverflow) {
            busyMessage(*this, "Inverse OVFL");
            result = kMissing;
          } else {
            result = 1.0 / v;
          }
          break;
        case 'L':
          result = v <= 0 ? kMissing : std::log(double(v));
          break;
        case 'N':
          result = -double(v);
          break;
        default:
          busyMessage(*this, "Invalid op.,UNARYCALCS");
          StoreError = true;
          return;
      }
      if (!representable(result)) {
        result = kMissing;
        missing = true;
      }
    }
    if (!put(*this, dest, i, result)) return;
  }
  StoreError = missing;
}

void Store::CONSTCALCS(char op, Series& dest, Series& src, double c) {
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
  bool missing = false;
  for (int i = r.lo; i <= r.hi; ++i) {
    float v = GETVAL(src, i);
    double result;
    if (isMissing(v)) {
      result = kMissing;
      missing = true;
    } else {
      switch (op) {
        case '*':
          result = v * c;
          break;
        case '+':
          result = v + c;
          break;
        case '/':
          result = v / c;
          break;
        case 'X':
          if (v < 0 || (v == 0 && c < 0)) {
            result = kMissing;
            missing = true;
          } else if (v == 0) {
            result = 0.0;
          } else {
            result = std::exp(c * std::log(double(v)));
          }
          break;
        default:
          busyMessage(*this, "Invalid op.,CONSTCALCS");
          StoreError = true;
          return;
      }
      if (!representable(result)) {
        result = kMissing;
        missing = true;
      }
    }
    if (!put(*this, dest, i, result)) return;
  }
  StoreError = missing;
}

void Store::BINARYCALCS(char op, Series& dest, Series& left, Series& right) {
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
  bool missing = false;
  for (int i = r.lo; i <= r.hi; ++i) {
    float x = GETVAL(left, i);
    float y = GETVAL(right, i);
    double result;
    if (isMissing(x) || isMissing(y)) {
      result = kMissing;
      missing = true;
    } else {
      switch (op) {
        case '*':
          result = double(x) * y;
          break;
        case '+':
          result = double(x) + y;
          break;
        case '-':
          result = double(x) - y;
          break;
        case '/':
          if (std::fabs(double(y)) < InverseOverflow) {
            result = kMissing;
            missing = true;
          } else {
            result = double(x) / y;
          }
          break;
        default:
          busyMessage(*this, "Invalid op.,BINARYCALCS");
          StoreError = true;
          return;
      }
      if (!representable(result)) {
        result = kMissing;
        missing = true;
      }
    }
    if (!put(*this, dest, i, result)) return;
  }
  StoreError = missing;
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

void Store::MODIFYUN(char op, Series& target) {
  op = upperOp(op);
  if (!ISLOADED(target)) return;
  Range r = useRange(*this, target);
  BusyCursor busy(host);
  bool missing = false;
  for (int i = r.lo; i <= r.hi; ++i) {
    int block, slot;
    if (!GETVPT(target, i, block, slot)) return;
    float v = target.blocks[std::size_t(block)].v[std::size_t(slot)];
    double result;
    if (isMissing(v)) {
      missing = true;
      continue;
    }
    switch (op) {
      case 'E':
        if (v > kExpLimit) {
          result = kMissing;
          missing = true;
        } else {
          result = std::exp(double(v));
        }
        break;
      case 'I':
        if (std::fabs(double(v)) < InverseOverflow) {
          missing = true;
          busyMessage(*this, "Inverse OVFL");
          result = kMissing;
        } else {
          result = 1.0 / v;
        }
        break;
      case 'L':
        if (v <= 0) {
          result = kMissing;
          missing = true;
        } else {
          result = std::log(double(v));
        }
        break;
      case 'N':
        result = -double(v);
        break;
      default:
        busyMessage(*this, "Invalid op.,MODIFYUN");
        StoreError = true;
        return;
    }
    if (!representable(result)) {
      result = kMissing;
      missing = true;
    }
    putSlot(target, block, slot, result);
  }
  StoreError = missing;
}

void Store::MODIFYBIN(char op, Series& target, Series& operand) {
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
  bool missing = false;
  for (int i = r.lo; i <= r.hi; ++i) {
    float b = GETVAL(operand, i);
    int block, slot;
    if (!GETVPT(target, i, block, slot)) return;
    float a = target.blocks[std::size_t(block)].v[std::size_t(slot)];
    double result;
    if (isMissing(a) || isMissing(b)) {
      result = kMissing;
      missing = true;
    } else {
      switch (op) {
        case '*':
          result = double(a) * b;
          break;
        case '+':
          result = double(a) + b;
          break;
        case '-':
          result = double(a) - b;
          break;
        case '/':
          if (std::fabs(double(b)) < InverseOverflow) {
            result = kMissing;
            missing = true;
          } else {
            result = double(a) / b;
          }
          break;
        default:
          busyMessage(*this, "Invalid op.,MODIFYBIN");
          StoreError = true;
          return;
      }
      if (!representable(result)) {
        result = kMissing;
        missing = true;
      }
    }
    putSlot(target, block, slot, result);
  }
  StoreError = missing;
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
