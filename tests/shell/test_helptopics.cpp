// Every help context number leads to a page of the manual and an element that exists on it, and
// the manual's help project lists every page it links to.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "shell/HelpTopics.h"

namespace plotane {
namespace {

std::string manualFile(const std::string& name) {
  const char* src = std::getenv("PLOTANE_SOURCE_DIR");
  std::ifstream f(std::string(src ? src : ".") + "/docs/manual/" + name);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

TEST(HelpTopics, EveryContextNumberOpensAnExistingTopic) {
  // The numbers the menus and dialogs carry.
  std::set<int> used = {103, 104, 105, 106};
  for (int c = 107; c <= 126; ++c) used.insert(c);
  for (int c = 201; c <= 213; ++c) used.insert(c);
  for (int c = 300; c <= 324; ++c) used.insert(c);
  used.insert(330);
  for (int c : used) EXPECT_TRUE(HasHelpTopic(c)) << c;

  int previous = 0;
  for (const HelpTopic& t : HelpTopics()) {
    EXPECT_GT(t.context, previous) << "topics must be in ascending order";
    previous = t.context;
    std::string page = manualFile(t.page);
    ASSERT_FALSE(page.empty()) << t.page;
    EXPECT_NE(page.find(std::string("id=\"") + t.anchor + "\""), std::string::npos)
        << t.context << " " << t.page << "#" << t.anchor;
  }
  // Contents and unknown numbers lead to the contents page.
  EXPECT_EQ(HelpTopicRef(0), "index.html");
  EXPECT_EQ(HelpTopicRef(999), "index.html");
  EXPECT_EQ(HelpTopicRef(312), "drawing.html#graph");
}

TEST(HelpTopics, TheHelpProjectHoldsEveryLinkedPageAndAnchor) {
  std::string project = manualFile("plotane.qhp");
  ASSERT_FALSE(project.empty());
  std::set<std::string> files;
  std::regex fileRe("<file>([^<]+)</file>");
  for (std::sregex_iterator i(project.begin(), project.end(), fileRe), e; i != e; ++i)
    files.insert((*i)[1]);
  // Every link between pages of the manual stays inside it and finds its anchor.
  std::regex linkRe("href=\"([a-z-]+\\.(?:html|css))(?:#([a-z0-9-]+))?\"");
  for (const std::string& f : files) {
    if (!f.ends_with(".html")) continue;
    std::string page = manualFile(f);
    for (std::sregex_iterator i(page.begin(), page.end(), linkRe), e; i != e; ++i) {
      std::string target = (*i)[1];
      EXPECT_TRUE(files.count(target)) << f << " links to " << target;
      if ((*i)[2].matched) {
        EXPECT_NE(manualFile(target).find("id=\"" + std::string((*i)[2]) + "\""), std::string::npos)
            << f << " links to " << target << "#" << (*i)[2];
      }
    }
  }
  for (const HelpTopic& t : HelpTopics()) EXPECT_TRUE(files.count(t.page)) << t.page;
}

}  // namespace
}  // namespace plotane
