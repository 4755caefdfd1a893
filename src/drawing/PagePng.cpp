#include "drawing/PagePng.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstring>
#include <new>

#include "drawing/Drawing.h"
#include "shell/base/Files.h"

namespace plotane {

namespace {

constexpr int kWidth = 2400, kRows = 3000, kRowBytes = 300;
constexpr png_uint_32 kDotsPerMetre = 11811;  // 300 dots per inch

struct Output {
  std::vector<uint8_t> bytes;
  std::string error;
};

void appendBytes(png_structp png, png_bytep data, png_size_t n) {
  auto* out = static_cast<Output*>(png_get_io_ptr(png));
  bool grown = true;
  try {
    out->bytes.insert(out->bytes.end(), data, data + n);
  } catch (const std::bad_alloc&) {
    grown = false;
  }
  // No exception may cross libpng's frames: its own error path unwinds them.
  if (!grown) png_error(png, "out of memory");
}

void noFlush(png_structp) {}

void onError(png_structp png, png_const_charp text) {
  if (auto* out = static_cast<Output*>(png_get_error_ptr(png))) out->error = text;
  png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// Owns libpng's write structures.
struct Writer {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~Writer() { png_destroy_write_struct(&png, &info); }
};

// Encodes the rows row(r), each kRowBytes bytes; false when libpng gave up (the error is in
// out.error). Kept apart from the callers so that no object with a destructor lives across the
// setjmp.
template <class Row>
bool encode(Writer& w, const Row& row) {
  if (setjmp(png_jmpbuf(w.png))) return false;
  png_set_IHDR(w.png, w.info, kWidth, kRows, 1, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  // Index 0 paper, index 1 ink: the page bits go in as they are.
  png_color palette[2] = {{255, 255, 255}, {0, 0, 0}};
  png_set_PLTE(w.png, w.info, palette, 2);
  png_set_pHYs(w.png, w.info, kDotsPerMetre, kDotsPerMetre, PNG_RESOLUTION_METER);
  // A line drawing is mostly blank runs: no row filter and run-length deflate compress it about
  // as well as the slow settings, at a fraction of the time.
  png_set_filter(w.png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_compression_level(w.png, 1);
  png_set_compression_strategy(w.png, Z_RLE);
  png_write_info(w.png, w.info);
  for (int r = 0; r < kRows; ++r) png_write_row(w.png, const_cast<png_bytep>(row(r)));
  png_write_end(w.png, nullptr);
  return true;
}

// The PNG of the rows row(r).
template <class Row>
std::vector<uint8_t> encodeImage(const Row& row, std::string& error) {
  Output out;
  out.bytes.reserve(64 * 1024);
  Writer w;
  w.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &out, onError, onWarning);
  if (w.png) w.info = png_create_info_struct(w.png);
  if (!w.png || !w.info) {
    error = "cannot encode the image: out of memory";
    return {};
  }
  png_set_write_fn(w.png, &out, appendBytes, noFlush);
  if (!encode(w, row)) {
    error = "cannot encode the image: " + out.error;
    return {};
  }
  return std::move(out.bytes);
}

constexpr uint8_t kBlankRow[kRowBytes] = {};

}  // namespace

std::vector<uint8_t> PagePngImage(const std::vector<uint8_t>& pageBits, std::string& error) {
  return encodeImage(
      [&](int r) {
        const std::size_t at = std::size_t(r) * kRowBytes;
        return pageBits.size() >= at + kRowBytes ? pageBits.data() + at : kBlankRow;
      },
      error);
}

std::vector<uint8_t> PagePngImage(const Drawing& drawing, std::string& error) {
  const DrawingImage& image = drawing.image();
  return encodeImage([&](int r) { return image.row(r); }, error);
}

bool WritePagePng(const Drawing& drawing, const std::string& fileName, std::string& error,
                  WriteFaults* faults) {
  std::vector<uint8_t> png = PagePngImage(drawing, error);
  if (png.empty()) return false;
  return writeWholeFile(fileName, png, error, faults);
}

bool WritePagePng(const std::vector<uint8_t>& pageBits, const std::string& fileName,
                  std::string& error, WriteFaults* faults) {
  // Encoded in memory first, then written as a whole through the atomic writer.
  std::vector<uint8_t> png = PagePngImage(pageBits, error);
  if (png.empty()) return false;
  return writeWholeFile(fileName, png, error, faults);
}

}  // namespace plotane
