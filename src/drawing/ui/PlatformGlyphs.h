#pragma once
// Platform fonts for the drawing's letter font codes, drawn with Qt: the Qt host's platformText
// calls RenderPlatformText. A QGuiApplication must exist.

#include "shell/base/Host.h"

namespace plotane {

// Measures the text in the requested font (face, style, em height in pixels) and, when asked,
// draws it black on a white canvas of canvasSize x canvasSize pixels with its baseline on
// baselineRow, starting at column 0, without smoothing. False when no font can be used.
bool RenderPlatformText(const PlatformTextRequest& request, PlatformTextResult& result);

}  // namespace plotane
