#include "app/EditCurveWin.h"
#include "app/EditPointWin.h"
#include "model/RxFile.h"

#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "RxTestGui.h"

#include <functional>

// "Edit Data" driven through its list, chooser and point menu; the document is the outcome.
class TestEditCurveWin : public QObject
{
    Q_OBJECT

private slots:
    void rowText_data();
    void rowText();
    void chooserListsCurves();
    void menuOpensOnEveryRowChange();
    void cutAndPaste();
    void copyFirstAndNewLineRules();
    void editAndInsert();
    void breakCurveAfter_data();
    void breakCurveAfter();
    void editorKeepsUnnamedType();
    void millionPointsListLazily();
};

namespace {

RxCurve makeCurve(int n, float offset = 0.0f)
{
    RxCurve c;
    for (int i = 0; i < n; ++i)
        c.addPoint(PointLine, offset + static_cast<float>(i), static_cast<float>(10 * i));
    return c;
}

QListView *list(EditCurveWin &w)
{
    return control<QListView>(w, "ListBox_1");
}

QString row(EditCurveWin &w, int r)
{
    QAbstractItemModel *m = list(w)->model();
    return m->data(m->index(r, 0)).toString();
}

QAction *menuAction(EditCurveWin &w, const QString &text)
{
    const auto menus = w.findChildren<QMenu *>();
    for (QAction *a : menus.value(0)->actions()) {
        if (a->text() == text)
            return a;
    }
    return nullptr;
}

// Chooses a row as a double click would, then picks the menu item.
void act(EditCurveWin &w, int r, const char *text)
{
    emit list(w)->activated(list(w)->model()->index(r, 0));
    w.findChild<QMenu *>()->hide();
    QAction *a = menuAction(w, QString::fromLatin1(text));
    QVERIFY2(a, text);
    a->trigger();
}

// Runs fn on the next modal widget of type T once it is up; polling covers boxes that open
// only after an earlier modal dialog has ended.
template <typename T> void whenModal(std::function<void(T *)> fn)
{
    auto *timer = new QTimer;
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [timer, fn] {
        if (auto *t = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            fn(t);
        }
    });
    timer->start();
}

void answerBox(QString *text)
{
    whenModal<QMessageBox>([text](QMessageBox *box) {
        *text = box->windowTitle() + "|" + box->text();
        box->button(QMessageBox::Ok)->click();
    });
}

// Accepts the point editor with type (-1 leaves the chooser), x and y; records whether the
// type chooser could be changed.
void answerEditor(int type, const QString &x, const QString &y, bool *typeEnabled = nullptr)
{
    whenModal<EditPointWin>([=](EditPointWin *ed) {
        auto *types = control<QComboBox>(*ed, "ComboBox_2");
        if (typeEnabled)
            *typeEnabled = types->isEnabled();
        if (type >= 0)
            types->setCurrentIndex(type);
        control<QLineEdit>(*ed, "LineEdit_1")->setText(x);
        control<QLineEdit>(*ed, "LineEdit_2")->setText(y);
        control<QPushButton>(*ed, "PushButton_2")->click();
    });
}

const QString splitMessage
    = "New Line|Splitting a curve by inserting a new line\nControl is not supported";

} // namespace

void TestEditCurveWin::rowText_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<QString>("text");
    const QString b(40, ' ');
    QTest::newRow("named type") << 1 << 1.5f << 2.0f
                                << "line" + b.left(15) + "1.5" + b.left(7) + "2";
    QTest::newRow("type past the names")
        << 13 << 0.0f << -1.0f << "13" + b.left(17) + "0" + b.left(9) + "-1";
    QTest::newRow("negative type")
        << -1 << 0.0f << 0.0f << "-1" + b.left(17) + "0" + b.left(9) + "0";
    QTest::newRow("x fills its column, a blank still parts the numbers")
        << 16 << -1.23457e-20f << 5.0f << "16" + b.left(17) + "-1.23457e-20" + " 5";
    QTest::newRow("x exactly fills its column")
        << 0 << 0.0628318f << 0.0627905f << "new line" + b.left(11) + "0.0628318 0.0627905";
    QTest::newRow("longest name") << 12 << 100000.0f << 1e6f
                                  << "solid arrow line" + b.left(3) + "100000" + b.left(4)
            + "1e+06";
}

