// The two choosers against the model of their rules, that every number
// names a text that exists, and how often each text comes up when the
// number is scaled from the generator's 0..32767 the way the balloon does.
#include "RemarkCatalogue.h"
#include "RemarkModel.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <set>
#include <vector>

namespace {

// The 56 texts of res/Remarks.rc, written out independently of the choosers.
std::set<unsigned> Catalogue()
{
    std::set<unsigned> ids = {104, 680, 681, 700, 701, 702};
    for (unsigned id = 200; id <= 249; ++id)
        ids.insert(id);
    return ids;
}

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

TEST(RemarkCatalogue, EveryNumberNamesATextOfTheCatalogue)
{
    const std::set<unsigned> catalogue = Catalogue();
    ASSERT_EQ(56u, catalogue.size());

    std::set<unsigned> clicks, idles;
    for (unsigned n = 0; n <= 50; ++n) {
        EXPECT_EQ(1u, catalogue.count(PickClickRemark(n))) << "click " << n;
        clicks.insert(PickClickRemark(n));
    }
    for (unsigned n = 0; n <= 56; ++n) {
        EXPECT_EQ(1u, catalogue.count(PickIdleRemark(n))) << "idle " << n;
        idles.insert(PickIdleRemark(n));
    }
    // Every remark is reachable either way; greeting and farewell are
    // never chosen at random.
    EXPECT_EQ(51u, clicks.size());
    EXPECT_EQ(54u, idles.size());
    for (unsigned id : {680u, 681u}) {
        EXPECT_EQ(0u, clicks.count(id));
        EXPECT_EQ(0u, idles.count(id));
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
