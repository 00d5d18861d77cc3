// Each value the program reads, stored in every registry type at 0, 1, 4, 255, 256, 257 and 4096 bytes, in
// five shapes: the text that means something padded with NULs, text without any NUL, bytes outside ASCII,
// nothing but NULs, and the meaningful text followed by a NUL and bytes outside ASCII. Every run ends
// normally under the sanitizers (nothing is read or written past a buffer), its journal walks through
// (what the program does after the read it got), and the program acts on the value by the value's own
// rule, stated per value below from the bytes stored: a read that fails counts as no value at all.
#include "app/follow_up_run.h"
#include "app/size_command.h"
#include "res/resource_ids.h"
#include "settings/browser_text_size.h"
#include "settings/visual_style.h"
#include "settings/window_metrics.h"
#include "tests/app/simulated/settings_world.h"
#include "tests/support/registry_keys.h"

#include <simwin/sim.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using journal_walk::Bytes;
using journal_walk::TextRead;
using journal_walk::Walk;
using namespace settings_world;
using simwin::machine;

// REG_NONE to REG_QWORD (0 to 11), and a type no system defines.
const DWORD kTypes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0x12345678};
const size_t kSizes[] = {0, 1, 4, 255, 256, 257, 4096};

struct Shape {
    const char* label;
    Bytes (*make)(const std::string& meaning, size_t size);
};

const Shape kShapes[] = {
    {"the meaning padded with NULs",
     [](const std::string& meaning, size_t size) {
         Bytes data(size, 0);
         for (size_t i = 0; i < size && i < meaning.size(); ++i) data[i] = static_cast<BYTE>(meaning[i]);
         return data;
     }},
    {"the meaning repeated without a NUL",
     [](const std::string& meaning, size_t size) {
         Bytes data(size);
         for (size_t i = 0; i < size; ++i) data[i] = static_cast<BYTE>(meaning[i % meaning.size()]);
         return data;
     }},
    {"bytes outside ASCII and a NUL",
     [](const std::string&, size_t size) {
         Bytes data(size);
         for (size_t i = 0; i < size; ++i) data[i] = static_cast<BYTE>(0x80 + i % 0x80);
         if (size) data.back() = 0;
         return data;
     }},
    {"only NULs", [](const std::string&, size_t size) { return Bytes(size, 0); }},
    {"the meaning, a NUL and bytes outside ASCII",
     [](const std::string& meaning, size_t size) {
         Bytes data(size, 0xFF);
         for (size_t i = 0; i < size && i < meaning.size(); ++i) data[i] = static_cast<BYTE>(meaning[i]);
         if (meaning.size() < size) data[meaning.size()] = 0;
         return data;
     }},
};

// One value the program reads, the operation that reads it and what that operation must make of it.
struct Reader {
    const char* label;
    std::string key;  // below HKEY_CURRENT_USER
    std::string value;
    std::string meaning;  // what the program looks for in the value
    Subject subject;
    // What the run handed back must be for the value as stored.
    std::function<int(const Bytes& stored)> expected;
};

std::string Text(const Bytes& stored) { return TextRead(stored).value_or(""); }

bool IsStandardWin2000Scheme(const std::string& text) {
    return text == "Windows Standard" || text == "Windows Standard (large)" || text == "Windows Standard (extra large)";
}

