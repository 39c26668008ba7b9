// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <map>
#include <set>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMimeDatabase>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include "core/formats/format_registry.h"

#include "core/model/canvas.h"
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

Ran runIn(const QString& directory, const QString& program, const QStringList& arguments,
          const QProcessEnvironment& extra = {}) {
    return testing_support::runWithoutDisplay(program, arguments, directory, extra);
}

QString source(const QString& path) {
    return QStringLiteral(SOURCE_DIR "/") + path;
}

// A picture type as the installed MIME package declares it.
struct PictureType {
    QString name;
    QString comment;                         // "TI-83 Plus and TI-84 Plus calculator picture"
    QStringList globs;                       // "*.8xi"
    QByteArray signature;                    // what the magic rule matches at offset 0
    std::vector<std::pair<int, char>> marks; // the bytes it also looks at, where the rule nests
    QStringList parents;

    // The shortest content its magic rule matches: the signature, the marks, zeros between.
    QByteArray content() const {
        QByteArray bytes = signature + QByteArray(80, '\0');
        for (const auto& [offset, value] : marks)
            bytes[offset] = value;
        return bytes;
    }

    QString extension() const { return globs.value(0).mid(2); }
    // The calculators a picture of this type is for, from its comment.
    QStringList models() const {
        QString text = comment;
        text.remove(" calculator picture");
        return text.replace(" and ", ", ").split(", ");
    }
};

// Every type of the MIME package: the one list the other lists are checked against, so that a
// new format is picked up here from the package alone.
std::vector<PictureType> pictureTypes(const QString& package) {
    std::vector<PictureType> types;
    QFile file(package);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << package.toStdString();
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto name = xml.name();
        const auto attributes = xml.attributes();
        if (name == u"mime-type")
            types.push_back({attributes.value("type").toString(), {}, {}, {}, {}, {}});
        else if (name == u"comment")
            types.back().comment = xml.readElementText();
        else if (name == u"glob")
            types.back().globs << attributes.value("pattern").toString();
        else if (name == u"match" && attributes.value("offset") == u"0")
            types.back().signature = attributes.value("value").toLatin1();
        else if (name == u"match" && attributes.value("type") == u"byte")
            types.back().marks.emplace_back(attributes.value("offset").toInt(),
                                            char(attributes.value("value").toInt(nullptr, 16)));
        else if (name == u"sub-class-of")
            types.back().parents << attributes.value("type").toString();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_FALSE(types.empty());
    return types;
}

// Whether an editor opens pictures of this type; until the editors hold colour, calcpic alone
// reads the colour calculators' types.
bool anEditorOpens(const QString& type) {
    for (const core::FormatDescriptor& f : core::allFormats())
        if (QString::fromLatin1(f.mimeType.data(), qsizetype(f.mimeType.size())) == type)
            return core::editorOpens(f, f.program);
    return false;
}

// The head of a **TI83F* file with this type byte (59) and version byte (68).
QByteArray colourHead(char type, char version) {
    QByteArray head = "**TI83F*" + QByteArray(72 - 8, '\0');
    head[59] = type;
    head[68] = version;
    return head;
}

// Whether pictures of this type hold colours rather than black and white.
bool inColour(const QString& type) {
    for (const core::FormatDescriptor& f : core::allFormats())
        if (QString::fromLatin1(f.mimeType.data(), qsizetype(f.mimeType.size())) == type)
            return f.cells != core::CellKind::Monochrome;
    return false;
}

// A key of a desktop entry or thumbnailer, as text; lists split at ';'.
QString keyOf(const QString& path, const QString& key) {
    for (const QString& line : QString::fromUtf8(readAll(path)).split('\n')) {
        if (line.startsWith(key + "="))
            return line.mid(key.size() + 1);
    }
    return {};
}
QStringList listOf(const QString& path, const QString& key) {
    return keyOf(path, key).split(';', Qt::SkipEmptyParts);
}

// The text of the first element of that name in an XML file.
QString elementOf(const QString& path, const QString& element) {
    const QString text = QString::fromUtf8(readAll(path));
    const QRegularExpression re("<" + element + "(?: [^>]*)?>([^<]*)</" + element + ">");
    return re.match(text).captured(1).trimmed();
}

QStringList elementsOf(const QString& path, const QString& element) {
    QStringList found;
    const QRegularExpression re("<" + element + "(?: [^>]*)?>([^<]*)</" + element + ">");
    auto it = re.globalMatch(QString::fromUtf8(readAll(path)));
    while (it.hasNext())
        found << it.next().captured(1).trimmed();
    return found;
}

