// Renders the stroke-font specimen: every glyph of every set at font codes -2, 3 and 9, turned
// text at 30 and 90 degrees, scripts and accents. Writes two 300-dpi pages as PBM files, which
// ImageMagick joins into docs/font-specimen.png:
//   convert specimen1.pbm specimen2.pbm -append -monochrome docs/font-specimen.png
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
double allGlyphs(Drawing& d, TextEngine& t, double y, double lineStep) {
  using Groups = std::vector<std::string>;
  const std::size_t perLine = std::min(kMaxTextLength, std::size_t(7.6 / d.state.CharSize));
  auto put = [&](const Groups& groups, double before = 0) {
    y -= before;
    std::string line;
    auto flush = [&] {
      if (line.empty()) return;
      PagePoint p;
      d.SetPointPage(p, 0.2, y);
      t.DrawTextString(p, line);
      line.clear();
      y -= lineStep;
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
  return y;
}

}  // namespace

int main(int argc, char** argv) {
  const char* out1 = argc > 1 ? argv[1] : "specimen1.pbm";
  const char* out2 = argc > 2 ? argv[2] : "specimen2.pbm";
  QuietHost host;
  {
    Drawing d(host);
    TextEngine t(d);
    double y = 9.7;
    t.SetFontCode(-2);
    y = allGlyphs(d, t, y, 0.16);
    y -= 0.2;
    t.SetFontCode(3);
    y = allGlyphs(d, t, y, 0.25);
    // Turned text at code 3, and a baseline rule under straight text.
    PagePoint p;
    d.SetTextAngle(30);
    d.SetPointPage(p, 0.3, y - 1.2);
    t.DrawTextString(p, "30 deg: Sample x\0042\016 \007abg\022 O\020E \001S");
    d.SetTextAngle(90);
    d.SetPointPage(p, 7.6, y - 2.6);
    t.DrawTextString(p, "90 deg: Sample y\0252\016 \002(ab\002)");
    d.SetTextAngle(0);
    d.SetPointPage(p, 0.3, y - 2.8);
    t.DrawTextString(p, "Baseline: Hxg0Ajpy_");
    d.DrawLine(true, 0.3, y - 2.8, 2.3, y - 2.8, LineWidthTable[0]);
    if (!writePbm(d, out1)) return 1;
  }
  {
    Drawing d(host);
    TextEngine t(d);
    t.SetFontCode(9);
    allGlyphs(d, t, 9.5, 0.55);
    if (!writePbm(d, out2)) return 1;
  }
  return 0;
}
