#pragma once
// The rules of the worksheet window's labels and small dialogs, kept apart from the widgets so
// that they can be tested without a display: the file and DSDir labels, the use-limit dialog's
// checks, the real-number entry, the number display items, the name dialog's description lines,
// the series-selection dialogs (captions, listings, when a text is accepted) and the question
// before a text table is read over unsaved columns.

#include <array>
#include <string>
#include <vector>

namespace plotane {

class Store;
class Worksheet;

// ---- Labels ----
// "Current DSDir path in file <NO FILE>", or the attached file's name (the shown copy is cut).
std::string DsfLabelText(const Store& store);
// The current DSDir path ("" for the root).
std::string DsDirLabelText(const Store& store);

// ---- Use-limit dialog ("Change Row Use limits") ----
enum class UseLimitsCheck { Ok, NotInteger, OutOfRange };
// The text each field starts with: the limit right-aligned in six characters.
std::string UseLimitFieldText(int value);
// Checks the two typed limits; on Ok low and high hold them.
UseLimitsCheck CheckUseLimits(const std::string& lowText, const std::string& highText, int& low,
                              int& high);
// Converts a whole text as an integer (blanks around it allowed).
bool ConvertInteger(const std::string& text, long& value);

// ---- Real-number entry ("Enter/edit value:") ----
inline constexpr std::size_t kRealPromptLength = 67;
std::string RealEntryText(double value);
// The typed text (its first 35 characters) as a number; false when it is not one.
bool RealEntryValue(const std::string& text, double& value);

// ---- Number display dialog ----
// The twelve items; item k stands for the display format k - 2.
const std::array<std::string, 12>& DecimalItems();
int DecimalItemOfSpec(int spec);
int DecimalSpecOfItem(int item);

// ---- Name dialog ("Edit Series Name and description") ----
inline constexpr std::size_t kDescriptionLineLength = 53;
std::string NameDialogCaption(int column);
// Splits a description at its first backslash (line 2 empty without one).
void SplitDescription(const std::string& description, std::string& line1, std::string& line2);

// ---- Series-selection dialogs ----
enum class SeriesDialogKind { Series, OneSeries, DsDir };
inline constexpr std::size_t kSeriesPromptLength = 35;
const char* SeriesDialogCaption(SeriesDialogKind kind);
// A text holding "&", "*" or "?" names a pattern rather than one path.
bool HasWildcard(const std::string& text);
// The current DSDir path followed by "&".
std::string SeriesDialogInitialText(const Store& store);
// What the drop-down lists for the text: the matching series' absolute paths (only for a text
// with wildcards), or for the DSDir dialog the DSDir tree.
std::vector<std::string> SeriesDialogList(Store& store, SeriesDialogKind kind,
                                          const std::string& text);
// Whether OK may close the dialog with this text: the one-series and DSDir dialogs want a
// single path.
bool SeriesDialogAccepts(SeriesDialogKind kind, const std::string& text);
// The text OK hands on (cut to a path's length).
std::string SeriesDialogResult(const std::string& text);

// ---- Text table read over unsaved columns ----
inline constexpr const char* kTxtReplaceQuestion =
    "Columns about to be replaced hold unsaved data!--Read the table over them?";
inline constexpr const char* kWksEraseQuestion = "This erases the entire worksheet; continue?";
// Asks before a TXT read at c1 replaces a column with unsaved changes (never while a script
// runs); true when the read may go ahead.
bool ConfirmTxtReplace(Worksheet& ws, const std::string& fileName, int c1);

}  // namespace plotane
