#pragma once
// A drawing's vector export checked against its raster: the SVG and the PDF are rendered back at
// 300 dpi by standard renderers (rsvg-convert, pdftoppm) and their ink compared with the raster's,
// pixel by pixel, each side allowed one pixel of slack.

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TempDir.h"
#include "drawing/Drawing.h"
#include "vector/VectorExport.h"

namespace plotane::test {

// A grey image, 0 black to 255 white.
struct GreyImage {
  int width = 0, height = 0;
  std::vector<uint8_t> v;
  uint8_t at(int x, int y) const { return v[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};

// A binary PGM (P5, 8 bits), as pdftoppm -gray writes it.
inline bool readPgm(const std::string& path, GreyImage& out) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxval = 0;
  if (!(in >> magic >> out.width >> out.height >> maxval) || magic != "P5" || maxval != 255)
    return false;
  in.get();
  out.v.resize(std::size_t(out.width) * std::size_t(out.height));
  return bool(in.read(reinterpret_cast<char*>(out.v.data()), std::streamsize(out.v.size())));
}

// Any PNG Cairo reads, laid over white and turned grey.
inline bool readPng(const std::string& path, GreyImage& out) {
  cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return false;
  }
  out.width = cairo_image_surface_get_width(s);
  out.height = cairo_image_surface_get_height(s);
  cairo_surface_t* rgb = cairo_image_surface_create(CAIRO_FORMAT_RGB24, out.width, out.height);
  cairo_t* cr = cairo_create(rgb);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_set_source_surface(cr, s, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(rgb);
  const uint8_t* data = cairo_image_surface_get_data(rgb);
  const int stride = cairo_image_surface_get_stride(rgb);
  out.v.resize(std::size_t(out.width) * std::size_t(out.height));
  for (int y = 0; y < out.height; ++y) {
    const auto* row =
        reinterpret_cast<const uint32_t*>(data + std::size_t(y) * std::size_t(stride));
    for (int x = 0; x < out.width; ++x) {
      const uint32_t p = row[x];
      out.v[std::size_t(y) * std::size_t(out.width) + std::size_t(x)] =
          uint8_t((((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3);
    }
  }
  cairo_surface_destroy(rgb);
  cairo_surface_destroy(s);
  return true;
}

// The raster as the page is seen: 2400 x 3000 in portrait, 3000 x 2400 in landscape (the
// portrait raster a quarter turn round: page pixel (x, y) is raster row x, column 2399 - y).
inline std::vector<uint8_t> pageInk(const Drawing& d, int& width, int& height) {
  const bool landscape = d.state.LandscapeMode;
  width = landscape ? kRasterRows : kRasterCols;
  height = landscape ? kRasterCols : kRasterRows;
  std::vector<uint8_t> ink(std::size_t(width) * std::size_t(height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int r = landscape ? x : y, c = landscape ? kRasterCols - 1 - y : x;
      ink[std::size_t(y) * std::size_t(width) + std::size_t(x)] = d.image().pixel(r, c);
    }
  return ink;
}

struct InkAgreement {
  long rasterInk = 0, matched = 0;  // raster ink with rendered ink within one pixel
  long renderedInk = 0, stray = 0;  // rendered ink with no raster ink within one pixel
  double share() const { return rasterInk ? double(matched) / double(rasterInk) : 1.0; }
};

// Rendered pixels darker than threshold count as ink.
inline InkAgreement compareInk(const std::vector<uint8_t>& raster, const GreyImage& g, int width,
                               int height, int threshold = 160) {
  InkAgreement a;
  if (g.width != width || g.height != height) return a;
  std::vector<uint8_t> rendered(raster.size());
  for (std::size_t i = 0; i < rendered.size(); ++i) rendered[i] = g.v[i] < threshold;
  auto near = [&](const std::vector<uint8_t>& img, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const int xx = x + dx, yy = y + dy;
        if (xx >= 0 && yy >= 0 && xx < width && yy < height &&
            img[std::size_t(yy) * std::size_t(width) + std::size_t(xx)])
          return true;
      }
    return false;
  };
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::size_t i = std::size_t(y) * std::size_t(width) + std::size_t(x);
      if (raster[i]) {
        ++a.rasterInk;
        if (near(rendered, x, y)) ++a.matched;
      }
      if (rendered[i]) {
        ++a.renderedInk;
        if (!near(raster, x, y)) ++a.stray;
      }
    }
  return a;
}

inline int run(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str());
}

inline std::string quoted(const std::string& s) { return "'" + s + "'"; }

// Exports the drawing as SVG and PDF, renders both back at 300 dpi and checks them against the
// raster; the SVG must also be well-formed XML.
inline void expectVectorsMatchRaster(const Drawing& d, const std::string& name) {
  TempDir dir;
  const std::string svg = dir.file(name + ".svg"), pdf = dir.file(name + ".pdf");
  std::string error;
  ASSERT_TRUE(ExportDrawing(d, VectorFormat::Svg, svg, 0, error)) << error;
  ASSERT_TRUE(ExportDrawing(d, VectorFormat::Pdf, pdf, 0, error)) << error;
  // For review: PLOTANE_VECTOR_KEEP names a folder that receives the files.
  if (const char* keep = std::getenv("PLOTANE_VECTOR_KEEP"))
    run("cp " + quoted(svg) + " " + quoted(pdf) + " " + quoted(keep));
  EXPECT_EQ(run("xmllint --noout " + quoted(svg)), 0) << name << ": the SVG is not well-formed";
  ASSERT_EQ(run("rsvg-convert --dpi-x 300 --dpi-y 300 -o " + quoted(dir.file("svg.png")) + " " +
                quoted(svg)),
            0)
      << "rsvg-convert (librsvg2-bin) is needed";
  ASSERT_EQ(run("pdftoppm -r 300 -gray -singlefile " + quoted(pdf) + " " + quoted(dir.file("pdf"))),
            0)
      << "pdftoppm (poppler-utils) is needed";
  int width, height;
  const std::vector<uint8_t> raster = pageInk(d, width, height);
  GreyImage fromSvg, fromPdf;
  ASSERT_TRUE(readPng(dir.file("svg.png"), fromSvg));
  ASSERT_TRUE(readPgm(dir.file("pdf.pgm"), fromPdf));
  for (const auto& [what, img] : {std::pair{"SVG", &fromSvg}, {"PDF", &fromPdf}}) {
    ASSERT_EQ(img->width, width) << name << " " << what;
    ASSERT_EQ(img->height, height) << name << " " << what;
    const InkAgreement a = compareInk(raster, *img, width, height);
    EXPECT_GE(a.share(), 0.99) << name << " " << what << ": " << a.matched << " of " << a.rasterInk
                               << " ink pixels matched";
    EXPECT_EQ(a.stray, 0) << name << " " << what << ": " << a.stray << " of " << a.renderedInk
                          << " rendered ink pixels lie off the raster's ink";
    if (std::getenv("PLOTANE_VECTOR_REPORT"))
      std::printf("%s %s: %.4f of %ld matched, %ld stray of %ld\n", name.c_str(), what, a.share(),
                  a.rasterInk, a.stray, a.renderedInk);
  }
}

}  // namespace plotane::test
