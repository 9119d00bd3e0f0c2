#pragma once

#include "dialogs/RxDataTransWinData.h"

#include <memory>

class QValidator;
class RxCurve;
class RxFile;

// "Data Transformations": applies a linear transformation, point reduction, smoothing or
// removal to one curve or to all curves of the document, in place or appended, with one
// level of undo. The document is not owned; the undo copy is, and dies with the dialog.
class RxDataTransWin : public RxDataTransWinData
{
    Q_OBJECT
public:
    explicit RxDataTransWin(RxFile *doc, QWidget *parent = nullptr);
    ~RxDataTransWin() override;

signals:
    // After every Apply and every Undo.
    void dataChanged();

protected slots:
    void applyButton() override;
    void dismissButton() override;
    void allCurves() override;
    void operationSelected(int code) override;
    void undoButton() override;

private:
    void refillCurves();
    void updateApply();
    void setCoefficientsVisible(bool visible);
    // Runs the operation on c. False when the curve declined it (c is then unchanged).
    bool runOn(RxCurve &c, int code, const float *coef, int n) const;
    // The six coefficients into coef. False, after saying why, when one is refused.
    bool readCoefficients(float *coef);

    RxFile *m_doc;
    std::unique_ptr<RxFile> m_undo; // the document as it was before the last Apply
    QValidator *m_validator = nullptr; // owned through Qt parenthood
};
