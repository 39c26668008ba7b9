// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/replace_questions.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "core/imaging/file_io.h"

namespace core {

bool mayReplaceDrawing(Prompts& prompts, QWidget* parent, bool unsaved, const QString& what) {
    if (!unsaved)
        return true;
    const QString text =
        QCoreApplication::translate("EditorWindow",
                                    "The picture has not been saved. Press OK to %1 or Cancel to "
                                    "keep drawing.")
            .arg(what);
    return prompts.message(parent, QStringLiteral("WARNING!"), text, MessageIcon::Exclamation,
                           MessageButtons::OkCancel) == Answer::Ok;
}

QString openInItsPlace(const QString& path) {
    return QCoreApplication::translate("EditorWindow", "open %1 in its place")
        .arg(displayFileName(QFileInfo(path).fileName()));
}

} // namespace core
