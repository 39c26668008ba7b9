// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/model/canvas.h"
#include "tests/support/files.h"
#include "tests/support/processes.h"

using testing_support::Ran;
using testing_support::readAll;
using testing_support::writeAll;

namespace {

const QRgb kScreen = 0xFF000000u | core::kScreenColour;
const QRgb kDark = 0xFF000000u | core::kBlack;

Ran calcpic(const QStringList& arguments, const QString& directory) {
    return testing_support::runWithoutDisplay(QStringLiteral(CALCPIC_PATH), arguments, directory);
}

// An asymmetric picture, so a flipped, shifted or transposed thumbnail shows: a block in the
// top left quarter, a one-pixel diagonal and a column near the right edge.
QImage pattern(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.fillRect(0, 0, w / 4, h / 3, Qt::black);
    p.end();
    for (int x = 0; x < std::min(w, h); ++x)
        image.setPixel(x, x, qRgb(0, 0, 0));
    for (int y = 0; y < h; y += 2)
        image.setPixel(w - 3, y, qRgb(0, 0, 0));
    return image;
}

class Thumbnail : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkdir("elsewhere"));
        ASSERT_TRUE(pattern(240, 103).save(path("pattern.png")));
        for (const char* format : {"82i", "83i", "8xi", "92i", "9xi", "v2i"}) {
            const QString name = QString("pic.%1").arg(format);
            const Ran made = calcpic(
                {"convert", "pattern.png", "--scale", "stretch", "--dither", "none", "-o", name},
                dir.path());
            ASSERT_EQ(made.code, 0) << made.err.toStdString();
        }
    }
    QString path(const QString& name) const { return dir.filePath(name); }

    // The cells of a calculator picture, as calcpic writes them one pixel per cell.
    QImage cells(const QString& picture) {
        const QString image = path(picture + ".cells.png");
        const Ran ran = calcpic({"convert", picture, "-o", image, "--force"}, dir.path());
        EXPECT_EQ(ran.code, 0) << ran.err.toStdString();
        return QImage(image);
    }

    QTemporaryDir dir;
};

// Each cell is the largest whole square that keeps the long side within the size; a screen
// wider than the size is scaled down to it, its aspect kept.
TEST_F(Thumbnail, BlackCellsOnTheScreenColourAtTheLargestWholeZoom) {
    struct Row {
        const char* format;
        int size;
        QSize expected;
        int zoom; // 0: scaled down smoothly
    };
    const std::vector<Row> rows{
        {"83i", 128, {96, 63}, 1},   {"8xi", 192, {192, 126}, 2}, {"82i", 500, {480, 315}, 5},
        {"92i", 256, {240, 103}, 1}, {"9xi", 480, {480, 206}, 2}, {"v2i", 1024, {960, 412}, 4},
        {"8xi", 64, {64, 42}, 0},    {"92i", 128, {128, 54}, 0},  {"v2i", 60, {60, 25}, 0},
    };
    for (const Row& row : rows) {
        const QString input = QString("pic.%1").arg(row.format);
        const QString output = QString("elsewhere/%1-%2.png").arg(row.format).arg(row.size);
        const Ran ran =
            calcpic({"thumbnail", "-s", QString::number(row.size), path(input), path(output)},
                    path("elsewhere"));
        ASSERT_EQ(ran.code, 0) << ran.err.toStdString();
        EXPECT_EQ(ran.out, "");
        EXPECT_EQ(ran.err, "");
        const QImage thumbnail(path(output), "PNG");
        ASSERT_FALSE(thumbnail.isNull()) << output.toStdString();
        EXPECT_EQ(thumbnail.size(), row.expected) << output.toStdString();
        const QImage grid = cells(input);
        int dark = 0;
        for (int y = 0; y < thumbnail.height(); ++y) {
            for (int x = 0; x < thumbnail.width(); ++x) {
                const QRgb c = thumbnail.pixel(x, y);
                if (row.zoom) {
                    const bool black = grid.pixel(x / row.zoom, y / row.zoom) == kDark;
                    ASSERT_EQ(c, black ? kDark : kScreen)
                        << output.toStdString() << " at " << x << ", " << y;
                } else {
                    // Between black and the screen colour, channel by channel.
                    ASSERT_LE(qRed(c), qRed(kScreen));
                    ASSERT_LE(qGreen(c), qGreen(kScreen));
                    ASSERT_LE(qBlue(c), qBlue(kScreen));
                }
                dark += qGray(c) < 100;
            }
        }
        EXPECT_GT(dark, 0) << output.toStdString();
    }
}

