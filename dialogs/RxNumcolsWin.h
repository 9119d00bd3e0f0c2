#pragma once

#include "dialogs/RxNumcolsWinData.h"

// "Select Data Columns": asks which columns of a column file hold X and Y. The two result
// locations belong to the caller and are written, 1-based, only by a successful Plot.
class RxNumcolsWin : public RxNumcolsWinData
{
    Q_OBJECT
public:
    RxNumcolsWin(int numCols, int *xCol, int *yCol, QWidget *parent = nullptr);

protected slots:
    void plotButton() override;
    void cancelButton() override;

private:
    int m_numCols;
    int *m_xCol;
    int *m_yCol;
};