void TestEditCurveWin::rowText()
{
    QFETCH(int, type);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(QString, text);
    QCOMPARE(EditCurveWin::rowText(type, x, y), text);
}

void TestEditCurveWin::chooserListsCurves()
{
    RxFile doc;
    doc.addCurve(makeCurve(3));
    doc.addCurve(makeCurve(5));
    doc.addCurve(makeCurve(2));
    EditCurveWin w(&doc);
    w.show();
    QCOMPARE(w.windowTitle(), QString("Edit Data"));
    QCOMPARE(control<QLabel>(w, "Label_2")->text(),
        "Type" + QString(15, ' ') + "X Value" + QString(3, ' ') + "Y Value");
    auto *chooser = control<QComboBox>(w, "ComboBox_1");
    QCOMPARE(chooser->count(), 3);
    QCOMPARE(chooser->itemText(2), QString("3"));
    QCOMPARE(chooser->currentIndex(), 0);
    QCOMPARE(list(w)->model()->rowCount(), 3);
    QCOMPARE(list(w)->currentIndex().row(), 0);
    QVERIFY(!w.findChild<QMenu *>()->isVisible()); // filling the list opens no menu

    emit chooser->activated(1);
    QCOMPARE(list(w)->model()->rowCount(), 5);
    QCOMPARE(row(w, 4), EditCurveWin::rowText(PointLine, 4.0f, 40.0f));

    RxFile empty;
    EditCurveWin none(&empty);
    QCOMPARE(control<QComboBox>(none, "ComboBox_1")->count(), 0);
    QCOMPARE(none.findChild<QListView *>()->model()->rowCount(), 0);
    act(none, 0, "Cut"); // nothing to act on: no crash, no change
    QCOMPARE(empty.numCurves(), 0);
}

void TestEditCurveWin::menuOpensOnEveryRowChange()
{
    RxFile doc;
    doc.addCurve(makeCurve(4));
    EditCurveWin w(&doc);
    w.show();
    auto *menu = w.findChild<QMenu *>();
    QStringList texts;
    for (QAction *a : menu->actions())
        texts << (a->isSeparator() ? "-" : a->text());
    QCOMPARE(texts,
        QStringList({"Cut", "Copy", "Paste", "-", "Edit...", "-", "Insert After...", "-",
            "Break Curve After"}));
    QVERIFY(!menuAction(w, "Paste")->isEnabled());

    // A key opens the menu below the row it moved to, though the pointer is far away.
    QWidget *rows = list(w)->viewport();
    QCursor::setPos(790, 590);
    list(w)->setFocus();
    QTest::keyClick(list(w), Qt::Key_Down);
    QCOMPARE(list(w)->currentIndex().row(), 1);
    QVERIFY(menu->isVisible());
    const QRect second = list(w)->visualRect(list(w)->currentIndex());
    QCOMPARE(menu->pos(), rows->mapToGlobal(QPoint(second.left(), second.bottom() + 1)));
    menu->hide();

    // A click opens it at the pointer, on the row clicked.
    const QPoint onRow = list(w)->visualRect(list(w)->model()->index(3, 0)).center();
    QCursor::setPos(rows->mapToGlobal(onRow));
    QTest::mouseClick(rows, Qt::LeftButton, {}, onRow);
    QCOMPARE(menu->pos(), rows->mapToGlobal(onRow));
    menu->hide();
}

