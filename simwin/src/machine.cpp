// The machine behind the simulated platform: journal, fault injection, the last-error value, the clock.
#include <simwin/sim.h>

#include <cctype>
#include <cstdio>
#include <utility>

#ifndef OPTIVUE_RES_DIR
#error "OPTIVUE_RES_DIR must name the folder of the resource scripts"
#endif

namespace simwin {

// ---- Journal ----
std::string JournalEntry::Line() const {
    return call + "(" + args + (found.empty() ? "" : " => " + found) + ") -> " + std::to_string(result);
}

void Journal::Record(std::string call, std::string args, long long result) {
    JournalEntry entry;
    entry.call = std::move(call);
    entry.args = std::move(args);
    entry.result = result;
    entries_.push_back(std::move(entry));
}

void Journal::Record(JournalEntry entry) { entries_.push_back(std::move(entry)); }

std::vector<std::string> Journal::Calls() const {
    std::vector<std::string> calls;
    for (const auto& entry : entries_) calls.push_back(entry.call);
    return calls;
}

std::vector<std::string> Journal::Lines() const {
    std::vector<std::string> lines;
    for (const auto& entry : entries_) lines.push_back(entry.Line());
    return lines;
}

std::vector<std::string> Journal::LinesOf(const std::string& call) const {
    std::vector<std::string> lines;
    for (const auto& entry : entries_)
        if (entry.call == call) lines.push_back(entry.Line());
    return lines;
}

// ---- Clock ----
void Clock::Advance(uint64_t ms) {
    nowMs_ += ms;
    // An action may schedule another; each is taken off before it runs.
    while (!pending_.empty() && pending_.begin()->first <= nowMs_) {
        std::function<void()> action = std::move(pending_.begin()->second);
        pending_.erase(pending_.begin());
        action();
    }
}

void Clock::At(uint64_t atMs, std::function<void()> action) { pending_.emplace(atMs, std::move(action)); }

std::optional<uint64_t> Clock::NextActionMs() const {
    if (pending_.empty()) return std::nullopt;
    return pending_.begin()->first;
}

// ---- Sent messages ----
void SentMessages::At(uint64_t sentAtMs, std::function<void()> onAnswered) {
    pending_.emplace(sentAtMs, std::move(onAnswered));
}

std::optional<uint64_t> SentMessages::EarliestMs() const {
    if (pending_.empty()) return std::nullopt;
    return pending_.begin()->first;
}

void SentMessages::AnswerSentBy(uint64_t nowMs) {
    // An answer may lead its sender to send again; each is taken off before it runs.
    while (!pending_.empty() && pending_.begin()->first <= nowMs) {
        std::function<void()> onAnswered = std::move(pending_.begin()->second);
        pending_.erase(pending_.begin());
        onAnswered();
    }
}

// ---- Faults ----
void Faults::FailAll(const std::string& call, long error) { rules_.push_back(Rule{call, 0, error}); }

void Faults::FailNth(const std::string& call, int nth, long error) {
    rules_.push_back(Rule{call, perCall_[call] + nth, error});
}

void Faults::FailCallNumber(int nth, long error) { rules_.push_back(Rule{"", anyCall_ + nth, error}); }

void Faults::Clear() {
    rules_.clear();
    perCall_.clear();
    byAddress_.clear();
    anyCall_ = 0;
    asked_.clear();
    failed_ = 0;
}

namespace {
// The count of the calls one name names, the name taken in at its first call.
std::map<std::string, int, std::less<>>::iterator Counted(std::map<std::string, int, std::less<>>& counts,
                                                          std::string_view name) {
    auto counted = counts.find(name);
    return counted != counts.end() ? counted : counts.emplace(std::string(name), 0).first;
}
}  // namespace

std::optional<long> Faults::Check(std::string_view call, long naturalError, std::string_view variant) {
    // A plain loop: the debug build of the tests does not inline the algorithms.
    size_t cached = 0;
    while (cached < byAddress_.size() &&
           (byAddress_[cached].first != call.data() || byAddress_[cached].second->first != call))
        ++cached;
    if (cached == byAddress_.size()) byAddress_.emplace_back(call.data(), Counted(perCall_, call));
    const auto counted = byAddress_[cached].second;
    const int callNumber = ++counted->second;
    const std::string* asked = &counted->first;
    std::string variantName;
    int variantNumber = 0;
    if (!variant.empty()) {
        variantName = std::string(call) + ":" + std::string(variant);
        const auto variantCounted = Counted(perCall_, variantName);
        variantNumber = ++variantCounted->second;
        asked = &variantCounted->first;
    }
    const int anyNumber = ++anyCall_;
    asked_.push_back(asked);
    for (const Rule& rule : rules_) {
        bool matches = false;
        if (rule.call.empty())
            matches = rule.nth == anyNumber;
        else if (rule.call == call)
            matches = rule.nth == 0 || rule.nth == callNumber;
        else if (!variant.empty() && rule.call == variantName)
            matches = rule.nth == 0 || rule.nth == variantNumber;
        if (matches) {
            ++failed_;
            return rule.error == kNaturalError ? naturalError : rule.error;
        }
    }
    return std::nullopt;
}

// ---- Machine ----
namespace {
std::unique_ptr<Machine> g_machine;

// The scripts are read once per process; every fresh machine gets its own copy of the tables, which a test
// may break without touching the next machine's.
void LoadResourceStrings(Machine& m) {
    static const StringTables scripts = [] {
        StringTables tables;
        for (const char* file : {"strings_en.rc", "strings_de.rc"}) {
            std::string error;
            const std::string path = std::string(OPTIVUE_RES_DIR) + "/" + file;
            if (!tables.LoadResourceScript(path, &error)) {
                std::fprintf(stderr, "simwin: cannot load %s: %s\n", path.c_str(), error.c_str());
                std::abort();
            }
        }
        return tables;
    }();
    m.strings = scripts;
    m.strings.SetLanguage(StringTables::kEnglish);
}
}  // namespace

Machine& machine() {
    if (!g_machine) Reset();
    return *g_machine;
}

void Reset() {
    g_machine = std::make_unique<Machine>();
    LoadResourceStrings(*g_machine);
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string Quote(const char* text) {
    if (!text) return "NULL";
    std::string out = "\"";
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p == '"' || *p == '\\') {
            out += '\\';
            out += static_cast<char>(*p);
        } else if (*p < 0x20 || *p >= 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", *p);
            out += buf;
        } else {
            out += static_cast<char>(*p);
        }
    }
    return out + "\"";
}

