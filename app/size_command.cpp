#include "app/size_command.h"

#include <cstring>

#include "res/resource_ids.h"
#include "settings/pause.h"
#include "settings/registry.h"
#include "settings/size_procedures.h"
#include "settings/string_rows.h"

namespace {

constexpr const char* kThemeManagerKey = "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
constexpr const char* kThemeActiveValue = "ThemeActive";
constexpr DWORD kPauseAfterClassicMs = 2000;

// Rows: Normal, Large, ExtraLarge. Columns: XpStyled, XpClassic, Win2000.
const SizeProcedure kSizeProcedures[3][3] = {
    {
        {"ApplyNormalXpStyled", [] { ApplyNormalXpStyled(); }, 0},
        {"ApplyNormalXpClassic", ApplyNormalXpClassic, kPauseAfterClassicMs},
        {"ApplyNormalWin2000", ApplyNormalWin2000, kPauseAfterClassicMs},
    },
    {
        {"ApplyLargeXpStyled", [] { ApplyLargeXpStyled(); }, 0},
        {"ApplyLargeXpClassic", ApplyLargeXpClassic, kPauseAfterClassicMs},
        {"ApplyLargeWin2000", ApplyLargeWin2000, kPauseAfterClassicMs},
    },
    {
        {"ApplyExtraLargeXpStyled", [] { ApplyExtraLargeXpStyled(); }, 0},
        {"ApplyExtraLargeXpClassic", ApplyExtraLargeXpClassic, kPauseAfterClassicMs},
        {"ApplyExtraLargeWin2000", ApplyExtraLargeWin2000, kPauseAfterClassicMs},
    },
};

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

const SizeProcedure& ChooseSizeProcedure(SizeLevel level, SizeVariant variant) {
    return kSizeProcedures[static_cast<int>(level)][static_cast<int>(variant)];
}

bool RunSizeCommand(SizeLevel level, SizeCommandWindow& window) {
    // Classified afresh: the main dialog runs only on Windows 2000 and XP, and only those get a message.
    const OsVersionProbe probe;
    RowText message = {};
    if (IsSupportedOs(probe.kind())) LoadRow(ConfirmationRow(level), &message);
    if (window.Confirm(message.text) != IDOK) return false;

    const SizeProcedure& procedure = ChooseSizeProcedure(level, ChooseSizeVariant(probe.kind()));
    window.Hide();
    procedure.apply();
    if (procedure.pauseMs) PauseAnsweringSentMessages(procedure.pauseMs);
    window.ShowChangedNotice();
    window.StartNoticeTimer();
    return true;
}

bool SizeCommands::Run(SizeLevel level) {
    if (running_ || applied_) return false;
    running_ = true;
    applied_ = RunSizeCommand(level, window_);
    running_ = false;
    return applied_;
}
