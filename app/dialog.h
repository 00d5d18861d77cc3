// A small dialog framework over the dialog manager: a dialog object is built on a template, runs modal or
// modeless, and receives its messages through a message map of named handlers. The object rides in the
// window's DWLP_USER slot from WM_INITDIALOG on; the one static dialog procedure forwards to it.
#pragma once

#include <windows.h>

#include <cstddef>

class Dialog;

// A handler of the map: true when it handled the message (with `result` set where the message returns
// something), false to leave the message to the dialog manager's default processing.
using MessageHandler = bool (*)(Dialog& dialog, WPARAM wParam, LPARAM lParam, INT_PTR* result);

// Matches every identifier of a message that is not WM_COMMAND.
constexpr UINT kAnyId = 0xFFFFFFFFu;

// One row: WM_COMMAND rows name a command identifier and match only notification code 0 (a button click
// or a plain command); rows of other messages take kAnyId.
struct MessageMapEntry {
    UINT message;
    UINT id;
    MessageHandler handler;
};

// A class's own rows, searched in order, then its base class's map.
struct MessageMap {
    const MessageMap* base;
    const MessageMapEntry* entries;
    size_t count;
};

namespace dialog_detail {
template <class Member>
struct Thunk;

// A command: void OnSomething()
template <class D>
struct Thunk<void (D::*)()> {
    template <void (D::*F)()>
    static bool Call(Dialog& dialog, WPARAM, LPARAM, INT_PTR*) {
        (static_cast<D&>(dialog).*F)();
        return true;
    }
};

// A message that may go on to the default processing: bool OnSomething()
template <class D>
struct Thunk<bool (D::*)()> {
    template <bool (D::*F)()>
    static bool Call(Dialog& dialog, WPARAM, LPARAM, INT_PTR*) {
        return (static_cast<D&>(dialog).*F)();
    }
};

// The same with the message's arguments: bool OnSomething(WPARAM, LPARAM)
template <class D>
struct Thunk<bool (D::*)(WPARAM, LPARAM)> {
    template <bool (D::*F)(WPARAM, LPARAM)>
    static bool Call(Dialog& dialog, WPARAM wParam, LPARAM lParam, INT_PTR*) {
        return (static_cast<D&>(dialog).*F)(wParam, lParam);
    }
};

// A message always handled and answered with a number: BOOL OnSomething()
template <class D>
struct Thunk<BOOL (D::*)()> {
    template <BOOL (D::*F)()>
    static bool Call(Dialog& dialog, WPARAM, LPARAM, INT_PTR* result) {
        *result = (static_cast<D&>(dialog).*F)();
        return true;
    }
};

// A message answered with a handle: HICON OnSomething()
template <class D>
struct Thunk<HICON (D::*)()> {
    template <HICON (D::*F)()>
    static bool Call(Dialog& dialog, WPARAM, LPARAM, INT_PTR* result) {
        *result = reinterpret_cast<INT_PTR>((static_cast<D&>(dialog).*F)());
        return true;
    }
};
}  // namespace dialog_detail

// The map's handler for a member function: Handler<&SizeDialog::OnNormalSize>.
template <auto Member>
constexpr MessageHandler Handler = &dialog_detail::Thunk<decltype(Member)>::template Call<Member>;

class Dialog {
public:
    explicit Dialog(UINT templateId);
    // A modeless window that is still there is destroyed with its object.
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog modally and returns what EndDialog gave it, or -1 when it could not be shown. With no
    // parent the application's main window owns it. The run also ends when the quit message arrives; the
    // message stays posted for whoever runs the next loop.
    INT_PTR DoModal(HWND parent = nullptr);

    // Creates the dialog modeless (with no parent the application's main window owns it); false when the
    // window could not be created.
    bool Create(HWND parent = nullptr);
    void DestroyWindow();

    // Ends a modal run with `result`; the initialisation that calls it still runs to its end.
    void EndDialog(INT_PTR result);

    HWND Window() const { return window_; }
    HWND Item(int id) const { return GetDlgItem(window_, id); }

protected:
    virtual const MessageMap* GetMessageMap() const;
    // The dialog's initialisation; true lets the dialog manager put the focus on the first tab stop.
    virtual BOOL OnInitDialog();
    virtual void OnOK();      // ends the modal run with IDOK
    virtual void OnCancel();  // ends the modal run with IDCANCEL

    static const MessageMap kMessageMap;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result);
    HWND Owner(HWND parent) const;

    static const MessageMapEntry kMessageEntries[];

    UINT templateId_;
    HWND window_;
};

// ---- The application ----
// The module whose resources the dialogs and rows come from.
void SetResourceModule(HINSTANCE module);
HINSTANCE ResourceModule();

// The application's main window: the owner of every dialog created without a parent.
void SetMainWindow(Dialog* dialog);
Dialog* MainWindow();
