#pragma once
// The drawing's vector twin: every primitive that marks the raster also appends its shape here,
// with the raster's geometry, so that the page can be written as vectors (SVG, PDF) or rendered
// at any resolution. Items are painted in order, ink black and erasing white, so knock-outs come
// out as on the raster. What exists only as pixels (a loaded GRL, a block copy or move, a glyph
// of a platform font) becomes an image item.
//
// Positions are in the portrait raster's frame, in inches: x = column / 300 from the left edge,
// y = row / 300 from the top edge of the portrait page, whatever the orientation they were drawn
// in (a landscape page is the same frame turned when it is written).

#include <cstdint>
#include <vector>

namespace plotane {

class DrawingImage;

struct FramePoint {
  float x = 0, y = 0;
};

struct DisplayItem {
  enum Kind : uint8_t {
    Polyline,  // a stroke through points[first .. first + count)
    Polygon,   // a filled polygon, its edge stroked with width
    Circle,    // an arc (stroked) or a disc (filled, its edge stroked with width)
    Image,     // images[first]: set pixels painted in the item's colour
  };
  Kind kind = Polyline;
  bool ink = true;      // black; false paints white
  bool filled = false;  // Circle only
  float width = 0;      // stroke width in inches (as drawn: the writer applies its thinnest line)
  // Points (a Circle keeps its DisplayArc in three), or the image's index.
  uint32_t first = 0, count = 0;
};

// A Circle item's centre, radius and the frame angles (radians, y down) the arc runs from a0
// down to a1; a full circle runs 2 pi.
struct DisplayArc {
  float cx = 0, cy = 0, r = 0, a0 = 0, a1 = 0;
};

// A 1-bit image placed on whole raster pixels: rows of (width + 7) / 8 bytes, leftmost pixel in
// the top bit, set bit = painted.
struct DisplayImage {
  int left = 0, top = 0, width = 0, height = 0;
  bool opaque = false;  // clear pixels are painted white as well (a snapshot of the whole page)
  std::vector<uint8_t> bits;
  int bytesPerRow() const { return (width + 7) / 8; }
  bool pixel(int row, int column) const {
    return bits[std::size_t(row) * std::size_t(bytesPerRow()) + std::size_t(column >> 3)] &
           (0x80 >> (column & 7));
  }
};

class DisplayList {
 public:
  // Beyond this many points (or items) the list gives way to the raster itself, so a script
  // drawing without end cannot exhaust memory; the page written stays exact.
  static constexpr std::size_t kMaxPoints = std::size_t(8) << 20;
  static constexpr std::size_t kMaxItems = std::size_t(2) << 20;

  // Room for a large page is set aside at once (untouched memory costs nothing), so that the
  // list seldom moves while it grows.
  DisplayList() {
    items_.reserve(std::size_t(1) << 16);
    points_.reserve(std::size_t(1) << 18);
  }
  // A list with smaller bounds (tests).
  DisplayList(std::size_t maxPoints, std::size_t maxItems)
      : maxPoints_(maxPoints), maxItems_(maxItems) {}

  void clear();
  bool empty() const { return items_.empty(); }
  const std::vector<DisplayItem>& items() const { return items_; }
  const std::vector<FramePoint>& points() const { return points_; }
  const std::vector<DisplayImage>& images() const { return images_; }
  DisplayArc arcOf(const DisplayItem& circle) const {
    const FramePoint* p = points_.data() + circle.first;
    return {p[0].x, p[0].y, p[1].x, p[1].y, p[2].x};
  }

  // A straight stroke. A segment that starts (or ends) where the last polyline of the same
  // colour and width ends (or, for a lone segment, starts) continues it. Parts farther than an inch
  // off the page are cut away; segments with coordinates that are not finite are dropped.
  void segment(bool ink, FramePoint a, FramePoint b, float width);
  // An arc from frame angle a0 down to a1 (a circle when they are 2 pi apart).
  void arc(bool ink, FramePoint centre, float r, float a0, float a1, float width);
  void disc(bool ink, FramePoint centre, float r, float edgeWidth);
  void polygon(bool ink, const FramePoint* corners, int n, float edgeWidth);
  void image(bool ink, DisplayImage image);
  // The list replaced by one opaque image of the whole raster as it is now.
  void snapshot(const DrawingImage& raster);
  // True when the list had to give way: the page is then written as its raster, until the next
  // reset or snapshot.
  bool overflowed() const { return overflowed_; }

  // Recording can be held off while a primitive that recorded itself whole draws its parts.
  bool recording() const { return holds_ == 0; }
  void hold() { ++holds_; }
  void release() { --holds_; }

 private:
  // False (and the list emptied, marked overflowed) when n more points do not fit.
  bool room(std::size_t n);

  std::vector<DisplayItem> items_;
  std::vector<FramePoint> points_;
  std::vector<DisplayImage> images_;
  std::size_t maxPoints_ = kMaxPoints, maxItems_ = kMaxItems;
  int holds_ = 0;
  bool overflowed_ = false;
};

// Holds recording off for its lifetime.
class HoldRecording {
 public:
  explicit HoldRecording(DisplayList& list) : list_(list) { list_.hold(); }
  ~HoldRecording() { list_.release(); }
  HoldRecording(const HoldRecording&) = delete;
  HoldRecording& operator=(const HoldRecording&) = delete;

 private:
  DisplayList& list_;
};

}  // namespace plotane
