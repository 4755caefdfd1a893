// The in-memory Series: growth at both ends, range reads, the modified flag, chain and X links.

#include <gtest/gtest.h>

#include <array>

#include "TestHost.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"

using namespace plotane;

namespace {

struct SeriesTest : ::testing::Test {
  test::TestHost host;
  LogModel log;
  Store store{host, log};
};

uint32_t bits(float f) { return std::bit_cast<uint32_t>(f); }

TEST_F(SeriesTest, MissingValueIsTheAgreedSingle) {
  EXPECT_EQ(bits(MissingValue), 0x7F7FC99Eu);
  EXPECT_NEAR(double(MissingValue), 3.4E38, 1E32);
}

TEST_F(SeriesTest, NewSeriesIsEmptyAndNamedNoname) {
  Series s;
  store.StoreError = true;
  store.NEWSERIES(s, false, std::string(120, 'd'));
  EXPECT_FALSE(store.StoreError);
  ASSERT_TRUE(s.inUse());
  EXPECT_EQ(s.path(), "***noname***");
  EXPECT_EQ(s.nameBlock->storedRecord, 0xFFFF);
  EXPECT_EQ(s.reserved, 1);
  EXPECT_FALSE(s.modified);
  EXPECT_EQ(s.info->firstSlot, -1);
  EXPECT_EQ(s.info->description.size(), 109u);
  ASSERT_EQ(s.blocks.size(), 1u);
  for (float v : s.blocks[0].v) EXPECT_EQ(bits(v), 0x7F7FC99Eu);
  int lo = 5, hi = 5;
  EXPECT_FALSE(store.SERIESRANGE(s, lo, hi));
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, -1);
}

TEST_F(SeriesTest, GrowsAtBothEnds) {
  Series s;
  store.NEWSERIES(s, false, "");
  store.PUTVAL(s, 40, 5.0);
  EXPECT_EQ(s.info->base, 40);
  EXPECT_EQ(s.info->firstSlot, 0);
  EXPECT_EQ(s.info->highest, 40);
  store.PUTVAL(s, 0, 1.0);
  // (0 - 40 - 30) div 31 = -2 blocks in front: base 40 - 62 = -22, slot 0 - (-22) = 22.
  EXPECT_EQ(s.info->base, -22);
  EXPECT_EQ(s.info->firstSlot, 22);
  EXPECT_EQ(s.info->highest, 40);
  EXPECT_EQ(s.blocks.size(), 3u);
  store.PUTVAL(s, 100, 7.0);
  // 100 - (-22) = 122 lies in block 3.
  EXPECT_EQ(s.blocks.size(), 4u);
  EXPECT_EQ(s.info->highest, 100);
  EXPECT_EQ(store.GETVAL(s, 0), 1.0f);
  EXPECT_EQ(store.GETVAL(s, 40), 5.0f);
  EXPECT_EQ(store.GETVAL(s, 100), 7.0f);
  host.clear();
  EXPECT_EQ(bits(store.GETVAL(s, 70)), 0x7F7FC99Eu);
  EXPECT_FALSE(store.StoreError);
  EXPECT_TRUE(host.messages.empty());
  int lo, hi;
  store.SERIESRANGE(s, lo, hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 100);
}

TEST_F(SeriesTest, ReadingBeyondTheRangeWarnsWithThePath) {
  Series s;
  store.NAMEDNEWSERIES(s, ".RUNS.T1", "");
  store.PUTVAL(s, 3, 1.0);
  store.PUTVAL(s, 4, 2.0);
  EXPECT_EQ(bits(store.GETVAL(s, 5)), 0x7F7FC99Eu);
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.lastMessage(), "Warning, GETVAL beyond range for .RUNS.T1");
  store.GETVAL(s, 2);
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(store.GETVAL(s, 4), 2.0f);
  EXPECT_FALSE(store.StoreError);
  Series empty;
  store.NEWSERIES(empty, false, "");
  store.GETVAL(empty, 0);
  EXPECT_TRUE(store.StoreError);
}

