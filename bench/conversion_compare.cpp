// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// Which conversion reads best at calculator size: every candidate default converts a set of
// pictures to 96 x 63 and 240 x 103 cells, Fit, and each result is scored by its likeness to
// the picture after the eye's blur (see docs/conversion.md for the measure). Prints the table
// in Markdown and, given a file name, draws the sheet of the same pictures side by side.
//
//   conversion_compare [PHOTO_DIR] [SHEET.png]
//
// PHOTO_DIR: a folder holding camera.png, astronaut.png, chelsea.png, coffee.png, moon.png
// and text.png (the freely licensed test photos Debian ships in python3-skimage); without it,
// or where a file is missing, only the pictures made here are scored.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "core/imaging/picture_conversion_source.h"
#include "core/model/picture_conversion.h"

namespace {

using core::ConversionOptions;
using core::Dither;
using core::GreyCells;
using core::PixelGrid;

struct Picture {
    std::string name;
    std::string origin;
    QImage image;
    bool madeHere = true;
};

// A repeatable pseudo-random sequence, for grain and textures.
class Noise {
public:
    explicit Noise(unsigned seed) : m_state(seed) {}
    double next() { // -1 .. 1
        m_state = m_state * 1103515245u + 12345u;
        return double((m_state >> 8) & 0xFFFF) / 32767.5 - 1;
    }

private:
    unsigned m_state;
};

// Film grain: each pixel moved by up to `amount` grey levels, as a camera's sensor does.
void addGrain(QImage& image, int amount, unsigned seed) {
    Noise noise(seed);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int d = int(std::lround(noise.next() * amount));
            auto c = [d](int v) { return std::clamp(v + d, 0, 255); };
            line[x] = qRgb(c(qRed(line[x])), c(qGreen(line[x])), c(qBlue(line[x])));
        }
    }
}

