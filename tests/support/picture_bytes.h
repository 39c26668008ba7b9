#pragma once

#include <cstdint>
#include <initializer_list>

#include <algorithm>

#include <QByteArray>

namespace testing_support {

// A Windows metafile built word by word from its documented layout.
class WmfBuilder {
public:
    // Placeable header box in logical units, `inch` units per inch.
    WmfBuilder(int width, int height, int inch, int objects);
    WmfBuilder& record(std::uint16_t function, std::initializer_list<std::int32_t> words);
    WmfBuilder& colourRecord(std::uint16_t function, std::uint16_t before, std::uint32_t rgb,
                             std::initializer_list<std::int32_t> after);
    QByteArray bytes() const; // with the header's sizes filled in and a closing EOF

private:
    QByteArray m_records;
    int m_width, m_height, m_inch, m_objects;
    std::uint32_t m_largest = 3;
};

// A bottom-up 8-bit RLE BMP (.rle) with a two-colour palette: black at index 0, white at 1.
QByteArray rle8Bitmap(int width, int height, const QByteArray& rleData);

} // namespace testing_support
