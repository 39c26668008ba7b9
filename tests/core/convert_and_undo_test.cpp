// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QImageReader>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include "core/imaging/picture_conversion_source.h"
#include "core/ui/convert_image_dialog.h"
#include "core/ui/picture_canvas.h"
#include "dotwell/frm_dotwell.h"
#include "pixvane/frm_pixvane.h"
#include "pixvane/ti92_picture_file.h"
#include "tests/support/files.h"
#include "tests/support/grid_pictures.h"
#include "tests/support/picture_bytes.h"
#include "tests/support/window_fixture.h"

using testing_support::darkCells;
using testing_support::writeAll;

namespace {

template <class Window> using Fixture = testing_support::TestWindow<Window>;

// A photo-like picture: a grey ramp across, a black disc, a white margin.
QImage photo(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int g = 255 * x / (w - 1);
            image.setPixel(x, y, qRgb(g, g, g));
        }
    QPainter p(&image);
    p.setBrush(Qt::black);
    p.drawEllipse(QPoint(w / 3, h / 2), h / 4, h / 4);
    return image;
}

core::ConvertImageDialog* asDialog(QDialog* d) {
    return qobject_cast<core::ConvertImageDialog*>(d);
}

} // namespace

TEST(ConvertImage, TheDialogGivesWhatTheOneConversionFunctionGives) {
    Fixture<pixvane::FrmPixvane> f;
    const QImage picture = photo(400, 300);
    ASSERT_TRUE(picture.save(f.path("photo.png"), "PNG"));
    // Every scale and dither, through the dialog's own controls.
    for (int scale = 0; scale < 4; ++scale) {
        for (int dither = 0; dither < 5; ++dither) {
            f.window.miCls_Click();
            f.prompts.answerFile(f.path("photo.png"));
            core::ConvertImageDialog* seen = nullptr;
            f.prompts.answerDialog([&](QDialog* d) {
                seen = asDialog(d);
                seen->scaleBox->setCurrentIndex(scale);
                seen->ditherBox->setCurrentIndex(dither);
                seen->thresholdSlider->setValue(100);
                return true;
            });
            f.window.miConvert_Click();
            ASSERT_NE(seen, nullptr);
            const core::PixelGrid expected =
                core::convertPicture(QImage(f.path("photo.png")), QSize(240, 103),
                                     core::ScaleMode(scale), {100, core::Dither(dither), false});
            EXPECT_EQ(f.window.grid(), expected) << "scale " << scale << ", dither " << dither;
        }
    }
    // The state of an accepted import: no name, unsaved, Save As and Print on.
    const core::DocumentState state = f.window.documentState();
    EXPECT_EQ(state.fileName, "");
    EXPECT_FALSE(state.open);
    EXPECT_TRUE(state.saveAs && state.print && state.image11);
    EXPECT_TRUE(f.prompts.messages().empty());
}

