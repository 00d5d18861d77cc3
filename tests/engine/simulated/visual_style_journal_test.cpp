// SwitchVisualStyleSize seen through the simulated platform's journal and its virtual clock: the whole
// sequence with its waits, the tool played at a virtual time, the live colours put back in the cycles
// that see a change, the stored values that fit saved and written back, and every failure passed over.
#include "res/resource_ids.h"
#include "settings/visual_style.h"
#include "tests/support/journal_steps.h"
#include "tests/support/registry_keys.h"

#include <shellapi.h>
#include <simwin/sim.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using journal_steps::Steps;
using journal_steps::StepsStartingWith;
using simwin::machine;
using simwin::StringTables;

const std::string kColorsKey = test_keys::InCurrentUser(test_keys::kColors);

// The 28 kept colours in the order they are visited: alphabetical by their Win32 names.
const int kPreservedOrder[] = {21, 15, 20, 22, 16, 10, 2,  12, 1, 18, 9, 27, 28, 17,
                               13, 14, 26, 11, 3,  19, 24, 23, 4, 7,  0, 5,  6,  8};

std::string ColorStep(const char* call, int index) {
    const bool brush = std::string(call) == "GetSysColorBrush";
    return std::string(call) + "(" + std::to_string(index) + ") -> " +
           std::to_string(brush ? 1 : machine().display.colors[index]);
}

// One pass over the kept colours, each index asked for its brush and then its colour.
std::vector<std::string> ColorPass() {
    std::vector<std::string> steps;
    for (int index : kPreservedOrder) {
        steps.push_back(ColorStep("GetSysColorBrush", index));
        steps.push_back(ColorStep("GetSysColor", index));
    }
    return steps;
}

// The SetSysColors arguments that put back all 28 colours as they were at the start.
std::string AllPairs(const simwin::Display& saved) {
    std::string pairs = "28";
    for (size_t i = 0; i < std::size(kPreservedOrder); ++i)
        pairs += std::string(i == 0 ? ", " : " ") + std::to_string(kPreservedOrder[i]) + "=" +
                 simwin::Hex(saved.colors[kPreservedOrder[i]]);
    return pairs;
}

// How many 100 ms watch cycles had begun when each SetSysColors call was made.
std::vector<int> CyclesOfSetSysColors() {
    std::vector<int> cycles;
    int sleeps = 0;
    for (const std::string& step : Steps()) {
        if (step == "pause 100" || step.rfind("pause 100,", 0) == 0) ++sleeps;
        if (step.rfind("SetSysColors(", 0) == 0) cycles.push_back(sleeps);
    }
    return cycles;
}

class VisualStyleJournalTest : public testing::Test {
protected:
    void SetUp() override {
        simwin::Reset();
        simwin::StoreColorKey();
        machine().kernel.AddFile(kStyleToolPath);
    }

    // Plays the tool: `change` runs on the virtual clock `afterMs` after the tool was started.
    void PlayTool(uint64_t afterMs, std::function<void()> change) {
        machine().shell.onStart = [afterMs, change](const std::string&, const std::string&) {
            machine().clock.At(machine().clock.NowMs() + afterMs, change);
        };
    }
};

