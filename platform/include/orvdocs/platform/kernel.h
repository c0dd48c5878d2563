// Kernel services: recursive critical sections, interlocked counters, module names.
#pragma once

#include "types.h"

// A recursive lock: the owning thread may enter it again. Its storage lives
// inside the structure, so initialising one never allocates.
struct CRITICAL_SECTION {
    alignas(8) unsigned char opaque[64];
};
using LPCRITICAL_SECTION = CRITICAL_SECTION*;

void InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
void EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
void LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
void DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection);

LONG InterlockedIncrement(LONG volatile* addend);
LONG InterlockedDecrement(LONG volatile* addend);
LONG InterlockedExchange(LONG volatile* target, LONG value);
LONG InterlockedCompareExchange(LONG volatile* destination, LONG exchange, LONG comparand);

// The module that holds the given address (for a library, pass the address of
// one of its own functions or objects).
HMODULE GetModuleHandleFromAddress(const void* address);
// Full path of a loaded module; a null module is the main program.
DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);
DWORD GetCurrentThreadId();
