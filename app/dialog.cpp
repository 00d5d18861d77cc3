#include "app/dialog.h"

#include <cstring>

namespace {
HINSTANCE g_resourceModule = nullptr;
Dialog* g_mainWindow = nullptr;
}  // namespace

void SetResourceModule(HINSTANCE module) { g_resourceModule = module; }
HINSTANCE ResourceModule() { return g_resourceModule; }
void SetMainWindow(Dialog* dialog) { g_mainWindow = dialog; }
Dialog* MainWindow() { return g_mainWindow; }

const MessageMapEntry Dialog::kMessageEntries[] = {
    {WM_COMMAND, IDOK, Handler<&Dialog::OnOK>},
    {WM_COMMAND, IDCANCEL, Handler<&Dialog::OnCancel>},
};
const MessageMap Dialog::kMessageMap = {nullptr, kMessageEntries, sizeof kMessageEntries / sizeof kMessageEntries[0]};

Dialog::Dialog(UINT templateId) : templateId_(templateId), window_(nullptr) {}

Dialog::~Dialog() {
    if (window_) DestroyWindow();
}

const MessageMap* Dialog::GetMessageMap() const { return &kMessageMap; }

BOOL Dialog::OnInitDialog() { return TRUE; }

void Dialog::OnOK() { EndDialog(IDOK); }

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

HWND Dialog::Owner(HWND parent) const {
    if (parent) return parent;
    const Dialog* main = MainWindow();
    return main && main != this ? main->window_ : nullptr;
}

INT_PTR Dialog::DoModal(HWND parent) {
    HINSTANCE module = ResourceModule();
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(templateId_), RT_DIALOG);
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = resource ? SizeofResource(module, resource) : 0;
    constexpr DWORD kLargestTemplate = 0x10000;  // far more than any template of the program
    if (!data || size < sizeof(DLGTEMPLATE) || size > kLargestTemplate) return -1;

    // The dialog manager shows a modal dialog by itself once the dialog is initialised and still running. A
    // template's WS_VISIBLE would show it even when its initialisation has ended it, for a moment before it
    // goes: the run works on a copy without it.
    // Whole DWORDs, as the template's alignment is; a copy that cannot be made fails the run as a missing
    // template does.
    HANDLE heap = GetProcessHeap();
    const DWORD words = (size + sizeof(DWORD) - 1) / sizeof(DWORD);
    DWORD* copy = static_cast<DWORD*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, words * sizeof(DWORD)));
    if (!copy) return -1;
    std::memcpy(copy, data, size);
    const WORD* header = reinterpret_cast<const WORD*>(copy);
    const bool extended = header[0] == 1 && header[1] == 0xFFFF;  // DLGTEMPLATEEX: style after 12 bytes
    copy[extended ? 3 : 0] &= ~static_cast<DWORD>(WS_VISIBLE);
    const INT_PTR result = DialogBoxIndirectParamA(module, reinterpret_cast<LPCDLGTEMPLATEA>(copy), Owner(parent),
                                                   &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
    HeapFree(heap, 0, copy);
    return result;
}

bool Dialog::Create(HWND parent) {
    return CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(templateId_), Owner(parent), &Dialog::DialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::DestroyWindow() {
    if (window_) ::DestroyWindow(window_);
}

void Dialog::EndDialog(INT_PTR result) {
    if (window_) ::EndDialog(window_, result);
}

bool Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
    const bool command = message == WM_COMMAND;
    if (command && HIWORD(wParam) != 0) return false;
    const UINT id = command ? LOWORD(wParam) : kAnyId;
    for (const MessageMap* map = GetMessageMap(); map; map = map->base) {
        for (size_t i = 0; i < map->count; ++i) {
            const MessageMapEntry& entry = map->entries[i];
            if (entry.message == message && (entry.id == kAnyId || entry.id == id))
                return entry.handler(*this, wParam, lParam, result);
        }
    }
    return false;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        Dialog* dialog = reinterpret_cast<Dialog*>(lParam);
        dialog->window_ = window;
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        return dialog->OnInitDialog();
    }
    // Messages before WM_INITDIALOG (the font, the creation) find no object yet and take the defaults.
    Dialog* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!dialog) return FALSE;
    if (message == WM_NCDESTROY) {
        dialog->window_ = nullptr;
        return FALSE;
    }
    INT_PTR result = 0;
    if (!dialog->Dispatch(message, wParam, lParam, &result)) return FALSE;
    switch (message) {
        // These few return their answer from the dialog procedure itself.
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
            return result;
        default:
            SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
            return TRUE;
    }
}
