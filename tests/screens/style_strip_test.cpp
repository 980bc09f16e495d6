// The new character dialog's strip of four previews and its two arrows.
#include "screens/style_strip.h"

#include <gtest/gtest.h>

#include <string>

namespace vs::screens {
namespace {

// "first selected left right" after each step.
std::string state(const StyleStrip& s) {
    return std::to_string(s.first()) + " " + std::to_string(s.selected()) + " " +
           (s.leftEnabled() ? "L" : "-") + (s.rightEnabled() ? "R" : "-");
}

TEST(StyleStrip, ArrowsByStyleCount) {
    struct Case {
        int count;
        uint32_t random;
        int shown;
        const char* start;
        const char* steps;  // l or r
        const char* end;
    };
    const Case cases[] = {
        {3, 7, 3, "0 0 --", "rrrr", "0 2 --"},      {4, 7, 4, "0 0 --", "rrrrr", "0 3 --"},
        {5, 7, 4, "0 0 -R", "rrr", "0 3 -R"},       {5, 7, 4, "0 0 -R", "rrrr", "1 3 L-"},
        {5, 7, 4, "0 0 -R", "rrrrrl", "1 2 L-"},    {5, 7, 4, "0 0 -R", "rrrrllll", "0 0 -R"},
        {50, 20, 4, "20 0 LR", "l", "19 0 LR"},     {50, 0, 4, "0 0 -R", "l", "0 0 -R"},
        {50, 45, 4, "45 0 LR", "rrrrr", "46 3 L-"}, {0, 3, 0, "0 0 --", "rl", "0 0 --"},
    };
    for (const Case& c : cases) {
        StyleStrip s(c.count, c.random);
        EXPECT_EQ(s.shown(), c.shown) << c.count;
        EXPECT_EQ(state(s), c.start) << c.count;
        for (const char* p = c.steps; *p; ++p) *p == 'l' ? s.MoveLeft() : s.MoveRight();
        EXPECT_EQ(state(s), c.end) << c.count << " " << c.steps;
        EXPECT_LT(s.selectedStyle(), std::max(1, c.count));
    }
}

}  // namespace
}  // namespace vs::screens
