#include "dialogs/RxProfileWin.h"
#include "model/RxFile.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

#include "RxTestGui.h"

// "File Format" driven through its controls; the document's profile is the outcome.
class TestRxProfileWin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void showsProfile_data();
    void showsProfile();
    void layoutChoiceEnablesItsControls();
    void acceptStores_data();
    void acceptStores();
    void cancelStoresNothing_data();
    void cancelStoresNothing();
};

namespace {

struct Profile
{
    int useDelim;
    char delim;
    int dataLen;
    int inVecLen;
};

RxProfile makeProfile(const Profile &p)
{
    RxProfile r;
    r.setUseEof(2);
    r.setUseDelim(p.useDelim);
    r.setDelimChar(p.delim);
    r.setDataLen(p.dataLen);
    r.setInVecLen(p.inVecLen);
    return r;
}

} // namespace

Q_DECLARE_METATYPE(Profile)

void TestRxProfileWin::initTestCase()
{
    // Arabic digits by default: every number the dialog shows must still be C notation.
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    QVERIFY(QLocale().toString(10) != "10");
}

void TestRxProfileWin::showsProfile_data()
{
    QTest::addColumn<Profile>("profile");
    QTest::addColumn<bool>("fixed");
    QTest::addColumn<int>("delimRow");
    QTest::addColumn<bool>("useInvec");
    QTest::newRow("fixed, tab") << Profile {0, '\t', 10, 3} << true << 0 << true;
    QTest::newRow("space, no invec") << Profile {1, ' ', 12, 0} << false << 1 << false;
    QTest::newRow("comma") << Profile {1, ',', 8, 5} << false << 2 << true;
    QTest::newRow("semicolon shows as tab") << Profile {1, ';', 99, 9} << false << 0 << true;
}

void TestRxProfileWin::showsProfile()
{
    QFETCH(Profile, profile);
    QFETCH(bool, fixed);
    QFETCH(int, delimRow);
    QFETCH(bool, useInvec);
    RxFile doc;
    doc.setProfile(makeProfile(profile));
    RxProfileWin dlg(&doc);
    dlg.show();

    QCOMPARE(dlg.windowTitle(), QString("File Format"));
    QCOMPARE(dlg.minimumSize(), QSize(400, 290));
    QCOMPARE(dlg.maximumSize(), QSize(400, 290));
    QVERIFY(dlg.isModal());
    QCOMPARE(control<QRadioButton>(dlg, "RadioButton_1")->isChecked(), fixed);
    QCOMPARE(control<QRadioButton>(dlg, "RadioButton_2")->isChecked(), !fixed);
    QCOMPARE(control<QSpinBox>(dlg, "SpinBox_1")->text(), QString::number(profile.inVecLen));
    QCOMPARE(control<QSpinBox>(dlg, "SpinBox_2")->text(), QString::number(profile.dataLen));
    auto *list = control<QListWidget>(dlg, "ListBox_1");
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(0)->text(), QString("tab"));
    QCOMPARE(list->item(1)->text(), QString("space"));
    QCOMPARE(list->item(2)->text(), QString("comma"));
    QCOMPARE(list->currentRow(), delimRow);
    QCOMPARE(control<QCheckBox>(dlg, "CheckBox_1")->isChecked(), useInvec);
    QCOMPARE(control<QLabel>(dlg, "Label_1")->isEnabled(), fixed);
    QCOMPARE(list->isEnabled(), !fixed);
}

void TestRxProfileWin::layoutChoiceEnablesItsControls()
{
    RxFile doc;
    RxProfileWin dlg(&doc);
    dlg.show();
    const char *fixedSide[] = {"Label_1", "SpinBox_1", "Label_2", "SpinBox_2", "Label_5"};
    const char *delimSide[] = {"CheckBox_1", "Label_4", "ListBox_1", "Label_6"};
    auto check = [&](bool fixed) {
        for (const char *name : fixedSide)
            QVERIFY2(control<QWidget>(dlg, name)->isEnabled() == fixed, name);
        for (const char *name : delimSide)
            QVERIFY2(control<QWidget>(dlg, name)->isEnabled() == !fixed, name);
    };
    auto *radioFixed = control<QRadioButton>(dlg, "RadioButton_1");
    auto *radioDelim = control<QRadioButton>(dlg, "RadioButton_2");
    // Only the indicator and the text take a click, not the whole width.
    auto click = [](QRadioButton *b) {
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
    };

    click(radioDelim);
    QVERIFY(!radioFixed->isChecked());
    check(false);
    click(radioFixed);
    QVERIFY(!radioDelim->isChecked());
    check(true);
}

