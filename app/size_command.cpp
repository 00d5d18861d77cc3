#include "app/size_command.h"

#include <cstring>

#include "res/resource_ids.h"
#include "settings/pause.h"
#include "settings/registry.h"
#include "settings/string_rows.h"
#include "settings/text_trim.h"

namespace {

constexpr const char* kThemeManagerKey = "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
constexpr const char* kThemeActiveValue = "ThemeActive";
constexpr DWORD kPauseAfterClassicMs = 2000;

}  // namespace

UINT ConfirmationRow(SizeLevel level) {
    switch (level) {
        case SizeLevel::Normal:
            return IDS_CONFIRM_NORMAL_SIZE;
        case SizeLevel::Large:
            return IDS_CONFIRM_LARGE_SIZE;
        case SizeLevel::ExtraLarge:
            return IDS_CONFIRM_EXTRA_LARGE_SIZE;
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

namespace {

void AppendRow(char* message, size_t capacity, UINT row) {
    RowText text;
    LoadRow(row, &text);
    AppendText(message, capacity, text.text);
}

// The aspects in the order the box lists them, with their names.
const struct {
    SizeAspect aspect;
    UINT row;
} kAspectNames[] = {
    {kWindowSizesAspect, IDS_ASPECT_WINDOW_SIZES},   {kStyleSizeAspect, IDS_ASPECT_STYLE_SIZE},
    {kDesktopIconsAspect, IDS_ASPECT_DESKTOP_ICONS}, {kMousePointersAspect, IDS_ASPECT_MOUSE_POINTERS},
    {kTextSizeAspect, IDS_ASPECT_TEXT_SIZE},
};

constexpr const char* kListItem = "\n    \x95 ";

void AppendAspects(char* message, size_t capacity, UINT heading, SizeAspects aspects) {
    if (!aspects) return;
    AppendText(message, capacity, "\n\n");
    AppendRow(message, capacity, heading);
    for (const auto& name : kAspectNames) {
        if (!(aspects & name.aspect)) continue;
        AppendText(message, capacity, kListItem);
        AppendRow(message, capacity, name.row);
    }
}

}  // namespace

void ComposeNotChangedMessage(SizeVariant variant, const SizeOutcome& outcome, char* text, size_t capacity) {
    if (capacity == 0) return;
    text[0] = '\0';
    const SizeAspects all = AspectsOf(variant);
    const SizeAspects unchanged = outcome.unchanged & all;
    AppendRow(text, capacity, IDS_NOT_ALL_CHANGED);
    AppendAspects(text, capacity, IDS_CHANGED_HEADING, all & ~unchanged);
    AppendAspects(text, capacity, IDS_NOT_CHANGED_HEADING, unchanged);
    // A missing tool is mended by installing again; anything else may pass, or be an administrator's lock.
    if (outcome.styleToolMissing) {
        AppendText(text, capacity, "\n\n");
        AppendRow(text, capacity, IDS_INSTALL_AGAIN);
    }
    if (unchanged & ~(outcome.styleToolMissing ? kStyleSizeAspect : 0u)) {
        AppendText(text, capacity, "\n\n");
        AppendRow(text, capacity, IDS_TRY_AGAIN);
    }
}

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
    const SizeOutcome outcome = SizeProcedureFor(level, variant).Apply();
    if (const DWORD pauseMs = PauseAfterProcedureMs(variant)) PauseAnsweringSentMessages(pauseMs);
    draining_ = window_.MarkPostedRequests();
    applied_ = true;
    if (outcome.unchanged == 0) {
        window_.ShowChangedNotice();
        window_.StartNoticeTimer();
        applying_ = false;
    } else {
        char message[kNotChangedMessageSize];
        ComposeNotChangedMessage(variant, outcome, message, sizeof message);
        // The settings are as they will stay: a logoff may go on while the box is up.
        applying_ = false;
        telling_ = true;
        window_.TellNotChanged(message);
        window_.EndNotChanged();
    }
    running_ = false;
    return true;
}

void SizeCommands::Close() {
    if (!IgnoringRequests()) window_.EndMainWindow();
}

void SizeCommands::About() {
    if (!IgnoringRequests()) window_.ShowAbout();
}

bool SizeCommands::Timer(UINT_PTR timerId) {
    if (IgnoringRequests()) return true;
    if (timerId == kNoticeTimer) window_.EndAfterNotice();
    return false;
}

BOOL SizeCommands::MayEndSession() const { return applying_ ? FALSE : TRUE; }
