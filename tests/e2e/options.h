// Where the binaries under test and the screenshots are, from the driver's command line.
#ifndef MURALTO_E2E_OPTIONS_H
#define MURALTO_E2E_OPTIONS_H

#include <string>

namespace e2e {

struct Options {
    std::string programFolder;     // Muralto.exe, KFG.dll, TXM.dll and Muralto.lng
    std::string outdatedKfgFolder; // a KFG.dll that reports version 2.49
    std::string screenshotFolder;  // where the PNG screenshots go
};

extern Options options;

// Reads --programs=, --outdated-kfg= and --screenshots=; false when one is missing.
bool parseOptions(int argc, char** argv);

// A path as Windows programs take it: Wine shows the Unix root as drive Z:.
std::string windowsPath(const std::string& path);

} // namespace e2e

#endif
