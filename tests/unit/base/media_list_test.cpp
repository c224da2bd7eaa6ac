#include "base/media_list.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> Take(MediaList& list, int n, bool shuffle) {
    std::vector<std::wstring> taken;
    for (int i = 0; i < n; ++i) {
        const wchar_t* path = list.Next(shuffle);
        taken.push_back(path != nullptr ? path : L"(none)");
    }
    return taken;
}

TEST(MediaList, UnshuffledListsRepeatInTheOrderAddedAndAnEmptyOneHandsOutNothing) {
    MediaList list;
    SetLastError(0xdeadbeef);
    EXPECT_EQ(list.Next(true), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    ASSERT_TRUE(list.Add("P"));
    const int folder = list.AddFolder(L"C:\\\x5199\x771f\\");
    ASSERT_TRUE(list.AddInFolder(folder, L"Q.jpg"));
    ASSERT_TRUE(list.Add(L"R"));
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(Take(list, 7, false), (std::vector<std::wstring>{L"P", L"C:\\\x5199\x771f\\Q.jpg", L"R", L"P",
                                                                L"C:\\\x5199\x771f\\Q.jpg", L"R", L"P"}));
}

// The shuffle swaps every position with any position of the whole list,
// starting from the previous pass's order; replaying that rule with the same
// seed must give the same passes.
TEST(MediaList, ShuffleSwapsEachPositionWithAnyPositionFromThePreviousOrder) {
    const std::vector<std::wstring> names = {L"a", L"b", L"c", L"d", L"e"};
    MediaList list;
    for (const std::wstring& name : names) {
        ASSERT_TRUE(list.Add(name.c_str()));
    }
    std::srand(99);
    std::vector<std::vector<std::wstring>> seen(4);
    for (auto& pass : seen) {
        pass = Take(list, 5, true);
    }

    std::srand(99);
    std::vector<std::wstring> order = names;
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

// While a search still adds, a pass hands out what has been found, each once,
// waits for more rather than starting over, and ends once the search has.
TEST(MediaList, APassDuringASearchHandsOutEachFileOnceAndWaitsForTheSearch) {
    for (const bool shuffle : {false, true}) {
        MediaList list;
        list.BeginSearch();
        ASSERT_TRUE(list.Add(L"a"));
        ASSERT_TRUE(list.Add(L"b"));
        std::vector<std::wstring> pass = Take(list, 2, shuffle);
        SetLastError(0xdeadbeef);
        EXPECT_EQ(list.Next(shuffle), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_IO_PENDING));
        ASSERT_TRUE(list.Add(L"c"));
        ASSERT_TRUE(list.Add(L"d"));
        list.EndSearch();
        for (const std::wstring& path : Take(list, 2, shuffle)) {
            pass.push_back(path);
        }
        EXPECT_EQ(std::set<std::wstring>(pass.begin(), pass.end()), (std::set<std::wstring>{L"a", L"b", L"c", L"d"}))
            << "shuffle " << shuffle;
        if (!shuffle) {
            EXPECT_EQ(pass, (std::vector<std::wstring>{L"a", L"b", L"c", L"d"}));
        }
        EXPECT_NE(list.Next(shuffle), nullptr) << "a new pass starts";
    }
}

// rand() reaches 32,767 only: in a longer list the draw must reach past it.
TEST(MediaList, DrawsInALongListReachItsLastEntries) {
    constexpr int COUNT = 40000;
    MediaList list;
    const int folder = list.AddFolder(L"C:\\p\\");
    list.BeginSearch();
    for (int i = 0; i < COUNT; ++i) {
        ASSERT_TRUE(list.AddInFolder(folder, std::to_wstring(i).c_str()));
    }
    std::srand(7);
    int late = 0;
    for (int i = 0; i < 2000; ++i) {
        int entry = -1;
        ASSERT_NE(list.Next(true, &entry), nullptr);
        late += entry >= 36000 ? 1 : 0;
    }
    EXPECT_GT(late, 0) << "none of the last 4,000 entries was drawn";
}

}  // namespace
