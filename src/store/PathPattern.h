#pragma once
// Path patterns for the DSDir tree walks: components separated by ".", "?" and "*" wildcards
// within a component, "&" for any number of DSDir levels.

#include <string>
#include <vector>

namespace plotane {

struct PathPattern {
  std::vector<std::string> components;  // upper-cased, at most 27 characters each
  std::vector<bool> hasStar;
  bool rootedAnywhere = false;  // the text began with "&"
  bool endsWithAny = false;     // the last component is "&"
  bool namesRoot = false;       // the text is empty or only "."
  bool all = false;             // the text is "&" alone
};

// Parses a pattern; a relative one is made absolute with the current DSDir path ("" for the
// root). False on a syntax error (an empty component, or two "*" in one component).
bool parsePathPattern(const std::string& text, const std::string& currentPath, PathPattern& out);

// Matches one stored name against one upper-cased component, ignoring the name's case.
bool matchComponent(const std::string& component, const std::string& name);

}  // namespace plotane
