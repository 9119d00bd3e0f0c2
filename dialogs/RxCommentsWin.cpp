#include "dialogs/RxCommentsWin.h"

#include "dialogs/RxFieldText.h"
#include "dialogs/RxNumberValidator.h"
#include "dialogs/RxRadioFocus.h"
#include "model/RxCurve.h"
#include "model/RxFile.h"
#include "render/RxDraw.h"

#include <initializer_list>

RxCommentsWin::RxCommentsWin(RxFile *doc, QWidget *parent)
    : RxCommentsWinData(parent)
    , m_doc(doc)
{
    if (m_doc)
        m_comments = m_doc->comments();

    // Rows and columns are usually 0 to 100, but no range is enforced: it would refuse a
    // leading minus sign or a position beyond the page while it is being typed.
    m_realValidator = new RxNumberValidator(false, this);
    m_wholeValidator = new RxNumberValidator(true, this);
    rxFollowCheckedButton(ButtonGroup_1);

    for (int i = 0; i < RxCurve::numColors; ++i)
        ComboBox_2->addItem(QString::fromLatin1(RxCurve::colorName(i)));
    // The PostScript names without their leading "/".
    for (int i = 0; i < RxDraw::numFonts; ++i)
        ComboBox_1->addItem(QString::fromLatin1(RxDraw::fontName(i) + 1));
    LineEdit_4->setValidator(m_realValidator);
    setEditingEnabled(m_comments.numComments() > 0);

    const int n = m_comments.numComments();
    if (n == 0)
        return;
    for (int i = 1; i <= n; ++i)
        ComboBox_3->addItem(QString::number(i));
    ComboBox_3->setCurrentIndex(0);
    setComment(0);
}

// Disabled controls show nothing: they would pass for a comment that no longer exists.
void RxCommentsWin::setEditingEnabled(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *> {ComboBox_3, LineEdit_1, LineEdit_2,
             LineEdit_3, ComboBox_1, LineEdit_4, ComboBox_2, PushButton_4, PushButton_3})
        w->setEnabled(enabled);
    if (enabled)
        return;
    for (QLineEdit *field : {LineEdit_1, LineEdit_2, LineEdit_3, LineEdit_4})
        field->clear();
    ComboBox_1->setCurrentIndex(-1);
    ComboBox_2->setCurrentIndex(-1);
}

void RxCommentsWin::setPositionValidator(bool rowCol)
{
    QValidator *v = rowCol ? static_cast<QValidator *>(m_wholeValidator) : m_realValidator;
    LineEdit_2->setValidator(v);
    LineEdit_3->setValidator(v);
}

void RxCommentsWin::store()
{
    if (m_doc)
        m_doc->setComments(m_comments);
    emit commentsChanged();
}

// Shows the comment of the chooser's current item; the argument is not needed.
void RxCommentsWin::setComment(int)
{
    const int k = ComboBox_3->currentIndex();
    if (k < 0)
        return;
    LineEdit_1->setText(QString::fromLatin1(m_comments.text(k)));
    const bool rowCol = m_comments.locType(k) == 0;
    (rowCol ? RadioButton_1 : RadioButton_2)->setChecked(true);
    setPositionValidator(rowCol);
    LineEdit_2->setText(rxFieldText(m_comments.y(k)));
    LineEdit_3->setText(rxFieldText(m_comments.x(k)));
    LineEdit_4->setText(rxFieldText(m_comments.fontSize(k)));
    ComboBox_1->setCurrentIndex(m_comments.font(k));
    ComboBox_2->setCurrentIndex(m_comments.color(k));
}

// The texts already typed stay: only what may be typed next changes.
void RxCommentsWin::locationTypeChanged()
{
    setPositionValidator(RadioButton_1->isChecked());
}

void RxCommentsWin::updateButton()
{
    changeComment();
}

// A text that reads as no number its field shows refuses the whole Apply. Afterwards the
// fields show what the comment holds, a refused font size included.
void RxCommentsWin::changeComment()
{
    const int k = ComboBox_3->currentIndex();
    if (k < 0)
        return;
    const int kind = RadioButton_1->isChecked() ? 0 : 1;
    RxFieldReader read;
    const float x = read(LineEdit_3, m_comments.x(k));
    const float y = read(LineEdit_2, m_comments.y(k));
    const float size = read(LineEdit_4, m_comments.fontSize(k));
    if (!read.check(this))
        return;
    m_comments.setComment(k, LineEdit_1->text().toLatin1(), x, y, kind);
    m_comments.setColor(k, ComboBox_2->currentIndex());
    m_comments.setFont(k, ComboBox_1->currentIndex());
    m_comments.setFontSize(k, size);
    setComment(k);
    store();
}

void RxCommentsWin::addButton()
{
    m_comments.addComment("(blank)", 20.0f, 2.0f, 0);
    const int n = m_comments.numComments();
    if (n == 1)
        setEditingEnabled(true);
    ComboBox_3->addItem(QString::number(n));
    ComboBox_3->setCurrentIndex(n - 1);
    setComment(0);
    store();
}

void RxCommentsWin::deleteButton()
{
    if (!m_comments.removeComment(ComboBox_3->currentIndex()))
        return;
    // The items are numbers, not names: dropping the last keeps them "1" ... "n".
    ComboBox_3->removeItem(ComboBox_3->count() - 1);
    if (m_comments.numComments() == 0) {
        setEditingEnabled(false);
    } else {
        ComboBox_3->setCurrentIndex(0);
        setComment(0);
    }
    store();
}

void RxCommentsWin::dismissButton()
{
    reject();
}
