// The run finder over pictures drawn as text: one character per pixel, its
// code the colour. Expected runs and read counts are worked out by hand.
#include "KeyRuns.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace {

using Rect = std::array<int, 4>;  // left, top, right, bottom

// A picture of text rows that counts its reads and keeps the runs; it
// refuses the run numbered refuse (1 for the first), if any.
struct Traced : KeyRunTrace {
    Traced(const std::vector<std::string>& rows, int refuse = 0)
        : rows(rows), height(static_cast<int>(rows.size())), width(height ? static_cast<int>(rows[0].size()) : 0),
          refuse(refuse), reads(height, std::vector<int>(width, 0))
    {
    }

    uint32_t Pixel(int x, int y) override
    {
        // A read outside the picture would be a fault of the walk.
        EXPECT_TRUE(x >= 0 && x < width && y >= 0 && y < height) << x << "," << y;
        if (x < 0 || x >= width || y < 0 || y >= height)
            return 0;
        ++reads[y][x];
        ++totalReads;
        return static_cast<unsigned char>(rows[y][x]);
    }
    bool Run(const KeyRun& r) override
    {
        runs.push_back({r.left, r.top, r.right, r.bottom});
        return static_cast<int>(runs.size()) != refuse;
    }

    const std::vector<std::string> rows;
    const int height, width, refuse;
    std::vector<Rect> runs;
    std::vector<std::vector<int>> reads;  // per pixel, [y][x]
    int totalReads = 0;
};

Traced Trace(const std::vector<std::string>& rows, uint32_t key)
{
    Traced t(rows);
    EXPECT_TRUE(FindKeyRuns(t.width, t.height, key, t));
    return t;
}

constexpr uint32_t K = 'K';

// Pictures with their key and the runs worked out by hand: runs end at the
// key only, never at a change of colour, and may touch either edge; the
// corner's colour is cut wherever it occurs, even where it is not the
// background; a key no pixel has gives full rows.
struct Picture {
    std::vector<std::string> rows;
    uint32_t key;
    std::vector<Rect> runs;
};

class KeyRunsOf : public ::testing::TestWithParam<Picture> {};

TEST_P(KeyRunsOf, AreTheHandWorkedOnes)
{
    EXPECT_EQ(GetParam().runs, Trace(GetParam().rows, GetParam().key).runs);
}

INSTANTIATE_TEST_SUITE_P(
    KeyRuns, KeyRunsOf,
    ::testing::Values(Picture{{"KKKKKK", "KNNKNK"}, K, {{1, 1, 3, 2}, {4, 1, 5, 2}}},
                      Picture{{"KKNN", "NNKK", "NKKN", "NNNN"}, K,
                              {{2, 0, 4, 1}, {0, 1, 2, 2}, {0, 2, 1, 3}, {3, 2, 4, 3}, {0, 3, 4, 4}}},
                      Picture{{"KABCK"}, K, {{1, 0, 4, 1}}},
                      Picture{{"ABBA", "BAAB", "BBBB"}, kKeyTopLeft, {{1, 0, 3, 1}, {0, 1, 1, 2}, {3, 1, 4, 2}, {0, 2, 4, 3}}},
                      Picture{{"KKK", "ABC"}, 'Z', {{0, 0, 3, 1}, {0, 1, 3, 2}}}));

TEST(KeyRuns, EmptyPicturesReadAndReportNothing)
{
    for (uint32_t key : {K, kKeyTopLeft}) {
        Traced t({"NNNNN", "NNNNN", "NNNNN", "NNNNN"});
        for (const auto& [width, height] : {std::pair{0, 5}, {5, 0}, {0, 0}, {-3, 4}, {4, -3}})
            EXPECT_TRUE(FindKeyRuns(width, height, key, t));
        EXPECT_EQ(0, t.totalReads);
        EXPECT_TRUE(t.runs.empty());
    }
}

TEST(KeyRuns, ARefusedRunEndsTheWalk)
{
    // The second run is refused: its row is read no further, the next not at all.
    Traced t({"NKNKN", "NNNNN"}, 2);
    EXPECT_FALSE(FindKeyRuns(t.width, t.height, K, t));
    EXPECT_EQ((std::vector<Rect>{{0, 0, 1, 1}, {2, 0, 3, 1}}), t.runs);
    EXPECT_EQ(3 + 3, t.totalReads);
}

TEST(KeyRuns, EachPixelIsReadOnceAndTheStartOfARunTwice)
{
    const std::vector<std::string> picture = {"KNNKNK",
                                              "KKKKKK",
                                              "NNNNNN"};
    const Traced explicitKey = Trace(picture, K);
    const std::vector<std::vector<int>> expected = {{1, 2, 1, 1, 2, 1},
                                                    {1, 1, 1, 1, 1, 1},
                                                    {2, 1, 1, 1, 1, 1}};
    EXPECT_EQ(expected, explicitKey.reads);
    EXPECT_EQ(18 + 3, explicitKey.totalReads);

    // Taking the key from the corner costs exactly one read more.
    const Traced corner = Trace(picture, kKeyTopLeft);
    EXPECT_EQ(explicitKey.runs, corner.runs);
    EXPECT_EQ(2, corner.reads[0][0]);
    EXPECT_EQ(18 + 3 + 1, corner.totalReads);
}

}  // namespace