TEST_F(Thumbnail, ReplacesTheOutputNeverTheInputAndFailsCleanly) {
    // A file manager may create the output's name before it asks.
    writeAll(path("made.png"), "");
    Ran ran = calcpic({"thumbnail", "pic.8xi", "made.png"}, dir.path());
    EXPECT_EQ(ran.code, 0) << ran.err.toStdString();
    EXPECT_EQ(QImage(path("made.png")).size(), QSize(96, 63)); // 128 unless told

    const QByteArray input = readAll(path("pic.83i"));
    ran = calcpic({"thumbnail", "pic.83i", "./pic.83i"}, dir.path());
    EXPECT_EQ(ran.code, 1);
    EXPECT_TRUE(ran.err.contains("never overwrites")) << ran.err.toStdString();
    EXPECT_EQ(readAll(path("pic.83i")), input);

    writeAll(path("cut.92i"), readAll(path("pic.92i")).left(500));
    const struct {
        const char* input;
        const char* message;
    } bad[]{{"pattern.png", "not a calculator picture"},
            {"cut.92i", "too short"},
            {"gone.8xi", "No such file"}};
    for (const auto& row : bad) {
        ran = calcpic({"thumbnail", row.input, "bad.png"}, dir.path());
        EXPECT_EQ(ran.code, 1) << row.input;
        EXPECT_TRUE(ran.err.startsWith(QString("calcpic: %1: ").arg(row.input)))
            << ran.err.toStdString();
        EXPECT_TRUE(ran.err.contains(row.message)) << ran.err.toStdString();
        EXPECT_EQ(ran.err.count('\n'), 1);
        EXPECT_FALSE(QFileInfo::exists(path("bad.png"))) << row.input;
    }
    // A name that says nothing is recognised by the signature.
    ASSERT_TRUE(QFile::copy(path("pic.92i"), path("download")));
    ran = calcpic({"thumbnail", "-s", "240", "download", "download.png"}, dir.path());
    EXPECT_EQ(ran.code, 0) << ran.err.toStdString();
    EXPECT_EQ(QImage(path("download.png")).size(), QSize(240, 103));
}

TEST_F(Thumbnail, BadCommandLinesExitTwo) {
    const std::vector<QStringList> bad{
        {"thumbnail", "pic.83i"},
        {"thumbnail", "pic.83i", "a.png", "b.png"},
        {"thumbnail", "-s", "0", "pic.83i", "a.png"},
        {"thumbnail", "-s", "4097", "pic.83i", "a.png"},
        {"thumbnail", "-s", "big", "pic.83i", "a.png"},
        {"thumbnail", "--force", "pic.83i", "a.png"},
        {"convert", "pic.83i", "-o", "a.png", "-s", "64"},
        {"info", "-s", "64", "pic.83i"},
    };
    for (const QStringList& arguments : bad) {
        const Ran ran = calcpic(arguments, dir.path());
        EXPECT_EQ(ran.code, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(ran.err.contains("usage: calcpic info")) << ran.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(path("a.png")));
    const Ran help = calcpic({"--help"}, dir.path());
    EXPECT_TRUE(help.out.contains("calcpic thumbnail [-s SIZE] INPUT OUTPUT\n"));
}

} // namespace
