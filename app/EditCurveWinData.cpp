#include "app/EditCurveWinData.h"

EditCurveWinData::EditCurveWinData(QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint)
{
    setupUi(this);
    connect(ComboBox_1, &QComboBox::activated, this, &EditCurveWinData::changeCurve);
    connect(ListBox_1, &QListView::activated, this,
        [this](const QModelIndex &index) { showPopup(index.row()); });
    connect(PushButton_1, &QPushButton::clicked, this, &EditCurveWinData::dismiss);
}
