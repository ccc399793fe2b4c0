// The day driver's command line.
#ifndef MURALTO_DAY_OPTIONS_H
#define MURALTO_DAY_OPTIONS_H

#include <string>

namespace day {

struct Options {
    std::string pictureFolder; // where the driver makes the pictures the user adds
};

extern Options options;

// Reads --pictures=; false when it is missing.
bool parseOptions(int argc, char** argv);

} // namespace day

#endif
