#include "drawing/ui/PagePng.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>

#include "drawing/ui/PagePrinter.h"
#include "shell/base/Files.h"

namespace plotane {

bool WritePagePng(const std::vector<uint8_t>& pageBits, const std::string& fileName,
                  std::string& error, WriteFaults* faults) {
  // Encoded in memory first, then written as a whole through the atomic writer.
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "PNG");
  if (!writer.write(PageImage(pageBits))) {
    error = "cannot encode the image: " + writer.errorString().toStdString();
    return false;
  }
  std::vector<uint8_t> bytes(png.begin(), png.end());
  return writeWholeFile(fileName, bytes, error, faults);
}

}  // namespace plotane
