#pragma once
// The 300-dpi page raster and the 1-bit preview bitmaps. Both keep a set bit as black ink and
// the leftmost pixel of a byte in its most significant bit.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace plotane {

// Round half to even, as nearbyint in the default rounding mode, without a library call: adding
// and taking away 1.5 * 2^52 leaves the nearest integer for every |v| < 2^51. Larger values and
// NaN take the library path.
inline double roundHalfEven(double v) {
  constexpr double kMagic = 6755399441055744.0;
  if (std::fabs(v) < 2251799813685248.0) return (v + kMagic) - kMagic;
  return std::nearbyint(v);
}

// Whether columns c0..c1 of every row r0..r1 that rowOf gives are all set (black) or all clear.
// Small rectangles, one or two bytes wide, are the common case and are read two bytes a row.
template <class RowOf>
inline bool rectangleUniform(RowOf rowOf, int r0, int r1, int c0, int c1, bool black) {
  const int b0 = c0 >> 3, b1 = c1 >> 3;
  const uint8_t head = uint8_t(0xFF >> (c0 & 7)), tail = uint8_t(0xFF << (7 - (c1 & 7)));
  const uint8_t flip = black ? 0xFF : 0x00;  // turns the wanted colour into clear bits
  if (b1 - b0 <= 1) {
    const uint8_t m0 = b0 == b1 ? uint8_t(head & tail) : head;
    const uint8_t m1 = b0 == b1 ? uint8_t(0) : tail;
    for (int r = r0; r <= r1; ++r) {
      const uint8_t* p = rowOf(r);
      if (((p[b0] ^ flip) & m0) | ((p[b1] ^ flip) & m1)) return false;
    }
    return true;
  }
  for (int r = r0; r <= r1; ++r) {
    const uint8_t* p = rowOf(r);
    if ((p[b0] ^ flip) & head) return false;
    for (int b = b0 + 1; b < b1; ++b)
      if (p[b] ^ flip) return false;
    if ((p[b1] ^ flip) & tail) return false;
  }
  return true;
}

// The pixels of a preview line between two whole pixel positions, in walking order, handed to
// plot(x, y): the one pixel walk every preview line takes.
template <class Plot>
inline void walkLine(int ax, int ay, int bx, int by, Plot&& plot) {
  const int dx = ax < bx ? bx - ax : ax - bx, dy = -(ay < by ? by - ay : ay - by);
  const int sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    plot(ax, ay);
    if (ax == bx && ay == by) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      ax += sx;
    }
    if (e2 <= dx) {
      err += dx;
      ay += sy;
    }
  }
}

inline constexpr int kRasterRows = 3000;
inline constexpr int kRasterCols = 2400;
inline constexpr int kRasterRowBytes = 300;

// Set masks and their complements, indexed by pixel column mod 8.
inline constexpr uint8_t kSetMask[8] = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
inline constexpr uint8_t kClearMask[8] = {0x7F, 0xBF, 0xDF, 0xEF, 0xF7, 0xFB, 0xFD, 0xFE};

// Zeroed memory for a bitmap: large blocks come straight from the system as zero pages that cost
// nothing until they are touched, so a page that is never drawn on is never paid for. Writing
// goes through the non-const data(), which notes that the block may no longer be all zero; a
// clear of a block still all zero touches nothing.
class PageMemory {
 public:
  PageMemory() = default;
  explicit PageMemory(std::size_t bytes);
  PageMemory(const PageMemory& other);
  PageMemory(PageMemory&& other) noexcept { swap(other); }
  PageMemory& operator=(PageMemory other) noexcept {
    swap(other);
    return *this;
  }
  ~PageMemory();

  uint8_t* data() {
    white_ = false;
    return data_;
  }
  const uint8_t* data() const { return data_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  void clear();
  void swap(PageMemory& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(white_, other.white_);
  }

 private:
  uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  bool white_ = true;
};

// 3000 rows of 300 bytes in one block, a row found by its offset; row 0 is the top of the portrait
// page.
class DrawingImage {
 public:
  DrawingImage();
  DrawingImage(const DrawingImage&) = delete;
  DrawingImage& operator=(const DrawingImage&) = delete;

  // Writing goes through row() and setPixel(), which note that the page may no longer be white.
  uint8_t* row(int r) { return store_.data() + std::size_t(r) * kRasterRowBytes; }
  const uint8_t* row(int r) const { return store_.data() + std::size_t(r) * kRasterRowBytes; }
  // A page known white (not written since it was made or cleared) is not cleared again: the
  // start-up clears would otherwise touch every page of a raster no script draws on.
  void clear() { store_.clear(); }
  bool pixel(int r, int c) const { return (row(r)[c >> 3] & kSetMask[c & 7]) != 0; }
  void setPixel(int r, int c, bool black) {
    if (black)
      row(r)[c >> 3] |= kSetMask[c & 7];
    else
      row(r)[c >> 3] &= kClearMask[c & 7];
  }
  // Number of black pixels (tests and diagnostics).
  long countInk() const;
  // True when every pixel of rows r0..r1 and columns c0..c1 (a non-empty rectangle inside the
  // raster) is black, or white: drawing there in that colour cannot change anything.
  bool uniform(int r0, int r1, int c0, int c1, bool black) const {
    return rectangleUniform([this](int r) { return row(r); }, r0, r1, c0, c1, black);
  }

 private:
  PageMemory store_;
};

// A small monochrome bitmap: the preview (800 x 1000 or 1000 x 800) and the stretched preview of
// old files.
class MonoBitmap {
 public:
  MonoBitmap() = default;
  MonoBitmap(int width, int height) { resize(width, height); }
  void resize(int width, int height);
  void clear() { bits_.clear(); }
  int width() const { return width_; }
  int height() const { return height_; }
  int bytesPerRow() const { return bytesPerRow_; }
  bool empty() const { return bits_.empty(); }
  uint8_t* row(int r) { return bits_.data() + std::size_t(r) * bytesPerRow_; }
  const uint8_t* row(int r) const { return bits_.data() + std::size_t(r) * bytesPerRow_; }
  bool inside(int r, int c) const { return r >= 0 && r < height_ && c >= 0 && c < width_; }
  bool pixel(int r, int c) const { return inside(r, c) && (row(r)[c >> 3] & kSetMask[c & 7]) != 0; }
  // Out-of-range pixels are ignored.
  void setPixel(int r, int c, bool black) {
    if (!inside(r, c)) return;
    if (black)
      row(r)[c >> 3] |= kSetMask[c & 7];
    else
      row(r)[c >> 3] &= kClearMask[c & 7];
  }
  // A straight line of a square pen (1 to 32 pixels) between two pixel positions, clipped to the
  // bitmap.
  void drawLine(double x1, double y1, double x2, double y2, int penWidth, bool black);
  // The same between whole pixel positions no farther than 34 pixels outside the bitmap (where
  // drawLine's clipping leaves a line as it is).
  void drawPixelLine(int x1, int y1, int x2, int y2, int penWidth, bool black);
  long countInk() const;
  // As DrawingImage::uniform, for a rectangle inside the bitmap.
  bool uniform(int r0, int r1, int c0, int c1, bool black) const {
    return rectangleUniform([this](int r) { return row(r); }, r0, r1, c0, c1, black);
  }

 private:
  // The pen's square with its top-left pixel at (left, top), clipped to the bitmap.
  void penSquare(int left, int top, int pen, bool black);

  int width_ = 0, height_ = 0, bytesPerRow_ = 0;
  PageMemory bits_;
};

}  // namespace plotane
