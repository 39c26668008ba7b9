// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/model/edit_session.h"
#include "core/model/flood_fill.h"
#include "core/model/picture_operations.h"
#include "tests/support/grid_pictures.h"

using namespace core;
using testing_support::darkCells;
using testing_support::gridFrom;
using testing_support::gridPicture;
using testing_support::picture;

namespace {

class QuietCanvas : public Canvas {
public:
    void setForeground(Rgb) override {}
    Rgb background() const override { return kScreenColour; }
    void setDrawMode(DrawMode m) override { mode = m; }
    DrawMode drawMode() const override { return mode; }
    void fillCell(int, int, double) override {}
    void drawLine(double, double, double, double, Rgb) override {}
    void drawRectOutline(double, double, double, double, Rgb) override {}
    void drawEllipseOutline(double, double, double, double, Rgb) override {}
    void clear() override {}
    DrawMode mode = DrawMode::Copy;
};

// The model of an editor with a picture read from a file: presses, drags and releases go
// through the edit session as the window sends them.
struct Editor {
    explicit Editor(const PixelGrid& start)
        : document(start.rows(), start.columns()), tools(profile, document, canvas),
          session(document, tools) {
        document.resetPicture(start, true);
        document.state().opened("start.92i");
    }
    void choose(DrawTool tool) { tools.selectTool(tool); }
    // A left-button gesture through cell centres.
    void gesture(std::initializer_list<std::pair<int, int>> cells) {
        auto it = cells.begin();
        session.press(it->first + 0.5, it->second + 0.5);
        for (++it; it != cells.end(); ++it)
            tools.drag(kLeftButton, it->first + 0.5, it->second + 0.5);
        session.release();
    }
    std::string shown() const {
        return gridPicture(document.picture(), 0, 0, document.picture().rows(),
                           document.picture().columns());
    }
    PictureEdits& edits() { return session.edits(); }

    const CalculatorProfile& profile = CalculatorProfile::pixvane();
    QuietCanvas canvas;
    Document document;
    ToolController tools;
    EditSession session;
};

std::vector<std::pair<int, int>> region(const PixelGrid& grid, int column, int row) {
    std::vector<std::pair<int, int>> cells;
    floodRegion(grid, column, row, [&cells](int c, int r) { cells.emplace_back(c, r); });
    return cells;
}

} // namespace

TEST(FloodFill, FillsTheFourConnectedRegionAndNoMore) {
    const PixelGrid grid = gridFrom({"..#.....", //
                                     "..#.###.", //
                                     "###.#.#.", //
                                     "....###.", //
                                     "#.......", //
                                     ".#......"});
    const struct {
        const char* name;
        int column, row;
        std::string expected;
    } rows[] = {
        // The corner's region stops at the wall; the diagonal gap at (2, 2)-(3, 1) is no way
        // through.
        {"walled corner", 0, 0,
         picture({"##......", "##......", "........", "........", "........", "........"})},
        // The outside reaches round the box but not into its hole, nor past the diagonal
        // pair in the bottom-left corner.
        {"around a hole", 7, 0,
         picture({"...#####", "...#...#", "...#...#", "####...#", ".#######", "..######"})},
        {"the hole alone", 5, 2,
         picture({"........", "........", ".....#..", "........", "........", "........"})},
        {"dark cells", 4, 1,
         picture({"........", "....###.", "....#.#.", "....###.", "........", "........"})},
        {"one cell in a corner", 0, 5,
         picture({"........", "........", "........", "........", "........", "#......."})},
    };
    for (const auto& row : rows) {
        const auto cells = region(grid, row.column, row.row);
        EXPECT_EQ(testing_support::cellsPicture(cells, 0, 0, 6, 8), row.expected) << row.name;
        std::set<std::pair<int, int>> once(cells.begin(), cells.end());
        EXPECT_EQ(once.size(), cells.size()) << row.name << ": a cell reported twice";
    }
    EXPECT_TRUE(region(grid, -1, 0).empty());
    EXPECT_TRUE(region(grid, 8, 0).empty());
}

