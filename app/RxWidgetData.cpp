#include "app/RxWidgetData.h"

RxWidgetData::RxWidgetData(QWidget *parent)
    : QWidget(parent)
{
    setGeometry(0, 0, 400, 300);
    setMinimumSize(0, 0);
    setMaximumSize(32767, 32767);
}
