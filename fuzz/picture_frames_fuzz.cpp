// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <cstddef>
#include <cstdint>

#include <QByteArray>
#include <QImage>

#include "core/imaging/picture_frames.h"
#include "fuzz/fuzz_app.h"

// The frames of any bytes, as calcpic reads an animation: the GIF block walk, each frame's
// decode and the composition, a few frames deep.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    ensureFuzzApplication();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    core::PictureFrames frames(bytes);
    QImage frame;
    int delay = 0;
    for (int i = 0; i < 16 && frames.next(&frame, &delay); ++i) {
    }
    return 0;
}
