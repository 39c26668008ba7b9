// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "calcpic/calcpic_run.h"

#include <set>
#include <utility>

#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "calcpic/native_files.h"
#include "calcpic/terminal_text.h"
#include "calcpic/thumbnail.h"
#include "core/imaging/file_io.h"
#include "core/imaging/picture_conversion_source.h"
#include "core/imaging/picture_writer.h"
#include "core/model/codepage.h"

namespace calcpic {
namespace {

std::string text(const QString& s) {
    return s.toStdString();
}

// What a file holds: a calculator picture, or an image for the conversion.
struct Input {
    std::optional<Format> format; // a calculator's
    core::CalculatorPicture content;
    core::PictureToConvert image;
};

std::string_view viewOf(const QByteArray& bytes) {
    return std::string_view(bytes.constData(), size_t(bytes.size()));
}

// The name decides, as in the editors; a file whose name says nothing (or says image) is a
// calculator file when it starts with a calculator's signature.
std::optional<Format> calculatorFormat(const std::string& path, const QByteArray& head) {
    const std::optional<Format> named = formatOfName(path);
    if (named && named->isCalculator())
        return named;
    return formatOfSignature(viewOf(head));
}

// Why a calculator file that reads cannot be trusted: it ends early, or its checksum does not
// match its bytes. The editors read such a file as it is; a batch would hide the damage in a
// fresh file with a good checksum.
std::string damageOf(const core::Inspection& report) {
    if (report.missingBytes)
        return "the file is " + std::to_string(report.missingBytes) + " bytes too short";
    if (!report.storedChecksum)
        return "the file ends before its checksum";
    if (!report.checksumOk())
        return "its checksum is " + core::hexText(*report.storedChecksum, 4) +
               " but its bytes sum to " + core::hexText(report.computedChecksum, 4);
    return {};
}

// The reader's reason, and for a file named as one calculator's that holds another's, whose.
std::string readFailure(std::string reason, Format format, std::string_view head) {
    std::string_view model;
    if (const core::FormatDescriptor* signed_ = core::formatForContent(head);
        signed_ && signed_->signature != format.calculator->signature)
        model = signed_->calculators;
    if (!model.empty())
        reason += "; by its signature it is a " + std::string(model) + " picture";
    return reason;
}

// ".82i, .83i, ... or .v2i"
std::string calculatorExtensions() {
    std::string list;
    const auto formats = core::allFormats();
    for (size_t i = 0; i < formats.size(); ++i)
        list += (i == 0                    ? "."
                 : i + 1 == formats.size() ? " or ."
                                           : ", .") +
                std::string(formats[i].extension);
    return list;
}


// As much of the file as a calculator picture can be, or the reason in `error`.
core::FileRead readHead(const InputFile& file) {
    if (!file.error().isEmpty()) {
        core::FileRead failed;
        failed.error = file.error();
        return failed;
    }
    return core::readFileHead(file.path(), qint64(core::kLongestPictureFile));
}

// The grid an image is converted for: the target calculator's screen; an image written as an
// image keeps its own size, so it is read whole.
QSize gridFor(Format target) {
    if (!target.isCalculator())
        return QSize();
    return QSize(target.calculator->picture.columns, target.calculator->picture.rows);
}

std::variant<Input, std::string> readInput(const std::string& path, const Request& request) {
    const InputFile file(path);
    const core::FileRead head = readHead(file);
    if (!head.error.isEmpty())
        return text(head.error);
    Input input;
    input.format = calculatorFormat(path, head.bytes);
    if (input.format) {
        const core::FormatId id = input.format->calculator->id;
        const auto report =
            core::inspectPicture(viewOf(head.bytes), std::uint64_t(head.fileSize), id);
        if (const auto* error = std::get_if<std::string>(&report))
            return readFailure(*error, *input.format, viewOf(head.bytes));
        if (const std::string damage = damageOf(std::get<core::Inspection>(report));
            !damage.empty() && !request.acceptDamaged)
            return damage + ": it is damaged (--accept-damaged converts it as it reads)";
        input.content =
            std::get<core::CalculatorPicture>(core::readPicture(viewOf(head.bytes), id));
        // As a fresh dotwell opens it: with Pic1 chosen, another PIC number re-applies the
        // header template.
        if (input.content.family == core::Family::Ti83 && input.content.buffer.picNumber() != 0)
            input.content.buffer.applyTemplate(input.content.buffer.picNumber());
        return input;
    }
    QString error;
    input.image = core::readPictureToConvert(file.path(), gridFor(request.format()), &error);
    if (input.image.isNull()) {
        // An image Qt knows by its header (one too large, say) has a reason of its own.
        QImageReader known(file.path());
        known.setDecideFormatFromContent(true);
        if (known.canRead())
            return text(error);
        return "neither a calculator picture nor an image that can be read (" + text(error) + ")";
    }
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
core::PixelGrid convertImage(const core::PictureToConvert& image, QSize grid,
                             const Request& request) {
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
core::PixelGrid pictureFor(const Input& input, Format target, const Request& request) {
    if (input.format && (input.format->sameScreen(target) || !target.isCalculator())) {
        core::PixelGrid grid = input.content.grid;
        if (request.conversion.invert)
            invert(grid);
        return grid;
    }
    core::PictureToConvert image = input.image;
    if (input.format) {
        image.picture = core::gridImage(input.content.grid);
        image.size = image.picture.size();
    }
    const QSize size = target.isCalculator() ? gridFor(target) : image.size;
    return convertImage(image, size, request);
}

// The bytes of the output, or the reason there are none.
std::variant<QByteArray, std::string> outputBytes(const Input& input, const Request& request) {
    const Format format = request.format();
    core::PixelGrid grid = pictureFor(input, format, request);
    if (!format.isCalculator()) {
        QByteArray bytes;
        const QString error =
            core::encodePicture(core::gridImage(grid, request.zoom), &bytes,
                                format.image == Format::Image::Png ? "png" : "bmp");
        if (!error.isEmpty())
            return text(error);
        return bytes;
    }
    const core::FormatId target = format.calculator->id;
    const bool sameScreen = input.format && input.format->sameScreen(format);
    core::CalculatorPicture content = sameScreen ? input.content : core::newPicture(target);
    if (input.format && !sameScreen)
        content.comment = input.content.comment; // the picture changes screens, its comment too
    content.grid = std::move(grid);
    if (request.comment)
        content.comment = *request.comment;
    core::setVariable(content, {request.pic, request.folder, request.name});
    auto written = core::writePicture(content, target);
    if (auto* error = std::get_if<std::string>(&written))
        return *error;
    const auto& bytes = std::get<std::vector<std::uint8_t>>(written);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

// A finding about a file, for one line on the terminal.
std::string failureLine(const std::string& file, std::string_view reason) {
    return "calcpic: " + shownText(file) + ": " + shownText(oneLine(reason)) + "\n";
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
    if (!request.directory.empty() && !isFolder(request.directory)) {
        err << "calcpic: -d " << shownText(request.directory) << ": no such folder\n"
            << usageText();
        return 2;
    }
    std::set<FileId> inputs;
    for (const std::string& input : request.inputs) {
        if (const auto id = fileIdOf(input))
            inputs.insert(*id);
    }
    std::set<FileId> written;
    Progress progress(err, errIsTerminal && request.inputs.size() > 20, request.inputs.size());
    int failed = 0;
    // Outputs are synced to the disk together, a batch at a time, not one by one.
    core::BatchWriter batch;
    for (size_t i = 0; i < request.inputs.size(); ++i) {
        const std::string& input = request.inputs[i];
        const std::string output =
            request.directory.empty()
                ? request.output
                : outputInFolder(request.directory, input, request.format().extension());
        if (qtNamesIt(output) && batch.isPending(QFile::decodeName(QByteArray::fromStdString(output))))
            batch.flush(); // an output named twice: the checks below see the first one
        const std::optional<FileId> existing = fileIdOf(output, true);
        std::string reason;
        if (existing && inputs.count(*existing))
            reason = output + " is one of the inputs, which calcpic never overwrites";
        else if (existing && written.count(*existing))
            reason = output + " was already written from another input";
        else if (existing && !request.force)
            reason = output + " exists; add --force to replace it";
        if (reason.empty()) {
            const auto read = readInput(input, request);
            if (const auto* error = std::get_if<std::string>(&read)) {
                reason = *error;
            } else {
                const auto bytes = outputBytes(std::get<Input>(read), request);
                if (const auto* error = std::get_if<std::string>(&bytes))
                    reason = *error;
                else
                    writeOutput(batch, output, std::get<QByteArray>(bytes),
                                [&, input, output](const QString& error) {
                                    if (!error.isEmpty()) {
                                        ++failed;
                                        progress.message() << failureLine(
                                            input, "cannot write " + output + ": " + text(error));
                                    } else if (const auto id = fileIdOf(output)) {
                                        written.insert(*id);
                                    }
                                });
            }
        }
        if (!reason.empty()) {
            ++failed;
            progress.message() << failureLine(input, reason);
        }
        progress.step(i + 1);
    }
    batch.flush();
    progress.finish(failed);
    return failed ? 1 : 0;
}

QString qText(const std::u32string& s) {
    return QString::fromStdU32String(s);
}

// One JSON object on one line. JSON escapes C0 controls; DEL and C1 controls, which a terminal
// may act on, are escaped here too.
std::string jsonLine(const QJsonObject& o) {
    const QString compact = QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
    QString line;
    for (QChar c : compact) {
        if (c.unicode() >= 0x7F && c.unicode() <= 0x9F)
            line += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            line += c;
    }
    return line.toStdString() + "\n";
}

// Bytes as JSON text: themselves when they are UTF-8, else as they are shown.
QString jsonText(const std::string& bytes) {
    return QString::fromStdString(qtNamesIt(bytes) ? bytes : shownText(bytes));
}

void printReport(const std::string& file, const core::Inspection& r, bool json, std::ostream& out) {
    const core::FormatDescriptor& info = core::formatOf(r.format);
    const bool ti83 = info.family == core::Family::Ti83;
    const std::string variable =
        ti83                                  ? "Pic" + std::to_string(*r.picNumber)
        : info.family == core::Family::Ti85 ? core::toUtf8(r.name)
                                              : core::toUtf8(r.folder + U"\\" + r.name);
    const std::string status = r.checksumOk() ? "OK" : "MISMATCH";
    if (json) {
        QJsonObject o;
        o["file"] = jsonText(file);
        o["calculator"] = QString::fromLatin1(info.calculators);
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
        out << jsonLine(o);
        return;
    }
    out << shownText(file) << "\n";
    out << "  calculator: " << info.calculators << " (." << info.extension << ")\n";
    out << "  size:       " << r.width << " x " << r.height;
    if (r.storedHeight)
        out << " (stored height " << *r.storedHeight << ", width " << *r.storedWidth << ")";
    out << "\n  variable:   " << shownText(variable) << "\n";
    out << "  comment:    " << shownText(core::toUtf8(r.comment)) << "\n";
    out << "  checksum:   stored "
        << (r.storedChecksum ? "0x" + core::hexText(*r.storedChecksum, 4) : "none")
        << ", computed 0x" << core::hexText(r.computedChecksum, 4) << ": " << status << "\n";
    if (r.archived)
        out << "  archived:   " << (*r.archived ? "yes" : "no") << "\n";
    for (const std::string& note : r.notes)
        out << "  note:       " << shownText(note) << "\n";
}

int info(const Request& request, std::ostream& out, std::ostream& err) {
    int failed = 0;
    bool first = true;
    for (const std::string& file : request.inputs) {
        const core::FileRead head = readHead(InputFile(file));
        std::string reason = text(head.error);
        std::optional<core::Inspection> report;
        if (reason.empty()) {
            const std::string_view bytes = viewOf(head.bytes);
            const auto format = calculatorFormat(file, head.bytes);
            if (format) {
                auto inspected = core::inspectPicture(bytes, std::uint64_t(head.fileSize),
                                                      format->calculator->id);
                if (auto* r = std::get_if<core::Inspection>(&inspected))
                    report = std::move(*r);
                else
                    reason = readFailure(std::get<std::string>(inspected), *format, bytes);
            } else {
                reason = "not a calculator picture (" + calculatorExtensions() + ")";
            }
        }
        if (!report) {
            ++failed;
            err << failureLine(file, reason);
            // One object for every file, as promised: this one says why it has no report.
            if (request.json) {
                QJsonObject o;
                o["file"] = jsonText(file);
                o["error"] = jsonText(oneLine(reason));
                out << jsonLine(o);
            }
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
