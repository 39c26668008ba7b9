// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/platform/qt_prompts.h"

#include <algorithm>
#include <functional>

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

namespace core {

void centreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.x() + (area.width() - size.width()) / 2,
                 area.y() + (area.height() - size.height()) / 2);
}

QSize largestClientSize(const QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const QMargins known =
        window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
    const QMargins frame(std::max(known.left(), 8), std::max(known.top(), 40),
                         std::max(known.right(), 8), std::max(known.bottom(), 8));
    return screen->availableGeometry().size().shrunkBy(frame);
}

namespace {

// The exit warning: modal over the main window, but centred on the screen.
class ExitWarning : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event); // settles the size first
        centreOnScreen(this);
    }
};

// The extension of a filter entry's first pattern: "bmp" for "*.bmp;*.dib".
QString entryExtension(const QString& filter, int entry) {
    const QStringList parts = filter.split('|');
    const int at = 2 * (entry - 1) + 1;
    if (entry < 1 || at >= parts.size())
        return {};
    const QString pattern = parts[at].section(';', 0, 0).trimmed();
    return pattern.startsWith(QStringLiteral("*.")) ? pattern.mid(2) : QString();
}

// A file dialog whose default extension follows the entry in force when it is accepted: the
// calculator entries take the default extension, an entry of another kind its own.
class FileDialog : public QFileDialog {
public:
    FileDialog(QWidget* parent, const QString& title, std::function<QString(int)> suffixFor)
        : QFileDialog(parent, title), m_suffixFor(std::move(suffixFor)) {}

    // 1-based, as the requests count them; 0 when none is.
    int entryInForce() const { return int(nameFilters().indexOf(selectedNameFilter())) + 1; }

    void accept() override {
        setDefaultSuffix(m_suffixFor(entryInForce())); // before the typed name is completed
        QFileDialog::accept();
    }

private:
    std::function<QString(int)> m_suffixFor;
};

} // namespace

QStringList qtNameFilters(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const int paren = description.lastIndexOf('(');
        if (paren > 0 && description.endsWith(')'))
            description = description.left(paren).trimmed();
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            for (const QString& p : {pattern.toLower(), pattern.toUpper()}) {
                if (!patterns.contains(p))
                    patterns << p;
            }
        }
        filters << QStringLiteral("%1 (%2)").arg(description, patterns.join(' '));
    }
    return filters;
}

FileDialogAnswer QtPrompts::askFileName(QWidget* parent, const FileDialogRequest& request) {
    FileDialog dialog(parent, request.title, [&request](int entry) {
        return request.entriesWithOwnExtension.contains(entry)
                   ? entryExtension(request.filter, entry)
                   : request.defaultExtension;
    });
    const bool save = request.kind == FileDialogRequest::Kind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!(request.flags & kOverwritePrompt))
        dialog.setOption(QFileDialog::DontConfirmOverwrite, save);
    const QStringList filters = qtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (!request.initialName.isEmpty() && !request.initialName.contains('*'))
        dialog.selectFile(request.initialName);
    FileDialogAnswer answer;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return answer;
    answer.accepted = true;
    answer.path = dialog.selectedFiles().constFirst();
    answer.filterIndex = std::max(1, dialog.entryInForce());
    return answer;
}

Answer QtPrompts::message(QWidget* parent, const QString& title, const QString& text,
                          MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(parent);
    box.setWindowTitle(title);
    // The messages break lines the old way, with CR and LF in any order.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QStringLiteral("\n\r"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(shown);
    switch (icon) {
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return buttons == MessageButtons::YesNo         ? Answer::No
               : buttons == MessageButtons::YesNoCancel ? Answer::Cancel
                                                        : Answer::Ok;
    }
}

bool QtPrompts::askPrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true); // Qt's PDF printer
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompts::confirmExit(QWidget* parent, const QString& title, const QString& text) {
    ExitWarning frmExit(parent);
    frmExit.setObjectName(QStringLiteral("frmExit"));
    frmExit.setWindowTitle(title);
    frmExit.setIcon(QMessageBox::Warning);
    frmExit.setText(text);
    frmExit.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    frmExit.setDefaultButton(QMessageBox::Cancel);
    return frmExit.exec() == QMessageBox::Ok;
}

void QtPrompts::showInformation(QDialog* window) {
    window->exec();
}

bool QtPrompts::runDialog(QDialog* dialog) {
    return dialog->exec() == QDialog::Accepted;
}

QColor QtPrompts::chooseColour(QWidget* parent, const QString& title, const QColor& initial) {
    return QColorDialog::getColor(initial, parent, title);
}

} // namespace core
