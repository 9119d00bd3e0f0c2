#include "app/RxMainWidget.h"

RxMainWidget::RxMainWidget(QWidget *parent)
    : QWidget(parent)
{ }

void RxMainWidget::changedEdit()
{
    emit editChanged();
}
