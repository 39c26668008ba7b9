// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <bit>
#include <fstream>
#include <map>

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QSpinBox>

#include <gtest/gtest.h>

#include "core/imaging/picture_conversion_source.h"
#include "core/imaging/picture_writer.h"
#include "core/ui/convert_image_dialog.h"
#include "dotwell/frm_dotwell.h"
#include "pixvane/frm_pixvane.h"
#include "tests/support/files.h"
#include "tests/support/picture_bytes.h"
#include "tests/support/processes.h"
#include "tests/support/tifiles_check.h"
#include "tests/support/window_fixture.h"

using testing_support::readAll;
using testing_support::writeAll;

namespace {

using testing_support::Ran;

// The built program, as a user runs it.
Ran calcpic(const QStringList& arguments, const QString& directory,
            const QString& program = QStringLiteral(CALCPIC_PATH)) {
    return testing_support::runWithoutDisplay(program, arguments, directory);
}

// A shell command line run with $CALCPIC naming the built program: the shell's printf makes
// the arguments Qt cannot, such as a file name that is not UTF-8.
Ran calcpicInShell(const QString& script, const QString& directory) {
    QProcessEnvironment extra;
    extra.insert("CALCPIC", QStringLiteral(CALCPIC_PATH));
    return testing_support::runWithoutDisplay("/bin/sh", {"-c", script}, directory, extra);
}

bool existsByBytes(const QByteArray& name) {
    struct stat status {};
    return ::stat(name.constData(), &status) == 0;
}

QByteArray readByBytes(const QByteArray& name) {
    std::ifstream in(name.constData(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return QByteArray::fromStdString(bytes);
}

// The names in a folder as bytes, sorted, hidden ones too: Qt lists no name that is not UTF-8.
QByteArrayList namesIn(const QByteArray& folder) {
    QByteArrayList names;
    if (DIR* d = ::opendir(folder.constData())) {
        while (const dirent* entry = ::readdir(d)) {
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names << name;
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Characters a terminal acts on: C0 but the line feed, DEL, C1.
int controlCharacters(const QString& text) {
    int count = 0;
    for (QChar c : text)
        count += (c.unicode() < 0x20 && c != '\n') || (c.unicode() >= 0x7F && c.unicode() <= 0x9F);
    return count;
}

// A photo-like picture: a grey ramp across, a black disc, transparent at the left edge.
QImage photo(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int g = 255 * x / (w - 1);
            image.setPixel(x, y, qRgba(g, g, g, x < 4 ? 0 : 255));
        }
    QPainter p(&image);
    p.setBrush(Qt::black);
    p.drawEllipse(QPoint(w / 3, h / 2), h / 4, h / 4);
    return image;
}

// The editors' Save As filter entry for each calculator format.
const std::map<QString, int> kSaveAsEntry{{"82i", 1}, {"83i", 2}, {"8xi", 4},
                                          {"92i", 1}, {"9xi", 3}, {"v2i", 4}};
const QStringList kFormats{"82i", "83i", "8xi", "92i", "9xi", "v2i", "png", "bmp"};

bool isTi83(const QString& format) {
    return format == "82i" || format == "83i" || format == "8xi";
}
bool isImage(const QString& format) {
    return format == "png" || format == "bmp";
}

// Draws an asymmetric picture: a pen dot and a bar, so flipped rows or shifted columns show.
template <class Window> void drawSample(testing_support::TestWindow<Window>& f) {
    f.draw();
    f.window.miTool_Click(7);
    f.window.Picture1_MouseDown(1, 0, 10.5, 3.5);
    f.window.Picture1_MouseMove(1, 0, 40.5, 20.5);
    f.window.Picture1_MouseUp(1, 0, 40.5, 20.5);
}

// What the editor of that format writes when it saves what it holds under `name`.
template <class Window>
QByteArray savedBy(testing_support::TestWindow<Window>& f, const QString& format) {
    const QString name = f.path("editor." + format);
    QFile::remove(name);
    f.prompts.answerFile(name, kSaveAsEntry.at(format));
    f.window.miSaveAs_Click();
    return readAll(name);
}

// The cells of an image calcpic wrote: black is dark, white is clear, nothing else allowed.
core::PixelGrid cellsOf(const QImage& image, int zoom = 1) {
    core::PixelGrid grid(image.height() / zoom, image.width() / zoom);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            EXPECT_TRUE(c == qRgb(0, 0, 0) || c == qRgb(255, 255, 255)) << x << ", " << y;
            if (x % zoom == 0 && y % zoom == 0)
                grid.set(y / zoom, x / zoom, c == qRgb(0, 0, 0) ? 1 : 0);
            else
                EXPECT_EQ(grid.at(y / zoom, x / zoom), c == qRgb(0, 0, 0) ? 1 : 0);
        }
    return grid;
}

class Calcpic : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkdir("in"));
        makeInputs();
    }
    QString path(const QString& name) const { return dir.filePath(name); }

    // Inputs saved by the editors themselves, and two images.
    void makeInputs() {
        {
            testing_support::TestWindow<dotwell::FrmDotwell> f;
            drawSample(f);
            f.window.Option1[4]->setChecked(true); // Pic4
            f.window.Text1->setText("a dotwell comment");
            for (const QString format : {"82i", "83i", "8xi"})
                writeAll(path("in/in_" + format + "." + format), savedBy(f, format));
        }
        {
            testing_support::TestWindow<pixvane::FrmPixvane> f;
            drawSample(f);
            f.window.Text3->setText("games");
            f.window.Text2->setText("sprite");
            f.window.Text1->setText("a pixvane comment");
            for (const QString format : {"92i", "9xi", "v2i"})
                writeAll(path("in/in_" + format + "." + format), savedBy(f, format));
        }
        ASSERT_TRUE(photo(150, 90).save(path("in/in_png.png"), "PNG"));
        ASSERT_TRUE(photo(70, 120).save(path("in/in_bmp.bmp"), "BMP"));
        for (const QString& format : kFormats)
            inputs << path("in/in_" + format + "." + format);
    }

    // The grid an editor shows for a calculator input.
    static core::PixelGrid editorGrid(const QString& input) {
        const QString format = QFileInfo(input).suffix();
        if (isTi83(format)) {
            testing_support::TestWindow<dotwell::FrmDotwell> f;
            f.prompts.answerFile(input);
            f.window.miOpen_click();
            return f.window.grid();
        }
        testing_support::TestWindow<pixvane::FrmPixvane> f;
        f.prompts.answerFile(input);
        f.window.miOpen_click();
        return f.window.grid();
    }

    // What an editor of `target` saves for `input`: opened when it is of the editor's own
    // screen, else converted with Convert Image's defaults, its comment typed in.
    template <class Window>
    static QByteArray editorBytes(const QString& input, const QString& target) {
        testing_support::TestWindow<Window> f;
        const QString format = QFileInfo(input).suffix();
        if (!isImage(format) && isTi83(format) == isTi83(target)) {
            f.prompts.answerFile(input);
            f.window.miOpen_click();
            return savedBy(f, target);
        }
        QString picture = input;
        if (!isImage(format)) {
            picture = f.path("screen.png");
            EXPECT_TRUE(core::gridImage(editorGrid(input)).save(picture, "PNG"));
            f.window.Text1->setText(isTi83(format) ? "a dotwell comment" : "a pixvane comment");
        }
        f.prompts.answerFile(picture);
        f.window.miConvert_Click();
        EXPECT_EQ(f.prompts.asked().back().kind, testing_support::Asked::Kind::Dialog);
        return savedBy(f, target);
    }

    QTemporaryDir dir;
    QStringList inputs;
};

TEST_F(Calcpic, EveryFormatToEveryFormatIsWhatTheEditorsWrite) {
    for (const QString& target : kFormats) {
        const QString out = path("out_" + target);
        ASSERT_TRUE(QDir().mkpath(out));
        const Ran run = calcpic(QStringList{"convert"} << inputs << "-d" << out << "--to" << target,
                                dir.path());
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(run.err, "");
        for (const QString& input : inputs) {
            const QString written = out + "/" + QFileInfo(input).completeBaseName() + "." + target;
            const std::string what = (QFileInfo(input).fileName() + " to " + target).toStdString();
            ASSERT_TRUE(QFileInfo::exists(written)) << what;
            const QString format = QFileInfo(input).suffix();
            if (isImage(target)) {
                const QImage image(written);
                ASSERT_FALSE(image.isNull()) << what;
                const core::PixelGrid expected =
                    isImage(format) ? core::convertPicture(QImage(input), QImage(input).size(),
                                                           core::ScaleMode::ActualSize, {})
                                    : editorGrid(input);
                EXPECT_EQ(cellsOf(image), expected) << what;
                continue;
            }
            const QByteArray expected = isTi83(target)
                                            ? editorBytes<dotwell::FrmDotwell>(input, target)
                                            : editorBytes<pixvane::FrmPixvane>(input, target);
            ASSERT_FALSE(expected.isEmpty()) << what;
            EXPECT_EQ(readAll(written), expected) << what;
            const testing_support::TifilesView view =
                testing_support::readWithTifiles(written, false);
            EXPECT_EQ(view.error, 0) << what;
            EXPECT_EQ(view.checksum, view.storedChecksum) << what;
        }
    }
}

TEST_F(Calcpic, ImagesConvertCellForCellAsTheDialogDoes) {
    const QString png = inputs[6];
    for (int scale = 0; scale < 4; ++scale) {
        for (int dither = 0; dither < 5; ++dither) {
            static const char* kScales[] = {"fit", "fill", "stretch", "none"};
            static const char* kDithers[] = {"none", "floyd", "atkinson", "bayer4", "bayer8"};
            const bool automatic = dither == 2; // Auto, once per scale
            const bool invert = scale == 1;
            QStringList arguments{"convert",
                                  png,
                                  "-o",
                                  "x.8xi",
                                  "--force",
                                  "--scale",
                                  kScales[scale],
                                  "--dither",
                                  kDithers[dither],
                                  "--threshold",
                                  automatic ? "auto" : "100"};
            if (invert)
                arguments << "--invert";
            const Ran run = calcpic(arguments, dir.path());
            ASSERT_EQ(run.code, 0) << run.err.toStdString();

            testing_support::TestWindow<dotwell::FrmDotwell> f;
            f.prompts.answerFile(png);
            f.prompts.answerDialog([&](QDialog* d) {
                auto* dialog = qobject_cast<core::ConvertImageDialog*>(d);
                dialog->scaleBox->setCurrentIndex(scale);
                dialog->ditherBox->setCurrentIndex(dither);
                dialog->invertBox->setChecked(invert);
                if (automatic)
                    dialog->autoButton->click();
                else
                    dialog->thresholdSlider->setValue(100);
                return true;
            });
            f.window.miConvert_Click();
            EXPECT_EQ(readAll(path("x.8xi")), savedBy(f, "8xi"))
                << kScales[scale] << " " << kDithers[dither];
        }
    }
}

TEST_F(Calcpic, ZoomVariablesAndCommentsAsAsked) {
    Ran run =
        calcpic({"convert", inputs[3], "-o", "big.png", "--zoom", "3", "--invert"}, dir.path());
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QImage big(path("big.png"));
    ASSERT_EQ(big.size(), QSize(720, 309));
    core::PixelGrid inverted = editorGrid(inputs[3]);
    for (int r = 0; r < inverted.rows(); ++r)
        for (int c = 0; c < inverted.columns(); ++c)
            inverted.set(r, c, std::int16_t(1 - inverted.at(r, c)));
    EXPECT_EQ(cellsOf(big, 3), inverted);

    run = calcpic({"convert", inputs[1], "-o", "p.9xi", "--folder", "art", "--name",
                   QString::fromUtf8("\u03c0x2"), "--comment", QString::fromUtf8("caf\u00e9")},
                  dir.path());
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    testing_support::TifilesView view = testing_support::readWithTifiles(path("p.9xi"), false);
    EXPECT_EQ(view.folder, "art");
    EXPECT_EQ(view.rawName, std::string("\x8Cx2\0\0\0\0\0", 8));
    EXPECT_EQ(view.comment.substr(0, 4), "caf\xE9");
    EXPECT_EQ(view.model, "TI92+");

    run = calcpic({"convert", inputs[5], "-o", "p.83i", "--pic", "0"}, dir.path());
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    view = testing_support::readWithTifiles(path("p.83i"), false);
    EXPECT_EQ(view.rawName.substr(0, 2), "\x60\x09"); // Pic0
    EXPECT_EQ(view.comment, "a pixvane comment");

    // The input's Pic4 is kept, and a TI-82 cannot take Pic8.
    run = calcpic({"convert", inputs[2], "-o", "k.82i"}, dir.path());
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(std::uint8_t(readAll(path("k.82i"))[61]), 3);
    run = calcpic({"convert", inputs[1], "-o", "p8.83i", "--pic", "8"}, dir.path());
    ASSERT_EQ(run.code, 0);
    run = calcpic({"convert", "p8.83i", "-o", "p8.82i"}, dir.path());
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "calcpic: p8.83i: OOPS! TI-82 PIC variable must be 1..6\n");
    EXPECT_FALSE(QFileInfo::exists(path("p8.82i")));
}

