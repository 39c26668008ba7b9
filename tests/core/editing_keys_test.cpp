// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "core/formats/format_registry.h"
#include "core/model/lettering.h"
#include "core/model/picture_operations.h"
#include "core/model/rasterizers.h"
#include "core/ui/canvas_view.h"
#include "dotwell/frm_dotwell.h"
#include "pixvane/frm_pixvane.h"
#include "tests/support/grid_pictures.h"
#include "tests/support/window_fixture.h"

using core::DrawTool;
using testing_support::darkCells;
using testing_support::gridPicture;

namespace {

// A shown, active window whose canvas has the focus, driven by real key and mouse events.
template <class Window> struct Shown : testing_support::TestWindow<Window> {
    Shown() {
        this->window.show();
        this->window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&this->window));
        canvas()->setFocus();
    }
    core::PictureCanvas* canvas() { return this->window.Picture1; }
    core::CanvasView* view() { return this->window.view(); }
    // A key as the keyboard sends it: to whatever has the focus.
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    // The middle of a cell, in canvas pixels.
    QPoint middleOf(int column, int row) {
        const int zoom = canvas()->zoom();
        return {column * zoom + zoom / 2, row * zoom + zoom / 2};
    }
    void click(int column, int row) {
        QTest::mouseClick(canvas(), Qt::LeftButton, Qt::NoModifier, middleOf(column, row));
    }
    void dragCells(int fromColumn, int fromRow, int toColumn, int toRow) {
        QTest::mousePress(canvas(), Qt::LeftButton, Qt::NoModifier, middleOf(fromColumn, fromRow));
        QTest::mouseMove(canvas(), middleOf(toColumn, toRow));
        QTest::mouseRelease(canvas(), Qt::LeftButton, Qt::NoModifier, middleOf(toColumn, toRow));
    }
    DrawTool tool() { return this->window.tools().checkedTool(); }
};

template <class Window> void toolKeysChooseTools() {
    Shown<Window> f;
    const struct {
        Qt::Key key;
        DrawTool tool;
        DrawTool twin;     // after X: the same shape in the other ink
        const char* shown; // in the tool menu
    } rows[] = {
        {Qt::Key_L, 3, 4, "L"},   {Qt::Key_P, 1, 2, "P"},   {Qt::Key_E, 2, 1, "E"},
        {Qt::Key_R, 5, 6, "R"},   {Qt::Key_B, 7, 8, "B"},   {Qt::Key_C, 9, 10, "C"},
        {Qt::Key_O, 11, 12, "O"}, {Qt::Key_F, 13, 14, "F"}, {Qt::Key_T, 15, 16, "T"},
        {Qt::Key_S, 17, 17, "S"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.shown);
        f.key(row.key);
        EXPECT_EQ(f.tool(), row.tool);
        EXPECT_TRUE(f.window.miTool[size_t(row.tool)]->isChecked());
        EXPECT_EQ(f.window.miTool[size_t(row.tool)]->shortcut().toString(), row.shown);
        f.key(Qt::Key_X); // to the twin and back
        EXPECT_EQ(f.tool(), row.twin);
        EXPECT_TRUE(f.window.miTool[size_t(row.twin)]->isChecked());
        f.key(Qt::Key_X);
        EXPECT_EQ(f.tool(), row.tool);
    }
    // The twelve keep their captions and places; the added tools follow them.
    const char* captions[] = {"Pen",  "Erase",  "Line",   "WhLine",   "Box",     "WhBox",
                              "Bar",  "WhBar",  "Circle", "WhCircle", "Ellipse", "WhEllipse",
                              "Fill", "WhFill", "Text",   "WhText",   "Select"};
    for (int i = 1; i <= core::kToolCount; ++i)
        EXPECT_EQ(f.window.miTool[size_t(i)]->text(), captions[i - 1]);
}

} // namespace

TEST(ToolKeys, EachLetterChoosesItsToolAndXItsOtherInk) {
    toolKeysChooseTools<dotwell::FrmDotwell>();
    toolKeysChooseTools<pixvane::FrmPixvane>();
}

