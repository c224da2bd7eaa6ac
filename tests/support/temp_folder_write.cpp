// TempFolder::Write reports a failed write to the running test, so it lives
// apart from the rest of the file support, which the benchmarks also build
// without the test framework.
#include <gtest/gtest.h>

#include "support/test_files.h"

std::string TempFolder::Write(const std::string& name, const std::string& bytes) const {
    const std::string path = path_ + name;
    EXPECT_TRUE(WriteFileBytes(path, bytes)) << path;
    return path;
}
