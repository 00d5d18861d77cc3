// The simulated Win32 platform's control surface for tests: the in-memory machine behind <windows.h>,
// its journal of platform calls, its virtual clock and its fault injection.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace simwin {

// ---- Journal: every platform call with its arguments and result, in order ----
struct JournalEntry {
    std::string call;  // "RegOpenKeyExA"
    std::string args;  // HKCU, "Control Panel\\Colors", 0, 0x1
    long long result;  // the call's return value
    // What the call found, when it found something: the handle it opened ("hkey#1"), the window
    // ("hwnd#3"), the value name it enumerated or the path it gave, quoted; empty otherwise.
    std::string found;
    // A number the call found: the value count of RegQueryInfoKeyA, the answer to a message SendMessageTimeoutA
    // delivered; -1 for every other call.
    long long count = -1;
    // Registry calls: the key's path below its root, as the program named it (the path a call opened or
    // created, or the path of the opened key a call works on), and the value's name ("" when none).
    std::string keyPath;
    std::string valueName;

    // RegOpenKeyExA(HKCU, "Control Panel\\Colors", 0, 0x1 => hkey#1) -> 0
    std::string Line() const;
};

class Journal {
public:
    void Record(std::string call, std::string args, long long result);
    void Record(JournalEntry entry);
    const std::vector<JournalEntry>& Entries() const { return entries_; }
    std::vector<std::string> Calls() const;  // the call names only
    std::vector<std::string> Lines() const;  // the whole lines
    std::vector<std::string> LinesOf(const std::string& call) const;
    void Clear() { entries_.clear(); }

private:
    std::vector<JournalEntry> entries_;
};

// ---- Fault injection ----
// A call asks Check() before it acts; a matching fault makes it fail with the given error, the way the
// real call fails (its own return convention, the error as its result or through GetLastError).
// A rule names a call ("SystemParametersInfoA") or one variant of a call that does several things, the
// call and the variant joined by a colon ("SystemParametersInfoA:SPI_GETICONMETRICS",
// "SendMessageA:LVM_ARRANGE"); the n-th of FailNth counts the calls the rule names.
class Faults {
public:
    static constexpr long kNaturalError = -1;  // use the call's own usual failure code

    Faults() = default;
    Faults(const Faults&) = delete;  // what it was asked points into its own counts
    Faults& operator=(const Faults&) = delete;

    void FailAll(const std::string& call, long error = kNaturalError);
    void FailNth(const std::string& call, int nth, long error = kNaturalError);  // 1-based, counted from now
    void FailCallNumber(int nth, long error = kNaturalError);  // the nth platform call of any kind, counted from now
    void Clear();

    // Used by the platform. Counts the call; returns the error to fail with, if any.
    std::optional<long> Check(std::string_view call, long naturalError, std::string_view variant = {});

    // Since the last Clear: how many calls could have been failed, and the n-th of them (1-based, the
    // number FailCallNumber takes) named as a rule names it, with its variant where it has one
    // ("SystemParametersInfoA:SPI_GETICONMETRICS"), so that a sweep can fail each in turn; and how many
    // calls were failed.
    size_t AskedCount() const { return asked_.size(); }
    const std::string& AskedCall(size_t n) const { return *asked_.at(n - 1); }
    int FailedCount() const { return failed_; }

private:
    struct Rule {
        std::string call;  // empty: any call
        int nth;           // 0: every call
        long error;
    };
    std::vector<Rule> rules_;
    std::map<std::string, int, std::less<>> perCall_;
    // The counts found by the address of the name's text first (the platform names its calls with literals),
    // then by the name: a sweep asks about the same calls thousands of times a run.
    std::vector<std::pair<const char*, std::map<std::string, int, std::less<>>::iterator>> byAddress_;
    int anyCall_ = 0;
    std::vector<const std::string*> asked_;  // keys of perCall_, which stay where they are
    int failed_ = 0;
};

// ---- Virtual clock: Sleep advances it without waiting ----
// Things that happen meanwhile outside the program (another process changing the system colours, for
// instance) are actions scheduled on the clock: each runs once, when an advance reaches its time.
class Clock {
public:
    uint64_t NowMs() const { return nowMs_; }
    // Moves the time on by `ms`, then runs every action that has fallen due, earliest first.
    void Advance(uint64_t ms);
    void At(uint64_t atMs, std::function<void()> action);
    std::optional<uint64_t> NextActionMs() const;

private:
    uint64_t nowMs_ = 0;
    std::multimap<uint64_t, std::function<void()>> pending_;
};

// ---- Messages that other threads send to the program's windows ----
// Another thread's SendMessage (a broadcast of a colour or setting change, say) returns only once the
// program's thread has answered it. A wait that watches for sent messages (MsgWaitForMultipleObjects with
// QS_SENDMESSAGE) wakes when one is sent, PeekMessageA answers it; Sleep answers nothing. Each message is
// an action that runs when it is answered: what its sender does once its call returns.
class SentMessages {
public:
    void At(uint64_t sentAtMs, std::function<void()> onAnswered);
    std::optional<uint64_t> EarliestMs() const;
    // Answers every message sent by `nowMs`, earliest first.
    void AnswerSentBy(uint64_t nowMs);

private:
    std::multimap<uint64_t, std::function<void()>> pending_;
};

