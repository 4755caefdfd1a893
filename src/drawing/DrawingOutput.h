#pragma once
// Output of the page raster: PCX blocks, the PCL raster stream and its destinations (a file or a
// pass-through print job), and the page as a plain 1-bit image.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "drawing/Drawing.h"
#include "shell/base/Files.h"

namespace plotane {

// One PCX line (after inversion) in the PCX run-length code, appended to out.
void encodePcxLine(const uint8_t* line, int length, std::vector<uint8_t>& out);

// The PCL header of one raster row of n bytes: ESC "*b" n "W".
std::string pclRowHeader(int n);

// Collects the stream in memory (tests, previews of the stream).
class MemorySink : public ByteSink {
 public:
  std::vector<uint8_t> bytes;
  bool write(const uint8_t* data, std::size_t n) override {
    bytes.insert(bytes.end(), data, data + n);
    return true;
  }
};

// Writes the stream to a file, replacing it only when the whole stream is written (see
// AtomicWriter); a sink closed without success leaves the old file as it was.
class FileSink : public ByteSink {
 public:
  explicit FileSink(WriteFaults* faults = nullptr);
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;
  ~FileSink() override;
  bool open(const std::string& fileName);
  bool write(const uint8_t* data, std::size_t n) override;
  bool close();  // false when a write, the sync or the rename failed
  std::string error() const;

 private:
  WriteFaults* faults_;
  std::unique_ptr<AtomicWriter> writer_;
  std::vector<uint8_t> pending_;
};

// The PCL stream of the page written to a file; false after the I/O message.
bool PrintPclToFile(Drawing& drawing, const std::string& fileName);

// One print job to a CUPS queue carrying the PCL stream unchanged, in the format the queue says
// it takes (ChoosePclFormat in PrintJob.h); a queue that does not take PCL is refused with a
// message. An empty destination means the default queue. Failures show a message (the printing
// service's own text where it has one) and return false; a job that was created and then failed
// is cancelled, so nothing stays queued.
bool PrintPclToCups(Drawing& drawing, const std::string& destination = {},
                    const std::string& title = "Plotane drawing");

// The page as a bitmap through the platform printing service (Host::printPage); with toFile set
// the service writes the page to that file instead.
bool PrintBitmap(Drawing& drawing, const std::string& toFile = {});

// Printing in the chosen mode (the application context keeps it): with pclMode the PCL stream
// (to printToFile when set, otherwise a CUPS job to destination or the default queue), else the
// page bitmap.
bool PrintDrawing(Drawing& drawing, bool pclMode, const std::string& printToFile = {},
                  const std::string& destination = {});

// The page as a plain 1-bit image: 3000 rows of 300 bytes, set bit black, leftmost pixel in the
// most significant bit (the layout of a PBM raster and of a mono image with a black=1 table).
std::vector<uint8_t> PageBits(const Drawing& drawing);
// A binary PBM (P4) of the page; false when the file cannot be written.
bool WritePagePbm(const Drawing& drawing, const std::string& fileName);
// A binary PBM of any 1-bit bitmap (the preview).
bool WriteBitmapPbm(const MonoBitmap& bitmap, const std::string& fileName);

}  // namespace plotane
