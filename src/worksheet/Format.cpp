#include "worksheet/Format.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace plotane {

std::string ColumnLetters(int column) {
  if (column < 0) return "  ";
  int q = column / 26, r = column % 26;
  std::string s(2, ' ');
  if (q == 0) {
    s[0] = char('A' + r);
  } else {
    s[0] = char('A' + q - 1);
    s[1] = char('A' + r);
  }
  return s;
}

int ParseColumn(const std::string& text) {
  std::string s = text.substr(0, 35);
  while (s.size() > 1 && s[0] == ' ') s.erase(0, 1);
  if (s.empty()) return 0;
  for (std::size_t i = 0; i < 2 && i < s.size(); ++i)
    if (s[i] >= 'a' && s[i] <= 'z') s[i] = char(s[i] - 'a' + 'A');
  int n;
  if (s.size() > 1 && s[1] != ' ')
    n = (int((unsigned char)s[0]) - 64) * 26 + (int((unsigned char)s[1]) - 65);
  else
    n = int((unsigned char)s[0]) - 65;
  if (n < 0) n = 0;
  if (n > MaxColumn) n = MaxColumn;
  return n;
}

namespace {

// Stored values are always finite; anything else is shown plainly rather than misformatted.
std::string notFinite(int width, double x) {
  std::string t = std::isnan(x) ? "NAN" : x < 0 ? "-INF" : "INF";
  return width > int(t.size()) ? std::string(std::size_t(width) - t.size(), ' ') + t : t;
}

}  // namespace

std::string FormatSci(int width, double x) {
  if (!std::isfinite(x)) return notFinite(width, x);
  int decimals = width - 7 < 1 ? 1 : width - 7;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", decimals, std::fabs(x));
  std::string digits(buf);
  std::size_t e = digits.find('e');
  std::string mantissa = digits.substr(0, e);
  int exponent = std::atoi(digits.c_str() + e + 1);
  std::string out;
  out += std::signbit(x) && x != 0 ? '-' : ' ';
  out += mantissa;
  out += 'E';
  out += exponent < 0 ? '-' : '+';
  int a = std::abs(exponent);
  char ex[16];
  // Four exponent digits, of which two leading zeros are dropped when there are two.
  if (a < 100)
    std::snprintf(ex, sizeof ex, "%02d", a);
  else
    std::snprintf(ex, sizeof ex, "%04d", a);
  out += ex;
  return out;
}

namespace {

std::string fixed(int width, int decimals, double x) {
  char buf[400];
  std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, x);
  return buf;
}

}  // namespace

std::string FormatReal(int width, int format, double x) {
  if (!std::isfinite(x)) return notFinite(width, x);
  if (format == kSpecScientific) return FormatSci(width, x);
  if (format == kSpecFlexible) {
    int e = 0;
    if (x != 0) e = int(std::nearbyint(std::log10(std::fabs(x))));
    if (std::abs(e - 1) > width - 7) return FormatSci(width, x);
    return fixed(width, 7 - e > 0 ? 7 - e : 0, x);
  }
  if (format < 0) format = 0;
  if (format > 9) format = 9;
  return fixed(width, format, x);
}

std::string IntText(long value, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%*ld", width, value);
  return buf;
}

namespace {

// The power of ten of a well-formed number's first significant digit (0 for zero), saturated
// far beyond any double's range.
long decimalExponent(std::string_view t) {
  std::size_t i = 0, n = t.size();
  if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
  long position = -1;  // the power of the digit at i
  long first = 0;
  bool found = false;
  for (; i < n && t[i] != 'e' && t[i] != 'E'; ++i) {
    if (t[i] == '.') continue;
    if (!found && t[i] != '0') {
      found = true;
      first = position;
    }
    --position;
  }
  if (!found) return 0;
  // position counted down from -1 for every digit; the integer digits come first.
  const std::size_t point = t.find('.');
  const std::size_t mantissaEnd = i;
  long integerDigits = 0;
  for (std::size_t k = (t[0] == '+' || t[0] == '-') ? 1 : 0; k < std::min(point, mantissaEnd); ++k)
    ++integerDigits;
  first += integerDigits;
  long exponent = 0;
  bool negative = false;
  if (i < n) {
    ++i;
    if (i < n && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    for (; i < n; ++i) exponent = std::min(exponent * 10 + (t[i] - '0'), 100000L);
  }
  return first + (negative ? -exponent : exponent);
}

}  // namespace

bool ConvertReal(std::string_view text, double& value) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end && *p == ' ') ++p;
  const char* const start = p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  // The digits as an integer, while it holds them exactly, and the power of ten it is off by.
  uint64_t mantissa = 0;
  int significant = 0, scale = 0;
  std::size_t digits = 0;
  for (; p < end && unsigned(*p - '0') < 10; ++p, ++digits) {
    if (mantissa == 0 && *p == '0') continue;
    if (significant < 19) {
      mantissa = mantissa * 10 + unsigned(*p - '0');
      ++significant;
    } else {
      ++scale;
    }
  }
  if (p < end && *p == '.') {
    for (++p; p < end && unsigned(*p - '0') < 10; ++p, ++digits) {
      if (mantissa == 0 && *p == '0') {
        --scale;
        continue;
      }
      if (significant < 19) {
        mantissa = mantissa * 10 + unsigned(*p - '0');
        ++significant;
        --scale;
      }
    }
  }
  if (digits == 0) return false;
  long exponent = 0;
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    bool negativeExponent = false;
    if (p < end && (*p == '+' || *p == '-')) negativeExponent = *p++ == '-';
    const char* first = p;
    for (; p < end && unsigned(*p - '0') < 10; ++p)
      exponent = std::min(exponent * 10 + (*p - '0'), 100000L);
    if (p == first) return false;
    if (negativeExponent) exponent = -exponent;
  }
  if (p != end) return false;

  double v;
  const long power = exponent + scale;
  if (mantissa <= (uint64_t(1) << 53) && power >= -22 && power <= 22) {
    // Both operands exact, so the one operation rounds correctly (as strtod would).
    static constexpr double kPowers[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                           1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                           1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    v = power >= 0 ? double(mantissa) * kPowers[power] : double(mantissa) / kPowers[-power];
    if (negative) v = -v;
  } else {
    // from_chars rounds correctly too, in any locale, but takes no plus sign.
    const char* from = start + (*start == '+' ? 1 : 0);
    const auto [stop, err] = std::from_chars(from, end, v);
    if (err == std::errc::result_out_of_range)
      // Beyond a double either way: too large is refused below, too small is zero.
      v = decimalExponent(text.substr(std::size_t(start - text.data()))) > 0 ? HUGE_VAL : 0.0;
    else if (err != std::errc() || stop != end)
      return false;
  }
  if (!std::isfinite(v) || std::fabs(v) > double(FLT_MAX)) return false;
  value = v;
  return true;
}

}  // namespace plotane
