// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/picture_sizes.h"

#include "core/imaging/picture_writer.h"
#include "core/ui/convert_command.h"

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
        // A picture variable, or a colour calculator's background image.
        const bool image = f.variablePrefix == "Image";
        const QString text =
            (image ? QMenu::tr("%1 background image (%2 x %3)") : QMenu::tr("%1 picture (%2 x %3)"))
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

std::optional<PixelGrid> pictureForFormat(const FormatDescriptor& format, const PixelGrid& picture,
                                          CellKind kind, Prompts& prompts, QWidget* parent,
                                          ConvertCommand& convert) {
    if (format.cells == kind)
        return pictureAtSizeOf(format, picture, prompts, parent);
    const PictureSize size = savedSize(format, {picture.columns(), picture.rows()});
    if (kind == CellKind::Monochrome) {
        const std::optional<PixelGrid> fitted = pictureAtSizeOf(format, picture, prompts, parent);
        if (!fitted)
            return std::nullopt;
        bool whiteIsNone = false;
        if (format.cells == CellKind::Palette) {
            const Answer answer = prompts.message(
                parent, QMenu::tr("White as none?"),
                QMenu::tr("A %1 picture can leave cells out: RecallPic then leaves the screen "
                          "as it was there. Press Yes to leave the white cells out, No to keep "
                          "them white, or Cancel to keep the picture as it is.")
                    .arg(calculatorsOf(format)),
                MessageIcon::Question, MessageButtons::YesNoCancel);
            if (answer == Answer::Cancel)
                return std::nullopt;
            whiteIsNone = answer == Answer::Yes;
        }
        return colourFromMonochrome(*fitted, size.rows, size.columns, format.cells, whiteIsNone);
    }
    // Colour to fewer colours: the user chooses how, as for any picture.
    const QImage image = gridImage(picture, kind);
    return convert.fromPicture(PictureToConvert{image, {}, image.size()},
                               PixelGrid(size.rows, size.columns), format.cells);
}

} // namespace core
