#pragma once

#include "ui_RxPlotDefsWinData.h"

#include <QDialog>

// The "Page Setup" form: builds the controls and routes them to the slots RxPlotDefsWin
// implements.
class RxPlotDefsWinData : public QDialog, protected Ui::RxPlotDefsWinData
{
    Q_OBJECT
public:
    explicit RxPlotDefsWinData(QWidget *parent = nullptr);

protected slots:
    virtual void cancelButton() = 0;
    virtual void acceptButton() = 0;
};
