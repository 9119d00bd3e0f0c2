#pragma once

#include <QWidget>

// The hidden main widget: relays the edit state (whether the shared point clipboard holds
// points) from the window that changed it to every window.
class RxMainWidget : public QWidget
{
    Q_OBJECT

public:
    explicit RxMainWidget(QWidget *parent = nullptr);

public slots:
    void changedEdit();

signals:
    void editChanged();
};
