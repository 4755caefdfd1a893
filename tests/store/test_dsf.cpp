// The DSF file: byte layout of new files, stored series and DSDir chains, computed by hand
// from the record layout; names, wildcards, listings and reports.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>

#include "NewDsf.h"
#include "shell/base/Files.h"
#include "store/PathPattern.h"

using namespace plotane;

namespace {

uint16_t u16At(const std::vector<uint8_t>& b, std::size_t at) {
  return uint16_t(b.at(at) | (b.at(at + 1) << 8));
}
// Byte `off` of record `rec`.
uint16_t recU16(const std::vector<uint8_t>& b, int rec, int off) {
  return u16At(b, rec * 128 + off);
}
uint8_t recU8(const std::vector<uint8_t>& b, int rec, int off) { return b.at(rec * 128 + off); }
std::string recName(const std::vector<uint8_t>& b, int rec, int slot) {
  std::size_t at = rec * 128 + 4 + 31 * slot + 2;
  return std::string(reinterpret_cast<const char*>(&b.at(at + 1)), b.at(at));
}
float recFloat(const std::vector<uint8_t>& b, int rec, int k) {
  uint32_t u = uint32_t(recU16(b, rec, 4 + 4 * k)) | (uint32_t(recU16(b, rec, 6 + 4 * k)) << 16);
  float f;
  std::memcpy(&f, &u, 4);
  return f;
}

struct DsfTest : test::NewDsf {
  DsfTest() : NewDsf("T.DSF") {}
  // Stores a series of `count` values i * 1.5 from index 0 under `path`.
  void saveValues(Series& s, const std::string& path, int count) {
    store.NEWSERIES(s, false, "");
    for (int i = 0; i < count; ++i) store.PUTVAL(s, i, i * 1.5);
    store.SAVESERIES(s, path);
    ASSERT_FALSE(store.StoreError) << host.lastMessage();
  }
};

TEST_F(DsfTest, NewFileIsHeaderAndEmptyRoot) {
  auto b = test::readBytes(name);
  ASSERT_EQ(b.size(), 256u);
  // Header: kind 3, next free 2, name tail "/T.DSF", stamp 1996-05-17 14:30.
  EXPECT_EQ(b[0], 0);
  EXPECT_EQ(b[1], 0);
  EXPECT_EQ(b[2], 0);
  EXPECT_EQ(b[3], 3);
  EXPECT_EQ(u16At(b, 4), 2);
  EXPECT_EQ(b[6], 6);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&b[7]), 6), "/T.DSF");
  EXPECT_EQ(u16At(b, 16), 1996);
  EXPECT_EQ(b[18], 5);
  EXPECT_EQ(b[19], 17);
  EXPECT_EQ(b[20], 14);
  EXPECT_EQ(b[21], 30);
  for (int i = 22; i < 128; ++i) EXPECT_EQ(b[i], 0) << i;
  // Root DSDir: link 0, kind 0, four free slots (0xFFFF, rest zero).
  for (int i = 128; i < 132; ++i) EXPECT_EQ(b[i], 0);
  for (int slot = 0; slot < 4; ++slot) {
    int at = 128 + 4 + 31 * slot;
    EXPECT_EQ(u16At(b, at), 0xFFFF);
    for (int k = 2; k < 31; ++k) EXPECT_EQ(b[at + k], 0);
  }
  // A second create of the same file is refused and leaves it alone.
  store.CREATEDSF(name);
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.lastMessage(), "DSF already exists");
  EXPECT_EQ(test::readBytes(name).size(), 256u);
}

