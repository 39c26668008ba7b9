// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <memory>
#include <tuple>
#include <vector>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include "core/formats/ti92_picture_file.h"
#include "core/platform/qt_prompts.h"
#include "core/ui/info_windows.h"
#include "core/ui/page_setup_dialog.h"
#include "dotwell/frm_dotwell.h"
#include "pixvane/frm_pixvane.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/window_fixture.h"

using testing_support::ScriptedPrompts;

namespace {

template <class Window> using Fixture = testing_support::TestWindow<Window>;

// The bounding box of the black pixels of an image.
QRect blackBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == qRgb(0, 0, 0))
                box |= QRect(x, y, 1, 1);
    return box;
}

void mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button,
           Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

} // namespace

TEST(PageSetup, OpensWithTheStoredValuesAndAPreview) {
    Fixture<dotwell::FrmDotwell> f;
    f.window.mipgset_Click();
    core::PageSetupDialog* pgset = f.window.information().pageSetupDialog();
    ASSERT_NE(pgset, nullptr);
    EXPECT_FALSE(pgset->isModal());
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(pgset, &activate);
    EXPECT_EQ(pgset->Text1->text(), "1");
    EXPECT_EQ(pgset->Text2->text(), "1");
    EXPECT_EQ(pgset->Text3->text(), "4");
    // A 4 x 2.625 inch rectangle at (1, 1) on a letter page.
    const QImage& preview = pgset->Picture1->image();
    const double sx = preview.width() / 8.5, sy = preview.height() / 11.0;
    const QRect box = blackBox(preview);
    EXPECT_NEAR(box.left(), 1 * sx, 1.5);
    EXPECT_NEAR(box.right(), 5 * sx, 1.5);
    EXPECT_NEAR(box.top(), 1 * sy, 1.5);
    EXPECT_NEAR(box.bottom(), 3.625 * sy, 1.5);
}

TEST(PageSetup, FloorsLettersArrowsOkAndCancel) {
    Fixture<pixvane::FrmPixvane> f;
    f.window.mipgset_Click();
    core::PageSetupDialog* d = f.window.information().pageSetupDialog();
    d->form_activate();

    d->Text1->setText("-2");
    EXPECT_EQ(d->Text1->text(), "0");
    d->Text3->setText("0.05");
    EXPECT_EQ(d->Text3->text(), "0.1");
    d->Spin3->downButton()->click(); // 0.1 - 0.1 writes " 0", which the floor turns into 0.1
    EXPECT_EQ(d->Text3->text(), "0.1");
    d->Text2->setText("abc");
    EXPECT_EQ(d->Text2->text(), "abc");

    d->Text1->setText("1");
    d->Spin1->downButton()->click(); // the lower arrow moves the picture down
    EXPECT_EQ(d->Text1->text(), " 1.1");
    d->Text1->setText("0");
    d->Spin1->upButton()->click();
    EXPECT_EQ(d->Text1->text(), "0");
    d->Spin2->upButton()->click(); // "abc" counts as 0
    EXPECT_EQ(d->Text2->text(), " .1");

    d->Text3->setText("6.5");
    d->Command2->click(); // Cancel keeps the stored settings
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(f.window.pageSettings().imageWidth, 4);
    f.window.mipgset_Click();
    d->form_activate();
    EXPECT_EQ(d->Text3->text(), "4");

    d->Text1->setText("2.5");
    d->Text2->setText("letters");
    d->Command1->click();
    EXPECT_EQ(f.window.pageSettings().topMargin, 2.5);
    EXPECT_EQ(f.window.pageSettings().leftMargin, 0);
    EXPECT_EQ(f.window.pageSettings().imageWidth, 4);
}

TEST(Print, WritesAPdfAndCancelPrintsNothing) {
    Fixture<pixvane::FrmPixvane> f;
    QTemporaryDir dir;
    f.draw();
    f.prompts.answerPrinter(false);
    f.window.miPrint_click();
    EXPECT_TRUE(f.prompts.messages().empty());

    const QString pdf = dir.filePath("page.pdf");
    f.prompts.answerPrinter(true, pdf);
    f.window.miPrint_click();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
    EXPECT_GT(file.size(), 500);
    EXPECT_TRUE(f.prompts.messages().empty());
}

