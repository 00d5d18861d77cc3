#include "tests/app/simulated/settings_world.h"

#include "app/follow_up_run.h"
#include "res/resource_ids.h"
#include "settings/size_aspects.h"
#include "settings/visual_style.h"
#include "tests/support/registry_keys.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace settings_world {
namespace {

using journal_walk::Walk;
using simwin::machine;

const std::string kCurrentUser = "HKEY_CURRENT_USER\\";
const std::string kColorsKey = test_keys::InCurrentUser(test_keys::kColors);
const std::string kCursorsKey = test_keys::InCurrentUser(test_keys::kCursors);
const std::string kStartup = "C:\\Documents and Settings\\User\\Start Menu\\Programs\\Startup";

World g_world;

bool SameBytes(const void* a, const void* b, size_t size) { return std::memcmp(a, b, size) == 0; }

bool JournalHasSuccess(const std::string& call, const std::string& argsPrefix) {
    for (const simwin::JournalEntry& entry : machine().journal.Entries())
        if (entry.call == call && entry.args.rfind(argsPrefix, 0) == 0 && entry.result == TRUE) return true;
    return false;
}

}  // namespace

const std::string kShortcutPath = kStartup + "\\Optivue.lnk";

const journal_walk::Bytes& ToolsStoredColor() {
    static const journal_walk::Bytes value = {0xEE};
    return value;
}

const World& TheWorld() { return g_world; }

void Arrange(const Subject* subject) {
    simwin::Reset();
    World& world = g_world;
    world = World();
    simwin::StoreColorKey();
    auto& registry = machine().registry;
    registry.SetString(kCurrentUser + "Control Panel\\Appearance\\New Schemes", "SelectedStyle", "21");
    registry.SetString(kCurrentUser + "Control Panel\\Appearance", "Current", "Windows Standard");
    registry.SetString(kCurrentUser + "Identities", "Default User ID", "{ID}");
    registry.SetDword(kCurrentUser + OPTIVUE_PROGRAM_KEY, OPTIVUE_CHANGED_VALUE, 1);
    machine().kernel.startupFolder = kStartup;
    machine().kernel.AddFile(kShortcutPath);
    machine().kernel.AddFile(kStyleToolPath);

    world.desktop = simwin::CreateDesktop(LVS_EX_SNAPTOGRID);
    world.iconViewStyle = machine().windows.Find(world.desktop.iconView)->style;
    world.dialog = machine().windows.Create("#32770", "Optivue", nullptr, static_cast<LONG>(WS_POPUP | WS_VISIBLE));
    machine().display.foreground = world.dialog;
    world.display = machine().display;

    std::memset(&machine().parameters.nonClientMetrics, 0x5A, sizeof(NONCLIENTMETRICSA));
    machine().parameters.nonClientMetrics.cbSize = sizeof(NONCLIENTMETRICSA);
    std::memset(&machine().parameters.iconMetrics, 0x5A, sizeof(ICONMETRICSA));
    machine().parameters.iconMetrics.cbSize = sizeof(ICONMETRICSA);
    world.nonClient = machine().parameters.nonClientMetrics;
    world.icon = machine().parameters.iconMetrics;

    machine().shell.onStart = [](const std::string&, const std::string&) {
        g_world.toolRan = true;
        machine().shell.runsForMs = 600;  // it switches the size, then ends saying so
        machine().clock.At(machine().clock.NowMs() + 550, [] {
            machine().display.colors[COLOR_3DFACE] = kToolsFace;
            if (auto colors = machine().registry.Find(kColorsKey))
                for (simwin::RegValue& value : colors->values) value = {value.name, REG_BINARY, ToolsStoredColor()};
        });
    };
    if (subject && subject->arrange) subject->arrange();
    machine().journal.Clear();
}

namespace {

// On Windows 2000 a standard scheme other than the one the procedure records, so that the scheme's name
// changes and a run that could not record it shows.
std::function<void()> CurrentSchemeOtherThanTheTarget(const journal_walk::ExpectedProcedure& procedure) {
    if (procedure.variant != SizeVariant::Win2000) return nullptr;
    const UINT other = procedure.schemeRow == IDS_W2K_SCHEME_NORMAL ? IDS_W2K_SCHEME_LARGE : IDS_W2K_SCHEME_NORMAL;
    return [other] {
        machine().registry.SetString(kCurrentUser + test_keys::kAppearance, "Current", *machine().strings.Row(other));
    };
}

}  // namespace

