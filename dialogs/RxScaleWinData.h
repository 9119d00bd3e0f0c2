#pragma once

#include "ui_RxScaleWinData.h"

#include <QDialog>

// The "ReScale" form: builds the controls and routes them to the slots RxScaleWin
// implements.
class RxScaleWinData : public QDialog, protected Ui::RxScaleWinData
{
    Q_OBJECT
public:
    explicit RxScaleWinData(QWidget *parent = nullptr);

protected slots:
    // Receives the range fields' text changes; the text itself is not needed.
    virtual void setVisibles(const QString &text) = 0;
    virtual void setVisibles() = 0;
    virtual void autoButton() = 0;
    virtual void dismissButton() = 0;
    virtual void applyButton() = 0;
};
