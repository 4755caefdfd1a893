#include "shell/HelpTopics.h"

#include <algorithm>

namespace plotane {

const std::vector<HelpTopic>& HelpTopics() {
  static const std::vector<HelpTopic> topics = {
      // Dialogs of the graph definitions and drawing windows.
      {103, "graphdefs.html", "curve-style"},
      {104, "graphdefs.html", "graph-attributes"},
      {105, "drawing.html", "move-numeric"},
      {106, "graphdefs.html", "axis"},
      // The worksheet's menus.
      {107, "worksheet.html", "file"},
      {108, "worksheet.html", "attach"},
      {109, "worksheet.html", "create"},
      {110, "worksheet.html", "read"},
      {111, "worksheet.html", "write"},
      {112, "ebt.html", "window"},
      {113, "worksheet.html", "columns"},
      {114, "worksheet.html", "name"},
      {115, "worksheet.html", "save"},
      {116, "worksheet.html", "arith"},
      {117, "worksheet.html", "regression"},
      {118, "worksheet.html", "spline"},
      {119, "worksheet.html", "copy"},
      {120, "worksheet.html", "move"},
      {121, "worksheet.html", "erase"},
      {122, "worksheet.html", "series"},
      {123, "worksheet.html", "dsdir"},
      {124, "worksheet.html", "specs"},
      {125, "worksheet.html", "use-limits"},
      {126, "getting-started.html", "windows"},
      // The graph definitions window.
      {201, "graphdefs.html", "file"},
      {202, "graphdefs.html", "load"},
      {203, "graphdefs.html", "save"},
      {204, "graphdefs.html", "curves"},
      {205, "graphdefs.html", "newcurve"},
      {206, "graphdefs.html", "oldcurve"},
      {207, "graphdefs.html", "edit-attributes"},
      {208, "graphdefs.html", "remove"},
      {209, "graphdefs.html", "set-xs"},
      {210, "graphdefs.html", "axis-graph"},
      {211, "graphdefs.html", "drawing-prep"},
      {212, "graphdefs.html", "setup-cursors"},
      {213, "graphdefs.html", "blank"},
      // The drawing window.
      {300, "drawing.html", "modes"},
      {301, "drawing.html", "file"},
      {302, "drawing.html", "open-grl"},
      {303, "drawing.html", "save-grl"},
      {304, "drawing.html", "print"},
      {305, "drawing.html", "pcx"},
      {306, "drawing.html", "setparams"},
      {307, "drawing.html", "fontcode"},
      {308, "drawing.html", "linecode"},
      {309, "drawing.html", "angle"},
      {310, "drawing.html", "procedures"},
      {311, "drawing.html", "lines"},
      {312, "drawing.html", "graph"},
      {313, "drawing.html", "arrowhead"},
      {314, "drawing.html", "rectangle"},
      {315, "drawing.html", "circle"},
      {316, "drawing.html", "symbols"},
      {317, "drawing.html", "node"},
      {318, "drawing.html", "text"},
      {319, "drawing.html", "copy-block"},
      {320, "drawing.html", "move-block"},
      {321, "drawing.html", "draw-mode"},
      {322, "drawing.html", "erase-mode"},
      {323, "drawing.html", "vernier"},
      {324, "drawing.html", "char-mode"},
      {330, "drawing.html", "blocks"},
  };
  return topics;
}

namespace {
const HelpTopic* find(int context) {
  const auto& t = HelpTopics();
  auto it = std::lower_bound(t.begin(), t.end(), context,
                             [](const HelpTopic& h, int c) { return h.context < c; });
  return it != t.end() && it->context == context ? &*it : nullptr;
}
}  // namespace

bool HasHelpTopic(int context) { return find(context) != nullptr; }

std::string HelpTopicRef(int context) {
  const HelpTopic* t = find(context);
  if (!t) return kHelpContentsPage;
  std::string ref = t->page;
  if (*t->anchor) ref += std::string("#") + t->anchor;
  return ref;
}

}  // namespace plotane
