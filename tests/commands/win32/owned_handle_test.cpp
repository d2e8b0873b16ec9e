#include "commands/win32/owned_handle.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/win32/temp_folder.h"

namespace {

// Opened without sharing: while one such handle is open, the next open fails.
HANDLE open_exclusive(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

TEST(OwnedHandle, only_the_last_owner_closes_and_a_failed_open_holds_nothing)
{
    TempFolder folder;
    const std::string path = folder.write("held.txt");
    auto held = [&] { return !OwnedKernelObject(open_exclusive(path)); };
    OwnedKernelObject owner;
    {
        OwnedKernelObject first(open_exclusive(path));
        ASSERT_TRUE(first);
        OwnedKernelObject second(std::move(first));
        EXPECT_FALSE(first);
        owner = std::move(second);
    }
    EXPECT_TRUE(held()) << "an owner that moved its handle away closed it";
    EXPECT_TRUE(owner.close());
    EXPECT_FALSE(held());
    EXPECT_TRUE(owner.close()) << "nothing left to close";
    EXPECT_FALSE(OwnedKernelObject(open_exclusive(folder.path("missing.txt"))));
}

}  // namespace
