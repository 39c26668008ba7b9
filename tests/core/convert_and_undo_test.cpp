// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <functional>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include "core/formats/ti92_picture_file.h"
#include "core/imaging/picture_conversion_source.h"
#include "core/ui/convert_image_dialog.h"
#include "core/ui/picture_canvas.h"
#include "dotwell/frm_dotwell.h"
#include "pixvane/frm_pixvane.h"
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
            // The dialog's other controls at their defaults, Levels Auto among them.
            core::ConversionOptions options;
            options.threshold = 100;
            options.dither = core::Dither(dither);
            const core::PixelGrid expected = core::convertPicture(
                QImage(f.path("photo.png")), QSize(240, 103), core::ScaleMode(scale), options);
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
    core::ConvertImageDialog dialog(f.window.profile(), {picture, {}, picture.size()},
                                    f.window.grid(), &f.window);
    EXPECT_EQ(dialog.windowTitle(), "Convert Image");
    EXPECT_EQ(dialog.scaleBox->currentText(), "Fit");
    EXPECT_EQ(dialog.thresholdBox->value(), 128);
    // The default chosen by docs/conversion.md: Levels Auto and no dither.
    EXPECT_EQ(dialog.ditherBox->currentText(), "None");
    EXPECT_EQ(dialog.levelsBox->currentText(), "Auto");
    EXPECT_EQ(dialog.strengthBox->value(), 100);
    EXPECT_FALSE(dialog.serpentineBox->isChecked());
    EXPECT_EQ(dialog.brightnessBox->value(), 0);
    EXPECT_EQ(dialog.contrastBox->value(), 0);
    EXPECT_EQ(dialog.gammaBox->value(), 1.0);
    EXPECT_FALSE(dialog.invertBox->isChecked());
    EXPECT_TRUE(dialog.replaceButton->isChecked());
    EXPECT_TRUE(dialog.buttons->button(QDialogButtonBox::Ok)->isDefault());
    EXPECT_EQ(darkCells(dialog.result()), 30 * 20); // 40 and 200 levelled to 0 and 255
    dialog.ditherBox->setCurrentIndex(0);           // no dither: the threshold alone decides
    dialog.levelsBox->setCurrentIndex(0);           // the greys as they are
    dialog.autoButton->click();                     // Otsu: between the two greys
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

