// SSE2 is used only where the system says it saves the SSE registers: on
// Windows 95 and NT 4 the first SSE2 instruction faults, whatever the
// processor offers.
#include <gtest/gtest.h>

#include <cpuid.h>

#include "base/test_hooks.h"
#include "imaging/cpu_features.h"

namespace {

DWORD asked = 0;
BOOL answer = FALSE;

BOOL WINAPI Answers(DWORD feature) {
    asked = feature;
    return answer;
}

bool ProcessorHasSse2() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (edx & bit_SSE2) != 0;
}

TEST(SystemSseState, Sse2NeedsTheSystemsWordBesideTheProcessors) {
    const struct {
        const char* system;
        ProcessorFeatureQueryFn query;
        BOOL answer;
        bool sse2;
    } kSystems[] = {
        {"a kernel32 without IsProcessorFeaturePresent (Windows 95)", nullptr, TRUE, false},
        {"a system that does not save the registers", Answers, FALSE, false},
        {"a system that saves them", Answers, TRUE, ProcessorHasSse2()},
    };
    for (const auto& system : kSystems) {
        asked = 0;
        answer = system.answer;
        Hooks().processorFeatureQueryReplaced = true;
        Hooks().processorFeatureQuery = system.query;
        EXPECT_EQ(CpuHasSse2(), system.sse2) << system.system;
        if (system.query != nullptr && ProcessorHasSse2()) {
            EXPECT_EQ(asked, static_cast<DWORD>(PF_XMMI64_INSTRUCTIONS_AVAILABLE)) << system.system;
        }
    }
    ResetTestHooks();
    EXPECT_EQ(CpuHasSse2(), ProcessorHasSse2() && IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE));
}

}  // namespace
