#include "app/EditCurveWin.h"

#include "app/EditPointWin.h"
#include "model/RxFile.h"

#include <QAbstractListModel>
#include <QCursor>
#include <QMenu>
#include <QMessageBox>

#include <algorithm>

// The rows are made from the working curve only when the view asks for them, so that a
// curve of a million points opens at once.
class PointListModel : public QAbstractListModel
{
public:
    PointListModel(const RxCurve *curve, QObject *parent)
        : QAbstractListModel(parent)
        , m_curve(curve)
    { }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_curve->numPoints();
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const int i = index.row();
        return EditCurveWin::rowText(m_curve->pointType(i), m_curve->x(i), m_curve->y(i));
    }

    void beginReset() { beginResetModel(); }
    void endReset() { endResetModel(); }
    void beginInsert(int row) { beginInsertRows(QModelIndex(), row, row); }
    void endInsert() { endInsertRows(); }
    void beginRemove(int row) { beginRemoveRows(QModelIndex(), row, row); }
    void endRemove() { endRemoveRows(); }
    void rowChanged(int row) { emit QAbstractListModel::dataChanged(index(row), index(row)); }

private:
    const RxCurve *m_curve;
};

namespace {

// Blanks up to width + 1 characters; a text that already fills its column still gets one,
// or "-1.23457e-20" and "5" would read as the single number -1.23457e-205.
void pad(QString &text, int width)
{
    text += QString(text.size() < width ? width - text.size() + 1 : 1, QLatin1Char(' '));
}

QString numberText(float v)
{
    return QString::number(static_cast<double>(v), 'g', 6);
}

} // namespace

EditCurveWin::EditCurveWin(RxFile *doc, QWidget *parent)
    : EditCurveWinData(parent)
    , m_doc(doc)
    , m_popup(new QMenu(this))
    , m_model(new PointListModel(&m_work, this))
{
    setWindowTitle(QStringLiteral("Edit Data"));
    ListBox_1->setModel(m_model);
    connect(ListBox_1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex &current) { showPopup(current.row()); });

    fillCurves();

    connect(m_popup->addAction(QStringLiteral("Cut")), &QAction::triggered, this,
        &EditCurveWin::cutPoint);
    connect(m_popup->addAction(QStringLiteral("Copy")), &QAction::triggered, this,
        &EditCurveWin::copyPoint);
    m_paste = m_popup->addAction(QStringLiteral("Paste"));
    m_paste->setEnabled(false);
    connect(m_paste, &QAction::triggered, this, &EditCurveWin::pastePoint);
    m_popup->addSeparator();
    connect(m_popup->addAction(QStringLiteral("Edit...")), &QAction::triggered, this,
        &EditCurveWin::editPoint);
    m_popup->addSeparator();
    connect(m_popup->addAction(QStringLiteral("Insert After...")), &QAction::triggered, this,
        &EditCurveWin::insertAfter);
    m_popup->addSeparator();
    connect(m_popup->addAction(QStringLiteral("Break Curve After")), &QAction::triggered, this,
        &EditCurveWin::breakCurve);

    Label_2->setText(headerText());
}

QString EditCurveWin::rowText(int type, float x, float y)
{
    QString text = type >= 0 && type < RxCurve::numPointTypes
        ? QString::fromLatin1(RxCurve::pointTypeName(type))
        : QString::number(type);
    pad(text, 18);
    text += numberText(x);
    pad(text, 28);
    text += numberText(y);
    return text;
}

QString EditCurveWin::headerText()
{
    QString text = QStringLiteral("Type");
    pad(text, 18);
    text += QStringLiteral("X Value");
    pad(text, 28);
    text += QStringLiteral("Y Value");
    return text;
}

void EditCurveWin::fillCurves()
{
    ComboBox_1->clear();
    const int n = m_doc ? m_doc->numCurves() : 0;
    for (int i = 1; i <= n; ++i)
        ComboBox_1->addItem(QString::number(i));
    ComboBox_1->setCurrentIndex(0);
    m_filling = 0;
    changeCurve(0);
}

void EditCurveWin::dismiss()
{
    done(0);
}

void EditCurveWin::changeCurve(int c)
{
    // Clearing the list moves its current row too, which must not open the menu.
    m_filling = 1;
    m_model->beginReset();
    m_work = m_doc && c >= 0 && c < m_doc->numCurves() ? *m_doc->curve(c) : RxCurve();
    m_model->endReset();
    m_curve = c;
    if (m_work.numPoints() > 0)
        ListBox_1->setCurrentIndex(m_model->index(0));
    m_filling = 0;
}

void EditCurveWin::showPopup(int row)
{
    if (m_filling || row < 0)
        return;
    m_point = row;
    // popup() rather than exec(): the arrow keys keep moving through the list, and
    // nothing waits for the menu to close.
    m_popup->popup(popupPosition(row));
}

