#include "drawing/PagePng.h"

#include <dlfcn.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <new>

#include "drawing/Drawing.h"
#include "shell/base/Files.h"

namespace plotane {

namespace {

constexpr int kWidth = 2400, kRows = 3000, kRowBytes = 300;
constexpr png_uint_32 kDotsPerMetre = 11811;  // 300 dots per inch

// libpng, opened by the first image written: the program does not link it, so that a run that
// writes no PNG never loads it (nor the compression library it pulls in).
static_assert(PNG_LIBPNG_VER_SONUM == 16, "the library's file name below");
constexpr char kPngLibrary[] = "libpng16.so.16";

#define PLOTANE_PNG_FUNCTIONS(X)                                                         \
  X(png_create_write_struct)                                                             \
  X(png_create_info_struct)                                                              \
  X(png_destroy_write_struct) X(png_set_write_fn) X(png_get_io_ptr) X(png_get_error_ptr) \
      X(png_error) X(png_longjmp) X(png_set_longjmp_fn) X(png_set_IHDR) X(png_set_PLTE)  \
          X(png_set_pHYs) X(png_set_filter) X(png_set_compression_level)                 \
              X(png_set_compression_strategy) X(png_write_info) X(png_write_row) X(png_write_end)

struct PngLibrary {
#define PLOTANE_PNG_POINTER(f) decltype(&::f) f = nullptr;
  PLOTANE_PNG_FUNCTIONS(PLOTANE_PNG_POINTER)
#undef PLOTANE_PNG_POINTER

  // False with `error` set when the library or one of its functions is missing.
  bool load(std::string& error) {
    void* lib = ::dlopen(kPngLibrary, RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
      const char* e = ::dlerror();
      error = e ? e : std::string(kPngLibrary) + " is missing";
      return false;
    }
#define PLOTANE_PNG_LOAD(f)                               \
  f = reinterpret_cast<decltype(&::f)>(::dlsym(lib, #f)); \
  if (!f) {                                               \
    error = std::string(kPngLibrary) + " has no " #f;     \
    return false;                                         \
  }
    PLOTANE_PNG_FUNCTIONS(PLOTANE_PNG_LOAD)
#undef PLOTANE_PNG_LOAD
    return true;
  }
};

struct Output {
  const PngLibrary& lib;
  std::vector<uint8_t> bytes;
  std::string error;
};

// The Output of a write in progress, from libpng's callbacks. They get no context of their own
// and the library's getter is reached through the open library, found again by name.
Output* outputOf(png_structp png, bool errorPointer) {
  void* lib = ::dlopen(kPngLibrary, RTLD_NOW | RTLD_NOLOAD);
  if (!lib) return nullptr;
  using Getter = png_voidp (*)(png_const_structrp);
  auto get =
      reinterpret_cast<Getter>(::dlsym(lib, errorPointer ? "png_get_error_ptr" : "png_get_io_ptr"));
  ::dlclose(lib);
  return get ? static_cast<Output*>(get(png)) : nullptr;
}

void appendBytes(png_structp png, png_bytep data, png_size_t n) {
  Output* out = outputOf(png, false);
  bool grown = out != nullptr;
  try {
    if (out) out->bytes.insert(out->bytes.end(), data, data + n);
  } catch (const std::bad_alloc&) {
    grown = false;
  }
  // No exception may cross libpng's frames: its own error path unwinds them.
  if (!grown && out) out->lib.png_error(png, "out of memory");
}

void onError(png_structp png, png_const_charp text) {
  Output* out = outputOf(png, true);
  if (!out) std::abort();  // only libpng calls this, so the library is open
  out->error = text;
  out->lib.png_longjmp(png, 1);
}

void noFlush(png_structp) {}

void onWarning(png_structp, png_const_charp) {}

// Owns libpng's write structures.
struct Writer {
  const PngLibrary& lib;
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~Writer() {
    if (png) lib.png_destroy_write_struct(&png, &info);
  }
};

// Encodes the rows row(r), each kRowBytes bytes; false when libpng gave up (the error is in
// out.error). Kept apart from the callers so that no object with a destructor lives across the
// setjmp.
template <class Row>
bool encode(Writer& w, const Row& row) {
  const PngLibrary& png = w.lib;
  if (setjmp(*png.png_set_longjmp_fn(w.png, longjmp, sizeof(jmp_buf)))) return false;
  png.png_set_IHDR(w.png, w.info, kWidth, kRows, 1, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                   PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  // Index 0 paper, index 1 ink: the page bits go in as they are.
  png_color palette[2] = {{255, 255, 255}, {0, 0, 0}};
  png.png_set_PLTE(w.png, w.info, palette, 2);
  png.png_set_pHYs(w.png, w.info, kDotsPerMetre, kDotsPerMetre, PNG_RESOLUTION_METER);
  // A line drawing is mostly blank runs: no row filter and run-length deflate compress it about
  // as well as the slow settings, at a fraction of the time.
  png.png_set_filter(w.png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png.png_set_compression_level(w.png, 1);
  png.png_set_compression_strategy(w.png, Z_RLE);
  png.png_write_info(w.png, w.info);
  for (int r = 0; r < kRows; ++r) png.png_write_row(w.png, const_cast<png_bytep>(row(r)));
  png.png_write_end(w.png, nullptr);
  return true;
}

// The PNG of the rows row(r).
template <class Row>
std::vector<uint8_t> encodeImage(const Row& row, std::string& error) {
  PngLibrary png;
  if (!png.load(error)) {
    error = "cannot encode the image: " + error;
    return {};
  }
  Output out{png, {}, {}};
  out.bytes.reserve(64 * 1024);
  Writer w{png};
  w.png = png.png_create_write_struct(PNG_LIBPNG_VER_STRING, &out, onError, onWarning);
  if (w.png) w.info = png.png_create_info_struct(w.png);
  if (!w.png || !w.info) {
    error = "cannot encode the image: out of memory";
    return {};
  }
  png.png_set_write_fn(w.png, &out, appendBytes, noFlush);
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
