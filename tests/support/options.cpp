#include "options.h"

#include <string.h>

namespace e2e {

Options options;

std::string windowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string result = "Z:" + path;
    for (char& c : result)
        if (c == '/') c = '\\';
    return result;
}

bool parseOptions(int argc, char** argv, std::initializer_list<std::string Options::*> required) {
    const struct {
        const char* flag;
        std::string Options::*value;
    } known[] = {{"--programs=", &Options::programFolder},
                 {"--outdated-kfg=", &Options::outdatedKfgFolder},
                 {"--screenshots=", &Options::screenshotFolder},
                 {"--pictures=", &Options::pictureFolder}};
    for (int i = 1; i < argc; ++i)
        for (const auto& option : known)
            if (strncmp(argv[i], option.flag, strlen(option.flag)) == 0)
                options.*option.value = windowsPath(argv[i] + strlen(option.flag));
    for (std::string Options::*value : required)
        if ((options.*value).empty()) return false;
    return true;
}

} // namespace e2e
