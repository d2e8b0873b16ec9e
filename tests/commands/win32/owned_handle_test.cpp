#include "commands/win32/owned_handle.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/win32/temp_folder.h"

namespace {

// Without sharing: while one owner holds the file, the next open fails.
OwnedKernelObject open_exclusive(const std::string& path)
{
    return OwnedKernelObject(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

TEST(OwnedHandle, only_the_last_owner_closes_and_a_failed_open_holds_nothing)
{
    TempFolder folder;
    const std::string path = folder.write("held.txt");
    OwnedKernelObject owner = open_exclusive(path);
    {
        OwnedKernelObject moved(std::move(owner));
        owner = std::move(moved);
    }
    EXPECT_FALSE(open_exclusive(path)) << "an owner that moved its handle away closed it";
    EXPECT_TRUE(owner.close());
    EXPECT_TRUE(open_exclusive(path));
    EXPECT_FALSE(open_exclusive(folder.path("missing")));
}

}  // namespace
