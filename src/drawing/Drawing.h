#pragma once
// The drawing: the 300-dpi page raster, its 100-dpi preview, the drawing state (cursors, codes,
// orientation, pen) with the page, raster, preview and user coordinate mappings, the line
// rasteriser with every primitive built on it, block copy and move, and GRL files.
//
// Page positions are inches, X to the right and Y upward from the lower-left corner of the page
// as the user sees it (8 x 10 in portrait, 10 x 8 in landscape). The raster always stays in
// portrait layout; landscape is a coordinate exchange.

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "drawing/DisplayList.h"
#include "drawing/Raster.h"

namespace plotane {

class Host;

// Line widths (inches) by width index, dash lengths and arrowhead sizes by line code 0..4.
inline constexpr float LineWidthTable[5] = {0.00006f, 0.00336f, 0.01176f, 0.0147f, 0.021f};
inline constexpr float DashTable[5] = {0.04f, 0.06f, 0.1f, 0.14f, 0.16f};
inline constexpr double ArrowSizeTable[5] = {0.03, 0.0333, 0.045, 0.067, 0.0889};

// Point size codes -2..9: half-size (inches), stroke width index and preview pen width.
struct PointSizeEntry {
  double halfSize;
  int widthIndex;
  int previewPen;
};
inline constexpr PointSizeEntry PointSizeTable[12] = {
    {0.025, 0, 1}, {0.025, 1, 1}, {0.03, 1, 1}, {0.03, 2, 1}, {0.04, 1, 1}, {0.04, 2, 1},
    {0.05, 2, 1},  {0.05, 3, 2},  {0.07, 2, 1}, {0.07, 3, 2}, {0.1, 3, 2},  {0.1, 4, 2}};
const PointSizeEntry& pointSizeEntry(int sizeCode);  // code clamped to -2..9

// Preview geometries of the screen types a GRL file may name (1 is the current one).
struct VideoType {
  const char* name;
  int16_t width;
  int16_t rows;
};
inline constexpr VideoType VideoTypes[4] = {
    {"SGA", 800, 1000}, {"EGA", 640, 560}, {"VGA", 640, 776}, {"SG3", 800, 970}};
inline constexpr int kCurrentVideoType = 1;

struct PageXY {
  double X = 0, Y = 0;
};

// Pen position: page half (inches) and its user-coordinate twin, kept consistent.
struct PagePoint {
  double X = 0, Y = 0, u = 0, v = 0;
};

// column = (X - OffsetX) * ScaleX, row = (Y - OffsetY) * ScaleY.
struct PixelTransform {
  double OffsetX = 0, ScaleX = 1, OffsetY = 0, ScaleY = 1;
};

// Page X = ScaleU * u + OffsetU, Y = ScaleV * v + OffsetV.
struct UserTransform {
  double ScaleU = 1, OffsetU = 0, ScaleV = 1, OffsetV = 0;
};

struct CursorBounds {
  double MaxX = 7.994, MinY = 0.005555556, MaxY = 10.0000001;
};

// The selected block, in raster and preview pixels, with its origin and extent in inches.
struct BlockRect {
  int16_t left = 0, right = 0, top = 0, bottom = 0;
  int16_t pLeft = 0, pRight = 0, pTop = 0, pBottom = 0;
  PageXY origin, extent;
  bool defined = false;
  bool move = false;
  int16_t width() const { return int16_t(right - left + 1); }
  int16_t height() const { return int16_t(bottom - top + 1); }
};

// Everything drawing operations read, plus the window's mode fields that live with it.
struct DrawState {
  PageXY A{1.1, 6.0};
  PageXY B{7.7, 9.6};
  int16_t LineCode = 2;
  double LineWidth = LineWidthTable[2];
  double ArrowSize = ArrowSizeTable[2];
  int16_t FontCode = 3;
  double CharSize = 0.1;
  double TextStrokeWidth = LineWidthTable[2];
  int16_t PointSizeCode = 3;
  double TextAngle = 0, TextCos = 1, TextSin = 0;
  bool PenDraw = true;
  bool LandscapeMode = false;
  bool ImageChanged = false;
  bool GrlError = false;
  std::string GrlFileName;
  bool PreviewEcho = true;
  int PreviewPenWidth = 1;  // 1 or 2 preview pixels
  PixelTransform Raster, Preview;
  UserTransform User;
  CursorBounds Bounds;
  // Window mode fields kept with the state.
  bool DrawEraseMode = false;
  bool VernierMode = false;
  bool CharMode = false;
  double CursorStep = 0.05;
  PageXY GridSavedA, GridSavedB;
  bool TextEntry = false;
  bool ZoomedOut = false;
  bool AMovable = true;
  bool BlockMode = false;
  bool PcxRequest = false;
  std::string ModeLabel;  // "Draw mode", "Erase mode", "Text entry:", "Zoomed out" or empty
  std::string GridLabel;  // "Vernier grid", "Char. grid" or empty
};

// The cursor movement keys of the drawing window.
enum class CursorKey { Right, Left, Up, Down, PageUp, PageDown, Home, End };

// A destination for the printer byte stream (a file, a print job, memory).
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // False when the destination failed; the writer stops then.
  virtual bool write(const uint8_t* data, std::size_t n) = 0;
};

