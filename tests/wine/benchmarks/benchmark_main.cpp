// app_benchmark.exe: the benchmarks of optivue.exe under Wine, which tests/wine/benchmark runs. They measure
// and print their figures; they fail only where a run did not go as the program's tests expect.
//   app_benchmark.exe --program=PATH [GoogleTest options]
#include "tests/wine/driver/program.h"

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    e2e::ReadPathOptions(argc, argv);
    if (e2e::ProgramPath().empty()) {
        std::fprintf(stderr, "usage: app_benchmark.exe --program=PATH [GoogleTest options]\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