// A picture taken to a calculator of another screen is scaled as Convert Image would; one of
// the same screen keeps its cells, and every file is one the link library reads whole.
TEST_F(Calcpic, PicturesCrossToTheLaterCalculators) {
    const core::PixelGrid ti83 = editorGrid(inputs[1]);
    const struct {
        QString target;
        QStringList options;
        QSize screen;
        std::string model, name;
    } cases[]{
        {"x.73i", {"--pic", "0"}, {96, 63}, "TI73", std::string("\x60\x00", 2)},
        {"x.85i", {"--name", "Moon"}, {128, 63}, "TI85", "Moon"},
        {"x.86i", {}, {128, 63}, "TI86", std::string("Pic\0", 4)},
        {"x.89i", {"--folder", "art", "--name", "moon"}, {159, 77}, "TI89", "moon"},
    };
    for (const auto& c : cases) {
        const std::string what = c.target.toStdString();
        Ran run = calcpic(QStringList{"convert", inputs[1], "-o", c.target} << c.options,
                          dir.path());
        ASSERT_EQ(run.code, 0) << what << run.err.toStdString();
        const testing_support::TifilesView view = testing_support::readWithTifiles(path(c.target));
        EXPECT_EQ(view.error, 0) << what;
        EXPECT_EQ(view.checksum, view.storedChecksum) << what;
        EXPECT_EQ(view.model, c.model) << what;
        EXPECT_EQ(view.rawName.substr(0, c.name.size()), c.name) << what;
        run = calcpic({"convert", c.target, "-o", c.target + ".png"}, dir.path());
        ASSERT_EQ(run.code, 0) << what << run.err.toStdString();
        const core::PixelGrid expected =
            c.screen == QSize(96, 63)
                ? ti83
                : core::convertPicture(core::gridImage(ti83), c.screen, core::ScaleMode::Fit, {});
        EXPECT_EQ(cellsOf(QImage(path(c.target + ".png"))), expected) << what;
    }
    const Ran info = calcpic({"info", "x.85i", "x.89i"}, dir.path());
    EXPECT_TRUE(info.out.contains("TI-85 (.85i)\n  size:       128 x 63\n  variable:   Moon\n"))
        << info.out.toStdString();
    EXPECT_TRUE(info.out.contains("variable:   art\\moon\n")) << info.out.toStdString();
    for (const QStringList& bad : {QStringList{"x.86i", "--name", "9lives"},
                                   QStringList{"x.85i", "--name", "a_b"},
                                   QStringList{"x.86i", "--folder", "main"},
                                   QStringList{"x.73i", "--name", "Moon"}}) {
        const Ran run = calcpic(QStringList{"convert", inputs[1], "--force", "-o"} << bad,
                                dir.path());
        EXPECT_EQ(run.code, 2) << bad.join(' ').toStdString();
        EXPECT_TRUE(run.err.startsWith("calcpic: --")) << run.err.toStdString();
    }
}

