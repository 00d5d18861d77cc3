#include "tests/support/journal_steps.h"

#include <simwin/sim.h>

#include <map>

namespace journal_steps {
namespace {

// The first quoted text of a journal argument list, with the journal's escapes undone.
std::string FirstQuoted(const std::string& args, size_t from = 0) {
    const size_t open = args.find('"', from);
    if (open == std::string::npos) return "";
    std::string text;
    for (size_t i = open + 1; i < args.size() && args[i] != '"'; ++i) text += args[i] == '\\' ? args[++i] : args[i];
    return text;
}

std::string HandleOf(const std::string& args) {
    const size_t arrow = args.rfind("=> ");
    return arrow == std::string::npos ? "" : args.substr(arrow + 3);
}

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
    std::map<std::string, std::string> keyPaths;  // hkey#N -> its path
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
        const std::string handle = entry.args.substr(0, entry.args.find(','));
        if (entry.call == "GetModuleHandleA" || entry.call == "RegCloseKey") continue;
        if (entry.call == "LoadStringA") {
            steps.push_back("row " + entry.args.substr(0, entry.args.find(',')) + (entry.result > 0 ? "" : " missing"));
        } else if (entry.call == "RegOpenKeyExA" || entry.call == "RegCreateKeyExA") {
            if (entry.result == 0) keyPaths[HandleOf(entry.args)] = FirstQuoted(entry.args);
            else steps.push_back("open " + FirstQuoted(entry.args) + result);
        } else if (entry.call == "RegQueryValueExA") {
            steps.push_back("query " + keyPaths[handle] + " [" + FirstQuoted(entry.args) + "]" + result);
        } else if (entry.call == "RegSetValueExA") {
            // hkey#1, "Name", 1, 25
            const size_t nameEnd = entry.args.find("\", ", entry.args.find('"') + 1);
            const std::string rest = entry.args.substr(nameEnd + 3);
            const std::string type = rest.substr(0, rest.find(','));
            const std::string size = rest.substr(rest.find(", ") + 2);
            steps.push_back("set " + keyPaths[handle] + " [" + FirstQuoted(entry.args) + "] " + TypeName(type) + " " +
                            size + result);
        } else if (entry.call == "RegDeleteValueA") {
            steps.push_back("delete " + keyPaths[handle] + " [" + FirstQuoted(entry.args) + "]" + result);
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
