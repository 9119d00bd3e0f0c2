#pragma once

#include "ui_RxCurveWinData.h"

#include <QDialog>

// The "Curve Format" form: builds the controls and routes them to the slots RxCurveWin
// implements.
class RxCurveWinData : public QDialog, protected Ui::RxCurveWinData
{
    Q_OBJECT
public:
    explicit RxCurveWinData(QWidget *parent = nullptr);

protected slots:
    virtual void setCurve(int item) = 0;
    virtual void dismissButton() = 0;
    virtual void applyButton() = 0;
};
