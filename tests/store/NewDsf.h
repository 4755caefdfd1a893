// A store attached to a new, empty DSF in a temporary folder, and the file's bytes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "TempDir.h"
#include "TestHost.h"
#include "shell/base/LogModel.h"
#include "store/Store.h"

namespace plotane::test {

struct NewDsf : ::testing::Test {
  TestHost host;
  LogModel log;
  Store store{host, log};
  TempDir dir;
  std::string name;

  explicit NewDsf(const char* file) : name(dir.file(file)) {}
  void SetUp() override {
    store.CREATEDSF(name);
    ASSERT_FALSE(store.StoreError);
  }
};

}  // namespace plotane::test
