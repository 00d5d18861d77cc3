// The simulated platform's own machinery: REGEDIT4 text, fault injection, the journal, resource scripts,
// system parameters, the window tree and its list view, the virtual clock, the system colours and the
// programs ShellExecuteExA starts, and their ends.
#include <commctrl.h>
#include <shellapi.h>
#include <simwin/sim.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
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
    reg.SetValue(colors, "Bare", REG_SZ, {'a', 'b'});  // a string without its NUL
    reg.SetValue(colors, "Expand", REG_EXPAND_SZ, {'%', 'A', '%', 0});
    reg.SetValue(colors, "Short", REG_DWORD, {1, 2});  // a "dword" of 2 bytes
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
    ASSERT_TRUE(reg.LoadRegText(
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"Long\"=hex:01,02,\\\r\n  03,04\r\n"
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
    EXPECT_EQ(
        "say \"OK\"\nnext\ttab gro\xDF"
        "A",
        *tables.Row(7));
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

TEST_F(SimwinTest, AMetricsRecordIsTakenOnlyWithItsSizeInTheArgumentAndInTheRecord) {
    NONCLIENTMETRICSA nonClient;
    ICONMETRICSA icon;
    struct Case {
        const char* label;
        UINT action;
        void* record;
        UINT* cbSize;
        UINT size;
        UINT uiParam;
        UINT recordSize;
        BOOL result;
    };
    const std::vector<Case> cases = {
        {"GET non-client", SPI_GETNONCLIENTMETRICS, &nonClient, &nonClient.cbSize, 340, 340, 340, TRUE},
        {"GET non-client, argument 344", SPI_GETNONCLIENTMETRICS, &nonClient, &nonClient.cbSize, 340, 344, 340, FALSE},
        {"GET non-client, record 344", SPI_GETNONCLIENTMETRICS, &nonClient, &nonClient.cbSize, 340, 340, 344, FALSE},
        {"SET non-client, argument 0", SPI_SETNONCLIENTMETRICS, &nonClient, &nonClient.cbSize, 340, 0, 340, FALSE},
        {"GET icon", SPI_GETICONMETRICS, &icon, &icon.cbSize, 76, 76, 76, TRUE},
        {"GET icon, record 75", SPI_GETICONMETRICS, &icon, &icon.cbSize, 76, 76, 75, FALSE},
        {"SET icon, argument 0", SPI_SETICONMETRICS, &icon, &icon.cbSize, 76, 0, 76, FALSE},
        {"GET icon without a record", SPI_GETICONMETRICS, nullptr, nullptr, 76, 76, 76, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        simwin::Reset();
        const simwin::SystemParameters before = machine().parameters;
        if (c.record) {
            std::memset(c.record, 0x5A, c.size);
            *c.cbSize = c.recordSize;
        }
        EXPECT_EQ(c.result, SystemParametersInfoA(c.action, c.uiParam, c.record, 0));
        if (!c.result) {
            EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
            if (c.record) {
                EXPECT_EQ(0x5A5A5A5Au, reinterpret_cast<const DWORD*>(c.record)[1]) << "a failed GET wrote";
            }
        }
        EXPECT_EQ(0, std::memcmp(&before.nonClientMetrics, &machine().parameters.nonClientMetrics, 340));
        EXPECT_EQ(0, std::memcmp(&before.iconMetrics, &machine().parameters.iconMetrics, 76));
    }
}

TEST_F(SimwinTest, SystemParametersKeepWhatWasSetAndRefuseActionsTheyDoNotKnow) {
    ICONMETRICSA icon = machine().parameters.iconMetrics;
    icon.iHorzSpacing = 130;
    ASSERT_TRUE(SystemParametersInfoA(SPI_SETICONMETRICS, sizeof icon, &icon, SPIF_UPDATEINIFILE));
    ICONMETRICSA read;
    read.cbSize = sizeof read;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETICONMETRICS, sizeof read, &read, 0));
    EXPECT_EQ(130, read.iHorzSpacing);

    RECT area = {1, 2, 3, 4};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ((std::vector<LONG>{0, 0, 1024, 738}), (std::vector<LONG>{area.left, area.top, area.right, area.bottom}));

    EXPECT_FALSE(SystemParametersInfoA(0x1234, 0, nullptr, 0));
    EXPECT_EQ(DWORD(ERROR_INVALID_SPI_VALUE), GetLastError());
    EXPECT_EQ("SystemParametersInfoA(0x1234, 0, NULL, 0x0) -> 0", machine().journal.Lines().back());
}

TEST_F(SimwinTest, AFaultCanNameOneVariantOfACallAndCountsOnlyThoseCalls) {
    simwin::CreateDesktop();
    machine().faults.FailAll("SystemParametersInfoA:SPI_GETWORKAREA", ERROR_INVALID_SPI_VALUE);
    machine().faults.FailNth("SendMessageA:LVM_ARRANGE", 2);
    RECT area;
    EXPECT_FALSE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(DWORD(ERROR_INVALID_SPI_VALUE), GetLastError());
    EXPECT_TRUE(SystemParametersInfoA(SPI_SETCURSORS, 0, nullptr, 3));

    HWND view =
        FindWindowExA(FindWindowExA(FindWindowExA(nullptr, nullptr, "Progman", nullptr), nullptr, nullptr, nullptr),
                      nullptr, nullptr, nullptr);
    EXPECT_EQ(TRUE, SendMessageA(view, LVM_ARRANGE, LVA_ALIGNLEFT, 0));
    EXPECT_EQ(0, SendMessageA(view, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));  // another message: not counted
    EXPECT_EQ(FALSE, SendMessageA(view, LVM_ARRANGE, LVA_ALIGNLEFT, 0));
    EXPECT_EQ(TRUE, SendMessageA(view, LVM_ARRANGE, LVA_ALIGNLEFT, 0));
    EXPECT_EQ((std::vector<WPARAM>{LVA_ALIGNLEFT, LVA_ALIGNLEFT}),
              machine().windows.Find(view)->listView->arrangements);
}

TEST_F(SimwinTest, FindWindowExASearchesOneLevelByClassAndTitleWithoutRegardToCase) {
    auto& windows = machine().windows;
    HWND first = windows.Create("Progman", "Program Manager", nullptr, WS_VISIBLE);
    HWND shellView = windows.Create("SHELLDLL_DefView", "", first, WS_CHILD);
    HWND titled = windows.Create("SHELLDLL_DefView", "Titled", first, WS_CHILD);
    HWND second = windows.Create("Progman", "Program Manager", nullptr, WS_VISIBLE);
    HWND nested = windows.Create("Nested", "", shellView, WS_CHILD);
    const struct {
        const char* label;
        HWND parent;
        HWND after;
        const char* className;
        const char* title;
        HWND found;
    } cases[] = {
        {"top level by class and title", nullptr, nullptr, "Progman", "Program Manager", first},
        {"class and title in other case", nullptr, nullptr, "PROGMAN", "program manager", first},
        {"after the first", nullptr, first, "Progman", "Program Manager", second},
        {"after the last", nullptr, second, "Progman", nullptr, nullptr},
        {"a null title matches any", first, nullptr, "SHELLDLL_DefView", nullptr, shellView},
        {"the empty title matches only an empty one", first, shellView, "SHELLDLL_DefView", "", nullptr},
        {"a title", first, nullptr, "SHELLDLL_DefView", "Titled", titled},
        {"a null class matches any", first, nullptr, nullptr, "Titled", titled},
        {"children only, not grandchildren", first, nullptr, "Nested", nullptr, nullptr},
        {"a top-level search sees no children", nullptr, nullptr, "SHELLDLL_DefView", nullptr, nullptr},
        {"in a child", shellView, nullptr, "nested", "", nested},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.found, FindWindowExA(c.parent, c.after, c.className, c.title));
    }
    SetLastError(0);
    EXPECT_EQ(nullptr, FindWindowExA(reinterpret_cast<HWND>(0x99), nullptr, nullptr, nullptr));
    EXPECT_EQ(DWORD(ERROR_INVALID_WINDOW_HANDLE), GetLastError());
}

