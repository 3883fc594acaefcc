// The folder a test of real windows works in: its own, so that tests can
// run side by side.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/native_probe_win32.h"

namespace lumbra::probe {

// A folder of the running test's own inside the current one, named after
// the test and created; ends in "\".
inline std::string OwnTestFolder() {
  const std::string folder = CurrentFolder() + "\\" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

}  // namespace lumbra::probe
