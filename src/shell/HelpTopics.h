#pragma once
// The manual's topic for each help context number the menus and dialogs carry: F1 on a menu item
// opens its topic. The pages live in docs/manual.

#include <string>
#include <vector>

namespace plotane {

struct HelpTopic {
  int context;
  const char* page;    // file of the manual, for example "worksheet.html"
  const char* anchor;  // element id on that page; empty for the page's top
};

// Every context number in use, in ascending order.
const std::vector<HelpTopic>& HelpTopics();

// "page.html#anchor" for a context number; the contents page for 0 and for unknown numbers.
std::string HelpTopicRef(int context);
bool HasHelpTopic(int context);

// The page of the manual that opens the help (its contents).
constexpr const char* kHelpContentsPage = "index.html";

}  // namespace plotane
