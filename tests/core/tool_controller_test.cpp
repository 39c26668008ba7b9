// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/model/tool_controller.h"
#include "tests/support/grid_pictures.h"

using namespace core;
using testing_support::gridPicture;
using testing_support::picture;

namespace {

// Remembers the draw mode and counts the XOR figures, which must come in pairs.
class RecordingCanvas : public Canvas {
public:
    void setForeground(Rgb colour) override { foreground = colour; }
    Rgb background() const override { return 0xE0E0E0; }
    void setDrawMode(DrawMode m) override { mode = m; }
    DrawMode drawMode() const override { return mode; }
    void fillCell(int, int, double) override { ++fills; }
    void drawLine(double x1, double y1, double x2, double y2, Rgb) override {
        record("line", {x1, y1, x2, y2});
    }
    void drawRectOutline(double x1, double y1, double x2, double y2, Rgb) override {
        record("rect", {x1, y1, x2, y2});
    }
    void drawEllipseOutline(double cx, double cy, double radius, double aspect, Rgb) override {
        record("ellipse", {cx, cy, radius, aspect});
    }
    void clear() override {}

    // XOR figures drawn an odd number of times, with exactly the same parameters: what is
    // left on the screen.
    std::vector<std::string> onScreen() const {
        std::vector<std::string> left;
        for (const auto& [figure, count] : drawn)
            if (count % 2)
                left.push_back(figure);
        return left;
    }

    Rgb foreground = 0;
    DrawMode mode = DrawMode::Copy;
    int fills = 0;
    int figures = 0;
    std::map<std::string, int> drawn;

private:
    void record(const char* kind, std::initializer_list<double> values) {
        ++figures;
        std::string figure = kind;
        for (double v : values)
            figure += " " + std::to_string(v);
        ++drawn[figure];
    }
};

struct Editor {
    explicit Editor(const CalculatorProfile& p = CalculatorProfile::pixvane())
        : profile(p), document(p.rows, p.columns), tools(p, document, canvas) {}

    // A left-button drag of the current tool, through the given cell points.
    void drag(std::initializer_list<CellPoint> points) {
        auto it = points.begin();
        tools.press(it->x, it->y);
        for (++it; it != points.end(); ++it)
            tools.drag(kLeftButton, it->x, it->y);
        tools.release();
    }

    const CalculatorProfile& profile;
    Document document;
    const PixelGrid& grid = document.picture();
    RecordingCanvas canvas;
    ToolController tools;
};

} // namespace

TEST(Tools, FirstPressArmsTheRememberedToolAndPlotsNothing) {
    Editor e;
    EXPECT_EQ(e.tools.currentTool(), 0);
    EXPECT_EQ(e.tools.checkedTool(), kPen);
    e.tools.press(5.5, 5.5);
    EXPECT_EQ(e.tools.currentTool(), kPen);
    EXPECT_EQ(gridPicture(e.grid, 5, 5, 1, 1), ".\n");
    e.tools.drag(kLeftButton, 7.5, 5.5);
    EXPECT_EQ(gridPicture(e.grid, 5, 5, 1, 3), "##.\n"); // end cell waits for the next segment
}

TEST(Tools, DragWithOtherButtonsDrawsNothing) {
    Editor e;
    e.tools.selectTool(kPen);
    e.tools.press(1.5, 1.5); // a middle press plots like a left one
    for (int buttons : {int(kMiddleButton), kLeftButton | kRightButton, int(kRightButton)})
        e.tools.drag(buttons, 9.5, 1.5);
    EXPECT_EQ(gridPicture(e.grid, 1, 0, 1, 10), ".#........\n");
}