TEST(FloodFill, AWholeClearPictureIsOneRegion) {
    const PixelGrid blank(103, 240);
    EXPECT_EQ(region(blank, 120, 50).size(), 103u * 240u);
    // A one-cell-wide spiral-like comb: a long, thin region that a recursive fill would
    // follow cell by cell.
    PixelGrid comb(103, 240);
    for (int c = 1; c < 240; c += 2)
        for (int r = (c % 4 == 1 ? 0 : 1); r < (c % 4 == 1 ? 102 : 103); ++r)
            comb.set(r, c, 1);
    EXPECT_EQ(int(region(comb, 0, 0).size()), 103 * 240 - darkCells(comb));
}

TEST(FloodFill, TheFillToolsAreOneStepEachAndUndoAndRedoThem) {
    Editor e(gridFrom({"......", ".####.", ".#..#.", ".####.", "......"}));
    const PixelGrid start = e.document.picture();
    e.choose(kFill);
    e.gesture({{2, 2}, {0, 0}}); // the drag that follows changes nothing
    EXPECT_EQ(e.shown(), picture({"......", ".####.", ".####.", ".####.", "......"}));
    e.choose(inkTwin(kFill));
    e.gesture({{1, 1}});
    EXPECT_EQ(e.shown(), picture({"......", "......", "......", "......", "......"}));
    e.choose(kFill);
    e.gesture({{0, 0}});
    EXPECT_EQ(darkCells(e.document.picture()), 30);
    e.gesture({{3, 3}}); // filling a region with its own ink is no step
    EXPECT_EQ(e.document.history().size(), 3u);
    EXPECT_EQ(e.document.history().nextUndo().label(), "Fill");
    ASSERT_TRUE(e.session.undo());
    ASSERT_TRUE(e.session.undo());
    EXPECT_EQ(e.shown(), picture({"......", ".####.", ".####.", ".####.", "......"}));
    ASSERT_TRUE(e.session.undo());
    EXPECT_EQ(e.document.picture(), start);
    ASSERT_TRUE(e.session.redo());
    EXPECT_EQ(e.shown(), picture({"......", ".####.", ".####.", ".####.", "......"}));
}

TEST(Selection, DraggedOutThenMovedAsOneStepUncoveringClearCells) {
    Editor e(gridFrom({"##.....", "#......", "......#", "......."}));
    e.choose(kSelect);
    e.gesture({{0, 0}, {1, 0}, {1, 1}});
    ASSERT_TRUE(e.edits().selection().active());
    EXPECT_EQ(e.edits().selection().rect(), (CellRect{0, 0, 2, 2}));
    EXPECT_EQ(e.document.history().size(), 0u); // selecting changes nothing
    e.gesture({{1, 1}, {2, 1}, {3, 2}, {4, 2}});
    EXPECT_EQ(e.shown(), picture({".......", "...##..", "...#..#", "......."}));
    EXPECT_EQ(e.document.history().size(), 1u);
    // Moved over a dark cell and away again, the cell under it comes back.
    e.edits().moveSelection(1, 0);
    e.edits().moveSelection(1, 0);
    EXPECT_EQ(e.shown(), picture({".......", ".....##", ".....#.", "......."}));
    e.edits().moveSelection(-2, 0);
    EXPECT_EQ(e.shown(), picture({".......", "...##..", "...#..#", "......."}));
    // A click outside lets it go; the cells stay where it left them.
    e.gesture({{0, 3}});
    EXPECT_FALSE(e.edits().selection().active());
    EXPECT_EQ(e.shown(), picture({".......", "...##..", "...#..#", "......."}));
    // Each move was one step.
    EXPECT_EQ(e.document.history().size(), 4u);
    for (int i = 0; i < 4; ++i)
        e.session.undo();
    EXPECT_EQ(e.shown(), picture({"##.....", "#......", "......#", "......."}));
    e.session.redo();
    EXPECT_EQ(e.shown(), picture({".......", "...##..", "...#..#", "......."}));
}

