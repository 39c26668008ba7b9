// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/model/pixel_grid.h"

namespace core {

// The comment of a picture that did not come from a file.
inline constexpr std::string_view kTi83DefaultComment = "Produced with Dotwell";

// The in-memory image of one .82i/.83i file: a TI-82/83 Graph-Link file holding one picture
// variable (type 7). Built from a template, replaced by an opened file, patched by the PIC
// choice and completed at each save. Little-endian words.
//
//   0  8  "**TI82**" / "**TI83**"      53  2  data section length, 773
//   8  3  1A 0A 00                     55  2  variable header length, 11
//  11 42  comment, NUL-terminated      57  2  variable data length, 758
//                                      59  1  type 7 (picture)
//                                      60  1  name byte 1, 0x60
//                                      61  1  PIC number 0..9 (Pic1..Pic9, Pic0)
//                                      62  6  rest of the name, zeros
//                                      68  2  variable data length again, 758
//                                      70  2  picture size, 756
//                                      72 756 63 rows x 12 bytes, leftmost pixel in bit 7
//                                     828  2  checksum: sum of bytes 55..827
class PicFileBuffer {
public:
    static constexpr size_t kSize = 830;
    static constexpr size_t kModelDigitOffset = 5; // the "2" or "3" of the signature
    static constexpr size_t kCommentOffset = 11;
    static constexpr size_t kCommentSize = 42;
    static constexpr size_t kDataLengthOffset = 53;
    static constexpr size_t kDataOffset = 55; // the data section: variable header onwards
    static constexpr size_t kPicNumberOffset = 61;
    static constexpr size_t kDataLengthAgainOffset = 68;
    static constexpr size_t kPictureOffset = 72;
    static constexpr size_t kChecksumOffset = 828; // after the data section
    static constexpr size_t kPictureSize = 756;
    static constexpr int kRows = 63;
    static constexpr int kColumns = 96;
    static constexpr int kBytesPerRow = 12;

    // 830 zero bytes with the header template for Pic1.
    PicFileBuffer();
    // A file's first bytes: cut at 830, padded with spaces (0x20) when shorter.
    static PicFileBuffer fromFile(std::string_view bytes);

    // Rewrites the fixed header (signature, lengths, type, name byte 1, PIC number, sizes);
    // the comment, name bytes 3..8, picture and checksum stay.
    void applyTemplate(int picNumber);

    std::uint8_t picNumber() const { return m_bytes[kPicNumberOffset]; }
    std::string_view commentField() const;
    std::string_view pictureBytes() const { return view().substr(kPictureOffset, kPictureSize); }
    // The template with these fields from a file of another layout (a .8xi).
    static PicFileBuffer fromFields(int picNumber, std::string_view commentField,
                                    std::string_view pictureBytes);
    void decodePicture(PixelGrid& grid) const;

    // Everything a save puts in before writing: the signature's model digit from the file
    // name ("3" for a name ending in 83I, "2" for any other), the comment bytes, the picture
    // and the checksum.
    void complete(std::string_view fileName, std::string_view comment, const PixelGrid& grid);
    std::uint16_t checksum() const;

    const std::array<std::uint8_t, kSize>& bytes() const { return m_bytes; }
    std::string_view view() const {
        return {reinterpret_cast<const char*>(m_bytes.data()), m_bytes.size()};
    }

private:
    std::array<std::uint8_t, kSize> m_bytes{};
};

} // namespace core
