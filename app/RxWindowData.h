#pragma once

#include <QDialog>

class QMenuBar;
class RxWidget;

// The plot window's layout class: a modeless top-level dialog holding a menu bar
// ("MenuBar_1") above one plot widget ("User_1"). Written by hand because the plot widget is
// a class of our own.
class RxWindowData : public QDialog
{
    Q_OBJECT

public:
    explicit RxWindowData(QWidget *parent = nullptr);

protected:
    QMenuBar *MenuBar_1;
    RxWidget *User_1;
};
