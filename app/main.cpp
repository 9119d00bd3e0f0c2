#include "app/RxStartup.h"

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>

#include <clocale>
#include <cstdlib>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Qt adopts the user's locale for the C library; the data files and PostScript need a
    // decimal point whatever the user's language.
    std::setlocale(LC_NUMERIC, "C");
    if (QStyle *style = QStyleFactory::create(QStringLiteral("Windows")))
        QApplication::setStyle(style);
    // Lets the desktop match the windows to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("ruxa"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("ruxa")));
    initWindows(1);
    // QApplication has taken its own options out of argv.
    startup(argc > 1 ? argv[1] : nullptr);
    QApplication::exec();
    std::exit(0);
}
