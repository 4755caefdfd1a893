#pragma once
// The graph definition record: curves over worksheet columns, the two axes, the graph's corners,
// orientation, title and the letter font slots. It is kept whole in GRD files as a fixed
// 1570-byte little-endian image, read and written here field by field.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace plotane {

inline constexpr int kMaxCurves = 32;
inline constexpr int kLetterFontSlots = 22;
inline constexpr std::size_t kGraphDefSize = 1570;
// The record of the older GRD formats: everything before the letter font slots.
inline constexpr std::size_t kOldGraphDefSize = 734;
inline constexpr std::size_t kAxisDefSize = 122;
inline constexpr std::size_t kCurveDefSize = 12;
inline constexpr std::size_t kLetterFontDefSize = 38;
inline constexpr std::size_t kLabelLength = 67;     // titles and labels
inline constexpr std::size_t kFontNameLength = 35;  // letter font face names
inline constexpr std::size_t kGrdNameLength = 87;

// Field offsets inside the record.
namespace grdoff {
inline constexpr std::size_t CurveCount = 0, XAxis = 2, YAxis = 124, Curves = 246, CornerAX = 630,
                             CornerAY = 638, CornerBX = 646, CornerBY = 654, EqualScale = 662,
                             TitleMode = 663, Landscape = 664, TitleFontCode = 665, Title = 666,
                             LetterFonts = 734;
}

enum CurveType : uint8_t {
  kLineCurve = 0,
  kDashedCurve = 1,
  kIntermittentCurve = 2,
  kPointsCurve = 3,
  kConnectedPointsCurve = 4,
  kDotsCurve = 5
};

struct AxisDef {
  double Min = 0.0;
  double Max = 1.0;
  double UnitsPerTick = 0.1;
  float TickLength = 0.04f;
  float NominalTicks = 14.0f;
  float TickIntervals = 10.0f;
  uint8_t LogAxis = 0;
  uint8_t MinUserSpec = 0;
  uint8_t MaxUserSpec = 0;
  uint8_t ClosedBox = 1;
  uint8_t GridLines = 0;
  uint8_t TicksInside = 1;
  uint8_t NumbersSuppressed = 0;
  uint8_t DecadesOnly = 0;
  uint8_t TenToPower = 0;
  uint8_t Numbers90 = 0;
  uint8_t ManualScaling = 0;
  int8_t NumberFontCode = 3;
  uint8_t NumberingInterval = 2;
  uint8_t DecimalPlaces = 1;
  uint8_t NumberingStartDelay = 0;
  uint8_t LineWidthCode = 2;
  uint8_t LabelMode = 0;  // 0 none, 1 user text, 2 the data name
  int8_t LabelFontCode = 3;
  std::string Label;
  bool operator==(const AxisDef&) const = default;
};

struct CurveDef {
  int16_t XColumn = -1;
  int16_t YColumn = -1;
  int16_t LowIndex = 0;
  int16_t HiIndex = 1;
  uint8_t CurveType = kLineCurve;
  uint8_t PointShape = 4;
  int8_t SizeCode = 2;
  uint8_t BarCurve = 0;
  bool operator==(const CurveDef&) const = default;
};

struct LetterFontDef {
  std::string name;  // empty: slot free
  uint8_t size = 12;
  uint8_t style = 0;  // 0 regular, 1 italic, 2 bold, 3 bold italic
  bool operator==(const LetterFontDef&) const = default;
};

struct PageCorner {
  double X = 0, Y = 0;
  bool operator==(const PageCorner&) const = default;
};

struct GraphDef {
  int16_t CurveCount = 0;
  AxisDef X, Y;
  std::array<CurveDef, kMaxCurves> Curves{};
  PageCorner CornerA{1.1, 6.0};
  PageCorner CornerB{7.7, 9.6};
  uint8_t EqualScale = 0;
  uint8_t TitleMode = 0;
  uint8_t Landscape = 0;
  int8_t TitleFontCode = 3;
  std::string Title;
  std::array<LetterFontDef, kLetterFontSlots> LetterFonts{};

  // Curve n, 1-based as the user counts them.
  CurveDef& curve(int n) { return Curves[std::size_t(n - 1)]; }
  const CurveDef& curve(int n) const { return Curves[std::size_t(n - 1)]; }
  bool operator==(const GraphDef&) const = default;
};

using GraphDefImage = std::array<uint8_t, kGraphDefSize>;

// The record image; unused bytes after a string's text are written as zeros.
GraphDefImage EncodeGraphDef(const GraphDef& g);
// Reads a whole record image. False when the image cannot be a record (a curve count outside
// 0..32); g is then unchanged. String lengths beyond their fields are cut to the field.
bool DecodeGraphDef(const GraphDefImage& image, GraphDef& g);

void EncodeAxisDef(const AxisDef& a, uint8_t* p);
AxisDef DecodeAxisDef(const uint8_t* p);
void EncodeCurveDef(const CurveDef& c, uint8_t* p);
CurveDef DecodeCurveDef(const uint8_t* p);

// Text fields may hold control characters (text commands). For editing they are shown as a caret
// and chr(c + 64), a caret as two carets; both directions cut to 67 characters.
std::string CaretForm(const std::string& text);
std::string FromCaretForm(const std::string& shown);

}  // namespace plotane
