#include "options.h"

#include <string.h>

namespace e2e {

Options options;

namespace {

bool take(const char* argument, const char* name, std::string* value) {
    size_t length = strlen(name);
    if (strncmp(argument, name, length) != 0) return false;
    *value = windowsPath(argument + length);
    return true;
}

} // namespace

std::string windowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string result = "Z:" + path;
    for (char& c : result)
        if (c == '/') c = '\\';
    return result;
}

bool parseOptions(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        take(argv[i], "--programs=", &options.programFolder) ||
            take(argv[i], "--outdated-kfg=", &options.outdatedKfgFolder) ||
            take(argv[i], "--screenshots=", &options.screenshotFolder);
    }
    return !options.programFolder.empty() && !options.outdatedKfgFolder.empty() &&
           !options.screenshotFolder.empty();
}

} // namespace e2e
