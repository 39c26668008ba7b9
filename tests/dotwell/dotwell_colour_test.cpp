// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <QAction>
#include <QGroupBox>
#include <QImage>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include "core/formats/format_registry.h"
#include "core/model/cell_colours.h"
#include "core/ui/convert_image_dialog.h"
#include "core/ui/ink_choosers.h"
#include "dotwell/frm_dotwell.h"
#include "tests/support/colour_samples.h"
#include "tests/support/files.h"
#include "tests/support/tifiles_check.h"
#include "tests/support/window_fixture.h"

using core::CellKind;
using core::FormatId;
using core::PixelGrid;
using testing_support::readAll;
using testing_support::writeAll;

namespace {

class DotwellColour : public testing_support::WindowFixture<dotwell::FrmDotwell> {
protected:
    // A file of libtifiles' own making: Pic1 / Image1 with the sample cells.
    PixelGrid linkLibraryFile(const QString& name, bool image) {
        const PixelGrid cells =
            image ? testing_support::rgbSample() : testing_support::paletteSample();
        testing_support::TifilesVariable variable{"",
                                                  std::string{char(image ? 0x3C : 0x60), char(0)},
                                                  image ? 0x1A : 0x07,
                                                  0,
                                                  "from tilp",
                                                  image ? testing_support::imageData(cells, 0xA500)
                                                        : testing_support::pictureData(cells)};
        variable.version = image ? 0x00 : 0x0A;
        EXPECT_EQ(testing_support::writeWithTifiles(path(name), variable), QString());
        return cells;
    }
    void newPicture(int item) { window.miNew->actions()[item]->trigger(); }
    void click(double x, double y) {
        window.Picture1_MouseDown(1, 0, x, y);
        window.Picture1_MouseUp(1, 0, x, y);
    }
};

} // namespace

// Files libtifiles wrote open with their cells, the ink row showing the right chooser, and
// Ctrl+S writes them back byte for byte.
TEST_F(DotwellColour, LinkLibraryFilesOpenWithTheirCellsAndSaveBackByteIdentical) {
    for (const bool image : {false, true}) {
        const QString name = image ? "i.8ca" : "p.8ci";
        const PixelGrid cells = linkLibraryFile(name, image);
        const QByteArray file = readAll(path(name));
        openFile(name);
        ASSERT_TRUE(prompts.messages().empty()) << lastMessage().text.toStdString();
        EXPECT_EQ(window.grid(), cells);
        EXPECT_EQ(window.cellKind(), image ? CellKind::Rgb565 : CellKind::Palette);
        EXPECT_EQ(window.Palette->isHidden(), image);
        EXPECT_EQ(window.Colours->isHidden(), !image);
        EXPECT_EQ(window.Frame1->title(), image ? "Image" : "PIC");
        window.miSave_click();
        EXPECT_EQ(readAll(path(name)), file) << name.toStdString();
    }
}

// A damaged colour file says why and leaves the picture on screen as it was.
TEST_F(DotwellColour, DamagedFilesSayWhyAndChangeNothing) {
    linkLibraryFile("good.8ci", false);
    const QByteArray good = readAll(path("good.8ci"));
    openFile("good.8ci");
    const PixelGrid before = window.grid();
    QByteArray type = good, size = good, mark = good;
    type[59] = 0x1A;
    size[72] = 0;
    linkLibraryFile("image.8ca", true);
    mark = readAll(path("image.8ca"));
    mark[74] = 0x00;
    writeAll(path("cut.8ci"), good.left(1000));
    writeAll(path("type.8ci"), type);
    writeAll(path("size.8ci"), size);
    writeAll(path("mark.8ca"), mark);
    for (const char* name : {"cut.8ci", "type.8ci", "size.8ci", "mark.8ca"}) {
        prompts.clear();
        openFile(name);
        ASSERT_EQ(prompts.messages().size(), 1u) << name;
        EXPECT_TRUE(lastMessage().text.startsWith(QString(name) + " cannot be opened: "))
            << lastMessage().text.toStdString();
        EXPECT_EQ(window.grid(), before) << name;
        EXPECT_EQ(window.fileName(), path("good.8ci")) << name;
    }
}

