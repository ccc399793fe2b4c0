// The journeys' driver: it runs them on a virtual desktop of its own (see virtual_desktop.h).
#include <windows.h>

#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "options.h"
#include "virtual_desktop.h"

namespace {

const DWORD kWholeRunLimit = 170 * 1000; // below ctest's TIMEOUT, so the run ends with a report

} // namespace

int main(int argc, char** argv) {
    if (!e2e::insideVirtualDesktop(argc, argv))
        return e2e::runInsideVirtualDesktop("e2e", kWholeRunLimit);
    ::testing::InitGoogleTest(&argc, argv);
    using e2e::Options;
    if (!e2e::parseOptions(
            argc, argv,
            {&Options::programFolder, &Options::outdatedKfgFolder, &Options::screenshotFolder})) {
        fprintf(stderr, "usage: e2e_tests --programs=FOLDER --outdated-kfg=FOLDER "
                        "--screenshots=FOLDER\n");
        return 2;
    }
    if (!e2e::waitForTaskBar()) {
        fprintf(stderr, "e2e: no task bar on the virtual desktop\n");
        return 2;
    }
    CreateDirectoryA(e2e::options.screenshotFolder.c_str(), nullptr);
    return RUN_ALL_TESTS();
}
