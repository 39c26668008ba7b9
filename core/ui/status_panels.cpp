#include "core/ui/status_panels.h"

#include <QLabel>

#include "core/model/number_text.h"

namespace core {

StatusPanels::StatusPanels(QWidget* parent)
    : QStatusBar(parent), m_file(new QLabel(this)), m_cell(new QLabel(this)) {
    m_cell->setMinimumWidth(110);
    addWidget(m_file, 1);
    addWidget(m_cell, 0);
}

QString StatusPanels::fileText() const {
    return m_file->text();
}

void StatusPanels::setFileText(const QString& text) {
    m_file->setText(text);
}

QString StatusPanels::cellText() const {
    return m_cell->text();
}

void StatusPanels::showCell(int column, int row) {
    m_cell->setText(QStringLiteral("(%1, %2)")
                        .arg(QString::fromStdString(signedNumber(column)),
                             QString::fromStdString(signedNumber(row))));
}

void StatusPanels::clearCell() {
    m_cell->clear();
}

} // namespace core
