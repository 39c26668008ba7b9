#include <QApplication>
#include <QStringList>

#include "core/platform/qt_prompts.h"
#include "dotwell/frm_dotwell.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dotwell"));
    core::QtPrompts prompts;
    dotwell::FrmDotwell window(prompts);
    // The whole command text names the picture to open, blanks included.
    window.Form_Load(QApplication::arguments().mid(1).join(' '));
    window.show();
    return app.exec();
}
