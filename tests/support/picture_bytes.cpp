// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "tests/support/picture_bytes.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

namespace testing_support {
namespace {

void put16(QByteArray& b, std::uint32_t v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}
void put32(QByteArray& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

} // namespace

WmfBuilder::WmfBuilder(int width, int height, int inch, int objects)
    : m_width(width), m_height(height), m_inch(inch), m_objects(objects) {}

WmfBuilder& WmfBuilder::record(std::uint16_t function, std::initializer_list<std::int32_t> words) {
    const std::uint32_t size = 3 + std::uint32_t(words.size());
    put32(m_records, size);
    put16(m_records, function);
    for (std::int32_t w : words)
        put16(m_records, std::uint32_t(w) & 0xFFFF);
    m_largest = std::max(m_largest, size);
    return *this;
}

WmfBuilder& WmfBuilder::colourRecord(std::uint16_t function, std::uint16_t before,
                                     std::uint32_t rgb, std::initializer_list<std::int32_t> after) {
    // COLORREF is red, green, blue, 0 in memory: two words, low byte first.
    const std::uint32_t ref = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    const std::uint32_t size = 3 + 1 + 2 + std::uint32_t(after.size());
    put32(m_records, size);
    put16(m_records, function);
    put16(m_records, before);
    put32(m_records, ref);
    for (std::int32_t w : after)
        put16(m_records, std::uint32_t(w) & 0xFFFF);
    m_largest = std::max(m_largest, size);
    return *this;
}

QByteArray WmfBuilder::bytes() const {
    QByteArray placeable;
    put32(placeable, 0x9AC6CDD7);
    put16(placeable, 0);
    put16(placeable, 0), put16(placeable, 0);
    put16(placeable, std::uint32_t(m_width)), put16(placeable, std::uint32_t(m_height));
    put16(placeable, std::uint32_t(m_inch));
    put32(placeable, 0);
    std::uint16_t checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= std::uint16_t(std::uint8_t(placeable[i]) | std::uint8_t(placeable[i + 1]) << 8);
    put16(placeable, checksum);

    QByteArray records = m_records;
    put32(records, 3);
    put16(records, 0); // EOF

    QByteArray header;
    put16(header, 1);
    put16(header, 9);
    put16(header, 0x0300);
    put32(header, std::uint32_t(9 + records.size() / 2));
    put16(header, std::uint32_t(m_objects));
    put32(header, m_largest);
    put16(header, 0);
    return placeable + header + records;
}

QByteArray iconFile(int bits, int width, int height,
                    const std::function<std::uint32_t(int x, int y)>& pixel,
                    const std::function<bool(int x, int y)>& masked, bool withMask) {
    const int colours = bits <= 8 ? 1 << bits : 0;
    const int stride = (width * bits + 31) / 32 * 4;
    const int maskStride = (width + 31) / 32 * 4;
    QByteArray dib;
    put32(dib, 40);
    put32(dib, std::uint32_t(width));
    put32(dib, std::uint32_t(2 * height)); // picture and mask
    put16(dib, 1);
    put16(dib, std::uint32_t(bits));
    put32(dib, 0); // no compression
    put32(dib, std::uint32_t((stride + maskStride) * height));
    put32(dib, 0), put32(dib, 0);
    put32(dib, 0), put32(dib, 0);
    for (int i = 0; i < colours; ++i) { // B G R 0
        const std::uint8_t grey = i == 0 ? 0 : i == 1 ? 255 : std::uint8_t(i);
        put32(dib, std::uint32_t(grey) * 0x010101u);
    }
    for (int y = height - 1; y >= 0; --y) { // bottom-up
        QByteArray row(stride, '\0');
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = pixel(x, y);
            if (bits == 32 || bits == 24) {
                const int at = x * bits / 8;
                row[at] = char(v & 0xFF), row[at + 1] = char((v >> 8) & 0xFF);
                row[at + 2] = char((v >> 16) & 0xFF);
                if (bits == 32)
                    row[at + 3] = char(v >> 24);
            } else {
                const int bit = x * bits;
                row[bit / 8] = char(std::uint8_t(row[bit / 8]) | v << (8 - bit % 8 - bits));
            }
        }
        dib += row;
    }
    if (withMask) {
        for (int y = height - 1; y >= 0; --y) {
            QByteArray row(maskStride, '\0');
            for (int x = 0; x < width; ++x)
                if (masked(x, y))
                    row[x / 8] = char(std::uint8_t(row[x / 8]) | 0x80 >> (x % 8));
            dib += row;
        }
    }
    QByteArray file;
    put16(file, 0), put16(file, 1), put16(file, 1); // an icon directory of one picture
    file.append(char(width)), file.append(char(height)), file.append(char(colours & 0xFF));
    file.append('\0');
    put16(file, 1), put16(file, std::uint32_t(bits));
    put32(file, std::uint32_t(dib.size()));
    put32(file, 22);
    return file + dib;
}

namespace {

std::uint32_t crc32Of(const QByteArray& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= std::uint8_t(c);
        for (int k = 0; k < 8; ++k)
            crc = crc & 1 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

void putBig32(QByteArray& b, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        b.append(char((v >> shift) & 0xFF));
}

void pngChunk(QByteArray& png, const char* type, const QByteArray& data) {
    putBig32(png, std::uint32_t(data.size()));
    const QByteArray body = QByteArray(type, 4) + data;
    png += body;
    putBig32(png, crc32Of(body));
}

} // namespace

QByteArray tinyPngDeclaring(int width, int height) {
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    putBig32(header, std::uint32_t(width));
    putBig32(header, std::uint32_t(height));
    header += QByteArray("\x08\x02\x00\x00\x00", 5); // 8-bit RGB
    pngChunk(png, "IHDR", header);
    pngChunk(png, "IDAT", qCompress(QByteArray(16, '\0')).mid(4));
    pngChunk(png, "IEND", {});
    return png;
}

QByteArray tinyBmpDeclaring(int width, int height) {
    QByteArray b("BM");
    put32(b, 14 + 40 + 64);
    put32(b, 0);
    put32(b, 14 + 40);
    put32(b, 40);
    put32(b, std::uint32_t(width));
    put32(b, std::uint32_t(height));
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);
    put32(b, 0);
    put32(b, 2835), put32(b, 2835);
    put32(b, 0), put32(b, 0);
    return b + QByteArray(64, '\0');
}

QByteArray rle8Bitmap(int width, int height, const QByteArray& rleData) {
    QByteArray b("BM");
    const std::uint32_t offset = 14 + 40 + 2 * 4;
    put32(b, offset + std::uint32_t(rleData.size()));
    put32(b, 0);
    put32(b, offset);
    put32(b, 40);
    put32(b, std::uint32_t(width));
    put32(b, std::uint32_t(height));
    put16(b, 1);
    put16(b, 8);
    put32(b, 1); // BI_RLE8
    put32(b, std::uint32_t(rleData.size()));
    put32(b, 2835), put32(b, 2835);
    put32(b, 2), put32(b, 2);
    put32(b, 0x00000000); // black
    put32(b, 0x00FFFFFF); // white
    return b + rleData;
}

QByteArray jpegOf(const QImage& image, bool progressive, int quality) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return buffer.data();
}

