// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/format_dialogs.h"

#include <algorithm>

namespace core {

FormatDialogs::FormatDialogs(Program program, std::vector<FilterEntry> openExtras,
                             std::vector<ExportEntry> exports)
    : m_program(program), m_openExtras(std::move(openExtras)), m_exports(std::move(exports)) {
    for (const FormatDescriptor& f : allFormats()) {
        if (editorOpens(f, program))
            m_naming.calculatorExtensions.push_back(f.extension);
    }
    for (const ExportEntry& e : m_exports)
        m_naming.pictureEntries.push_back({e.entry.position, e.extension, e.kind});
}

const FormatDescriptor* FormatDialogs::formatOf(const QString& name) const {
    const FormatDescriptor* f = formatForName(name.toStdString());
    return f && editorOpens(*f, m_program) ? f : nullptr;
}

QString FormatDialogs::openFilter() const {
    return QString::fromStdString(dialogFilter(m_program, false, m_openExtras));
}

FileDialogRequest FormatDialogs::saveAsRequest(const QString& title,
                                               const QString& defaultExtension,
                                               const QString& initialName, FormatId current) const {
    std::vector<FilterEntry> extras;
    FileDialogRequest request;
    for (const ExportEntry& e : m_exports) {
        extras.push_back(e.entry);
        request.entriesWithOwnExtension << e.entry.position; // a bare name gets its own
    }
    for (const FormatDescriptor& f : allFormats()) {
        if (editorOpens(f, m_program) && f.saveEntryCompletesName)
            request.entriesWithOwnExtension << f.saveEntry.position;
    }
    std::sort(request.entriesWithOwnExtension.begin(), request.entriesWithOwnExtension.end());
    request.kind = FileDialogRequest::Kind::Save;
    request.title = title;
    request.filter = QString::fromStdString(dialogFilter(m_program, true, extras));
    request.filterIndex = 1;
    request.defaultExtension = defaultExtension;
    request.initialName = initialName;
    request.flags = kOverwritePrompt | kHideReadOnly;
    // A picture of a later calculator is saved as one unless the user picks another entry.
    if (const FormatDescriptor* f = &core::formatOf(current);
        editorOpens(*f, m_program) && f->saveEntryCompletesName) {
        request.filterIndex = f->saveEntry.position;
        request.initialName =
            QStringLiteral("*.") +
            QString::fromLatin1(f->extension.data(), qsizetype(f->extension.size()));
    }
    return request;
}

} // namespace core