TEST(ToolKeys, LettersTypedIntoTheCommentStayThereAndEscapeHandsTheFocusBack) {
    Shown<dotwell::FrmDotwell> f;
    f.key(Qt::Key_L);
    ASSERT_EQ(f.tool(), 3);
    QLineEdit* comment = f.window.Text1;
    comment->clear();
    QTest::mouseClick(comment, Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), comment);
    QTest::keyClicks(comment, "Pebx sort");
    EXPECT_EQ(comment->text(), "Pebx sort");
    EXPECT_EQ(f.tool(), 3);
    QTest::keyClick(comment, Qt::Key_A, Qt::ControlModifier); // the box's own Select All
    EXPECT_EQ(comment->selectedText(), "Pebx sort");
    EXPECT_FALSE(f.window.edits().selection().active());

    f.key(Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), f.canvas());
    EXPECT_EQ(comment->text(), "Pebx sort");
    f.key(Qt::Key_E);
    EXPECT_EQ(f.tool(), 2);

    // A click on the canvas takes the focus from the box.
    QTest::mouseClick(comment, Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), comment);
    f.click(3, 3);
    EXPECT_EQ(QApplication::focusWidget(), f.canvas());
}

TEST(Zoom, KeysStepTheZoomAndFitToWindowReturnsToTheStart) {
    Shown<pixvane::FrmPixvane> f;
    const int start = f.canvas()->zoom();
    EXPECT_TRUE(f.window.miFit->isChecked());
    EXPECT_FALSE(f.window.miGrid->isChecked());
    const struct {
        Qt::Key key;
        int direction; // +1 larger, -1 smaller
    } rows[] = {{Qt::Key_Equal, 1}, {Qt::Key_Plus, 1}, {Qt::Key_Minus, -1}, {Qt::Key_Minus, -1}};
    for (const auto& row : rows) {
        const int before = f.canvas()->zoom();
        f.key(row.key, Qt::ControlModifier);
        EXPECT_EQ(f.canvas()->zoom() > before, row.direction > 0) << before;
        EXPECT_EQ(f.canvas()->zoom() < before, row.direction < 0) << before;
        EXPECT_FALSE(f.window.miFit->isChecked());
    }
    f.key(Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(f.canvas()->zoom(), start);
    EXPECT_TRUE(f.window.miFit->isChecked());
}

TEST(Zoom, ThePressedCellIsTheCellUnderThePointerAtEveryZoom) {
    Shown<dotwell::FrmDotwell> f;
    f.key(Qt::Key_P);
    QWidget* viewport = f.view()->viewport();
    QScrollBar* across = f.view()->horizontalScrollBar();
    QScrollBar* down = f.view()->verticalScrollBar();
    int zooms = 0;
    bool scrolled = false;
    for (;;) {
        const int zoom = f.canvas()->zoom();
        SCOPED_TRACE(zoom);
        // At each scroll position, points of the viewport that the canvas covers.
        for (const double part : {0.0, 0.5, 1.0}) {
            across->setValue(int(across->maximum() * part));
            down->setValue(int(down->maximum() * part));
            scrolled = scrolled || across->value() > 0;
            for (const QPoint at : {QPoint(7, 5), QPoint(viewport->width() / 2, 40),
                                    QPoint(viewport->width() - 9, viewport->height() - 3)}) {
                // The cell there: a canvas larger than the view starts where the scroll bar
                // says, a smaller one sits in the middle.
                auto start = [](int canvas, int space, const QScrollBar* bar) {
                    return canvas > space ? -bar->value() : (space - canvas) / 2;
                };
                const QPoint offset(start(f.canvas()->width(), viewport->width(), across),
                                    start(f.canvas()->height(), viewport->height(), down));
                if (at.x() < offset.x() || at.y() < offset.y())
                    continue;
                const int column = (at.x() - offset.x()) / zoom, row = (at.y() - offset.y()) / zoom;
                if (column >= f.window.grid().columns() || row >= f.window.grid().rows())
                    continue;
                // Clicked where the window system would send it: to the widget under the
                // pointer.
                const QPoint global = viewport->mapToGlobal(at);
                ASSERT_EQ(QApplication::widgetAt(global), f.canvas());
                f.window.miCls_Click();
                // After ClrDraw the first press arms the pen, the second draws.
                for (int i = 0; i < 2; ++i)
                    QTest::mouseClick(f.canvas(), Qt::LeftButton, Qt::NoModifier,
                                      f.canvas()->mapFromGlobal(global));
                EXPECT_EQ(darkCells(f.window.grid()), 1);
                EXPECT_EQ(f.window.grid().at(row, column), 1)
                    << "at (" << at.x() << ", " << at.y() << ") scrolled to " << across->value()
                    << ", " << down->value();
            }
        }
        ++zooms;
        if (!f.window.miZoomIn->isEnabled())
            break;
        f.key(Qt::Key_Equal, Qt::ControlModifier);
    }
    EXPECT_GE(zooms, 5);
    EXPECT_TRUE(scrolled);
}

TEST(Zoom, CtrlAndTheWheelZoomAtThePointer) {
    Shown<pixvane::FrmPixvane> f;
    QWidget* viewport = f.view()->viewport();
    const QPoint at(viewport->width() / 3, viewport->height() / 4);
    auto cellUnder = [&] {
        const QPointF cell = QPointF(at - f.canvas()->pos()) / f.canvas()->zoom();
        return QPoint(int(cell.x()), int(cell.y()));
    };
    for (int i = 0; i < 3; ++i) // larger than the window, so the view can scroll either way
        f.key(Qt::Key_Equal, Qt::ControlModifier);
    const QPoint before = cellUnder();
    for (const int notches : {1, 1, -1, 2}) {
        const int zoom = f.canvas()->zoom();
        QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
        EXPECT_EQ(f.canvas()->zoom() > zoom, notches > 0);
        EXPECT_EQ(cellUnder(), before) << "zoom " << f.canvas()->zoom();
    }
    EXPECT_FALSE(f.window.miFit->isChecked());
}

TEST(Grid, CtrlGShowsLinesBetweenCellsAndTheSurfaceStaysThePicture) {
    Shown<dotwell::FrmDotwell> f;
    f.key(Qt::Key_Equal, Qt::ControlModifier);
    const int zoom = f.canvas()->zoom();
    ASSERT_GE(zoom, 4);
    f.click(2, 2); // a picture: clear cells
    const QImage surface = f.canvas()->surface().copy();
    const QColor screen = QColor::fromRgb(f.canvas()->background());
    auto shown = [&] { return f.canvas()->grab().toImage(); };
    // The last pixel of each cell: the grid's line when it shows, the screen colour when not.
    auto lineColour = [&](const QImage& image) { return image.pixelColor(4 * zoom - 1, 1); };
    EXPECT_EQ(lineColour(shown()), screen);
    f.key(Qt::Key_G, Qt::ControlModifier);
    EXPECT_TRUE(f.window.miGrid->isChecked());
    const QImage withGrid = shown();
    EXPECT_NE(lineColour(withGrid), screen);
    EXPECT_EQ(withGrid.pixelColor(4 * zoom + 1, 1), screen); // inside a cell: no line
    EXPECT_TRUE(f.canvas()->surface() == surface);
    f.key(Qt::Key_G, Qt::ControlModifier);
    EXPECT_FALSE(f.window.miGrid->isChecked());
    EXPECT_EQ(lineColour(shown()), screen);
}

TEST(KeyboardDrawing, ArrowsMoveTheCursorAndSpacePressesAndReleasesTheTool) {
    Shown<pixvane::FrmPixvane> f;
    // Where the read-out says the pointer is over cell (10, 6).
    QTest::mouseMove(f.canvas(), f.middleOf(10, 6));
    const QString overTenSix = f.window.statusCoordinateText();
    ASSERT_FALSE(overTenSix.isEmpty());
    QTest::mouseMove(f.canvas(), f.middleOf(5, 4));

    f.key(Qt::Key_Space); // arms the remembered tool, the pen, at the cursor
    f.key(Qt::Key_Space);
    f.key(Qt::Key_L);
    f.key(Qt::Key_Space); // the line starts here...
    for (int i = 0; i < 5; ++i)
        f.key(Qt::Key_Right);
    f.key(Qt::Key_Down);
    f.key(Qt::Key_Down);
    EXPECT_EQ(f.window.statusCoordinateText(), overTenSix);
    f.key(Qt::Key_Space); // ...and ends here
    // The line the tool draws between the two cells' middles.
    core::PixelGrid line(f.window.grid().rows(), f.window.grid().columns());
    core::rasterLine({5.5, 4.5}, {10.5, 6.5}, [&line](int c, int r) { line.set(r, c, 1); });
    EXPECT_EQ(gridPicture(f.window.grid(), 0, 0, 12, 16), gridPicture(line, 0, 0, 12, 16));
    EXPECT_EQ(f.window.document().history().nextUndo().label(), "Line");
    f.key(Qt::Key_Z, Qt::ControlModifier);
    f.window.miCls_Click();
    // Select: the cursor's Space drags a rectangle out, the arrows then nudge it.
    f.key(Qt::Key_S);
    f.key(Qt::Key_Space); // from the line's end, (10, 6)
    ASSERT_TRUE(f.window.edits().outline().has_value());
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Down,
                              Qt::Key_Down, Qt::Key_Space, Qt::Key_Right})
        f.key(key);
    ASSERT_TRUE(f.window.edits().selection().active());
    EXPECT_EQ(f.window.edits().selection().rect(), (core::CellRect{11, 6, 4, 3}));
}

