#pragma once

#include <QWidget>

class QFile;

// The plot widget's layout class: a plain child widget of 400 x 300 that declares the
// widget's slots for RxWidget to implement.
class RxWidgetData : public QWidget
{
    Q_OBJECT

public:
    explicit RxWidgetData(QWidget *parent = nullptr);

public slots:
    virtual void saveAsPostscript() = 0;
    virtual void open() = 0;
    virtual void append() = 0;
    virtual void saveAs() = 0;
    virtual void rescale() = 0;
    virtual void profile() = 0;
    virtual void redraw() = 0;
    virtual void comments() = 0;
    virtual void curveFormat() = 0;
    virtual void plotFormat() = 0;
    virtual int read(QFile *f, int xCol, int yCol, int append) = 0;
    virtual void quit() = 0;
    virtual void closeWin() = 0;
    virtual int checkNumCols(QFile *f) = 0;
    virtual void autoScale() = 0;
    virtual void setSelection(int curve, int start, int end) = 0;
    virtual void dataTrans() = 0;
    virtual void print() = 0;
    virtual void editCurves() = 0;
};
