#include "dialogs/RxCurveWin.h"

#include "dialogs/RxFieldText.h"
#include "dialogs/RxNumberValidator.h"
#include "model/RxFile.h"

#include <algorithm>

namespace {

// The chooser lists no more curves than this; later curves are not offered here.
constexpr int maxListed = 100;

} // namespace

RxCurveWin::RxCurveWin(RxFile *doc, QWidget *parent)
    : RxCurveWinData(parent)
    , m_doc(doc)
{
    m_validator = new RxNumberValidator(false, this);

    const int curves = m_doc ? m_doc->numCurves() : 0;
    for (QWidget *w : {static_cast<QWidget *>(ComboBox_1), static_cast<QWidget *>(ComboBox_2),
             static_cast<QWidget *>(ComboBox_3), static_cast<QWidget *>(ComboBox_4),
             static_cast<QWidget *>(LineEdit_1), static_cast<QWidget *>(PushButton_1)})
        w->setEnabled(curves > 0);
    for (int i = 0; i < RxCurve::numColors; ++i)
        ComboBox_2->addItem(QString::fromLatin1(RxCurve::colorName(i)));
    for (int i = 0; i < RxCurve::numLineTypes; ++i)
        ComboBox_3->addItem(QString::fromLatin1(RxCurve::lineTypeName(i)));
    for (int i = 0; i < RxCurve::numLineWidths; ++i)
        ComboBox_4->addItem(QString::fromLatin1(RxCurve::lineWidthName(i)));
    LineEdit_1->setValidator(m_validator);

    const int listed = std::min(curves, maxListed);
    for (int i = 0; i < listed; ++i)
        ComboBox_1->addItem(QString::number(i + 1));
    if (listed > 0) {
        ComboBox_1->setCurrentIndex(0);
        setCurve(0);
    }
}

// Shows the format of the chosen curve; edits not applied before are dropped.
void RxCurveWin::setCurve(int)
{
    const int i = ComboBox_1->currentIndex();
    if (!m_doc || i < 0)
        return;
    ComboBox_2->setCurrentIndex(m_doc->color(i));
    ComboBox_3->setCurrentIndex(m_doc->lineType(i));
    ComboBox_4->setCurrentIndex(m_doc->lineWidth(i));
    LineEdit_1->setText(rxFieldText(m_doc->patternLength(i)));
}

// The curve refuses a pattern length not above 0 (and text that is no number reads as 0),
// keeping the stored one, which the field then shows; the other choices are stored all the
// same. A length text that reads as no number the field shows refuses the whole Apply.
void RxCurveWin::applyButton()
{
    const int i = ComboBox_1->currentIndex();
    if (!m_doc || i < 0)
        return;
    RxFieldReader read;
    const float length = read(LineEdit_1, m_doc->patternLength(i));
    if (!read.check(this))
        return;
    m_doc->setColor(i, ComboBox_2->currentIndex());
    m_doc->setLineType(i, ComboBox_3->currentIndex());
    m_doc->setLineWidth(i, ComboBox_4->currentIndex());
    m_doc->setPatternLength(i, length);
    LineEdit_1->setText(rxFieldText(m_doc->patternLength(i)));
    emit curveChanged();
}

void RxCurveWin::dismissButton()
{
    reject();
}