TEST(Selection, NudgesStopWithOneCellLeftOnThePictureAndKeepTheRest) {
    const PixelGrid start = gridFrom({"......", ".##...", ".#....", "......"});
    const struct {
        const char* name;
        int columns, rows;
        CellRect stop;
        std::string shown;
    } rows[] = {
        {"left", -1, 0, {-1, 1, 2, 2}, picture({"......", "#.....", "......", "......"})},
        {"right", 1, 0, {5, 1, 2, 2}, picture({"......", ".....#", ".....#", "......"})},
        {"up", 0, -1, {1, -1, 2, 2}, picture({".#....", "......", "......", "......"})},
        {"down", 0, 1, {1, 3, 2, 2}, picture({"......", "......", "......", ".##..."})},
    };
    for (const auto& row : rows) {
        Editor e(start);
        e.choose(kSelect);
        e.gesture({{1, 1}, {2, 2}});
        for (int i = 0; i < 3; ++i) // Shift and an arrow: eight cells at a time
            e.edits().moveSelection(8 * row.columns, 8 * row.rows);
        EXPECT_EQ(e.edits().selection().rect(), row.stop) << row.name;
        EXPECT_EQ(e.shown(), row.shown) << row.name;
        EXPECT_FALSE(e.edits().moveSelection(row.columns, row.rows)) << row.name;
        // Brought back, nothing was lost past the edge.
        const CellRect at = e.edits().selection().rect();
        e.edits().moveSelection(1 - at.left, 1 - at.top);
        EXPECT_EQ(e.document.picture(), start) << row.name;
    }
}

TEST(Selection, DeleteAndCutClearItAndAreOneStep) {
    for (const char* label : {"Delete", "Cut"}) {
        Editor e(gridFrom({"###", "###", "###"}));
        e.choose(kSelect);
        e.gesture({{0, 0}, {1, 1}});
        e.edits().moveSelection(1, 1);
        ASSERT_EQ(e.shown(), picture({"..#", ".##", "###"})) << label;
        EXPECT_TRUE(e.edits().deleteSelection(label));
        EXPECT_FALSE(e.edits().selection().active());
        EXPECT_EQ(e.shown(), picture({"..#", "..#", "###"})) << label;
        EXPECT_EQ(e.document.history().nextUndo().label(), label);
        e.session.undo();
        EXPECT_EQ(e.shown(), picture({"..#", ".##", "###"})) << label;
    }
}

TEST(Selection, PasteFloatsNewCellsOverThePicture) {
    Editor e(gridFrom({"....", "....", "...."}));
    e.edits().pasteAsSelection(gridFrom({"#.", "##"}), 2, 1);
    EXPECT_EQ(e.shown(), picture({"....", "..#.", "..##"}));
    EXPECT_EQ(e.edits().selection().rect(), (CellRect{2, 1, 2, 2}));
    e.edits().moveSelection(-2, -1);
    EXPECT_EQ(e.shown(), picture({"#...", "##..", "...."})); // nothing was under it
    e.session.undo();
    e.session.undo();
    EXPECT_EQ(darkCells(e.document.picture()), 0);
}

namespace {

// One asymmetric picture, and the selection's cells of a second one, for every operation.
const PixelGrid kWhole = gridFrom({"##...", "#....", ".....", "....#"});
const PixelGrid kAround = gridFrom({"#.....#", ".##....", ".#.....", "..#....", "#.....#"});

struct OperationRow {
    PictureOperation operation;
    std::string whole;    // kWhole after it
    std::string selected; // kAround's three by three from (1, 1) after it
};

const OperationRow kOperations[] = {
    {PictureOperation::Invert, picture({"..###", ".####", "#####", "####."}),
     picture({"..#", ".##", "#.#"})},
    {PictureOperation::FlipHorizontal, picture({"...##", "....#", ".....", "#...."}),
     picture({".##", "..#", ".#."})},
    {PictureOperation::FlipVertical, picture({"....#", ".....", "#....", "##..."}),
     picture({".#.", "#..", "##."})},
    {PictureOperation::Rotate180, picture({"#....", ".....", "....#", "...##"}),
     picture({".#.", "..#", ".##"})},
    {PictureOperation::ShiftLeft, picture({"#....", ".....", ".....", "...#."}),
     picture({"#..", "...", "#.."})},
    {PictureOperation::ShiftRight, picture({".##..", ".#...", ".....", "....."}),
     picture({".##", ".#.", "..#"})},
    {PictureOperation::ShiftUp, picture({"#....", ".....", "....#", "....."}),
     picture({"#..", ".#.", "..."})},
    {PictureOperation::ShiftDown, picture({".....", "##...", "#....", "....."}),
     picture({"...", "##.", "#.."})},
};

} // namespace