// The NAME line of a manual page: "dotwell \- draw and edit ...".
QString manName(const QString& path) {
    const QStringList lines = QString::fromUtf8(readAll(path)).split('\n');
    const qsizetype at = lines.indexOf(".SH NAME");
    // As man shows it: roff's \- is a plain hyphen.
    return at >= 0 && at + 1 < lines.size() ? QString(lines[at + 1]).replace("\\-", "-")
                                            : QString();
}

std::set<QString> asSet(const QStringList& list) {
    return {list.begin(), list.end()};
}

// A word for sh -c, whatever it holds.
QString shellQuoted(QString text) {
    return "'" + text.replace("'", "'\\''") + "'";
}

// Every file of a folder with a digest of its content, relative to it.
std::map<QString, QByteArray> snapshot(const QString& folder) {
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[path.mid(folder.size() + 1)] =
            QCryptographicHash::hash(readAll(path), QCryptographicHash::Sha256).toHex();
    }
    return files;
}

// The files of the source tree: those git knows (and new ones it does not ignore), or, in a
// tree without git (a source tarball, a package build), every file but what builds make.
QStringList sourceFiles() {
    // What builds leave in the tree: build/, dpkg-buildpackage's obj-*/ and debian/ products.
    static const QRegularExpression made(
        R"(^(\.git/|\.pc/|build/|obj-[^/]*/|debian/(?!source/)[^/]+/|debian/files$|)"
        R"(debian/debhelper-build-stamp$|debian/.*\.(substvars|debhelper\.log|debhelper)$))");
    // Only the tree's own repository: a copy of the tree inside another checkout (make
    // package builds in build/package/src) is not what that checkout's git lists.
    const Ran top = runIn(SOURCE_DIR, "git", {"rev-parse", "--show-toplevel"});
    const bool ownRepository = top.code == 0 && QFileInfo(top.out.trimmed()).canonicalFilePath() ==
                                                    QFileInfo(SOURCE_DIR).canonicalFilePath();
    QStringList files;
    if (ownRepository) {
        const Ran git = runIn(SOURCE_DIR, "git",
                              {"ls-files", "-z", "--cached", "--others", "--exclude-standard"});
        EXPECT_EQ(git.code, 0) << git.err.toStdString();
        for (const QString& name : git.out.split(QChar(0), Qt::SkipEmptyParts)) {
            if (QFileInfo(source(name)).isFile() && !made.match(name).hasMatch())
                files << name;
        }
        return files;
    }
    const QString root = SOURCE_DIR;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = it.next().mid(root.size() + 1);
        if (!made.match(relative).hasMatch())
            files << relative;
    }
    return files;
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
                         "share/applications/io.github.dotwell.Dotwell.desktop",
                         "share/applications/io.github.dotwell.Pixvane.desktop",
                         "share/metainfo/io.github.dotwell.Dotwell.metainfo.xml",
                         "share/metainfo/io.github.dotwell.Pixvane.metainfo.xml",
                         "share/mime/packages/calcpic-pictures.xml",
                         "share/thumbnailers/calcpic.thumbnailer",
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
    for (const char* app : {"io.github.dotwell.Dotwell", "io.github.dotwell.Pixvane"}) {
        const Ran desktop =
            run("desktop-file-validate", {file(QString("share/applications/%1.desktop").arg(app))});
        EXPECT_EQ(desktop.code, 0) << desktop.out.toStdString();
        // It exits 0 on warnings too.
        EXPECT_FALSE(desktop.out.contains("error:") || desktop.out.contains("warning:"))
            << desktop.out.toStdString();
        const Ran metainfo =
            run("appstreamcli", {"validate", "--no-net", "--pedantic",
                                 file(QString("share/metainfo/%1.metainfo.xml").arg(app))});
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
        // The colour files share the .8xi's signature; their type and version bytes tell.
        {"x.8ci", "**TI83F*", "application/x-ti84ce-picture"},
        {"x.8ca", "**TI83F*", "application/x-ti84ce-image"},
        {"noname8ci", colourHead(0x07, 0x0A), "application/x-ti84ce-picture"},
        {"noname8ca", colourHead(0x1A, 0x00), "application/x-ti84ce-image"},
        {"noname8x7", colourHead(0x07, 0x00), "application/x-ti83plus-picture"},
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

// The desktop file, the AppStream component and its launchable share one id; the entry names
// the installed program and icon; no placeholder address is left anywhere.
TEST_F(Installed, IdentifiersAgreeAndNothingPointsToAPlaceholder) {
    const QStringList desktops =
        QDir(file("share/applications")).entryList({"*.desktop"}, QDir::Files);
    ASSERT_EQ(desktops.size(), 2);
    for (const QString& desktop : desktops) {
        const QString id = desktop.chopped(8);
        const QString entry = file("share/applications/" + desktop);
        const QString metainfo = file("share/metainfo/" + id + ".metainfo.xml");
        ASSERT_TRUE(QFileInfo::exists(metainfo)) << metainfo.toStdString();
        EXPECT_TRUE(
            QRegularExpression(R"(^[a-z]+(\.[a-z]+)+\.[A-Z][A-Za-z]*$)").match(id).hasMatch())
            << id.toStdString();
        EXPECT_EQ(elementOf(metainfo, "id"), id);
        EXPECT_EQ(elementOf(metainfo, "launchable"), desktop);
        EXPECT_EQ(elementOf(metainfo, "project_license"), "GPL-2.0-or-later");
        const QString program = elementOf(metainfo, "binary");
        EXPECT_EQ(keyOf(entry, "TryExec"), "/usr/bin/" + program);
        EXPECT_EQ(keyOf(entry, "Exec"), "/usr/bin/" + program + " %f");
        EXPECT_TRUE(QFileInfo(file("bin/" + program)).isExecutable()) << program.toStdString();
        // Qt names the window's X11 class after the application, whose name both give.
        EXPECT_EQ(keyOf(entry, "StartupWMClass"), elementOf(metainfo, "name"));
        const QString icon = keyOf(entry, "Icon");
        EXPECT_TRUE(QFileInfo::exists(file("share/icons/hicolor/scalable/apps/" + icon + ".svg")))
            << icon.toStdString();
    }
    QDirIterator it(stage.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QByteArray bytes = readAll(it.next());
        EXPECT_FALSE(bytes.contains("example.org") || bytes.contains("example.com"))
            << it.filePath().toStdString();
    }
}

// Every picture type of the MIME package has an editor, a thumbnail and its calculators named
// where a user searches for them: the editor's menu comment, its AppStream summary and the
// NAME line of its manual (`man -k TI-84`).
TEST_F(Installed, EveryPictureTypeHasAnEditorAThumbnailAndItsModelsNamed) {
    const auto types = pictureTypes(file("share/mime/packages/calcpic-pictures.xml"));
    QStringList all, withEditor;
    for (const PictureType& type : types) {
        all << type.name;
        if (anEditorOpens(type.name))
            withEditor << type.name;
    }
    EXPECT_EQ(withEditor, all);
    const QString thumbnailer = file("share/thumbnailers/calcpic.thumbnailer");
    EXPECT_EQ(asSet(listOf(thumbnailer, "MimeType")), asSet(all));
    EXPECT_EQ(keyOf(thumbnailer, "Exec"), "/usr/bin/calcpic thumbnail -s %s %i %o");

    QStringList edited;
    for (const QString& desktop :
         QDir(file("share/applications")).entryList({"*.desktop"}, QDir::Files)) {
        const QString entry = file("share/applications/" + desktop);
        const QString metainfo = file("share/metainfo/" + desktop.chopped(8) + ".metainfo.xml");
        const QStringList handled = listOf(entry, "MimeType");
        edited << handled;
        EXPECT_EQ(asSet(elementsOf(metainfo, "mediatype")), asSet(handled))
            << desktop.toStdString();
        const QString program = elementOf(metainfo, "binary");
        const QString texts[]{keyOf(entry, "Comment"), elementOf(metainfo, "summary"),
                              manName(file("share/man/man1/" + program + ".1"))};
        for (const PictureType& type : types) {
            if (!handled.contains(type.name))
                continue;
            for (const QString& model : type.models())
                for (const QString& text : texts)
                    EXPECT_TRUE(text.contains(model))
                        << model.toStdString() << " missing in: " << text.toStdString();
        }
    }
    EXPECT_EQ(asSet(edited), asSet(withEditor));
    EXPECT_EQ(edited.size(), withEditor.size()) << "a type with two editors";
    const QString calcpic = manName(file("share/man/man1/calcpic.1"));
    for (const PictureType& type : types)
        for (const QString& model : type.models())
            EXPECT_TRUE(calcpic.contains(model)) << model.toStdString();
    // The package lists exactly the registry's formats, each with the editor that opens it.
    QStringList registered;
    for (const core::FormatDescriptor& f : core::allFormats()) {
        registered << QString::fromLatin1(f.mimeType.data(), qsizetype(f.mimeType.size()));
        const QString id = f.program == core::Program::Dotwell ? "io.github.dotwell.Dotwell"
                                                               : "io.github.dotwell.Pixvane";
        const bool opened = core::editorOpens(f, f.program);
        EXPECT_EQ(listOf(file("share/applications/" + id + ".desktop"), "MimeType")
                      .contains(registered.back()),
                  opened)
            << registered.back().toStdString();
        const QString manual = QString::fromUtf8(readAll(
            file("share/man/man1/" +
                 QString(f.program == core::Program::Dotwell ? "dotwell" : "pixvane") + ".1")));
        EXPECT_EQ(manual.contains(".B ." + QString::fromLatin1(f.extension.data(),
                                                               qsizetype(f.extension.size()))),
                  opened);
    }
    EXPECT_EQ(asSet(registered), asSet(all));
}

// One version and one date, wherever they are written.
TEST_F(Installed, ManPagesAndMetainfoCarryTheVersionAndItsDate) {
    const QRegularExpression th(R"re(^\.TH \S+ 1 "?(\d{4}-\d{2}-\d{2})"? "(\S+) (\S+)")re",
                                QRegularExpression::MultilineOption);
    for (const char* program : {"dotwell", "pixvane", "calcpic"}) {
        const auto match =
            th.match(QString::fromUtf8(readAll(file(QString("share/man/man1/%1.1").arg(program)))));
        ASSERT_TRUE(match.hasMatch()) << program;
        EXPECT_EQ(match.captured(1), DOTWELL_RELEASE_DATE) << program;
        EXPECT_EQ(match.captured(2), program);
        EXPECT_EQ(match.captured(3), PROJECT_VERSION) << program;
    }
    for (const QString& metainfo : QDir(file("share/metainfo")).entryList(QDir::Files)) {
        const QByteArray text = readAll(file("share/metainfo/" + metainfo));
        EXPECT_TRUE(text.contains(QString(R"(<release version="%1" date="%2"/>)")
                                      .arg(PROJECT_VERSION, DOTWELL_RELEASE_DATE)
                                      .toUtf8()))
            << metainfo.toStdString();
    }
    if (QFileInfo::exists(source("debian/changelog"))) {
        EXPECT_TRUE(readAll(source("debian/changelog"))
                        .startsWith(QByteArray("dotwell-pixvane (") + PROJECT_VERSION + "-"));
    }
}

// Every source, script, build and data file starts with the licence and the copyright, in its
// own comment syntax; a new file without them fails here.
TEST(SourceTree, EveryFileCarriesTheLicenceAndTheCopyright) {
    const QStringList files = sourceFiles();
    ASSERT_GT(files.size(), 150);
    // The licence itself, the changelog and the copyright summary of the package (whose formats
    // have no comments), and the README, which says the licence in words.
    const QStringList exempt{"COPYING", "README.md", "debian/changelog", "debian/copyright",
                             "debian/source/format"};
    const QRegularExpression copyright(
        R"(Copyright \(C\) \d{4}(-\d{4})? The Dotwell and Pixvane authors)");
    int checked = 0;
    for (const QString& name : files) {
        const QByteArray bytes = readAll(source(name));
        if (exempt.contains(name) || bytes.contains('\0'))
            continue; // pictures and calculator files
        const QString head = QString::fromUtf8(bytes.left(400));
        // AppStream takes metadata only under a licence such as CC0; the programs are GPL.
        const QString licence = name.contains(".metainfo.xml") ? "CC0-1.0" : "GPL-2.0-or-later";
        EXPECT_TRUE(head.contains("SPDX-License-Identifier: " + licence)) << name.toStdString();
        EXPECT_TRUE(copyright.match(head).hasMatch()) << name.toStdString();
        if (name.contains(".metainfo.xml")) {
            EXPECT_EQ(elementOf(source(name), "metadata_license"), licence);
        }
        ++checked;
    }
    EXPECT_GT(checked, 150);
    EXPECT_TRUE(readAll(source("COPYING"))
                    .contains("GNU GENERAL PUBLIC LICENSE\n"
                              "                       Version 2, June 1991"));
    const QByteArray copyrightFile = readAll(source("debian/copyright"));
    EXPECT_TRUE(copyrightFile.contains("Files: *\nCopyright: 2026 The Dotwell and Pixvane "
                                       "authors\nLicense: GPL-2+\n"));
    EXPECT_TRUE(readAll(source("README.md")).contains("GPL-2.0-or-later"));
}

// A user without root and without sudo is told what to install and how, and nothing is run.
TEST(Scripts, InstallDepsWithoutRootOrSudoSaysWhatToInstall) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString bin = dir.filePath("bin");
    ASSERT_TRUE(QDir().mkpath(bin));
    for (const char* tool : {"bash", "grep", "cat", "cut"})
        ASSERT_TRUE(QFile::link(QStandardPaths::findExecutable(tool), bin + "/" + tool)) << tool;
    const auto fake = [&](const QString& name, const QByteArray& script) {
        writeAll(bin + "/" + name, "#!" + QFile::encodeName(bin) + "/bash\n" + script);
        QFile(bin + "/" + name)
            .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };
    const QByteArray log = QFile::encodeName(dir.filePath("ran.log"));
    fake("id", "echo 1000\n");
    fake("dpkg-query", "exit 1\n"); // nothing is installed
    fake("apt-get", "echo \"apt-get $*\" >> '" + log + "'\n");
    QProcessEnvironment env;
    env.insert("PATH", bin);
    Ran ran = runIn(dir.path(), "/usr/bin/env", {source("scripts/install-deps"), "run"}, env);
    EXPECT_EQ(ran.code, 1) << ran.err.toStdString();
    EXPECT_FALSE(ran.err.contains("not found")) << ran.err.toStdString();
    EXPECT_TRUE(ran.err.contains("install them as root")) << ran.err.toStdString();
    const QRegularExpression command(R"(\n    apt-get install (.*)\n)");
    const QStringList named = command.match(ran.err).captured(1).split(' ');
    for (const char* package : {"g++", "make", "qt6-base-dev", "qt6-qpa-plugins"})
        EXPECT_TRUE(named.contains(package)) << package << ": " << ran.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("ran.log")));

    // With sudo there, it goes through sudo, asking for the same packages.
    fake("sudo", "echo \"sudo $*\" >> '" + log + "'\n");
    ran = runIn(dir.path(), "/usr/bin/env", {source("scripts/install-deps"), "run"}, env);
    EXPECT_EQ(ran.code, 0) << ran.err.toStdString();
    const QString calls = QString::fromUtf8(readAll(dir.filePath("ran.log")));
    EXPECT_TRUE(calls.startsWith("sudo apt-get update")) << calls.toStdString();
    EXPECT_TRUE(calls.contains("sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "
                               "--no-install-recommends " +
                               named.join(' ')))
        << calls.toStdString();
}

