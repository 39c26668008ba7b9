// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <QColor>
#include <QList>
#include <QString>

class QDialog;
class QPrinter;
class QWidget;

namespace core {

enum class MessageIcon { None, Information, Exclamation, Question, Critical };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

// Common-dialog flags the commands set, with the meanings the file dialogs honour.
enum FileDialogFlag {
    kOverwritePrompt = 0x2,
    kHideReadOnly = 0x4,
    kFileMustExist = 0x1000,
};

struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QString title;
    QString filter;           // "Description|*.a;*.b|Description|*.c"
    int filterIndex = 1;      // 1-based entry selected at first
    QString defaultExtension; // without the dot
    QString initialName;
    int flags = 0;
    // Entries (1-based) whose files are of another kind, such as "Bitmaps": a name typed
    // without extension gets the entry's own (".bmp"), not the default extension.
    QList<int> entriesWithOwnExtension;
};

struct FileDialogAnswer {
    bool accepted = false;
    QString path;        // full name, folder included
    int filterIndex = 1; // the entry in force when the dialog closed
};

// Every modal question the programs ask goes through here, so tests can script the answers.
class Prompts {
public:
    virtual ~Prompts() = default;

    virtual FileDialogAnswer askFileName(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual Answer message(QWidget* parent, const QString& title, const QString& text,
                           MessageIcon icon, MessageButtons buttons) = 0;
    // The print dialog with no selection and no page range; false on Cancel.
    virtual bool askPrinter(QWidget* parent, QPrinter& printer) = 0;
    // The unsaved-picture warning window; true when the user chooses to quit.
    virtual bool confirmExit(QWidget* parent, const QString& title, const QString& text) = 0;
    // An information window (About, Help), shown modal until the user closes it.
    virtual void showInformation(QDialog* window) = 0;
    // A dialog that asks for settings (Convert Image); true when the user chose OK.
    virtual bool runDialog(QDialog* dialog) = 0;
    // The colour dialog, opened at `initial`; the colour chosen, or an invalid one on Cancel.
    virtual QColor chooseColour(QWidget* parent, const QString& title, const QColor& initial) = 0;
};

} // namespace core
