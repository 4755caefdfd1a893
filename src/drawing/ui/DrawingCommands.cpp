#include "drawing/ui/DrawingCommands.h"

#include <QWidget>

#include "shell/AppContext.h"

namespace plotane {

DrawingCommands::DrawingCommands(AppContext& ctx, QWidget* window)
    : QObject(window), ctx_(ctx), window_(window) {}

DrawingCommands::~DrawingCommands() = default;

bool DrawingCommands::boxOpen() const { return false; }

void DrawingCommands::chooseFontCode() {}
void DrawingCommands::chooseLineCode() {}
void DrawingCommands::chooseTextAngle() {}
void DrawingCommands::choosePointSizeCode() {}
void DrawingCommands::startArrowhead() {}
void DrawingCommands::startCircleArc() {}
void DrawingCommands::moveNumeric(bool) {}
void DrawingCommands::startBlock(bool) {}
void DrawingCommands::startPcx() {}
void DrawingCommands::closeBoxes() {}

}  // namespace plotane
