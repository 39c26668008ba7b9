// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/formats/format_registry.h"
#include "core/model/cell_colours.h"
#include "core/model/edit_session.h"

using namespace core;

namespace {

// Remembers the colour each cell's square was last painted in.
class ColourCanvas : public Canvas {
public:
    void setForeground(Rgb colour) override { m_foreground = colour; }
    Rgb background() const override { return kScreenColour; }
    void setDrawMode(DrawMode m) override { m_mode = m; }
    DrawMode drawMode() const override { return m_mode; }
    void fillCell(int column, int row, double) override { painted[{column, row}] = m_foreground; }
    void drawLine(double, double, double, double, Rgb) override {}
    void drawRectOutline(double, double, double, double, Rgb) override {}
    void drawEllipseOutline(double, double, double, double, Rgb) override {}
    void clear() override {}

    std::map<std::pair<int, int>, Rgb> painted;

private:
    Rgb m_foreground = 0;
    DrawMode m_mode = DrawMode::Copy;
};

// A grid from rows of cell values.
PixelGrid cellsOf(std::initializer_list<std::vector<int>> rows) {
    PixelGrid grid(int(rows.size()), int(rows.begin()->size()));
    int r = 0;
    for (const auto& row : rows) {
        for (size_t c = 0; c < row.size(); ++c)
            grid.set(r, int(c), std::int16_t(row[c]));
        ++r;
    }
    return grid;
}

// Rows of hexadecimal cell values, so a failing comparison shows the cells.
std::string hex(const PixelGrid& grid) {
    std::string text;
    char cell[8];
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.columns(); ++c) {
            std::snprintf(cell, sizeof cell, " %X", unsigned(std::uint16_t(grid.at(r, c))));
            text += cell;
        }
        text += '\n';
    }
    return text;
}

// An editor of a picture of `format` read from a file, every cell `start`.
struct ColourEditor {
    ColourEditor(FormatId format, const PixelGrid& start)
        : document(start.rows(), start.columns()), tools(profile, document, canvas),
          session(document, tools) {
        document.setFormat(format);
        document.resetPicture(start, true);
        document.state().opened("start");
    }
    ColourEditor(FormatId format, int rows, int columns, std::int16_t start)
        : ColourEditor(format, PixelGrid(rows, columns, start)) {}
    void gesture(DrawTool tool, std::initializer_list<std::pair<int, int>> cells) {
        tools.selectTool(tool);
        auto it = cells.begin();
        session.press(it->first + 0.5, it->second + 0.5);
        for (++it; it != cells.end(); ++it)
            tools.drag(kLeftButton, it->first + 0.5, it->second + 0.5);
        session.release();
    }
    std::int16_t at(int column, int row) const { return document.picture().at(row, column); }
    PictureEdits& edits() { return session.edits(); }

    const CalculatorProfile& profile = CalculatorProfile::dotwell();
    ColourCanvas canvas;
    Document document;
    ToolController tools;
    EditSession session;
};

constexpr DrawTool kWhiteLine = 4, kBox = 5, kWhiteBox = 6, kBar = 7, kWhiteFill = 14,
                   kWhiteText = 16;
constexpr auto kMono = FormatId::Ti83Plus;
constexpr auto kPalette = FormatId::Ti84CePicture;
constexpr auto kRgb = FormatId::Ti84CeImage;

} // namespace

TEST(ColourInk, EachFormatsCellKindIsTheRegistrys) {
    for (const FormatDescriptor& f : allFormats()) {
        EXPECT_EQ(cellKindOf(f.id), f.cells) << f.extension;
        Document document(2, 2);
        document.setFormat(f.id);
        EXPECT_EQ(document.cellKind(), f.cells) << f.extension;
    }
}

