// A test fixture owning one plug-in object, created through the DLL's exports
// before each test and released after it.
#pragma once

#include <gtest/gtest.h>

#include "support/plugin_loader.h"

namespace qxtest {

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plugin_ = loader_.Create();
    ASSERT_NE(plugin_, nullptr);
  }
  void TearDown() override {
    if (plugin_) plugin_->Release();
  }

  PluginLoader loader_;
  IPrintOemUI2 *plugin_ = nullptr;
};

}  // namespace qxtest
