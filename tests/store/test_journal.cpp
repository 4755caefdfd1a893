// The DSF's crash safety: an operation killed at any file step, or failing at any byte, leaves
// a file that attaches to its state before or after the operation; the lock keeps a second
// store out; an unreachable tail left by a cut append is trimmed at attach.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>

#include "FileBytes.h"
#include "TempDir.h"
#include "TestHost.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"

using namespace plotane;

namespace {

// Values that tell the series (and their generations) apart.
double valueOf(int series, int generation, int i) { return series * 1000 + generation * 100 + i; }

void fill(Store& store, Series& s, int series, int generation, int count) {
  store.NEWSERIES(s, false, "journal test");
  for (int i = 0; i < count; ++i) store.PUTVAL(s, i, valueOf(series, generation, i));
}

bool exists(const std::string& name) { return std::filesystem::exists(name); }

struct JournalTest : ::testing::Test {
  test::TempDir dir;
  std::string name = dir.file("J.DSF");
  std::vector<uint8_t> base;
  // The root holds A (31 values), B (62 values), C (10 values) and the DSDir D: it is full.
  void SetUp() override {
    test::TestHost host;
    LogModel log;
    Store store(host, log);
    store.CREATEDSF(name);
    std::array<Series, 3> s;
    const int counts[] = {31, 62, 10};
    const char* names[] = {"A", "B", "C"};
    for (int k = 0; k < 3; ++k) {
      fill(store, s[k], k, 0, counts[k]);
      store.SAVESERIES(s[k], names[k]);
    }
    store.MAKEDSDIR("D");
    ASSERT_FALSE(store.StoreError);
    store.DETACHDSF();
    base = test::readBytes(name);
  }

