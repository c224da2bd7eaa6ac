#include "base/string_list.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/owned_string.h"

namespace {

TEST(OwnedString, StartsWithoutTextAndCopiesWhatItIsGiven) {
    OwnedString text;
    EXPECT_EQ(text.Text(), nullptr);

    char source[] = "C:\\Pictures\\a.bmp";
    ASSERT_TRUE(text.SetText(source));
    source[0] = 'D';  // the copy must not follow the caller's buffer
    EXPECT_STREQ(text.Text(), "C:\\Pictures\\a.bmp");

    ASSERT_TRUE(text.SetText("a much longer replacement text than before"));
    EXPECT_STREQ(text.Text(), "a much longer replacement text than before");
    ASSERT_TRUE(text.SetText("x"));
    EXPECT_STREQ(text.Text(), "x");
}

TEST(OwnedString, NullTextIsRefusedWithoutTouchingTheErrorOrTheOldText) {
    OwnedString text;
    ASSERT_TRUE(text.SetText("kept"));
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(text.SetText(nullptr));
    EXPECT_EQ(GetLastError(), 0xdeadbeefu);
    EXPECT_STREQ(text.Text(), "kept");
}

TEST(StringList, KeepsEntriesInOrderIncludingEmptyAndDoubleByteTexts) {
    StringList list;
    EXPECT_EQ(list.Count(), 0);
    ASSERT_TRUE(list.Add("first"));
    ASSERT_TRUE(list.Add(""));
    ASSERT_TRUE(list.Add("C:\\\x95\x5c\\\x97\x5c.jpg"));  // 表 and 予 in code page 932
    ASSERT_EQ(list.Count(), 3);
    EXPECT_STREQ(list.Get(0), "first");
    EXPECT_STREQ(list.Get(1), "");
    EXPECT_STREQ(list.Get(2), "C:\\\x95\x5c\\\x97\x5c.jpg");
}

TEST(StringList, RefusedAddsAndOutOfRangeIndexesLeaveTheListAlone) {
    StringList list;
    ASSERT_TRUE(list.Add("only"));
    EXPECT_FALSE(list.Add(nullptr));
    ASSERT_EQ(list.Count(), 1);
    for (int index : {-1, 1, 1000}) {
        SetLastError(0xdeadbeef);
        EXPECT_EQ(list.Get(index), nullptr) << index;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << index;
    }
}

TEST(StringList, ClearEmptiesTheListAndItStaysUsable) {
    StringList list;
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    ASSERT_TRUE(list.Add("a"));
    ASSERT_TRUE(list.Add("b"));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Get(0), nullptr);
    ASSERT_TRUE(list.Add("c"));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_STREQ(list.Get(0), "c");
}

// Elements that report their own destruction, to see what the array owns.
class Tracked : public OwnedObject {
public:
    Tracked(int id, std::string& log) : id_(id), log_(log) {}
    ~Tracked() override { log_ += std::to_string(id_); }

private:
    int id_;
    std::string& log_;
};

TEST(ObjectArray, DeletesItsElementsInIndexOrder) {
    std::string log;
    {
        ObjectArray array;
        for (int id = 1; id <= 3; ++id) {
            ASSERT_TRUE(array.Append(new Tracked(id, log)));
        }
        array.Clear();
        EXPECT_EQ(log, "123");
        EXPECT_EQ(array.Count(), 0);
        ASSERT_TRUE(array.Append(new Tracked(4, log)));
        ASSERT_TRUE(array.Append(new Tracked(5, log)));
    }
    EXPECT_EQ(log, "12345");
}

TEST(ObjectArray, SwapAndRemoveLastKeepOwnership) {
    std::string log;
    ObjectArray array;
    Tracked* first = new Tracked(1, log);
    Tracked* second = new Tracked(2, log);
    ASSERT_TRUE(array.Append(first));
    ASSERT_TRUE(array.Append(second));
    array.Swap(0, 1);
    EXPECT_EQ(array.Get(0), second);
    EXPECT_EQ(array.Get(1), first);
    array.RemoveLast();
    EXPECT_EQ(log, "1");
    EXPECT_EQ(array.Count(), 1);
    array.RemoveLast();
    array.RemoveLast();  // nothing left: no effect
    EXPECT_EQ(log, "12");
    EXPECT_EQ(array.Count(), 0);
}

}  // namespace
