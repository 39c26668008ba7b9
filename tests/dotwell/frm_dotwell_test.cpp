// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <fcntl.h>

#include <QAction>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QUrl>
#include <QValidator>

#include <gtest/gtest.h>

#include "core/formats/format_registry.h"
#include "core/formats/ti83plus_picture_file.h"
#include "core/ui/program_main.h"
#include "dotwell/frm_dotwell.h"
#include "tests/support/files.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/tifiles_check.h"
#include "tests/support/window_fixture.h"

using core::MessageIcon;
using core::PicFileBuffer;
using dotwell::FrmDotwell;
using testing_support::readAll;
using testing_support::ScriptedPrompts;
using testing_support::writeAll;

namespace {

// A picture file made by the format code: one diagonal, the given PIC number and comment.
QByteArray pictureFile(int pic, const std::string& comment, const char* name = "x.83i") {
    PicFileBuffer buffer;
    buffer.applyTemplate(pic);
    core::PixelGrid grid(63, 96);
    for (int i = 0; i < 63; ++i)
        grid.set(i, i, 1);
    buffer.complete(name, comment, grid);
    return QByteArray(buffer.view().data(), qsizetype(buffer.view().size()));
}

class DotwellWindow : public testing_support::WindowFixture<FrmDotwell> {
protected:
    // A file dragged from a file manager and dropped on the canvas; whether the drag was taken.
    bool drop(const QString& name) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path(name))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(window.Picture1, &enter);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.Picture1, &event);
        return enter.isAccepted() && event.isAccepted();
    }
};

} // namespace

TEST_F(DotwellWindow, OpenShowsPictureCommentAndPicOption) {
    writeAll(path("a.83I"), pictureFile(9, "hello"));
    openFile("a.83I");
    ASSERT_TRUE(prompts.messages().empty());
    const auto& request = prompts.asked().front().file;
    EXPECT_EQ(request.title, "Open an 82I or 83I file...");
    // The first entries as they always were, then the later calculators'.
    EXPECT_EQ(request.filter, "82/3 Images|*.82i;*.83i|All Files|*.*|TI-83 Plus/84 Plus "
                              "Images|*.8xi|TI-73 Pictures|*.73i|TI-85 Pictures|*.85i|TI-86 "
                              "Pictures|*.86i|TI-84 Plus CE Pictures|*.8ci|TI-84 Plus CE "
                              "Images|*.8ca");
    EXPECT_EQ(request.flags, 4100);
    EXPECT_EQ(request.defaultExtension, "82I");
    EXPECT_EQ(window.grid().at(10, 10), 1);
    EXPECT_EQ(window.grid().at(10, 11), 0);
    EXPECT_EQ(window.Text1->text(), "hello"); // up to the NUL, no padding
    EXPECT_TRUE(window.Option1[10]->isChecked());
    EXPECT_EQ(window.Option1[10]->text(), "0");
    EXPECT_EQ(window.statusFileText(), "a.83I");
    const core::DocumentState state = window.documentState();
    EXPECT_TRUE(state.save && state.saveAs && state.print && state.open);
    EXPECT_FALSE(state.image5 || state.image8 || state.image11);
    EXPECT_EQ(window.tools().currentTool(), 0);
}

TEST_F(DotwellWindow, OpenRefusesOtherExtensionsAndUnreadableFiles) {
    writeAll(path("a.83i"), pictureFile(0, "first"));
    openFile("a.83i");
    const core::PixelGrid before = window.grid();

    writeAll(path("pic.BMP"), pictureFile(0, "x"));
    openFile("pic.BMP");
    EXPECT_EQ(lastMessage().title, "82/3 Image Error");
    EXPECT_EQ(lastMessage().text, "Invalid File Format!");
    EXPECT_EQ(lastMessage().icon, MessageIcon::Exclamation);

    openFile("missing.82i");
    EXPECT_EQ(prompts.messages().size(), 2u);
    EXPECT_TRUE(lastMessage().text.contains("missing.82i"));

    QByteArray badPic = pictureFile(0, "bad");
    badPic[61] = 12;
    writeAll(path("bad.82i"), badPic);
    openFile("bad.82i");
    EXPECT_EQ(prompts.messages().size(), 3u);
    EXPECT_TRUE(lastMessage().text.contains("12"));

    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.83i"));
    openFile("folder.83i");
    EXPECT_EQ(prompts.messages().size(), 4u);

    EXPECT_EQ(window.grid(), before);
    EXPECT_EQ(window.Text1->text(), "first");
    EXPECT_EQ(window.statusFileText(), "a.83i");

    prompts.cancelFile();
    window.miOpen_click();
    EXPECT_EQ(prompts.messages().size(), 4u);
}

