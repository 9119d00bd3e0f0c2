#include "convert/RxConvert.h"

#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>

#include <clocale>
#include <cstdio>
#include <memory>

namespace {

// Qt's own diagnostics (no XDG_RUNTIME_DIR, a font fallback) would break the one line on
// standard error that scripts read; only a fatal one, which ends the run, is shown.
void fatalOnly(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(fatalOnly);
    // Batch work must run where no display is: on a server, in CI, over ssh.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A GUI application object sets up fonts and painters, and takes a few milliseconds to,
    // a fair share of a small file's conversion.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && rxConvertDrawsPicture(QString::fromLocal8Bit(argv[argc - 1])))
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    // The application object adopts the user's locale; the numbers in files are C text.
    std::setlocale(LC_NUMERIC, "C");

    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return rxConvert(args, out, err);
}
