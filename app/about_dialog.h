// The About box: the program's name and version, the maker's notice and the icon, closed by OK or Cancel.
#pragma once

#include "app/dialog.h"

class AboutDialog : public Dialog {
public:
    AboutDialog();
    ~AboutDialog() override;

protected:
    const MessageMap* GetMessageMap() const override;

private:
    static const MessageMap kMessageMap;
};
