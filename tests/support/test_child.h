// A test that needs a process of its own (one that faults, say) runs its own
// executable again with "--child=<name>"; the test main then runs that child
// instead of listing any test.
#pragma once

using TestChild = int (*)();

// Called from a namespace-scope initialiser of the suite that owns the child;
// a suite has at most one.
bool RegisterTestChild(const char* name, TestChild run);
