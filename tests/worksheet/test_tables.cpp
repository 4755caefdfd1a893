// TXT tables and WKS files: exact output, the reading rules, and damaged input.

#include <cmath>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

#include "FileBytes.h"
#include "TempDir.h"
#include "WorksheetFixture.h"
#include "shell/base/Files.h"

namespace plotane::test {
namespace {

std::vector<uint8_t> hex(const std::string& text) {
  std::vector<uint8_t> out;
  std::istringstream in(text);
  std::string byte;
  while (in >> byte) out.push_back(uint8_t(std::stoul(byte, nullptr, 16)));
  return out;
}

void append(std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
}

// The fixed WKS records, transcribed record by record from the format's table.
std::vector<uint8_t> expectedWksHeader() {
  std::vector<uint8_t> h;
  append(h, hex("00 00 02 00 04 04"));
  append(h, hex("02 00 01 00 FF"));
  append(h, hex("05 00 01 00 00"));
  append(h, hex("04 00 01 00 00"));
  append(h, hex("07 00 1F 00 00 00 00 00 7F 00 09 00 08 00 14 00 00 00 00 00 00 00 00 00 00 00 00 "
                "00 04 00 04 00 48 00 00"));
  append(h, hex("27 00 01 00 00"));
  append(h, hex("24 00 01 00 00"));
  append(h, hex("25 00 01 00 00"));
  append(h, hex("26 00 01 00 00"));
  append(h, hex("28 00 0A 00 00 00 50 00 42 00 02 00 02 00"));
  append(h, hex("29 00 01 00 27"));
  append(h, hex("18 00 19 00 00 FF FF 00 00 FF FF 00 00 FF FF 00 00 FF FF 00 00 FF FF 00 00 FF FF "
                "00 00"));
  append(h, hex("19 00 19 00 FF FF 00 00 FF FF 00 00 FF FF 00 00 FF FF 00 00 FF FF 00 00 FF FF 00 "
                "00 00"));
  append(h, hex("1B 00 08 00 FF FF 00 00 FF FF 00 00"));
  append(h, hex("1D 00 09 00 FF FF 00 00 FF FF 00 00 FF"));
  append(h, hex("23 00 09 00 FF FF 00 00 FF FF 00 00 FF"));
  append(h, hex("2D 00 B5 01"));
  std::vector<uint8_t> graph(437, 0);
  for (int i = 0; i < 104; i += 4) graph[i] = graph[i + 1] = 0xFF;
  for (int i = 107; i <= 112; ++i) graph[i] = 0x03;
  for (int at : {126, 134, 143, 151}) graph[at] = 0xE0, graph[at + 1] = 0x37;
  graph[433] = 1, graph[434] = 2, graph[435] = 5, graph[436] = 5;
  append(h, graph);
  return h;
}

std::vector<uint8_t> numberRecord(int column, int row, const std::string& doubleBytes) {
  std::vector<uint8_t> r = hex("0E 00 0D 00 FF");
  r.push_back(uint8_t(column));
  r.push_back(uint8_t(column >> 8));
  r.push_back(uint8_t(row));
  r.push_back(uint8_t(row >> 8));
  append(r, hex(doubleBytes));
  return r;
}

class TablesTest : public WorksheetTest {
 protected:
  TempDir dir;

