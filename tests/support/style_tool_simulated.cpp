// The stand-in for the visual-style tool on the simulated machine: a file of the machine's, which the
// shell's start hook plays 550 ms after the start.
#include "tests/support/style_tool.h"

#include "settings/visual_style.h"
#include "tests/fixtures/style_tool_double.h"
#include "tests/support/test_platform.h"

#include <simwin/sim.h>

#include <vector>

namespace test_platform {

StyleToolDouble::StyleToolDouble(Place place) {
    simwin::Machine& machine = simwin::machine();
    path_ = place == Place::kInstallationFolder ? std::string(kStyleToolPath) : ProgramFolder() + "chgtheme.exe";
    machine.kernel.AddFile(path_);
    std::shared_ptr<bool> finished = finished_;
    machine.shell.onStart = [finished](const std::string&, const std::string&) {
        simwin::machine().clock.At(simwin::machine().clock.NowMs() + 550, [finished] {
            simwin::Machine& m = simwin::machine();
            std::vector<BYTE> seen;
            for (const auto& live : style_tool_double::kLiveColors) {
                m.display.colors[live.index] = live.color;
                const BYTE* bytes = reinterpret_cast<const BYTE*>(&m.display.colors[live.index]);
                seen.insert(seen.end(), bytes, bytes + sizeof(COLORREF));
            }
            m.registry.SetValue(std::string("HKEY_CURRENT_USER\\") + style_tool_double::kReportKey,
                                style_tool_double::kColorsSeen, REG_BINARY, seen);
            for (const auto& stored : style_tool_double::kStoredColors)
                m.registry.SetString("HKEY_CURRENT_USER\\Control Panel\\Colors", stored.name, stored.text);
            *finished = true;
        });
    };
    installed_ = true;
}

StyleToolDouble::~StyleToolDouble() {
    simwin::Machine& machine = simwin::machine();
    machine.shell.onStart = nullptr;
    auto& files = machine.kernel.files;
    for (auto file = files.begin(); file != files.end(); ++file)
        if (*file == path_) {
            files.erase(file);
            break;
        }
}

bool StyleToolDouble::Finished() const { return *finished_; }

}  // namespace test_platform