QByteArray jpegDeclaring(QByteArray jpeg, int width, int height) {
    // Walk the segments to the start of frame (C0 baseline, C2 progressive): FF, marker,
    // length, precision, height, width.
    for (qsizetype at = 2; at + 9 < jpeg.size();) {
        const int marker = std::uint8_t(jpeg[at + 1]);
        if (marker == 0xC0 || marker == 0xC2) {
            jpeg[at + 5] = char(height >> 8), jpeg[at + 6] = char(height);
            jpeg[at + 7] = char(width >> 8), jpeg[at + 8] = char(width);
            break;
        }
        at += 2 + (std::uint8_t(jpeg[at + 2]) << 8 | std::uint8_t(jpeg[at + 3]));
    }
    return jpeg;
}

QByteArray jpegWithOrientation(const QByteArray& jpeg, int orientation) {
    // APP1 "Exif": a big-endian TIFF header, one IFD with the one Orientation tag (0112,
    // SHORT, count 1), no next IFD.
    QByteArray exif("Exif\0\0MM\0\x2A\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01", 24);
    exif += char(0), exif += char(orientation), exif += QByteArray(2, '\0');
    exif += QByteArray(4, '\0');
    QByteArray segment("\xFF\xE1");
    segment += char((exif.size() + 2) >> 8), segment += char(exif.size() + 2);
    return jpeg.left(2) + segment + exif + jpeg.mid(2);
}

QByteArray gifFile(int width, int height, const std::vector<std::uint32_t>& palette,
                   std::uint8_t background, const std::vector<GifFrame>& frames) {
    QByteArray out("GIF89a");
    auto word = [&out](int v) {
        out.append(char(v & 0xFF));
        out.append(char((v >> 8) & 0xFF));
    };
    word(width);
    word(height);
    out.append(char(0x91)); // a global palette of 4 entries, 2 bits of colour resolution
    out.append(char(background));
    out.append('\0');
    for (size_t i = 0; i < 4; ++i) {
        const std::uint32_t rgb = i < palette.size() ? palette[i] : 0;
        out.append(char(rgb >> 16)).append(char(rgb >> 8)).append(char(rgb));
    }
    out.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    for (const GifFrame& f : frames) {
        out.append("\x21\xF9\x04", 3);
        out.append(char((f.disposal << 2) | (f.transparent ? 1 : 0)));
        word(f.delay);
        out.append(char(f.transparent.value_or(0)));
        out.append('\0');
        out.append(char(0x2C));
        word(f.left);
        word(f.top);
        word(f.width);
        word(f.height);
        out.append('\0');
        // LZW with 2-bit pixels: 3-bit codes, a clear code (4) before every two pixels so that
        // the code table never grows past 3 bits, then the end code (5).
        QByteArray data;
        std::uint32_t bits = 0;
        int count = 0;
        auto code = [&](std::uint32_t c) {
            bits |= c << count;
            count += 3;
            while (count >= 8) {
                data.append(char(bits & 0xFF));
                bits >>= 8;
                count -= 8;
            }
        };
        for (size_t i = 0; i < f.indices.size(); ++i) {
            if (i % 2 == 0)
                code(4);
            code(f.indices[i]);
        }
        code(5);
        if (count > 0)
            data.append(char(bits & 0xFF));
        out.append(char(2)); // the LZW minimum code size
        for (qsizetype at = 0; at < data.size(); at += 255) {
            const QByteArray block = data.mid(at, 255);
            out.append(char(block.size())).append(block);
        }
        out.append('\0');
    }
    out.append(char(0x3B));
    return out;
}

} // namespace testing_support
