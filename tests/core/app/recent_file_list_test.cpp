#include "app/RecentFileList.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

using Paths = std::vector<std::string>;

TEST(RecentFileList, NewestFirstEachPathOnceAtMostFour) {
    RecentFileList list;
    for (const char* path : {"a", "b", "c", "d", "e"})
        list.add(path);
    EXPECT_EQ(list.entries(), (Paths{"e", "d", "c", "b"}));
    list.add("c");
    EXPECT_EQ(list.entries(), (Paths{"c", "e", "d", "b"}));
    list.remove("e");
    list.remove("absent");
    EXPECT_EQ(list.entries(), (Paths{"c", "d", "b"}));
    list.add("");
    EXPECT_EQ(list.entries().size(), 3u);
}

TEST(RecentFileList, AssignDropsEmptyAndRepeatedPathsAndCutsToSize) {
    RecentFileList list;
    list.assign({"", "a", "b", "a", "c", "d", "e"});
    EXPECT_EQ(list.entries(), (Paths{"a", "b", "c", "d"}));
}

} // namespace
} // namespace korvan
