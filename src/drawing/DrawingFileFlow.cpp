#include "drawing/DrawingFileFlow.h"

#include "drawing/Drawing.h"
#include "shell/base/Files.h"
#include "shell/base/Host.h"

namespace plotane {

namespace {

// The name a script gives the drawing is kept to the same length.
constexpr std::size_t kGrlNameLength = 255;

bool mayLeave(Drawing& d, const char* question, const std::function<bool()>& save) {
  if (!d.state.ImageChanged) return true;
  switch (d.host().ask(question, true)) {
    case Answer::Cancel:
      return false;
    case Answer::No:
      return true;
    case Answer::Yes:
      break;
  }
  return save && save() && !d.state.ImageChanged;
}

}  // namespace

bool DrawingMayClose(Drawing& drawing, bool scriptRunning, const std::function<bool()>& save) {
  if (scriptRunning) return true;
  return mayLeave(drawing, kDrawingClosing, save);
}

bool DrawingMayBeReplaced(Drawing& drawing, const std::function<bool()>& save) {
  return mayLeave(drawing, kDrawingReplacing, save);
}

void NameDrawing(Drawing& drawing, const std::string& path) {
  drawing.state.GrlFileName = cut(path, kGrlNameLength);
  drawing.UpdateDrawingCaption(true);
}

bool SaveGrlAs(Drawing& drawing, const std::string& path) {
  NameDrawing(drawing, path);
  drawing.state.GrlError = false;
  drawing.SaveGrl(path);
  return !drawing.state.GrlError;
}

bool OpenGrlFile(Drawing& drawing, const std::string& path) {
  NameDrawing(drawing, path);
  drawing.state.GrlError = false;
  drawing.LoadGrl(path);
  return !drawing.state.GrlError;
}

}  // namespace plotane
