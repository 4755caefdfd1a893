#pragma once
// The page through the platform: as an image (PNG export), printed as a 300-dpi bitmap through
// Qt's printing service, or written as a PDF. Printer and PDF get the same sheet: the page's
// 8 x 10 inches a quarter inch in from the top left of the paper, as one 1-bit image that the
// PDF keeps losslessly (never resampled, never JPEG).

#include <cstdint>
#include <string>
#include <vector>

#include <QImage>
#include <QPageSize>

class QPagedPaintDevice;
class QPrinter;
class QWidget;

namespace plotane {

// The page bits (3000 rows of 300 bytes, set bit black, high bit leftmost) as a 1-bit image of
// 2400 x 3000 pixels at 300 dots per inch, ink black on white.
QImage PageImage(const std::vector<uint8_t>& pageBits);

// The page as it lies on the sheet: a 1-bit image whose colour table is black, white (the form a
// PDF stores as a 1-bit image as it stands), 2400 x 3000 in portrait; in landscape the raster
// turned a quarter turn to the left, 3000 x 2400, so that the landscape page reads upright.
QImage SheetImage(const std::vector<uint8_t>& pageBits, bool landscape);

// The paper a PDF of the page is made for: the default printer's, else the one of the user's
// measurement system (Letter in the US, A4 elsewhere).
QPageSize DefaultPaper();

// Draws the page onto a device that is set up and open for its first page (a printer after its
// dialog, a PDF writer): the sheet in the page's orientation, the page a quarter inch in from the
// top left, unscaled at the device's resolution. False with `error` set when the page does not
// fit on the device's paper or the device cannot be painted on.
bool DrawPageOnSheet(QPagedPaintDevice& device, const std::vector<uint8_t>& pageBits,
                     bool landscape, std::string& error);

// The PDF of the page: the one writer of the printed page to a file (--print-to in Windows print
// mode, "Export PDF..."). The file is replaced only when the whole PDF was written.
bool WritePagePdf(const std::vector<uint8_t>& pageBits, bool landscape, const std::string& fileName,
                  std::string& error, const QPageSize& paper = DefaultPaper());

// Prints the page on a printer set up by the caller (the print dialog's choice).
bool PrintPageOn(QPrinter& printer, const std::vector<uint8_t>& pageBits, bool landscape,
                 std::string& error);

// Prints the page. With toFile set it writes the PDF of the page there (WritePagePdf); otherwise
// it prints to a printer on its own paper, first showing the print dialog when dialogParent is
// given (without one, the default printer). False with `error` set when nothing was printed; a
// dialog the user cancelled gives false with an empty error.
bool PrintPageImage(const std::vector<uint8_t>& pageBits, const std::string& toFile,
                    QWidget* dialogParent, std::string& error, bool landscape = false);

}  // namespace plotane