TEST(ColourInk, EveryToolDrawsTheInkAndItsWhiteTwinThePaper) {
    struct Row {
        const char* name;
        FormatId format;
        std::int16_t start;              // every cell before the gesture
        std::optional<std::int16_t> ink; // chosen before it
        DrawTool tool;
        std::int16_t drawn; // the cell (2, 1) after it
        Rgb shown;          // the colour its square was painted in
    };
    const Row rows[] = {
        {"mono pen", kMono, 0, {}, kPen, 1, kBlack},
        {"mono pen ignores an ink", kMono, 0, 7, kPen, 1, kBlack},
        {"mono erase", kMono, 1, {}, kErase, 0, kScreenColour},
        {"palette pen in black at first", kPalette, 0, {}, kPen, 3, 0x000000},
        {"palette pen", kPalette, 0, 2, kPen, 2, 0xFF0000},
        {"palette bar", kPalette, 0, 5, kBar, 5, rgbOf565(0x04E0)},
        {"palette fill", kPalette, 0, 9, kFill, 9, rgbOf565(0x049F)},
        {"palette white box", kPalette, 4, 2, kWhiteBox, 0, kNoneLight},
        {"palette white fill", kPalette, 4, 2, kWhiteFill, 0, kNoneLight},
        {"rgb pen in black at first", kRgb, -1, {}, kPen, 0x0000, 0x000000},
        {"rgb pen", kRgb, -1, std::int16_t(0xF800), kPen, std::int16_t(0xF800), 0xFF0000},
        {"rgb box", kRgb, -1, 0x07E0, kBox, 0x07E0, 0x00FF00},
        {"rgb fill", kRgb, -1, 0x001F, kFill, 0x001F, 0x0000FF},
        {"rgb white line", kRgb, 0x07E0, 0x001F, kWhiteLine, -1, 0xFFFFFF},
    };
    for (const Row& row : rows) {
        ColourEditor e(row.format, 4, 6, row.start);
        if (row.ink)
            e.tools.setInk(*row.ink);
        // A bar's corners round half to even: from the centre of (2, 0) it covers row 1.
        e.gesture(row.tool, {{2, row.tool == kBar ? 0 : 1}, {4, 3}});
        EXPECT_EQ(e.at(2, 1), row.drawn) << row.name;
        EXPECT_EQ(e.canvas.painted[std::pair(2, 1)], row.shown) << row.name;
        EXPECT_EQ(e.at(0, 3), toolInfo(row.tool).kind == ShapeKind::Fill ? row.drawn : row.start)
            << row.name;
    }
}

TEST(ColourInk, EachKindKeepsItsOwnInk) {
    ColourEditor e(kPalette, 2, 2, 0);
    e.tools.setInk(9);
    e.document.setFormat(kRgb);
    EXPECT_EQ(e.tools.ink(), 0x0000);
    e.tools.setInk(std::int16_t(0xF800));
    e.document.setFormat(kPalette);
    EXPECT_EQ(e.tools.ink(), 9);
}

TEST(ColourInk, ClrDrawAndTheFirstPressOnANewPictureLeavePaper) {
    for (const FormatId format : {kMono, kPalette, kRgb}) {
        ColourEditor e(format, 3, 4, 5);
        PixelGrid expected(3, 4, paperOf(cellKindOf(format)));
        e.session.clearDrawing();
        EXPECT_EQ(hex(e.document.picture()), hex(expected)) << int(format);
        e.document.resetPicture(PixelGrid(3, 4, 5), false); // a new one over cells from before
        e.gesture(kPen, {{0, 0}});
        expected.set(0, 0, e.tools.ink());
        EXPECT_EQ(hex(e.document.picture()), hex(expected)) << int(format);
    }
}

