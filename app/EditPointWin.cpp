#include "app/EditPointWin.h"

#include "dialogs/RxFieldText.h"
#include "dialogs/RxNumberValidator.h"
#include "model/RxCurve.h"

EditPointWin::EditPointWin(QWidget *parent, const char *name)
    : EditPointWinData(parent)
    , m_validator(new RxNumberValidator(false, this))
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    for (int t = 0; t < RxCurve::numPointTypes; ++t)
        ComboBox_2->addItem(QString::fromLatin1(RxCurve::pointTypeName(t)));

    LineEdit_1->setValidator(m_validator);
    LineEdit_2->setValidator(m_validator);
    setValues(0, 0.0f, 0.0f);
}

void EditPointWin::setValues(int type, float x, float y)
{
    m_type = type;
    m_x = x;
    m_y = y;
    // A type without a name shows no item; acceptButton then keeps it unchanged.
    ComboBox_2->setCurrentIndex(type >= 0 && type < RxCurve::numPointTypes ? type : -1);
    ComboBox_2->setEnabled(type != PointNewLine);
    LineEdit_1->setText(rxFieldText(x));
    LineEdit_2->setText(rxFieldText(y));
}

void EditPointWin::getValues(int *type, float *x, float *y) const
{
    *type = m_type;
    *x = m_x;
    *y = m_y;
}

// An empty or unreadable text reads as 0; a text that reads as no number it shows keeps the
// editor open and says why.
void EditPointWin::acceptButton()
{
    RxFieldReader read;
    const float x = read(LineEdit_1, m_x);
    const float y = read(LineEdit_2, m_y);
    if (!read.check(this))
        return;
    if (ComboBox_2->currentIndex() >= 0)
        m_type = ComboBox_2->currentIndex();
    m_x = x;
    m_y = y;
    done(1);
}

void EditPointWin::cancelButton()
{
    done(0);
}
