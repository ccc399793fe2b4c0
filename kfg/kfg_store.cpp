// Looking up, changing, deleting, adding and counting classes and members of a store.
// Every operation is a linear scan in slot order; nothing is allocated.
#include <string.h>

#include "kfg.h"
#include "kfg_internal.h"

// The store is the caller's memory: 32-bit and 64-bit builds, and every compiler, must agree on
// its layout (kfg.h).
static_assert(sizeof(_KFGCLASS) == 260 && sizeof(_KFGMEMBER) == 516, "KFG slot layout");
static_assert(sizeof(_KFGINFOFILE) == 387616, "KFG store layout");

namespace kfg {

void resetStore(_KFGINFOFILE* store) { memset(store, 0, sizeof *store); }

bool fitsField(const char* text) { return strnlen(text, KFG_TEXT_SIZE) < KFG_TEXT_SIZE; }

void setField(char* field, const char* text) {
    size_t length = strnlen(text, KFG_TEXT_SIZE - 1);
    memcpy(field, text, length);
    memset(field + length, 0, KFG_TEXT_SIZE - length);
}

} // namespace kfg

namespace {

using kfg::fitsField;
using kfg::setField;

enum class MemberKey { Name, Init };

bool same(const char* a, const char* b) { return strcmp(a, b) == 0; }

// The common argument checks: texts first (all non-null), then the store and its flag.
int checkStore(const _KFGINFOFILE* store, bool mustBeLoaded) {
    if (store == nullptr) return KFG_ERR_STORE;
    if (mustBeLoaded && store->loaded != 1) return KFG_ERR_STORE;
    return KFG_OK;
}

int checkArgs(const _KFGINFOFILE* store, bool mustBeLoaded, const char* a, const char* b = "",
              const char* c = "") {
    if (a == nullptr || b == nullptr || c == nullptr) return KFG_ERR_ARG;
    return checkStore(store, mustBeLoaded);
}

// A new text for a 256-byte field: refused when it does not fit, so nothing is cut silently.
int checkFits(const char* a, const char* b = "") {
    return fitsField(a) && fitsField(b) ? KFG_OK : KFG_ERR_SIZE;
}

_KFGCLASS* firstClass(_KFGINFOFILE* store, const char* name) {
    for (_KFGCLASS& cls : store->classes)
        if (cls.used && same(cls.name, name)) return &cls;
    return nullptr;
}

bool matches(const _KFGMEMBER& member, MemberKey key, const char* text) {
    return member.used && same(key == MemberKey::Name ? member.name : member.init, text);
}

_KFGMEMBER* firstMember(_KFGINFOFILE* store, MemberKey key, const char* text) {
    for (_KFGMEMBER& member : store->members)
        if (matches(member, key, text)) return &member;
    return nullptr;
}

// The first match in a class of that name; classes of the same name in slot order.
_KFGMEMBER* firstMemberByClass(_KFGINFOFILE* store, const char* className, MemberKey key,
                               const char* text) {
    for (const _KFGCLASS& cls : store->classes) {
        if (!cls.used || !same(cls.name, className)) continue;
        for (_KFGMEMBER& member : store->members)
            if (member.classId == cls.id && matches(member, key, text)) return &member;
    }
    return nullptr;
}

int existResult(const void* found) { return found != nullptr ? KFG_EXIST : KFG_NOTEXIST; }

void addLines(_KFGINFOFILE* store, int lines) {
    store->lineCount = static_cast<int16_t>(store->lineCount + lines);
}

void freeMember(_KFGINFOFILE* store, _KFGMEMBER* member) {
    member->used = 0;
    --store->memberCount;
    addLines(store, -1);
}

int deleteMember(_KFGINFOFILE* store, _KFGMEMBER* member) {
    if (member == nullptr) return KFG_NOTFOUND;
    freeMember(store, member);
    return KFG_OK;
}

int getInto(_KFGMEMBER* member, char* buffer, int size) {
    memset(buffer, 0, static_cast<size_t>(size));
    if (member == nullptr) return KFG_NOTFOUND;
    size_t length = strnlen(member->init, KFG_TEXT_SIZE - 1);
    if (length > static_cast<size_t>(size - 1)) length = static_cast<size_t>(size - 1);
    memcpy(buffer, member->init, length);
    return KFG_OK;
}

int overwriteField(char* field, const char* text) {
    if (field == nullptr) return KFG_NOTFOUND;
    setField(field, text);
    return KFG_OK;
}

bool classIdInUse(const _KFGINFOFILE* store, uint16_t id) {
    for (const _KFGCLASS& cls : store->classes)
        if (cls.used && cls.id == id) return true;
    return false;
}

template <typename Slot, size_t N> Slot* lowestFree(Slot (&slots)[N]) {
    for (Slot& slot : slots)
        if (!slot.used) return &slot;
    return nullptr;
}

void resetIfNotLoaded(_KFGINFOFILE* store) {
    if (store->loaded != 1) kfg::resetStore(store);
}

int storeMember(_KFGINFOFILE* store, uint16_t classId, const char* name, const char* init) {
    _KFGMEMBER* slot = lowestFree(store->members);
    if (slot == nullptr) return KFG_ERR_FULL;
    slot->used = 1;
    setField(slot->name, name);
    setField(slot->init, init);
    slot->classId = classId;
    addLines(store, 1);
    ++store->memberCount;
    store->loaded = 1;
    return KFG_OK;
}

} // namespace

