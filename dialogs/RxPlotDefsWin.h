#pragma once

#include "dialogs/RxPlotDefsWinData.h"
#include "model/RxPlotDefs.h"

class QValidator;
class RxFieldReader;
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
    // Values the settings refuse stay as they were in the working copy. False, with the
    // working copy unchanged, when a field's text reads as no number it shows.
    bool readSettings(RxFieldReader &read);

    RxFile *m_doc;
    RxPlotDefs m_defs;
    QValidator *m_validator = nullptr; // owned through Qt parenthood
};
