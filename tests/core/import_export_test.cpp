// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <cmath>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/imaging/picture_loader.h"
#include "core/imaging/wmf_player.h"
#include "dotwell/frm_dotwell.h"
#include "pixvane/frm_pixvane.h"
#include "tests/support/files.h"
#include "tests/support/grid_pictures.h"
#include "tests/support/peak_memory.h"
#include "tests/support/picture_bytes.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/window_fixture.h"

using testing_support::darkCells;
using testing_support::gridPicture;
using testing_support::ScriptedPrompts;
using testing_support::WmfBuilder;

namespace {

QImage filled(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A metafile of 100 x 50 pixels: a filled black ellipse on the left, a filled black rectangle
// on the right, drawn with a black pen and brush.
QByteArray shapesMetafile() {
    return WmfBuilder(100, 50, 96, 2)
        .colourRecord(0x02FC, 0, 0x000000, {0}) // CreateBrushIndirect: solid black
        .record(0x012D, {0})                    // SelectObject
        .record(0x02FA, {0, 1, 0, 0, 0})        // CreatePenIndirect: solid, width 1, black
        .record(0x012D, {1})
        .record(0x020B, {0, 0})           // SetWindowOrg (y, x)
        .record(0x020C, {50, 100})        // SetWindowExt (y, x)
        .record(0x0418, {40, 40, 10, 10}) // Ellipse (bottom, right, top, left)
        .record(0x041B, {40, 90, 10, 60}) // Rectangle
        .bytes();
}

template <class Window> using Fixture = testing_support::TestWindow<Window>;

int blackPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += core::isExactlyBlack(image, x, y);
    return n;
}

QRect blackBounds(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (core::isExactlyBlack(image, x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(Import, SmallBlackPictureIsCentredInDotwell) {
    Fixture<dotwell::FrmDotwell> f;
    ASSERT_TRUE(filled(10, 10, Qt::black).save(f.path("square.bmp"), "BMP"));
    f.import(f.path("square.bmp"));
    const auto& request = f.prompts.asked().front().file;
    EXPECT_EQ(request.title, "Import a picture");
    EXPECT_EQ(request.filter.section('|', 0, 1), "Readable Files|*.BMP;*.ICO;*.RLE;*.WMF");
    EXPECT_EQ(request.flags, 4100);
    const auto question = f.prompts.messages().front();
    EXPECT_EQ(question.title, "Import...");
    EXPECT_EQ(question.text, f.path("square.bmp") + "\n\r\n\r     ...this picture?");
    EXPECT_EQ(question.buttons, core::MessageButtons::YesNo);

    EXPECT_EQ(darkCells(f.window.grid()), 100);
    EXPECT_EQ(gridPicture(f.window.grid(), 25, 41, 1, 12), "............\n");
    EXPECT_EQ(gridPicture(f.window.grid(), 26, 41, 1, 12), ".##########.\n");
    EXPECT_EQ(gridPicture(f.window.grid(), 35, 41, 2, 12), ".##########.\n............\n");
    const core::DocumentState state = f.window.documentState();
    EXPECT_EQ(state.fileName, "");
    EXPECT_FALSE(state.open);
    EXPECT_TRUE(state.saveAs && state.print && state.image11);
    EXPECT_EQ(f.window.tools().currentTool(), core::kPen);
}

TEST(Import, FullSizeMapsWithoutOffsetAndLargerGivesItsTopLeft) {
    Fixture<dotwell::FrmDotwell> f;
    QImage exact = filled(96, 63, Qt::white);
    exact.setPixel(0, 0, qRgb(0, 0, 0));
    exact.setPixel(95, 62, qRgb(0, 0, 0));
    exact.setPixel(7, 3, qRgb(0, 0, 0));
    ASSERT_TRUE(exact.save(f.path("exact.bmp"), "BMP"));
    f.import(f.path("exact.bmp"));
    EXPECT_EQ(darkCells(f.window.grid()), 3);
    EXPECT_EQ(f.window.grid().at(62, 95), 1);
    EXPECT_EQ(f.window.grid().at(3, 7), 1);

    Fixture<dotwell::FrmDotwell> g;
    QImage large = filled(200, 100, Qt::black);
    QPainter(&large).fillRect(96, 0, 104, 100, Qt::white); // only the left 96 columns are black
    ASSERT_TRUE(large.save(g.path("large.bmp"), "BMP"));
    g.import(g.path("large.bmp"));
    EXPECT_EQ(darkCells(g.window.grid()), 96 * 63);
}

TEST(Import, OnlyOpaquePureBlackCounts) {
    Fixture<pixvane::FrmPixvane> f;
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::transparent); // RGB 0 with alpha 0: must not become dark
    icon.setPixel(1, 1, qRgba(0, 0, 0, 255));
    icon.setPixel(2, 2, qRgba(1, 0, 0, 255)); // dark grey-ish: not black
    icon.setPixel(3, 3, qRgba(64, 64, 64, 255));
    icon.setPixel(4, 4, qRgba(0, 0, 0, 128)); // half transparent black
    ASSERT_TRUE(icon.save(f.path("icon.ico"), "ICO"));
    f.import(f.path("icon.ico"));
    EXPECT_EQ(darkCells(f.window.grid()), 1);
    EXPECT_EQ(f.window.grid().at(1 + 51 - 8, 1 + 120 - 8), 1);
}

TEST(Import, RleSkippedPixelsAreNotBlack) {
    Fixture<dotwell::FrmDotwell> f;
    // 4 x 2, bottom-up. Bottom row: two black pixels, then a delta skipping to the next row.
    // Top row: end of bitmap right away. Palette index 0 is black, so any pixel left at 0
    // would wrongly import as dark.
    const QByteArray rle("\x02\x00"         // two pixels of index 0
                         "\x00\x02\x02\x01" // delta: right 2, up 1
                         "\x00\x01",        // end of bitmap
                         8);
    testing_support::writeAll(f.path("skip.rle"), testing_support::rle8Bitmap(4, 2, rle));
    f.import(f.path("skip.rle"));
    ASSERT_TRUE(f.prompts.messages().size() >= 1);
    EXPECT_EQ(f.prompts.messages().back().title, "Import...");
    // Offsets for 4 x 2: rows 31 - 1 = 30.., columns 47 - 2 = 45..
    EXPECT_EQ(gridPicture(f.window.grid(), 30, 45, 2, 4), "....\n##..\n");
}

TEST(Import, PixvaneScansOnePastTheEdgeWithoutInventingBlack) {
    Fixture<pixvane::FrmPixvane> f;
    ASSERT_TRUE(filled(10, 10, Qt::black).save(f.path("square.bmp"), "BMP"));
    f.import(f.path("square.bmp"));
    EXPECT_EQ(darkCells(f.window.grid()), 100);
    EXPECT_EQ(gridPicture(f.window.grid(), 46, 114, 1, 12), ".##########.\n");
    EXPECT_EQ(gridPicture(f.window.grid(), 56, 114, 1, 12), "............\n");
}

TEST(Import, DeclinedImportChangesNothingButDotwellsToolbar) {
    Fixture<dotwell::FrmDotwell> d;
    ASSERT_TRUE(filled(10, 10, Qt::black).save(d.path("square.bmp"), "BMP"));
    const core::DocumentState before = d.window.documentState();
    d.import(d.path("square.bmp"), core::Answer::No);
    EXPECT_EQ(darkCells(d.window.grid()), 0);
    core::DocumentState expected = before;
    expected.image11 = true, expected.image5 = false, expected.image8 = false;
    EXPECT_EQ(d.window.documentState(), expected);

    Fixture<pixvane::FrmPixvane> p;
    ASSERT_TRUE(filled(10, 10, Qt::black).save(p.path("square.bmp"), "BMP"));
    const core::DocumentState pixBefore = p.window.documentState();
    p.import(p.path("square.bmp"), core::Answer::No);
    EXPECT_EQ(darkCells(p.window.grid()), 0);
    EXPECT_EQ(p.window.documentState(), pixBefore);
}

TEST(Import, KeepsCellsAlreadyDark) {
    Fixture<dotwell::FrmDotwell> f;
    f.window.Picture1_MouseDown(1, 0, 2.5, 2.5);
    f.window.Picture1_MouseDown(1, 0, 2.5, 2.5);
    ASSERT_TRUE(filled(10, 10, Qt::white).save(f.path("white.bmp"), "BMP"));
    f.import(f.path("white.bmp"));
    EXPECT_EQ(f.window.grid().at(2, 2), 1);
    EXPECT_EQ(darkCells(f.window.grid()), 1);
}

TEST(Import, DamagedFilesSayWhyInBothProgramsAndCancelIsSilent) {
    Fixture<pixvane::FrmPixvane> p;
    testing_support::writeAll(p.path("broken.bmp"), QByteArray("BM this is not a bitmap at all"));
    p.prompts.answerFile(p.path("broken.bmp"));
    p.window.miImport_Click();
    ASSERT_EQ(p.prompts.messages().size(), 1u);
    EXPECT_TRUE(p.prompts.messages()[0].text.startsWith("Error: "));
    EXPECT_EQ(p.prompts.messages()[0].title, "Pixvane 2.6");
    EXPECT_TRUE(p.window.documentState().open);

    Fixture<dotwell::FrmDotwell> d;
    d.prompts.cancelFile();
    d.window.miImport_Click();
    EXPECT_TRUE(d.prompts.messages().empty());
}

TEST(Import, MetafileShapesArriveFilled) {
    const QByteArray wmf = shapesMetafile();
    EXPECT_TRUE(core::looksLikeWmf(wmf));
    EXPECT_EQ(core::loadPictureData(wmf).size, QSize(100, 50)); // the placeable box at 96 dpi

    Fixture<pixvane::FrmPixvane> f;
    testing_support::writeAll(f.path("shapes.wmf"), wmf);
    f.import(f.path("shapes.wmf"));
    const core::PixelGrid& g = f.window.grid();
    // 100 x 50 is centred at row offset 51 - 25 = 26, column offset 120 - 50 = 70.
    EXPECT_EQ(g.at(26 + 25, 70 + 25), 1); // inside the ellipse
    EXPECT_EQ(g.at(26 + 25, 70 + 75), 1); // inside the rectangle
    EXPECT_EQ(g.at(26 + 12, 70 + 12), 0); // the ellipse's corner is outside it
    EXPECT_EQ(g.at(26 + 25, 70 + 50), 0); // between the two
    EXPECT_EQ(g.at(26 + 11, 70 + 61), 1); // the rectangle's corner
}

TEST(Import, HugeMetafileRendersOnlyWhatTheScanReaches) {
    const QByteArray wmf = WmfBuilder(30000, 30000, 1, 1)
                               .colourRecord(0x02FC, 0, 0x000000, {0})
                               .record(0x012D, {0})
                               .record(0x041B, {30000, 30000, 0, 0})
                               .bytes();
    const core::LoadedPicture picture = core::loadPictureData(wmf, QSize(97, 64));
    ASSERT_TRUE(picture.error.isEmpty());
    EXPECT_EQ(picture.image.size(), QSize(97, 64));
    EXPECT_EQ(picture.size, QSize(30000 * 96, 30000 * 96));
    EXPECT_TRUE(core::isExactlyBlack(picture.image, 50, 50));
}

TEST(Import, DamagedMetafilesFailCleanly) {
    const QByteArray good = shapesMetafile();
    // Cut inside its headers, a metafile is no metafile; cut among its records, it plays
    // what it holds. Either way nothing is read past the data (ASan watches).
    for (int cut : {4, 22, 30, 40, 46, 60, int(good.size()) - 3}) {
        const core::LoadedPicture picture = core::loadPictureData(good.left(cut), QSize(50, 50));
        if (cut < 40) {
            EXPECT_FALSE(picture.error.isEmpty()) << cut;
            EXPECT_TRUE(picture.image.isNull()) << cut;
        } else {
            EXPECT_TRUE(picture.error.isEmpty()) << cut;
            EXPECT_EQ(picture.image.size(), QSize(50, 50)) << cut;
        }
    }
    // A first record that claims 65535 words ends the play before it: a blank picture.
    QByteArray lying = good;
    lying[40] = char(0xFF), lying[41] = char(0xFF);
    const core::LoadedPicture blank = core::loadPictureData(lying, QSize(50, 50));
    EXPECT_TRUE(blank.error.isEmpty());
    EXPECT_EQ(blackPixels(blank.image), 0);
    QByteArray polygon = WmfBuilder(10, 10, 96, 0).record(0x0324, {5000, 1, 1}).bytes();
    EXPECT_TRUE(core::loadPictureData(polygon, QSize(20, 20)).error.isEmpty());
    // Text whose length points past its record, either way (found by the fuzzer).
    for (int length : {0x7FFF, -3, 5}) {
        const QByteArray text = WmfBuilder(10, 10, 96, 0).record(0x0521, {length, 0x6948}).bytes();
        EXPECT_TRUE(core::loadPictureData(text, QSize(20, 20)).error.isEmpty()) << length;
    }
    const QByteArray polyPolygon = WmfBuilder(10, 10, 96, 0).record(0x0538, {9000, 3}).bytes();
    EXPECT_TRUE(core::loadPictureData(polyPolygon, QSize(20, 20)).error.isEmpty());
    const QByteArray clipped = WmfBuilder(10, 10, 96, 0).record(0x0A32, {1, 1, 4, 6}).bytes();
    EXPECT_TRUE(core::loadPictureData(clipped, QSize(20, 20)).error.isEmpty());
}

TEST(Export, BitmapIsTheZoomedCanvasAndAnyCaseTakesTheBranch) {
    Fixture<dotwell::FrmDotwell> f;
    f.window.Picture1_MouseDown(1, 0, 2.5, 3.5);
    f.window.Picture1_MouseDown(1, 0, 2.5, 3.5);
    f.prompts.answerFile(f.path("PIC.BMP"), 1);
    f.window.miSaveAs_Click();
    ASSERT_EQ(f.prompts.messages().size(), 1u);
    EXPECT_EQ(f.prompts.messages()[0].text, "PIC.BMP is saved.");
    EXPECT_EQ(f.prompts.messages()[0].title, "Dotwell 2.6");
    QImage saved(f.path("PIC.BMP"));
    ASSERT_FALSE(saved.isNull());
    const int zoom = f.window.Picture1->zoom();
    EXPECT_EQ(saved.size(), QSize(96 * zoom, 63 * zoom));
    EXPECT_EQ(saved.pixel(2 * zoom, 3 * zoom), qRgb(0, 0, 0));
    EXPECT_NE(saved.pixel(3 * zoom, 3 * zoom), qRgb(0, 0, 0));
    EXPECT_FALSE(f.window.documentState().open); // an export does not count as saving

    // The Bitmaps entry appends .bmp to a bare name.
    f.prompts.answerFile(f.path("bare"), 3);
    f.window.miSaveAs_Click();
    EXPECT_TRUE(QFile::exists(f.path("bare.bmp")));
    EXPECT_EQ(f.window.fileName(), f.path("bare.bmp"));
}

TEST(Export, UnwritableBitmapIsReportedNotSaved) {
    Fixture<pixvane::FrmPixvane> f;
    f.window.Picture1_MouseDown(1, 0, 2.5, 3.5);
    f.prompts.answerFile(f.path("missing/folder/pic.bmp"), 2);
    f.window.miSaveAs_Click();
    ASSERT_EQ(f.prompts.messages().size(), 1u);
    EXPECT_FALSE(f.prompts.messages()[0].text.contains("is saved."));
    EXPECT_EQ(f.prompts.messages()[0].icon, core::MessageIcon::Exclamation);
}

TEST(Import, ATinyFileDeclaringAHugePictureIsRefusedWithoutTheMemory) {
    const QByteArray files[] = {testing_support::tinyBmpDeclaring(16000, 16000),
                                testing_support::tinyPngDeclaring(25000, 25000)};
    for (const QByteArray& bytes : files) {
        testing_support::resetPeak();
        const long before = testing_support::peakMegabytes();
        const core::LoadedPicture picture = core::loadPictureData(bytes, QSize(241, 104));
        EXPECT_FALSE(picture.error.isEmpty()) << bytes.left(4).toStdString();
        EXPECT_LT(testing_support::peakMegabytes() - before, 64)
            << "MiB for " << bytes.size() << " bytes";
    }
    // Through the window: the program's own message, and nothing changes.
    Fixture<pixvane::FrmPixvane> f;
    testing_support::writeAll(f.path("huge.bmp"), files[0]);
    f.prompts.answerFile(f.path("huge.bmp"));
    f.window.miImport_Click();
    ASSERT_EQ(f.prompts.messages().size(), 1u);
    EXPECT_TRUE(f.prompts.messages()[0].text.startsWith("Error: "));
    EXPECT_TRUE(f.prompts.messages()[0].text.contains("16000 x 16000"));
    EXPECT_TRUE(f.window.documentState().open);
}

// A progressive JPEG keeps the coefficients of the whole picture however little of it is read,
// so it is bounded as a picture read whole is; a baseline one of that size is still read for
// the part the scan reaches.
TEST(Import, AProgressiveJpegIsBoundedLikeAPictureReadWhole) {
    QImage colour(64, 64, QImage::Format_RGB32);
    colour.fill(qRgb(200, 120, 40));
    const QSize reach(241, 104);
    for (const bool progressive : {true, false}) {
        const QByteArray bytes = testing_support::jpegDeclaring(
            testing_support::jpegOf(colour, progressive), 6700, 6700);
        testing_support::resetPeak();
        const long before = testing_support::peakMegabytes();
        const core::LoadedPicture picture = core::loadPictureData(bytes, reach);
        if (progressive) {
            EXPECT_EQ(picture.error, "The picture is 6700 x 6700 pixels, too large to read.");
        } else {
            EXPECT_EQ(picture.error, "");
            EXPECT_EQ(picture.image.size(), reach);
            EXPECT_EQ(picture.size, QSize(6700, 6700));
        }
        EXPECT_LT(testing_support::peakMegabytes() - before, 64) << "progressive " << progressive;
    }
}

TEST(Import, IconMasksDecideWhatIsTransparentAtEveryDepth) {
    // 8 x 8: black on even squares, white on odd; the mask covers the left half.
    const int width = 8, height = 8;
    auto black = [](int x, int y) { return (x + y) % 2 == 0; };
    auto masked = [](int x, int) { return x < 4; };
    struct Row {
        int bits;
        bool withMask;
        std::uint32_t alpha; // for 32 bits: the alpha byte of every pixel
        int dark;
    };
    const Row rows[] = {
        {1, true, 0, 16},     {1, false, 0, 32}, {4, true, 0, 16},  {4, false, 0, 32},
        {8, true, 0, 16},     {8, false, 0, 32}, {24, true, 0, 16}, {24, false, 0, 32},
        {32, true, 0, 16},    // older icons: all alpha 0, the mask decides
        {32, false, 0, 32},   // and without a mask they are opaque
        {32, true, 0xFF, 32}, // real alpha decides; the mask is for systems without it
    };
    for (const Row& row : rows) {
        const QByteArray icon = testing_support::iconFile(
            row.bits, width, height,
            [&](int x, int y) -> std::uint32_t {
                if (row.bits <= 8)
                    return black(x, y) ? 0 : 1;
                return (row.alpha << 24) | (black(x, y) ? 0x000000 : 0xFFFFFF);
            },
            masked, row.withMask);
        const core::LoadedPicture picture = core::loadPictureData(icon, QSize(241, 104));
        ASSERT_TRUE(picture.error.isEmpty()) << row.bits << ": " << picture.error.toStdString();
        EXPECT_EQ(picture.size, QSize(width, height));
        EXPECT_EQ(blackPixels(picture.image), row.dark)
            << row.bits << " bits, mask " << row.withMask << ", alpha " << row.alpha;
    }
}

TEST(Import, A24BitIconsTransparentCornersAreNotBlack) {
    // A white disc with a black ring; outside the disc the pixels are stored black and the
    // mask makes them transparent.
    auto distance = [](int x, int y) { return std::hypot(x - 15.5, y - 15.5); };
    int ring = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ring += distance(x, y) >= 12 && distance(x, y) < 15;
    const QByteArray icon = testing_support::iconFile(
        24, 32, 32,
        [&](int x, int y) -> std::uint32_t { return distance(x, y) >= 12 ? 0x000000 : 0xFFFFFF; },
        [&](int x, int y) { return distance(x, y) >= 15; });
    Fixture<dotwell::FrmDotwell> f;
    testing_support::writeAll(f.path("disc.ico"), icon);
    f.import(f.path("disc.ico"));
    EXPECT_EQ(darkCells(f.window.grid()), ring);
}

TEST(Import, MetafileFiguresLeaveOutTheirRightAndBottomEdge) {
    struct Row {
        const char* name;
        std::uint16_t function;
        std::initializer_list<std::int32_t> words;
        QRect box; // the cells covered, as GDI fills them
        int cells; // 0: only the box is checked
    };
    const Row rows[] = {
        {"Rectangle", 0x041B, {25, 40, 5, 10}, QRect(QPoint(10, 5), QPoint(39, 24)), 600},
        {"Ellipse", 0x0418, {40, 40, 10, 10}, QRect(QPoint(10, 10), QPoint(39, 39)), 0},
        {"small Ellipse", 0x0418, {12, 20, 7, 3}, QRect(QPoint(3, 7), QPoint(19, 11)), 0},
        {"wide Ellipse", 0x0418, {49, 99, 0, 0}, QRect(QPoint(0, 0), QPoint(98, 48)), 0},
        {"RoundRect", 0x061C, {6, 6, 45, 90, 5, 60}, QRect(QPoint(60, 5), QPoint(89, 44)), 0},
        {"Pie", 0x081A, {20, 90, 0, 70, 40, 90, 0, 50}, QRect(QPoint(50, 0), QPoint(89, 39)), 0},
    };
    for (const Row& row : rows) {
        const QByteArray wmf = WmfBuilder(100, 50, 96, 2)
                                   .colourRecord(0x02FC, 0, 0x000000, {0})
                                   .record(0x012D, {0})
                                   .record(0x02FA, {0, 1, 0, 0, 0})
                                   .record(0x012D, {1})
                                   .record(row.function, row.words)
                                   .bytes();
        const core::LoadedPicture picture = core::loadPictureData(wmf, QSize(241, 104));
        ASSERT_TRUE(picture.error.isEmpty()) << row.name;
        EXPECT_EQ(blackBounds(picture.image), row.box) << row.name;
        if (row.cells) {
            EXPECT_EQ(blackPixels(picture.image), row.cells) << row.name;
        }
    }
}

TEST(Import, TextUnderATinyScaleIsPlayedWithoutOverflow) {
    // Found by an outside review: a font height of 0 under a tiny scale asked for a font of
    // 1.2e10 pixels. The sanitizer build stops at any such conversion.
    const QByteArray wmf = QByteArray::fromHex(
        "d7cdc69a0000000000006400320060000001000027570100090000036700000003000b0000000000070000"
        "00fc020000000000000000040000000d01000008000000fa0200000200000000000000040000002d010100"
        "050000000e0200000000050000000c0231006400070000001804280028000a000a00070000001b00140001"
        "00010014000b000000170800000a1400000a000000140000000000030000001e00040000002701ffff0700"
        "00002105020048691e001e00030000000000");
    const core::LoadedPicture picture = core::loadPictureData(wmf, QSize(97, 64));
    EXPECT_TRUE(picture.error.isEmpty()) << picture.error.toStdString();
    EXPECT_LE(picture.image.width(), 97);
    EXPECT_LE(picture.image.height(), 64);
}
