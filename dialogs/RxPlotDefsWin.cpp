#include "dialogs/RxPlotDefsWin.h"

#include "dialogs/RxFieldText.h"
#include "dialogs/RxNumberValidator.h"
#include "dialogs/RxRadioFocus.h"
#include "model/RxCurve.h"
#include "model/RxFile.h"
#include "render/RxDraw.h"

namespace {

int flag(const QCheckBox *box)
{
    return box->isChecked() ? 1 : 0;
}

} // namespace

RxPlotDefsWin::RxPlotDefsWin(RxFile *doc, QWidget *parent)
    : RxPlotDefsWinData(parent)
    , m_doc(doc)
{
    if (m_doc)
        m_defs = m_doc->plotDefs();

    m_validator = new RxNumberValidator(false, this);

    for (int i = 0; i < RxCurve::numColors; ++i)
        ComboBox_2->addItem(QString::fromLatin1(RxCurve::colorName(i)));
    // The PostScript names without their leading "/".
    for (int i = 0; i < RxDraw::numFonts; ++i)
        ComboBox_1->addItem(QString::fromLatin1(RxDraw::fontName(i) + 1));
    for (int i = 0; i < RxPlotDefs::numJoins; ++i)
        ComboBox_3->addItem(QString::fromLatin1(RxPlotDefs::joinName(i)));
    LineEdit_3->setValidator(m_validator);
    LineEdit_1->setValidator(m_validator);
    LineEdit_2->setValidator(m_validator);
    showSettings();
    rxFollowCheckedButton(ButtonGroup_1);
}

void RxPlotDefsWin::showSettings()
{
    CheckBox_1->setChecked(m_defs.encapsulated() == 1);
    ComboBox_3->setCurrentIndex(m_defs.psJoin());
    const bool portrait = m_defs.rotatePlot() == 1;
    RadioButton_1->setChecked(portrait);
    RadioButton_2->setChecked(!portrait);
    LineEdit_1->setText(rxFieldText(m_defs.xPlotSize()));
    LineEdit_2->setText(rxFieldText(m_defs.yPlotSize()));
    CheckBox_2->setChecked(m_defs.plotAxes() == 1);
    CheckBox_3->setChecked(m_defs.plotComments() == 1);
    CheckBox_4->setChecked(m_defs.plotCurves() == 1);
    ComboBox_1->setCurrentIndex(m_defs.axesFont());
    LineEdit_3->setText(rxFieldText(m_defs.fontSize()));
    ComboBox_2->setCurrentIndex(m_defs.axesColor());
    LineEdit_4->setText(rxFieldText(m_defs.symbolSize()));
    LineEdit_5->setText(rxFieldText(m_defs.arrowSize()));
}

bool RxPlotDefsWin::readSettings(RxFieldReader &read)
{
    const float xSize = read(LineEdit_1, m_defs.xPlotSize());
    const float ySize = read(LineEdit_2, m_defs.yPlotSize());
    const float fontSize = read(LineEdit_3, m_defs.fontSize());
    const float symbolSize = read(LineEdit_4, m_defs.symbolSize());
    const float arrowSize = read(LineEdit_5, m_defs.arrowSize());
    if (!read.ok())
        return false;
    m_defs.setEncapsulated(flag(CheckBox_1));
    m_defs.setPsJoin(ComboBox_3->currentIndex());
    m_defs.setRotatePlot(RadioButton_1->isChecked() ? 1 : 0);
    m_defs.setPlotSize(xSize, ySize);
    m_defs.setPlotAxes(flag(CheckBox_2));
    m_defs.setPlotComments(flag(CheckBox_3));
    m_defs.setPlotCurves(flag(CheckBox_4));
    m_defs.setAxesFont(ComboBox_1->currentIndex());
    m_defs.setAxesColor(ComboBox_2->currentIndex());
    m_defs.setFontSize(fontSize);
    m_defs.setSymbolSize(symbolSize);
    m_defs.setArrowSize(arrowSize);
    return true;
}

// Refused values are shown as the working copy keeps them, so that a dialog left open
// shows the settings that a later Accept checks.
void RxPlotDefsWin::acceptButton()
{
    RxFieldReader read;
    if (!readSettings(read)) {
        showError(read.refusal());
        return;
    }
    showSettings();
    // Without an output the renderer only checks the plot size against the page.
    RxDraw check;
    if (!check.beginPostScript(nullptr, m_defs, RxScale())) {
        showError(QStringLiteral("Plot Size Bad"));
        return;
    }
    if (m_doc)
        m_doc->setPlotDefs(m_defs);
    emit plotDefsChanged();
    done(0);
}

void RxPlotDefsWin::cancelButton()
{
    reject();
}

void RxPlotDefsWin::showError(const QString &text)
{
    rxFieldError(this, text);
}
