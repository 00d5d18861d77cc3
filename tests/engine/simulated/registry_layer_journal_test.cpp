// The registry layer seen through the simulated platform's journal: one open and one close per call, the
// access each key is opened with, and what happens when the platform refuses a step.
#include "settings/registry.h"
#include "tests/support/registry_keys.h"
#include "tests/support/test_platform.h"

#include <simwin/sim.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using simwin::machine;

const char* const kKey = test_keys::kProgram;
const std::string kFullKey = std::string("HKEY_CURRENT_USER\\") + kKey;

class RegistryLayerJournalTest : public testing::Test {
protected:
    void SetUp() override { simwin::Reset(); }
    std::vector<std::string> Calls() const { return machine().journal.Calls(); }
};

TEST_F(RegistryLayerJournalTest, EachCallOpensOneKeyDoesOneThingAndClosesIt) {
    machine().registry.SetDword(kFullKey, "Changed", 1);
    machine().registry.SetString(kFullKey, "Name", "x");
    const BYTE bytes[4] = {2, 0, 0, 0};
    char text[kRegTextSize];
    DWORD number = 0;
    struct Case {
        const char* label;
        std::function<int()> call;
        std::string open;  // the opening call with its access
        std::string operation;
    };
    const std::vector<Case> cases = {
        {"ReadRegString", [&] { return ReadRegString(HKEY_CURRENT_USER, kKey, "Name", text); },
         "RegOpenKeyExA(HKCU, \"Software\\\\Korvani\\\\optiv\", 0, 0x1", "RegQueryValueExA"},
        {"ReadRegDword", [&] { return ReadRegDword(HKEY_CURRENT_USER, kKey, "Changed", &number); },
         "RegOpenKeyExA(HKCU, \"Software\\\\Korvani\\\\optiv\", 0, 0x1", "RegQueryValueExA"},
        {"WriteRegString", [&] { return WriteRegString(HKEY_CURRENT_USER, kKey, "Name", "y"); },
         "RegCreateKeyExA(HKCU, \"Software\\\\Korvani\\\\optiv\", NULL, 0, 0xF003F, NULL", "RegSetValueExA"},
        {"WriteRegExpandString", [&] { return WriteRegExpandString(HKEY_CURRENT_USER, kKey, "Name", "y"); },
         "RegCreateKeyExA(HKCU, \"Software\\\\Korvani\\\\optiv\", NULL, 0, 0xF003F, NULL", "RegSetValueExA"},
        {"WriteRegDword", [&] { return WriteRegDword(HKEY_CURRENT_USER, kKey, "Changed", 0); },
         "RegCreateKeyExA(HKCU, \"Software\\\\Korvani\\\\optiv\", NULL, 0, 0xF003F, NULL", "RegSetValueExA"},
        {"WriteRegBinary", [&] { return WriteRegBinary(HKEY_CURRENT_USER, kKey, "Size", bytes, 4); },
         "RegCreateKeyExA(HKCU, \"Software\\\\Korvani\\\\optiv\", NULL, 0, 0xF003F, NULL", "RegSetValueExA"},
        {"DeleteRegValue", [&] { return DeleteRegValue(HKEY_CURRENT_USER, kKey, "Size"); },
         "RegCreateKeyExA(HKCU, \"Software\\\\Korvani\\\\optiv\", NULL, 0, 0xF003F, NULL", "RegDeleteValueA"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        machine().journal.Clear();
        EXPECT_EQ(1, c.call());
        const auto& entries = machine().journal.Entries();
        ASSERT_EQ(3u, entries.size());
        EXPECT_EQ(0u, entries[0].Line().find(c.open)) << entries[0].Line();
        EXPECT_EQ(c.operation, entries[1].call);
        EXPECT_EQ("RegCloseKey", entries[2].call);
        EXPECT_EQ(0u, machine().registry.OpenHandleCount());
    }
}

TEST_F(RegistryLayerJournalTest, StringWritersStoreLengthPlusOneAndTheirType) {
    WriteRegString(HKEY_CURRENT_USER, kKey, "A", "");
    WriteRegExpandString(HKEY_CURRENT_USER, kKey, "B", "%SYSTEMROOT%");
    EXPECT_EQ((std::vector<std::string>{"RegSetValueExA(hkey#1, \"A\", 1, 1) -> 0",
                                        "RegSetValueExA(hkey#2, \"B\", 2, 13) -> 0"}),
              machine().journal.LinesOf("RegSetValueExA"));
}

TEST_F(RegistryLayerJournalTest, AFailingStepStillClosesTheKeyAndReportsFailure) {
    machine().registry.SetString(kFullKey, "Name", "kept");
    struct Case {
        const char* failingCall;
        std::function<int()> call;
    };
    char text[kRegTextSize];
    DWORD number = 5;
    const std::vector<Case> cases = {
        {"RegQueryValueExA", [&] { return ReadRegString(HKEY_CURRENT_USER, kKey, "Name", text); }},
        {"RegQueryValueExA", [&] { return ReadRegDword(HKEY_CURRENT_USER, kKey, "Name", &number); }},
        {"RegSetValueExA", [&] { return WriteRegString(HKEY_CURRENT_USER, kKey, "Name", "new"); }},
        {"RegSetValueExA", [&] { return WriteRegDword(HKEY_CURRENT_USER, kKey, "Changed", 0); }},
        {"RegDeleteValueA", [&] { return DeleteRegValue(HKEY_CURRENT_USER, kKey, "Name"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failingCall);
        machine().faults.Clear();
        machine().faults.FailNth(c.failingCall, 1);
        std::strcpy(text, "sentinel");
        EXPECT_EQ(0, c.call());
        EXPECT_EQ("RegCloseKey", machine().journal.Entries().back().call);
        EXPECT_EQ(0u, machine().registry.OpenHandleCount());
    }
    EXPECT_EQ(5u, number) << "a failed dword read wrote its output";
    EXPECT_EQ("kept", machine().registry.String(kFullKey, "Name").value_or(""));
}

TEST_F(RegistryLayerJournalTest, AKeyThatCannotBeOpenedStopsTheCallBeforeAnyOperation) {
    machine().registry.SetString(kFullKey, "Name", "kept");
    machine().registry.SetAccess(kFullKey, /*canRead=*/false, /*canWrite=*/false);
    char text[kRegTextSize] = "sentinel";
    DWORD number = 5;
    EXPECT_EQ(0, ReadRegString(HKEY_CURRENT_USER, kKey, "Name", text));
    EXPECT_STREQ("sentinel", text);
    EXPECT_EQ(0, ReadRegDword(HKEY_CURRENT_USER, kKey, "Name", &number));
    EXPECT_EQ(0, WriteRegString(HKEY_CURRENT_USER, kKey, "Name", "new"));
    EXPECT_EQ(0, WriteRegDword(HKEY_CURRENT_USER, kKey, "Changed", 0));
    const BYTE bytes[1] = {1};
    EXPECT_EQ(0, WriteRegBinary(HKEY_CURRENT_USER, kKey, "Bin", bytes, 1));
    EXPECT_EQ(0, DeleteRegValue(HKEY_CURRENT_USER, kKey, "Name"));
    for (const auto& entry : machine().journal.Entries()) {
        EXPECT_TRUE(entry.call == "RegOpenKeyExA" || entry.call == "RegCreateKeyExA") << entry.Line();
        EXPECT_EQ(ERROR_ACCESS_DENIED, entry.result) << entry.Line();
    }
    EXPECT_EQ(5u, number);
    EXPECT_EQ("kept", machine().registry.String(kFullKey, "Name").value_or(""));
}

TEST_F(RegistryLayerJournalTest, AReadOnlyKeyCanBeReadButNotWritten) {
    machine().registry.SetString(kFullKey, "Name", "kept");
    machine().registry.SetAccess(kFullKey, /*canRead=*/true, /*canWrite=*/false);
    char text[kRegTextSize];
    EXPECT_EQ(1, ReadRegString(HKEY_CURRENT_USER, kKey, "Name", text));
    EXPECT_STREQ("kept", text);
    EXPECT_EQ(0, WriteRegString(HKEY_CURRENT_USER, kKey, "Name", "new"));
    EXPECT_EQ(0, WriteRegString(HKEY_CURRENT_USER, (std::string(kKey) + "\\Below").c_str(), "Name", "new"));
    EXPECT_EQ(nullptr, machine().registry.Find(kFullKey + "\\Below"));
}

}  // namespace
