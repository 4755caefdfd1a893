#pragma once
// A file given to the program (from the desktop or the command line) with its extension opens
// by its type: a drawing (GRL) in the drawing window, graph definitions (GRD) loaded, a data file
// (DSF) attached, a script (EBT) run as a script named on the command line.

#include <string>
#include <vector>

namespace plotane {

class AppContext;

enum class FileKind { None, Script, Drawing, GraphDefs, DataFile };

// By the extension, in any case; None for anything else (a script name without extension).
FileKind fileKindOf(const std::string& name);

// Start-up parameters for a script given with its extension: the name without ".EBT" first,
// then the other parameters.
std::vector<std::string> scriptParameters(const std::vector<std::string>& params);

// Opens a drawing, graph definitions or data file; shows the window it belongs to. False
// (after the file's own message) when it could not be read; scripts and unknown kinds are not
// opened here.
bool openByType(AppContext& ctx, const std::string& name);

}  // namespace plotane
