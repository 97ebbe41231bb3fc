#include "document/SnapshotChild.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>

#include <fcntl.h>
#include <unistd.h>

namespace {

TEST(SnapshotChild, TheOutcomeIsTheWorksOwn)
{
    const struct {
        const char* name;
        std::function<bool()> work;
        bool succeeded;
    } cases[] = {
        {"done", [] { return true; }, true},
        {"failed", [] { return false; }, false},
        {"threw", []() -> bool { throw std::runtime_error("out of room"); }, false},
        // A stop meant for the parent's process group is the parent's.
        {"stopped", [] { return ::raise(SIGINT) == 0 && ::raise(SIGTERM) == 0; }, true},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<SnapshotChild> child = SnapshotChild::Start(c.work);
        ASSERT_NE(child, nullptr) << c.name;
        EXPECT_EQ(child->Wait(), c.succeeded) << c.name;
        EXPECT_EQ(child->Wait(), c.succeeded) << c.name << ", asked again";
    }
}

TEST(SnapshotChild, AChildThatNeverEndsIsKilledAtItsDeadline)
{
    const std::unique_ptr<SnapshotChild> child = SnapshotChild::Start([] {
        for (;;)
            ::pause();
        return true;
    });
    ASSERT_NE(child, nullptr);
    EXPECT_FALSE(child->Wait(std::chrono::milliseconds(200)));
}

TEST(SnapshotChild, TheParentsDescriptorsAreClosedInTheChild)
{
    // A pipe whose reader must see the end of file when the parent closes
    // its end, however long the child runs.
    int ends[2] = {-1, -1};
    ASSERT_EQ(::pipe(ends), 0);
    const int writeEnd = ends[1];
    const std::unique_ptr<SnapshotChild> child = SnapshotChild::Start(
        [writeEnd] { return ::fcntl(writeEnd, F_GETFD) == -1 && errno == EBADF; });
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(child->Wait());
    ::close(ends[0]);
    ::close(ends[1]);
}

} // namespace
