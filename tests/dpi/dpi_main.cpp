// The DPI checks' driver: like the journeys, it runs on a virtual desktop of its own, here one
// large enough for the main window at 192 DPI, in a Wine prefix of its own, since it changes
// the prefix's DPI for each program it starts.
#include <windows.h>

#include <gtest/gtest.h>
#include <stdio.h>

#include "options.h"
#include "virtual_desktop.h"

namespace {

const DWORD kWholeRunLimit = 230 * 1000; // below ctest's TIMEOUT, so the run ends with a report
const char kDesktopSize[] = "1280x1200";

} // namespace

int main(int argc, char** argv) {
    if (!e2e::insideVirtualDesktop(argc, argv))
        return e2e::runInsideVirtualDesktop("dpi", kWholeRunLimit, kDesktopSize);
    ::testing::InitGoogleTest(&argc, argv);
    using e2e::Options;
    if (!e2e::parseOptions(argc, argv, {&Options::programFolder, &Options::screenshotFolder})) {
        fprintf(stderr, "usage: dpi_tests --programs=FOLDER --screenshots=FOLDER\n");
        return 2;
    }
    if (!e2e::waitForTaskBar()) {
        fprintf(stderr, "dpi: no task bar on the virtual desktop\n");
        return 2;
    }
    CreateDirectoryA(e2e::options.screenshotFolder.c_str(), nullptr);
    return RUN_ALL_TESTS();
}