TEST_F(DsfTest, FirstSeriesLayout) {
  Series a;
  store.NAMEDNEWSERIES(a, "A", "first\\second");
  for (int i = 0; i < 31; ++i) store.PUTVAL(a, i + 5, i * 0.25);
  store.SAVESERIES(a, "A");
  ASSERT_FALSE(store.StoreError);
  EXPECT_EQ(a.path(), ".A");
  EXPECT_EQ(a.nameBlock->storedRecord, 2);
  EXPECT_FALSE(a.modified);
  auto b = test::readBytes(name);
  ASSERT_EQ(b.size(), 4u * 128);
  EXPECT_EQ(u16At(b, 4), 4);  // next free
  // Root slot 0: record 2, name "A", kind 0; the other slots stay free.
  EXPECT_EQ(recU16(b, 1, 4), 2);
  EXPECT_EQ(recName(b, 1, 0), "A");
  EXPECT_EQ(recU8(b, 1, 34), 0);
  EXPECT_EQ(recU16(b, 1, 35), 0xFFFF);
  // Header record 2: link 3, reserved 1, kind 1, base 5, highest 35, first slot 0, stamp,
  // description, X record 0.
  EXPECT_EQ(recU16(b, 2, 0), 3);
  EXPECT_EQ(recU8(b, 2, 2), 1);
  EXPECT_EQ(recU8(b, 2, 3), 1);
  EXPECT_EQ(recU16(b, 2, 4), 5);
  EXPECT_EQ(recU16(b, 2, 6), 35);
  EXPECT_EQ(recU8(b, 2, 8), 0);
  EXPECT_EQ(recU16(b, 2, 10), 1996);
  EXPECT_EQ(recU8(b, 2, 14), 14);
  EXPECT_EQ(recU8(b, 2, 15), 30);
  EXPECT_EQ(recU8(b, 2, 16), 12);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&b[2 * 128 + 17]), 12), "first\\second");
  EXPECT_EQ(recU16(b, 2, 126), 0);
  // Data record 3: link 0, kind 2, the 31 values.
  EXPECT_EQ(recU16(b, 3, 0), 0);
  EXPECT_EQ(recU8(b, 3, 3), 2);
  for (int k = 0; k < 31; ++k) EXPECT_EQ(recFloat(b, 3, k), float(k * 0.25));
  EXPECT_EQ(a.info->stamp, (SaveStamp{1996, 5, 17, 14, 30}));
}

TEST_F(DsfTest, FifthNameExtendsTheRootChain) {
  std::array<Series, 5> s;
  const char* names[] = {"A", "B", "C", "D", "E"};
  for (int i = 0; i < 5; ++i) saveValues(s[i], names[i], 1);
  auto b = test::readBytes(name);
  // A..D take records 2..9 in pairs; E needs record 10 as a new DsDirRecord, then 11 and 12.
  ASSERT_EQ(b.size(), 13u * 128);
  EXPECT_EQ(u16At(b, 4), 13);
  EXPECT_EQ(recU16(b, 1, 0), 10);
  EXPECT_EQ(recU16(b, 1, 4 + 31 * 3), 8);
  EXPECT_EQ(recU16(b, 10, 0), 0);
  EXPECT_EQ(recU8(b, 10, 3), 0);
  EXPECT_EQ(recU16(b, 10, 4), 11);
  EXPECT_EQ(recName(b, 10, 0), "E");
  for (int slot = 1; slot < 4; ++slot) EXPECT_EQ(recU16(b, 10, 4 + 31 * slot), 0xFFFF);
  EXPECT_EQ(recU16(b, 11, 0), 12);
  Series back;
  store.LOADONE(back, "E");
  EXPECT_FALSE(store.StoreError);
  EXPECT_EQ(back.nameBlock->storedRecord, 11);
}

