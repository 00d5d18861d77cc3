#include "tests/support/journal_walk.h"

#include <shellapi.h>
#include <shlobj.h>

#include "settings/size_procedures.h"
#include "settings/string_rows.h"
#include "settings/visual_style.h"
#include "tests/support/registry_keys.h"
#include "tests/support/size_rows.h"
#include "tests/support/test_platform.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

namespace journal_walk {
namespace {

using simwin::machine;
using simwin::Quote;

const std::string kCurrentUser = "HKEY_CURRENT_USER\\";
const char* const kBrowserKey = test_keys::kBrowserScripts;
const char kMailKeyBelowIdentity[] = "\\Software\\Microsoft\\Outlook Express\\5.0\\Trident\\International\\1252";
const char* const kCursorsKey = test_keys::kCursors;
const char* const kAppearanceKey = test_keys::kAppearance;
const char* const kNewSchemesKey = test_keys::kNewSchemes;
const char* const kStandardSchemeKey = test_keys::kStandardScheme;
const char* const kWindowMetricsKey = test_keys::kWindowMetrics;
const char* const kColorsKey = test_keys::kColors;

constexpr int kPointerValues = 14;
constexpr size_t kLongestText = 255;
constexpr size_t kColorNameCapacity = 60;
constexpr size_t kColorDataCapacity = 30;
constexpr DWORD kColorValueCapacity = 50;
constexpr DWORD kLastEnumerationIndex = 1001;
constexpr int kWatchCycles = 50;

void CopyKey(const simwin::RegKey& from, const std::string& path, simwin::Registry* to) {
    to->Ensure(path)->values = from.values;
    for (const auto& sub : from.subkeys) CopyKey(*sub, path + "\\" + sub->name, to);
}

std::string TrimmedText(const std::string& text) {
    const char* blanks = " \t\r\n\v\f";
    const size_t begin = text.find_first_not_of(blanks);
    if (begin == std::string::npos) return "";
    return text.substr(begin, text.find_last_not_of(blanks) - begin + 1);
}

// A saved colour value as the system stores it written back: a text whose NUL the size leaves out gets it
// (the byte after its data in the saved entry is a NUL), any other value its bytes as they were.
Bytes WrittenBack(const simwin::RegValue& saved) {
    Bytes data = saved.data;
    const bool text = saved.type == REG_SZ || saved.type == REG_EXPAND_SZ || saved.type == REG_MULTI_SZ;
    if (text && !data.empty() && data.back() != 0) data.push_back(0);
    return data;
}

std::string SysColorPairs(const StyleSwitchSeen& seen) {
    std::string args = std::to_string(seen.pairIndices.size());
    for (size_t i = 0; i < seen.pairIndices.size(); ++i)
        args += std::string(i == 0 ? ", " : " ") + std::to_string(seen.pairIndices[i]) + "=" +
                simwin::Hex(seen.pairColors[i]);
    return args;
}

}  // namespace

const int kPreservedColorIndices[28] = {21, 15, 20, 22, 16, 10, 2,  12, 1, 18, 9, 27, 28, 17,
                                        13, 14, 26, 11, 3,  19, 24, 23, 4, 7,  0, 5,  6,  8};

std::optional<std::string> TextRead(const Bytes& stored) {
    if (stored.empty() || stored.size() > 256) return std::nullopt;
    const auto nul = std::find(stored.begin(), stored.end(), 0);
    const size_t length =
        nul != stored.end() ? static_cast<size_t>(nul - stored.begin()) : std::min(stored.size(), kLongestText);
    return std::string(stored.begin(), stored.begin() + static_cast<long>(length));
}

namespace {
const simwin::RegValue* FindValue(const simwin::RegKey& key, const std::string& name) {
    for (const simwin::RegValue& value : key.values)
        if (simwin::SameTextIgnoringCase(value.name, name)) return &value;
    return nullptr;
}

void CompareKeys(const simwin::RegKey* actual, const simwin::RegKey* expected, const std::string& path,
                 std::string* lines) {
    const simwin::RegKey none;
    const simwin::RegKey& a = actual ? *actual : none;
    const simwin::RegKey& e = expected ? *expected : none;
    for (const simwin::RegValue& value : a.values) {
        const simwin::RegValue* other = FindValue(e, value.name);
        if (!other)
            *lines += "  not expected: " + path + " [" + value.name + "]\n";
        else if (other->type != value.type || other->data != value.data)
            *lines += "  other type or bytes: " + path + " [" + value.name + "]\n";
    }
    for (const simwin::RegValue& value : e.values)
        if (!FindValue(a, value.name)) *lines += "  missing: " + path + " [" + value.name + "]\n";
    for (const auto& sub : a.subkeys)
        CompareKeys(sub.get(), e.FindSubkey(sub->name).get(), path + "\\" + sub->name, lines);
    for (const auto& sub : e.subkeys)
        if (!a.FindSubkey(sub->name)) CompareKeys(nullptr, sub.get(), path + "\\" + sub->name, lines);
}
}  // namespace

std::string Differences(const simwin::RegKey& actual, const simwin::RegKey& expected) {
    std::string lines;
    CompareKeys(&actual, &expected, actual.name, &lines);
    return lines;
}

// ---- Walk ----
Walk::Walk(const simwin::RegKey& before) { CopyKey(before, "HKEY_CURRENT_USER", &registry_); }

void Walk::Begin() {
    steps_.clear();
    for (const simwin::JournalEntry& entry : machine().journal.Entries())
        if (entry.call != "GetModuleHandleA") steps_.push_back(&entry);
    next_ = 0;
}

void Walk::End() {
    if (!lost_ && next_ != steps_.size()) Lose("no further step");
}

std::string Walk::Context() const {
    std::string lines;
    const size_t from = next_ > 3 ? next_ - 3 : 0;
    for (size_t i = from; i < std::min(steps_.size(), next_ + 4); ++i)
        lines += std::string(i == next_ ? "  > " : "    ") + steps_[i]->Line() + "\n";
    return lines;
}

void Walk::Lose(const std::string& expected) {
    lost_ = true;
    ADD_FAILURE() << "journal step " << next_ << " of " << steps_.size() << ": expected " << expected << "\n"
                  << Context();
}

long long Walk::Call(const std::string& call, const std::string& args, std::string* found) {
    if (found) found->clear();
    if (lost_) return 0;
    const simwin::JournalEntry* step = next_ < steps_.size() ? steps_[next_] : nullptr;
    if (!step || step->call != call || step->args != args) {
        Lose(call + "(" + args + ")");
        return 0;
    }
    ++next_;
    if (found) *found = step->found;
    return step->result;
}

const simwin::JournalEntry& Walk::LastStep() const { return *steps_.at(next_ - 1); }

bool Walk::NextIs(const std::string& call) const {
    return !lost_ && next_ < steps_.size() && steps_[next_]->call == call;
}

bool Walk::Take(const std::string& call, std::string* args, long long* result) {
    if (!NextIs(call)) {
        if (!lost_) Lose(call + "(...)");
        return false;
    }
    const simwin::JournalEntry& step = *steps_[next_++];
    *args = step.args;
    if (result) *result = step.result;
    return true;
}

void Walk::Fail(const std::string& expected) {
    if (lost_) return;
    --next_;  // the step just taken is the one out of place
    Lose(expected);
}

void Walk::Pause(DWORD ms) {
    const DWORD start = static_cast<DWORD>(Call("GetTickCount", ""));
    // At most one round per millisecond of the pause: the virtual clock moves on with every woken wait.
    for (DWORD elapsed = 0, round = 0; elapsed < ms && round <= ms && !lost_; ++round) {
        const DWORD woke = static_cast<DWORD>(
            Call("MsgWaitForMultipleObjects", "0, NULL, 0, " + std::to_string(ms - elapsed) + ", 0x40"));
        if (woke == WAIT_TIMEOUT) return;
        if (woke != WAIT_OBJECT_0) {
            Call("Sleep", std::to_string(ms - elapsed));
            return;
        }
        Call("PeekMessageA", "MSG, NULL, 0, 0, 0x400000");
        elapsed = static_cast<DWORD>(Call("GetTickCount", "")) - start;
    }
}

bool Walk::Row(UINT row) { return Call("LoadStringA", std::to_string(row) + ", " + std::to_string(kRowTextSize)) > 0; }

std::string Walk::RowText(UINT row) {
    const std::string* text = machine().strings.Row(row);
    return text ? text->substr(0, kRowTextSize - 1) : "";
}

const simwin::RegValue* Walk::Value(const std::string& key, const std::string& name) const {
    return registry_.Value(kCurrentUser + key, name);
}

bool Walk::WriteValue(const std::string& key, const std::string& name, DWORD type, const Bytes& data) {
    std::string handle;
    if (Call("RegCreateKeyExA", "HKCU, " + Quote(key.c_str()) + ", NULL, 0, 0xF003F, NULL", &handle) != ERROR_SUCCESS)
        return false;
    registry_.Ensure(kCurrentUser + key);
    const long long set = Call("RegSetValueExA", handle + ", " + Quote(name.c_str()) + ", " + std::to_string(type) +
                                                     ", " + std::to_string(data.size()));
    Call("RegCloseKey", handle);
    if (set != ERROR_SUCCESS) return false;
    registry_.SetValue(kCurrentUser + key, name, type, data);
    return true;
}

bool Walk::WriteText(const std::string& key, const std::string& name, DWORD type, const std::string& text) {
    if (text.size() > kLongestText) return false;
    return WriteValue(key, name, type, test_platform::TextWithNul(text));
}

bool Walk::DeleteValue(const std::string& key, const std::string& name) {
    std::string handle;
    if (Call("RegCreateKeyExA", "HKCU, " + Quote(key.c_str()) + ", NULL, 0, 0xF003F, NULL", &handle) != ERROR_SUCCESS)
        return false;
    auto stored = registry_.Ensure(kCurrentUser + key);
    const long long deleted = Call("RegDeleteValueA", handle + ", " + Quote(name.c_str()));
    Call("RegCloseKey", handle);
    if (deleted != ERROR_SUCCESS) return false;
    auto& values = stored->values;
    values.erase(std::remove_if(values.begin(), values.end(),
                                [&](const simwin::RegValue& v) { return simwin::SameTextIgnoringCase(v.name, name); }),
                 values.end());
    return true;
}

std::optional<std::string> Walk::ReadText(const std::string& key, const std::string& name, bool* refused) {
    auto absent = [](long long error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; };
    if (refused) *refused = false;
    std::string handle;
    const long long open = Call("RegOpenKeyExA", "HKCU, " + Quote(key.c_str()) + ", 0, 0x1", &handle);
    if (open != ERROR_SUCCESS) {
        if (refused) *refused = !absent(open);
        return std::nullopt;
    }
    const long long query = Call("RegQueryValueExA", handle + ", " + Quote(name.c_str()) + ", buffer, 256");
    Call("RegCloseKey", handle);
    if (refused) *refused = query != ERROR_SUCCESS && query != ERROR_MORE_DATA && !absent(query);
    if (query != ERROR_SUCCESS || lost_) return std::nullopt;
    const simwin::RegValue* value = Value(key, name);
    if (!value || value->data.size() > 256) {
        Lose("a read that fails: the value " + key + " [" + name + "] is missing or larger than 256 bytes");
        return std::nullopt;
    }
    return TextRead(value->data);
}

std::optional<DWORD> Walk::ReadDword(const std::string& key, const std::string& name) {
    std::string handle;
    if (Call("RegOpenKeyExA", "HKCU, " + Quote(key.c_str()) + ", 0, 0x1", &handle) != ERROR_SUCCESS)
        return std::nullopt;
    const long long query = Call("RegQueryValueExA", handle + ", " + Quote(name.c_str()) + ", buffer, 256");
    Call("RegCloseKey", handle);
    if (query != ERROR_SUCCESS || lost_) return std::nullopt;
    const simwin::RegValue* value = Value(key, name);
    if (!value || value->data.size() > 256) {
        Lose("a read that fails: the value " + key + " [" + name + "] is missing or larger than 256 bytes");
        return std::nullopt;
    }
    if (value->data.size() != 4) return std::nullopt;
    DWORD number;
    std::memcpy(&number, value->data.data(), 4);
    return number;
}

// ---- The settings writers ----
void BrowserTextSize(Walk& w, int textSize) {
    const Bytes stored = {static_cast<BYTE>(textSize), 0, 0, 0};
    w.WriteValue(kBrowserKey, "IEFontSize", REG_BINARY, stored);
    // Without an identity there is no identity's key to write.
    const std::optional<std::string> identity = w.ReadText("Identities", "Default User ID");
    if (identity && !identity->empty())
        w.WriteValue("Identities\\" + *identity + kMailKeyBelowIdentity, "IEFontSize", REG_BINARY, stored);
}

void CursorScheme(Walk& w, UINT nameRow) {
    const std::string name = w.Row(nameRow) ? Walk::RowText(nameRow) : "";
    w.WriteText(kCursorsKey, "", REG_SZ, name);
    // The pointer values, each written once as an expandable text; which file each names is the cursor
    // tests' business.
    std::set<std::string> pointers;
    for (int i = 0; i < kPointerValues; ++i) {
        std::string handle;
        if (w.Call("RegCreateKeyExA", "HKCU, " + Quote(kCursorsKey) + ", NULL, 0, 0xF003F, NULL", &handle) !=
            ERROR_SUCCESS)
            continue;
        std::string args;  // hkey#N, "Arrow", 2, 33
        const std::string head = handle + ", \"";
        const std::string type = "\", " + std::to_string(REG_EXPAND_SZ) + ", ";
        if (w.Take("RegSetValueExA", &args)) {
            const size_t at = args.find(type);
            if (args.compare(0, head.size(), head) != 0 || at == args.npos ||
                !pointers.insert(args.substr(head.size(), at - head.size())).second)
                w.Fail("a pointer value not written before, as an expandable text, under " + handle);
        }
        w.Call("RegCloseKey", handle);
    }
    w.WriteValue(kCursorsKey, "Scheme Source", REG_DWORD, {2, 0, 0, 0});
    w.Call("SystemParametersInfoA", "SPI_SETCURSORS, 0, NULL, 0x3");
}

bool NonClientMetrics(Walk& w, const UINT (&rows)[6]) {
    for (UINT row : rows)
        if (!w.Row(row)) return false;
    if (w.Call("SystemParametersInfoA", "SPI_GETNONCLIENTMETRICS, 340, NONCLIENTMETRICSA{cbSize=340}, 0x0") != TRUE)
        return false;
    for (UINT row : rows)
        if (!w.Parses(row)) return false;
    w.Call("SystemParametersInfoA", "SPI_SETNONCLIENTMETRICS, 340, NONCLIENTMETRICSA{cbSize=340}, 0x3");
    return true;
}

void XpSchemeSize(Walk& w, UINT schemeRow) {
    if (w.ReadText(kNewSchemesKey, "SelectedStyle").value_or("") != "21") return;
    if (!w.Row(schemeRow)) return;
    const std::string name = Walk::RowText(schemeRow);
    w.WriteText(kAppearanceKey, "Current", REG_SZ, name);
    w.WriteText(kAppearanceKey, "NewCurrent", REG_SZ, name);
    // Large is "2", ExtraLarge "1".
    w.WriteText(kStandardSchemeKey, "SelectedSize", REG_SZ,
                schemeRow == IDS_XP_SCHEME_NORMAL  ? "0"
                : schemeRow == IDS_XP_SCHEME_LARGE ? "2"
                                                   : "1");
}

void Win2000Scheme(Walk& w, UINT schemeRow) {
    const bool standardRow = schemeRow == IDS_W2K_SCHEME_NORMAL || schemeRow == IDS_W2K_SCHEME_LARGE ||
                             schemeRow == IDS_W2K_SCHEME_EXTRA_LARGE;
    if (!standardRow) {
        w.DeleteValue(kAppearanceKey, "Current");
        return;
    }
    // A row that does not load leaves the name the user has.
    if (!w.Row(schemeRow)) return;
    const std::string name = Walk::RowText(schemeRow);
    bool refused = false;
    bool unknown = false;
    if (const std::optional<std::string> current = w.ReadText(kAppearanceKey, "Current", &refused)) {
        bool standard = false;
        for (UINT row : {IDS_W2K_SCHEME_NORMAL, IDS_W2K_SCHEME_LARGE, IDS_W2K_SCHEME_EXTRA_LARGE}) {
            const bool loaded = w.Row(row);
            if (loaded && Walk::RowText(row) == *current) standard = true;
            unknown |= !loaded;
        }
        if (standard) {
            w.WriteText(kAppearanceKey, "Current", REG_SZ, name);
            return;
        }
    }
    // A name that could not be read, or compared with every standard name, is left as it is.
    if (refused || unknown) return;
    w.DeleteValue(kAppearanceKey, "Current");
}

void DesktopIcons(Walk& w, const UINT (&rows)[6], ViewSpacing spacing) {
    for (UINT row : rows)
        if (!w.Row(row)) return;
    w.WriteText(kWindowMetricsKey, TrimmedText(Walk::RowText(rows[0])), REG_SZ, TrimmedText(Walk::RowText(rows[1])));
    w.Call("SystemParametersInfoA", "SPI_SETICONS, 0, NULL, 0x3");
    w.Call("SHChangeNotify", "0x8000000, 0x2000, NULL, NULL");
    if (w.Call("SystemParametersInfoA", "SPI_GETICONMETRICS, 76, ICONMETRICSA{cbSize=76}, 0x0") != TRUE) return;
    if (!w.Parses(rows[5])) return;
    w.Call("SystemParametersInfoA", "SPI_SETICONMETRICS, 76, ICONMETRICSA{cbSize=76}, 0x3");
    w.Pause(500);
    std::string desktop, shellView, iconView;
    if (!w.Call("FindWindowExA", R"(NULL, NULL, "Progman", "Program Manager")", &desktop)) return;
    if (!w.Call("FindWindowExA", desktop + R"(, NULL, "SHELLDLL_DefView", NULL)", &shellView)) return;
    if (!w.Call("FindWindowExA", shellView + R"(, NULL, "SysListView32", NULL)", &iconView)) return;
    // Each message to the icon view waits for its answer at most kIconViewAnswerMs.
    const std::string bound = ", 0x2, " + std::to_string(kIconViewAnswerMs);
    const bool answered = w.Call("SendMessageTimeoutA", iconView + ", LVM_GETEXTENDEDLISTVIEWSTYLE, 0x0, 0x0" + bound);
    const bool snaps = answered && (w.LastStep().count & LVS_EX_SNAPTOGRID);
    // Without the work area there is no grid to fit: the spacing grows with the icon.
    const bool grid = snaps && w.Call("SystemParametersInfoA", "SPI_GETWORKAREA, 0, RECT, 0x0") == TRUE;
    const DWORD cx = static_cast<DWORD>(grid ? spacing.gridCx : spacing.cx);
    const DWORD cy = static_cast<DWORD>(grid ? spacing.gridCy : spacing.cy);
    w.Call("SendMessageTimeoutA", iconView + ", LVM_SETICONSPACING, 0x0, " + simwin::Hex(cy << 16 | cx) + bound);
    w.Call("SendMessageTimeoutA", iconView + ", LVM_ARRANGE, 0x1, 0x0" + bound);
    w.Pause(500);
    w.Call("SendMessageTimeoutA", iconView + ", LVM_ARRANGE, 0x5, 0x0" + bound);
}

int VisualStyleSwitch(Walk& w, int row, StyleSwitchSeen* seen) {
    *seen = StyleSwitchSeen();
    if (!w.Row(static_cast<UINT>(row))) return 0;
    for (int index : kPreservedColorIndices) {
        if (!w.Call("GetSysColorBrush", std::to_string(index))) continue;
        seen->pairIndices.push_back(index);
        seen->pairColors.push_back(static_cast<COLORREF>(w.Call("GetSysColor", std::to_string(index))));
    }

    // The stored values that fit an entry, as many as the key has (or up to the last index when some do
    // not fit), at most as many as there are entries.
    std::string key, found;
    if (w.Call("RegOpenKeyExA", "HKCU, " + Quote(kColorsKey) + ", 0, 0x20019", &key) == ERROR_SUCCESS) {
        if (w.Call("RegQueryInfoKeyA", key) == ERROR_SUCCESS) {
            const DWORD count = static_cast<DWORD>(w.LastStep().count);
            const auto stored = w.Registry().Find(kCurrentUser + kColorsKey);
            DWORD filled = 0;
            for (DWORD index = 0; filled < count && filled < kColorValueCapacity && index <= kLastEnumerationIndex;
                 ++index) {
                if (w.Call("RegEnumValueA", key + ", " + std::to_string(index) + ", 60, buffer, 30", &found) !=
                    ERROR_SUCCESS)
                    continue;
                const simwin::RegValue* value =
                    stored && index < stored->values.size() ? &stored->values[index] : nullptr;
                if (!value || found != Quote(value->name.c_str()) || value->name.size() >= kColorNameCapacity ||
                    value->data.size() > kColorDataCapacity) {
                    w.Fail("an enumerated value that is the key's value " + std::to_string(index) +
                           " and fits an entry");
                    break;
                }
                seen->valuesSaved.push_back(value->name);
                ++filled;
            }
        }
        w.Call("RegCloseKey", key);
    }

    // The tool starts with its handle kept, so that its end is known.
    const DWORD startTick = static_cast<DWORD>(w.Call("GetTickCount", ""));
    std::string tool;
    const long long attributes = w.Call("GetFileAttributesA", Quote(kStyleToolPath));
    if (static_cast<DWORD>(attributes) != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        const HWND owner = reinterpret_cast<HWND>(static_cast<uintptr_t>(w.Call("GetForegroundWindow", "")));
        w.Call("ShellExecuteExA",
               "cbSize=" + std::to_string(sizeof(SHELLEXECUTEINFOA)) + ", 0x440, " +
                   machine().windows.HandleName(owner) + R"(, "open", )" + Quote(kStyleToolPath) + ", " +
                   Quote(Walk::RowText(static_cast<UINT>(row)).c_str()) + ", NULL, 5",
               &tool);
    }
    w.Pause(1000);
    for (int cycle = 0; cycle < kWatchCycles; ++cycle) {
        w.Pause(100);
        if (seen->pairIndices.empty()) continue;
        bool changed = false;
        for (size_t i = 0; i < seen->pairIndices.size(); ++i) {
            const std::string index = std::to_string(seen->pairIndices[i]);
            if (w.Call("GetSysColorBrush", index) &&
                static_cast<COLORREF>(w.Call("GetSysColor", index)) != seen->pairColors[i])
                changed = true;
        }
        if (changed) w.Call("SetSysColors", SysColorPairs(*seen));
    }

    if (w.Call("RegOpenKeyExA", "HKCU, " + Quote(kColorsKey) + ", 0, 0x20006", &key) == ERROR_SUCCESS) {
        for (const std::string& name : seen->valuesSaved) {
            const simwin::RegValue* value = w.Value(kColorsKey, name);
            const std::string type = value ? std::to_string(value->type) : "?";
            const std::string size = value ? std::to_string(value->data.size()) : "?";
            const bool written =
                w.Call("RegSetValueExA", key + ", " + Quote(name.c_str()) + ", " + type + ", " + size) == ERROR_SUCCESS;
            seen->valuesWrittenBack.push_back(written);
            if (written && value)
                w.Registry().SetValue(kCurrentUser + kColorsKey, name, value->type, WrittenBack(*value));
        }
        w.Call("RegCloseKey", key);
    }
    seen->valuesWrittenBack.resize(seen->valuesSaved.size(), false);
    w.Call("InvalidateRect", "NULL, NULL, TRUE");
    if (tool.empty()) return kStyleToolMissing;

    // The tool's end, awaited until two minutes after its start while answering sent messages.
    int result = kStyleNotSwitched;
    for (int round = 0; round <= 120000 && !w.Lost(); ++round) {
        const long long code = w.Call("GetExitCodeProcess", tool);
        if (code == -1) break;
        if (code != STILL_ACTIVE) {
            if (code == 0 || code == 1) result = kStyleSwitched;
            break;
        }
        const DWORD elapsed = static_cast<DWORD>(w.Call("GetTickCount", "")) - startTick;
        if (elapsed >= kStyleToolBoundMs) break;
        const long long woke =
            w.Call("MsgWaitForMultipleObjects",
                   "1, {" + tool + "}, 0, " + std::to_string(kStyleToolBoundMs - elapsed) + ", 0x40");
        if (woke == WAIT_OBJECT_0 + 1)
            w.Call("PeekMessageA", "MSG, NULL, 0, 0, 0x400000");
        else if (woke != WAIT_OBJECT_0 && woke != WAIT_TIMEOUT)
            break;
    }
    w.Call("CloseHandle", tool);
    return result;
}

// ---- The follow-up run ----
void FollowUpRun(Walk& w, const std::string& dialog, const std::string& shortcut, FollowUpSeen* seen) {
    const char* const programKey = test_keys::kProgram;
    const Bytes zero = {0, 0, 0, 0};
    const std::optional<DWORD> changed = w.ReadDword(programKey, "Changed");
    if (changed && *changed != 0) {
        std::string desktop, shellView, iconView;
        if (w.Call("FindWindowExA", R"(NULL, NULL, "Progman", "Program Manager")", &desktop) &&
            w.Call("FindWindowExA", desktop + R"(, NULL, "SHELLDLL_DefView", "")", &shellView) &&
            w.Call("FindWindowExA", shellView + R"(, NULL, "SysListView32", NULL)", &iconView)) {
            w.Call("SendMessageA", iconView + ", WM_SETREDRAW, 0x0, 0x0");
            w.Call("Sleep", "0");
            // The icon view, the small-icon view, the icon view: each from the style read just before it.
            const struct {
                LONG clear, set;
            } viewTypes[] = {{LVS_TYPEMASK, LVS_ICON}, {0x1, LVS_SMALLICON}, {LVS_TYPEMASK, LVS_ICON}};
            for (const auto& type : viewTypes) {
                const LONG style = static_cast<LONG>(w.Call("GetWindowLongA", iconView + ", GWL_STYLE"));
                // A style that could not be read is not written back.
                if (style != 0) {
                    const LONG view = (style & ~type.clear) | type.set;
                    if (w.Call("SetWindowLongA", iconView + ", GWL_STYLE, " + simwin::Hex(static_cast<DWORD>(view))) !=
                        0)
                        seen->styleWritten = view;
                }
                w.Call("Sleep", "0");
            }
            w.Call("SendMessageA", iconView + ", LVM_ARRANGE, 0x0, 0x0");
            w.Call("Sleep", "0");
            w.Call("SendMessageA", iconView + ", WM_SETREDRAW, 0x1, 0x0");
            w.Call("Sleep", "0");
            w.Call("UpdateWindow", iconView);
        }
        w.WriteValue(programKey, "Changed", REG_DWORD, zero);
        // The wide path first: one that the ANSI code page cannot hold, or that could not be converted,
        // names the shortcut by itself; any other, or none, leads to the ANSI path.
        std::string folder;
        bool widePath = false;
        if (w.Call("SHGetFolderPathW", "NULL, 0x7, NULL, 0", &folder) == S_OK && folder != "\"\"") {
            bool replaced = false;
            simwin::AnsiFromUtf8(simwin::machine().kernel.startupFolder, &replaced);
            widePath = w.Call("WideCharToMultiByte", "0, 0x400, " + folder + ", -1, buffer, 520") == 0 || replaced;
        }
        if (widePath) {
            seen->shortcutDeleted = w.Call("DeleteFileW", Quote(shortcut.c_str())) == TRUE;
        } else if (w.Call("SHGetFolderPathA", "NULL, 0x7, NULL, 0", &folder) == S_OK && folder != "\"\"") {
            seen->shortcutDeleted = w.Call("DeleteFileA", Quote(shortcut.c_str())) == TRUE;
        }
        seen->dialogEnded = w.Call("EndDialog", dialog + ", 0") == TRUE;
    }
    w.WriteValue(programKey, "Changed", REG_DWORD, zero);
}

// ---- The nine size procedures ----
namespace {
// English spacing: grown with the icon, and fitted to a work area of 1024 x 738.
constexpr ViewSpacing kNormalSpacing = {75, 75, 78, 82};
constexpr ViewSpacing kLargeSpacing = {107, 107, 93, 92};
}  // namespace

const ExpectedProcedure kExpectedProcedures[9] = {
    {.level = SizeLevel::Normal,
     .variant = SizeVariant::XpStyled,
     .textSize = 2,
     .pointerRow = IDS_POINTER_SCHEME_NORMAL,
     .metricsRows = {},
     .scheme = ExpectedProcedure::kNone,
     .schemeRow = 0,
     .iconRows = {DESKTOP_ICON_ROWS(XP_STYLED, NORMAL)},
     .spacing = kNormalSpacing,
     .styleRow = IDS_STYLE_SIZE_NORMAL},
    {.level = SizeLevel::Normal,
     .variant = SizeVariant::XpClassic,
     .textSize = 2,
     .pointerRow = IDS_POINTER_SCHEME_NORMAL,
     .metricsRows = {WINDOW_METRIC_ROWS(XP_CLASSIC, NORMAL)},
     .scheme = ExpectedProcedure::kXp,
     .schemeRow = IDS_XP_SCHEME_NORMAL,
     .iconRows = {DESKTOP_ICON_ROWS(XP_CLASSIC, NORMAL)},
     .spacing = kNormalSpacing,
     .styleRow = 0},
    {.level = SizeLevel::Normal,
     .variant = SizeVariant::Win2000,
     .textSize = 2,
     .pointerRow = IDS_POINTER_SCHEME_NORMAL,
     .metricsRows = {WINDOW_METRIC_ROWS(W2K, NORMAL)},
     .scheme = ExpectedProcedure::kWin2000,
     .schemeRow = IDS_W2K_SCHEME_NORMAL,
     .iconRows = {DESKTOP_ICON_ROWS(W2K, NORMAL)},
     .spacing = kNormalSpacing,
     .styleRow = 0},
    {.level = SizeLevel::Large,
     .variant = SizeVariant::XpStyled,
     .textSize = 3,
     .pointerRow = IDS_POINTER_SCHEME_LARGE,
     .metricsRows = {},
     .scheme = ExpectedProcedure::kNone,
     .schemeRow = 0,
     .iconRows = {DESKTOP_ICON_ROWS(XP_STYLED, LARGE)},
     .spacing = kLargeSpacing,
     .styleRow = IDS_STYLE_SIZE_LARGE},
    {.level = SizeLevel::Large,
     .variant = SizeVariant::XpClassic,
     .textSize = 3,
     .pointerRow = IDS_POINTER_SCHEME_LARGE,
     .metricsRows = {WINDOW_METRIC_ROWS(XP_CLASSIC, LARGE)},
     .scheme = ExpectedProcedure::kXp,
     .schemeRow = IDS_XP_SCHEME_LARGE,
     .iconRows = {DESKTOP_ICON_ROWS(XP_CLASSIC, LARGE)},
     .spacing = kLargeSpacing,
     .styleRow = 0},
    {.level = SizeLevel::Large,
     .variant = SizeVariant::Win2000,
     .textSize = 3,
     .pointerRow = IDS_POINTER_SCHEME_LARGE,
     .metricsRows = {WINDOW_METRIC_ROWS(W2K, LARGE)},
     .scheme = ExpectedProcedure::kWin2000,
     .schemeRow = IDS_W2K_SCHEME_LARGE,
     .iconRows = {DESKTOP_ICON_ROWS(W2K, LARGE)},
     .spacing = kLargeSpacing,
     .styleRow = 0},
    {.level = SizeLevel::ExtraLarge,
     .variant = SizeVariant::XpStyled,
     .textSize = 4,
     .pointerRow = IDS_POINTER_SCHEME_EXTRA_LARGE,
     .metricsRows = {},
     .scheme = ExpectedProcedure::kNone,
     .schemeRow = 0,
     .iconRows = {DESKTOP_ICON_ROWS(XP_STYLED, EXTRA_LARGE)},
     .spacing = kLargeSpacing,
     .styleRow = IDS_STYLE_SIZE_EXTRA_LARGE},
    {.level = SizeLevel::ExtraLarge,
     .variant = SizeVariant::XpClassic,
     .textSize = 4,
     .pointerRow = IDS_POINTER_SCHEME_EXTRA_LARGE,
     .metricsRows = {WINDOW_METRIC_ROWS(XP_CLASSIC, EXTRA_LARGE)},
     .scheme = ExpectedProcedure::kXp,
     .schemeRow = IDS_XP_SCHEME_EXTRA_LARGE,
     .iconRows = {DESKTOP_ICON_ROWS(XP_CLASSIC, EXTRA_LARGE)},
     .spacing = kLargeSpacing,
     .styleRow = 0},
    {.level = SizeLevel::ExtraLarge,
     .variant = SizeVariant::Win2000,
     .textSize = 4,
     .pointerRow = IDS_POINTER_SCHEME_EXTRA_LARGE,
     .metricsRows = {WINDOW_METRIC_ROWS(W2K, EXTRA_LARGE)},
     .scheme = ExpectedProcedure::kWin2000,
     .schemeRow = IDS_W2K_SCHEME_EXTRA_LARGE,
     .iconRows = {DESKTOP_ICON_ROWS(W2K, EXTRA_LARGE)},
     .spacing = kLargeSpacing,
     .styleRow = 0},
};

int SizeProcedureSteps(Walk& w, const ExpectedProcedure& procedure, StyleSwitchSeen* seen) {
    BrowserTextSize(w, procedure.textSize);
    CursorScheme(w, procedure.pointerRow);
    if (procedure.styleRow) {
        DesktopIcons(w, procedure.iconRows, procedure.spacing);
        return VisualStyleSwitch(w, procedure.styleRow, seen);
    }
    // The metrics twice, around the icons; each scheme step only after the metrics step before it handed
    // its record over.
    for (int pass = 0; pass < 2; ++pass) {
        if (NonClientMetrics(w, procedure.metricsRows)) {
            if (procedure.scheme == ExpectedProcedure::kXp)
                XpSchemeSize(w, procedure.schemeRow);
            else
                Win2000Scheme(w, procedure.schemeRow);
        }
        if (pass == 0) DesktopIcons(w, procedure.iconRows, procedure.spacing);
    }
    return 0;
}

}  // namespace journal_walk
