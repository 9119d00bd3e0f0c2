#include "dialogs/RxNumcolsWin.h"

#include <QMessageBox>

RxNumcolsWin::RxNumcolsWin(int numCols, int *xCol, int *yCol, QWidget *parent)
    : RxNumcolsWinData(parent)
    , m_numCols(numCols)
    , m_xCol(xCol)
    , m_yCol(yCol)
{
    for (int i = 1; i <= m_numCols; ++i) {
        // QString::number ignores the locale, so the items read like "%i".
        const QString text = QString::number(i);
        ComboBox_1->addItem(text);
        ComboBox_2->addItem(text);
    }
    ComboBox_1->setCurrentIndex(0);
    // With a single column there is no second item; Plot then refuses until Cancel.
    ComboBox_2->setCurrentIndex(m_numCols > 1 ? 1 : 0);
}

void RxNumcolsWin::plotButton()
{
    const int x = ComboBox_1->currentIndex() + 1;
    const int y = ComboBox_2->currentIndex() + 1;
    if (x == y) {
        QMessageBox box(
            QMessageBox::Warning, "Error", "X and Y columns are equal", QMessageBox::Ok, this);
        box.setDefaultButton(QMessageBox::Ok);
        box.exec();
        return;
    }
    if (m_xCol)
        *m_xCol = x;
    if (m_yCol)
        *m_yCol = y;
    done(1);
}

void RxNumcolsWin::cancelButton()
{
    reject();
}
