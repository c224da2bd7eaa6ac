#include "base/worker_com.h"

#include <windows.h>

#include <objbase.h>

#include "base/procedure_lookup.h"

namespace {

// Looked up, not imported: a program that imports it does not start on
// Windows 95 without DCOM.
typedef HRESULT(WINAPI* CoInitializeExFn)(void* reserved, DWORD model);

}  // namespace

bool StartWorkerCom(bool& multithreaded) {
    const CoInitializeExFn initializeEx = LoadedProcedureOf<CoInitializeExFn>("ole32.dll", "CoInitializeEx");
    multithreaded = initializeEx != nullptr;
    return SUCCEEDED(initializeEx != nullptr ? initializeEx(nullptr, COINIT_MULTITHREADED) : CoInitialize(nullptr));
}
