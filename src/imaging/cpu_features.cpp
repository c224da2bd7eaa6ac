#include "imaging/cpu_features.h"

#include <cpuid.h>

namespace {

constexpr unsigned MMX_BIT = 1u << 23;        // leaf 1, EDX
constexpr unsigned SSE2_BIT = 1u << 26;       // leaf 1, EDX
constexpr unsigned OS_XSAVE_BIT = 1u << 27;    // leaf 1, ECX
constexpr unsigned AVX_BIT = 1u << 28;        // leaf 1, ECX
constexpr unsigned AVX2_BIT = 1u << 5;        // leaf 7, EBX
constexpr unsigned XMM_YMM_STATE_BITS = 0x6;    // XCR0: SSE and AVX state saved by the system

struct Leaf {
    bool present = false;
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
};

// __get_cpuid_max itself tests the ID flag on 32-bit processors and answers 0
// when there is no CPUID instruction.
Leaf ReadLeaf(unsigned leaf) {
    Leaf result;
    if (__get_cpuid_max(0, nullptr) < leaf) {
        return result;
    }
    __cpuid_count(leaf, 0, result.eax, result.ebx, result.ecx, result.edx);
    result.present = true;
    return result;
}

unsigned long long ReadXcr0() {
    unsigned eax = 0, edx = 0;
    __asm__ volatile("xgetbv" : "=a"(eax), "=d"(edx) : "c"(0));
    return (static_cast<unsigned long long>(edx) << 32) | eax;
}

}  // namespace

bool CpuHasMmx() {
    const Leaf one = ReadLeaf(1);
    return one.present && (one.edx & MMX_BIT) != 0;
}

bool CpuHasSse2() {
    const Leaf one = ReadLeaf(1);
    return one.present && (one.edx & SSE2_BIT) != 0 && SystemSavesSseState();
}

bool CpuHasAvx2() {
    const Leaf one = ReadLeaf(1);
    if (!one.present || (one.ecx & OS_XSAVE_BIT) == 0 || (one.ecx & AVX_BIT) == 0) {
        return false;
    }
    if ((ReadXcr0() & XMM_YMM_STATE_BITS) != XMM_YMM_STATE_BITS) {
        return false;
    }
    const Leaf seven = ReadLeaf(7);
    return seven.present && (seven.ebx & AVX2_BIT) != 0;
}

#if !defined(_WIN32)
// The native build runs on systems that save the SSE registers wherever the
// processor has them.
bool SystemSavesSseState() {
    return true;
}
#endif
