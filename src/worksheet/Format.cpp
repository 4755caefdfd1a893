#include "worksheet/Format.h"

#include <cfloat>
#include <cmath>
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

bool ConvertReal(const std::string& text, double& value) {
  std::size_t i = 0, n = text.size();
  while (i < n && text[i] == ' ') ++i;
  std::size_t start = i;
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  if (i != n) return false;
  // The syntax is checked above; strtod does the rounding.
  std::string number = text.substr(start, i - start);
  double v = std::strtod(number.c_str(), nullptr);
  if (!std::isfinite(v) || std::fabs(v) > double(FLT_MAX)) return false;
  value = v;
  return true;
}

}  // namespace plotane
