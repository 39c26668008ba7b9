// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "core/formats/ti92_picture_file.h"
#include "core/imaging/file_io.h"
#include "core/platform/qt_prompts.h"
#include "dotwell/frm_dotwell.h"
#include "pixvane/frm_pixvane.h"
#include "tests/support/files.h"
#include "tests/support/window_fixture.h"

using testing_support::readAll;
using testing_support::writeAll;

namespace {

QByteArray ti83File(const char* comment) {
    core::PicFileBuffer buffer;
    buffer.complete("old.83i", comment, core::PixelGrid(63, 96));
    return QByteArray(buffer.view().data(), qsizetype(buffer.view().size()));
}

QByteArray ti92File(const std::string& comment) {
    const auto file = core::buildTi92File(core::PixelGrid(103, 240), {"main", "old", comment});
    return QByteArray(reinterpret_cast<const char*>(file.data()), qsizetype(file.size()));
}

// A real, small file system that fills up: what a full disk does to a save.
class FullDisk : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        if (::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0,
                    "size=64k,mode=0755") != 0) {
            GTEST_SKIP() << "cannot mount a small file system here (" << std::strerror(errno)
                         << "); needs root, as CI has";
        }
        mounted = true;
    }
    void TearDown() override {
        if (mounted)
            ::umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH);
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    // Takes every block that is left.
    void fill() {
        QFile filler(path("filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
        const QByteArray byte(1, 'f');
        while (filler.write(byte) == 1) {
        }
    }

    QTemporaryDir dir;
    bool mounted = false;
};

} // namespace

TEST_F(FullDisk, SaveKeepsTheOldFileByteForByteAndSaysWhy) {
    const QByteArray old83 = ti83File("old");
    const QByteArray old92 = ti92File("old");
    writeAll(path("keep.83i"), old83);
    writeAll(path("keep.92i"), old92);
    writeAll(path("keep.bmp"), QByteArray("BM old bitmap"));
    fill();

    testing_support::ScriptedPrompts prompts;
    dotwell::FrmDotwell dotwell(prompts);
    dotwell.endProgram = [] {};
    dotwell.Form_Load(path("keep.83i"));
    dotwell.Text1->setText("new comment");
    dotwell.miSave_click();
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_TRUE(prompts.messages()[0].text.contains(path("keep.83i")));
    EXPECT_TRUE(prompts.messages()[0].text.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))))
        << prompts.messages()[0].text.toStdString();
    EXPECT_EQ(readAll(path("keep.83i")), old83);

    pixvane::FrmPixvane pixvane(prompts);
    pixvane.endProgram = [] {};
    pixvane.Form_Load(path("keep.92i"));
    pixvane.Picture1_MouseDown(1, 0, 5.5, 5.5);
    pixvane.Picture1_MouseDown(1, 0, 5.5, 5.5);
    pixvane.miSave_click();
    ASSERT_EQ(prompts.messages().size(), 2u);
    EXPECT_TRUE(prompts.messages()[1].text.startsWith("Disk write error"));
    EXPECT_TRUE(prompts.messages()[1].text.contains(path("keep.92i")));
    EXPECT_EQ(readAll(path("keep.92i")), old92);
    EXPECT_FALSE(pixvane.documentState().open); // still unsaved

    // The bitmap export writes the same way.
    prompts.answerFile(path("keep.bmp"), 2);
    pixvane.miSaveAs_Click();
    ASSERT_EQ(prompts.messages().size(), 3u);
    EXPECT_FALSE(prompts.messages()[2].text.contains("is saved."));
    EXPECT_EQ(readAll(path("keep.bmp")), QByteArray("BM old bitmap"));
    // No temporary file is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4);
}

// A batch syncs its files together: until then every target is as it was, and a file that
// does not fit fails alone, leaving its old bytes and no temporary file.
TEST_F(FullDisk, ABatchPutsEachFileInPlaceWholeOrLeavesTheOldOne) {
    std::vector<QString> results(10, QStringLiteral("not reported"));
    for (int i = 0; i < 10; ++i)
        writeAll(path(QString("a%1").arg(i)), "old");
    {
        core::BatchWriter batch(100);
        // One file named twice, once by another spelling: the later bytes win.
        batch.add(path("twice"), "first", [](const QString& e) { EXPECT_EQ(e, ""); });
        batch.add(dir.path() + "/./twice", "second", [](const QString& e) { EXPECT_EQ(e, ""); });
        for (int i = 0; i < 10; ++i)
            batch.add(path(QString("a%1").arg(i)), QByteArray(8192, char('a' + i)),
                      [&results, i](const QString& error) { results[size_t(i)] = error; });
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(readAll(path(QString("a%1").arg(i))), "old") << i;
    }
    int written = 0;
    for (int i = 0; i < 10; ++i) {
        const QByteArray now = readAll(path(QString("a%1").arg(i)));
        if (results[size_t(i)].isEmpty()) {
            ++written;
            EXPECT_EQ(now, QByteArray(8192, char('a' + i))) << i;
        } else {
            EXPECT_TRUE(results[size_t(i)].contains(QString::fromLocal8Bit(std::strerror(ENOSPC))))
                << results[size_t(i)].toStdString();
            EXPECT_EQ(now, "old") << i;
        }
    }
    EXPECT_GT(written, 0);
    EXPECT_LT(written, 10); // the disk held some and not all
    EXPECT_EQ(readAll(path("twice")), "second");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 11);
}