TEST_F(VisualStyleJournalTest, LargeRunsTheTenStepsInOrderAndTakesSixSecondsOfWaiting) {
    HWND foreground = machine().windows.Create("#32770", "Optivue", nullptr, WS_VISIBLE);
    machine().display.foreground = foreground;
    std::vector<std::string> started;
    machine().shell.onStart = [&](const std::string& file, const std::string& parameters) {
        started.push_back(file + " " + parameters);
    };

    EXPECT_EQ(1, SwitchVisualStyleSize(IDS_STYLE_SIZE_LARGE));

    std::vector<std::string> expected = {"row 413"};
    const std::vector<std::string> pass = ColorPass();
    expected.insert(expected.end(), pass.begin(), pass.end());
    expected.push_back("RegQueryInfoKeyA(hkey#1 => 31 values) -> 0");
    const std::vector<simwin::RegValue>& stored = machine().registry.Find(kColorsKey)->values;
    for (size_t i = 0; i < stored.size(); ++i)
        expected.push_back("RegEnumValueA(hkey#1, " + std::to_string(i) + ", 60, buffer, 30 => \"" + stored[i].name +
                           "\") -> 0");
    expected.push_back("GetTickCount() -> 0");
    expected.push_back(R"(GetFileAttributesA("C:\\Program Files\\Korvani\\Brontype\\chgtheme.exe") -> 32)");
    expected.push_back("GetForegroundWindow() -> " + std::to_string(reinterpret_cast<uintptr_t>(foreground)));
    // Started with its handle kept (SEE_MASK_NOCLOSEPROCESS) and without the shell's own error box.
    expected.push_back("ShellExecuteExA(cbSize=" + std::to_string(sizeof(SHELLEXECUTEINFOA)) +
                       R"(, 0x440, hwnd#1, "open", "C:\\Program Files\\Korvani\\Brontype\\chgtheme.exe", )"
                       R"("LargeFonts", NULL, 5 => 0x3000) -> 1)");
    expected.push_back("pause 1000");
    for (int cycle = 0; cycle < 50; ++cycle) {
        expected.push_back("pause 100");
        expected.insert(expected.end(), pass.begin(), pass.end());
    }
    for (const simwin::RegValue& value : stored)
        expected.push_back(R"(set Control Panel\Colors [)" + value.name + "] REG_SZ " +
                           std::to_string(value.data.size()) + " -> 0");
    expected.push_back("InvalidateRect(NULL, NULL, TRUE) -> 1");
    // The tool ended with the size switched; its handle is closed.
    expected.push_back("GetExitCodeProcess(0x3000) -> 0");
    expected.push_back("CloseHandle(0x3000) -> 1");
    EXPECT_EQ(expected, Steps());

    EXPECT_EQ((std::vector<std::string>{R"(RegOpenKeyExA(HKCU, "Control Panel\\Colors", 0, 0x20019 => hkey#1) -> 0)",
                                        R"(RegOpenKeyExA(HKCU, "Control Panel\\Colors", 0, 0x20006 => hkey#2) -> 0)"}),
              machine().journal.LinesOf("RegOpenKeyExA"));
    EXPECT_EQ(0u, machine().registry.OpenHandleCount());
    EXPECT_EQ((std::vector<std::string>{"C:\\Program Files\\Korvani\\Brontype\\chgtheme.exe LargeFonts"}), started);
    EXPECT_EQ(1000u + 50u * 100u, machine().clock.NowMs());
}