TEST_F(Calcpic, InfoReportsChecksumsVariablesAndOddities) {
    QByteArray bytes = readAll(inputs[1]); // .83i, Pic4
    bytes[100] = char(bytes[100] ^ 0x10);  // a pixel flipped after the checksum was made
    writeAll(path("bad.83i"), bytes);
    Ran run = calcpic({"info", "bad.83i", inputs[3]}, dir.path());
    EXPECT_EQ(run.code, 0) << run.err.toStdString(); // a mismatch is a finding, not a failure
    EXPECT_TRUE(run.out.startsWith("bad.83i\n  calculator: TI-83 (.83i)\n  size:       96 x 63\n"
                                   "  variable:   Pic4\n  comment:    a dotwell comment\n"))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(": MISMATCH\n"));
    EXPECT_TRUE(run.out.contains("variable:   games\\sprite\n"));
    EXPECT_TRUE(run.out.contains("(stored height 103, width 239)"));
    EXPECT_EQ(run.out.count(": OK\n"), 1);

    // A .8xi with an owner byte and the short variable header, and a small TI-92 picture.
    QByteArray plus = readAll(inputs[2]);
    plus[10] = char(0x23);
    plus.remove(68, 2);    // no version and flag
    plus[55] = 11;         // header length
    plus[53] = char(0x05); // data length 773
    unsigned sum = 0;
    for (int i = 55; i < 828; ++i)
        sum += std::uint8_t(plus[i]);
    plus[828] = char(sum & 0xFF);
    plus[829] = char(sum >> 8 & 0xFF);
    plus.truncate(830);
    writeAll(path("short.8xi"), plus);
    QByteArray small = readAll(inputs[3]).left(92);
    small[86] = 0, small[87] = char(5 + 2 * 2); // size word: 2 rows of 2 bytes and DF
    small[88] = 0, small[89] = 2;               // height 2
    small[90] = 0, small[91] = 10;              // width 10
    small.append("\xFF\xC0\x80\x40\xDF\x00\x00", 7);
    writeAll(path("small.92i"), small);
    run = calcpic({"info", "--json", "short.8xi", "small.92i"}, dir.path());
    EXPECT_EQ(run.code, 0);
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << run.out.toStdString();
    const QJsonObject a = QJsonDocument::fromJson(lines[0].toUtf8()).object();
    EXPECT_EQ(a["checksum"].toString(), "OK");
    EXPECT_EQ(a["pic"].toInt(), 4);
    const QString notesA = QJsonDocument(a["notes"].toArray()).toJson();
    EXPECT_TRUE(notesA.contains("owner byte (10) is 23")) << notesA.toStdString();
    EXPECT_TRUE(notesA.contains("11-byte variable header")) << notesA.toStdString();
    const QJsonObject b = QJsonDocument::fromJson(lines[1].toUtf8()).object();
    EXPECT_EQ(b["width"].toInt(), 10);
    EXPECT_EQ(b["height"].toInt(), 2);
    EXPECT_EQ(b["checksum"].toString(), "MISMATCH"); // the zero checksum we wrote
    EXPECT_TRUE(
        QJsonDocument(b["notes"].toArray()).toJson().contains("smaller than the 240 x 103"));

    run = calcpic({"info", inputs[6], "missing.83i"}, dir.path());
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err.count('\n'), 2) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("in_png.png: not a calculator picture"));
    EXPECT_TRUE(run.err.contains("missing.83i: No such file"));
}

// The text shows a checksum as programmers and link software write it, 0x and four hex digits;
// the JSON keeps numbers.
TEST_F(Calcpic, InfoPrintsChecksumsInHexAndJsonKeepsThemDecimal) {
    QByteArray bytes = readAll(inputs[2]); // .8xi
    bytes[100] = char(bytes[100] ^ 0x10);  // a mismatch: stored and computed differ
    writeAll(path("bad.8xi"), bytes);
    for (const QString& file : {inputs[1], inputs[3], path("bad.8xi")}) {
        const Ran text = calcpic({"info", file}, dir.path());
        const Ran json = calcpic({"info", "--json", file}, dir.path());
        ASSERT_EQ(text.code, 0) << text.err.toStdString();
        const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
        ASSERT_TRUE(o["storedChecksum"].isDouble()) << json.out.toStdString();
        ASSERT_TRUE(o["computedChecksum"].isDouble());
        const auto hex = [](const QJsonValue& v) {
            return "0x" + QString::number(v.toInt(), 16).toUpper().rightJustified(4, '0');
        };
        const QString line = QString("  checksum:   stored %1, computed %2: %3\n")
                                 .arg(hex(o["storedChecksum"]), hex(o["computedChecksum"]),
                                      o["checksum"].toString());
        EXPECT_TRUE(text.out.contains(line)) << text.out.toStdString() << line.toStdString();
    }
}

