#include "dialogs/RxScaleWin.h"

#include "dialogs/RxFieldText.h"
#include "dialogs/RxRadioFocus.h"
#include "model/RxFile.h"

namespace {

// Labels are Latin-1 bytes, as the renderer draws them. A label longer than a line edit
// holds shows cut short; while the field still shows that text the label is kept whole.
QByteArray labelOf(const QLineEdit *field, const QByteArray &stored)
{
    const QString shown = QString::fromLatin1(stored).left(field->maxLength());
    return field->text() == shown ? stored : field->text().toLatin1();
}

} // namespace

RxScaleWin::RxScaleWin(RxFile *doc, QWidget *parent)
    : RxScaleWinData(parent)
    , m_doc(doc)
{
    if (m_doc)
        m_scale = m_doc->scale();
    fillControls();
    setVisibles();
    rxFollowCheckedButton(ButtonGroup_1);
    PushButton_2->setEnabled(m_doc && m_doc->totalPoints() > 0);
}

void RxScaleWin::fillControls()
{
    LineEdit_1->setText(rxFieldText(m_scale.xmax()));
    LineEdit_2->setText(rxFieldText(m_scale.xmin()));
    LineEdit_3->setText(rxFieldText(m_scale.ymax()));
    LineEdit_4->setText(rxFieldText(m_scale.ymin()));
    LineEdit_7->setText(rxFieldText(m_scale.xStep()));
    LineEdit_8->setText(rxFieldText(m_scale.yStep()));
    CheckBox_1->setChecked(m_scale.xLog() == 1);
    CheckBox_2->setChecked(m_scale.yLog() == 1);
    const int mode = m_scale.tickMode();
    (mode == 1 ? RadioButton_3 : mode == 2 ? RadioButton_4 : RadioButton_2)->setChecked(true);
    // An empty label leaves whatever the field holds.
    if (m_scale.xLabelLength() > 0)
        LineEdit_5->setText(QString::fromLatin1(m_scale.xLabel()));
    if (m_scale.yLabelLength() > 0)
        LineEdit_6->setText(QString::fromLatin1(m_scale.yLabel()));
}

void RxScaleWin::setVisibles(const QString &)
{
    setVisibles();
}

// The fields are read as Apply reads them, so a box is enabled exactly when Apply could
// store the axis as logarithmic. A disabled box keeps its check mark.
void RxScaleWin::setVisibles()
{
    RxFieldReader read;
    const bool xPositive
        = read(LineEdit_1, m_scale.xmax()) > 0 && read(LineEdit_2, m_scale.xmin()) > 0;
    const bool yPositive
        = read(LineEdit_3, m_scale.ymax()) > 0 && read(LineEdit_4, m_scale.ymin()) > 0;
    CheckBox_1->setEnabled(xPositive && read.ok());
    CheckBox_2->setEnabled(yPositive && read.ok());
    const bool steps = !RadioButton_2->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(Label_7), static_cast<QWidget *>(LineEdit_7),
             static_cast<QWidget *>(Label_8), static_cast<QWidget *>(LineEdit_8)})
        w->setEnabled(steps);
}

// The scale's setters refuse equal range ends, steps not above 0 and a log axis with an
// end not above 0, keeping the stored value; the fields then show what is stored. A text
// that reads as no number the field shows refuses the whole Apply.
void RxScaleWin::applyButton()
{
    if (!m_doc)
        return;
    RxFieldReader read;
    const float xmax = read(LineEdit_1, m_scale.xmax());
    const float xmin = read(LineEdit_2, m_scale.xmin());
    const float ymax = read(LineEdit_3, m_scale.ymax());
    const float ymin = read(LineEdit_4, m_scale.ymin());
    const bool steps = !RadioButton_2->isChecked();
    const float xStep = steps ? read(LineEdit_7, m_scale.xStep()) : m_scale.xStep();
    const float yStep = steps ? read(LineEdit_8, m_scale.yStep()) : m_scale.yStep();
    if (!read.check(this))
        return;
    m_scale.setXRange(xmax, xmin);
    m_scale.setYRange(ymax, ymin);
    // After the ranges: the log setters judge the axis by its new ends.
    m_scale.setXLog(CheckBox_1->isChecked() ? 1 : 0);
    m_scale.setYLog(CheckBox_2->isChecked() ? 1 : 0);
    m_scale.setXLabel(labelOf(LineEdit_5, m_scale.xLabel()));
    m_scale.setYLabel(labelOf(LineEdit_6, m_scale.yLabel()));
    if (RadioButton_2->isChecked()) {
        m_scale.setTickMode(0);
    } else {
        m_scale.setXStep(xStep);
        m_scale.setYStep(yStep);
        m_scale.setTickMode(RadioButton_4->isChecked() ? 2 : 1);
    }
    m_doc->setScale(m_scale);
    fillControls();
    setVisibles();
    emit scaleChanged();
}

void RxScaleWin::autoButton()
{
    // A document without points has no bounds to scale to.
    if (!m_doc || m_doc->totalPoints() == 0)
        return;
    m_doc->autoScale();
    m_scale = m_doc->scale();
    fillControls();
    setVisibles();
    emit scaleChanged();
}

void RxScaleWin::dismissButton()
{
    reject();
}