std::vector<Reader> Readers() {
    // clang-format off
    return {
        {"ThemeActive", "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager", "ThemeActive", "1",
         {"ChooseSizeVariant", [] { return static_cast<int>(ChooseSizeVariant(kOsWindowsXp)); },
          [](Walk& w, auto*, auto*) {
              const auto text = w.ReadText("Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager", "ThemeActive");
              return static_cast<int>(text == std::string("1") ? SizeVariant::XpStyled : SizeVariant::XpClassic);
          }},
         // Styled exactly when the text read is "1": a failed read is the classic style.
         [](const Bytes& stored) {
             return static_cast<int>(TextRead(stored) == std::string("1") ? SizeVariant::XpStyled
                                                                          : SizeVariant::XpClassic);
         }},
        {"SelectedStyle", "Control Panel\\Appearance\\New Schemes", "SelectedStyle", "21",
         {"SelectXpSchemeSize(217)", [] { return static_cast<int>(SelectXpSchemeSize(IDS_XP_SCHEME_LARGE)); },
          [](Walk& w, auto*, auto*) {
              journal_walk::XpSchemeSize(w, IDS_XP_SCHEME_LARGE);
              return static_cast<int>(w.Value("Control Panel\\Appearance\\New Schemes\\21", "SelectedSize") != nullptr);
          }},
         // The scheme values are written exactly when the text read is "21".
         [](const Bytes& stored) { return static_cast<int>(Text(stored) == "21"); }},
        {"Current", "Control Panel\\Appearance", "Current", "Windows Standard",
         {"SelectWin2000Scheme(222)", [] { return static_cast<int>(SelectWin2000Scheme(IDS_W2K_SCHEME_LARGE)); },
          [](Walk& w, auto*, auto*) {
              journal_walk::Win2000Scheme(w, IDS_W2K_SCHEME_LARGE);
              return static_cast<int>(w.Value("Control Panel\\Appearance", "Current") != nullptr);
          }},
         // Rewritten exactly when the text read is one of the three standard names; deleted otherwise.
         [](const Bytes& stored) {
             return static_cast<int>(TextRead(stored) && IsStandardWin2000Scheme(Text(stored)));
         }},
        {"Default User ID", "Identities", "Default User ID", "{ID}",
         {"SetBrowserFontSize(3)",
          [] {
              SetBrowserFontSize(3);
              return static_cast<int>(machine().journal.LinesOf("RegSetValueExA").size());
          },
          [](Walk& w, auto*, auto*) {
              journal_walk::BrowserTextSize(w, 3);
              return static_cast<int>(machine().journal.LinesOf("RegSetValueExA").size());
          }},
         // The browser's text size always; the mail identity's exactly when the text read is not empty.
         [](const Bytes& stored) { return Text(stored).empty() ? 1 : 2; }},
        {"Changed", test_keys::kProgram, "Changed", "\x01",
         {"CheckFollowUpRun",
          [] {
              CheckFollowUpRun(TheWorld().dialog);
              return machine().windows.Find(TheWorld().dialog)->dialogResult.has_value();
          },
          [](Walk& w, auto*, journal_walk::FollowUpSeen* seen) {
              journal_walk::FollowUpRun(w, machine().windows.HandleName(TheWorld().dialog), kShortcutPath, seen);
              return static_cast<int>(seen->dialogEnded);
          }},
         // A follow-up run exactly for a value of 4 bytes, of any type, that is not 0.
         [](const Bytes& stored) {
             return static_cast<int>(stored.size() == 4 && (stored[0] | stored[1] | stored[2] | stored[3]) != 0);
         }},
    };
    // clang-format on
}

TEST(HostileRegistryTest, EveryValueTheProgramReadsInEveryTypeSizeAndShapeIsReadSafelyAndCountsByItsRule) {
    int runs = 0;
    for (const Reader& reader : Readers()) {
        SCOPED_TRACE(reader.label);
        const CleanRun clean = RunClean(reader.subject);
        for (const DWORD type : kTypes) {
            for (const size_t size : kSizes) {
                for (const Shape& shape : kShapes) {
                    SCOPED_TRACE("type " + std::to_string(type) + ", " + std::to_string(size) + " bytes, " +
                                 shape.label);
                    const Bytes stored = shape.make(reader.meaning, size);
                    Arrange();
                    machine().registry.SetValue("HKCU\\" + reader.key, reader.value, type, stored);
                    EXPECT_EQ(reader.expected(stored), RunAndCheck(reader.subject, &clean));
                    ++runs;
                    if (testing::Test::HasFailure()) return;
                }
            }
        }
    }
    std::printf("hostile registry values: %d runs checked\n", runs);
}

// The stored colours: next to the 31 the system keeps, one value of each type in the size and shape at
// hand, while the tool rewrites every one of them. Those of at most 30 bytes are saved and written back with
// their own type and bytes; the others are skipped and keep what the tool wrote.
TEST(HostileRegistryTest, EveryStoredColourInEveryTypeSizeAndShapeIsWrittenBackWhenItFitsAndLeftAloneWhenNot) {
    const Subject styleSwitch = Subjects()[9];
    ASSERT_EQ("SwitchVisualStyleSize(413)", styleSwitch.name);
    const CleanRun clean = RunClean(styleSwitch);
    int runs = 0;
    // With the sizes on either side of the 30 bytes that fit.
    for (const size_t size : {0, 1, 4, 29, 30, 31, 255, 256, 257, 4096}) {
        for (const Shape& shape : kShapes) {
            SCOPED_TRACE(std::to_string(size) + " bytes, " + shape.label);
            const Bytes stored = shape.make("1 2 3", size);
            Arrange();
            for (const DWORD type : kTypes)
                machine().registry.SetValue("HKCU\\Control Panel\\Colors", "Hostile" + std::to_string(type), type,
                                            stored);
            EXPECT_EQ(1, RunAndCheck(styleSwitch, &clean));
            for (const DWORD type : kTypes) {
                const simwin::RegValue* value =
                    machine().registry.Value("HKCU\\Control Panel\\Colors", "Hostile" + std::to_string(type));
                ASSERT_NE(nullptr, value);
                // A text without its NUL comes back with one: the system adds it on the way.
                const bool text = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
                Bytes writtenBack = stored;
                if (text && size && stored.back() != 0) writtenBack.push_back(0);
                EXPECT_EQ(size <= 30 ? type : DWORD(REG_BINARY), value->type) << type;
                EXPECT_EQ(size <= 30 ? writtenBack : ToolsStoredColor(), value->data) << type;
            }
            ++runs;
            if (testing::Test::HasFailure()) return;
        }
    }
    std::printf("hostile stored colours: %d runs checked\n", runs);
}

}  // namespace