// ---- Registry ----
struct RegValue {
    std::string name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct RegKey {
    std::string name;
    std::vector<RegValue> values;  // in the order they were created, as Windows enumerates them
    std::vector<std::shared_ptr<RegKey>> subkeys;
    bool denyRead = false;   // opening for query or enumeration fails with ERROR_ACCESS_DENIED
    bool denyWrite = false;  // opening for set, create or delete fails with ERROR_ACCESS_DENIED

    RegValue* FindValue(const std::string& valueName);
    std::shared_ptr<RegKey> FindSubkey(const std::string& keyName) const;
};

class Registry {
public:
    Registry();

    // Paths name the root in full: "HKEY_CURRENT_USER\\Control Panel\\Colors".
    std::shared_ptr<RegKey> Find(const std::string& fullPath) const;
    std::shared_ptr<RegKey> Ensure(const std::string& fullPath);
    bool Remove(const std::string& fullPath);  // the key and everything below it

    void SetValue(const std::string& fullPath, const std::string& name, DWORD type, std::vector<BYTE> data);
    void SetString(const std::string& fullPath, const std::string& name, const std::string& text,
                   DWORD type = REG_SZ);  // stored with its NUL
    void SetDword(const std::string& fullPath, const std::string& name, DWORD value);
    const RegValue* Value(const std::string& fullPath, const std::string& name) const;
    std::optional<std::string> String(const std::string& fullPath,
                                      const std::string& name) const;  // up to the first NUL
    void SetAccess(const std::string& fullPath, bool canRead, bool canWrite);

    // REGEDIT4 text, as the registry editor exports and imports it (ANSI, one value per line).
    bool LoadRegText(const std::string& text, std::string* error = nullptr);
    std::string SaveRegText() const;

    // Handles, each with the path below its root that the program named ("" for a root).
    HKEY OpenHandle(std::shared_ptr<RegKey> key, REGSAM access, std::string path);
    struct Handle {
        std::shared_ptr<RegKey> key;
        REGSAM access;
        std::string path;
    };
    const Handle* Lookup(HKEY key) const;  // root handles and open handles
    bool CloseHandle(HKEY key);
    size_t OpenHandleCount() const { return handles_.size(); }
    std::string HandleName(HKEY key) const;  // HKCU, or hkey#3 for an opened one

    std::shared_ptr<RegKey> Root(HKEY predefined) const;

private:
    std::map<std::string, std::shared_ptr<RegKey>> roots_;  // by upper-case full root name
    std::map<uintptr_t, Handle> handles_;
    mutable std::map<uintptr_t, Handle> rootHandles_;
    uintptr_t nextHandle_ = 0x1000;
};

// ---- String tables of res/, in either language ----
class StringTables {
public:
    enum : WORD { kEnglish = 0x0409, kGerman = 0x0407 };

    // Reads the STRINGTABLE blocks of one resource script, with its LANGUAGE statement.
    bool LoadResourceScript(const std::string& path, std::string* error = nullptr);
    void SetLanguage(WORD langId) { language_ = langId; }
    WORD Language() const { return language_; }
    const std::string* Row(UINT id) const;                // the row of the current language, as ANSI bytes
    void SetRow(WORD langId, UINT id, std::string text);  // for a test that needs a broken table
    void RemoveRow(WORD langId, UINT id);

private:
    std::map<WORD, std::map<UINT, std::string>> tables_;
    WORD language_ = kEnglish;
};

// ---- Display: the system colours and their brushes, the foreground window ----
struct Display {
    static constexpr int kColorCount = 31;  // COLOR_SCROLLBAR (0) to COLOR_MENUBAR (30)

    // Windows XP's standard colours, a brush for every index, no foreground window.
    Display();

    COLORREF colors[kColorCount];
    bool noBrush[kColorCount] = {};  // GetSysColorBrush returns null for these indices
    HWND foreground = nullptr;       // what GetForegroundWindow reports
};

// The names under which Windows keeps each colour in "Control Panel\Colors" ("Scrollbar" for 0 ...
// "MenuBar" for 30), and the REG_SZ text it stores for a colour: "R G B" in decimal.
const char* ColorValueName(int index);
std::string ColorText(COLORREF color);
// Fills HKEY_CURRENT_USER\Control Panel\Colors with the display's colours as Windows keeps them.
void StoreColorKey();

// ---- Shell: programs that ShellExecuteA starts ----
struct Shell {
    // Plays the program that ShellExecuteA starts (a file of the kernel's), with the file as given and the
    // parameters; it may change the machine at once or schedule changes on the clock.
    std::function<void(const std::string& file, const std::string& parameters)> onStart;
    // How the started program ends, which onStart may set: after `runsForMs` on the clock, with `exitCode`.
    DWORD runsForMs = 0;
    DWORD exitCode = 0;
    // The programs started with their handle kept (ShellExecuteExA), by handle: when each ends, its code.
    struct Process {
        uint64_t endsAtMs;
        DWORD exitCode;
    };
    std::map<uintptr_t, Process> processes;
    uintptr_t nextProcess = 0x3000;
};

// ---- System parameters: what SystemParametersInfoA reads and sets ----
struct SystemParameters {
    // Windows XP in classic style with the standard scheme at normal size, on a 1024 x 768 screen whose
    // taskbar takes the bottom 30 pixels.
    SystemParameters();

