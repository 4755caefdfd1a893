// The plotane program run in batch mode as a separate process: exit codes, messages on standard
// error, and the files a script writes (DSF, TXT, GRD, GRL, the PCL stream and the PNG page).
// The executable is PLOTANE_EXE, or src/plotane of the same build; without it (a build with no
// windows) these tests are skipped.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "FileBytes.h"
#include "TempDir.h"

namespace plotane {
namespace {

namespace fs = std::filesystem;

std::string executable() {
  if (const char* e = std::getenv("PLOTANE_EXE")) return e;
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  fs::path exe = self.parent_path().parent_path() / "src" / "plotane";
  return fs::exists(exe) ? exe.string() : std::string();
}

// CTest names the source folder; run by hand, the build folder is taken to sit inside it.
std::string sourceDir() {
  if (const char* s = std::getenv("PLOTANE_SOURCE_DIR")) return s;
  std::error_code ec;
  return fs::read_symlink("/proc/self/exe", ec).parent_path().parent_path().parent_path();
}

using test::readText;

void writeFile(const std::string& name, const std::string& text) {
  std::ofstream(name, std::ios::binary) << text;
}

struct Result {
  int code = -1;
  std::string out, err;
};

// Runs plotane with the arguments in the folder (after prefix, a command such as env); standard
// output and error are kept.
Result plotane(const std::string& dir, const std::string& args, const std::string& prefix = {}) {
  Result r;
  std::string cmd = "cd '" + dir + "' && " + prefix + "'" + executable() + "' " + args +
                    " >stdout.txt 2>stderr.txt";
  int status = std::system(cmd.c_str());
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = readText(dir + "/stdout.txt");
  r.err = readText(dir + "/stderr.txt");
  return r;
}

// Lines of standard error that are the program's own (the toolkit may add notes of its own).
bool hasLine(const std::string& text, const std::string& line) {
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);)
    if (l == line) return true;
  return false;
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (executable().empty()) GTEST_SKIP() << "no plotane executable in this build";
  }
  test::TempDir dir;
};

TEST_F(EndToEnd, ExitCodesAndMessages) {
  writeFile(dir.file("GOOD.EBT"), "DWDRAWLINE; END");
  EXPECT_EQ(plotane(dir.path(), "--batch GOOD").code, 0);
  // The name is found whatever its case on disk.
  EXPECT_EQ(plotane(dir.path(), "--batch good").code, 0);

  writeFile(dir.file("BAD.EBT"), "DWDRAWLINE; NOSUCHWORD; DWDRAWLINE;");
  Result bad = plotane(dir.path(), "--batch BAD");
  EXPECT_EQ(bad.code, 1);
  EXPECT_TRUE(hasLine(bad.err, "Error...cannot continue:")) << bad.err;
  EXPECT_TRUE(hasLine(bad.err, "plotane: BAD.EBT stopped at line 1 (NOSUCHWORD): no such command"))
      << bad.err;

  // The store's own message comes first, one line each.
  writeFile(dir.file("NOFILE.EBT"), "WWATTACH(MISSING);");
  Result nofile = plotane(dir.path(), "--batch NOFILE");
  EXPECT_EQ(nofile.code, 1);
  EXPECT_LT(nofile.err.find("MISSING"), nofile.err.find("Error...cannot continue:"));

  EXPECT_EQ(plotane(dir.path(), "--batch ABSENT").code, 2);
  EXPECT_EQ(plotane(dir.path(), "--batch").code, 2);
  EXPECT_EQ(plotane(dir.path(), "--batch GOOD --png").code, 2);
  EXPECT_EQ(plotane(dir.path(), "--help").code, 0);

  writeFile(dir.file("QUIT.EBT"), "@QUIT; NOSUCHWORD;");
  EXPECT_EQ(plotane(dir.path(), "--batch QUIT").code, 0);

  // Garbage is an error, never a crash.
  std::string garbage;
  for (int i = 0; i < 4000; ++i) garbage.push_back(char((i * 7919) % 251));
  writeFile(dir.file("JUNK.EBT"), garbage);
  EXPECT_EQ(plotane(dir.path(), "--batch JUNK").code, 1);
  writeFile(dir.file("OPEN.EBT"), "WWATTACH('never closed);");
  EXPECT_EQ(plotane(dir.path(), "--batch OPEN").code, 1);
}

// A statement with no message of its own says why the run stopped, on the stopping line; the
// error box's line stays as it is.
TEST_F(EndToEnd, TheStoppingLineSaysWhy) {
  writeFile(dir.file("LIMS.EBT"), "DWDRAWLINE;\n  WWUSELIMS(0, 12001);\nDWDRAWLINE;");
  Result r = plotane(dir.path(), "--batch LIMS");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err,
            "Error...cannot continue:\n"
            "plotane: LIMS.EBT stopped at line 2 (WWUSELIMS): argument 2: 12001 is above the upper "
            "bound 12000\n");
}

// Standard error carries the program's own lines only, whatever the toolkit would say about
// its surroundings (here a service user's missing runtime folder).
TEST_F(EndToEnd, NoToolkitChatterOnStandardError) {
  writeFile(dir.file("GOOD.EBT"), "DWDRAWLINE; @T('x'); END");
  writeFile(dir.file("BAD.EBT"), "WWATTACH(MISSING);");
  Result good = plotane(dir.path(), "--batch GOOD", "env -u XDG_RUNTIME_DIR ");
  EXPECT_EQ(good.code, 0);
  EXPECT_EQ(good.err, "");
  Result bad = plotane(dir.path(), "--batch BAD", "env -u XDG_RUNTIME_DIR ");
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.err,
            "MISSING.DSF not found\nError...cannot continue:\n"
            "plotane: BAD.EBT stopped at line 1 (WWATTACH)\n");
}

