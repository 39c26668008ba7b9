// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/picture_sizes.h"

#include <QMenu>
#include <QString>

namespace core {
namespace {

QString calculatorsOf(const FormatDescriptor& f) {
    return QString::fromLatin1(f.calculators.data(), qsizetype(f.calculators.size()));
}

} // namespace

void addNewPictureItems(QMenu* menu, Program program, std::function<void(FormatId)> chosen) {
    for (const FormatDescriptor& f : allFormats()) {
        if (!editorOpens(f, program))
            continue;
        const QString text = QMenu::tr("%1 picture (%2 x %3)")
                                 .arg(calculatorsOf(f))
                                 .arg(f.picture.columns)
                                 .arg(f.picture.rows);
        QObject::connect(menu->addAction(text), &QAction::triggered, menu,
                         [chosen, id = f.id] { chosen(id); });
    }
}

std::optional<PixelGrid> pictureAtSizeOf(const FormatDescriptor& format, const PixelGrid& picture,
                                         Prompts& prompts, QWidget* parent) {
    const PictureSize size = savedSize(format, {picture.columns(), picture.rows()});
    if (size.rows == picture.rows() && size.columns == picture.columns())
        return picture;
    if (const int lost = picture.cellsOutside(size.rows, size.columns); lost > 0) {
        const QString text =
            QMenu::tr("A %1 picture is %2 x %3 pixels. This one is %4 x %5, and %6 dark pixels "
                      "beyond the top left %2 x %3 would be lost. Press OK to save it so or "
                      "Cancel to keep the picture as it is.")
                .arg(calculatorsOf(format))
                .arg(size.columns)
                .arg(size.rows)
                .arg(picture.columns())
                .arg(picture.rows())
                .arg(lost);
        if (prompts.message(parent, QStringLiteral("WARNING!"), text, MessageIcon::Exclamation,
                            MessageButtons::OkCancel) != Answer::Ok)
            return std::nullopt;
    }
    return picture.resized(size.rows, size.columns);
}

} // namespace core
