#include "drawing/ui/DrawingExport.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QStringList>

#include "drawing/Drawing.h"
#include "drawing/DrawingOutput.h"
#include "drawing/PagePng.h"
#include "shell/base/Host.h"

namespace plotane {

namespace {

const char* const kResolutions[] = {"300 dpi (the page raster)", "600 dpi", "1200 dpi"};

}  // namespace

ExportPrompts::ExportPrompts() : fileName(AskExportFileName), resolution(AskExportResolution) {}

QString AskExportFileName(QWidget* parent, const QString& caption, const QString& filter,
                          const QString& defaultSuffix, const QString& suggested) {
  QFileDialog dialog(parent, caption, suggested, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(defaultSuffix);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

int AskExportResolution(QWidget* parent) {
  QStringList items;
  for (const char* r : kResolutions) items << QString::fromLatin1(r);
  bool ok = false;
  const QString choice =
      QInputDialog::getItem(parent, "Export PNG", "Resolution:", items, 0, false, &ok);
  if (!ok) return 0;
  const int index = int(items.indexOf(choice));
  return index == 1 ? 600 : index == 2 ? 1200 : 300;
}

bool ExportDrawingCommand(QWidget* parent, Drawing& drawing, VectorFormat format,
                          const ExportPrompts& prompts) {
  int dpi = 300;
  if (format == VectorFormat::Png) {
    dpi = prompts.resolution(parent);
    if (dpi != 300 && !IsVectorPngDpi(dpi)) return false;
  }
  const QString suffix = format == VectorFormat::Svg   ? "svg"
                         : format == VectorFormat::Pdf ? "pdf"
                                                       : "png";
  const QString caption = format == VectorFormat::Svg   ? "Export SVG"
                          : format == VectorFormat::Pdf ? "Export PDF"
                                                        : "Export PNG";
  const QString filter = format == VectorFormat::Svg   ? "SVG drawings (*.svg);;All files (*)"
                         : format == VectorFormat::Pdf ? "PDF documents (*.pdf);;All files (*)"
                                                       : "PNG images (*.png);;All files (*)";
  // Beside the drawing's GRL, under its name, when it has one.
  const QString grl = QString::fromLocal8Bit(drawing.state.GrlFileName.c_str());
  const QString suggested = grl.isEmpty() ? "drawing." + suffix
                                          : QFileInfo(grl).path() + "/" +
                                                QFileInfo(grl).completeBaseName() + "." + suffix;
  const QString name = prompts.fileName(parent, caption, filter, suffix, suggested);
  if (name.isEmpty()) return false;
  const std::string file = name.toLocal8Bit().toStdString();
  std::string error;
  bool ok;
  {
    BusyCursor busy(drawing.host());
    ok = format == VectorFormat::Png && dpi == 300
             ? WritePagePng(drawing, file, error, drawing.host().writeFaults())
             : ExportDrawing(drawing, format, file, dpi, error, drawing.host().writeFaults());
  }
  if (!ok)
    drawing.host().message("Cannot write " + file + ": " +
                               (error.empty() ? std::string("the file was not written") : error),
                           caption.toStdString());
  return ok;
}

}  // namespace plotane
