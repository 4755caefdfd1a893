#include "vector/VectorExport.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "drawing/Drawing.h"
#include "shell/base/Files.h"

namespace plotane {

namespace {

constexpr double kRasterDpi = 300;
// The raster's thinnest line is one pixel: no vector line is drawn thinner (0.24 pt).
constexpr double kThinnest = 1 / kRasterDpi;

// Cairo's output gathered in memory, written to the file in one go afterwards.
cairo_status_t collect(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(closure);
  try {
    out->insert(out->end(), data, data + length);
  } catch (...) {
    return CAIRO_STATUS_NO_MEMORY;
  }
  return CAIRO_STATUS_SUCCESS;
}

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;

uint8_t reversedBits(uint8_t v) {
  uint8_t r = 0;
  for (int k = 0; k < 8; ++k)
    if (v & (1 << k)) r = uint8_t(r | (0x80 >> k));
  return r;
}

// An image item as a Cairo surface. For vector pages: its set pixels opaque in the item's
// colour, the others transparent (or white for an opaque image). For a 1-bit page: the set
// pixels as an A1 mask.
Surface imageSurface(const DisplayImage& im, bool ink, bool mask) {
  if (mask) {
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_A1, im.width, im.height));
    if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS) return s;
    cairo_surface_flush(s.get());
    uint8_t* data = cairo_image_surface_get_data(s.get());
    const int stride = cairo_image_surface_get_stride(s.get());
    // A1 keeps the first pixel in the lowest bit of each 32-bit word on little-endian machines.
    const bool reverse = std::endian::native == std::endian::little;
    for (int r = 0; r < im.height; ++r) {
      const uint8_t* src = im.bits.data() + std::size_t(r) * std::size_t(im.bytesPerRow());
      uint8_t* dst = data + std::size_t(r) * std::size_t(stride);
      for (int b = 0; b < im.bytesPerRow(); ++b) dst[b] = reverse ? reversedBits(src[b]) : src[b];
    }
    cairo_surface_mark_dirty(s.get());
    return s;
  }
  Surface s(cairo_image_surface_create(im.opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32,
                                       im.width, im.height));
  if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS) return s;
  cairo_surface_flush(s.get());
  uint8_t* data = cairo_image_surface_get_data(s.get());
  const int stride = cairo_image_surface_get_stride(s.get());
  const uint32_t set = ink ? 0xFF000000u : 0xFFFFFFFFu;
  const uint32_t clear = im.opaque ? (ink ? 0xFFFFFFFFu : 0xFF000000u) : 0u;
  for (int r = 0; r < im.height; ++r) {
    auto* row = reinterpret_cast<uint32_t*>(data + std::size_t(r) * std::size_t(stride));
    for (int c = 0; c < im.width; ++c) row[c] = im.pixel(r, c) ? set : clear;
  }
  cairo_surface_mark_dirty(s.get());
  return s;
}

// The end of a stroke as the raster draws it, beyond the stroke's butt end at p (frame inches;
// (dx, dy) points out of the stroke): the raster ends a line with its last span across the
// line's long axis (a row for a mostly vertical line, a column otherwise), shortened by a pixel or
// two on the side where the butt end falls short, and a cap beyond it whose spans shrink by a
// pixel at each end per step: a triangle on that span.
void endCap(cairo_t* cr, double px, double py, double dx, double dy, double w) {
  const double len = std::hypot(dx, dy);
  double ox = 0, oy = 0, sx = 0, sy = 0, slope = 0;
  if (len == 0) {
    // A segment of no length: one span with the cap on the rows above it.
    oy = -1;
    sx = 1;
  } else if (std::fabs(dy) >= std::fabs(dx)) {
    oy = dy > 0 ? 1 : -1;
    sx = 1;
    slope = dx / dy;
  } else {
    ox = dx > 0 ? 1 : -1;
    sy = 1;
    slope = dy / dx;
  }
  const double h = 0.5 * w * std::sqrt(1 + slope * slope);
  // The side of the span axis where the butt end's corner lies short of the span.
  double sigma = 1, trim = 0;
  if (len > 0) {
    double nx = -dy / len, ny = dx / len;
    if (nx * ox + ny * oy > 0) nx = -nx, ny = -ny;
    sigma = nx * sx + ny * sy >= 0 ? 1 : -1;
    if (std::fabs(slope) > 0.14) {
      const double spread = 2 * h * kRasterDpi;
      trim = ((spread > 1.5 ? 1 : 0) + (spread > 3.5 ? 1 : 0)) / kRasterDpi;
      trim = std::min(trim, h);
    }
  }
  const double bx = px - sigma * h * sx, by = py - sigma * h * sy;
  const double ax = px + sigma * (h - trim) * sx, ay = py + sigma * (h - trim) * sy;
  const double half = h - 0.5 * trim;
  cairo_new_path(cr);
  cairo_move_to(cr, bx, by);
  cairo_line_to(cr, 0.5 * (ax + bx) + half * ox, 0.5 * (ay + by) + half * oy);
  cairo_line_to(cr, ax, ay);
  cairo_close_path(cr);
  cairo_fill(cr);
}

