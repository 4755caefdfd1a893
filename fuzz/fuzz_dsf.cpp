// A DSF of arbitrary bytes: attach it, list and detail every entry of the tree, and load every
// series into 510 handles, as the worksheet's Load command does.
#include <memory>

#include "FuzzSupport.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"

using namespace plotane;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::WorkFolder::enter(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (!fuzz::writeInput("IN.DSF", data, size)) return 0;
  fuzz::QuietHost host;
  LogModel log;
  Store store(host, log);
  {
    // The handles go before the store: a loaded handle leaves its store's chain on destruction.
    auto columns = std::make_unique<Series[]>(510);
    store.ATTACHDSF("IN.DSF");
    if (!store.StoreError) {
      store.LISTDSDIR("&");
      store.TREELIST();
      store.FULLDETAILS("&");
      store.LOADPATTERN("&", 0, std::span<Series>(columns.get(), 510));
    }
  }
  store.DETACHDSF();
  return 0;
}
