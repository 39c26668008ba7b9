// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <cstddef>
#include <cstdint>

#include <QByteArray>

#include "core/imaging/wmf_player.h"
#include "fuzz/fuzz_app.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    ensureFuzzApplication();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    const QImage image = core::renderWmf(bytes, QSize(241, 104), &error);
    if (!image.isNull() && (image.width() > 241 || image.height() > 104))
        __builtin_trap(); // never more than the scan can reach
    return 0;
}
