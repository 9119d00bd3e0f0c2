#include "model/RxProfile.h"

#include "model/RxLineReader.h"
#include "model/RxTestRecord.h"

#include <QBuffer>
#include <QtTest>

namespace {

QByteArray state(const RxProfile &p)
{
    QByteArray out;
    p.writeFormat(out);
    return out;
}

// A profile that differs from the defaults in every field.
RxProfile unusualProfile()
{
    RxProfile p;
    p.setUseEof(1);
    p.setUseDelim(1);
    p.setDelimChar(';');
    p.setDataLen(14);
    p.setInVecLen(0);
    return p;
}

QByteArray record(int useEof, int useDelim, int delim, int dataLen, int inVecLen)
{
    return "C profile:\nC\tuseeof: " + QByteArray::number(useEof) + "\nC\tusedelim: "
        + QByteArray::number(useDelim) + "\nC\tdelimchar: " + QByteArray::number(delim)
        + "\nC\tdatalen: " + QByteArray::number(dataLen)
        + "\nC\tinveclen: " + QByteArray::number(inVecLen) + "\n";
}

} // namespace

class TestRxProfile : public QObject
{
    Q_OBJECT

private slots:
    void numberSetters_data();
    void numberSetters();
    void delimChar_data();
    void delimChar();

    void writeFormat();
    void roundTrip_data();
    void roundTrip();
    void refusedValueBreaksRecord_data();
    void refusedValueBreaksRecord();
    void truncatedRecordChangesNothing_data();
    void truncatedRecordChangesNothing();
};

void TestRxProfile::numberSetters_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("result");
    const auto row = [](const char *name, const char *field, int v, int result) {
        QTest::newRow(name) << QByteArray(field) << v << result;
    };
    row("useeof 0", "useeof", 0, 1);
    row("useeof 2", "useeof", 2, 1);
    row("useeof 3 refused", "useeof", 3, 0);
    row("useeof -1 refused", "useeof", -1, 0);
    row("usedelim 0", "usedelim", 0, 1);
    row("usedelim 2 refused", "usedelim", 2, 0);
    row("usedelim -1 refused", "usedelim", -1, 0);
    row("datalen 8 is the least", "datalen", 8, 1);
    row("datalen 99 is the most", "datalen", 99, 1);
    row("datalen 7 refused", "datalen", 7, 0);
    row("datalen 100 refused", "datalen", 100, 0);
    row("datalen negative refused", "datalen", -10, 0);
    row("inveclen 0", "inveclen", 0, 1);
    row("inveclen 9 is the most", "inveclen", 9, 1);
    row("inveclen 10 refused", "inveclen", 10, 0);
    row("inveclen -1 refused", "inveclen", -1, 0);
}

void TestRxProfile::numberSetters()
{
    QFETCH(QByteArray, field);
    QFETCH(int, value);
    QFETCH(int, result);
    RxProfile p = unusualProfile();
    const QByteArray before = state(p);
    int r = -1;
    int stored = -1;
    if (field == "useeof") {
        r = p.setUseEof(value);
        stored = p.useEof();
    } else if (field == "usedelim") {
        r = p.setUseDelim(value);
        stored = p.useDelim();
    } else if (field == "datalen") {
        r = p.setDataLen(value);
        stored = p.dataLen();
    } else {
        r = p.setInVecLen(value);
        stored = p.inVecLen();
    }
    QCOMPARE(r, result);
    if (result)
        QCOMPARE(stored, value);
    else
        QCOMPARE(state(p), before);
}

void TestRxProfile::delimChar_data()
{
    QTest::addColumn<char>("c");
    QTest::addColumn<int>("result");
    QTest::newRow("tab") << '\t' << 1;
    QTest::newRow("blank") << ' ' << 1;
    QTest::newRow("comma") << ',' << 1;
    QTest::newRow("letter x") << 'x' << 1;
    QTest::newRow("high byte") << '\xff' << 1;
    QTest::newRow("NUL refused") << '\0' << 0;
    QTest::newRow("carriage return refused") << '\r' << 0;
    QTest::newRow("line feed refused") << '\n' << 0;
    QTest::newRow("digit 0 refused") << '0' << 0;
    QTest::newRow("digit 9 refused") << '9' << 0;
    QTest::newRow("plus refused") << '+' << 0;
    QTest::newRow("minus refused") << '-' << 0;
    QTest::newRow("point refused") << '.' << 0;
    QTest::newRow("e refused") << 'e' << 0;
    QTest::newRow("E refused") << 'E' << 0;
    // Delimited rows write NaN and infinity as "nan" and "inf".
    QTest::newRow("n of nan refused") << 'n' << 0;
    QTest::newRow("A of NAN refused") << 'A' << 0;
    QTest::newRow("f of inf refused") << 'f' << 0;
    QTest::newRow("I of INF refused") << 'I' << 0;
}

