#pragma once

#include "dialogs/RxScaleWinData.h"
#include "model/RxScale.h"

class RxFile;

// "ReScale": edits a working copy of the document's axis scale and hands it back whole on
// Apply; Auto scales the document from its points. The document is not owned.
class RxScaleWin : public RxScaleWinData
{
    Q_OBJECT
public:
    explicit RxScaleWin(RxFile *doc, QWidget *parent = nullptr);

signals:
    // After every Apply and every Auto.
    void scaleChanged();

protected slots:
    void setVisibles(const QString &text) override;
    void setVisibles() override;
    void autoButton() override;
    void dismissButton() override;
    void applyButton() override;

private:
    void fillControls();

    RxFile *m_doc;
    RxScale m_scale;
};
