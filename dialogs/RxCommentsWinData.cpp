#include "dialogs/RxCommentsWinData.h"

RxCommentsWinData::RxCommentsWinData(QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
    connect(ComboBox_3, &QComboBox::activated, this, &RxCommentsWinData::setComment);
    connect(PushButton_3, &QPushButton::clicked, this, &RxCommentsWinData::deleteButton);
    connect(RadioButton_1, &QRadioButton::clicked, this, &RxCommentsWinData::locationTypeChanged);
    connect(RadioButton_2, &QRadioButton::clicked, this, &RxCommentsWinData::locationTypeChanged);
    connect(PushButton_4, &QPushButton::clicked, this, &RxCommentsWinData::updateButton);
    connect(PushButton_1, &QPushButton::clicked, this, &RxCommentsWinData::addButton);
    connect(PushButton_2, &QPushButton::clicked, this, &RxCommentsWinData::dismissButton);
}