QImage canvas(QColor fill = Qt::white) {
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

// A head and shoulders lit from the upper left, in front of a graded wall.
QImage portrait() {
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient wall(0, 0, 640, 480);
    wall.setColorAt(0, QColor(190, 200, 210));
    wall.setColorAt(1, QColor(90, 95, 110));
    p.fillRect(image.rect(), wall);
    QRadialGradient coat(260, 420, 260);
    coat.setColorAt(0, QColor(70, 60, 120));
    coat.setColorAt(1, QColor(20, 15, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(coat);
    p.drawEllipse(QRectF(120, 360, 400, 260));
    QRadialGradient skin(280, 190, 170);
    skin.setColorAt(0, QColor(250, 215, 185));
    skin.setColorAt(0.7, QColor(200, 150, 120));
    skin.setColorAt(1, QColor(120, 80, 60));
    p.setBrush(skin);
    p.drawRect(QRectF(285, 300, 70, 80)); // neck
    p.drawEllipse(QRectF(215, 95, 210, 260));
    p.setBrush(QColor(60, 40, 25)); // hair
    QPainterPath hair;
    hair.moveTo(210, 210);
    hair.cubicTo(190, 60, 450, 40, 430, 210);
    hair.cubicTo(420, 140, 300, 120, 210, 210);
    p.drawPath(hair);
    p.setBrush(QColor(245, 245, 240)); // eyes
    p.drawEllipse(QRectF(262, 205, 40, 20));
    p.drawEllipse(QRectF(340, 205, 40, 20));
    p.setBrush(QColor(40, 70, 90));
    p.drawEllipse(QRectF(274, 207, 16, 16));
    p.drawEllipse(QRectF(352, 207, 16, 16));
    p.setPen(QPen(QColor(70, 45, 30), 7, Qt::SolidLine, Qt::RoundCap)); // brows
    p.drawLine(258, 190, 304, 186);
    p.drawLine(338, 186, 384, 190);
    p.setPen(QPen(QColor(150, 100, 80), 4, Qt::SolidLine, Qt::RoundCap)); // nose
    p.drawLine(322, 225, 312, 268);
    p.drawLine(312, 268, 330, 272);
    p.setPen(QPen(QColor(150, 50, 50), 8, Qt::SolidLine, Qt::RoundCap)); // mouth
    p.drawArc(QRectF(283, 270, 80, 40), 200 * 16, 140 * 16);
    p.end();
    addGrain(image, 6, 1);
    return image;
}

// Sky, sun, three ranges of hills, a house and a tree.
QImage landscape() {
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, QColor(60, 110, 190));
    sky.setColorAt(1, QColor(200, 220, 240));
    p.fillRect(image.rect(), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 240, 180));
    p.drawEllipse(QPointF(500, 90), 45, 45);
    const QColor hills[] = {QColor(120, 140, 150), QColor(80, 130, 70), QColor(40, 90, 40)};
    for (int range = 0; range < 3; ++range) {
        QPainterPath path;
        path.moveTo(0, 480);
        for (int x = 0; x <= 640; x += 10) {
            const double y = 230 + range * 70 + 30 * std::sin(x / (60.0 + 25 * range) + range) +
                             12 * std::sin(x / 17.0 + 2 * range);
            path.lineTo(x, y);
        }
        path.lineTo(640, 480);
        p.setBrush(hills[range]);
        p.drawPath(path);
    }
    p.setBrush(QColor(200, 190, 170)); // house
    p.drawRect(QRectF(120, 300, 110, 80));
    p.setBrush(QColor(140, 40, 30));
    p.drawPolygon(QPolygonF({QPointF(110, 300), QPointF(175, 250), QPointF(240, 300)}));
    p.setBrush(QColor(40, 50, 70));
    p.drawRect(QRectF(140, 320, 25, 25));
    p.drawRect(QRectF(185, 330, 25, 50));
    p.setBrush(QColor(80, 55, 30)); // tree
    p.drawRect(QRectF(425, 300, 22, 110));
    QRadialGradient leaves(420, 260, 90);
    leaves.setColorAt(0, QColor(110, 170, 80));
    leaves.setColorAt(1, QColor(20, 60, 20));
    p.setBrush(leaves);
    p.drawEllipse(QPointF(436, 270), 80, 70);
    p.end();
    addGrain(image, 8, 2);
    return image;
}

// The moon's surface in low contrast: greys about 100..150, craters a shade darker with a lit
// rim, the way a telescope photo looks before its levels are stretched.
QImage moonScene() {
    QImage image = canvas(QColor(118, 118, 118));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    Noise noise(3);
    for (int i = 0; i < 60; ++i) { // maria: broad darker patches
        const double x = 320 + 320 * noise.next(), y = 240 + 240 * noise.next();
        const double r = 30 + 40 * std::abs(noise.next());
        p.setBrush(QColor(108, 108, 108, 60));
        p.drawEllipse(QPointF(x, y), r * 1.4, r);
    }
    for (int i = 0; i < 45; ++i) { // craters
        const double x = 320 + 330 * noise.next(), y = 240 + 250 * noise.next();
        const double r = 8 + 38 * std::abs(noise.next()) * std::abs(noise.next());
        p.setBrush(QColor(142, 142, 142));
        p.drawEllipse(QPointF(x - r * 0.12, y - r * 0.12), r * 1.08, r * 1.08);
        p.setBrush(QColor(104, 104, 104));
        p.drawEllipse(QPointF(x + r * 0.1, y + r * 0.1), r, r);
        p.setBrush(QColor(122, 122, 122));
        p.drawEllipse(QPointF(x + r * 0.2, y + r * 0.2), r * 0.55, r * 0.55);
    }
    p.end();
    addGrain(image, 5, 4);
    return image;
}

// A printed page under uneven light: dark grey ink on grey paper, brighter in one corner.
QImage page() {
    QImage image = canvas();
    QPainter p(&image);
    QRadialGradient light(150, 100, 700);
    light.setColorAt(0, QColor(200, 198, 190));
    light.setColorAt(1, QColor(140, 138, 130));
    p.fillRect(image.rect(), light);
    p.setPen(QColor(85, 85, 90));
    QFont heading(QStringLiteral("DejaVu Sans"));
    heading.setPixelSize(56);
    heading.setBold(true);
    p.setFont(heading);
    p.drawText(QRect(30, 20, 600, 80), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("CHAPTER 3"));
    QFont body(QStringLiteral("DejaVu Sans"));
    body.setPixelSize(26);
    p.setFont(body);
    const char* lines[] = {"The quick brown fox jumps", "over the lazy dog, and the",
                           "five boxing wizards jump", "quickly. Pack my box with",
                           "five dozen liquor jugs."};
    int y = 120;
    for (const char* line : lines) {
        p.drawText(QPoint(30, y + 26), QString::fromLatin1(line));
        y += 62;
    }
    p.end();
    addGrain(image, 4, 5);
    return image;
}

// Black strokes on white: what a user draws or scans, with thin and thick lines.
QImage lineArt() {
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 6));
    p.drawEllipse(QPointF(150, 150), 100, 100);
    p.drawRect(QRectF(340, 60, 240, 170));
    p.setPen(QPen(Qt::black, 3));
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double a = i * M_PI / 5 - M_PI / 2, r = i % 2 ? 40 : 100;
        star << QPointF(460 + r * std::cos(a), 360 + r * std::sin(a));
    }
    p.drawPolygon(star);
    for (int i = 0; i < 8; ++i)
        p.drawLine(40 + i * 30, 300, 40 + i * 30, 450);
    p.setPen(QPen(Qt::black, 10, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(100, 110, 200, 190);
    p.end();
    return image;
}

// A grey ramp across the top half, a radial gradient below.
QImage gradients() {
    QImage image = canvas();
    QPainter p(&image);
    QLinearGradient ramp(0, 0, 640, 0);
    ramp.setColorAt(0, Qt::black);
    ramp.setColorAt(1, Qt::white);
    p.fillRect(QRect(0, 0, 640, 240), ramp);
    QRadialGradient disc(320, 360, 200);
    disc.setColorAt(0, Qt::white);
    disc.setColorAt(1, QColor(30, 30, 30));
    p.fillRect(QRect(0, 240, 640, 240), disc);
    return image;
}

std::vector<Picture> pictures(const QString& photoDir) {
    const std::string made = "made here (bench/conversion_compare.cpp)";
    std::vector<Picture> out{
        {"portrait", made, portrait()},    {"landscape", made, landscape()},
        {"moon scene", made, moonScene()}, {"page", made, page()},
        {"line art", made, lineArt()},     {"gradients", made, gradients()},
    };
    // The photos of the outside review, from Debian's python3-skimage (skimage/data).
    const std::pair<const char*, const char*> photos[] = {
        {"camera", "CC0, Lav Varshney"},         {"astronaut", "public domain, NASA"},
        {"chelsea", "CC0, Stefan van der Walt"}, {"coffee", "CC0, Rachel Michetti"},
        {"moon", "scikit-image sample data"},    {"text", "public domain"},
    };
    if (!photoDir.isEmpty()) {
        for (const auto& [name, licence] : photos) {
            const QImage image(QDir(photoDir).filePath(QString::fromLatin1(name) + ".png"));
            if (!image.isNull())
                out.push_back({name, std::string("python3-skimage, ") + licence, image, false});
        }
    }
    return out;
}

struct Candidate {
    std::string name;
    ConversionOptions options;
    bool otsu = false; // the threshold is Otsu's, of the picture as the tone leaves it
};

ConversionOptions options(Dither dither, bool levels, int strength = 100, bool serpentine = false) {
    ConversionOptions o(128, dither, false);
    o.tone.autoLevels = levels;
    o.strength = strength;
    o.serpentine = serpentine;
    return o;
}

std::vector<Candidate> candidates() {
    return {
        {"Floyd-Steinberg 128 (old default)", options(Dither::FloydSteinberg, false)},
        {"Floyd-Steinberg, serpentine", options(Dither::FloydSteinberg, false, 100, true)},
        {"Floyd-Steinberg 75 %", options(Dither::FloydSteinberg, false, 75)},
        {"Atkinson", options(Dither::Atkinson, false)},
        {"Ordered 8x8", options(Dither::Ordered8, false)},
        {"Otsu, no dither", options(Dither::None, false), true},
        {"Otsu + Atkinson", options(Dither::Atkinson, false), true},
        {"Levels + Floyd-Steinberg", options(Dither::FloydSteinberg, true)},
        {"Levels + Floyd-Steinberg, serpentine", options(Dither::FloydSteinberg, true, 100, true)},
        {"Levels + Floyd-Steinberg 75 %", options(Dither::FloydSteinberg, true, 75)},
        {"Levels + Floyd-Steinberg 75 %, serpentine",
         options(Dither::FloydSteinberg, true, 75, true)},
        {"Levels + Floyd-Steinberg 50 %", options(Dither::FloydSteinberg, true, 50)},
        {"Levels + Floyd-Steinberg 25 %", options(Dither::FloydSteinberg, true, 25)},
        {"Levels + Atkinson", options(Dither::Atkinson, true)},
        {"Levels + Atkinson 50 %", options(Dither::Atkinson, true, 50)},
        {"Levels + Atkinson, serpentine", options(Dither::Atkinson, true, 100, true)},
        {"Levels + Ordered 8x8", options(Dither::Ordered8, true)},
        {"Levels + Otsu, no dither", options(Dither::None, true), true},
        {"Levels, no dither (the web recipe)", options(Dither::None, true)},
        {"threshold 50 %, no dither (plain threshold)", options(Dither::None, false)},
    };
}

PixelGrid convert(const GreyCells& cells, const Candidate& candidate) {
    ConversionOptions o = candidate.options;
    if (candidate.otsu)
        o.threshold = core::otsuThreshold(cells, o.tone);
    return core::convertCells(cells, o);
}

// A Gaussian of standard deviation `sigma`, taken over the cells that hold picture only: the
// weights of the cells off the picture are left out and the rest renormalised.
std::vector<double> gaussian(const std::vector<double>& values, const std::vector<double>& mask,
                             int rows, int columns, double sigma) {
    const int radius = int(std::ceil(3 * sigma));
    std::vector<double> kernel(size_t(2 * radius + 1));
    for (int i = -radius; i <= radius; ++i)
        kernel[size_t(i + radius)] = std::exp(-i * i / (2 * sigma * sigma));
    auto pass = [&](const std::vector<double>& in, bool across) {
        std::vector<double> out(in.size(), 0);
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < columns; ++x) {
                double sum = 0;
                for (int i = -radius; i <= radius; ++i) {
                    const int xx = across ? x + i : x, yy = across ? y : y + i;
                    if (xx >= 0 && xx < columns && yy >= 0 && yy < rows)
                        sum += kernel[size_t(i + radius)] * in[size_t(yy * columns + xx)];
                }
                out[size_t(y * columns + x)] = sum;
            }
        return out;
    };
    std::vector<double> weighted(values.size());
    for (size_t i = 0; i < values.size(); ++i)
        weighted[i] = values[i] * mask[i];
    const std::vector<double> num = pass(pass(weighted, true), false);
    const std::vector<double> den = pass(pass(mask, true), false);
    std::vector<double> out(values.size(), 0);
    for (size_t i = 0; i < values.size(); ++i)
        out[i] = den[i] > 0 ? num[i] / den[i] : 0;
    return out;
}

