// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include "core/formats/ti92_picture_file.h"
#include "pixvane/frm_pixvane.h"
#include "tests/support/files.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/tifiles_check.h"
#include "tests/support/window_fixture.h"

using core::MessageIcon;
using pixvane::FrmPixvane;
using testing_support::readAll;
using testing_support::ScriptedPrompts;
using testing_support::writeAll;

namespace {

QByteArray pictureFile(const core::Ti92Texts& texts) {
    core::PixelGrid grid(103, 240);
    for (int i = 0; i < 103; ++i)
        grid.set(i, i, 1);
    const auto file = core::buildTi92File(grid, texts);
    return QByteArray(reinterpret_cast<const char*>(file.data()), qsizetype(file.size()));
}

class PixvaneWindow : public testing_support::WindowFixture<FrmPixvane> {
protected:
    void drop(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(window.Picture1, &enter);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.Picture1, &event);
    }
};

} // namespace

TEST_F(PixvaneWindow, OpenFillsTheGridAndTheBoxes) {
    writeAll(path("x.92I"), pictureFile({"\x80mine", "\x82pic", "hello"}));
    openFile("x.92I");
    const auto& request = prompts.asked().front().file;
    EXPECT_EQ(request.title, "Pixvane Open");
    EXPECT_EQ(request.filter,
              "TI-92 Image Files (*.92i)|*.92i|TI-92 Plus/Voyage 200 Pictures|*.9xi;*.v2i|"
              "TI-89 Pictures|*.89i");
    EXPECT_EQ(request.defaultExtension, "92I");
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(window.Text3->text(), QString::fromUtf8("\u03b1mine"));
    EXPECT_EQ(window.Text2->text(), QString::fromUtf8("\u0393pic"));
    EXPECT_EQ(window.Text1->text(), "hello");
    EXPECT_EQ(window.storedVariableName(), QString::fromUtf8("\u0393pic"));
    EXPECT_EQ(window.grid().at(40, 40), 1);
    EXPECT_EQ(window.statusFileText(), "x.92I");
    const core::DocumentState state = window.documentState();
    EXPECT_TRUE(state.save && state.saveAs && state.print);
    EXPECT_FALSE(state.image5 || state.image8);
}

TEST_F(PixvaneWindow, OpenRefusalsChangeNothing) {
    writeAll(path("good.92i"), pictureFile({"main", "first", "first"}));
    openFile("good.92i");
    const core::PixelGrid before = window.grid();

    writeAll(path("x.93i"), pictureFile({"main", "other", "other"}));
    openFile("x.93i");
    EXPECT_EQ(lastMessage().text, "Not a 92I File!");
    EXPECT_EQ(lastMessage().icon, MessageIcon::Exclamation);

    openFile("missing.92i");
    EXPECT_TRUE(lastMessage().text.contains("missing.92i"));

    writeAll(path("short.92i"), pictureFile({"main", "short", "short"}).left(2000));
    openFile("short.92i");
    EXPECT_TRUE(lastMessage().text.contains("short.92i"));

    EXPECT_EQ(prompts.messages().size(), 3u);
    EXPECT_EQ(window.grid(), before);
    EXPECT_EQ(window.Text2->text(), "first");
    EXPECT_EQ(window.fileName(), path("good.92i"));
}