TEST_F(SimwinTest, TheIconViewAnswersTheListViewMessagesAsTheCommonControlDoes) {
    const simwin::Desktop desktop = simwin::CreateDesktop(LVS_EX_SNAPTOGRID);
    HWND view = desktop.iconView;
    EXPECT_EQ(LRESULT(LVS_EX_SNAPTOGRID), SendMessageA(view, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(LRESULT(LVS_EX_SNAPTOGRID), SendMessageA(view, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_SNAPTOGRID, 0));
    EXPECT_EQ(0, SendMessageA(view, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));

    EXPECT_EQ(LRESULT(MAKELONG(75, 75)), SendMessageA(view, LVM_SETICONSPACING, 0, MAKELPARAM(107, 96)));
    EXPECT_EQ(LRESULT(MAKELONG(107, 96)), SendMessageA(view, LVM_SETICONSPACING, 0, MAKELPARAM(0, 80)));  // 0 keeps
    EXPECT_EQ(LRESULT(MAKELONG(107, 80)), SendMessageA(view, LVM_GETITEMSPACING, FALSE, 0));

    const struct {
        const char* label;
        LONG viewType;
        WPARAM code;
        LRESULT result;
    } arrangements[] = {
        {"left-aligned in the icon view", LVS_ICON, LVA_ALIGNLEFT, TRUE},
        {"on the grid in the small-icon view", LVS_SMALLICON, LVA_SNAPTOGRID, TRUE},
        {"in the report view", LVS_REPORT, LVA_DEFAULT, FALSE},
        {"by an unknown code", LVS_ICON, 3, FALSE},
    };
    simwin::Window& window = *machine().windows.Find(view);
    const LONG otherStyles = window.style & ~LVS_TYPEMASK;
    for (const auto& c : arrangements) {
        SCOPED_TRACE(c.label);
        window.style = otherStyles | c.viewType;
        EXPECT_EQ(c.result, SendMessageA(view, LVM_ARRANGE, c.code, 0));
    }
    EXPECT_EQ((std::vector<WPARAM>{LVA_ALIGNLEFT, LVA_SNAPTOGRID}), window.listView->arrangements);

    EXPECT_EQ(0, SendMessageA(desktop.shellView, LVM_GETITEMSPACING, FALSE, 0)) << "not a list view";
    SetLastError(0);
    EXPECT_EQ(0, SendMessageA(reinterpret_cast<HWND>(0x99), LVM_ARRANGE, LVA_ALIGNLEFT, 0));
    EXPECT_EQ(DWORD(ERROR_INVALID_WINDOW_HANDLE), GetLastError());
}

TEST_F(SimwinTest, SleepAdvancesTheVirtualClockAtOnceAndIsJournalled) {
    Sleep(500);
    Sleep(0);
    Sleep(1500);
    EXPECT_EQ(2000u, machine().clock.NowMs());
    EXPECT_EQ((std::vector<std::string>{"Sleep(500) -> 0", "Sleep(0) -> 0", "Sleep(1500) -> 0"}),
              machine().journal.Lines());
}

TEST_F(SimwinTest, ClockActionsRunOnceEachAtTheSleepThatReachesThemEarliestFirst) {
    std::vector<std::string> ran;
    machine().clock.At(250, [&] { ran.push_back("250"); });
    machine().clock.At(100, [&] {
        ran.push_back("100");
        machine().clock.At(150, [&] { ran.push_back("150 from 100"); });
    });
    machine().clock.At(1000, [&] { ran.push_back("1000"); });
    Sleep(99);
    EXPECT_TRUE(ran.empty());
    Sleep(151);
    EXPECT_EQ((std::vector<std::string>{"100", "150 from 100", "250"}), ran);
    Sleep(5000);
    Sleep(5000);
    EXPECT_EQ((std::vector<std::string>{"100", "150 from 100", "250", "1000"}), ran);
}

TEST_F(SimwinTest, ASentMessageWakesOnlyAWaitThatWatchesForItAndIsAnsweredOnlyByPeekMessage) {
    std::vector<uint64_t> answeredAt;
    machine().sentMessages.At(300, [&] { answeredAt.push_back(machine().clock.NowMs()); });
    Sleep(400);  // a plain sleep answers nothing
    EXPECT_TRUE(answeredAt.empty());
    // Sent before the wait began: it wakes the wait at once.
    EXPECT_EQ(DWORD(WAIT_OBJECT_0), MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_SENDMESSAGE));
    EXPECT_EQ(400u, machine().clock.NowMs());
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE));
    EXPECT_EQ((std::vector<uint64_t>{400}), answeredAt);

    machine().sentMessages.At(700, [&] { answeredAt.push_back(machine().clock.NowMs()); });
    EXPECT_EQ(DWORD(WAIT_TIMEOUT), MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, 0)) << "not watched for";
    EXPECT_EQ(1400u, machine().clock.NowMs());
    machine().sentMessages.At(1600, [&] { answeredAt.push_back(machine().clock.NowMs()); });
    // Sent during the wait: the wait ends when it is sent. A PM_QS_* filter without sent messages leaves it.
    EXPECT_EQ(DWORD(WAIT_OBJECT_0), MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_SENDMESSAGE));
    EXPECT_EQ(1400u, machine().clock.NowMs()) << "the message of 700 was still waiting";
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | (QS_POSTMESSAGE << 16));
    EXPECT_EQ(1u, answeredAt.size());
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    EXPECT_EQ(DWORD(WAIT_OBJECT_0), MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_SENDMESSAGE));
    EXPECT_EQ(1600u, machine().clock.NowMs());
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    EXPECT_EQ((std::vector<uint64_t>{400, 1400, 1600}), answeredAt);
    EXPECT_EQ(DWORD(WAIT_TIMEOUT), MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_SENDMESSAGE));
    EXPECT_EQ(1700u, machine().clock.NowMs());
}

