#include "dialogs/RxProfileWin.h"

#include "dialogs/RxRadioFocus.h"
#include "model/RxFile.h"

namespace {

// Rows of the delimiter list.
enum DelimRow { TabRow = 0, SpaceRow = 1, CommaRow = 2 };

} // namespace

RxProfileWin::RxProfileWin(RxFile *doc, QWidget *parent)
    : RxProfileWinData(parent)
    , m_doc(doc)
{
    // The spin boxes show C digits whatever the desktop's language.
    setLocale(QLocale::c());
    if (m_doc)
        m_profile = m_doc->profile();

    const bool fixed = m_profile.useDelim() == 0;
    RadioButton_1->setChecked(fixed);
    RadioButton_2->setChecked(!fixed);
    SpinBox_2->setValue(m_profile.dataLen());
    SpinBox_1->setValue(m_profile.inVecLen());
    // Any other delimiter has no row and is offered as tab.
    const char delim = m_profile.delimChar();
    ListBox_1->setCurrentRow(delim == ' ' ? SpaceRow : delim == ',' ? CommaRow : TabRow);
    CheckBox_1->setChecked(m_profile.inVecLen() > 0);
    setVisibles();
    rxFollowCheckedButton(ButtonGroup_1);
}

void RxProfileWin::setVisibles()
{
    const bool fixed = RadioButton_1->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(Label_1), static_cast<QWidget *>(SpinBox_1),
             static_cast<QWidget *>(Label_2), static_cast<QWidget *>(SpinBox_2),
             static_cast<QWidget *>(Label_5)})
        w->setEnabled(fixed);
    for (QWidget *w : {static_cast<QWidget *>(CheckBox_1), static_cast<QWidget *>(Label_4),
             static_cast<QWidget *>(ListBox_1), static_cast<QWidget *>(Label_6)})
        w->setEnabled(!fixed);
}

void RxProfileWin::acceptButton()
{
    // The controls only offer values the setters take, so their results need no check.
    if (RadioButton_1->isChecked()) {
        m_profile.setUseDelim(0);
        m_profile.setDataLen(SpinBox_2->value());
        m_profile.setInVecLen(SpinBox_1->value());
    } else {
        m_profile.setUseDelim(1);
        const int row = ListBox_1->currentRow();
        m_profile.setDelimChar(row == SpaceRow ? ' ' : row == CommaRow ? ',' : '\t');
        // A delimited point-type field is always the three-character form.
        m_profile.setInVecLen(CheckBox_1->isChecked() ? 3 : 0);
    }
    if (m_doc)
        m_doc->setProfile(m_profile);
    accept();
}

void RxProfileWin::cancelButton()
{
    reject();
}
