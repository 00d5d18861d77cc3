// The confirmation of a size command: the message (which size, and to close other programs first) with
// "OK" and "Cancel". "OK" has the focus.
#pragma once

#include <string>

#include "app/dialog.h"

class ConfirmDialog : public Dialog {
public:
    ConfirmDialog();
    ~ConfirmDialog() override;

    // Set before the dialog runs.
    std::string message;

protected:
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;

private:
    static const MessageMap kMessageMap;
};
