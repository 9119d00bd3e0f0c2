#include "fuzz/RxFuzz.h"

#include <QGuiApplication>

void rxFuzzGuiApplication()
{
    if (QGuiApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "ruxa-fuzz";
    static char *argv[] = {name, nullptr};
    // Lives to the end of the process, as the painting of every input needs it.
    new QGuiApplication(argc, argv);
}
