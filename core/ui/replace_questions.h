// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <QString>

#include "core/platform/prompts.h"

class QWidget;

namespace core {

// The question before drawing that was never saved gives way to another picture: true when
// there is nothing unsaved or the user presses OK. `what` finishes "Press OK to ...".
bool mayReplaceDrawing(Prompts& prompts, QWidget* parent, bool unsaved, const QString& what);

// "open NAME in its place", for a file dropped on the canvas.
QString openInItsPlace(const QString& path);

} // namespace core