constexpr double kWindowSigma = 1.5;

// The mean structural similarity (Wang, Bovik, Sheikh and Simoncelli, 2004: Gaussian window
// of 1.5, C1 = (0.01 * 255)^2, C2 = (0.03 * 255)^2) between the result and the grey picture,
// both blurred as the eye blurs them, over the cells that hold picture.
double likeness(const GreyCells& cells, const PixelGrid& result, double eyeSigma) {
    const int rows = cells.rows, columns = cells.columns;
    std::vector<double> mask(size_t(rows * columns)), x(mask.size()), y(mask.size());
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const size_t i = size_t(r * columns + c);
            mask[i] = cells.at(r, c) == GreyCells::kNoPicture ? 0 : 1;
            x[i] = result.at(r, c) ? 0 : 255;
            y[i] = mask[i] ? cells.at(r, c) : 0;
        }
    x = gaussian(x, mask, rows, columns, eyeSigma);
    y = gaussian(y, mask, rows, columns, eyeSigma);
    std::vector<double> xx(x.size()), yy(x.size()), xy(x.size());
    for (size_t i = 0; i < x.size(); ++i) {
        xx[i] = x[i] * x[i];
        yy[i] = y[i] * y[i];
        xy[i] = x[i] * y[i];
    }
    const auto mx = gaussian(x, mask, rows, columns, kWindowSigma);
    const auto my = gaussian(y, mask, rows, columns, kWindowSigma);
    const auto mxx = gaussian(xx, mask, rows, columns, kWindowSigma);
    const auto myy = gaussian(yy, mask, rows, columns, kWindowSigma);
    const auto mxy = gaussian(xy, mask, rows, columns, kWindowSigma);
    const double c1 = std::pow(0.01 * 255, 2), c2 = std::pow(0.03 * 255, 2);
    double sum = 0, count = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        if (!mask[i])
            continue;
        const double vx = mxx[i] - mx[i] * mx[i], vy = myy[i] - my[i] * my[i];
        const double cov = mxy[i] - mx[i] * my[i];
        sum += (2 * mx[i] * my[i] + c1) * (2 * cov + c2) /
               ((mx[i] * mx[i] + my[i] * my[i] + c1) * (vx + vy + c2));
        count += 1;
    }
    return count ? sum / count : 0;
}

