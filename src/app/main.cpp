// The program body: the application with its German locale and the main window.
#include "platform/apppaths.h"

#include <QApplication>
#include <QLocale>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brackwell"));
    QApplication::setApplicationDisplayName(QStringLiteral("Brackwell"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Brackwell 2.53 - "));
    window.resize(830, 670);
    window.show();
    return app.exec();
}
