// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <optional>

#include <QByteArray>
#include <QImage>

class QIODevice;

namespace core {

// The first picture of an icon or cursor file (.ico, .cur) stored as a DIB, with its AND
// mask applied: Qt's reader drops the mask of 24-bit icons and shows a 32-bit icon whose
// alpha bytes are all 0 as wholly transparent, where older icons mean their mask. Pixels the
// mask makes transparent come out with alpha 0. Nothing when the data is not such an icon
// (a PNG-compressed entry, say), which is then left to Qt.
std::optional<QImage> readIconPicture(const QByteArray& data);
// Peeks at the device and reads nothing from it.
std::optional<QImage> readIconPicture(QIODevice* device);

} // namespace core