namespace {

// The page descriptions of a PDF file: every stream, inflated where Qt compressed it.
QByteArray pdfContent(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray pdf = file.readAll();
    QByteArray content;
    for (qsizetype at = pdf.indexOf("stream\n"); at >= 0; at = pdf.indexOf("stream\n", at)) {
        at += 7;
        const qsizetype end = pdf.indexOf("endstream", at);
        if (end < 0)
            break;
        QByteArray zlib = pdf.mid(at, end - at);
        zlib.prepend(QByteArray("\x00\x10\x00\x00", 4)); // qUncompress wants a size hint
        const QByteArray inflated = qUncompress(zlib);
        content += inflated.isEmpty() ? pdf.mid(at, end - at) : inflated;
        at = end;
    }
    return content;
}

std::vector<double> numbersBefore(const QByteArray& content, const QByteArray& op, int count) {
    const qsizetype at = content.indexOf(" " + op + "\n");
    if (at < 0)
        return {};
    const QList<QByteArray> words = content.left(at).split('\n').last().split(' ');
    std::vector<double> numbers;
    for (qsizetype i = std::max<qsizetype>(0, words.size() - count); i < words.size(); ++i)
        numbers.push_back(words[i].toDouble());
    return numbers;
}

} // namespace

TEST(Print, PageIsScaledFromTwipsWithAHeavyFrame) {
    Fixture<dotwell::FrmDotwell> f;
    QTemporaryDir dir;
    f.draw(); // cell (5, 5)
    const QString pdf = dir.filePath("page.pdf");
    f.prompts.answerPrinter(true, pdf);
    f.window.miPrint_click();
    const QByteArray content = pdfContent(pdf);
    ASSERT_FALSE(content.isEmpty());
    // The page is played at 300 dpi: 72 / 300 points to the device pixel.
    const std::vector<double> page = numbersBefore(content, "cm", 6);
    ASSERT_EQ(page.size(), 6u) << content.left(300).toStdString();
    EXPECT_NEAR(page[0], 0.24, 1e-6);
    EXPECT_NEAR(page[3], -0.24, 1e-6);
    // The square of cell (5, 5): 1 inch margins, pitch 60 twips, 45 twips wide, in twips
    // scaled to the device.
    const qsizetype square = content.indexOf(" re\n");
    ASSERT_GE(square, 0);
    const std::vector<double> cell = numbersBefore(content.left(square + 4), "re", 4);
    EXPECT_EQ(cell, (std::vector<double>{1440 + 5 * 60, 1440 + 5 * 60, 45, 45}));
    EXPECT_TRUE(content.contains("0.208333333 0 0 0.208333333 0 0 cm")); // 300 / 1440
    // The frame: a 5-pixel pen (0.42 mm at 300 dpi), 10 twips outside the picture.
    EXPECT_TRUE(content.contains("\n5 w ")) << content.toStdString();
    const double outside = (1440 - 10) * 300.0 / 1440;
    const std::vector<double> corner = numbersBefore(content, "m", 2);
    ASSERT_EQ(corner.size(), 2u);
    EXPECT_NEAR(corner[0], outside, 1e-3);
    EXPECT_NEAR(corner[1], outside, 1e-3);
}

TEST(Print, AWidthBeyondAnyPageIsRefusedBeforeThePrintDialog) {
    Fixture<pixvane::FrmPixvane> f;
    QTemporaryDir dir;
    f.draw();
    f.window.pageSettings().imageWidth = 1e300;
    f.prompts.answerPrinter(true, dir.filePath("page.pdf"));
    f.window.miPrint_click();
    ASSERT_EQ(f.prompts.asked().size(), 1u);
    EXPECT_EQ(f.prompts.asked()[0].kind, testing_support::Asked::Kind::Message);
    EXPECT_EQ(f.prompts.asked()[0].icon, core::MessageIcon::Exclamation);
    EXPECT_TRUE(f.prompts.asked()[0].text.contains("inches"));
    EXPECT_FALSE(QFile::exists(dir.filePath("page.pdf")));
}

