// One size procedure on the simulated platform, for callgrind to count its instructions: the machine is
// arranged as a user's would be (the stored colours, both scheme steps writing, a mail identity, a desktop
// whose icon view snaps to the grid, chgtheme installed and changing a colour while the watch runs), then
// RunMeasured runs the procedure alone, and what it asked of the platform is printed. tests/benchmarks/
// simulated runs it under callgrind, collecting only inside RunMeasured.
//
//   procedure_cost                 the names of the nine procedures
//   procedure_cost NAME            runs one; prints its platform calls and its waits on the virtual clock
#include "settings/size_procedures.h"
#include "settings/visual_style.h"

#include <commctrl.h>
#include <simwin/sim.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

using simwin::machine;

// The table's cells in order: Normal, Large, Extra Large, each on XpStyled, XpClassic and Win2000.
const SizeProcedure& Cell(int i) {
    return SizeProcedureFor(static_cast<SizeLevel>(i / 3), static_cast<SizeVariant>(i % 3));
}
constexpr int kCells = 9;

void Arrange() {
    simwin::Reset();
    simwin::StoreColorKey();
    auto& registry = machine().registry;
    registry.SetString("HKCU\\Control Panel\\Appearance\\New Schemes", "SelectedStyle", "21");
    registry.SetString("HKCU\\Control Panel\\Appearance", "Current", "Windows Standard");
    registry.SetString("HKCU\\Identities", "Default User ID", "{ID}");
    simwin::CreateDesktop(LVS_EX_SNAPTOGRID);
    machine().display.foreground = machine().windows.Create("#32770", "Optivue", nullptr, WS_VISIBLE);
    machine().kernel.AddFile(kStyleToolPath);
    machine().shell.onStart = [](const std::string&, const std::string&) {
        machine().clock.At(machine().clock.NowMs() + 550,
                           [] { machine().display.colors[COLOR_3DFACE] = RGB(1, 2, 3); });
    };
    machine().journal.Clear();
}

// The one function whose instructions are counted.
__attribute__((noinline)) void RunMeasured(const SizeProcedure& procedure) { procedure.Apply(); }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        for (int i = 0; i < kCells; ++i) std::printf("%s\n", Cell(i).name);
        return 0;
    }
    for (int i = 0; i < kCells; ++i) {
        if (std::strcmp(Cell(i).name, argv[1]) != 0) continue;
        Arrange();
        RunMeasured(Cell(i));
        std::printf("calls %zu waits_ms %llu\n", machine().journal.Entries().size(),
                    static_cast<unsigned long long>(machine().clock.NowMs()));
        return 0;
    }
    std::fprintf(stderr, "procedure_cost: no procedure %s\n", argv[1]);
    return 2;
}
