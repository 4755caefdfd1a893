// The file helpers: the atomic writer (a failed save leaves the old file exactly as it was,
// permissions and links are kept, devices are written in place) and the bounded readers (regular
// files only, never blocking, never beyond the format's size; text read line by line).

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "FileBytes.h"
#include "TempDir.h"
#include "shell/base/Files.h"

using namespace plotane;

namespace {

std::vector<uint8_t> bytesOf(const std::string& s) { return {s.begin(), s.end()}; }

// Files in the folder other than the ones named: a temporary file left behind shows here.
int strayFiles(const std::string& dir, std::size_t expected) {
  std::size_t n = 0;
  for (auto& e : std::filesystem::directory_iterator(dir)) {
    (void)e;
    ++n;
  }
  return int(n) - int(expected);
}

TEST(AtomicWriter, AFailureAtAnyByteLeavesTheOldFileAndNoTemporaryFile) {
  test::TempDir dir;
  const std::string name = dir.file("OLD.TXT");
  const std::vector<uint8_t> old = bytesOf("139.227\r\n140.5\r\n");
  test::writeBytes(name, old);
  std::vector<uint8_t> next(5000);
  for (std::size_t i = 0; i < next.size(); ++i) next[i] = uint8_t('0' + i % 10);
  for (long long n : {0LL, 1LL, 7LL, 1024LL, 4999LL}) {
    WriteFaults faults;
    faults.failAfterBytes = n;
    std::string error;
    EXPECT_FALSE(writeWholeFile(name, next, error, &faults)) << n;
    EXPECT_NE(error.find("No space left"), std::string::npos) << error;
    EXPECT_EQ(test::readBytes(name), old);
    EXPECT_EQ(strayFiles(dir.path(), 1), 0);
  }
  // Exactly enough room: the save goes through whole.
  WriteFaults faults;
  faults.failAfterBytes = 5000;
  std::string error;
  EXPECT_TRUE(writeWholeFile(name, next, error, &faults)) << error;
  EXPECT_EQ(test::readBytes(name), next);
  EXPECT_EQ(strayFiles(dir.path(), 1), 0);
}

TEST(AtomicWriter, AKilledSaveNeverTouchesTheTarget) {
  test::TempDir dir;
  const std::string name = dir.file("K.GRD");
  test::writeBytes(name, bytesOf("old contents"));
  for (long long k = 0; k < 6; ++k) {
    WriteFaults faults;
    faults.killAfterSteps = k;
    std::string error;
    bool ok = writeWholeFile(name, bytesOf("new contents"), error, &faults);
    std::string now = test::readText(name);
    // Before the rename the old file stands; from it on, the new one, whole.
    EXPECT_TRUE(now == "old contents" || (now == "new contents")) << now;
    if (!faults.killed) {
      EXPECT_TRUE(ok);
    }
  }
}

TEST(AtomicWriter, KeepsPermissionsAndWritesThroughALink) {
  test::TempDir dir;
  const std::string target = dir.file("REAL.TXT");
  const std::string link = dir.file("LINK.TXT");
  test::writeBytes(target, bytesOf("old"));
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  ASSERT_EQ(::symlink("REAL.TXT", link.c_str()), 0);
  std::string error;
  ASSERT_TRUE(writeWholeFile(link, bytesOf("new"), error)) << error;
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(test::readText(target), "new");
  struct stat st {};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  // A link to a file not there yet makes the file.
  ASSERT_EQ(::symlink("NEW.TXT", dir.file("DANGLING").c_str()), 0);
  ASSERT_TRUE(writeWholeFile(dir.file("DANGLING"), bytesOf("made"), error)) << error;
  EXPECT_EQ(test::readText(dir.file("NEW.TXT")), "made");
}

TEST(AtomicWriter, DevicesAreWrittenInPlaceAndAFullOneIsReported) {
  std::string error;
  EXPECT_TRUE(writeWholeFile("/dev/null", bytesOf("nothing"), error)) << error;
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_FALSE(writeWholeFile("/dev/full", std::vector<uint8_t>(100000, 1), error));
    EXPECT_NE(error.find("No space left"), std::string::npos) << error;
  }
  test::TempDir dir;
  EXPECT_FALSE(writeWholeFile(dir.path(), bytesOf("x"), error));
  EXPECT_FALSE(writeWholeFile(dir.file("NO/SUCH/FOLDER.TXT"), bytesOf("x"), error));
}

