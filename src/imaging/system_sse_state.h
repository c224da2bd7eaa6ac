// The system's word on the SSE registers, behind SystemSavesSseState
// (cpu_features.h): a processor may offer SSE2 on a system that does not save
// its registers when it switches tasks (Windows 95, NT 4).
#pragma once

#include <windows.h>

// Tests stand query in for kernel32's IsProcessorFeaturePresent, null for a
// kernel32 without it, until RestoreProcessorFeatureQueryForTest.
typedef BOOL(WINAPI* ProcessorFeatureQueryFn)(DWORD feature);
void SetProcessorFeatureQueryForTest(ProcessorFeatureQueryFn query);
void RestoreProcessorFeatureQueryForTest();
