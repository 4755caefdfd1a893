// How the PCL stream reaches a CUPS queue: the document format from what the queue says it takes,
// and the failures that leave nothing behind.
#include <cups/cups.h>
#include <gtest/gtest.h>

#include "TestHost.h"
#include "drawing/DrawingOutput.h"
#include "drawing/PrintJob.h"

using namespace plotane;

namespace {

// document-format-supported of a CUPS 2.4 queue made with a driver (the LaserJet PCL one and the
// generic PostScript one list the same formats), as the server reports it.
const std::vector<std::string> kDriverQueue = {"application/octet-stream",
                                               "application/pdf",
                                               "application/postscript",
                                               "application/vnd.cups-pdf",
                                               "application/vnd.cups-raster",
                                               "application/vnd.cups-raw",
                                               "image/png",
                                               "text/plain"};

}  // namespace

TEST(PclFormat, ChosenFromWhatTheQueueTakes) {
  // A LaserJet PCL driver queue: raw, since it does not list PCL itself.
  EXPECT_EQ(ChoosePclFormat(kDriverQueue, "MFG:HP;MDL:HP LaserJet;CMD:PCL;"), kRawFormat);
  // A PostScript driver queue lists raw as well; its device ID says it speaks PostScript only.
  EXPECT_EQ(ChoosePclFormat(kDriverQueue, "CMD:PS;"), "");
  EXPECT_EQ(ChoosePclFormat(kDriverQueue, "MFG:X;CMD:POSTSCRIPT,PJL;MDL:Y;"), "");
  // A printer that takes PCL directly gets it as such, whatever else it lists.
  std::vector<std::string> driverless = {"application/pdf", "application/vnd.hp-pcl",
                                         "image/pwg-raster"};
  EXPECT_EQ(ChoosePclFormat(driverless, "CMD:PCL,PDF;"), kPclFormat);
  EXPECT_EQ(ChoosePclFormat(driverless, ""), kPclFormat);
  // A raw queue (no driver) names no command set: the user's pass-through queue.
  EXPECT_EQ(ChoosePclFormat({"application/octet-stream", "application/vnd.cups-raw"}, ""),
            kRawFormat);
  // Neither PCL nor raw listed: refused, even for a PCL printer.
  EXPECT_EQ(ChoosePclFormat({"application/pdf", "image/urf"}, "CMD:PCL;"), "");
  EXPECT_EQ(ChoosePclFormat({}, ""), "");
}

TEST(PclFormat, DeviceIdCommandSets) {
  EXPECT_TRUE(DeviceIdTakesPcl("MFG:HP;MDL:HP LaserJet;CMD:PCL;"));
  EXPECT_TRUE(DeviceIdTakesPcl("MANUFACTURER:Brother;COMMAND SET:PJL, PCL5e ,PCLXL;MODEL:x;"));
  EXPECT_TRUE(DeviceIdTakesPcl("cmd:pcl3gui"));     // keys and values in any case, no final ';'
  EXPECT_FALSE(DeviceIdTakesPcl("CMD:PCLXL,PS;"));  // PCL XL is another language
  EXPECT_FALSE(DeviceIdTakesPcl("CMD:PS;"));
  EXPECT_FALSE(DeviceIdTakesPcl("MDL:PCL 5;"));  // only the command set counts
  EXPECT_FALSE(DeviceIdTakesPcl(""));
}

TEST(PclFormat, RefusalSaysWhatToDo) {
  EXPECT_EQ(NoPclMessage("office"),
            "The printer office does not take PCL; Windows print mode prints the page image "
            "instead");
}

// With no printing service to answer, the job gives a message and reports the failure.
TEST(PclJob, NoServiceIsAFailureWithAMessage) {
  test::TestHost host;
  Drawing d(host);
  cupsSetServer("127.0.0.1:1");  // nothing listens on port 1
  const bool printed = PrintPclToCups(d, "office");
  cupsSetServer(nullptr);
  EXPECT_FALSE(printed);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_FALSE(host.messages[0].empty());
  EXPECT_EQ(host.busyDepth, 0);
}
