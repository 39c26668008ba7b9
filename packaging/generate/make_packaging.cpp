// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// Writes the installed files that list the picture formats (the MIME types, the desktop
// entries, the AppStream metainfo, the thumbnailer entry, the manual pages) from their templates,
// with every list taken from the format registry: a new format needs no hand edit there.
//
//   make_packaging OUTPUT_DIR TEMPLATE...
//
// Fields, each for one program (dotwell, pixvane) or all:
//   @MIME_TYPES_XML@           the mime-type elements of every format
//   @MIME_TYPES:p@             "type;type;" for a desktop or thumbnailer entry
//   @MEDIATYPES:p@             the metainfo's <mediatype> lines
//   @MODELS:p@                 the program's calculators, as a sentence lists them
//   @EXTENSIONS:p@             its extensions, dotted, as a sentence lists them
//   @KEYWORDS:p@               its extensions undotted, each followed by ";"
//   @SIZES:p@                  its picture sizes, "W x H pixel" or "W x H and W x H pixel"
//   @MAN_FORMATS:p@            a manual page's list of extensions and their calculators
//   @MAN_FILES:p@              a manual page's FILES entries
// Anything else between @ signs (the install's @BINDIR@) is left for the install.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>

#include "core/formats/format_registry.h"
#include "core/formats/format_texts.h"

using namespace core;

