#include "imaging/system_sse_state.h"

#include "base/procedure_lookup.h"
#include "imaging/cpu_features.h"

namespace {

bool queryReplaced = false;
ProcessorFeatureQueryFn replacement = nullptr;

}  // namespace

// IsProcessorFeaturePresent is looked up at run time: Windows 95 lacks it, and
// a system that cannot say is taken not to save the registers. Windows 2000
// knows no SSE2 feature and says no: the older kernels serve it.
bool SystemSavesSseState() {
    const ProcessorFeatureQueryFn query =
        queryReplaced ? replacement
                      : LoadedProcedureOf<ProcessorFeatureQueryFn>("kernel32.dll", "IsProcessorFeaturePresent");
    return query != nullptr && query(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != FALSE;
}

void SetProcessorFeatureQueryForTest(ProcessorFeatureQueryFn query) {
    queryReplaced = true;
    replacement = query;
}

void RestoreProcessorFeatureQueryForTest() {
    queryReplaced = false;
    replacement = nullptr;
}
