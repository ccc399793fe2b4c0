// The journeys' driver: it runs them on a virtual desktop of its own (see virtual_desktop.h).
#include "virtual_desktop.h"

int main(int argc, char** argv) {
    using e2e::Options;
    // Below ctest's TIMEOUT, so the run ends with a report.
    const e2e::Driver driver = {
        "e2e", 170 * 1000, "e2e_tests --programs=FOLDER --outdated-kfg=FOLDER --screenshots=FOLDER",
        "1024x768"};
    return e2e::runDriver(
        argc, argv, driver,
        {&Options::programFolder, &Options::outdatedKfgFolder, &Options::screenshotFolder});
}