// Every new control reaches the preview and OK through the one conversion function, with the
// picture as placed; strength and serpentine only for the error diffusions.
TEST(ConvertImage, ToneStrengthAndSerpentineReachThePreviewAndOk) {
    Fixture<pixvane::FrmPixvane> f;
    // A dim, low-contrast photo, so that every tone control moves cells.
    QImage dim = photo(400, 300);
    for (int y = 0; y < dim.height(); ++y)
        for (int x = 0; x < dim.width(); ++x) {
            const int g = 90 + qGray(dim.pixel(x, y)) / 4;
            dim.setPixel(x, y, qRgb(g, g, g));
        }
    ASSERT_TRUE(dim.save(f.path("dim.png"), "PNG"));
    const core::GreyCells cells = core::ConversionSource(QImage(f.path("dim.png")), QSize(240, 103))
                                      .cells(core::ScaleMode::Fill);
    core::ConversionOptions options(100, core::Dither::FloydSteinberg, false);
    options.tone.autoLevels = true;
    options.tone.brightness = 20;
    options.tone.contrast = 30;
    options.tone.gamma = 1.5;
    options.strength = 60;
    options.serpentine = true;
    struct Row {
        const char* name;
        std::function<void(core::ConvertImageDialog*)> set;
    };
    const Row rows[] = {
        {"everything", [](core::ConvertImageDialog*) {}},
        {"levels off", [](core::ConvertImageDialog* d) { d->levelsBox->setCurrentIndex(0); }},
        {"darker", [](core::ConvertImageDialog* d) { d->brightnessSlider->setValue(-40); }},
        {"flatter", [](core::ConvertImageDialog* d) { d->contrastBox->setValue(-30); }},
        {"gamma 0.5", [](core::ConvertImageDialog* d) { d->gammaBox->setValue(0.5); }},
        {"full strength", [](core::ConvertImageDialog* d) { d->strengthBox->setValue(100); }},
        {"straight rows", [](core::ConvertImageDialog* d) { d->serpentineBox->setChecked(false); }},
        {"atkinson", [](core::ConvertImageDialog* d) { d->ditherBox->setCurrentIndex(2); }},
    };
    std::vector<core::PixelGrid> seen;
    for (const Row& row : rows) {
        f.window.miCls_Click();
        f.prompts.answerFile(f.path("dim.png"));
        core::ConversionOptions asked;
        f.prompts.answerDialog([&](QDialog* d) {
            core::ConvertImageDialog* dialog = asDialog(d);
            dialog->scaleBox->setCurrentIndex(int(core::ScaleMode::Fill));
            dialog->ditherBox->setCurrentIndex(1); // Floyd-Steinberg
            dialog->thresholdBox->setValue(100);
            dialog->levelsBox->setCurrentIndex(1);
            dialog->brightnessBox->setValue(20);
            dialog->contrastSlider->setValue(30);
            dialog->gammaBox->setValue(1.5);
            dialog->strengthBox->setValue(60);
            dialog->serpentineBox->setChecked(true);
            row.set(dialog);
            asked = dialog->options();
            // The preview is the canvas's drawing of the cells OK gives.
            core::PictureCanvas canvas(103, 240, dialog->preview->zoom());
            canvas.rebuild(dialog->result(), f.window.profile().cellFill);
            EXPECT_EQ(dialog->preview->surface(), canvas.surface()) << row.name;
            return true;
        });
        f.window.miConvert_Click();
        EXPECT_EQ(f.window.grid(), core::convertCells(cells, asked)) << row.name;
        seen.push_back(f.window.grid());
    }
    // The first row is exactly the options set by hand, and each other row changes cells.
    EXPECT_EQ(seen[0], core::convertCells(cells, options));
    for (size_t i = 1; i < seen.size(); ++i)
        EXPECT_NE(seen[i], seen[0]) << rows[i].name;
}

