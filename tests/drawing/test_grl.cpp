// GRL files: the byte layout of written files, the row code, landscape saves, old screen types
// and damaged files.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

#include "FileBytes.h"
#include "TempDir.h"
#include "TestHost.h"
#include "drawing/Drawing.h"
#include "shell/base/Files.h"

using namespace plotane;

namespace {

using Bytes = std::vector<uint8_t>;

using test::readBytes;
using test::writeBytes;

void word(Bytes& b, int v) {
  b.push_back(uint8_t(v & 0xFF));
  b.push_back(uint8_t((v >> 8) & 0xFF));
}

Bytes encode(const Bytes& row) {
  Bytes out;
  encodeGrlRow(row.data(), int(row.size()), out);
  return out;
}

}  // namespace

// 4 header bytes, then -300 / end for each of the 3000 raster rows and -100 / end for each of
// the 1000 preview rows: 16004 bytes.
TEST(Grl, FreshDrawingSavedAtOnce) {
  test::TestHost host;
  test::TempDir dir;
  Drawing d(host);
  d.SaveGrl(dir.file("EMPTY.GRL"));
  Bytes want = {0xAA, 0x7F, 0x01, 0x00};
  for (int i = 0; i < 3000; ++i) want.insert(want.end(), {0xD4, 0xFE, 0x00, 0x80});
  for (int i = 0; i < 1000; ++i) want.insert(want.end(), {0x9C, 0xFF, 0x00, 0x80});
  EXPECT_EQ(readBytes(dir.file("EMPTY.GRL")), want);
  EXPECT_FALSE(d.state.GrlError);
  EXPECT_TRUE(host.messages.empty());
}

TEST(Grl, RowCode) {
  // A run of three zeros stays inside the literal; the trailing run becomes a count.
  Bytes row(300, 0);
  row[0] = 1;
  row[4] = 2;
  Bytes want = {0x05, 0x00, 1, 0, 0, 0, 2, 0xD9, 0xFE, 0x00, 0x80};  // 5 literals, -295, end
  EXPECT_EQ(encode(row), want);
  // One to three zeros at the very end are written as a short count.
  EXPECT_EQ(encode({7, 8, 0, 0}), (Bytes{0x02, 0x00, 7, 8, 0xFE, 0xFF, 0x00, 0x80}));
  EXPECT_EQ(encode({7, 0}), (Bytes{0x01, 0x00, 7, 0xFF, 0xFF, 0x00, 0x80}));
  // Four zeros inside a row end the literal run.
  EXPECT_EQ(encode({5, 0, 0, 0, 0, 6}),
            (Bytes{0x01, 0x00, 5, 0xFC, 0xFF, 0x01, 0x00, 6, 0x00, 0x80}));
  // A row of ink is one literal of 300 bytes; a leading zero run is a count.
  Bytes full(300, 0xFF);
  Bytes fullWant = {0x2C, 0x01};
  fullWant.insert(fullWant.end(), 300, 0xFF);
  fullWant.insert(fullWant.end(), {0x00, 0x80});
  EXPECT_EQ(encode(full), fullWant);
  EXPECT_EQ(encode({0, 0, 0, 0, 0, 9}), (Bytes{0xFB, 0xFF, 0x01, 0x00, 9, 0x00, 0x80}));
  EXPECT_EQ(encode({0, 0, 9}), (Bytes{0x03, 0x00, 0, 0, 9, 0x00, 0x80}));
}

TEST(Grl, SaveAndLoadRestoreRasterAndPreview) {
  test::TestHost host;
  test::TempDir dir;
  Drawing a(host);
  a.DrawLine(true, 1, 1, 7, 9, LineWidthTable[4]);
  a.DrawLine(true, 0.5, 9.5, 7.5, 0.5, LineWidthTable[1]);
  a.DrawCircle(a.pointAt({4, 5}), 2);
  a.SaveGrl(dir.file("A.GRL"));
  EXPECT_FALSE(a.state.ImageChanged);

  Drawing b(host);
  b.LoadGrl(dir.file("a.grl"));  // found regardless of case
  EXPECT_FALSE(b.state.GrlError);
  EXPECT_FALSE(b.state.ImageChanged);
  for (int r = 0; r < kRasterRows; ++r)
    ASSERT_EQ(0, std::memcmp(a.image().row(r), b.image().row(r), kRasterRowBytes)) << r;
  for (int r = 0; r < 1000; ++r)
    ASSERT_EQ(0, std::memcmp(a.preview().row(r), b.preview().row(r), 100)) << r;
  EXPECT_GT(b.preview().countInk(), 1000);
  EXPECT_TRUE(host.messages.empty());
}

