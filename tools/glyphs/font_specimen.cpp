// Renders the stroke-font specimen: every glyph of every set at font codes -2, 3 and 9, turned
// text at 30 and 90 degrees, scripts and accents. Writes two 300-dpi pages as PBM files, which
// ImageMagick joins into docs/font-specimen.png:
//   convert specimen1.pbm specimen2.pbm specimen3.pbm -append +repage -monochrome
//       docs/font-specimen.png
//
// Build against the drawing library of a build directory, e.g.
//   g++ -std=c++20 -O2 -Isrc tools/glyphs/font_specimen.cpp build-fonts/src/libplotane_drawing.a
//       build-fonts/src/libplotane_base.a -lcups -o /tmp/font_specimen

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "drawing/Text.h"

using namespace plotane;

namespace {

class QuietHost : public Host {
 public:
  void message(const std::string& text, const std::string&) override {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
  Answer ask(const std::string&, bool, const std::string&) override { return Answer::No; }
  void beep() override {}
  void setBusy(bool) override {}
  bool askReal(const std::string&, double&) override { return false; }
  bool askName(const std::string&, std::string&) override { return false; }
  void showLog() override {}
};

bool writePbm(const Drawing& d, const char* path) {
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  std::fprintf(f, "P4\n%d %d\n", kRasterCols, kRasterRows);
  for (int r = 0; r < kRasterRows; ++r) std::fwrite(d.image().row(r), 1, kRasterRowBytes, f);
  return std::fclose(f) == 0;
}

// Lines showing every glyph at the engine's current font code, from y downward. Each list is
// broken into lines between its groups.
// Lines follow the text angle; each next line lies lineStep below the previous one, square to
// the text direction. Returns the origin of the line after the last.
PageXY allGlyphs(Drawing& d, TextEngine& t, PageXY at, double lineStep, double lineLength) {
  using Groups = std::vector<std::string>;
  const std::size_t perLine = std::min(kMaxTextLength, std::size_t(lineLength / d.state.CharSize));
  auto put = [&](const Groups& groups, double before = 0) {
    auto down = [&](double step) {
      at.X += step * d.state.TextSin;
      at.Y -= step * d.state.TextCos;
    };
    down(before);
    std::string line;
    auto flush = [&] {
      if (line.empty()) return;
      PagePoint p;
      d.SetPointPage(p, at.X, at.Y);
      t.DrawTextString(p, line);
      line.clear();
      down(lineStep);
    };
    for (const std::string& g : groups) {
      if (line.size() + g.size() > perLine) flush();
      line += g;
    }
    flush();
  };
  Groups roman, greek, shared, special, tall, accents;
  for (std::string from : {"A", "a"}) {
    std::string g;
    for (char c = from[0]; c < from[0] + 26; ++c) g += c;
    roman.push_back(g + " ");
    greek.push_back("\007" + g + " ");
  }
  std::string chunk;
  for (char c = '!'; c <= '~'; ++c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) continue;
    chunk += c;
    if (chunk.size() == 16) {
      shared.push_back(chunk);
      chunk.clear();
    }
  }
  shared.push_back(chunk);
  for (char k : std::string("DFIPRST")) special.push_back(std::string("\001") + k + "  ");
  for (char k : std::string("()[]|")) tall.push_back(std::string("\002") + k + " ");
  for (char k : std::string("'`^~_.ECS"))
    accents.push_back(std::string("o\020") + k + "O\020" + k + "b\020" + k + "\007v\020" + k +
                      "\022  ");
  const Groups scripts = {"x\0042\016+y\0252\016=r\004ij\016  ", "e\025-x\016  ",
                          "\007a\004k\016b\025n\016  ", "Z\004\007s\022\016  ", "M\025\020^\016"};
  put(roman);
  put(greek);
  put(shared);
  put(special, lineStep);
  put(tall, lineStep);
  put(accents, lineStep * 0.6);
  put(scripts);
  return at;
}

}  // namespace

int main(int argc, char** argv) {
  const char* out1 = argc > 1 ? argv[1] : "specimen1.pbm";
  const char* out2 = argc > 2 ? argv[2] : "specimen2.pbm";
  const char* out3 = argc > 3 ? argv[3] : "specimen3.pbm";
  QuietHost host;
  {
    // Codes -2 and 3 straight, with a rule on the baseline.
    Drawing d(host);
    TextEngine t(d);
    t.SetFontCode(-2);
    PageXY at = allGlyphs(d, t, {0.2, 9.7}, 0.16, 7.6);
    t.SetFontCode(3);
    at = allGlyphs(d, t, {0.2, at.Y - 0.2}, 0.25, 7.6);
    PagePoint p;
    d.SetPointPage(p, 0.2, at.Y - 0.3);
    t.DrawTextString(p, "Baseline: Hxg0Ajpy_ \001S \002( \020. \007abg\022 \025x \016\004y");
    d.DrawLine(true, 0.2, at.Y - 0.3, 6.0, at.Y - 0.3, LineWidthTable[0]);
    if (!writePbm(d, out1)) return 1;
  }
  {
    Drawing d(host);
    TextEngine t(d);
    t.SetFontCode(9);
    allGlyphs(d, t, {0.2, 9.5}, 0.55, 7.6);
    if (!writePbm(d, out2)) return 1;
  }
  {
    // Code 3 turned by 30 degrees (upper left) and by 90 degrees (lower right).
    Drawing d(host);
    TextEngine t(d);
    t.SetFontCode(3);
    d.SetTextAngle(30);
    allGlyphs(d, t, {0.2, 8.0}, 0.26, 3.6);
    d.SetTextAngle(90);
    allGlyphs(d, t, {4.2, 0.3}, 0.22, 5.2);
    if (!writePbm(d, out3)) return 1;
  }
  return 0;
}
