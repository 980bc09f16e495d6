// Input method scripts: what a line means, what is refused, and the messages a step makes.
#include "client/ime_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text_input.h"

namespace vs::client {
namespace {

TEST(ImeScript, LinesParseOrAreRefusedWithTheirNumber) {
    struct Case {
        const char* script;
        bool ok;
        const char* error;
    } cases[] = {
        {"# nothing\n\n  \n", true, ""},
        {"10 compose ka 2\n20 candidates 1 KA ka\n30 commit KA\n40 close\n50 open 1\n60 end", true,
         ""},
        {"10 compose ka\n", false, "line 1: compose TEXT CURSOR"},
        {"\n10 compose ka 200\n", false, "line 2: a cursor of 0 to 127"},
        {"x end\n", false, "line 1: a time in milliseconds first"},
        {"-5 end\n", false, "line 1: a time in milliseconds first"},
        {"10\n", false, "line 1: a command after the time"},
        {"10 candidates\n", false, "line 1: candidates SELECTION ITEM..."},
        {"10 open 2\n", false, "line 1: open 0 or 1"},
        {"10 shout\n", false, "line 1: an unknown command"},
        {"10 end now\n", false, "line 1: no arguments"},
    };
    for (const Case& c : cases) {
        std::vector<ImeScriptStep> steps;
        std::string error;
        EXPECT_EQ(parseImeScript(c.script, steps, error), c.ok) << c.script;
        EXPECT_EQ(error, c.error) << c.script;
        if (!c.ok) {
            EXPECT_TRUE(steps.empty());
        }
    }
    std::vector<ImeScriptStep> steps;
    std::string error;
    ASSERT_TRUE(parseImeScript("5 compose \xC3\xA9t\xC3\xA9 1\n", steps, error));
    EXPECT_EQ(steps[0].at, 5u);
    EXPECT_EQ(steps[0].text, u"\u00e9t\u00e9");
    EXPECT_EQ(steps[0].number, 1);
}

TEST(ImeScript, StepsPostWhatAMethodWould) {
    std::vector<ImeScriptStep> steps;
    std::string error;
    ASSERT_TRUE(
        parseImeScript("0 compose a 1\n0 compose ab 2\n0 commit AB\n0 commit c\n", steps, error));
    bool composing = false;
    std::vector<uint32_t> ids;
    for (const auto& s : steps)
        for (const auto& m : imeScriptMessages(s, composing)) ids.push_back(m.id);
    using namespace platform;
    EXPECT_EQ(ids,
              (std::vector<uint32_t>{kWmImeStartComposition, kWmImeComposition, kWmImeComposition,
                                     kWmImeComposition, kWmImeEndComposition, kWmImeComposition}));
}

}  // namespace
}  // namespace vs::client