TEST(Tools, ShapesPlotOnlyOnReleaseAndEraseTheirRubberBand) {
    for (DrawTool tool = 3; tool <= 12; tool += 2) {
        Editor e;
        e.tools.selectTool(tool);
        e.tools.press(10.5, 10.5);
        e.tools.drag(kLeftButton, 14.5, 12.5);
        e.tools.drag(kLeftButton, 16.5, 15.5);
        EXPECT_EQ(e.canvas.mode, DrawMode::Xor);
        EXPECT_EQ(e.grid, PixelGrid(e.profile.rows, e.profile.columns)) << "tool " << tool;
        e.tools.release();
        EXPECT_EQ(e.canvas.figures % 2, 0) << "rubber band left on screen by tool " << tool;
        EXPECT_GT(e.canvas.fills, 0) << "tool " << tool;
        EXPECT_EQ(e.canvas.mode, DrawMode::Copy);
        EXPECT_EQ(e.tools.currentTool(), tool);
    }
}

TEST(Tools, WhiteBarClearsAndStaysArmed) {
    Editor e;
    e.tools.selectTool(7);
    e.drag({{2.2, 2.2}, {8.2, 5.2}});
    e.tools.selectTool(8);
    e.drag({{3.2, 3.2}, {5.2, 4.2}});
    EXPECT_EQ(gridPicture(e.grid, 2, 2, 4, 7), picture({
                                                   "#######",
                                                   "#...###",
                                                   "#...###",
                                                   "#######",
                                               }));
    EXPECT_EQ(e.tools.currentTool(), 8);
}

TEST(Tools, DegenerateShapesPlotNothingAndStayArmed) {
    for (DrawTool tool : {3, 9, 11}) {
        Editor e;
        e.tools.selectTool(tool);
        e.drag({{4, 4}, {6.5, 6.5}, {4, 4}}); // back to the anchor: no slope, no radius
        EXPECT_EQ(e.grid, PixelGrid(e.profile.rows, e.profile.columns)) << "tool " << tool;
        EXPECT_EQ(e.tools.currentTool(), tool);
        EXPECT_EQ(e.canvas.mode, DrawMode::Copy);
        EXPECT_EQ(e.canvas.figures % 2, 0);
    }
}

TEST(Tools, ReleaseWithoutDragPlotsNothing) {
    Editor e;
    e.tools.selectTool(5);
    e.drag({{4.5, 4.5}});
    EXPECT_EQ(e.canvas.fills, 0);
    EXPECT_EQ(e.tools.currentTool(), 5);
}

TEST(Tools, ShapesAreClippedAtEveryEdgeOfBothGrids) {
    for (const CalculatorProfile* profile :
         {&CalculatorProfile::dotwell(), &CalculatorProfile::pixvane()}) {
        Editor e(*profile);
        const double right = profile->columns + 3.5, bottom = profile->rows + 3.5;
        e.tools.selectTool(5); // a box around the whole grid, off every edge: nothing inside
        e.drag({{-3.5, -3.5}, {right, bottom}});
        EXPECT_EQ(e.grid, PixelGrid(profile->rows, profile->columns));

        e.tools.selectTool(7); // a bar over everything fills every cell exactly once
        e.drag({{-3.5, -3.5}, {right, bottom}});
        PixelGrid full(profile->rows, profile->columns);
        for (int r = 0; r < profile->rows; ++r)
            for (int c = 0; c < profile->columns; ++c)
                full.set(r, c, 1);
        EXPECT_EQ(e.grid, full);

        e.tools.selectTool(2); // an eraser stroke leaving and re-entering the canvas
        e.drag({{-2.5, 1.5}, {5.5, 1.5}, {5.5, -4.5}, {9.5, 1.5}});
        EXPECT_EQ(gridPicture(e.grid, 0, 0, 3, 11), picture({
                                                        "#####.##.##",
                                                        "......###.#",
                                                        "###########",
                                                    }));
    }
}

TEST(Tools, PlotCellIgnoresCellsJustOutside) {
    Editor e(CalculatorProfile::dotwell());
    e.tools.setCurrentTool(kPen);
    for (auto [c, r] : {std::pair{-1, 0}, {0, -1}, {96, 0}, {0, 63}, {96, 63}})
        e.tools.PlotCell(c, r);
    EXPECT_EQ(e.canvas.fills, 0);
    e.tools.PlotCell(95, 62);
    EXPECT_EQ(e.grid.at(62, 95), 1);
}

