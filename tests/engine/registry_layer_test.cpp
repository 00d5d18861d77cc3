// The registry layer against the platform's registry: what each function stores, what it reads back, and
// what it leaves in the caller's output on every kind of failure. Runs on the simulated platform and under
// Wine against the real registry.
#include "settings/registry.h"
#include "tests/support/test_platform.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using test_platform::GetValue;
using test_platform::kScratchKey;
using test_platform::PutValue;

const std::string kKey = kScratchKey;
constexpr unsigned char kCanary = 0xA5;
constexpr size_t kGuard = 16;  // bytes after the 256 the layer may write, which must stay untouched

using test_platform::TextWithNul;

std::vector<BYTE> Bytes(const std::string& text) { return std::vector<BYTE>(text.begin(), text.end()); }

class RegistryLayerTest : public testing::Test {
protected:
    void SetUp() override { test_platform::ResetScratch(); }
    void TearDown() override { test_platform::ResetScratch(); }
};

// An output buffer of 256 bytes plus guard bytes, all set to a canary before the call.
struct CanaryText {
    unsigned char bytes[kRegTextSize + kGuard];
    CanaryText() { std::memset(bytes, kCanary, sizeof bytes); }
    char* text() { return reinterpret_cast<char*>(bytes); }
    // The bytes after the text's NUL that the call had no business writing.
    bool UntouchedAfter(size_t length) const {
        for (size_t i = length + 1; i < sizeof bytes; ++i)
            if (bytes[i] != kCanary) return false;
        return true;
    }
};

// ---- ReadRegString ----
struct StoredText {
    const char* label;
    DWORD type;
    std::vector<BYTE> data;
    int expectedResult;
    std::string expectedText;
};