const QSize kGrids[] = {QSize(96, 63), QSize(240, 103)};

// The eye's blur on each screen, in cells (see docs/conversion.md): a TI-83's cell seen from
// 35 cm is about 6 arcmin, a TI-92's from 40 cm about 3.
constexpr double kEyeSigma[2] = {0.44, 0.62};

// Scores every candidate on every picture at both grid sizes, prints the table best first and
// returns the candidates in that order.
std::vector<size_t> scoreTable(const std::vector<Picture>& all, const std::vector<Candidate>& list,
                               std::array<double, 2> sigma, bool print = true) {
    // score[candidate][picture] over both grids, and per grid.
    std::vector<std::vector<double>> score(list.size(), std::vector<double>(all.size(), 0));
    std::vector<std::vector<double>> byGrid(list.size(), std::vector<double>(2, 0));
    for (size_t p = 0; p < all.size(); ++p) {
        for (int g = 0; g < 2; ++g) {
            const GreyCells cells =
                core::ConversionSource(all[p].image, kGrids[g]).cells(core::ScaleMode::Fit);
            for (size_t c = 0; c < list.size(); ++c) {
                const double s = likeness(cells, convert(cells, list[c]), sigma[size_t(g)]);
                score[c][p] += s / 2;
                byGrid[c][size_t(g)] += s / double(all.size());
            }
        }
    }
    std::vector<size_t> order(list.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    auto overall = [&](size_t c) { return (byGrid[c][0] + byGrid[c][1]) / 2; };
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return overall(a) > overall(b); });
    if (!print) {
        std::printf("| %.2f, %.2f | %s | %.3f | %s | %.3f |\n", sigma[0], sigma[1],
                    list[order[0]].name.c_str(), overall(order[0]), list[order[1]].name.c_str(),
                    overall(order[1]));
        return order;
    }

    std::printf("| candidate |");
    for (const Picture& p : all)
        std::printf(" %s |", p.name.c_str());
    std::printf(" 96 x 63 | 240 x 103 | overall |\n|---|");
    for (size_t p = 0; p < all.size() + 3; ++p)
        std::printf("---:|");
    std::printf("\n");
    for (size_t c : order) {
        std::printf("| %s |", list[c].name.c_str());
        for (size_t p = 0; p < all.size(); ++p)
            std::printf(" %.3f |", score[c][p]);
        std::printf(" %.3f | %.3f | **%.3f** |\n", byGrid[c][0], byGrid[c][1], overall(c));
    }
    // The program's own default, for checking that it is the winner.
    const ConversionOptions ours;
    for (size_t c = 0; c < list.size(); ++c)
        if (list[c].options == ours && !list[c].otsu)
            std::printf("\nThe programs' default is \"%s\", scoring %.3f; the best is \"%s\", "
                        "%.3f.\n",
                        list[c].name.c_str(), overall(c), list[order[0]].name.c_str(),
                        overall(order[0]));
    return order;
}