std::string Hex(unsigned long long value) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "0x%llX", value);
    return buf;
}

}  // namespace simwin

// ---- Platform calls ----
DWORD WINAPI GetLastError(void) { return simwin::machine().lastError; }

void WINAPI SetLastError(DWORD error) { simwin::machine().lastError = error; }

void WINAPI Sleep(DWORD milliseconds) {
    simwin::machine().clock.Advance(milliseconds);
    simwin::machine().journal.Record("Sleep", std::to_string(milliseconds), 0);
}

DWORD WINAPI GetTickCount(void) {
    const DWORD now = static_cast<DWORD>(simwin::machine().clock.NowMs());
    simwin::machine().journal.Record("GetTickCount", "", now);
    return now;
}

DWORD WINAPI MsgWaitForMultipleObjects(DWORD count, CONST HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                       DWORD wakeMask) {
    simwin::Machine& m = simwin::machine();
    const std::string handleArg = handles && count == 1
                                      ? "{" + simwin::Hex(reinterpret_cast<uintptr_t>(handles[0])) + "}"
                                  : handles ? "handles"
                                            : "NULL";
    const std::string args = std::to_string(count) + ", " + handleArg + ", " + std::to_string(waitAll) + ", " +
                             std::to_string(milliseconds) + ", " + simwin::Hex(wakeMask);
    // The one object there is to wait on: a started program, which is signalled when it ends.
    const auto process = handles && count == 1 ? m.shell.processes.find(reinterpret_cast<uintptr_t>(handles[0]))
                                               : m.shell.processes.end();
    DWORD result = WAIT_TIMEOUT;
    if (auto fault = m.faults.Check("MsgWaitForMultipleObjects", ERROR_INVALID_PARAMETER)) {
        m.lastError = static_cast<DWORD>(*fault);
        result = WAIT_FAILED;
    } else if (count > 1 || (count == 1 && process == m.shell.processes.end())) {
        m.lastError = ERROR_INVALID_PARAMETER;
        result = WAIT_FAILED;
    } else {
        // The clock moves on from one scheduled action to the next, so that a message an action sends
        // during the wait wakes it at the time it was sent, and the program's end at the time it ends.
        const uint64_t deadline = m.clock.NowMs() + milliseconds;
        const std::optional<uint64_t> ends =
            count == 1 ? std::optional<uint64_t>(process->second.endsAtMs) : std::nullopt;
        for (;;) {
            if (ends && *ends <= m.clock.NowMs()) {
                result = WAIT_OBJECT_0;
                break;
            }
            const std::optional<uint64_t> sent = m.sentMessages.EarliestMs();
            if ((wakeMask & QS_SENDMESSAGE) && sent && *sent <= deadline && (!ends || *sent < *ends)) {
                if (*sent > m.clock.NowMs()) m.clock.Advance(*sent - m.clock.NowMs());
                result = WAIT_OBJECT_0 + count;
                break;
            }
            std::optional<uint64_t> next = m.clock.NextActionMs();
            if (sent && next && !(*next < *sent)) next.reset();  // the message is due first
            if (ends && (!next || *ends < *next)) next = ends;
            if (next && *next <= deadline) {
                m.clock.Advance(*next > m.clock.NowMs() ? *next - m.clock.NowMs() : 0);
                continue;
            }
            m.clock.Advance(deadline - m.clock.NowMs());
            break;
        }
    }
    m.journal.Record("MsgWaitForMultipleObjects", args, result);
    return result;
}

BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
    simwin::Machine& m = simwin::machine();
    const std::string args = std::string(message ? "MSG" : "NULL") + ", " + m.windows.HandleName(window) + ", " +
                             std::to_string(filterMin) + ", " + std::to_string(filterMax) + ", " + simwin::Hex(remove);
    // Sent messages are answered unless the caller asks only for other kinds (a PM_QS_* filter without them).
    const UINT kinds = remove >> 16;
    if (kinds == 0 || (kinds & QS_SENDMESSAGE)) m.sentMessages.AnswerSentBy(m.clock.NowMs());
    m.journal.Record("PeekMessageA", args, FALSE);
    return FALSE;
}
