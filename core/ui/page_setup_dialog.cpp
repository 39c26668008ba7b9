// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/page_setup_dialog.h"

#include <algorithm>

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/model/number_text.h"
#include "core/ui/toolbar_image.h"

namespace core {
namespace {

constexpr double kPageWidthInches = 8.5;
constexpr double kPageHeightInches = 11;

std::string text(const QLineEdit* field) {
    return field->text().toStdString();
}

} // namespace

PagePreview::PagePreview(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PagePreview::resizeEvent(QResizeEvent*) {
    ensureImage();
}

// The preview can be drawn on before it was ever shown.
void PagePreview::ensureImage() {
    if (m_image.size() == size().expandedTo(QSize(1, 1)))
        return;
    m_image = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    m_image.fill(Qt::white);
}

void PagePreview::clearPage() {
    ensureImage();
    m_image.fill(Qt::white);
    update();
}

void PagePreview::drawOutline(double x1, double y1, double x2, double y2) {
    ensureImage();
    const double sx = m_image.width() / kPageWidthInches;
    const double sy = m_image.height() / kPageHeightInches;
    QPainter p(&m_image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 0));
    p.drawRect(QRectF(QPointF(x1 * sx, y1 * sy), QPointF(x2 * sx, y2 * sy)));
    update();
}

void PagePreview::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, m_image);
}

SpinArrows::SpinArrows(Qt::Orientation orientation, QWidget* parent) : QWidget(parent) {
    m_up = new QToolButton(this);
    m_down = new QToolButton(this);
    for (QToolButton* b : {m_up, m_down}) {
        b->setAutoRepeat(false);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    QBoxLayout* layout;
    if (orientation == Qt::Vertical) {
        m_up->setArrowType(Qt::UpArrow);
        m_down->setArrowType(Qt::DownArrow);
        layout = new QVBoxLayout(this);
        layout->addWidget(m_up);
        layout->addWidget(m_down);
    } else {
        m_up->setArrowType(Qt::RightArrow);
        m_down->setArrowType(Qt::LeftArrow);
        layout = new QHBoxLayout(this);
        layout->addWidget(m_down);
        layout->addWidget(m_up);
    }
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    connect(m_up, &QToolButton::clicked, this, &SpinArrows::upClick);
    connect(m_down, &QToolButton::clicked, this, &SpinArrows::downClick);
}

QRect PageSetupDialog::twips(int left, int top, int width, int height) const {
    const double t = twipsPerPixel(this);
    return QRect(int(left / t), int(top / t), int(width / t), int(height / t));
}

PageSetupDialog::PageSetupDialog(const CalculatorProfile& profile, PageSettings& settings,
                                 QWidget* parent)
    : QDialog(parent), m_profile(profile), m_rows(profile.rows), m_columns(profile.columns),
      m_settings(settings) {
    setObjectName(QStringLiteral("pgset"));
    setWindowTitle(tr("Page Setup"));
    setModal(false);
    setFixedSize(twips(0, 0, 6345, 2310).size());
    // The layout was made for a small 8-point sans serif; a larger default font would cut the
    // labels.
    QFont small = font();
    small.setPointSizeF(std::min(small.pointSizeF(), 8.0));
    setFont(small);

    auto label = [this](const QString& caption, QRect where) {
        auto* l = new QLabel(caption, this);
        l->setWordWrap(true);
        l->setGeometry(where);
        return l;
    };
    label(tr("Top Margin:"), twips(360, 240, 615, 495));
    label(tr("Left Margin:"), twips(360, 840, 615, 375));
    label(tr("Image Width:"), twips(360, 1560, 615, 495));

    auto field = [this](QRect where) {
        auto* f = new QLineEdit(QStringLiteral(" 1"), this);
        f->setGeometry(where);
        return f;
    };
    Text1 = field(twips(1050, 360, 615, 285));
    Text2 = field(twips(1080, 960, 615, 285));
    Text3 = field(twips(1080, 1680, 615, 285));
    Text3->setText(QStringLiteral(" 4"));
    for (int top : {360, 960, 1680})
        label(tr("Inches"), twips(2480, top, 600, 285));

    Spin1 = new SpinArrows(Qt::Vertical, this);
    Spin1->setGeometry(twips(1800, 120, 240, 615));
    Spin2 = new SpinArrows(Qt::Horizontal, this);
    Spin2->setGeometry(twips(1800, 960, 615, 240));
    Spin3 = new SpinArrows(Qt::Horizontal, this);
    Spin3->setGeometry(twips(1800, 1680, 615, 240));

    Command1 = new QPushButton(tr("OK"), this);
    Command1->setGeometry(twips(3240, 480, 960, 495));
    Command1->setDefault(true);
    Command2 = new QPushButton(tr("Cancel"), this);
    Command2->setGeometry(twips(3240, 1320, 945, 495));

    Picture1 = new PagePreview(this);
    Picture1->setGeometry(twips(4500, 345, 1395, 1755));

    connect(Text1, &QLineEdit::textChanged, this, &PageSetupDialog::Text1_Change);
    connect(Text2, &QLineEdit::textChanged, this, &PageSetupDialog::Text2_Change);
    connect(Text3, &QLineEdit::textChanged, this, &PageSetupDialog::Text3_Change);
    connect(Spin1, &SpinArrows::upClick, this, &PageSetupDialog::Spin1_UpClick);
    connect(Spin1, &SpinArrows::downClick, this, &PageSetupDialog::Spin1_DownClick);
    connect(Spin2, &SpinArrows::upClick, this, &PageSetupDialog::Spin2_UpClick);
    connect(Spin2, &SpinArrows::downClick, this, &PageSetupDialog::Spin2_DownClick);
    connect(Spin3, &SpinArrows::upClick, this, &PageSetupDialog::Spin3_UpClick);
    connect(Spin3, &SpinArrows::downClick, this, &PageSetupDialog::Spin3_DownClick);
    connect(Command1, &QPushButton::clicked, this, &PageSetupDialog::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &PageSetupDialog::Command2_Click);
}

bool PageSetupDialog::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        form_activate();
    return QDialog::event(event);
}

