// The size command's overhead above its fixed waits, in its parts and beside its floors: see
// size_command_overhead.h.
#include "tests/wine/benchmarks/size_command_overhead.h"
#include "tests/wine/benchmarks/relay_trace.h"

#include "tests/support/test_platform.h"
#include "tests/wine/driver/waits.h"

#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>

namespace e2e {

namespace {

UINT HexArgument(const TracedCall& call, size_t index) {
    return static_cast<UINT>(std::strtoul(call.Argument(index).c_str(), nullptr, 16));
}

}  // namespace

bool SplitOverhead(const std::vector<TracedCall>& calls, const Timings& timings, DWORD fixedToNoticeMs, DWORD noticeMs,
                   Overhead* overhead, std::string* why) {
    // The confirmation's dialog returns first; the main dialog's, around it, at the program's end.
    const TracedCall* confirmation = nullptr;
    const TracedCall* timer = nullptr;
    for (const TracedCall& call : calls) {
        if (call.function == "user32.DialogBoxIndirectParamA" && !call.result.empty() &&
            (!confirmation || call.returned < confirmation->returned))
            confirmation = &call;
        if (call.function == "user32.SetTimer" && HexArgument(call, 2) == noticeMs) timer = &call;
    }
    if (!confirmation || !timer) {
        *why = confirmation ? "no notice timer in the trace" : "no confirmation in the trace";
        return false;
    }
    const DWORD confirmed = confirmation->returned;
    const DWORD armed = timer->called;

    // The program's own code from the click to the confirmation's end: its dialog procedure (which Wine also
    // calls as a window procedure) less the EndDialog it calls there. Everything else is Wine's: the input,
    // the button, the dialog's end.
    std::string procedure;
    for (const TracedCall& call : calls)
        if (call.function.rfind("dialog proc ", 0) == 0) procedure = call.function.substr(std::strlen("dialog proc "));
    DWORD inProgramUntil = 0;  // a call within another one counts once
    for (const TracedCall& call : calls) {
        if (call.called < timings.clicked || call.called > confirmed) continue;
        if (call.function == "user32.EndDialog") overhead->okInProgram -= call.Ms();
        const bool program = !procedure.empty() && (call.function == "dialog proc " + procedure ||
                                                    call.function == "window proc " + procedure);
        if (!program || call.called < inProgramUntil) continue;
        overhead->okInProgram += call.Ms();
        inProgramUntil = call.returned;
    }

    // A pause is one MsgWaitForMultipleObjects, or several while sent messages wake it (WAIT_OBJECT_0).
    struct Span {
        DWORD from, to;
    };
    std::vector<Span> pauses;
    DWORD requested = 0, pauseMs = 0;
    bool inPause = false;
    for (const TracedCall& call : calls) {
        if (call.function != "user32.MsgWaitForMultipleObjects" || call.called < confirmed || call.called > armed)
            continue;
        if (!inPause) {
            pauses.push_back({call.called, call.called});
            pauseMs = HexArgument(call, 3);
        }
        pauses.back().to = call.returned;
        inPause = call.result == "retval=00000000";
        if (inPause) continue;
        requested += pauseMs;
        overhead->pausesOver += static_cast<long>(call.returned - pauses.back().from) - static_cast<long>(pauseMs);
    }
    if (pauses.empty() || requested != fixedToNoticeMs) {
        *why = "the program paused " + std::to_string(requested) + " ms up to the notice, not " +
               std::to_string(fixedToNoticeMs);
        return false;
    }
    const DWORD lastPauseEnd = pauses.back().to;
    DWORD answeredUntil = 0;  // a message handled within another one's handling counts once
    for (const TracedCall& call : calls) {
        if (call.called < confirmed || call.called > lastPauseEnd) continue;
        if ((call.function == "user32.SystemParametersInfoA" && (HexArgument(call, 3) & SPIF_SENDCHANGE)) ||
            call.function == "user32.SetSysColors") {
            overhead->broadcasts += call.Ms();
            if (call.function != "user32.SetSysColors") overhead->broadcastActions.push_back(HexArgument(call, 0));
        } else if (call.function == "shell32.SHChangeNotify" || call.function == "shell32.ShellExecuteExA") {
            overhead->shell += call.Ms();
            ++(call.function == "shell32.SHChangeNotify" ? overhead->shellNotifies : overhead->shellStarts);
        } else if (call.function.rfind("window proc ", 0) == 0 && call.called >= answeredUntil) {
            const std::string message = call.Argument(1);
            if (message != "WM_WININICHANGE" && message != "WM_SYSCOLORCHANGE" && message != "WM_THEMECHANGED")
                continue;
            for (const Span& pause : pauses)
                if (call.called >= pause.from && call.called <= pause.to) {
                    ++overhead->received;
                    overhead->answering += call.Ms();
                    answeredUntil = call.returned;
                }
        }
    }
    overhead->pauses = static_cast<int>(pauses.size());
    overhead->okTaken = static_cast<long>(confirmed - timings.clicked);
    overhead->notice = static_cast<long>(armed - lastPauseEnd);
    overhead->end = static_cast<long>(timings.ended - armed) - static_cast<long>(noticeMs);
    overhead->procedure = static_cast<long>(lastPauseEnd - confirmed) - static_cast<long>(requested) -
                          overhead->broadcasts - overhead->shell - overhead->pausesOver;
    return true;
}

namespace {

double ElapsedMs(const std::function<void()>& work) {
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&before);
    work();
    QueryPerformanceCounter(&after);
    return 1000.0 * static_cast<double>(after.QuadPart - before.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Sets what is set already, as the program's call with `action` would, and broadcasts the change.
double BroadcastFloorMs(UINT action) {
    NONCLIENTMETRICSA nonClient = {};
    nonClient.cbSize = sizeof nonClient;
    ICONMETRICSA icon = {};
    icon.cbSize = sizeof icon;
    void* data = nullptr;
    UINT size = 0;
    if (action == SPI_SETNONCLIENTMETRICS &&
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof nonClient, &nonClient, 0)) {
        data = &nonClient;
        size = sizeof nonClient;
    }
    if (action == SPI_SETICONMETRICS && SystemParametersInfoA(SPI_GETICONMETRICS, sizeof icon, &icon, 0)) {
        data = &icon;
        size = sizeof icon;
    }
    return ElapsedMs([&] { SystemParametersInfoA(action, size, data, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE); });
}

// The notice's template (IDD_CHANGED_NOTICE), in memory: the driver has no such resource.
std::vector<WORD> NoticeLikeTemplate() {
    std::vector<WORD> words;
    const auto dword = [&words](DWORD value) { words.insert(words.end(), {LOWORD(value), HIWORD(value)}); };
    const auto text = [&words](const wchar_t* characters) {
        for (; *characters; ++characters) words.push_back(*characters);
        words.push_back(0);
    };
    dword(DS_SETFONT | DS_MODALFRAME | DS_CENTER | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    dword(0);
    words.insert(words.end(), {1, 0, 0, 103, 46, 0, 0});  // one control; place and size; no menu, no class
    text(L"Optivue");
    words.push_back(24);
    text(L"Arial");
    if (words.size() % 2) words.push_back(0);  // the control on a DWORD boundary
    dword(SS_CENTER | SS_CENTERIMAGE | WS_GROUP | WS_CHILD | WS_VISIBLE);
    dword(0);
    words.insert(words.end(), {7, 7, 89, 31, 0xFFFF, 0xFFFF, 0x0082});  // place, size, IDC_STATIC, "Static"
    text(L"Settings have changed.");
    words.push_back(0);
    return words;
}

INT_PTR CALLBACK NoticeLikeProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

double NoticeFloorMs() {
    const std::vector<WORD> dialogTemplate = NoticeLikeTemplate();
    HWND notice = nullptr;
    const double ms = ElapsedMs([&] {
        notice = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                            reinterpret_cast<LPCDLGTEMPLATEA>(dialogTemplate.data()), nullptr,
                                            NoticeLikeProc, 0);
        ShowWindow(notice, SW_SHOW);
        UpdateWindow(notice);
    });
    EXPECT_NE(nullptr, notice);
    DestroyWindow(notice);
    return ms;
}

// bare_dialog.exe started as the program starts its tool, and ended from its window: how long ShellExecuteExA
// took, and how long from the close to the process gone.
void StartAndEndFloorMs(double* startMs, double* endMs) {
    const std::string bareDialog = test_platform::ProgramFolder() + "bare_dialog.exe";
    *startMs = ElapsedMs([&] {
        SHELLEXECUTEINFOA start = {};
        start.cbSize = sizeof start;
        start.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        start.hwnd = GetForegroundWindow();
        start.lpVerb = "open";
        start.lpFile = bareDialog.c_str();
        start.nShow = SW_SHOW;
        if (ShellExecuteExA(&start) && start.hProcess) CloseHandle(start.hProcess);
    });
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil([&window] { return (window = FindWindowA(nullptr, "Bare dialog")) != nullptr; }));
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    ASSERT_NE(nullptr, process);
    Sync(window);
    *endMs = ElapsedMs([&] {
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        WaitForSingleObject(process, kWaitMs);
    });
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, 0)) << "bare_dialog.exe did not end";
    CloseHandle(process);
}

}  // namespace

