// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

// GoogleTest prints a QString as its text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace testing_support {

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

// The bytes of a file image (a std::array or vector of bytes) for comparing with a fixture.
template <class Image> std::vector<std::uint8_t> bytesOf(const Image& image) {
    return {image.begin(), image.end()};
}

} // namespace testing_support
