#include "convert/RxConvert.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <clocale>
#include <cstdio>

int main(int argc, char **argv)
{
    // Batch work must run where no display is: on a server, in CI, over ssh.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication app(argc, argv);
    // The application object adopts the user's locale; the numbers in files are C text.
    std::setlocale(LC_NUMERIC, "C");

    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return rxConvert(args, out, err);
}