// `make run FILE=...` hands the program the name as typed, relative to where make started,
// whatever quotes and blanks it holds.
TEST(Scripts, MakeRunPassesAnyFileNameAsItIs) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString program = dir.filePath("release/dotwell/dotwell");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(program).path()));
    writeAll(program, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done\n");
    QFile(program).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString started = dir.filePath("pictures");
    ASSERT_TRUE(QDir().mkpath(started));
    for (const QString& name : {QString("Dad's pic.83i"), QString(R"(a "quoted" $HOME `x`.8xi)"),
                                QString("/abs/olute path.92i")}) {
        QProcessEnvironment env;
        env.insert("DISPLAY", ":99"); // as on a desktop
        env.insert("PWD", started);   // as a shell sets it
        env.insert("MAKEFLAGS", "");  // not a sub-make of a package build's make
        env.insert("MAKELEVEL", "");
        // MAKE=true skips the release build; RELEASE_DIR points at the stand-in program.
        const Ran ran =
            runIn(started, "make",
                  {"-s", "--no-print-directory", "-C", SOURCE_DIR, "run", "APP=dotwell",
                   "FILE=" + name, "MAKE=true", "RELEASE_DIR=" + dir.filePath("release")},
                  env);
        EXPECT_EQ(ran.code, 0) << ran.err.toStdString();
        const QString expected = name.startsWith('/') ? name : started + "/" + name;
        EXPECT_EQ(ran.out, expected + "\n") << ran.err.toStdString();
    }
}

