#pragma once

#include "dialogs/RxNumcolsWinData.h"

struct RxColumnLayout;

// "Select Data Columns": asks which columns of a column file hold X and Y. The two result
// locations belong to the caller and are written, 1-based, only by a successful Plot.
class RxNumcolsWin : public RxNumcolsWinData
{
    Q_OBJECT
public:
    RxNumcolsWin(int numCols, int *xCol, int *yCol, QWidget *parent = nullptr);
    // For a file read in layout: every column of the file, each with its name from the
    // header line where there is one, and the layout's X and Y columns chosen.
    RxNumcolsWin(const RxColumnLayout &layout, int *xCol, int *yCol, QWidget *parent = nullptr);

protected slots:
    void plotButton() override;
    void cancelButton() override;

private:
    void fill(const QStringList &items, int x, int y);

    int m_numCols;
    int *m_xCol;
    int *m_yCol;
};
