// A drawing file of arbitrary bytes loaded into a fresh drawing.
#include "FuzzSupport.h"
#include "drawing/Drawing.h"

using namespace plotane;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::WorkFolder::enter(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (!fuzz::writeInput("IN.GRL", data, size)) return 0;
  fuzz::QuietHost host;
  Drawing drawing(host);
  drawing.LoadGrl("IN.GRL");
  return 0;
}