// A prefix installed into directly, as `make install PREFIX=$HOME/.local` does: no DESTDIR,
// nothing staged, the desktop reads it as it is.
class HomePrefix : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        for (const char* folder : {"home", "data-home", "config", "elsewhere", "files"})
            ASSERT_TRUE(QDir(dir.path()).mkdir(folder));
    }
    QString path(const QString& name) const { return dir.filePath(name); }

    // What a user's shell has: PATH without the prefix's bin, no DESTDIR.
    QProcessEnvironment user() const {
        QProcessEnvironment env;
        env.insert("HOME", path("home"));
        env.insert("PATH", "/usr/bin:/bin");
        env.insert("DESTDIR", "");
        return env;
    }
    // What a desktop session reads: the prefix's share and nothing else of the machine's.
    QProcessEnvironment desktop(const QString& prefix) const {
        QProcessEnvironment env = user();
        env.insert("XDG_DATA_DIRS", prefix + "/share");
        env.insert("XDG_DATA_HOME", path("data-home"));
        env.insert("XDG_CONFIG_HOME", path("config"));
        env.insert("XDG_CONFIG_DIRS", path("config"));
        env.insert("LC_ALL", "C.UTF-8");
        return env;
    }
    Ran script(const char* action, const QString& prefix) const {
        return runIn(path("elsewhere"), source("scripts/install-prefix"),
                     {action, BUILD_DIR, prefix}, user());
    }
    // The desktop file gio chooses to open this type with.
    QString defaultApplication(const QString& prefix, const QString& type) const {
        const Ran ran = runIn(path("elsewhere"), "gio", {"mime", type}, desktop(prefix));
        const QRegularExpression line(R"(^Default application for .*: (\S+)$)",
                                      QRegularExpression::MultilineOption);
        return line.match(ran.out).captured(1);
    }
    QStringList registeredApplications(const QString& prefix, const QString& type) const {
        const Ran ran = runIn(path("elsewhere"), "gio", {"mime", type}, desktop(prefix));
        const QString registered = ran.out.section("Registered applications:\n", 1)
                                       .section("Recommended applications:", 0, 0);
        return registered.simplified().split(' ', Qt::SkipEmptyParts);
    }
    // The editor's desktop file that declares this type.
    QString editorOf(const QString& prefix, const QString& type) const {
        for (const QString& desktop :
             QDir(prefix + "/share/applications").entryList({"io.github.*.desktop"}, QDir::Files)) {
            if (listOf(prefix + "/share/applications/" + desktop, "MimeType").contains(type))
                return desktop;
        }
        return {};
    }
    // Each type of the prefix's package found by Qt by each glob, in both cases of letters,
    // and by its content alone (the parent type for content shared with it).
    void expectEveryTypeKnown(const QString& prefix) {
        qputenv("XDG_DATA_DIRS", QFile::encodeName(prefix + "/share"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(path("data-home")));
        const QMimeDatabase db;
        QStringList names;   // for File::MimeInfo's mimetype, which xdg-mime uses outside a
        QStringList answers; // desktop environment: it ignores weights, tries the case first
        for (const PictureType& type :
             pictureTypes(prefix + "/share/mime/packages/calcpic-pictures.xml")) {
            const QByteArray content = type.content();
            for (const QString& glob : type.globs) {
                for (const QString& name : {"x" + glob.mid(1), "X" + glob.mid(1).toUpper()}) {
                    writeAll(path("files/" + name), content);
                    EXPECT_EQ(db.mimeTypeForFile(path("files/" + name)).name(), type.name)
                        << name.toStdString();
                    // By the name alone, as a file manager lists a folder.
                    EXPECT_EQ(db.mimeTypeForFile(name, QMimeDatabase::MatchExtension).name(),
                              type.name)
                        << name.toStdString();
                    names << path("files/" + name);
                    answers << type.name;
                }
            }
            const QMimeType byContent = db.mimeTypeForData(content);
            EXPECT_TRUE(byContent.name() == type.name ||
                        db.mimeTypeForName(type.name).inherits(byContent.name()))
                << type.name.toStdString() << " by content: " << byContent.name().toStdString();
            for (const QString& parent : type.parents)
                EXPECT_TRUE(db.mimeTypeForName(type.name).inherits(parent));
            const QString editor = editorOf(prefix, type.name);
            EXPECT_EQ(editor.isEmpty(), !anEditorOpens(type.name)) << type.name.toStdString();
            if (!editor.isEmpty()) {
                EXPECT_EQ(defaultApplication(prefix, type.name), editor) << type.name.toStdString();
            }
        }
        const Ran mimetype =
            runIn(path("elsewhere"), "mimetype", QStringList{"-b"} + names, desktop(prefix));
        EXPECT_EQ(mimetype.out.split('\n', Qt::SkipEmptyParts), answers)
            << names.join(' ').toStdString() << mimetype.err.toStdString();
    }

    QTemporaryDir dir;
};

