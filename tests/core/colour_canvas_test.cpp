// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include "core/model/cell_colours.h"
#include "core/model/tool_controller.h"
#include "core/ui/clipboard_commands.h"
#include "core/ui/ink_choosers.h"
#include "core/ui/picture_canvas.h"
#include "core/ui/picture_export.h"
#include "core/ui/print_backend.h"
#include "tests/support/scripted_prompts.h"

using namespace core;
using testing_support::ScriptedPrompts;

namespace {

// Two rows of every palette index, and their RGB565 colours.
PixelGrid paletteCells() {
    PixelGrid grid(2, 16);
    for (int c = 0; c < 16; ++c) {
        grid.set(0, c, std::int16_t(c));
        grid.set(1, c, std::int16_t(15 - c));
    }
    return grid;
}
PixelGrid rgbCells() {
    const std::uint16_t colours[] = {0x0000, 0xFFFF, 0xF800, 0x07E0, 0x001F, 0x8410, 0x52AA};
    PixelGrid grid(2, 7);
    for (int c = 0; c < 7; ++c) {
        grid.set(0, c, std::int16_t(colours[c]));
        grid.set(1, c, std::int16_t(colours[6 - c]));
    }
    return grid;
}

// The colour each cell should show, from the palette table and the 565 expansion.
QRgb expected(const PixelGrid& grid, CellKind kind, int row, int column) {
    const std::int16_t cell = grid.at(row, column);
    if (kind == CellKind::Palette)
        return cell == 0 ? 0 : 0xFF000000u | paletteRgb(cell); // 0: none
    return 0xFF000000u | rgbOf565(std::uint16_t(cell));
}

} // namespace

TEST(ColourCanvas, RebuildPaintsEachCellsColourAndNoneAsAChecker) {
    for (const auto& [grid, kind] :
         {std::pair(paletteCells(), CellKind::Palette), std::pair(rgbCells(), CellKind::Rgb565)}) {
        PictureCanvas canvas(grid.rows(), grid.columns(), 4);
        canvas.rebuild(grid, 0.75, kind); // squares of 3 pixels, a gap of 1
        const QImage& surface = canvas.surface();
        for (int r = 0; r < grid.rows(); ++r)
            for (int c = 0; c < grid.columns(); ++c) {
                const QRgb want = expected(grid, kind, r, c);
                const QRgb got = surface.pixel(c * 4 + 1, r * 4 + 1);
                if (want == 0) // none: light, and never white
                    EXPECT_TRUE(got == (0xFF000000u | kNoneLight) ||
                                got == (0xFF000000u | kNoneDark))
                        << r << "," << c;
                else
                    EXPECT_EQ(got, want) << r << "," << c;
                EXPECT_EQ(surface.pixel(c * 4 + 3, r * 4 + 3), 0xFF000000u | kScreenColour);
            }
    }
    // The checker changes every few cells, so a field of none is no even colour.
    PictureCanvas canvas(1, 2 * kNoneCheckerCells, 1);
    canvas.rebuild(PixelGrid(1, 2 * kNoneCheckerCells), 1, CellKind::Palette);
    EXPECT_NE(canvas.surface().pixel(0, 0), canvas.surface().pixel(kNoneCheckerCells, 0));
}

TEST(ColourCanvas, APensCellsShowAsARebuildShowsThem) {
    for (const auto& [format, grid] : {std::pair(FormatId::Ti84CePicture, paletteCells()),
                                       std::pair(FormatId::Ti84CeImage, rgbCells()),
                                       std::pair(FormatId::Ti83Plus, PixelGrid(2, 9))}) {
        const CellKind kind = cellKindOf(format);
        Document document(grid.rows(), grid.columns());
        document.setFormat(format);
        document.resetPicture(PixelGrid(grid.rows(), grid.columns(), paperOf(kind)), true);
        PictureCanvas painted(grid.rows(), grid.columns(), 5);
        painted.rebuild(document.picture(), cellFillOf(kind, 0.8), kind);
        ToolController tools(CalculatorProfile::dotwell(), document, painted);
        document.beginChange("cells");
        for (int r = 0; r < grid.rows(); ++r)
            for (int c = 0; c < grid.columns(); ++c)
                tools.paintCell(c, r, kind == CellKind::Monochrome ? (r + c) % 2 : grid.at(r, c));
        document.endChange();
        PictureCanvas rebuilt(grid.rows(), grid.columns(), 5);
        rebuilt.rebuild(document.picture(), cellFillOf(kind, 0.8), kind);
        EXPECT_EQ(painted.surface(), rebuilt.surface()) << int(format);
    }
}

