#pragma once

#include "app/EditPointWinData.h"

class QValidator;

// Edits one point's type and values. The caller pre-fills it with setValues, runs it and
// reads the result with getValues after Accept.
class EditPointWin : public EditPointWinData
{
    Q_OBJECT
public:
    explicit EditPointWin(QWidget *parent = nullptr, const char *name = nullptr);

    void setValues(int type, float x, float y);
    void getValues(int *type, float *x, float *y) const;

protected slots:
    void acceptButton() override;
    void cancelButton() override;

private:
    int m_type = 0;
    float m_x = 0.0f;
    float m_y = 0.0f;
    QValidator *m_validator;
};
