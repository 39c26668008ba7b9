// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <cstdint>
#include <initializer_list>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include <QByteArray>

class QImage;

namespace testing_support {

// A Windows metafile built word by word from its documented layout.
class WmfBuilder {
public:
    // Placeable header box in logical units, `inch` units per inch.
    WmfBuilder(int width, int height, int inch, int objects);
    WmfBuilder& record(std::uint16_t function, std::initializer_list<std::int32_t> words);
    WmfBuilder& colourRecord(std::uint16_t function, std::uint16_t before, std::uint32_t rgb,
                             std::initializer_list<std::int32_t> after);
    QByteArray bytes() const; // with the header's sizes filled in and a closing EOF

private:
    QByteArray m_records;
    int m_width, m_height, m_inch, m_objects;
    std::uint32_t m_largest = 3;
};

// An icon file (.ico) holding one DIB picture, laid out from the format's description.
// `pixel(x, y)` gives, top row first, the palette index (1, 4 and 8 bits) or 0xAARRGGBB (24
// and 32 bits) of each pixel; `masked(x, y)` sets its bit in the AND mask. Without `withMask`
// the file ends before the mask. The palette is black, white, then greys.
QByteArray iconFile(int bits, int width, int height,
                    const std::function<std::uint32_t(int x, int y)>& pixel,
                    const std::function<bool(int x, int y)>& masked, bool withMask = true);

// A PNG that declares its size and holds almost nothing.
QByteArray tinyPngDeclaring(int width, int height);
// A 24-bit BMP that declares its size and holds 64 bytes of pixels.
QByteArray tinyBmpDeclaring(int width, int height);

// A JPEG of the image, written by Qt, baseline or progressive.
QByteArray jpegOf(const QImage& image, bool progressive, int quality = 90);
// The JPEG with its frame header saying this size: a small file that declares a huge picture.
QByteArray jpegDeclaring(QByteArray jpeg, int width, int height);
// The JPEG with an Exif block giving the photo's orientation (1 upright ... 8), as cameras
// write it.
QByteArray jpegWithOrientation(const QByteArray& jpeg, int orientation);

// A bottom-up 8-bit RLE BMP (.rle) with a two-colour palette: black at index 0, white at 1.
QByteArray rle8Bitmap(int width, int height, const QByteArray& rleData);

// One picture of an animated GIF: its rectangle on the screen, a palette index per pixel (row
// by row), what happens to its rectangle after it is shown, and its delay.
struct GifFrame {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<std::uint8_t> indices;
    int disposal = 1; // 1 keep, 2 restore to the background, 3 restore what was there before
    int delay = 10;   // hundredths of a second
    std::optional<std::uint8_t> transparent;
};

// A GIF89a file laid out from the format's description: a global palette of up to four
// colours (0xRRGGBB), a looping animation block, and each frame's graphic control block,
// image descriptor and LZW data.
QByteArray gifFile(int width, int height, const std::vector<std::uint32_t>& palette,
                   std::uint8_t background, const std::vector<GifFrame>& frames);

} // namespace testing_support
