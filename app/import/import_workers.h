// The threads that convert the pictures of a selection, as many as the machine has cores. They
// run convertPicture on the jobs handed to them and nothing else; the main window's thread owns
// the jobs and everything the program keeps (wallpaper_import.cpp says how the work is split).
#ifndef MURALTO_IMPORT_WORKERS_H
#define MURALTO_IMPORT_WORKERS_H

#include <windows.h>

#include "wallpaper_import.h"

enum { MAX_IMPORT_WORKERS = 16 };

// One conversion handed out. The main thread fills in conversion, hands the job out and may
// read the conversion again once conversionFinished says so.
struct ImportJob {
    PictureConversion conversion;
    volatile LONG finished;
};

struct ImportWorkers {
    CRITICAL_SECTION lock;
    HANDLE workWaiting; // a semaphore: one count per job handed out, and one per thread to stop
    HANDLE jobFinished; // set after each conversion
    HANDLE threads[MAX_IMPORT_WORKERS];
    int threadCount;
    bool stopping;
    ImportJob* waiting[MAX_IMPORT_WORKERS * 2]; // handed out, not yet taken, oldest first
    int waitingCount;
};

// How many workers a selection gets: importWorkersWanted when set, else one per processor, at
// most MAX_IMPORT_WORKERS.
extern int importWorkersWanted; // 0: one per processor; owner: the tests and the benchmark
int importWorkerCount();

// Starts count threads (at least one); false, with nothing to stop, when none could be started.
bool startImportWorkers(ImportWorkers* workers, int count);
// Queues the job (at most 2 * MAX_IMPORT_WORKERS wait at a time); false when there is no room.
bool handOutConversion(ImportWorkers* workers, ImportJob* job);
bool conversionFinished(const ImportJob* job);
// Waits until the job is finished; one no worker has taken yet is converted here at once.
void finishConversion(ImportWorkers* workers, ImportJob* job);
// No job waiting starts any more (they stay unfinished, with no file made); the ones running
// are finished, then the threads end.
void stopImportWorkers(ImportWorkers* workers);

#endif
