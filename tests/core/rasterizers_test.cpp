// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <cmath>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "core/model/calculator_profile.h"
#include "core/model/rasterizers.h"
#include "tests/support/grid_pictures.h"

using core::CellPoint;
using testing_support::cellsPicture;
using testing_support::picture;

namespace {

using Cells = std::vector<std::pair<int, int>>;

template <class Raster> Cells collect(Raster raster) {
    Cells cells;
    raster(core::CellSink([&](int column, int row) { cells.emplace_back(column, row); }));
    return cells;
}

// Every cell touches the next one (8-neighbourhood): a stroke without gaps.
bool gapFree(const Cells& cells) {
    for (size_t i = 1; i < cells.size(); ++i) {
        if (std::abs(cells[i].first - cells[i - 1].first) > 1 ||
            std::abs(cells[i].second - cells[i - 1].second) > 1)
            return false;
    }
    return true;
}

} // namespace

TEST(FreehandSegment, FirstSegmentKeepsThePressFractionAndLeavesItsEndCell) {
    CellPoint anchor{0.5, 0.5};
    const Cells cells = collect(
        [&](const core::CellSink& plot) { anchor = core::freehandSegment(anchor, 10, 3, plot); });
    EXPECT_EQ(cellsPicture(cells, 0, 0, 4, 11), picture({
                                                    "##.........",
                                                    "..####.....",
                                                    "......####.",
                                                    "...........",
                                                }));
    EXPECT_EQ(anchor, (CellPoint{10, 3}));

    // The next segment starts at the left-out end cell.
    const Cells next = collect(
        [&](const core::CellSink& plot) { anchor = core::freehandSegment(anchor, 12, 3, plot); });
    EXPECT_EQ(next, (Cells{{10, 3}, {11, 3}, {12, 3}}));
}

TEST(FreehandSegment, SteepDragPlotsOneCellPerRow) {
    const Cells cells = collect([](const core::CellSink& plot) {
        core::freehandSegment({2, 0}, 4, 9, plot);
    });
    ASSERT_EQ(cells.size(), 10u);
    for (size_t i = 0; i < cells.size(); ++i)
        EXPECT_EQ(cells[i].second, int(i));
    EXPECT_TRUE(gapFree(cells));
    EXPECT_EQ(cells.front(), (std::pair{2, 0}));
    EXPECT_EQ(cells.back(), (std::pair{4, 9}));
}

TEST(FreehandSegment, SameCellPlotsNothingAndKeepsTheAnchor) {
    CellPoint anchor{3.25, 4.75};
    const Cells cells = collect(
        [&](const core::CellSink& plot) { anchor = core::freehandSegment(anchor, 3, 4, plot); });
    // The fractional anchor differs from cell (3, 4): a steep segment of one cell.
    EXPECT_EQ(cells, (Cells{{3, 4}}));
    EXPECT_EQ(anchor, (CellPoint{3, 4}));

    const Cells again = collect(
        [&](const core::CellSink& plot) { anchor = core::freehandSegment(anchor, 3, 4, plot); });
    EXPECT_TRUE(again.empty());
    EXPECT_EQ(anchor, (CellPoint{3, 4}));
}

TEST(FreehandSegment, VerticalRunsBothWays) {
    EXPECT_EQ(collect([](const auto& plot) {
                  core::freehandSegment({5, 2}, 5, 5, plot);
              }),
              (Cells{{5, 2}, {5, 3}, {5, 4}, {5, 5}}));
    EXPECT_EQ(collect([](const auto& plot) {
                  core::freehandSegment({5, 5}, 5, 3, plot);
              }),
              (Cells{{5, 5}, {5, 4}, {5, 3}}));
}

TEST(LineTool, ShallowLineFollowsTheFractionalAnchor) {
    const Cells cells = collect([](const auto& plot) {
        core::rasterLine({2.5, 2.5}, {10.5, 4.5}, plot);
    });
    EXPECT_EQ(cellsPicture(cells, 2, 2, 3, 9), picture({
                                                   "##.......",
                                                   "..####...",
                                                   "......###",
                                               }));
}

