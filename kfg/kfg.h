// KFG: a two-level configuration store (classes holding members with a text value, the
// "init") kept in one caller-owned, fixed-size object and stored as a line-oriented text file:
//
//   [SYSTEM]
//   lastWall = 3
//
//   [WALLPAPER 0]
//   showTime = 60
//
// The library keeps no state and allocates nothing: every operation takes the store first.
// The all-zero object is a valid empty store. One store is used by one thread at a time.
//
// Every operation checks its arguments in one order and stops at the first failure without
// changing anything: each text argument in parameter order (KFG_ERR_ARG), the store pointer
// (KFG_ERR_STORE), the store's loaded flag where required (KFG_ERR_STORE), then a buffer size
// or a text that does not fit a 256-byte field (KFG_ERR_SIZE).
//
// Texts are 8-bit ANSI bytes, compared byte for byte (case matters). Lookups take the first
// match in slot order. Names need not be unique.
//
// 32-bit and 64-bit builds: nothing differs but the DLL itself, which must be of the caller's
// kind. The store holds only fixed-width fields and no pointers, so it has the same size
// (387,616 bytes) and layout in both; the functions take and return the same values.
#ifndef MURALTO_KFG_H
#define MURALTO_KFG_H

#include <stdint.h>

#if defined(_WIN32) && defined(KFG_BUILDING_DLL)
#define KFG_API __declspec(dllexport)
#elif defined(_WIN32)
#define KFG_API __declspec(dllimport)
#else
#define KFG_API __attribute__((visibility("default")))
#endif

enum {
    KFG_MAX_CLASSES = 300, // class slots in a store
    KFG_MAX_MEMBERS = 600, // member slots in a store, all classes together
    KFG_TEXT_SIZE = 256,   // every name, init and line buffer, terminator included
};

enum {
    KFG_OK = 1,         // done
    KFG_NOTFOUND = 0,   // no class, member or value of that name or text
    KFG_EXIST = 2,      // exist operations: it is there
    KFG_NOTEXIST = 3,   // exist operations: it is not there
    KFG_ERR_FILE = -4,  // the file cannot be opened, read or written
    KFG_ERR_ARG = -5,   // a text argument is null, or the path is empty
    KFG_ERR_STORE = -6, // the store is null, or not loaded
    KFG_ERR_SIZE = -8,  // buffer size of zero or less; a text longer than 255 characters
    KFG_ERR_FULL = -9,  // all class slots or all member slots are in use
};

// Member identifier of the members read before the first class header: they belong to no class.
enum { KFG_NO_CLASS = 65535 };

struct _KFGCLASS {
    uint8_t used; // 1 when the slot holds a class
    char name[KFG_TEXT_SIZE];
    uint16_t id; // members refer to their class by this identifier
};

struct _KFGMEMBER {
    uint8_t used; // 1 when the slot holds a member
    char name[KFG_TEXT_SIZE];
    char init[KFG_TEXT_SIZE];
    uint16_t classId; // id of the owning class; a member whose classId matches no class has none
};

struct _KFGINFOFILE {
    uint8_t loaded;        // 1 after a successful open or add
    int32_t fileSize;      // bytes of the file last opened
    int16_t lineCount;     // running count of text lines (informative only)
    uint16_t classCount;   // classes in the store
    uint16_t memberCount;  // members in the store
    uint16_t currentClass; // id of the class KFG_addMember attaches to
    _KFGCLASS classes[KFG_MAX_CLASSES];
    _KFGMEMBER members[KFG_MAX_MEMBERS];
};

// ---- Files and versions ----------------------------------------------------------------

// Replaces the store's content with the file at path. Lines end at LF (a CR before it is
// dropped), a byte 0x1A ends the file, lines are cut at 255 characters. Returns KFG_OK;
// KFG_ERR_ARG (null or empty path), KFG_ERR_STORE (null store), KFG_ERR_FILE (cannot be opened:
// the store is left as it was; a read error part-way leaves it reset and not loaded),
// KFG_ERR_FULL (more than 300 classes or 600 members: the store keeps what was read and is not
// loaded).
KFG_API int KFG_openFile(_KFGINFOFILE* store, char* path);

// Writes every class in slot order with its members, lines ending in CR LF. Returns KFG_OK;
// KFG_ERR_ARG, KFG_ERR_STORE (null or not loaded: no file is touched), KFG_ERR_FILE (the file
// cannot be created, or a write or the close failed: the file is then incomplete).
KFG_API int KFG_writeFile(_KFGINFOFILE* store, char* path);