TEST(DocumentState, EveryEventSetsAllSevenFlags) {
    Fixture<pixvane::FrmPixvane> f;
    QTemporaryDir dir;
    const QString picture = dir.filePath("p.92i");
    {
        core::PixelGrid grid(103, 240);
        const auto bytes = core::buildTi92File(grid, {"main", "p", "c"});
        QFile out(picture);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    }
    QImage black(4, 4, QImage::Format_RGB32);
    black.fill(Qt::black);
    ASSERT_TRUE(black.save(dir.filePath("b.bmp"), "BMP"));

    using S = core::DocumentState;
    struct Row {
        const char* event;
        std::function<void()> run;
        S expected; // open, save, saveAs, print, image11, image5, image8
    };
    auto& w = f.window;
    const Row rows[] = {
        {"start-up", [] {}, S{{}, true, false, false, false, false, true, true}},
        {"press", [&] { f.draw(); }, S{{}, false, false, true, true, true, false, false}},
        {"ClrDraw", [&] { w.miCls_Click(); }, S{{}, true, false, false, false, false, true, true}},
        {"open",
         [&] {
             f.prompts.answerFile(picture);
             w.miOpen_click();
         },
         S{picture.toStdString(), true, true, true, true, false, false, false}},
        {"press", [&] { f.draw(); },
         S{picture.toStdString(), false, true, true, true, true, false, false}},
        {"save", [&] { w.miSave_click(); },
         S{picture.toStdString(), true, true, true, true, false, false, false}},
        {"import",
         [&] {
             f.prompts.answerFile(dir.filePath("b.bmp"));
             w.miImport_Click();
         },
         S{{}, false, true, true, true, true, false, false}},
        {"save as",
         [&] {
             f.prompts.answerFile(dir.filePath("q.92i"));
             w.miSaveAs_Click();
         },
         S{dir.filePath("q.92i").toStdString(), true, true, true, true, false, false, false}},
        {"ClrDraw", [&] { w.miCls_Click(); }, S{{}, true, false, false, false, false, true, true}},
    };
    for (const Row& row : rows) {
        row.run();
        const S state = w.documentState();
        EXPECT_EQ(state.fileName, row.expected.fileName) << row.event;
        EXPECT_EQ(state, row.expected)
            << row.event << ": open " << state.open << " save " << state.save << " saveAs "
            << state.saveAs << " print " << state.print << " covers " << state.image11
            << state.image5 << state.image8;
    }
    EXPECT_TRUE(f.prompts.messages().size() == 1u); // only the import's question
    EXPECT_EQ(w.Text1->text(), "made with PIXVANE");
    EXPECT_EQ(w.statusFileText(), "");
}

