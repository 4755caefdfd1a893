#include "drawing/DrawingOutput.h"

#include <cstring>

#include "shell/base/Bytes.h"
#include "shell/base/Files.h"
#include "shell/base/Host.h"
#include "shell/base/Messages.h"

namespace plotane {

void encodePcxLine(const uint8_t* line, int length, std::vector<uint8_t>& out) {
  int i = 0;
  while (i < length) {
    const uint8_t v = line[i];
    int count = 1;
    while (i + count < length && line[i + count] == v && count < 63) ++count;
    // Bytes from 0x40 up would read as counts, so they always carry a count of their own.
    if (count > 1 || v > 0x3F) out.push_back(uint8_t(0xC0 + count));
    out.push_back(v);
    i += count;
  }
}

bool Drawing::WritePcx(const std::string& fileName) {
  if (!block_.defined) return false;
  const BlockRect& k = block_;
  const int width = k.width(), height = k.height();
  const int bytesPerLine = (width + 7) / 8;
  std::vector<uint8_t> out;
  {
    BusyCursor busy(host_);
    ByteWriter h;
    h.u8(10);
    h.u8(5);
    h.u8(1);
    h.u8(1);
    h.u16(0);
    h.u16(0);
    h.u16(uint16_t(width - 1));
    h.u16(uint16_t(height - 1));
    h.u16(300);
    h.u16(300);
    const uint8_t palette[6] = {0, 0, 0, 255, 255, 255};
    h.raw(palette, 6);
    h.zeros(42);
    h.u8(0);
    h.u8(1);
    h.u16(uint16_t(bytesPerLine));
    h.u16(1);
    h.u16(2400);
    h.u16(3000);
    h.zeros(54);
    out = std::move(h.bytes());
    std::vector<uint8_t> line(static_cast<std::size_t>(bytesPerLine));
    for (int r = k.top; r <= k.bottom; ++r) {
      std::fill(line.begin(), line.end(), uint8_t(0));
      const uint8_t* src = image_.row(r);
      for (int c = k.left; c <= k.right; ++c)
        if (src[c >> 3] & kSetMask[c & 7]) line[(c - k.left) >> 3] |= kSetMask[(c - k.left) & 7];
      // PCX colour 1 is white: ink becomes a clear bit, padding comes out white.
      for (uint8_t& b : line) b = uint8_t(~b);
      encodePcxLine(line.data(), bytesPerLine, out);
    }
  }
  std::string error;
  if (!writeWholeFile(fileName, out, error, host_.writeFaults())) {
    IOFAIL(host_, fileName, error.empty() ? "cannot write the file" : error);
    return false;
  }
  return true;
}

std::string pclRowHeader(int n) { return "\x1b*b" + std::to_string(n) + "W"; }

bool Drawing::WritePcl(ByteSink& sink) const {
  static const uint8_t start[] = {0x1B, '*', 't', '3', '0', '0', 'R', 0x1B, '*', 'r', '0', 'A'};
  static const uint8_t end[] = {0x1B, '*', 'r', 'B'};
  if (!sink.write(start, sizeof start)) return false;
  // One piece per row: header and data, at most 7 + 300 bytes.
  uint8_t piece[7 + kRasterRowBytes];
  for (int r = 0; r < kRasterRows; ++r) {
    const uint8_t* row = image_.row(r);
    int n = kRasterRowBytes;
    while (n > 1 && row[n - 1] == 0) --n;
    const std::string header = pclRowHeader(n);
    std::memcpy(piece, header.data(), header.size());
    std::memcpy(piece + header.size(), row, std::size_t(n));
    if (!sink.write(piece, header.size() + std::size_t(n))) return false;
  }
  return sink.write(end, sizeof end);
}

FileSink::FileSink(WriteFaults* faults) : faults_(faults) {}

FileSink::~FileSink() = default;

bool FileSink::open(const std::string& fileName) {
  writer_ = std::make_unique<AtomicWriter>(fileName, faults_);
  pending_.clear();
  return writer_->open();
}

bool FileSink::write(const uint8_t* data, std::size_t n) {
  if (!writer_) return false;
  // Gathered into large writes: the stream comes in pieces of a few hundred bytes.
  pending_.insert(pending_.end(), data, data + n);
  if (pending_.size() < 65536) return true;
  const bool ok = writer_->write(pending_.data(), pending_.size());
  pending_.clear();
  return ok;
}

bool FileSink::close() {
  if (!writer_) return false;
  bool ok = pending_.empty() || writer_->write(pending_.data(), pending_.size());
  pending_.clear();
  ok = writer_->commit() && ok;
  return ok;
}

std::string FileSink::error() const {
  return writer_ && !writer_->error().empty() ? writer_->error() : "cannot write the file";
}

bool PrintPclToFile(Drawing& drawing, const std::string& fileName) {
  BusyCursor busy(drawing.host());
  FileSink sink(drawing.host().writeFaults());
  if (!sink.open(fileName)) {
    IOFAIL(drawing.host(), fileName, sink.error());
    return false;
  }
  const bool written = drawing.WritePcl(sink);
  if (!sink.close() || !written) {
    IOFAIL(drawing.host(), fileName, sink.error());
    return false;
  }
  return true;
}

bool PrintBitmap(Drawing& drawing, const std::string& toFile) {
  BusyCursor busy(drawing.host());
  return drawing.host().printPage(PageBits(drawing), toFile, drawing.state.LandscapeMode);
}

bool PrintDrawing(Drawing& drawing, bool pclMode, const std::string& printToFile,
                  const std::string& destination) {
  if (!pclMode) return PrintBitmap(drawing, printToFile);
  if (!printToFile.empty()) return PrintPclToFile(drawing, printToFile);
  return PrintPclToCups(drawing, destination);
}

std::vector<uint8_t> PageBits(const Drawing& drawing) {
  std::vector<uint8_t> bits(std::size_t(kRasterRows) * kRasterRowBytes);
  for (int r = 0; r < kRasterRows; ++r)
    std::memcpy(bits.data() + std::size_t(r) * kRasterRowBytes, drawing.image().row(r),
                kRasterRowBytes);
  return bits;
}

static bool writePbm(const std::string& fileName, int width, int height, int bytesPerRow,
                     const std::function<const uint8_t*(int)>& rowOf) {
  std::string head = "P4\n" + std::to_string(width) + " " + std::to_string(height) + "\n";
  std::vector<uint8_t> out(head.begin(), head.end());
  for (int r = 0; r < height; ++r) {
    const uint8_t* row = rowOf(r);
    out.insert(out.end(), row, row + bytesPerRow);
  }
  std::string error;
  return writeWholeFile(fileName, out, error);
}

bool WritePagePbm(const Drawing& drawing, const std::string& fileName) {
  return writePbm(fileName, kRasterCols, kRasterRows, kRasterRowBytes,
                  [&](int r) { return drawing.image().row(r); });
}

bool WriteBitmapPbm(const MonoBitmap& bitmap, const std::string& fileName) {
  return writePbm(fileName, bitmap.width(), bitmap.height(), bitmap.bytesPerRow(),
                  [&](int r) { return bitmap.row(r); });
}

}  // namespace plotane
