// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/ink_choosers.h"

#include <algorithm>

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "core/model/cell_colours.h"
#include "core/platform/prompts.h"

namespace core {
namespace {

constexpr int kSide = 18;   // a square, in pixels
constexpr int kSpacing = 4; // between squares: room for the mark around the chosen one
constexpr int kMargin = 3;

QColor colourOf565(std::uint16_t rgb565) {
    return QColor::fromRgb(rgbOf565(rgb565));
}

} // namespace

SwatchRow::SwatchRow(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SwatchRow::setSwatches(std::vector<Swatch> swatches) {
    m_swatches = std::move(swatches);
    m_focus = std::clamp(m_focus, 0, std::max(0, count() - 1));
    updateGeometry();
    update();
}

void SwatchRow::setCurrent(int index) {
    m_current = index;
    update();
}

QRect SwatchRow::swatchRect(int index) const {
    return {kMargin + index * (kSide + kSpacing), kMargin, kSide, kSide};
}

int SwatchRow::swatchAt(QPoint point) const {
    for (int i = 0; i < count(); ++i)
        if (swatchRect(i).contains(point))
            return i;
    return -1;
}

QString SwatchRow::toolTipOf(int index) const {
    return index >= 0 && index < count() ? m_swatches[size_t(index)].name : QString();
}

QSize SwatchRow::sizeHint() const {
    return {2 * kMargin + std::max(1, count()) * (kSide + kSpacing) - kSpacing,
            2 * kMargin + kSide};
}

bool SwatchRow::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int index = swatchAt(help->pos());
        if (index < 0)
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), toolTipOf(index), this, swatchRect(index));
        return true;
    }
    return QWidget::event(event);
}

void SwatchRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (int i = 0; i < count(); ++i) {
        const QRect r = swatchRect(i);
        const QColor& colour = m_swatches[size_t(i)].colour;
        if (colour.isValid()) {
            painter.fillRect(r, colour);
        } else { // no colour: the canvas's checker, in four squares
            const int half = kSide / 2;
            for (int k = 0; k < 4; ++k)
                painter.fillRect(r.x() + (k % 2) * half, r.y() + (k / 2) * half, half, half,
                                 QColor::fromRgb((k == 1 || k == 2) ? kNoneDark : kNoneLight));
        }
        painter.setPen(QColor(128, 128, 128));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        if (i == m_current) { // black around white, seen on any colour
            painter.setPen(QPen(Qt::black, 2));
            painter.drawRect(r.adjusted(-1, -1, 0, 0));
            painter.setPen(Qt::white);
            painter.drawRect(r.adjusted(1, 1, -2, -2));
        }
        if (i == m_focus && hasFocus()) {
            painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
            painter.drawRect(r.adjusted(-3, -3, 2, 2));
        }
    }
}

void SwatchRow::mousePressEvent(QMouseEvent* event) {
    const int index = swatchAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || index < 0)
        return QWidget::mousePressEvent(event);
    m_focus = index;
    activate(index);
}

void SwatchRow::keyPressEvent(QKeyEvent* event) {
    int focus = m_focus;
    switch (event->key()) {
    case Qt::Key_Left:
        focus = std::max(0, focus - 1);
        break;
    case Qt::Key_Right:
        focus = std::min(count() - 1, focus + 1);
        break;
    case Qt::Key_Home:
        focus = 0;
        break;
    case Qt::Key_End:
        focus = count() - 1;
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_focus < count())
            activate(m_focus);
        return;
    default:
        return QWidget::keyPressEvent(event);
    }
    m_focus = std::max(0, focus);
    update();
}

PaletteBar::PaletteBar(QWidget* parent) : SwatchRow(parent) {
    std::vector<Swatch> swatches;
    for (size_t i = 0; i < kCePalette.size(); ++i)
        swatches.push_back(
            {i == size_t(kPaletteNone) ? QColor() : QColor::fromRgb(kPaletteRgb[i]),
             QString::fromUtf8(kCePalette[i].name.data(), qsizetype(kCePalette[i].name.size()))});
    setSwatches(std::move(swatches));
    setCurrent(defaultInkOf(CellKind::Palette));
    setFocusIndex(current());
}

void PaletteBar::setInk(std::int16_t index) {
    if (index >= 0 && index < count())
        setCurrent(index);
}

void PaletteBar::activate(int index) {
    setCurrent(index);
    emit inkChosen(ink());
}

ColourChooser::ColourChooser(Prompts& prompts, QWidget* parent)
    : SwatchRow(parent), m_prompts(prompts), m_ink(std::uint16_t(defaultInkOf(CellKind::Rgb565))) {
    refresh();
}

void ColourChooser::setInk(std::int16_t rgb565) {
    m_ink = std::uint16_t(rgb565);
    refresh();
}

void ColourChooser::askColour() {
    const QColor colour = m_prompts.chooseColour(window(), tr("Colour"), colourOf565(m_ink));
    if (colour.isValid())
        choose(rgb565Of(colour.red(), colour.green(), colour.blue()));
}

void ColourChooser::activate(int index) {
    if (index == 0)
        askColour();
    else if (index <= int(m_recent.size()))
        choose(m_recent[size_t(index - 1)]);
}

void ColourChooser::choose(std::uint16_t rgb565) {
    m_ink = rgb565;
    std::erase(m_recent, rgb565);
    m_recent.insert(m_recent.begin(), rgb565);
    if (m_recent.size() > size_t(kRecent))
        m_recent.resize(size_t(kRecent));
    refresh();
    emit inkChosen(ink());
}

void ColourChooser::refresh() {
    std::vector<Swatch> swatches{
        {colourOf565(m_ink), tr("Choose a colour (now %1)").arg(colourOf565(m_ink).name())}};
    for (const std::uint16_t c : m_recent)
        swatches.push_back({colourOf565(c), colourOf565(c).name()});
    setSwatches(std::move(swatches));
    setCurrent(0); // the square of the current colour is the ink
}

} // namespace core
