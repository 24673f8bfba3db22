// The value range of the track bar and the gauge: both clamp a new value the same way; they
// differ only in what a moved end does to a value that the other end has already left outside,
// which happens once the ends have crossed.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "skin/data/skRange.h"

namespace {

using Rule = sk::TskRange::EndRule;

struct Step {
    char what;  // 'v' value, 'n' minimum, 'x' maximum
    int to;
};

struct Case {
    const char* name;
    std::vector<Step> steps;
    int trackBar;  // the value after the steps with the track bar's rule
    int gauge;     // and with the gauge's
};

int ValueAfter(const std::vector<Step>& steps, Rule rule) {
    sk::TskRange r;
    for (const Step& s : steps) {
        if (s.what == 'v') r.SetValue(s.to);
        if (s.what == 'n') r.SetMin(s.to, rule);
        if (s.what == 'x') r.SetMax(s.to, rule);
    }
    return r.Value;
}

TEST(Range, EndsMoveTheValueAsEachControlsRuleSays) {
    const Case cases[] = {
        {"starts at 50 of 0..100", {}, 50, 50},
        {"value above the maximum stops there", {{'v', 150}}, 100, 100},
        {"value below the minimum stops there", {{'v', -5}}, 0, 0},
        {"a lower maximum pulls the value down", {{'x', 20}}, 20, 20},
        {"a higher minimum pulls the value up", {{'n', 70}}, 70, 70},
        {"ends crossed: the maximum wins for a new value",
         {{'n', 60}, {'x', 40}, {'v', 50}},
         40,
         40},
        {"ends crossed: maximum then minimum", {{'x', 10}, {'n', 30}}, 30, 30},
        // With the ends crossed the value lies beyond one of them: the gauge brings it back
        // from either side, the track bar moves it only across the end that moved.
        {"ends crossed: minimum then maximum", {{'n', 60}, {'x', 40}}, 40, 60},
        {"ends crossed: a lowered minimum", {{'x', 10}, {'n', 30}, {'n', 20}}, 30, 20},
        {"extremes", {{'n', INT_MIN}, {'x', INT_MAX}, {'v', INT_MIN}}, INT_MIN, INT_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ValueAfter(c.steps, Rule::FollowThatEnd), c.trackBar) << c.name;
        EXPECT_EQ(ValueAfter(c.steps, Rule::PullIn), c.gauge) << c.name;
    }
}

TEST(Range, SetValueReportsOnlyRealChangesAndFractionCoversTheEnds) {
    sk::TskRange r;
    EXPECT_FALSE(r.SetValue(50)) << "the value it has";
    EXPECT_TRUE(r.SetValue(500));
    EXPECT_FALSE(r.SetValue(100)) << "clamped to the value it has";
    EXPECT_DOUBLE_EQ(r.Fraction(), 1.0);
    r.SetValue(0);
    EXPECT_DOUBLE_EQ(r.Fraction(), 0.0);
    r.SetMax(0, Rule::PullIn);
    EXPECT_DOUBLE_EQ(r.Fraction(), 0.0) << "equal ends";
    r.SetMin(INT_MIN, Rule::PullIn);
    r.SetMax(INT_MAX, Rule::PullIn);
    r.SetValue(INT_MAX);
    EXPECT_DOUBLE_EQ(r.Fraction(), 1.0) << "the span does not overflow";
}

}  // namespace