TEST(Tools, DisarmRemembersTheArmedTool) {
    Editor e;
    e.tools.selectTool(9);
    e.tools.disarm();
    EXPECT_EQ(e.tools.currentTool(), 0);
    EXPECT_EQ(e.tools.checkedTool(), 9);
    e.tools.disarm(); // nothing armed: Pen waits for the next press
    EXPECT_EQ(e.tools.rememberedTool(), kPen);
    EXPECT_EQ(e.tools.checkedTool(), kPen);
}

TEST(Tools, EveryRubberBandIsErasedWithTheFigureItWasDrawnAs) {
    // The ellipse's aspect changes with each step; each preview must be erased with the
    // aspect and radius it was drawn with, the last one at release.
    for (DrawTool tool : {3, 5, 7, 9, 11}) {
        Editor e(CalculatorProfile::dotwell());
        e.tools.selectTool(tool);
        e.drag({{10.5, 10.5}, {14.5, 11.25}, {12.75, 19.5}, {22.5, 13.5}, {22.5, 30.5}});
        EXPECT_TRUE(e.canvas.onScreen().empty())
            << "tool " << tool << ": " << e.canvas.onScreen().front();
    }
}

TEST(Tools, ABarReleasedWithoutADragPlotsNothing) {
    Editor e;
    e.tools.selectTool(7);
    e.drag({{4.5, 4.5}});
    e.tools.selectTool(8);
    e.drag({{4.5, 4.5}});
    EXPECT_EQ(e.grid, PixelGrid(e.profile.rows, e.profile.columns));
    EXPECT_EQ(e.canvas.fills, 0);
    EXPECT_EQ(e.canvas.figures, 0);
    EXPECT_EQ(e.tools.currentTool(), 8);
}

TEST(Tools, AnInterruptedShapeDragIsCancelledAndLeavesNoRubberBand) {
    // However the release gets lost (a pop-up takes it, the window loses the mouse), the
    // preview goes and nothing is plotted; the next stroke draws in copy mode again.
    const std::vector<std::pair<const char*, std::function<void(ToolController&)>>> ways{
        {"cancel", [](ToolController& t) { t.cancelDrag(); }},
        {"move with no button", [](ToolController& t) { t.drag(0, 30.5, 30.5); }},
        {"next press", [](ToolController& t) { t.press(40.5, 40.5); }},
    };
    for (const auto& [how, interrupt] : ways) {
        for (DrawTool tool : {4, 6, 9, 12}) {
            Editor e;
            e.tools.selectTool(tool);
            e.tools.press(10.5, 10.5);
            e.tools.drag(kLeftButton, 20.5, 16.5);
            e.tools.drag(kLeftButton, 24.5, 18.5);
            interrupt(e.tools);
            EXPECT_TRUE(e.canvas.onScreen().empty()) << how << ", tool " << tool;
            EXPECT_EQ(e.canvas.mode, DrawMode::Copy) << how;
            EXPECT_EQ(e.tools.currentTool(), tool);
            e.tools.release(); // a release that does come later changes nothing
            EXPECT_EQ(e.grid, PixelGrid(e.profile.rows, e.profile.columns)) << how;
            EXPECT_TRUE(e.canvas.onScreen().empty()) << how;
        }
    }
    // A pen press after the lost release plots in copy mode.
    Editor e;
    e.tools.selectTool(5);
    e.tools.press(1.5, 1.5);
    e.tools.drag(kLeftButton, 6.5, 6.5);
    e.tools.selectTool(kPen);
    e.tools.press(3.5, 3.5);
    EXPECT_EQ(e.canvas.mode, DrawMode::Copy);
    EXPECT_EQ(e.grid.at(3, 3), 1);
}
