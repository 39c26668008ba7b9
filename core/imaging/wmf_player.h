// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace core {

// A placeable header's key, or a standard metafile header at the start of the data.
bool looksLikeWmf(const QByteArray& head);

// Plays a Windows metafile onto a white image of its natural size, cut to `reach` so that a
// huge declared size costs nothing; shapes and text without antialiasing, so black stays
// exactly black. Null image and `error` set when the data is not a playable metafile.
// `naturalSize`, when given, receives the natural size: the placeable header's box at 96 dpi,
// or the first window extent.
QImage renderWmf(const QByteArray& data, QSize reach, QString* error, QSize* naturalSize = nullptr);

} // namespace core
