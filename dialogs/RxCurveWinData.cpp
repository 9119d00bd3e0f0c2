#include "dialogs/RxCurveWinData.h"

RxCurveWinData::RxCurveWinData(QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
    connect(ComboBox_1, &QComboBox::activated, this, &RxCurveWinData::setCurve);
    connect(PushButton_1, &QPushButton::clicked, this, &RxCurveWinData::applyButton);
    connect(PushButton_2, &QPushButton::clicked, this, &RxCurveWinData::dismissButton);
}