TEST(ConvertImage, ControlsDefaultsAutoAndAPreviewOfTheExactCells) {
    Fixture<dotwell::FrmDotwell> f;
    f.draw(); // cell (5, 5)
    QImage picture(96, 63, QImage::Format_RGB32);
    picture.fill(qRgb(200, 200, 200));
    QPainter(&picture).fillRect(40, 20, 30, 20, qRgb(40, 40, 40));
    core::ConvertImageDialog dialog(f.window.profile(), picture, f.window.grid(), &f.window);
    EXPECT_EQ(dialog.windowTitle(), "Convert Image");
    EXPECT_EQ(dialog.scaleBox->currentText(), "Fit");
    EXPECT_EQ(dialog.thresholdBox->value(), 128);
    EXPECT_EQ(dialog.ditherBox->currentText(), QString::fromUtf8("Floyd\u2013Steinberg"));
    EXPECT_FALSE(dialog.invertBox->isChecked());
    EXPECT_TRUE(dialog.replaceButton->isChecked());
    EXPECT_TRUE(dialog.buttons->button(QDialogButtonBox::Ok)->isDefault());
    dialog.ditherBox->setCurrentIndex(0); // no dither: the threshold alone decides
    dialog.autoButton->click();           // Otsu: between the two greys
    EXPECT_GT(dialog.thresholdBox->value(), 40);
    EXPECT_LE(dialog.thresholdBox->value(), 200);
    EXPECT_EQ(dialog.thresholdSlider->value(), dialog.thresholdBox->value());
    EXPECT_EQ(darkCells(dialog.result()), 30 * 20);
    dialog.addButton->setChecked(true); // the black pixels over the picture that is there
    EXPECT_EQ(darkCells(dialog.result()), 30 * 20 + 1);
    dialog.invertBox->setChecked(true);
    EXPECT_EQ(darkCells(dialog.result()), 96 * 63 - 30 * 20); // cell (5, 5) is among them
    // The preview is the canvas's drawing of exactly those cells.
    core::PictureCanvas canvas(63, 96, dialog.preview->zoom());
    canvas.rebuild(dialog.result(), f.window.profile().cellFill);
    EXPECT_EQ(dialog.preview->surface(), canvas.surface());
}

TEST(ConvertImage, BadFilesSayWhyAndChangeNothing) {
    Fixture<pixvane::FrmPixvane> f;
    f.draw();
    const core::PixelGrid before = f.window.grid();
    writeAll(f.path("empty.png"), QByteArray());
    writeAll(f.path("text.png"), QByteArray("just some text, not a picture"));
    writeAll(f.path("huge.bmp"), testing_support::tinyBmpDeclaring(16000, 16000));
    for (const char* name : {"empty.png", "text.png", "huge.bmp", "missing.png"}) {
        f.prompts.answerFile(f.path(name));
        f.window.miConvert_Click();
        EXPECT_TRUE(f.lastMessage().text.contains("cannot be converted")) << name;
        EXPECT_EQ(f.lastMessage().icon, core::MessageIcon::Exclamation) << name;
    }
    EXPECT_EQ(f.prompts.messages().size(), 4u);
    EXPECT_EQ(f.window.grid(), before);
    for (const auto& asked : f.prompts.asked())
        EXPECT_NE(asked.kind, testing_support::Asked::Kind::Dialog);
    f.prompts.answerFile(f.path("photo.png"));
    f.prompts.answerDialog([](QDialog*) { return false; }); // Cancel
    ASSERT_TRUE(photo(50, 50).save(f.path("photo.png"), "PNG"));
    f.window.miConvert_Click();
    EXPECT_EQ(f.window.grid(), before);
}

TEST(Undo, StrokesShapesAndConversionsUndoAndRedoOneByOne) {
    Fixture<dotwell::FrmDotwell> f;
    EXPECT_FALSE(f.window.miUndo->isEnabled());
    std::vector<core::PixelGrid> states{f.window.grid()};
    f.draw(); // the arming press draws nothing, the second plots
    states.push_back(f.window.grid());
    f.window.miTool_Click(7); // a bar
    f.window.Picture1_MouseDown(1, 0, 10.5, 10.5);
    f.window.Picture1_MouseMove(1, 0, 20.5, 15.5);
    f.window.Picture1_MouseUp(1, 0, 20.5, 15.5);
    states.push_back(f.window.grid());
    ASSERT_TRUE(photo(96, 63).save(f.path("p.png"), "PNG"));
    f.prompts.answerFile(f.path("p.png"));
    f.window.miConvert_Click();
    states.push_back(f.window.grid());
    EXPECT_TRUE(f.window.miUndo->isEnabled());
    EXPECT_FALSE(f.window.miRedo->isEnabled());

    for (int i = int(states.size()) - 2; i >= 0; --i) {
        f.window.miUndo_Click();
        EXPECT_EQ(f.window.grid(), states[size_t(i)]) << "undo to step " << i;
        EXPECT_FALSE(f.window.documentState().open); // an undo is a change: unsaved
    }
    EXPECT_FALSE(f.window.miUndo->isEnabled());
    for (size_t i = 1; i < states.size(); ++i) {
        f.window.miRedo_Click();
        EXPECT_EQ(f.window.grid(), states[i]) << "redo to step " << i;
    }
    EXPECT_FALSE(f.window.miRedo->isEnabled());
    // What the canvas shows is what the grid holds.
    const QImage shown = f.window.Picture1->surface().copy();
    f.window.Picture1->clear();
    f.window.Picture1_Paint();
    EXPECT_EQ(f.window.Picture1->surface(), shown);
}

