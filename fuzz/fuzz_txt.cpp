// A text table of arbitrary bytes read into the worksheet, at the first column and again near
// the last, where the table's columns run past the end of the worksheet.
#include "FuzzSupport.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"
#include "worksheet/Worksheet.h"

using namespace plotane;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::WorkFolder::enter(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (!fuzz::writeInput("IN.TXT", data, size)) return 0;
  fuzz::QuietHost host;
  LogModel log;
  Store store(host, log);
  Worksheet ws(store, host, log);
  ws.ReadTxtTable("IN.TXT", 0);
  ws.ReadTxtTable("IN.TXT", ColumnCount - 3);
  return 0;
}
