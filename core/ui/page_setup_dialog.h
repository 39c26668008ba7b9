// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <QDialog>
#include <QImage>

#include "core/model/calculator_profile.h"
#include "core/model/page_settings.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace core {

// The white page preview: keeps what was drawn on it until cleared.
class PagePreview : public QWidget {
public:
    explicit PagePreview(QWidget* parent);
    void clearPage();
    // Outline rectangle between two corners given in inches on a US Letter page.
    void drawOutline(double x1, double y1, double x2, double y2);
    const QImage& image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void ensureImage();
    QImage m_image;
};

// A pair of arrow buttons: one click, one step. Upright (up/down) or lying (left/right).
class SpinArrows : public QWidget {
    Q_OBJECT
public:
    SpinArrows(Qt::Orientation orientation, QWidget* parent);
    QToolButton* upButton() const { return m_up; }     // up, or right when lying
    QToolButton* downButton() const { return m_down; } // down, or left when lying

signals:
    void upClick();
    void downClick();

private:
    QToolButton* m_up;
    QToolButton* m_down;
};

// Page Setup: modeless, reloaded from the stored settings whenever it becomes active;
// only OK stores.
class PageSetupDialog : public QDialog {
    Q_OBJECT
public:
    PageSetupDialog(const CalculatorProfile& profile, PageSettings& settings, QWidget* parent);
    // The picture the preview's outline stands for; the profile's at first.
    void setPictureSize(int rows, int columns);

    void form_activate();
    void Text1_Change();
    void Text2_Change();
    void Text3_Change();
    void Spin1_UpClick();
    void Spin1_DownClick();
    void Spin2_UpClick();
    void Spin2_DownClick();
    void Spin3_UpClick();
    void Spin3_DownClick();
    void Command1_Click();
    void Command2_Click();

    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* Text3;
    SpinArrows* Spin1;
    SpinArrows* Spin2;
    SpinArrows* Spin3;
    QPushButton* Command1;
    QPushButton* Command2;
    PagePreview* Picture1;

protected:
    bool event(QEvent* event) override;

private:
    void fieldChanged(QLineEdit* field, FieldFloor floor);
    void step(QLineEdit* field, double amount);
    void drawPreview(double left, double top, double width);
    QRect twips(int left, int top, int width, int height) const;

    const CalculatorProfile& m_profile;
    int m_rows;
    int m_columns;
    PageSettings& m_settings;
};

} // namespace core