TEST_F(DotwellWindow, OpenAndSaveKeepsAFileByteForByte) {
    // A file with odd header bytes, bytes after the comment's NUL and a foreign signature,
    // opened while its PIC option is already selected: none of that is rewritten.
    QByteArray original = pictureFile(0, "odd", "x.83i");
    original[0] = '#';
    original[40] = 'Z';  // after the comment's NUL
    original[57] = 0x33; // a length field that is off
    const unsigned sum = [&] {
        unsigned s = 0;
        for (int i = 55; i <= 827; ++i)
            s += std::uint8_t(original[i]);
        return s & 0xFFFF;
    }();
    original[828] = char(sum & 0xFF);
    original[829] = char(sum >> 8);
    writeAll(path("odd.83i"), original + QByteArray(50, '!')); // and a tail past 830
    openFile("odd.83i");
    window.miSave_click();
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(readAll(path("odd.83i")), original); // exactly 830 bytes, tail gone
}

TEST_F(DotwellWindow, OpeningAnotherPicNumberRewritesTheHeader) {
    QByteArray file = pictureFile(4, "pic5", "x.83i");
    file[0] = '#';
    file[63] = 0x11; // name bytes are never touched by the template
    writeAll(path("five.83i"), file);
    openFile("five.83i");
    EXPECT_TRUE(window.Option1[5]->isChecked());
    EXPECT_EQ(window.picFileBuffer().bytes()[0], '*');
    EXPECT_EQ(window.picFileBuffer().bytes()[63], 0x11);
    EXPECT_EQ(window.picFileBuffer().bytes()[61], 4);
}

TEST_F(DotwellWindow, Pic0SavesAsTi83ButNotAsTi82) {
    writeAll(path("zero.83i"), pictureFile(9, "zero"));
    openFile("zero.83i");
    window.miSave_click();
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(readAll(path("zero.83i")).at(5), '3');

    prompts.answerFile(path("zero.82i"));
    window.miSaveAs_Click();
    EXPECT_EQ(lastMessage().title, "PIC VAR ERROR!");
    EXPECT_EQ(lastMessage().text, "OOPS! TI-82 PIC variable must be 1..6");
    EXPECT_EQ(lastMessage().icon, MessageIcon::Exclamation);
    EXPECT_FALSE(QFile::exists(path("zero.82i")));
    EXPECT_EQ(window.fileName(), QString());

    // With the name emptied, Save must not write anywhere: it asks for a name instead.
    const size_t asked = prompts.asked().size();
    window.miSave_click();
    ASSERT_EQ(prompts.asked().size(), asked + 1);
    EXPECT_EQ(prompts.asked().back().title, "Dotwell Save As...");
}

