// The simulated windows: a tree of windows that FindWindowExA searches, and the list view among them that
// answers the list-view messages sent to the desktop's icon view.
#include <commctrl.h>
#include <simwin/sim.h>

#include <string>

namespace simwin {
namespace {

constexpr uintptr_t kFirstHandle = 0x10000;
constexpr uintptr_t kHandleStep = 0x10;

}  // namespace

HWND WindowTree::Create(const std::string& className, const std::string& title, HWND parent, LONG style) {
    auto window = std::make_unique<Window>();
    window->handle = reinterpret_cast<HWND>(kFirstHandle + kHandleStep * (windows_.size() + 1));
    window->className = className;
    window->title = title;
    window->parent = parent;
    window->style = style;
    if (SameTextIgnoringCase(className, WC_LISTVIEWA)) window->listView.emplace();
    windows_.push_back(std::move(window));
    return windows_.back()->handle;
}

Window* WindowTree::Find(HWND window) {
    for (auto& w : windows_)
        if (w->handle == window) return w.get();
    return nullptr;
}

std::vector<HWND> WindowTree::Children(HWND parent) const {
    std::vector<HWND> children;
    for (const auto& w : windows_)
        if (w->parent == parent) children.push_back(w->handle);
    return children;
}

std::string WindowTree::HandleName(HWND window) const {
    if (!window) return "NULL";
    return "hwnd#" + std::to_string((reinterpret_cast<uintptr_t>(window) - kFirstHandle) / kHandleStep);
}

Desktop CreateDesktop(DWORD extendedStyle) {
    WindowTree& windows = machine().windows;
    Desktop desktop;
    desktop.progman = windows.Create("Progman", "Program Manager", nullptr,
                                     static_cast<LONG>(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN));
    desktop.shellView =
        windows.Create("SHELLDLL_DefView", "", desktop.progman, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
    desktop.iconView = windows.Create(
        WC_LISTVIEWA, "FolderView", desktop.shellView,
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | LVS_ICON | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE);
    windows.Find(desktop.iconView)->listView->extendedStyle = extendedStyle;
    return desktop;
}

}  // namespace simwin

using simwin::machine;
using simwin::Quote;

namespace {

std::string WindowName(HWND window) { return machine().windows.HandleName(window); }

const char* MessageName(UINT message) {
    switch (message) {
        case WM_SETREDRAW:
            return "WM_SETREDRAW";
        case LVM_ARRANGE:
            return "LVM_ARRANGE";
        case LVM_GETITEMSPACING:
            return "LVM_GETITEMSPACING";
        case LVM_SETICONSPACING:
            return "LVM_SETICONSPACING";
        case LVM_SETEXTENDEDLISTVIEWSTYLE:
            return "LVM_SETEXTENDEDLISTVIEWSTYLE";
        case LVM_GETEXTENDEDLISTVIEWSTYLE:
            return "LVM_GETEXTENDEDLISTVIEWSTYLE";
        default:
            return nullptr;
    }
}

bool Matches(const simwin::Window& window, LPCSTR className, LPCSTR windowName) {
    return (!className || simwin::SameTextIgnoringCase(window.className, className)) &&
           (!windowName || simwin::SameTextIgnoringCase(window.title, windowName));
}

// The list view's answer, as the common control gives it in the icon view.
LRESULT ListViewMessage(simwin::Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
    simwin::ListViewState& view = *window.listView;
    switch (message) {
        case WM_SETREDRAW:
            view.redraw = wParam != 0;
            return 0;
        case LVM_GETEXTENDEDLISTVIEWSTYLE:
            return view.extendedStyle;
        case LVM_SETEXTENDEDLISTVIEWSTYLE: {
            const DWORD previous = view.extendedStyle;
            const DWORD mask = wParam ? static_cast<DWORD>(wParam) : 0xFFFFFFFFu;
            view.extendedStyle = (previous & ~mask) | (static_cast<DWORD>(lParam) & mask);
            return previous;
        }
        case LVM_SETICONSPACING: {
            // Two signed 16-bit halves; 0 keeps that direction as it is.
            const LRESULT previous = static_cast<DWORD>(MAKELONG(view.iconSpacingX, view.iconSpacingY));
            const int cx = static_cast<short>(LOWORD(lParam));
            const int cy = static_cast<short>(HIWORD(lParam));
            if (cx) view.iconSpacingX = cx;
            if (cy) view.iconSpacingY = cy;
            return previous;
        }
        case LVM_GETITEMSPACING:
            // The small-icon spacing (wParam TRUE) is not kept.
            return wParam ? 0 : static_cast<DWORD>(MAKELONG(view.iconSpacingX, view.iconSpacingY));
        case LVM_ARRANGE: {
            // Only the icon and small-icon views arrange, and only by the codes the control knows.
            const LONG type = window.style & LVS_TYPEMASK;
            const bool known =
                wParam == LVA_DEFAULT || wParam == LVA_ALIGNLEFT || wParam == LVA_ALIGNTOP || wParam == LVA_SNAPTOGRID;
            if (!known || (type != LVS_ICON && type != LVS_SMALLICON)) return FALSE;
            view.arrangements.push_back(wParam);
            return TRUE;
        }
        default:
            return 0;
    }
}

}  // namespace

HWND WINAPI FindWindowExA(HWND parent, HWND childAfter, LPCSTR className, LPCSTR windowName) {
    const std::string args =
        WindowName(parent) + ", " + WindowName(childAfter) + ", " + Quote(className) + ", " + Quote(windowName);
    auto finish = [&](HWND found) {
        simwin::JournalEntry entry;
        entry.call = "FindWindowExA";
        entry.args = args;
        entry.result = static_cast<long long>(reinterpret_cast<uintptr_t>(found));
        if (found) entry.found = WindowName(found);
        machine().journal.Record(std::move(entry));
        return found;
    };
    if (auto fault = machine().faults.Check("FindWindowExA", ERROR_INVALID_WINDOW_HANDLE)) {
        machine().lastError = static_cast<DWORD>(*fault);
        return finish(nullptr);
    }
    simwin::WindowTree& windows = machine().windows;
    if ((parent && !windows.Find(parent)) || (childAfter && !windows.Find(childAfter))) {
        machine().lastError = ERROR_INVALID_WINDOW_HANDLE;
        return finish(nullptr);
    }
    const std::vector<HWND> children = windows.Children(parent);
    bool searching = childAfter == nullptr;
    for (HWND child : children) {
        if (searching && Matches(*windows.Find(child), className, windowName)) return finish(child);
        if (child == childAfter) searching = true;
    }
    return finish(nullptr);
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const char* name = MessageName(message);
    const std::string messageArg = name ? std::string(name) : simwin::Hex(message);
    const std::string args = WindowName(window) + ", " + messageArg + ", " + simwin::Hex(wParam) + ", " +
                             simwin::Hex(static_cast<DWORD>(lParam));
    auto finish = [&](LRESULT result) {
        machine().journal.Record("SendMessageA", args, result);
        return result;
    };
    if (auto fault = machine().faults.Check("SendMessageA", ERROR_INVALID_WINDOW_HANDLE, messageArg)) {
        machine().lastError = static_cast<DWORD>(*fault);
        return finish(0);
    }
    simwin::Window* target = machine().windows.Find(window);
    if (!target) {
        machine().lastError = ERROR_INVALID_WINDOW_HANDLE;
        return finish(0);
    }
    return finish(target->listView ? ListViewMessage(*target, message, wParam, lParam) : 0);
}

LRESULT WINAPI SendMessageTimeoutA(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeoutMs,
                                   PDWORD_PTR result) {
    const char* name = MessageName(message);
    const std::string messageArg = name ? std::string(name) : simwin::Hex(message);
    const std::string args = WindowName(window) + ", " + messageArg + ", " + simwin::Hex(wParam) + ", " +
                             simwin::Hex(static_cast<DWORD>(lParam)) + ", " + simwin::Hex(flags) + ", " +
                             std::to_string(timeoutMs);
    if (result) *result = 0;
    LRESULT sent = 0;
    simwin::Window* target = nullptr;
    if (auto fault = machine().faults.Check("SendMessageTimeoutA", ERROR_INVALID_WINDOW_HANDLE, messageArg)) {
        machine().lastError = static_cast<DWORD>(*fault);
    } else if (!(target = machine().windows.Find(window))) {
        machine().lastError = ERROR_INVALID_WINDOW_HANDLE;
    } else if (target->listView && target->listView->hung) {
        machine().clock.Advance(timeoutMs);
        machine().lastError = ERROR_TIMEOUT;
    } else {
        const LRESULT answer = target->listView ? ListViewMessage(*target, message, wParam, lParam) : 0;
        if (result) *result = static_cast<DWORD_PTR>(answer);
        sent = 1;
    }
    simwin::JournalEntry entry;
    entry.call = "SendMessageTimeoutA";
    entry.args = args;
    entry.result = sent;
    if (sent && result) {
        entry.count = static_cast<long long>(*result);
        entry.found = std::to_string(*result);
    }
    machine().journal.Record(std::move(entry));
    return sent;
}

namespace {

// The window a call names, or null with ERROR_INVALID_WINDOW_HANDLE (or the injected fault's error).
simwin::Window* TargetWindow(const char* call, HWND window, const std::string& variant = "") {
    if (auto fault = machine().faults.Check(call, ERROR_INVALID_WINDOW_HANDLE, variant)) {
        machine().lastError = static_cast<DWORD>(*fault);
        return nullptr;
    }
    simwin::Window* target = machine().windows.Find(window);
    if (!target) machine().lastError = ERROR_INVALID_WINDOW_HANDLE;
    return target;
}

std::string IndexName(int index) { return index == GWL_STYLE ? "GWL_STYLE" : std::to_string(index); }

}  // namespace

LONG WINAPI GetWindowLongA(HWND window, int index) {
    LONG result = 0;
    if (simwin::Window* target = TargetWindow("GetWindowLongA", window, IndexName(index))) {
        if (index == GWL_STYLE)
            result = target->style;
        else
            machine().lastError = ERROR_INVALID_INDEX;
    }
    machine().journal.Record("GetWindowLongA", WindowName(window) + ", " + IndexName(index),
                             static_cast<DWORD>(result));
    return result;
}

LONG WINAPI SetWindowLongA(HWND window, int index, LONG value) {
    LONG previous = 0;
    if (simwin::Window* target = TargetWindow("SetWindowLongA", window, IndexName(index))) {
        if (index == GWL_STYLE) {
            previous = target->style;
            target->style = value;
        } else {
            machine().lastError = ERROR_INVALID_INDEX;
        }
    }
    machine().journal.Record(
        "SetWindowLongA", WindowName(window) + ", " + IndexName(index) + ", " + simwin::Hex(static_cast<DWORD>(value)),
        static_cast<DWORD>(previous));
    return previous;
}

BOOL WINAPI UpdateWindow(HWND window) {
    const BOOL result = TargetWindow("UpdateWindow", window) ? TRUE : FALSE;
    machine().journal.Record("UpdateWindow", WindowName(window), result);
    return result;
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
    simwin::Window* target = TargetWindow("EndDialog", dialog);
    if (target) target->dialogResult = result;
    machine().journal.Record("EndDialog", WindowName(dialog) + ", " + std::to_string(result), target ? TRUE : FALSE);
    return target ? TRUE : FALSE;
}