// Paints the display list, or the raster alone when the list gave way, on cr, whose user space
// is the list's frame in inches. onePixel: a 1-bit page (ink adds, erasing takes away) rather
// than a vector page (ink black, erasing white).
void paintPage(cairo_t* cr, const Drawing& drawing, bool onePixel) {
  DisplayList fallback;
  const DisplayList* list = &drawing.displayList();
  if (list->overflowed()) {
    fallback.snapshot(drawing.image());
    list = &fallback;
  }
  auto colour = [&](bool ink) {
    if (onePixel) {
      cairo_set_source_rgba(cr, 0, 0, 0, 1);
      cairo_set_operator(cr, ink ? CAIRO_OPERATOR_OVER : CAIRO_OPERATOR_DEST_OUT);
    } else {
      cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
      const double v = ink ? 0 : 1;
      cairo_set_source_rgb(cr, v, v, v);
    }
  };
  const std::vector<FramePoint>& pts = list->points();
  auto stroke = [&](double width) {
    cairo_set_line_width(cr, std::max(width, kThinnest));
    cairo_stroke(cr);
  };
  // A polyline's end at point i, its neighbour along the line found past repeated points.
  auto lineEnd = [&](const DisplayItem& item, bool last) {
    const FramePoint* p = pts.data() + item.first;
    const long n = long(item.count), at = last ? n - 1 : 0, step = last ? -1 : 1;
    long k = at + step;
    while (k >= 0 && k < n && p[k].x == p[at].x && p[k].y == p[at].y) k += step;
    const double w = std::max(double(item.width), kThinnest);
    if (k < 0 || k >= n) {
      if (!last) endCap(cr, p[at].x, p[at].y, 0, 0, w);
      return;
    }
    const double dx = double(p[at].x) - p[k].x, dy = double(p[at].y) - p[k].y;
    // A segment whose ends fall on one raster row (or column, along its long axis) gets only
    // the cap at its start, the end nearer the top (or the left).
    const bool vertical = std::fabs(dy) >= std::fabs(dx);
    const double a = vertical ? p[at].y : p[at].x, b = vertical ? p[k].y : p[k].x;
    if (std::nearbyint(a * kRasterDpi) == std::nearbyint(b * kRasterDpi) && a > b) return;
    endCap(cr, p[at].x, p[at].y, dx, dy, w);
  };
  // Ends are drawn as the raster's (endCap), joins round.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  for (const DisplayItem& item : list->items()) {
    if (item.kind == DisplayItem::Image) {
      const DisplayImage& im = list->images()[item.first];
      Surface s = imageSurface(im, item.ink, onePixel);
      if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS) continue;
      cairo_save(cr);
      // Images sit on whole raster pixels: pixel (r, c) covers c/300 .. (c+1)/300.
      cairo_translate(cr, im.left / kRasterDpi, im.top / kRasterDpi);
      cairo_scale(cr, 1 / kRasterDpi, 1 / kRasterDpi);
      if (onePixel) {
        if (im.opaque) {
          cairo_rectangle(cr, 0, 0, im.width, im.height);
          cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
          cairo_fill(cr);
        }
        colour(item.ink);
        cairo_mask_surface(cr, s.get(), 0, 0);
      } else {
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        cairo_set_source_surface(cr, s.get(), 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
      }
      cairo_restore(cr);
      continue;
    }
    // The raster puts a line's centre on pixel centres, half a pixel in from the pixel's
    // corner where the image items put its edge.
    cairo_save(cr);
    cairo_translate(cr, 0.5 / kRasterDpi, 0.5 / kRasterDpi);
    colour(item.ink);
    cairo_new_path(cr);
    switch (item.kind) {
      case DisplayItem::Polyline:
        cairo_move_to(cr, pts[item.first].x, pts[item.first].y);
        for (uint32_t i = 1; i < item.count; ++i)
          cairo_line_to(cr, pts[item.first + i].x, pts[item.first + i].y);
        stroke(item.width);
        lineEnd(item, false);
        if (item.count > 1) lineEnd(item, true);
        break;
      case DisplayItem::Polygon:
        cairo_move_to(cr, pts[item.first].x, pts[item.first].y);
        for (uint32_t i = 1; i < item.count; ++i)
          cairo_line_to(cr, pts[item.first + i].x, pts[item.first + i].y);
        cairo_close_path(cr);
        cairo_fill_preserve(cr);
        stroke(item.width);
        break;
      case DisplayItem::Circle: {
        const DisplayArc arc = list->arcOf(item);
        if (item.filled) {
          cairo_arc(cr, arc.cx, arc.cy, arc.r, 0, 2 * M_PI);
          cairo_close_path(cr);
          cairo_fill_preserve(cr);
          stroke(item.width);
        } else {
          cairo_arc_negative(cr, arc.cx, arc.cy, arc.r, arc.a0, arc.a1);
          stroke(item.width);
          if (std::fabs(double(arc.a0) - arc.a1) < 2 * M_PI - 1e-6) {
            // The arc runs with falling angles: out of its start against the run, out of its
            // end along it.
            const double w = std::max(double(item.width), kThinnest);
            endCap(cr, arc.cx + arc.r * std::cos(arc.a0), arc.cy + arc.r * std::sin(arc.a0),
                   -std::sin(arc.a0), std::cos(arc.a0), w);
            endCap(cr, arc.cx + arc.r * std::cos(arc.a1), arc.cy + arc.r * std::sin(arc.a1),
                   std::sin(arc.a1), -std::cos(arc.a1), w);
          }
        }
        break;
      }
      case DisplayItem::Image:
        break;
    }
    cairo_restore(cr);
  }
}