TEST_F(Calcpic, DamagedInputsFailAloneAndNothingIsOverwritten) {
    writeAll(path("cut.92i"), readAll(inputs[3]).left(2000));
    writeAll(path("text.png"), "not a picture at all");
    writeAll(path("empty.8xi"), "");
    ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
    Ran run = calcpic({"convert", "cut.92i", inputs[1], "text.png", "empty.8xi", "gone.83i",
                       inputs[6], "-d", "out", "--to", "8xi"},
                      dir.path());
    EXPECT_EQ(run.code, 1);
    const QStringList errors = run.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(errors.size(), 4) << run.err.toStdString();
    EXPECT_TRUE(errors[0].startsWith("calcpic: cut.92i: too short")) << errors[0].toStdString();
    EXPECT_TRUE(errors[1].startsWith("calcpic: text.png: neither a calculator picture"));
    EXPECT_EQ(errors[2], "calcpic: empty.8xi: Invalid File Format!");
    EXPECT_TRUE(errors[3].startsWith("calcpic: gone.83i: No such file"));
    EXPECT_EQ(QDir(path("out")).entryList(QDir::Files), (QStringList{"in_83i.8xi", "in_png.8xi"}));

    // An existing output stays unless --force; an input is never written over.
    const QByteArray before = readAll(path("out/in_83i.8xi"));
    run = calcpic({"convert", inputs[0], "-o", "out/in_83i.8xi"}, dir.path());
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.contains("exists; add --force to replace it")) << run.err.toStdString();
    EXPECT_EQ(readAll(path("out/in_83i.8xi")), before);
    run = calcpic({"convert", inputs[3], "-o", "out/in_83i.8xi", "--force"}, dir.path());
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(readAll(path("out/in_83i.8xi")), before);

    const QByteArray input = readAll(inputs[2]);
    ASSERT_EQ(::link(QFile::encodeName(inputs[2]).constData(),
                     QFile::encodeName(path("linked.8xi")).constData()),
              0);
    for (const QString& output : {inputs[2], path("linked.8xi")}) {
        run = calcpic({"convert", inputs[2], "--pic", "2", "-o", output, "--force"}, dir.path());
        EXPECT_EQ(run.code, 1);
        EXPECT_TRUE(run.err.contains("is one of the inputs")) << run.err.toStdString();
    }
    EXPECT_EQ(readAll(inputs[2]), input);
    // Two inputs with one base name: the second would overwrite the first's output.
    ASSERT_TRUE(QFile::copy(inputs[1], path("in/pic.83i")));
    ASSERT_TRUE(QFile::copy(inputs[3], path("pic.92i")));
    run = calcpic({"convert", "in/pic.83i", "pic.92i", "-d", "out", "--to", "8xi", "--force"},
                  dir.path());
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "calcpic: pic.92i: out/pic.8xi was already written from another input\n");
    // It holds the first input's picture.
    EXPECT_EQ(readAll(path("out/pic.8xi")).mid(74, 756), readAll(path("in/pic.83i")).mid(72, 756));
}

// An output named by a symbolic link: the link is an existing output, dangling or not, and
// --force replaces the link itself, never the file it points at.
TEST_F(Calcpic, AnOutputThatIsALinkIsReplacedNeverFollowed) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("protected"));
    writeAll(path("protected/rootfile"), "precious");
    auto symlink = [&](const char* to, const char* at) {
        ASSERT_EQ(::symlink(QFile::encodeName(path(to)).constData(),
                            QFile::encodeName(path(at)).constData()),
                  0);
    };
    symlink("protected/rootfile", "pic.8xi");
    symlink("protected/created", "new.8xi");
    for (const char* output : {"pic.8xi", "new.8xi"}) {
        Ran run = calcpic({"convert", inputs[1], "-o", output}, dir.path());
        EXPECT_EQ(run.code, 1) << output;
        EXPECT_TRUE(run.err.contains("exists; add --force")) << run.err.toStdString();
        run = calcpic({"convert", inputs[1], "-o", output, "--force"}, dir.path());
        EXPECT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_FALSE(QFileInfo(path(output)).isSymLink()) << output;
        EXPECT_TRUE(readAll(path(output)).startsWith("**TI83F*"));
    }
    EXPECT_EQ(readAll(path("protected/rootfile")), QByteArray("precious"));
    EXPECT_FALSE(QFile::exists(path("protected/created")));
}

// A 68k picture larger than the 240 x 103 one, locked or archived, made by libtifiles:
// info reports it as stored, and a conversion within the family keeps it whole.
TEST_F(Calcpic, LargerAndArchived68kPicturesAreReadWholeAndKept) {
    std::vector<std::uint8_t> data{0x0F, 0x05, 0x00, 128, 0x00, 240}; // 5 + 128 x 30
    for (int r = 0; r < 128; ++r)
        for (int j = 0; j < 30; ++j)
            data.push_back(r == 127 ? 0xFF : std::uint8_t(r));
    data.push_back(0xDF);
    ASSERT_EQ(
        testing_support::writeWithTifiles(path("tall.92i"), {"main", "tall", 0x10, 3, "c", data}),
        QString());
    Ran run = calcpic({"info", "--json", "tall.92i"}, dir.path());
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_EQ(o["width"].toInt(), 240);
    EXPECT_EQ(o["height"].toInt(), 128);
    EXPECT_EQ(o["checksum"].toString(), "OK");
    EXPECT_TRUE(o["archived"].toBool());
    EXPECT_EQ(o["attribute"].toInt(), 3);
    run = calcpic({"info", "tall.92i"}, dir.path());
    EXPECT_TRUE(run.out.contains("archived:   yes")) << run.out.toStdString();

    run = calcpic({"convert", "tall.92i", "-o", "tall.9xi"}, dir.path());
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QByteArray out = readAll(path("tall.9xi"));
    const QByteArray in = readAll(path("tall.92i"));
    EXPECT_EQ(out.size(), in.size());
    EXPECT_EQ(out.mid(86, 3847), in.mid(86, 3847)); // size, height, width, every row, DF
    EXPECT_EQ(std::uint8_t(out[73]), 0x03);
    const auto view = testing_support::readWithTifiles(path("tall.9xi"), false);
    ASSERT_EQ(view.error, 0);
    EXPECT_EQ(view.checksum, view.storedChecksum);
}

// A batch shows its progress only to a person watching a terminal.
TEST_F(Calcpic, ProgressOnlyOnATerminalForMoreThanTwentyFiles) {
    QStringList many{"convert"};
    for (int i = 0; i < 21; ++i) {
        const QString copy = path(QString("many%1.83i").arg(i));
        ASSERT_TRUE(QFile::copy(inputs[1], copy));
        many << copy;
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("many"));
    many << "gone.83i"
         << "-d"
         << "many"
         << "--to"
         << "png";
    Ran run = calcpic(many, dir.path());
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "calcpic: gone.83i: No such file or directory\n");
    if (!QFileInfo::exists("/usr/bin/script"))
        GTEST_SKIP() << "no script(1) to give calcpic a terminal";
    QStringList quoted;
    for (const QString& a : many)
        quoted << "'" + a + "'";
    run = calcpic(
        {"-qec", QStringLiteral(CALCPIC_PATH) + " " + quoted.join(' ') + " --force", "/dev/null"},
        dir.path(), "/usr/bin/script");
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.out.contains("\rcalcpic: file 21 of 22")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("calcpic: gone.83i: No such file or directory\r\n"));
    EXPECT_TRUE(run.out.endsWith("calcpic: 21 converted, 1 failed\r\n")) << run.out.toStdString();
}

