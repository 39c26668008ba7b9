// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "calcpic/calcpic_run.h"

#include <set>
#include <utility>

#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "calcpic/calculator_content.h"
#include "calcpic/picture_report.h"
#include "calcpic/thumbnail.h"
#include "core/imaging/file_io.h"
#include "core/imaging/picture_conversion_source.h"
#include "core/imaging/picture_writer.h"
#include "core/model/codepage.h"

namespace calcpic {
namespace {

QString pathOf(const std::string& argument) {
    return QFile::decodeName(QByteArray::fromStdString(argument));
}

std::string text(const QString& s) {
    return s.toStdString();
}

// What a file holds: a calculator picture, or an image for the conversion.
struct Input {
    std::optional<Format> format; // a calculator's
    CalculatorContent content;
    QImage image;
};

// The name decides, as in the editors; a file whose name says nothing (or says image) is a
// calculator file when it starts with a calculator's signature.
std::optional<Format> calculatorFormat(const std::string& path, const QByteArray& head) {
    const std::optional<Format> named = formatOfName(path);
    if (named && isCalculator(*named))
        return named;
    return formatOfSignature(std::string_view(head.constData(), size_t(head.size())));
}

std::variant<Input, std::string> readInput(const std::string& path) {
    const core::FileRead head = core::readFileHead(pathOf(path), kLongestCalculatorFile);
    if (!head.error.isEmpty())
        return text(head.error);
    Input input;
    input.format = calculatorFormat(path, head.bytes);
    if (input.format) {
        auto content = readContent(
            std::string_view(head.bytes.constData(), size_t(head.bytes.size())), *input.format);
        if (auto* error = std::get_if<std::string>(&content))
            return *error;
        input.content = std::move(std::get<CalculatorContent>(content));
        return input;
    }
    QString error;
    input.image = core::readPictureToConvert(pathOf(path), &error);
    if (input.image.isNull())
        return "neither a calculator picture nor an image that can be read (" + text(error) + ")";
    return input;
}

core::ScaleMode modeOf(Scale scale) {
    switch (scale) {
    case Scale::Fit:
        return core::ScaleMode::Fit;
    case Scale::Fill:
        return core::ScaleMode::Fill;
    case Scale::Stretch:
        return core::ScaleMode::Stretch;
    case Scale::None:
        return core::ScaleMode::ActualSize;
    }
    return core::ScaleMode::Fit;
}

// The cells Convert Image gives for these options; "auto" is Otsu's threshold on the
// picture as placed, as the dialog's Auto button sets it.
core::PixelGrid convertImage(const QImage& image, QSize grid, const Request& request) {
    const core::GreyCells cells = core::ConversionSource(image, grid).cells(modeOf(request.scale));
    core::ConversionOptions options = request.conversion;
    if (request.autoThreshold)
        options.threshold = core::otsuThreshold(cells);
    return core::convertCells(cells, options);
}

void invert(core::PixelGrid& grid) {
    for (int r = 0; r < grid.rows(); ++r)
        for (int c = 0; c < grid.columns(); ++c)
            grid.set(r, c, std::int16_t(grid.at(r, c) == 1 ? 0 : 1));
}

// The picture of `input` as a grid of the target's screen, or the image's own size for an
// image written as an image.
core::PixelGrid pictureFor(const Input& input, Family target, const Request& request) {
    if (input.format && (familyOf(*input.format) == target || target == Family::Image)) {
        core::PixelGrid grid = input.content.grid;
        if (request.conversion.invert)
            invert(grid);
        return grid;
    }
    const QImage image = input.format ? core::gridImage(input.content.grid) : input.image;
    const QSize size =
        target == Family::Image ? image.size() : QSize(columnsOf(target), rowsOf(target));
    return convertImage(image, size, request);
}

// The bytes of the output, or the reason there are none.
std::variant<QByteArray, std::string> outputBytes(const Input& input, const Request& request) {
    const Format format = request.format();
    const Family target = familyOf(format);
    core::PixelGrid grid = pictureFor(input, target, request);
    if (target == Family::Image) {
        QByteArray bytes;
        const QString error = core::encodePicture(core::gridImage(grid, request.zoom), &bytes,
                                                  format == Format::Png ? "png" : "bmp");
        if (!error.isEmpty())
            return text(error);
        return bytes;
    }
    const bool sameScreen = input.format && familyOf(*input.format) == target;
    CalculatorContent content = sameScreen ? input.content : newContent(target);
    if (input.format && !sameScreen)
        content.comment = input.content.comment; // the picture changes screens, its comment too
    content.grid = std::move(grid);
    if (request.comment)
        content.comment = *request.comment;
    setVariable(content, {request.pic, request.folder, request.name});
    auto written = writeContent(std::move(content), format);
    if (auto* error = std::get_if<std::string>(&written))
        return *error;
    const auto& bytes = std::get<std::vector<std::uint8_t>>(written);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

using FileId = std::pair<dev_t, ino_t>;

// An output's own entry: a symbolic link, even a dangling one, is an existing output (the
// write replaces the link, never what it points at).
enum class Links { Follow, Own };

std::optional<FileId> fileId(const QString& path, Links links = Links::Follow) {
    struct stat status {};
    const QByteArray name = QFile::encodeName(path);
    if ((links == Links::Follow ? ::stat(name.constData(), &status)
                                : ::lstat(name.constData(), &status)) != 0)
        return std::nullopt;
    return FileId{status.st_dev, status.st_ino};
}

class Progress {
public:
    Progress(std::ostream& err, bool shown, size_t total)
        : m_err(err), m_shown(shown), m_total(total) {}
    void step(size_t done) {
        if (m_shown)
            m_err << "\rcalcpic: file " << done << " of " << m_total << "\033[K" << std::flush;
    }
    // A message on a line of its own, never after the progress.
    std::ostream& message() {
        if (m_shown)
            m_err << "\r\033[K";
        return m_err;
    }
    void finish(int failed) {
        if (m_shown)
            m_err << "\r\033[Kcalcpic: " << m_total - size_t(failed) << " converted, " << failed
                  << " failed\n";
    }

private:
    std::ostream& m_err;
    bool m_shown;
    size_t m_total;
};

int convert(const Request& request, std::ostream& err, bool errIsTerminal) {
    const QString directory = pathOf(request.directory);
    if (!request.directory.empty() && !QFileInfo(directory).isDir()) {
        err << "calcpic: -d " << request.directory << ": no such folder\n" << usageText();
        return 2;
    }
    std::set<FileId> inputs;
    for (const std::string& input : request.inputs) {
        if (const auto id = fileId(pathOf(input)))
            inputs.insert(*id);
    }
    std::set<FileId> written;
    Progress progress(err, errIsTerminal && request.inputs.size() > 20, request.inputs.size());
    int failed = 0;
    for (size_t i = 0; i < request.inputs.size(); ++i) {
        const std::string& input = request.inputs[i];
        const QString output =
            request.directory.empty()
                ? pathOf(request.output)
                : QDir(directory).filePath(QFileInfo(pathOf(input)).completeBaseName() +
                                           QLatin1Char('.') +
                                           QString::fromLatin1(infoOf(request.format()).extension));
        const std::optional<FileId> existing = fileId(output, Links::Own);
        std::string reason;
        if (existing && inputs.count(*existing))
            reason = text(output) + " is one of the inputs, which calcpic never overwrites";
        else if (existing && written.count(*existing))
            reason = text(output) + " was already written from another input";
        else if (existing && !request.force)
            reason = text(output) + " exists; add --force to replace it";
        if (reason.empty()) {
            const auto read = readInput(input);
            if (const auto* error = std::get_if<std::string>(&read)) {
                reason = *error;
            } else {
                const auto bytes = outputBytes(std::get<Input>(read), request);
                if (const auto* error = std::get_if<std::string>(&bytes))
                    reason = *error;
                else if (const QString error =
                             core::writeFileAtomically(output, std::get<QByteArray>(bytes));
                         !error.isEmpty())
                    reason = "cannot write " + text(output) + ": " + text(error);
                else if (const auto id = fileId(output))
                    written.insert(*id);
            }
        }
        if (!reason.empty()) {
            ++failed;
            std::erase(reason, '\n');
            progress.message() << "calcpic: " << input << ": " << reason << "\n";
        }
        progress.step(i + 1);
    }
    progress.finish(failed);
    return failed ? 1 : 0;
}

QString qText(const std::u32string& s) {
    return QString::fromStdU32String(s);
}

void printReport(const std::string& file, const PictureReport& r, bool json, std::ostream& out) {
    const FormatInfo& info = infoOf(r.format);
    const bool ti83 = familyOf(r.format) == Family::Ti83;
    const std::string variable =
        ti83 ? "Pic" + std::to_string(*r.picNumber) : core::toUtf8(r.folder + U"\\" + r.name);
    const std::string status = r.checksumOk() ? "OK" : "MISMATCH";
    if (json) {
        QJsonObject o;
        o["file"] = QString::fromStdString(file);
        o["calculator"] = QString::fromLatin1(info.model);
        o["format"] = QString::fromLatin1(info.extension);
        o["width"] = r.width;
        o["height"] = r.height;
        if (r.storedHeight) {
            o["storedHeight"] = *r.storedHeight;
            o["storedWidth"] = *r.storedWidth;
        }
        o["variable"] = QString::fromStdString(variable);
        if (ti83) {
            o["pic"] = *r.picNumber;
        } else {
            o["folder"] = qText(r.folder);
            o["name"] = qText(r.name);
        }
        o["comment"] = qText(r.comment);
        o["storedChecksum"] = r.storedChecksum ? QJsonValue(int(*r.storedChecksum)) : QJsonValue();
        o["computedChecksum"] = int(r.computedChecksum);
        o["checksum"] = QString::fromLatin1(status);
        if (r.archived)
            o["archived"] = *r.archived;
        if (r.attribute)
            o["attribute"] = *r.attribute;
        QJsonArray notes;
        for (const std::string& note : r.notes)
            notes.append(QString::fromStdString(note));
        o["notes"] = notes;
        out << QJsonDocument(o).toJson(QJsonDocument::Compact).toStdString() << "\n";
        return;
    }
    out << file << "\n";
    out << "  calculator: " << info.model << " (." << info.extension << ")\n";
    out << "  size:       " << r.width << " x " << r.height;
    if (r.storedHeight)
        out << " (stored height " << *r.storedHeight << ", width " << *r.storedWidth << ")";
    out << "\n  variable:   " << variable << "\n";
    out << "  comment:    " << core::toUtf8(r.comment) << "\n";
    out << "  checksum:   stored "
        << (r.storedChecksum ? "0x" + hexText(*r.storedChecksum, 4) : "none") << ", computed 0x"
        << hexText(r.computedChecksum, 4) << ": " << status << "\n";
    if (r.archived)
        out << "  archived:   " << (*r.archived ? "yes" : "no") << "\n";
    for (const std::string& note : r.notes)
        out << "  note:       " << note << "\n";
}

int info(const Request& request, std::ostream& out, std::ostream& err) {
    int failed = 0;
    bool first = true;
    for (const std::string& file : request.inputs) {
        const core::FileRead head = core::readFileHead(pathOf(file), kLongestCalculatorFile);
        std::string reason = text(head.error);
        std::optional<PictureReport> report;
        if (reason.empty()) {
            const auto format = calculatorFormat(file, head.bytes);
            if (!format)
                reason = "not a calculator picture (.82i, .83i, .8xi, .92i, .9xi or .v2i)";
            else
                report =
                    inspect(std::string_view(head.bytes.constData(), size_t(head.bytes.size())),
                            std::uint64_t(head.fileSize), *format, &reason);
        }
        if (!report) {
            ++failed;
            std::erase(reason, '\n');
            err << "calcpic: " << file << ": " << reason << "\n";
            continue;
        }
        if (!first && !request.json)
            out << "\n";
        first = false;
        printReport(file, *report, request.json, out);
    }
    return failed ? 1 : 0;
}

} // namespace

int runRequest(const Request& request, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    if (request.command == Request::Command::Info)
        return info(request, out, err);
    if (request.command == Request::Command::Thumbnail)
        return runThumbnail(request, err);
    return convert(request, err, errIsTerminal);
}

} // namespace calcpic