TEST_F(HomePrefix, RegistersEveryTypeAndEditorAtOnceAndUninstallLeavesNothing) {
    const QString home = path("Dad's home"); // a blank and an apostrophe in every path
    const QString prefix = home + "/.local";
    const Ran installed = script("install", prefix);
    ASSERT_EQ(installed.code, 0) << installed.err.toStdString();
    EXPECT_TRUE(installed.out.contains(prefix + "/bin is not on your PATH"))
        << installed.out.toStdString();
    EXPECT_TRUE(installed.out.contains(prefix + "/share is not among the desktop's data folders"));
    EXPECT_TRUE(QFileInfo::exists(prefix + "/share/mime/mime.cache"));
    EXPECT_TRUE(QFileInfo::exists(prefix + "/share/applications/mimeinfo.cache"));
    if (!QStandardPaths::findExecutable("gtk-update-icon-cache").isEmpty()) {
        EXPECT_TRUE(QFileInfo::exists(prefix + "/share/icons/hicolor/icon-theme.cache"));
    }
    for (const QString& desktop :
         QDir(prefix + "/share/applications").entryList({"*.desktop"}, QDir::Files)) {
        const Ran valid = runIn(path("elsewhere"), "desktop-file-validate",
                                {prefix + "/share/applications/" + desktop});
        EXPECT_FALSE(valid.code != 0 || valid.out.contains("error:") ||
                     valid.out.contains("warning:"))
            << valid.out.toStdString();
    }
    expectEveryTypeKnown(prefix);

    const Ran removed = script("uninstall", prefix);
    EXPECT_EQ(removed.code, 0) << removed.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(home)) << snapshot(home).size() << " files left";
    EXPECT_EQ(script("uninstall", prefix).code, 1); // nothing recorded any more
}

