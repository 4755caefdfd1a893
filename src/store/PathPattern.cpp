#include "store/PathPattern.h"

#include "shell/base/Files.h"
#include "store/Series.h"

namespace plotane {

namespace {
char up(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
}  // namespace

bool parsePathPattern(const std::string& text, const std::string& currentPath, PathPattern& out) {
  out = PathPattern{};
  std::string s = cut(text, kPathLength) + " ";
  std::size_t lead = s.find_first_not_of(' ');
  if (lead == std::string::npos) {
    out.namesRoot = true;
    return true;
  }
  s.erase(0, lead);
  std::size_t pos = 0;
  bool beganWithAny = false;
  if (s[0] == '&') {
    beganWithAny = true;
    out.rootedAnywhere = true;
    out.components.push_back("&");
    out.hasStar.push_back(false);
    pos = 1;
    if (s[pos] == '.') ++pos;
  } else if (s[0] == '.') {
    pos = 1;
  } else {
    s = currentPath + "." + s;
    pos = 1;
  }
  // Only the appended blank left: "&" alone or "." alone. A blank with more after it is an
  // empty component below, never "all" or the root.
  if (pos + 1 == s.size()) {
    if (beganWithAny)
      out.all = true;
    else
      out.namesRoot = true;
    out.endsWithAny = beganWithAny;
    return true;
  }
  while (true) {
    std::string comp;
    int stars = 0;
    while (s[pos] != '.' && s[pos] != ' ' && s[pos] != '&') {
      if (s[pos] == '*') ++stars;
      comp += up(s[pos]);
      ++pos;
    }
    if (comp.empty() || stars > 1) return false;
    out.components.push_back(cut(comp, kComponentLength));
    out.hasStar.push_back(stars == 1);
    char end = s[pos];
    if (end == '&') {
      out.components.push_back("&");
      out.hasStar.push_back(false);
      break;
    }
    if (end == ' ') break;
    ++pos;  // past the "."
  }
  out.endsWithAny = out.components.back() == "&";
  return true;
}

bool matchComponent(const std::string& comp, const std::string& name) {
  if (comp.find('*') == std::string::npos) {
    if (name.size() > comp.size()) return false;
    for (std::size_t i = 0; i < comp.size(); ++i) {
      if (comp[i] == '?') continue;  // also matches a position past the end of the name
      if (i >= name.size() || up(name[i]) != comp[i]) return false;
    }
    return true;
  }
  // Compare from the right ends; the characters left of the "*" are not compared.
  std::size_t i = comp.size(), j = name.size();
  while (true) {
    if (comp[i - 1] == '*') return true;
    if (j == 0) return false;
    if (comp[i - 1] != '?' && comp[i - 1] != up(name[j - 1])) return false;
    --i;
    --j;
  }
}

}  // namespace plotane