TEST_F(RegistryLayerTest, ReadRegStringReturnsTheTextUpToItsNulOrEmptiesTheOutput) {
    const std::string chars255(255, 'x'), chars256(256, 'y');
    const std::vector<StoredText> cases = {
        {"plain text", REG_SZ, TextWithNul("Windows Standard"), 1, "Windows Standard"},
        {"empty text stored as one NUL", REG_SZ, TextWithNul(""), 1, ""},
        {"255 characters and NUL", REG_SZ, TextWithNul(chars255), 1, chars255},
        {"256 characters and NUL (257 bytes)", REG_SZ, TextWithNul(chars256), 0, ""},
        {"4096 bytes", REG_BINARY, std::vector<BYTE>(4096, 'z'), 0, ""},
        {"zero-length value", REG_SZ, {}, 0, ""},
        {"expandable text, not expanded", REG_EXPAND_SZ, TextWithNul("%SYSTEMROOT%\\cursors\\arrow_m.cur"), 1,
         "%SYSTEMROOT%\\cursors\\arrow_m.cur"},
        {"binary without NUL", REG_BINARY, Bytes("abc"), 1, "abc"},
        {"256 bytes without NUL are cut to 255", REG_BINARY, Bytes(chars256), 1, chars256.substr(0, 255)},
        {"embedded NUL ends the text", REG_BINARY, Bytes(std::string("ab\0cd\0", 6)), 1, "ab"},
        {"a number read as bytes", REG_DWORD, {'1', '2', '3', 0}, 1, "123"},
        {"code page 1252 bytes", REG_BINARY, {'g', 'r', 'o', 0xDF, 0}, 1, "gro\xDF"},
        // The same shapes as text values, which the system keeps as UTF-16 and converts on the way out.
        {"text without NUL", REG_SZ, Bytes("abc"), 1, "abc"},
        {"256 text bytes without NUL are cut to 255", REG_SZ, Bytes(chars256), 1, chars256.substr(0, 255)},
        {"257 text bytes without NUL", REG_SZ, Bytes(chars256 + "y"), 0, ""},
        {"embedded NUL in a text ends it", REG_SZ, Bytes(std::string("1\0xyz\0", 6)), 1, "1"},
        {"several texts give the first", REG_MULTI_SZ, Bytes(std::string("21\0x\0\0", 6)), 1, "21"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        test_platform::ResetScratch();
        PutValue(kKey, "Value", c.type, c.data);
        CanaryText out;
        EXPECT_EQ(c.expectedResult, ReadRegString(HKEY_CURRENT_USER, kKey.c_str(), "Value", out.text()));
        EXPECT_EQ(c.expectedText, std::string(out.text()));
        EXPECT_TRUE(out.UntouchedAfter(c.expectedText.size())) << "bytes written past the text's NUL";
    }
}

TEST_F(RegistryLayerTest, ReadRegStringOfAMissingValueEmptiesTheOutputButOfAMissingKeyLeavesIt) {
    PutValue(kKey, "Other", REG_SZ, TextWithNul("x"));
    char out[kRegTextSize] = "sentinel";
    EXPECT_EQ(0, ReadRegString(HKEY_CURRENT_USER, kKey.c_str(), "Missing", out));
    EXPECT_STREQ("", out);

    std::strcpy(out, "sentinel");
    EXPECT_EQ(0, ReadRegString(HKEY_CURRENT_USER, (kKey + "\\No Such Key").c_str(), "Value", out));
    EXPECT_STREQ("sentinel", out);
}

// ---- ReadRegDword ----
TEST_F(RegistryLayerTest, ReadRegDwordAcceptsExactlyFourBytesOfAnyType) {
    struct Case {
        const char* label;
        DWORD type;
        std::vector<BYTE> data;
        int expectedResult;
        DWORD expectedValue;
    };
    const DWORD kSentinel = 0xDEADBEEF;
    const std::vector<Case> cases = {
        {"REG_DWORD", REG_DWORD, {1, 0, 0, 0}, 1, 1},
        {"REG_DWORD, little-endian", REG_DWORD, {0x78, 0x56, 0x34, 0x12}, 1, 0x12345678},
        {"4-byte REG_BINARY", REG_BINARY, {2, 0, 0, 0}, 1, 2},
        {"4-byte REG_SZ", REG_SZ, {'a', 'b', 'c', 0}, 1, 0x00636261},
        {"2 bytes", REG_BINARY, {1, 0}, 0, kSentinel},
        {"8 bytes", REG_BINARY, {1, 0, 0, 0, 0, 0, 0, 0}, 0, kSentinel},
        {"0 bytes", REG_BINARY, {}, 0, kSentinel},
        {"text \"1\"", REG_SZ, TextWithNul("1"), 0, kSentinel},
        {"4 text bytes without NUL", REG_SZ, {'1', '1', '1', '1'}, 1, 0x31313131},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        test_platform::ResetScratch();
        PutValue(kKey, "Changed", c.type, c.data);
        DWORD value = kSentinel;
        EXPECT_EQ(c.expectedResult, ReadRegDword(HKEY_CURRENT_USER, kKey.c_str(), "Changed", &value));
        EXPECT_EQ(c.expectedValue, value);
    }
}

TEST_F(RegistryLayerTest, ReadRegDwordOfAMissingValueOrKeyLeavesTheOutput) {
    DWORD value = 77;
    EXPECT_EQ(0, ReadRegDword(HKEY_CURRENT_USER, kKey.c_str(), "Changed", &value));
    PutValue(kKey, "Other", REG_DWORD, {1, 0, 0, 0});
    EXPECT_EQ(0, ReadRegDword(HKEY_CURRENT_USER, kKey.c_str(), "Changed", &value));
    EXPECT_EQ(77u, value);
}

// ---- Writers ----
TEST_F(RegistryLayerTest, StringWritersStoreTheTextWithItsNulAndReadBackTheSame) {
    const std::string chars255(255, 'q');
    for (const std::string& text : {std::string(""), std::string("Windows-Standard (gro\xDF)"), chars255}) {
        for (DWORD type : {DWORD(REG_SZ), DWORD(REG_EXPAND_SZ)}) {
            SCOPED_TRACE(testing::Message() << "type " << type << ", " << text.size() << " characters");
            test_platform::ResetScratch();
            const int written = type == REG_SZ
                                    ? WriteRegString(HKEY_CURRENT_USER, kKey.c_str(), "Name", text.c_str())
                                    : WriteRegExpandString(HKEY_CURRENT_USER, kKey.c_str(), "Name", text.c_str());
            EXPECT_EQ(1, written);
            const auto stored = GetValue(kKey, "Name");
            EXPECT_TRUE(stored.exists);
            EXPECT_EQ(type, stored.type);
            EXPECT_EQ(TextWithNul(text), stored.data);
            char back[kRegTextSize];
            EXPECT_EQ(1, ReadRegString(HKEY_CURRENT_USER, kKey.c_str(), "Name", back));
            EXPECT_EQ(text, back);
        }
    }
}

TEST_F(RegistryLayerTest, StringWritersRefuseTextsLongerThan255CharactersAndWriteNothing) {
    const std::string chars256(256, 'q');
    EXPECT_EQ(0, WriteRegString(HKEY_CURRENT_USER, kKey.c_str(), "Name", chars256.c_str()));
    EXPECT_EQ(0, WriteRegExpandString(HKEY_CURRENT_USER, kKey.c_str(), "Name", chars256.c_str()));
    EXPECT_FALSE(test_platform::KeyExists(kKey));
}

TEST_F(RegistryLayerTest, DwordAndBinaryWritersStoreExactlyTheirBytesAndReplaceOtherTypes) {
    PutValue(kKey, "IEFontSize", REG_SZ, TextWithNul("large"));
    const BYTE size[4] = {3, 0, 0, 0};
    EXPECT_EQ(1, WriteRegBinary(HKEY_CURRENT_USER, kKey.c_str(), "IEFontSize", size, 4));
    auto stored = GetValue(kKey, "IEFontSize");
    EXPECT_EQ(DWORD(REG_BINARY), stored.type);
    EXPECT_EQ((std::vector<BYTE>{3, 0, 0, 0}), stored.data);

    EXPECT_EQ(1, WriteRegDword(HKEY_CURRENT_USER, kKey.c_str(), "Scheme Source", 0x01020304));
    stored = GetValue(kKey, "Scheme Source");
    EXPECT_EQ(DWORD(REG_DWORD), stored.type);
    EXPECT_EQ((std::vector<BYTE>{4, 3, 2, 1}), stored.data);

    const BYTE wide[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(1, WriteRegBinary(HKEY_CURRENT_USER, kKey.c_str(), "Six", wide, 6));
    EXPECT_EQ((std::vector<BYTE>{1, 2, 3, 4, 5, 6}), GetValue(kKey, "Six").data);
}

TEST_F(RegistryLayerTest, WritersCreateEveryMissingKeyOnThePath) {
    const std::string deep = kKey + "\\Identities\\{id}\\Software\\Microsoft\\Outlook Express";
    EXPECT_FALSE(test_platform::KeyExists(kKey));
    EXPECT_EQ(1, WriteRegDword(HKEY_CURRENT_USER, deep.c_str(), "Deep", 7));
    EXPECT_TRUE(test_platform::KeyExists(kKey + "\\Identities\\{id}"));
    DWORD value = 0;
    EXPECT_EQ(1, ReadRegDword(HKEY_CURRENT_USER, deep.c_str(), "Deep", &value));
    EXPECT_EQ(7u, value);
}

TEST_F(RegistryLayerTest, TheEmptyNameAddressesTheDefaultValueAndNamesIgnoreCase) {
    EXPECT_EQ(1, WriteRegString(HKEY_CURRENT_USER, kKey.c_str(), "", "Windows Default"));
    EXPECT_EQ(1, WriteRegString(HKEY_CURRENT_USER, kKey.c_str(), "Arrow", "arrow"));
    char text[kRegTextSize];
    EXPECT_EQ(1, ReadRegString(HKEY_CURRENT_USER, kKey.c_str(), "", text));
    EXPECT_STREQ("Windows Default", text);
    EXPECT_EQ(1, ReadRegString(HKEY_CURRENT_USER, (kKey).c_str(), "ARROW", text));
    EXPECT_STREQ("arrow", text);
    std::string upperKey = kKey;
    for (char& c : upperKey) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(1, ReadRegString(HKEY_CURRENT_USER, upperKey.c_str(), "arrow", text));
}

// ---- DeleteRegValue ----
TEST_F(RegistryLayerTest, DeleteRegValueRemovesOneValueAndReportsWhetherThereWasOne) {
    PutValue(kKey, "Current", REG_SZ, TextWithNul("Windows Standard"));
    PutValue(kKey, "Keep", REG_SZ, TextWithNul("x"));
    EXPECT_EQ(1, DeleteRegValue(HKEY_CURRENT_USER, kKey.c_str(), "Current"));
    EXPECT_FALSE(GetValue(kKey, "Current").exists);
    EXPECT_TRUE(GetValue(kKey, "Keep").exists);
    EXPECT_EQ(0, DeleteRegValue(HKEY_CURRENT_USER, kKey.c_str(), "Current"));
}

TEST_F(RegistryLayerTest, DeleteRegValueOnAMissingKeyReturns0AndLeavesTheKeyCreated) {
    const std::string appearance = kKey + "\\Control Panel\\Appearance";
    EXPECT_EQ(0, DeleteRegValue(HKEY_CURRENT_USER, appearance.c_str(), "Current"));
    EXPECT_TRUE(test_platform::KeyExists(appearance));
}

}  // namespace
