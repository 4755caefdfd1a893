#pragma once
// The drawing window's "Export SVG...", "Export PDF..." and "Export PNG..." commands: a save
// dialog (with its filter, default extension and overwrite prompt), for PNG a choice of
// resolution, then the file written under the busy cursor; a failure is shown as a message.

#include <QString>
#include <functional>

#include "vector/VectorExport.h"

class QWidget;

namespace plotane {

class Drawing;

// What the commands ask the user; the defaults show the real dialogs (tests answer instead).
struct ExportPrompts {
  // The file to write, empty when cancelled.
  std::function<QString(QWidget* parent, const QString& caption, const QString& filter,
                        const QString& defaultSuffix, const QString& suggested)>
      fileName;
  // 300, 600 or 1200 dots per inch; 0 when cancelled.
  std::function<int(QWidget* parent)> resolution;
  ExportPrompts();
};

// The save dialog of the export commands (the default prompt).
QString AskExportFileName(QWidget* parent, const QString& caption, const QString& filter,
                          const QString& defaultSuffix, const QString& suggested);
// The resolution choice of "Export PNG..." (the default prompt).
int AskExportResolution(QWidget* parent);

// One export command. False when cancelled or when the file could not be written (the
// message has been shown through the drawing's host then).
bool ExportDrawingCommand(QWidget* parent, Drawing& drawing, VectorFormat format,
                          const ExportPrompts& prompts = ExportPrompts());

}  // namespace plotane