// Another calculator's picture is intact: pixvane says whose it is, not that it is damaged.
TEST_F(PixvaneWindow, OtherCalculatorsPicturesAreNamedNotCalledDamaged) {
    writeAll(path("good.92i"), pictureFile({"main", "first", "first"}));
    openFile("good.92i");
    const core::PixelGrid before = window.grid();
    const struct {
        const char* signature;
        const char* name;
        const char* model;
        int size;
    } files[]{
        {"**TI73**", "x.73i", "TI-73", 830},
        {"**TI82**", "x.82i", "TI-82", 830},
        {"**TI83**", "x.83i", "TI-83", 830},
        {"**TI83F*", "x.8xi", "TI-83 Plus and TI-84 Plus", 832},
        {"**TI85**", "x.85i", "TI-85", 1079},
        {"**TI86**", "x.86i", "TI-86", 1079},
    };
    for (const auto& f : files) {
        QByteArray bytes(f.size, '\0');
        bytes.replace(0, 8, f.signature);
        writeAll(path(f.name), bytes);
        FrmPixvane started(prompts); // the command line takes any name
        started.Form_Load(path(f.name));
        EXPECT_EQ(lastMessage().text,
                  QString("%1 is a %2 picture, which pixvane does not open.").arg(f.name, f.model));
    }
    // Named as a TI-92 picture, from the menu.
    QByteArray ti83(830, '\0');
    ti83.replace(0, 8, "**TI83**");
    writeAll(path("renamed.92i"), ti83);
    openFile("renamed.92i");
    EXPECT_EQ(lastMessage().text, "renamed.92i is a TI-83 picture, which pixvane does not open.");
    EXPECT_EQ(window.grid(), before);
    EXPECT_EQ(window.fileName(), path("good.92i"));
}

TEST_F(PixvaneWindow, NameChecksRunAsTheBoxesChangeAndBeforeSaving) {
    window.Text3->setText("9");
    EXPECT_EQ(lastMessage().text, "First character of Folder Name can't be digit.");
    EXPECT_EQ(lastMessage().title, "Folder Name ERROR!");
    window.Text2->setText("");
    EXPECT_EQ(lastMessage().text, "Pic Var Name missing.");
    EXPECT_EQ(lastMessage().title, "Pic Var ERROR!");
    prompts.clear();

    draw();
    window.miSaveAs_Click(); // both checks run, and no dialog is shown
    ASSERT_EQ(prompts.asked().size(), 2u);
    EXPECT_EQ(prompts.asked()[0].text, "Pic Var Name missing.");
    EXPECT_EQ(prompts.asked()[1].text, "First character of Folder Name can't be digit.");
}

TEST_F(PixvaneWindow, SaveAsWritesAFileTheLinkLibraryReads) {
    draw();
    window.Text2->setText(QString::fromUtf8("\u03b1sprite"));
    prompts.answerFile(path("drawing.92I"));
    window.miSaveAs_Click();
    const auto& request = prompts.asked().back().file;
    EXPECT_EQ(request.title, "Pixvane Save As...");
    EXPECT_EQ(request.filter, "TI-92 Image Files (*.92I)|*.92I|Bitmaps (*.bmp)|*.bmp|TI-92 Plus "
                              "Pictures (*.9xi)|*.9xi|Voyage 200 Pictures (*.v2i)|*.v2i|PNG "
                              "images (*.png)|*.png|TI-89 Pictures (*.89i)|*.89i");
    EXPECT_EQ(request.flags, 6);
    EXPECT_TRUE(prompts.messages().empty());
    const QByteArray saved = readAll(path("drawing.92I"));
    ASSERT_EQ(saved.size(), 3185);
    EXPECT_EQ(saved.mid(64, 8), QByteArray("\x80sprite\0", 8));
    const auto view = testing_support::readWithTifiles(path("drawing.92I"));
    ASSERT_EQ(view.error, 0);
    EXPECT_EQ(view.checksum, view.storedChecksum);
    EXPECT_EQ(view.folder, "main");
    EXPECT_EQ(view.type, 0x10);
    const core::DocumentState state = window.documentState();
    EXPECT_TRUE(state.open && state.save);
    EXPECT_EQ(window.statusFileText(), "drawing.92I");

    window.miCls_Click();
    openFile("drawing.92I");
    EXPECT_EQ(window.Text2->text(), QString::fromUtf8("\u03b1sprite"));
    EXPECT_EQ(window.grid().at(5, 5), 1);
}

