// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/import_command.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include "core/model/import_mapping.h"

namespace core {

namespace {

// Paints the picture as it is, converting only what a paint shows: no screen copy of it is
// made.
class PictureHolder : public QWidget {
public:
    PictureHolder(const QImage& image, QWidget* parent) : QWidget(parent), m_image(image) {}

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter(this).drawImage(event->rect(), m_image, event->rect());
    }

private:
    const QImage& m_image;
};

} // namespace

ImportCommand::ImportCommand(const CalculatorProfile& profile, Prompts& prompts, QWidget* over)
    : Picture2(new PictureHolder(m_shown, over->parentWidget())), m_profile(profile),
      m_prompts(prompts), m_over(over) {
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->hide();
}

ImportCommand::Result ImportCommand::run(const QString& filter, QSize picture) {
    m_picture = picture;
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.title = QStringLiteral("Import a picture");
    request.flags = kFileMustExist | kHideReadOnly;
    // Qt reads more kinds than the four of the first entry; the second offers them.
    request.filter =
        filter + QStringLiteral("|Other pictures|*.PNG;*.GIF;*.JPG;*.JPEG;*.PBM;*.PGM;*.PPM;*.XBM");
    request.defaultExtension = QStringLiteral("BMP");
    QWidget* window = m_over->window();
    const FileDialogAnswer answer = m_prompts.askFileName(window, request);
    if (!answer.accepted)
        return {};

    // Only the part of the picture the scan can reach is ever rendered.
    Result result;
    result.picture = loadPicture(answer.path, m_picture + QSize(1, 1));
    if (!result.picture.error.isEmpty()) {
        m_prompts.message(window, window->windowTitle(),
                          QStringLiteral("Error: ") + result.picture.error, MessageIcon::None,
                          MessageButtons::Ok);
        result.outcome = Outcome::Failed;
        return result;
    }
    // The picture shows over the canvas while the question is asked.
    const QSize shown = result.picture.image.size().boundedTo(m_over->size());
    m_shown = result.picture.image; // shared with the picture, not copied
    Picture2->setGeometry(QRect(m_over->geometry().topLeft(), shown));
    Picture2->raise();
    Picture2->show();
    const QString question = answer.path + QStringLiteral("\n\r\n\r     ...this picture?");
    const Answer reply = m_prompts.message(window, QStringLiteral("Import..."), question,
                                           MessageIcon::None, MessageButtons::YesNo);
    Picture2->hide();
    m_shown = QImage();
    result.outcome = reply == Answer::Yes ? Outcome::Accepted : Outcome::Declined;
    return result;
}

void ImportCommand::overlay(const LoadedPicture& picture, EditSession& session,
                            ToolController& tools) const {
    session.beginImport();
    tools.setCurrentTool(kPen);
    overlayBlackPixels(
        importScan(m_profile, m_picture.height(), m_picture.width(), picture.size.width(),
                   picture.size.height()),
        [&](int x, int y) { return isExactlyBlack(picture.image, x, y); },
        [&](int column, int row) { tools.PlotCell(column, row); });
    session.endImport();
}

} // namespace core
