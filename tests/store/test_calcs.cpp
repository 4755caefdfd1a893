// Calculations on whole series: the worked examples and the error rules.

#include <gtest/gtest.h>

#include <cmath>

#include "TestHost.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"

using namespace plotane;

namespace {

bool missing(float v) { return std::bit_cast<uint32_t>(v) == 0x7F7FC99Eu; }

struct CalcTest : ::testing::Test {
  test::TestHost host;
  LogModel log;
  Store store{host, log};
  Series a, b, d;

  // Fills s with the values from index `from`; NAN marks a MissingValue.
  void fill(Series& s, int from, std::initializer_list<double> values) {
    store.NEWSERIES(s, false, "");
    int i = from;
    for (double v : values) store.PUTVAL(s, i++, std::isnan(v) ? double(MissingValue) : v);
  }
};

TEST_F(CalcTest, CumulationStopsAtAMissingValue) {
  fill(a, 0, {1, 2, NAN, 4});
  store.UNARYCALCS('c', d, a);
  EXPECT_TRUE(store.StoreError);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(store.GETVAL(d, 0), 1.0f);
  EXPECT_EQ(store.GETVAL(d, 1), 3.0f);
  EXPECT_TRUE(missing(store.GETVAL(d, 2)));
  EXPECT_TRUE(missing(store.GETVAL(d, 3)));
  EXPECT_EQ(host.busyDepth, 0);
  EXPECT_GT(host.busyCalls, 0);
}

TEST_F(CalcTest, InverseOfZeroWarnsPerValue) {
  fill(a, 0, {0, 2, 0, -4});
  store.UNARYCALCS('I', d, a);
  EXPECT_FALSE(store.StoreError);
  EXPECT_EQ(host.messages, (std::vector<std::string>{"Inverse OVFL", "Inverse OVFL"}));
  EXPECT_TRUE(missing(store.GETVAL(d, 0)));
  EXPECT_EQ(store.GETVAL(d, 1), 0.5f);
  EXPECT_EQ(store.GETVAL(d, 3), -0.25f);
  EXPECT_EQ(host.busyDepth, 0);
}

TEST_F(CalcTest, UnaryDomainRules) {
  fill(a, 0, {1, 0, -1, 89, 88});
  store.UNARYCALCS('L', d, a);
  EXPECT_FALSE(store.StoreError);  // the domain misses do not count as missing sources
  EXPECT_EQ(store.GETVAL(d, 0), 0.0f);
  EXPECT_TRUE(missing(store.GETVAL(d, 1)));
  EXPECT_TRUE(missing(store.GETVAL(d, 2)));
  store.UNARYCALCS('E', d, a);
  EXPECT_FALSE(store.StoreError);
  EXPECT_FLOAT_EQ(store.GETVAL(d, 2), float(std::exp(-1.0)));
  EXPECT_TRUE(missing(store.GETVAL(d, 3)));
  EXPECT_FLOAT_EQ(store.GETVAL(d, 4), float(std::exp(88.0)));
  store.UNARYCALCS('N', a, a);
  EXPECT_EQ(store.GETVAL(a, 3), -89.0f);
  store.UNARYCALCS('Q', d, a);
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.lastMessage(), "Invalid op.,UNARYCALCS");
  Series none;
  store.UNARYCALCS('n', d, none);
  EXPECT_EQ(host.lastMessage(), "No source for UNARYCALCS N");
}

TEST_F(CalcTest, UseRangeLimitsTheWork) {
  store.UseLow = 2;
  store.UseHigh = 4;
  fill(a, 0, {1, 2, 3, 4, 5, 6});
  store.UNARYCALCS('N', d, a);
  int lo, hi;
  store.SERIESRANGE(d, lo, hi);
  EXPECT_EQ(lo, 2);
  EXPECT_EQ(hi, 4);
}

TEST_F(CalcTest, ConstantRules) {
  fill(a, 0, {4, -4, 0, 2});
  store.CONSTCALCS('/', d, a, 0.0);
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.lastMessage(), "Div by const zero");
  EXPECT_FALSE(d.inUse());
  store.CONSTCALCS('x', d, a, 0.5);
  EXPECT_TRUE(store.StoreError);  // -4 to a real power
  EXPECT_EQ(store.GETVAL(d, 0), 2.0f);
  EXPECT_TRUE(missing(store.GETVAL(d, 1)));
  EXPECT_EQ(store.GETVAL(d, 2), 0.0f);
  store.CONSTCALCS('X', d, a, -1.0);
  EXPECT_TRUE(missing(store.GETVAL(d, 2)));
  EXPECT_EQ(store.GETVAL(d, 3), 0.5f);
  store.CONSTCALCS('+', d, a, 1.5);
  EXPECT_FALSE(store.StoreError);
  EXPECT_EQ(store.GETVAL(d, 1), -2.5f);
  store.CONSTCALCS('/', d, a, 8.0);
  EXPECT_EQ(store.GETVAL(d, 0), 0.5f);
  store.CONSTCALCS('%', d, a, 1.0);
  EXPECT_EQ(host.lastMessage(), "Invalid op.,CONSTCALCS");
}