TEST_F(SeriesTest, TinyValuesAreStoredAsZero) {
  Series s;
  store.NEWSERIES(s, false, "");
  store.PUTVAL(s, 0, 1.0E-39);
  store.PUTVAL(s, 1, -1.1E-38);
  store.PUTVAL(s, 2, 1.3E-38);
  EXPECT_EQ(bits(store.GETVAL(s, 0)), 0u);
  EXPECT_EQ(bits(store.GETVAL(s, 1)), 0u);
  EXPECT_GT(store.GETVAL(s, 2), 0.0f);
  // Beyond what a single holds: no value rather than infinity.
  store.PUTVAL(s, 3, 1.0E39);
  EXPECT_EQ(bits(store.GETVAL(s, 3)), 0x7F7FC99Eu);
}

TEST_F(SeriesTest, ModifiedFlagFollowsEffectiveChanges) {
  Series s;
  store.NEWSERIES(s, false, "");
  store.PUTVAL(s, 0, 2.5);
  EXPECT_TRUE(s.modified);
  s.modified = false;
  store.PUTVAL(s, 0, 2.5);
  EXPECT_FALSE(s.modified);
  store.PUTVAL(s, 0, 2.6);
  EXPECT_TRUE(s.modified);
  s.modified = false;
  // A write into a slot never written changes it from MissingValue.
  store.PUTVAL(s, 5, 1.0);
  EXPECT_TRUE(s.modified);
  s.modified = false;
  // Growing the chain marks it even when the value is MissingValue itself.
  store.PUTVAL(s, 40, double(MissingValue));
  EXPECT_TRUE(s.modified);
  s.modified = false;
  store.PUTVAL(s, -1, double(MissingValue));
  EXPECT_TRUE(s.modified);
}

TEST_F(SeriesTest, SpanBeyondSixteenBitsIsRefused) {
  Series s;
  store.NAMEDNEWSERIES(s, "WIDE", "");
  store.PUTVAL(s, -1000, 1.0);
  store.StoreError = false;
  store.PUTVAL(s, 32000, 2.0);  // 33000 above the base
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.lastMessage(), "Index span too wide for WIDE");
  EXPECT_EQ(s.info->highest, -1000);
  EXPECT_EQ(s.blocks.size(), 1u);

  Series t;
  store.NAMEDNEWSERIES(t, "LOW", "");
  store.PUTVAL(t, 32000, 1.0);
  store.StoreError = false;
  store.PUTVAL(t, -1000, 2.0);
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(t.info->base, 32000);
  // Within the span both ends still work.
  store.StoreError = false;
  store.PUTVAL(t, 1000, 3.0);
  EXPECT_FALSE(store.StoreError);
  EXPECT_EQ(store.GETVAL(t, 1000), 3.0f);
  EXPECT_EQ(store.GETVAL(t, 32000), 1.0f);
}

TEST_F(SeriesTest, ChainDisposeAndXLinkRepair) {
  std::array<Series, 4> h;
  for (auto& s : h) store.NEWSERIES(s, false, "");
  EXPECT_EQ(store.loadedHead(), &h[0]);
  EXPECT_EQ(store.loadedTail(), &h[3]);
  h[1].xLink = &h[2];
  h[3].xLink = &h[2];
  store.DISPOSESERIES(h[2]);
  EXPECT_FALSE(h[2].inUse());
  EXPECT_EQ(h[1].xLink, nullptr);
  EXPECT_EQ(h[3].xLink, nullptr);
  EXPECT_EQ(store.loadedCount(), 3);
  EXPECT_EQ(store.loadedCursor(), &h[0]);
  EXPECT_FALSE(store.ISLOADED(h[2]));
  EXPECT_TRUE(store.ISLOADED(h[3]));
  EXPECT_EQ(store.loadedCursor(), &h[3]);
  store.DISPOSESERIES(h[3]);
  EXPECT_EQ(store.loadedTail(), &h[1]);
  // Disposing a handle not in the chain does nothing.
  store.DISPOSESERIES(h[3]);
  EXPECT_EQ(store.loadedCount(), 2);
  std::string name = store.SERIESNAME(h[3]);
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(name, "");
}

