// The two metric-line parsers: what an accepted line sets, and that a refused line leaves the caller's
// record exactly as it was. Runs on both platforms (number conversion is the platform's StrToIntA).
#include "settings/metric_lines.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr unsigned char kFill = 0x5A;

// A line of exactly `length` characters: `head`, blanks, then `tail`.
std::string Padded(const std::string& head, const std::string& tail, size_t length) {
    return head + std::string(length - head.size() - tail.size(), ' ') + tail;
}

struct NonClientCase {
    const char* label;
    std::string text;
    bool accepted;
    std::vector<int> metrics;  // the nine values, when accepted
};

TEST(ParseNonClientLineTest, AcceptsTenFieldsEndingInTheMarkerAndRefusesEverythingElse) {
    const std::vector<int> row604 = {1, 16, 16, 18, 18, 12, 12, 18, 18};
    const std::string body = "1, 16, 16, 18, 18, 12, 12, 18, ";
    // clang-format off
    const std::vector<NonClientCase> cases = {
        {"the Normal classic row", "1, 16, 16, 18, 18, 12, 12, 18, 18, NONCLIENTEND", true, row604},
        {"a doubled comma loses its empty field", "1,, 16, 16, 18, 18, 12, 12, 18, 18, NONCLIENTEND", true, row604},
        {"commas at the start and the end make no field", ",1, 16, 16, 18, 18, 12, 12, 18, 18, NONCLIENTEND,", true, row604},
        {"a field of blanks counts and converts to 0", "1, , 16, 18, 18, 12, 12, 18, 18, NONCLIENTEND", true,
         {1, 0, 16, 18, 18, 12, 12, 18, 18}},
        {"tabs and line breaks around fields are trimmed", "1,\t16\t,16\r\n, 18, 18, 12, 12, 18, 18,\tNONCLIENTEND\n", true, row604},
        {"digits then letters, a letter first, a minus sign", "1px, x16, -16, 18, 18, 12, 12, 18, 18, NONCLIENTEND", true,
         {1, 0, -16, 18, 18, 12, 12, 18, 18}},
        {"a plus sign is no number", "+1, 16, 16, 18, 18, 12, 12, 18, 18, NONCLIENTEND", true, {0, 16, 16, 18, 18, 12, 12, 18, 18}},
        {"no range test", "0, 99999, -5, 0, 0, 0, 0, 0, 0, NONCLIENTEND", true, {0, 99999, -5, 0, 0, 0, 0, 0, 0}},
        {"255 characters are split", Padded(body + "18", ", NONCLIENTEND", 255), true, row604},
        {"256 characters are refused", Padded(body + "18", ", NONCLIENTEND", 256), false, {}},
        {"the marker in lower case", "1, 16, 16, 18, 18, 12, 12, 18, 18, nonclientend", false, {}},
        {"an eleventh field after the marker", "1, 16, 16, 18, 18, 12, 12, 18, 18, NONCLIENTEND, 5", false, {}},
        {"nine fields", "1, 16, 16, 18, 18, 12, 12, 18, NONCLIENTEND", false, {}},
        {"no marker", "1, 16, 16, 18, 18, 12, 12, 18, 18, 18", false, {}},
        {"the marker alone", "NONCLIENTEND", false, {}},
        {"an empty text", "", false, {}},
        {"only commas", ",,,,,,,,,,,", false, {}},
        {"a font line", "  -11, 400,   1, Tahoma, LOGFONTEND", false, {}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        NONCLIENTMETRICSA record;
        std::memset(&record, kFill, sizeof record);
        NONCLIENTMETRICSA before = record;
        ASSERT_EQ(c.accepted, ParseNonClientLine(&record, c.text.c_str()));
        if (!c.accepted) {
            EXPECT_EQ(0, std::memcmp(&before, &record, sizeof record)) << "a refused line changed the record";
            continue;
        }
        EXPECT_EQ(340u, record.cbSize);
        const std::vector<int> actual = {record.iBorderWidth,     record.iScrollWidth,   record.iScrollHeight,
                                         record.iCaptionWidth,    record.iCaptionHeight, record.iSmCaptionWidth,
                                         record.iSmCaptionHeight, record.iMenuWidth,     record.iMenuHeight};
        EXPECT_EQ(c.metrics, actual);
        // The five fonts stay exactly as the caller had them.
        for (const LOGFONTA* font : {&record.lfCaptionFont, &record.lfSmCaptionFont, &record.lfMenuFont,
                                     &record.lfStatusFont, &record.lfMessageFont}) {
            const size_t offset = reinterpret_cast<const char*>(font) - reinterpret_cast<const char*>(&record);
            EXPECT_EQ(0, std::memcmp(reinterpret_cast<const char*>(&before) + offset, font, sizeof *font));
        }
    }
}

struct LogFontCase {
    const char* label;
    std::string text;
    bool accepted;
    LONG height, weight;
    BYTE charSet;
    std::string face;
};

TEST(ParseLogFontLineTest, AcceptsFiveFieldsEndingInTheMarkerAndRefusesEverythingElse) {
    const std::string face31(31, 'F'), face32(32, 'F');
    // clang-format off
    const std::vector<LogFontCase> cases = {
        {"the Normal icon title row", "  -11, 400,   1, Tahoma, LOGFONTEND", true, -11, 400, 1, "Tahoma"},
        {"a Windows 2000 row", "  -19, 700,   0, Tahoma, LOGFONTEND", true, -19, 700, 0, "Tahoma"},
        {"a face name keeps its inner blank", "-13, 400, 1, Trebuchet MS, LOGFONTEND", true, -13, 400, 1, "Trebuchet MS"},
        {"blanks around a face name go", "-13, 400, 1,   Trebuchet MS   , LOGFONTEND", true, -13, 400, 1, "Trebuchet MS"},
        {"blanks around the marker go", "-13, 400, 1, Tahoma,\tLOGFONTEND \r\n", true, -13, 400, 1, "Tahoma"},
        {"character set 256 keeps its low 8 bits", "-11, 400, 256, Tahoma, LOGFONTEND", true, -11, 400, 0, "Tahoma"},
        {"character set 257 keeps its low 8 bits", "-11, 400, 257, Tahoma, LOGFONTEND", true, -11, 400, 1, "Tahoma"},
        {"character set -1 is 255", "-11, 400, -1, Tahoma, LOGFONTEND", true, -11, 400, 255, "Tahoma"},
        {"numbers followed by blanks", "-11   , 400  , 1  , Tahoma, LOGFONTEND", true, -11, 400, 1, "Tahoma"},
        {"a doubled comma loses its empty field", "-11,, 400, 1, Tahoma, LOGFONTEND,", true, -11, 400, 1, "Tahoma"},
        {"a face name of 31 characters fits", "-11, 400, 1, " + face31 + ", LOGFONTEND", true, -11, 400, 1, face31},
        {"a face name of 32 characters does not", "-11, 400, 1, " + face32 + ", LOGFONTEND", false, 0, 0, 0, ""},
        {"the marker alone", "LOGFONTEND", false, 0, 0, 0, ""},
        {"a sixth field", "-11, 400, 1, Tahoma, LOGFONTEND, x", false, 0, 0, 0, ""},
        {"four fields", "-11, 400, Tahoma, LOGFONTEND", false, 0, 0, 0, ""},
        {"the marker in lower case", "-11, 400, 1, Tahoma, logfontend", false, 0, 0, 0, ""},
        {"a longer marker", "-11, 400, 1, Tahoma, LOGFONTENDS", false, 0, 0, 0, ""},
        {"256 characters", Padded("-11, 400, 1, Tahoma", ", LOGFONTEND", 256), false, 0, 0, 0, ""},
        {"255 characters", Padded("-11, 400, 1, Tahoma", ", LOGFONTEND", 255), true, -11, 400, 1, "Tahoma"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        LOGFONTA record;
        std::memset(&record, kFill, sizeof record);
        const LOGFONTA before = record;
        ASSERT_EQ(c.accepted, ParseLogFontLine(&record, c.text.c_str()));
        if (!c.accepted) {
            EXPECT_EQ(0, std::memcmp(&before, &record, sizeof record)) << "a refused line changed the record";
            continue;
        }
        EXPECT_EQ(c.height, record.lfHeight);
        EXPECT_EQ(c.weight, record.lfWeight);
        EXPECT_EQ(c.charSet, record.lfCharSet);
        EXPECT_EQ(c.face, std::string(record.lfFaceName));
        // Every other member is zero.
        EXPECT_EQ(0, record.lfWidth);
        EXPECT_EQ(0, record.lfEscapement);
        EXPECT_EQ(0, record.lfOrientation);
        const BYTE flags[] = {record.lfItalic,        record.lfUnderline, record.lfStrikeOut,     record.lfOutPrecision,
                              record.lfClipPrecision, record.lfQuality,   record.lfPitchAndFamily};
        for (BYTE flag : flags) EXPECT_EQ(0, flag);
    }
}

TEST(ParseLogFontLineTest, FillsAFontMemberInsideALargerRecordAndNothingAroundIt) {
    NONCLIENTMETRICSA metrics;
    std::memset(&metrics, kFill, sizeof metrics);
    ASSERT_TRUE(ParseLogFontLine(&metrics.lfMenuFont, "  -13, 400,   1, Tahoma, LOGFONTEND"));
    EXPECT_EQ(-13, metrics.lfMenuFont.lfHeight);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&metrics);
    const size_t begin = offsetof(NONCLIENTMETRICSA, lfMenuFont), end = begin + sizeof(LOGFONTA);
    for (size_t i = 0; i < sizeof metrics; ++i) {
        if (i < begin || i >= end) {
            ASSERT_EQ(kFill, bytes[i]) << "byte " << i << " outside the font member";
        }
    }
}

}  // namespace