// Sets cr's user space to the list's frame in inches on a page of `scale` units per inch,
// turned for a landscape page (10 x 8 inches, the portrait raster a quarter turn round).
void frameToPage(cairo_t* cr, double scale, bool landscape) {
  cairo_scale(cr, scale, scale);
  if (landscape) {
    // Page x = frame y, page y = 8 - frame x.
    cairo_matrix_t m;
    cairo_matrix_init(&m, 0, -1, 1, 0, 0, 8);
    cairo_transform(cr, &m);
  }
}

uint32_t crc32(const uint8_t* p, std::size_t n, uint32_t crc = 0xFFFFFFFFu) {
  for (std::size_t i = 0; i < n; ++i) {
    crc ^= p[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc;
}

void putBigEndian(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(v >> s));
}

// The PNG with its resolution recorded: a pHYs chunk (pixels per metre) right after IHDR, in
// place of any the encoder wrote. False when the bytes are not a PNG as expected.
bool withResolution(const std::vector<uint8_t>& png, int dpi, std::vector<uint8_t>& out) {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (png.size() < 8 || std::memcmp(png.data(), kSignature, 8) != 0) return false;
  out.assign(png.begin(), png.begin() + 8);
  std::size_t at = 8;
  bool first = true;
  while (at + 12 <= png.size()) {
    const uint32_t length = uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 |
                            uint32_t(png[at + 2]) << 8 | png[at + 3];
    if (length > png.size() - at - 12) return false;
    const std::size_t whole = std::size_t(length) + 12;
    const bool isPhys = std::memcmp(png.data() + at + 4, "pHYs", 4) == 0;
    if (!isPhys) out.insert(out.end(), png.begin() + long(at), png.begin() + long(at + whole));
    if (first) {
      if (std::memcmp(png.data() + at + 4, "IHDR", 4) != 0) return false;
      const uint32_t perMetre = uint32_t(std::lround(dpi / 0.0254));
      std::vector<uint8_t> chunk = {'p', 'H', 'Y', 's'};
      putBigEndian(chunk, perMetre);
      putBigEndian(chunk, perMetre);
      chunk.push_back(1);  // unit: the metre
      putBigEndian(out, 9);
      out.insert(out.end(), chunk.begin(), chunk.end());
      putBigEndian(out, crc32(chunk.data(), chunk.size()) ^ 0xFFFFFFFFu);
      first = false;
    }
    at += whole;
  }
  return at == png.size() && !first;
}

bool finish(cairo_surface_t* surface, const char* what, std::string& error) {
  cairo_surface_finish(surface);
  const cairo_status_t st = cairo_surface_status(surface);
  if (st == CAIRO_STATUS_SUCCESS) return true;
  error = std::string("cannot make the ") + what + ": " + cairo_status_to_string(st);
  return false;
}

}  // namespace

