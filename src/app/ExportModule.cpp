// The vector export module: ExportDrawing behind the entry table of app/ExportModule.h.

#include "app/ExportModule.h"

namespace plotane {

namespace {

const ExportModule kModule{sizeof(ExportModule), ExportDrawing};

}  // namespace

}  // namespace plotane

extern "C" __attribute__((visibility("default"))) const void* plotane_export_module() {
  return &plotane::kModule;
}