// A result beyond the single range ends the calculation at its index with the platform's
// message: the values before it are written, that index and the ones after keep what the
// destination held (7 here).
struct OverflowTest : CalcTest {
  OverflowTest() {
    store.UseLow = 0;
    store.UseHigh = 3;
  }
  void expectStopsAt(int at, std::initializer_list<float> before, const char* what) {
    EXPECT_TRUE(store.StoreError) << what;
    EXPECT_TRUE(store.CalcFault) << what;
    EXPECT_EQ(host.messages, (std::vector<std::string>{"Floating point overflow"})) << what;
    int i = 0;
    for (float v : before) EXPECT_EQ(store.GETVAL(d, i++), v) << what << " at " << i - 1;
    for (int j = at; j <= 3; ++j) EXPECT_EQ(store.GETVAL(d, j), 7.0f) << what << " at " << j;
    EXPECT_EQ(host.busyDepth, 0) << what;
    host.clear();
    fill(d, 0, {7, 7, 7, 7});
  }
};

TEST_F(OverflowTest, EveryCalculationEndsAtTheOverflowingIndex) {
  fill(d, 0, {7, 7, 7, 7});
  fill(a, 0, {1, 2, 1e38, -3});
  store.CONSTCALCS('*', d, a, 10.0);
  expectStopsAt(2, {10, 20}, "const *");
  store.CONSTCALCS('+', d, a, 3e38);
  expectStopsAt(2, {float(1 + 3e38), float(2 + 3e38)}, "const +");
  store.CONSTCALCS('/', d, a, 1e-5);
  expectStopsAt(2, {1e5f, 2e5f}, "const /");
  fill(a, 0, {2, 10, 1e20, 1});
  store.CONSTCALCS('X', d, a, 30.0);  // 10^30 fits, 10^600 does not
  expectStopsAt(2, {float(std::pow(2.0, 30)), 1e30f}, "const X");

  fill(a, 0, {1, 1e20, 3e38, 1});
  fill(b, 0, {2, 1e20, -3e38, 1});
  store.BINARYCALCS('*', d, a, b);
  expectStopsAt(1, {2}, "binary *");
  store.BINARYCALCS('-', d, a, b);
  expectStopsAt(2, {-1, 0}, "binary -");
  fill(b, 0, {2, 1e20, 3e38, 1});
  store.BINARYCALCS('+', d, a, b);
  expectStopsAt(2, {3, 2e20f}, "binary +");
  fill(b, 0, {2, 1e-19, 1, 1});
  store.BINARYCALCS('/', d, a, b);
  expectStopsAt(1, {0.5}, "binary /");

  // Cumulation: 3e38 then 4e38. The sum would come back into range at index 2; it must not be
  // written there.
  fill(a, 0, {3e38, 1e38, -3e38, 1});
  store.UNARYCALCS('C', d, a);
  expectStopsAt(1, {3e38f}, "cumulate");

  // In place: the target keeps its own values from the overflowing index on.
  fill(b, 0, {2, 1e20, 2, 2});
  fill(d, 0, {1, 1e20, 7, 7});
  store.MODIFYBIN('*', d, b);
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.messages, (std::vector<std::string>{"Floating point overflow"}));
  EXPECT_EQ(store.GETVAL(d, 0), 2.0f);
  EXPECT_EQ(store.GETVAL(d, 1), 1e20f);
  EXPECT_EQ(store.GETVAL(d, 2), 7.0f);

  // A calculation that stays in range clears the fault flag.
  host.clear();
  store.CONSTCALCS('+', d, a, 0.0);
  EXPECT_FALSE(store.CalcFault);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(CalcTest, ShiftInPlaceRoundsHalfToEven) {
  fill(a, 0, {10, 11, 12, 13, NAN, 15});
  store.CONSTCALCS('S', a, a, 2.6);
  EXPECT_FALSE(store.StoreError);
  // Shifted by 3: index i + 3 holds the old value at i, read before it was overwritten.
  EXPECT_EQ(store.GETVAL(a, 3), 10.0f);
  EXPECT_EQ(store.GETVAL(a, 4), 11.0f);
  EXPECT_EQ(store.GETVAL(a, 6), 13.0f);
  EXPECT_TRUE(missing(store.GETVAL(a, 7)));
  EXPECT_EQ(store.GETVAL(a, 8), 15.0f);
  EXPECT_EQ(store.GETVAL(a, 0), 10.0f);  // below the shift the old values stay
  fill(b, 10, {1, 2, 3});
  store.CONSTCALCS('s', d, b, -2.5);  // -2.5 rounds to -2
  EXPECT_EQ(store.GETVAL(d, 8), 1.0f);
  EXPECT_EQ(store.GETVAL(d, 10), 3.0f);
  store.CONSTCALCS('S', d, b, 0.5);  // 0.5 rounds to 0: b copied as it stands
  int lo, hi;
  store.SERIESRANGE(d, lo, hi);
  EXPECT_EQ(hi, 12);
  EXPECT_EQ(store.GETVAL(d, 10), 1.0f);
  store.CONSTCALCS('S', d, b, 40000.0);
  EXPECT_TRUE(store.StoreError);
}