bool ExportDrawing(const Drawing& drawing, VectorFormat format, const std::string& fileName,
                   int dpi, std::string& error, WriteFaults* faults) {
  error.clear();
  const bool landscape = drawing.state.LandscapeMode;
  const double widthIn = landscape ? 10 : 8, heightIn = landscape ? 8 : 10;
  std::vector<uint8_t> bytes;
  if (format == VectorFormat::Svg || format == VectorFormat::Pdf) {
    // Points: 72 to the inch.
    Surface surface(
        format == VectorFormat::Svg
            ? cairo_svg_surface_create_for_stream(collect, &bytes, widthIn * 72, heightIn * 72)
            : cairo_pdf_surface_create_for_stream(collect, &bytes, widthIn * 72, heightIn * 72));
    if (format == VectorFormat::Svg) {
      cairo_svg_surface_restrict_to_version(surface.get(), CAIRO_SVG_VERSION_1_1);
      cairo_svg_surface_set_document_unit(surface.get(), CAIRO_SVG_UNIT_PT);
    } else {
      cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "Plotane");
    }
    {
      Context cr(cairo_create(surface.get()));
      // A white page under everything, as on paper.
      cairo_set_source_rgb(cr.get(), 1, 1, 1);
      cairo_paint(cr.get());
      frameToPage(cr.get(), 72, landscape);
      paintPage(cr.get(), drawing, false);
      cairo_show_page(cr.get());
      if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
        error =
            std::string("cannot draw the page: ") + cairo_status_to_string(cairo_status(cr.get()));
        return false;
      }
    }
    if (!finish(surface.get(), format == VectorFormat::Svg ? "SVG" : "PDF", error)) return false;
  } else {
    if (dpi < 72 || dpi > 2400) {
      error = "the resolution must lie between 72 and 2400 dpi";
      return false;
    }
    const int w = int(std::lround(widthIn * dpi)), h = int(std::lround(heightIn * dpi));
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_A1, w, h));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
      error = "not enough memory for the image";
      return false;
    }
    {
      Context cr(cairo_create(surface.get()));
      frameToPage(cr.get(), dpi, landscape);
      paintPage(cr.get(), drawing, true);
      if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
        error =
            std::string("cannot draw the page: ") + cairo_status_to_string(cairo_status(cr.get()));
        return false;
      }
    }
    cairo_surface_flush(surface.get());
    // Set bits are ink; in the PNG's grey a set bit is white, so every bit is turned over.
    uint8_t* data = cairo_image_surface_get_data(surface.get());
    const std::size_t size =
        std::size_t(cairo_image_surface_get_stride(surface.get())) * std::size_t(h);
    for (std::size_t i = 0; i < size; ++i) data[i] = uint8_t(~data[i]);
    cairo_surface_mark_dirty(surface.get());
    std::vector<uint8_t> png;
    const cairo_status_t st = cairo_surface_write_to_png_stream(surface.get(), collect, &png);
    if (st != CAIRO_STATUS_SUCCESS || !withResolution(png, dpi, bytes)) {
      error =
          std::string("cannot make the PNG: ") +
          (st != CAIRO_STATUS_SUCCESS ? cairo_status_to_string(st) : "unexpected encoder output");
      return false;
    }
  }
  return writeWholeFile(fileName, bytes, error, faults);
}

}  // namespace plotane
