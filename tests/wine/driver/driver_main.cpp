// app_driver.exe: the end-to-end tests of optivue.exe under Wine. Each run of tests/wine/wine-run picks the
// system version, language and screen; the test filter picks the checks that belong to that set-up.
//   app_driver.exe --program=PATH [GoogleTest options]
#include "tests/wine/driver/program.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const char* const prefix = "--program=";
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], prefix, std::strlen(prefix)) == 0) e2e::SetProgramPath(argv[i] + std::strlen(prefix));
    if (e2e::ProgramPath().empty()) {
        std::fprintf(stderr, "usage: app_driver.exe --program=PATH-OF-optivue.exe [GoogleTest options]\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
