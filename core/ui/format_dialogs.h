// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <span>
#include <vector>

#include <QString>

#include "core/formats/format_registry.h"
#include "core/model/save_as_naming.h"
#include "core/platform/prompts.h"

namespace core {

// An entry of a Save As filter for a picture that is not a calculator file.
struct ExportEntry {
    FilterEntry entry;
    std::string_view extension; // "bmp"
    SaveAsKind kind;
};

// The file dialogs of an editor, from the registry: its formats' filter entries in their
// places among the program's own, and which format a name is.
class FormatDialogs {
public:
    FormatDialogs(Program program, std::vector<FilterEntry> openExtras,
                  std::vector<ExportEntry> exports);

    // The program's format of this name (its last characters, any letter case), or none.
    const FormatDescriptor* formatOf(const QString& name) const;
    QString openFilter() const;
    // Save As for a document of the format `current`: the dialog starts on the entry of a
    // format that completes names itself (a TI-83 Plus picture's for one), else on the first.
    FileDialogRequest saveAsRequest(const QString& title, const QString& defaultExtension,
                                    const QString& initialName, FormatId current) const;
    const SaveAsNaming& naming() const { return m_naming; }

private:
    Program m_program;
    std::vector<FilterEntry> m_openExtras;
    std::vector<ExportEntry> m_exports;
    SaveAsNaming m_naming;
};

} // namespace core
