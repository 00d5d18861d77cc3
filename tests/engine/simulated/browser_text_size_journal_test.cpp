// SetBrowserFontSize seen through the simulated platform's journal: the browser write, the identity read
// and the mail write, each made whatever the one before gave, and no mail write without an identity.
#include "settings/browser_text_size.h"
#include "tests/support/journal_steps.h"

#include <simwin/sim.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using journal_steps::Steps;
using simwin::machine;

const char kBrowserWrite[] =
    R"(set Software\Microsoft\Internet Explorer\International\Scripts\3 [IEFontSize] REG_BINARY 4)";
const char kMailWrite[] =
    R"(set Identities\{ID}\Software\Microsoft\Outlook Express\5.0\Trident\International\1252 [IEFontSize] REG_BINARY 4)";

class BrowserTextSizeJournalTest : public testing::Test {
protected:
    void SetUp() override { simwin::Reset(); }
};

TEST_F(BrowserTextSizeJournalTest, WritesTheBrowserReadsTheIdentityAndWritesTheMailReaderInThatOrder) {
    const journal_steps::ArrangedSteps cases[] = {
        {"with an identity",
         [] { machine().registry.SetString("HKCU\\Identities", "Default User ID", "{ID}"); },
         {std::string(kBrowserWrite) + " -> 0", "query Identities [Default User ID] -> 0",
          std::string(kMailWrite) + " -> 0"}},
        {"the browser write fails",
         [] {
             machine().registry.SetString("HKCU\\Identities", "Default User ID", "{ID}");
             machine().faults.FailNth("RegSetValueExA", 1);
         },
         {std::string(kBrowserWrite) + " -> 5", "query Identities [Default User ID] -> 0",
          std::string(kMailWrite) + " -> 0"}},
        {"no Identities key", [] {}, {std::string(kBrowserWrite) + " -> 0", "open Identities -> 2"}},
        {"no Default User ID",
         [] { machine().registry.Ensure("HKCU\\Identities"); },
         {std::string(kBrowserWrite) + " -> 0", "query Identities [Default User ID] -> 2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        simwin::Reset();
        c.arrange();
        SetBrowserFontSize(3);
        EXPECT_EQ(c.steps, Steps());
        EXPECT_EQ(0u, machine().registry.OpenHandleCount());
    }
}

}  // namespace
