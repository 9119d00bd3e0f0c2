#include "dialogs/RxNumcolsWin.h"

#include "model/RxColumnLayout.h"

#include <QAbstractItemView>
#include <QListView>
#include <QMessageBox>

namespace {

// A column's name in a chooser: its first few words, so that the list stays readable.
QString shortName(const QByteArray &name)
{
    constexpr int maxWords = 3;
    constexpr qsizetype maxLength = 24;
    const QStringList words = QString::fromLatin1(name).simplified().split(QLatin1Char(' '));
    QString text = words.mid(0, maxWords).join(QLatin1Char(' '));
    const bool cut = words.size() > maxWords || text.size() > maxLength;
    if (text.size() > maxLength)
        text.truncate(maxLength);
    return cut ? text + QChar(0x2026) : text;
}

} // namespace

RxNumcolsWin::RxNumcolsWin(int numCols, int *xCol, int *yCol, QWidget *parent)
    : RxNumcolsWinData(parent)
    , m_numCols(numCols)
    , m_xCol(xCol)
    , m_yCol(yCol)
{
    QStringList items;
    // QString::number ignores the locale, so the items read like "%i".
    for (int i = 1; i <= m_numCols; ++i)
        items << QString::number(i);
    fill(items, 1, 2);
}

RxNumcolsWin::RxNumcolsWin(const RxColumnLayout &layout, int *xCol, int *yCol, QWidget *parent)
    : RxNumcolsWinData(parent)
    , m_numCols(layout.columns)
    , m_xCol(xCol)
    , m_yCol(yCol)
{
    QStringList items;
    items.reserve(m_numCols);
    for (int i = 1; i <= m_numCols; ++i) {
        const QString name
            = i <= layout.names.size() ? shortName(layout.names.at(i - 1)) : QString();
        items << (name.isEmpty() ? QString::number(i)
                                 : QString::number(i) + QLatin1String(": ") + name);
    }
    fill(items, layout.xCol, layout.yCol);
}

void RxNumcolsWin::fill(const QStringList &items, int x, int y)
{
    for (QComboBox *box : {ComboBox_1, ComboBox_2}) {
        // A file may have 10^5 columns: sizing the chooser or its list by every item's
        // text would take seconds.
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        if (auto *list = qobject_cast<QListView *>(box->view()))
            list->setUniformItemSizes(true);
        box->addItems(items);
    }
    ComboBox_1->setCurrentIndex(x >= 1 && x <= m_numCols ? x - 1 : 0);
    // With a single column there is no second item; Plot then refuses until Cancel.
    ComboBox_2->setCurrentIndex(y >= 1 && y <= m_numCols ? y - 1 : (m_numCols > 1 ? 1 : 0));
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
