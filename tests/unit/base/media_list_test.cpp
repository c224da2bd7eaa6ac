#include "base/media_list.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Take(MediaList& list, int n, bool shuffle) {
    std::vector<std::string> taken;
    for (int i = 0; i < n; ++i) {
        taken.push_back(list.Next(shuffle));
    }
    return taken;
}

TEST(MediaList, UnshuffledListsRepeatInTheOrderAddedAndAnEmptyOneHandsOutNothing) {
    MediaList list;
    SetLastError(0xdeadbeef);
    EXPECT_EQ(list.Next(true), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    for (const char* path : {"P", "Q", "R"}) {
        ASSERT_TRUE(list.Add(path));
    }
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(Take(list, 7, false), (std::vector<std::string>{"P", "Q", "R", "P", "Q", "R", "P"}));
}

// The shuffle swaps every position with any position of the whole list,
// starting from the previous pass's order; replaying that rule with the same
// seed must give the same passes.
TEST(MediaList, ShuffleSwapsEachPositionWithAnyPositionFromThePreviousOrder) {
    const std::vector<std::string> names = {"a", "b", "c", "d", "e"};
    MediaList list;
    for (const std::string& name : names) {
        ASSERT_TRUE(list.Add(name.c_str()));
    }
    std::srand(99);
    std::vector<std::vector<std::string>> seen(4);
    for (auto& pass : seen) {
        pass = Take(list, 5, true);
    }

    std::srand(99);
    std::vector<std::string> order = names;
    for (int pass = 0; pass < 4; ++pass) {
        for (int i = 0; i < 5; ++i) {
            const int j = std::rand() % 5;
            if (j != i) {
                std::swap(order[i], order[j]);
            }
        }
        EXPECT_EQ(seen[pass], order) << "pass " << pass;
    }
}

}  // namespace