TEST(Toolbar, PressDragOffAndReleaseRunsNothingAClickRuns) {
    Fixture<dotwell::FrmDotwell> f;
    f.window.show();
    core::ToolbarImage* open = f.window.Image[1];
    core::ToolbarImage* button = f.window.buttonArea(1);
    const QPoint inside(5, 5);
    mouse(button, QEvent::MouseButtonPress, inside, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(open->isHidden()); // the pressed picture shows
    mouse(button, QEvent::MouseMove, QPoint(60, 5), Qt::NoButton, Qt::LeftButton);
    EXPECT_FALSE(open->isHidden());
    mouse(button, QEvent::MouseMove, inside, Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(open->isHidden());
    mouse(button, QEvent::MouseMove, QPoint(60, 5), Qt::NoButton, Qt::LeftButton);
    mouse(button, QEvent::MouseButtonRelease, QPoint(60, 5), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(open->isHidden());
    EXPECT_TRUE(f.prompts.asked().empty());

    // A real click, through the platform's mouse handling rather than straight to a widget.
    QTest::mouseClick(f.window.windowHandle(), Qt::LeftButton, {},
                      button->mapTo(&f.window, inside));
    ASSERT_EQ(f.prompts.asked().size(), 1u);
    EXPECT_EQ(f.prompts.asked()[0].title, "Open an 82I or 83I file...");

    // Save without a file name runs Save As.
    f.draw();
    mouse(f.window.buttonArea(3), QEvent::MouseButtonPress, inside, Qt::LeftButton, Qt::LeftButton);
    mouse(f.window.buttonArea(3), QEvent::MouseButtonRelease, inside, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(f.prompts.asked().back().title, "Dotwell Save As...");
    EXPECT_EQ(f.window.Image[1]->toolTip(), "Open");
    EXPECT_EQ(f.window.Image[10]->toolTip(), "Help");
    EXPECT_EQ(f.window.Image[1]->pixmap().size(), QSize(24, 22));
}

TEST(Exit, WarnsOnlyAboutUnsavedDrawing) {
    Fixture<pixvane::FrmPixvane> f;
    f.window.miExit_Click();
    EXPECT_EQ(f.ended, 1);
    EXPECT_TRUE(f.prompts.asked().empty());

    f.draw();
    f.prompts.answerExit(false);
    f.window.close(); // the close box asks too, and Cancel keeps the window
    ASSERT_EQ(f.prompts.asked().size(), 1u);
    EXPECT_EQ(f.prompts.asked()[0].kind, testing_support::Asked::Kind::Exit);
    EXPECT_EQ(f.prompts.asked()[0].title, "WARNING!");
    EXPECT_EQ(f.prompts.asked()[0].text,
              "Picture NOT saved as 92I. Press OK to quit or Cancel to return to drawing.");
    EXPECT_EQ(f.ended, 1);

    f.prompts.answerExit(true);
    f.window.miExit_Click();
    EXPECT_EQ(f.ended, 2);

    f.window.miCls_Click(); // ClrDraw ends the unsaved state
    f.window.miExit_Click();
    EXPECT_EQ(f.ended, 3);
    EXPECT_EQ(f.prompts.asked().size(), 2u);

    Fixture<dotwell::FrmDotwell> d;
    d.draw();
    d.window.miExit_Click();
    EXPECT_EQ(d.prompts.asked()[0].text,
              "Picture NOT saved as 82I, 83I, 8XI, 73I, 85I, 86I, 8CI or 8CA. Press "
              "OK to quit "
              "or Cancel to return to drawing.");
    EXPECT_EQ(d.ended, 0);
}

TEST(About, SlideRestartsAfterAnEarlyCloseAndStopsAt1300) {
    core::AboutWindow about(core::CalculatorProfile::pixvane(), nullptr);
    EXPECT_EQ(about.windowTitle(), "About PIXVANE");
    about.form_activate();
    EXPECT_TRUE(about.Timer1->isActive());
    EXPECT_EQ(about.Timer1->interval(), 50);
    for (int i = 0; i < 5; ++i)
        about.Timer1_Timer();
    EXPECT_EQ(about.pictureTop(), 2470);
    about.Command1_Click();
    EXPECT_EQ(about.pictureTop(), core::AboutWindow::kStartTop);
    EXPECT_FALSE(about.Timer1->isActive());
    about.form_activate();
    EXPECT_EQ(about.pictureTop(), 2520);
    for (int i = 0; i < 122; ++i)
        about.Timer1_Timer();
    EXPECT_EQ(about.pictureTop(), 1300);
    about.Timer1_Timer();
    about.Timer1_Timer();
    EXPECT_EQ(about.pictureTop(), 1300);
    EXPECT_EQ(about.Picture1->pixmap().size(), QSize(109, 83));
}

TEST(Help, AllInstructionTextsInTheirOrder) {
    const std::vector<QString> dotwell{
        "On the picture box, use the left mouse button to draw and the right mouse button to "
        "pop up the drawing tools menu.",
        "Use this program to view, edit, create, and save TI-82/3 Image (PIC) files. The image "
        "can be printed or downloaded to a TI-82/3 calculator using TI's Graph-Link cable and "
        "software.",
        "Use the File menu to Open, Save, and Print images. In 'Save As...' you can save the "
        "image as a BMP file, but you cannot 'Open' a BMP file. Use 'Import...' to import BMP, "
        "ICO, WMF, and RLE files.",
        "Use the Draw menu to Clear the image or choose a tool. You cannot save a clear image "
        "and you must save or clear an existing image before opening another.",
        "TI-82, TI-83 and TI Graph-Link are registered trademarks of Texas Instruments, Inc.",
        "Use the PIC radio buttons to determine the PIC variable to use when donloading to a "
        "TI-82/3. Use 7, 8, 9, and 0 for 83I files only. The comment is stored in the computer "
        "file only, not the image in the calculator."};
    const std::vector<QString> pixvane{
        dotwell[0],
        "Use this program to view, edit, create, and save Texas Instruments 92I files. The "
        "image can be printed or downloaded to a TI-92 computer using Texas Instruments' "
        "Graph-Link cable and software.",
        "Use the File menu to Open, Save, and Print images. In 'Save As...' you can also save "
        "the image as a BMP. You can import b/w BMP, ICO, RLE, and WMF files.",
        "Use the Draw menu to Clear the image and choose a tool. You cannot save a cleared "
        "image.  You must clear or save an edited image before opening another. ",
        "TI-92 and TI Graph-Link are registered trademarks of Texas Instruments, Inc.",
        "The 92 Folder and Var Name can be different from the DOS filename, but use caution. "
        "The 92 Names must comply with TI-92 standards. The comment is saved in the 92I file "
        "only, not the BMP file or in the calculator."};
    for (const auto& [profile, texts, caption] :
         {std::tuple{&core::CalculatorProfile::dotwell(), dotwell, "DOTWELL Brief Instructions"},
          std::tuple{&core::CalculatorProfile::pixvane(), pixvane, "PIXVANE Brief Instructions"}}) {
        core::HelpWindow help(*profile, nullptr);
        EXPECT_EQ(help.windowTitle(), caption);
        const std::vector<QLabel*> labels{help.Label2, help.Label3, help.Label4,
                                          help.Label5, help.Label7, help.Label9};
        // Their order on the form is their order in the layout, the authorship line last.
        int previous = -1;
        for (size_t i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(labels[i]->text(), texts[i]) << caption << ", label " << i;
            const int at = help.layout()->indexOf(labels[i]);
            EXPECT_GT(at, previous) << caption << ", label " << i;
            previous = at;
        }
        // The newer calculators come after the instructions, before the authorship line.
        EXPECT_GT(help.layout()->indexOf(help.Label8), previous);
        EXPECT_GT(help.layout()->indexOf(help.Label6), help.layout()->indexOf(help.Label8));
        EXPECT_TRUE(help.Label8->text().contains(
            profile == &core::CalculatorProfile::dotwell()
                ? "TI-83 Plus and TI-84 Plus, TI-73, TI-85, TI-86 and TI-84 Plus CE and TI-83 "
                  "Premium CE pictures (8XI, 73I, 85I, 86I, 8CI and 8CA files)"
                : "TI-92 Plus, Voyage 200 and TI-89 and TI-89 Titanium pictures (9XI, V2I and 89I "
                  "files)"))
            << help.Label8->text().toStdString();
    }
}

TEST(MainWindow, StartsCentredOnTheScreen) {
    Fixture<pixvane::FrmPixvane> f;
    const QRect screen = f.window.screen()->geometry();
    const QRect frame = f.window.frameGeometry();
    EXPECT_EQ(frame.left(), screen.left() + (screen.width() - frame.width()) / 2);
    EXPECT_EQ(frame.top(), screen.top() + (screen.height() - frame.height()) / 2);
}

TEST(Exit, TheWarningIsCentredOnTheScreenNotOnTheWindow) {
    Fixture<dotwell::FrmDotwell> f;
    f.window.show();
    f.window.move(0, 0); // the main window in a corner
    core::QtPrompts prompts;
    QRect shown;
    QString title;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            return;
        shown = box->frameGeometry();
        title = box->windowTitle();
        static_cast<QDialog*>(box)->reject();
    });
    EXPECT_FALSE(prompts.confirmExit(&f.window, "WARNING!", "Picture NOT saved as 82I or 83I."));
    ASSERT_EQ(title, "WARNING!");
    const QPoint centre = f.window.screen()->geometry().center();
    EXPECT_LE((shown.center() - centre).manhattanLength(), 2)
        << "at " << shown.x() << ", " << shown.y();
}

// The program's own ending: QApplication::quit() closes every window, whose close must not
// ask a second time.
TEST(Exit, OneOkEndsTheProgramFromTheMenuCtrlQAndTheCloseBox) {
    for (int way = 0; way < 3; ++way) {
        ScriptedPrompts prompts;
        auto window = std::make_unique<pixvane::FrmPixvane>(prompts);
        window->Form_Load(QString());
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->Picture1_MouseDown(1, 0, 5.5, 5.5);
        window->Picture1_MouseDown(1, 0, 5.5, 5.5);
        prompts.answerExit(true);
        QTimer::singleShot(0, window.get(), [&window, way] {
            if (way == 0)
                window->miExit->trigger();
            else if (way == 1)
                QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
            else
                window->close();
        });
        QTimer stuck; // only when the program does not end
        stuck.setSingleShot(true);
        QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(7); });
        stuck.start(5000);
        const int code = QApplication::exec();
        stuck.stop();
        EXPECT_EQ(code, 0) << "way " << way << ": the program did not end";
        EXPECT_EQ(prompts.asked().size(), 1u) << "way " << way;
        EXPECT_FALSE(window->isVisible()) << "way " << way;
    }
}

