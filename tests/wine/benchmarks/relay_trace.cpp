#include "tests/wine/benchmarks/relay_trace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

namespace e2e {
namespace {

constexpr const char* kWineDebugKey = "Software\\Wine\\Debug";
constexpr const char* kRelayInclude = "RelayInclude";
// The relay channel alone, with the tick count and the process on each line.
constexpr const char* kRelayChannels = "-all,+timestamp,+pid,+relay";

unsigned long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

int BenchmarkRuns() {
    const char* runs = std::getenv("OPTIVUE_BENCHMARK_RUNS");
    return runs && std::atoi(runs) > 0 ? std::atoi(runs) : 3;
}

std::string TracedCall::Argument(size_t index) const {
    size_t begin = 0;
    for (size_t i = 0; i < index && begin != std::string::npos; ++i) {
        begin = arguments.find(',', begin);
        if (begin != std::string::npos) ++begin;
    }
    if (begin == std::string::npos) return "";
    const std::string argument = arguments.substr(begin, arguments.find(',', begin) - begin);
    const size_t named = argument.find('=');
    return named == std::string::npos ? argument : argument.substr(named + 1);
}

RelayTrace::RelayTrace(const std::string& functions)
    : savedInclude_(test_platform::GetValue(kWineDebugKey, kRelayInclude)) {
    const char* path = std::getenv("OPTIVUE_BENCHMARK_TRACE");
    if (path && *path) {
        path_ = WindowsPath(path);
        start_ = FileSize(path_);
    }
    test_platform::PutString(kWineDebugKey, kRelayInclude, functions);
}

RelayTrace::~RelayTrace() {
    if (savedInclude_.exists)
        test_platform::PutValue(kWineDebugKey, kRelayInclude, savedInclude_.type, savedInclude_.data);
    else
        test_platform::DeleteValue(kWineDebugKey, kRelayInclude);
}

std::unique_ptr<Program> RelayTrace::Start(const char* version) const {
    // A new process takes Wine's debug channels from the environment it is given: this one's, for the
    // moment of the start.
    char channels[256] = "";
    const DWORD length = GetEnvironmentVariableA("WINEDEBUG", channels, sizeof channels);
    SetEnvironmentVariableA("WINEDEBUG", kRelayChannels);
    auto program = std::make_unique<Program>(version);
    SetEnvironmentVariableA("WINEDEBUG", length > 0 && length < sizeof channels ? channels : nullptr);
    return program;
}

std::vector<TracedCall> RelayTrace::CallsOf(DWORD processId) const {
    std::vector<TracedCall> calls;
    std::ifstream file(path_, std::ios::binary);
    if (!file || !file.seekg(static_cast<std::streamoff>(start_))) return calls;
    std::map<unsigned, std::vector<size_t>> open;  // by thread: the calls not returned yet, the innermost last
    std::string line;
    while (std::getline(file, line)) {
        // "19935.401:0138:013c:Call user32.SetTimer(00020084,00000064,000007d0,00000000) ret=00401e07"
        // "19935.402:0138:013c:Ret  user32.SetTimer() retval=00000064 ret=00401e07"
        unsigned seconds = 0, milliseconds = 0, process = 0, thread = 0;
        char kind[5] = "";
        int consumed = 0;
        if (std::sscanf(line.c_str(), "%u.%3u:%x:%x:%4c%n", &seconds, &milliseconds, &process, &thread, kind,
                        &consumed) < 5 ||
            process != processId)
            continue;
        const bool call = std::strcmp(kind, "Call") == 0;
        if (!call && std::strcmp(kind, "Ret ") != 0) continue;
        const size_t nameAt = line.find_first_not_of(' ', static_cast<size_t>(consumed));
        const size_t argumentsAt = line.find('(', nameAt);
        const size_t argumentsEnd = line.rfind(')');
        if (nameAt == std::string::npos || argumentsAt == std::string::npos || argumentsEnd < argumentsAt) continue;
        std::string function = line.substr(nameAt, argumentsAt - nameAt);
        function.erase(function.find_last_not_of(' ') + 1);
        const DWORD ticks = static_cast<DWORD>(seconds) * 1000 + milliseconds;
        std::vector<size_t>& stack = open[thread];
        if (call) {
            TracedCall traced;
            traced.function = function;
            traced.arguments = line.substr(argumentsAt + 1, argumentsEnd - argumentsAt - 1);
            traced.called = traced.returned = ticks;
            stack.push_back(calls.size());
            calls.push_back(traced);
            continue;
        }
        // A call that never returned (ExitProcess) is left behind by the return of one around it.
        const auto match =
            std::find_if(stack.rbegin(), stack.rend(), [&](size_t index) { return calls[index].function == function; });
        if (match == stack.rend()) continue;
        TracedCall& returned = calls[*match];
        stack.erase(std::prev(match.base()), stack.end());
        returned.returned = ticks;
        const size_t result = line.find("retval=", argumentsEnd);
        returned.result =
            result == std::string::npos ? "returned" : line.substr(result, line.find(' ', result) - result);
    }
    return calls;
}

}  // namespace e2e