    NONCLIENTMETRICSA nonClientMetrics;  // the 340-byte form
    ICONMETRICSA iconMetrics;
    RECT workArea;
    // How often the system reloaded its icons (SPI_SETICONS) and its pointers (SPI_SETCURSORS) from what
    // the registry holds.
    int iconReloads = 0;
    int cursorReloads = 0;
};

// ---- Windows: the tree that FindWindowExA searches, and the list views in it ----
// What a list-view window (class "SysListView32") keeps of the messages it was sent.
struct ListViewState {
    bool redraw = true;  // WM_SETREDRAW: whether the view draws its changes
    DWORD extendedStyle = 0;
    int iconSpacingX = 75;  // what LVM_GETITEMSPACING reports for the icon view
    int iconSpacingY = 75;
    std::vector<WPARAM> arrangements;  // the LVM_ARRANGE codes it carried out, in order
    bool hung = false;                 // its thread answers no message: SendMessageTimeoutA times out
};

struct Window {
    HWND handle = nullptr;
    std::string className;
    std::string title;
    HWND parent = nullptr;                  // null for a top-level window
    LONG style = 0;                         // what GWL_STYLE reads
    std::optional<ListViewState> listView;  // present for the list-view class
    std::optional<INT_PTR> dialogResult;    // what EndDialog ended it with
};

class WindowTree {
public:
    // A new window, the last of its parent's children (null parent: the last top-level window). A
    // window of the class "SysListView32" (in any case) gets a list view's state.
    HWND Create(const std::string& className, const std::string& title, HWND parent, LONG style);
    Window* Find(HWND window);
    // The children of `parent` in the order FindWindowExA visits them (null: the top-level windows).
    std::vector<HWND> Children(HWND parent) const;
    std::string HandleName(HWND window) const;  // hwnd#2, or NULL

private:
    std::vector<std::unique_ptr<Window>> windows_;  // in creation order; handles are hwnd#1, #2 ...
};

// The shell's desktop as Windows 2000 and XP build it: the top-level "Progman" titled "Program Manager",
// in it the empty-titled "SHELLDLL_DefView", in that the icon view, a "SysListView32" in the icon view
// type with the given extended style.
struct Desktop {
    HWND progman;
    HWND shellView;
    HWND iconView;
};
Desktop CreateDesktop(DWORD extendedStyle = 0);

// ---- The system's version, named mutexes and files ----
struct Kernel {
    // Windows XP Service Pack 2 (5.1.2600, the NT platform).
    Kernel();

    OSVERSIONINFOA version;  // what GetVersionExA reports

    // Named mutexes by name (case-sensitive, as the system compares them), each with the number of times
    // the program owns it, and the open handles, each to a mutex's name.
    std::map<std::string, int> mutexOwnership;
    std::map<uintptr_t, std::string> mutexHandles;
    uintptr_t nextHandle = 0x2000;

    // The files there are, by full path (compared without regard to case), and the user's Startup folder
    // as SHGetFolderPathW(CSIDL_STARTUP) gives it; both in UTF-8.
    std::vector<std::string> files;
    std::string startupFolder = "C:\\Documents and Settings\\User\\Start Menu\\Programs\\Startup";

    bool FileExists(const std::string& path) const;
    void AddFile(const std::string& path);
};

// ---- The machine ----
struct Machine {
    Registry registry;
    StringTables strings;
    SystemParameters parameters;
    WindowTree windows;
    Journal journal;
    Faults faults;
    Display display;
    Shell shell;
    Clock clock;
    SentMessages sentMessages;
    Kernel kernel;
    DWORD lastError = 0;
};

Machine& machine();
// A fresh machine: empty registry, the string tables of res/ loaded and set to English, the default
// system parameters, no windows, empty journal, no faults, clock at 0.
void Reset();

// Names as Windows compares them (registry keys and values, window classes and titles, file paths):
// without regard to the case of ASCII letters.
bool SameTextIgnoringCase(const std::string& a, const std::string& b);

// ---- Text: UTF-8 inside the machine, code page 1252 for the ANSI calls, UTF-16 for the wide ones ----
std::string Utf8FromAnsi(const char* ansi);
// A character that code page 1252 lacks becomes "?" and sets *replaced.
std::string AnsiFromUtf8(const std::string& utf8, bool* replaced = nullptr);
std::u16string Utf16FromUtf8(const std::string& utf8);
std::string Utf8FromUtf16(const WCHAR* wide);

// Helpers for writing journal arguments.
std::string Quote(const char* text);  // "text" with C escapes, or NULL
std::string Hex(unsigned long long value);

}  // namespace simwin
