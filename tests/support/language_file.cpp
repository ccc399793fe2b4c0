#include "language_file.h"

#include "test_files.h"

namespace e2e {

std::string Language::text(int id) const {
    if (id < 0 || id >= static_cast<int>(texts.size()))
        return "<no text " + std::to_string(id) + ">";
    return texts[id];
}

std::vector<Language> readLanguageFile(const std::string& path) {
    // Records are "<letter:text>"; the text runs to the next '>'; the rest is passed over.
    std::vector<Language> languages;
    std::string bytes = testing_support::readBytes(path);
    if (bytes == "<missing>") return languages;
    size_t at = 0;
    while ((at = bytes.find('<', at)) != std::string::npos) {
        size_t end = bytes.find('>', at);
        if (end == std::string::npos) break;
        if (end - at < 3 || bytes[at + 2] != ':') {
            ++at;
            continue;
        }
        char kind = bytes[at + 1];
        std::string text = bytes.substr(at + 3, end - at - 3);
        if (kind == 'n')
            languages.push_back({text, {}});
        else if (kind == 's' && !languages.empty())
            languages.back().texts.push_back(text);
        at = end + 1;
    }
    return languages;
}

} // namespace e2e
