// Damaged DSFs: every operation ends with the input/output message, never a crash, a hang or
// a write outside the records it meant to write.

#include <gtest/gtest.h>

#include <filesystem>

#include "NewDsf.h"
#include "shell/base/Files.h"

using namespace plotane;

namespace {

struct DamagedTest : test::NewDsf {
  DamagedTest() : NewDsf("D.DSF") {}
  void save(const std::string& path, int count) {
    Series s;
    store.NEWSERIES(s, false, "");
    for (int i = 0; i < count; ++i) store.PUTVAL(s, i, i);
    store.SAVESERIES(s, path);
    ASSERT_FALSE(store.StoreError);
  }
  std::vector<uint8_t> bytes() { return test::readBytes(name); }
  // Changes the file behind the store and attaches it afresh.
  void patch(std::size_t at, std::initializer_list<uint8_t> values) {
    auto b = bytes();
    for (uint8_t v : values) b.at(at++) = v;
    std::string err;
    ASSERT_TRUE(writeWholeFile(name, b, err));
    store.ATTACHDSF(name);
    ASSERT_FALSE(store.StoreError);
    host.clear();
  }
  void expectIoFailure() {
    EXPECT_TRUE(store.StoreError);
    ASSERT_FALSE(host.captions.empty());
    EXPECT_EQ(host.captions.back(), "I/O error");
    EXPECT_EQ(host.lastMessage().rfind("I/O error", 0), 0u) << host.lastMessage();
    EXPECT_EQ(host.busyDepth, 0);
  }
};

TEST_F(DamagedTest, LinkPastTheEndOfTheFile) {
  save("A", 3);
  patch(128, {99, 0});  // root DSDir links to record 99
  store.LISTDSDIR("&");
  expectIoFailure();
  host.clear();
  Series s;
  store.LOADONE(s, "NOSUCH");
  expectIoFailure();
  // A series whose data chain leads out of the file.
  patch(128, {0, 0});
  patch(3 * 128, {50, 0});
  store.LOADONE(s, "A");
  expectIoFailure();
  EXPECT_FALSE(s.hasData());
}

TEST_F(DamagedTest, LoopingDsDirChain) {
  for (const char* n : {"A", "B", "C", "D"}) save(n, 1);
  patch(128, {1, 0});  // the full root DSDir links to itself
  auto before = bytes();
  store.LISTDSDIR("&");
  expectIoFailure();
  host.clear();
  Series s;
  store.NEWSERIES(s, false, "");
  store.PUTVAL(s, 0, 1.0);
  store.SAVESERIES(s, "E");
  expectIoFailure();
  EXPECT_EQ(bytes(), before);
  host.clear();
  store.TREELIST();
  expectIoFailure();
}

TEST_F(DamagedTest, DsDirThatContainsItsParent) {
  store.MAKEDSDIR("SUB");
  auto b = bytes();
  uint16_t sub = uint16_t(b[128 + 4] | (b[128 + 5] << 8));
  ASSERT_EQ(sub, 2);
  // SUB's first slot names the root record as a DSDir: the tree loops.
  patch(sub * 128 + 4, {1, 0, 1, 'X'});
  patch(sub * 128 + 4 + 30, {1});
  store.LISTDSDIR("&");
  expectIoFailure();
  host.clear();
  store.FULLDETAILS("&");
  expectIoFailure();
}

TEST_F(DamagedTest, EntryPointingAtTheHeader) {
  store.MAKEDSDIR("SUB");
  patch(128 + 4, {0, 0});
  store.LISTDSDIR("&");
  expectIoFailure();
}

TEST_F(DamagedTest, LoopingSeriesChain) {
  save("A", 62);  // header 2, data 3 and 4
  patch(4 * 128, {3, 0});
  Series s;
  store.LOADONE(s, "A");
  expectIoFailure();
  EXPECT_FALSE(s.hasData());
  // Re-storing over a chain that loops onto itself stops at the loop.
  patch(3 * 128, {3, 0});
  auto before = bytes();
  Series t;
  store.NEWSERIES(t, false, "");
  for (int i = 0; i < 93; ++i) store.PUTVAL(t, i, 1.0);
  store.SAVESERIES(t, "A");
  expectIoFailure();
  EXPECT_EQ(bytes().size(), before.size());
  // After a save abandoned half-way the header still matches the file.
  patch(3 * 128, {4, 0});
  patch(4 * 128, {0, 0});
  patch(2 * 128, {3, 0});
  Series big;
  store.NEWSERIES(big, false, "");
  for (int i = 0; i < 200; ++i) store.PUTVAL(big, i, 2.0);
  store.SAVESERIES(big, "NEW");
  ASSERT_FALSE(store.StoreError);
  auto b = bytes();
  patch(b.size() - 128 * 6, {0xFF, 0x7F});  // a data record of NEW now links far away
  store.SAVESERIES(big, "NEW");
  expectIoFailure();
  b = bytes();
  EXPECT_EQ(uint16_t(b[4] | (b[5] << 8)) * 128u, b.size());
}

TEST_F(DamagedTest, TruncatedRecords) {
  save("A", 31);  // records 2 and 3
  std::filesystem::resize_file(name, 3 * 128 + 50);
  store.ATTACHDSF(name);
  ASSERT_FALSE(store.StoreError);
  Series s;
  store.LOADONE(s, "A");
  expectIoFailure();
  host.clear();
  // Appending is refused too: the next free record no longer matches the file.
  store.MAKEDSDIR("X");
  expectIoFailure();
  EXPECT_EQ(bytes().size(), 3u * 128 + 50);
  // A file too short for its header is not attached; the attached DSF stays.
  std::string err;
  ASSERT_TRUE(writeWholeFile(dir.file("S.DSF"), std::vector<uint8_t>(100, 0), err));
  host.clear();
  store.ATTACHDSF(dir.file("S.DSF"));
  expectIoFailure();
  EXPECT_EQ(store.DsfName(), name);
}

TEST_F(DamagedTest, LengthBytesBeyondTheirFields) {
  save("A", 3);
  patch(128 + 4 + 2, {40});  // name length byte of root slot 0
  store.LISTDSDIR("&");
  expectIoFailure();
  patch(128 + 4 + 2, {1});
  patch(2 * 128 + 16, {200});  // description length byte
  Series s;
  store.LOADONE(s, "A");
  expectIoFailure();
  host.clear();
  store.FULLDETAILS("A");
  expectIoFailure();
  patch(2 * 128 + 16, {0});
  patch(2 * 128 + 8, {100});  // first slot beyond a block
  store.LOADONE(s, "A");
  expectIoFailure();
}

TEST_F(DamagedTest, NextFreeInsideTheFile) {
  save("A", 3);
  patch(4, {2, 0});  // would hand out record 2 again
  auto before = bytes();
  Series s;
  store.NEWSERIES(s, false, "");
  store.PUTVAL(s, 0, 1.0);
  store.SAVESERIES(s, "B");
  expectIoFailure();
  EXPECT_EQ(bytes(), before);
}

}  // namespace

