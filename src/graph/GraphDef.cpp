#include "graph/GraphDef.h"

#include <cctype>

#include "shell/base/Bytes.h"

namespace plotane {

void EncodeAxisDef(const AxisDef& a, uint8_t* p) {
  putF64(p + 0, a.Min);
  putF64(p + 8, a.Max);
  putF64(p + 16, a.UnitsPerTick);
  putF32(p + 24, a.TickLength);
  putF32(p + 28, a.NominalTicks);
  putF32(p + 32, a.TickIntervals);
  const uint8_t flags[10] = {a.LogAxis,    a.MinUserSpec, a.MaxUserSpec,       a.ClosedBox,
                             a.GridLines,  a.TicksInside, a.NumbersSuppressed, a.DecadesOnly,
                             a.TenToPower, a.Numbers90};
  for (int i = 0; i < 10; ++i) p[36 + i] = flags[i];
  p[46] = a.ManualScaling;
  p[47] = uint8_t(a.NumberFontCode);
  p[48] = a.NumberingInterval;
  p[49] = a.DecimalPlaces;
  p[50] = a.NumberingStartDelay;
  p[51] = a.LineWidthCode;
  p[52] = a.LabelMode;
  p[53] = uint8_t(a.LabelFontCode);
  putPString(p + 54, kLabelLength, a.Label);
}

AxisDef DecodeAxisDef(const uint8_t* p) {
  AxisDef a;
  a.Min = getF64(p + 0);
  a.Max = getF64(p + 8);
  a.UnitsPerTick = getF64(p + 16);
  a.TickLength = getF32(p + 24);
  a.NominalTicks = getF32(p + 28);
  a.TickIntervals = getF32(p + 32);
  a.LogAxis = p[36];
  a.MinUserSpec = p[37];
  a.MaxUserSpec = p[38];
  a.ClosedBox = p[39];
  a.GridLines = p[40];
  a.TicksInside = p[41];
  a.NumbersSuppressed = p[42];
  a.DecadesOnly = p[43];
  a.TenToPower = p[44];
  a.Numbers90 = p[45];
  a.ManualScaling = p[46];
  a.NumberFontCode = int8_t(p[47]);
  a.NumberingInterval = p[48];
  a.DecimalPlaces = p[49];
  a.NumberingStartDelay = p[50];
  a.LineWidthCode = p[51];
  a.LabelMode = p[52];
  a.LabelFontCode = int8_t(p[53]);
  a.Label = getPString(p + 54, kLabelLength);
  return a;
}

void EncodeCurveDef(const CurveDef& c, uint8_t* p) {
  putI16(p + 0, c.XColumn);
  putI16(p + 2, c.YColumn);
  putI16(p + 4, c.LowIndex);
  putI16(p + 6, c.HiIndex);
  p[8] = c.CurveType;
  p[9] = c.PointShape;
  p[10] = uint8_t(c.SizeCode);
  p[11] = c.BarCurve;
}

CurveDef DecodeCurveDef(const uint8_t* p) {
  CurveDef c;
  c.XColumn = getI16(p + 0);
  c.YColumn = getI16(p + 2);
  c.LowIndex = getI16(p + 4);
  c.HiIndex = getI16(p + 6);
  c.CurveType = p[8];
  c.PointShape = p[9];
  c.SizeCode = int8_t(p[10]);
  c.BarCurve = p[11];
  return c;
}

GraphDefImage EncodeGraphDef(const GraphDef& g) {
  GraphDefImage img{};
  uint8_t* p = img.data();
  putI16(p + grdoff::CurveCount, g.CurveCount);
  EncodeAxisDef(g.X, p + grdoff::XAxis);
  EncodeAxisDef(g.Y, p + grdoff::YAxis);
  for (int i = 0; i < kMaxCurves; ++i)
    EncodeCurveDef(g.Curves[std::size_t(i)], p + grdoff::Curves + kCurveDefSize * std::size_t(i));
  putF64(p + grdoff::CornerAX, g.CornerA.X);
  putF64(p + grdoff::CornerAY, g.CornerA.Y);
  putF64(p + grdoff::CornerBX, g.CornerB.X);
  putF64(p + grdoff::CornerBY, g.CornerB.Y);
  p[grdoff::EqualScale] = g.EqualScale;
  p[grdoff::TitleMode] = g.TitleMode;
  p[grdoff::Landscape] = g.Landscape;
  p[grdoff::TitleFontCode] = uint8_t(g.TitleFontCode);
  putPString(p + grdoff::Title, kLabelLength, g.Title);
  for (int k = 0; k < kLetterFontSlots; ++k) {
    const LetterFontDef& f = g.LetterFonts[std::size_t(k)];
    uint8_t* q = p + grdoff::LetterFonts + kLetterFontDefSize * std::size_t(k);
    putPString(q, kFontNameLength, f.name);
    q[36] = f.size;
    q[37] = f.style;
  }
  return img;
}

bool DecodeGraphDef(const GraphDefImage& image, GraphDef& g) {
  const uint8_t* p = image.data();
  const int16_t count = getI16(p + grdoff::CurveCount);
  if (count < 0 || count > kMaxCurves) return false;
  GraphDef r;
  r.CurveCount = count;
  r.X = DecodeAxisDef(p + grdoff::XAxis);
  r.Y = DecodeAxisDef(p + grdoff::YAxis);
  for (int i = 0; i < kMaxCurves; ++i)
    r.Curves[std::size_t(i)] = DecodeCurveDef(p + grdoff::Curves + kCurveDefSize * std::size_t(i));
  r.CornerA = {getF64(p + grdoff::CornerAX), getF64(p + grdoff::CornerAY)};
  r.CornerB = {getF64(p + grdoff::CornerBX), getF64(p + grdoff::CornerBY)};
  r.EqualScale = p[grdoff::EqualScale];
  r.TitleMode = p[grdoff::TitleMode];
  r.Landscape = p[grdoff::Landscape];
  r.TitleFontCode = int8_t(p[grdoff::TitleFontCode]);
  r.Title = getPString(p + grdoff::Title, kLabelLength);
  for (int k = 0; k < kLetterFontSlots; ++k) {
    const uint8_t* q = p + grdoff::LetterFonts + kLetterFontDefSize * std::size_t(k);
    LetterFontDef& f = r.LetterFonts[std::size_t(k)];
    f.name = getPString(q, kFontNameLength);
    f.size = q[36];
    f.style = q[37];
  }
  g = std::move(r);
  return true;
}

std::string CaretForm(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '^') {
      out += "^^";
    } else if (c < 32) {
      out += '^';
      out += char(c + 64);
    } else {
      out += char(c);
    }
    if (out.size() > kLabelLength) break;
  }
  if (out.size() > kLabelLength) out.resize(kLabelLength);
  return out;
}

std::string FromCaretForm(const std::string& shown) {
  std::string out;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const char c = shown[i];
    if (c == '^' && i + 1 < shown.size()) {
      const char x = shown[++i];
      if (x == '^')
        out += '^';
      else
        out += char(std::toupper(static_cast<unsigned char>(x)) - 64);
    } else {
      out += c;
    }
  }
  if (out.size() > kLabelLength) out.resize(kLabelLength);
  return out;
}

}  // namespace plotane
