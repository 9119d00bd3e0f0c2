#include "app/EditPointWin.h"

#include "model/RxCurve.h"

#include <QDoubleValidator>

#include <cstdlib>

namespace {

// The standard text-to-double conversion; an empty or unreadable text reads as 0.
float readNumber(const QLineEdit *edit)
{
    const QByteArray text = edit->text().toLatin1();
    return static_cast<float>(std::strtod(text.constData(), nullptr));
}

} // namespace

EditPointWin::EditPointWin(QWidget *parent, const char *name)
    : EditPointWinData(parent)
    , m_validator(new QDoubleValidator(this))
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    for (int t = 0; t < RxCurve::numPointTypes; ++t)
        ComboBox_2->addItem(QString::fromLatin1(RxCurve::pointTypeName(t)));

    // The C locale so that "1.5" is a number on any desktop, and no group separators so
    // that "1,5" is refused instead of reading as 1.
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    m_validator->setLocale(c);
    m_validator->setNotation(QDoubleValidator::ScientificNotation);
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
    LineEdit_1->setText(QString::number(static_cast<double>(x), 'g', 6));
    LineEdit_2->setText(QString::number(static_cast<double>(y), 'g', 6));
}

void EditPointWin::getValues(int *type, float *x, float *y) const
{
    *type = m_type;
    *x = m_x;
    *y = m_y;
}

void EditPointWin::acceptButton()
{
    if (ComboBox_2->currentIndex() >= 0)
        m_type = ComboBox_2->currentIndex();
    m_x = readNumber(LineEdit_1);
    m_y = readNumber(LineEdit_2);
    done(1);
}

void EditPointWin::cancelButton()
{
    done(0);
}
