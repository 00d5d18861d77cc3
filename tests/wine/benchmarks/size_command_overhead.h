// The size command's overhead above the waits it makes on purpose, in parts that add up to it, from Wine's
// relay trace of one run; and beside each part its floor, what the same calls cost a trivial caller: the part
// that belongs to Wine and the machine, not to the program.
#pragma once

#include "tests/wine/benchmarks/relay_trace.h"
#include "tests/wine/driver/size_command_steps.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace e2e {

// The calls the trace follows: the confirmation's end (EndDialog, then its DialogBoxIndirectParamA
// returns), the pauses, the broadcasts the program sends, the shell's calls and the notice's timer. Only the
// program calls them; the style tool (started traced) calls SetSysColors in a process of its own.
constexpr const char* kTracedFunctions =
    "user32.DialogBoxIndirectParamA;user32.EndDialog;user32.MsgWaitForMultipleObjects;"
    "user32.SystemParametersInfoA;user32.SetSysColors;shell32.SHChangeNotify;shell32.ShellExecuteExA;user32.SetTimer";

// The overhead of one traced run, in parts that add up to it (ms).
struct Overhead {
    long okTaken = 0;      // the click to the confirmation's end
    long okInProgram = 0;  // of which in the program's dialog procedure, the rest being Wine's
    long procedure = 0;    // the procedure's own work: its code and its other calls
    long broadcasts = 0;   // in its SystemParametersInfoA calls with SPIF_SENDCHANGE and its SetSysColors
    long shell = 0;        // in SHChangeNotify and ShellExecuteExA
    long pausesOver = 0;   // the pauses beyond their lengths
    long notice = 0;       // the end of the last pause to the notice up and its timer armed
    long end = 0;          // the notice's time up to the process gone
    // Other programs' broadcasts answered by the program's windows during its pauses, and how long the
    // window procedures took over them: within the pauses, no overhead.
    long received = 0;
    long answering = 0;
    // What the floors are counted by.
    std::vector<UINT> broadcastActions;
    int pauses = 0, shellNotifies = 0, shellStarts = 0;
};

// Splits the overhead of a run whose pauses up to the notice should add up to `fixedToNoticeMs`, the notice
// then staying `noticeMs`; false, saying why, when the trace lacks a step or the pauses differ.
bool SplitOverhead(const std::vector<TracedCall>& calls, const Timings& timings, DWORD fixedToNoticeMs, DWORD noticeMs,
                   Overhead* overhead, std::string* why);

// What the same calls cost a trivial caller, in ms: this driver, and bare_dialog.exe for a program's end.
struct Floors {
    std::map<UINT, double> broadcast;  // one SystemParametersInfoA with SPIF_SENDCHANGE, by action
    double shellNotify = 0;            // SHChangeNotify(SHCNE_ASSOCCHANGED) as the desktop icons' step makes it
    double shellStart = 0;             // ShellExecuteExA of a program, as the tool is started
    double pauseOver = 0;              // one pause beyond its length
    double notice = 0;                 // a dialog like the notice created, shown and painted
    double end = 0;                    // a dialog program from its window's close to its process gone
};

// The floors, each the median of `runs` measurements; a broadcast's for each of `actions`.
Floors MeasureFloors(int runs, const std::vector<UINT>& actions);

// The table's cells and lines: "473ms", "5.3%", and a line of cells in the columns of the table's head.
std::string Ms(double ms);
std::string Share(double ms, DWORD of);
void PrintRow(const std::string& label, const std::vector<std::string>& cells);

}  // namespace e2e