// ---- Exist ---------------------------------------------------------------------------------

int KFG_existClass(_KFGINFOFILE* store, char* className) {
    int check = checkArgs(store, true, className);
    if (check != KFG_OK) return check;
    return existResult(firstClass(store, className));
}

int KFG_existMember(_KFGINFOFILE* store, char* memberName) {
    int check = checkArgs(store, true, memberName);
    if (check != KFG_OK) return check;
    return existResult(firstMember(store, MemberKey::Name, memberName));
}

int KFG_existMemberByClass(_KFGINFOFILE* store, char* className, char* memberName) {
    int check = checkArgs(store, true, className, memberName);
    if (check != KFG_OK) return check;
    return existResult(firstMemberByClass(store, className, MemberKey::Name, memberName));
}

int KFG_existInit(_KFGINFOFILE* store, char* init) {
    int check = checkArgs(store, true, init);
    if (check != KFG_OK) return check;
    return existResult(firstMember(store, MemberKey::Init, init));
}

int KFG_existInitByClass(_KFGINFOFILE* store, char* className, char* init) {
    int check = checkArgs(store, true, className, init);
    if (check != KFG_OK) return check;
    return existResult(firstMemberByClass(store, className, MemberKey::Init, init));
}

// ---- Get -----------------------------------------------------------------------------------

int KFG_getInit(_KFGINFOFILE* store, char* memberName, char* buffer, int size) {
    int check = checkArgs(store, true, memberName, buffer);
    if (check != KFG_OK) return check;
    if (size <= 0) return KFG_ERR_SIZE;
    return getInto(firstMember(store, MemberKey::Name, memberName), buffer, size);
}

int KFG_getInitByClass(_KFGINFOFILE* store, char* className, char* memberName, char* buffer,
                       int size) {
    int check = checkArgs(store, true, className, memberName, buffer);
    if (check != KFG_OK) return check;
    if (size <= 0) return KFG_ERR_SIZE;
    return getInto(firstMemberByClass(store, className, MemberKey::Name, memberName), buffer, size);
}

// ---- Set -----------------------------------------------------------------------------------

int KFG_setClass(_KFGINFOFILE* store, char* oldName, char* newName) {
    int check = checkArgs(store, true, oldName, newName);
    if (check == KFG_OK) check = checkFits(newName);
    if (check != KFG_OK) return check;
    _KFGCLASS* cls = firstClass(store, oldName);
    return overwriteField(cls != nullptr ? cls->name : nullptr, newName);
}

int KFG_setMember(_KFGINFOFILE* store, char* oldName, char* newName) {
    int check = checkArgs(store, true, oldName, newName);
    if (check == KFG_OK) check = checkFits(newName);
    if (check != KFG_OK) return check;
    _KFGMEMBER* member = firstMember(store, MemberKey::Name, oldName);
    return overwriteField(member != nullptr ? member->name : nullptr, newName);
}

int KFG_setMemberByClass(_KFGINFOFILE* store, char* className, char* oldName, char* newName) {
    int check = checkArgs(store, true, className, oldName, newName);
    if (check == KFG_OK) check = checkFits(newName);
    if (check != KFG_OK) return check;
    _KFGMEMBER* member = firstMemberByClass(store, className, MemberKey::Name, oldName);
    return overwriteField(member != nullptr ? member->name : nullptr, newName);
}

int KFG_setInit(_KFGINFOFILE* store, char* oldInit, char* newInit) {
    int check = checkArgs(store, true, oldInit, newInit);
    if (check == KFG_OK) check = checkFits(newInit);
    if (check != KFG_OK) return check;
    _KFGMEMBER* member = firstMember(store, MemberKey::Init, oldInit);
    return overwriteField(member != nullptr ? member->init : nullptr, newInit);
}

int KFG_setInitByClass(_KFGINFOFILE* store, char* className, char* oldInit, char* newInit) {
    int check = checkArgs(store, true, className, oldInit, newInit);
    if (check == KFG_OK) check = checkFits(newInit);
    if (check != KFG_OK) return check;
    _KFGMEMBER* member = firstMemberByClass(store, className, MemberKey::Init, oldInit);
    return overwriteField(member != nullptr ? member->init : nullptr, newInit);
}

