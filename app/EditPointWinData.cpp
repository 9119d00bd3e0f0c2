#include "app/EditPointWinData.h"

EditPointWinData::EditPointWinData(QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
    connect(PushButton_2, &QPushButton::clicked, this, &EditPointWinData::acceptButton);
    connect(PushButton_3, &QPushButton::clicked, this, &EditPointWinData::cancelButton);
}