TEST(PictureOperations, EachOnTheWholePictureIsOneStep) {
    for (const OperationRow& row : kOperations) {
        const std::string name(operationLabel(row.operation));
        EXPECT_EQ(gridPicture(transformed(kWhole, row.operation), 0, 0, 4, 5), row.whole) << name;
        Editor e(kWhole);
        EXPECT_TRUE(e.edits().apply(row.operation)) << name;
        EXPECT_EQ(e.shown(), row.whole) << name;
        EXPECT_EQ(e.document.history().size(), 1u) << name;
        EXPECT_EQ(e.document.history().nextUndo().label(), name);
        EXPECT_TRUE(e.document.state().unsaved()) << name;
        e.session.undo();
        EXPECT_EQ(e.document.picture(), kWhole) << name;
        EXPECT_TRUE(e.document.history().atSaved()) << name;
        e.session.redo();
        EXPECT_EQ(e.shown(), row.whole) << name;
    }
}

TEST(PictureOperations, EachOnASelectionChangesItsCellsOnly) {
    for (const OperationRow& row : kOperations) {
        const std::string name(operationLabel(row.operation));
        Editor e(kAround);
        e.choose(kSelect);
        e.gesture({{1, 1}, {3, 3}});
        EXPECT_TRUE(e.edits().apply(row.operation)) << name;
        EXPECT_TRUE(e.edits().selection().active()) << name; // still selected, for the next one
        const PixelGrid& after = e.document.picture();
        EXPECT_EQ(gridPicture(after, 1, 1, 3, 3), row.selected) << name;
        PixelGrid outside = after;
        placeCells(outside, cellsIn(kAround, {1, 1, 3, 3}), 1, 1);
        EXPECT_EQ(outside, kAround) << name << ": a cell outside the selection changed";
        EXPECT_EQ(e.document.history().size(), 1u) << name;
        e.session.undo();
        EXPECT_EQ(e.document.picture(), kAround) << name;
        EXPECT_FALSE(e.edits().selection().active()) << name; // undo lets it go
        e.session.redo();
        EXPECT_EQ(gridPicture(e.document.picture(), 1, 1, 3, 3), row.selected) << name;
    }
}

TEST(PictureOperations, TwoOnASelectionInARowAndAMoveAfter) {
    Editor e(kAround);
    e.choose(kSelect);
    e.gesture({{1, 1}, {3, 3}});
    e.edits().apply(PictureOperation::FlipHorizontal);
    e.edits().apply(PictureOperation::FlipHorizontal);
    EXPECT_EQ(e.document.picture(), kAround);
    e.edits().moveSelection(0, 1);
    EXPECT_EQ(e.shown(), picture({"#.....#", ".......", ".##....", ".#.....", "#.#...#"}));
    EXPECT_EQ(e.document.history().size(), 3u);
}

