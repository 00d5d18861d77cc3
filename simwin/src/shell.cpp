// The simulated shell notifications: SHChangeNotify only leaves its trace in the journal.
#include <shlobj.h>
#include <simwin/sim.h>

void WINAPI SHChangeNotify(LONG eventId, UINT flags, LPCVOID item1, LPCVOID item2) {
    const std::string args = simwin::Hex(static_cast<DWORD>(eventId)) + ", " + simwin::Hex(flags) + ", " +
                             (item1 ? "item" : "NULL") + ", " + (item2 ? "item" : "NULL");
    simwin::machine().journal.Record("SHChangeNotify", args, 0);
}