TEST(SelectTool, DragOutMoveNudgeAndDeleteThroughTheMouseAndKeys) {
    Shown<dotwell::FrmDotwell> f;
    f.key(Qt::Key_B);
    f.click(0, 0); // arms the bar
    f.dragCells(2, 2, 4, 3);
    ASSERT_GT(darkCells(f.window.grid()), 0);
    f.key(Qt::Key_S);
    const core::PixelGrid bar = f.window.grid();
    f.dragCells(1, 1, 5, 4); // the bar and a clear ring round it
    ASSERT_TRUE(f.window.edits().selection().active());
    auto barAt = [&bar](int left, int top) {
        core::PixelGrid picture(bar.rows(), bar.columns());
        core::placeCells(picture, core::cellsIn(bar, {1, 1, 5, 4}), left, top);
        return picture;
    };
    f.dragCells(3, 3, 13, 8); // moved by (10, 5)
    EXPECT_EQ(f.window.grid(), barAt(11, 6));
    f.key(Qt::Key_Left);
    f.key(Qt::Key_Up, Qt::ShiftModifier);
    // Up by eight: partly past the top edge, where its cells wait while it is held.
    EXPECT_EQ(f.window.grid(), barAt(10, -2));
    f.key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(f.window.grid(), barAt(10, 6));
    const size_t steps = f.window.document().history().size();
    f.key(Qt::Key_Delete);
    EXPECT_EQ(darkCells(f.window.grid()), 0);
    EXPECT_FALSE(f.window.edits().selection().active());
    EXPECT_EQ(f.window.document().history().size(), steps + 1);
    f.key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.window.grid(), barAt(10, 6));
}