KFG_API float KFG_getVersFloat(); // 2.5
KFG_API char* KFG_getVersChar();  // "KFG Version 2.50", owned by the library: do not change

// ---- Exist: KFG_EXIST or KFG_NOTEXIST; KFG_ERR_ARG, KFG_ERR_STORE ----------------------
// Without "ByClass" every member of the store is considered, members of no class included.

KFG_API int KFG_existClass(_KFGINFOFILE* store, char* className);
KFG_API int KFG_existMember(_KFGINFOFILE* store, char* memberName);
KFG_API int KFG_existMemberByClass(_KFGINFOFILE* store, char* className, char* memberName);
KFG_API int KFG_existInit(_KFGINFOFILE* store, char* init);
KFG_API int KFG_existInitByClass(_KFGINFOFILE* store, char* className, char* init);

// ---- Get: KFG_OK, KFG_NOTFOUND; KFG_ERR_ARG, KFG_ERR_STORE, KFG_ERR_SIZE (size <= 0) -----
// The first size bytes of buffer are zeroed, then the init is copied. An init that does not
// fit is cut to size - 1 characters. Nothing is written past size bytes.

KFG_API int KFG_getInit(_KFGINFOFILE* store, char* memberName, char* buffer, int size);
KFG_API int KFG_getInitByClass(_KFGINFOFILE* store, char* className, char* memberName, char* buffer,
                               int size);

// ---- Set: KFG_OK, KFG_NOTFOUND; KFG_ERR_ARG, KFG_ERR_STORE, KFG_ERR_SIZE (new text > 255) --
// Overwrites one field of the entry found; slots, counters and currentClass do not change.

KFG_API int KFG_setClass(_KFGINFOFILE* store, char* oldName, char* newName);
KFG_API int KFG_setMember(_KFGINFOFILE* store, char* oldName, char* newName);
KFG_API int KFG_setMemberByClass(_KFGINFOFILE* store, char* className, char* oldName,
                                 char* newName);
KFG_API int KFG_setInit(_KFGINFOFILE* store, char* oldInit, char* newInit);
KFG_API int KFG_setInitByClass(_KFGINFOFILE* store, char* className, char* oldInit, char* newInit);
KFG_API int KFG_setInitByClassAndMember(_KFGINFOFILE* store, char* className, char* memberName,
                                        char* newInit);
KFG_API int KFG_setInitByMember(_KFGINFOFILE* store, char* memberName, char* newInit);

// ---- Delete: KFG_OK, KFG_NOTFOUND; KFG_ERR_ARG, KFG_ERR_STORE ----------------------------
// The freed slot is taken again by the next add; nothing else moves.

KFG_API int KFG_delClass(_KFGINFOFILE* store, char* className); // the first class and its members
KFG_API int KFG_delMember(_KFGINFOFILE* store, char* memberName);
KFG_API int KFG_delMemberByClass(_KFGINFOFILE* store, char* className, char* memberName);
KFG_API int KFG_delInit(_KFGINFOFILE* store, char* init);
KFG_API int KFG_delInitByClass(_KFGINFOFILE* store, char* className, char* init);

// ---- Add: KFG_ERR_ARG, KFG_ERR_STORE (null store), KFG_ERR_SIZE (text > 255), KFG_ERR_FULL --
// These accept a store that is not loaded: they reset it first. Each takes the lowest free slot.

// Adds a class with a new identifier, distinct from those of the classes in the store, which
// becomes the current class. KFG_OK.
KFG_API int KFG_addClass(_KFGINFOFILE* store, char* className);
// Adds a member to the current class. KFG_OK.
KFG_API int KFG_addMember(_KFGINFOFILE* store, char* memberName, char* init);
// Adds a member to the first class of that name. KFG_OK, or KFG_NOTFOUND with nothing added.
KFG_API int KFG_addMemberByClass(_KFGINFOFILE* store, char* className, char* memberName,
                                 char* init);

// ---- Count --------------------------------------------------------------------------------

// Members of the first class of that name (0 when there is none); KFG_ERR_ARG, KFG_ERR_STORE.
KFG_API int KFG_gelNumMember(_KFGINFOFILE* store, char* className);

#endif
