// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <vector>

#include <gtest/gtest.h>

#include "core/model/document.h"
#include "tests/support/grid_pictures.h"

using namespace core;

namespace {

// A stroke of `cells` as the tools make one: a change opened, cells set, closed.
void stroke(Document& d, std::initializer_list<std::pair<int, int>> cells, std::int16_t value = 1) {
    d.beginChange("Pen");
    for (const auto& [r, c] : cells)
        d.setCell(r, c, value);
    d.endChange();
}

} // namespace

TEST(Document, StepsComeBackInOrderAndANewStepEndsRedo) {
    Document d(4, 4);
    std::vector<PixelGrid> states{d.picture()};
    for (int i = 0; i < 5; ++i) {
        stroke(d, {{i % 4, i / 4}, {3, 3}});
        states.push_back(d.picture());
    }
    EXPECT_EQ(d.history().size(), 5u); // (3, 3) changed once only
    for (int i = 4; i >= 3; --i) {
        ASSERT_TRUE(d.undo());
        EXPECT_EQ(d.picture(), states[size_t(i)]);
    }
    ASSERT_TRUE(d.redo());
    EXPECT_EQ(d.picture(), states[4]);
    ASSERT_TRUE(d.history().canRedo()); // one step is still ahead
    stroke(d, {{2, 2}});                // a new change: no redo any more
    EXPECT_FALSE(d.history().canRedo());
    EXPECT_FALSE(d.redo());
}

// A change that alters nothing (a pen over black cells, an arming press) is no step.
TEST(Document, OnlyChangesThatAlterACellAreSteps) {
    Document d(4, 4);
    stroke(d, {{1, 1}});
    stroke(d, {{1, 1}, {1, 1}});
    d.beginChange("Pen");
    d.setCell(2, 2, 1);
    d.setCell(2, 2, 0); // back as it was
    d.endChange();
    d.replacePicture(d.picture(), "Conversion");
    EXPECT_EQ(d.history().size(), 1u);
    EXPECT_EQ(d.history().nextUndo().label(), "Pen");
}

TEST(Document, TheOldestStepsGoFirstAndTheHistoryStaysSmall) {
    Document d(103, 240);
    for (size_t i = 0; i < History::kLimit + 10; ++i) {
        PixelGrid next = d.picture();
        next.set(int(i % 103), int(i / 103), 1);
        if (i % 2)
            d.replacePicture(next, "Conversion");
        else
            stroke(d, {{int(i % 103), int(i / 103)}});
    }
    EXPECT_EQ(d.history().size(), History::kLimit);
    EXPECT_LT(d.history().bytes(), size_t(1) << 20); // under 1 MB for pixvane's picture
    while (d.undo()) {
    }
    EXPECT_EQ(testing_support::darkCells(d.picture()), 10); // steps 0..9 can no longer go
}

// Stepping back or forward to the picture as it was saved counts as saved; ClrDraw or a new
// picture leaves no step that does.
TEST(Document, TheHistoryKnowsTheSavedPosition) {
    Document d(4, 4);
    PixelGrid opened(4, 4);
    opened.set(0, 0, 1);
    d.resetPicture(opened, true);
    EXPECT_TRUE(d.history().atSaved());
    stroke(d, {{1, 1}});
    EXPECT_FALSE(d.history().atSaved());
    d.undo();
    EXPECT_TRUE(d.history().atSaved());
    d.redo();
    d.markSaved();
    stroke(d, {{2, 2}});
    d.undo();
    EXPECT_TRUE(d.history().atSaved());
    d.undo();
    EXPECT_FALSE(d.history().atSaved());
    d.forgetSaved();
    d.redo();
    EXPECT_FALSE(d.history().atSaved());
    d.resetPicture(PixelGrid(4, 4), false);
    EXPECT_FALSE(d.history().atSaved());
    // A saved position beyond the limit is gone with its step.
    d.markSaved();
    for (size_t i = 0; i <= History::kLimit; ++i)
        stroke(d, {{0, 0}}, std::int16_t(i % 2 ? 0 : 1)); // each one a change
    while (d.undo())
        EXPECT_FALSE(d.history().atSaved());
}

// Cells may hold more than 0 and 1 (a palette index): every kind of step keeps them.
TEST(Document, StepsKeepCellsOfAnyValue) {
    Document d(3, 5);
    stroke(d, {{0, 0}, {2, 4}}, 11);
    PixelGrid colour = d.picture();
    colour.set(1, 2, -2);
    d.replacePicture(colour, "Conversion");
    d.replacePicture(PixelGrid(3, 5), "ClrDraw");
    d.undo();
    EXPECT_EQ(d.picture(), colour);
    d.undo();
    d.undo();
    EXPECT_EQ(d.picture(), PixelGrid(3, 5));
    d.redo();
    EXPECT_EQ(d.picture().at(2, 4), 11);
    // Cells outside the picture are no change at all: Redo stays.
    stroke(d, {{-1, 0}, {3, 0}, {0, 5}});
    EXPECT_TRUE(d.history().canRedo());
    EXPECT_EQ(d.history().size(), 1u);
}