// A click opens the menu on the row under the pointer, so it opens there. A key opens it on
// the row it moved to while the pointer may be anywhere on the screen: then it opens below
// that row, within the list's visible part.
QPoint EditCurveWin::popupPosition(int row) const
{
    QWidget *viewport = ListBox_1->viewport();
    const QRect rect = ListBox_1->visualRect(m_model->index(row));
    const QPoint pointer = QCursor::pos();
    if (rect.contains(viewport->mapFromGlobal(pointer)))
        return pointer;
    QPoint below(rect.left(), rect.bottom() + 1);
    const QRect visible = viewport->rect();
    if (visible.isValid()) {
        below = QPoint(std::clamp(below.x(), visible.left(), visible.right()),
            std::clamp(below.y(), visible.top(), visible.bottom()));
    }
    return viewport->mapToGlobal(below);
}

bool EditCurveWin::havePoint() const
{
    return m_doc && m_curve >= 0 && m_curve < m_doc->numCurves() && m_point >= 0
        && m_point < m_work.numPoints();
}

void EditCurveWin::storeCurve()
{
    m_doc->setCurve(m_curve, m_work);
}

void EditCurveWin::newLineRefused(const char *text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("New Line"), QString::fromLatin1(text),
        QMessageBox::Ok, this);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

void EditCurveWin::setCurrentRowQuietly(int row)
{
    m_filling = 1;
    ListBox_1->setCurrentIndex(m_model->index(row));
    m_filling = 0;
}

// Runs the point editor on the current point. False when it is cancelled or its answer
// would start a new line inside the curve, which is refused with a message.
bool EditCurveWin::askPoint(int *t, float *x, float *y)
{
    EditPointWin editor(this);
    editor.setValues(m_work.pointType(m_point), m_work.x(m_point), m_work.y(m_point));
    if (editor.exec() != 1)
        return false;
    editor.getValues(t, x, y);
    if (*t == PointNewLine && m_point != 0) {
        newLineRefused("Splitting a curve by inserting a new line\nControl is not supported");
        return false;
    }
    return true;
}

void EditCurveWin::editPoint()
{
    if (!havePoint())
        return;
    int t = 0;
    float x = 0.0f;
    float y = 0.0f;
    if (!askPoint(&t, &x, &y))
        return;
    const int before = m_work.numPoints();
    m_work.setPoint(m_point, t, x, y);
    storeCurve();
    if (m_work.numPoints() == before) {
        m_model->rowChanged(m_point);
    } else {
        // A first point that was not of type "new line" gained a copy behind it.
        const int point = m_point;
        m_filling = 1;
        m_model->beginReset();
        m_model->endReset();
        m_filling = 0;
        setCurrentRowQuietly(point);
    }
    emit dataChanged();
}

void EditCurveWin::cutPoint()
{
    if (!havePoint())
        return;
    if (m_point == 0) {
        newLineRefused(
            "Curve must start with 'New Line' data point\nChange its data values instead.");
        return;
    }
    m_clipType = m_work.pointType(m_point);
    m_clipX = m_work.x(m_point);
    m_clipY = m_work.y(m_point);
    m_filling = 1;
    m_model->beginRemove(m_point);
    m_work.removePoint(m_point);
    m_model->endRemove();
    m_filling = 0;
    storeCurve();
    m_paste->setEnabled(true);
    emit dataChanged();
}

void EditCurveWin::copyPoint()
{
    if (!havePoint())
        return;
    m_clipType = m_work.pointType(m_point);
    m_clipX = m_work.x(m_point);
    m_clipY = m_work.y(m_point);
    m_paste->setEnabled(true);
}

void EditCurveWin::pastePoint()
{
    if (!m_paste->isEnabled() || !havePoint())
        return;
    insertAfterCurrent(m_clipType, m_clipX, m_clipY);
}

void EditCurveWin::insertAfter()
{
    if (!havePoint())
        return;
    int t = 0;
    float x = 0.0f;
    float y = 0.0f;
    if (!askPoint(&t, &x, &y))
        return;
    insertAfterCurrent(t, x, y);
}

// Puts a point after the current one, in the list and in the document.
void EditCurveWin::insertAfterCurrent(int t, float x, float y)
{
    m_filling = 1;
    m_model->beginInsert(m_point + 1);
    m_work.insertPoint(m_point, t, x, y);
    m_model->endInsert();
    m_filling = 0;
    storeCurve();
    emit dataChanged();
}

void EditCurveWin::breakCurve()
{
    if (!havePoint() || !m_doc->splitCurve(m_curve, m_point))
        return;
    // fillCurves shows the first curve; the list and the chooser go back to the curve
    // that was broken, so that the break point's row is a row of the curve it names.
    const int curve = m_curve;
    const int point = m_point;
    fillCurves();
    emit dataChanged();
    ComboBox_1->setCurrentIndex(curve);
    changeCurve(curve);
    setCurrentRowQuietly(point);
    ListBox_1->scrollTo(m_model->index(point), QAbstractItemView::PositionAtCenter);
}
