#pragma once

#include <QStatusBar>

class QLabel;

namespace core {

// The status bar's two panels: the document's file name, and the cell under the pointer.
class StatusPanels : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusPanels(QWidget* parent);

    QString fileText() const;
    void setFileText(const QString& text);
    QString cellText() const;
    // "(" column ", " row ")", each in the signed number form: "( 12,  30)", "(-1,  5)".
    void showCell(int column, int row);
    void clearCell();

private:
    QLabel* m_file;
    QLabel* m_cell;
};

} // namespace core