// Saving in landscape writes the portrait raster and preview, then returns to landscape with
// the cursors exactly where they were.
TEST(Grl, SavingInLandscape) {
  test::TestHost host;
  test::TempDir dir;
  Drawing d(host);
  d.DrawLine(true, 1, 2, 3, 4, LineWidthTable[3]);
  d.SaveGrl(dir.file("P.GRL"));
  d.SetLandscape();
  ASSERT_TRUE(d.SetACursor(1.1, 2.3));
  ASSERT_TRUE(d.SetBCursor(9.3, 7.7));
  d.SaveGrl(dir.file("L.GRL"));
  EXPECT_TRUE(d.state.LandscapeMode);
  EXPECT_EQ(d.state.A.X, 1.1);
  EXPECT_EQ(d.state.A.Y, 2.3);
  EXPECT_EQ(d.state.B.X, 9.3);
  EXPECT_EQ(d.state.B.Y, 7.7);
  EXPECT_EQ(d.caption(), std::string(kLandscapeCaption));
  EXPECT_EQ(readBytes(dir.file("P.GRL")), readBytes(dir.file("L.GRL")));
  // Loading always leaves the drawing in portrait.
  d.LoadGrl(dir.file("L.GRL"));
  EXPECT_FALSE(d.state.LandscapeMode);
}

TEST(Grl, RejectedFiles) {
  test::TestHost host;
  test::TempDir dir;
  Drawing d(host);
  d.DrawLine(true, 1, 1, 2, 2, LineWidthTable[2]);
  const long ink = d.image().countInk();
  d.state.GrlFileName = "KEEP.GRL";
  d.LoadGrl(dir.file("MISSING.GRL"));
  EXPECT_EQ(host.lastMessage(), "FILE ERROR");
  EXPECT_TRUE(d.state.GrlError);
  EXPECT_EQ(d.state.GrlFileName, "");
  EXPECT_EQ(d.caption(), std::string(kPortraitCaption));

  Bytes noMarker = {0x00, 0x00, 0x01, 0x00};
  writeBytes(dir.file("NOMARK.GRL"), noMarker);
  d.state.GrlError = false;
  d.LoadGrl(dir.file("NOMARK.GRL"));
  EXPECT_EQ(host.lastMessage(), "Wrong video type");
  EXPECT_TRUE(d.state.GrlError);

  Bytes type5 = {0xAA, 0x7F, 0x05, 0x00};
  writeBytes(dir.file("TYPE5.GRL"), type5);
  d.LoadGrl(dir.file("TYPE5.GRL"));
  EXPECT_EQ(host.lastMessage(), "Wrong video type");
  EXPECT_EQ(d.image().countInk(), ink);

  d.SaveGrl(dir.file("no-such-folder/X.GRL"));
  EXPECT_EQ(host.lastMessage(), "FILE ERROR");
  EXPECT_TRUE(d.state.GrlError);
}