std::vector<Subject> Subjects() {
    std::vector<Subject> subjects;
    for (const journal_walk::ExpectedProcedure& procedure : journal_walk::kExpectedProcedures)
        subjects.push_back({procedure.Cell().name,
                            [&procedure] { return static_cast<int>(procedure.Cell().Apply().unchanged); },
                            [&procedure](Walk& w, auto* seen, auto*) {
                                journal_walk::SizeProcedureSteps(w, procedure, seen);
                                return 0;
                            },
                            true, CurrentSchemeOtherThanTheTarget(procedure)});
    subjects.push_back(
        {"SwitchVisualStyleSize(413)", [] { return SwitchVisualStyleSize(IDS_STYLE_SIZE_LARGE); },
         [](Walk& w, auto* seen, auto*) { return journal_walk::VisualStyleSwitch(w, IDS_STYLE_SIZE_LARGE, seen); }});
    subjects.push_back({"CheckFollowUpRun",
                        [] {
                            CheckFollowUpRun(g_world.dialog);
                            return 0;
                        },
                        [](Walk& w, auto*, journal_walk::FollowUpSeen* seen) {
                            journal_walk::FollowUpRun(w, machine().windows.HandleName(g_world.dialog), kShortcutPath,
                                                      seen);
                            return 0;
                        }});
    return subjects;
}

int RunAndCheck(const Subject& subject, const CleanRun* clean, const std::set<UINT>& refusedRows) {
    const World& world = g_world;
    Walk walk(*machine().registry.Find("HKEY_CURRENT_USER"));
    walk.RefuseRows(refusedRows);
    const int result = subject.run();
    walk.Begin();
    journal_walk::StyleSwitchSeen styleSwitch;
    journal_walk::FollowUpSeen followUp;
    const int expected = subject.steps(walk, &styleSwitch, &followUp);
    walk.End();
    if (walk.Lost()) return result;
    if (!subject.reportsAspects) EXPECT_EQ(expected, result);
    EXPECT_EQ(0u, machine().registry.OpenHandleCount());

    // The registry holds what the walk's successful writes and deletes made of it; a stored colour that
    // was not written back holds what the tool made of it. The pointer files are the cursor tests'.
    simwin::Registry& walked = walk.Registry();
    if (world.toolRan)
        if (auto colors = walked.Find(kColorsKey))
            for (simwin::RegValue& value : colors->values) {
                const auto saved =
                    std::find(styleSwitch.valuesSaved.begin(), styleSwitch.valuesSaved.end(), value.name);
                if (saved == styleSwitch.valuesSaved.end() ||
                    !styleSwitch.valuesWrittenBack[static_cast<size_t>(saved - styleSwitch.valuesSaved.begin())])
                    value = {value.name, REG_BINARY, ToolsStoredColor()};
            }
    if (auto cursors = machine().registry.Find(kCursorsKey))
        for (const simwin::RegValue& value : cursors->values)
            if (!value.name.empty() && value.name != "Scheme Source")
                walked.SetValue(kCursorsKey, value.name, value.type, value.data);
    EXPECT_EQ("", journal_walk::Differences(*machine().registry.Find("HKCU"), *walked.Find("HKCU")));

    // A metrics record reaches the system whole or not at all.
    const bool nonClientSet = JournalHasSuccess("SystemParametersInfoA", "SPI_SETNONCLIENTMETRICS");
    const bool iconSet = JournalHasSuccess("SystemParametersInfoA", "SPI_SETICONMETRICS");
    const NONCLIENTMETRICSA& nonClient = machine().parameters.nonClientMetrics;
    const ICONMETRICSA& icon = machine().parameters.iconMetrics;
    if (clean) {
        EXPECT_TRUE(SameBytes(nonClientSet ? &clean->nonClient : &world.nonClient, &nonClient, sizeof nonClient));
        EXPECT_TRUE(SameBytes(iconSet ? &clean->icon : &world.icon, &icon, sizeof icon));
    } else {
        EXPECT_NE(nonClientSet, SameBytes(&world.nonClient, &nonClient, sizeof nonClient));
        EXPECT_NE(iconSet, SameBytes(&world.icon, &icon, sizeof icon));
    }

    // Every kept colour is back as it was saved; one that was not saved keeps what the tool made of it.
    for (int index : journal_walk::kPreservedColorIndices) {
        const auto pair = std::find(styleSwitch.pairIndices.begin(), styleSwitch.pairIndices.end(), index);
        COLORREF colour = world.display.colors[index];
        if (pair != styleSwitch.pairIndices.end())
            colour = styleSwitch.pairColors[pair - styleSwitch.pairIndices.begin()];
        else if (index == COLOR_3DFACE && world.toolRan)
            colour = kToolsFace;
        EXPECT_EQ(colour, machine().display.colors[index]) << "colour " << index;
    }

    // The desktop's icon view keeps every style bit but the view type, which the last style written set.
    const LONG style = machine().windows.Find(world.desktop.iconView)->style;
    EXPECT_EQ(world.iconViewStyle & ~LVS_TYPEMASK, style & ~LVS_TYPEMASK);
    EXPECT_EQ(followUp.styleWritten.value_or(world.iconViewStyle) & LVS_TYPEMASK, style & LVS_TYPEMASK);
    EXPECT_EQ(!followUp.shortcutDeleted, machine().kernel.FileExists(kShortcutPath));
    EXPECT_EQ(followUp.dialogEnded, machine().windows.Find(world.dialog)->dialogResult.has_value());
    return result;
}

