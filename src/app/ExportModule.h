#pragma once
// The entry table of the vector export module (libplotane_export.so, loaded on demand:
// shell/base/OnDemand.h). Cairo is loaded only by a run that writes SVG, PDF or a PNG at 600 or
// 1200 dpi; every other script starts without it.

#include <cstddef>
#include <string>

#include "vector/VectorExport.h"

namespace plotane {

struct ExportModule {
  std::size_t size;  // sizeof(ExportModule) of the module's build
  // ExportDrawing (vector/VectorExport.h).
  bool (*exportDrawing)(const Drawing& drawing, VectorFormat format, const std::string& fileName,
                        int dpi, std::string& error, WriteFaults* faults);
};

}  // namespace plotane
