// The registry calls themselves, as the program relies on them. The same checks run against the simulated
// platform and under Wine against a real registry, so that the simulated one keeps Windows' behaviour.
#include "tests/support/test_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using test_platform::kScratchKey;
using test_platform::PutValue;

class RegistryApiTest : public testing::Test {
protected:
    void SetUp() override {
        test_platform::ResetScratch();
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                 &key_, nullptr));
    }
    void TearDown() override {
        if (key_) RegCloseKey(key_);
        test_platform::ResetScratch();
    }
    HKEY key_ = nullptr;
};

TEST_F(RegistryApiTest, QueryReportsTheSizeItNeedsAndWritesNothingIntoABufferTooSmall) {
    const BYTE stored[] = {'a', 'b', 'c', 'd', 0};
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, "Text", 0, REG_SZ, stored, sizeof stored));

    DWORD type = 0, size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key_, "Text", nullptr, &type, nullptr, &size));
    EXPECT_EQ(5u, size);
    EXPECT_EQ(DWORD(REG_SZ), type);

    BYTE buffer[8];
    std::memset(buffer, 0xA5, sizeof buffer);
    size = 4;
    EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExA(key_, "Text", nullptr, &type, buffer, &size));
    EXPECT_EQ(5u, size);

    size = 5;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key_, "Text", nullptr, &type, buffer, &size));
    EXPECT_EQ(5u, size);
    EXPECT_EQ(0, std::memcmp(buffer, stored, 5));
    EXPECT_EQ(0xA5, buffer[5]) << "the query wrote past the value's bytes";
}

TEST_F(RegistryApiTest, AStringStoredWithoutItsNulComesBackWithTheStoredSizeAndANulWhereThereIsRoom) {
    const BYTE stored[] = {'a', 'b', 'c', 'x'};  // three bytes stored; the fourth is not a NUL
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, "Bare", 0, REG_SZ, stored, 3));
    BYTE buffer[16];
    std::memset(buffer, 0xA5, sizeof buffer);
    DWORD size = sizeof buffer;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key_, "Bare", nullptr, nullptr, buffer, &size));
    EXPECT_EQ(3u, size);
    EXPECT_EQ(0, std::memcmp(buffer, stored, 3));
    EXPECT_EQ(0, buffer[3]) << "a buffer with room receives a NUL that the size does not count";

    std::memset(buffer, 0xA5, sizeof buffer);
    size = 3;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key_, "Bare", nullptr, nullptr, buffer, &size));
    EXPECT_EQ(3u, size);
    EXPECT_EQ(0xA5, buffer[3]) << "a buffer without room was written past";
}

TEST_F(RegistryApiTest, AStringEnumeratedWithoutItsNulGetsANulWhereThereIsRoomAsTheQueryGivesIt) {
    const BYTE stored[] = {'a', 'b', 'c', 'x'};
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, "Bare", 0, REG_SZ, stored, 3));
    for (const DWORD room : {16u, 3u}) {
        SCOPED_TRACE(room);
        char name[16];
        BYTE buffer[16];
        std::memset(buffer, 0xA5, sizeof buffer);
        DWORD nameSize = sizeof name, size = room;
        ASSERT_EQ(ERROR_SUCCESS, RegEnumValueA(key_, 0, name, &nameSize, nullptr, nullptr, buffer, &size));
        EXPECT_EQ(3u, size);
        EXPECT_EQ(0, std::memcmp(buffer, stored, 3));
        EXPECT_EQ(room > 3 ? 0 : 0xA5, buffer[3]);
    }
}

TEST_F(RegistryApiTest, AStringsNulRightAfterTheGivenSizeIsStoredWithIt) {
    const BYTE text[] = {'a', 'b', 'c', 0};
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, "Counted", 0, REG_SZ, text, 3));
    DWORD size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key_, "Counted", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(4u, size);
    // Not for binary data.
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, "Binary", 0, REG_BINARY, text, 3));
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key_, "Binary", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(3u, size);
}

TEST_F(RegistryApiTest, MissingKeysAndValuesFailWithFileNotFound) {
    HKEY other = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Optivue Tests\\Nothing", 0, KEY_QUERY_VALUE, &other));
    DWORD size = 0;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(key_, "Nothing", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueA(key_, "Nothing"));
}

