#include "dialogs/RxScaleWinData.h"

RxScaleWinData::RxScaleWinData(QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
    const auto textChanged = qOverload<const QString &>(&RxScaleWinData::setVisibles);
    for (QLineEdit *range : {LineEdit_1, LineEdit_2, LineEdit_3, LineEdit_4})
        connect(range, &QLineEdit::textChanged, this, textChanged);
    const auto clicked = qOverload<>(&RxScaleWinData::setVisibles);
    for (QRadioButton *mode : {RadioButton_2, RadioButton_3, RadioButton_4})
        connect(mode, &QRadioButton::clicked, this, clicked);
    connect(PushButton_1, &QPushButton::clicked, this, &RxScaleWinData::applyButton);
    connect(PushButton_2, &QPushButton::clicked, this, &RxScaleWinData::autoButton);
    connect(PushButton_3, &QPushButton::clicked, this, &RxScaleWinData::dismissButton);
}