void PageSetupDialog::drawPreview(double left, double top, double width) {
    const double height = width * m_rows / m_columns;
    Picture1->drawOutline(left, top, left + width, top + height);
}

void PageSetupDialog::setPictureSize(int rows, int columns) {
    m_rows = rows;
    m_columns = columns;
}

void PageSetupDialog::form_activate() {
    drawPreview(m_settings.leftMargin, m_settings.topMargin, m_settings.imageWidth);
    // Each setText that changes a field runs its change handling.
    Text1->setText(QString::fromStdString(plainNumber(m_settings.topMargin)));
    Text2->setText(QString::fromStdString(plainNumber(m_settings.leftMargin)));
    Text3->setText(QString::fromStdString(plainNumber(m_settings.imageWidth)));
}

void PageSetupDialog::fieldChanged(QLineEdit* field, FieldFloor floor) {
    const std::string replacement = floorReplacement(text(field), floor);
    if (!replacement.empty())
        field->setText(QString::fromStdString(replacement)); // runs this handling again
    Picture1->clearPage();
    drawPreview(leadingNumber(text(Text2)), leadingNumber(text(Text1)), leadingNumber(text(Text3)));
}

void PageSetupDialog::Text1_Change() {
    fieldChanged(Text1, kMarginFloor);
}
void PageSetupDialog::Text2_Change() {
    fieldChanged(Text2, kMarginFloor);
}
void PageSetupDialog::Text3_Change() {
    fieldChanged(Text3, kWidthFloor);
}

void PageSetupDialog::step(QLineEdit* field, double amount) {
    field->setText(QString::fromStdString(steppedText(text(field), amount)));
    field->repaint();
}

void PageSetupDialog::Spin1_DownClick() {
    step(Text1, +0.1);
}
void PageSetupDialog::Spin1_UpClick() {
    step(Text1, -0.1);
}
void PageSetupDialog::Spin2_DownClick() {
    step(Text2, -0.1);
}
void PageSetupDialog::Spin2_UpClick() {
    step(Text2, +0.1);
}
void PageSetupDialog::Spin3_DownClick() {
    step(Text3, -0.1);
}
void PageSetupDialog::Spin3_UpClick() {
    step(Text3, +0.1);
}

void PageSetupDialog::Command1_Click() {
    m_settings.topMargin = leadingNumber(text(Text1));
    m_settings.leftMargin = leadingNumber(text(Text2));
    m_settings.imageWidth = leadingNumber(text(Text3));
    hide();
}

void PageSetupDialog::Command2_Click() {
    hide();
}

} // namespace core
