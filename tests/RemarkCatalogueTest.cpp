// The two choosers against the model of their rules, and how often each
// text comes up when the number is scaled from the generator's 0..32767 the
// way the balloon does.
#include "RemarkCatalogue.h"
#include "RemarkModel.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <vector>

namespace {

// Every number either chooser can be given, and numbers far beyond, which
// must not wrap round into a remark.
TEST(RemarkCatalogue, BothChoosersFollowTheirRules)
{
    std::vector<unsigned> numbers = {UINT_MAX - 3, UINT_MAX};
    for (unsigned n = 0; n < 100; ++n)
        numbers.push_back(n);
    for (unsigned n : numbers) {
        EXPECT_EQ(ModelClickRemark(n), PickClickRemark(n)) << n;
        EXPECT_EQ(ModelIdleRemark(n), PickIdleRemark(n)) << n;
    }
}

// How many of the 32768 raw values r end up at each text with n = r*m >> 15.
// Clicks: 32768 = 51 * 642 + 26, so twenty-six texts get one value more.
// Idle: each notice (from ID 700) owns two of the 57 slots, 2 * 575 values;
// the other 51 texts share the remaining 29318 = 51 * 574 + 44.
TEST(RemarkCatalogue, ClickOddsAreEvenAmongRemarksIdleOddsFavourTheNotices)
{
    struct Odds { unsigned (*pick)(unsigned); unsigned m; size_t texts; int each, withOneMore; };
    for (const Odds& odds : {Odds{PickClickRemark, 51, 51, 642, 26}, Odds{PickIdleRemark, 57, 54, 574, 44}}) {
        std::map<unsigned, int> counts;
        for (unsigned r = 0; r < 32768; ++r)
            ++counts[odds.pick((r * odds.m) >> 15)];
        ASSERT_EQ(odds.texts, counts.size()) << "m " << odds.m;
        int withOneMore = 0;
        for (const auto& [id, count] : counts) {
            if (id >= 700) {
                EXPECT_EQ(1150, count) << id;
                continue;
            }
            EXPECT_TRUE(count == odds.each || count == odds.each + 1) << id << ": " << count;
            withOneMore += count == odds.each + 1;
        }
        EXPECT_EQ(odds.withOneMore, withOneMore) << "m " << odds.m;
    }
}

}  // namespace