TEST(Exit, CancelOnTheCloseBoxKeepsTheWindowAndThePicture) {
    Fixture<dotwell::FrmDotwell> f;
    f.window.show();
    f.draw();
    const core::PixelGrid drawn = f.window.grid();
    f.prompts.answerExit(false);
    EXPECT_FALSE(f.window.close());
    EXPECT_TRUE(f.window.isVisible());
    EXPECT_EQ(f.ended, 0);
    EXPECT_EQ(f.window.grid(), drawn);
    EXPECT_FALSE(f.window.documentState().open); // still unsaved
    ASSERT_EQ(f.prompts.asked().size(), 1u);
    EXPECT_EQ(f.prompts.asked()[0].kind, testing_support::Asked::Kind::Exit);
}

TEST(Toolbar, SaveWithAFileNameSavesWithoutAsking) {
    Fixture<pixvane::FrmPixvane> f;
    QTemporaryDir dir;
    const QString path = dir.filePath("p.92i");
    {
        const auto bytes = core::buildTi92File(core::PixelGrid(103, 240), {"main", "p", "c"});
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    }
    f.prompts.answerFile(path);
    f.window.miOpen_click();
    f.draw(); // arms the pen and plots cell (5, 5)
    f.window.show();
    const QPoint inside(5, 5);
    mouse(f.window.buttonArea(3), QEvent::MouseButtonPress, inside, Qt::LeftButton, Qt::LeftButton);
    mouse(f.window.buttonArea(3), QEvent::MouseButtonRelease, inside, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(f.prompts.asked().size(), 1u); // only the Open dialog, no Save As
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(std::uint8_t(saved.readAll().at(92 + 5 * 30)), 0x04); // cell (5, 5)
    EXPECT_TRUE(f.window.documentState().open);
}

TEST(InformationWindows, OpenFromTheMenusAndTheHelpButtonWithoutBlocking) {
    Fixture<pixvane::FrmPixvane> f;
    f.window.show();
    f.window.miAbout->trigger();
    f.window.miInstructions->trigger();
    const QPoint inside(5, 5);
    mouse(f.window.buttonArea(10), QEvent::MouseButtonPress, inside, Qt::LeftButton,
          Qt::LeftButton);
    mouse(f.window.buttonArea(10), QEvent::MouseButtonRelease, inside, Qt::LeftButton,
          Qt::NoButton);
    ASSERT_EQ(f.prompts.asked().size(), 3u);
    for (const auto& asked : f.prompts.asked())
        EXPECT_EQ(asked.kind, testing_support::Asked::Kind::Information);
    EXPECT_EQ(f.prompts.asked()[0].title, "About PIXVANE");
    EXPECT_EQ(f.prompts.asked()[1].title, "PIXVANE Brief Instructions");
    EXPECT_EQ(f.prompts.asked()[2].title, "PIXVANE Brief Instructions");
    EXPECT_EQ(f.window.information().helpWindow()->Label3->text(),
              "Use this program to view, edit, create, and save Texas Instruments 92I files. The "
              "image can be printed or downloaded to a TI-92 computer using Texas Instruments' "
              "Graph-Link cable and software.");
}

// The window shows the installed program icon, not a shrunken About picture.
TEST(MainWindow, TheIconIsTheInstalledProgramIcon) {
    for (const char* program : {"dotwell", "pixvane"}) {
        std::unique_ptr<core::EditorWindow> window;
        testing_support::ScriptedPrompts prompts;
        if (QString(program) == "dotwell")
            window = std::make_unique<dotwell::FrmDotwell>(prompts);
        else
            window = std::make_unique<pixvane::FrmPixvane>(prompts);
        window->Form_Load(QString());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QTRY_VERIFY(!window->windowIcon().isNull());
        const QImage shown = window->windowIcon().pixmap(QSize(32, 32)).toImage();
        const QImage installed(
            QStringLiteral(PACKAGING_DIR "/icons/hicolor/32x32/apps/%1.png").arg(program));
        ASSERT_FALSE(installed.isNull());
        EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32),
                  installed.convertToFormat(QImage::Format_ARGB32))
            << program;
    }
}

