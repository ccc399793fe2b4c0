// The texts of a language file, read independently of the program, so that the journeys can
// say which text each control must show in each language.
#ifndef MURALTO_E2E_LANGUAGE_FILE_H
#define MURALTO_E2E_LANGUAGE_FILE_H

#include <string>
#include <vector>

namespace e2e {

struct Language {
    std::string name;
    std::vector<std::string> texts; // by string id
    // The text of id, or "<no text id>" when the language lacks it.
    std::string text(int id) const;
};

// The languages of the file, in file order; none when it cannot be read.
std::vector<Language> readLanguageFile(const std::string& path);

} // namespace e2e

#endif
