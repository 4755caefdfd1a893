// GRL drawing files: a marker, the screen type, then every raster row and every preview row
// run-length encoded as 16-bit control words.

#include <cstring>

#include "drawing/Drawing.h"
#include "shell/base/Bytes.h"
#include "shell/base/Files.h"
#include "shell/base/Host.h"
#include "shell/base/Messages.h"

namespace plotane {

namespace {

constexpr int16_t kGrlMarker = 0x7FAA;
constexpr int16_t kRowEnd = -32768;

void putWord(std::vector<uint8_t>& out, int16_t v) {
  out.push_back(uint8_t(uint16_t(v)));
  out.push_back(uint8_t(uint16_t(v) >> 8));
}

enum class RowResult { Ok, Truncated, Overrun };

// Decodes one row into buf (cleared first, so a short row leaves white behind); never writes
// past len bytes.
RowResult decodeRow(ByteReader& in, uint8_t* buf, int len) {
  std::memset(buf, 0, std::size_t(len));
  int pos = 0;
  for (;;) {
    const int16_t w = in.i16();
    if (in.failed()) return RowResult::Truncated;
    if (w <= -10000) return RowResult::Ok;
    if (w > 0) {
      if (w > len - pos) return RowResult::Overrun;
      const uint8_t* p = in.take(std::size_t(w));
      if (!p) return RowResult::Truncated;
      std::memcpy(buf + pos, p, std::size_t(w));
      pos += w;
    } else if (w < 0) {
      if (-w > len - pos) return RowResult::Overrun;
      pos += -w;  // already zero
    }
  }
}

}  // namespace

void encodeGrlRow(const uint8_t* row, int length, std::vector<uint8_t>& out) {
  const int last = length - 1;
  int literalStart = 0, scan = 0;
  for (;;) {
    int zeroStart = scan;
    while (zeroStart <= last && row[zeroStart] != 0) ++zeroStart;
    int zeroEnd = zeroStart;
    while (zeroEnd <= last && row[zeroEnd] == 0) ++zeroEnd;
    const int zeroLength = zeroEnd - zeroStart;
    const bool atEnd = zeroEnd > last;
    // Short zero runs stay inside the literal run, except at the very end of the row.
    if (zeroLength <= 3 && !atEnd) {
      scan = zeroEnd;
      continue;
    }
    if (zeroStart > literalStart) {
      putWord(out, int16_t(zeroStart - literalStart));
      out.insert(out.end(), row + literalStart, row + zeroStart);
    }
    if (zeroLength > 0) putWord(out, int16_t(-zeroLength));
    literalStart = scan = zeroEnd;
    if (atEnd) break;
  }
  putWord(out, kRowEnd);
}

void Drawing::SaveGrl(const std::string& fileName) {
  const bool wasLandscape = state.LandscapeMode;
  const PageXY a = state.A, b = state.B;
  if (wasLandscape) SetPortrait();
  std::vector<uint8_t> out;
  {
    BusyCursor busy(host_);
    out.reserve(64 * 1024);
    putWord(out, kGrlMarker);
    putWord(out, int16_t(kCurrentVideoType));
    for (int r = 0; r < kRasterRows; ++r) encodeGrlRow(image_.row(r), kRasterRowBytes, out);
    const MonoBitmap& pv = portraitPreview_;
    for (int r = 0; r < pv.height(); ++r) encodeGrlRow(pv.row(r), pv.bytesPerRow(), out);
  }
  std::string error;
  if (writeWholeFile(fileName, out, error, host_.writeFaults())) {
    state.ImageChanged = false;
    state.GrlError = false;
  } else {
    state.GrlError = true;
    UpdateDrawingCaption(false);
    host_.message("FILE ERROR");
  }
  if (wasLandscape) {
    SetLandscape();
    // The cursors come back exactly, not through two coordinate exchanges.
    state.A = a;
    state.B = b;
    cursorsChanged();
  }
}

void Drawing::LoadGrl(const std::string& fileName) {
  SetPortrait();
  const std::string name = resolveFileName(fileName);
  std::vector<uint8_t> data;
  std::string error;
  // A GRL holds 3000 packed rows and a preview: a few megabytes at the very most.
  constexpr std::size_t kGrlReadLimit = std::size_t(8) << 20;
  if (!readWholeFile(name, data, error, kGrlReadLimit)) {
    state.GrlError = true;
    host_.message("FILE ERROR");
    UpdateDrawingCaption(false);
    return;
  }
  ByteReader in(data);
  auto ioFail = [&](const char* what, bool rowsRead) {
    state.GrlError = true;
    if (rowsRead) state.ImageChanged = true;  // the drawing now matches no file
    IOFAIL(host_, name, what);
    repaint();
  };
  const int16_t marker = in.i16();
  int screenType = -1;
  if (!in.failed() && marker == kGrlMarker) screenType = in.i16() & 0xFF;
  if (in.failed()) {
    ioFail("file ends early", false);
    return;
  }
  if (screenType < 1 || screenType > 4) {
    host_.message("Wrong video type");
    state.GrlError = true;
    UpdateDrawingCaption(false);
    return;
  }
  BusyCursor busy(host_);
  // The rows read, all or some, exist only as pixels: the vector twin starts again from them.
  struct Snapshot {
    Drawing& d;
    ~Snapshot() { d.display_.snapshot(d.image_); }
  } snapshot{*this};
  auto fail = [&](RowResult res) {
    ioFail(res == RowResult::Truncated ? "file ends early" : "row data runs past its row", true);
  };
  uint8_t buf[kRasterRowBytes];
  for (int r = 0; r < kRasterRows; ++r) {
    const RowResult res = decodeRow(in, buf, kRasterRowBytes);
    if (res != RowResult::Ok) return fail(res);
    std::memcpy(image_.row(r), buf, kRasterRowBytes);
  }
  const VideoType& vt = VideoTypes[screenType - 1];
  MonoBitmap& pv = portraitPreview_;
  if (screenType == kCurrentVideoType) {
    for (int r = 0; r < pv.height(); ++r) {
      const RowResult res = decodeRow(in, buf, pv.bytesPerRow());
      if (res != RowResult::Ok) return fail(res);
      std::memcpy(pv.row(r), buf, std::size_t(pv.bytesPerRow()));
    }
  } else {
    // An older screen's preview, stretched over the whole current preview.
    MonoBitmap old(vt.width, vt.rows);
    const int bytes = (vt.width - 1) / 8 + 1;
    for (int r = 0; r < vt.rows; ++r) {
      const RowResult res = decodeRow(in, buf, bytes);
      if (res != RowResult::Ok) return fail(res);
      std::memcpy(old.row(r), buf, std::size_t(bytes));
    }
    pv.clear();
    for (int r = 0; r < pv.height(); ++r) {
      const int sr = r * vt.rows / pv.height();
      for (int c = 0; c < pv.width(); ++c)
        if (old.pixel(sr, c * vt.width / pv.width())) pv.setPixel(r, c, true);
    }
  }
  state.GrlError = false;
  state.ImageChanged = false;
  repaint();
}

}  // namespace plotane
