#include "shell/OpenByType.h"

#include "shell/AppContext.h"
#include "shell/base/Files.h"

namespace plotane {

FileKind fileKindOf(const std::string& name) {
  if (name.size() < 5 || name[name.size() - 4] != '.') return FileKind::None;
  std::string ext = upperCase(name.substr(name.size() - 3));
  if (ext == "EBT") return FileKind::Script;
  if (ext == "GRL") return FileKind::Drawing;
  if (ext == "GRD") return FileKind::GraphDefs;
  if (ext == "DSF") return FileKind::DataFile;
  return FileKind::None;
}

std::vector<std::string> scriptParameters(const std::vector<std::string>& params) {
  std::vector<std::string> out = params;
  if (!out.empty() && fileKindOf(out[0]) == FileKind::Script)
    out[0] = out[0].substr(0, out[0].size() - 4);
  return out;
}

bool openByType(AppContext& ctx, const std::string& name) {
  switch (fileKindOf(name)) {
    case FileKind::DataFile:
      ctx.store.ATTACHDSF(name);
      ctx.SHOWWORKSHEET();
      return !ctx.store.StoreError;
    case FileKind::GraphDefs:
      ctx.graph.LoadGrd(name);
      ctx.SHOWGRAPHDEFS();
      return !ctx.store.StoreError;
    case FileKind::Drawing: {
      Drawing& d = ctx.ensureDrawing();
      d.state.GrlFileName = name;
      d.UpdateDrawingCaption(true);
      d.state.GrlError = false;
      d.LoadGrl(name);
      ctx.SHOWDRAWING();
      return !d.state.GrlError;
    }
    case FileKind::Script:
    case FileKind::None:
      break;
  }
  return false;
}

}  // namespace plotane
