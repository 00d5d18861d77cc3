// Start-up on the simulated platform: the version probe asks the system once with the right record, and
// the single-instance guard keeps a second copy out and the name claimed for the whole run.
#include "app/os_version.h"
#include "app/single_instance.h"

#include <simwin/sim.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using simwin::machine;

class StartUpTest : public testing::Test {
protected:
    void SetUp() override { simwin::Reset(); }
};

TEST_F(StartUpTest, TheProbeClassifiesWhatTheSystemReports) {
    const struct {
        const char* label;
        DWORD platform, major, minor;
        OsKind kind;
    } rows[] = {
        {"Windows XP", VER_PLATFORM_WIN32_NT, 5, 1, 7},
        {"Windows 2000", VER_PLATFORM_WIN32_NT, 5, 0, 6},
        {"Windows 98", VER_PLATFORM_WIN32_WINDOWS, 4, 10, 3},
        {"Windows NT 4", VER_PLATFORM_WIN32_NT, 4, 0, 5},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        simwin::Reset();
        machine().kernel.version.dwPlatformId = row.platform;
        machine().kernel.version.dwMajorVersion = row.major;
        machine().kernel.version.dwMinorVersion = row.minor;
        const OsVersionProbe probe;
        EXPECT_EQ(row.kind, probe.kind());
        EXPECT_EQ(std::vector<std::string>{"GetVersionExA(OSVERSIONINFOA{size=148}) -> 1"}, machine().journal.Lines());
    }
}

TEST_F(StartUpTest, AProbeWhoseQueryFailsIsUnclassified) {
    machine().faults.FailAll("GetVersionExA");
    EXPECT_EQ(kOsUnclassified, OsVersionProbe().kind());
}

TEST_F(StartUpTest, OnlyTheFirstGuardClaimsTheNameAndItStaysClaimedAfterTheGuardIsGone) {
    auto first = std::make_unique<SingleInstanceGuard>(kSingleInstanceMutexName);
    EXPECT_TRUE(first->claim());
    SingleInstanceGuard second(kSingleInstanceMutexName);
    EXPECT_FALSE(second.claim());
    first.reset();
    SingleInstanceGuard third(kSingleInstanceMutexName);
    EXPECT_FALSE(third.claim());

    // Each guard asked for the mutex without owning it and released its handle on the way out, which the
    // system refuses for a mutex not owned; no handle was closed.
    const std::vector<std::string> calls = machine().journal.Calls();
    EXPECT_EQ(3, std::count(calls.begin(), calls.end(), "CreateMutexA"));
    EXPECT_EQ(1, std::count(calls.begin(), calls.end(), "ReleaseMutex"));
    EXPECT_EQ(0, std::count(calls.begin(), calls.end(), "CloseHandle"));
    const std::string request = "CreateMutexA(NULL, FALSE, \"ThisIsBrontypeMutex\") -> ";
    EXPECT_EQ(request, machine().journal.Lines()[0].substr(0, request.size()));
}

TEST_F(StartUpTest, AMutexThatCannotBeCreatedCountsAsAnotherCopyAndNothingIsReleased) {
    machine().faults.FailAll("CreateMutexA");
    {
        SingleInstanceGuard guard(kSingleInstanceMutexName);
        EXPECT_FALSE(guard.claim());
    }
    EXPECT_EQ(std::vector<std::string>{"CreateMutexA"}, machine().journal.Calls());
}

TEST_F(StartUpTest, AnotherNameDoesNotKeepTheProgramOut) {
    SingleInstanceGuard other("ThisIsAnotherMutex");
    EXPECT_TRUE(other.claim());
    SingleInstanceGuard guard(kSingleInstanceMutexName);
    EXPECT_TRUE(guard.claim());
}

}  // namespace