int KFG_setInitByClassAndMember(_KFGINFOFILE* store, char* className, char* memberName,
                                char* newInit) {
    int check = checkArgs(store, true, className, memberName, newInit);
    if (check == KFG_OK) check = checkFits(newInit);
    if (check != KFG_OK) return check;
    _KFGMEMBER* member = firstMemberByClass(store, className, MemberKey::Name, memberName);
    return overwriteField(member != nullptr ? member->init : nullptr, newInit);
}

int KFG_setInitByMember(_KFGINFOFILE* store, char* memberName, char* newInit) {
    int check = checkArgs(store, true, memberName, newInit);
    if (check == KFG_OK) check = checkFits(newInit);
    if (check != KFG_OK) return check;
    _KFGMEMBER* member = firstMember(store, MemberKey::Name, memberName);
    return overwriteField(member != nullptr ? member->init : nullptr, newInit);
}

// ---- Delete --------------------------------------------------------------------------------

int KFG_delClass(_KFGINFOFILE* store, char* className) {
    int check = checkArgs(store, true, className);
    if (check != KFG_OK) return check;
    _KFGCLASS* cls = firstClass(store, className);
    if (cls == nullptr) return KFG_NOTFOUND;
    cls->used = 0;
    for (_KFGMEMBER& member : store->members)
        if (member.used && member.classId == cls->id) freeMember(store, &member);
    --store->classCount;
    addLines(store, -2);
    --store->currentClass; // KFG_addClass steps past identifiers still in use
    return KFG_OK;
}

int KFG_delMember(_KFGINFOFILE* store, char* memberName) {
    int check = checkArgs(store, true, memberName);
    if (check != KFG_OK) return check;
    return deleteMember(store, firstMember(store, MemberKey::Name, memberName));
}

int KFG_delMemberByClass(_KFGINFOFILE* store, char* className, char* memberName) {
    int check = checkArgs(store, true, className, memberName);
    if (check != KFG_OK) return check;
    return deleteMember(store, firstMemberByClass(store, className, MemberKey::Name, memberName));
}

int KFG_delInit(_KFGINFOFILE* store, char* init) {
    int check = checkArgs(store, true, init);
    if (check != KFG_OK) return check;
    return deleteMember(store, firstMember(store, MemberKey::Init, init));
}

int KFG_delInitByClass(_KFGINFOFILE* store, char* className, char* init) {
    int check = checkArgs(store, true, className, init);
    if (check != KFG_OK) return check;
    return deleteMember(store, firstMemberByClass(store, className, MemberKey::Init, init));
}

// ---- Add -----------------------------------------------------------------------------------

int KFG_addClass(_KFGINFOFILE* store, char* className) {
    int check = checkArgs(store, false, className);
    if (check == KFG_OK) check = checkFits(className);
    if (check != KFG_OK) return check;
    if (store->loaded != 1) {
        kfg::resetStore(store);
        store->loaded = 1;
    }
    _KFGCLASS* slot = lowestFree(store->classes);
    if (slot == nullptr) return KFG_ERR_FULL;
    // Identifiers follow the current class; one that a class in the store still has (possible
    // after deleting a class other than the current one) is stepped over, so that a new class
    // never shares the members of another. At most 299 identifiers are in use, so this ends.
    uint16_t id = static_cast<uint16_t>(store->currentClass + 1);
    while (classIdInUse(store, id)) ++id;
    store->currentClass = id;
    slot->used = 1;
    slot->id = id;
    setField(slot->name, className);
    addLines(store, 2);
    ++store->classCount;
    return KFG_OK;
}

int KFG_addMember(_KFGINFOFILE* store, char* memberName, char* init) {
    int check = checkArgs(store, false, memberName, init);
    if (check == KFG_OK) check = checkFits(memberName, init);
    if (check != KFG_OK) return check;
    resetIfNotLoaded(store);
    return storeMember(store, store->currentClass, memberName, init);
}

int KFG_addMemberByClass(_KFGINFOFILE* store, char* className, char* memberName, char* init) {
    int check = checkArgs(store, false, className, memberName, init);
    if (check == KFG_OK) check = checkFits(memberName, init);
    if (check != KFG_OK) return check;
    resetIfNotLoaded(store);
    _KFGCLASS* cls = firstClass(store, className);
    if (cls == nullptr) return KFG_NOTFOUND;
    return storeMember(store, cls->id, memberName, init);
}

// ---- Count ---------------------------------------------------------------------------------

int KFG_gelNumMember(_KFGINFOFILE* store, char* className) {
    int check = checkArgs(store, true, className);
    if (check != KFG_OK) return check;
    const _KFGCLASS* cls = firstClass(store, className);
    if (cls == nullptr) return 0;
    int count = 0;
    for (const _KFGMEMBER& member : store->members)
        if (member.used && member.classId == cls->id) ++count;
    return count;
}