TEST_F(DsfTest, RestoreGrowsThenCutsTheChain) {
  Series a, other, again;
  saveValues(a, "A", 31);
  saveValues(other, "B", 1);  // records 4 and 5
  for (int i = 31; i < 62; ++i) store.PUTVAL(a, i, i * 1.5);
  store.SAVESERIES(a, "A");
  ASSERT_FALSE(store.StoreError);
  auto b = test::readBytes(name);
  ASSERT_EQ(b.size(), 7u * 128);
  EXPECT_EQ(u16At(b, 4), 7);
  EXPECT_EQ(recU16(b, 2, 0), 3);
  EXPECT_EQ(recU16(b, 2, 6), 61);
  EXPECT_EQ(recU16(b, 3, 0), 6);
  EXPECT_EQ(recU16(b, 6, 0), 0);
  EXPECT_EQ(recU8(b, 6, 3), 2);
  EXPECT_EQ(recFloat(b, 6, 30), float(61 * 1.5));
  // The same name with 31 values again: record 3 ends the chain, record 6 is left unreachable.
  saveValues(again, "a", 31);
  b = test::readBytes(name);
  ASSERT_EQ(b.size(), 7u * 128);
  EXPECT_EQ(u16At(b, 4), 7);
  EXPECT_EQ(recU16(b, 3, 0), 0);
  EXPECT_EQ(recU16(b, 2, 6), 30);
  EXPECT_EQ(recName(b, 1, 0), "A");  // the stored name keeps its first spelling
}

TEST_F(DsfTest, NamesKeepCaseAndAreFoundIgnoringIt) {
  Series s, t;
  saveValues(s, "run1", 3);
  auto b = test::readBytes(name);
  EXPECT_EQ(recName(b, 1, 0), "run1");
  store.LOADONE(t, "RUN1");
  ASSERT_FALSE(store.StoreError);
  EXPECT_EQ(t.path(), ".run1");
  EXPECT_EQ(store.GETVAL(t, 2), 3.0f);
  EXPECT_FALSE(t.modified);
  store.LOADONE(t, "RUN2");
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.lastMessage(), "RUN2 is not a series");
}

TEST(PathPatternTest, ComponentMatching) {
  EXPECT_TRUE(matchComponent("A*", "anything"));
  EXPECT_TRUE(matchComponent("A*", "B"));  // only the part after the "*" is compared
  EXPECT_TRUE(matchComponent("*1", "run1"));
  EXPECT_FALSE(matchComponent("*1", "run2"));
  EXPECT_TRUE(matchComponent("X*1", "1"));
  EXPECT_FALSE(matchComponent("*12", "2"));  // the name runs out before the "*"
  EXPECT_TRUE(matchComponent("R?", "RU"));
  EXPECT_TRUE(matchComponent("R?", "r"));
  EXPECT_FALSE(matchComponent("R?N", "RN"));
  EXPECT_FALSE(matchComponent("R?", "RUN"));
  EXPECT_TRUE(matchComponent("RUN", "run"));
  EXPECT_FALSE(matchComponent("RUN", "RU"));
}

TEST(PathPatternTest, Parsing) {
  PathPattern p;
  ASSERT_TRUE(parsePathPattern("a.b*", ".TOP", p));
  EXPECT_EQ(p.components, (std::vector<std::string>{"TOP", "A", "B*"}));
  EXPECT_EQ(p.hasStar, (std::vector<bool>{false, false, true}));
  ASSERT_TRUE(parsePathPattern("  .x.y rest", ".TOP", p));
  EXPECT_EQ(p.components, (std::vector<std::string>{"X", "Y"}));
  ASSERT_TRUE(parsePathPattern("&", "", p));
  EXPECT_TRUE(p.all && p.rootedAnywhere && p.endsWithAny);
  ASSERT_TRUE(parsePathPattern(".A&junk", "", p));
  EXPECT_EQ(p.components, (std::vector<std::string>{"A", "&"}));
  EXPECT_TRUE(p.endsWithAny);
  EXPECT_FALSE(p.rootedAnywhere);
  ASSERT_TRUE(parsePathPattern("&.S1", ".TOP", p));
  EXPECT_EQ(p.components, (std::vector<std::string>{"&", "S1"}));
  ASSERT_TRUE(parsePathPattern("  .", ".TOP", p));
  EXPECT_TRUE(p.namesRoot);
  EXPECT_FALSE(parsePathPattern(" . ", ".TOP", p));  // a blank after the point: empty component
  ASSERT_TRUE(parsePathPattern("", ".TOP", p));
  EXPECT_TRUE(p.namesRoot);
  EXPECT_FALSE(parsePathPattern(".A..B", "", p));
  EXPECT_FALSE(parsePathPattern("*A*", "", p));
  EXPECT_FALSE(parsePathPattern("A.", "", p));
}