TEST_F(Calcpic, BadCommandLinesExitTwoWithTheUsage) {
    const std::vector<QStringList> bad{
        {},
        {"show", "x.83i"},
        {"convert", inputs[1]},
        {"convert", inputs[1], inputs[2], "-o", "x.83i"},
        {"convert", inputs[1], "-o", "x.gif"},
        {"convert", inputs[1], "-d", "."},
        {"convert", inputs[1], "-o", "x.83i", "--threshold", "300"},
        {"convert", inputs[1], "-o", "x.83i", "--dither", "random"},
        {"convert", inputs[1], "-o", "x.83i", "--folder", "main"},
        {"convert", inputs[1], "-o", "x.82i", "--pic", "7"},
        {"convert", inputs[1], "-o", "x.92i", "--name", "9lives"},
        {"convert", inputs[1], "-o", "x.92i", "--name", "toolongname"},
        {"convert", inputs[1], "-o", "x.92i", "--folder", "ninechars"},
        {"convert", inputs[1], "-o", "x.92i", "--name", QString::fromUtf8("\u03c0abcdefgh")},
        {"convert", inputs[1], "-o", "x.92i", "--comment", QString(41, 'c')},
        {"convert", inputs[1], "-o", "x.92i", "--comment", QString::fromUtf8("\u4e2d")},
        {"convert", inputs[1], "-o", "x.png", "--pic", "2"},
        {"convert", inputs[1], "-o", "x.83i", "--zoom", "2"},
        {"convert", inputs[1], "-d", "nowhere", "--to", "png"},
        {"info", "--force", inputs[1]},
    };
    for (const QStringList& arguments : bad) {
        const Ran run = calcpic(arguments, dir.path());
        EXPECT_EQ(run.code, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.startsWith("calcpic: ")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("usage: calcpic info")) << run.err.toStdString();
        EXPECT_EQ(run.out, "");
    }
    EXPECT_TRUE(QDir(dir.path()).entryList({"x.*"}, QDir::Files).isEmpty());

    for (const char* asked : {"--help", "--version"}) {
        const Ran run = calcpic({asked}, dir.path());
        EXPECT_EQ(run.code, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_TRUE(run.out.startsWith(QString(asked) == "--help" ? "usage: calcpic" : "calcpic "));
    }
}

TEST_F(Calcpic, ControlCharactersInFilesAndNamesAreShownNotSent) {
    QByteArray ti83 = readAll(inputs[1]);
    // 9D: a byte Windows-1252 leaves undefined, read as the C1 control U+009D.
    const QByteArray comment("\x1B[2J\x1B]0;owned\x07\x9D"
                             "0;x\x07");
    ti83.replace(11, comment.size() + 1, comment + '\0'); // the comment is not summed
    writeAll(path("loud.83i"), ti83);
    QByteArray ti92 = readAll(inputs[3]);
    ti92.replace(64, 4, "\x1B[2J"); // the name, in the header
    writeAll(path("loud.92i"), ti92);
    const QString oddName = QString::fromUtf8("odd\x1B]0;x\x07\u009B.83i");
    ASSERT_TRUE(QFile::copy(inputs[1], path(oddName)));

    Ran run = calcpic({"info", "loud.83i", "loud.92i", oddName}, dir.path());
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(controlCharacters(run.out), 0) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("comment:    \\x1B[2J\\x1B]0;owned\\x07\\x9D0;x\\x07\n"))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("variable:   games\\\\x1B[2Jte\n")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("odd\\x1B]0;x\\x07\\x9B.83i\n")) << run.out.toStdString();

    run = calcpic({"info", "--json", "loud.83i", "loud.92i", oddName}, dir.path());
    EXPECT_EQ(controlCharacters(run.out), 0) << run.out.toStdString();
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(QJsonDocument::fromJson(lines[0].toUtf8()).object()["comment"].toString(),
              QString::fromLatin1(comment))
        << lines[0].toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(lines[2].toUtf8()).object()["file"].toString(), oddName);

    // Error lines, and a value on a bad command line.
    for (const QStringList& arguments :
         {QStringList{"info", "gone\x1B[2J.83i"},
          QStringList{"convert", "gone\x1B[2J.83i", "-o", "x.8xi"},
          QStringList{"convert", "x.83i", "-o", "x.8xi", "--dither", "\x1B[2J"}}) {
        run = calcpic(arguments, dir.path());
        EXPECT_NE(run.code, 0);
        EXPECT_EQ(controlCharacters(run.err), 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("\\x1B[2J")) << run.err.toStdString();
    }
}

// A short or mis-summed calculator file is damaged: converting it would write a clean file
// with a fresh checksum, so it fails unless the user takes it as it reads.
TEST_F(Calcpic, DamagedCalculatorFilesFailUnlessAccepted) {
    writeAll(path("short.83i"), readAll(inputs[1]).left(400));
    for (int i : {0, 2, 3}) {
        QByteArray flipped = readAll(inputs[i]);
        flipped[200] = char(flipped[200] ^ 0x01); // a pixel, inside the checksum
        writeAll(path("flipped_" + QFileInfo(inputs[i]).fileName()), flipped);
    }
    const struct {
        QString input;
        QString reason;
    } cases[]{
        {"short.83i", "the file is 430 bytes too short"},
        {"flipped_in_82i.82i", "its checksum is "},
        {"flipped_in_8xi.8xi", "its checksum is "},
        {"flipped_in_92i.92i", "its checksum is "},
    };
    for (const auto& c : cases) {
        Ran run = calcpic({"convert", c.input, "-o", "out.8xi"}, dir.path());
        EXPECT_EQ(run.code, 1) << c.input.toStdString();
        EXPECT_TRUE(run.err.startsWith("calcpic: " + c.input + ": " + c.reason))
            << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("--accept-damaged")) << run.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path("out.8xi")));
        run = calcpic({"convert", c.input, "-o", "out.8xi", "--accept-damaged"}, dir.path());
        EXPECT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(run.err, "");
        EXPECT_TRUE(QFile::remove(path("out.8xi")));
    }
    const Ran help = calcpic({"--help"}, dir.path());
    EXPECT_TRUE(help.out.contains("--accept-damaged")) << help.out.toStdString();
}

TEST_F(Calcpic, NamesThatAreNotUtf8AreTheFilesGiven) {
    const QByteArray folder = QFile::encodeName(dir.path()) + "/";
    // QTemporaryDir cannot remove what Qt cannot name.
    struct Cleanup {
        QByteArray folder;
        ~Cleanup() {
            for (const char* name : {"bad\xFF.83i", "out\xFF.92i", "out/bad\xFF.png"})
                ::unlink(folder + name);
        }
    } cleanup{folder};
    ASSERT_EQ(::link(QFile::encodeName(inputs[1]).constData(), folder + "bad\xFF.83i"), 0);
    Ran run = calcpicInShell("\"$CALCPIC\" info \"$(printf 'bad\\377.83i')\"", dir.path());
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith("bad\\xFF.83i\n  calculator: TI-83")) << run.out.toStdString();

    ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
    run = calcpicInShell("\"$CALCPIC\" convert \"$(printf 'bad\\377.83i')\" -o "
                         "\"$(printf 'out\\377.92i')\" && \"$CALCPIC\" convert "
                         "\"$(printf 'bad\\377.83i')\" -d out --to png",
                         dir.path());
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(existsByBytes(folder + "out\xFF.92i"));
    EXPECT_EQ(namesIn(folder + "out"), QByteArrayList{"bad\xFF.png"}); // nothing left beside it

    // An existing file of such a name stays as it is; the reason names it readably.
    const QByteArray before = readByBytes(folder + "out\xFF.92i");
    run = calcpicInShell("\"$CALCPIC\" convert \"$(printf 'bad\\377.83i')\" -o "
                         "\"$(printf 'out\\377.92i')\" --force --name other; \"$CALCPIC\" info "
                         "\"$(printf 'gone\\377.83i')\"",
                         dir.path());
    EXPECT_EQ(run.code, 1);
    const QStringList errors = run.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(errors.size(), 2) << run.err.toStdString();
    EXPECT_TRUE(errors[0].startsWith("calcpic: bad\\xFF.83i: cannot write out\\xFF.92i: "))
        << errors[0].toStdString();
    EXPECT_EQ(errors[1], "calcpic: gone\\xFF.83i: No such file or directory");
    EXPECT_EQ(readByBytes(folder + "out\xFF.92i"), before);
    EXPECT_EQ(namesIn(folder), (QByteArrayList{"bad\xFF.83i", "in", "out", "out\xFF.92i"}));
}

