// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMimeDatabase>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tests/support/files.h"
#include "tests/support/processes.h"

using testing_support::readAll;
using testing_support::writeAll;

namespace {

using testing_support::Ran;

Ran run(const QString& program, const QStringList& arguments,
        const QProcessEnvironment& extra = {}) {
    return testing_support::runWithoutDisplay(program, arguments, {}, extra);
}

// The build installed into a staging folder, as `make install DESTDIR=...` does.
class Installed : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(stage.isValid());
        QProcessEnvironment destdir;
        destdir.insert("DESTDIR", stage.path());
        const Ran installed = run("cmake", {"--install", BUILD_DIR, "--prefix", "/usr"}, destdir);
        ASSERT_EQ(installed.code, 0) << installed.err.toStdString();
    }
    QString file(const QString& path) const { return stage.path() + "/usr/" + path; }

    QTemporaryDir stage;
};

TEST_F(Installed, EverythingLandsInItsPlace) {
    QStringList expected{"bin/dotwell",
                         "bin/pixvane",
                         "bin/calcpic",
                         "share/applications/dotwell.desktop",
                         "share/applications/pixvane.desktop",
                         "share/metainfo/org.calcpic.dotwell.metainfo.xml",
                         "share/metainfo/org.calcpic.pixvane.metainfo.xml",
                         "share/mime/packages/calcpic-pictures.xml",
                         "share/man/man1/dotwell.1",
                         "share/man/man1/pixvane.1",
                         "share/man/man1/calcpic.1"};
    for (const char* app : {"dotwell", "pixvane"}) {
        expected << QString("share/icons/hicolor/scalable/apps/%1.svg").arg(app);
        for (int size : {16, 32, 48, 64, 128, 256})
            expected << QString("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(app);
    }
    QStringList found;
    QDirIterator it(stage.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next().mid(stage.path().size() + 5); // after "/usr/"
    found.sort();
    expected.sort();
    EXPECT_EQ(found, expected);
    for (const char* program : {"dotwell", "pixvane", "calcpic"})
        EXPECT_TRUE(QFileInfo(file(QString("bin/") + program)).isExecutable()) << program;
    for (const char* app : {"dotwell", "pixvane"}) {
        for (int size : {16, 32, 48, 64, 128, 256}) {
            const QString icon =
                file(QString("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(app));
            EXPECT_EQ(QImage(icon).size(), QSize(size, size)) << icon.toStdString();
        }
    }
}

TEST_F(Installed, DesktopFilesAndMetainfoValidate) {
    for (const char* app : {"dotwell", "pixvane"}) {
        const Ran desktop =
            run("desktop-file-validate", {file(QString("share/applications/%1.desktop").arg(app))});
        EXPECT_EQ(desktop.code, 0) << desktop.out.toStdString();
        // It exits 0 on warnings too.
        EXPECT_FALSE(desktop.out.contains("error:") || desktop.out.contains("warning:"))
            << desktop.out.toStdString();
        const Ran metainfo = run("appstreamcli", {"validate", "--no-net", "--pedantic",
                                                  file(QString("share/metainfo/org.calcpic.%1."
                                                               "metainfo.xml")
                                                           .arg(app))});
        EXPECT_EQ(metainfo.code, 0) << metainfo.out.toStdString();
    }
    const Ran tree = run("appstreamcli", {"validate-tree", "--no-net", stage.path()});
    EXPECT_EQ(tree.code, 0) << tree.out.toStdString();
}

// Debian's shared-mime-info ships its grammar only as the DTD inside its own package file.
TEST_F(Installed, MimePackageIsValidAgainstTheSharedMimeInfoGrammar) {
    const QByteArray own = readAll("/usr/share/mime/packages/freedesktop.org.xml");
    const qsizetype from = own.indexOf("<!DOCTYPE mime-info [");
    const qsizetype to = own.indexOf("\n]>", from);
    ASSERT_TRUE(from >= 0 && to > from) << "no DTD in shared-mime-info's package";
    const QString dtd = stage.path() + "/mime-info.dtd";
    writeAll(dtd, own.mid(from + 21, to - from - 21));
    const Ran valid = run("xmllint", {"--noout", "--dtdvalid", dtd,
                                      file("share/mime/packages/calcpic-pictures.xml")});
    EXPECT_EQ(valid.code, 0) << valid.err.toStdString();
    // The check has teeth: a misspelt element fails it.
    QByteArray broken = readAll(file("share/mime/packages/calcpic-pictures.xml"));
    broken.replace("<glob ", "<glop ");
    writeAll(stage.path() + "/broken.xml", broken);
    EXPECT_NE(run("xmllint", {"--noout", "--dtdvalid", dtd, stage.path() + "/broken.xml"}).code, 0);
}

// The database built from the installed package alone, read by Qt's own reader.
TEST_F(Installed, TheMimeDatabaseKnowsEachPictureByNameAndByContent) {
    const Ran built = run("update-mime-database", {file("share/mime")});
    ASSERT_EQ(built.code, 0) << built.err.toStdString();
    qputenv("XDG_DATA_DIRS", QFile::encodeName(file("share")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(stage.path() + "/home"));
    const QMimeDatabase db;
    struct Row {
        const char* name;
        QByteArray content;
        const char* type;
    };
    const std::vector<Row> rows{
        {"x.82i", "**TI82**", "application/x-ti82-picture"},
        {"x.83i", "**TI83**", "application/x-ti83-picture"},
        {"X.83I", "**TI83**", "application/x-ti83-picture"},
        {"x.8xi", "**TI83F*", "application/x-ti83plus-picture"},
        {"x.92i", "**TI92**", "application/x-ti92-picture"},
        {"x.9xi", "**TI92P*", "application/x-ti92plus-picture"},
        {"x.v2i", "**TI92P*", "application/x-v200-picture"},
        {"noname83", "**TI83**", "application/x-ti83-picture"}, // by the magic alone
        {"noname8x", "**TI83F*", "application/x-ti83plus-picture"},
        {"noname9x", "**TI92P*", "application/x-ti92plus-picture"},
    };
    for (const Row& row : rows) {
        const QString path = stage.path() + "/" + row.name;
        writeAll(path, row.content + QByteArray(60, '\0'));
        EXPECT_EQ(db.mimeTypeForFile(path).name(), row.type) << row.name;
    }
    EXPECT_TRUE(db.mimeTypeForName("application/x-v200-picture")
                    .inherits("application/x-ti92plus-picture"));
    EXPECT_EQ(db.mimeTypeForName("application/x-ti83-picture").comment(),
              "TI-83 calculator picture");
}

TEST(CommandLine, HelpAndVersionNeedNoDisplayAndNoDisplayIsOneLine) {
    for (const auto& [path, name] :
         {std::pair{DOTWELL_PATH, "dotwell"}, std::pair{PIXVANE_PATH, "pixvane"}}) {
        Ran ran = run(path, {"--help"});
        EXPECT_EQ(ran.code, 0) << name;
        EXPECT_TRUE(ran.out.startsWith(QString("usage: %1 [FILE]\n").arg(name))) << name;
        ran = run(path, {"--version"});
        EXPECT_EQ(ran.code, 0) << name;
        EXPECT_EQ(ran.out, QString("%1 2.6\n").arg(name));
        // Anything else is a picture to open, which needs the window, which needs a display.
        for (const QStringList& arguments : {QStringList{}, QStringList{"--help", "x"}}) {
            ran = run(path, arguments);
            EXPECT_EQ(ran.code, 1) << name;
            EXPECT_EQ(ran.out, "");
            EXPECT_TRUE(ran.err.startsWith(QString("%1: no display").arg(name)))
                << ran.err.toStdString();
            EXPECT_EQ(ran.err.count('\n'), 1) << ran.err.toStdString();
        }
    }
    const Ran version = run(CALCPIC_PATH, {"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, "calcpic 2.6\n");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