TEST(ColourImages, PngClipboardAndPrintKeepTheColours) {
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    QWidget window;
    for (const auto& [grid, kind] :
         {std::pair(paletteCells(), CellKind::Palette), std::pair(rgbCells(), CellKind::Rgb565)}) {
        const QString path = dir.filePath("colour.png");
        exportPng(&window, prompts, grid, path, kind);
        const QImage png(path);
        const QImage clip = clipboardImage(grid, kind);
        // Printed at 100 pixels an inch, a cell half an inch from an inch in.
        QImage page(1100, 300, QImage::Format_RGB32);
        page.fill(Qt::white);
        const PageSettings settings{1, 1, 0.5 * grid.columns()};
        {
            QPainter painter(&page);
            painter.scale(100 / kTwipsPerInch, 100 / kTwipsPerInch);
            paintPicture(painter, grid, settings, kind);
        }
        ASSERT_EQ(png.size(), QSize(grid.columns(), grid.rows()));
        for (int r = 0; r < grid.rows(); ++r)
            for (int c = 0; c < grid.columns(); ++c) {
                const QRgb want = expected(grid, kind, r, c);
                EXPECT_EQ(png.pixel(c, r), want) << r << "," << c; // none: transparent
                EXPECT_EQ(clip.pixel(c, r), want) << r << "," << c;
                EXPECT_EQ(page.pixel(125 + 50 * c, 125 + 50 * r), want ? want : 0xFFFFFFFFu)
                    << r << "," << c;
            }
    }
    // A monochrome picture's clipboard image stays opaque black on white.
    PixelGrid mono(1, 2);
    mono.set(0, 0, 1);
    const QImage clip = clipboardImage(mono, CellKind::Monochrome);
    EXPECT_EQ(clip.format(), QImage::Format_RGB32);
    EXPECT_EQ(clip.pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(clip.pixel(1, 0), 0xFFFFFFFFu);
}

TEST(InkChoosers, ThePaletteBarChoosesByClickAndByKey) {
    PaletteBar bar;
    QSignalSpy spy(&bar, &PaletteBar::inkChosen);
    ASSERT_EQ(bar.count(), 16);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(bar.toolTipOf(i).toStdString(), kCePalette[size_t(i)].name);
    EXPECT_EQ(bar.ink(), kPaletteBlack);
    EXPECT_EQ(bar.swatchAt(bar.swatchRect(9).center()), 9);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.swatchRect(2).center());
    EXPECT_EQ(bar.ink(), 2);
    QTest::keyClick(&bar, Qt::Key_Right);
    QTest::keyClick(&bar, Qt::Key_Right);
    EXPECT_EQ(bar.ink(), 2); // the arrows move, Space chooses
    QTest::keyClick(&bar, Qt::Key_Space);
    EXPECT_EQ(bar.ink(), 4);
    QTest::keyClick(&bar, Qt::Key_Home);
    QTest::keyClick(&bar, Qt::Key_Return);
    EXPECT_EQ(bar.ink(), kPaletteNone);
    ASSERT_EQ(spy.size(), 3);
    EXPECT_EQ(spy[0][0].value<std::int16_t>(), 2);
    EXPECT_EQ(spy[1][0].value<std::int16_t>(), 4);
    EXPECT_EQ(spy[2][0].value<std::int16_t>(), 0);
    bar.setInk(11); // shown, not announced
    EXPECT_EQ(bar.ink(), 11);
    EXPECT_EQ(spy.size(), 3);
}

TEST(InkChoosers, TheColourChooserAsksSnapsAndRemembersRecentColours) {
    ScriptedPrompts prompts;
    ColourChooser chooser(prompts);
    QSignalSpy spy(&chooser, &ColourChooser::inkChosen);
    EXPECT_EQ(chooser.ink(), 0x0000);
    const auto click = [&](int index) {
        QTest::mouseClick(&chooser, Qt::LeftButton, {}, chooser.swatchRect(index).center());
    };
    click(0); // no answer: Cancel
    EXPECT_EQ(spy.size(), 0);
    ASSERT_EQ(prompts.asked().size(), 1u);
    EXPECT_EQ(prompts.asked()[0].kind, testing_support::Asked::Kind::Colour);
    // Each colour dialog answer, snapped to RGB565; the recent row after it.
    struct Row {
        QColor answer;
        std::uint16_t ink;
        std::vector<std::uint16_t> recent;
    };
    const Row rows[] = {
        {QColor(252, 2, 3), 0xF800, {0xF800}}, // red 252 is nearer 31/31 than 30/31
        {QColor(0, 0, 255), 0x001F, {0x001F, 0xF800}},
        {QColor(255, 1, 2), 0xF800, {0xF800, 0x001F}}, // once, now the most recent
    };
    for (const Row& row : rows) {
        prompts.answerColour(row.answer);
        click(0);
        EXPECT_EQ(std::uint16_t(chooser.ink()), row.ink) << row.answer.name().toStdString();
        EXPECT_EQ(chooser.recent(), row.recent) << row.answer.name().toStdString();
        EXPECT_EQ(std::uint16_t(spy.back()[0].value<std::int16_t>()), row.ink);
    }
    click(2); // the recent blue, without the dialog
    EXPECT_EQ(chooser.ink(), 0x001F);
    EXPECT_EQ(chooser.recent(), (std::vector<std::uint16_t>{0x001F, 0xF800}));
    EXPECT_EQ(prompts.asked().size(), 4u);
    for (int i = 0; i < ColourChooser::kRecent + 2; ++i) { // the oldest fall off the end
        prompts.answerColour(QColor(0, 8 * i, 0));
        click(0);
    }
    EXPECT_EQ(chooser.recent().size(), size_t(ColourChooser::kRecent));
    EXPECT_EQ(chooser.recent().front(), rgb565Of(0, 8 * (ColourChooser::kRecent + 1), 0));
    EXPECT_EQ(chooser.count(), ColourChooser::kRecent + 1);
}
