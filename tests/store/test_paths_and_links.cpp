// Patterns that must not widen into "everything", the current DSDir as the user typed it, and
// the X links that loads make: to the first loaded copy, and never to a handle that REPLACESERIES
// wrote without its having been stored or loaded.

#include <gtest/gtest.h>

#include <array>

#include "NewDsf.h"
#include "store/PathPattern.h"

using namespace plotane;

namespace {

// Tree: .S1; .A (.A.X, .A.D empty); .E empty; series X at the root too.
struct PathTest : test::NewDsf {
  PathTest() : NewDsf("P.DSF") {}
  void SetUp() override {
    NewDsf::SetUp();
    save("S1");
    store.MAKEDSDIR("A");
    save(".A.X");
    store.MAKEDSDIR(".A.D");
    store.MAKEDSDIR("E");
    save("X");
    ASSERT_FALSE(store.StoreError) << host.lastMessage();
    host.clear();
  }
  void save(const std::string& path) {
    Series s;
    store.NEWSERIES(s, false, "");
    store.PUTVAL(s, 0, 1.0);
    store.SAVESERIES(s, path);
  }
  std::vector<std::string> everything() {
    std::vector<std::string> out;
    store.LISTSERIESPATHS("&", out);
    std::vector<std::string> dirs;
    store.TREELISTLINES(dirs);
    out.insert(out.end(), dirs.begin(), dirs.end());
    return out;
  }
};

TEST(PatternParsing, BlankAfterLeadingAnyOrPointIsAnEmptyComponent) {
  PathPattern p;
  // A blank right after the leading "&" or "." leaves an empty component.
  EXPECT_FALSE(parsePathPattern("& X", ".TOP", p));
  EXPECT_FALSE(parsePathPattern(". X", ".TOP", p));
  EXPECT_FALSE(parsePathPattern("& ", ".TOP", p));
  EXPECT_FALSE(parsePathPattern("&. X", "", p));
  // Without the blank these are the patterns they look like.
  ASSERT_TRUE(parsePathPattern("&X", ".TOP", p));
  EXPECT_EQ(p.components, (std::vector<std::string>{"&", "X"}));
  EXPECT_TRUE(p.rootedAnywhere);
  EXPECT_FALSE(p.all);
  ASSERT_TRUE(parsePathPattern(".X", ".TOP", p));
  EXPECT_EQ(p.components, (std::vector<std::string>{"X"}));
  EXPECT_FALSE(p.namesRoot);
  // Only "&" or "." alone (after leading blanks) means all or the root.
  ASSERT_TRUE(parsePathPattern("  &", ".TOP", p));
  EXPECT_TRUE(p.all);
  ASSERT_TRUE(parsePathPattern(".", ".TOP", p));
  EXPECT_TRUE(p.namesRoot);
  EXPECT_TRUE(p.components.empty());
}

TEST_F(PathTest, ErasingOrDeletingWithABlankAfterTheLeadCharacterRemovesNothing) {
  const std::vector<std::string> before = everything();
  for (const char* pattern : {"& X", "& S1", ". X", "& "}) {
    host.clear();
    store.ERASESERIES(pattern);
    EXPECT_TRUE(store.StoreError) << pattern;
    EXPECT_EQ(host.messages, (std::vector<std::string>{"Name syntax err"})) << pattern;
    store.DELETEDSDIR(pattern);
    EXPECT_TRUE(store.StoreError) << pattern;
    EXPECT_EQ(everything(), before) << pattern;
  }
  // "." names the root itself: no series is erased, the root is never deleted.
  host.clear();
  store.ERASESERIES(".");
  store.DELETEDSDIR(".");
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(everything(), before);
  // The same patterns without the blank reach only what they name.
  store.ERASESERIES("&X");
  EXPECT_FALSE(store.StoreError);
  std::vector<std::string> left;
  store.LISTSERIESPATHS("&", left);
  EXPECT_EQ(left, (std::vector<std::string>{".S1"}));
  store.DELETEDSDIR(".E");
  EXPECT_FALSE(store.StoreError);
  EXPECT_EQ(store.FINDENTRY(".A.D").kind, kDsDirKind);  // not touched
  EXPECT_EQ(store.FINDENTRY(".E").record, 0xFFFF);
}

TEST_F(PathTest, SetDsDirKeepsThePathAsTypedAndRefusesABlankAfterThePoint) {
  store.SETDSDIR(". A");
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.lastMessage(), "Name syntax err");
  EXPECT_EQ(store.CurrentPath(), "");
  store.SETDSDIR("a");
  ASSERT_FALSE(store.StoreError);
  EXPECT_EQ(store.CurrentPath(), ".a");  // stored as A, kept as typed
  store.SETDSDIR("d.");
  ASSERT_FALSE(store.StoreError);
  EXPECT_EQ(store.CurrentPath(), ".a.d");
  Series s;
  store.NEWSERIES(s, false, "");
  store.PUTVAL(s, 0, 2.0);
  store.SAVESERIES(s, "New");
  ASSERT_FALSE(store.StoreError);
  EXPECT_EQ(s.path(), ".a.d.New");
  store.SETDSDIR(".A.D.NOPE");
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(store.CurrentPath(), ".a.d");
  store.SETDSDIR(".e junk");  // the blank ends the path
  ASSERT_FALSE(store.StoreError);
  EXPECT_EQ(store.CurrentPath(), ".e");
}

// Y stored with X as its X series; the handles are then given up.
struct XLinkTest : PathTest {
  void SetUp() override {
    PathTest::SetUp();
    save("Y");
    store.SETXSPEC("Y", "X");
    ASSERT_FALSE(store.StoreError);
    host.clear();
  }
};

TEST_F(XLinkTest, LoadLinksToTheFirstLoadedCopyOfTheX) {
  Series first, second, y;
  store.LOADONE(first, "X");
  store.LOADONE(second, ".x");
  ASSERT_FALSE(store.StoreError);
  ASSERT_EQ(first.nameBlock->storedRecord, second.nameBlock->storedRecord);
  store.LOADONE(y, "Y");
  EXPECT_FALSE(store.StoreError);
  EXPECT_EQ(y.xLink, &first);
  // With the first copy gone the second one is the first.
  store.DISPOSESERIES(first);
  store.LOADONE(y, "Y");
  EXPECT_EQ(y.xLink, &second);
}

TEST_F(XLinkTest, ReplaceOfANeverStoredHandleLeavesItUnstored) {
  Series h, check, y;
  store.NAMEDNEWSERIES(h, ".X", "");
  store.PUTVAL(h, 0, 7.0);
  store.REPLACESERIES(".X");
  ASSERT_FALSE(store.StoreError) << host.lastMessage();
  // The file holds the new values...
  store.LOADONE(check, "X");
  EXPECT_EQ(store.GETVAL(check, 0), 7.0f);
  store.DISPOSESERIES(check);
  // ...but the handle is still no stored series: a load does not take it for Y's X.
  EXPECT_EQ(h.nameBlock->storedRecord, 0xFFFF);
  EXPECT_EQ(h.nameBlock->identity, DsfIdentity{});
  host.clear();
  store.LOADONE(y, "Y");
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.lastMessage(), "Warning, x not avail for .Y");
  EXPECT_EQ(y.xLink, nullptr);
  EXPECT_EQ(store.GETVAL(y, 0), 1.0f);  // the load itself succeeded
}

}  // namespace