// Tree: .S1; .A (.A.A1, .A.B (.A.B.C empty), .A.S2); .E empty.
struct TreeTest : DsfTest {
  std::array<Series, 4> s;
  void SetUp() override {
    DsfTest::SetUp();
    saveValues(s[0], "S1", 2);
    store.MAKEDSDIR("A");
    saveValues(s[1], ".A.A1", 2);
    store.MAKEDSDIR(".A.B");
    store.MAKEDSDIR(".A.B.C");
    saveValues(s[2], ".A.S2", 2);
    store.MAKEDSDIR("E");
    ASSERT_FALSE(store.StoreError);
    // Loaded series with the stored paths would take part in loads: forget them.
    for (auto& x : s) store.DISPOSESERIES(x);
    log.CLEARLOG();
  }
  std::vector<std::string> listed(const std::string& pattern) {
    log.CLEARLOG();
    store.LISTDSDIR(pattern);
    std::vector<std::string> l = log.lines();
    l.erase(l.begin());  // CLEARLOG's empty line
    return l;
  }
};

TEST_F(TreeTest, ListEverythingAndBelowADsDir) {
  EXPECT_EQ(listed("&"), (std::vector<std::string>{"     .S1", "     .A.A1", "(dir).A.B.C",
                                                   "     .A.S2", "(dir).E"}));
  EXPECT_EQ(listed(".A&"), (std::vector<std::string>{"     .A.A1", "(dir).A.B.C", "     .A.S2"}));
  EXPECT_EQ(listed("&S?"), (std::vector<std::string>{"     .S1", "     .A.S2"}));
  EXPECT_EQ(listed(".A.*"), (std::vector<std::string>{"     .A.A1", "(dir).A.B", "     .A.S2"}));
  store.SETDSDIR(".a");
  ASSERT_FALSE(store.StoreError);
  EXPECT_EQ(store.CurrentPath(), ".a");  // as typed
  EXPECT_EQ(listed("B.*"), (std::vector<std::string>{"(dir).A.B.C"}));
  EXPECT_EQ(listed("&"), (std::vector<std::string>{"     .S1", "     .A.A1", "(dir).A.B.C",
                                                   "     .A.S2", "(dir).E"}));
  store.SETDSDIR(".A.S2");  // a series is no DSDir
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(store.CurrentPath(), ".a");
  store.SETDSDIR(" . ");
  EXPECT_EQ(store.CurrentPath(), "");
}

TEST_F(TreeTest, TreeListAndDialogListings) {
  store.TREELIST();
  std::vector<std::string> l = log.lines();
  EXPECT_EQ(l, (std::vector<std::string>{"", "", ".A", ".A.B.C", ".A", ".E"}));
  std::vector<std::string> paths;
  store.LISTSERIESPATHS("&", paths);
  EXPECT_EQ(paths, (std::vector<std::string>{".S1", ".A.A1", ".A.S2"}));
  std::vector<std::string> tree;
  store.TREELISTLINES(tree);
  EXPECT_EQ(tree, (std::vector<std::string>{"", ".A", ".A.B.C", ".A", ".E"}));
}