TEST(BoundedRead, OnlyRegularFilesWithinTheLimit) {
  test::TempDir dir;
  std::vector<uint8_t> out;
  std::string error;
  ReadFailure why = ReadFailure::None;
  // A link to an endless device.
  ASSERT_EQ(::symlink("/dev/zero", dir.file("ZERO.TXT").c_str()), 0);
  EXPECT_FALSE(readWholeFile(dir.file("ZERO.TXT"), out, error, 1 << 20, &why));
  EXPECT_EQ(why, ReadFailure::NotRegular);
  // A pipe nobody writes to: refused at once instead of waiting for ever.
  ASSERT_EQ(::mkfifo(dir.file("PIPE.GRL").c_str(), 0600), 0);
  EXPECT_FALSE(readWholeFile(dir.file("PIPE.GRL"), out, error, 1 << 20, &why));
  EXPECT_EQ(why, ReadFailure::NotRegular);
  EXPECT_FALSE(readWholeFile(dir.path(), out, error, 1 << 20, &why));
  EXPECT_EQ(why, ReadFailure::NotRegular);
  EXPECT_FALSE(readWholeFile(dir.file("NONE"), out, error, 1 << 20, &why));
  EXPECT_EQ(why, ReadFailure::CannotOpen);
  // The size is checked before anything is read.
  test::writeBytes(dir.file("BIG"), std::vector<uint8_t>(1001, 7));
  EXPECT_FALSE(readWholeFile(dir.file("BIG"), out, error, 1000, &why));
  EXPECT_EQ(why, ReadFailure::TooLarge);
  EXPECT_TRUE(out.empty());
  EXPECT_TRUE(readWholeFile(dir.file("BIG"), out, error, 1001, &why));
  EXPECT_EQ(out.size(), 1001u);
}

TEST(LineReader, LinesAsTheyEndWithAByteOrderMarkSkipped) {
  test::TempDir dir;
  const std::string name = dir.file("T.TXT");
  auto lines = [&](const std::string& text) {
    test::writeBytes(name, bytesOf(text));
    LineReader in;
    std::string error;
    EXPECT_TRUE(in.open(name, error)) << error;
    std::vector<std::string> out;
    std::string line;
    while (in.next(line)) out.push_back(line);
    EXPECT_FALSE(in.failed());
    return out;
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(lines(""), V{});
  EXPECT_EQ(lines("\n"), V{""});
  EXPECT_EQ(lines("a\r\nb\n"), (V{"a", "b"}));
  EXPECT_EQ(lines("a\nb"), (V{"a", "b"}));
  EXPECT_EQ(lines("a\r"), V{"a"});
  EXPECT_EQ(lines("\xEF\xBB\xBF* X\r\n1\r\n"), (V{"* X", "1"}));
  EXPECT_EQ(lines("\xEF\xBB\xBF"), V{});
  EXPECT_EQ(lines("\xEF\xBB"), V{"\xEF\xBB"});
  // A BOM later in the file is data.
  EXPECT_EQ(lines("1\n\xEF\xBB\xBF"), (V{"1", "\xEF\xBB\xBF"}));
  // Lines across the reader's buffer.
  std::string longText;
  for (int i = 0; i < 20000; ++i) longText += std::to_string(i) + "\r\n";
  V many = lines(longText);
  ASSERT_EQ(many.size(), 20000u);
  EXPECT_EQ(many[12345], "12345");
}

TEST(LineReader, ALineWithoutEndIsRefusedNotHeld) {
  test::TempDir dir;
  const std::string name = dir.file("ONE.TXT");
  test::writeBytes(name, std::vector<uint8_t>(LineReader::kMaxLine + 10, '1'));
  LineReader in;
  std::string error, line;
  ASSERT_TRUE(in.open(name, error));
  EXPECT_FALSE(in.next(line));
  EXPECT_TRUE(in.failed());
  EXPECT_EQ(in.error(), "line too long");
  ASSERT_EQ(::symlink("/dev/zero", dir.file("Z").c_str()), 0);
  LineReader zero;
  EXPECT_FALSE(zero.open(dir.file("Z"), error));
}

}  // namespace
