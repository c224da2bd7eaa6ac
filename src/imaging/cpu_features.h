// What the processor offers, read with CPUID. No Win32 here.
#pragma once

// MMX: false when the processor has no CPUID instruction at all (the flags
// register's ID bit cannot be changed), when CPUID has no leaf 1, or when
// leaf 1 lacks the MMX bit.
bool CpuHasMmx();

bool CpuHasSse2();

// AVX2, and an operating system that saves the 256-bit registers.
bool CpuHasAvx2();