// Debian's tilp2 claims every calculator picture name for its own broader types. With its
// definitions in the same prefix our types still win by name and content, the editors stay
// the default, and the link program is still offered; uninstall gives the prefix back as it
// was, caches included.
TEST_F(HomePrefix, OurTypesWinBesideTheLinkProgramsAndUninstallRestoresThePrefix) {
    const QString prefix = path("prefix");
    ASSERT_TRUE(QDir().mkpath(prefix + "/share/mime/packages"));
    ASSERT_TRUE(QDir().mkpath(prefix + "/share/applications"));
    ASSERT_TRUE(QFile::copy(source("tests/packaging/data/link_software_types.xml"),
                            prefix + "/share/mime/packages/link_software_types.xml"));
    ASSERT_TRUE(QFile::copy(source("tests/packaging/data/link-program.desktop"),
                            prefix + "/share/applications/link-program.desktop"));
    ASSERT_EQ(runIn(path("elsewhere"), "update-mime-database", {prefix + "/share/mime"}).code, 0);
    ASSERT_EQ(
        runIn(path("elsewhere"), "update-desktop-database", {prefix + "/share/applications"}).code,
        0);
    const auto before = snapshot(prefix);
    const Ran installed = script("install", prefix);
    ASSERT_EQ(installed.code, 0) << installed.err.toStdString();

    expectEveryTypeKnown(prefix);
    const QMimeDatabase db;
    for (const PictureType& type :
         pictureTypes(prefix + "/share/mime/packages/calcpic-pictures.xml")) {
        EXPECT_TRUE(db.mimeTypeForName(type.name).inherits("application/x-tilp"));
        EXPECT_TRUE(registeredApplications(prefix, type.name).contains("link-program.desktop"))
            << type.name.toStdString();
    }
    // Its own files stay its own (every picture name it claims is one of ours by now).
    writeAll(path("files/x.73p"), "**TI73**");
    EXPECT_EQ(db.mimeTypeForFile(path("files/x.73p")).name(), "application/x-tilp");
    writeAll(path("files/x.8xp"), "**TI83F*");
    EXPECT_EQ(db.mimeTypeForFile(path("files/x.8xp")).name(), "application/x-tilp");

    const Ran removed = script("uninstall", prefix);
    EXPECT_EQ(removed.code, 0) << removed.err.toStdString();
    EXPECT_EQ(snapshot(prefix), before);
}