TEST_F(VisualStyleJournalTest, OnlyTheThreeSizeRowsStartTheToolWithTheirTextAndAnyOtherRowDoesNothing) {
    const struct {
        int row;
        int result;
        const char* argument;  // null: nothing at all is done
    } cases[] = {
        {IDS_STYLE_SIZE_NORMAL, 1, "NormalSize"},
        {IDS_STYLE_SIZE_LARGE, 1, "LargeFonts"},
        {IDS_STYLE_SIZE_EXTRA_LARGE, 1, "ExtraLargeFonts"},
        {IDS_STYLE_SIZE_HEADING, 0, nullptr},
        {415, 0, nullptr},
        {0, 0, nullptr},
        {-IDS_STYLE_SIZE_LARGE, 0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        SetUp();
        std::string argument;
        machine().shell.onStart = [&](const std::string&, const std::string& parameters) { argument = parameters; };

        EXPECT_EQ(c.result, SwitchVisualStyleSize(c.row));

        if (c.argument) {
            EXPECT_EQ(c.argument, argument);
            EXPECT_EQ(6000u, machine().clock.NowMs());
        } else {
            EXPECT_TRUE(machine().journal.Entries().empty()) << machine().journal.Lines().front();
            EXPECT_EQ(0u, machine().clock.NowMs());
        }
    }
}

TEST_F(VisualStyleJournalTest, ARowThatDoesNotLoadReturns0BeforeAnyColourIsLookedAt) {
    machine().strings.RemoveRow(StringTables::kEnglish, IDS_STYLE_SIZE_EXTRA_LARGE);
    EXPECT_EQ(0, SwitchVisualStyleSize(IDS_STYLE_SIZE_EXTRA_LARGE));
    EXPECT_EQ((std::vector<std::string>{"row 414 missing"}), Steps());
    EXPECT_EQ(0u, machine().clock.NowMs());
}

TEST_F(VisualStyleJournalTest, EachCycleThatSeesAChangedColourSetsAllSavedColoursOnceAndOthersSetNothing) {
    const simwin::Display saved = machine().display;
    // Between the cycles ending at 1500 and 1600 ms, and again between 3000 and 3100 ms; COLOR_MENUBAR is
    // the style's own and is left as the tool sets it.
    PlayTool(1550, [] {
        machine().display.colors[COLOR_3DFACE] = RGB(1, 2, 3);
        machine().display.colors[COLOR_MENUBAR] = RGB(4, 5, 6);
        machine().clock.At(3050, [] { machine().display.colors[COLOR_HOTLIGHT] = RGB(7, 8, 9); });
    });

    EXPECT_EQ(1, SwitchVisualStyleSize(IDS_STYLE_SIZE_NORMAL));

    EXPECT_EQ((std::vector<int>{6, 21}), CyclesOfSetSysColors());
    const std::string restore = "SetSysColors(" + AllPairs(saved) + ") -> 1";
    EXPECT_EQ((std::vector<std::string>{restore, restore}), machine().journal.LinesOf("SetSysColors"));
    for (int index : kPreservedOrder) EXPECT_EQ(saved.colors[index], machine().display.colors[index]) << index;
    EXPECT_EQ(RGB(4, 5, 6), machine().display.colors[COLOR_MENUBAR]);
}

// Plays a tool whose every change is broadcast and waits until each window's thread has answered, as
// SetSysColors does: `rounds` rounds 700 ms apart, from 200 ms after its start, each setting a live colour
// and a stored value. A broadcast that is not answered gives up on the program after 4400 ms, as a
// broadcast does on a window it judges hung.
class BroadcastingTool {
public:
    explicit BroadcastingTool(int rounds) : rounds_(rounds) {
        machine().shell.onStart = [this](const std::string&, const std::string&) {
            machine().clock.At(machine().clock.NowMs() + 200, [this] { Round(1); });
        };
    }
    // How long each round's broadcast waited.
    std::vector<uint64_t> waits;

private:
    void Round(int n) {
        simwin::Machine& m = machine();
        const BYTE shade = static_cast<BYTE>(n);
        m.display.colors[COLOR_3DFACE] = RGB(shade, shade, shade);
        m.registry.SetString(kColorsKey, "ButtonFace", std::to_string(n) + " " + std::to_string(n) + " 0");
        const uint64_t sentAt = m.clock.NowMs();
        auto returned = std::make_shared<bool>(false);
        auto onReturn = [this, n, sentAt, returned] {
            if (*returned) return;
            *returned = true;
            waits.push_back(machine().clock.NowMs() - sentAt);
            if (n < rounds_) machine().clock.At(machine().clock.NowMs() + 700, [this, n] { Round(n + 1); });
        };
        m.sentMessages.At(sentAt, onReturn);
        m.clock.At(sentAt + 4400, onReturn);
    }
    int rounds_;
};

TEST_F(VisualStyleJournalTest, AToolWhoseBroadcastsWaitOnTheProgramIsAnsweredAtOnceSoEveryChangeIsPutBack) {
    const simwin::Display saved = machine().display;
    const std::string savedButtonFace = *machine().registry.String(kColorsKey, "ButtonFace");
    BroadcastingTool tool(3);

    EXPECT_EQ(1, SwitchVisualStyleSize(IDS_STYLE_SIZE_LARGE));
    EXPECT_EQ(6000u, machine().clock.NowMs()) << "the waits keep their length";
    machine().clock.Advance(20000);  // whatever the tool still had to do

    EXPECT_EQ((std::vector<uint64_t>{0, 0, 0}), tool.waits) << "each broadcast answered when it was sent";
    EXPECT_EQ((std::vector<int>{1, 6}), CyclesOfSetSysColors());
    EXPECT_EQ(saved.colors[COLOR_3DFACE], machine().display.colors[COLOR_3DFACE]);
    EXPECT_EQ(savedButtonFace, machine().registry.String(kColorsKey, "ButtonFace"));
}

TEST_F(VisualStyleJournalTest, AColourWithoutABrushIsNeitherSavedNorComparedNorPutBack) {
    const simwin::Display saved = machine().display;
    machine().display.noBrush[COLOR_WINDOW] = true;
    PlayTool(1550, [] { machine().display.colors[COLOR_WINDOW] = RGB(1, 2, 3); });

    EXPECT_EQ(1, SwitchVisualStyleSize(IDS_STYLE_SIZE_LARGE));

    EXPECT_EQ(std::vector<std::string>{"GetSysColorBrush(5) -> 0"}, StepsStartingWith({"GetSysColorBrush(5)"}));
    EXPECT_TRUE(StepsStartingWith({"GetSysColor(5)"}).empty());
    EXPECT_EQ(27u * 51u, machine().journal.LinesOf("GetSysColor").size());
    EXPECT_TRUE(machine().journal.LinesOf("SetSysColors").empty()) << "only the colour without a brush changed";
    EXPECT_EQ(RGB(1, 2, 3), machine().display.colors[COLOR_WINDOW]);
    EXPECT_EQ(saved.colors[COLOR_3DFACE], machine().display.colors[COLOR_3DFACE]);
}

TEST_F(VisualStyleJournalTest, AColourWhoseBrushGoesDuringTheWatchIsNotComparedThen) {
    PlayTool(1550, [] {
        machine().display.noBrush[COLOR_3DFACE] = true;
        machine().display.colors[COLOR_3DFACE] = RGB(1, 2, 3);
    });

    EXPECT_EQ(1, SwitchVisualStyleSize(IDS_STYLE_SIZE_LARGE));

    EXPECT_TRUE(machine().journal.LinesOf("SetSysColors").empty());
    EXPECT_EQ(RGB(1, 2, 3), machine().display.colors[COLOR_3DFACE]);
}

// The stored values that fit an entry (a name under 60 characters, at most 30 bytes) are saved and
// written back with their own type and size; any other is skipped, and then the enumeration, which can
// no longer fill as many entries as the key has values, goes on to index 1001.
TEST_F(VisualStyleJournalTest, StoredValuesThatFitAreWrittenBackAsEnumeratedAndOthersAreSkippedUpToIndex1001) {
    const std::string name59(59, 'N'), name60(60, 'N');
    const struct {
        const char* label;
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
        bool fits;
    } cases[] = {
        {"a name of 59 characters", name59, REG_SZ, {'1', ' ', '2', ' ', '3', 0}, true},
        {"a name of 60 characters", name60, REG_SZ, {'1', ' ', '2', ' ', '3', 0}, false},
        {"30 bytes", "Thirty", REG_BINARY, std::vector<BYTE>(30, 0xA5), true},
        {"31 bytes", "ThirtyOne", REG_BINARY, std::vector<BYTE>(31, 0xA5), false},
        {"a number", "Number", REG_DWORD, {0x78, 0x56, 0x34, 0x12}, true},
        {"an expandable text", "Expandable", REG_EXPAND_SZ, {'%', 'X', '%', 0}, true},
        {"no data", "Empty", REG_BINARY, {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        SetUp();
        machine().registry.Remove(kColorsKey);
        machine().registry.SetString(kColorsKey, "ButtonFace", "236 233 216");
        machine().registry.SetValue(kColorsKey, c.name, c.type, c.data);
        machine().registry.SetString(kColorsKey, "Window", "255 255 255");
        // The tool rewrites all three, with data of another size.
        PlayTool(1550, [&c] {
            machine().registry.SetString(kColorsKey, "ButtonFace", "1 2 3");
            machine().registry.SetValue(kColorsKey, c.name, REG_BINARY, std::vector<BYTE>(31, 0x11));
            machine().registry.SetString(kColorsKey, "Window", "4 5 6");
        });

        EXPECT_EQ(1, SwitchVisualStyleSize(IDS_STYLE_SIZE_LARGE));

        const std::vector<std::string> enumerated = machine().journal.LinesOf("RegEnumValueA");
        ASSERT_FALSE(enumerated.empty());
        EXPECT_EQ(c.fits ? 3u : 1002u, enumerated.size());
        EXPECT_EQ(c.fits ? R"(RegEnumValueA(hkey#1, 2, 60, buffer, 30 => "Window") -> 0)"
                         : "RegEnumValueA(hkey#1, 1001, 60, buffer, 30) -> 259",
                  enumerated.back());

        std::vector<std::string> writes = {R"(set Control Panel\Colors [ButtonFace] REG_SZ 12 -> 0)"};
        if (c.fits) {
            const char* typeName = c.type == REG_SZ          ? "REG_SZ"
                                   : c.type == REG_EXPAND_SZ ? "REG_EXPAND_SZ"
                                   : c.type == REG_DWORD     ? "REG_DWORD"
                                                             : "REG_BINARY";
            writes.push_back(R"(set Control Panel\Colors [)" + c.name + "] " + typeName + " " +
                             std::to_string(c.data.size()) + " -> 0");
        }
        writes.push_back(R"(set Control Panel\Colors [Window] REG_SZ 12 -> 0)");
        EXPECT_EQ(writes, StepsStartingWith({"set "}));

        EXPECT_EQ("236 233 216", machine().registry.String(kColorsKey, "ButtonFace").value_or("?"));
        EXPECT_EQ("255 255 255", machine().registry.String(kColorsKey, "Window").value_or("?"));
        const simwin::RegValue* value = machine().registry.Value(kColorsKey, c.name);
        ASSERT_NE(nullptr, value);
        EXPECT_EQ(c.fits ? c.type : DWORD(REG_BINARY), value->type);
        EXPECT_EQ(c.fits ? c.data : std::vector<BYTE>(31, 0x11), value->data)
            << "a skipped value stays as the tool left it";
    }
}

TEST_F(VisualStyleJournalTest, MoreThanFiftyValuesThatFitFillTheFiftyEntriesAndEndTheEnumeration) {
    const struct {
        const char* label;
        int oversizedFirst;  // values that do not fit, ahead of the 60 that do
    } cases[] = {{"60 values that fit", 0}, {"3 that do not fit, then 60 that do", 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        SetUp();
        machine().registry.Remove(kColorsKey);
        for (int i = 0; i < c.oversizedFirst; ++i)
            machine().registry.SetValue(kColorsKey, "Oversized" + std::to_string(i), REG_BINARY,
                                        std::vector<BYTE>(31, 1));
        std::vector<std::string> names;
        for (int i = 0; i < 60; ++i) {
            names.push_back("Value" + std::to_string(100 + i));
            machine().registry.SetString(kColorsKey, names.back(), std::to_string(i));
        }

        EXPECT_EQ(1, SwitchVisualStyleSize(IDS_STYLE_SIZE_LARGE));

        const std::vector<std::string> enumerated = machine().journal.LinesOf("RegEnumValueA");
        EXPECT_EQ(size_t(c.oversizedFirst + 50), enumerated.size());
        std::vector<std::string> expectedWrites;
        for (int i = 0; i < 50; ++i)
            expectedWrites.push_back(R"(set Control Panel\Colors [)" + names[i] + "] REG_SZ " +
                                     std::to_string(std::to_string(i).size() + 1) + " -> 0");
        EXPECT_EQ(expectedWrites, StepsStartingWith({"set "}));
    }
}

TEST_F(VisualStyleJournalTest, NoFailureAroundTheToolStopsTheWatchTheWriteBackOrTheRepaint) {
    const simwin::Display saved = machine().display;
    const struct {
        const char* label;
        std::function<void()> arrange;
        bool toolStarted;  // ShellExecuteExA was called
        bool toolRan;
        size_t enumerations;
        size_t writes;
    } cases[] = {
        {"the key cannot be opened for reading", [] { machine().registry.SetAccess(kColorsKey, false, true); }, true,
         true, 0, 0},
        {"the key does not tell its value count", [] { machine().faults.FailAll("RegQueryInfoKeyA"); }, true, true, 0,
         0},
        {"the key cannot be opened for writing", [] { machine().registry.SetAccess(kColorsKey, true, false); }, true,
         true, 31, 0},
        {"every write is refused", [] { machine().faults.FailAll("RegSetValueExA", ERROR_ACCESS_DENIED); }, true, true,
         31, 31},
        {"the key is missing", [] { machine().registry.Remove(kColorsKey); }, true, true, 0, 0},
        {"the tool cannot be started", [] { machine().faults.FailAll("ShellExecuteExA"); }, true, false, 31, 31},
        {"the tool is not in the installation folder",
         [] {
             machine().kernel.files.clear();
             machine().kernel.AddFile("C:\\Program Files\\Korvani\\chgtheme.exe");
             machine().kernel.AddFile("C:\\WINDOWS\\system32\\chgtheme.exe");
         },
         false, false, 31, 31},
        {"the tool's file cannot be looked at", [] { machine().faults.FailAll("GetFileAttributesA"); }, false, false,
         31, 31},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        SetUp();
        c.arrange();
        bool played = false;
        machine().shell.onStart = [&](const std::string&, const std::string&) {
            played = true;
            machine().clock.At(1550, [] { machine().display.colors[COLOR_3DFACE] = RGB(1, 2, 3); });
        };
        // Stands in for a change the tool would have made, so that the watch has something to put back.
        if (!c.toolRan) machine().clock.At(1550, [] { machine().display.colors[COLOR_3DFACE] = RGB(1, 2, 3); });

        // The size changed when the tool ran; a tool that did not start is missing.
        EXPECT_EQ(c.toolRan ? kStyleSwitched : kStyleToolMissing, SwitchVisualStyleSize(IDS_STYLE_SIZE_LARGE));

        EXPECT_EQ(c.toolStarted, machine().journal.LinesOf("ShellExecuteExA").size() == 1);
        EXPECT_EQ(c.toolStarted, machine().journal.LinesOf("GetForegroundWindow").size() == 1);
        EXPECT_EQ(c.toolRan, played);
        EXPECT_EQ(c.enumerations, machine().journal.LinesOf("RegEnumValueA").size());
        EXPECT_EQ(c.writes, machine().journal.LinesOf("RegSetValueExA").size());
        EXPECT_EQ((std::vector<int>{6}), CyclesOfSetSysColors());
        EXPECT_EQ(saved.colors[COLOR_3DFACE], machine().display.colors[COLOR_3DFACE]);
        EXPECT_EQ(c.toolRan ? "CloseHandle(0x3000) -> 1" : "InvalidateRect(NULL, NULL, TRUE) -> 1",
                  machine().journal.Lines().back());
        EXPECT_EQ(6000u, machine().clock.NowMs());
        EXPECT_EQ(0u, machine().registry.OpenHandleCount());
    }
}

}  // namespace
