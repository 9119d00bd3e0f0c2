#include "app/RxStartup.h"

#include "app/RxMainWidget.h"
#include "app/RxWindow.h"
#include "app/RxWidget.h"
#include "dialogs/RxNumcolsWin.h"
#include "model/RxFile.h"

#include <QApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static RxMainWidget *s_mainWidget = nullptr;

// Start-up messages go to one stream on standard output, flushed at once because the process
// ends right after them.
static void writeMessage(const char *text)
{
    static QTextStream out(stdout);
    out << text;
    out.flush();
}

void initWindows(int isMain)
{
    // The window count decides when the program ends; a window hidden by "Close" must not
    // end it behind the count's back.
    QApplication::setQuitOnLastWindowClosed(false);
    QSize size(500, 400);
    if (isMain) {
        delete s_mainWidget;
        s_mainWidget = new RxMainWidget;
        s_mainWidget->resize(size);
        size = s_mainWidget->size();
    }
    RxWindow::initShared(s_mainWidget, size);
}

// Opens name, or name with ".rx" appended when name does not exist. False after writing
// the message.
static bool openNamedFile(QFile &file, const char *arg)
{
    file.setFileName(QFile::decodeName(arg));
    if (!file.exists()) {
        file.setFileName(QFile::decodeName(QByteArray(arg) + ".rx"));
        if (!file.exists()) {
            writeMessage("File not found\n");
            return false;
        }
    }
    if (!file.open(QIODevice::ReadOnly)) {
        writeMessage("open failed\n");
        return false;
    }
    return true;
}

static RxStartResult readFirstFile(RxWindow *window, QFile &file)
{
    int xCol = 1;
    int yCol = 2;
    const int n = window->checkNumCols(&file);
    if (n >= 3) {
        RxNumcolsWin ask(n, &xCol, &yCol);
        if (ask.exec() != 1)
            return RxStartResult::Cancelled;
    }
    const int ok = n == RxFile::columnsNewerFormat ? RxWidget::readNewerFormat
                                                   : window->read(&file, xCol, yCol, 0);
    if (ok == RxWidget::readNewerFormat) {
        writeMessage("File format is newer than code, please upgrade\n");
        return RxStartResult::Failed;
    }
    if (ok != 1) {
        writeMessage("read failed \n");
        return RxStartResult::Failed;
    }
    window->updateFileChange();
    return RxStartResult::Shown;
}

RxStartResult openFirstWindow(const char *arg, RxWindow **window)
{
    RxWindow *w = nullptr;
    if (!arg) {
        w = new RxWindow;
    } else if (std::strcmp(arg, "test.int") == 0) {
        RxFile demo;
        demo.addDemoCurve();
        w = new RxWindow;
        w->setFile(demo);
    } else {
        QFile file;
        if (!openNamedFile(file, arg))
            return RxStartResult::Failed;
        w = new RxWindow;
        const RxStartResult result = readFirstFile(w, file);
        if (result != RxStartResult::Shown) {
            delete w;
            return result;
        }
    }
    w->show();
    if (window)
        *window = w;
    return RxStartResult::Shown;
}

void startup(const char *arg)
{
    switch (openFirstWindow(arg)) {
    case RxStartResult::Shown:
        return;
    case RxStartResult::Cancelled:
        std::exit(0);
    case RxStartResult::Failed:
        std::exit(-1);
    }
}