TEST_F(SeriesTest, MoveTakesThePlaceAndTheXLinksFollow) {
  std::array<Series, 4> h;
  store.NAMEDNEWSERIES(h[0], "A", "");
  store.NAMEDNEWSERIES(h[1], "B", "");
  store.NAMEDNEWSERIES(h[2], "C", "");
  store.PUTVAL(h[1], 7, 3.0);
  h[0].xLink = &h[1];
  h[2].xLink = &h[1];
  store.MOVESERIES(h[3], h[1]);
  EXPECT_FALSE(h[1].inUse());
  EXPECT_EQ(h[3].path(), "B");
  EXPECT_EQ(store.GETVAL(h[3], 7), 3.0f);
  EXPECT_EQ(h[0].xLink, &h[3]);
  EXPECT_EQ(h[2].xLink, &h[3]);
  EXPECT_EQ(h[0].link, &h[3]);
  EXPECT_EQ(h[3].link, &h[2]);
  EXPECT_EQ(store.loadedCount(), 3);
  // Moving onto a loaded handle disposes it first; moving the tail moves the tail.
  store.MOVESERIES(h[0], h[2]);
  EXPECT_EQ(store.loadedHead(), &h[3]);
  EXPECT_EQ(store.loadedTail(), &h[0]);
  EXPECT_EQ(h[0].path(), "C");
  EXPECT_EQ(h[0].xLink, &h[3]);
  store.MOVESERIES(h[2], h[1]);
  EXPECT_TRUE(store.StoreError);
}

TEST_F(SeriesTest, CopyIsAnUnnamedModifiedDuplicate) {
  Series a, b;
  store.NAMEDNEWSERIES(a, "SRC", "line1\\line2");
  for (int i = -5; i < 70; ++i) store.PUTVAL(a, i, i * 0.5);
  a.info->stamp = SaveStamp{1996, 1, 2, 3, 4};
  a.xLink = &b;
  store.COPYSERIES(b, a);
  EXPECT_EQ(b.path(), "***noname***");
  EXPECT_TRUE(b.modified);
  EXPECT_EQ(b.xLink, nullptr);
  EXPECT_EQ(b.info->stamp, SaveStamp{});
  EXPECT_EQ(b.info->description, "line1\\line2");
  for (int i = -5; i < 70; ++i) EXPECT_EQ(store.GETVAL(b, i), float(i * 0.5));
  Series none;
  store.COPYSERIES(b, none);
  EXPECT_TRUE(store.StoreError);
  EXPECT_TRUE(b.inUse());
}

TEST_F(SeriesTest, HandleDestroyedWhileLoadedLeavesTheChain) {
  Series keep;
  store.NEWSERIES(keep, false, "");
  {
    Series temp;
    store.NEWSERIES(temp, false, "");
    keep.xLink = &temp;
  }
  EXPECT_EQ(store.loadedCount(), 1);
  EXPECT_EQ(keep.xLink, nullptr);
  EXPECT_EQ(store.loadedTail(), &keep);
}

TEST_F(SeriesTest, LegalNames) {
  EXPECT_TRUE(Store::ISLEGALNAME(std::string(27, 'A') + "." + std::string(27, 'B')));
  EXPECT_TRUE(Store::ISLEGALNAME("run1"));
  EXPECT_FALSE(Store::ISLEGALNAME("RU*N"));
  EXPECT_FALSE(Store::ISLEGALNAME("A?"));
  EXPECT_FALSE(Store::ISLEGALNAME("A&B"));
  EXPECT_FALSE(Store::ISLEGALNAME("X." + std::string(28, 'C')));
  EXPECT_FALSE(Store::ISLEGALNAME(std::string(28, 'C')));
}

}  // namespace