void TestEditCurveWin::cutAndPaste()
{
    RxFile doc;
    RxCurve c = makeCurve(6);
    c.setPoint(4, PointCross, 4.0f, 40.0f);
    doc.addCurve(c);
    EditCurveWin w(&doc);
    QSignalSpy changed(&w, &EditCurveWin::dataChanged);

    act(w, 4, "Cut");
    QCOMPARE(doc.curve(0)->numPoints(), 5);
    QCOMPARE(list(w)->model()->rowCount(), 5);
    QCOMPARE(changed.count(), 1);
    QVERIFY(menuAction(w, "Paste")->isEnabled());

    act(w, 1, "Paste");
    QCOMPARE(doc.curve(0)->numPoints(), 6);
    QCOMPARE(doc.curve(0)->pointType(2), int(PointCross));
    QCOMPARE(doc.curve(0)->x(2), 4.0f);
    QCOMPARE(row(w, 2), EditCurveWin::rowText(PointCross, 4.0f, 40.0f));
    QCOMPARE(row(w, 5), EditCurveWin::rowText(PointLine, 5.0f, 50.0f));
    QCOMPARE(changed.count(), 2);

    // The last point cut: the old index is past the end and must not be used again.
    act(w, 5, "Cut");
    menuAction(w, "Paste")->trigger();
    menuAction(w, "Edit...")->trigger();
    QCOMPARE(doc.curve(0)->numPoints(), 5);
    QCOMPARE(changed.count(), 3);
}

void TestEditCurveWin::copyFirstAndNewLineRules()
{
    RxFile doc;
    doc.addCurve(makeCurve(4));
    EditCurveWin w(&doc);
    QSignalSpy changed(&w, &EditCurveWin::dataChanged);

    QString message;
    answerBox(&message);
    act(w, 0, "Cut");
    QCOMPARE(message,
        QString("New Line|Curve must start with 'New Line' data point\n"
                "Change its data values instead."));
    QCOMPARE(doc.curve(0)->numPoints(), 4);

    act(w, 0, "Copy");
    QCOMPARE(changed.count(), 0);
    act(w, 2, "Paste");
    QCOMPARE(doc.curve(0)->pointType(3), int(PointNewLine));

    // A "new line" point past the first cannot be given any values.
    bool typeEnabled = true;
    message.clear();
    answerEditor(-1, "7", "8", &typeEnabled);
    answerBox(&message);
    act(w, 3, "Edit...");
    QVERIFY(!typeEnabled);
    QCOMPARE(message, splitMessage);
    QCOMPARE(doc.curve(0)->x(3), 0.0f);

    message.clear();
    answerEditor(PointNewLine, "1", "1");
    answerBox(&message);
    act(w, 1, "Insert After...");
    QCOMPARE(message, splitMessage);
    QCOMPARE(doc.curve(0)->numPoints(), 5);
    QCOMPARE(changed.count(), 1);
}

void TestEditCurveWin::editAndInsert()
{
    RxFile doc;
    doc.addCurve(makeCurve(3));
    EditCurveWin w(&doc);
    QSignalSpy changed(&w, &EditCurveWin::dataChanged);

    bool typeEnabled = true;
    answerEditor(-1, "-2.5", "", &typeEnabled);
    act(w, 0, "Edit...");
    QVERIFY(!typeEnabled);
    QCOMPARE(doc.curve(0)->pointType(0), int(PointNewLine));
    QCOMPARE(doc.curve(0)->x(0), -2.5f);
    QCOMPARE(doc.curve(0)->y(0), 0.0f);
    QCOMPARE(row(w, 0), EditCurveWin::rowText(PointNewLine, -2.5f, 0.0f));

    answerEditor(PointCircle, "1e3", "7", &typeEnabled);
    act(w, 2, "Edit...");
    QVERIFY(typeEnabled);
    QCOMPARE(doc.curve(0)->pointType(2), int(PointCircle));
    QCOMPARE(row(w, 2), EditCurveWin::rowText(PointCircle, 1000.0f, 7.0f));

    answerEditor(-1, "3", "4");
    act(w, 0, "Insert After...");
    QCOMPARE(doc.curve(0)->numPoints(), 4);
    QCOMPARE(doc.curve(0)->pointType(1), int(PointNewLine));
    QCOMPARE(row(w, 1), EditCurveWin::rowText(PointNewLine, 3.0f, 4.0f));
    QCOMPARE(changed.count(), 3);

    whenModal<EditPointWin>(
        [](EditPointWin *ed) { control<QPushButton>(*ed, "PushButton_3")->click(); });
    act(w, 1, "Edit...");
    QCOMPARE(changed.count(), 3);
}