TEST_F(PixvaneWindow, SaveOverALongerFileLeavesExactly3185Bytes) {
    writeAll(path("old.92i"), pictureFile({"main", "old", "old"}) + QByteArray(5000, 'x'));
    openFile("old.92i");
    draw();
    window.miSave_click();
    EXPECT_EQ(readAll(path("old.92i")).size(), 3185);
    EXPECT_TRUE(window.documentState().open);
}

TEST_F(PixvaneWindow, SaveAsRefusesOtherExtensions) {
    draw();
    prompts.answerFile(path("pic.txt"));
    window.miSaveAs_Click();
    EXPECT_EQ(lastMessage().title, "Filename ERROR!");
    EXPECT_EQ(lastMessage().text, "Invalid Filename: Use *.92I");
    EXPECT_FALSE(QFile::exists(path("pic.txt")));
}

TEST_F(PixvaneWindow, WriteFailureSaysDiskWriteErrorAndKeepsTheState) {
    writeAll(path("keep.92i"), pictureFile({"main", "keep", "keep"}));
    openFile("keep.92i");
    draw();
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.92i"));
    prompts.answerFile(path("taken.92i"));
    window.miSaveAs_Click();
    EXPECT_TRUE(lastMessage().text.startsWith("Disk write error"));
    EXPECT_FALSE(window.documentState().open);
    EXPECT_EQ(window.statusFileText(), "keep.92i");

    // Save to a file that has become a folder: the same message, nothing else changes.
    const QString kept = path("keep.92i");
    ASSERT_TRUE(QFile::remove(kept));
    ASSERT_TRUE(QDir(dir.path()).mkdir("keep.92i"));
    window.miSave_click();
    EXPECT_TRUE(lastMessage().text.startsWith("Disk write error"));
    EXPECT_EQ(prompts.messages().size(), 2u);
    EXPECT_FALSE(window.documentState().open);
}

TEST_F(PixvaneWindow, DropOpensA92iFileAndRefusesOthers) {
    writeAll(path("dropped.92i"), pictureFile({"main", "drop", "dropped"}));
    drop({QUrl::fromLocalFile(path("dropped.92i"))});
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(window.Text1->text(), "dropped");
    EXPECT_FALSE(window.documentState().image5); // Save and Print uncovered, as in the menu

    drop({QUrl::fromLocalFile(path("photo.png"))});
    EXPECT_EQ(lastMessage().title, "Drag/Drop Error");
    EXPECT_EQ(lastMessage().text, "Oops! The filename must have a '92i' extension.");
}

TEST_F(PixvaneWindow, DropOverUnsavedDrawingAsksFirst) {
    writeAll(path("dropped.92i"), pictureFile({"main", "drop", "dropped"}));
    draw();
    prompts.answerMessage(core::Answer::Cancel);
    drop({QUrl::fromLocalFile(path("dropped.92i"))});
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(lastMessage().buttons, core::MessageButtons::OkCancel);
    EXPECT_EQ(window.grid().at(5, 5), 1);
    EXPECT_EQ(window.Text1->text(), "made with PIXVANE");

    prompts.answerMessage(core::Answer::Ok);
    drop({QUrl::fromLocalFile(path("dropped.92i"))});
    EXPECT_EQ(window.Text1->text(), "dropped");
}

TEST_F(PixvaneWindow, DragWithoutALocalFileIsNotAccepted) {
    QMimeData data;
    data.setText("just text");
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.Picture1, &enter);
    EXPECT_FALSE(enter.isAccepted());

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(path("a.92i"))});
    QDragEnterEvent enterFile(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.Picture1, &enterFile);
    EXPECT_TRUE(enterFile.isAccepted());
}

TEST_F(PixvaneWindow, CommandLineReadsWithoutAnExtensionTest) {
    writeAll(path("picture.dat"), pictureFile({"main", "cmd", "from the command line"}));
    FrmPixvane opened(prompts);
    opened.Form_Load(path("picture.dat"));
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(opened.windowTitle(), "Pixvane 2.6");
    EXPECT_EQ(opened.Text1->text(), "from the command line");
    EXPECT_FALSE(opened.documentState().image5 || opened.documentState().image8);
    EXPECT_TRUE(opened.documentState().save);
}

