// What the processor offers, read with CPUID, where the system lets it be used. No Win32 here.
#pragma once

// MMX: false when the processor has no CPUID instruction at all (the flags
// register's ID bit cannot be changed), when CPUID has no leaf 1, or when
// leaf 1 lacks the MMX bit.
bool CpuHasMmx();

// SSE2: the processor's leaf 1 bit, and the system's word that it saves the
// SSE registers when it switches tasks. Windows 95 and NT 4 do not: there the
// first SSE2 instruction faults, whatever the processor offers.
bool CpuHasSse2();

// AVX2, and an operating system that saves the 256-bit registers: the
// processor's OSXSAVE bit says the system turned XSAVE on, and XCR0 that it
// saves the SSE and AVX state; systems that know nothing of AVX set neither.
bool CpuHasAvx2();

// Whether the operating system saves the SSE registers: asked of the system
// by the Win32 glue (system_sse_state.cpp); yes in the native build.
bool SystemSavesSseState();
