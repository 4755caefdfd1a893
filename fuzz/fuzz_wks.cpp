// A WKS spreadsheet file of arbitrary bytes read into the worksheet.
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
  if (!fuzz::writeInput("IN.WKS", data, size)) return 0;
  fuzz::QuietHost host;
  LogModel log;
  Store store(host, log);
  Worksheet ws(store, host, log);
  ws.ReadWks("IN.WKS");
  return 0;
}
