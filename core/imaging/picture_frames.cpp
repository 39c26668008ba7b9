// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/imaging/picture_frames.h"

#include <algorithm>

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include "core/imaging/picture_loader.h"

namespace core {
namespace {

int word(const QByteArray& b, qsizetype at) {
    return std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8;
}

} // namespace

PictureFrames::PictureFrames(const QByteArray& bytes) : m_bytes(bytes) {
    if (m_bytes.startsWith("GIF87a") || m_bytes.startsWith("GIF89a")) {
        m_gif = true;
        if (!parseGif() && m_error.isEmpty())
            m_error = QStringLiteral("The GIF file holds no whole picture.");
        return;
    }
    m_buffer = std::make_unique<QBuffer>(&m_bytes);
    m_buffer->open(QIODevice::ReadOnly);
    m_reader = std::make_unique<QImageReader>(m_buffer.get());
    m_reader->setDecideFormatFromContent(true);
    m_reader->setAutoTransform(true);
    if (!m_reader->canRead()) {
        m_error = m_bytes.isEmpty() ? QStringLiteral("The file is empty.")
                                    : QStringLiteral("Not a picture Qt can read");
        return;
    }
    if (const QSize size = m_reader->size();
        size.isValid() &&
        imageMegabytes(size, QImage::Format_ARGB32) > qint64(QImageReader::allocationLimit())) {
        m_error = tooLargeMessage(size);
        return;
    }
    m_count = std::max(1, m_reader->imageCount());
}

PictureFrames::~PictureFrames() = default;

// The block structure only: where each frame's descriptor and data lie, its rectangle and its
// graphic control (disposal, delay, transparency). The pixels are Qt's reader's to decode.
bool PictureFrames::parseGif() {
    const QByteArray& b = m_bytes;
    const qsizetype size = b.size();
    if (size < 13)
        return false;
    const int packed = std::uint8_t(b[10]);
    qsizetype at = 13;
    if (packed & 0x80)
        at += 3 * (2 << (packed & 7));
    if (at > size)
        return false;
    m_screenHeader = b.mid(6, at - 6);
    int width = word(b, 6), height = word(b, 8);
    GifFrame control{0, 0, 0, 0, 0, 0, -1, 0, 0};
    // Skips the data sub-blocks from `at`; false when the file ends first.
    auto skipBlocks = [&]() {
        while (at < size) {
            const int n = std::uint8_t(b[at]);
            at += 1 + n;
            if (n == 0)
                return at <= size;
        }
        return false;
    };
    while (at < size) {
        const char introducer = b[at];
        if (introducer == 0x3B)
            break;
        if (introducer == 0x21) {
            if (at + 2 > size)
                break;
            const int label = std::uint8_t(b[at + 1]);
            if (label == 0xF9 && at + 8 <= size && std::uint8_t(b[at + 2]) >= 4) {
                const int flags = std::uint8_t(b[at + 3]);
                control.disposal = (flags >> 2) & 7;
                control.delay = word(b, at + 4);
                control.transparent = flags & 1 ? std::uint8_t(b[at + 6]) : -1;
            }
            at += 2;
            if (!skipBlocks())
                break;
            continue;
        }
        if (introducer != 0x2C || at + 10 > size)
            break;
        GifFrame frame = control;
        frame.start = at;
        frame.left = word(b, at + 1);
        frame.top = word(b, at + 3);
        frame.width = word(b, at + 5);
        frame.height = word(b, at + 7);
        const int local = std::uint8_t(b[at + 9]);
        at += 10;
        if (local & 0x80)
            at += 3 * (2 << (local & 7));
        at += 1; // the LZW minimum code size
        if (at > size || !skipBlocks())
            break; // a frame cut short is not shown
        frame.end = at;
        if (frame.width > 0 && frame.height > 0)
            m_frames.push_back(frame);
        control = GifFrame{0, 0, 0, 0, 0, 0, -1, 0, 0}; // a control block applies to one frame
    }
    if (m_frames.isEmpty())
        return false;
    if (width <= 0 || height <= 0) { // a screen of no size: the first frame's extent
        width = m_frames[0].left + m_frames[0].width;
        height = m_frames[0].top + m_frames[0].height;
    }
    if (imageMegabytes(QSize(width, height), QImage::Format_ARGB32) >
        qint64(QImageReader::allocationLimit())) {
        m_error = tooLargeMessage(QSize(width, height));
        m_frames.clear();
        return true;
    }
    m_screen = QImage(width, height, QImage::Format_ARGB32);
    m_screen.fill(Qt::transparent);
    bool anyDelay = false;
    for (const GifFrame& f : m_frames)
        anyDelay = anyDelay || f.delay > 0;
    for (qsizetype i = 0; i < m_frames.size(); ++i) {
        const bool shown = !anyDelay || m_frames[i].delay > 0 || i + 1 == m_frames.size();
        m_shown.push_back(shown);
        m_count += shown ? 1 : 0;
    }
    return true;
}

// One frame on its own, as much of it as the screen shows, transparent where it shows
// nothing: the frame's bytes as a one-frame GIF for Qt's reader.
QImage PictureFrames::decodeGifFrame(const GifFrame& frame) const {
    QByteArray one("GIF89a");
    QByteArray screen = m_screenHeader;
    // Only what shows on the screen is decoded; the reader skips the pixels past its edge.
    const int width = std::clamp(m_screen.width() - frame.left, 1, frame.width);
    const int height = std::clamp(m_screen.height() - frame.top, 1, frame.height);
    screen[0] = char(width & 0xFF);
    screen[1] = char(width >> 8);
    screen[2] = char(height & 0xFF);
    screen[3] = char(height >> 8);
    screen[5] = 0; // background index: unused, the frame covers its screen
    one += screen;
    one += QByteArray("\x21\xF9\x04", 3);
    one += char(frame.transparent >= 0 ? 1 : 0);
    one += QByteArray(2, '\0');
    one += char(frame.transparent >= 0 ? frame.transparent : 0);
    one += '\0';
    QByteArray descriptor = m_bytes.mid(frame.start, frame.end - frame.start);
    descriptor[1] = descriptor[2] = descriptor[3] = descriptor[4] = 0; // at 0, 0
    one += descriptor;
    one += char(0x3B);
    QBuffer buffer(&one);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

bool PictureFrames::nextGif(QImage* frame, int* delayMs) {
    while (m_next < m_frames.size()) {
        const GifFrame& f = m_frames[m_next];
        // The part of the screen the frame covers: a frame may declare far more.
        const QRect area = QRect(f.left, f.top, f.width, f.height) & m_screen.rect();
        if (f.disposal == 3)
            m_saved = m_screen.copy(area);
        const QImage pixels = decodeGifFrame(f);
        {
            QPainter painter(&m_screen);
            painter.drawImage(QPoint(f.left, f.top), pixels); // transparent pixels leave the screen
        }
        const bool shown = m_shown[m_next];
        if (shown) {
            *frame = m_screen;
            *delayMs = f.delay * 10;
        }
        // What the frame leaves for the next one.
        if (f.disposal == 2) {
            QPainter painter(&m_screen);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.fillRect(area, Qt::transparent);
        } else if (f.disposal == 3) {
            QPainter painter(&m_screen);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(area.topLeft(), m_saved);
        }
        ++m_next;
        if (shown)
            return true;
    }
    return false;
}

bool PictureFrames::next(QImage* frame, int* delayMs) {
    if (m_gif)
        return nextGif(frame, delayMs);
    if (!m_reader || m_delivered >= m_count)
        return false;
    // An animation's reader moves on with each read; a file of pages is turned.
    if (m_delivered > 0 && !m_reader->supportsAnimation() && !m_reader->jumpToNextImage())
        return false;
    QImage image = m_reader->read();
    if (image.isNull())
        return false;
    *delayMs = std::max(0, m_reader->nextImageDelay());
    *frame = image;
    ++m_delivered;
    return true;
}

} // namespace core
