// Functions looked up at run time: those a supported system may lack, so that
// the program still starts where they are missing.
#pragma once

#include <windows.h>

// The function module exports under name, as type Fn; null when the module
// is null or does not export it.
template <typename Fn>
Fn ProcedureOf(HMODULE module, const char* name) {
    return module != nullptr ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// The same from a module the process has loaded already; it is never loaded
// for this.
template <typename Fn>
Fn LoadedProcedureOf(const char* module, const char* name) {
    return ProcedureOf<Fn>(GetModuleHandleA(module), name);
}
