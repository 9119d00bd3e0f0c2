#include "dialogs/RxPlotDefsWinData.h"

RxPlotDefsWinData::RxPlotDefsWinData(QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
    connect(PushButton_1, &QPushButton::clicked, this, &RxPlotDefsWinData::acceptButton);
    connect(PushButton_2, &QPushButton::clicked, this, &RxPlotDefsWinData::cancelButton);
}
