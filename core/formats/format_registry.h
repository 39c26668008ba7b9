// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/formats/calculator_picture.h"
#include "core/formats/file_report.h"
#include "core/model/colour_conversion.h"

namespace core {

// Everything the programs know about one calculator picture file format, in one place: the
// editors' filters and extension checks, calcpic, and the installed MIME types, desktop files,
// metainfo and manual pages all follow from the descriptors below.

enum class Program { Dotwell, Pixvane };

struct PictureSize {
    int columns = 0;
    int rows = 0;
};

// An entry of an editor's file dialog filter that lists this format. Formats that share a
// position share the entry (the first of them gives its text).
struct FilterEntry {
    int position = 0; // 1-based place in the program's list
    std::string_view text;
};

// Why a file could not be read, both as the editors tell it (`kind`) and in words.
enum class ReadFailure { TooShort, Invalid, BadPicNumber };
struct ReadError {
    ReadFailure kind;
    std::string reason;
};

struct FormatDescriptor {
    FormatId id;
    std::string_view extension;             // lower case, without the dot: "8xi"
    std::string_view signature;             // the first eight bytes this program writes
    std::vector<std::string_view> alsoRead; // other signatures a file of it may start with
    // Bytes past the signature that tell its files from another format's with the same
    // signature (the colour .8ci and .8ca share the .8xi's): at these offsets, these values.
    std::vector<std::pair<size_t, std::uint8_t>> contentBytes;
    std::string_view calculators; // "TI-83 Plus and TI-84 Plus"
    Program program;              // the editor that opens and saves it
    Family family;
    CellKind cells = CellKind::Monochrome;
    PictureSize picture; // the picture a new document of this format has
    PictureSize screen;  // the calculator's whole screen
    PictureSize graph;   // its graph screen
    PictureSize largest; // the largest picture a file of it holds
    // PIC variables Pic1.. the calculators have (10: Pic1..Pic9, Pic0); 0 where a picture has
    // a name instead.
    int picNumbers = 0;
    std::string_view variablePrefix = "Pic"; // of a numbered variable: Pic1, Image1
    std::string_view mimeType;
    std::string_view mimeParent; // the type it is a sub-class of
    int magicPriority = 50;      // lower where another type has the same signature
    FilterEntry openEntry;
    FilterEntry saveEntry;
    // Save As completes a bare name chosen in this format's entry with its extension. The
    // first calculators' entries leave that to the dialog's default extension.
    bool saveEntryCompletesName = true;

    // The file's bytes, or why they cannot be written (a name the calculator refuses...).
    // Completes `picture`'s file image as a save does, so the next save starts from it.
    std::variant<std::vector<std::uint8_t>, std::string> (*write)(CalculatorPicture& picture,
                                                                  FormatId format);
    // What an editor's Open reads from these bytes (the head of the file, at most
    // kLongestPictureFile), or why it cannot.
    std::variant<CalculatorPicture, ReadError> (*read)(std::string_view bytes, FormatId format);
    // Every oddity of a readable file, for `calcpic info`.
    void (*examine)(std::string_view bytes, std::uint64_t fileSize, const CalculatorPicture& read,
                    FileReport& report);
};

// The longest file any reader looks at: a 68k picture, whose size word is 16 bits.
inline constexpr size_t kLongestPictureFile = 82 + 4 + 2 + 0xFFFF + 2;

std::span<const FormatDescriptor> allFormats();
// Whether the program's editor opens, saves and offers this format.
bool editorOpens(const FormatDescriptor& format, Program program);
const FormatDescriptor& formatOf(FormatId id);
// By the name's last extension in any letter case ("photo.8XI"); a bare extension ("8xi")
// counts as a name too.
const FormatDescriptor* formatForName(std::string_view fileName);
// By the signature the bytes start with and, for a signature several formats share, the bytes
// that tell them apart (a .8ci's type and version); failing those, the first of them (the
// TI-92 Plus for **TI92P*, the .8xi for **TI83F*).
const FormatDescriptor* formatForContent(std::string_view bytes);

// The picture of a new document of this format: clear, with the program's texts.
CalculatorPicture newPicture(FormatId format);
std::variant<CalculatorPicture, ReadError> readPicture(std::string_view bytes, FormatId format);
std::variant<std::vector<std::uint8_t>, std::string> writePicture(CalculatorPicture& picture,
                                                                  FormatId format);
// The report on a file (`bytes` its head, `fileSize` its size), or why it cannot be read.
std::variant<FileReport, std::string> examinePicture(std::string_view bytes, std::uint64_t fileSize,
                                                     FormatId format);

// The size a picture of `current` size takes in a file of this format: a TI-82/83 or TI-85/86
// file holds exactly its calculator's picture; a 68k file any size up to its screen.
PictureSize savedSize(const FormatDescriptor& format, PictureSize current);

// The picture variable as the calculator names it: "Pic1", "Pic0", "main\picture".
std::string variableName(const CalculatorPicture& picture);
// Pic1..Pic9, Pic0 as a PIC number byte: Pic1 is 0, Pic0 is 9.
int picByte(int picNumber);
int picNumberOfByte(int byte);
// Whether this format's calculators have the PIC variable of this byte (the TI-82 has six).
bool picAllowed(const FormatDescriptor& format, int byte);
// The PIC number of picture `index` (0 = the first) of a series written in this format, so
// that each has a variable of its own: Pic1, Pic2 ... Pic9, then Pic0, the calculator's own
// order (that of the PIC byte); none past the format's last (Pic6 on the TI-82).
std::optional<int> seriesPicNumber(const FormatDescriptor& format, int index);

// An editor's file dialog filter: the program's calculator formats' entries and its own
// (`extra`: "All Files|*.*", the picture exports), in their positions.
std::string dialogFilter(Program program, bool save, std::span<const FilterEntry> extra);

} // namespace core
