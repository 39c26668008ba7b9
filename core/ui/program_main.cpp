#include "core/ui/program_main.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStringList>

#include "core/platform/qt_prompts.h"
#include "core/ui/editor_window.h"

namespace core {
namespace {

// The platform's style, but with the menu bar's overflow arrow drawn here. Qt's own comes
// from an image file, and reading that first image loads every image-format plugin, a
// millisecond or more before the window can first be painted.
class EditorStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (icon != SP_ToolBarHorizontalExtensionButton)
            return QProxyStyle::standardIcon(icon, option, widget);
        QPixmap chevron(16, 16);
        chevron.fill(Qt::transparent);
        QPainter p(&chevron);
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        for (int x : {4, 9}) // two arrow heads, ">>"
            p.drawPolyline(QPolygonF({QPointF(x, 4), QPointF(x + 4, 8), QPointF(x, 12)}));
        return QIcon(chevron);
    }
};

} // namespace

int runProgram(int argc, char** argv, const ProgramDescription& program,
               const std::function<void(QWidget*)>& started) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(program.applicationName));
    QApplication::setStyle(new EditorStyle(QApplication::style()->name()));
    QtPrompts prompts;
    const std::unique_ptr<EditorWindow> window = program.makeWindow(prompts);
    if (started)
        started(window.get());
    window->Form_Load(QApplication::arguments().mid(1).join(' '));
    window->show();
    return app.exec();
}

} // namespace core
