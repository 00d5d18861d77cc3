#include "app/size_dialog.h"

#include "app/about_dialog.h"
#include "app/confirm_dialog.h"
#include "app/follow_up_run.h"
#include "app/os_version.h"
#include "res/product.h"
#include "res/resource_ids.h"
#include "settings/string_rows.h"

namespace {

// The visual-style switch starts its tool from here.
constexpr const char* kInstallationFolder = OPTIVUE_INSTALLATION_FOLDER;
constexpr const char* kMessageCaption = "Optivue";
constexpr const char* kAboutEntry = "&About...";
// Posted behind whatever was posted to the main window while a size was applied.
constexpr UINT kPostedRequestsMarker = WM_APP + 1;
constexpr LONG kMinimumScreenWidth = 1024;
constexpr LONG kMinimumScreenHeight = 768;

RECT WindowRect(HWND window) {
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(window, &rect);
    return rect;
}

}  // namespace

const MessageMapEntry SizeDialog::kMessageEntries[] = {
    {WM_SYSCOMMAND, kAnyId, Handler<&SizeDialog::OnSysCommand>},
    {WM_PAINT, kAnyId, Handler<&SizeDialog::OnPaint>},
    {WM_QUERYDRAGICON, kAnyId, Handler<&SizeDialog::OnQueryDragIcon>},
    {WM_COMMAND, IDC_NORMAL_SIZE, Handler<&SizeDialog::OnNormalSize>},
    {WM_COMMAND, IDC_LARGE_SIZE, Handler<&SizeDialog::OnLargeSize>},
    {WM_COMMAND, IDC_EXTRA_LARGE_SIZE, Handler<&SizeDialog::OnExtraLargeSize>},
    {WM_COMMAND, IDM_NORMAL_SIZE, Handler<&SizeDialog::OnNormalSize>},
    {WM_COMMAND, IDM_LARGE_SIZE, Handler<&SizeDialog::OnLargeSize>},
    {WM_COMMAND, IDM_EXTRA_LARGE_SIZE, Handler<&SizeDialog::OnExtraLargeSize>},
    {WM_TIMER, kAnyId, Handler<&SizeDialog::OnTimer>},
    {WM_CLOSE, kAnyId, Handler<&SizeDialog::OnClose>},
    {WM_QUERYENDSESSION, kAnyId, Handler<&SizeDialog::OnQueryEndSession>},
    {kPostedRequestsMarker, kAnyId, Handler<&SizeDialog::OnPostedRequestsMarker>},
};
const MessageMap SizeDialog::kMessageMap = {&Dialog::kMessageMap, kMessageEntries,
                                            sizeof kMessageEntries / sizeof kMessageEntries[0]};

SizeDialog::SizeDialog() : Dialog(IDD_SIZE_DIALOG), commands_(*this), fonts_(), changedNotice_(IDD_CHANGED_NOTICE) {
    icon_ = LoadIconA(ResourceModule(), MAKEINTRESOURCEA(IDI_PROGRAM));
}

SizeDialog::~SizeDialog() {
    for (HFONT font : fonts_)
        if (font) DeleteObject(font);
}

const MessageMap* SizeDialog::GetMessageMap() const { return &kMessageMap; }