TEST(ConvertImage, StrengthOnlyForDiffusionAutoOfTheTonedPictureOriginalAndHelp) {
    Fixture<dotwell::FrmDotwell> f;
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(qRgb(120, 120, 120));
    QPainter(&picture).fillRect(0, 0, 100, 100, qRgb(100, 100, 100));
    core::ConvertImageDialog dialog(f.window.profile(), {picture, {}, picture.size()},
                                    f.window.grid(), &f.window);
    for (int dither = 0; dither < 5; ++dither) {
        dialog.ditherBox->setCurrentIndex(dither);
        const bool diffusing = dither == 1 || dither == 2;
        EXPECT_EQ(dialog.strengthBox->isEnabled(), diffusing) << dither;
        EXPECT_EQ(dialog.serpentineBox->isEnabled(), diffusing) << dither;
    }
    // Auto parts the picture as the tone leaves it: with levels, 100 and 120 become 0 and 255.
    dialog.ditherBox->setCurrentIndex(0);
    dialog.levelsBox->setCurrentIndex(0);
    dialog.autoButton->click();
    const int plain = dialog.thresholdBox->value();
    EXPECT_GT(plain, 100);
    EXPECT_LE(plain, 120);
    dialog.levelsBox->setCurrentIndex(1);
    dialog.autoButton->click();
    EXPECT_GT(dialog.thresholdBox->value(), 0);
    EXPECT_LE(dialog.thresholdBox->value(), 255);
    EXPECT_NE(dialog.thresholdBox->value(), plain);
    EXPECT_EQ(darkCells(dialog.result()), 48 * 48); // Fit: 96 x 48, its left half dark
    // The original, small, its aspect kept.
    const QPixmap original = dialog.original->pixmap();
    EXPECT_EQ(original.size(), QSize(160, 80));
    EXPECT_EQ(original.toImage().pixel(10, 40), qRgb(100, 100, 100));
    // How it works: the arithmetic in words, in a window beside the dialog.
    dialog.helpButton->click();
    auto* help = dialog.findChild<QDialog*>(QStringLiteral("ConversionArithmetic"));
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    const QString text = help->findChild<QPlainTextEdit*>()->toPlainText();
    EXPECT_TRUE(text.contains("(299 R + 587 G + 114 B + 500) / 1000"));
    EXPECT_TRUE(text.contains("right 7, below left 3, below 5, below right 1"));
    EXPECT_TRUE(text.contains("0 8 2 10 / 12 4 14 6 / 3 11 1 9 / 15 7 13 5"));
    EXPECT_TRUE(f.prompts.messages().empty());
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

// Undo gives back pictures only: the texts and the file name stay what they are now.
TEST(Undo, ClrDrawComesBackAsAPictureAndOpenStartsAfresh) {
    Fixture<pixvane::FrmPixvane> f;
    core::PixelGrid grid(103, 240);
    for (int i = 0; i < 103; ++i)
        grid.set(i, i, 1);
    const auto bytes = core::buildTi92File(grid, {"games", "sprite", "a comment"});
    writeAll(f.path("s.92i"),
             QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    f.openFile("s.92i");
    EXPECT_FALSE(f.window.miUndo->isEnabled()); // a file read starts a new history
    f.window.miCls_Click();
    EXPECT_EQ(f.window.Text2->text(), "picture");
    f.window.miUndo_Click();
    EXPECT_EQ(f.window.grid(), grid);
    EXPECT_EQ(f.window.Text2->text(), "picture");
    EXPECT_EQ(f.window.fileName(), "");
    EXPECT_FALSE(f.window.documentState().save);
    EXPECT_FALSE(f.window.documentState().open);
    EXPECT_TRUE(f.window.documentState().saveAs);

    f.window.Picture1_MouseDown(1, 0, 7.5, 3.5); // arms the pen
    f.window.Picture1_MouseDown(1, 0, 7.5, 3.5); // and plots a clear cell
    f.window.Picture1_MouseUp(1, 0, 7.5, 3.5);
    EXPECT_TRUE(f.window.miUndo->isEnabled());
    f.prompts.answerFile(f.path("s.92i"));
    f.window.miSaveAs_Click();
    f.openFile("s.92i"); // Open clears the history
    EXPECT_FALSE(f.window.miUndo->isEnabled());
    EXPECT_FALSE(f.window.miRedo->isEnabled());
}

TEST(Undo, TheNextSaveAfterAnUndoGoesToTheLastSavedName) {
    Fixture<pixvane::FrmPixvane> f;
    f.window.show();
    f.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window));
    auto stroke = [&](double x) {
        f.window.Picture1_MouseDown(1, 0, x, 5.5);
        f.window.Picture1_MouseUp(1, 0, x, 5.5);
    };
    f.window.miTool_Click(1);
    stroke(3.5);
    f.prompts.answerFile(f.path("pA.92i"));
    f.window.miSaveAs_Click();
    stroke(9.5);
    f.prompts.answerFile(f.path("pB.92i"));
    f.window.miSaveAs_Click();
    const QByteArray a = testing_support::readAll(f.path("pA.92i"));
    f.window.miUndo_Click();
    EXPECT_EQ(f.window.statusFileText(), "pB.92i");
    EXPECT_EQ(f.window.fileName(), f.path("pB.92i"));
    stroke(20.5);
    QTest::keyClick(&f.window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(testing_support::readAll(f.path("pA.92i")), a);
    core::PixelGrid saved(103, 240);
    const QByteArray b = testing_support::readAll(f.path("pB.92i"));
    core::readTi92File(std::string_view(b.constData(), size_t(b.size())), saved);
    EXPECT_EQ(saved, f.window.grid());
    EXPECT_EQ(saved.at(5, 9), 0); // the undone stroke
    EXPECT_EQ(saved.at(5, 20), 1);
}

// Back at the picture as it was opened or saved, the document counts as saved: Open is there
// again and Exit does not warn; one step away it is unsaved again.
TEST(Undo, UndoingBackToTheSavedPictureCountsAsSaved) {
    Fixture<dotwell::FrmDotwell> f;
    f.draw();
    f.prompts.answerFile(f.path("s.83i"), 2);
    f.window.miSaveAs_Click();
    f.window.miTool_Click(1);
    f.window.Picture1_MouseDown(1, 0, 20.5, 20.5);
    f.window.Picture1_MouseUp(1, 0, 20.5, 20.5);
    EXPECT_FALSE(f.window.miOpen->isEnabled());
    f.window.miUndo_Click();
    EXPECT_TRUE(f.window.miOpen->isEnabled());
    EXPECT_TRUE(f.window.Image[11]->isHidden());
    f.window.miExit_Click();
    EXPECT_EQ(f.ended, 1);   // no warning
    f.window.miUndo_Click(); // before the save: unsaved
    EXPECT_FALSE(f.window.miOpen->isEnabled());
    f.window.miRedo_Click();
    EXPECT_TRUE(f.window.miOpen->isEnabled());
    f.window.miRedo_Click();
    EXPECT_FALSE(f.window.miOpen->isEnabled());

    f.openFile("s.83i"); // not allowed while unsaved
    f.window.miUndo_Click();
    f.openFile("s.83i");
    EXPECT_FALSE(f.window.miUndo->isEnabled());
    f.window.Picture1_MouseDown(1, 0, 30.5, 30.5); // the arming press marks it edited
    f.window.Picture1_MouseDown(1, 0, 30.5, 30.5);
    f.window.Picture1_MouseUp(1, 0, 30.5, 30.5);
    f.window.miUndo_Click(); // back at the picture as read
    EXPECT_TRUE(f.window.miOpen->isEnabled());
    f.window.miCls_Click();
    f.window.miUndo_Click(); // ClrDraw taken back: the picture has no file any more
    EXPECT_FALSE(f.window.miOpen->isEnabled());
}

// A save of a picture that never had a name asks for one, also after an undo.
TEST(Undo, SaveAfterUndoOfANeverSavedPictureAsksForAName) {
    Fixture<dotwell::FrmDotwell> f;
    f.draw();
    f.draw();
    f.window.miUndo_Click();
    EXPECT_FALSE(f.window.documentState().save);
    f.prompts.answerFile(f.path("new.83i"), 2);
    QTest::mouseClick(f.window.buttonArea(3), Qt::LeftButton, {}, QPoint(5, 5)); // Save
    ASSERT_FALSE(f.prompts.asked().empty());
    EXPECT_EQ(f.prompts.asked().back().title, "Dotwell Save As...");
    EXPECT_TRUE(QFile::exists(f.path("new.83i")));
}

// The text boxes keep their own undo; a picture undo leaves what was typed since.
TEST(Undo, TextTypedAfterAStrokeOutlivesItsUndo) {
    Fixture<pixvane::FrmPixvane> p;
    p.draw();
    p.draw();
    p.window.Text1->setText("typed after");
    p.window.Text2->setText("pic2");
    p.window.Text3->setText("games");
    p.window.miUndo_Click();
    p.window.miTool_Click(1); // the next edit clears Redo
    p.window.Picture1_MouseDown(1, 0, 30.5, 30.5);
    p.window.Picture1_MouseUp(1, 0, 30.5, 30.5);
    EXPECT_EQ(p.window.Text1->text(), "typed after");
    EXPECT_EQ(p.window.Text2->text(), "pic2");
    EXPECT_EQ(p.window.Text3->text(), "games");

    Fixture<dotwell::FrmDotwell> d;
    d.draw();
    d.draw();
    d.window.Text1->setText("typed after");
    d.window.Option1[8]->setChecked(true);
    d.window.miUndo_Click();
    d.window.miRedo_Click();
    d.window.miUndo_Click();
    EXPECT_EQ(d.window.Text1->text(), "typed after");
    EXPECT_EQ(d.window.selectedOption(), 8);
    EXPECT_EQ(d.window.picFileBuffer().picNumber(), 7);
}

// Ctrl+Z while the button is still held ends the drag first: nothing the drag would still
// draw lands, and every step undoes and redoes whole.
TEST(Undo, CtrlZDuringADragEndsTheDragAndKeepsTheHistoryStraight) {
    for (const int tool : {5, 1}) { // Box, Pen
        Fixture<dotwell::FrmDotwell> f;
        f.window.show();
        f.window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window));
        std::vector<core::PixelGrid> states{f.window.grid()};
        f.window.miTool_Click(1);
        for (const double x : {2.5, 4.5}) {
            f.window.Picture1_MouseDown(1, 0, x, 2.5);
            f.window.Picture1_MouseUp(1, 0, x, 2.5);
            states.push_back(f.window.grid());
        }
        f.window.miTool_Click(tool);
        f.window.Picture1_MouseDown(1, 0, 10.5, 10.5);
        f.window.Picture1_MouseMove(1, 0, 20.5, 15.5);
        const core::PixelGrid beforeKey = f.window.grid();
        QTest::keyClick(f.window.Picture1, Qt::Key_Z, Qt::ControlModifier);
        f.window.Picture1_MouseMove(1, 0, 30.5, 20.5);
        f.window.Picture1_MouseUp(1, 0, 30.5, 20.5);
        SCOPED_TRACE(tool);
        // The pen's stroke so far was a step, and Ctrl+Z took it back; the box never landed,
        // and Ctrl+Z took back the stroke before it.
        const bool pen = tool == 1;
        EXPECT_EQ(f.window.grid(), states[pen ? 2 : 1]);
        f.window.miUndo_Click();
        EXPECT_EQ(f.window.grid(), states[pen ? 1 : 0]);
        while (f.window.miRedo->isEnabled())
            f.window.miRedo_Click();
        EXPECT_EQ(f.window.grid(), pen ? beforeKey : states[2]);
        // What the canvas shows is what the grid holds: no rubber band left behind.
        const QImage shown = f.window.Picture1->surface().copy();
        f.window.Picture1->clear();
        f.window.Picture1_Paint();
        EXPECT_EQ(f.window.Picture1->surface(), shown);
    }
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