// Every tool draws the chosen colour: a palette index from the bar, an RGB565 colour from the
// chooser; the white tools leave none or white; a new image starts white.
TEST_F(DotwellColour, ToolsDrawTheChosenColour) {
    newPicture(6); // TI-84 Plus CE picture
    ASSERT_EQ(window.grid().columns(), 266);
    QTest::mouseClick(window.Palette, Qt::LeftButton, {}, window.Palette->swatchRect(2).center());
    click(5.5, 5.5); // arms the pen
    click(5.5, 5.5);
    EXPECT_EQ(window.grid().at(5, 5), 2); // red
    window.miTool_Click(2);               // Erase
    click(5.5, 5.5);
    EXPECT_EQ(window.grid().at(5, 5), core::kPaletteNone);

    newPicture(7); // background image
    ASSERT_EQ(window.grid().columns(), 133);
    EXPECT_EQ(std::uint16_t(window.grid().at(40, 40)), 0xFFFF);
    prompts.answerColour(QColor(0x00, 0x80, 0xFF));
    window.Colours->askColour();
    window.miTool_Click(1); // Pen
    click(7.5, 3.5);
    EXPECT_EQ(std::uint16_t(window.grid().at(3, 7)), core::rgb565Of(0x00, 0x80, 0xFF));
    EXPECT_EQ(window.Colours->recent().front(), core::rgb565Of(0x00, 0x80, 0xFF));
}

// Save As between monochrome and colour: a monochrome picture lands black on white (or none)
// at the top left; a colour one goes through Convert Image; the document then edits the new
// cells.
TEST_F(DotwellColour, SaveAsBetweenMonochromeAndColour) {
    for (const auto& [answer, clear] :
         {std::pair{core::Answer::No, core::kPaletteWhite}, std::pair{core::Answer::Yes, 0}}) {
        window.miCls_Click();
        draw(); // cell (5, 5) black on a 96 x 63 picture
        prompts.answerFile(path("c.8ci"), 9);
        prompts.answerMessage(answer);
        window.miSaveAs_Click();
        EXPECT_EQ(lastMessage().title, "White as none?");
        const QByteArray file = readAll(path("c.8ci"));
        const auto read = core::readPicture(std::string_view(file.constData(), size_t(file.size())),
                                            FormatId::Ti84CePicture);
        ASSERT_TRUE(std::holds_alternative<core::CalculatorPicture>(read));
        const PixelGrid& cells = std::get<core::CalculatorPicture>(read).grid;
        EXPECT_EQ(cells.at(5, 5), core::kPaletteBlack);
        EXPECT_EQ(cells.at(100, 200), clear);
        EXPECT_EQ(window.grid(), cells);
        EXPECT_EQ(window.cellKind(), CellKind::Palette);
        EXPECT_FALSE(window.Palette->isHidden());
        // Back to monochrome through Convert Image; Undo cannot bring back colour cells into
        // a monochrome document.
        const size_t asked = prompts.asked().size();
        prompts.answerFile(path("m.82i"), 1);
        window.miSaveAs_Click();
        EXPECT_EQ(prompts.asked()[asked + 1].kind, testing_support::Asked::Kind::Dialog);
        EXPECT_EQ(window.cellKind(), CellKind::Monochrome);
        EXPECT_EQ(window.grid().columns(), 96);
        const PixelGrid mono = window.grid();
        window.miUndo_Click();
        EXPECT_EQ(window.grid(), mono);
        EXPECT_TRUE(window.InkRow->isHidden());
    }
}

// Convert Image onto a colour picture: a picture made of the palette's colours comes out
// exactly those colours with the dialog's defaults; transparency is none.
TEST_F(DotwellColour, ConvertingPaletteColoursIsExact) {
    newPicture(6);
    QImage image(266, 165, QImage::Format_ARGB32);
    for (int y = 0; y < 165; ++y)
        for (int x = 0; x < 266; ++x)
            image.setPixel(
                x, y,
                (x + y) % 16 == 0 ? 0u : 0xFF000000u | core::paletteRgb(1 + (x / 7 + y / 5) % 15));
    image.save(path("colours.png"));
    prompts.answerFile(path("colours.png"));
    window.miConvert_Click();
    for (int y = 0; y < 165; ++y)
        for (int x = 0; x < 266; ++x)
            ASSERT_EQ(window.grid().at(y, x), (x + y) % 16 == 0 ? 0 : 1 + (x / 7 + y / 5) % 15)
                << x << ", " << y;
}
