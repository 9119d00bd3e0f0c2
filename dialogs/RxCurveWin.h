#pragma once

#include "dialogs/RxCurveWinData.h"

class QValidator;
class RxFile;

// "Curve Format": shows and sets the colour, line type, line width and dash pattern length
// of one curve of the document, straight in the document on Apply. The document is not
// owned.
class RxCurveWin : public RxCurveWinData
{
    Q_OBJECT
public:
    explicit RxCurveWin(RxFile *doc, QWidget *parent = nullptr);

signals:
    // After every Apply.
    void curveChanged();

protected slots:
    void setCurve(int item) override;
    void dismissButton() override;
    void applyButton() override;

private:
    RxFile *m_doc;
    QValidator *m_validator = nullptr; // owned through Qt parenthood
};