BOOL SizeDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    AddAboutEntry();
    SendMessageA(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageA(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

    // Ending the dialog does not cut the initialisation short: a system that fails both checks shows both
    // messages, and the follow-up check runs after either.
    const OsVersionProbe probe;
    if (!IsSupportedOs(probe.kind())) Refuse(IDS_UNSUPPORTED_SYSTEM, -1);
    if (GetSystemMetrics(SM_CXSCREEN) < kMinimumScreenWidth || GetSystemMetrics(SM_CYSCREEN) < kMinimumScreenHeight)
        Refuse(IDS_SCREEN_TOO_SMALL, -2);
    CheckFollowUpRun(Window());
    SetCurrentDirectoryA(kInstallationFolder);
    CreateFonts();
    SetTexts();

    const int* pictures = PictureControls(probe.kind());
    if (!pictures) return TRUE;  // an unsupported system has no pictures; the dialog has ended already
    for (int i = 0; i < 3; ++i) ShowWindow(Item(pictures[i]), SW_SHOWNORMAL);
    const LONG windowWidth = LayOut(pictures);
    // "Close" goes back to the top of the Z order, first in the tab order, so that the system gives it the
    // focus.
    SetWindowPos(Item(IDCANCEL), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PlaceOnWorkArea(windowWidth);
    BringToForeground();
    return TRUE;
}

// Enter does nothing here: the dialog has no OK button, and the framework's handler would end the program.
void SizeDialog::OnOK() {}

void SizeDialog::OnCancel() { commands_.Close(); }

void SizeDialog::AddAboutEntry() {
    HMENU systemMenu = GetSystemMenu(Window(), FALSE);
    if (!systemMenu) return;
    // The row only decides whether there is an entry: a table without it gets none. The entry's text is the
    // program's own, the same in every language.
    RowText row;
    if (!LoadRow(IDS_ABOUT_ENTRY, &row)) return;
    AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(systemMenu, MF_STRING, IDM_ABOUT, kAboutEntry);
}

void SizeDialog::Refuse(UINT row, INT_PTR result) {
    RowText text;
    LoadRow(row, &text);
    MessageBoxA(Window(), text.text, kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
    EndDialog(result);
}

void SizeDialog::CreateFonts() {
    HDC screen = GetDC(nullptr);
    const int pixelsPerInch = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    int slot = 0;
    for (const DialogFont& use : kDialogFonts) {
        LOGFONTA font = {};
        font.lfCharSet = DEFAULT_CHARSET;
        font.lfHeight = PointFontHeight(use.tenthsOfPoint, pixelsPerInch);
        lstrcpynA(font.lfFaceName, "Arial", LF_FACESIZE);
        // A font that cannot be created leaves the control with the system font.
        fonts_[slot] = CreateFontIndirectA(&font);
        for (int i = 0; i < use.controlCount; ++i)
            SendMessageA(Item(use.controls[i]), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[slot]), TRUE);
        ++slot;
    }
}

void SizeDialog::SetTexts() {
    for (const DialogText& text : kDialogTexts) SetWindowTextA(text.control ? Item(text.control) : Window(), text.text);
}

LONG SizeDialog::LayOut(const int* pictures) {
    PictureSize sizes[3];
    for (int i = 0; i < 3; ++i) {
        const RECT rect = WindowRect(Item(pictures[i]));
        sizes[i] = {rect.right - rect.left, rect.bottom - rect.top};
    }
    HWND close = Item(IDCANCEL);
    const RECT closeRect = WindowRect(close);
    const ControlLayout layout = LayOutControls(sizes, closeRect.right - closeRect.left);

    // Each placement sends the control to the bottom of the Z order, which is also the tab order: afterwards
    // the placed controls run column by column, button, caption, picture, and "Close" last.
    for (int i = 0; i < 3; ++i) {
        const Column& column = layout.columns[i];
        const Placement& button = column.sizeButton;
        const Placement& caption = column.caption;
        SetWindowPos(Item(kSizeButtons[i]), HWND_BOTTOM, button.left, button.top, button.width, button.height, 0);
        SetWindowPos(Item(kSampleCaptions[i]), HWND_BOTTOM, caption.left, caption.top, caption.width, caption.height,
                     0);
        SetWindowPos(Item(pictures[i]), HWND_BOTTOM, column.picture.left, column.picture.top, 0, 0, SWP_NOSIZE);
    }
    SetWindowPos(close, HWND_BOTTOM, layout.close.left, layout.close.top, 0, 0, SWP_NOSIZE);
    return layout.windowWidth;
}

void SizeDialog::PlaceOnWorkArea(LONG windowWidth) {
    // The dialog still stands where it was created, at the screen's origin, so the bottom of "Close" in
    // screen coordinates is its distance from the window's top edge.
    const LONG closeBottom = WindowRect(Item(IDCANCEL)).bottom;
    RECT workArea = {0, 0, 0, 0};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    const WindowPlacement placement = PlaceWindow(workArea, windowWidth, closeBottom);
    SetWindowPos(Window(), HWND_TOP, placement.x, placement.y, placement.width, placement.height, 0);
}

void SizeDialog::BringToForeground() {
    // Attached to the foreground window's input, this thread may take the foreground. With no foreground
    // window, or one of this thread, attaching fails harmlessly and the rest runs all the same.
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD thisThread = GetCurrentThreadId();
    AttachThreadInput(thisThread, foregroundThread, TRUE);
    SetActiveWindow(Window());
    SetWindowPos(Window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(Window());
    AttachThreadInput(thisThread, foregroundThread, FALSE);
}

bool SizeDialog::OnSysCommand(WPARAM command, LPARAM) {
    if ((command & 0xFFF0) != IDM_ABOUT) return false;
    commands_.About();
    return true;
}

bool SizeDialog::OnPaint() {
    if (!IsIconic(Window())) return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Window(), &paint);
    SendMessageA(Window(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client = {0, 0, 0, 0};
    GetClientRect(Window(), &client);
    const POINT origin = CentredIconOrigin(client.right - client.left, client.bottom - client.top,
                                           GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    DrawIcon(dc, origin.x, origin.y, icon_);
    EndPaint(Window(), &paint);
    return true;
}

HICON SizeDialog::OnQueryDragIcon() { return icon_; }

void SizeDialog::OnNormalSize() { commands_.Run(SizeLevel::Normal); }

void SizeDialog::OnLargeSize() { commands_.Run(SizeLevel::Large); }

void SizeDialog::OnExtraLargeSize() { commands_.Run(SizeLevel::ExtraLarge); }

INT_PTR SizeDialog::Confirm(const char* message) {
    ConfirmDialog confirm;
    confirm.message = message;
    return confirm.DoModal();
}

void SizeDialog::Hide() { ShowWindow(Window(), SW_HIDE); }

void SizeDialog::ShowChangedNotice() {
    if (!changedNotice_.Create()) return;
    ShowWindow(changedNotice_.Window(), SW_SHOW);
    UpdateWindow(changedNotice_.Window());
}

// Armed whether or not the notice could be shown: the program ends on time either way.
void SizeDialog::StartNoticeTimer() { SetTimer(Window(), kNoticeTimer, kNoticeTimeMs, nullptr); }

bool SizeDialog::OnTimer(WPARAM timerId, LPARAM) { return commands_.Timer(timerId); }

bool SizeDialog::OnClose() { return commands_.IgnoringRequests(); }

BOOL SizeDialog::OnQueryEndSession() { return commands_.MayEndSession(); }

void SizeDialog::EndMainWindow() { Dialog::OnCancel(); }

void SizeDialog::ShowAbout() {
    AboutDialog about;
    about.DoModal();
}

void SizeDialog::OnPostedRequestsMarker() { commands_.PostedRequestsTaken(); }

bool SizeDialog::MarkPostedRequests() { return PostMessageA(Window(), kPostedRequestsMarker, 0, 0) != FALSE; }

// The main window is hidden: the box comes to the front by itself, so that the user sees it.
void SizeDialog::TellNotChanged(const char* message) {
    MessageBoxA(Window(), message, kMessageCaption, MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
}

void SizeDialog::EndNotChanged() {
    exitCode_ = kExitNotAllChanged;
    PostQuitMessage(kExitNotAllChanged);
}

void SizeDialog::EndAfterNotice() {
    changedNotice_.DestroyWindow();
    KillTimer(Window(), kNoticeTimer);
    PostQuitMessage(0);
}