TEST_F(Calcpic, ErrorsAreSentencesOnOneLine) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.png"));
    writeAll(path("plain.txt"), "a file, not a folder");
    for (const QString& output : {QString("folder.png"), QString("plain.txt/x.png")}) {
        const Ran run = calcpic({"convert", inputs[1], "-o", output, "--force"}, dir.path());
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        // Where no file was there, nothing is said of one.
        const bool existed = output == "folder.png";
        EXPECT_EQ(run.err.contains(QRegularExpression("[a-z][.] The file on disk")), existed)
            << run.err.toStdString();
    }
}

TEST_F(Calcpic, Ti83PlusFaultsAreExplained) {
    const QByteArray good = readAll(inputs[2]);
    QByteArray header12 = good, type8 = good;
    header12[55] = 12;
    type8[59] = 8;
    writeAll(path("header12.8xi"), header12);
    writeAll(path("type8.8xi"), type8);
    writeAll(path("short.8xi"), good.left(500));
    const std::pair<QString, QString> cases[]{
        {"header12.8xi", "variable header length (bytes 55-56) is 12, not 11 or 13"},
        {"type8.8xi", "type byte (59) is 08, not 07"},
        {"short.8xi", "The file is 500 bytes; a .8xi picture takes 832"},
    };
    for (const auto& [file, reason] : cases) {
        for (const QString command : {"info", "convert"}) {
            QStringList arguments{command, file};
            if (command == "convert")
                arguments << "-o"
                          << "x.png";
            const Ran run = calcpic(arguments, dir.path());
            EXPECT_EQ(run.code, 1);
            EXPECT_TRUE(run.err.startsWith("calcpic: " + file + ": Invalid File Format! "))
                << run.err.toStdString();
            EXPECT_TRUE(run.err.contains(reason)) << run.err.toStdString();
        }
    }
}

// A file of another calculator is named as what it is, not called damaged or unreadable.
TEST_F(Calcpic, OtherCalculatorsPicturesAreNamed) {
    QByteArray ti86(1100, '\0');
    ti86.replace(0, 8, "**TI86**");
    writeAll(path("x.86i"), ti86);
    writeAll(path("really83.92i"), readAll(inputs[1]));
    const std::pair<QString, QString> cases[]{
        {"x.86i", "calcpic: x.86i: its type byte (59) is 00, not 11: it holds no picture\n"},
        {"really83.92i", "by its signature it is a TI-83 picture\n"},
    };
    for (const auto& [file, reason] : cases) {
        for (const Ran& run : {calcpic({"info", file}, dir.path()),
                               calcpic({"convert", file, "-o", "x.png"}, dir.path())}) {
            EXPECT_EQ(run.code, 1);
            EXPECT_TRUE(run.err.endsWith(reason)) << run.err.toStdString();
        }
    }
}

TEST_F(Calcpic, InfoJsonGivesEveryFileAnObject) {
    writeAll(path("text.83i"), "");
    const Ran run =
        calcpic({"info", "--json", "gone.83i", inputs[1], "text.83i", inputs[6]}, dir.path());
    EXPECT_EQ(run.code, 1);
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << run.out.toStdString();
    const QStringList errors = run.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(errors.size(), 3);
    for (int i : {0, 2, 3}) {
        const QJsonObject o = QJsonDocument::fromJson(lines[i].toUtf8()).object();
        EXPECT_FALSE(o["error"].toString().isEmpty()) << lines[i].toStdString();
        // The same reason as on standard error.
        EXPECT_EQ("calcpic: " + o["file"].toString() + ": " + o["error"].toString(),
                  errors[i == 0 ? 0 : i - 1]);
    }
    EXPECT_EQ(QJsonDocument::fromJson(lines[1].toUtf8()).object()["checksum"].toString(), "OK");
}

// Image libraries' warnings about what they pass over stay off the terminal.
TEST_F(Calcpic, LibraryWarningsAreNotPrinted) {
    // A PNG whose text chunk fails its CRC: libpng warns and reads on.
    QByteArray png = readAll(inputs[6]);
    const QByteArray text = QByteArray("tEXt") + "Comment" + '\0' + "hello";
    QByteArray chunk;
    chunk.append(char(0)).append(char(0)).append(char(0)).append(char(text.size() - 4));
    chunk += text + QByteArray(4, '\x55'); // not its CRC
    png.insert(8 + 25, chunk);             // after the signature and the header chunk
    writeAll(path("warns.png"), png);
    Ran run = calcpic({"convert", "warns.png", "-o", "w.83i"}, dir.path());
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.err, "");
    QProcessEnvironment debug;
    debug.insert("CALCPIC_DEBUG", "1");
    run = testing_support::runWithoutDisplay(
        CALCPIC_PATH, {"convert", "warns.png", "-o", "w.83i", "--force"}, dir.path(), debug);
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(run.err.contains("libpng warning")) << run.err.toStdString(); // it did warn
}

// A photo larger than an image Qt decodes whole converts, read at the size the screen needs;
// QT_IMAGEIO_MAXALLOC lowers Qt's limit so that a small photo stands for a phone's.
TEST_F(Calcpic, APhotoTooLargeToDecodeWholeConverts) {
    QImage photo = ::photo(1200, 900).convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(photo.save(path("photo.jpg"), "JPEG", 90)); // 4.1 MiB decoded
    QProcessEnvironment small;
    small.insert("QT_IMAGEIO_MAXALLOC", "4");
    for (const char* scale : {"none", "fit", "fill"}) {
        const QStringList arguments{"convert", "photo.jpg", "-o",       "x.8xi", "--force",
                                    "--scale", scale,       "--dither", "none"};
        Ran run = calcpic(arguments, dir.path());
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        const QByteArray whole = readAll(path("x.8xi")).mid(74, 756);
        run = testing_support::runWithoutDisplay(CALCPIC_PATH, arguments, dir.path(), small);
        ASSERT_EQ(run.code, 0) << scale << ": " << run.err.toStdString();
        EXPECT_EQ(run.err, "");
        const QByteArray reduced = readAll(path("x.8xi")).mid(74, 756);
        int differing = 0;
        for (int i = 0; i < whole.size(); ++i)
            differing += std::popcount(unsigned(std::uint8_t(whole[i] ^ reduced[i])));
        if (QString(scale) == "none")
            EXPECT_EQ(differing, 0); // the middle at full size
        else
            EXPECT_LT(differing, 96 * 63 / 50) << scale;
    }
    // Too large however it is read: the size says why.
    writeAll(path("huge.png"), testing_support::tinyPngDeclaring(25000, 25000));
    const Ran run = calcpic({"convert", "huge.png", "-o", "x.8xi", "--force"}, dir.path());
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err,
              "calcpic: huge.png: The picture is 25000 x 25000 pixels, too large to read.\n");
}

} // namespace

