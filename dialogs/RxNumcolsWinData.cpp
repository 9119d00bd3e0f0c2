#include "dialogs/RxNumcolsWinData.h"

RxNumcolsWinData::RxNumcolsWinData(QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
    connect(PushButton_1, &QPushButton::clicked, this, &RxNumcolsWinData::plotButton);
    connect(PushButton_2, &QPushButton::clicked, this, &RxNumcolsWinData::cancelButton);
}
