// The main window: three size buttons, each above the caption "Sample" and a picture of a folder window at
// that size, and "Close". Its initialisation refuses unsupported systems and small screens, finishes a
// follow-up run, lays the controls out from the pictures' sizes and brings the window to the front.
#pragma once

#include "app/dialog.h"
#include "app/main_dialog_layout.h"
#include "app/size_command.h"

class SizeDialog : public Dialog, private SizeCommandWindow {
public:
    SizeDialog();
    // Deletes the fonts the controls borrowed; the window is gone by then.
    ~SizeDialog() override;

    // The program's exit code once the dialog has ended: kExitNotAllChanged after a size command that could
    // not change everything, 0 otherwise.
    int ExitCode() const { return exitCode_; }

protected:
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    bool OnSysCommand(WPARAM command, LPARAM extra);
    bool OnPaint();
    HICON OnQueryDragIcon();

    // The size commands: the three buttons, and the same three commands sent by other windows.
    void OnNormalSize();
    void OnLargeSize();
    void OnExtraLargeSize();
    // Ends the program once the notice has been on screen for its time.
    bool OnTimer(WPARAM timerId, LPARAM);
    // While a size is being applied (and until the requests posted meanwhile are dropped), a close request
    // is taken and dropped; otherwise it goes on to the dialog manager, which turns it into Cancel.
    bool OnClose();
    BOOL OnQueryEndSession();
    void OnPostedRequestsMarker();

    INT_PTR Confirm(const char* message) override;
    void Hide() override;
    void ShowChangedNotice() override;
    void StartNoticeTimer() override;
    void EndMainWindow() override;
    void ShowAbout() override;
    void EndAfterNotice() override;
    void TellNotChanged(const char* message) override;
    void EndNotChanged() override;
    bool MarkPostedRequests() override;

    void AddAboutEntry();
    void Refuse(UINT row, INT_PTR result);
    void CreateFonts();
    void SetTexts();
    LONG LayOut(const int* pictures);  // returns the window's width
    void PlaceOnWorkArea(LONG windowWidth);
    void BringToForeground();

    static const MessageMapEntry kMessageEntries[];
    static const MessageMap kMessageMap;

    SizeCommands commands_;
    int exitCode_ = 0;
    HICON icon_;
    HFONT fonts_[sizeof kDialogFonts / sizeof kDialogFonts[0]];
    // "Settings have changed.": its window exists from the end of a size command to the program's end.
    Dialog changedNotice_;
};
