#include "dialogs/RxDataTransWin.h"

#include "dialogs/RxFieldText.h"
#include "dialogs/RxNumberValidator.h"
#include "model/RxFile.h"

#include <QList>
#include <QPair>

#include <cmath>
#include <initializer_list>

namespace {

// Item indexes of the operation chooser.
enum Operation { Transform = 0, Reduce = 1, Smooth = 2, Remove = 3, LinearFit = 4 };

constexpr int coefCount = 6;

bool finitePoint(const RxCurve &c, int i)
{
    return std::isfinite(c.x(i)) && std::isfinite(c.y(i));
}

// True when result holds an infinity or nan that source did not: point by point where the
// operation keeps the points (the transformation), over the whole curve otherwise.
bool overflows(const RxCurve &source, const RxCurve &result, int code)
{
    if (code == Transform) {
        for (int i = 0; i < result.numPoints(); ++i) {
            if (finitePoint(source, i) && !finitePoint(result, i))
                return true;
        }
        return false;
    }
    for (int i = 0; i < source.numPoints(); ++i) {
        if (!finitePoint(source, i))
            return false;
    }
    for (int i = 0; i < result.numPoints(); ++i) {
        if (!finitePoint(result, i))
            return true;
    }
    return false;
}

} // namespace

RxDataTransWin::RxDataTransWin(RxFile *doc, QWidget *parent)
    : RxDataTransWinData(parent)
    , m_doc(doc)
{
    // The spin box shows C digits whatever the desktop's language.
    setLocale(QLocale::c());
    refillCurves();
    CheckBox_2->setChecked(true);
    allCurves();
    ComboBox_2->addItems({"X=A*X+B*Y+C; Y=D*X+E*Y+F", "Reduce Number of Points", "Data Smoothing",
        "Remove Curve", "Linear Fit"});
    ComboBox_2->setCurrentIndex(Transform);
    operationSelected(Transform);

    m_validator = new RxNumberValidator(false, this);
    const char *identity[coefCount] = {"1.0", "0.0", "0.0", "0.0", "1.0", "0.0"};
    QLineEdit *fields[coefCount]
        = {LineEdit_1, LineEdit_2, LineEdit_3, LineEdit_4, LineEdit_5, LineEdit_6};
    for (int i = 0; i < coefCount; ++i) {
        fields[i]->setValidator(m_validator);
        fields[i]->setText(rxFieldMark(QString::fromLatin1(identity[i])));
    }
    PushButton_3->setEnabled(false);
}

RxDataTransWin::~RxDataTransWin() = default;

void RxDataTransWin::refillCurves()
{
    ComboBox_1->clear();
    const int n = m_doc ? m_doc->numCurves() : 0;
    for (int i = 0; i < n; ++i)
        ComboBox_1->addItem(QString::number(i + 1));
    updateApply();
}

// Apply follows the document and the operation together, so that a document that gets
// its curves back through Undo can be worked on again at once.
void RxDataTransWin::updateApply()
{
    const bool hasCurves = m_doc && m_doc->numCurves() > 0;
    PushButton_1->setEnabled(hasCurves && ComboBox_2->currentIndex() != LinearFit);
}

void RxDataTransWin::allCurves()
{
    const bool one = !CheckBox_2->isChecked();
    ComboBox_1->setEnabled(one);
    Label_1->setEnabled(one);
}

void RxDataTransWin::setCoefficientsVisible(bool visible)
{
    for (QWidget *w : std::initializer_list<QWidget *> {Label_3, Label_4, Label_5, Label_6, Label_7,
             Label_8, LineEdit_1, LineEdit_2, LineEdit_3, LineEdit_4, LineEdit_5, LineEdit_6})
        w->setVisible(visible);
}