namespace {

// An animation of `count` frames on a 12 x 8 screen: frame k a black bar at column k, on
// white, each frame kept for the next.
QByteArray barsGif(int count) {
    std::vector<testing_support::GifFrame> frames;
    testing_support::GifFrame white;
    white.width = 12;
    white.height = 8;
    white.indices.assign(96, 0);
    frames.push_back(white);
    for (int k = 1; k < count; ++k) {
        testing_support::GifFrame bar;
        bar.left = k;
        bar.width = 1;
        bar.height = 8;
        bar.indices.assign(8, 1);
        frames.push_back(bar);
    }
    return testing_support::gifFile(12, 8, {0xFFFFFF, 0x000000, 0xFF0000, 0x808080}, 0, frames);
}

// The PIC byte of a TI-83 family file, as link software reads it: Pic1 is 0, Pic0 is 9.
int picByteOf(const QString& file) {
    const testing_support::TifilesView view = testing_support::readWithTifiles(file, false);
    return view.rawName.size() > 1 ? std::uint8_t(view.rawName[1]) : -1;
}

} // namespace

// The tone, the strength and serpentine give what the dialog gives with the same settings,
// Auto threshold included (of the picture as the tone leaves it).
TEST_F(Calcpic, ToneAndStrengthConvertAsTheDialogDoes) {
    const QString png = inputs[6];
    const Ran run = calcpic({"convert", png, "-o", "t.8xi", "--levels", "auto", "--brightness",
                             "-15", "--contrast", "25", "--gamma", "1.4", "--dither", "floyd",
                             "--strength", "70", "--serpentine", "--threshold", "auto"},
                            dir.path());
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    testing_support::TestWindow<dotwell::FrmDotwell> f;
    f.prompts.answerFile(png);
    f.prompts.answerDialog([&](QDialog* d) {
        auto* dialog = qobject_cast<core::ConvertImageDialog*>(d);
        dialog->levelsBox->setCurrentIndex(1);
        dialog->brightnessBox->setValue(-15);
        dialog->contrastBox->setValue(25);
        dialog->gammaBox->setValue(1.4);
        dialog->ditherBox->setCurrentIndex(1);
        dialog->strengthBox->setValue(70);
        dialog->serpentineBox->setChecked(true);
        dialog->autoButton->click();
        return true;
    });
    f.window.miConvert_Click();
    EXPECT_EQ(readAll(path("t.8xi")), savedBy(f, "8xi"));

    struct Row {
        QStringList arguments;
        const char* message;
    };
    const Row rows[] = {
        {{"--levels", "on"}, "--levels on: use auto or off"},
        {{"--brightness", "101"}, "--brightness 101: use a number -100 to 100"},
        {{"--contrast", "-101"}, "--contrast -101: use a number -100 to 100"},
        {{"--gamma", "0.1"}, "--gamma 0.1: use a number 0.2 to 5"},
        {{"--gamma", "two"}, "--gamma two: use a number 0.2 to 5"},
        {{"--strength", "101"}, "--strength 101: use a number 0 to 100"},
        {{"--pic", "next"}, "--pic next: use a number 0 to 9 (Pic0 to Pic9), or auto"},
    };
    for (const Row& row : rows) {
        const Ran bad =
            calcpic(QStringList{"convert", png, "-o", "b.8xi"} + row.arguments, dir.path());
        EXPECT_EQ(bad.code, 2) << row.message;
        EXPECT_TRUE(bad.err.startsWith(QString("calcpic: ") + row.message))
            << bad.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path("b.8xi")));
    }
}

// Each frame of an animation is a file of its own and a variable of its own, Pic1, Pic2 ...
// Pic9, Pic0, each the picture a viewer shows at that frame; past the calculator's last
// variable nothing is written.
TEST_F(Calcpic, AnAnimationBecomesOneNumberedFilePerFrame) {
    writeAll(path("bars.gif"), barsGif(10));
    Ran run = calcpic({"convert", "bars.gif", "-o", "frame.8xi", "--scale", "none"}, dir.path());
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("frame.8xi")));
    for (int k = 0; k < 10; ++k) {
        const QString file = QString("frame-%1.8xi").arg(k + 1);
        ASSERT_TRUE(QFileInfo::exists(path(file))) << file.toStdString();
        EXPECT_EQ(picByteOf(path(file)), k) << file.toStdString(); // Pic1 .. Pic9, Pic0
        // Frame k shows the bars 1..k: they were kept, frame by frame.
        const QString png = QString("frame-%1.png").arg(k + 1);
        ASSERT_EQ(calcpic({"convert", file, "-o", png}, dir.path()).code, 0);
        const core::PixelGrid cells = cellsOf(QImage(path(png)));
        int darkColumns = 0;
        for (int x = 0; x < 12; ++x)
            darkColumns += cells.at(27 + 4, 42 + x); // the 12 x 8 screen in the middle
        EXPECT_EQ(darkColumns, k) << file.toStdString();
    }

    // From --pic 3 the frames take Pic3, Pic4 ...; ten frames from Pic3 are too many.
    writeAll(path("three.gif"), barsGif(3));
    run = calcpic({"convert", "three.gif", "-o", "p.83i", "--pic", "3"}, dir.path());
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(picByteOf(path("p-1.83i")), 2);
    EXPECT_EQ(picByteOf(path("p-3.83i")), 4);
    run = calcpic({"convert", "bars.gif", "-o", "q.8xi", "--pic", "3"}, dir.path());
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.contains("10 frames from Pic3")) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("q-1.8xi")));

    // The TI-82 has six: seven frames are refused whole, six fit.
    writeAll(path("seven.gif"), barsGif(7));
    run = calcpic({"convert", "seven.gif", "-o", "s.82i"}, dir.path());
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "calcpic: seven.gif: 7 frames from Pic1 need more than the 6 picture "
                       "variables of the TI-82 (Pic1 to Pic6)\n");
    EXPECT_TRUE(QDir(dir.path()).entryList({"s-*"}).isEmpty());
    writeAll(path("six.gif"), barsGif(6));
    run = calcpic({"convert", "six.gif", "-o", "s.82i"}, dir.path());
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(std::uint8_t(readAll(path("s-6.82i"))[61]), 5); // Pic6

    // A frame file that exists is not replaced without --force.
    run = calcpic({"convert", "six.gif", "-o", "s.82i"}, dir.path());
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.contains("s-1.82i exists; add --force")) << run.err.toStdString();
}

TEST_F(Calcpic, PicAutoNumbersABatchInTheOrderGiven) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
    const QStringList stills{inputs[6], inputs[7], inputs[0]};
    Ran run = calcpic(QStringList{"convert"} + stills +
                          QStringList{"-d", "out", "--to", "8xi", "--pic", "auto"},
                      dir.path());
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(picByteOf(path("out/in_png.8xi")), 0);
    EXPECT_EQ(picByteOf(path("out/in_bmp.8xi")), 1);
    EXPECT_EQ(picByteOf(path("out/in_82i.8xi")), 2);

    // Seven inputs for a TI-82 are refused before anything is written.
    QStringList seven;
    for (int i = 0; i < 7; ++i) {
        const QString name = QString("in/still%1.png").arg(i);
        ASSERT_TRUE(photo(40, 30).save(path(name)));
        seven << name;
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("out82"));
    run = calcpic(QStringList{"convert"} + seven +
                      QStringList{"-d", "out82", "--to", "82i", "--pic", "auto"},
                  dir.path());
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(
        run.err.startsWith("calcpic: --pic auto: 7 inputs, but the TI-82 has 6 picture variables"))
        << run.err.toStdString();
    EXPECT_TRUE(QDir(path("out82")).isEmpty());
    run = calcpic({"convert", inputs[6], "-o", "x.92i", "--pic", "auto"}, dir.path());
    EXPECT_EQ(run.code, 2);
}

