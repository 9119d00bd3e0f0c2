#pragma once

#include "ui_EditCurveWinData.h"

#include <QDialog>

// The "Edit Data" form: builds the controls and routes them to the slots EditCurveWin
// implements. The list's row changes are connected by EditCurveWin once it has given the
// list its model, since a view has no selection model before that.
class EditCurveWinData : public QDialog, protected Ui::EditCurveWinData
{
    Q_OBJECT
public:
    explicit EditCurveWinData(QWidget *parent = nullptr);

protected slots:
    virtual void dismiss() = 0;
    virtual void changeCurve(int c) = 0;
    virtual void showPopup(int row) = 0;
};