TEST_F(SimwinTest, SystemColoursHaveBrushesWhereTheMachineSaysAndSetSysColorsIsAllOrNothing) {
    machine().display.noBrush[COLOR_WINDOW] = true;
    EXPECT_NE(nullptr, GetSysColorBrush(COLOR_3DFACE));
    EXPECT_NE(GetSysColorBrush(COLOR_3DFACE), GetSysColorBrush(COLOR_HIGHLIGHT));
    EXPECT_EQ(nullptr, GetSysColorBrush(COLOR_WINDOW));
    EXPECT_EQ(nullptr, GetSysColorBrush(31));
    EXPECT_EQ(nullptr, GetSysColorBrush(-1));
    EXPECT_EQ(RGB(236, 233, 216), GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(0u, GetSysColor(31));

    const INT valid[] = {COLOR_3DFACE, COLOR_MENUBAR};
    const INT oneInvalid[] = {COLOR_HIGHLIGHT, 31};
    const COLORREF colors[] = {RGB(1, 2, 3), RGB(4, 5, 6)};
    EXPECT_TRUE(SetSysColors(2, valid, colors));
    EXPECT_FALSE(SetSysColors(2, oneInvalid, colors));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_EQ(RGB(1, 2, 3), GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(RGB(4, 5, 6), GetSysColor(COLOR_MENUBAR));
    EXPECT_EQ(RGB(49, 106, 197), GetSysColor(COLOR_HIGHLIGHT)) << "a refused call sets nothing";
    EXPECT_EQ((std::vector<std::string>{"SetSysColors(2, 15=0x30201 30=0x60504) -> 1",
                                        "SetSysColors(2, 13=0x30201 31=0x60504) -> 0"}),
              machine().journal.LinesOf("SetSysColors"));

    simwin::StoreColorKey();
    const std::string key = "HKEY_CURRENT_USER\\Control Panel\\Colors";
    EXPECT_EQ(31u, machine().registry.Find(key)->values.size());
    EXPECT_EQ("1 2 3", machine().registry.String(key, "ButtonFace").value_or("?"));
    EXPECT_EQ("0 78 152", machine().registry.String(key, "Background").value_or("?"));
    EXPECT_EQ(std::string("MenuBar"), simwin::ColorValueName(COLOR_MENUBAR));
}

TEST_F(SimwinTest, ShellExecuteExAStartsOnlyAFileOfTheMachineAndItsHandleSeesTheProgramEnd) {
    const char* tool = "C:\\Program Files\\Korvani\\Brontype\\chgtheme.exe";
    machine().kernel.AddFile(tool);
    std::vector<std::string> started;
    machine().shell.onStart = [&](const std::string& file, const std::string& parameters) {
        started.push_back(file + " | " + parameters);
        machine().shell.runsForMs = 700;
        machine().shell.exitCode = 4;
    };

    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_ARCHIVE), GetFileAttributesA("c:\\program files\\korvani\\brontype\\CHGTHEME.EXE"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("chgtheme.exe"));
    EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), GetLastError());

    auto start = [](const char* file) {
        SHELLEXECUTEINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_NOCLOSEPROCESS;
        info.hProcess = reinterpret_cast<HANDLE>(0xDEAD);
        info.lpVerb = "open";
        info.lpFile = file;
        info.lpParameters = "LargeFonts";
        info.nShow = SW_SHOW;
        const BOOL result = ShellExecuteExA(&info);
        return std::make_pair(result, info.hProcess);
    };
    const auto [refused, none] = start("chgtheme");
    EXPECT_EQ(FALSE, refused);
    EXPECT_EQ(nullptr, none) << "a failed start hands back no handle";
    const auto [ok, process] = start(tool);
    ASSERT_EQ(TRUE, ok);
    ASSERT_NE(nullptr, process);
    EXPECT_EQ((std::vector<std::string>{std::string(tool) + " | LargeFonts"}), started);

    // Running until 700 ms on the clock; a wait wakes at its end, and then its exit code is there.
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeProcess(process, &code));
    EXPECT_EQ(DWORD(STILL_ACTIVE), code);
    EXPECT_EQ(DWORD(WAIT_TIMEOUT), MsgWaitForMultipleObjects(1, &process, FALSE, 300, QS_SENDMESSAGE));
    EXPECT_EQ(300u, machine().clock.NowMs());
    EXPECT_EQ(DWORD(WAIT_OBJECT_0), MsgWaitForMultipleObjects(1, &process, FALSE, 5000, QS_SENDMESSAGE));
    EXPECT_EQ(700u, machine().clock.NowMs());
    ASSERT_TRUE(GetExitCodeProcess(process, &code));
    EXPECT_EQ(4u, code);
    EXPECT_TRUE(CloseHandle(process));
    EXPECT_FALSE(GetExitCodeProcess(process, &code)) << "a closed handle";
    EXPECT_TRUE(machine().shell.processes.empty());
}

}  // namespace