TEST_F(PixvaneWindow, OpenAndSaveKeepsTheCommentsOwnBlanksAndControlCharacters) {
    // Only the blanks that pad the field are dropped on reading; a save puts them back.
    const std::string comment = "  two leading blanks\t\r\n";
    const QByteArray original = pictureFile({"main", "blanks", comment});
    writeAll(path("blanks.92i"), original);
    openFile("blanks.92i");
    EXPECT_EQ(window.Text1->text(), QString::fromStdString(comment));
    window.miSave_click();
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(readAll(path("blanks.92i")), original);
}

TEST_F(PixvaneWindow, Ti92PlusAndVoyage200PicturesTakeTheirSignature) {
    draw();
    window.Text2->setText("sprite");
    struct Row {
        const char* typed;
        int entry;
        const char* written;
        const char* model; // the calculator the link library takes the name for
        const char* signature;
    };
    const Row rows[] = {
        {"a.92I", 1, "a.92I", "TI92", "**TI92**"},  {"b", 2, "b.bmp", nullptr, "BM"},
        {"c.9xi", 3, "c.9xi", "TI92+", "**TI92P*"}, {"d.v2i", 4, "d.v2i", "V200", "**TI92P*"},
        {"e.V2I", 1, "e.V2I", "V200", "**TI92P*"}, // the name's extension decides
        {"f", 5, "f.png", nullptr, "\x89PNG"},
    };
    const QByteArray plain = [&] {
        prompts.answerFile(path("plain.92i"));
        window.miSaveAs_Click();
        return readAll(path("plain.92i"));
    }();
    for (const Row& row : rows) {
        prompts.answerFile(path(row.typed), row.entry);
        window.miSaveAs_Click();
        const QByteArray saved = readAll(path(row.written));
        EXPECT_TRUE(saved.startsWith(row.signature)) << row.typed;
        if (!row.model)
            continue;
        EXPECT_EQ(saved.mid(8), plain.mid(8)) << row.typed; // only the signature differs
        const auto view = testing_support::readWithTifiles(path(row.written));
        ASSERT_EQ(view.error, 0) << row.typed;
        EXPECT_EQ(view.nameModel, row.model) << row.typed;
        // A Voyage 200 file carries the TI-92 Plus signature: read alone, it is a TI-92 Plus's.
        EXPECT_EQ(view.model, std::string(row.model) == "TI92" ? "TI92" : "TI92+") << row.typed;
        EXPECT_EQ(view.checksum, view.storedChecksum) << row.typed;
        EXPECT_EQ(view.type, 0x10);
        EXPECT_EQ(view.name, "sprite");
        EXPECT_EQ(view.folder, "main");
        EXPECT_EQ(view.writeBack, saved) << row.typed;
    }
    const core::FileDialogRequest request = prompts.asked().front().file;
    EXPECT_EQ(request.entriesWithOwnExtension, (QList<int>{2, 3, 4, 5, 6}));

    // Each opens again, from the menu, a drop and the command line.
    window.miCls_Click();
    openFile("c.9xi");
    EXPECT_EQ(window.Text2->text(), "sprite");
    EXPECT_EQ(window.grid().at(5, 5), 1);
    window.miCls_Click();
    drop({QUrl::fromLocalFile(path("e.V2I"))});
    EXPECT_EQ(window.Text2->text(), "sprite");
    FrmPixvane started(prompts);
    started.Form_Load(path("d.v2i"));
    EXPECT_EQ(started.Text2->text(), "sprite");
    ASSERT_EQ(prompts.messages().size(), 2u); // only the bitmap's and the PNG's reports
    EXPECT_EQ(prompts.messages()[0].text, "b.bmp is saved.");
    EXPECT_EQ(prompts.messages()[1].text, "f.png is saved.");
}

