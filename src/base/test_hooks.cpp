#include "base/test_hooks.h"

namespace {

TestHooks hooks = {};

}  // namespace

TestHooks& Hooks() { return hooks; }

void ResetTestHooks() { hooks = TestHooks{}; }
