#include "dialogs/RxProfileWinData.h"

RxProfileWinData::RxProfileWinData(QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
    connect(RadioButton_1, &QRadioButton::clicked, this, &RxProfileWinData::setVisibles);
    connect(RadioButton_2, &QRadioButton::clicked, this, &RxProfileWinData::setVisibles);
    connect(PushButton_2, &QPushButton::clicked, this, &RxProfileWinData::acceptButton);
    connect(PushButton_3, &QPushButton::clicked, this, &RxProfileWinData::cancelButton);
}