TEST_F(TreeTest, DeleteOnlyEmptyDsDirs) {
  store.DELETEDSDIR(".A");
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.lastMessage(), "DSDir .A not empty");
  EXPECT_EQ(store.FINDENTRY(".A").record, 4u);
  store.DELETEDSDIR(".A.B.C");
  EXPECT_FALSE(store.StoreError);
  EXPECT_EQ(store.FINDENTRY(".A.B.C").record, 0xFFFF);
  store.DELETEDSDIR(".A.B");
  EXPECT_FALSE(store.StoreError);
  store.ERASESERIES(".A.*");
  EXPECT_FALSE(store.StoreError);
  EXPECT_EQ(listed("&"), (std::vector<std::string>{"     .S1", "(dir).A", "(dir).E"}));
  store.DELETEDSDIR(".A");
  EXPECT_FALSE(store.StoreError);
  EXPECT_EQ(listed("&"), (std::vector<std::string>{"     .S1", "(dir).E"}));
  // The freed slot is reused by the next name, with a new record.
  Series n;
  saveValues(n, "NEW", 1);
  auto b = test::readBytes(name);
  EXPECT_EQ(recName(b, 1, 1), "NEW");
}

TEST_F(TreeTest, NameClashesAreRefused) {
  store.MAKEDSDIR("a");
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.lastMessage(), "Directory already exists");
  store.MAKEDSDIR("s1");
  EXPECT_EQ(host.lastMessage(), "Directory already exists");
  auto before = test::readBytes(name);
  Series x;
  store.NEWSERIES(x, false, "");
  store.PUTVAL(x, 0, 1.0);
  store.SAVESERIES(x, "e");
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.lastMessage(), "A DSDir has the name e");
  store.SAVESERIES(x, ".NOPE.X");
  EXPECT_EQ(host.lastMessage(), "Path does not exist");
  store.SAVESERIES(x, ".S1.X");  // a series cannot hold entries
  EXPECT_EQ(host.lastMessage(), "Path does not exist");
  store.SAVESERIES(x, "BAD*");
  EXPECT_EQ(host.lastMessage(), "Name syntax err");
  EXPECT_EQ(test::readBytes(name), before);
}

TEST_F(TreeTest, LoadPatternFillsFreeColumns) {
  std::array<Series, 5> cols;
  store.NEWSERIES(cols[1], false, "");
  std::vector<int> refreshed;
  store.LOADPATTERN("&", 0, cols, [&](int c) { refreshed.push_back(c); });
  EXPECT_FALSE(store.StoreError);
  EXPECT_EQ(refreshed, (std::vector<int>{0, 2, 3}));
  EXPECT_EQ(cols[0].path(), ".S1");
  EXPECT_EQ(cols[2].path(), ".A.A1");
  EXPECT_EQ(cols[3].path(), ".A.S2");
  EXPECT_EQ(store.GETVAL(cols[3], 1), 1.5f);
  // Loading again reloads the same handles in place.
  store.PUTVAL(cols[0], 0, 99.0);
  refreshed.clear();
  store.LOADPATTERN(".S1", 4, cols, [&](int c) { refreshed.push_back(c); });
  EXPECT_EQ(refreshed, (std::vector<int>{0}));
  EXPECT_EQ(store.GETVAL(cols[0], 0), 0.0f);
  EXPECT_FALSE(cols[4].inUse());
  // Not enough free columns.
  store.DISPOSESERIES(cols[2]);
  store.DISPOSESERIES(cols[3]);
  store.LOADPATTERN(".A.*", 4, cols);
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.lastMessage(), "LOAD ovflow");
  EXPECT_EQ(cols[4].path(), ".A.A1");
  EXPECT_FALSE(cols[3].inUse());
}

