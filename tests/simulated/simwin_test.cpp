// The simulated platform's own machinery: REGEDIT4 text, fault injection, the journal, resource scripts.
#include <simwin/sim.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using simwin::machine;

class SimwinTest : public testing::Test {
protected:
    void SetUp() override { simwin::Reset(); }
};

TEST_F(SimwinTest, RegTextRoundTripsEveryKindOfValue) {
    auto& reg = machine().registry;
    const std::string colors = "HKEY_CURRENT_USER\\Control Panel\\Colors";
    reg.SetString(colors, "ActiveBorder", "212 208 200");
    reg.SetString(colors, "", "default \"quoted\" \\ back");
    reg.SetString(colors, "German", "Windows-Standard (gro\xDF)");
    reg.SetDword(colors, "Number", 0x12345678);
    reg.SetValue(colors, "Binary", REG_BINARY, {0, 1, 0xFF});
    reg.SetValue(colors, "Bare", REG_SZ, {'a', 'b'});                       // a string without its NUL
    reg.SetValue(colors, "Expand", REG_EXPAND_SZ, {'%', 'A', '%', 0});
    reg.SetValue(colors, "Short", REG_DWORD, {1, 2});                       // a "dword" of 2 bytes
    reg.SetValue(colors, "Empty", REG_SZ, {});
    reg.Ensure("HKEY_CURRENT_USER\\Software\\Empty Key");
    reg.SetString("HKEY_LOCAL_MACHINE\\Software\\X", "Y", "z");

    const std::string text = reg.SaveRegText();
    simwin::Registry copy;
    std::string error;
    ASSERT_TRUE(copy.LoadRegText(text, &error)) << error;
    EXPECT_EQ(text, copy.SaveRegText());
    for (const auto& value : reg.Find(colors)->values) {
        SCOPED_TRACE(value.name);
        const simwin::RegValue* loaded = copy.Value(colors, value.name);
        ASSERT_NE(nullptr, loaded);
        EXPECT_EQ(value.type, loaded->type);
        EXPECT_EQ(value.data, loaded->data);
    }
    EXPECT_NE(nullptr, copy.Find("HKCU\\software\\empty key"));
}

TEST_F(SimwinTest, RegTextLoadsWrappedHexDeletionsAndRefusesMalformedLines) {
    auto& reg = machine().registry;
    std::string error;
    ASSERT_TRUE(reg.LoadRegText("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"Long\"=hex:01,02,\\\r\n  03,04\r\n"
                                "\"Gone\"=\"x\"\r\n\"Gone\"=-\r\n\r\n[HKEY_CURRENT_USER\\A\\B]\r\n\r\n[-HKEY_CURRENT_USER\\A\\B]\r\n",
                                &error))
        << error;
    EXPECT_EQ((std::vector<BYTE>{1, 2, 3, 4}), reg.Value("HKCU\\A", "Long")->data);
    EXPECT_EQ(nullptr, reg.Value("HKCU\\A", "Gone"));
    EXPECT_EQ(nullptr, reg.Find("HKCU\\A\\B"));

    for (const char* bad : {"REGEDIT5\n", "REGEDIT4\n\"x\"=\"y\"\n", "REGEDIT4\n[HKEY_NOWHERE\\A]\n",
                            "REGEDIT4\n[HKCU\\A]\n\"x\"=dword:123\n", "REGEDIT4\n[HKCU\\A]\n\"x\"=hex:1g\n",
                            "REGEDIT4\n[HKCU\\A]\n\"x\"=\"unterminated\n", "REGEDIT4\n[HKCU\\A]\n\"x\"=word:1\n"}) {
        SCOPED_TRACE(bad);
        simwin::Registry fresh;
        EXPECT_FALSE(fresh.LoadRegText(bad, &error));
        EXPECT_FALSE(error.empty());
    }
}

TEST_F(SimwinTest, FaultsFailTheChosenCallsWithTheirOwnErrorsAndCountFromWhenTheyAreSet) {
    auto& faults = machine().faults;
    HKEY key = nullptr;
    auto open = [&] { return RegOpenKeyExA(HKEY_CURRENT_USER, "", 0, KEY_QUERY_VALUE, &key); };
    ASSERT_EQ(ERROR_SUCCESS, open());
    RegCloseKey(key);

    faults.FailNth("RegOpenKeyExA", 2);
    EXPECT_EQ(ERROR_SUCCESS, open());
    RegCloseKey(key);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, open());
    EXPECT_EQ(ERROR_SUCCESS, open());
    RegCloseKey(key);

    faults.Clear();
    faults.FailAll("RegOpenKeyExA", ERROR_ACCESS_DENIED);
    EXPECT_EQ(ERROR_ACCESS_DENIED, open());
    EXPECT_EQ(ERROR_ACCESS_DENIED, open());

    faults.Clear();
    faults.FailCallNumber(2);  // the open succeeds, the close after it is the second call
    EXPECT_EQ(ERROR_SUCCESS, open());
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(key));
    EXPECT_EQ(0u, machine().registry.OpenHandleCount());
}

TEST_F(SimwinTest, TheJournalRecordsEveryCallWithArgumentsAndResult) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Cursors", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
    RegCloseKey(key);
    RegCloseKey(key);
    EXPECT_EQ((std::vector<std::string>{
                  "RegCreateKeyExA(HKCU, \"Control Panel\\\\Cursors\", NULL, 0, 0xF003F, NULL => hkey#1) -> 0",
                  "RegSetValueExA(hkey#1, \"\", 1, 2) -> 0",
                  "RegCloseKey(hkey#1) -> 0",
                  "RegCloseKey(hkey#1) -> 6",
              }),
              machine().journal.Lines());
}

TEST_F(SimwinTest, ResourceScriptsGiveEscapesQuotesAndLanguagesAsTheResourceCompilerDoes) {
    const std::string path = testing::TempDir() + "simwin_strings.rc";
    {
        std::ofstream out(path, std::ios::binary);
        out << "// comment\n#include <windows.h>\nLANGUAGE LANG_GERMAN, SUBLANG_GERMAN\nSTRINGTABLE\nBEGIN\n"
               "    7 \"say \"\"OK\"\"\\nnext\\ttab gro\\xdf\\x41\"\n    8, \"comma form\"\nEND\n";
    }
    simwin::StringTables tables;
    std::string error;
    ASSERT_TRUE(tables.LoadResourceScript(path, &error)) << error;
    tables.SetLanguage(simwin::StringTables::kGerman);
    ASSERT_NE(nullptr, tables.Row(7));
    EXPECT_EQ("say \"OK\"\nnext\ttab gro\xDF" "A", *tables.Row(7));
    EXPECT_EQ("comma form", *tables.Row(8));

    {
        std::ofstream out(path, std::ios::binary);
        out << "STRINGTABLE\nBEGIN\n    7 \"no language\"\nEND\n";
    }
    EXPECT_FALSE(simwin::StringTables().LoadResourceScript(path, &error));
    {
        std::ofstream out(path, std::ios::binary);
        out << "LANGUAGE 9, 1\nSTRINGTABLE\nBEGIN\n    7 \"open\n";
    }
    EXPECT_FALSE(simwin::StringTables().LoadResourceScript(path, &error));
    std::remove(path.c_str());
}

}  // namespace
