#pragma once

#include "dialogs/RxCommentsWinData.h"
#include "model/RxComments.h"

class QValidator;
class RxFile;

// "Comments": adds, removes and edits the document's comments on a working copy, which
// every Apply, Add and Delete hands back to the document whole. The document is not owned.
class RxCommentsWin : public RxCommentsWinData
{
    Q_OBJECT
public:
    explicit RxCommentsWin(RxFile *doc, QWidget *parent = nullptr);

signals:
    // After every Apply, Add and Delete.
    void commentsChanged();

protected slots:
    void updateButton() override;
    void setComment(int index) override;
    void dismissButton() override;
    void addButton() override;
    void deleteButton() override;
    void locationTypeChanged() override;
    // Stores the fields into the comment shown; values the comments refuse stay as they were.
    void changeComment();

private:
    void setEditingEnabled(bool enabled);
    void setPositionValidator(bool rowCol);
    void store();

    RxComments m_comments;
    RxFile *m_doc;
    // Owned through Qt parenthood.
    QValidator *m_realValidator = nullptr;
    QValidator *m_wholeValidator = nullptr;
};
