// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// Windows metafiles played onto a QImage. Qt reads no metafiles. libwmf was tried and
// dropped: it needs some 10 MB of fonts, renders text anti-aliased grey (which the import's
// exact-black scan loses) and loses rounded corners. So libuemf reads the records, with
// bounds-checked getters and the extra checks below where it does not look, and this player
// draws them with QPainter, antialiasing off, following GDI's pixel rules.

#include "core/imaging/wmf_player.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include "core/model/codepage.h"

#include <uwmf.h>

namespace core {
namespace {

constexpr double kScreenDpi = 96;
// Glyphs and pen widths beyond this many device pixels only cost time: nothing larger than the
// scanned picture can matter.
constexpr double kLargestDevice = 4096;
constexpr int kMaxDibPixels = 16 * 1024 * 1024;
constexpr size_t kRecordPadding = 1024;

// Float to int without undefined behaviour: NaN gives 0, anything else is clamped.
int clampToInt(double v, int lo, int hi) {
    if (!(v == v))
        return 0;
    return v < lo ? lo : v > hi ? hi : int(v);
}

// Device coordinates far outside any picture the import can scan all act alike.
constexpr int kDeviceLimit = 1 << 24;

template <class T> T readAt(const char* p) {
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

QColor colourOf(const U_COLORREF& c) {
    return QColor(c.Red, c.Green, c.Blue);
}

struct WmfPen {
    std::uint16_t style = 0;
    int width = 0;
    QColor colour = Qt::black;
};

struct WmfBrush {
    std::uint16_t style = U_BS_SOLID;
    QColor colour = Qt::white;
    std::uint16_t hatch = 0;
    QImage pattern;
};

struct WmfFont {
    int height = 0;
    int escapement = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QString face;
};

struct WmfObject {
    enum class Kind { Pen, Brush, Font, Other } kind = Kind::Other;
    WmfPen pen;
    WmfBrush brush;
    WmfFont font;
};

// Everything SaveDC keeps.
struct DeviceContext {
    WmfPen pen;
    WmfBrush brush;
    WmfFont font;
    QColor textColour = Qt::black;
    QColor backgroundColour = Qt::white;
    bool opaqueBackground = true;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    std::uint16_t textAlign = 0;
    int mapMode = U_MM_ANISOTROPIC;
    QPointF windowOrg, windowExt{1, 1}, viewportOrg, viewportExt{1, 1};
    QPointF position;
};

// The frame every metafile is played into: its natural size and the default window.
struct Frame {
    QSize size;
    QPointF windowOrg;
    QPointF windowExt;
    size_t firstRecord = 0;
    int objects = 0;
};

// Steps through the records after the header; false at the end or at a damaged record.
class RecordWalker {
public:
    RecordWalker(const QByteArray& data, size_t start)
        : m_begin(data.constData()), m_end(data.constData() + data.size()), m_at(start) {}

    bool next(const char*& record, size_t& size) {
        if (m_at + U_SIZE_METARECORD > size_t(m_end - m_begin))
            return false;
        record = m_begin + m_at;
        size = U_WMRRECSAFE_get(record, m_end);
        if (size == 0 || U_WMRTYPE(record) == U_WMR_EOF)
            return false;
        m_at += size;
        return true;
    }

private:
    const char* m_begin;
    const char* m_end;
    size_t m_at;
};

std::optional<Frame> readFrame(const QByteArray& data) {
    U_WMRPLACEABLE placeable{};
    U_WMRHEADER header{};
    // wmfheader_get measures the standard header from the file's start even behind a placeable
    // header, so it wants 22 bytes more than the headers take: give it a padded copy and check
    // the real length here.
    QByteArray head = data.left(U_SIZE_WMRPLACEABLE + U_SIZE_WMRHEADER);
    head.append(QByteArray(U_SIZE_WMRPLACEABLE, '\0'));
    const int headerSize =
        wmfheader_get(head.constData(), head.constData() + head.size(), &placeable, &header);
    if (headerSize <= 0 || headerSize > data.size() || (header.iType != 1 && header.iType != 2))
        return std::nullopt;
    Frame frame;
    const size_t placeableSize = placeable.Key == 0x9AC6CDD7 ? U_SIZE_WMRPLACEABLE : 0;
    frame.firstRecord = placeableSize + std::max<size_t>(U_SIZE_WMRHEADER, 2 * header.Size16w);
    frame.objects = header.nObjects;

    if (placeableSize) {
        const double inch = placeable.Inch ? placeable.Inch : 1440;
        const double w = std::abs(double(placeable.Dst.right) - placeable.Dst.left);
        const double h = std::abs(double(placeable.Dst.bottom) - placeable.Dst.top);
        frame.size =
            QSize(int(std::lround(w * kScreenDpi / inch)), int(std::lround(h * kScreenDpi / inch)));
        frame.windowOrg = QPointF(std::min(placeable.Dst.left, placeable.Dst.right),
                                  std::min(placeable.Dst.top, placeable.Dst.bottom));
        frame.windowExt = QPointF(w, h);
    } else {
        // Without a placeable header the first window origin and extent give the size.
        RecordWalker walker(data, frame.firstRecord);
        const char* record;
        size_t size;
        bool haveExtent = false;
        bool haveOrigin = false;
        while ((!haveExtent || !haveOrigin) && walker.next(record, size)) {
            U_POINT16 p;
            if (!haveExtent && U_WMRTYPE(record) == U_WMR_SETWINDOWEXT &&
                U_WMRSETWINDOWEXT_get(record, &p)) {
                frame.windowExt = QPointF(p.x, p.y);
                frame.size = QSize(std::abs(p.x), std::abs(p.y));
                haveExtent = true;
            } else if (!haveOrigin && U_WMRTYPE(record) == U_WMR_SETWINDOWORG &&
                       U_WMRSETWINDOWORG_get(record, &p)) {
                frame.windowOrg = QPointF(p.x, p.y);
                haveOrigin = true;
            }
        }
        if (!haveExtent)
            return std::nullopt;
    }
    if (frame.size.width() <= 0 || frame.size.height() <= 0)
        return std::nullopt;
    return frame;
}

// A DIB from a record as a QImage, through Qt's own BMP reader.
QImage decodeDib(const char* dib, const char* recordEnd) {
    if (!dib || recordEnd - dib < 12)
        return {};
    const size_t available = size_t(recordEnd - dib);
    const auto headerSize = readAt<std::uint32_t>(dib);
    size_t paletteBytes = 0;
    qint64 width, height;
    if (headerSize == 12) {
        width = readAt<std::uint16_t>(dib + 4);
        height = readAt<std::uint16_t>(dib + 6);
        const auto bits = readAt<std::uint16_t>(dib + 10);
        paletteBytes = bits <= 8 ? (size_t(1) << bits) * 3 : 0;
    } else if (headerSize >= 40 && available >= 40) {
        width = readAt<std::int32_t>(dib + 4);
        height = std::llabs(readAt<std::int32_t>(dib + 8));
        const auto bits = readAt<std::uint16_t>(dib + 14);
        const auto compression = readAt<std::uint32_t>(dib + 16);
        const auto used = readAt<std::uint32_t>(dib + 32);
        const size_t colours =
            used ? std::min<size_t>(used, 256) : (bits <= 8 ? size_t(1) << bits : 0);
        paletteBytes = colours * 4 + (compression == 3 && headerSize == 40 ? 12 : 0);
    } else {
        return {};
    }
    if (width <= 0 || height <= 0 || width * height > kMaxDibPixels)
        return {};
    const size_t pixelOffset = 14 + size_t(headerSize) + paletteBytes;
    if (pixelOffset - 14 > available)
        return {};
    QByteArray file("BM", 2);
    auto put32 = [&](std::uint32_t v) { file.append(reinterpret_cast<const char*>(&v), 4); };
    put32(std::uint32_t(14 + available));
    put32(0);
    put32(std::uint32_t(pixelOffset));
    file.append(dib, qsizetype(available));
    return QImage::fromData(file, "BMP");
}

class Player {
public:
    Player(const QByteArray& data, const Frame& frame, QImage& image)
        : m_data(data), m_frame(frame), m_image(image), m_painter(&image),
          m_objects(size_t(frame.objects)) {
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        m_painter.setRenderHint(QPainter::TextAntialiasing, false);
        m_painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        m_dc.windowOrg = frame.windowOrg;
        m_dc.windowExt = frame.windowExt;
        m_dc.viewportExt = QPointF(frame.size.width(), frame.size.height());
    }

    void play() {
        RecordWalker walker(m_data, m_frame.firstRecord);
        const char* record;
        size_t size;
        std::vector<char> copy;
        while (walker.next(record, size)) {
            // Some of libuemf's readers look a little past a short record (a DIB header, for
            // one): each record is read from a copy with zeros behind it, never from the
            // bytes that follow in the file.
            copy.assign(record, record + size);
            copy.resize(size + kRecordPadding, 0);
            if (layoutFits(copy.data(), size))
                playRecord(copy.data(), copy.data() + size);
        }
    }

    // The checks libuemf leaves out: fields found at offsets that the record's own data gives.
    static bool layoutFits(const char* r, size_t size) {
        switch (U_WMRTYPE(r)) {
        case U_WMR_TEXTOUT: {
            if (size < 8)
                return false;
            const int length = readAt<std::int16_t>(r + 6);
            return length >= 0 && 8 + size_t(length + 1) / 2 * 2 + 4 <= size;
        }
        case U_WMR_EXTTEXTOUT: {
            if (size < 14)
                return false;
            const auto options = readAt<std::uint16_t>(r + 12);
            return !(options & (U_ETO_OPAQUE | U_ETO_CLIPPED)) || size >= 22;
        }
        case U_WMR_POLYPOLYGON:
            return size >= 8 && 8 + 2 * size_t(readAt<std::uint16_t>(r + 6)) <= size;
        default:
            return true;
        }
    }

private:
    QTransform transform() const {
        const DeviceContext& dc = m_dc;
        double sx, sy;
        if (dc.mapMode >= U_MM_LOMETRIC && dc.mapMode <= U_MM_TWIPS) {
            static constexpr double unitsPerInch[] = {254, 2540, 100, 1000, 1440};
            sx = kScreenDpi / unitsPerInch[dc.mapMode - U_MM_LOMETRIC];
            sy = -sx; // these map modes count upward
        } else {
            const double wx = dc.windowExt.x() ? dc.windowExt.x() : 1;
            const double wy = dc.windowExt.y() ? dc.windowExt.y() : 1;
            sx = dc.viewportExt.x() / wx;
            sy = dc.viewportExt.y() / wy;
            if (dc.mapMode == U_MM_ISOTROPIC) {
                const double s = std::min(std::abs(sx), std::abs(sy));
                sx = std::copysign(s, sx);
                sy = std::copysign(s, sy);
            }
        }
        return QTransform(sx, 0, 0, sy, dc.viewportOrg.x() - dc.windowOrg.x() * sx,
                          dc.viewportOrg.y() - dc.windowOrg.y() * sy);
    }

    double deviceScale() const {
        const QTransform t = transform();
        return std::max(std::abs(t.m11()), std::abs(t.m22()));
    }

    void applyPen() {
        const WmfPen& p = m_dc.pen;
        if ((p.style & 0x0F) == U_PS_NULL) {
            m_painter.setPen(Qt::NoPen);
            return;
        }
        QPen pen(p.colour);
        const double scale = deviceScale();
        const double width = std::min<double>(p.width, kLargestDevice / std::max(scale, 1e-9));
        if (width * scale <= 1) {
            pen.setWidth(0);
        } else {
            pen.setWidthF(width);
        }
        switch (p.style & 0x0F) {
        case 1:
            pen.setStyle(Qt::DashLine);
            break;
        case 2:
            pen.setStyle(Qt::DotLine);
            break;
        case 3:
            pen.setStyle(Qt::DashDotLine);
            break;
        case 4:
            pen.setStyle(Qt::DashDotDotLine);
            break;
        default:
            pen.setStyle(Qt::SolidLine);
            break;
        }
        const int cap = p.style & 0x0F00;
        pen.setCapStyle(cap == 0x100 ? Qt::SquareCap : cap == 0x200 ? Qt::FlatCap : Qt::RoundCap);
        const int join = p.style & 0xF000;
        pen.setJoinStyle(join == 0x1000   ? Qt::BevelJoin
                         : join == 0x2000 ? Qt::MiterJoin
                                          : Qt::RoundJoin);
        m_painter.setPen(pen);
    }

    void applyBrush() {
        const WmfBrush& b = m_dc.brush;
        switch (b.style) {
        case U_BS_NULL:
            m_painter.setBrush(Qt::NoBrush);
            break;
        case U_BS_HATCHED: {
            static constexpr Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                         Qt::FDiagPattern, Qt::BDiagPattern,
                                                         Qt::CrossPattern, Qt::DiagCrossPattern};
            m_painter.setBrush(QBrush(b.colour, b.hatch < 6 ? hatches[b.hatch] : Qt::SolidPattern));
            break;
        }
        default:
            if (!b.pattern.isNull())
                m_painter.setBrush(QBrush(b.pattern));
            else
                m_painter.setBrush(b.colour);
            break;
        }
    }

    // Sets up the painter for a figure in logical coordinates.
    void prepareFigure() {
        m_painter.setWorldTransform(transform());
        m_painter.setBackgroundMode(m_dc.opaqueBackground ? Qt::OpaqueMode : Qt::TransparentMode);
        m_painter.setBackground(m_dc.backgroundColour);
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        applyPen();
        applyBrush();
    }

    // Sets up the painter for a figure given in device pixels: no world transform, and the
    // pen's width turned from logical units into pixels.
    void prepareDeviceFigure() {
        prepareFigure();
        QPen pen = m_painter.pen();
        if (pen.style() != Qt::NoPen && pen.widthF() > 0)
            pen.setWidthF(std::min(pen.widthF() * deviceScale(), kLargestDevice));
        m_painter.setPen(pen);
        m_painter.resetTransform();
    }

    // GDI's Rectangle, Ellipse, RoundRect, Pie and Chord cover their box in device pixels
    // without its right and bottom edge: Rectangle(10, 5, 40, 25) covers 30 x 20 pixels.
    // The box to hand Qt for that: Qt's aliased pen covers the pixel right of and below a
    // rectangle's edges, and half a pixel past a curve's. Nothing when the box covers no
    // pixel.
    std::optional<QRectF> deviceBox(const U_RECT16& r, bool curved = true) const {
        const QRectF box = transform().mapRect(rectOf(r));
        const int left = clampToInt(std::round(box.left()), -kDeviceLimit, kDeviceLimit);
        const int top = clampToInt(std::round(box.top()), -kDeviceLimit, kDeviceLimit);
        const int right = clampToInt(std::round(box.right()), -kDeviceLimit, kDeviceLimit);
        const int bottom = clampToInt(std::round(box.bottom()), -kDeviceLimit, kDeviceLimit);
        if (right <= left || bottom <= top)
            return std::nullopt;
        const double stroke = m_painter.pen().style() == Qt::NoPen ? 0 : curved ? 0.5 : 1;
        return QRectF(left, top, right - left - stroke, bottom - top - stroke);
    }

    static QRectF rectOf(const U_RECT16& r) {
        return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom)).normalized();
    }

