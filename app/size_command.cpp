#include "app/size_command.h"

#include <cstring>

#include "res/resource_ids.h"
#include "settings/pause.h"
#include "settings/registry.h"
#include "settings/string_rows.h"

namespace {

constexpr const char* kThemeManagerKey = "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
constexpr const char* kThemeActiveValue = "ThemeActive";
constexpr DWORD kPauseAfterClassicMs = 2000;

}  // namespace

UINT ConfirmationRow(SizeLevel level) {
    switch (level) {
        case SizeLevel::Normal: return IDS_CONFIRM_NORMAL_SIZE;
        case SizeLevel::Large: return IDS_CONFIRM_LARGE_SIZE;
        case SizeLevel::ExtraLarge: return IDS_CONFIRM_EXTRA_LARGE_SIZE;
    }
    return 0;
}

bool IsVisualStyleActive() {
    char text[512] = {};
    return ReadRegString(HKEY_CURRENT_USER, kThemeManagerKey, kThemeActiveValue, text) == 1 &&
           std::strcmp(text, "1") == 0;
}

SizeVariant ChooseSizeVariant(OsKind kind) {
    if (kind != kOsWindowsXp) return SizeVariant::Win2000;
    return IsVisualStyleActive() ? SizeVariant::XpStyled : SizeVariant::XpClassic;
}

DWORD PauseAfterProcedureMs(SizeVariant variant) { return variant == SizeVariant::XpStyled ? 0 : kPauseAfterClassicMs; }

bool SizeCommands::Run(SizeLevel level) {
    if (running_ || applied_) return false;
    running_ = true;
    // Classified afresh: the main dialog runs only on Windows 2000 and XP, and only those get a message.
    const OsVersionProbe probe;
    RowText message = {};
    if (IsSupportedOs(probe.kind())) LoadRow(ConfirmationRow(level), &message);
    if (window_.Confirm(message.text) != IDOK) {
        running_ = false;
        return false;
    }

    applying_ = true;
    const SizeVariant variant = ChooseSizeVariant(probe.kind());
    window_.Hide();
    SizeProcedureFor(level, variant).Apply();
    if (const DWORD pauseMs = PauseAfterProcedureMs(variant)) PauseAnsweringSentMessages(pauseMs);
    window_.ShowChangedNotice();
    window_.StartNoticeTimer();
    applying_ = false;

    applied_ = true;
    running_ = false;
    return true;
}

void SizeCommands::Close() {
    if (!applying_) window_.EndMainWindow();
}

void SizeCommands::About() {
    if (!applying_) window_.ShowAbout();
}

bool SizeCommands::Timer(UINT_PTR timerId) {
    if (applying_) return true;
    if (timerId == kNoticeTimer) window_.EndAfterNotice();
    return false;
}

BOOL SizeCommands::MayEndSession() const { return applying_ ? FALSE : TRUE; }
