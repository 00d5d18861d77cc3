// The pointer schemes as the user's registry keeps them after each writer: the scheme's name, the 14
// pointer files with "%SYSTEMROOT%" unexpanded, "Scheme Source", and nothing else of the key touched.
// Runs on the simulated platform and under Wine (where SPI_SETCURSORS fails, which must not matter).
#include "settings/cursors.h"
#include "tests/support/registry_keys.h"
#include "tests/support/test_platform.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using test_platform::GetValue;
using test_platform::PutValue;
using test_platform::TextWithNul;

const std::string kCursorsKey = test_keys::kCursors;

// The pointer values in the order of the scheme, each with the stem of its file name.
const struct {
    const char* valueName;
    const char* fileStem;
} kPointers[] = {
    {"Arrow", "arrow"},     {"Help", "help"},    {"AppStarting", "wait"}, {"Wait", "busy"},
    {"Crosshair", "cross"}, {"Ibeam", "beam"},   {"NWPen", "pen"},        {"No", "no"},
    {"SizeNS", "size4"},    {"SizeWE", "size3"}, {"SizeNWSE", "size2"},   {"SizeNESW", "size1"},
    {"SizeAll", "move"},    {"UpArrow", "up"},
};

struct Scheme {
    const char* label;
    bool (*apply)();
    const char* englishName;
    const char* germanName;
    const char* fileSuffix;  // null: the built-in pointers, every value empty
};

const Scheme kSchemes[] = {
    {"ApplyDefaultCursors", ApplyDefaultCursors, "Windows Default", "Windows-Standard", nullptr},
    {"ApplyLargeCursors", ApplyLargeCursors, "Windows Standard (large)", "Windows-Standard (gro\xDF)", "_m.cur"},
    {"ApplyExtraLargeCursors", ApplyExtraLargeCursors, "Windows Standard (extra large)",
     "Windows-Standard (extragro\xDF)", "_l.cur"},
};

class CursorSchemeTest : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        test_platform::ResetScratch();
        if (!test_platform::UseLanguage(GetParam())) GTEST_SKIP() << "this run's language is not " << GetParam();
        saved_.emplace(std::vector<std::string>{kCursorsKey});
    }
    void TearDown() override { saved_.reset(); }

    // Every pointer value is the scheme's file, or empty, as REG_EXPAND_SZ.
    static void ExpectPointers(const char* fileSuffix) {
        for (const auto& pointer : kPointers) {
            SCOPED_TRACE(pointer.valueName);
            const std::string file =
                fileSuffix ? std::string("%SYSTEMROOT%\\cursors\\") + pointer.fileStem + fileSuffix : std::string();
            const test_platform::StoredValue stored = GetValue(kCursorsKey, pointer.valueName);
            ASSERT_TRUE(stored.exists);
            EXPECT_EQ(DWORD(REG_EXPAND_SZ), stored.type);
            EXPECT_EQ(TextWithNul(file), stored.data);
        }
    }

    std::optional<test_platform::SavedUserSettings> saved_;
};

TEST_P(CursorSchemeTest, EachSchemeWritesItsNameItsFourteenPointersAndSchemeSourceAndNothingElse) {
    const std::vector<BYTE> handPointer = TextWithNul("%SYSTEMROOT%\\cursors\\hand.cur");
    for (const Scheme& scheme : kSchemes) {
        for (const bool keyExisted : {false, true}) {
            SCOPED_TRACE(testing::Message() << scheme.label << (keyExisted ? ", key with other values" : ", no key"));
            test_platform::DeleteKeyTree(kCursorsKey);
            if (keyExisted) {
                PutValue(kCursorsKey, "Hand", REG_EXPAND_SZ, handPointer);
                PutValue(kCursorsKey, "Arrow", REG_SZ, TextWithNul("C:\\old\\arrow.cur"));  // replaced, type and all
            }
            // The scheme is in place, whether or not the system reloads pointers at once.
            EXPECT_TRUE(scheme.apply());

            const test_platform::StoredValue name = GetValue(kCursorsKey, "");
            EXPECT_EQ(DWORD(REG_SZ), name.type);
            EXPECT_EQ(TextWithNul(GetParam() == "de" ? scheme.germanName : scheme.englishName), name.data);
            ExpectPointers(scheme.fileSuffix);
            const test_platform::StoredValue source = GetValue(kCursorsKey, "Scheme Source");
            EXPECT_EQ(DWORD(REG_DWORD), source.type);
            EXPECT_EQ((std::vector<BYTE>{2, 0, 0, 0}), source.data);
            const test_platform::StoredValue hand = GetValue(kCursorsKey, "Hand");
            EXPECT_EQ(keyExisted, hand.exists);
            if (keyExisted) {
                EXPECT_EQ(handPointer, hand.data);
            }
        }
    }
}

TEST_P(CursorSchemeTest, TheDefaultSchemeAfterALargerOneLeavesNoLargerPointerBehind) {
    for (const Scheme& larger : {kSchemes[1], kSchemes[2]}) {
        SCOPED_TRACE(larger.label);
        test_platform::DeleteKeyTree(kCursorsKey);
        larger.apply();
        ApplyDefaultCursors();
        ExpectPointers(nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, CursorSchemeTest, testing::Values("en", "de"),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
