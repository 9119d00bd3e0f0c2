#pragma once

#include "ui_RxCommentsWinData.h"

#include <QDialog>

// The "Comments" form: builds the controls and routes them to the slots RxCommentsWin
// implements.
class RxCommentsWinData : public QDialog, protected Ui::RxCommentsWinData
{
    Q_OBJECT
public:
    explicit RxCommentsWinData(QWidget *parent = nullptr);

protected slots:
    virtual void updateButton() = 0;
    virtual void setComment(int index) = 0;
    virtual void dismissButton() = 0;
    virtual void addButton() = 0;
    virtual void deleteButton() = 0;
    virtual void locationTypeChanged() = 0;
};
