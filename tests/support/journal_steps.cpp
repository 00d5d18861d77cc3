#include "tests/support/journal_steps.h"

#include <simwin/sim.h>

#include <map>

namespace journal_steps {
namespace {

const char* TypeName(const std::string& number) {
    static const std::map<std::string, const char*> names = {
        {"1", "REG_SZ"}, {"2", "REG_EXPAND_SZ"}, {"3", "REG_BINARY"}, {"4", "REG_DWORD"}};
    const auto it = names.find(number);
    return it == names.end() ? "REG_?" : it->second;
}

// A pause that answers sent messages, from its tick count at `at` on (see Steps); the index of its last
// step, or `at` when the entries there are no such pause.
size_t FoldPause(const std::vector<simwin::JournalEntry>& entries, size_t at, std::string* step) {
    auto is = [&entries](size_t i, const char* call) { return i < entries.size() && entries[i].call == call; };
    if (!is(at, "GetTickCount") || !is(at + 1, "MsgWaitForMultipleObjects")) return at;
    // "0, NULL, 0, 500, 0x40": the time is the fourth argument.
    const std::string& args = entries[at + 1].args;
    size_t comma = 0;
    for (int i = 0; i < 3 && comma != std::string::npos; ++i) comma = args.find(", ", comma + (i ? 2 : 0));
    *step = "pause " + args.substr(comma + 2, args.find(',', comma + 2) - comma - 2);
    int answered = 0;
    size_t last = at + 1;  // the last step that belongs to the pause
    for (size_t i = at + 1; is(i, "MsgWaitForMultipleObjects"); i += 3) {
        last = i;
        if (entries[i].result == WAIT_TIMEOUT) break;
        if (entries[i].result != WAIT_OBJECT_0) {
            if (is(i + 1, "Sleep")) *step += ", slept " + entries[last = i + 1].args;
            break;
        }
        if (!is(i + 1, "PeekMessageA") || !is(i + 2, "GetTickCount")) break;
        last = i + 2;
        ++answered;
    }
    if (answered) *step += ", answering " + std::to_string(answered);
    return last;
}

}  // namespace

std::vector<std::string> Steps() {
    std::vector<std::string> steps;
    const std::vector<simwin::JournalEntry>& entries = simwin::machine().journal.Entries();
    for (size_t at = 0; at < entries.size(); ++at) {
        const simwin::JournalEntry& entry = entries[at];
        std::string pause;
        if (const size_t last = FoldPause(entries, at, &pause); last != at) {
            steps.push_back(pause);
            at = last;
            continue;
        }
        const std::string result = " -> " + std::to_string(entry.result);
        if (entry.call == "GetModuleHandleA" || entry.call == "RegCloseKey") continue;
        if (entry.call == "LoadStringA") {
            steps.push_back("row " + entry.args.substr(0, entry.args.find(',')) + (entry.result > 0 ? "" : " missing"));
        } else if (entry.call == "RegOpenKeyExA" || entry.call == "RegCreateKeyExA") {
            if (entry.result != 0) steps.push_back("open " + entry.keyPath + result);
        } else if (entry.call == "RegQueryValueExA") {
            steps.push_back("query " + entry.keyPath + " [" + entry.valueName + "]" + result);
        } else if (entry.call == "RegSetValueExA") {
            // hkey#1, "Name", 1, 25: the type and the size are the last two arguments.
            const size_t sizeAt = entry.args.rfind(", ");
            const size_t typeAt = entry.args.rfind(", ", sizeAt - 1);
            const std::string type = entry.args.substr(typeAt + 2, sizeAt - typeAt - 2);
            steps.push_back("set " + entry.keyPath + " [" + entry.valueName + "] " + TypeName(type) + " " +
                            entry.args.substr(sizeAt + 2) + result);
        } else if (entry.call == "RegDeleteValueA") {
            steps.push_back("delete " + entry.keyPath + " [" + entry.valueName + "]" + result);
        } else {
            steps.push_back(entry.Line());
        }
    }
    return steps;
}

std::vector<std::string> StepsStartingWith(const std::vector<std::string>& prefixes) {
    std::vector<std::string> kept;
    for (const std::string& step : Steps())
        for (const std::string& prefix : prefixes)
            if (step.rfind(prefix, 0) == 0) {
                kept.push_back(step);
                break;
            }
    return kept;
}

}  // namespace journal_steps
