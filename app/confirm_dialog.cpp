#include "app/confirm_dialog.h"

#include "res/resource_ids.h"

// No rows of its own: OK and Cancel end it through the framework's handling.
const MessageMap ConfirmDialog::kMessageMap = {&Dialog::kMessageMap, nullptr, 0};

ConfirmDialog::ConfirmDialog() : Dialog(IDD_CONFIRM_DIALOG) {}

ConfirmDialog::~ConfirmDialog() = default;

const MessageMap* ConfirmDialog::GetMessageMap() const { return &kMessageMap; }

BOOL ConfirmDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    SetDlgItemTextA(Window(), IDC_CONFIRM_MESSAGE, message);
    return TRUE;
}
