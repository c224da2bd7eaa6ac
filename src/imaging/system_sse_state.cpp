// The system's word on the SSE registers, behind SystemSavesSseState
// (cpu_features.h): a processor may offer SSE2 on a system that does not save
// its registers when it switches tasks (Windows 95, NT 4).
#include <windows.h>

#include "base/procedure_lookup.h"
#include "base/test_hooks.h"
#include "imaging/cpu_features.h"

// IsProcessorFeaturePresent is looked up at run time: Windows 95 lacks it, and
// a system that cannot say is taken not to save the registers. Windows 2000
// knows no SSE2 feature and says no: the older kernels serve it.
bool SystemSavesSseState() {
    const ProcessorFeatureQueryFn query =
        Hooks().processorFeatureQueryReplaced
            ? Hooks().processorFeatureQuery
            : LoadedProcedureOf<ProcessorFeatureQueryFn>("kernel32.dll", "IsProcessorFeaturePresent");
    return query != nullptr && query(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != FALSE;
}
