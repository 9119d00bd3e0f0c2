#pragma once

#include "dialogs/RxPlotDefsWinData.h"
#include "model/RxPlotDefs.h"

class QDoubleValidator;
class RxFile;

// "Page Setup": edits a working copy of the document's plot settings and hands it back on
// Accept, once the renderer has found the plot size fits the page. The document is not owned.
class RxPlotDefsWin : public RxPlotDefsWinData
{
    Q_OBJECT
public:
    explicit RxPlotDefsWin(RxFile *doc, QWidget *parent = nullptr);

signals:
    // When Accept has stored new settings.
    void plotDefsChanged();

protected slots:
    void cancelButton() override;
    void acceptButton() override;

protected:
    // A modal "Error" box with text; a seam so that tests can answer it.
    virtual void showError(const QString &text);

private:
    void showSettings();
    // Values the settings refuse stay as they were in the working copy.
    void readSettings();

    RxFile *m_doc;
    RxPlotDefs m_defs;
    QDoubleValidator *m_validator = nullptr; // owned through Qt parenthood
};
