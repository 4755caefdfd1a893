#pragma once
// The drawing written from its display list (drawing/DisplayList.h): SVG and PDF pages at true
// size (8 x 10 inches, 10 x 8 in landscape), and PNG images rendered at any resolution. All of
// it goes through Cairo, kept in this library alone so that a program that never exports does
// not load it.

#include <string>

namespace plotane {

class Drawing;
struct WriteFaults;

enum class VectorFormat { Svg, Pdf, Png };

// The resolutions a PNG may be rendered at besides the raster's own 300: 600 and 1200.
inline bool IsVectorPngDpi(int dpi) { return dpi == 600 || dpi == 1200; }

// Writes the drawing's page to fileName as format (dpi: the PNG's resolution, recorded in the
// file; 72 to 2400, ignored for SVG and PDF; the PNG is black and white, in 8-bit grey). The file
// is replaced only when it is written whole (a temporary file renamed over it); false with error
// set otherwise.
bool ExportDrawing(const Drawing& drawing, VectorFormat format, const std::string& fileName,
                   int dpi, std::string& error, WriteFaults* faults = nullptr);

}  // namespace plotane
