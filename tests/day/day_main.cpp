// The day's driver. Like the journeys' driver it starts a second copy of itself on a Wine
// desktop of its own, which Wine makes a virtual desktop with a task bar, so that the program's
// notification icon exists; it hands back that copy's output and exit code.
//   day_driver --pictures=FOLDER
#include <windows.h>

#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "options.h"
#include "virtual_desktop.h"

namespace {

const DWORD kWholeRunLimit = 110 * 1000; // below the shell script's limit, so a hang is reported

} // namespace

int main(int argc, char** argv) {
    if (!e2e::insideVirtualDesktop(argc, argv))
        return e2e::runInsideVirtualDesktop("day", kWholeRunLimit);
    ::testing::InitGoogleTest(&argc, argv);
    if (!e2e::parseOptions(argc, argv, {&e2e::Options::pictureFolder})) {
        fprintf(stderr, "usage: day_driver --pictures=FOLDER\n");
        return 2;
    }
    if (!e2e::waitForTaskBar()) {
        fprintf(stderr, "day: no task bar on the virtual desktop\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