    // Points of a polyline or polygon, which must lie inside the record.
    static std::optional<QPolygonF> points(const char* data, size_t count, const char* end) {
        if (!data || data > end || size_t(end - data) < count * 4)
            return std::nullopt;
        QPolygonF polygon;
        polygon.reserve(qsizetype(count));
        for (size_t i = 0; i < count; ++i)
            polygon << QPointF(readAt<std::int16_t>(data + 4 * i),
                               readAt<std::int16_t>(data + 4 * i + 2));
        return polygon;
    }

    // Angle, in Qt's sixteenths of a degree, of a radial point seen from the box's centre.
    static int angleOf(const QRectF& box, QPointF p) {
        const QPointF c = box.center();
        const double w = box.width() ? box.width() : 1;
        const double h = box.height() ? box.height() : 1;
        const double a = std::atan2(-(p.y() - c.y()) / h, (p.x() - c.x()) / w);
        if (!std::isfinite(a))
            return 0;
        return int(std::lround(a * 180 / M_PI * 16));
    }

    static int spanOf(int start, int end) {
        int span = end - start;
        while (span <= 0)
            span += 360 * 16;
        return span;
    }

    void drawText(QPointF at, const char* text, int length, const char* end) {
        if (length <= 0 || !text || end - text < length)
            return;
        const QString string =
            QString::fromStdU32String(decodeWindows1252(std::string_view(text, size_t(length))));
        const double scale = deviceScale();
        QFont font(m_dc.font.face.isEmpty() ? QStringLiteral("DejaVu Sans") : m_dc.font.face);
        const double height =
            m_dc.font.height ? std::abs(m_dc.font.height) : 12 / std::max(scale, 1e-9);
        if (!(height * scale >= 0.5))
            return; // glyphs under half a pixel leave nothing to see
        font.setPixelSize(
            clampToInt(std::min(height, kLargestDevice / std::max(scale, 1e-9)), 1, kDeviceLimit));
        font.setWeight(QFont::Weight(std::clamp(m_dc.font.weight, 100, 900)));
        font.setItalic(m_dc.font.italic);
        font.setUnderline(m_dc.font.underline);
        font.setStrikeOut(m_dc.font.strikeOut);
        font.setStyleStrategy(QFont::NoAntialias);
        const QFontMetricsF metrics(font);
        const std::uint16_t align = m_dc.textAlign;
        if (align & U_TA_UPDATECP)
            at = m_dc.position;
        const double width = metrics.horizontalAdvance(string);
        QPointF origin(0, 0);
        if ((align & U_TA_CENTER) == U_TA_CENTER)
            origin.rx() = -width / 2;
        else if (align & U_TA_RIGHT)
            origin.rx() = -width;
        if ((align & U_TA_BASELINE) == U_TA_BASELINE)
            origin.ry() = 0;
        else if (align & U_TA_BOTTOM)
            origin.ry() = -metrics.descent();
        else
            origin.ry() = metrics.ascent();

        m_painter.setWorldTransform(transform());
        m_painter.translate(at);
        if (m_dc.font.escapement)
            m_painter.rotate(-m_dc.font.escapement / 10.0);
        m_painter.setFont(font);
        m_painter.setPen(m_dc.textColour);
        if (m_dc.opaqueBackground) {
            m_painter.fillRect(
                QRectF(origin.x(), origin.y() - metrics.ascent(), width, metrics.height()),
                m_dc.backgroundColour);
        }
        m_painter.setBackgroundMode(Qt::TransparentMode);
        m_painter.drawText(origin, string);
        if ((align & U_TA_UPDATECP) && !(align & U_TA_RIGHT))
            m_dc.position = at + QPointF(width, 0);
    }

