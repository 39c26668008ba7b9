#include <QApplication>
#include <QStringList>

#include "core/platform/qt_prompts.h"
#include "pixvane/frm_pixvane.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pixvane"));
    core::QtPrompts prompts;
    pixvane::FrmPixvane window(prompts);
    // The whole command text names the picture to open, blanks included.
    window.Form_Load(QApplication::arguments().mid(1).join(' '));
    window.show();
    return app.exec();
}