TEST_F(TreeTest, XSpecificationAndFullDetails) {
  store.SETXSPEC(".A.S*", "S1");
  ASSERT_FALSE(store.StoreError);
  log.CLEARLOG();
  store.FULLDETAILS(".A.S2");
  std::vector<std::string> expect = {"",
                                     "Series:",
                                     " .A.S2",
                                     " ",
                                     " Last Save on 96/5/17 at 14:30",
                                     " ",
                                     " Indices: Lowest=0         Highest=1",
                                     " ",
                                     "    ",
                                     "    ",
                                     " ",
                                     "  X specified as .S1",
                                     " ",
                                     " "};
  EXPECT_EQ(log.lines(), expect);
  // Loading it while its X is not loaded: warning, no link, the load itself succeeds.
  Series y, x;
  store.LOADONE(y, ".A.S2");
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.lastMessage(), "Warning, x not avail for .A.S2");
  EXPECT_EQ(y.xLink, nullptr);
  EXPECT_EQ(store.GETVAL(y, 1), 1.5f);
  store.LOADONE(x, "S1");
  store.LOADONE(y, ".A.S2");
  EXPECT_FALSE(store.StoreError);
  EXPECT_EQ(y.xLink, &x);
  store.SETXSPEC(".A.S2", "NOSUCH");
  EXPECT_EQ(host.lastMessage(), "X series missing");
  store.SETXSPEC(".QQ", "S1");
  EXPECT_EQ(host.lastMessage(), "Y series name error");
}

TEST_F(TreeTest, FullDetailsOfDescribedSeriesWithoutX) {
  Series d;
  store.NAMEDNEWSERIES(d, "D", "Pressure\\kPa at inlet");
  store.SAVESERIES(d, "D");
  log.CLEARLOG();
  store.FULLDETAILS("D");
  std::vector<std::string> l = log.lines();
  ASSERT_EQ(l.size(), 14u);
  EXPECT_EQ(l[6], " No data present");
  EXPECT_EQ(l[8], "    Pressure");
  EXPECT_EQ(l[9], "    kPa at inlet");
  EXPECT_EQ(l[11], "  No X specified");
}

TEST(DsfNoFile, OperationsNeedAnAttachedDsf) {
  test::TestHost host;
  LogModel log;
  Store store(host, log);
  Series s;
  store.NEWSERIES(s, false, "");
  store.SAVESERIES(s, "A");
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.lastMessage(), "No DSF attached");
  store.LISTDSDIR("&");
  EXPECT_EQ(host.messages.size(), 2u);
  store.ATTACHDSF("/nonexistent/X.DSF");
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.lastMessage(), "/nonexistent/X.DSF not found");
}

TEST_F(DsfTest, AttachFindsTheFileIgnoringCaseAndKeepsData) {
  Series a, b;
  saveValues(a, "A", 40);
  store.DETACHDSF();
  EXPECT_FALSE(store.attached());
  store.ATTACHDSF(dir.file("t.dsf"));
  ASSERT_FALSE(store.StoreError);
  store.LOADONE(b, ".A");
  ASSERT_FALSE(store.StoreError);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(store.GETVAL(b, i), float(i * 1.5));
}

TEST_F(DsfTest, AllocationNeverReachesRecordFFFF) {
  // A file whose next free record is 0xFFFE: a series needs three more records.
  store.DETACHDSF();
  {
    auto b = test::readBytes(name);
    b[4] = 0xFE;
    b[5] = 0xFF;
    std::string err;
    writeWholeFile(name, b, err);
    std::filesystem::resize_file(name, 0xFFFEu * 128);
  }
  store.ATTACHDSF(name);
  ASSERT_FALSE(store.StoreError);
  Series s;
  store.NEWSERIES(s, false, "");
  store.PUTVAL(s, 0, 1.0);
  store.SAVESERIES(s, "A");
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.lastMessage(), "DSF is full");
  auto b = test::readBytes(name);
  EXPECT_EQ(b.size(), 0xFFFEu * 128);
  EXPECT_EQ(u16At(b, 4), 0xFFFE);
  EXPECT_EQ(recU16(b, 1, 4), 0xFFFF);
  store.MAKEDSDIR("D");
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(test::readBytes(name).size(), 0xFFFEu * 128);
}

}  // namespace
