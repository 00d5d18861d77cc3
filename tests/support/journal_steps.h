// The simulated platform's journal read as the steps a writer took, for tests that state a sequence.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace journal_steps {

// The journal since the last Clear, one line per step:
//   row 605                         a string-table row loaded ("row 605 missing" when it did not load)
//   query Key\Path [Value] -> 0     a registry value read (the key path below HKEY_CURRENT_USER)
//   set Key\Path [Value] REG_SZ 25 -> 0
//   delete Key\Path [Value] -> 2
//   open Key\Path -> 2              a key that could not be opened or created (both read "open")
//   pause 500                       a pause that answers sent messages: the tick count and the wait for
//                                   its time ("pause 500, answering 2" when two sent messages woke it,
//                                   "pause 500, slept 500" when the wait failed and the rest was slept)
//   and every other call as the journal has it: SystemParametersInfoA(...) -> 1, Sleep(0) -> 0 ...
// The key opens and closes around each registry step and the module lookups of row loading are left out.
std::vector<std::string> Steps();

// Only the steps whose line begins with one of the prefixes.
std::vector<std::string> StepsStartingWith(const std::vector<std::string>& prefixes);

// One case of a writer's journal: what is done to the machine before the writer runs, and the steps it
// must then take.
struct ArrangedSteps {
    const char* label;
    std::function<void()> arrange;
    std::vector<std::string> steps;
};

}  // namespace journal_steps