TEST_F(CalcTest, BinaryWorksOnTheCommonRange) {
  store.NEWSERIES(a, false, "");
  store.NEWSERIES(b, false, "");
  for (int i = 0; i <= 10; ++i) store.PUTVAL(a, i, i);
  for (int i = 5; i <= 20; ++i) store.PUTVAL(b, i, 2.0);
  store.BINARYCALCS('*', d, a, b);
  EXPECT_FALSE(store.StoreError);
  int lo, hi;
  store.SERIESRANGE(d, lo, hi);
  EXPECT_EQ(lo, 5);
  EXPECT_EQ(hi, 10);
  EXPECT_EQ(store.GETVAL(d, 7), 14.0f);
  store.PUTVAL(b, 6, 0.0);
  store.BINARYCALCS('/', d, a, b);
  EXPECT_TRUE(store.StoreError);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(missing(store.GETVAL(d, 6)));
  EXPECT_EQ(store.GETVAL(d, 8), 4.0f);
  store.BINARYCALCS('-', a, a, b);  // dest the same as a source
  EXPECT_EQ(store.GETVAL(a, 9), 7.0f);
  EXPECT_EQ(store.GETVAL(a, 2), 2.0f);
  store.BINARYCALCS('^', d, a, b);
  EXPECT_EQ(host.lastMessage(), "Invalid op.,BINARYCALCS");
  Series none;
  store.BINARYCALCS('+', d, a, none);
  EXPECT_EQ(host.lastMessage(), "No source for BINARYCALCS +");
}

TEST_F(CalcTest, InPlaceOperationsKeepTheModifiedFlag) {
  store.UseLow = 0;
  store.UseHigh = 3;
  fill(a, 0, {1, -2, NAN, 0.5});
  a.modified = false;
  store.MODIFYUN('i', a);
  EXPECT_TRUE(store.StoreError);  // the MissingValue slot
  EXPECT_FALSE(a.modified);
  EXPECT_EQ(store.GETVAL(a, 1), -0.5f);
  EXPECT_EQ(store.GETVAL(a, 3), 2.0f);
  EXPECT_TRUE(missing(store.GETVAL(a, 2)));
  store.MODIFYUN('L', a);
  EXPECT_TRUE(missing(store.GETVAL(a, 1)));
  store.MODIFYUN('Z', a);
  EXPECT_EQ(host.lastMessage(), "Invalid op.,MODIFYUN");

  fill(b, 0, {2, 2, 2});  // misses index 3 of the use range
  fill(d, 0, {1, 2, 3, 4});
  store.MODIFYBIN('+', d, b);
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.lastMessage(), "No source for MODIFYBIN +");
  EXPECT_EQ(store.GETVAL(d, 0), 1.0f);
  store.PUTVAL(b, 3, 0.0);
  store.MODIFYBIN('/', d, b);
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(store.GETVAL(d, 2), 1.5f);
  EXPECT_TRUE(missing(store.GETVAL(d, 3)));
  // A tiny result is stored as 0.
  fill(d, 0, {1.0E-20, 1, 1, 1});
  fill(b, 0, {1.0E-20, 1, 1, 1});
  store.MODIFYBIN('*', d, b);
  EXPECT_EQ(std::bit_cast<uint32_t>(store.GETVAL(d, 0)), 0u);
}

TEST_F(CalcTest, LocatingAValue) {
  store.NAMEDNEWSERIES(a, "LOC", "");
  store.PUTVAL(a, 40, 1.0);
  store.PUTVAL(a, 0, 1.0);  // base -22
  int block = -1, slot = -1;
  EXPECT_TRUE(store.GETVPT(a, 40, block, slot));
  EXPECT_EQ(block, 2);  // 40 - (-22) = 62 = 2 * 31 + 0
  EXPECT_EQ(slot, 0);
  EXPECT_FALSE(store.GETVPT(a, 41, block, slot));
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.lastMessage(), "GETVPT beyond rngeLOC");
}