void TestRxProfileWin::acceptStores_data()
{
    QTest::addColumn<Profile>("start");
    QTest::addColumn<bool>("fixed");
    QTest::addColumn<int>("delimRow"); // -1 leaves the list as shown
    QTest::addColumn<bool>("useInvec");
    QTest::addColumn<int>("invecSpin");
    QTest::addColumn<int>("dataSpin");
    QTest::addColumn<Profile>("stored");
    QTest::newRow("invec on stores 3 whatever the spin box")
        << Profile {0, '\t', 10, 0} << false << 2 << true << 7 << 20 << Profile {1, ',', 10, 3};
    QTest::newRow("invec off stores 0")
        << Profile {0, '\t', 10, 5} << false << 1 << false << 5 << 10 << Profile {1, ' ', 10, 0};
    QTest::newRow("semicolon becomes tab")
        << Profile {1, ';', 10, 3} << false << -1 << true << 3 << 10 << Profile {1, '\t', 10, 3};
    QTest::newRow("fixed keeps delimchar")
        << Profile {1, ';', 10, 3} << true << 2 << false << 4 << 25 << Profile {0, ';', 25, 4};
}

void TestRxProfileWin::acceptStores()
{
    QFETCH(Profile, start);
    QFETCH(bool, fixed);
    QFETCH(int, delimRow);
    QFETCH(bool, useInvec);
    QFETCH(int, invecSpin);
    QFETCH(int, dataSpin);
    QFETCH(Profile, stored);
    RxFile doc;
    doc.setProfile(makeProfile(start));
    RxProfileWin dlg(&doc);
    dlg.show();

    control<QRadioButton>(dlg, fixed ? "RadioButton_1" : "RadioButton_2")->click();
    if (delimRow >= 0)
        control<QListWidget>(dlg, "ListBox_1")->setCurrentRow(delimRow);
    control<QCheckBox>(dlg, "CheckBox_1")->setChecked(useInvec);
    control<QSpinBox>(dlg, "SpinBox_1")->setValue(invecSpin);
    control<QSpinBox>(dlg, "SpinBox_2")->setValue(dataSpin);
    QTest::mouseClick(control<QPushButton>(dlg, "PushButton_2"), Qt::LeftButton);

    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    const RxProfile p = doc.profile();
    QCOMPARE(p.useDelim(), stored.useDelim);
    QCOMPARE(p.delimChar(), stored.delim);
    QCOMPARE(p.dataLen(), stored.dataLen);
    QCOMPARE(p.inVecLen(), stored.inVecLen);
    QCOMPARE(p.useEof(), 2);
}

void TestRxProfileWin::cancelStoresNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << "cancel";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("close button") << "close";
}

void TestRxProfileWin::cancelStoresNothing()
{
    QFETCH(QString, how);
    RxFile doc;
    doc.setProfile(makeProfile({0, ';', 12, 4}));
    RxProfileWin dlg(&doc);
    dlg.show();
    control<QRadioButton>(dlg, "RadioButton_2")->click();
    control<QListWidget>(dlg, "ListBox_1")->setCurrentRow(2);
    control<QCheckBox>(dlg, "CheckBox_1")->setChecked(false);

    if (how == "cancel")
        QTest::mouseClick(control<QPushButton>(dlg, "PushButton_3"), Qt::LeftButton);
    else if (how == "escape")
        QTest::keyClick(&dlg, Qt::Key_Escape);
    else
        dlg.close();

    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    const RxProfile p = doc.profile();
    QCOMPARE(p.useDelim(), 0);
    QCOMPARE(p.delimChar(), ';');
    QCOMPARE(p.dataLen(), 12);
    QCOMPARE(p.inVecLen(), 4);
}

QTEST_MAIN(TestRxProfileWin)
#include "TestRxProfileWin.moc"
