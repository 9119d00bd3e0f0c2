#pragma once

#include "dialogs/RxFieldText.h"

#include <QRegularExpression>
#include <QValidator>

// The validator of the dialogs' number fields. It refuses keystrokes that cannot belong to a
// number (letters, a second sign), but never a decimal mark: dropping one would turn "0,5"
// into 5 without a word. A mark that the field does not take stays visible, and reading the
// field (rxFieldNumber) refuses it. A whole-number field refuses the exponent mark as well.
class RxNumberValidator : public QValidator
{
public:
    explicit RxNumberValidator(bool whole, QObject *parent)
        : QValidator(parent)
        , m_shape(whole ? QStringLiteral("^\\s*[+-]?[0-9.,]*\\s*$")
                        : QStringLiteral("^\\s*[+-]?[0-9.,]*([eE][+-]?[0-9]*)?\\s*$"))
    { }

    State validate(QString &input, int &) const override
    {
        if (!m_shape.match(input).hasMatch())
            return Invalid;
        QByteArray cText;
        double value = 0;
        if (!rxFieldCText(input, &cText)
            || !rxWholeDouble(
                std::string_view(cText.constData(), std::size_t(cText.size())), &value))
            return Intermediate;
        return Acceptable;
    }

private:
    QRegularExpression m_shape;
};