// Ctrl+V in a text box pastes text when the clipboard has some, and the picture otherwise.
TEST(Clipboard, CtrlVInATextBoxPastesAPictureWhenThereIsNoText) {
    Fixture<pixvane::FrmPixvane> f;
    f.window.show();
    f.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window));
    QImage square(240, 103, QImage::Format_RGB32);
    square.fill(Qt::white);
    QPainter(&square).fillRect(50, 30, 10, 10, Qt::black);
    QGuiApplication::clipboard()->setImage(square);
    QTRY_VERIFY(f.window.miPaste->isEnabled());
    f.window.Text1->setFocus();
    f.window.Text1->setText("note");
    QTest::keyClick(f.window.Text1, Qt::Key_V, Qt::ControlModifier);
    ASSERT_FALSE(f.prompts.asked().empty());
    EXPECT_EQ(f.prompts.asked().back().kind, testing_support::Asked::Kind::Dialog);
    EXPECT_EQ(darkCells(f.window.grid()), 100);
    EXPECT_EQ(f.window.Text1->text(), "note");

    f.prompts.clear();
    QGuiApplication::clipboard()->setText(" and text");
    f.window.Text1->setFocus();
    f.window.Text1->end(false);
    QTest::keyClick(f.window.Text1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(f.prompts.asked().empty());
    EXPECT_EQ(f.window.Text1->text(), "note and text");
}

// Paste of a picture too large to read says so, as Convert Image and Import do.
TEST(Clipboard, PasteOfAPictureTooLargeToReadSaysSo) {
    Fixture<dotwell::FrmDotwell> f;
    auto* huge = new QMimeData;
    huge->setData("image/png", testing_support::tinyPngDeclaring(25000, 25000));
    QGuiApplication::clipboard()->setMimeData(huge);
    f.window.miPaste_Click();
    ASSERT_EQ(f.prompts.messages().size(), 1u);
    EXPECT_EQ(f.prompts.messages()[0].text,
              "The picture is 25000 x 25000 pixels, too large to read.");
    EXPECT_FALSE(f.window.documentState().saveAs); // nothing changed
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
