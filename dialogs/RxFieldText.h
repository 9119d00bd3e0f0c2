#pragma once

#include "model/RxNumberText.h"

#include <QLineEdit>
#include <QString>

#include <string_view>

// Numbers in the dialogs' fields: shown with "%g" and read as typed, in C notation whatever
// the desktop's language.

inline QString rxFieldText(float value)
{
    QByteArray text;
    rxAppendG(text, static_cast<double>(value));
    return QString::fromLatin1(text);
}

// Typed text as a float; text that is no number reads as 0.
inline float rxFieldNumber(const QString &text)
{
    const QByteArray bytes = text.toLatin1();
    return rxNarrow(rxAtof(std::string_view(bytes.constData(), std::size_t(bytes.size()))));
}

// A field that still shows the "%g" text of stored stands for stored itself: read back, its
// six digits would change a value the user never touched.
inline float rxFieldValue(const QLineEdit *field, float stored)
{
    const QString text = field->text();
    return text == rxFieldText(stored) ? stored : rxFieldNumber(text);
}