  std::string writeText(const std::string& name, const std::string& text) {
    std::string path = dir.file(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  std::string writeBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::string path = dir.file(name);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
  }
};

// ---- TXT writing ----

TEST_F(TablesTest, TxtWithHeadersSkipsColumnsNotInUse) {
  ws.SetUseLimits(0, 2);
  fill(0, 0, {1.5, -2});
  ws.column(0).nameBlock->path = "PRES";
  fill(2, 1, {1000});
  std::string path = dir.file("OUT.TXT");
  ws.StartWriteTxt(path, true);
  EXPECT_EQ(ws.Request.prompt, "Range of columns to save:");
  EXPECT_EQ(ws.Request.code, 4);
  ws.ConfirmRequest(0, 2);
  const std::string blank14(14, ' ');
  std::string expected =
      "*    PRES\r\n*    ***noname***\r\n"
      "  1.500000E+00" +
      blank14 +
      "\r\n"
      " -2.000000E+00  1.000000E+03\r\n" +
      blank14 + blank14 + "\r\n";
  EXPECT_EQ(test::readText(path), expected);
  EXPECT_FALSE(ws.column(0).modified);
  EXPECT_FALSE(ws.column(2).modified);
  EXPECT_EQ(host.busyDepth, 0);
}

TEST_F(TablesTest, TxtWithoutHeadersWritesMissingValuesAsNumbers) {
  ws.SetUseLimits(-1, 1);
  fill(4, 0, {double(MissingValue), 0.25});
  fill(6, 0, {1});  // outside the range written
  ws.StartWriteTxt(dir.file("N.TXT"), false);
  EXPECT_EQ(ws.Request.code, 5);
  ws.ConfirmRequest(4, 5);
  EXPECT_EQ(test::readText(dir.file("N.TXT")), std::string(14, ' ') + "\r\n" +
                                                   "  3.400000E+38\r\n"
                                                   "  2.500000E-01\r\n");
  EXPECT_FALSE(ws.column(4).modified);
  EXPECT_TRUE(ws.column(6).modified);
}

TEST_F(TablesTest, TxtHeaderLinesAreCutAt92) {
  ws.SetUseLimits(0, -1);
  fill(0, 0, {1});
  ws.column(0).nameBlock->path = std::string(87, 'N');
  ws.WriteTxtTable(dir.file("H.TXT"), true, 0, 0);
  EXPECT_EQ(test::readText(dir.file("H.TXT")), "*    " + std::string(87, 'N') + "\r\n");
}

TEST_F(TablesTest, TxtWriteFailureSaysFileErr) {
  fill(0, 0, {1});
  ws.WriteTxtTable(dir.file("no/such/dir/X.TXT"), true, 0, 0);
  EXPECT_EQ(host.lastMessage(), "File ERR");
  EXPECT_TRUE(store.StoreError);
  EXPECT_TRUE(ws.column(0).modified);
}

// ---- TXT reading ----

TEST_F(TablesTest, TxtNameLinesNameTheColumns) {
  std::string path =
      writeText("P.TXT", "*    PRESSURE\r\n*    TEMP\r\n1.5 20\r\n  2.5\t21 99\r\n-3 22\r\n");
  fill(1, 100, {5});  // replaced, after the question about its unsaved value
  ws.StartReadTxt(path);
  EXPECT_EQ(ws.Request.prompt, "Leftmost column for TXT block read:");
  EXPECT_EQ(ws.Request.code, 3);
  host.answers = {Answer::Yes};
  ws.ConfirmRequest(1);
  ASSERT_TRUE(host.messages.empty()) << host.lastMessage();
  EXPECT_EQ(host.questions.size(), 1u);
  EXPECT_EQ(ws.columnName(1), "PRESSURE");
  EXPECT_EQ(ws.columnName(2), "TEMP");
  EXPECT_EQ(ws.column(1).info->description, "from file " + path);
  EXPECT_EQ(range(1), std::make_pair(0, 2));
  EXPECT_EQ(val(1, 1), 2.5f);
  EXPECT_EQ(val(1, 2), -3.0f);
  EXPECT_EQ(val(2, 2), 22.0f);
  EXPECT_EQ(ws.UseHigh(), 2);
  EXPECT_FALSE(ws.column(1).modified);
  EXPECT_FALSE(ws.inUse(3));
}

TEST_F(TablesTest, TxtWithoutNameLinesCountsTheFirstLinesFields) {
  ws.SetUseLimits(-2, 50);
  std::string path = writeText("N.TXT", "1 2 3\n4 5 6 7\n");
  ws.ReadTxtTable(path, 0);
  ASSERT_TRUE(host.messages.empty()) << host.lastMessage();
  for (int c = 0; c < 3; ++c) EXPECT_EQ(ws.columnName(c), "***noname***");
  EXPECT_FALSE(ws.inUse(3));
  EXPECT_EQ(range(2), std::make_pair(-2, -1));
  EXPECT_EQ(val(2, -1), 6.0f);
  EXPECT_EQ(ws.UseLow(), -2);
  EXPECT_EQ(ws.UseHigh(), -1);
}

TEST_F(TablesTest, TxtNameLineForms) {
  std::string path =
      writeText("F.TXT", "?  first second\r\n&AMP\r\n+5 plus\r\n  .-x\r\n*\r\n1 2 3 4 5\r\n");
  ws.ReadTxtTable(path, 0);
  ASSERT_TRUE(host.messages.empty()) << host.lastMessage();
  EXPECT_EQ(ws.columnName(0), "first");
  EXPECT_EQ(ws.columnName(1), "AMP");
  EXPECT_EQ(ws.columnName(2), "+5");
  EXPECT_EQ(ws.columnName(3), "x");
  EXPECT_EQ(ws.columnName(4), "***noname***");  // an empty name keeps the new series' name
  EXPECT_EQ(val(4, 0), 5.0f);
}

TEST_F(TablesTest, TxtOnlyNameLines) {
  ws.SetUseLimits(10, 20);
  ws.ReadTxtTable(writeText("O.TXT", "* A\r\n* B\r\n"), 0);
  EXPECT_TRUE(ws.inUse(0));
  EXPECT_TRUE(ws.inUse(1));
  EXPECT_FALSE(ws.column(0).hasData());
  EXPECT_EQ(ws.UseHigh(), 9);
}

TEST_F(TablesTest, TxtReadingStopsAtShortOrBadLines) {
  ws.SetUseLimits(0, 800);
  ws.ReadTxtTable(writeText("S.TXT", "1 2\r\n3\r\n5 6\r\n"), 0);
  EXPECT_EQ(host.messages, std::vector<std::string>{"Not enough numbers in a line "});
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(val(0, 1), 3.0f);  // what was read stays
  EXPECT_EQ(range(1), std::make_pair(0, 0));
  EXPECT_EQ(ws.UseHigh(), 800);
  host.clear();
  ws.ReadTxtTable(writeText("E.TXT", "1 2\r\n\r\n5 6\r\n"), 0);
  EXPECT_EQ(host.messages, std::vector<std::string>{"Not enough numbers in a line "});
  host.clear();
  ws.ReadTxtTable(writeText("B.TXT", "1 2\r\n3 x4\r\n"), 0);
  EXPECT_EQ(host.messages, std::vector<std::string>{"Error in input data"});
  host.clear();
  ws.ReadTxtTable(writeText("R.TXT", "1 2\r\n3 1e39\r\n"), 0);  // never stored as infinity
  EXPECT_EQ(host.messages, std::vector<std::string>{"Error in input data"});
  EXPECT_EQ(range(1), std::make_pair(0, 0));
  host.clear();
  ws.ReadTxtTable(dir.file("MISSING.TXT"), 0);
  EXPECT_EQ(host.messages, std::vector<std::string>{"File error"});
}

TEST_F(TablesTest, TxtLongLinesAndTheLastColumn) {
  std::string names;
  for (int k = 0; k < 5; ++k) names += "* N" + std::to_string(k) + std::string(300, ' ') + "x\r\n";
  std::string data;
  for (int k = 0; k < 100000; ++k) data += "1.25 ";
  ws.ReadTxtTable(writeText("L.TXT", names + data + "\r\n"), 507);
  ASSERT_TRUE(host.messages.empty()) << host.lastMessage();
  EXPECT_EQ(ws.columnName(507), "N0");
  EXPECT_EQ(ws.columnName(509), "N2");
  EXPECT_EQ(val(509, 0), 1.25f);
  EXPECT_EQ(store.loadedCount(), 3);
  // Without name lines the field count is cut to the columns left.
  ws.ReadTxtTable(writeText("W.TXT", data + "\n"), 500);
  EXPECT_EQ(store.loadedCount(), 10);
}

// ---- WKS ----

TEST_F(TablesTest, WksHeaderIsTheFixedRecords) {
  std::vector<uint8_t> expected = expectedWksHeader();
  ASSERT_EQ(expected.size(), 632u);
  append(expected, hex("01 00"));
  EXPECT_EQ(ws.WksImage(), expected);
}

TEST_F(TablesTest, WksRecordsAlignColumnsByIndex) {
  fill(0, 5, {1.5, -2});  // unnamed: no label
  fill(2, 4, {0.25});
  ws.column(2).nameBlock->path = "AB";
  std::string path = dir.file("T.WKS");
  ws.WriteWks(path);
  std::vector<uint8_t> expected = expectedWksHeader();
  // minLow = 4: index i goes to row i - 3.
  append(expected, numberRecord(0, 2, "00 00 00 00 00 00 F8 3F"));
  append(expected, numberRecord(0, 3, "00 00 00 00 00 00 00 C0"));
  append(expected, hex("0F 00 09 00 FF 02 00 00 00 27 41 42 00"));
  append(expected, numberRecord(2, 1, "00 00 00 00 00 00 D0 3F"));
  append(expected, hex("01 00"));
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(readWholeFile(path, bytes, error));
  EXPECT_EQ(bytes, expected);
  EXPECT_FALSE(ws.column(0).modified);
}

TEST_F(TablesTest, WksReadNamesAndPlacesCells) {
  std::vector<uint8_t> file = expectedWksHeader();
  append(file, hex("0F 00 0F 00 FF 02 00 00 00 27 6D 79 20 6C 61 62 65 6C 00"));  // 'my label
  for (int row = 1; row <= 5; ++row)
    append(file, numberRecord(2, row, "00 00 00 00 00 00 F0 3F"));  // 1.0
  append(file, hex("0F 00 09 00 FF 02 00 00 00 27 5A 5A 00"));      // later label: ignored
  append(file, hex("0F 00 09 00 FF 04 00 00 00 27 4C 4F 00"));      // label only: dropped
  append(file, hex("0D 00 07 00 FF 05 00 09 00 F9 FF"));            // INTEGER -7, row 9
  append(file, hex("10 00 0F 00 FF 06 00 00 00 00 00 00 00 00 00 04 40 AA BB"));  // FORMULA 2.5
  append(file, hex("01 00"));
  fill(9, 0, {1});  // the whole worksheet is emptied first
  ws.ReadWks(writeBytes("R.WKS", file));
  EXPECT_TRUE(host.messages.empty()) << host.lastMessage();
  EXPECT_FALSE(ws.inUse(9));
  ASSERT_TRUE(ws.inUse(2));
  EXPECT_EQ(ws.columnName(2), "my_label");
  EXPECT_EQ(range(2), std::make_pair(2, 6));
  EXPECT_EQ(val(2, 6), 1.0f);
  EXPECT_FALSE(ws.inUse(4));
  EXPECT_EQ(val(5, 10), -7.0f);
  EXPECT_EQ(ws.columnName(5), "***noname***");
  EXPECT_EQ(ws.column(5).info->description, "from file " + dir.file("R.WKS"));
  EXPECT_EQ(val(6, 1), 2.5f);
  EXPECT_FALSE(ws.column(2).modified);
  EXPECT_EQ(ws.UseHigh(), 800);
}

TEST_F(TablesTest, WksRoundTripShiftsIndicesByTheLowestIndex) {
  fill(0, -3, {1, 2});
  fill(1, 0, {5});
  ws.column(1).nameBlock->path = "has blank";  // names go back with "_"
  ws.WriteWks(dir.file("RT.WKS"));
  ws.ReadWks(dir.file("RT.WKS"));
  ASSERT_TRUE(host.messages.empty()) << host.lastMessage();
  // Written at row i + 4, read back at index i + 5.
  EXPECT_EQ(range(0), std::make_pair(2, 3));
  EXPECT_EQ(val(0, 3), 2.0f);
  EXPECT_EQ(val(1, 5), 5.0f);
  EXPECT_EQ(ws.columnName(1), "has_blank");
}

TEST_F(TablesTest, DamagedWksFilesNeverWriteOutsideTheWorksheet) {
  std::vector<uint8_t> file = expectedWksHeader();
  append(file, numberRecord(600, 1, "00 00 00 00 00 00 F0 3F"));    // column past SP: skipped
  append(file, numberRecord(1, 40000, "00 00 00 00 00 00 F0 3F"));  // index past 32767
  append(file, numberRecord(1, 1, "00 00 00 00 00 00 F0 7F"));      // infinity
  append(file, numberRecord(1, 2, "00 00 00 00 00 00 F8 7F"));      // NaN
  append(file, numberRecord(1, 3, "00 00 00 00 00 00 F0 47"));      // 2^128, above the singles
  append(file, hex("0E 00 03 00 FF 01 00"));                        // too short for a cell
  append(file, hex("0E 00 07 00 FF 01 00 04 00 00 00"));            // no room for the double
  std::vector<uint8_t> big = hex("0E 00 01 08 FF 03 00 01 00");     // body of 2049 bytes
  big.resize(4 + 2049, 0);
  append(file, big);
  append(file, numberRecord(3, 1, "00 00 00 00 00 00 00 40"));  // a good cell: 2.0
  std::vector<uint8_t> noEnd = file;
  ws.ReadWks(writeBytes("D.WKS", noEnd));
  EXPECT_TRUE(host.messages.empty()) << host.lastMessage();  // no end record: stops cleanly
  EXPECT_EQ(store.loadedCount(), 1);
  EXPECT_FALSE(ws.inUse(1));
  EXPECT_EQ(val(3, 2), 2.0f);

  // A record running past the end: the input/output check, and what came before stays.
  std::vector<uint8_t> cut = file;
  append(cut, hex("0E 00 0D 00 FF 04 00 01"));
  ws.ReadWks(writeBytes("C.WKS", cut));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("C.WKS"), std::string::npos);
  EXPECT_TRUE(store.StoreError);
  EXPECT_EQ(val(3, 2), 2.0f);
  EXPECT_FALSE(ws.inUse(4));
  // One odd byte after the records.
  host.clear();
  std::vector<uint8_t> odd = file;
  odd.push_back(0x0E);
  ws.ReadWks(writeBytes("O.WKS", odd));
  EXPECT_EQ(host.messages.size(), 1u);
  // A file that cannot be read.
  host.clear();
  ws.ReadWks(dir.file("NONE.WKS"));
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(ws.inUse(3));  // nothing was emptied
}

TEST_F(TablesTest, RandomBytesNeverBreakTheReaders) {
  std::mt19937 rng(12345);
  std::vector<uint8_t> header = expectedWksHeader();
  for (int round = 0; round < 200; ++round) {
    std::vector<uint8_t> tail(rng() % 400);
    for (auto& b : tail) b = uint8_t(rng() % 4 ? rng() % 20 : rng());  // small opcodes, lengths
    std::vector<uint8_t> file = round % 2 ? header : std::vector<uint8_t>{};
    append(file, tail);
    ws.ReadWks(writeBytes("X.WKS", file));
    std::string text(tail.begin(), tail.end());
    ws.ReadTxtTable(writeText("X.TXT", text), int(rng() % 510));
    // Whatever was read is a finite single.
    for (int c = 0; c <= MaxColumn; ++c) {
      if (!ws.column(c).hasData()) continue;
      for (int k = ws.column(c).lowest(); k <= ws.column(c).highestIndex(); ++k)
        ASSERT_TRUE(std::isfinite(val(c, k)));
    }
  }
}

}  // namespace
}  // namespace plotane::test