class Drawing {
 public:
  explicit Drawing(Host& host);  // InitDrawing then ResetDrawing: a blank portrait page
  Drawing(const Drawing&) = delete;
  Drawing& operator=(const Drawing&) = delete;

  Host& host() { return host_; }
  DrawState state;

  // Raster and preview.
  DrawingImage& image() { return image_; }
  const DrawingImage& image() const { return image_; }
  // The preview of the current orientation (800 x 1000, or 1000 x 800 in landscape).
  MonoBitmap& preview() { return state.LandscapeMode ? landscapePreview_ : portraitPreview_; }
  const MonoBitmap& preview() const {
    return state.LandscapeMode ? landscapePreview_ : portraitPreview_;
  }
  MonoBitmap& portraitPreview() { return portraitPreview_; }
  // The page's vector twin (DisplayList.h), kept by the primitives beside the raster.
  const DisplayList& displayList() const { return display_; }
  DisplayList& displayList() { return display_; }
  // A page position in the display list's frame (portrait raster inches from the top left).
  FramePoint toFrame(double X, double Y) const {
    double column, row;
    pageToRaster(X, Y, column, row);
    return {float(column * (1.0 / 300)), float(row * (1.0 / 300))};
  }
  // The frame angle of page direction theta (radians), and whether turning counter-clockwise
  // on the page turns the frame's angles down (true for both orientations: y runs down).
  double frameAngle(double theta) const;
  int clipFirstRow() const { return clipFirst_; }
  int clipRowLimit() const { return clipLimit_; }

  // Notifications for the window: repaint, caption and cursor read-outs, orientation (the graph
  // definitions keep their own landscape field).
  std::function<void()> onRepaint;
  std::function<void()> onCaptionChanged;
  std::function<void()> onCursorsChanged;
  std::function<void(bool landscape)> onOrientationChanged;
  const std::string& caption() const { return caption_; }
  void repaint();
  void cursorsChanged();

  // State set-up.
  void InitDrawing();
  void ResetDrawing();
  void SetLandscape();
  void SetPortrait();
  void UpdateDrawingCaption(bool keepName);
  void SetLineCode(int code);
  void SetTextAngle(double degrees);
  // 1 or 2 pixels for lines; text erasing uses wider pens (at most 32).
  void SetPreviewPenWidth(int pixels) {
    state.PreviewPenWidth = pixels < 1 ? 1 : pixels > 32 ? 32 : pixels;
  }
  // Preview pen back to the line code's width.
  void RestorePreviewPen() { SetPreviewPenWidth(state.LineCode >= 3 ? 2 : 1); }
  // Stores what a font code selects (the text module derives the values).
  void SetFontState(int fontCode, double charSize, double strokeWidth, int previewPen);
  void EndDrawingCommand();

  // Cursors: placements outside the bounds are ignored (return false).
  bool SetACursor(double X, double Y);
  bool SetBCursor(double X, double Y);
  bool insideBounds(double X, double Y) const;

  // Coordinate mappings.
  void SetRasterWindow(double pageLeft, double pageTop, double pageRight, double pageBottom,
                       double left, double top, double right, double bottom);
  void SetPreviewWindow(double pageLeft, double pageTop, double pageRight, double pageBottom,
                        double left, double top, double right, double bottom, bool landscape);
  // Degenerate ranges (uA = uB or vA = vB) are refused: false, mapping unchanged.
  bool SetUserTransform(double uA, double vA, double uB, double vB, double XA, double YA, double XB,
                        double YB);
  bool MapUserToCursors(double uA, double vA, double uB, double vB);
  void SetPointPage(PagePoint& p, double X, double Y) const;
  void SetPointUser(PagePoint& p, double u, double v) const;
  void MovePointPage(PagePoint& p, double dX, double dY) const;
  void MovePointUser(PagePoint& p, double du, double dv) const;
  void MovePointRotated(PagePoint& p, double a, double b) const;
  // Raster pixel (column, row) of a page position in the current orientation, unrounded.
  void pageToRaster(double X, double Y, double& column, double& row) const {
    if (state.LandscapeMode) std::swap(X, Y);
    column = (X - state.Raster.OffsetX) * state.Raster.ScaleX;
    row = (Y - state.Raster.OffsetY) * state.Raster.ScaleY;
  }
  void pageToPreview(double X, double Y, double& column, double& row) const {
    column = (X - state.Preview.OffsetX) * state.Preview.ScaleX;
    row = (Y - state.Preview.OffsetY) * state.Preview.ScaleY;
  }
  PagePoint pointAt(const PageXY& xy) const {
    PagePoint p;
    SetPointPage(p, xy.X, xy.Y);
    return p;
  }

