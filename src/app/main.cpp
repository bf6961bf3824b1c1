#include "mainwindow/Form1.h"
#include "ui/Version.h"

#include <QApplication>
#include <QFont>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "Quillet needs a graphical display, but neither DISPLAY nor WAYLAND_DISPLAY is set.\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet"));
    QApplication::setOrganizationName(QStringLiteral("Quillet"));
    QApplication::setApplicationVersion(ui::programVersion());

    // The window's controls are laid out in twips for a small dialog font.
    QFont font = QApplication::font();
    font.setPointSizeF(8.0);
    QApplication::setFont(font);

    const QStringList args = QApplication::arguments();
    Form1 window;
    window.Form_Load(args.size() > 1 ? args.at(1) : QString());
    if (!window.isVisible())
        window.show();
    return app.exec();
}
