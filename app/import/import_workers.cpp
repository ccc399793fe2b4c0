#include "import_workers.h"

#include <string.h>

int importWorkersWanted = 0;

namespace {

const int MAX_WAITING = MAX_IMPORT_WORKERS * 2;

// The oldest waiting job, taken off the queue; null when none waits or the workers stop.
ImportJob* takeWaiting(ImportWorkers* workers) {
    EnterCriticalSection(&workers->lock);
    ImportJob* job = nullptr;
    if (!workers->stopping && workers->waitingCount > 0) {
        job = workers->waiting[0];
        --workers->waitingCount;
        memmove(workers->waiting, workers->waiting + 1,
                sizeof workers->waiting[0] * static_cast<size_t>(workers->waitingCount));
    }
    LeaveCriticalSection(&workers->lock);
    return job;
}

void convert(ImportWorkers* workers, ImportJob* job) {
    convertPicture(&job->conversion);
    InterlockedExchange(&job->finished, 1);
    SetEvent(workers->jobFinished);
}

DWORD WINAPI workerMain(void* parameter) {
    ImportWorkers* workers = static_cast<ImportWorkers*>(parameter);
    for (;;) {
        WaitForSingleObject(workers->workWaiting, INFINITE);
        ImportJob* job = takeWaiting(workers);
        if (job != nullptr) {
            convert(workers, job);
            continue;
        }
        EnterCriticalSection(&workers->lock);
        bool stopping = workers->stopping;
        LeaveCriticalSection(&workers->lock);
        if (stopping) return 0;
    }
}

} // namespace

int importWorkerCount() {
    int count = importWorkersWanted;
    if (count <= 0) {
        SYSTEM_INFO system;
        GetSystemInfo(&system);
        count = static_cast<int>(system.dwNumberOfProcessors);
    }
    if (count < 1) return 1;
    return count > MAX_IMPORT_WORKERS ? MAX_IMPORT_WORKERS : count;
}

bool startImportWorkers(ImportWorkers* workers, int count) {
    memset(workers, 0, sizeof *workers);
    if (count < 1) count = 1;
    if (count > MAX_IMPORT_WORKERS) count = MAX_IMPORT_WORKERS;
    InitializeCriticalSection(&workers->lock);
    workers->workWaiting = CreateSemaphoreA(nullptr, 0, MAX_WAITING + MAX_IMPORT_WORKERS, nullptr);
    workers->jobFinished = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    for (int i = 0; i < count && workers->workWaiting != nullptr && workers->jobFinished != nullptr;
         ++i) {
        HANDLE thread = CreateThread(nullptr, 0, workerMain, workers, 0, nullptr);
        if (thread == nullptr) break;
        workers->threads[workers->threadCount++] = thread;
    }
    if (workers->threadCount > 0) return true;
    stopImportWorkers(workers);
    return false;
}

bool handOutConversion(ImportWorkers* workers, ImportJob* job) {
    InterlockedExchange(&job->finished, 0);
    EnterCriticalSection(&workers->lock);
    bool room = !workers->stopping && workers->waitingCount < MAX_WAITING;
    if (room) workers->waiting[workers->waitingCount++] = job;
    LeaveCriticalSection(&workers->lock);
    if (room) ReleaseSemaphore(workers->workWaiting, 1, nullptr);
    return room;
}

bool conversionFinished(const ImportJob* job) {
    return InterlockedCompareExchange(const_cast<volatile LONG*>(&job->finished), 0, 0) != 0;
}

void finishConversion(ImportWorkers* workers, ImportJob* job) {
    EnterCriticalSection(&workers->lock);
    bool wasWaiting = false;
    for (int i = 0; i < workers->waitingCount && !wasWaiting; ++i) {
        if (workers->waiting[i] != job) continue;
        wasWaiting = true;
        --workers->waitingCount;
        memmove(workers->waiting + i, workers->waiting + i + 1,
                sizeof workers->waiting[0] * static_cast<size_t>(workers->waitingCount - i));
    }
    LeaveCriticalSection(&workers->lock);
    // Its count in the semaphore stays: a worker woken by it finds nothing and waits again.
    if (wasWaiting) convert(workers, job);
    while (!conversionFinished(job)) WaitForSingleObject(workers->jobFinished, INFINITE);
}

void stopImportWorkers(ImportWorkers* workers) {
    EnterCriticalSection(&workers->lock);
    workers->stopping = true;
    workers->waitingCount = 0;
    LeaveCriticalSection(&workers->lock);
    if (workers->threadCount > 0) {
        ReleaseSemaphore(workers->workWaiting, workers->threadCount, nullptr);
        WaitForMultipleObjects(static_cast<DWORD>(workers->threadCount), workers->threads, TRUE,
                               INFINITE);
    }
    for (int i = 0; i < workers->threadCount; ++i) CloseHandle(workers->threads[i]);
    workers->threadCount = 0;
    if (workers->workWaiting != nullptr) CloseHandle(workers->workWaiting);
    if (workers->jobFinished != nullptr) CloseHandle(workers->jobFinished);
    workers->workWaiting = workers->jobFinished = nullptr;
    DeleteCriticalSection(&workers->lock);
}
