// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <cstdint>
#include <vector>

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>

namespace core {

class Prompts;

// A row of colour squares drawn by the widget itself, each with a tooltip; a click chooses
// one, as do the arrow keys and Space, and the chosen one is drawn marked. The two ink choosers
// below are rows of this.
class SwatchRow : public QWidget {
    Q_OBJECT
public:
    explicit SwatchRow(QWidget* parent);

    int count() const { return int(m_swatches.size()); }
    QRect swatchRect(int index) const;
    // The square under `point`, or -1.
    int swatchAt(QPoint point) const;
    QString toolTipOf(int index) const;
    int current() const { return m_current; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    struct Swatch {
        QColor colour; // invalid: the checker of no colour
        QString name;
    };
    void setSwatches(std::vector<Swatch> swatches);
    void setCurrent(int index);
    void setFocusIndex(int index) { m_focus = index; }
    // A square chosen by the user.
    virtual void activate(int index) = 0;

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::vector<Swatch> m_swatches;
    int m_current = -1;
    int m_focus = 0; // where the keyboard is: Space or Enter chooses it
};

// The colour picture's palette: none (a checker) and the fifteen colours in palette order,
// with their names as tooltips. The ink is the chosen palette index.
class PaletteBar : public SwatchRow {
    Q_OBJECT
public:
    explicit PaletteBar(QWidget* parent = nullptr);

    std::int16_t ink() const { return std::int16_t(current()); }
    // Marks the index as chosen without telling anyone (the document's ink, shown).
    void setInk(std::int16_t index);

signals:
    void inkChosen(std::int16_t ink);

protected:
    void activate(int index) override;
};

// The background image's colour: a square of the current colour that opens the colour dialog,
// then the colours used last, the most recent first, at most kRecent and each once. A chosen
// colour is taken to the nearest RGB565 colour, which is the ink.
class ColourChooser : public SwatchRow {
    Q_OBJECT
public:
    static constexpr int kRecent = 8;

    explicit ColourChooser(Prompts& prompts, QWidget* parent = nullptr);

    std::int16_t ink() const { return std::int16_t(m_ink); }
    // Shows the colour as current without telling anyone or remembering it.
    void setInk(std::int16_t rgb565);
    const std::vector<std::uint16_t>& recent() const { return m_recent; }
    // Asks for a colour in the colour dialog; on OK, it is the ink.
    void askColour();

signals:
    void inkChosen(std::int16_t ink);

protected:
    void activate(int index) override;

private:
    void choose(std::uint16_t rgb565);
    void refresh();

    Prompts& m_prompts;
    std::uint16_t m_ink = 0x0000;
    std::vector<std::uint16_t> m_recent;
};

} // namespace core