// A file with a second name is written in place; on a full disk that must fail before it
// touches a byte, or both names would lose the picture.
TEST_F(FullDisk, AHardLinkedFileIsNotTouchedWhenTheSpaceIsNotThere) {
    const QByteArray old(4096, 'o');
    writeAll(path("linked.bmp"), old);
    ASSERT_EQ(::link(QFile::encodeName(path("linked.bmp")).constData(),
                     QFile::encodeName(path("linked2.bmp")).constData()),
              0);
    fill();
    const QString error = core::writeFileAtomically(path("linked.bmp"), QByteArray(20000, 'n'));
    EXPECT_TRUE(error.contains("unchanged")) << error.toStdString();
    EXPECT_EQ(readAll(path("linked.bmp")), old);
    EXPECT_EQ(readAll(path("linked2.bmp")), old);
    // A new file that does not fit leaves nothing, and the message claims no old file.
    const QString fresh = core::writeFileAtomically(path("new.bmp"), QByteArray(20000, 'n'));
    EXPECT_FALSE(fresh.isEmpty());
    EXPECT_FALSE(fresh.contains("unchanged")) << fresh.toStdString();
    EXPECT_FALSE(QFile::exists(path("new.bmp")));
}

// A save never writes through a symbolic link into the file it points at: the link is
// replaced. A dangling link creates nothing where it points.
TEST(FileWrite, ALinkIsReplacedNeverWrittenThrough) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkdir(dir.filePath("protected")));
    ASSERT_TRUE(QDir().mkdir(dir.filePath("sticky")));
    ASSERT_EQ(::chmod(QFile::encodeName(dir.filePath("sticky")).constData(), 01777), 0);
    const QString target = dir.filePath("protected/rootfile");
    writeAll(target, "precious");
    auto symlink = [&](const QString& to, const QString& at) {
        ASSERT_EQ(::symlink(QFile::encodeName(to).constData(), QFile::encodeName(at).constData()),
                  0);
    };
    symlink(target, dir.filePath("sticky/pic.8xi"));
    symlink(dir.filePath("protected/created"), dir.filePath("sticky/new.8xi"));
    for (const char* name : {"sticky/pic.8xi", "sticky/new.8xi"}) {
        ASSERT_EQ(core::writeFileAtomically(dir.filePath(name), "picture"), QString()) << name;
        QFileInfo written(dir.filePath(name));
        EXPECT_FALSE(written.isSymLink()) << name;
        EXPECT_EQ(readAll(dir.filePath(name)), QByteArray("picture"));
    }
    EXPECT_EQ(readAll(target), QByteArray("precious"));
    EXPECT_FALSE(QFile::exists(dir.filePath("protected/created")));
    EXPECT_EQ(QDir(dir.filePath("sticky")).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(FileWrite, KeepsHardLinksModeAndOwner) {
    QTemporaryDir dir;
    const QString file = dir.filePath("pic.83i");
    const QString link = dir.filePath("link.83i");
    writeAll(file, ti83File("old"));
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0640), 0);
    ASSERT_EQ(::link(QFile::encodeName(file).constData(), QFile::encodeName(link).constData()), 0);
    ASSERT_EQ(core::writeFileAtomically(file, "new"), QString());
    EXPECT_EQ(readAll(link), QByteArray("new")); // still the same file under both names
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &status), 0);
    EXPECT_EQ(status.st_nlink, 2u);
    EXPECT_EQ(status.st_mode & 07777, 0640u);

    ASSERT_EQ(::unlink(QFile::encodeName(link).constData()), 0);
    ASSERT_EQ(core::writeFileAtomically(file, "newer"), QString());
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(readAll(file), QByteArray("newer"));

    if (::geteuid() == 0) { // another user's file keeps its owner
        ASSERT_EQ(::chown(QFile::encodeName(file).constData(), 65534, 65534), 0);
        ASSERT_EQ(core::writeFileAtomically(file, "theirs"), QString());
        ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &status), 0);
        EXPECT_EQ(status.st_uid, 65534u);
        EXPECT_EQ(status.st_gid, 65534u);
        EXPECT_EQ(readAll(file), QByteArray("theirs"));
    }
}