TEST(TextTool, ClickTypeAndEnterWriteTheTextInEitherLettering) {
    Shown<pixvane::FrmPixvane> f;
    f.click(0, 0); // a picture, with the pen armed
    for (const bool large : {false, true}) {
        SCOPED_TRACE(large ? "large" : "small");
        f.window.miCls_Click();
        (large ? f.window.miLargeLettering : f.window.miSmallLettering)->trigger();
        f.key(Qt::Key_T);
        f.click(20, 10);
        ASSERT_TRUE(f.window.edits().typing());
        QTest::keyClicks(f.canvas(), "Hi PEx");
        f.key(Qt::Key_Backspace);
        EXPECT_EQ(darkCells(f.window.grid()), 0); // previewed, not yet written
        EXPECT_EQ(f.tool(), 15);                  // the letters were text, not tool keys
        f.key(Qt::Key_Return);
        core::PixelGrid expected(f.window.grid().rows(), f.window.grid().columns());
        core::layOutText(large ? core::Lettering::Large : core::Lettering::Small, U"Hi PE", 20, 10,
                         [&expected](int c, int r) { expected.set(r, c, 1); });
        EXPECT_EQ(f.window.grid(), expected);
        EXPECT_EQ(f.window.document().history().nextUndo().label(), "Text");
        f.key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(darkCells(f.window.grid()), 0);
    }
}