namespace {

// The program a field names, or none for "all"; false for a name that is neither.
bool programNamed(const std::string& name, std::optional<Program>* program) {
    if (name == "dotwell")
        *program = Program::Dotwell;
    else if (name == "pixvane")
        *program = Program::Pixvane;
    else if (name == "all")
        *program = std::nullopt;
    else
        return false;
    return true;
}

// A program's formats are those its editor opens; "all" is every format calcpic reads.
bool of(const FormatDescriptor& f, std::optional<Program> program) {
    return !program || editorOpens(f, *program);
}

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string mimeXml() {
    std::string out;
    for (const FormatDescriptor& f : allFormats()) {
        const std::string parent =
            f.mimeParent.empty() ? "application/x-tilp-picture" : std::string(f.mimeParent);
        out += "  <mime-type type=\"" + std::string(f.mimeType) + "\">\n";
        out += "    <comment>" + std::string(f.calculators) + " calculator picture</comment>\n";
        out += "    <generic-icon name=\"image-x-generic\"/>\n";
        out += "    <sub-class-of type=\"" + parent + "\"/>\n";
        out += "    <glob weight=\"60\" pattern=\"*." + std::string(f.extension) + "\"/>\n";
        out += "    <glob weight=\"60\" pattern=\"*." + upper(f.extension) +
               "\" case-sensitive=\"true\"/>\n";
        out += "    <magic priority=\"" + std::to_string(f.magicPriority) + "\">\n";
        // Bytes that tell a format from another of the same signature nest in its match: all
        // of them must be there.
        std::string closers;
        std::string indent = "      ";
        out += indent + "<match type=\"string\" offset=\"0\" value=\"" + std::string(f.signature) +
               "\"";
        for (const auto& [offset, value] : f.contentBytes) {
            out += ">\n";
            indent += "  ";
            out += indent + "<match type=\"byte\" offset=\"" + std::to_string(offset) +
                   "\" value=\"0x" + hexText(value) + "\"";
            closers = indent.substr(2) + "</match>\n" + closers;
        }
        out += "/>\n" + closers;
        for (std::string_view other : f.alsoRead)
            out += "      <match type=\"string\" offset=\"0\" value=\"" + std::string(other) +
                   "\"/>\n";
        out += "    </magic>\n  </mime-type>\n";
    }
    return out;
}

std::string field(const std::string& name, std::optional<Program> program) {
    std::string out;
    if (name == "MIME_TYPES") {
        for (const FormatDescriptor& f : allFormats())
            if (of(f, program))
                out += std::string(f.mimeType) + ";";
    } else if (name == "MEDIATYPES") {
        for (const FormatDescriptor& f : allFormats())
            if (of(f, program))
                out += (out.empty() ? "" : "\n") + std::string("    <mediatype>") +
                       std::string(f.mimeType) + "</mediatype>";
    } else if (name == "MODELS") {
        out = joinedList(models(program));
    } else if (name == "EXTENSIONS") {
        out =
            joinedList(extensions([&](const FormatDescriptor& f) { return of(f, program); }, true));
    } else if (name == "KEYWORDS") {
        for (const FormatDescriptor& f : allFormats())
            if (of(f, program))
                out += std::string(f.extension) + ";";
    } else if (name == "SIZES") {
        std::vector<std::string> sizes;
        for (const FormatDescriptor& f : allFormats()) {
            const std::string size =
                std::to_string(f.picture.columns) + " x " + std::to_string(f.picture.rows);
            if (of(f, program) && std::find(sizes.begin(), sizes.end(), size) == sizes.end())
                sizes.push_back(size);
        }
        out = joinedList(sizes) + " pixel";
    } else if (name == "MAN_FORMATS") {
        for (const FormatDescriptor& f : allFormats())
            if (of(f, program))
                out += (out.empty() ? "" : "\n") + std::string(".TP\n.B .") +
                       std::string(f.extension) + "\n" + std::string(f.calculators) + " picture.";
    } else if (name == "MAN_FILES") {
        for (const FormatDescriptor& f : allFormats())
            if (of(f, program))
                out += (out.empty() ? "" : "\n") + std::string(".TP\n.I *.") +
                       std::string(f.extension) + "\n" + std::string(f.calculators) +
                       " picture file, starting with the signature\n.BR " +
                       std::string(f.signature) + " .";
    } else {
        return "";
    }
    return out;
}

// The template with every field of ours filled in; false for a field it does not know.
bool fill(std::string& text, std::string* unknown) {
    std::string out;
    size_t at = 0;
    for (size_t start; (start = text.find('@', at)) != std::string::npos;) {
        const size_t end = text.find('@', start + 1);
        if (end == std::string::npos)
            break;
        const std::string name = text.substr(start + 1, end - start - 1);
        std::string value;
        bool ours = false;
        if (!std::regex_match(name, std::regex("[A-Z_]+(:[a-z]+)?"))) {
            // Not a field: a lone @ of the text itself.
        } else if (name == "MIME_TYPES_XML") {
            value = mimeXml();
            ours = true;
        } else if (const size_t colon = name.find(':'); colon != std::string::npos) {
            std::optional<Program> program;
            value = programNamed(name.substr(colon + 1), &program)
                        ? field(name.substr(0, colon), program)
                        : "";
            ours = true;
            if (value.empty()) {
                *unknown = name;
                return false;
            }
        }
        out += text.substr(at, start - at);
        if (ours) {
            out += value;
            at = end + 1;
        } else { // the install's own, or a lone @: kept
            out += '@';
            at = start + 1;
        }
    }
    text = out + text.substr(at);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: make_packaging OUTPUT_DIR TEMPLATE...\n";
        return 2;
    }
    const std::string folder = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string path = argv[i];
        std::ifstream in(path);
        if (!in) {
            std::cerr << "make_packaging: cannot read " << path << "\n";
            return 1;
        }
        std::stringstream buffer;
        buffer << in.rdbuf();
        std::string text = buffer.str();
        std::string unknown;
        if (!fill(text, &unknown)) {
            std::cerr << "make_packaging: " << path << ": unknown field @" << unknown << "@\n";
            return 1;
        }
        std::string name = path.substr(path.rfind('/') + 1);
        if (name.ends_with(".tmpl"))
            name.resize(name.size() - 5);
        std::ofstream out(folder + "/" + name);
        out << text;
        if (!out) {
            std::cerr << "make_packaging: cannot write " << folder << "/" << name << "\n";
            return 1;
        }
    }
    return 0;
}
