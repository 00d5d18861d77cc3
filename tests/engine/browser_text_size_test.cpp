// "IEFontSize" as the browser and the mail reader's default identity find it after SetBrowserFontSize:
// four bytes of REG_BINARY in both places, whatever was there before, and no stray key under "Identities"
// when there is no default identity. Runs on the simulated platform and under Wine.
#include "settings/browser_text_size.h"
#include "tests/support/registry_keys.h"
#include "tests/support/test_platform.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using test_platform::GetValue;
using test_platform::KeyExists;
using test_platform::PutValue;
using test_platform::TextWithNul;

const std::string kBrowserKey = test_keys::kBrowserScripts;
const std::string kIdentities = test_keys::kIdentities;
const std::string kMailTail = "\\Software\\Microsoft\\Outlook Express\\5.0\\Trident\\International\\1252";
const std::string kIdentity = "{6B1A8C2E-0F3D-4A57-9E21-7C5B3D9A1F40}";

class BrowserTextSizeTest : public testing::Test {
protected:
    void SetUp() override {
        test_platform::ResetScratch();
        saved_.emplace(std::vector<std::string>{kBrowserKey, kIdentities});
        test_platform::DeleteKeyTree(kBrowserKey);
        test_platform::DeleteKeyTree(kIdentities);
    }
    void TearDown() override { saved_.reset(); }

    static void ExpectFontSize(const std::string& keyPath, const std::vector<BYTE>& bytes) {
        SCOPED_TRACE(keyPath);
        const test_platform::StoredValue stored = GetValue(keyPath, "IEFontSize");
        ASSERT_TRUE(stored.exists);
        EXPECT_EQ(DWORD(REG_BINARY), stored.type);
        EXPECT_EQ(bytes, stored.data);
    }

    std::optional<test_platform::SavedUserSettings> saved_;
};

TEST_F(BrowserTextSizeTest, StoresTheLowByteOfTheNumberInFourBytesForTheBrowserAndTheDefaultIdentity) {
    const struct {
        int number;
        std::vector<BYTE> bytes;
    } cases[] = {
        {2, {2, 0, 0, 0}},
        {3, {3, 0, 0, 0}},
        {4, {4, 0, 0, 0}},
        {0x104, {4, 0, 0, 0}},
    };
    PutValue(kIdentities, "Default User ID", REG_SZ, TextWithNul(kIdentity));
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "text size " << c.number);
        SetBrowserFontSize(c.number);
        ExpectFontSize(kBrowserKey, c.bytes);
        ExpectFontSize(kIdentities + "\\" + kIdentity + kMailTail, c.bytes);
    }
}

TEST_F(BrowserTextSizeTest, ReplacesAnOlderValueOfAnotherTypeOrLength) {
    const std::string mailKey = kIdentities + "\\" + kIdentity + kMailTail;
    const struct {
        const char* label;
        DWORD type;
        std::vector<BYTE> data;
    } older[] = {
        {"REG_DWORD", REG_DWORD, {3, 0, 0, 0}},
        {"REG_SZ", REG_SZ, TextWithNul("4")},
        {"8-byte REG_BINARY", REG_BINARY, {4, 0, 0, 0, 9, 9, 9, 9}},
        {"1-byte REG_BINARY", REG_BINARY, {4}},
    };
    PutValue(kIdentities, "Default User ID", REG_SZ, TextWithNul(kIdentity));
    for (const auto& value : older) {
        SCOPED_TRACE(value.label);
        PutValue(kBrowserKey, "IEFontSize", value.type, value.data);
        PutValue(mailKey, "IEFontSize", value.type, value.data);
        SetBrowserFontSize(2);
        ExpectFontSize(kBrowserKey, {2, 0, 0, 0});
        ExpectFontSize(mailKey, {2, 0, 0, 0});
    }
}

TEST_F(BrowserTextSizeTest, TheIdentityIsUsedAsReadWithoutATestOfItsForm) {
    const std::string identity = "Main Identity (2)";
    PutValue(kIdentities, "Default User ID", REG_SZ, TextWithNul(identity));
    SetBrowserFontSize(3);
    ExpectFontSize(kIdentities + "\\" + identity + kMailTail, {3, 0, 0, 0});
}

TEST_F(BrowserTextSizeTest, WithoutADefaultIdentityOnlyTheBrowserIsSetAndNoKeyAppearsUnderIdentities) {
    const struct {
        const char* label;
        std::optional<std::vector<BYTE>> defaultUserId;  // none: no "Identities" key at all
    } cases[] = {
        {"no Identities key", std::nullopt},
        {"no Default User ID", std::vector<BYTE>()},
        {"empty Default User ID", TextWithNul("")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        test_platform::DeleteKeyTree(kIdentities);
        test_platform::DeleteKeyTree(kBrowserKey);
        if (c.defaultUserId) {
            PutValue(kIdentities, "Other", REG_SZ, TextWithNul("kept"));
            if (!c.defaultUserId->empty()) PutValue(kIdentities, "Default User ID", REG_SZ, *c.defaultUserId);
        }
        SetBrowserFontSize(4);
        ExpectFontSize(kBrowserKey, {4, 0, 0, 0});
        EXPECT_EQ(c.defaultUserId.has_value(), KeyExists(kIdentities));
        EXPECT_FALSE(KeyExists(kIdentities + "\\Software")) << "the mail key with an empty identity";
    }
}

}  // namespace
