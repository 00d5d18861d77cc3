// The confirmation of a size command: the message (which size, and to close other programs first) with
// "OK" and "Cancel". "OK" has the focus.
#pragma once

#include "app/dialog.h"

class ConfirmDialog : public Dialog {
public:
    ConfirmDialog();
    ~ConfirmDialog() override;

    // Set before the dialog runs, to a text that outlives the run.
    const char* message = "";

protected:
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;

private:
    static const MessageMap kMessageMap;
};
