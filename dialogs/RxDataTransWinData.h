#pragma once

#include "ui_RxDataTransWinData.h"

#include <QDialog>

// The "Data Transformations" form: builds the controls and routes them to the slots
// RxDataTransWin implements.
class RxDataTransWinData : public QDialog, protected Ui::RxDataTransWinData
{
    Q_OBJECT
public:
    explicit RxDataTransWinData(QWidget *parent = nullptr);

protected slots:
    virtual void applyButton() = 0;
    virtual void dismissButton() = 0;
    virtual void allCurves() = 0;
    virtual void operationSelected(int code) = 0;
    virtual void undoButton() = 0;
};
