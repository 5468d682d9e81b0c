// Entry point of the end-to-end test driver (lumoff_e2e.exe).
//
// Runs the GoogleTest tests, or, when started with --e2e-helper=NAME by a test, one of the helper programs that tests
// use as "another process" (see e2e_support.h).

#include <gtest/gtest.h>

#include <cstdio>

#include "e2e_support.h"

int wmain(int argc, wchar_t** argv) {
    if (std::optional<int> helperExit = e2e::RunHelperProgramIfAsked(argc, argv)) {
        return *helperExit;
    }
    // Unbuffered, so a test killed for taking too long still shows how far it got.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
