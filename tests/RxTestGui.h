#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QList>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QtTest>

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

inline void click(QWidget &form, const char *name)
{
    QTest::mouseClick(control<QPushButton>(form, name), Qt::LeftButton);
}

// Types text into a cleared field, key by key, so that validators judge it as a user's.
inline void setField(QWidget &form, const char *name, const QString &text)
{
    auto *edit = control<QLineEdit>(form, name);
    edit->clear();
    QTest::keyClicks(edit, text);
}

// As a user's choice does: activated() is what the dialogs listen to.
inline void choose(QWidget &form, const char *name, int index)
{
    auto *combo = control<QComboBox>(form, name);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
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

// Answers every modal box or dialog that opens while it lives and records what each one
// said as "caption: text" (dialogs: their caption). Each box is answered with the next
// queued button text, or "OK" for a message box and "Cancel" for a dialog.
class ModalAnswers
{
public:
    explicit ModalAnswers(QStringList answers = {})
        : m_answers(std::move(answers))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start(0);
    }

    QStringList seen;
    QList<QMessageBox::Icon> icons;

private:
    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        auto *box = qobject_cast<QMessageBox *>(modal);
        seen << (box ? modal->windowTitle() + ": " + box->text() : modal->windowTitle());
        if (box)
            icons << box->icon();
        const QString wanted
            = m_answers.isEmpty() ? (box ? "OK" : "Cancel") : m_answers.takeFirst();
        for (QAbstractButton *b : modal->findChildren<QAbstractButton *>()) {
            if (b->isVisible() && b->text().remove('&') == wanted) {
                b->click();
                return;
            }
        }
        QTest::qFail(qPrintable("no button " + wanted + " on " + seen.last()), __FILE__, __LINE__);
        static_cast<QDialog *>(modal)->reject();
    }

    QStringList m_answers;
    QTimer m_timer;
};

// The default locale, which the dialogs' number fields follow, for the life of a scope.
class DefaultLocale
{
public:
    explicit DefaultLocale(const QLocale &locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(m_old); }

private:
    QLocale m_old;
};

// The menu titled title in the menu bar of w.
inline QMenu *barMenu(QWidget *w, const QString &title)
{
    const auto *bar = w->findChild<QMenuBar *>(QStringLiteral("MenuBar_1"));
    if (!bar)
        return nullptr;
    const QList<QAction *> actions = bar->actions();
    for (QAction *a : actions) {
        if (a->text() == title)
            return a->menu();
    }
    return nullptr;
}

inline QAction *menuItem(QMenu *menu, const QString &text)
{
    const QList<QAction *> actions = menu ? menu->actions() : QList<QAction *>();
    for (QAction *a : actions) {
        if (a->text() == text)
            return a;
    }
    return nullptr;
}