TEST(FileWrite, AWritableFileInAFolderThatTakesNoNewFileIsWrittenInPlace) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("locked");
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString file = folder + "/pic.92i";
    writeAll(file, ti92File("a longer old comment"));
    const bool root = ::geteuid() == 0;
    // As root every folder is writable: write as another user, who owns the file but not the
    // folder.
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
    if (root) {
        ASSERT_EQ(::chown(QFile::encodeName(file).constData(), 65534, 65534), 0);
        ASSERT_EQ(::seteuid(65534), 0);
    }
    const QString error = core::writeFileAtomically(file, "short");
    if (root) {
        ASSERT_EQ(::seteuid(0), 0);
    }
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    EXPECT_EQ(error, QString());
    EXPECT_EQ(readAll(file), QByteArray("short")); // cut to the new length
}

TEST(FileRead, NamedPipesAndDevicesAreRefusedWithoutWaiting) {
    QTemporaryDir dir;
    const QString fifo83 = dir.filePath("pipe.83i");
    const QString fifo92 = dir.filePath("pipe.92i");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo83).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo92).constData(), 0600), 0);
    QElapsedTimer clock;
    clock.start();

    const core::FileRead read = core::readFileHead(fifo83, 830);
    EXPECT_TRUE(read.error.contains("not a regular file"));
    EXPECT_TRUE(core::readFileHead("/dev/zero", 830).error.contains("not a regular file"));
    EXPECT_TRUE(core::writeFileAtomically(fifo83, "x").contains("not a regular file"));

    testing_support::ScriptedPrompts prompts;
    dotwell::FrmDotwell dotwell(prompts);
    dotwell.Form_Load(fifo83); // the command line: the program goes on
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_TRUE(prompts.messages()[0].text.contains("not a regular file"));
    EXPECT_FALSE(dotwell.documentState().saveAs);

    pixvane::FrmPixvane pixvane(prompts);
    pixvane.Form_Load(QString());
    prompts.answerFile(fifo92);
    pixvane.miOpen_click();
    ASSERT_EQ(prompts.messages().size(), 2u);
    EXPECT_TRUE(prompts.messages()[1].text.contains("not a regular file"));
    prompts.answerFile(fifo92);
    pixvane.miImport_Click();
    ASSERT_EQ(prompts.messages().size(), 3u);
    EXPECT_TRUE(prompts.messages()[2].text.contains("not a regular file"));
    EXPECT_LT(clock.elapsed(), 10000);
}

TEST(FileDialog, TheBitmapsEntryCompletesABareNameWithBmp) {
    QTemporaryDir dir;
    core::FileDialogRequest request;
    request.kind = core::FileDialogRequest::Kind::Save;
    request.title = "Dotwell Save As...";
    request.filter = "TI-82 Image Files (*.82i)|*.82i|TI-83 Image Files (*.83I)|*.83I|Bitmaps "
                     "(*.bmp)|*.bmp";
    request.defaultExtension = "82i";
    request.entriesWithOwnExtension = {3};
    // The user picks an entry in the type box with the keyboard and types a bare name.
    for (const auto& [downs, expected] :
         {std::pair{2, "pic.bmp"}, {1, "pic.82i"}, {0, "pic.82i"}}) {
        QString title;
        QTimer::singleShot(0, [&, downs = downs] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            title = dialog->windowTitle();
            dialog->setDirectory(dir.path());
            auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            if (!types || !name) {
                dialog->reject();
                return;
            }
            for (int i = 0; i < downs; ++i)
                QTest::keyClick(types, Qt::Key_Down);
            QTest::keyClicks(name, "pic");
            QTest::keyClick(name, Qt::Key_Return);
        });
        core::QtPrompts prompts;
        const core::FileDialogAnswer answer = prompts.askFileName(nullptr, request);
        EXPECT_EQ(title, "Dotwell Save As...");
        ASSERT_TRUE(answer.accepted) << downs;
        EXPECT_EQ(answer.path, dir.filePath(expected)) << downs;
        EXPECT_EQ(answer.filterIndex, downs + 1);
    }
}

// Any byte string survives the trip through a QString: valid UTF-8 decodes as text, each
// stray byte as itself, and shows as \xNN.
TEST(FileNames, AnyBytesComeBackAndStrayBytesShowReadably) {
    const std::pair<QByteArray, QString> rows[] = {
        {"plain.83i", "plain.83i"},
        {"caf\xC3\xA9 \xF0\x9F\x98\x80.8xi", QString::fromUtf8("caf\u00E9 \U0001F600.8xi")},
        {"bad\xFF.83i", "bad\\xFF.83i"},
        {"\xC0\xAF", "\\xC0\\xAF"},                   // an overlong slash
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},          // a surrogate's bytes
        {"cut\xE2\x82", "cut\\xE2\\x82"},             // a sequence cut short
        {"\x80lone", "\\x80lone"},                    // a continuation byte alone
        {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"}, // past U+10FFFF
    };
    for (const auto& [bytes, shown] : rows) {
        const QString name = core::decodeFileName(bytes);
        EXPECT_EQ(core::encodeFileName(name), bytes) << bytes.toHex().toStdString();
        EXPECT_EQ(core::displayFileName(name), shown) << bytes.toHex().toStdString();
    }
}