  // The line rasteriser: the only routine that writes line ink.
  void DrawLine(bool draw, double X1, double Y1, double X2, double Y2, double width);
  void HorizontalSpan(int lo, int hi, int row, bool draw);
  void VerticalSpan(int lo, int hi, int column, bool draw);

  // Primitives.
  void DrawSegment(const PagePoint& p1, const PagePoint& p2);
  void DrawDashed(const PagePoint& p1, const PagePoint& p2, float dashLength);
  void DrawIntermittent(const PagePoint& p1, const PagePoint& p2, float unit, float longFactor);
  void DrawRectangle();
  void DrawLineCommand();
  void DrawDashedCommand();
  void DrawIntermittentCommand();
  void DrawArrowhead();
  double AngleAToB() const;
  void DrawCircle(const PagePoint& centre, double r);
  void DrawArc(const PagePoint& centre, double r, double startAngle, double endAngle);
  void BeginCircleArc();
  void FinishCircleArc();
  void DrawNode();
  void FillCircle(const PagePoint& centre, double r);
  void DrawPointSymbol(const PagePoint& p, int shape, int sizeCode);
  void DrawPointSymbolAtA(int shape);
  void DrawDot(const PagePoint& p);

  // Window modes and cursor handling (the window forwards keys and clicks here).
  void DrawModeOn();
  void EraseModeOn();
  void PenUp();
  void VernierModeOn();
  void CharModeOn();
  void LeaveVernierMode();
  void LeaveCharMode();
  void ResetAllModes();  // Esc
  // A movement key: Shift alone moves the B-cursor; in block mode both cursors move; in draw or
  // erase mode moving the A-cursor draws or erases a line behind it.
  void MoveByKey(CursorKey key, bool shiftOnly);
  // The page position of a preview pixel, snapped to the cursor step.
  PageXY PreviewToPage(double column, double row) const;
  // A left click on the preview: places the B-cursor (Shift alone) or the A-cursor.
  void ClickAt(double column, double row, bool shiftOnly);
  // A cursor moved to typed values: absolute or relative, in page inches or in user units.
  bool MoveCursorNumeric(bool bCursor, bool relative, bool userCoordinates, double x, double y);
  // The status read-out, e.g. "A:  X= 1.100  Y= 6.000".
  std::string CursorReadout(bool bCursor) const;

  // Blocks. RequirePortrait asks to leave landscape; false means the user declined.
  bool RequirePortrait();
  // Returns to landscape when RequirePortrait switched away from it.
  void RestoreOrientation();
  bool DefineBlock();
  void BlockTransfer(bool orWithDestination);
  const BlockRect& block() const { return block_; }
  void setBlockMove(bool move) { block_.move = move; }

  // GRL files. Failures set GrlError and show the message.
  void SaveGrl(const std::string& fileName);
  void LoadGrl(const std::string& fileName);

  // Output of the raster (output in DrawingOutput.cpp).
  // The current block as a PCX file; false (after the I/O message) when it cannot be written.
  bool WritePcx(const std::string& fileName);
  // The PCL raster stream of the whole page; false when the sink failed.
  bool WritePcl(ByteSink& sink) const;

 private:
  void drawSymbolOutline(int shape, double X, double Y, double r);
  // Solid fills, completed inside their outline at r drawn in the wall width (a knock-out clears
  // all that its symbol's outline will hold).
  void fillShape(int shape, double X, double Y, double r, double wall);
  void fillCircle(const PagePoint& centre, double r, double wall);
  void transposeToLandscape();
  void transposeToPortrait();
  void applyOrientationWindows(bool landscape);

  Host& host_;
  DrawingImage image_;
  DisplayList display_;
  MonoBitmap portraitPreview_, landscapePreview_;
  int clipFirst_ = 0, clipLimit_ = kRasterRows;
  std::string caption_;
  BlockRect block_;
  bool wasLandscape_ = false;
  // Circle/arc command between its start and its confirmation.
  PagePoint arcCentre_;
  double arcRadius_ = 0, arcStart_ = 0;
};

// Row encoder of GRL files, exposed for tests: appends the encoded row to out.
void encodeGrlRow(const uint8_t* row, int length, std::vector<uint8_t>& out);

// The caption strings of the drawing window.
inline constexpr const char* kPortraitCaption = "Drawing    ";
inline constexpr const char* kLandscapeCaption = "Drawing--Landscape    ";

}  // namespace plotane
