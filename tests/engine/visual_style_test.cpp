// SwitchVisualStyleSize against the platform, with a stand-in for the tool that changes the user's colours
// while the watch runs: every kept live colour and every stored value that fits is back afterwards; a
// stored value that does not fit stays as the tool left it. A tool of that name outside the installation
// folder is never started.
#include "res/resource_ids.h"
#include "settings/visual_style.h"
#include "tests/fixtures/style_tool_double.h"
#include "tests/support/registry_keys.h"
#include "tests/support/style_tool.h"
#include "tests/support/test_platform.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using test_platform::StoredValue;
using test_platform::StyleToolDouble;

const char* const kColorsKey = test_keys::kColors;
constexpr int kColorCount = COLOR_MENUBAR + 1;

// The kept colours, which the switch puts back; index 25, COLOR_MENUHILIGHT and COLOR_MENUBAR are the
// style's.
bool Kept(int index) { return index != 25 && index != COLOR_MENUHILIGHT && index != COLOR_MENUBAR; }

std::vector<COLORREF> LiveColors() {
    std::vector<COLORREF> colors;
    for (int index = 0; index < kColorCount; ++index) colors.push_back(GetSysColor(index));
    return colors;
}

std::map<std::string, StoredValue> StoredColors() {
    std::map<std::string, StoredValue> values;
    for (const std::string& name : test_platform::ValueNames(kColorsKey))
        values[name] = test_platform::GetValue(kColorsKey, name.c_str());
    return values;
}

class VisualStyleTest : public testing::Test {
protected:
    void SetUp() override {
        test_platform::ResetScratch();
        test_platform::EnsureStoredColors();
        liveBefore_ = LiveColors();
        // 31 bytes: one more than the switch can keep.
        test_platform::PutValue(kColorsKey, style_tool_double::kOversizedName, REG_BINARY, std::vector<BYTE>(31, 0x5A));
        storedBefore_ = StoredColors();
    }

    void TearDown() override {
        std::vector<INT> indices;
        for (int index = 0; index < kColorCount; ++index) indices.push_back(index);
        SetSysColors(kColorCount, indices.data(), liveBefore_.data());
    }

    test_platform::SavedUserSettings savedColorKey_{{kColorsKey}};
    std::vector<COLORREF> liveBefore_;
    std::map<std::string, StoredValue> storedBefore_;
};

TEST_F(VisualStyleTest, WhatTheToolChangesDuringTheWatchIsPutBackExceptWhatTheSwitchCouldNotKeep) {
    StyleToolDouble tool(StyleToolDouble::Place::kInstallationFolder);
    ASSERT_TRUE(tool.Installed());

    EXPECT_EQ(kStyleSwitched, SwitchVisualStyleSize(IDS_STYLE_SIZE_LARGE));
    ASSERT_TRUE(tool.Finished()) << "the stand-in had not made its changes by the end of the watch";

    std::vector<BYTE> changed;
    for (const auto& live : style_tool_double::kLiveColors) {
        const BYTE* bytes = reinterpret_cast<const BYTE*>(&live.color);
        changed.insert(changed.end(), bytes, bytes + sizeof live.color);
    }
    EXPECT_EQ(changed, test_platform::GetValue(style_tool_double::kReportKey, style_tool_double::kColorsSeen).data)
        << "the stand-in's colours did not take effect";
    // As this process sees them. Under Wine that is its own copy, which the stand-in's changes from its
    // process do not reach, so there this part holds whatever the watch does; the simulated platform's
    // tests and the style tool's own tests under Wine are what show the live colours kept.
    const std::vector<COLORREF> liveAfter = LiveColors();
    for (int index = 0; index < kColorCount; ++index) {
        if (Kept(index)) {
            EXPECT_EQ(liveBefore_[index], liveAfter[index]) << "colour " << index;
        }
    }

    std::map<std::string, StoredValue> storedAfter = StoredColors();
    const StoredValue oversized = storedAfter[style_tool_double::kOversizedName];
    EXPECT_EQ(DWORD(REG_SZ), oversized.type);
    EXPECT_EQ(test_platform::TextWithNul(style_tool_double::kOversizedRewritten), oversized.data);
    storedAfter.erase(style_tool_double::kOversizedName);
    storedBefore_.erase(style_tool_double::kOversizedName);
    ASSERT_EQ(storedBefore_.size(), storedAfter.size());
    for (const auto& [name, before] : storedBefore_) {
        SCOPED_TRACE(name);
        EXPECT_EQ(before.type, storedAfter[name].type);
        EXPECT_EQ(before.data, storedAfter[name].data);
    }
}

TEST_F(VisualStyleTest, AToolOfThatNameOutsideTheInstallationFolderIsNeverStarted) {
    StyleToolDouble elsewhere(StyleToolDouble::Place::kProgramFolder);
    ASSERT_TRUE(elsewhere.Installed());

    EXPECT_EQ(kStyleToolMissing, SwitchVisualStyleSize(IDS_STYLE_SIZE_NORMAL));

    EXPECT_FALSE(elsewhere.Finished());
    EXPECT_EQ(liveBefore_, LiveColors());
    EXPECT_EQ(std::vector<BYTE>(31, 0x5A), StoredColors()[style_tool_double::kOversizedName].data);
}

}  // namespace
