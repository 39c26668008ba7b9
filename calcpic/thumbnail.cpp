// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "calcpic/thumbnail.h"

#include <algorithm>

#include <sys/stat.h>

#include <QFile>

#include "calcpic/picture_formats.h"
#include "core/imaging/file_io.h"
#include "core/imaging/picture_writer.h"
#include "core/model/canvas.h"

namespace calcpic {
namespace {

QString pathOf(const std::string& argument) {
    return QFile::decodeName(QByteArray::fromStdString(argument));
}

bool sameFile(const QString& a, const QString& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace

QImage thumbnailImage(const core::PixelGrid& grid, int size, core::CellKind kind) {
    const int longSide = std::max(grid.columns(), grid.rows());
    const int zoom = std::max(1, size / longSide);
    QImage image;
    if (kind == core::CellKind::Monochrome) {
        image = QImage(grid.columns() * zoom, grid.rows() * zoom, QImage::Format_Indexed8);
        image.setColorTable({0xFF000000u | core::kScreenColour, 0xFF000000u | core::kBlack});
        for (int y = 0; y < image.height(); ++y) {
            uchar* line = image.scanLine(y);
            for (int x = 0; x < image.width(); ++x)
                line[x] = grid.at(y / zoom, x / zoom) == 1 ? 1 : 0;
        }
    } else {
        image = core::gridImage(grid, kind, zoom);
    }
    if (longSide <= size)
        return image;
    return image
        .convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                 : QImage::Format_RGB32)
        .scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

std::variant<QImage, std::string> thumbnailOf(const QString& path, int size) {
    const core::FileRead head = core::readFileHead(path, qint64(core::kLongestPictureFile));
    if (!head.error.isEmpty())
        return head.error.toStdString();
    const std::string_view bytes(head.bytes.constData(), size_t(head.bytes.size()));
    std::optional<Format> format = formatOfName(QFile::encodeName(path).toStdString());
    if (!format || !format->isCalculator())
        format = formatOfSignature(bytes);
    if (!format)
        return std::string("not a calculator picture");
    const auto content = core::readPicture(bytes, format->calculator->id);
    if (const auto* error = std::get_if<core::ReadError>(&content))
        return error->reason;
    return thumbnailImage(std::get<core::CalculatorPicture>(content).grid, size,
                          format->calculator->cells);
}

int runThumbnail(const Request& request, std::ostream& err) {
    const std::string& input = request.inputs.front();
    const QString output = pathOf(request.output);
    std::string reason;
    if (sameFile(pathOf(input), output)) {
        reason = request.output + " is the input, which calcpic never overwrites";
    } else {
        const auto thumbnail = thumbnailOf(pathOf(input), request.thumbnailSize);
        if (const auto* error = std::get_if<std::string>(&thumbnail))
            reason = *error;
        else if (const QString error =
                     core::writePicture(std::get<QImage>(thumbnail), output, "png");
                 !error.isEmpty())
            reason = "cannot write " + request.output + ": " + error.toStdString();
    }
    if (reason.empty())
        return 0;
    std::replace(reason.begin(), reason.end(), '\n', ' ');
    err << "calcpic: " << input << ": " << reason << "\n";
    return 1;
}

} // namespace calcpic
