#include "app/RxStartup.h"

#include "app/RxMainWidget.h"
#include "app/RxWindow.h"
#include "app/RxWidget.h"
#include "dialogs/RxNumcolsWin.h"
#include "model/RxFile.h"
#include "model/RxInputFile.h"

#include <QApplication>
#include <QFile>
#include <QTextStream>
#include <QTimer>

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
    switch (rxOpenInputFile(file, file.fileName())) {
    case RxInputOpen::Opened:
        return true;
    case RxInputOpen::Failed:
        writeMessage("open failed\n");
        break;
    case RxInputOpen::NotRegular:
        writeMessage("Not a regular file\n");
        break;
    }
    return false;
}

// Reads the file as "Open..." does; notice receives what the user is to be told after the
// window is shown (the rows left out), or stays empty.
static RxStartResult readFirstFile(RxWindow *window, QFile &file, QString *notice)
{
    RxFile &doc = window->plotWidget()->document();
    const RxColumnLayout layout = doc.chooseLayout(&file);
    int xCol = layout.xCol;
    int yCol = layout.yCol;
    if (layout.numericColumns >= 3) {
        RxNumcolsWin ask(layout, &xCol, &yCol);
        if (ask.exec() != 1)
            return RxStartResult::Cancelled;
    }
    RxFile::ReadReport report;
    const RxFile::ReadResult result = layout.source == RxColumnLayout::Source::NewerFormat
        ? RxFile::ReadResult::NewerFormat
        : doc.read(&file, xCol, yCol, 0, layout, &report);
    if (result == RxFile::ReadResult::NewerFormat) {
        writeMessage("File format is newer than code, please upgrade\n");
        return RxStartResult::Failed;
    }
    if (result != RxFile::ReadResult::Ok) {
        writeMessage("read failed \n");
        return RxStartResult::Failed;
    }
    window->updateFileChange();
    *notice = report.skippedText();
    return RxStartResult::Shown;
}

RxStartResult openFirstWindow(const char *arg, RxWindow **window)
{
    RxWindow *w = nullptr;
    QString notice;
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
        const RxStartResult result = readFirstFile(w, file, &notice);
        if (result != RxStartResult::Shown) {
            delete w;
            return result;
        }
    }
    w->show();
    // Over the window, once the event loop runs.
    if (!notice.isEmpty()) {
        QTimer::singleShot(0, w, [w, notice] { w->plotWidget()->showMessage(notice); });
    }
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
