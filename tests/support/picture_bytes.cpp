#include "tests/support/picture_bytes.h"

namespace testing_support {
namespace {

void put16(QByteArray& b, std::uint32_t v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}
void put32(QByteArray& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

} // namespace

WmfBuilder::WmfBuilder(int width, int height, int inch, int objects)
    : m_width(width), m_height(height), m_inch(inch), m_objects(objects) {}

WmfBuilder& WmfBuilder::record(std::uint16_t function, std::initializer_list<std::int32_t> words) {
    const std::uint32_t size = 3 + std::uint32_t(words.size());
    put32(m_records, size);
    put16(m_records, function);
    for (std::int32_t w : words)
        put16(m_records, std::uint32_t(w) & 0xFFFF);
    m_largest = std::max(m_largest, size);
    return *this;
}

WmfBuilder& WmfBuilder::colourRecord(std::uint16_t function, std::uint16_t before,
                                     std::uint32_t rgb, std::initializer_list<std::int32_t> after) {
    // COLORREF is red, green, blue, 0 in memory: two words, low byte first.
    const std::uint32_t ref = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    const std::uint32_t size = 3 + 1 + 2 + std::uint32_t(after.size());
    put32(m_records, size);
    put16(m_records, function);
    put16(m_records, before);
    put32(m_records, ref);
    for (std::int32_t w : after)
        put16(m_records, std::uint32_t(w) & 0xFFFF);
    m_largest = std::max(m_largest, size);
    return *this;
}

QByteArray WmfBuilder::bytes() const {
    QByteArray placeable;
    put32(placeable, 0x9AC6CDD7);
    put16(placeable, 0);
    put16(placeable, 0), put16(placeable, 0);
    put16(placeable, std::uint32_t(m_width)), put16(placeable, std::uint32_t(m_height));
    put16(placeable, std::uint32_t(m_inch));
    put32(placeable, 0);
    std::uint16_t checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= std::uint16_t(std::uint8_t(placeable[i]) | std::uint8_t(placeable[i + 1]) << 8);
    put16(placeable, checksum);

    QByteArray records = m_records;
    put32(records, 3);
    put16(records, 0); // EOF

    QByteArray header;
    put16(header, 1);
    put16(header, 9);
    put16(header, 0x0300);
    put32(header, std::uint32_t(9 + records.size() / 2));
    put16(header, std::uint32_t(m_objects));
    put32(header, m_largest);
    put16(header, 0);
    return placeable + header + records;
}

QByteArray rle8Bitmap(int width, int height, const QByteArray& rleData) {
    QByteArray b("BM");
    const std::uint32_t offset = 14 + 40 + 2 * 4;
    put32(b, offset + std::uint32_t(rleData.size()));
    put32(b, 0);
    put32(b, offset);
    put32(b, 40);
    put32(b, std::uint32_t(width));
    put32(b, std::uint32_t(height));
    put16(b, 1);
    put16(b, 8);
    put32(b, 1); // BI_RLE8
    put32(b, std::uint32_t(rleData.size()));
    put32(b, 2835), put32(b, 2835);
    put32(b, 2), put32(b, 2);
    put32(b, 0x00000000); // black
    put32(b, 0x00FFFFFF); // white
    return b + rleData;
}

} // namespace testing_support