Floors MeasureFloors(int runs, const std::vector<UINT>& actions) {
    std::map<UINT, std::vector<double>> broadcast;
    std::vector<double> shellNotify, shellStart, pauseOver, notice, end;
    NoticeFloorMs();  // the first dialog of a process costs more; the notice is not the program's first
    for (int run = 0; run < runs; ++run) {
        for (UINT action : actions) broadcast[action].push_back(BroadcastFloorMs(action));
        shellNotify.push_back(ElapsedMs([] { SHChangeNotify(SHCNE_ASSOCCHANGED, 0x2000, nullptr, nullptr); }));
        double started = 0, ended = 0;
        StartAndEndFloorMs(&started, &ended);
        shellStart.push_back(started);
        end.push_back(ended);
        for (int pause = 0; pause < 10; ++pause)
            pauseOver.push_back(ElapsedMs([] { MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_SENDMESSAGE); }) -
                                100);
        notice.push_back(NoticeFloorMs());
    }
    Floors floors;
    for (const auto& [action, ms] : broadcast) floors.broadcast[action] = Median(ms);
    floors.shellNotify = Median(shellNotify);
    floors.shellStart = Median(shellStart);
    floors.pauseOver = Median(pauseOver);
    floors.notice = Median(notice);
    floors.end = Median(end);
    return floors;
}

std::string Ms(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0fms", ms);
    return text;
}

std::string Share(double ms, DWORD of) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%%", 100.0 * ms / of);
    return text;
}

// A line of the table: the label, then the cells in the header's columns.
void PrintRow(const std::string& label, const std::vector<std::string>& cells) {
    static const int kWidths[] = {4, 7, 7, 14, 13, 6, 6, 6, 6, 6, 6, 6, 10, 7, 14};
    std::printf("%-34s", label.c_str());
    for (size_t i = 0; i < cells.size() && i < std::size(kWidths); ++i)
        std::printf("%s%*s", i == 5 || i == 12 || i == 13 ? " | " : " ", kWidths[i], cells[i].c_str());
    std::printf("\n");
}

}  // namespace e2e
