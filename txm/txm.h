// TXM: a language store that reads a language file into one caller-owned, fixed-size object
// and hands out interface texts by language index and string id:
//
//   <h:HTXM>
//   <n:English>
//   <s:Language: >
//   <s:Preview: >
//   <n:Deutsch>
//   <s:Sprache: >
//
// The file is a sequence of records, one a line: '<', a letter, ':', the text, '>'. The first
// must be the header "h:HTXM"; then 'n' starts a language with its name and 's' adds the next
// string to the language last started. A text runs to its '>' or the end of its line, and the
// rest of that line is passed over; a '<' inside a text is an ordinary character. Anything
// outside records, and records of any other letter, are passed over.
//
// Up to five languages come from the file (records 0 to 4, in file order), each with up to 100
// strings numbered by their order. Record 5 is the built-in language "Default", whose texts the
// caller installs one by one; it answers every lookup the chosen language cannot.
//
// The library keeps no state and allocates nothing: every operation takes the store first.
// The all-zero object is a valid empty store. One store is used by one thread at a time.
// Texts are 8-bit ANSI bytes, handed out as they stand in the file: nothing is converted or
// trimmed.
//
// 32-bit and 64-bit builds: nothing differs but the DLL itself, which must be of the caller's
// kind. The store holds only fixed-width fields and no pointers, so it has the same size
// (154,380 bytes) and layout in both; the pointers the lookups return are the caller's width.
#ifndef MURALTO_TXM_H
#define MURALTO_TXM_H

#include <stdint.h>

#if defined(_WIN32) && defined(TXM_BUILDING_DLL)
#define TXM_API __declspec(dllexport)
#elif defined(_WIN32)
#define TXM_API __declspec(dllimport)
#else
#define TXM_API __attribute__((visibility("default")))
#endif

enum {
    TXM_FILE_LANGUAGES = 5,   // language records a file fills (0 to 4)
    TXM_DEFAULT_LANGUAGE = 5, // index of the built-in language's record
    TXM_LANGUAGE_RECORDS = 6, // the file's five and the built-in one
    TXM_MAX_STRINGS = 100,    // strings per language, ids 0 to 99
    TXM_NAME_SIZE = 21,       // a language name: 20 characters and the terminator
    TXM_TEXT_SIZE = 256,      // a string: 255 characters and the terminator
};

// The result codes shared with KFG.
enum {
    TXM_OK = 1,         // done
    TXM_ERR_FILE = -4,  // the file cannot be opened or read, or lacks the header record
    TXM_ERR_ARG = -5,   // a text argument is null, or the path is empty
    TXM_ERR_STORE = -6, // the store is null
    TXM_ERR_SIZE = -8,  // a string id outside 0 to 99
};

struct _TXMSTRING {
    uint8_t present; // 1 when the string is defined
    char text[TXM_TEXT_SIZE];
};

struct _TXMLANGUAGE {
    uint8_t present; // 1 when the record holds a language
    char name[TXM_NAME_SIZE];
    int32_t stringCount; // strings of this language; the next string read gets this id
    _TXMSTRING strings[TXM_MAX_STRINGS];
};

struct _TXMINFOFILE {
    uint8_t loaded;        // 1 once a file was read or a built-in text installed
    int32_t stringTotal;   // strings read from the file, all languages together
    int32_t languageCount; // languages read from the file, 0 to 5
    _TXMLANGUAGE languages[TXM_LANGUAGE_RECORDS];
};

// ---- Versions ------------------------------------------------------------------------------

TXM_API float TXM_getVersFloat(); // 1.0
TXM_API char* TXM_getVersChar();  // "TXM Version 1.2", owned by the library: do not change

// ---- The store -----------------------------------------------------------------------------

// Resets the whole store to all zero: no languages, no built-in texts, not loaded. TXM_OK;
// TXM_ERR_STORE (null store).
TXM_API int TXM_clear(_TXMINFOFILE* store);

// Replaces the store's content with the language file at path. The file is read as the Windows
// text mode does on every platform: a CR directly before a LF is dropped and a byte 0x1A ends
// it. Names are cut at 20 characters, strings at 255; a read error part-way ends the file
// there. Returns TXM_OK; TXM_ERR_ARG (null or empty path, checked first), TXM_ERR_STORE (null
// store), TXM_ERR_FILE (cannot be opened or read: the store is left as it was, built-in texts
// included; no header record: the store is left cleared and not loaded).
TXM_API int TXM_openFile(_TXMINFOFILE* store, char* path);

// Installs text (cut at 255 characters) as built-in string id, replacing an earlier one. The
// first call on a store that is not loaded also names record 5 "Default" and loads the store.
// Returns TXM_OK; TXM_ERR_STORE (null store), TXM_ERR_SIZE (id outside 0 to 99), TXM_ERR_ARG
// (null text), in that order, with nothing changed.
TXM_API int TXM_setDefault(_TXMINFOFILE* store, int id, char* text);

// ---- Lookups: pointers into the store, valid until it is read again or cleared -------------

// String id of language 0 to 4, or the built-in string id when that language lacks it. Null
// for a null or unloaded store, a language outside 0 to 4, an id outside 0 to 99, or when
// neither has the string.
TXM_API char* TXM_getString(_TXMINFOFILE* store, int language, int id);

// The name of language 0 to 4 when its record holds one, otherwise the name of record 5
// ("Default" when the built-in texts went into a store that was not loaded, else empty). Null
// for a null or unloaded store, or a language outside 0 to 4.
TXM_API char* TXM_getLangName(_TXMINFOFILE* store, int language);

// Languages present among records 0 to 4 (the built-in one is not counted); 0 for a null or
// unloaded store.
TXM_API int TXM_getNumLanguage(_TXMINFOFILE* store);

#endif
