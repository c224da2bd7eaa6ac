#include "base/string_list.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/object_array.h"

namespace {

TEST(StringList, KeepsCopiesInOrderAndRefusesNullAndIndicesOutside) {
    StringList list;
    char first[] = "first";
    ASSERT_TRUE(list.Add(first));
    first[0] = 'F';  // the copy must not follow the caller's buffer
    ASSERT_TRUE(list.Add(""));
    EXPECT_FALSE(list.Add(nullptr));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_STREQ(list.Get(0), "first");
    EXPECT_STREQ(list.Get(1), "");
    EXPECT_EQ(list.Get(-1), nullptr);
    EXPECT_EQ(list.Get(2), nullptr);
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

TEST(ObjectArray, DeletesWhatItHoldsAfterSwapsOnRemovalClearAndDestruction) {
    std::string log;
    {
        ObjectArray array;
        Tracked* first = new Tracked(1, log);
        Tracked* third = new Tracked(3, log);
        ASSERT_TRUE(array.Append(first));
        ASSERT_TRUE(array.Append(new Tracked(2, log)));
        ASSERT_TRUE(array.Append(third));
        array.Swap(0, 2);
        EXPECT_EQ(array.Get(0), third);
        EXPECT_EQ(array.Get(2), first);
        array.RemoveLast();
        EXPECT_EQ(log, "1") << "the element swapped to the end goes";
        array.Clear();
        EXPECT_EQ(log, "132") << "in index order";
        EXPECT_EQ(array.Count(), 0);
        ASSERT_TRUE(array.Append(new Tracked(4, log)));
        ASSERT_TRUE(array.Append(new Tracked(5, log)));
    }
    EXPECT_EQ(log, "13245");
}

}  // namespace