// On the 68k calculators a name ending in # numbers the pictures: of an animation, of a batch.
TEST_F(Calcpic, AHashNumbersTheNamesOf68kPictures) {
    writeAll(path("bars.gif"), barsGif(3));
    Ran run = calcpic({"convert", "bars.gif", "-o", "f.9xi", "--name", "frame#"}, dir.path());
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(testing_support::readWithTifiles(path(QString("f-%1.9xi").arg(k)), false).name,
                  "frame" + std::to_string(k));

    ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
    run = calcpic({"convert", inputs[6], inputs[7], "-d", "out", "--to", "92i", "--name", "pic#"},
                  dir.path());
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(testing_support::readWithTifiles(path("out/in_png.92i"), false).name, "pic1");
    EXPECT_EQ(testing_support::readWithTifiles(path("out/in_bmp.92i"), false).name, "pic2");

    // Seven letters leave room for nine pictures; the tenth has none.
    writeAll(path("ten.gif"), barsGif(10));
    run = calcpic({"convert", "ten.gif", "-o", "t.v2i", "--name", "abcdefg#"}, dir.path());
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.contains("--name abcdefg# has no room for 10 within 8 characters"))
        << run.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(path("t-9.v2i")));
    EXPECT_FALSE(QFileInfo::exists(path("t-10.v2i")));
    // A name too long even for its first number is a usage error.
    run = calcpic({"convert", "ten.gif", "-o", "u.v2i", "--name", "abcdefgh#"}, dir.path());
    EXPECT_EQ(run.code, 2);
}

// The TI-85 and TI-86 name their pictures too: a trailing # numbers them, and the first name
// is checked by their rules (a letter first) before anything is written.
TEST_F(Calcpic, AHashNumbersTheNamesOfTi85And86Pictures) {
    writeAll(path("bars.gif"), barsGif(3));
    struct Row {
        const char* output;
        const char* pattern;
        int code;
        std::vector<QByteArray> names; // as stored at byte 61, for each frame
    };
    const Row rows[] = {
        {"a.86i", "frame#", 0, {"frame1  ", "frame2  ", "frame3  "}}, // padded to 8
        {"b.85i", "pic#", 0, {"pic1", "pic2", "pic3"}},               // as long as it is
        {"c.86i", "9frame#", 2, {}},                                  // a digit first
        {"d.85i", "abcdefgh#", 2, {}},                                // no room for the 1
    };
    for (const Row& row : rows) {
        const Ran run =
            calcpic({"convert", "bars.gif", "-o", row.output, "--name", row.pattern}, dir.path());
        EXPECT_EQ(run.code, row.code) << row.output << ": " << run.err.toStdString();
        const QString output = QString::fromLatin1(row.output);
        EXPECT_EQ(QDir(dir.path()).entryList({output.left(1) + "-*"}).size(),
                  qsizetype(row.names.size()))
            << row.output;
        for (size_t k = 0; k < row.names.size(); ++k) {
            const QString file =
                QString("%1-%2.%3").arg(output.left(1)).arg(k + 1).arg(output.mid(2));
            EXPECT_EQ(readAll(path(file)).mid(61, row.names[k].size()), row.names[k])
                << file.toStdString();
        }
    }
}

TEST_F(Calcpic, TheManualSaysHowTheConversionMakesItsCells) {
    const Ran run = calcpic({"--help"}, dir.path());
    ASSERT_EQ(run.code, 0);
    EXPECT_TRUE(run.out.contains("--levels auto|off"));
    // The manual page the build makes beside the program.
    const QString man = QString::fromUtf8(
        readAll(QFileInfo(QStringLiteral(CALCPIC_PATH)).dir().filePath("calcpic.1")));
    EXPECT_TRUE(man.contains(".SH CONVERSION"));
    EXPECT_TRUE(man.contains("(299 R + 587 G + 114 B + 500) / 1000"));
    EXPECT_TRUE(man.contains("\\-\\-levels"));
    EXPECT_TRUE(man.contains("right 7, below left 3, below 5, below right 1"));
    EXPECT_TRUE(man.contains("0 8 2 10 / 12 4 14 6 / 3 11 1 9 / 15 7 13 5"));
    // How an animation is written, said and shown.
    EXPECT_TRUE(man.contains("one file per frame")) << man.toStdString();
    EXPECT_TRUE(man.contains("convert anim.gif \\-o frame.8xi"));
}

namespace {

// The exit code of calcpic run with `arguments` in `directory`, and the most memory it held at
// once (resident, in KiB), as the kernel counted it for that one process.
struct Peak {
    int code = -1;
    long kib = 0;
};

Peak peakMemoryOf(const QStringList& arguments, const QString& directory) {
    // Made before the fork: the child only changes folder and runs the program.
    std::vector<std::string> strings{CALCPIC_PATH};
    for (const QString& a : arguments)
        strings.push_back(a.toStdString());
    std::vector<std::string> environment;
    std::string sanitizer = "ASAN_OPTIONS=";
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        if (entry.starts_with(sanitizer))
            sanitizer = entry + ":";
        else if (!entry.starts_with("DISPLAY=") && !entry.starts_with("WAYLAND_DISPLAY=") &&
                 !entry.starts_with("QT_QPA_PLATFORM="))
            environment.push_back(entry);
    }
    // Under the address sanitizer freed memory is held back for a while; here it is let go at
    // once, so that the peak is what the program itself keeps.
    environment.push_back(sanitizer + "quarantine_size_mb=0");
    std::vector<char*> argv, envp;
    for (std::string& s : strings)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    for (std::string& s : environment)
        envp.push_back(s.data());
    envp.push_back(nullptr);
    const std::string folder = directory.toStdString();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(folder.c_str()) == 0)
            ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    Peak peak;
    int status = 0;
    rusage usage{};
    if (pid > 0 && ::wait4(pid, &status, 0, &usage) == pid) {
        peak.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        peak.kib = usage.ru_maxrss;
    }
    return peak;
}

} // namespace

// A long animation of a large screen is written frame by frame: calcpic holds a few screens at
// a time, not every frame's.
TEST_F(Calcpic, AnAnimationIsReadOneFrameAtATime) {
    const int side = 1500, count = 40; // a screen of 9 MB as the frames are composed
    std::vector<testing_support::GifFrame> frames;
    for (int k = 0; k < count; ++k) {
        testing_support::GifFrame dot;
        dot.left = dot.top = 37 * k;
        dot.width = dot.height = 1;
        dot.indices = {1};
        frames.push_back(dot);
    }
    writeAll(path("long.gif"),
             testing_support::gifFile(side, side, {0xFFFFFF, 0x000000}, 0, frames));
    const Peak peak = peakMemoryOf({"convert", "long.gif", "-o", "f.92i"}, dir.path());
    ASSERT_EQ(peak.code, 0);
    for (int k = 1; k <= count; ++k)
        EXPECT_TRUE(QFileInfo::exists(path(QString("f-%1.92i").arg(k)))) << k;
    const long screenKib = long(side) * side * 4 / 1024;
    EXPECT_LT(peak.kib, count * screenKib / 3)
        << "peak " << peak.kib << " KiB; every frame together is " << count * screenKib << " KiB";
}
