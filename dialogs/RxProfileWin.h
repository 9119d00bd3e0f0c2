#pragma once

#include "dialogs/RxProfileWinData.h"
#include "model/RxProfile.h"

class RxFile;

// "File Format": edits a working copy of the document's column profile and hands it back
// to the document on Accept. The document is not owned.
class RxProfileWin : public RxProfileWinData
{
    Q_OBJECT
public:
    explicit RxProfileWin(RxFile *doc, QWidget *parent = nullptr);

protected slots:
    void setVisibles() override;
    void acceptButton() override;
    void cancelButton() override;

private:
    RxFile *m_doc;
    RxProfile m_profile;
};