    void blit(const QImage& source, QRectF target, QRectF from, std::uint32_t rop) {
        m_painter.setWorldTransform(transform());
        switch (rop) {
        case 0x00000042: // BLACKNESS
            m_painter.fillRect(target, Qt::black);
            return;
        case 0x00FF0062: // WHITENESS
            m_painter.fillRect(target, Qt::white);
            return;
        case 0x00F00021: // PATCOPY
            prepareFigure();
            m_painter.fillRect(target, m_painter.brush());
            return;
        case 0x00550009: // DSTINVERT
            m_painter.setCompositionMode(QPainter::RasterOp_NotDestination);
            m_painter.fillRect(target, Qt::black);
            m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            return;
        default:
            break;
        }
        if (source.isNull())
            return;
        QImage image = source.convertToFormat(QImage::Format_RGB32);
        if (target.width() < 0 || target.height() < 0) {
            // A negative extent mirrors the picture.
            image = image.mirrored(target.width() < 0, target.height() < 0);
            target = target.normalized();
        }
        QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
        switch (rop) {
        case 0x008800C6:
            mode = QPainter::RasterOp_SourceAndDestination;
            break; // SRCAND
        case 0x00EE0086:
            mode = QPainter::RasterOp_SourceOrDestination;
            break; // SRCPAINT
        case 0x00660046:
            mode = QPainter::RasterOp_SourceXorDestination;
            break; // SRCINVERT
        case 0x00330008:
            mode = QPainter::RasterOp_NotSource;
            break; // NOTSRCCOPY
        default:
            break;
        }
        m_painter.setCompositionMode(mode);
        if (from.isEmpty())
            from = QRectF(QPointF(0, 0), QSizeF(image.size()));
        m_painter.drawImage(target, image, from);
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }

