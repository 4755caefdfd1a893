#pragma once
// The page through the platform: as an image (PNG export) and printed as a 300-dpi bitmap
// through Qt's printing service, or into a PDF file.

#include <cstdint>
#include <string>
#include <vector>

#include <QImage>

class QWidget;

namespace plotane {

// The page bits (3000 rows of 300 bytes, set bit black, high bit leftmost) as a 1-bit image of
// 2400 x 3000 pixels at 300 dots per inch, ink black on white.
QImage PageImage(const std::vector<uint8_t>& pageBits);

// Prints the page at its size of 8 x 10 inches. With toFile set it writes a PDF of the page there;
// otherwise it prints to a printer, first showing the print dialog when dialogParent is given
// (without one, the default printer). False with `error` set when nothing was printed; a dialog
// the user cancelled gives false with an empty error.
bool PrintPageImage(const std::vector<uint8_t>& pageBits, const std::string& toFile,
                    QWidget* dialogParent, std::string& error);

}  // namespace plotane