TEST_F(DotwellWindow, SaveAsWritesACalculatorFileTheLinkLibraryReads) {
    draw();
    window.Text1->setText(QString::fromUtf8("Caf\u00e9 \u20ac"));
    window.Option1[3]->setChecked(true);
    prompts.answerFile(path("new.82i"));
    window.miSaveAs_Click();
    const auto& request = prompts.asked().front().file;
    EXPECT_EQ(request.title, "Dotwell Save As...");
    EXPECT_EQ(request.filter, "TI-82 Image Files (*.82i)|*.82i|TI-83 Image Files "
                              "(*.83I)|*.83I|Bitmaps (*.bmp)|*.bmp|TI-83 Plus/84 Plus Image "
                              "Files (*.8xi)|*.8xi|PNG images (*.png)|*.png|TI-73 Pictures "
                              "(*.73i)|*.73i|TI-85 Pictures (*.85i)|*.85i|TI-86 Pictures "
                              "(*.86i)|*.86i|TI-84 Plus CE Pictures (*.8ci)|*.8ci|TI-84 Plus CE "
                              "Images (*.8ca)|*.8ca");
    EXPECT_EQ(request.flags, 6);
    EXPECT_EQ(request.filterIndex, 1);
    EXPECT_EQ(request.defaultExtension, "82i");

    const QByteArray saved = readAll(path("new.82i"));
    ASSERT_EQ(saved.size(), 830);
    EXPECT_EQ(saved.mid(11, 7), QByteArray("Caf\xe9 \x80\0", 7));
    EXPECT_EQ(saved.at(61), 2);
    const core::DocumentState state = window.documentState();
    EXPECT_TRUE(state.open && state.save);
    EXPECT_FALSE(state.image11);
    EXPECT_EQ(window.statusFileText(), "new.82i");

    const auto view = testing_support::readWithTifiles(path("new.82i"));
    ASSERT_EQ(view.error, 0);
    EXPECT_EQ(view.checksum, view.storedChecksum);
    EXPECT_EQ(view.type, 7);

    // Opened again, the comment reads back as it was typed.
    window.miCls_Click();
    openFile("new.82i");
    EXPECT_EQ(window.Text1->text(), QString::fromUtf8("Caf\u00e9 \u20ac"));
    EXPECT_EQ(window.grid().at(5, 5), 1);
}

TEST_F(DotwellWindow, SaveAsToAnotherExtensionSaysSoAndWritesNothing) {
    draw();
    prompts.answerFile(path("pic.txt"));
    window.miSaveAs_Click();
    EXPECT_EQ(lastMessage().title, "Filename ERROR!");
    EXPECT_EQ(lastMessage().icon, MessageIcon::Exclamation);
    EXPECT_TRUE(lastMessage().text.contains(".82i"));
    EXPECT_FALSE(QFile::exists(path("pic.txt")));
    EXPECT_FALSE(window.documentState().open); // still unsaved
}

TEST_F(DotwellWindow, FailedWriteLeavesTheOldFileAndTheState) {
    writeAll(path("keep.82i"), pictureFile(0, "keep", "keep.82i"));
    openFile("keep.82i");
    draw();
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.82i"));
    prompts.answerFile(path("taken.82i"));
    window.miSaveAs_Click();
    EXPECT_EQ(prompts.messages().size(), 1u);
    EXPECT_TRUE(QFileInfo(path("taken.82i")).isDir());
    EXPECT_EQ(window.statusFileText(), "keep.82i");
    EXPECT_FALSE(window.documentState().open);

    prompts.answerFile(path("no/such/folder/x.82i"));
    window.miSaveAs_Click();
    EXPECT_EQ(prompts.messages().size(), 2u);
    EXPECT_FALSE(window.documentState().open);
    EXPECT_EQ(window.fileName(), path("keep.82i"));
}

TEST_F(DotwellWindow, CommandLineAcceptsAnyCaseAndRefusesOtherNames) {
    writeAll(path("pic1.83i"), pictureFile(2, "cmd"));
    FrmDotwell opened(prompts);
    opened.Form_Load(path("pic1.83i"));
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(opened.Text1->text(), "cmd");
    EXPECT_TRUE(opened.Option1[3]->isChecked());
    const core::DocumentState state = opened.documentState();
    EXPECT_TRUE(state.save && state.saveAs && state.print);
    EXPECT_FALSE(state.image5 || state.image8); // the toolbar's Save and Print as the menu's

    FrmDotwell refused(prompts);
    refused.Form_Load(path("pic1.txt"));
    EXPECT_EQ(lastMessage().title, "Dotwell 2.6");
    EXPECT_EQ(lastMessage().text, "Invalid File Format!");
    EXPECT_FALSE(refused.documentState().saveAs);
}