TEST(PictureMenu, ItsKeysActOnTheWholePictureAsOneStepEach) {
    Shown<dotwell::FrmDotwell> f;
    f.click(0, 0);
    f.click(0, 0); // cell (0, 0) dark
    const int cells = f.window.grid().rows() * f.window.grid().columns();
    f.key(Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(darkCells(f.window.grid()), cells - 1);
    EXPECT_EQ(f.window.grid().at(0, 0), 0);
    f.key(Qt::Key_I, Qt::ControlModifier);
    f.key(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    f.key(Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(f.window.grid().at(1, 1), 1);
    EXPECT_EQ(darkCells(f.window.grid()), 1);
    f.key(Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    f.key(Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier); // shifted out: gone
    EXPECT_EQ(darkCells(f.window.grid()), 0);
    for (int undo = 0; undo < 2; ++undo)
        f.key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.window.grid().at(1, 1), 1);
    EXPECT_EQ(darkCells(f.window.grid()), 1);
}

// The first edit after an open is a Picture operation: Undo comes, Open goes (a drawing not
// saved), and undoing it is the saved picture again.
TEST(PictureMenu, AnOperationFirstAfterOpenIsAnEditLikeAnyOther) {
    Shown<dotwell::FrmDotwell> f;
    core::CalculatorPicture picture = core::newPicture(core::FormatId::Ti83);
    picture.grid.set(2, 3, 1);
    const auto bytes =
        std::get<std::vector<std::uint8_t>>(core::writePicture(picture, core::FormatId::Ti83));
    QFile file(f.path("p.83i"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    file.close();
    f.openFile("p.83i");
    f.canvas()->setFocus();
    ASSERT_TRUE(f.window.miOpen->isEnabled());
    for (Qt::Key key : {Qt::Key_I, Qt::Key_Right}) {
        SCOPED_TRACE(key);
        f.key(key,
              key == Qt::Key_I ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_NE(f.window.grid(), picture.grid);
        EXPECT_TRUE(f.window.miUndo->isEnabled());
        EXPECT_FALSE(f.window.miOpen->isEnabled());
        f.key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(f.window.grid(), picture.grid);
        EXPECT_TRUE(f.window.miOpen->isEnabled());
    }
}

TEST(SelectTool, CopyTakesTheSelectionAndPasteAsSelectionPlacesABlackAndWhitePicture) {
    Shown<dotwell::FrmDotwell> f;
    f.click(0, 0);
    f.click(3, 2); // one dark cell
    f.key(Qt::Key_S);
    f.dragCells(2, 1, 6, 4);
    ASSERT_TRUE(f.window.edits().selection().active());
    f.key(Qt::Key_C, Qt::ControlModifier);
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(5, 4));
    EXPECT_EQ(copied.pixelColor(1, 1), QColor(Qt::black));
    EXPECT_EQ(copied.pixelColor(0, 0), QColor(Qt::white));
    f.key(Qt::Key_Escape); // drops it: the cells stay where they are
    EXPECT_FALSE(f.window.edits().selection().active());
    f.key(Qt::Key_C, Qt::ControlModifier); // no selection: the whole picture
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(),
              QSize(f.window.grid().columns(), f.window.grid().rows()));

    const struct {
        const char* name;
        QSize size;
        QRgb dot; // the pixel at (1, 0); the others white
        bool placed;
    } rows[] = {
        {"black and white", {3, 2}, 0xFF000000, true},
        {"grey", {3, 2}, 0xFF808080, false},
        {"larger than the picture", {200, 2}, 0xFF000000, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        f.window.miCls_Click();
        QImage image(row.size, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setPixel(1, 0, row.dot);
        QGuiApplication::clipboard()->setImage(image);
        const size_t messages = f.prompts.messages().size();
        f.key(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(f.window.edits().selection().active(), row.placed);
        EXPECT_EQ(f.prompts.messages().size(), messages + (row.placed ? 0 : 1));
        if (row.placed) { // at the top-left of what the view shows
            EXPECT_EQ(f.window.edits().selection().rect(), (core::CellRect{0, 0, 3, 2}));
            EXPECT_EQ(gridPicture(f.window.grid(), 0, 0, 2, 4), testing_support::picture({
                                                                    ".#..", //
                                                                    "....",
                                                                }));
            f.key(Qt::Key_Right); // the arrows move it at once
            EXPECT_EQ(f.window.grid().at(0, 2), 1);
            EXPECT_EQ(darkCells(f.window.grid()), 1);
        }
    }
}

TEST(Zoom, DraggingWithSpaceHeldPansAndDrawsNothing) {
    Shown<pixvane::FrmPixvane> f;
    f.key(Qt::Key_P);
    for (int i = 0; i < 3; ++i)
        f.key(Qt::Key_Equal, Qt::ControlModifier);
    QScrollBar* across = f.view()->horizontalScrollBar();
    QScrollBar* down = f.view()->verticalScrollBar();
    ASSERT_GT(across->maximum(), 0);
    across->setValue(across->maximum() / 2);
    down->setValue(down->maximum() / 2);
    const QPoint before(across->value(), down->value());
    // The pointer's path on the screen; the canvas moves under it as the view pans.
    const QPoint start = f.view()->viewport()->mapToGlobal(QPoint(200, 150));
    auto at = [&f](QPoint global) { return f.canvas()->mapFromGlobal(global); };
    QTest::keyPress(f.canvas(), Qt::Key_Space);
    QTest::mousePress(f.canvas(), Qt::LeftButton, Qt::NoModifier, at(start));
    QTest::mouseMove(f.canvas(), at(start + QPoint(-60, -40)));
    QTest::mouseMove(f.canvas(), at(start + QPoint(-90, -60)));
    QTest::mouseRelease(f.canvas(), Qt::LeftButton, Qt::NoModifier, at(start + QPoint(-90, -60)));
    QTest::keyRelease(f.canvas(), Qt::Key_Space);
    EXPECT_EQ(QPoint(across->value(), down->value()), before + QPoint(90, 60));
    EXPECT_EQ(darkCells(f.window.grid()), 0);
    EXPECT_FALSE(f.window.documentState().pictureExists()); // no press reached the pen
    // Space alone, without a drag, presses the pen at the cursor and releases it.
    f.key(Qt::Key_Space);
    f.key(Qt::Key_Space);
    EXPECT_TRUE(f.window.documentState().pictureExists());
    EXPECT_EQ(darkCells(f.window.grid()), 1);
}

TEST(Zoom, APictureOfAnotherSizeKeepsTheChosenZoomOrFitsAgain) {
    Shown<dotwell::FrmDotwell> f;
    f.key(Qt::Key_Equal, Qt::ControlModifier);
    f.key(Qt::Key_Equal, Qt::ControlModifier);
    const int zoom = f.canvas()->zoom();
    f.window.miNew_Click(core::FormatId::Ti86); // 128 x 63
    ASSERT_EQ(f.window.grid().columns(), 128);
    EXPECT_EQ(f.canvas()->zoom(), zoom);
    EXPECT_EQ(f.canvas()->size(), QSize(128 * zoom, 63 * zoom));
    f.key(Qt::Key_P);
    QScrollBar* across = f.view()->horizontalScrollBar();
    across->setValue(across->maximum()); // the new right-hand columns can be reached
    f.click(125, 30);
    EXPECT_EQ(f.window.grid().at(30, 125), 1);
    f.key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(f.window.edits().selection().rect(), (core::CellRect{0, 0, 128, 63}));

    f.key(Qt::Key_0, Qt::ControlModifier);
    const int fit = f.canvas()->zoom();
    f.window.miNew_Click(core::FormatId::Ti83); // back to 96 x 63: a larger zoom fits
    EXPECT_TRUE(f.window.miFit->isChecked());
    EXPECT_GT(f.canvas()->zoom(), fit);
    const QSize space = f.view()->viewport()->size();
    EXPECT_LE(f.canvas()->width(), space.width());
    EXPECT_LE(f.canvas()->height(), space.height());
    const int next = f.canvas()->zoom() + 1; // and no smaller than fits
    EXPECT_TRUE(96 * next > space.width() || 63 * next > space.height());
}