TEST(Undo, ClrDrawComesBackWithItsTextsAndNameAndOpenStartsAfresh) {
    Fixture<pixvane::FrmPixvane> f;
    core::PixelGrid grid(103, 240);
    for (int i = 0; i < 103; ++i)
        grid.set(i, i, 1);
    const auto bytes = pixvane::buildPicFile(grid, {"games", "sprite", "a comment"});
    writeAll(f.path("s.92i"),
             QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    f.openFile("s.92i");
    EXPECT_FALSE(f.window.miUndo->isEnabled()); // a file read starts a new history
    f.window.miCls_Click();
    EXPECT_EQ(f.window.Text2->text(), "picture");
    f.window.miUndo_Click();
    EXPECT_EQ(f.window.grid(), grid);
    EXPECT_EQ(f.window.Text1->text(), "a comment");
    EXPECT_EQ(f.window.Text2->text(), "sprite");
    EXPECT_EQ(f.window.Text3->text(), "games");
    EXPECT_EQ(f.window.fileName(), f.path("s.92i"));
    EXPECT_EQ(f.window.statusFileText(), "s.92i");
    EXPECT_TRUE(f.window.documentState().save);
    EXPECT_FALSE(f.window.documentState().open);
    f.window.miSave_click(); // saving again after an undo
    EXPECT_TRUE(f.prompts.messages().empty());

    f.window.Picture1_MouseDown(1, 0, 7.5, 3.5); // arms the pen
    f.window.Picture1_MouseDown(1, 0, 7.5, 3.5); // and plots a clear cell
    f.window.Picture1_MouseUp(1, 0, 7.5, 3.5);
    EXPECT_TRUE(f.window.miUndo->isEnabled());
    f.window.miSave_click();
    f.openFile("s.92i"); // Open clears the history
    EXPECT_FALSE(f.window.miUndo->isEnabled());
    EXPECT_FALSE(f.window.miRedo->isEnabled());
}

// A text box keeps Ctrl+Z for its own text; after a conversion the key must reach the picture.
TEST(Undo, CtrlZAfterAConversionTakesItBackEvenFromATextBox) {
    Fixture<dotwell::FrmDotwell> f;
    f.window.show();
    f.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window));
    f.window.Text1->setFocus();
    ASSERT_TRUE(photo(96, 63).save(f.path("p.png"), "PNG"));
    f.prompts.answerFile(f.path("p.png"));
    f.window.miConvert_Click();
    ASSERT_GT(darkCells(f.window.grid()), 0);
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    QTest::keyClick(focused, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(darkCells(f.window.grid()), 0);
    EXPECT_TRUE(f.window.miRedo->isEnabled());
}

TEST(Undo, AHundredAndTwentyStrokesAllComeBack) {
    Fixture<pixvane::FrmPixvane> f;
    f.window.miTool_Click(1);
    f.window.Picture1_MouseDown(1, 0, 0.5, 0.5); // a picture exists
    f.window.Picture1_MouseUp(1, 0, 0.5, 0.5);
    const core::PixelGrid first = f.window.grid();
    for (int i = 0; i < 120; ++i) {
        f.window.Picture1_MouseDown(1, 0, 1.5 + i, 10.5);
        f.window.Picture1_MouseUp(1, 0, 1.5 + i, 10.5);
    }
    EXPECT_EQ(darkCells(f.window.grid()), darkCells(first) + 120);
    for (int i = 0; i < 120; ++i)
        f.window.miUndo_Click();
    EXPECT_EQ(f.window.grid(), first);
}

