#pragma once

#include "app/RxWindowData.h"
#include "model/RxCurve.h"
#include "model/RxScale.h"

#include <QSize>

class QAction;
class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QFile;
class QMenu;
class QResizeEvent;
class RxFile;
class RxMainWidget;

// A top-level plot window: the menu bar over one plot widget that owns the window's
// document. Also keeps the bookkeeping all windows share: how many are still counted, the
// size a new window gets, and the relay that spreads the edit state between them.
class RxWindow : public RxWindowData
{
    Q_OBJECT

public:
    explicit RxWindow(QWidget *parent = nullptr);
    // A window destroyed before Close or Quit ended it no longer counts.
    ~RxWindow() override;

    RxWidget *plotWidget() const { return User_1; }
    // The widget's document becomes a copy of doc; the caption follows its name.
    void setFile(const RxFile &doc);

    // Shared bookkeeping. initShared starts the count at 0, empties the point clipboard
    // and makes relay the edit-state relay of every window made from then on.
    static void initShared(RxMainWidget *relay, QSize defaultSize);
    static int windowCount() { return s_windowCount; }
    static QSize defaultSize() { return s_defaultSize; }
    // What ending the application means; QCoreApplication::quit unless replaced (tests
    // observe it here instead of ending their own event loop).
    static void setQuitHandler(void (*handler)());
    static const char *versionText();
    // The report of "Selection Stats..." for points, with the fitted line when there is one.
    static QString statisticsText(
        const RxCurve &points, const float *slope = nullptr, const float *intercept = nullptr);
    // Whether the shared point clipboard holds points that "Paste" may use.
    static bool clipboardFull() { return s_clip.flag == 1; }

public slots:
    void updateFileChange();
    // Takes QDialog's name for "Open..." in this window; nothing uses QDialog's own open.
    void open() override;
    int read(QFile *f, int xCol, int yCol, int append);
    // how: 1 "Quit", 2 "Close".
    void quit(int how);
    void newWindow();
    int checkNumCols(QFile *f);
    void version();
    void pointSelected(int curve, int point);
    void cut();
    void copy();
    void paste();
    void changedEdit();
    void selectionStats();

signals:
    void fileChanged();
    void editChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;
    // The close button and Escape end the window as "Close" does, so that the count stays
    // right and the program ends with its last window.
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildMenus();
    void placeChildren();
    void updateCaption();
    void clearSelection();
    // Copy's steps: false when the selection yields no points (the clipboard is then empty).
    bool copySelection();

    // 0 nothing selected, 1 one point marked, 2 a range selected.
    int m_selectionState = 0;
    int m_selectedCurve = 0;
    // start -1 with end 0: the whole curve.
    int m_selectionStart = 0;
    int m_selectionEnd = 0;
    bool m_counted = true;
    QMenu *m_editMenu = nullptr;
    QAction *m_cutAction = nullptr;
    QAction *m_copyAction = nullptr;
    QAction *m_pasteAction = nullptr;
    QAction *m_statsAction = nullptr;

    static int s_windowCount;
    static QSize s_defaultSize;
    static RxMainWidget *s_mainWidget;
    static void (*s_quitHandler)();
    // The point clipboard all windows share: the points last cut or copied, the scale of
    // the document they came from, and flag 1 while "Paste" may use them.
    struct Clip
    {
        RxCurve curve;
        RxScale scale;
        int flag = 0;
    };
    static Clip s_clip;
};
