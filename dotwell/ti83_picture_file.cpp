// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "dotwell/ti83_picture_file.h"

#include <algorithm>

#include "core/model/byte_sum.h"
#include "core/model/file_names.h"

namespace dotwell {

bool endsWith82I(std::string_view fileName) {
    return core::endsWithNoCase(fileName, "82I");
}
bool endsWith83I(std::string_view fileName) {
    return core::endsWithNoCase(fileName, "83I");
}
bool endsWith8XI(std::string_view fileName) {
    return core::endsWithNoCase(fileName, "8XI");
}
bool hasCalculatorExtension(std::string_view fileName) {
    return endsWith82I(fileName) || endsWith83I(fileName) || endsWith8XI(fileName);
}

PicFileBuffer::PicFileBuffer() {
    applyTemplate(0);
    m_bytes[10] = 0x00;
}

PicFileBuffer PicFileBuffer::fromFile(std::string_view bytes) {
    PicFileBuffer buffer;
    buffer.m_bytes.fill(0x20);
    std::copy_n(bytes.begin(), std::min(bytes.size(), kSize), buffer.m_bytes.begin());
    return buffer;
}

void PicFileBuffer::applyTemplate(int picNumber) {
    static constexpr std::uint8_t signature[] = {'*', '*', 'T', 'I',  '8',
                                                 '2', '*', '*', 0x1A, 0x0A};
    std::copy(std::begin(signature), std::end(signature), m_bytes.begin());
    static constexpr std::uint8_t dataLength[] = {0x05, 0x03}; // 773
    std::copy(std::begin(dataLength), std::end(dataLength), m_bytes.begin() + kDataLengthOffset);
    // Variable header length 11, data length 758, type 7 (picture), name byte 1.
    static constexpr std::uint8_t header[] = {0x0B, 0x00, 0xF6, 0x02, 0x07, 0x60};
    std::copy(std::begin(header), std::end(header), m_bytes.begin() + kDataOffset);
    m_bytes[kPicNumberOffset] = static_cast<std::uint8_t>(picNumber);
    static constexpr std::uint8_t sizes[] = {0xF6, 0x02, 0xF4, 0x02}; // 758 again, then 756
    std::copy(std::begin(sizes), std::end(sizes), m_bytes.begin() + kDataLengthAgainOffset);
}

PicFileBuffer PicFileBuffer::fromFields(int picNumber, std::string_view commentField,
                                        std::string_view pictureBytes) {
    PicFileBuffer buffer;
    buffer.applyTemplate(picNumber);
    std::copy_n(commentField.begin(), std::min(commentField.size(), kCommentSize),
                buffer.m_bytes.begin() + kCommentOffset);
    std::copy_n(pictureBytes.begin(), std::min(pictureBytes.size(), kPictureSize),
                buffer.m_bytes.begin() + kPictureOffset);
    return buffer;
}

std::string_view PicFileBuffer::commentField() const {
    return view().substr(kCommentOffset, kCommentSize);
}

void PicFileBuffer::decodePicture(core::PixelGrid& grid) const {
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kBytesPerRow; ++c) {
            grid.setBits(r, 8 * c, m_bytes[kPictureOffset + kBytesPerRow * r + c]);
        }
    }
}

void PicFileBuffer::complete(std::string_view fileName, std::string_view comment,
                             const core::PixelGrid& grid) {
    m_bytes[kModelDigitOffset] = endsWith83I(fileName) ? '3' : '2';

    // At most 41 bytes: up to 40 characters and their NUL, or the first 41 without one.
    // The 42nd comment byte is never written; bytes after the NUL keep what they held.
    const size_t n = std::min(comment.size(), kCommentSize - 1);
    std::copy_n(comment.begin(), n, m_bytes.begin() + kCommentOffset);
    if (n < kCommentSize - 1)
        m_bytes[kCommentOffset + n] = 0x00;

    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kBytesPerRow; ++c)
            m_bytes[kPictureOffset + kBytesPerRow * r + c] = grid.packBits(r, 8 * c);
    }

    const std::uint16_t sum = checksum();
    m_bytes[kChecksumOffset] = static_cast<std::uint8_t>(sum & 0xFF);
    m_bytes[kChecksumOffset + 1] = static_cast<std::uint8_t>(sum >> 8);
}

std::uint16_t PicFileBuffer::checksum() const {
    return core::byteSum16(m_bytes.begin() + kDataOffset, m_bytes.begin() + kChecksumOffset);
}

} // namespace dotwell
