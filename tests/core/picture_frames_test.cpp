// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <string>
#include <vector>

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <gtest/gtest.h>

#include "core/imaging/picture_frames.h"
#include "tests/support/peak_memory.h"
#include "tests/support/picture_bytes.h"

using testing_support::gifFile;
using testing_support::GifFrame;

namespace {

// Palette: 0 white, 1 black, 2 red, 3 grey; the screen's background colour is grey.
const std::vector<std::uint32_t> kPalette{0xFFFFFF, 0x000000, 0xFF0000, 0x808080};

GifFrame frame(int left, int top, int width, int height, std::vector<std::uint8_t> indices,
               int disposal, int delay, std::optional<std::uint8_t> transparent = {}) {
    GifFrame f;
    f.left = left;
    f.top = top;
    f.width = width;
    f.height = height;
    f.indices = std::move(indices);
    f.disposal = disposal;
    f.delay = delay;
    f.transparent = transparent;
    return f;
}

// A picture as rows of letters: W white, B black, R red, g grey, . transparent.
std::string letters(const QImage& image) {
    std::string out;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            out += qAlpha(p) == 0             ? '.'
                   : p == qRgb(255, 255, 255) ? 'W'
                   : p == qRgb(0, 0, 0)       ? 'B'
                   : p == qRgb(255, 0, 0)     ? 'R'
                   : p == qRgb(128, 128, 128) ? 'g'
                                              : '?';
        }
        out += '\n';
    }
    return out;
}

struct Shown {
    std::vector<std::string> frames;
    std::vector<int> delays;
};

Shown allFrames(core::PictureFrames& frames) {
    Shown shown;
    QImage image;
    int delay = 0;
    while (frames.next(&image, &delay)) {
        shown.frames.push_back(letters(image));
        shown.delays.push_back(delay);
    }
    return shown;
}

std::string rows(std::initializer_list<const char*> lines) {
    std::string out;
    for (const char* line : lines)
        out += std::string(line) + "\n";
    return out;
}

} // namespace

// Each disposal as a viewer shows it: a frame that clears leaves its rectangle transparent (Qt's
// own reader paints the background grey there), one that puts back restores what was under it,
// and transparent pixels leave what is beneath.
TEST(PictureFrames, AGifsDisposalsGiveTheFramesAViewerShows) {
    const QByteArray gif =
        gifFile(4, 4, kPalette, 3,
                {frame(0, 0, 4, 4, std::vector<std::uint8_t>(16, 0), 1, 10),
                 frame(0, 0, 2, 2, {1, 1, 1, 1}, 2, 20),      // black corner, then cleared
                 frame(2, 2, 2, 2, {2, 2, 2, 2}, 3, 30),      // red corner, then put back
                 frame(1, 1, 2, 2, {1, 0, 0, 1}, 1, 40, 0)}); // a diagonal, white transparent
    core::PictureFrames frames(gif);
    EXPECT_EQ(frames.count(), 4);
    const Shown shown = allFrames(frames);
    const std::vector<std::string> expected{
        rows({"WWWW", "WWWW", "WWWW", "WWWW"}),
        rows({"BBWW", "BBWW", "WWWW", "WWWW"}),
        rows({"..WW", "..WW", "WWRR", "WWRR"}),
        rows({"..WW", ".BWW", "WWBW", "WWWW"}),
    };
    EXPECT_EQ(shown.frames, expected);
    EXPECT_EQ(shown.delays, (std::vector<int>{100, 200, 300, 400}));

    // What Qt's reader gives for the third frame, which is why the frames are composed here.
    QByteArray bytes = gif;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.read();
    reader.read();
    EXPECT_EQ(letters(reader.read()), rows({"ggWW", "ggWW", "WWRR", "WWRR"}));
}

TEST(PictureFrames, AFirstFrameSmallerThanTheScreenLeavesTheRestTransparent) {
    core::PictureFrames frames(gifFile(3, 2, kPalette, 3, {frame(1, 0, 2, 1, {1, 2}, 1, 5)}));
    EXPECT_EQ(frames.count(), 1);
    EXPECT_EQ(allFrames(frames).frames, std::vector<std::string>{rows({".BR", "..."})});
}