// The thumbnailer entry run as a file manager runs it: %s, %i and %o put into Exec as quoted
// words, the line split as a shell splits it, from another folder, with the prefix's bin not
// on PATH. The picture comes back black on the screen colour (a colour one in its colours), at
// most SIZE on its long side, its cells whole squares.
TEST_F(HomePrefix, TheThumbnailerWorksAsAFileManagerCallsIt) {
    const QString prefix = path("Dad's home/.local");
    const Ran installed = script("install", prefix);
    ASSERT_EQ(installed.code, 0) << installed.err.toStdString();
    const QString entry = prefix + "/share/thumbnailers/calcpic.thumbnailer";
    const QString calcpic = keyOf(entry, "TryExec");
    ASSERT_TRUE(QFileInfo(calcpic).isExecutable()) << calcpic.toStdString();
    const QString exec = keyOf(entry, "Exec").replace("\\\\", "\\"); // a key file's escape
    QImage picture(240, 160, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter(&picture).fillRect(0, 0, 80, 50, Qt::black); // top left only
    for (int x = 0; x < 160; ++x)
        picture.setPixel(x, x, qRgb(0, 0, 0));
    ASSERT_TRUE(picture.save(path("files/picture.png")));
    const QRgb screen = 0xFF000000u | core::kScreenColour;

    const auto types = pictureTypes(prefix + "/share/mime/packages/calcpic-pictures.xml");
    EXPECT_EQ(asSet(listOf(entry, "MimeType")).size(), types.size());
    for (const PictureType& type : types) {
        EXPECT_TRUE(listOf(entry, "MimeType").contains(type.name)) << type.name.toStdString();
        const QString input = path("files/Dad's pic." + type.extension());
        Ran ran = runIn(
            path("files"), calcpic,
            {"convert", "picture.png", "--scale", "stretch", "--dither", "none", "-o", input});
        ASSERT_EQ(ran.code, 0) << ran.err.toStdString();
        ran = runIn(path("files"), calcpic, {"convert", input, "-o", input + ".png"});
        ASSERT_EQ(ran.code, 0) << ran.err.toStdString();
        const QImage cells(input + ".png");
        for (int size : {128, 256}) {
            const QString output = path(QString("files/out %1.png").arg(size));
            QString command = exec;
            command.replace("%s", QString::number(size))
                .replace("%i", shellQuoted(input))
                .replace("%u", shellQuoted(QUrl::fromLocalFile(input).toString()))
                .replace("%o", shellQuoted(output))
                .replace("%%", "%");
            ran = runIn(path("elsewhere"), "/bin/sh", {"-c", command}, user());
            ASSERT_EQ(ran.code, 0) << command.toStdString() << ": " << ran.err.toStdString();
            const QImage thumbnail(output, "PNG");
            ASSERT_FALSE(thumbnail.isNull()) << type.name.toStdString();
            const int longSide = std::max(cells.width(), cells.height());
            if (longSide > size) { // scaled down: the aspect kept within a pixel
                EXPECT_EQ(std::max(thumbnail.width(), thumbnail.height()), size);
                EXPECT_LE(std::abs(thumbnail.height() * cells.width() -
                                   thumbnail.width() * cells.height()),
                          longSide);
                continue;
            }
            const int zoom = size / longSide; // whole squares, as large as fit
            ASSERT_EQ(thumbnail.size(), cells.size() * zoom) << type.name.toStdString();
            // A colour picture shows its own colours, as calcpic writes it as an image.
            const bool colour = inColour(type.name);
            for (int y = 0; y < thumbnail.height(); ++y)
                for (int x = 0; x < thumbnail.width(); ++x)
                    ASSERT_EQ(thumbnail.pixel(x, y),
                              colour ? cells.pixel(x / zoom, y / zoom)
                              : cells.pixel(x / zoom, y / zoom) == qRgb(0, 0, 0) ? qRgb(0, 0, 0)
                                                                                 : screen)
                        << type.name.toStdString() << " " << size << " at " << x << ", " << y;
        }
    }
    EXPECT_EQ(script("uninstall", prefix).code, 0);
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