namespace {

// Random damage to a small tree: whatever the bytes say, every operation ends (with or without
// the I/O message) and stays inside its buffers; the sanitizers watch the rest.
TEST(DamagedRandom, EveryOperationSurvivesRandomBytes) {
  test::TempDir dir;
  std::string name = dir.file("R.DSF");
  std::vector<uint8_t> pristine;
  {
    test::TestHost host;
    LogModel log;
    Store store(host, log);
    store.CREATEDSF(name);
    store.MAKEDSDIR("D");
    store.MAKEDSDIR(".D.E");
    std::array<Series, 6> s;
    const char* names[] = {"A", "B", ".D.C", ".D.E.F", "G", "H"};
    for (int k = 0; k < 6; ++k) {
      store.NEWSERIES(s[k], false, "desc\\two");
      for (int i = -3; i < 40 + 10 * k; ++i) store.PUTVAL(s[k], i, i + k);
      store.SAVESERIES(s[k], names[k]);
    }
    store.SETXSPEC(".D.C", "A");
    std::string err;
    readWholeFile(name, pristine, err);
  }
  uint32_t seed = 12345;
  auto rnd = [&]() {
    seed = seed * 1103515245u + 12345u;
    return seed >> 8;
  };
  for (int round = 0; round < 300; ++round) {
    std::vector<uint8_t> b = pristine;
    int flips = 1 + int(rnd() % 4);
    for (int f = 0; f < flips; ++f) {
      std::size_t at = 128 + rnd() % (b.size() - 128);  // the header stays sane
      b[at] = uint8_t(rnd());
    }
    if (round % 7 == 0) b.resize(b.size() - rnd() % 200);
    std::string err;
    ASSERT_TRUE(writeWholeFile(name, b, err));
    test::TestHost host;
    LogModel log;
    Store store(host, log);
    store.ATTACHDSF(name);
    if (store.StoreError) continue;
    std::array<Series, 510> cols;
    store.LISTDSDIR("&");
    store.TREELIST();
    store.FULLDETAILS("&");
    store.LOADPATTERN("&", 0, cols);
    store.LOADPATTERN(".D&", 0, cols);
    Series extra;
    store.NEWSERIES(extra, false, "");
    for (int i = 0; i < 70; ++i) store.PUTVAL(extra, i, i);
    store.SAVESERIES(extra, "A");
    store.SAVESERIES(extra, ".D.NEW");
    store.REPLACESERIES("&");
    store.MAKEDSDIR(".D.E.Q");
    store.SETXSPEC("&", "B");
    store.ERASESERIES(".D.*");
    store.DELETEDSDIR("&");
    EXPECT_EQ(host.busyDepth, 0);
  }
}

}  // namespace