// A locked or archived picture stays so when it is saved again; a picture larger than the
// one pixvane edits is refused before anything on screen changes.
TEST_F(PixvaneWindow, SaveKeepsTheAttributeAndAnyPictureTheScreenHoldsOpensWhole) {
    auto data = [](int rows, int width) {
        const size_t size = 5 + size_t(rows) * 30;
        std::vector<std::uint8_t> d{
            std::uint8_t(size >> 8), std::uint8_t(size), 0, std::uint8_t(rows), 0,
            std::uint8_t(width)};
        d.resize(6 + size_t(rows) * 30, 0x81);
        d.push_back(0xDF);
        return d;
    };
    ASSERT_EQ(testing_support::writeWithTifiles(path("kept.92i"),
                                                {"main", "arch", 0x10, 3, "c", data(103, 239)}),
              QString());
    openFile("kept.92i");
    window.Picture1_MouseDown(1, 0, 5.5, 5.5);
    window.Picture1_MouseDown(1, 0, 5.5, 5.5);
    window.miSave_click();
    EXPECT_EQ(std::uint8_t(readAll(path("kept.92i"))[73]), 0x03);
    window.miCls_Click(); // a new picture is neither locked nor archived
    prompts.answerFile(path("new.92i"));
    window.Picture1_MouseDown(1, 0, 5.5, 5.5);
    window.miSaveAs_Click();
    EXPECT_EQ(std::uint8_t(readAll(path("new.92i"))[73]), 0x00);

    // The whole TI-92 screen opens whole; a picture larger than any TI-92 screen does not.
    ASSERT_EQ(testing_support::writeWithTifiles(path("tall.92i"),
                                                {"main", "tall", 0x10, 0, "c", data(128, 240)}),
              QString());
    openFile("tall.92i");
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(window.grid().rows(), 128);
    EXPECT_EQ(window.grid().at(127, 0), 1);
    EXPECT_EQ(window.Picture1->rows(), 128);
    std::vector<std::uint8_t> huge{0x17, 0x75, 0x00, 200, 0x00, 240}; // 5 + 200 x 30
    huge.resize(6 + 200 * 30, 0xFF);
    huge.push_back(0xDF);
    ASSERT_EQ(
        testing_support::writeWithTifiles(path("huge.92i"), {"main", "huge", 0x10, 0, "c", huge}),
        QString());
    const core::PixelGrid before = window.grid();
    openFile("huge.92i");
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages()[0].text,
              "huge.92i holds a picture of 240 x 200 pixels, larger than the 240 x 128 screen "
              "of the TI-92. Nothing was opened.");
    EXPECT_EQ(window.grid(), before);
    EXPECT_EQ(window.fileName(), path("tall.92i"));
}

// Save As starts on the entry of the format the picture came from.
TEST_F(PixvaneWindow, SaveAsStartsOnTheEntryOfAnOpenedTi92PlusOrVoyage200Picture) {
    for (const auto& [file, entry, initial] :
         {std::tuple{"a.9xi", 3, "*.9xi"}, std::tuple{"b.v2i", 4, "*.v2i"},
          std::tuple{"c.92i", 1, "*.92I"}}) {
        writeAll(path(file), pictureFile({"main", "pic", "c"}));
        window.miCls_Click();
        openFile(file);
        prompts.clear();
        window.miSaveAs_Click(); // unscripted: cancelled
        const core::FileDialogRequest request = prompts.asked().back().file;
        EXPECT_EQ(request.filterIndex, entry) << file;
        EXPECT_EQ(request.initialName, initial) << file;
    }
}

