// A graph definitions file of arbitrary bytes loaded into a fresh Graph.
#include "FuzzSupport.h"
#include "graph/Graph.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"

using namespace plotane;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::WorkFolder::enter();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (!fuzz::writeInput("IN.GRD", data, size)) return 0;
  fuzz::QuietHost host;
  LogModel log;
  Store store(host, log);
  Graph graph(host, store);
  graph.LoadGrd("IN.GRD");
  // What the graph window does with loaded definitions: compare them with the saved copy.
  (void)graph.Modified();
  return 0;
}
