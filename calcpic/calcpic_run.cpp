// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "calcpic/calcpic_run.h"

#include <algorithm>
#include <memory>
#include <set>
#include <utility>

#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>

#include "calcpic/native_files.h"
#include "calcpic/terminal_text.h"
#include "calcpic/thumbnail.h"
#include "core/formats/format_texts.h"
#include "core/formats/ti68k_names.h"
#include "core/imaging/file_io.h"
#include "core/imaging/picture_conversion_source.h"
#include "core/imaging/picture_frames.h"
#include "core/imaging/picture_loader.h"
#include "core/imaging/picture_writer.h"
#include "core/model/codepage.h"
#include "core/model/series_numbering.h"

namespace calcpic {
namespace {

std::string text(const QString& s) {
    return s.toStdString();
}

// What a file holds: a calculator picture, or an image for the conversion, or the frames of
// an animation as a viewer shows them, each frame a picture of its own.
struct Input {
    std::optional<Format> format; // a calculator's
    core::CalculatorPicture content;
    core::PictureToConvert image;
    // An animation's frames, read one at a time as they are written: a long animation of a
    // large screen would not fit in memory whole.
    std::unique_ptr<core::PictureFrames> frames;
    int frameCount() const { return frames ? frames->count() : 0; }
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
std::string damageOf(const core::FileReport& report) {
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
    const core::FormatDescriptor* signed_ = core::formatForContent(head);
    if (signed_ && signed_->signature != format.calculator->signature)
        reason += "; by its signature it is a " + std::string(signed_->calculators) + " picture";
    else if (signed_ && signed_ != format.calculator &&
             (!signed_->contentBytes.empty() || !format.calculator->contentBytes.empty()))
        // Formats that share a signature are told apart by bytes of their header.
        reason += "; by its header it is a ." + std::string(signed_->extension) + " file";
    return reason;
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

// The frames of an animation (a GIF, or any file Qt reads several pictures from), or the
// reason it cannot be read; none for a still picture, which is read as Convert Image reads it.
std::optional<std::variant<std::unique_ptr<core::PictureFrames>, std::string>>
animationFrames(const QString& path, const QByteArray& head) {
    QImageReader probe(path);
    core::findFormatByContent(probe, head);
    if (!head.startsWith("GIF8") && probe.imageCount() <= 1)
        return std::nullopt;
    QString error;
    const std::unique_ptr<QFile> file = core::openRegularFile(path, &error);
    if (!file)
        return text(error);
    auto frames = std::make_unique<core::PictureFrames>(file->readAll());
    if (frames->count() <= 1)
        return std::nullopt;
    return frames;
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
            core::examinePicture(viewOf(head.bytes), std::uint64_t(head.fileSize), id);
        if (const auto* error = std::get_if<std::string>(&report))
            return readFailure(*error, *input.format, viewOf(head.bytes));
        if (const std::string damage = damageOf(std::get<core::FileReport>(report));
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
    if (auto frames = animationFrames(file.path(), head.bytes)) {
        if (const auto* error = std::get_if<std::string>(&*frames))
            return *error;
        input.frames = std::move(std::get<std::unique_ptr<core::PictureFrames>>(*frames));
        return input;
    }
    QString error;
    input.image = core::readPictureToConvert(file.path(), gridFor(request.format()), &error);
    if (input.image.isNull()) {
        // An image Qt knows by its header (one too large, say) has a reason of its own.
        QImageReader known(file.path());
        core::findFormatByContent(known, head.bytes);
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
// picture as placed, as the dialog's Auto button sets it. A colour calculator's cells are
// quantised to its colours instead.
core::PixelGrid convertImage(const core::PictureToConvert& image, QSize grid,
                             const Request& request, core::CellKind kind) {
    const core::ConversionSource source(image, grid);
    if (kind != core::CellKind::Monochrome) {
        core::ConversionOptions options = request.conversion;
        options.tone.autoLevels = request.levelsGiven && options.tone.autoLevels;
        return core::convertColourCells(source.colourCells(modeOf(request.scale)), kind, options);
    }
    const core::GreyCells cells = source.cells(modeOf(request.scale));
    core::ConversionOptions options = request.conversion;
    if (request.autoThreshold)
        options.threshold = core::otsuThreshold(cells, options.tone);
    return core::convertCells(cells, options);
}

void invert(core::PixelGrid& grid) {
    for (int r = 0; r < grid.rows(); ++r)
        for (int c = 0; c < grid.columns(); ++c)
            grid.set(r, c, std::int16_t(grid.at(r, c) == 1 ? 0 : 1));
}

core::CellKind cellsOf(const std::optional<Format>& format) {
    return format && format->isCalculator() ? format->calculator->cells
                                            : core::CellKind::Monochrome;
}

// A picture and what its cells mean.
struct Picture {
    core::PixelGrid grid;
    core::CellKind kind;
};

// The picture of `input` (or `frame`, the animation's frame being written) as a grid of the
// target's screen, or the image's own size for an image written as an image.
Picture pictureFor(const Input& input, const core::PictureToConvert* frame, Format target,
                   const Request& request) {
    const core::CellKind from = cellsOf(input.format);
    const core::CellKind to = target.isCalculator() ? cellsOf(target) : from;
    const bool monochrome = from == core::CellKind::Monochrome;
    if (input.format && (input.format->sameScreen(target) || !target.isCalculator()) &&
        (monochrome || !request.conversion.invert)) {
        core::PixelGrid grid = input.content.grid;
        if (request.conversion.invert)
            invert(grid);
        return {std::move(grid), from};
    }
    const core::PixelGrid& cells = input.content.grid;
    if (input.format && monochrome && to != core::CellKind::Monochrome &&
        cells.rows() <= target.calculator->picture.rows &&
        cells.columns() <= target.calculator->picture.columns) {
        // Cell for cell at the top left, as the calculator recalls a picture; one larger than
        // the screen is converted to fit instead of losing what is beyond it.
        core::PixelGrid grid = input.content.grid;
        if (request.conversion.invert)
            invert(grid);
        return {core::colourFromMonochrome(grid, target.calculator->picture.rows,
                                           target.calculator->picture.columns, to,
                                           request.transparent),
                to};
    }
    core::PictureToConvert image = frame ? *frame : input.image;
    if (input.format) {
        image.picture = core::gridImage(input.content.grid, from);
        image.size = image.picture.size();
    }
    const QSize size = target.isCalculator() ? gridFor(target) : image.size;
    return {convertImage(image, size, request, to), to};
}

// The image a picture is written as: its colours, a palette's none transparent in a PNG and
// white in a BMP, which keeps no transparency.
QImage imageOf(const Picture& picture, Format format, int zoom) {
    QImage image = core::gridImage(picture.grid, picture.kind, zoom);
    if (format.image == Format::Image::Bmp && image.hasAlphaChannel()) {
        QImage opaque(image.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        QPainter(&opaque).drawImage(0, 0, image);
        return opaque;
    }
    return image;
}

// The bytes of the output of the input (of `frame` of an animation), or the reason there are
// none.
std::variant<QByteArray, std::string> outputBytes(const Input& input,
                                                  const core::PictureToConvert* frame,
                                                  const core::Variable& variable,
                                                  const Request& request) {
    const Format format = request.format();
    Picture picture = pictureFor(input, frame, format, request);
    if (!format.isCalculator()) {
        QByteArray bytes;
        const QString error =
            core::encodePicture(imageOf(picture, format, request.zoom), &bytes,
                                format.image == Format::Image::Png ? "png" : "bmp");
        if (!error.isEmpty())
            return text(error);
        return bytes;
    }
    if (request.transparent) // white cells recall as no colour
        for (int r = 0; r < picture.grid.rows(); ++r)
            for (int c = 0; c < picture.grid.columns(); ++c)
                if (picture.grid.at(r, c) == core::kPaletteWhite)
                    picture.grid.set(r, c, core::kPaletteNone);
    const core::FormatId target = format.calculator->id;
    const bool sameScreen = input.format && input.format->sameScreen(format);
    core::CalculatorPicture content = sameScreen ? input.content : core::newPicture(target);
    if (input.format && !sameScreen)
        content.comment = input.content.comment; // the picture changes screens, its comment too
    content.grid = std::move(picture.grid);
    if (request.comment)
        content.comment = *request.comment;
    core::setVariable(content, variable);
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
    const core::FormatDescriptor* calculator = request.format().calculator;
    const bool several = request.inputs.size() > 1;
    // Per input: whether it failed, counted once however many of its frames did.
    std::vector<bool> inputFailed(request.inputs.size(), false);
    auto fail = [&](size_t i, const std::string& reason) {
        inputFailed[i] = true;
        progress.message() << failureLine(request.inputs[i], reason);
    };
    int series = 0; // the pictures of the run so far, for numbering a batch
    // Outputs are synced to the disk together, a batch at a time, not one by one.
    core::BatchWriter batch;
    // Why `output` may not be written, or nothing.
    auto refusal = [&](const std::string& output) -> std::string {
        if (qtNamesIt(output) &&
            batch.isPending(QFile::decodeName(QByteArray::fromStdString(output))))
            batch.flush(); // an output named twice: the checks below see the first one
        const std::optional<FileId> existing = fileIdOf(output, true);
        if (existing && inputs.count(*existing))
            return output + " is one of the inputs, which calcpic never overwrites";
        if (existing && written.count(*existing))
            return output + " was already written from another input";
        if (existing && !request.force)
            return output + " exists; add --force to replace it";
        return {};
    };
    for (size_t i = 0; i < request.inputs.size(); ++i) {
        const std::string& input = request.inputs[i];
        const std::string output =
            request.directory.empty()
                ? request.output
                : outputInFolder(request.directory, input, request.format().extension());
        std::string reason;
        std::variant<Input, std::string> read = readInput(input, request);
        Input* in = std::get_if<Input>(&read);
        const bool animation = in && in->frameCount() > 1;
        if (!animation)
            reason = refusal(output);
        if (reason.empty() && !in)
            reason = std::get<std::string>(read);
        const size_t pictures = animation ? size_t(in->frameCount()) : 1;
        // An animation's frames take Pic1, Pic2 ... (from --pic N when given); a batch with
        // --pic auto numbers all its pictures in turn. Past the calculator's last, nothing
        // of the input is written.
        const bool numbered =
            calculator && calculator->picNumbers > 0 && (animation || request.picAuto);
        const int first = request.picAuto ? series : request.pic ? core::picByte(*request.pic) : 0;
        const std::string prefix(calculator ? calculator->variablePrefix : "Pic");
        if (reason.empty() && numbered &&
            !core::seriesPicNumber(*calculator, first + int(pictures) - 1)) {
            reason = std::to_string(pictures) + (animation ? " frames" : " pictures") + " from " +
                     prefix + std::to_string(core::picNumberOfByte(first)) +
                     " need more than the " + std::to_string(calculator->picNumbers) +
                     " picture variables of the " + std::string(calculator->calculators) + " (" +
                     prefix + "1 to " + prefix +
                     std::to_string(core::picNumberOfByte(calculator->picNumbers - 1)) + ")";
        }
        for (size_t k = 0; reason.empty() && k < pictures; ++k) {
            const std::string name = animation ? core::seriesFileName(output, int(k)) : output;
            core::Variable variable{request.pic, request.folder, request.name};
            if (numbered)
                variable.picNumber = core::seriesPicNumber(*calculator, first + int(k));
            if (request.name && core::isSeriesName(*request.name)) {
                const int index = several ? series : int(k);
                variable.name = core::seriesName(*request.name, index, core::kLongestName);
                if (!variable.name)
                    reason = "--name " + core::toUtf8(*request.name) + " has no room for " +
                             std::to_string(index + 1) + " within " +
                             std::to_string(core::kLongestName) + " characters";
            }
            if (reason.empty() && animation)
                reason = refusal(name);
            if (!reason.empty())
                break;
            core::PictureToConvert frame;
            if (animation) {
                int delay = 0;
                if (!in->frames->next(&frame.picture, &delay)) {
                    reason = "frame " + std::to_string(k + 1) + " of " + std::to_string(pictures) +
                             " cannot be read";
                    break;
                }
                frame.size = frame.picture.size();
            }
            ++series;
            const auto bytes = outputBytes(*in, animation ? &frame : nullptr, variable, request);
            if (const auto* error = std::get_if<std::string>(&bytes)) {
                reason = *error;
                break;
            }
            writeOutput(batch, name, std::get<QByteArray>(bytes),
                        [&, i, name](const QString& error) {
                            if (!error.isEmpty())
                                fail(i, "cannot write " + name + ": " + text(error));
                            else if (const auto id = fileIdOf(name))
                                written.insert(*id);
                        });
        }
        if (!reason.empty())
            fail(i, reason);
        progress.step(i + 1);
    }
    batch.flush();
    const int failed = int(std::count(inputFailed.begin(), inputFailed.end(), true));
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

void printReport(const std::string& file, const core::FileReport& r, bool json, std::ostream& out) {
    const core::FormatDescriptor& info = core::formatOf(r.format);
    const bool ti83 = info.family == core::Family::Ti83;
    const std::string variable =
        ti83 ? std::string(info.variablePrefix) + std::to_string(*r.picNumber)
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
        std::optional<core::FileReport> report;
        if (reason.empty()) {
            const std::string_view bytes = viewOf(head.bytes);
            const auto format = calculatorFormat(file, head.bytes);
            if (format) {
                auto examined = core::examinePicture(bytes, std::uint64_t(head.fileSize),
                                                     format->calculator->id);
                if (auto* r = std::get_if<core::FileReport>(&examined))
                    report = std::move(*r);
                else
                    reason = readFailure(std::get<std::string>(examined), *format, bytes);
            } else {
                reason = "not a calculator picture (" +
                         core::joinedList(core::extensions({}, true), "or") + ")";
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
