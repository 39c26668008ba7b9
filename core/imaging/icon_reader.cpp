// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/imaging/icon_reader.h"

#include <cstdint>
#include <cstring>

#include <QIODevice>

namespace core {
namespace {

// An icon picture is at most 256 pixels square; anything beyond this is not an icon.
constexpr int kLargestSide = 1024;
constexpr qint64 kLargestFile = 8 << 20;

std::uint32_t le(const QByteArray& d, qint64 at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | std::uint8_t(d[at + i]);
    return v;
}

// The directory's first entry: where its picture starts. The file must begin with an icon
// (type 1) or cursor (type 2) directory.
std::optional<qint64> firstEntryOffset(const QByteArray& d) {
    if (d.size() < 22 || le(d, 0, 2) != 0 || (le(d, 2, 2) != 1 && le(d, 2, 2) != 2) ||
        le(d, 4, 2) == 0)
        return std::nullopt;
    return qint64(le(d, 18, 4));
}

} // namespace

std::optional<QImage> readIconPicture(const QByteArray& d) {
    const auto offset = firstEntryOffset(d);
    if (!offset || *offset < 22 || *offset > d.size() - 40)
        return std::nullopt;
    //  0 4 header size    4 4 width    8 4 height of picture and mask together
    // 14 2 bits per pixel 16 4 compression (0: none)   32 4 colours used
    const qint64 at = *offset;
    const std::uint32_t headerSize = le(d, at, 4);
    const auto width = std::int32_t(le(d, at + 4, 4));
    const auto doubled = std::int32_t(le(d, at + 8, 4));
    const std::uint32_t bits = le(d, at + 14, 2);
    const std::uint32_t compression = le(d, at + 16, 4);
    const std::uint32_t used = le(d, at + 32, 4);
    const int height = doubled / 2;
    if (headerSize < 40 || headerSize > 1024 || compression != 0 || width <= 0 || height <= 0 ||
        width > kLargestSide || height > kLargestSide ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32))
        return std::nullopt;

    const qint64 colours = bits <= 8 ? (used > 0 && used < (1u << bits) ? used : 1u << bits) : 0;
    const qint64 palette = at + headerSize;
    const qint64 pixels = palette + 4 * colours;
    const qint64 stride = (qint64(width) * bits + 31) / 32 * 4;
    const qint64 maskStride = (qint64(width) + 31) / 32 * 4;
    const qint64 mask = pixels + stride * height;
    if (mask > d.size())
        return std::nullopt; // the picture itself is cut short: Qt says what is wrong
    // An icon whose mask is missing altogether is opaque.
    const bool hasMask = mask + maskStride * height <= d.size();

    QImage image(width, height, QImage::Format_ARGB32);
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const qint64 row = pixels + stride * (height - 1 - y); // bottom-up
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (bits == 32) {
                const qint64 p = row + 4 * x;
                const int alpha = std::uint8_t(d[p + 3]);
                anyAlpha = anyAlpha || alpha != 0;
                out[x] = qRgba(std::uint8_t(d[p + 2]), std::uint8_t(d[p + 1]), std::uint8_t(d[p]),
                               alpha);
            } else if (bits == 24) {
                const qint64 p = row + 3 * x;
                out[x] = qRgb(std::uint8_t(d[p + 2]), std::uint8_t(d[p + 1]), std::uint8_t(d[p]));
            } else {
                const qint64 bit = qint64(x) * bits;
                const int shift = 8 - int(bit % 8) - int(bits);
                const int index = (std::uint8_t(d[row + bit / 8]) >> shift) & ((1 << bits) - 1);
                if (index >= colours) {
                    out[x] = qRgba(255, 255, 255, 0); // no such colour: never black
                } else {
                    const qint64 c = palette + 4 * index;
                    out[x] =
                        qRgb(std::uint8_t(d[c + 2]), std::uint8_t(d[c + 1]), std::uint8_t(d[c]));
                }
            }
        }
    }
    // A 32-bit picture with real alpha says itself what shows; otherwise the mask does, and a
    // pixel it marks keeps its colour but none of it shows.
    if (hasMask && !(bits == 32 && anyAlpha)) {
        for (int y = 0; y < height; ++y) {
            const qint64 row = mask + maskStride * (height - 1 - y);
            auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const bool transparent = (std::uint8_t(d[row + x / 8]) >> (7 - x % 8)) & 1;
                out[x] = transparent ? (out[x] & 0x00FFFFFFu) : (out[x] | 0xFF000000u);
            }
        }
    } else if (bits == 32 && !anyAlpha) {
        for (int y = 0; y < height; ++y) {
            auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width; ++x)
                out[x] |= 0xFF000000u;
        }
    }
    return image;
}

std::optional<QImage> readIconPicture(QIODevice* device) {
    if (!firstEntryOffset(device->peek(22)))
        return std::nullopt;
    const qint64 size = device->isSequential() ? kLargestFile : device->size();
    if (size > kLargestFile)
        return std::nullopt;
    return readIconPicture(device->peek(size));
}

} // namespace core
