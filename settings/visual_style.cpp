#include "settings/visual_style.h"

#include "res/resource_ids.h"
#include "settings/pause.h"
#include "settings/preserved_colors.h"
#include "settings/registry_key.h"
#include "settings/string_rows.h"

#include <shellapi.h>

namespace {

constexpr DWORD kValueNameCapacity = 60;  // characters, the NUL included
constexpr DWORD kValueDataCapacity = 30;  // bytes
constexpr DWORD kValueCapacity = 50;

struct ColorValue {
    char name[kValueNameCapacity];
    DWORD type;
    // The enumeration fills at most kValueDataCapacity bytes. The byte after them stays 0: writing a text
    // back, the system looks at the byte after its data for a NUL that the size left out, so a text of 30
    // bytes stored without its NUL is written back with one, as a shorter one is, whose NUL the
    // enumeration supplies, and nothing outside the entry is looked at.
    BYTE data[kValueDataCapacity + 1];
    DWORD dataSize;
};

struct ColorValueSnapshot {
    ColorValue values[kValueCapacity];
    DWORD count;
};

// A key whose values the enumeration cannot count up to is given up after this index.
constexpr DWORD kLastEnumerationIndex = 1001;

constexpr DWORD kToolStartWaitMs = 1000;
constexpr int kWatchCycles = 50;
constexpr DWORD kWatchCycleMs = 100;

// The values are enumerated until as many fitted as the key reported, or until the storage is full (the
// values beyond it are left alone), or up to the last index when some values did not fit. A key that does
// not tell how many values it has is not enumerated at all.
void SaveStoredColors(ColorValueSnapshot* snapshot) {
    snapshot->count = 0;
    OpenKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kStoredColorsKey, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) return;
    DWORD valueCount = 0;
    if (RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount, nullptr, nullptr,
                         nullptr, nullptr) == ERROR_SUCCESS) {
        for (DWORD index = 0;
             snapshot->count < valueCount && snapshot->count < kValueCapacity && index <= kLastEnumerationIndex;
             ++index) {
            // A failed call leaves the entry to the next one; whatever it wrote there counts for nothing.
            ColorValue& value = snapshot->values[snapshot->count];
            DWORD nameSize = kValueNameCapacity;
            value.data[kValueDataCapacity] = 0;
            value.dataSize = kValueDataCapacity;
            if (RegEnumValueA(key.Get(), index, value.name, &nameSize, nullptr, &value.type, value.data,
                              &value.dataSize) == ERROR_SUCCESS)
                ++snapshot->count;
        }
    }
}

void WriteBackStoredColors(const ColorValueSnapshot& snapshot) {
    OpenKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kStoredColorsKey, 0, KEY_WRITE, key.Receive()) != ERROR_SUCCESS) return;
    for (DWORD i = 0; i < snapshot.count; ++i) {
        const ColorValue& value = snapshot.values[i];
        RegSetValueExA(key.Get(), value.name, 0, value.type, value.data, value.dataSize);
    }
}

// The tool switches the style on its own while the watch runs; its handle is kept for its end. Null when
// it is not there or does not start.
HANDLE StartStyleTool(const char* sizeName) {
    const DWORD attributes = GetFileAttributesA(kStyleToolPath);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return nullptr;
    SHELLEXECUTEINFOA start = {};
    start.cbSize = sizeof start;
    // The program tells the user itself when the tool cannot start.
    start.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    start.hwnd = GetForegroundWindow();
    start.lpVerb = "open";
    start.lpFile = kStyleToolPath;
    start.lpParameters = sizeName;
    start.nShow = SW_SHOW;
    if (!ShellExecuteExA(&start)) return nullptr;
    return start.hProcess;
}

// Waits for the tool's end, answering the messages other threads send meanwhile (the tool's own box among
// them may broadcast), until kStyleToolBoundMs after `startTick`. True when it ended saying the size
// changed. Bounded by the time: each round ends the wait or answers what woke it.
bool StyleToolChangedSize(HANDLE tool, DWORD startTick) {
    for (;;) {
        DWORD code = STILL_ACTIVE;
        if (!GetExitCodeProcess(tool, &code)) return false;
        if (code != static_cast<DWORD>(STILL_ACTIVE))
            return code == OPTIVUE_STYLE_TOOL_SWITCHED || code == OPTIVUE_STYLE_TOOL_RECORDED;
        const DWORD elapsed = GetTickCount() - startTick;
        if (elapsed >= kStyleToolBoundMs) return false;
        const DWORD woke = MsgWaitForMultipleObjects(1, &tool, FALSE, kStyleToolBoundMs - elapsed, QS_SENDMESSAGE);
        if (woke == WAIT_OBJECT_0 + 1) {
            MSG message;
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        } else if (woke != WAIT_OBJECT_0 && woke != WAIT_TIMEOUT) {
            return false;  // a wait that fails cannot see the end
        }
    }
}

}  // namespace

int SwitchVisualStyleSize(int row) {
    if (row != IDS_STYLE_SIZE_NORMAL && row != IDS_STYLE_SIZE_LARGE && row != IDS_STYLE_SIZE_EXTRA_LARGE)
        return kStyleNotAsked;
    RowText sizeName;
    if (!LoadRow(static_cast<UINT>(row), &sizeName)) return kStyleNotAsked;

    LiveColorSnapshot liveColors;
    SaveLiveColors(&liveColors);
    ColorValueSnapshot storedColors;
    SaveStoredColors(&storedColors);

    const DWORD startTick = GetTickCount();
    HANDLE tool = StartStyleTool(sizeName.text);
    PauseAnsweringSentMessages(kToolStartWaitMs);
    for (int cycle = 0; cycle < kWatchCycles; ++cycle) {
        PauseAnsweringSentMessages(kWatchCycleMs);
        RestoreChangedLiveColors(liveColors);
    }

    WriteBackStoredColors(storedColors);
    InvalidateRect(nullptr, nullptr, TRUE);
    if (!tool) return kStyleToolMissing;
    const bool changed = StyleToolChangedSize(tool, startTick);
    CloseHandle(tool);
    return changed ? kStyleSwitched : kStyleNotSwitched;
}
