// A graph definitions file of arbitrary bytes loaded into a fresh application context whose
// worksheet holds a small table, then, when the load succeeded, the graph drawn as the script
// commands draw it: loaded axes, corners, curves and labels all reach the renderer.
#include <string>

#include "FuzzData.h"
#include "FuzzSupport.h"
#include "shell/AppContext.h"

using namespace plotane;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::WorkFolder::enter(argc, argv);
  return fuzz::writeInput(fuzz::kTableName, reinterpret_cast<const uint8_t*>(fuzz::kTable),
                          std::char_traits<char>::length(fuzz::kTable))
             ? 0
             : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (!fuzz::writeInput("IN.GRD", data, size)) return 0;
  fuzz::QuietHost host;
  AppContext ctx(host);
  ctx.runner.setText("WWFILEREADTXT(D, A); GWFILELOAD(IN); GWSETUPDRAWGRAPH; DWDRAWGRAPH; END");
  ctx.runner.RESET();
  ctx.runner.RUN();
  (void)ctx.graph.Modified();
  return 0;
}
