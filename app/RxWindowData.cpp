#include "app/RxWindowData.h"

#include "app/RxWidget.h"

#include <QMenuBar>

RxWindowData::RxWindowData(QWidget *parent)
    : QDialog(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
{
    setObjectName("RxWindowData");
    MenuBar_1 = new QMenuBar(this);
    MenuBar_1->setObjectName("MenuBar_1");
    MenuBar_1->setGeometry(0, 0, 400, 30);
    MenuBar_1->setContentsMargins(0, 0, 0, 0);
    MenuBar_1->setMinimumSize(0, 0);
    MenuBar_1->setMaximumSize(32767, 32767);

    User_1 = new RxWidget(this);
    User_1->setObjectName("User_1");
    User_1->setGeometry(0, 30, 400, 270);
    User_1->setMinimumSize(0, 0);
    User_1->setMaximumSize(32767, 32767);

    resize(400, 300);
    setMinimumSize(0, 0);
    setMaximumSize(32767, 32767);
}
