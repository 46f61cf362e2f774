/* Entry points of the stand-in Notes runtime that are not part of the Notes C API: fault injection,
   resource counters and diagnostics, for tests that prove every failure path releases what it took.
   Tests resolve them with dlsym from the loaded libnotes.so, as the program resolves the C API. */
#pragma once

#include "../../../src/notes/capi/NotesTypes.h"

extern "C" {

struct StandinCounters {
    DWORD databases;     /* open database handles */
    DWORD notes;         /* open note handles */
    DWORD collections;   /* open collections */
    DWORD memory;        /* allocated memory handles (ID tables, buffers, compiled formulas) */
    DWORD locks;         /* outstanding OSLockObject calls without their OSUnlockObject */
    DWORD computes;      /* started formula computations */
    DWORD registrations; /* Extension Manager registrations */
};

/* Make the nth call (1-based, counted from now) of the named entry point fail with status.
   With every set, each later call fails too. An empty name clears every fault. */
void StandinSetFault(const char *entryPoint, DWORD nth, STATUS status, BOOL every);
void StandinClearFaults(void);
/* Calls of the named entry point since the process loaded the runtime. */
DWORD StandinCallCount(const char *entryPoint);
void StandinGetCounters(StandinCounters *counters);
/* The diagnostics the runtime recorded (skipped items, bad input), one per line; returns the full
   length, writes at most len - 1 bytes and a NUL. */
DWORD StandinDiagnostics(char *buf, DWORD len);
void StandinClearDiagnostics(void);
/* A memory handle holding a copy of size bytes (for tests that hand value blocks to entry points);
   free it with OSMemFree. 0 when data is null and size is not 0. */
DHANDLE StandinAllocMemory(const void *data, DWORD size);

typedef void (*StandinSetFaultFn)(const char *, DWORD, STATUS, BOOL);
typedef void (*StandinClearFaultsFn)(void);
typedef DWORD (*StandinCallCountFn)(const char *);
typedef void (*StandinGetCountersFn)(StandinCounters *);
typedef DWORD (*StandinDiagnosticsFn)(char *, DWORD);
typedef void (*StandinClearDiagnosticsFn)(void);
typedef DHANDLE (*StandinAllocMemoryFn)(const void *, DWORD);
}
