#include "dialogs/RxDataTransWinData.h"

RxDataTransWinData::RxDataTransWinData(QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
    connect(PushButton_1, &QPushButton::clicked, this, &RxDataTransWinData::applyButton);
    connect(PushButton_2, &QPushButton::clicked, this, &RxDataTransWinData::dismissButton);
    connect(CheckBox_2, &QCheckBox::clicked, this, &RxDataTransWinData::allCurves);
    connect(ComboBox_2, &QComboBox::activated, this, &RxDataTransWinData::operationSelected);
    connect(PushButton_3, &QPushButton::clicked, this, &RxDataTransWinData::undoButton);
}