// A file that ends early or a row that decodes past its buffer ends the load with the I/O
// message; the rows read before stay, nothing beyond a row is written.
TEST(Grl, DamagedFiles) {
  test::TestHost host;
  test::TempDir dir;
  Drawing full(host);
  for (double y = 0.5; y < 10; y += 0.5) full.DrawLine(true, 0.2, y, 7.8, y, LineWidthTable[4]);
  full.SaveGrl(dir.file("FULL.GRL"));
  Bytes bytes = readBytes(dir.file("FULL.GRL"));

  {
    Bytes cut(bytes.begin(), bytes.begin() + long(bytes.size() / 2));
    writeBytes(dir.file("CUT.GRL"), cut);
    Drawing d(host);
    host.clear();
    d.LoadGrl(dir.file("CUT.GRL"));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("I/O error"), std::string::npos);
    EXPECT_TRUE(d.state.GrlError);
    EXPECT_EQ(0, std::memcmp(d.image().row(150), full.image().row(150), kRasterRowBytes));
    EXPECT_GT(d.image().countInk(), 0);
  }
  for (int count : {301, -301, 200}) {
    // Row 0 is one literal of 200 bytes then a second control word running past the buffer.
    Bytes bad = {0xAA, 0x7F, 0x01, 0x00};
    if (count == 200) {
      word(bad, 200);
      bad.insert(bad.end(), 200, 0xFF);
      word(bad, -101);
    } else {
      word(bad, count);
      if (count > 0) bad.insert(bad.end(), size_t(count), 0xFF);
    }
    word(bad, -32768);
    writeBytes(dir.file("BAD.GRL"), bad);
    Drawing d(host);
    host.clear();
    d.LoadGrl(dir.file("BAD.GRL"));
    ASSERT_EQ(host.messages.size(), 1u) << count;
    EXPECT_NE(host.messages[0].find("I/O error"), std::string::npos);
    EXPECT_EQ(d.image().countInk(), 0) << count;
  }
  for (std::size_t len : {0u, 1u, 2u, 3u}) {
    writeBytes(dir.file("TINY.GRL"), Bytes(bytes.begin(), bytes.begin() + long(len)));
    Drawing d(host);
    host.clear();
    d.state.ImageChanged = true;  // unsaved work keeps its save question
    d.LoadGrl(dir.file("TINY.GRL"));
    EXPECT_TRUE(d.state.ImageChanged);
    ASSERT_EQ(host.messages.size(), 1u) << len;
    EXPECT_NE(host.messages[0].find("I/O error"), std::string::npos) << len;
  }
}

// An old 640 x 560 screen preview is stretched over the 800 x 1000 preview; the raster loads
// exactly.
TEST(Grl, OldScreenTypeStretchesThePreview) {
  test::TestHost host;
  test::TempDir dir;
  Bytes f = {0xAA, 0x7F, 0x02, 0x00};
  word(f, 2);
  f.insert(f.end(), {0x81, 0x42});
  word(f, -298);
  word(f, -32768);
  for (int r = 1; r < 3000; ++r) {
    word(f, -300);
    word(f, -32768);
  }
  for (int r = 0; r < 560; ++r) {
    if (r == 0) {
      word(f, 1);
      f.push_back(0x80);  // pixel (0, 0) black
      word(f, -79);
    } else {
      word(f, -80);
    }
    word(f, -32768);
  }
  writeBytes(dir.file("OLD.GRL"), f);
  Drawing d(host);
  d.LoadGrl(dir.file("OLD.GRL"));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(d.state.GrlError);
  EXPECT_EQ(d.image().row(0)[0], 0x81);
  EXPECT_EQ(d.image().row(0)[1], 0x42);
  EXPECT_EQ(d.image().countInk(), 4);
  // Old pixel (0, 0) covers new rows 0..1 (1000/560) and columns 0..1 (800/640).
  EXPECT_EQ(d.preview().countInk(), 4);
  EXPECT_TRUE(d.preview().pixel(1, 1));
  EXPECT_FALSE(d.preview().pixel(2, 0));
}

// Damaged copies of a real file (bytes flipped, cut anywhere) never crash or write outside a
// row: each load either succeeds or ends with one message.
TEST(Grl, RandomDamageNeverCrashes) {
  test::TestHost host;
  test::TempDir dir;
  Drawing src(host);
  src.DrawLine(true, 1, 1, 7, 9, LineWidthTable[4]);
  src.DrawPointSymbol(src.pointAt({4, 5}), 9, 9);
  src.SaveGrl(dir.file("SRC.GRL"));
  const Bytes good = readBytes(dir.file("SRC.GRL"));
  std::mt19937 rng(11);
  Drawing d(host);
  for (int i = 0; i < 200; ++i) {
    Bytes b = good;
    const int flips = 1 + int(rng() % 8);
    for (int k = 0; k < flips; ++k) b[4 + rng() % (b.size() - 4)] = uint8_t(rng());
    if (i % 3 == 0) b.resize(rng() % b.size());
    writeBytes(dir.file("X.GRL"), b);
    host.clear();
    d.LoadGrl(dir.file("X.GRL"));
    EXPECT_LE(host.messages.size(), 1u);
    EXPECT_EQ(d.state.GrlError, !host.messages.empty());
  }
}
