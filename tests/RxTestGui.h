#pragma once

#include <QApplication>
#include <QList>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

// A control of a form by its object name; a form that lost it ends the test run at once.
template <typename T> T *control(QWidget &form, const char *name)
{
    T *w = form.findChild<T *>(name);
    if (!w) {
        std::fprintf(stderr, "form lost %s\n", name);
        std::abort();
    }
    return w;
}

// The top-level widgets of one class, in the order the application lists them.
template <typename T> QList<T *> topLevelOf()
{
    QList<T *> found;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *t = qobject_cast<T *>(w))
            found << t;
    }
    return found;
}