void RxDataTransWin::operationSelected(int code)
{
    setCoefficientsVisible(false);
    for (QWidget *w : std::initializer_list<QWidget *> {Label_9, Label_10, SpinBox_1, Label_11})
        w->setVisible(false);
    CheckBox_2->setEnabled(true);
    CheckBox_1->setVisible(true);
    updateApply();

    switch (code) {
    case Transform:
        setCoefficientsVisible(true);
        break;
    case Reduce:
        Label_9->setVisible(true);
        SpinBox_1->setVisible(true);
        SpinBox_1->setRange(2, 99);
        SpinBox_1->setValue(2);
        break;
    case Smooth:
        Label_10->setVisible(true);
        SpinBox_1->setVisible(true);
        SpinBox_1->setRange(1, 99);
        SpinBox_1->setValue(1);
        break;
    case Remove:
        CheckBox_2->setChecked(false);
        CheckBox_2->setEnabled(false);
        CheckBox_1->setVisible(false);
        break;
    case LinearFit:
        Label_11->setVisible(true);
        PushButton_1->setEnabled(false);
        break;
    default:
        break;
    }
    allCurves();
}

bool RxDataTransWin::runOn(RxCurve &c, int code, const float *coef, int n) const
{
    switch (code) {
    case Transform:
        c.transform(coef[0], coef[1], coef[2], coef[3], coef[4], coef[5]);
        return true;
    case Reduce:
        return c.reduce(n) == 1;
    case Smooth:
        return c.smooth(n) == 1;
    default:
        return false;
    }
}

// Every result is computed before the document changes, so that a refusal leaves the
// document, the undo copy and the curve chooser as they were.
void RxDataTransWin::applyButton()
{
    if (!m_doc)
        return;
    const int code = ComboBox_2->currentIndex();
    const bool append = CheckBox_1->isChecked();
    const int index = CheckBox_2->isChecked() ? -1 : ComboBox_1->currentIndex();
    float coef[coefCount] = {};
    if (code == Transform && !readCoefficients(coef))
        return;
    const int n = SpinBox_1->value();

    // A curve that declines the operation is neither rewritten nor appended: a copy of
    // it under the result's place would pass for a result. Curves appended by the loop
    // are results, not sources.
    QList<QPair<int, RxCurve>> results;
    const int first = index < 0 ? 0 : index;
    const int last = index < 0 ? m_doc->numCurves() - 1 : index;
    for (int i = first; code != Remove && i <= last; ++i) {
        const RxCurve *source = m_doc->curve(i);
        if (!source)
            continue;
        RxCurve work;
        work = *source;
        if (!runOn(work, code, coef, n))
            continue;
        if (overflows(*source, work, code)) {
            rxFieldError(this,
                QStringLiteral("The results of curve %1 would exceed the range of the "
                               "numbers stored: nothing was changed.")
                    .arg(i + 1));
            return;
        }
        results.append({i, work});
    }

    PushButton_3->setEnabled(true);
    if (m_undo)
        *m_undo = *m_doc;
    else
        m_undo = std::make_unique<RxFile>(*m_doc);
    if (code == Remove && index >= 0)
        m_doc->removeCurve(index);
    for (const auto &result : results) {
        if (append)
            m_doc->addCurve(result.second);
        else
            m_doc->setCurve(result.first, result.second);
    }
    emit dataChanged();

    refillCurves();
    if (index > 0 && code != Remove)
        ComboBox_1->setCurrentIndex(index);
}

// A coefficient must be a number that single precision holds: an infinity would be written
// into every point, and from there into the file.
bool RxDataTransWin::readCoefficients(float *coef)
{
    const QLineEdit *fields[coefCount]
        = {LineEdit_1, LineEdit_2, LineEdit_3, LineEdit_4, LineEdit_5, LineEdit_6};
    const char *names[coefCount] = {"A", "B", "C", "D", "E", "F"};
    for (int i = 0; i < coefCount; ++i) {
        if (!rxFieldNumber(fields[i]->text(), &coef[i])) {
            rxFieldError(this, rxFieldRefusal(fields[i]));
            return false;
        }
        if (!std::isfinite(coef[i])) {
            rxFieldError(this,
                QStringLiteral("%1 = \"%2\" is beyond the range of the numbers stored.")
                    .arg(QLatin1String(names[i]), fields[i]->text()));
            return false;
        }
    }
    return true;
}

void RxDataTransWin::undoButton()
{
    if (!m_undo)
        return;
    *m_doc = *m_undo;
    emit dataChanged();
    m_undo.reset();
    PushButton_3->setEnabled(false);
    refillCurves();
}

void RxDataTransWin::dismissButton()
{
    reject();
}