TEST(TextTool, TypedTextIsPreviewedThenWrittenAsOneStep) {
    Editor e(PixelGrid(10, 12));
    e.choose(kText);
    e.gesture({{1, 2}});
    ASSERT_TRUE(e.edits().typing());
    for (char32_t c : std::u32string(U"Hix"))
        e.edits().type(c);
    e.edits().backspace();
    EXPECT_EQ(darkCells(e.document.picture()), 0); // only a preview so far
    EXPECT_EQ(e.document.history().size(), 0u);
    e.edits().commitText();
    EXPECT_FALSE(e.edits().typing());
    EXPECT_EQ(gridPicture(e.document.picture(), 2, 0, 6, 7), picture({".#.#.#.", //
                                                                      ".#.#...", //
                                                                      ".###.#.", //
                                                                      ".#.#.#.", //
                                                                      ".#.#.#.", //
                                                                      "......."}));
    EXPECT_EQ(e.document.history().size(), 1u);
    EXPECT_EQ(e.document.history().nextUndo().label(), "Text");

    // White text clears; a click elsewhere writes the line first, as its own step.
    e.choose(inkTwin(kText));
    e.gesture({{1, 2}});
    e.edits().type(U'I'); // three columns: it clears the H's bar
    e.choose(kPen);
    e.gesture({{11, 9}});
    EXPECT_EQ(gridPicture(e.document.picture(), 2, 0, 6, 7), picture({".....#.", //
                                                                      ".#.#...", //
                                                                      ".#.#.#.", //
                                                                      ".#.#.#.", //
                                                                      ".....#.", //
                                                                      "......."}));
    EXPECT_EQ(e.document.history().size(), 3u);

    // A command taking over (Undo here) writes the line being typed first.
    e.choose(kText);
    e.gesture({{6, 5}});
    e.edits().type(U'.'); // its one dark cell is on the glyph's last row
    EXPECT_TRUE(e.session.undo());
    EXPECT_FALSE(e.edits().typing());
    EXPECT_EQ(e.document.picture().at(9, 6), 0);
    EXPECT_TRUE(e.session.redo());
    EXPECT_EQ(e.document.picture().at(9, 6), 1);
}

// The view repaints the whole picture only when the session says so: once per command that
// replaces it, with the document already holding the new picture and its format, and never for
// a stroke, which the tools paint cell by cell.
TEST(EditSession, EachWholePictureChangeIsAnnouncedOnceWithTheDocumentComplete) {
    const PixelGrid start = gridFrom({"#..", "..."});
    struct Row {
        const char* name;
        std::function<void(Editor&)> act;
        int announced;
    };
    const PixelGrid larger(4, 5);
    const Row rows[] = {
        {"stroke",
         [](Editor& e) {
             e.gesture({{0, 1}, {2, 1}});
         },
         0},
        {"open", [&](Editor& e) { e.session.open(larger, FormatId::Ti89, "b.89i"); }, 1},
        {"new", [&](Editor& e) { e.session.startNew(larger, FormatId::Ti92Plus); }, 1},
        {"ClrDraw", [](Editor& e) { e.session.clearDrawing(); }, 1},
        {"conversion", [&](Editor& e) { e.session.replacePicture(start, "Conversion"); }, 1},
        {"undo with nothing to undo", [](Editor& e) { e.session.undo(); }, 0},
        {"undo, redo",
         [](Editor& e) {
             e.session.replacePicture(PixelGrid(2, 3), "Conversion");
             e.session.undo();
             e.session.redo();
         },
         3},
        {"saved at the same size", [&](Editor& e) { e.session.takeWritten(start, FormatId::Ti92); },
         0},
        {"saved at another size", [&](Editor& e) { e.session.takeWritten(larger, FormatId::Ti89); },
         1},
        {"saved with other cells",
         [](Editor& e) {
             e.session.takeWritten(PixelGrid(2, 3, paperOf(CellKind::Palette)),
                                   FormatId::Ti84CePicture);
         },
         1},
    };
    for (const Row& row : rows) {
        Editor e(start);
        e.document.setFormat(FormatId::Ti92);
        e.choose(kPen);
        int announced = 0;
        PixelGrid seen(1, 1);
        FormatId seenFormat{};
        e.session.onPictureReplaced([&] {
            ++announced;
            seen = e.document.picture();
            seenFormat = e.document.format();
        });
        row.act(e);
        EXPECT_EQ(announced, row.announced) << row.name;
        if (announced > 0) {
            EXPECT_EQ(seen, e.document.picture()) << row.name;
            EXPECT_EQ(seenFormat, e.document.format()) << row.name;
        }
    }
}
