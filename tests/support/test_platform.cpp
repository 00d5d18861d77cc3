#include "tests/support/test_platform.h"

#include <gtest/gtest.h>

#include <cstdlib>

#ifdef _WIN32
#include <shlwapi.h>
#else
#include <simwin/sim.h>
#endif

namespace test_platform {

#ifdef _WIN32
bool IsSimulated() { return false; }

void ResetScratch() { SHDeleteKeyA(HKEY_CURRENT_USER, kScratchKey); }

bool UseLanguage(const std::string& lang) {
    const char* active = std::getenv("OPTIVUE_TEST_LANG");
    return lang == (active && *active ? active : "en");
}
#else
bool IsSimulated() { return true; }

void ResetScratch() { simwin::Reset(); }

bool UseLanguage(const std::string& lang) {
    simwin::machine().strings.SetLanguage(lang == "de" ? simwin::StringTables::kGerman : simwin::StringTables::kEnglish);
    return true;
}
#endif

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

void PutString(const std::string& keyPath, const char* name, const std::string& text) {
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    PutValue(keyPath, name, REG_SZ, data);
}

StoredValue GetValue(const std::string& keyPath, const char* name) {
    StoredValue stored;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return stored;
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

bool KeyExists(const std::string& keyPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

}  // namespace test_platform