CleanRun RunClean(const Subject& subject) {
    Arrange(&subject);
    const int result = RunAndCheck(subject, nullptr);
    if (subject.reportsAspects) EXPECT_EQ("nothing", AspectNames(static_cast<unsigned>(result)));
    return {machine().parameters.nonClientMetrics, machine().parameters.iconMetrics, SeenAspects()};
}

// ---- What the user has of each aspect ----
const unsigned kAllAspects[5] = {kWindowSizesAspect, kDesktopIconsAspect, kMousePointersAspect, kTextSizeAspect,
                                 kStyleSizeAspect};

namespace {

std::string ValueText(const std::string& key, const std::string& name) {
    const simwin::RegValue* value = machine().registry.Value(kCurrentUser + key, name);
    if (!value) return key + " [" + name + "] none\n";
    std::string text = key + " [" + name + "] " + std::to_string(value->type) + ":";
    for (BYTE b : value->data) text += " " + std::to_string(b);
    return text + "\n";
}

std::string KeyText(const std::string& key) {
    std::string text;
    if (auto found = machine().registry.Find(kCurrentUser + key))
        for (const simwin::RegValue& value : found->values) text += ValueText(key, value.name);
    return text;
}

template <typename Record>
std::string RecordText(const Record& record) {
    std::string text;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&record);
    for (size_t i = 0; i < sizeof record; ++i) text += std::to_string(bytes[i]) + ",";
    return text + "\n";
}

}  // namespace

AspectStates SeenAspects() {
    const simwin::SystemParameters& parameters = machine().parameters;
    AspectStates states;
    states.byAspect[kTextSizeAspect] =
        ValueText(test_keys::kBrowserScripts, "IEFontSize") +
        ValueText("Identities\\{ID}\\Software\\Microsoft\\Outlook Express\\5.0\\Trident\\International\\1252",
                  "IEFontSize");
    states.byAspect[kMousePointersAspect] =
        KeyText(test_keys::kCursors) + "reloads " + std::to_string(parameters.cursorReloads);
    states.byAspect[kWindowSizesAspect] =
        ValueText(test_keys::kAppearance, "Current") + ValueText(test_keys::kAppearance, "NewCurrent") +
        ValueText(test_keys::kStandardScheme, "SelectedSize") + RecordText(parameters.nonClientMetrics);
    states.byAspect[kDesktopIconsAspect] = ValueText(test_keys::kWindowMetrics, "Shell Icon Size") +
                                           RecordText(parameters.iconMetrics) + "reloads " +
                                           std::to_string(parameters.iconReloads);
    states.byAspect[kStyleSizeAspect] = g_world.toolRan ? "the tool ran" : "the tool did not run";
    const simwin::ListViewState& view = *machine().windows.Find(g_world.desktop.iconView)->listView;
    states.iconView =
        "spacing " + std::to_string(view.iconSpacingX) + " x " + std::to_string(view.iconSpacingY) + ", arranged";
    for (WPARAM code : view.arrangements) states.iconView += " " + std::to_string(code);
    return states;
}

bool RunFoundIconView() {
    for (const simwin::JournalEntry& entry : machine().journal.Entries())
        if (entry.call == "FindWindowExA" && entry.result && entry.args.find("\"SysListView32\"") != std::string::npos)
            return true;
    return false;
}

unsigned DifferingAspects(const AspectStates& clean, const AspectStates& run, bool runFoundIconView) {
    unsigned differing = 0;
    for (const auto& [aspect, state] : clean.byAspect)
        if (run.byAspect.at(aspect) != state) differing |= aspect;
    if (runFoundIconView && run.iconView != clean.iconView) differing |= kDesktopIconsAspect;
    return differing;
}

std::string AspectNames(unsigned aspects) {
    const char* const names[] = {"window sizes", "desktop icons", "mouse pointers", "text size", "style size"};
    std::string text;
    for (size_t i = 0; i < std::size(kAllAspects); ++i)
        if (aspects & kAllAspects[i]) text += (text.empty() ? "" : ", ") + std::string(names[i]);
    return text.empty() ? "nothing" : text;
}

}  // namespace settings_world
