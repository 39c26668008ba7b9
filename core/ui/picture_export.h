// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <QImage>
#include <QString>

#include "core/platform/prompts.h"

class QWidget;

namespace core {

// Save As to a picture that is not a calculator file (a bitmap, a PNG image): writes it,
// then says that it is saved, or `failure` with the file and the reason.
void exportPicture(QWidget* window, Prompts& prompts, const QImage& image, const QString& path,
                   const char* format, const QString& failure);

} // namespace core
