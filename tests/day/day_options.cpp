#include "day_options.h"

#include <string.h>

#include "options.h"

namespace day {

Options options;

bool parseOptions(int argc, char** argv) {
    const char flag[] = "--pictures=";
    for (int i = 1; i < argc; ++i)
        if (strncmp(argv[i], flag, sizeof flag - 1) == 0)
            options.pictureFolder = e2e::windowsPath(argv[i] + sizeof flag - 1);
    return !options.pictureFolder.empty();
}

} // namespace day