QImage cellImage(const GreyCells& cells, const PixelGrid* result, int zoom) {
    QImage image(cells.columns * zoom, cells.rows * zoom, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    for (int r = 0; r < cells.rows; ++r)
        for (int c = 0; c < cells.columns; ++c) {
            const int g = cells.at(r, c);
            if (g == GreyCells::kNoPicture)
                continue;
            const int shown = result ? (result->at(r, c) ? 0 : 255) : g;
            p.fillRect(c * zoom, r * zoom, zoom, zoom, QColor(shown, shown, shown));
        }
    return image;
}

// The same pictures side by side: the grey picture at calculator size, then the conversions.
void drawSheet(const QString& path, const std::vector<Picture>& all,
               const std::vector<const Candidate*>& columns,
               const std::vector<std::string>& titles) {
    const int zoom = 3, gap = 16, label = 40;
    const QSize grid = kGrids[0];
    std::vector<const Picture*> rows;
    for (const Picture& p : all)
        if (p.madeHere && (p.name == "portrait" || p.name == "landscape" ||
                           p.name == "moon scene" || p.name == "page"))
            rows.push_back(&p);
    const int cellW = grid.width() * zoom, cellH = grid.height() * zoom;
    const int n = int(columns.size()) + 1;
    QImage sheet(gap + n * (cellW + gap), label + int(rows.size()) * (cellH + gap),
                 QImage::Format_RGB32);
    sheet.fill(QColor(225, 225, 225));
    QPainter p(&sheet);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    p.setFont(font);
    for (int i = 0; i < n; ++i) {
        const QString title =
            QString::fromStdString(i == 0 ? "the picture, grey, 96 x 63" : titles[size_t(i - 1)]);
        p.drawText(QRect(gap + i * (cellW + gap), 4, cellW, label - 8),
                   Qt::AlignCenter | Qt::TextWordWrap, title);
    }
    for (size_t r = 0; r < rows.size(); ++r) {
        const GreyCells cells =
            core::ConversionSource(rows[r]->image, grid).cells(core::ScaleMode::Fit);
        const int top = label + int(r) * (cellH + gap);
        p.drawImage(gap, top, cellImage(cells, nullptr, zoom));
        for (size_t c = 0; c < columns.size(); ++c) {
            const PixelGrid result = convert(cells, *columns[c]);
            p.drawImage(gap + int(c + 1) * (cellW + gap), top, cellImage(cells, &result, zoom));
        }
    }
    p.end();
    sheet.save(path, "PNG");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString photoDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QString sheetPath = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const std::vector<Picture> all = pictures(photoDir);
    const std::vector<Candidate> list = candidates();

    const std::vector<size_t> order = scoreTable(all, list, {kEyeSigma[0], kEyeSigma[1]});
    std::printf("\nPictures:\n");
    for (const Picture& p : all)
        std::printf("- %s: %d x %d, %s\n", p.name.c_str(), p.image.width(), p.image.height(),
                    p.origin.c_str());
    std::printf(
        "\nThe winner as the blur widens (the calculator seen from further away):\n\n"
        "| eye's blur (cells) | best | score | second | score |\n|---|---|---:|---|---:|\n");
    for (double k : {0.75, 1.0, 1.25, 1.5, 1.75, 2.0, 2.5})
        scoreTable(all, list, {k * kEyeSigma[0], k * kEyeSigma[1]}, false);
    std::printf("\nThe whole table with a blur of 1 cell on both screens:\n\n");
    scoreTable(all, list, {1.0, 1.0});

    if (!sheetPath.isEmpty()) {
        auto named = [&](const std::string& prefix) {
            for (const Candidate& c : list)
                if (c.name.rfind(prefix, 0) == 0)
                    return &c;
            return &list[0];
        };
        const Candidate* best = &list[order[0]];
        drawSheet(
            sheetPath, all,
            {named("Floyd-Steinberg 128"), best, named("Otsu + Atkinson"), named("threshold 50 %")},
            {"old default: Floyd-Steinberg at 128", "new default: " + best->name,
             "Otsu + Atkinson (the review's Auto + Atkinson)", "plain threshold at 50 %"});
        std::printf("\nSheet: %s\n", sheetPath.toLocal8Bit().constData());
    }
    return 0;
}
