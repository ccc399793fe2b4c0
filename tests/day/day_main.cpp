// The day's driver. Like the journeys' driver it starts a second copy of itself on a Wine
// desktop of its own, which Wine makes a virtual desktop with a task bar, so that the program's
// notification icon exists; it hands back that copy's output and exit code.
//   day_driver --pictures=FOLDER
#include "virtual_desktop.h"

int main(int argc, char** argv) {
    // Below the shell script's limit, so a hang is reported.
    const e2e::Driver driver = {"day", 110 * 1000, "day_driver --pictures=FOLDER", "1024x768"};
    return e2e::runDriver(argc, argv, driver, {&e2e::Options::pictureFolder});
}
