// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include <sys/types.h>

#include <QByteArray>
#include <QString>

#include "core/imaging/file_io.h"

namespace calcpic {

// Files by the names the command line gave, as bytes. Qt keeps a file name as Unicode text,
// and a name that is not UTF-8 comes back from that as another name (each stray byte a
// U+FFFD); calcpic opens, looks at and writes such a name by its bytes.

// Qt opens the file of this name by its own text of it.
bool qtNamesIt(std::string_view name);

using FileId = std::pair<dev_t, ino_t>;
// The file of that name, after symbolic links; none when there is none. With `ownEntry`, the
// name's own entry: a symbolic link, even a dangling one, is an existing output (a write
// replaces the link, never what it points at).
std::optional<FileId> fileIdOf(const std::string& name, bool ownEntry = false);
bool isFolder(const std::string& name);

// An input opened by its bytes. path() is a name Qt reads the same file by for as long as
// this lives: the name itself where Qt can say it, else the descriptor's /proc/self/fd entry,
// so that the readers' own checks (a regular file only) and messages apply unchanged.
class InputFile {
public:
    explicit InputFile(const std::string& name);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const QString& path() const { return m_path; }
    const QString& error() const { return m_error; } // set when it could not be opened

private:
    int m_fd = -1;
    QString m_path;
    QString m_error;
};

// Writes the file of that name as core::writeFileAtomically does (the reason on failure, else
// empty). A name Qt cannot say is written as a new file beside it under a name Qt can, then
// moved to the bytes given; a file already of that name is not replaced.
QString writeOutput(const std::string& name, const QByteArray& bytes);
// The same through a batch: `done` gets the result when the file is in place or has failed.
void writeOutput(core::BatchWriter& batch, const std::string& name, const QByteArray& bytes,
                 std::function<void(const QString&)> done);

// "DIR/BASE.EXT" for an input "some/where/BASE.OLD", in bytes.
std::string outputInFolder(const std::string& folder, const std::string& input,
                           std::string_view extension);

} // namespace calcpic
