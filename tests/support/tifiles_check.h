// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QByteArray>
#include <QString>

namespace testing_support {

// What libtifiles, the link software's own file library, makes of a file we wrote.
struct TifilesView {
    int error = -1;        // 0 when the file was read
    std::string model;     // the calculator it reads from the file: "TI83+", "TI92+"...
    std::string nameModel; // the calculator the file's name says: "V200" for a .v2i
    std::uint16_t checksum = 0;
    std::uint16_t storedChecksum = 0;
    unsigned entries = 0;
    std::string folder;
    std::string name;
    std::string rawName; // the variable name's bytes on the calculator, NULs included
    std::string comment;
    int type = -1;
    int version = -1; // the TI-83 Plus family's version byte, as the library takes it
    std::vector<std::uint8_t> data;
    QByteArray writeBack; // the file as libtifiles writes the same content again
};

// `writeBack` also has libtifiles write the content again (slower; not for timing reads).
TifilesView readWithTifiles(const QString& path, bool writeBack = true);

// One variable for libtifiles to write into a file of its own making: the calculator comes
// from the file name's extension, as the library decides it.
struct TifilesVariable {
    std::string folder; // 68k only
    std::string name;   // the name's bytes as the calculator has them
    int type = 0;
    int attribute = 0;
    std::string comment;
    std::vector<std::uint8_t> data; // the variable's data as libtifiles holds it
    int version = 0;                // the TI-83 Plus family's version byte
};

// Empty on success, else libtifiles' error number as text.
QString writeWithTifiles(const QString& path, const TifilesVariable& variable);

} // namespace testing_support
