#pragma once

#include "ui_RxProfileWinData.h"

#include <QDialog>

// The "File Format" form: builds the controls and routes them to the slots RxProfileWin
// implements.
class RxProfileWinData : public QDialog, protected Ui::RxProfileWinData
{
    Q_OBJECT
public:
    explicit RxProfileWinData(QWidget *parent = nullptr);

protected slots:
    virtual void setVisibles() = 0;
    virtual void acceptButton() = 0;
    virtual void cancelButton() = 0;
};