void TestEditCurveWin::breakCurveAfter_data()
{
    QTest::addColumn<int>("point");
    QTest::addColumn<int>("kept");
    QTest::addColumn<int>("curves");
    QTest::newRow("middle") << 3 << 4 << 3;
    QTest::newRow("two points follow") << 7 << 8 << 3;
    QTest::newRow("one point follows") << 8 << 10 << 2;
}

void TestEditCurveWin::breakCurveAfter()
{
    QFETCH(int, point);
    QFETCH(int, kept);
    QFETCH(int, curves);
    RxFile doc;
    doc.addCurve(makeCurve(2));
    doc.addCurve(makeCurve(10, 100.0f));
    EditCurveWin w(&doc);
    w.show();
    auto *chooser = control<QComboBox>(w, "ComboBox_1");
    chooser->setCurrentIndex(1);
    emit chooser->activated(1);
    QSignalSpy changed(&w, &EditCurveWin::dataChanged);

    act(w, point, "Break Curve After");
    QCOMPARE(doc.numCurves(), curves);
    QCOMPARE(doc.curve(1)->numPoints(), kept);
    QCOMPARE(chooser->count(), curves);
    QCOMPARE(changed.count(), curves == 3 ? 1 : 0);
    // The list goes on showing the broken curve, with the break point current.
    QCOMPARE(chooser->currentIndex(), 1);
    QCOMPARE(list(w)->model()->rowCount(), kept);
    if (curves == 3) {
        QCOMPARE(list(w)->currentIndex().row(), point);
        QCOMPARE(doc.curve(2)->x(0), 100.0f + static_cast<float>(point + 1));
    }
}

void TestEditCurveWin::editorKeepsUnnamedType()
{
    EditPointWin ed;
    ed.setValues(13, 1.0f, 2.0f);
    control<QLineEdit>(ed, "LineEdit_1")->setText("5");
    control<QPushButton>(ed, "PushButton_2")->click();
    int t = 0;
    float x = 0.0f;
    float y = 0.0f;
    ed.getValues(&t, &x, &y);
    QCOMPARE(t, 13);
    QCOMPARE(x, 5.0f);
    QCOMPARE(ed.result(), 1);

    // A comma is no decimal mark on a point desktop: it stays in sight and is refused,
    // never dropped to read as -15e2.
    DefaultLocale desktop(QLocale::c());
    auto *field = control<QLineEdit>(ed, "LineEdit_2");
    field->clear();
    QTest::keyClicks(field, "-1,5e2x");
    QCOMPARE(field->text(), QString("-1,5e2"));
    ed.setResult(0);
    {
        ModalAnswers answers;
        control<QPushButton>(ed, "PushButton_2")->click();
        QCOMPARE(answers.seen.size(), 1);
    }
    QCOMPARE(ed.result(), 0);
    ed.getValues(&t, &x, &y);
    QCOMPARE(y, 2.0f);
}

void TestEditCurveWin::millionPointsListLazily()
{
    RxFile doc;
    doc.addCurve(makeCurve(1000000));
    EditCurveWin w(&doc);
    w.show();
    QCOMPARE(list(w)->model()->rowCount(), 1000000);
    QCOMPARE(row(w, 999999), EditCurveWin::rowText(PointLine, 999999.0f, 9999990.0f));
}

QTEST_MAIN(TestEditCurveWin)
#include "TestEditCurveWin.moc"
