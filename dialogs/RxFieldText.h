#pragma once

#include "model/RxNumberText.h"

#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QString>

#include <string_view>

// Numbers in the dialogs' fields: shown with "%g" and read with the C conversion, except for
// the decimal mark. Where the desktop's locale writes decimals with a comma, a field shows a
// comma and takes either a comma or a point (the C notation of the files) as the decimal
// mark. Elsewhere a comma is no decimal mark, and a text holding one is refused rather than
// read as some other number ("1,000" is neither 1 nor 1000). Files and the stored values are
// untouched by the locale: only the text in the fields follows it.

inline bool rxCommaDecimals()
{
    return QLocale().decimalPoint() == QStringLiteral(",");
}

// A number in C notation as a field shows it.
inline QString rxFieldMark(QString cText)
{
    if (rxCommaDecimals())
        cText.replace(QLatin1Char('.'), QLatin1Char(','));
    return cText;
}

inline QString rxFieldText(float value)
{
    QByteArray text;
    rxAppendG(text, static_cast<double>(value));
    return rxFieldMark(QString::fromLatin1(text));
}

// The text in C notation. False when it holds a comma the desktop does not write as a
// decimal mark, or more than one decimal mark ("1.000,5"): read by the C conversion, such a
// text would stop at the second mark and give a number other than the one it shows.
inline bool rxFieldCText(const QString &text, QByteArray *cText)
{
    QByteArray bytes = text.toLatin1();
    if (rxCommaDecimals())
        bytes.replace(',', '.');
    if (bytes.contains(',') || bytes.count('.') > 1)
        return false;
    *cText = bytes;
    return true;
}

// Typed text as a float. Text without a number reads as 0, as the C conversion reads it.
// False, with *value unchanged, for a text rxFieldCText refuses.
inline bool rxFieldNumber(const QString &text, float *value)
{
    QByteArray bytes;
    if (!rxFieldCText(text, &bytes))
        return false;
    *value = rxNarrow(rxAtof(std::string_view(bytes.constData(), std::size_t(bytes.size()))));
    return true;
}

// A field that still shows the text of stored stands for stored itself: read back, its six
// digits would change a value the user never touched. False as rxFieldNumber.
inline bool rxFieldValue(const QLineEdit *field, float stored, float *value)
{
    const QString text = field->text();
    if (text == rxFieldText(stored)) {
        *value = stored;
        return true;
    }
    return rxFieldNumber(text, value);
}

// The message for a field whose text rxFieldNumber refuses.
inline QString rxFieldRefusal(const QLineEdit *field)
{
    return QStringLiteral("\"%1\" is not a number: write decimals with %2.")
        .arg(field->text(),
            rxCommaDecimals() ? QStringLiteral("one comma or point") : QStringLiteral("a point"));
}

// The dialogs' refusal: a modal "Error" box without icon and one default OK button.
inline void rxFieldError(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Error"), text, QMessageBox::Ok, parent);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

// Reads every field of a dialog before any is stored, so that one refused text leaves the
// whole setting unchanged. Each read gives the field's number, or stored when refused; ok()
// is false after the first refusal, which is then shown with show().
class RxFieldReader
{
public:
    float operator()(const QLineEdit *field, float stored)
    {
        float value = stored;
        if (!rxFieldValue(field, stored, &value) && m_refused.isEmpty())
            m_refused = rxFieldRefusal(field);
        return value;
    }
    bool ok() const { return m_refused.isEmpty(); }
    // The message for the first refusal; empty while ok().
    QString refusal() const { return m_refused; }
    // Shows the refusal, if any, and gives ok().
    bool check(QWidget *parent) const
    {
        if (!ok())
            rxFieldError(parent, m_refused);
        return ok();
    }

private:
    QString m_refused;
};
