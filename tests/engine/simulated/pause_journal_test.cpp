// The size command's pauses on the simulated platform: each keeps its length on the virtual clock, answers
// every message another thread sends while it lasts, when it is sent, and sleeps the rest when the wait
// itself fails.
#include "settings/pause.h"
#include "tests/support/journal_steps.h"

#include <simwin/sim.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using simwin::machine;

TEST(PauseJournalTest, APauseKeepsItsLengthAndAnswersEachSentMessageWhenItIsSent) {
    const struct {
        const char* label;
        DWORD pauseMs;
        std::vector<uint64_t> sentAt;  // virtual times at which another thread sends a message
        bool waitFails;
        std::vector<std::string> steps;
        std::vector<uint64_t> answeredAt;
    } cases[] = {
        {"nothing sent", 500, {}, false, {"pause 500"}, {}},
        {"one message meanwhile", 500, {200}, false, {"pause 500, answering 1"}, {200}},
        {"two at once and one later", 1000, {300, 300, 900}, false, {"pause 1000, answering 2"}, {300, 300, 900}},
        {"sent before the pause", 100, {0}, false, {"pause 100, answering 1"}, {0}},
        {"sent after it", 100, {150}, false, {"pause 100"}, {}},
        {"the wait fails", 2000, {100}, true, {"pause 2000, slept 2000"}, {}},
        {"no pause at all", 0, {}, false, {"GetTickCount() -> 0"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        simwin::Reset();
        std::vector<uint64_t> answeredAt;
        for (uint64_t at : c.sentAt)
            machine().sentMessages.At(at, [&answeredAt] { answeredAt.push_back(machine().clock.NowMs()); });
        if (c.waitFails) machine().faults.FailAll("MsgWaitForMultipleObjects");

        PauseAnsweringSentMessages(c.pauseMs);

        EXPECT_EQ(c.steps, journal_steps::Steps());
        EXPECT_EQ(c.answeredAt, answeredAt);
        EXPECT_EQ(c.pauseMs, machine().clock.NowMs());
    }
}

}  // namespace
