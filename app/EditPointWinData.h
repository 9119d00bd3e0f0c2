#pragma once

#include "ui_EditPointWinData.h"

#include <QDialog>

// The point editor's form: builds the controls and routes the buttons to the slots
// EditPointWin implements.
class EditPointWinData : public QDialog, protected Ui::EditPointWinData
{
    Q_OBJECT
public:
    explicit EditPointWinData(QWidget *parent = nullptr);

protected slots:
    virtual void acceptButton() = 0;
    virtual void cancelButton() = 0;
};
