#pragma once

#include <gtest/gtest.h>

#include "GuiHarness.h"

namespace scorewell::gui::test {

// A test of the desktop program: the harness, ended with the test.
class GuiTest : public ::testing::Test, public GuiHarness {
protected:
    void TearDown() override { End(); }
};

} // namespace scorewell::gui::test
