// The settings files on disk: their names, and the few file operations a save is made of, each
// one a step that either happens whole or not at all.
#ifndef MURALTO_SETTINGS_FILES_H
#define MURALTO_SETTINGS_FILES_H

// Path of configuration file index (0 is Muralto.ini itself), from iniFilePath.
bool configFilePath(int index, char* path, int size);
// The same file's new content while a save writes it: the path with ".new" appended.
bool pendingFilePath(int index, char* path, int size);

// Whether anything is there under the path (a file that cannot be read included).
bool pathExists(const char* path);

// Writes the file's buffered content to the disk itself; false when it cannot.
bool flushToDisk(const char* path);
// Puts from in the place of to, replacing it in one step and through to the disk.
bool putInPlace(const char* from, const char* to);
// Deletes the file; true when it is gone (or was never there).
bool removeFile(const char* path);

// Copies the file of configuration index byte for byte to a name of its own in the data folder
// (Muralto-refused1.ini, Muralto-part2-refused1.ini, ...: the first number not taken), flushed;
// false when no copy could be made.
bool keepAside(int index);
// The pattern that finds every kept-aside file in the data folder.
bool keptAsidePattern(char* pattern, int size);

// Called before each step of a save that changes the disk, with the step ("keep", "write",
// "flush", "replace", "delete") and its path; a false answer makes the step fail as a full
// disk would. Only tests set it: the program itself leaves it null.
typedef bool (*SaveStepHook)(const char* step, const char* path);
extern SaveStepHook saveStepHook;
// Asks the hook, when there is one, whether the step may go ahead.
bool saveStepAllowed(const char* step, const char* path);

#endif