TEST_F(EndToEnd, ParametersNameTheFiles) {
  writeFile(dir.file("MAKE.EBT"),
            "WWCREATE(%2); WWMKDSDIR(.SET); WWUSELIMS(1,3);\n"
            "WWFILEREADTXT(%3, A); WWCOLNAME(A, .SET.Y, 'line one', 'two'); WWCOLSAVE(A..A);\n"
            "@BINCALC(B, A, *, 2); WWFILEWRITEHTXT(%4, A..B); GWFILESAVE(%2);");
  writeFile(dir.file("in.txt"), "* Y\r\n5\r\n6\r\n7\r\n");
  Result r = plotane(dir.path(), "--batch MAKE out IN table");
  ASSERT_EQ(r.code, 0) << r.err;

  // Parameters are used unchanged, so the names keep their case. The table: names, then one
  // line per index from 1 to 3 (two blanks and 13-character
  // scientific numbers per field).
  EXPECT_EQ(readText(dir.file("table.TXT")),
            "*    .SET.Y\r\n*    ***noname***\r\n"
            "  5.000000E+00  1.000000E+01\r\n  6.000000E+00  1.200000E+01\r\n"
            "  7.000000E+00  1.400000E+01\r\n");

  // The graph file: format mark, PCL printing mode, then the 1570-byte record.
  std::string grd = readText(dir.file("out.GRD"));
  ASSERT_EQ(grd.size(), 1572u);
  EXPECT_EQ(uint8_t(grd[0]), 0xF3);
  EXPECT_EQ(uint8_t(grd[1]), 1);

  // The data file: 128-byte records, holding the series name and its description.
  std::string dsf = readText(dir.file("out.DSF"));
  ASSERT_FALSE(dsf.empty());
  EXPECT_EQ(dsf.size() % 128, 0u);
  EXPECT_NE(dsf.find("line one\\two"), std::string::npos);
  EXPECT_NE(dsf.find("SET"), std::string::npos);
}

// Decodes a binary PBM (P4) into rows of bytes.
bool readPbm(const std::string& data, int& w, int& h, std::string& bits) {
  std::istringstream in(data);
  std::string magic;
  in >> magic >> w >> h;
  if (magic != "P4" || !in) return false;
  in.get();
  bits.assign(std::istreambuf_iterator<char>(in), {});
  return bits.size() == std::size_t((w + 7) / 8) * std::size_t(h);
}

TEST_F(EndToEnd, TheDemoMakesItsFilesAndThePageAgrees) {
  fs::copy(sourceDir() + "/examples", dir.path(), fs::copy_options::recursive);
  Result r = plotane(dir.path(), "--batch DEMO --png page.png --print-to page.pcl");
  ASSERT_EQ(r.code, 0) << r.err;

  // GRL: the file's first word is its marker, then the screen type 1.
  std::string grl = readText(dir.file("DEMO.GRL"));
  ASSERT_GT(grl.size(), 4u);

  // PCL: start sequence, 3000 rows, end sequence.
  std::string pcl = readText(dir.file("page.pcl"));
  ASSERT_EQ(pcl.substr(0, 12), "\x1b*t300R\x1b*r0A");
  ASSERT_EQ(pcl.substr(pcl.size() - 4), "\x1b*rB");
  std::vector<std::string> rows;
  std::size_t p = 12;
  while (p < pcl.size() - 4) {
    ASSERT_EQ(pcl.substr(p, 3), "\x1b*b");
    std::size_t w = pcl.find('W', p);
    int n = std::stoi(pcl.substr(p + 3, w - p - 3));
    ASSERT_GE(n, 1);
    ASSERT_LE(n, 300);
    std::string row = pcl.substr(w + 1, std::size_t(n));
    row.resize(300, '\0');
    rows.push_back(row);
    p = w + 1 + std::size_t(n);
  }
  ASSERT_EQ(rows.size(), 3000u);

  // PNG: 2400 x 3000, bit depth 1; decoded by ImageMagick it is the printed page.
  std::string png = readText(dir.file("page.png"));
  ASSERT_GT(png.size(), 33u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  auto be32 = [&](std::size_t at) {
    return (uint32_t(uint8_t(png[at])) << 24) | (uint32_t(uint8_t(png[at + 1])) << 16) |
           (uint32_t(uint8_t(png[at + 2])) << 8) | uint32_t(uint8_t(png[at + 3]));
  };
  EXPECT_EQ(be32(16), 2400u);
  EXPECT_EQ(be32(20), 3000u);
  EXPECT_EQ(uint8_t(png[24]), 1);
  if (std::system("command -v convert >/dev/null 2>&1") != 0) return;
  std::string cmd = "cd '" + dir.path() + "' && convert page.png page.pbm";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  int w = 0, h = 0;
  std::string bits;
  ASSERT_TRUE(readPbm(readText(dir.file("page.pbm")), w, h, bits));
  ASSERT_EQ(w, 2400);
  ASSERT_EQ(h, 3000);
  long ink = 0;
  for (int row = 0; row < 3000; ++row) {
    ASSERT_EQ(bits.substr(std::size_t(row) * 300, 300), rows[std::size_t(row)]) << row;
    for (char c : rows[std::size_t(row)]) ink += __builtin_popcount(uint8_t(c));
  }
  EXPECT_GT(ink, 50000);  // a whole figure, not an empty page
}

}  // namespace
}  // namespace plotane
