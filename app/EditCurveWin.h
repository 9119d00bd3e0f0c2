#pragma once

#include "app/EditCurveWinData.h"
#include "model/RxCurve.h"

class QAction;
class QMenu;
class RxFile;
class PointListModel;

// "Edit Data": lists the points of one curve and edits them one at a time through a
// popup menu. Each edit goes into a working copy of the curve, which is then written back
// to the document whole and announced with dataChanged(). The document is not owned.
class EditCurveWin : public EditCurveWinData
{
    Q_OBJECT
public:
    explicit EditCurveWin(RxFile *doc, QWidget *parent = nullptr);

    void fillCurves();
    // The name of a point type 0 ... 12, else the number; then x and y, each column
    // filled with blanks by the padding rule.
    static QString rowText(int type, float x, float y);
    static QString headerText();

signals:
    void dataChanged();

public slots:
    void editPoint();
    void cutPoint();
    void copyPoint();
    void pastePoint();
    void insertAfter();
    void breakCurve();

protected slots:
    void dismiss() override;
    void changeCurve(int c) override;
    void showPopup(int row) override;

private:
    // The current curve and point exist in the document; every menu action checks this,
    // since the list may have shrunk or the document may have no curves.
    bool havePoint() const;
    void storeCurve();
    void newLineRefused(const char *text);
    void setCurrentRowQuietly(int row);
    QPoint popupPosition(int row) const;
    bool askPoint(int *t, float *x, float *y);
    void insertAfterCurrent(int t, float x, float y);

    RxFile *m_doc;
    RxCurve m_work;
    int m_curve = 0;
    int m_point = 0;
    QMenu *m_popup;
    int m_clipType = 0;
    float m_clipX = 0.0f;
    float m_clipY = 0.0f;
    QAction *m_paste = nullptr;
    int m_filling = 0;
    PointListModel *m_model;
};