TEST(Clipboard, CopyGivesOnePixelPerCellAndPasteConvertsAnImage) {
    Fixture<dotwell::FrmDotwell> f;
    EXPECT_FALSE(f.window.miCopy->isEnabled()); // no picture yet
    f.draw();                                   // cell (5, 5)
    ASSERT_TRUE(f.window.miCopy->isEnabled());
    f.window.miCopy_Click();
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(96, 63));
    EXPECT_EQ(copied.pixel(5, 5), qRgb(0, 0, 0));
    EXPECT_EQ(copied.pixel(6, 5), qRgb(255, 255, 255));
    EXPECT_TRUE(f.window.miPaste->isEnabled());

    QImage other(96, 63, QImage::Format_RGB32);
    other.fill(Qt::white);
    QPainter(&other).fillRect(50, 30, 10, 10, Qt::black);
    QGuiApplication::clipboard()->setImage(other);
    f.window.miPaste_Click();
    ASSERT_FALSE(f.prompts.asked().empty());
    EXPECT_EQ(f.prompts.asked().back().kind, testing_support::Asked::Kind::Dialog);
    EXPECT_EQ(darkCells(f.window.grid()), 100); // replaced: the pasted square only
    EXPECT_EQ(f.window.grid().at(35, 55), 1);
    f.window.miUndo_Click();
    EXPECT_EQ(darkCells(f.window.grid()), 1);
}

TEST(Export, PngIsOnePixelPerCellBlackOnWhite) {
    Fixture<pixvane::FrmPixvane> f;
    f.window.miTool_Click(7);
    f.window.Picture1_MouseDown(1, 0, 3.5, 4.5);
    f.window.Picture1_MouseDown(1, 0, 3.5, 4.5);
    f.window.Picture1_MouseMove(1, 0, 9.5, 7.5);
    f.window.Picture1_MouseUp(1, 0, 9.5, 7.5);
    f.prompts.answerFile(f.path("pic"), 5);
    f.window.miSaveAs_Click();
    ASSERT_EQ(f.prompts.messages().size(), 1u);
    EXPECT_EQ(f.prompts.messages()[0].text, "pic.png is saved.");
    const QImage saved(f.path("pic.png"));
    ASSERT_EQ(saved.size(), QSize(240, 103));
    EXPECT_EQ(saved.depth(), 1);
    for (int r = 0; r < 103; ++r)
        for (int c = 0; c < 240; ++c)
            ASSERT_EQ(saved.pixel(c, r),
                      f.window.grid().at(r, c) ? qRgb(0, 0, 0) : qRgb(255, 255, 255))
                << r << ", " << c;
    EXPECT_FALSE(f.window.documentState().open); // no calculator file was written
    EXPECT_FALSE(QFile::exists(f.path("pic.92i")));
}

// Convert Image, from the editor: a photo too large to decode whole reaches the dialog.
TEST(ConvertImage, TakesAPhotoTooLargeToDecodeWhole) {
    Fixture<dotwell::FrmDotwell> f;
    const int limit = QImageReader::allocationLimit();
    writeAll(f.path("photo.jpg"), testing_support::jpegOf(photo(1600, 1200), false));
    QImageReader::setAllocationLimit(4); // 1600 x 1200 pixels take 7.3 MiB
    f.prompts.answerFile(f.path("photo.jpg"));
    bool shown = false;
    f.prompts.answerDialog([&](QDialog*) { return shown = true; });
    f.window.miConvert_Click();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(f.prompts.messages().empty());
    EXPECT_GT(darkCells(f.window.grid()), 0);
    QImageReader::setAllocationLimit(limit);
}