// On a small screen (the test screen is 800 x 600) every window fits whole: the main
// windows' status bars and Convert Image's buttons are on the screen.
TEST(MainWindow, EveryWindowFitsASmallScreen) {
    QTemporaryDir dir;
    QImage photo(2000, 1500, QImage::Format_RGB32);
    photo.fill(Qt::gray);
    ASSERT_TRUE(photo.save(dir.filePath("p.png")));
    for (const char* program : {"dotwell", "pixvane"}) {
        SCOPED_TRACE(program);
        std::unique_ptr<core::EditorWindow> window;
        testing_support::ScriptedPrompts prompts;
        if (QString(program) == "dotwell")
            window = std::make_unique<dotwell::FrmDotwell>(prompts);
        else
            window = std::make_unique<pixvane::FrmPixvane>(prompts);
        window->Form_Load(QString());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        const QRect screen = window->screen()->availableGeometry();
        ASSERT_LE(screen.height(), 600);
        EXPECT_TRUE(screen.contains(window->frameGeometry()));
        EXPECT_TRUE(screen.contains(
            QRect(window->StatusBar1->mapToGlobal(QPoint(0, 0)), window->StatusBar1->size())));

        prompts.answerFile(dir.filePath("p.png"));
        QRect ok;
        prompts.answerDialog([&](QDialog* dialog) {
            dialog->show();
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            QPushButton* button = buttons->button(QDialogButtonBox::Ok);
            ok = QRect(button->mapToGlobal(QPoint(0, 0)), button->size());
            EXPECT_TRUE(screen.contains(dialog->frameGeometry()));
            return false;
        });
        window->miConvert_Click();
        EXPECT_TRUE(!ok.isEmpty() && screen.contains(ok));
    }
}
