// The DPI checks' driver: like the journeys, it runs on a virtual desktop of its own, here one
// large enough for the main window at 192 DPI, in a Wine prefix of its own, since it changes
// the prefix's DPI for each program it starts.
#include "virtual_desktop.h"

int main(int argc, char** argv) {
    using e2e::Options;
    // Below ctest's TIMEOUT, so the run ends with a report.
    const e2e::Driver driver = {"dpi", 230 * 1000,
                                "dpi_tests --programs=FOLDER --screenshots=FOLDER", "1280x1200"};
    return e2e::runDriver(argc, argv, driver,
                          {&Options::programFolder, &Options::screenshotFolder});
}
