#pragma once
// The drawing window's file questions, kept apart from the window: whether the drawing may be
// closed or have a GRL file loaded over it (with the save question when it has changed), and
// GRL open and save under a chosen name. The window supplies the save step (its save dialog),
// so a save that was cancelled or failed keeps the drawing.

#include <functional>
#include <string>

namespace plotane {

class Drawing;

inline constexpr const char* kDrawingClosing = "Closing window --- Image has been changed--SAVE?";
inline constexpr const char* kDrawingReplacing =
    "Opening a GRL file --- Image has been changed--SAVE?";

// True when the drawing may go: unchanged, a script statement running, No, or Yes followed by a
// save that succeeded (the image no longer changed). Cancel, or a save cancelled or failed,
// keeps it. Asks at most once and changes nothing itself.
bool DrawingMayClose(Drawing& drawing, bool scriptRunning, const std::function<bool()>& save);

// Before a GRL file replaces the drawing: the same rule, with its own question.
bool DrawingMayBeReplaced(Drawing& drawing, const std::function<bool()>& save);

// The drawing's name for its caption and the next dialog: the whole path (only what is shown is
// ever cut, never the path that is opened or written).
void NameDrawing(Drawing& drawing, const std::string& path);

// Saves to a chosen file under its name; false (after the message) when the save failed.
bool SaveGrlAs(Drawing& drawing, const std::string& path);
// Loads a chosen file under its name; false (after the message) when it could not be read.
bool OpenGrlFile(Drawing& drawing, const std::string& path);

}  // namespace plotane