// Qt would turn the stray byte of a name that is not UTF-8 into U+FFFD and open the file of
// that name: a command line naming such a file opens nothing, and says why.
// A name that is not UTF-8 opens its own file, shows readably, and is saved to by its bytes;
// the file Qt's own conversion would have named (with U+FFFD) is never touched.
TEST_F(DotwellWindow, CommandLineNameThatIsNotUtf8OpensAndSavesItsOwnFile) {
    const QByteArray other = pictureFile(5, "another picture");
    writeAll(path(QString::fromUtf8("bad\uFFFD.83i")), other);
    const std::string name = QFile::encodeName(path("bad")).toStdString() + "\xFF.83i";
    {
        QFile own;
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_TRUE(own.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
        own.write(pictureFile(3, "its own picture"));
    }
    FrmDotwell started(prompts);
    started.endProgram = [] {};
    started.Form_Load(core::commandLineName({name}));
    EXPECT_EQ(started.Text1->text().trimmed(), "its own picture");
    EXPECT_EQ(started.statusFileText(), "bad\\xFF.83i");
    started.Picture1_MouseDown(1, 0, 5.5, 5.5);
    started.Picture1_MouseDown(1, 0, 5.5, 5.5);
    started.miSave_click();
    EXPECT_TRUE(prompts.messages().empty());
    QFile saved;
    const int fd = ::open(name.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(saved.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
    const QByteArray bytes = saved.readAll();
    ASSERT_EQ(bytes.size(), 830);
    EXPECT_EQ(std::uint8_t(bytes[72 + 5 * 12]), 0x04); // cell (5, 5)
    EXPECT_EQ(readAll(path(QString::fromUtf8("bad\uFFFD.83i"))), other);

    // Otherwise the arguments joined by blanks name the picture, as always.
    writeAll(path("my pic.83i"), pictureFile(2, "cmd"));
    const QString joined =
        core::commandLineName({QFile::encodeName(path("my")).toStdString(), "pic.83i"});
    EXPECT_EQ(joined, path("my pic.83i"));
    FrmDotwell opened(prompts);
    opened.Form_Load(joined);
    EXPECT_EQ(opened.Text1->text(), "cmd");
}

TEST_F(DotwellWindow, PicFrameAndTips) {
    EXPECT_EQ(window.Frame1->title(), "PIC");
    EXPECT_EQ(window.Frame1->toolTip(), "Pic Var (use 7..0 for TI-83 only)");
    EXPECT_EQ(window.Option1[1]->toolTip(), "Pic Var (use 7..0 for TI-83 only)");
    EXPECT_TRUE(window.Option1[1]->isChecked());
    EXPECT_EQ(window.Text1->text(), "Produced with Dotwell");
    // A character with no Windows-1252 byte cannot be typed into the comment.
    QString alpha = QString::fromUtf8("a\u03b1");
    int pos = 0;
    EXPECT_EQ(window.Text1->validator()->validate(alpha, pos), QValidator::Invalid);
}

TEST_F(DotwellWindow, AFileTooShortForItsPicNumberIsTooShortNotAWrongNumber) {
    writeAll(path("empty.83i"), QByteArray());
    writeAll(path("tiny.83i"), pictureFile(3, "tiny").left(61));
    for (const char* name : {"empty.83i", "tiny.83i"}) {
        openFile(name);
        EXPECT_TRUE(lastMessage().text.contains("too short")) << lastMessage().text.toStdString();
        EXPECT_FALSE(lastMessage().text.contains("32"));
        EXPECT_FALSE(window.documentState().saveAs);
    }
    // 62 bytes reach the PIC byte: the rest is padded, as any short file is.
    writeAll(path("short.83i"), pictureFile(3, "short").left(62));
    openFile("short.83i");
    EXPECT_EQ(prompts.messages().size(), 2u);
    EXPECT_TRUE(window.Option1[4]->isChecked());
}

namespace {

QByteArray plusFile(int pic, const std::string& comment, bool archived) {
    PicFileBuffer buffer;
    buffer.applyTemplate(pic);
    core::PixelGrid grid(63, 96);
    for (int i = 0; i < 63; ++i)
        grid.set(i, 95 - i, 1);
    buffer.complete("x.8xi", comment, grid);
    const auto file = core::buildTi83PlusFile(buffer, archived);
    return QByteArray(reinterpret_cast<const char*>(file.data()), qsizetype(file.size()));
}

} // namespace

TEST_F(DotwellWindow, Ti83PlusPicturesOpenSaveAndConvertBothWays) {
    const QByteArray original = plusFile(9, "plus", true);
    writeAll(path("a.8XI"), original);
    openFile("a.8XI");
    ASSERT_TRUE(prompts.messages().empty());
    EXPECT_EQ(window.Text1->text(), "plus");
    EXPECT_TRUE(window.Option1[10]->isChecked()); // Pic0 is fine in a .8xi
    EXPECT_EQ(window.grid().at(0, 95), 1);
    window.miSave_click();
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(readAll(path("a.8XI")), original); // archived flag kept, 832 bytes

    // To the TI-83 layout: the same picture, comment and PIC.
    prompts.answerFile(path("b.83i"));
    window.miSaveAs_Click();
    const QByteArray ti83 = readAll(path("b.83i"));
    ASSERT_EQ(ti83.size(), 830);
    EXPECT_TRUE(ti83.startsWith("**TI83**"));
    EXPECT_EQ(ti83.at(61), 9);
    EXPECT_EQ(ti83.mid(72, 756), original.mid(74, 756));
    EXPECT_EQ(ti83.mid(11, 5), QByteArray("plus\0", 5));
    // And back: the .8xi layout again, now as a new file in RAM is not wanted: the flag stays.
    window.miCls_Click();
    openFile("b.83i");
    prompts.answerFile(path("c.8xi"));
    window.miSaveAs_Click();
    const QByteArray again = readAll(path("c.8xi"));
    ASSERT_EQ(again.size(), 832);
    EXPECT_TRUE(again.startsWith("**TI83F*"));
    EXPECT_EQ(again.mid(74, 756), original.mid(74, 756));
    EXPECT_EQ(again.at(61), 9);
    EXPECT_EQ(again.at(69), 0); // opened from a .83i: in RAM
    const auto view = testing_support::readWithTifiles(path("c.8xi"));
    ASSERT_EQ(view.error, 0);
    EXPECT_EQ(view.model, "TI83+");
    EXPECT_EQ(view.checksum, view.storedChecksum);
    // Pic0 cannot go to a TI-82.
    prompts.answerFile(path("d.82i"));
    window.miSaveAs_Click();
    EXPECT_EQ(lastMessage().title, "PIC VAR ERROR!");
    EXPECT_FALSE(QFile::exists(path("d.82i")));
}

TEST_F(DotwellWindow, DamagedTi83PlusFilesAreRefusedAndChangeNothing) {
    writeAll(path("good.8xi"), plusFile(2, "good", false));
    openFile("good.8xi");
    const core::PixelGrid before = window.grid();
    QByteArray header = plusFile(2, "x", false);
    header[55] = 12;
    QByteArray type = plusFile(2, "x", false);
    type[59] = 5;
    const std::pair<const char*, QByteArray> damaged[] = {
        {"short.8xi", plusFile(2, "x", false).left(400)},
        {"header.8xi", header},
        {"type.8xi", type}};
    for (const auto& [name, bytes] : damaged) {
        writeAll(path(name), bytes);
        openFile(name);
        EXPECT_EQ(lastMessage().text, "Invalid File Format!") << name;
        EXPECT_EQ(lastMessage().title, "82/3 Image Error") << name;
        EXPECT_EQ(lastMessage().icon, MessageIcon::Exclamation) << name;
    }
    EXPECT_EQ(prompts.messages().size(), 3u);
    EXPECT_EQ(window.grid(), before);
    EXPECT_EQ(window.Text1->text(), "good");
    EXPECT_EQ(window.fileName(), path("good.8xi"));

    FrmDotwell started(prompts);
    started.Form_Load(path("good.8xi")); // the command line takes them too
    EXPECT_EQ(started.Text1->text(), "good");
}

TEST_F(DotwellWindow, EverySaveAsEntryLeadsToItsBranch) {
    draw();
    struct Row {
        const char* typed;
        int entry;
        const char* written;
        const char* starts;
    };
    const Row rows[] = {
        {"a.82i", 1, "a.82i", "**TI82**"}, {"b.83I", 2, "b.83I", "**TI83**"},
        {"c", 3, "c.bmp", "BM"},           {"d.8xi", 4, "d.8xi", "**TI83F*"},
        {"e.8XI", 1, "e.8XI", "**TI83F*"}, // the name's extension decides the layout
        {"f", 5, "f.png", "\x89PNG"},      {"g.PNG", 1, "g.PNG", "\x89PNG"},
    };
    for (const Row& row : rows) {
        prompts.answerFile(path(row.typed), row.entry);
        window.miSaveAs_Click();
        EXPECT_TRUE(readAll(path(row.written)).startsWith(row.starts)) << row.typed;
    }
    const core::FileDialogRequest request = prompts.asked().front().file;
    EXPECT_EQ(request.entriesWithOwnExtension, (QList<int>{3, 4, 5, 6, 7, 8, 9, 10}));
}

// Save As starts on the entry of the format the picture came from, where that is not one of
// the first two; a bare name then gets that format's extension.
TEST_F(DotwellWindow, SaveAsStartsOnTheEntryOfAnOpenedTi83PlusPicture) {
    const auto saveAsRequest = [&] {
        prompts.clear();
        window.miSaveAs_Click(); // unscripted: cancelled
        return prompts.asked().back().file;
    };
    window.Picture1_MouseDown(1, 0, 5.5, 5.5);
    EXPECT_EQ(saveAsRequest().filterIndex, 1); // a new picture
    writeAll(path("p.8xi"), plusFile(2, "p", false));
    writeAll(path("q.83i"), pictureFile(2, "q"));
    for (const auto& [file, entry, initial] :
         {std::tuple{"p.8xi", 4, "*.8xi"}, std::tuple{"q.83i", 1, "*.82i"}}) {
        window.miCls_Click();
        openFile(file);
        const core::FileDialogRequest request = saveAsRequest();
        EXPECT_EQ(request.filterIndex, entry) << file;
        EXPECT_EQ(request.initialName, initial) << file;
    }
}

// The PIC number byte runs 0 to 9 (Pic1 .. Pic0): 9 opens, 10 is refused with the reason.
TEST_F(DotwellWindow, APicNumberByteOf10IsRefusedAnd9Opens) {
    QByteArray nine = pictureFile(9, "nine");
    QByteArray ten = nine;
    ten[61] = 10;
    writeAll(path("nine.83i"), nine);
    writeAll(path("ten.83i"), ten);
    openFile("ten.83i");
    EXPECT_EQ(lastMessage().text, "ten.83i is not a TI-82/83 picture: its PIC number byte is 10, "
                                  "not 0 to 9.");
    EXPECT_FALSE(window.documentState().saveAs);
    openFile("nine.83i");
    EXPECT_TRUE(window.documentState().saveAs);
    EXPECT_TRUE(window.Option1[10]->isChecked());
}

namespace {

// A TI-85/86 picture as libtifiles writes it: a cell in the last column, a line.
QByteArray linkProgramTi86(const QString& path, const std::string& name) {
    core::PixelGrid cells(63, 128);
    cells.set(10, 127, 1);
    for (int c = 0; c < 128; ++c)
        cells.set(30, c, 1);
    std::vector<std::uint8_t> data{0xF0, 0x03};
    for (int r = 0; r < 63; ++r)
        for (int j = 0; j < 16; ++j)
            data.push_back(cells.packBits(r, 8 * j));
    EXPECT_EQ(testing_support::writeWithTifiles(path, {"", name, 0x11, 0, "from tilp", data}),
              QString());
    return testing_support::readAll(path);
}

} // namespace

// A TI-86 picture opens at its calculator's 128 x 63, its name where the PIC buttons were;
// Ctrl+S writes a file libtifiles reads with its checksum right.
TEST_F(DotwellWindow, ATi86PictureOpensAtItsSizeAndSavesForTheLinkProgram) {
    linkProgramTi86(path("m.86i"), "Mountain");
    openFile("m.86i");
    ASSERT_TRUE(prompts.messages().empty()) << lastMessage().text.toStdString();
    EXPECT_EQ(window.grid().columns(), 128);
    EXPECT_EQ(window.Picture1->columns(), 128);
    EXPECT_EQ(window.grid().at(10, 127), 1);
    EXPECT_EQ(window.Text2->text(), "Mountain");
    EXPECT_FALSE(window.NameRow->isHidden());
    EXPECT_TRUE(window.Frame1->isHidden());
    window.Picture1_MouseDown(1, 0, 120.5, 50.5); // arms the pen
    window.Picture1_MouseDown(1, 0, 120.5, 50.5);
    window.Picture1_MouseUp(1, 0, 120.5, 50.5);
    window.Text2->setText("Peak");
    window.miSave_click();
    const auto view = testing_support::readWithTifiles(path("m.86i"));
    ASSERT_EQ(view.error, 0);
    EXPECT_EQ(view.checksum, view.storedChecksum);
    EXPECT_EQ(view.name, "Peak");
    const QByteArray saved = readAll(path("m.86i"));
    EXPECT_EQ(std::uint8_t(saved[73 + 50 * 16 + 15]), 0x80); // cell (50, 120)
    EXPECT_EQ(view.writeBack.mid(53), saved.mid(53));
}

// Save As into a calculator of another size keeps the cells at the top left; when dark cells
// would be lost it asks, and Cancel keeps everything as it was.
TEST_F(DotwellWindow, SaveAsAcrossSizesKeepsTheTopLeftAndAsksBeforeLosingCells) {
    linkProgramTi86(path("m.86i"), "Mountain");
    openFile("m.86i");
    const core::PixelGrid wide = window.grid();
    prompts.answerFile(path("small.83i"), 2);
    prompts.answerMessage(core::Answer::Cancel);
    window.miSaveAs_Click();
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages()[0].text,
              "A TI-83 picture is 96 x 63 pixels. This one is 128 x 63, and 33 dark pixels "
              "beyond the top left 96 x 63 would be lost. Press OK to save it so or Cancel to "
              "keep the picture as it is.");
    EXPECT_FALSE(QFile::exists(path("small.83i")));
    EXPECT_EQ(window.grid(), wide);
    EXPECT_EQ(window.fileName(), path("m.86i"));

    prompts.answerFile(path("small.83i"), 2);
    prompts.answerMessage(core::Answer::Ok);
    window.miSaveAs_Click();
    EXPECT_EQ(window.grid(), wide.resized(63, 96));
    EXPECT_EQ(window.Picture1->columns(), 96);
    EXPECT_EQ(window.document().format(), core::FormatId::Ti83);
    EXPECT_TRUE(window.Frame1->isVisible() || !window.isVisible());
    EXPECT_TRUE(window.NameRow->isHidden());
    EXPECT_EQ(readAll(path("small.83i")).size(), 830);

    // Back to the wider calculator: nothing is lost, so nothing is asked; the new column white.
    prompts.clear();
    prompts.answerFile(path("wide.85i"), 7);
    window.miSaveAs_Click();
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(window.grid().columns(), 128);
    EXPECT_EQ(window.grid().at(10, 127), 0);
    const auto view = testing_support::readWithTifiles(path("wide.85i"), false);
    ASSERT_EQ(view.error, 0);
    EXPECT_EQ(view.name, "Mountain"); // the name it had keeps going with it
    EXPECT_EQ(view.checksum, view.storedChecksum);
}

// File > New starts an empty picture for a chosen calculator, at its size.
TEST_F(DotwellWindow, NewPictureForAChosenCalculator) {
    const QList<QAction*> items = window.miNew->actions();
    ASSERT_EQ(items.size(), 8);
    EXPECT_EQ(items[4]->text(), "TI-85 picture (128 x 63)");
    EXPECT_EQ(items[6]->text(), "TI-84 Plus CE and TI-83 Premium CE picture (266 x 165)");
    EXPECT_EQ(items[7]->text(), "TI-84 Plus CE and TI-83 Premium CE background image (133 x 83)");
    items[5]->trigger(); // TI-86
    EXPECT_EQ(window.grid().columns(), 128);
    EXPECT_EQ(window.Picture1->columns(), 128);
    EXPECT_EQ(window.document().format(), core::FormatId::Ti86);
    EXPECT_EQ(window.Text2->text(), "Pic");
    EXPECT_FALSE(window.documentState().saveAs);
    window.Picture1_MouseDown(1, 0, 127.5, 62.5); // arms the pen
    window.Picture1_MouseDown(1, 0, 127.5, 62.5);
    EXPECT_EQ(window.grid().at(62, 127), 1);
    // Unsaved drawing: New asks first, and Cancel keeps it.
    prompts.answerMessage(core::Answer::Cancel);
    items[0]->trigger();
    EXPECT_EQ(lastMessage().title, "WARNING!");
    EXPECT_EQ(window.grid().columns(), 128);
}

// A damaged file of a later calculator says what is wrong with it and changes nothing.
TEST_F(DotwellWindow, DamagedLaterCalculatorFilesSayWhyAndChangeNothing) {
    const QByteArray good = linkProgramTi86(path("m.86i"), "Mountain");
    QByteArray type = good;
    type[59] = 0x07;
    writeAll(path("cut.86i"), good.left(500));
    writeAll(path("type.86i"), type);
    writeAll(path("cut.73i"), QByteArray("**TI73**"));
    openFile("m.86i");
    const core::PixelGrid before = window.grid();
    for (const auto& [file, reason] :
         {std::pair{"cut.86i", "cut.86i cannot be opened: the file is 500 bytes, too short"},
          std::pair{"type.86i", "type.86i cannot be opened: its type byte (59) is 07, not 11"},
          std::pair{"cut.73i", "cut.73i cannot be opened: too short to hold a TI-73 picture"}}) {
        openFile(file);
        EXPECT_TRUE(lastMessage().text.startsWith(reason)) << lastMessage().text.toStdString();
        EXPECT_EQ(window.grid(), before);
        EXPECT_EQ(window.fileName(), path("m.86i"));
    }
}

TEST_F(DotwellWindow, ADroppedFileOpensAsOpenWouldOpenIt) {
    writeAll(path("first.83i"), pictureFile(0, "first"));
    writeAll(path("dropped.82I"), pictureFile(3, "dropped", "dropped.82i"));
    writeAll(path("pic.BMP"), pictureFile(0, "x"));
    QByteArray badPic = pictureFile(0, "bad");
    badPic[61] = 12;
    writeAll(path("bad.83i"), badPic);
    const struct {
        const char* name;
        const char* comment; // the comment box afterwards: the dropped file's when it opened
        const char* title;   // of the message, none when it opened
        const char* says;
    } rows[] = {
        {"dropped.82I", "dropped", nullptr, nullptr},
        {"pic.BMP", "first", "82/3 Image Error", "Invalid File Format!"},
        {"bad.83i", "first", "", "12"},
        {"missing.83i", "first", "", "missing.83i"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        openFile("first.83i");
        const size_t before = prompts.messages().size();
        EXPECT_TRUE(drop(row.name));
        EXPECT_EQ(window.Text1->text(), row.comment);
        if (!row.title) {
            EXPECT_EQ(prompts.messages().size(), before);
            EXPECT_EQ(window.statusFileText(), row.name);
            EXPECT_EQ(window.grid().at(20, 20), 1);
            EXPECT_TRUE(window.Option1[4]->isChecked()); // PIC 3 from the dropped file
            continue;
        }
        ASSERT_EQ(prompts.messages().size(), before + 1);
        if (*row.title) {
            EXPECT_EQ(lastMessage().title, row.title);
        }
        EXPECT_TRUE(lastMessage().text.contains(row.says)) << lastMessage().text.toStdString();
        EXPECT_EQ(window.statusFileText(), "first.83i"); // the picture keeps its own name
    }
}

TEST_F(DotwellWindow, ADropOverAnUnsavedDrawingAsksFirst) {
    writeAll(path("dropped.83i"), pictureFile(0, "dropped"));
    draw();
    prompts.answerMessage(core::Answer::Cancel);
    drop("dropped.83i");
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(lastMessage().buttons, core::MessageButtons::OkCancel);
    EXPECT_TRUE(lastMessage().text.contains("dropped.83i"));
    EXPECT_EQ(window.grid().at(5, 5), 1);
    EXPECT_EQ(window.grid().at(20, 20), 0);

    prompts.answerMessage(core::Answer::Ok);
    drop("dropped.83i");
    EXPECT_EQ(window.Text1->text(), "dropped");
    EXPECT_EQ(window.grid().at(20, 20), 1);
}

TEST_F(DotwellWindow, ADragWithoutALocalFileIsRefused) {
    QMimeData data;
    data.setText("just text");
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.Picture1, &enter);
    EXPECT_FALSE(enter.isAccepted());
}