    void createObject(WmfObject object) {
        for (auto& slot : m_objects) {
            if (!slot) {
                slot = std::move(object);
                return;
            }
        }
    }

    void selectObject(std::uint16_t index) {
        if (index >= m_objects.size() || !m_objects[index])
            return;
        const WmfObject& o = *m_objects[index];
        switch (o.kind) {
        case WmfObject::Kind::Pen:
            m_dc.pen = o.pen;
            break;
        case WmfObject::Kind::Brush:
            m_dc.brush = o.brush;
            break;
        case WmfObject::Kind::Font:
            m_dc.font = o.font;
            break;
        case WmfObject::Kind::Other:
            break;
        }
    }

    void restoreDc(int which) {
        if (m_saved.empty())
            return;
        size_t keep;
        if (which < 0) {
            const size_t back = size_t(-which);
            if (back > m_saved.size())
                return;
            keep = m_saved.size() - back;
        } else {
            if (which == 0 || size_t(which) > m_saved.size())
                return;
            keep = size_t(which) - 1;
        }
        m_dc = m_saved[keep];
        m_saved.resize(keep);
    }

    void playRecord(const char* r, const char* end) {
        U_POINT16 p{}, q{}, s{}, t{};
        U_RECT16 rect{};
        std::uint16_t u = 0, v = 0;
        std::int16_t i16 = 0, j16 = 0;
        U_COLORREF colour{};
        std::uint32_t rop = 0;
        const char* data = nullptr;
        switch (U_WMRTYPE(r)) {
        case U_WMR_SETBKCOLOR:
            if (U_WMRSETBKCOLOR_get(r, &colour))
                m_dc.backgroundColour = colourOf(colour);
            break;
        case U_WMR_SETBKMODE:
            if (U_WMRSETBKMODE_get(r, &u))
                m_dc.opaqueBackground = u != U_TRANSPARENT;
            break;
        case U_WMR_SETMAPMODE:
            if (U_WMRSETMAPMODE_get(r, &u))
                m_dc.mapMode = u;
            break;
        case U_WMR_SETPOLYFILLMODE:
            if (U_WMRSETPOLYFILLMODE_get(r, &u))
                m_dc.fillRule = u == U_WINDING ? Qt::WindingFill : Qt::OddEvenFill;
            break;
        case U_WMR_SETTEXTCOLOR:
            if (U_WMRSETTEXTCOLOR_get(r, &colour))
                m_dc.textColour = colourOf(colour);
            break;
        case U_WMR_SETTEXTALIGN:
            if (U_WMRSETTEXTALIGN_get(r, &u))
                m_dc.textAlign = u;
            break;
        case U_WMR_SETWINDOWORG:
            if (U_WMRSETWINDOWORG_get(r, &p))
                m_dc.windowOrg = QPointF(p.x, p.y);
            break;
        case U_WMR_SETWINDOWEXT:
            if (U_WMRSETWINDOWEXT_get(r, &p))
                m_dc.windowExt = QPointF(p.x, p.y);
            break;
        case U_WMR_SETVIEWPORTORG:
            if (U_WMRSETVIEWPORTORG_get(r, &p))
                m_dc.viewportOrg = QPointF(p.x, p.y);
            break;
        case U_WMR_SETVIEWPORTEXT:
            if (U_WMRSETVIEWPORTEXT_get(r, &p))
                m_dc.viewportExt = QPointF(p.x, p.y);
            break;
        case U_WMR_OFFSETWINDOWORG:
            if (U_WMROFFSETWINDOWORG_get(r, &p))
                m_dc.windowOrg += QPointF(p.x, p.y);
            break;
        case U_WMR_OFFSETVIEWPORTORG:
            if (U_WMROFFSETVIEWPORTORG_get(r, &p))
                m_dc.viewportOrg += QPointF(p.x, p.y);
            break;
        case U_WMR_SCALEWINDOWEXT:
            if (U_WMRSCALEWINDOWEXT_get(r, &p, &q) && p.x && p.y) // p: denominators
                m_dc.windowExt =
                    QPointF(m_dc.windowExt.x() * q.x / p.x, m_dc.windowExt.y() * q.y / p.y);
            break;
        case U_WMR_SCALEVIEWPORTEXT:
            if (U_WMRSCALEVIEWPORTEXT_get(r, &p, &q) && p.x && p.y)
                m_dc.viewportExt =
                    QPointF(m_dc.viewportExt.x() * q.x / p.x, m_dc.viewportExt.y() * q.y / p.y);
            break;
        case U_WMR_MOVETO:
            if (U_WMRMOVETO_get(r, &p))
                m_dc.position = QPointF(p.x, p.y);
            break;
        case U_WMR_LINETO:
            if (U_WMRLINETO_get(r, &p)) {
                prepareFigure();
                m_painter.drawLine(m_dc.position, QPointF(p.x, p.y));
                m_dc.position = QPointF(p.x, p.y);
            }
            break;
        case U_WMR_RECTANGLE:
            if (U_WMRRECTANGLE_get(r, &rect)) {
                prepareDeviceFigure();
                if (const auto box = deviceBox(rect, false))
                    m_painter.drawRect(*box);
            }
            break;
        case U_WMR_ROUNDRECT:
            if (U_WMRROUNDRECT_get(r, &i16, &j16, &rect)) {
                const QTransform t = transform();
                prepareDeviceFigure();
                if (const auto box = deviceBox(rect, false))
                    m_painter.drawRoundedRect(*box, std::abs(i16 * t.m11()) / 2.0,
                                              std::abs(j16 * t.m22()) / 2.0);
            }
            break;
        case U_WMR_ELLIPSE:
            if (U_WMRELLIPSE_get(r, &rect)) {
                prepareDeviceFigure();
                if (const auto box = deviceBox(rect))
                    m_painter.drawEllipse(*box);
            }
            break;
        case U_WMR_ARC:
        case U_WMR_PIE:
        case U_WMR_CHORD: {
            const auto type = U_WMRTYPE(r);
            const int ok = type == U_WMR_ARC   ? U_WMRARC_get(r, &p, &q, &rect)
                           : type == U_WMR_PIE ? U_WMRPIE_get(r, &p, &q, &rect)
                                               : U_WMRCHORD_get(r, &p, &q, &rect);
            if (!ok)
                break;
            const QTransform t = transform();
            prepareDeviceFigure();
            const auto box = deviceBox(rect);
            if (!box)
                break;
            // The radial points, seen from the box's centre on the screen.
            const int start = angleOf(*box, t.map(QPointF(p.x, p.y)));
            const int span = spanOf(start, angleOf(*box, t.map(QPointF(q.x, q.y))));
            if (type == U_WMR_ARC)
                m_painter.drawArc(*box, start, span);
            else if (type == U_WMR_PIE)
                m_painter.drawPie(*box, start, span);
            else
                m_painter.drawChord(*box, start, span);
            break;
        }
        case U_WMR_POLYLINE:
        case U_WMR_POLYGON: {
            const bool polygon = U_WMRTYPE(r) == U_WMR_POLYGON;
            const int ok =
                polygon ? U_WMRPOLYGON_get(r, &u, &data) : U_WMRPOLYLINE_get(r, &u, &data);
            if (!ok)
                break;
            if (const auto pts = points(data, u, end)) {
                prepareFigure();
                if (polygon)
                    m_painter.drawPolygon(*pts, m_dc.fillRule);
                else
                    m_painter.drawPolyline(*pts);
            }
            break;
        }
        case U_WMR_POLYPOLYGON: {
            const std::uint16_t* counts = nullptr;
            if (!U_WMRPOLYPOLYGON_get(r, &u, &counts, &data) || !counts || !data)
                break;
            const char* countBytes = reinterpret_cast<const char*>(counts);
            if (countBytes > end || size_t(end - countBytes) < size_t(u) * 2)
                break;
            QPainterPath path;
            path.setFillRule(m_dc.fillRule);
            const char* at = data;
            for (std::uint16_t i = 0; i < u; ++i) {
                const auto n = readAt<std::uint16_t>(countBytes + 2 * i);
                const auto pts = points(at, n, end);
                if (!pts)
                    return;
                path.addPolygon(*pts);
                path.closeSubpath();
                at += size_t(n) * 4;
            }
            prepareFigure();
            m_painter.drawPath(path);
            break;
        }
        case U_WMR_SETPIXEL:
            if (U_WMRSETPIXEL_get(r, &colour, &p)) {
                const QPointF mapped = transform().map(QPointF(p.x, p.y));
                const QPoint at(clampToInt(std::floor(mapped.x() + 0.5), -1, m_image.width()),
                                clampToInt(std::floor(mapped.y() + 0.5), -1, m_image.height()));
                if (m_image.valid(at))
                    m_image.setPixel(at, colourOf(colour).rgb());
            }
            break;
        case U_WMR_TEXTOUT: {
            const char* text = nullptr;
            if (U_WMRTEXTOUT_get(r, &p, &i16, &text))
                drawText(QPointF(p.x, p.y), text, i16, end);
            break;
        }
        case U_WMR_EXTTEXTOUT: {
            const char* text = nullptr;
            const std::int16_t* dx = nullptr;
            if (!U_WMREXTTEXTOUT_get(r, &p, &i16, &u, &text, &dx, &rect))
                break;
            if ((u & U_ETO_OPAQUE) && rect.right != rect.left) {
                m_painter.setWorldTransform(transform());
                m_painter.fillRect(rectOf(rect), m_dc.backgroundColour);
            }
            drawText(QPointF(p.x, p.y), text, i16, end);
            break;
        }
        case U_WMR_PATBLT:
            if (U_WMRPATBLT_get(r, &p, &q, &rop))
                blit({}, QRectF(p.x, p.y, q.x, q.y), {}, rop);
            break;
        case U_WMR_DIBBITBLT:
            if (U_WMRDIBBITBLT_get(r, &p, &q, &s, &rop, &data)) {
                const QImage dib = decodeDib(data, end);
                blit(dib, QRectF(p.x, p.y, q.x, q.y), QRectF(s.x, s.y, q.x, q.y), rop);
            }
            break;
        case U_WMR_DIBSTRETCHBLT:
            if (U_WMRDIBSTRETCHBLT_get(r, &p, &q, &s, &t, &rop, &data))
                blit(decodeDib(data, end), QRectF(p.x, p.y, q.x, q.y), QRectF(s.x, s.y, t.x, t.y),
                     rop);
            break;
        case U_WMR_STRETCHDIB:
            if (U_WMRSTRETCHDIB_get(r, &p, &q, &s, &t, &u, &rop, &data))
                blit(decodeDib(data, end), QRectF(p.x, p.y, q.x, q.y), QRectF(s.x, s.y, t.x, t.y),
                     rop);
            break;
        case U_WMR_SETDIBTODEV: {
            std::uint16_t scans = 0, first = 0;
            if (U_WMRSETDIBTODEV_get(r, &p, &q, &s, &u, &scans, &first, &data))
                blit(decodeDib(data, end), QRectF(p.x, p.y, q.x, q.y), QRectF(s.x, s.y, q.x, q.y),
                     0x00CC0020);
            break;
        }
        case U_WMR_SAVEDC:
            if (m_saved.size() < 1024)
                m_saved.push_back(m_dc);
            break;
        case U_WMR_RESTOREDC:
            if (U_WMRRESTOREDC_get(r, &i16))
                restoreDc(i16);
            break;
        case U_WMR_SELECTOBJECT:
            if (U_WMRSELECTOBJECT_get(r, &u))
                selectObject(u);
            break;
        case U_WMR_DELETEOBJECT:
            if (U_WMRDELETEOBJECT_get(r, &u) && u < m_objects.size())
                m_objects[u].reset();
            break;
        case U_WMR_CREATEPENINDIRECT: {
            U_PEN pen{};
            if (U_WMRCREATEPENINDIRECT_get(r, &pen)) {
                WmfObject o;
                o.kind = WmfObject::Kind::Pen;
                o.pen.style = pen.Style;
                o.pen.width = pen.Widthw[0];
                o.pen.colour = colourOf(pen.Color);
                createObject(o);
            }
            break;
        }
        case U_WMR_CREATEBRUSHINDIRECT:
            if (U_WMRCREATEBRUSHINDIRECT_get(r, &data) && data && end - data >= U_SIZE_WLOGBRUSH) {
                WmfObject o;
                o.kind = WmfObject::Kind::Brush;
                o.brush.style = readAt<std::uint16_t>(data);
                o.brush.colour = colourOf(readAt<U_COLORREF>(data + 2));
                o.brush.hatch = readAt<std::uint16_t>(data + 6);
                createObject(o);
            }
            break;
        case U_WMR_DIBCREATEPATTERNBRUSH: {
            const char* bitmap16 = nullptr;
            if (U_WMRDIBCREATEPATTERNBRUSH_get(r, &u, &v, &bitmap16, &data)) {
                WmfObject o;
                o.kind = WmfObject::Kind::Brush;
                o.brush.style = U_BS_DIBPATTERNPT;
                o.brush.colour = Qt::black;
                o.brush.pattern = decodeDib(data, end);
                createObject(o);
            } else {
                createObject({});
            }
            break;
        }
        case U_WMR_CREATEFONTINDIRECT:
            if (U_WMRCREATEFONTINDIRECT_get(r, &data) && data && end - data >= U_SIZE_FONT_CORE) {
                WmfObject o;
                o.kind = WmfObject::Kind::Font;
                o.font.height = readAt<std::int16_t>(data);
                o.font.escapement = readAt<std::int16_t>(data + 4);
                o.font.weight = readAt<std::int16_t>(data + 8);
                o.font.italic = data[10] != 0;
                o.font.underline = data[11] != 0;
                o.font.strikeOut = data[12] != 0;
                const char* face = data + U_SIZE_FONT_CORE;
                const size_t room = std::min<size_t>(size_t(end - face), 32);
                o.font.face = QString::fromLatin1(face, qsizetype(strnlen(face, room)));
                createObject(o);
            }
            break;
        case U_WMR_CREATEPALETTE:
        case U_WMR_CREATEPATTERNBRUSH:
        case U_WMR_CREATEREGION:
            createObject({}); // takes a slot, draws nothing here
            break;
        default:
            break; // records that change nothing a black-and-white import can see
        }
    }

