// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "calcpic/command_line.h"

#include <array>
#include <charconv>

#include "core/formats/format_texts.h"
#include "core/formats/ti68k_names.h"
#include "core/formats/ti85_picture_file.h"
#include "core/model/codepage.h"
#include "core/model/series_numbering.h"

namespace calcpic {
namespace {

struct OptionSpec {
    std::string_view name;
    std::string_view argument; // empty for a switch
    std::string_view help;
};

// Every option, in the order --help and the manual list them.
constexpr std::array<OptionSpec, 25> kOptions{{
    {"-o", "OUTPUT", "Write the one input to OUTPUT; its extension gives the format."},
    {"-d", "DIR",
     "Write each input into the existing folder DIR, named after the input, "
     "with the extension of --to."},
    {"--to", "FORMAT", "The format to write: {formats}."},
    {"--scale", "MODE",
     "How an image meets the calculator's screen: fit (keep its shape, "
     "centred; the default), fill (keep its shape, cover the screen, cut "
     "the middle out), stretch, or none (actual size, centred)."},
    {"--threshold", "N|auto",
     "A pixel whose grey is below N (0 to 255, default 128) is "
     "black; auto chooses N by Otsu's method."},
    {"--dither", "KIND",
     "none (the default), floyd (Floyd-Steinberg), atkinson, bayer4 or "
     "bayer8 (ordered 4x4 or 8x8)."},
    {"--invert", "", "Swap black and white (for {colour formats}: every colour for its opposite)."},
    {"--levels", "auto|off",
     "Before the threshold: auto (the default) stretches the picture's greys so that its "
     "darkest and lightest 0.5 % become black and white; off leaves them. For {colour "
     "formats} off is the default, so that colours stay as they are."},
    {"--brightness", "N",
     "-100 to 100 (default 0): every grey moved that share of the way towards white, or "
     "towards black below 0."},
    {"--contrast", "N",
     "-100 to 100 (default 0): the greys spread away from mid-grey, or drawn towards it "
     "below 0; 100 parts them at mid-grey."},
    {"--gamma", "G",
     "0.2 to 5 (default 1): above 1 lightens the middle greys, below 1 darkens them."},
    {"--strength", "N",
     "For floyd and atkinson: the percentage of each pixel's error passed on to its neighbours "
     "(0 to 100, default 100)."},
    {"--serpentine", "", "For floyd and atkinson: every other row from right to left."},
    {"--transparent", "",
     "For {palette formats}: white becomes no colour, which leaves the calculator's screen as it "
     "was where the picture is recalled."},
    {"--zoom", "N",
     "For png and bmp: each calculator pixel as N x N pixels (1 to 64, "
     "default 1)."},
    {"--pic", "N|auto",
     "For {pic formats}: store the picture as PicN (0 to 9; the TI-82 has "
     "Pic1 to Pic6; {image formats} hold ImageN). Default: the input's, else Pic1. auto numbers a "
     "batch in "
     "the order given: "
     "Pic1, Pic2 ... Pic9, Pic0. The frames of an animation are always numbered so, from PicN "
     "when N is given."},
    {"--folder", "F",
     "For {named formats}: the folder, at most 8 characters. Default: the input's, else "
     "main."},
    {"--name", "N",
     "For {titled formats}: the variable's name, at most 8 characters (for the TI-85 and "
     "TI-86 a letter, then letters and digits). Default: the input's, else picture (Pic for "
     "the TI-85 and TI-86). A trailing # numbers the pictures of a batch or an animation: "
     "frame# names them frame1, frame2 ..."},
    {"--comment", "TEXT",
     "The comment stored in the computer file, at most 40 characters. "
     "Default: the input's, else the editor's."},
    {"--force", "", "Replace an output file that exists."},
    {"--accept-damaged", "",
     "Convert a calculator file that is shorter than its format or whose checksum does not "
     "match, as the editors read it (missing bytes as spaces). Without it such an input "
     "fails."},
    {"--json", "",
     "For info: one JSON object per file, one per line; for a file that cannot be read, its "
     "name and the error."},
    {"-s", "SIZE",
     "For thumbnail: the longest side of the picture in pixels (1 to 4096, default 128)."},
    {"--help", "", "Show this text."},
    {"--version", "", "Show the version."},
}};

constexpr std::string_view kName = "calcpic";
constexpr std::string_view kSummary = "convert and examine {models} calculator pictures";
constexpr std::array<std::string_view, 4> kSynopsis{
    "info [--json] FILE...",
    "convert [options] INPUT... (-o OUTPUT | -d DIR --to FORMAT)",
    "thumbnail [-s SIZE] INPUT OUTPUT",
    "--help | --version",
};
constexpr std::array<std::string_view, 6> kDescription{
    "calcpic reads and writes the calculator picture files of {screens}, byte for byte as the "
    "dotwell and pixvane editors write them. It needs no display.",
    "info prints, for each file, the calculator and format, the picture's size, the "
    "variable, the comment, the stored and the computed checksum (OK or MISMATCH) and "
    "anything unusual that the editors read past.",
    "convert reads calculator pictures and any image Qt reads (PNG, JPEG, BMP, GIF, WebP, "
    "TIFF...) and writes each in one format. An image becomes a calculator picture as the "
    "editors' Convert Image makes it, with the same options; for {colour formats} each pixel "
    "becomes the nearest of the calculator's colours as the eye sees them (in the OKLab colour "
    "space, with the same dithers, --strength and --serpentine, the error diffusions passing "
    "on light; none keeps a picture made of those colours exact; the tone options act on each "
    "channel). A calculator picture becomes an "
    "image of one pixel per calculator pixel, black on white, or in its colours (a PNG keeps "
    "no colour transparent). A monochrome picture becomes a colour one cell for cell at its top "
    "left, black and white, when it fits the colour screen, else through the conversion; a "
    "colour picture becomes monochrome through the conversion. "
    "Between calculators of the same "
    "screen the picture and comment go across unchanged; onto another screen the picture is "
    "converted like an image, with the same options, to that screen's size (the graph "
    "screen's for the TI-89: 159 x 77). An image written as png or bmp keeps its own size and "
    "becomes black and white. An animation (a GIF of several frames) becomes one file per "
    "frame, OUTPUT with the frame's number before its extension (frame-1.{example}, "
    "frame-2.{example} "
    "...), each the picture a viewer shows at that frame and, on the calculators with PIC "
    "variables, a variable of its own: Pic1, Pic2 ... Pic9, Pic0.",
    "thumbnail writes a PNG picture of one calculator file for a file manager: black on the "
    "calculator's screen colour (a colour picture in its colours), at most SIZE pixels on its long "
    "side, its aspect kept. The "
    "thumbnailer entry installed with calcpic has file managers call it for every calculator "
    "picture type.",
    "Files are written whole or not at all, and reach the disk together, up to 64 at a time: a "
    "crash in the middle of a run leaves each output as it was or whole, perhaps beside a hidden "
    "temporary file (.NAME.XXXXXX) that may be deleted. An output that exists is replaced only "
    "with "
    "--force, and an input is never overwritten. A failing input is reported on standard "
    "error with its reason; the others are still converted. A calculator file that is "
    "shorter than its format or fails its checksum is damaged: info reports it, convert "
    "fails it unless --accept-damaged is given.",
    "Exit status: 0 when everything was done, 1 when some input failed, 2 for a command line "
    "that cannot be carried out.",
};

// A text with the formats of the registry in place of {formats}, {pic formats}, {named
// formats}, {models} and {screens}.
std::string expand(std::string_view text) {
    using core::FormatDescriptor;
    const std::pair<std::string_view, std::string> fields[] = {
        {"{formats}", core::joinedList(
                          [] {
                              std::vector<std::string> all = core::extensions();
                              all.insert(all.end(), {"png", "bmp"});
                              return all;
                          }(),
                          "or")},
        {"{pic formats}", core::joinedList(core::extensions(
                              [](const FormatDescriptor& f) { return f.picNumbers > 0; }))},
        {"{named formats}", core::joinedList(core::extensions([](const FormatDescriptor& f) {
             return f.family == core::Family::Ti92;
         }))},
        {"{titled formats}", core::joinedList(core::extensions([](const FormatDescriptor& f) {
             return f.family != core::Family::Ti83;
         }))},
        {"{colour formats}", core::joinedList(core::extensions([](const FormatDescriptor& f) {
             return f.cells != core::CellKind::Monochrome;
         }))},
        {"{palette formats}", core::joinedList(core::extensions([](const FormatDescriptor& f) {
             return f.cells == core::CellKind::Palette;
         }))},
        {"{image formats}", core::joinedList(core::extensions([](const FormatDescriptor& f) {
             return f.picNumbers > 0 && f.variablePrefix != "Pic";
         }))},
        // The formats the examples use: the most common calculators of each family.
        {"{example}", std::string(core::formatOf(core::FormatId::Ti83Plus).extension)},
        {"{example 68k}", std::string(core::formatOf(core::FormatId::Ti92).extension)},
        {"{models}", core::joinedList(core::models())},
        {"{screens}", core::picturesBySize()},
    };
    std::string out(text);
    for (const auto& [field, value] : fields) {
        for (size_t at; (at = out.find(field)) != std::string::npos;)
            out.replace(at, field.size(), value);
    }
    return out;
}

const OptionSpec* optionNamed(std::string_view name) {
    for (const OptionSpec& option : kOptions) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

std::optional<int> integer(std::string_view text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

// The value a word names in a table of words and values.
template <class Table> auto named(const Table& table, std::string_view word) {
    std::optional<typename Table::value_type::second_type> value;
    for (const auto& [name, v] : table) {
        if (name == word)
            value = v;
    }
    return value;
}

// Wraps a paragraph at 79 columns, each line after `indent` spaces.
std::string wrapped(std::string_view text, size_t indent, size_t first = 0) {
    std::string out;
    size_t column = first;
    if (first < indent) {
        out.append(indent - first, ' ');
        column = indent;
    }
    bool lineStart = true;
    while (!text.empty()) {
        const size_t space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
        if (!lineStart && column + 1 + word.size() > 79) {
            out += '\n';
            out.append(indent, ' ');
            column = indent;
            lineStart = true;
        }
        if (!lineStart) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        lineStart = false;
    }
    return out + '\n';
}

std::string optionLabel(const OptionSpec& option) {
    return std::string(option.name) +
           (option.argument.empty() ? "" : " " + std::string(option.argument));
}

// Roff text: a backslash and a leading dot or quote must not be read as requests.
std::string roff(std::string_view text) {
    std::string out;
    if (!text.empty() && (text[0] == '.' || text[0] == '\''))
        out = "\\&";
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    return out;
}

// A folder or variable name checked by the rules of the calculator it is for.
std::optional<UsageError> nameError(const std::string& option,
                                    const std::optional<std::u32string>& text,
                                    const core::FormatDescriptor& calculator, core::NameKind kind) {
    if (!text)
        return std::nullopt;
    const std::string shown = option + " " + core::toUtf8(*text) + ": ";
    // A numbered name is checked as its first: frame# as frame1.
    const std::u32string name = kind == core::NameKind::Variable && core::isSeriesName(*text)
                                    ? *core::seriesName(*text, 0, text->size())
                                    : *text;
    if (calculator.family == core::Family::Ti85) {
        if (const std::string problem = core::ti85NameProblem(name); !problem.empty())
            return UsageError{shown + problem};
        return std::nullopt;
    }
    const core::NameVerdict verdict = core::checkName(name, kind);
    if (!verdict.ok)
        return UsageError{shown + core::messageLine(verdict.message)};
    if (name.size() > core::kLongestName)
        return UsageError{shown + "at most " + std::to_string(core::kLongestName) + " characters"};
    return std::nullopt;
}

class Parser {
public:
    explicit Parser(const std::vector<std::string>& arguments) : m_args(arguments) {}

    std::variant<Request, UsageError> parse() {
        for (const std::string& a : m_args) {
            if (a == "--")
                break;
            if (a == "--help" || a == "-h" || a == "--version") {
                m_request.command =
                    a == "--version" ? Request::Command::Version : Request::Command::Help;
                return m_request;
            }
        }
        if (m_args.empty())
            return UsageError{"no command given"};
        if (m_args[0] == "info")
            m_request.command = Request::Command::Info;
        else if (m_args[0] == "convert")
            m_request.command = Request::Command::Convert;
        else if (m_args[0] == "thumbnail")
            m_request.command = Request::Command::Thumbnail;
        else
            return UsageError{"unknown command '" + m_args[0] + "'"};

        bool onlyInputs = false;
        for (size_t i = 1; i < m_args.size(); ++i) {
            const std::string& a = m_args[i];
            if (onlyInputs || a == "-" || a.empty() || a[0] != '-') {
                m_request.inputs.push_back(a);
                continue;
            }
            if (a == "--") {
                onlyInputs = true;
                continue;
            }
            std::string name = a;
            std::optional<std::string> value;
            if (const size_t equals = a.find('='); a.starts_with("--") && equals != a.npos) {
                name = a.substr(0, equals);
                value = a.substr(equals + 1);
            }
            const OptionSpec* option = optionNamed(name);
            if (!option)
                return UsageError{"unknown option '" + name + "'"};
            const bool needsValue = !option->argument.empty();
            if (needsValue && !value) {
                if (i + 1 >= m_args.size())
                    return UsageError{name + " needs a value"};
                value = m_args[++i];
            } else if (!needsValue && value) {
                return UsageError{name + " takes no value"};
            }
            if (auto error = take(name, value.value_or("")))
                return *error;
        }
        if (auto error = check())
            return *error;
        return m_request;
    }

private:
    std::optional<UsageError> take(const std::string& name, const std::string& value) {
        using enum Request::Command;
        const Request::Command owner = name == "--json" ? Info : name == "-s" ? Thumbnail : Convert;
        if (owner != m_request.command)
            return UsageError{name + " is an option of " +
                              (owner == Info        ? "info"
                               : owner == Thumbnail ? "thumbnail"
                                                    : "convert")};
        m_given.push_back(name);
        Request& r = m_request;
        if (name == "--json") {
            r.json = true;
        } else if (name == "-o") {
            r.output = value;
        } else if (name == "-d") {
            r.directory = value;
        } else if (name == "--to") {
            r.to = formatNamed(value.starts_with('.') ? value.substr(1) : value);
            if (!r.to)
                return UsageError{"--to " + value + ": the formats are " + expand("{formats}")};
        } else if (name == "--scale") {
            static constexpr std::array<std::pair<std::string_view, Scale>, 4> kScales{
                {{"fit", Scale::Fit},
                 {"fill", Scale::Fill},
                 {"stretch", Scale::Stretch},
                 {"none", Scale::None}}};
            const auto scale = named(kScales, value);
            if (!scale)
                return UsageError{"--scale " + value + ": use fit, fill, stretch or none"};
            r.scale = *scale;
        } else if (name == "--threshold") {
            r.autoThreshold = value == "auto";
            if (const auto n = integer(value, 0, 255)) {
                r.conversion.threshold = *n;
            } else if (!r.autoThreshold) {
                return UsageError{"--threshold " + value + ": use a number 0 to 255, or auto"};
            }
        } else if (name == "--dither") {
            using core::Dither;
            static constexpr std::array<std::pair<std::string_view, Dither>, 5> kDithers{
                {{"none", Dither::None},
                 {"floyd", Dither::FloydSteinberg},
                 {"atkinson", Dither::Atkinson},
                 {"bayer4", Dither::Ordered4},
                 {"bayer8", Dither::Ordered8}}};
            const auto dither = named(kDithers, value);
            if (!dither)
                return UsageError{"--dither " + value +
                                  ": use none, floyd, atkinson, bayer4 or bayer8"};
            r.conversion.dither = *dither;
        } else if (name == "--invert") {
            r.conversion.invert = true;
        } else if (name == "--levels") {
            if (value != "auto" && value != "off")
                return UsageError{"--levels " + value + ": use auto or off"};
            r.conversion.tone.autoLevels = value == "auto";
            r.levelsGiven = true;
        } else if (name == "--brightness" || name == "--contrast") {
            const auto n = integer(value, -core::kBrightnessRange, core::kBrightnessRange);
            if (!n)
                return UsageError{name + " " + value + ": use a number -100 to 100"};
            (name == "--brightness" ? r.conversion.tone.brightness : r.conversion.tone.contrast) =
                *n;
        } else if (name == "--gamma") {
            double gamma = 0;
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), gamma);
            if (error != std::errc() || end != value.data() + value.size() ||
                !(gamma >= core::kLowestGamma && gamma <= core::kHighestGamma))
                return UsageError{"--gamma " + value + ": use a number 0.2 to 5"};
            r.conversion.tone.gamma = gamma;
        } else if (name == "--strength") {
            const auto n = integer(value, 0, 100);
            if (!n)
                return UsageError{"--strength " + value + ": use a number 0 to 100"};
            r.conversion.strength = *n;
        } else if (name == "--serpentine") {
            r.conversion.serpentine = true;
        } else if (name == "--transparent") {
            r.transparent = true;
        } else if (name == "--zoom") {
            const auto n = integer(value, 1, 64);
            if (!n)
                return UsageError{"--zoom " + value + ": use a number 1 to 64"};
            r.zoom = *n;
        } else if (name == "--pic") {
            r.picAuto = value == "auto";
            const auto n = integer(value, 0, 9);
            if (!n && !r.picAuto)
                return UsageError{"--pic " + value +
                                  ": use a number 0 to 9 (Pic0 to Pic9), or auto"};
            r.pic = n;
        } else if (name == "--folder" || name == "--name") {
            // Checked once the target is known: the TI-85/86 and the 68k rules differ.
            (name == "--folder" ? r.folder : r.name) = core::fromUtf8(value);
        } else if (name == "--comment") {
            const std::u32string text = core::fromUtf8(value);
            const auto bytes = core::encodeWindows1252(text);
            if (!bytes)
                return UsageError{"--comment holds a character that a calculator file cannot "
                                  "store (it takes Windows-1252)"};
            if (text.size() > 40)
                return UsageError{"--comment has " + std::to_string(text.size()) +
                                  " characters; a calculator file holds at most 40"};
            r.comment = *bytes;
        } else if (name == "--force") {
            r.force = true;
        } else if (name == "-s") {
            const auto n = integer(value, 1, 4096);
            if (!n)
                return UsageError{"-s " + value + ": use a number 1 to 4096"};
            r.thumbnailSize = *n;
        } else if (name == "--accept-damaged") {
            r.acceptDamaged = true;
        }
        return std::nullopt;
    }

    bool given(std::string_view name) const {
        return std::find(m_given.begin(), m_given.end(), name) != m_given.end();
    }

    std::optional<UsageError> check() {
        Request& r = m_request;
        if (r.inputs.empty())
            return UsageError{r.command == Request::Command::Info ? "no file given"
                                                                  : "no input given"};
        if (r.command == Request::Command::Info)
            return std::nullopt;
        if (r.command == Request::Command::Thumbnail) {
            if (r.inputs.size() != 2)
                return UsageError{"thumbnail takes one INPUT and one OUTPUT"};
            r.output = r.inputs.back();
            r.inputs.pop_back();
            return std::nullopt;
        }
        if (given("-o") == given("-d"))
            return UsageError{"name the output with -o OUTPUT, or a folder with -d DIR and "
                              "--to FORMAT"};
        if (given("-o")) {
            if (r.inputs.size() > 1)
                return UsageError{"-o names one output; for several inputs use -d DIR --to "
                                  "FORMAT"};
            if (!r.to)
                r.to = formatOfName(r.output);
            if (!r.to)
                return UsageError{"-o " + r.output +
                                  ": its extension names no format; add --to "
                                  "FORMAT"};
        } else if (!r.to) {
            return UsageError{"-d needs --to FORMAT"};
        }
        const core::FormatDescriptor* calculator = r.to->calculator;
        const std::string ext(r.to->extension());
        if ((r.pic || r.picAuto) && (!calculator || calculator->picNumbers == 0))
            return UsageError{"--pic is for " + expand("{pic formats}") + ", not " + ext};
        if (r.picAuto && int(r.inputs.size()) > calculator->picNumbers)
            return UsageError{"--pic auto: " + std::to_string(r.inputs.size()) +
                              " inputs, but the " + std::string(calculator->calculators) + " has " +
                              std::to_string(calculator->picNumbers) + " picture variables"};
        if (r.pic && !core::picAllowed(*calculator, core::picByte(*r.pic)))
            return UsageError{"--pic " + std::to_string(*r.pic) +
                              ": OOPS! TI-82 PIC variable must be 1..6"};
        if (r.folder && (!calculator || calculator->family != core::Family::Ti92))
            return UsageError{"--folder is for " + expand("{named formats}") + ", not " + ext};
        if (r.name && (!calculator || calculator->family == core::Family::Ti83))
            return UsageError{"--name is for " + expand("{titled formats}") + ", not " + ext};
        if (calculator) {
            if (auto error = nameError("--folder", r.folder, *calculator, core::NameKind::Folder))
                return error;
            if (auto error = nameError("--name", r.name, *calculator, core::NameKind::Variable))
                return error;
        }
        if (r.transparent && (!calculator || calculator->cells != core::CellKind::Palette))
            return UsageError{"--transparent is for " + expand("{palette formats}") + ", not " +
                              ext};
        if (given("--zoom") && calculator)
            return UsageError{"--zoom is for png and bmp, not " + ext};
        if (r.comment && !calculator)
            return UsageError{"--comment is for calculator files; " + ext + " has none"};
        return std::nullopt;
    }

    const std::vector<std::string>& m_args;
    Request m_request;
    std::vector<std::string> m_given;
};

} // namespace

std::variant<Request, UsageError> parseCommandLine(const std::vector<std::string>& arguments) {
    return Parser(arguments).parse();
}

std::string usageText() {
    std::string out;
    for (size_t i = 0; i < kSynopsis.size(); ++i)
        out += std::string(i == 0 ? "usage: " : "       ") + std::string(kName) + " " +
               std::string(kSynopsis[i]) + "\n";
    return out;
}

std::string helpText() {
    std::string out = usageText() + "\n";
    for (std::string_view paragraph : kDescription)
        out += wrapped(expand(paragraph), 0) + "\n";
    out += "Options:\n";
    for (const OptionSpec& option : kOptions) {
        const std::string label = "  " + optionLabel(option);
        out += label;
        if (label.size() >= 20)
            out += "\n" + wrapped(expand(option.help), 20);
        else
            out += wrapped(expand(option.help), 20, label.size());
    }
    return out;
}

std::string versionText(std::string_view version) {
    return std::string(kName) + " " + std::string(version) + "\n";
}

std::string manPage(std::string_view version, std::string_view date) {
    std::string out = ".TH CALCPIC 1 " + std::string(date) + " \"" + std::string(kName) + " " +
                      std::string(version) + "\" \"User Commands\"\n";
    out += ".SH NAME\n" + std::string(kName) + " \\- " + roff(expand(kSummary)) + "\n";
    out += ".SH SYNOPSIS\n";
    for (std::string_view line : kSynopsis)
        out += ".B " + std::string(kName) + "\n" + roff(line) + "\n.br\n";
    out += ".SH DESCRIPTION\n";
    for (size_t i = 0; i < kDescription.size(); ++i)
        out += (i ? ".PP\n" : "") + roff(expand(kDescription[i])) + "\n";
    out += ".SH OPTIONS\n";
    for (const OptionSpec& option : kOptions) {
        out += option.argument.empty()
                   ? ".TP\n.B " + roff(option.name) + "\n"
                   : ".TP\n.BI \"" + roff(option.name) + " \" " + roff(option.argument) + "\n";
        out += roff(expand(option.help)) + "\n";
    }
    // How an image becomes cells, so that another program can reproduce them.
    out += ".SH CONVERSION\n";
    std::string_view arithmetic = core::kConversionArithmetic;
    for (bool first = true; !arithmetic.empty(); first = false) {
        const size_t end = arithmetic.find("\n\n");
        out += (first ? "" : ".PP\n") + roff(arithmetic.substr(0, end)) + "\n";
        arithmetic =
            end == std::string_view::npos ? std::string_view() : arithmetic.substr(end + 2);
    }
    out += ".SH EXAMPLES\n";
    out += expand(".EX\ncalcpic info photo.{example}\n"
                  "calcpic convert \\-\\-dither atkinson photo.jpg \\-o photo.{example}\n"
                  "calcpic convert \\-d out \\-\\-to png *.{example 68k}\n"
                  "calcpic convert anim.gif \\-o frame.{example}\n"
                  "calcpic thumbnail \\-s 256 photo.{example} photo.png\n.EE\n");
    out += ".SH SEE ALSO\n.BR dotwell (1),\n.BR pixvane (1)\n";
    return out;
}

} // namespace calcpic
