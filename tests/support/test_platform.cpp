#include "tests/support/test_platform.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <sstream>

// What both platforms share; the real platform's half is in test_platform_windows.cpp, the simulated
// one's in test_platform_simulated.cpp, and CMake builds the one of its platform.
namespace test_platform {

void PutValue(const std::string& keyPath, const char* name, DWORD type, const std::vector<BYTE>& data) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key, nullptr));
    // A non-zero byte after the data, so that a string without its NUL is stored as given (Windows adds a
    // NUL that directly follows the data to a string's size).
    std::vector<BYTE> guarded = data;
    guarded.push_back(0xFF);
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, type, guarded.data(), static_cast<DWORD>(data.size())));
    RegCloseKey(key);
}

std::vector<BYTE> TextWithNul(const std::string& text) {
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    return data;
}

void PutString(const std::string& keyPath, const char* name, const std::string& text) {
    PutValue(keyPath, name, REG_SZ, TextWithNul(text));
}

LOGFONTA TahomaFont(LONG height, LONG weight, BYTE charSet) {
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = charSet;
    std::strcpy(font.lfFaceName, "Tahoma");
    return font;
}

StoredValue GetValue(const std::string& keyPath, const char* name, HKEY root) {
    StoredValue stored;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return stored;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &stored.type, nullptr, &size) == ERROR_SUCCESS) {
        stored.data.resize(size);
        if (RegQueryValueExA(key, name, nullptr, &stored.type, stored.data.data(), &size) == ERROR_SUCCESS) {
            stored.exists = true;
            stored.data.resize(size);
        }
    }
    RegCloseKey(key);
    return stored;
}

std::optional<std::string> StoredText(const std::string& keyPath, const char* name) {
    const StoredValue stored = GetValue(keyPath, name);
    if (!stored.exists) return std::nullopt;
    if (stored.type != REG_SZ && stored.type != REG_EXPAND_SZ) return "<type " + std::to_string(stored.type) + ">";
    const std::string text(stored.data.begin(), stored.data.end());
    return text.substr(0, text.find('\0'));
}

std::vector<std::string> ValueNames(const std::string& keyPath) {
    constexpr DWORD kMostValues = 65536;
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return names;
    char name[16384];  // the longest value name the registry allows, and its NUL
    for (DWORD index = 0; index < kMostValues; ++index) {
        DWORD nameSize = sizeof name;
        if (RegEnumValueA(key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, nameSize);
    }
    RegCloseKey(key);
    return names;
}

bool KeyExists(const std::string& keyPath, HKEY root) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void DeleteValue(const std::string& keyPath, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}
}  // namespace test_platform
