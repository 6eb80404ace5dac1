// The world of most engine tests: the in-memory platform in C:\DATA, the
// settings of a run of DOSCONV over *.txt, and the stand-in main dialog.
#pragma once

#include "FakePlatform.h"
#include "FakeServices.h"

#include <gtest/gtest.h>

namespace runner {

class EngineTest : public ::testing::Test {
protected:
    FakePlatform platform{"C:\\DATA"};
    RunSettings settings{platform.Cwd(), "DOSCONV", "*.txt", "* OUTPUT\\*"};
    FakeServices ui;

    EngineTest() {  // DOSCONV is a program along PATH
        platform.AddDirectory("C:\\BIN");
        platform.AddFile("C:\\BIN\\DOSCONV.EXE");
        platform.environment["PATH"] = "C:\\BIN";
    }
};

}  // namespace runner
