#include "app/about_dialog.h"

#include "res/resource_ids.h"

// No rows of its own: OK and Cancel close it through the framework's handling.
const MessageMap AboutDialog::kMessageMap = {&Dialog::kMessageMap, nullptr, 0};

AboutDialog::AboutDialog() : Dialog(IDD_ABOUT_DIALOG) {}

AboutDialog::~AboutDialog() = default;

const MessageMap* AboutDialog::GetMessageMap() const { return &kMessageMap; }