// The document holds what the editor edits: the texts as typed, and the format of the file it
// came from or was last saved as.
TEST_F(PixvaneWindow, TheDocumentHoldsTheTextsAndTheFormat) {
    EXPECT_EQ(window.document().format(), core::FormatId::Ti92);
    EXPECT_EQ(window.document().texts().variable, U"picture");
    writeAll(path("a.9xi"), pictureFile({"games", "sprite", "hello"}));
    openFile("a.9xi");
    EXPECT_EQ(window.document().format(), core::FormatId::Ti92Plus);
    EXPECT_EQ(window.document().texts().folder, U"games");
    window.Text1->setText("typed");
    window.Text2->setText(QString::fromUtf8("\u03c9x"));
    EXPECT_EQ(window.document().texts().comment, "typed");
    EXPECT_EQ(window.document().texts().variable, U"\u03c9x");
    prompts.answerFile(path("b.v2i"), 4);
    window.miSaveAs_Click();
    EXPECT_EQ(window.document().format(), core::FormatId::Voyage200);
    EXPECT_EQ(readAll(path("b.v2i")).mid(18, 5), QByteArray("typed"));
    window.miCls_Click(); // a new picture for the same calculator
    EXPECT_EQ(window.document().format(), core::FormatId::Voyage200);
    EXPECT_EQ(window.document().texts().comment, "made with PIXVANE");
}

// A TI-89 picture opens at its own size; Save As keeps its cells and asks only where a
// smaller screen would lose dark ones.
TEST_F(PixvaneWindow, Ti89PicturesOpenAtTheirSizeAndSaveAcrossScreens) {
    std::vector<std::uint8_t> data{0x06, 0x09, 0x00, 77, 0x00, 159}; // 5 + 77 x 20
    for (int r = 0; r < 77; ++r)
        for (int j = 0; j < 20; ++j)
            data.push_back(r == 76 && j == 19 ? 0x02 : 0x00); // cell (76, 158)
    data.push_back(0xDF);
    ASSERT_EQ(testing_support::writeWithTifiles(path("g.89i"), {"main", "graph", 0x10, 0, "c", data}),
              QString());
    openFile("g.89i");
    ASSERT_TRUE(prompts.messages().empty());
    EXPECT_EQ(window.grid().columns(), 159);
    EXPECT_EQ(window.grid().rows(), 77);
    EXPECT_EQ(window.Picture1->columns(), 159);
    EXPECT_EQ(window.grid().at(76, 158), 1);
    // As a .92i it stays 159 x 77: a TI-92 takes pictures of any size its screen holds.
    prompts.answerFile(path("g.92i"), 1);
    window.miSaveAs_Click();
    EXPECT_TRUE(prompts.messages().empty());
    const auto view = testing_support::readWithTifiles(path("g.92i"), false);
    ASSERT_EQ(view.error, 0);
    EXPECT_EQ(view.checksum, view.storedChecksum);
    EXPECT_EQ(std::uint8_t(readAll(path("g.92i"))[89]), 77); // its height

    // A new TI-92 picture, drawn on at the far right, does not fit a TI-89 whole.
    window.miNew->actions()[0]->trigger();
    EXPECT_EQ(window.grid().columns(), 240);
    window.Picture1_MouseDown(1, 0, 200.5, 5.5);
    window.Picture1_MouseDown(1, 0, 200.5, 5.5);
    window.Picture1_MouseUp(1, 0, 200.5, 5.5);
    prompts.answerFile(path("n.89i"), 6);
    prompts.answerMessage(core::Answer::Ok);
    window.miSaveAs_Click();
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_TRUE(prompts.messages()[0].text.startsWith(
        "A TI-89 and TI-89 Titanium picture is 160 x 100 pixels. This one is 240 x 103, and 1 "
        "dark pixels"))
        << prompts.messages()[0].text.toStdString();
    EXPECT_EQ(window.grid().columns(), 160);
    EXPECT_EQ(window.grid().rows(), 100);
    EXPECT_EQ(testing_support::readWithTifiles(path("n.89i"), false).error, 0);
    window.miUndo_Click(); // the resize is a step of its own
    EXPECT_EQ(window.grid().columns(), 240);
    EXPECT_EQ(window.grid().at(5, 200), 1);
}
