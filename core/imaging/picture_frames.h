// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <memory>

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QVector>

class QBuffer;
class QImageReader;

namespace core {

// The pictures of a file as a viewer shows them one after another. A GIF's frames are
// composed here, each over the screen its predecessors left, as its disposal says: kept,
// cleared to transparent where it was (as browsers do; Qt's reader paints the background
// colour there), or put back as it was before the frame. A frame shown for no time (a delay
// of 0) is part of the next one, unless every frame has that delay. Other formats give the
// frames their reader gives. Reads one frame at a time, so a long animation costs one screen.
class PictureFrames {
public:
    explicit PictureFrames(const QByteArray& bytes);
    ~PictureFrames();

    // Frames to show: 1 for a still picture, 0 when nothing can be read (see error()).
    int count() const { return m_count; }
    QString error() const { return m_error; }
    // The next frame, whole, and how long it is shown in milliseconds; false after the last.
    bool next(QImage* frame, int* delayMs);

private:
    struct GifFrame {
        int left, top, width, height;
        int disposal;         // 0, 1 keep; 2 clear; 3 put back
        int delay;            // hundredths of a second
        int transparent;      // palette index, or -1
        qsizetype start, end; // the image descriptor to the end of its data
    };
    bool parseGif();
    QImage decodeGifFrame(const GifFrame& frame) const;
    bool nextGif(QImage* frame, int* delayMs);

    QByteArray m_bytes;
    QString m_error;
    int m_count = 0;
    // GIF
    bool m_gif = false;
    QByteArray m_screenHeader; // the logical screen descriptor and global palette
    QVector<GifFrame> m_frames;
    QVector<bool> m_shown; // per frame: a picture of its own, or part of the next
    int m_next = 0;
    QImage m_screen;
    QImage m_saved; // the rectangle a "put back" frame covers, as it was
    // Other formats
    int m_delivered = 0;
    std::unique_ptr<QBuffer> m_buffer;
    std::unique_ptr<QImageReader> m_reader;
};

} // namespace core
