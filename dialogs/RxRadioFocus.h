#pragma once

#include <QAbstractButton>
#include <QButtonGroup>

// Keeps the keyboard focus of a radio group on its checked button, however the button got
// checked: Space on a focused button that is not the checked one would switch the mode the
// dialog shows without the user choosing it. While the focus is outside the group, the
// checked button is the one Tab leads into it.
inline void rxFollowCheckedButton(QButtonGroup *group)
{
    auto follow = [group](QAbstractButton *checked) {
        bool focusInGroup = false;
        for (QAbstractButton *b : group->buttons()) {
            focusInGroup = focusInGroup || b->hasFocus();
            b->setFocusPolicy(b == checked ? Qt::StrongFocus : Qt::ClickFocus);
        }
        if (focusInGroup && !checked->hasFocus())
            checked->setFocus(Qt::OtherFocusReason);
    };
    QObject::connect(
        group, &QButtonGroup::buttonToggled, group, [follow](QAbstractButton *b, bool on) {
            if (on)
                follow(b);
        });
    if (QAbstractButton *b = group->checkedButton())
        follow(b);
}