  // Every series stored before loads with its old values (A may also hold its new ones, all of
  // them, when the operation was the one that grew it), and a new store succeeds.
  void checkEarlierSeries(Store& store, bool aMayHaveGrown) {
    const int counts[] = {31, 62, 10};
    const char* names[] = {"A", "B", "C"};
    for (int k = 0; k < 3; ++k) {
      Series s;
      store.LOADONE(s, names[k]);
      ASSERT_FALSE(store.StoreError) << names[k];
      int lo = 0, hi = 0;
      store.SERIESRANGE(s, lo, hi);
      int generation = 0;
      if (k == 0 && aMayHaveGrown && hi == 99) generation = 1;
      ASSERT_EQ(hi, generation ? 99 : counts[k] - 1) << names[k];
      for (int i = 0; i <= hi; ++i)
        ASSERT_EQ(store.GETVAL(s, i), float(valueOf(k, generation, i))) << names[k] << " " << i;
    }
    Series z;
    fill(store, z, 9, 0, 40);
    store.SAVESERIES(z, ".D.Z");
    EXPECT_FALSE(store.StoreError);
    Series back;
    store.LOADONE(back, ".D.Z");
    EXPECT_FALSE(store.StoreError);
    EXPECT_EQ(store.GETVAL(back, 39), float(valueOf(9, 0, 39)));
  }
};

// The three kinds of operation the replay stops at every step.
using Operation = std::function<void(Store&)>;

struct Scenario {
  const char* what;
  Operation run;
  bool growsA;
};

std::vector<Scenario> scenarios() {
  return {
      {"a new series in a DSDir",
       [](Store& store) {
         Series s;
         fill(store, s, 5, 0, 70);
         store.SAVESERIES(s, ".D.N");
       },
       false},
      {"a series grown from 31 to 100 values",
       [](Store& store) {
         Series s;
         fill(store, s, 0, 1, 100);
         store.SAVESERIES(s, "A");
       },
       true},
      {"a DSDir that extends the full root's chain", [](Store& store) { store.MAKEDSDIR("E"); },
       false},
  };
}

TEST_F(JournalTest, KilledAtEveryStepAttachesToTheStateBeforeOrAfter) {
  for (const Scenario& sc : scenarios()) {
    SCOPED_TRACE(sc.what);
    // The file after the operation, made without faults (the clock is fixed, so it is exact).
    std::vector<uint8_t> after;
    long long totalSteps = 0;
    {
      test::writeBytes(name, base);
      test::TestHost host;
      host.syncStore = true;
      LogModel log;
      Store store(host, log);
      store.ATTACHDSF(name);
      long long before = host.faults.steps;
      sc.run(store);
      ASSERT_FALSE(store.StoreError);
      totalSteps = host.faults.steps - before;
      store.DETACHDSF();
      after = test::readBytes(name);
    }
    // The journal made, written and synced with its folder, the record runs, the header, the
    // file's sync, the journal cleared and synced.
    ASSERT_GE(totalSteps, 10);
    for (long long k = 0; k <= totalSteps; ++k) {
      SCOPED_TRACE("killed before step " + std::to_string(k));
      test::writeBytes(name, base);
      {
        test::TestHost host;
        host.syncStore = true;
        LogModel log;
        Store store(host, log);
        store.ATTACHDSF(name);
        ASSERT_FALSE(store.StoreError);
        host.faults.steps = 0;
        host.faults.killAfterSteps = k;
        sc.run(store);
        EXPECT_EQ(host.faults.killed, k < totalSteps);
      }  // the process ends here, as it stands
      test::TestHost host;
      LogModel log;
      Store store(host, log);
      store.ATTACHDSF(name);
      ASSERT_FALSE(store.StoreError) << host.lastMessage();
      EXPECT_FALSE(exists(Store::journalName(name)));
      std::vector<uint8_t> now = test::readBytes(name);
      EXPECT_TRUE(now == base || now == after);
      // Once the journal is written, a kill before it is gone undoes the operation, and the
      // log says so.
      if (k >= 2 && now == base) {
        ASSERT_FALSE(log.lines().empty());
        EXPECT_NE(log.lines().back().find("rolled back"), std::string::npos);
      }
      checkEarlierSeries(store, sc.growsA);
    }
  }
}

TEST_F(JournalTest, AFailedWriteLeavesTheFileAsItWasAndIsReported) {
  for (const Scenario& sc : scenarios()) {
    SCOPED_TRACE(sc.what);
    for (long long bytes = 0; bytes < 20000; bytes += 211) {
      SCOPED_TRACE("disk full after " + std::to_string(bytes) + " bytes");
      test::writeBytes(name, base);
      test::TestHost host;
      LogModel log;
      Store store(host, log);
      store.ATTACHDSF(name);
      host.faults.failAfterBytes = bytes;
      sc.run(store);
      if (!store.StoreError) break;  // everything fitted: the operation went through
      EXPECT_EQ(host.captions.back(), "I/O error");
      EXPECT_EQ(test::readBytes(name), base);
      // The store goes on from the file as it was.
      host.faults.failAfterBytes = -1;
      ASSERT_TRUE(store.attached());
      checkEarlierSeries(store, false);
      store.DETACHDSF();
      EXPECT_FALSE(exists(Store::journalName(name)));
    }
  }
}

TEST_F(JournalTest, AFailedStoreLeavesTheSeriesUnsaved) {
  test::TestHost host;
  LogModel log;
  Store store(host, log);
  store.ATTACHDSF(name);
  Series s;
  fill(store, s, 7, 0, 50);
  s.modified = true;
  host.faults.failAfterBytes = 300;
  store.SAVESERIES(s, "NEW");
  EXPECT_TRUE(store.StoreError);
  // Still to be saved, under its old name: nothing of it is in the file.
  EXPECT_TRUE(s.modified);
  EXPECT_NE(s.path(), ".NEW");
  host.faults.failAfterBytes = -1;
  Series probe;
  store.LOADONE(probe, "NEW");
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(test::readBytes(name), base);
}

TEST_F(JournalTest, ASecondStoreIsRefusedWhileTheFirstHasTheFile) {
  test::TestHost host1, host2;
  LogModel log1, log2;
  Store first(host1, log1), second(host2, log2);
  first.ATTACHDSF(name);
  ASSERT_FALSE(first.StoreError);
  second.ATTACHDSF(name);
  EXPECT_TRUE(second.StoreError);
  EXPECT_EQ(host2.lastMessage(), "DSF is in use by another program");
  EXPECT_FALSE(second.attached());
  // A store that already has another DSF keeps it.
  test::TempDir other;
  second.CREATEDSF(other.file("O.DSF"));
  ASSERT_FALSE(second.StoreError);
  second.ATTACHDSF(name);
  EXPECT_TRUE(second.StoreError);
  EXPECT_EQ(second.DsfName(), other.file("O.DSF"));
  // The first writes on; attaching its own file again is no conflict.
  Series s;
  fill(first, s, 8, 0, 5);
  first.SAVESERIES(s, "F");
  EXPECT_FALSE(first.StoreError);
  first.ATTACHDSF(name);
  EXPECT_FALSE(first.StoreError);
  // Once it lets go, the second may have it.
  first.DETACHDSF();
  second.ATTACHDSF(name);
  EXPECT_FALSE(second.StoreError);
  Series back;
  second.LOADONE(back, "F");
  EXPECT_FALSE(second.StoreError);
}

TEST_F(JournalTest, AnUnreachableTailIsCutOffAtAttach) {
  // An append cut short without a journal (another writer): two and a half records too many.
  std::vector<uint8_t> longer = base;
  longer.resize(base.size() + 320, 0x5A);
  test::writeBytes(name, longer);
  test::TestHost host;
  LogModel log;
  Store store(host, log);
  store.ATTACHDSF(name);
  ASSERT_FALSE(store.StoreError);
  EXPECT_EQ(test::readBytes(name), base);
  ASSERT_FALSE(log.lines().empty());
  EXPECT_NE(log.lines().back().find("320 bytes"), std::string::npos) << log.lines().back();
  checkEarlierSeries(store, false);
}

TEST_F(JournalTest, AJournalOfAnotherFileIsNotApplied) {
  // A complete journal made by a killed store, then a different DSF put in the file's place.
  test::writeBytes(name, base);
  {
    test::TestHost host;
    LogModel log;
    Store store(host, log);
    store.ATTACHDSF(name);
    host.faults.killAfterSteps = 2;  // the journal is written, the DSF not yet
    scenarios()[0].run(store);
    ASSERT_TRUE(host.faults.killed);
  }
  ASSERT_TRUE(exists(Store::journalName(name)));
  std::vector<uint8_t> other = base;
  other[17] ^= 1;  // another creation stamp
  test::writeBytes(name, other);
  test::TestHost host;
  LogModel log;
  Store store(host, log);
  store.ATTACHDSF(name);
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(host.captions.back(), "I/O error");
  EXPECT_EQ(test::readBytes(name), other);
  EXPECT_TRUE(exists(Store::journalName(name)));
}

TEST_F(JournalTest, ScriptOperationsAreSyncedAtTheEndOfTheRun) {
  test::TestHost host;
  host.syncStore = true;
  LogModel log;
  Store store(host, log);
  bool scriptRunning = true;
  store.setScriptRunningFlag(&scriptRunning);
  store.ATTACHDSF(name);
  Series s;
  fill(store, s, 6, 0, 31);
  host.faults.steps = 0;
  store.SAVESERIES(s, "S");
  // The journal (made, written), three record runs and the journal cleared: no sync inside a
  // script. At its end the file, then the journal.
  EXPECT_EQ(host.faults.steps, 6);
  scriptRunning = false;
  store.SYNCDSF();
  EXPECT_EQ(host.faults.steps, 8);
  store.SYNCDSF();  // nothing left to sync
  EXPECT_EQ(host.faults.steps, 8);
  // Detach removes the cleared journal.
  EXPECT_TRUE(exists(Store::journalName(name)));
  store.DETACHDSF();
  EXPECT_FALSE(exists(Store::journalName(name)));
}

TEST_F(JournalTest, ACommandStoringManySeriesSyncsOnceAtItsEnd) {
  test::TestHost host;
  host.syncStore = true;
  LogModel log;
  Store store(host, log);
  store.ATTACHDSF(name);
  std::array<Series, 3> s;
  host.faults.steps = 0;
  {
    Store::SyncOnce once(store);
    for (int k = 0; k < 3; ++k) {
      fill(store, s[k], 4, k, 31);
      store.SAVESERIES(s[k], ".D.S" + std::to_string(k));
    }
    // The journal made, then per series: written, the records, the header, cleared (5 steps).
    EXPECT_EQ(host.faults.steps, 1 + 3 * 5);
  }
  EXPECT_EQ(host.faults.steps, 1 + 3 * 5 + 2);
}

}  // namespace
