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
std::map<unsigned, int> Odds(unsigned (*pick)(unsigned), unsigned m)
{
    std::map<unsigned, int> counts;
    for (unsigned r = 0; r < 32768; ++r)
        ++counts[pick((r * m) >> 15)];
    return counts;
}

TEST(RemarkCatalogue, ClickOddsAreEvenAmongRemarks)
{
    // 32768 = 51 * 642 + 26: twenty-six texts get one value more.
    const std::map<unsigned, int> counts = Odds(PickClickRemark, 51);
    ASSERT_EQ(51u, counts.size());
    int with643 = 0;
    for (const auto& [id, count] : counts) {
        EXPECT_TRUE(count == 642 || count == 643) << id << ": " << count;
        with643 += count == 643;
    }
    EXPECT_EQ(26, with643);
}

TEST(RemarkCatalogue, IdleOddsFavourTheNotices)
{
    // Each notice owns two of the 57 slots: 2 * 575 values. The other 51
    // texts share the remaining 29318 = 51 * 574 + 44.
    const std::map<unsigned, int> counts = Odds(PickIdleRemark, 57);
    ASSERT_EQ(54u, counts.size());
    int with575 = 0;
    for (const auto& [id, count] : counts) {
        if (id >= 700) {
            EXPECT_EQ(1150, count) << id;
            continue;
        }
        EXPECT_TRUE(count == 574 || count == 575) << id << ": " << count;
        with575 += count == 575;
    }
    EXPECT_EQ(44, with575);
}

}  // namespace
