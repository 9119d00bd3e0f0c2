#pragma once

#include "ui_RxNumcolsWinData.h"

#include <QDialog>

// The "Select Data Columns" form: builds the controls and routes them to the slots
// RxNumcolsWin implements.
class RxNumcolsWinData : public QDialog, protected Ui::RxNumcolsWinData
{
    Q_OBJECT
public:
    explicit RxNumcolsWinData(QWidget *parent = nullptr);

protected slots:
    virtual void plotButton() = 0;
    virtual void cancelButton() = 0;
};