TEST_F(CalcTest, Generators) {
  store.UseLow = -5;
  store.UseHigh = 10;
  store.MAKEINDEXSERIES(a);
  EXPECT_EQ(a.path(), "ixM5toP10");
  EXPECT_EQ(a.info->description, "Index series");
  EXPECT_EQ(store.GETVAL(a, -5), -5.0f);
  EXPECT_EQ(store.GETVAL(a, 10), 10.0f);
  store.UseLow = 0;
  store.UseHigh = 800;
  store.MAKEINDEXSERIES(a);
  EXPECT_EQ(a.path(), "ixP0toP800");
  store.MAKERAMP(b, 1.0, 0.1);
  // Repeated addition in double precision, then rounded to a single.
  double v = 1.0;
  for (int i = 0; i < 800; ++i) v += 0.1;
  EXPECT_EQ(store.GETVAL(b, 800), float(v));
  store.NAMEDNEWSERIES(d, "KEEP", "");
  store.PUTVAL(d, 900, 7.0);
  store.MAKECONST(d, 2.5);
  EXPECT_EQ(d.path(), "KEEP");
  EXPECT_EQ(store.GETVAL(d, 0), 2.5f);
  EXPECT_EQ(store.GETVAL(d, 900), 7.0f);
}

TEST_F(CalcTest, DeletingEndValues) {
  store.NEWSERIES(a, false, "");
  store.PUTVAL(a, 30, 1.0);  // base 30, first slot 0
  store.PUTVAL(a, 0, 2.0);   // base -1, first slot 1
  store.PUTVAL(a, 1, 3.0);
  store.PUTVAL(a, 31, 4.0);
  ASSERT_EQ(a.info->base, -1);
  // Move the lowest index to slot 30 of the first block.
  store.PUTVAL(a, -1, 5.0);
  store.UNARYCALCS('N', d, a);  // unrelated work must not disturb the answers
  host.answers = {Answer::Yes, Answer::Yes};
  ASSERT_EQ(a.info->firstSlot, 0);
  EXPECT_TRUE(store.DELETEENDVALUE(a, -1));
  EXPECT_EQ(a.info->firstSlot, 1);
  EXPECT_TRUE(store.DELETEENDVALUE(a, 0));
  EXPECT_EQ(a.info->firstSlot, 2);
  EXPECT_EQ(host.questions.back(), "Data value deletion---Are you sure?");

  // A series whose lowest value sits in slot 30: clearing it releases the first block.
  Series s;
  store.NEWSERIES(s, false, "");
  store.PUTVAL(s, 31, 1.0);
  store.PUTVAL(s, 30, 2.0);  // (30 - 31 - 30) div 31 = -1: base 0, first slot 30
  store.PUTVAL(s, 40, 3.0);
  int lo, hi;
  store.SERIESRANGE(s, lo, hi);
  ASSERT_EQ(lo, 30);
  ASSERT_EQ(s.info->firstSlot, 30);
  std::size_t blocks = s.blocks.size();
  host.answers = {Answer::Yes};
  s.modified = false;
  EXPECT_TRUE(store.DELETEENDVALUE(s, 30));
  EXPECT_EQ(s.blocks.size(), blocks - 1);
  EXPECT_EQ(s.info->base, 31);
  EXPECT_EQ(s.info->firstSlot, 0);
  EXPECT_TRUE(s.modified);
  EXPECT_EQ(store.GETVAL(s, 31), 1.0f);

  // The highest value at slot 0 of the last block: that block goes.
  host.answers = {Answer::Yes};
  store.PUTVAL(s, 62, 9.0);  // slot 0 of block 1
  ASSERT_EQ(s.blocks.size(), 2u);
  EXPECT_TRUE(store.DELETEENDVALUE(s, 62));
  EXPECT_EQ(s.blocks.size(), 1u);
  EXPECT_EQ(s.info->highest, 61);
  // A removed value does not come back when the series grows again.
  store.PUTVAL(s, 63, 1.0);
  EXPECT_TRUE(missing(store.GETVAL(s, 62)));

  // No, an inner index, or a single value: nothing changes.
  host.answers = {Answer::No};
  EXPECT_FALSE(store.DELETEENDVALUE(s, 63));
  EXPECT_EQ(s.info->highest, 63);
  EXPECT_FALSE(store.DELETEENDVALUE(s, 40));
  Series one;
  store.NEWSERIES(one, false, "");
  store.PUTVAL(one, 5, 1.0);
  std::size_t asked = host.questions.size();
  EXPECT_FALSE(store.DELETEENDVALUE(one, 5));
  EXPECT_EQ(host.questions.size(), asked);
}

}  // namespace
