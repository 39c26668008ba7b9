#include "core/model/codepage.h"

#include <array>

namespace core {
namespace {

// 0x80..0x9F; 0 marks the five bytes Windows-1252 leaves undefined.
constexpr std::array<char32_t, 32> kHighControls{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t decodeByte(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F && kHighControls[b - 0x80] != 0)
        return kHighControls[b - 0x80];
    return b; // undefined bytes pass through as their C1 code, so they survive a round trip
}

std::optional<unsigned char> encodeChar(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] != 0 ? kHighControls[i] == c : c == 0x80 + i)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

} // namespace

std::u32string decodeWindows1252(std::string_view bytes) {
    std::u32string text;
    text.reserve(bytes.size());
    for (char b : bytes)
        text += decodeByte(static_cast<unsigned char>(b));
    return text;
}

std::optional<std::string> encodeWindows1252(std::u32string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (char32_t c : text) {
        const auto b = encodeChar(c);
        if (!b)
            return std::nullopt;
        bytes += static_cast<char>(*b);
    }
    return bytes;
}

bool isWindows1252(char32_t c) {
    return encodeChar(c).has_value();
}

std::string_view untilNul(std::string_view field) {
    return field.substr(0, field.find('\0'));
}

} // namespace core