TEST(ColourOperations, EachKindsCellsMoveAndInvertAsTheirKindMeans) {
    struct Row {
        const char* name;
        CellKind kind;
        PictureOperation operation;
        PixelGrid before;
        PixelGrid after;
    };
    const auto white = 0xFFFF, red = 0xF800, green = 0x07E0, blue = 0x001F;
    const Row rows[] = {
        {"mono invert", CellKind::Monochrome, PictureOperation::Invert, cellsOf({{0, 1, 1}}),
         cellsOf({{1, 0, 0}})},
        // Blue's and yellow's complements are each other, black's and white's too; none has
        // no colour to turn.
        {"palette invert", CellKind::Palette, PictureOperation::Invert,
         cellsOf({{0, 3, 11, 1, 10}}), cellsOf({{0, 11, 3, 10, 1}})},
        {"rgb invert", CellKind::Rgb565, PictureOperation::Invert,
         cellsOf({{0, white, red, green, blue}}), cellsOf({{white, 0, 0x07FF, 0xF81F, 0xFFE0}})},
        {"palette shift left brings in none", CellKind::Palette, PictureOperation::ShiftLeft,
         cellsOf({{2, 5, 7}}), cellsOf({{5, 7, 0}})},
        {"rgb shift right brings in white", CellKind::Rgb565, PictureOperation::ShiftRight,
         cellsOf({{red, green, blue}}), cellsOf({{white, red, green}})},
        {"rgb shift down brings in white", CellKind::Rgb565, PictureOperation::ShiftDown,
         cellsOf({{red}, {blue}}), cellsOf({{white}, {red}})},
        {"rgb flip", CellKind::Rgb565, PictureOperation::FlipHorizontal,
         cellsOf({{red, green, blue}}), cellsOf({{blue, green, red}})},
        {"palette rotate", CellKind::Palette, PictureOperation::Rotate180,
         cellsOf({{1, 2}, {0, 15}}), cellsOf({{15, 0}, {2, 1}})},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(hex(transformed(row.before, row.operation, row.kind)), hex(row.after))
            << row.name;
    }
}

TEST(ColourOperations, EditsOnColourCellsLeavePaperAndWriteTheInk) {
    const auto red = std::int16_t(0xF800), blue = std::int16_t(0x001F);
    { // a selection moved one cell right uncovers white; Delete leaves what it slid over
        ColourEditor e(kRgb, cellsOf({{red, blue, -1}, {blue, red, -1}}));
        e.gesture(kSelect, {{0, 0}, {0, 1}});
        e.edits().moveSelection(1, 0);
        EXPECT_EQ(hex(e.document.picture()), hex(cellsOf({{-1, red, -1}, {-1, blue, -1}})));
        e.edits().deleteSelection();
        EXPECT_EQ(hex(e.document.picture()), hex(cellsOf({{-1, blue, -1}, {-1, red, -1}})));
    }
    { // Select All and Invert on a palette picture; Delete leaves none
        ColourEditor e(kPalette, cellsOf({{0, 3, 11}}));
        e.edits().selectAll();
        e.edits().apply(PictureOperation::Invert);
        EXPECT_EQ(hex(e.document.picture()), hex(cellsOf({{0, 11, 3}})));
        e.edits().deleteSelection();
        EXPECT_EQ(hex(e.document.picture()), hex(PixelGrid(1, 3, 0)));
    }
    { // a fill takes the region of equal cells, not every cell that is not ink
        ColourEditor e(kPalette, cellsOf({{5, 5, 2, 5}, {5, 2, 4, 4}}));
        e.tools.setInk(9);
        e.gesture(kFill, {{0, 0}});
        EXPECT_EQ(hex(e.document.picture()), hex(cellsOf({{9, 9, 2, 5}, {9, 2, 4, 4}})));
    }
    for (const DrawTool tool : {kText, kWhiteText}) { // text in the ink, or in white
        ColourEditor e(kRgb, 8, 8, 0x07E0);
        e.tools.setInk(red);
        e.gesture(tool, {{1, 1}});
        e.edits().type(U'H');
        e.edits().commitText();
        std::map<std::int16_t, int> values;
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c)
                ++values[e.at(c, r)];
        const std::int16_t written = tool == kText ? red : std::int16_t(-1);
        EXPECT_EQ(values.size(), 2u) << hex(e.document.picture());
        EXPECT_GT(values[written], 4) << hex(e.document.picture());
    }
}
