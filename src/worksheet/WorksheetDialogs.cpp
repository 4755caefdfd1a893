#include "worksheet/WorksheetDialogs.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "shell/base/Files.h"
#include "shell/base/Host.h"
#include "store/Store.h"
#include "worksheet/Worksheet.h"

namespace plotane {

namespace {
constexpr std::size_t kShownFileName = 87;
constexpr std::size_t kRealTextLength = 35;
}  // namespace

std::string DsfLabelText(const Store& store) {
  const std::string prefix = "Current DSDir path in file ";
  if (!store.attached()) return prefix + "<NO FILE>";
  return prefix + cut(store.DsfName(), kShownFileName);
}

std::string DsDirLabelText(const Store& store) { return store.CurrentPath(); }

std::string UseLimitFieldText(int value) { return IntText(value, 6); }

bool ConvertInteger(const std::string& text, long& value) {
  std::size_t b = text.find_first_not_of(' ');
  if (b == std::string::npos) return false;
  std::size_t e = text.find_last_not_of(' ');
  std::string t = text.substr(b, e - b + 1);
  std::size_t p = 0;
  if (t[p] == '+' || t[p] == '-') ++p;
  if (p == t.size()) return false;
  for (std::size_t i = p; i < t.size(); ++i)
    if (t[i] < '0' || t[i] > '9') return false;
  errno = 0;
  long v = std::strtol(t.c_str(), nullptr, 10);
  if (errno == ERANGE) return false;
  value = v;
  return true;
}

UseLimitsCheck CheckUseLimits(const std::string& lowText, const std::string& highText, int& low,
                              int& high) {
  long lo = 0, hi = 0;
  if (!ConvertInteger(lowText, lo) || !ConvertInteger(highText, hi))
    return UseLimitsCheck::NotInteger;
  if (lo < INT_MIN || lo > INT_MAX || hi < INT_MIN || hi > INT_MAX ||
      !Worksheet::UseLimitsValid(int(lo), int(hi)))
    return UseLimitsCheck::OutOfRange;
  low = int(lo);
  high = int(hi);
  return UseLimitsCheck::Ok;
}

std::string RealEntryText(double value) { return FormatReal(15, kSpecFlexible, value); }

bool RealEntryValue(const std::string& text, double& value) {
  return ConvertReal(cut(text, kRealTextLength), value);
}

const std::array<std::string, 12>& DecimalItems() {
  static const std::array<std::string, 12> items = {"Flexible decimal position",
                                                    "Scientific (E-) format",
                                                    "0      Fixed places",
                                                    "1",
                                                    "2",
                                                    "3",
                                                    "4",
                                                    "5",
                                                    "6",
                                                    "7",
                                                    "8",
                                                    "9"};
  return items;
}

int DecimalItemOfSpec(int spec) { return spec < -2 || spec > 9 ? 0 : spec + 2; }

int DecimalSpecOfItem(int item) { return item < 0 || item > 11 ? kSpecFlexible : item - 2; }

std::string NameDialogCaption(int column) {
  return "Edit Series Name and description for: " + ColumnLetters(column);
}

void SplitDescription(const std::string& description, std::string& line1, std::string& line2) {
  std::size_t bs = description.find('\\');
  if (bs == std::string::npos) {
    line1 = description;
    line2.clear();
  } else {
    line1 = description.substr(0, bs);
    line2 = description.substr(bs + 1);
  }
}

const char* SeriesDialogCaption(SeriesDialogKind kind) {
  switch (kind) {
    case SeriesDialogKind::OneSeries:
      return "Select one series in DSF";
    case SeriesDialogKind::DsDir:
      return "Select a DSDir in DSF";
    case SeriesDialogKind::Series:
      break;
  }
  return "Select of series in DSF";
}

bool HasWildcard(const std::string& text) { return text.find_first_of("&*?") != std::string::npos; }

std::string SeriesDialogInitialText(const Store& store) { return store.CurrentPath() + "&"; }

std::vector<std::string> SeriesDialogList(Store& store, SeriesDialogKind kind,
                                          const std::string& text) {
  std::vector<std::string> out;
  if (kind == SeriesDialogKind::DsDir)
    store.TREELISTLINES(out);
  else if (HasWildcard(text))
    store.LISTSERIESPATHS(cut(text, kPathLength), out);
  return out;
}

bool SeriesDialogAccepts(SeriesDialogKind kind, const std::string& text) {
  return kind == SeriesDialogKind::Series || !HasWildcard(text);
}

std::string SeriesDialogResult(const std::string& text) { return cut(text, kPathLength); }

bool ConfirmTxtReplace(Worksheet& ws, const std::string& fileName, int c1) {
  if (ws.scriptRunning() || !Worksheet::validColumn(c1)) return true;
  int n = ws.TxtColumnsToReplace(fileName, c1);
  bool unsaved = false;
  for (int c = c1; c < c1 + n && c <= MaxColumn; ++c)
    if (ws.inUse(c) && ws.column(c).modified) unsaved = true;
  if (!unsaved) return true;
  return ws.host.ask(kTxtReplaceQuestion) == Answer::Yes;
}

}  // namespace plotane
