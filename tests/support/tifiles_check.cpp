// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "tests/support/tifiles_check.h"

#include <algorithm>
#include <cstring>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

// The library's headers are C and use the C keyword `restrict`.
#define restrict __restrict
#include <tilp2/tifiles.h>
#undef restrict

namespace testing_support {

namespace {

void initialise() {
    static const bool initialised = [] {
        tifiles_library_init();
        return true;
    }();
    (void)initialised;
}

} // namespace

QString writeWithTifiles(const QString& path, const TifilesVariable& variable) {
    initialise();
    const QByteArray name = QFile::encodeName(path);
    FileContent* content = tifiles_content_create_regular(tifiles_file_get_model(name.constData()));
    VarEntry* entry = tifiles_ve_create_alloc_data(std::uint32_t(variable.data.size()));
    std::memcpy(entry->data, variable.data.data(), variable.data.size());
    entry->size = std::uint32_t(variable.data.size());
    qstrncpy(entry->folder, variable.folder.c_str(), sizeof entry->folder);
    std::memcpy(entry->name, variable.name.data(),
                std::min(variable.name.size(), sizeof entry->name - 1));
    entry->type = std::uint8_t(variable.type);
    entry->attr = std::uint8_t(variable.attribute);
    entry->version = std::uint8_t(variable.version);
    qstrncpy(content->comment, variable.comment.c_str(), sizeof content->comment);
    qstrncpy(content->default_folder, variable.folder.c_str(), sizeof content->default_folder);
    tifiles_content_add_entry(content, entry);
    const int error = tifiles_file_write_regular(name.constData(), content, nullptr);
    tifiles_content_delete_regular(content);
    return error == 0 ? QString() : QStringLiteral("libtifiles error %1").arg(error);
}

TifilesView readWithTifiles(const QString& path, bool writeBack) {
    initialise();

    TifilesView view;
    const QByteArray name = QFile::encodeName(path);
    const CalcModel byName = tifiles_file_get_model(name.constData());
    view.nameModel = tifiles_model_to_string(byName);
    FileContent* content = tifiles_content_create_regular(byName);
    view.error = tifiles_file_read_regular(name.constData(), content);
    if (view.error != 0)
        return view; // a failed read has already freed the content
    view.model = tifiles_model_to_string(content->model);
    view.checksum = content->checksum;
    view.storedChecksum = content->stored_checksum;
    view.comment = content->comment;
    view.folder = content->default_folder;
    view.entries = content->num_entries;
    if (content->num_entries >= 1 && content->entries && content->entries[0]) {
        const VarEntry* entry = content->entries[0];
        view.folder = entry->folder;
        view.name = entry->name;
        view.rawName.assign(entry->name, entry->name + 8);
        view.type = entry->type;
        view.version = entry->version;
        view.data.assign(entry->data, entry->data + entry->size);
    }
    if (!writeBack) {
        tifiles_content_delete_regular(content);
        return view;
    }
    QTemporaryDir dir;
    const QString again = dir.filePath(QFileInfo(path).fileName());
    const QByteArray againName = QFile::encodeName(again);
    if (tifiles_file_write_regular(againName.constData(), content, nullptr) == 0) {
        QFile file(again);
        if (file.open(QIODevice::ReadOnly))
            view.writeBack = file.readAll();
    }
    tifiles_content_delete_regular(content);
    return view;
}

} // namespace testing_support
