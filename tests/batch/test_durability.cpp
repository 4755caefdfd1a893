// Saves that fail half-way, for every kind of file the program writes: the old file stays exactly
// as it was and the failure is reported. Hostile inputs (a link to an endless device, a pipe, a
// byte-order mark) give a clear message or are read as meant; running out of memory inside a
// statement is that statement's error.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <new>

#include "FileBytes.h"
#include "ScriptCtx.h"
#include "drawing/DrawingOutput.h"
#include "shell/AppContext.h"
#include "shell/base/Files.h"
#include "shell/base/Messages.h"

namespace plotane {
namespace {

std::vector<uint8_t> bytesOf(const std::string& s) { return {s.begin(), s.end()}; }

const std::string kOld = "the old file, which a failed save must leave alone\r\n";

struct Ctx : test::ScriptCtx {
  // Writes the old contents to the file, runs the save with the disk full after `bytes` bytes,
  // and checks that the file is unchanged and that something was reported.
  void failingSave(const std::string& file, long long bytes, const std::function<bool()>& save) {
    SCOPED_TRACE(file);
    test::writeBytes(dir.file(file), {kOld.begin(), kOld.end()});
    host.clear();
    host.faults.failAfterBytes = bytes;
    const bool ok = save();
    host.faults.failAfterBytes = -1;
    EXPECT_FALSE(ok);
    EXPECT_FALSE(host.messages.empty());
    EXPECT_EQ(test::readText(dir.file(file)), kOld);
    // No temporary file is left beside it.
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file();
    EXPECT_EQ(files, 1);
    std::filesystem::remove(dir.file(file));
  }
};

TEST(FailingSaves, EveryWriterFamilyLeavesTheOldFile) {
  Ctx t;
  Store& store = t.ctx.store;
  Series& a = t.ctx.worksheet.column(0);
  store.NEWSERIES(a, false, "d");
  for (int i = 0; i <= 200; ++i) store.PUTVAL(a, i, i * 1.5);
  Drawing& d = t.ctx.ensureDrawing();
  d.HorizontalSpan(300, 1099, 1500, true);
  d.SetACursor(1.0, 5.0);
  d.SetBCursor(3.0, 6.0);
  ASSERT_TRUE(d.DefineBlock());
  for (long long bytes : {0LL, 3LL}) {
    t.failingSave("G.GRD", bytes, [&] {
      t.ctx.graph.SaveGrd(t.dir.file("G.GRD"), true);
      return !store.StoreError;
    });
    t.failingSave("T.TXT", bytes, [&] {
      t.ctx.worksheet.WriteTxtTable(t.dir.file("T.TXT"), true, 0, 0);
      return !store.StoreError;
    });
    t.failingSave("W.WKS", bytes, [&] {
      t.ctx.worksheet.WriteWks(t.dir.file("W.WKS"));
      return !store.StoreError;
    });
    t.failingSave("D.GRL", bytes, [&] {
      d.SaveGrl(t.dir.file("D.GRL"));
      return !d.state.GrlError;
    });
    t.failingSave("B.PCX", bytes, [&] { return d.WritePcx(t.dir.file("B.PCX")); });
    t.failingSave("P.PCL", bytes, [&] { return PrintPclToFile(d, t.dir.file("P.PCL")); });
    t.failingSave("S.EBT", bytes, [&] {
      t.ctx.runner.setText("END;");
      return t.ctx.runner.saveFile(t.dir.file("S.EBT"));
    });
    t.failingSave("L.TXT", bytes, [&] {
      t.ctx.log.ADDLOG("a line");
      std::string error;
      bool ok = t.ctx.log.saveText(t.dir.file("L.TXT"), error, t.host.writeFaults());
      if (!ok) t.host.message(error);  // the log window shows it
      return ok;
    });
  }
}

TEST(FailingSaves, PrintingToAFileThatFailsMarksTheRun) {
  Ctx t;
  t.ctx.printToFile = t.dir.file("OUT.PCL");
  t.host.faults.failAfterBytes = 5000;
  // A page that was not printed stops the script.
  EXPECT_FALSE(t.run("DWPRINT; END;"));
  EXPECT_FALSE(std::filesystem::exists(t.dir.file("OUT.PCL")));
  EXPECT_EQ(t.host.captions.front(), "I/O error");
}

TEST(HostileInputs, DevicesAndPipesGiveAMessageAndNeverBlock) {
  Ctx t;
  ASSERT_EQ(::symlink("/dev/zero", t.dir.file("ZERO.TXT").c_str()), 0);
  ASSERT_EQ(::symlink("/dev/zero", t.dir.file("ZERO.GRL").c_str()), 0);
  ASSERT_EQ(::symlink("/dev/zero", t.dir.file("ZERO.GRD").c_str()), 0);
  ASSERT_EQ(::mkfifo(t.dir.file("PIPE.TXT").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo(t.dir.file("PIPE.EBT").c_str(), 0600), 0);
  EXPECT_FALSE(t.run("WWFILEREADTXT('$/ZERO', A);"));
  EXPECT_EQ(t.host.messages.front(), "File error");
  t.host.clear();
  EXPECT_FALSE(t.run("WWFILEREADTXT('$/PIPE', A);"));
  EXPECT_EQ(t.host.messages.front(), "File error");
  t.host.clear();
  EXPECT_FALSE(t.run("DWFILEOPEN('$/ZERO');"));
  EXPECT_FALSE(t.host.messages.empty());
  t.host.clear();
  EXPECT_FALSE(t.run("GWFILELOAD('$/ZERO');"));
  EXPECT_NE(t.host.messages.front().find("not a regular file"), std::string::npos);
  t.host.clear();
  EXPECT_FALSE(t.ctx.runner.loadFile(t.dir.file("PIPE.EBT")));
  EXPECT_NE(t.host.lastMessage().find("not a regular file"), std::string::npos);
  t.host.clear();
  t.ctx.store.ATTACHDSF(t.dir.file("PIPE.TXT"));
  EXPECT_TRUE(t.ctx.store.StoreError);
  EXPECT_FALSE(t.ctx.store.attached());
}

TEST(HostileInputs, AByteOrderMarkIsSkippedInScriptsAndTables) {
  Ctx t;
  test::writeBytes(t.dir.file("BOM.TXT"),
                   bytesOf("\xEF\xBB\xBF* T\r\n* Y\r\n1 139.227\r\n2 140.5\r\n"));
  test::writeBytes(t.dir.file("BOM.EBT"), bytesOf("\xEF\xBB\xBFWWFILEREADTXT('" + t.dir.path() +
                                                  "/BOM', A);\r\nEND;\r\n"));
  ASSERT_TRUE(t.ctx.runner.loadFile(t.dir.file("BOM.EBT")));
  t.ctx.runner.RUN();
  EXPECT_FALSE(t.ctx.runner.ScriptError) << t.host.lastMessage();
  EXPECT_EQ(t.ctx.worksheet.column(0).path(), "T");
  EXPECT_EQ(t.ctx.store.GETVAL(t.ctx.worksheet.column(1), 0), 139.227f);
  EXPECT_EQ(t.ctx.store.GETVAL(t.ctx.worksheet.column(1), 1), 140.5f);
}

TEST(HostileInputs, RunningOutOfMemoryIsTheStatementsError) {
  test::TestHost host;
  bool ran = guardFloat(host, [] { throw std::bad_alloc(); });
  EXPECT_FALSE(ran);
  EXPECT_EQ(host.lastMessage(), "Out of memory");
}

TEST(ScriptSync, TheRunsStoreOperationsAreSyncedOnceAtItsEnd) {
  Ctx t;
  t.host.syncStore = true;
  // The new file: its root record, then its header (2 steps). Each DSDir: the journal written
  // (and made, the first time), the new record, the root record, the header, the journal cleared
  // (5 steps). Then the file and the journal synced once for the whole run.
  ASSERT_TRUE(t.run("WWCREATE('$/S'); WWMKDSDIR(X); WWMKDSDIR(Y); END;"));
  EXPECT_EQ(t.host.faults.steps, 2 + 6 + 5 + 2);
  // Outside a script every operation syncs the journal before the file is touched, the file,
  // and the journal after it is cleared.
  t.ctx.store.MAKEDSDIR("Z");
  EXPECT_EQ(t.host.faults.steps, 15 + 5 + 3);
}

}  // namespace
}  // namespace plotane