TEST(LineTool, EveryLineStartsInThePressedCell) {
    // Pointer positions come as canvas pixel / zoom. Mixing the float counter with a double
    // anchor once put the first cell one row off.
    const Cells example = collect([](const auto& plot) {
        core::rasterLine({111.0 / 7, 56.0 / 7}, {57.0 / 7, 11.0 / 7}, plot);
    });
    ASSERT_FALSE(example.empty());
    EXPECT_EQ(example.front(), (std::pair{15, 8}));

    unsigned seed = 12345;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 8) % unsigned(range));
    };
    int lines = 0;
    for (int zoom = 3; zoom <= 11; ++zoom) {
        for (int i = 0; i < 2000; ++i) {
            const CellPoint a{double(next(96 * zoom)) / zoom, double(next(63 * zoom)) / zoom};
            const CellPoint d{double(next(96 * zoom)) / zoom, double(next(63 * zoom)) / zoom};
            if (a == d)
                continue;
            const Cells cells =
                collect([&](const core::CellSink& plot) { core::rasterLine(a, d, plot); });
            ASSERT_FALSE(cells.empty());
            ASSERT_EQ(cells.front(), (std::pair{int(std::floor(a.x)), int(std::floor(a.y))}))
                << "zoom " << zoom << " from (" << a.x << ", " << a.y << ") to (" << d.x << ", "
                << d.y << ")";
            ++lines;
        }
    }
    EXPECT_GT(lines, 17000);
}

