// What a test needs to know about the platform it runs on: the simulated one (host build) or a real one
// (windows build under Wine). The same test sources use it on both.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace test_platform {

// A key under HKEY_CURRENT_USER that belongs to the tests alone.
constexpr const char* kScratchKey = "Software\\Optivue Tests";

bool IsSimulated();

// Removes the scratch key and everything below it. On the simulated platform the whole machine starts
// afresh (empty registry, English string table, empty journal).
void ResetScratch();

// Makes `lang` ("en" or "de") the string table's language. On a real system the language is the
// process's (chosen by the test runner, which names it in OPTIVUE_TEST_LANG); false when that is another.
bool UseLanguage(const std::string& lang);

// Raw registry access for setting up and checking stored values, bypassing the code under test.
void PutValue(const std::string& keyPath, const char* name, DWORD type, const std::vector<BYTE>& data);
void PutString(const std::string& keyPath, const char* name, const std::string& text);  // with its NUL
struct StoredValue {
    bool exists = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};
StoredValue GetValue(const std::string& keyPath, const char* name);
bool KeyExists(const std::string& keyPath);

}  // namespace test_platform
