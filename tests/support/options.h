// The drivers' command line: where the binaries under test, the screenshots and the pictures
// are. Each driver reads the options it needs.
#ifndef MURALTO_E2E_OPTIONS_H
#define MURALTO_E2E_OPTIONS_H

#include <initializer_list>
#include <string>

namespace e2e {

struct Options {
    std::string programFolder;     // --programs=: Muralto.exe, KFG.dll, TXM.dll and Muralto.lng
    std::string outdatedKfgFolder; // --outdated-kfg=: a KFG.dll that reports version 2.49
    std::string screenshotFolder;  // --screenshots=: where the PNG screenshots go
    std::string pictureFolder;     // --pictures=: where the day's pictures are made
};

extern Options options;

// Reads every option above into options, as Windows paths; false when one of required is
// missing.
bool parseOptions(int argc, char** argv, std::initializer_list<std::string Options::*> required);

// A path as Windows programs take it: Wine shows the Unix root as drive Z:.
std::string windowsPath(const std::string& path);

} // namespace e2e

#endif