TEST(LineTool, SlopeOneAndSteepLinesStepAlongTheRows) {
    const Cells diagonal = collect([](const auto& plot) {
        core::rasterLine({0.5, 0.5}, {3.5, 3.5}, plot);
    });
    EXPECT_EQ(diagonal, (Cells{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));

    const Cells steep = collect([](const auto& plot) {
        core::rasterLine({1.5, 8.5}, {3.5, 0.5}, plot);
    });
    ASSERT_EQ(steep.size(), 9u);
    EXPECT_EQ(steep.front(), (std::pair{1, 8}));
    EXPECT_EQ(steep.back(), (std::pair{3, 0}));
    EXPECT_TRUE(gapFree(steep));
}

TEST(LineTool, VerticalLineAndReturnToAnchor) {
    EXPECT_EQ(collect([](const auto& plot) {
                  core::rasterLine({4.5, 1.5}, {4.5, 3.5}, plot);
              }),
              (Cells{{4, 1}, {4, 2}, {4, 3}}));
    EXPECT_TRUE(collect([](const auto& plot) {
                    core::rasterLine({4.5, 1.5}, {4.5, 1.5}, plot);
                }).empty());
}

TEST(BoxTool, OutlineOfWholeCellsAndAFlatBoxDrawsOneEdge) {
    const Cells box = collect([](const auto& plot) {
        core::rasterBox({1.5, 1.5}, {4.5, 3.5}, plot);
    });
    EXPECT_EQ(cellsPicture(box, 0, 0, 5, 6), picture({
                                                 "......",
                                                 ".####.",
                                                 ".#..#.",
                                                 ".####.",
                                                 "......",
                                             }));
    const Cells flat = collect([](const auto& plot) {
        core::rasterBox({2.5, 3.5}, {6.5, 3.7}, plot);
    });
    EXPECT_EQ(cellsPicture(flat, 2, 0, 3, 8), picture({
                                                  "........",
                                                  "..#####.",
                                                  "........",
                                              }));
    const Cells horizontal = collect([](const auto& plot) {
        core::rasterBox({2.5, 3.5}, {6.5, 3.5}, plot);
    });
    EXPECT_EQ(cellsPicture(horizontal, 2, 0, 3, 8), cellsPicture(flat, 2, 0, 3, 8));
}

TEST(BarTool, HalfwayCornersRoundToEven) {
    const Cells bar = collect([](const auto& plot) {
        core::rasterBar({3.5, 1.2}, {5.5, 1.2}, plot);
    });
    EXPECT_EQ(bar, (Cells{{4, 1}, {5, 1}, {6, 1}}));

    // Dragged up and to the left: 5.5 -> 6, 2.5 -> 2, 3.5 -> 4, 0.5 -> 0.
    const Cells back = collect([](const auto& plot) {
        core::rasterBar({5.5, 3.5}, {2.5, 0.5}, plot);
    });
    EXPECT_EQ(cellsPicture(back, 0, 0, 6, 8), picture({
                                                  "..#####.",
                                                  "..#####.",
                                                  "..#####.",
                                                  "..#####.",
                                                  "..#####.",
                                                  "........",
                                              }));
}

TEST(CircleTool, FractionalCentreGivesSymmetricQuarterArcs) {
    for (double divisor : {1.0, 0.92}) {
        const Cells cells = collect([&](const auto& plot) {
            core::rasterCircle({30.5, 30.5}, 10, divisor, plot);
        });
        std::set<std::pair<int, int>> unique(cells.begin(), cells.end());
        int top = 1000, bottom = -1000, left = 1000, right = -1000;
        for (auto [c, r] : unique) {
            EXPECT_TRUE(unique.count({60 - c, r}) && unique.count({c, 60 - r}))
                << "not symmetric about cell 30 at " << c << "," << r;
            top = std::min(top, r), bottom = std::max(bottom, r);
            left = std::min(left, c), right = std::max(right, c);
        }
        EXPECT_EQ(left, 20);
        EXPECT_EQ(right, 40);
        // dotwell stretches the circle vertically by 1 / 0.92.
        EXPECT_EQ(top, divisor == 1.0 ? 20 : 19);
        EXPECT_EQ(bottom, divisor == 1.0 ? 40 : 41);
    }
}

TEST(CircleTool, QuarterArcIsGapFreeAndZeroRadiusPlotsNothing) {
    Cells lowerRight;
    core::rasterCircle({10.5, 10.5}, 7, 1.0, [&](int c, int r) {
        if (c >= 10 && r >= 10)
            lowerRight.emplace_back(c, r);
    });
    EXPECT_TRUE(gapFree(lowerRight));
    EXPECT_TRUE(collect([](const auto& plot) {
                    core::rasterCircle({3.5, 3.5}, 0, 1.0, plot);
                }).empty());
}

TEST(EllipseTool, VerticalDragUsesAspectThousand) {
    EXPECT_EQ(core::ellipseAspect({10.5, 20.5}, {10.5, 30.5}), 1000);
    for (double factor : {1.0, 1.15}) {
        const Cells cells = collect([&](const auto& plot) {
            core::rasterEllipse({10.5, 20.5}, {10.5, 30.5}, 10, factor, plot);
        });
        std::set<int> rows;
        for (auto [c, r] : cells) {
            EXPECT_EQ(c, 10);
            rows.insert(r);
        }
        // About 1.15 R each way in dotwell, R in pixvane.
        EXPECT_EQ(*rows.begin(), factor == 1.0 ? 10 : 9);
        EXPECT_EQ(*rows.rbegin(), factor == 1.0 ? 30 : 31); // t stops short of a quarter turn
    }
}

TEST(EllipseTool, FlatDragKeepsTheHorizontalRadius) {
    const Cells cells = collect([](const auto& plot) {
        core::rasterEllipse({20.5, 20.5}, {30.5, 22.5}, 10, 1.0, plot);
    });
    int left = 1000, right = -1000, top = 1000, bottom = -1000;
    for (auto [c, r] : cells) {
        left = std::min(left, c), right = std::max(right, c);
        top = std::min(top, r), bottom = std::max(bottom, r);
    }
    EXPECT_EQ(left, 10);
    EXPECT_EQ(right, 30);
    EXPECT_EQ(top, 18); // aspect 0.2: vertical radius 2
    EXPECT_EQ(bottom, 22);
}

TEST(CellIndex, FloorsTowardMinusInfinityAndSaturates) {
    EXPECT_EQ(core::cellIndex(-0.5), -1);
    EXPECT_EQ(core::cellIndex(95.99), 95);
    EXPECT_EQ(core::cellIndex(96.0), 96);
    EXPECT_LT(core::cellIndex(-1e300), -1000);
    EXPECT_GT(core::cellIndex(1e300), 1000);
}