    const QByteArray& m_data;
    const Frame& m_frame;
    QImage& m_image;
    QPainter m_painter;
    DeviceContext m_dc;
    std::vector<DeviceContext> m_saved;
    std::vector<std::optional<WmfObject>> m_objects;
};

} // namespace

bool looksLikeWmf(const QByteArray& head) {
    if (head.size() < 4)
        return false;
    const auto key = readAt<std::uint32_t>(head.constData());
    if (key == 0x9AC6CDD7)
        return true;
    // A standard header: type 1 or 2, header size 9 words, version 0x0100 or 0x0300.
    if (head.size() < 6)
        return false;
    const auto type = readAt<std::uint16_t>(head.constData());
    const auto words = readAt<std::uint16_t>(head.constData() + 2);
    const auto version = readAt<std::uint16_t>(head.constData() + 4);
    return (type == 1 || type == 2) && words == 9 && (version == 0x0100 || version == 0x0300);
}

QImage renderWmf(const QByteArray& data, QSize reach, QString* error, QSize* naturalSize) {
    const auto frame = readFrame(data);
    if (!frame) {
        *error = QStringLiteral("Not a metafile that can be read");
        return {};
    }
    if (naturalSize)
        *naturalSize = frame->size;
    const QSize size = frame->size.boundedTo(reach).expandedTo(QSize(1, 1));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        Player player(data, *frame, image);
        player.play();
    }
    return image;
}

} // namespace core
