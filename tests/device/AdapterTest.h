// Test fixture: every test starts with a fresh adapter double.
#pragma once

#include <gtest/gtest.h>

#include "AdapterDouble.h"

namespace orvex::test {

class AdapterTest : public ::testing::Test {
 protected:
  void SetUp() override { wire.reset(); }
  AdapterDouble& wire = adapter();
};

}  // namespace orvex::test