// A frame shown for no time builds the next one; an animation that gives every frame no time
// is played frame by frame, as browsers play it.
TEST(PictureFrames, FramesOfNoDelayArePartOfTheNextUnlessAllAre) {
    const auto parts = [](int firstDelay, int secondDelay) {
        return gifFile(2, 1, kPalette, 0,
                       {frame(0, 0, 1, 1, {1}, 1, firstDelay), frame(1, 0, 1, 1, {2}, 1, 0),
                        frame(0, 0, 1, 1, {0}, 1, secondDelay)});
    };
    core::PictureFrames built(parts(0, 7));
    EXPECT_EQ(built.count(), 1);
    Shown shown = allFrames(built);
    EXPECT_EQ(shown.frames, std::vector<std::string>{rows({"WR"})});
    EXPECT_EQ(shown.delays, std::vector<int>{70});

    core::PictureFrames first(parts(5, 7));
    EXPECT_EQ(first.count(), 2);
    EXPECT_EQ(allFrames(first).frames, (std::vector<std::string>{rows({"B."}), rows({"WR"})}));

    core::PictureFrames none(parts(0, 0));
    EXPECT_EQ(none.count(), 3);
    EXPECT_EQ(allFrames(none).frames,
              (std::vector<std::string>{rows({"B."}), rows({"BR"}), rows({"WR"})}));
}

TEST(PictureFrames, ACutGifGivesTheWholeFramesAndStillPicturesGiveOne) {
    QByteArray gif =
        gifFile(2, 2, kPalette, 0,
                {frame(0, 0, 2, 2, {1, 1, 1, 1}, 1, 10), frame(0, 0, 2, 2, {2, 2, 2, 2}, 1, 10),
                 frame(0, 0, 2, 2, {0, 0, 0, 0}, 1, 10)});
    gif.chop(6); // into the last frame's data
    core::PictureFrames cut(gif);
    EXPECT_EQ(cut.count(), 2);
    EXPECT_EQ(allFrames(cut).frames,
              (std::vector<std::string>{rows({"BB", "BB"}), rows({"RR", "RR"})}));

    QImage still(3, 1, QImage::Format_RGB32);
    still.fill(Qt::black);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    still.save(&buffer, "PNG");
    core::PictureFrames one(png);
    EXPECT_EQ(one.count(), 1);
    EXPECT_EQ(allFrames(one).frames, std::vector<std::string>{rows({"BBB"})});

    for (const QByteArray& bad :
         {QByteArray(), QByteArray("GIF89a"), QByteArray("not a picture")}) {
        core::PictureFrames nothing(bad);
        EXPECT_EQ(nothing.count(), 0) << bad.toStdString();
        EXPECT_FALSE(nothing.error().isEmpty()) << bad.toStdString();
        QImage image;
        int delay = 0;
        EXPECT_FALSE(nothing.next(&image, &delay));
    }
}

// A frame that reaches far past the screen and is to be put back afterwards: what is kept
// of the screen beneath it is the screen's part only, not a picture the frame's declared size.
TEST(PictureFrames, AFramePastTheScreenKeepsOnlyTheScreenBeneathIt) {
    const QByteArray gif =
        gifFile(2, 2, kPalette, 0,
                {frame(0, 0, 2, 2, {1, 1, 1, 1}, 1, 10), frame(1, 1, 12000, 12000, {2}, 3, 10),
                 frame(0, 0, 1, 1, {0}, 1, 10)});
    testing_support::resetPeak();
    const long before = testing_support::peakMegabytes();
    core::PictureFrames frames(gif);
    const Shown shown = allFrames(frames);
    EXPECT_LT(testing_support::peakMegabytes() - before, 64);
    ASSERT_EQ(shown.frames.size(), 3u);
    EXPECT_EQ(shown.frames[1], rows({"BB", "BR"})); // the frame's one pixel, on the screen
    EXPECT_EQ(shown.frames[2], rows({"WB", "BB"})); // the black screen, put back
}