void TestRxProfile::delimChar()
{
    QFETCH(char, c);
    QFETCH(int, result);
    RxProfile p = unusualProfile();
    QCOMPARE(p.setDelimChar(c), result);
    QCOMPARE(p.delimChar(), result ? c : ';');
}

void TestRxProfile::writeFormat()
{
    QByteArray out("before\n");
    RxProfile().writeFormat(out);
    QCOMPARE(out,
        QByteArray("before\nC profile:\nC\tuseeof: 0\nC\tusedelim: 0\nC\tdelimchar: 9\n"
                   "C\tdatalen: 10\nC\tinveclen: 3\n"));
}

void TestRxProfile::roundTrip_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::newRow("defaults") << state(RxProfile());
    QTest::newRow("every field changed") << state(unusualProfile());
    QTest::newRow("high byte delimiter") << record(2, 1, 255, 99, 9);
    QTest::newRow("blank delimiter") << record(2, 1, 32, 8, 0);
}

void TestRxProfile::roundTrip()
{
    QFETCH(QByteArray, record);
    RxProfile p;
    p.setDataLen(50);
    QByteArray after;
    QCOMPARE(rxReadRecord(p, record + "3\nrows\n", &after), 1);
    QCOMPARE(after, QByteArray("3\n"));
    QCOMPARE(state(p), record);
}

void TestRxProfile::refusedValueBreaksRecord_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::newRow("datalen 7") << record(2, 0, 9, 7, 3);
    QTest::newRow("datalen 100") << record(2, 0, 9, 100, 3);
    QTest::newRow("inveclen 10") << record(2, 0, 9, 10, 10);
    QTest::newRow("inveclen -1") << record(2, 0, 9, 10, -1);
    QTest::newRow("useeof 3") << record(3, 0, 9, 10, 3);
    QTest::newRow("usedelim 2") << record(2, 2, 9, 10, 3);
    QTest::newRow("delimiter digit 0") << record(2, 1, 48, 10, 3);
    QTest::newRow("delimiter NUL") << record(2, 1, 0, 10, 3);
    QTest::newRow("delimiter carriage return") << record(2, 1, 13, 10, 3);
    QTest::newRow("delimiter point") << record(2, 1, 46, 10, 3);
    QTest::newRow("delimiter code 256") << record(2, 1, 256, 10, 3);
    QTest::newRow("delimiter code 265 is not a tab") << record(2, 1, 265, 10, 3);
    QTest::newRow("delimiter code -1") << record(2, 1, -1, 10, 3);
    QTest::newRow("datalen not a number")
        << QByteArray(record(2, 0, 9, 10, 3)).replace("datalen: 10", "datalen: x");
}

void TestRxProfile::refusedValueBreaksRecord()
{
    QFETCH(QByteArray, record);
    RxProfile p = unusualProfile();
    const QByteArray before = state(p);
    QCOMPARE(rxReadRecord(p, record + "3\nrows\n"), 0);
    QCOMPARE(state(p), before);
}

void TestRxProfile::truncatedRecordChangesNothing_data()
{
    const QByteArray whole = state(RxProfile());
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("another record") << QByteArray("C scale:\n") + whole.mid(11) + "3\nrows\n";
    QTest::newRow("head line only") << QByteArray("C profile:\n");
    QTest::newRow("cut after datalen") << whole.left(whole.indexOf("C\tinveclen"));
    QTest::newRow("no line after the record") << whole;
    QTest::newRow("keys swapped") << QByteArray(whole)
                                         .replace("useeof", "USEEOF")
                                         .replace("usedelim", "useeof")
                                         .replace("USEEOF", "usedelim")
            + "3\nrows\n";
}

void TestRxProfile::truncatedRecordChangesNothing()
{
    QFETCH(QByteArray, text);
    RxProfile p = unusualProfile();
    const QByteArray before = state(p);
    QCOMPARE(rxReadRecord(p, text), 0);
    QCOMPARE(state(p), before);
}

QTEST_GUILESS_MAIN(TestRxProfile)
#include "TestRxProfile.moc"