TEST_F(RegistryApiTest, CreateMakesEveryMissingKeyAndNamesIgnoreCase) {
    HKEY deep = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(key_, "A\\B\\C", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &deep, &disposition));
    EXPECT_EQ(DWORD(REG_CREATED_NEW_KEY), disposition);
    const DWORD one = 1;
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(deep, "Changed", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4));
    RegCloseKey(deep);

    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(key_, "a\\b\\c", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &deep, &disposition));
    EXPECT_EQ(DWORD(REG_OPENED_EXISTING_KEY), disposition);
    DWORD value = 0, size = sizeof value;
    EXPECT_EQ(ERROR_SUCCESS,
              RegQueryValueExA(deep, "CHANGED", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size));
    EXPECT_EQ(1u, value);
    RegCloseKey(deep);
}

TEST_F(RegistryApiTest, AKeyPathMayNotBeginWithABackslash) {
    HKEY other = nullptr;
    EXPECT_EQ(ERROR_BAD_PATHNAME,
              RegCreateKeyExA(key_, "\\Leading", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &other, nullptr));
}

TEST_F(RegistryApiTest, AHandleOpenedForQueryCannotSetValues) {
    HKEY readOnly = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, KEY_QUERY_VALUE, &readOnly));
    const BYTE data[] = {1};
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegSetValueExA(readOnly, "X", 0, REG_BINARY, data, 1));
    RegCloseKey(readOnly);
}

TEST_F(RegistryApiTest, EnumerationListsEveryValueOnceAndRefusesBuffersTooSmall) {
    PutValue(kScratchKey, "Window", REG_SZ, {'2', '5', '5', 0});
    PutValue(kScratchKey, "ActiveBorder", REG_SZ, {'1', 0});
    PutValue(kScratchKey, "Number", REG_DWORD, {4, 0, 0, 0});

    DWORD values = 0, longestName = 0, largestData = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                                              &longestName, &largestData, nullptr, nullptr));
    EXPECT_EQ(3u, values);
    EXPECT_EQ(12u, longestName);  // "ActiveBorder", without its NUL
    EXPECT_EQ(8u, largestData);   // "255" and its NUL as the registry stores them, in UTF-16

    // Windows promises no order, so the check is on the set of names.
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
        char name[60];
        BYTE data[30];
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
        const LONG status = RegEnumValueA(key_, index, name, &nameSize, nullptr, &type, data, &dataSize);
        if (status == ERROR_NO_MORE_ITEMS) break;
        ASSERT_EQ(ERROR_SUCCESS, status) << "index " << index;
        ASSERT_LT(index, 3u);
        EXPECT_EQ(std::strlen(name), nameSize);
        if (std::string(name) == "Number") {
            EXPECT_EQ(DWORD(REG_DWORD), type);
            EXPECT_EQ(4u, dataSize);
        }
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"ActiveBorder", "Number", "Window"}), names);

    for (DWORD index = 0; index < 3; ++index) {
        char name[6];  // the shortest name has 6 characters and needs 7 places with its NUL
        BYTE data[30];
        DWORD nameSize = sizeof name, dataSize = sizeof data;
        EXPECT_EQ(ERROR_MORE_DATA, RegEnumValueA(key_, index, name, &nameSize, nullptr, nullptr, data, &dataSize))
            << "index " << index;
    }
    for (DWORD index = 0; index < 3; ++index) {
        char name[60];
        BYTE data[1];
        DWORD nameSize = sizeof name, dataSize = sizeof data;
        EXPECT_EQ(ERROR_MORE_DATA, RegEnumValueA(key_, index, name, &nameSize, nullptr, nullptr, data, &dataSize))
            << "index " << index;
    }
}

}  // namespace

namespace {

TEST_F(RegistryApiTest, AnEmptyNameBetweenTwoBackslashesNamesNoKey) {
    // So a key path composed with an empty segment lands one level up: "A\\B" is "A\B".
    HKEY created = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(key_, "Identities\\\\Software\\Tail", 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &created, nullptr));
    RegCloseKey(created);
    EXPECT_TRUE(test_platform::KeyExists(std::string(kScratchKey) + "\\Identities\\Software\\Tail"));
}

}  // namespace
