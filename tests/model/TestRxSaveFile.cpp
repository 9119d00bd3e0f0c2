#include "model/RxSaveFile.h"

#include <QtTest>

#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool save(const QString &path, QString *error = nullptr)
{
    RxSaveFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly) && file.write("new") == 3 && file.finish();
    if (error)
        *error = file.errorString();
    return ok;
}

} // namespace

class TestRxSaveFile : public QObject
{
    Q_OBJECT

private slots:
    void targets_data();
    void targets();
    void deviceIsNotReplaceable();
    void keepsOwner();
};

void TestRxSaveFile::targets_data()
{
    QTest::addColumn<QString>("kind"); // what the name is: "link to" names the link's target
    QTest::addColumn<bool>("replaced");
    QTest::newRow("no file yet") << "none" << true;
    QTest::newRow("regular file") << "file" << true;
    QTest::newRow("link to a regular file") << "link to file" << true;
    QTest::newRow("dangling link") << "link to none" << true;
    QTest::newRow("named pipe") << "pipe" << false;
    QTest::newRow("link to a named pipe") << "link to pipe" << false;
    QTest::newRow("loop of links") << "loop" << false;
}

// A save makes or replaces a regular file, through links, keeping the permission bits;
// anything else is refused and left as it was.
void TestRxSaveFile::targets()
{
    QFETCH(QString, kind);
    QFETCH(bool, replaced);
    QTemporaryDir dir;
    const QString real = dir.filePath("real.rx");
    const QString link = dir.filePath("link.rx");
    if (kind.endsWith("file")) {
        QFile f(real);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("old") == 3);
        QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    }
    if (kind.endsWith("pipe"))
        QCOMPARE(::mkfifo(QFile::encodeName(real).constData(), 0600), 0);
    const bool linked = kind.startsWith("link") || kind == "loop";
    if (linked) {
        QVERIFY(QFile::link(kind == "loop" ? link : real, link));
    }
    const QString name = linked ? link : real;
    const QStringList before = QDir(dir.path()).entryList(QDir::System | QDir::AllEntries);

    QString error;
    QCOMPARE(save(name, &error), replaced);
    if (!replaced) {
        QCOMPARE(error, QString("not a regular file"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::System | QDir::AllEntries), before);
        QCOMPARE(QFileInfo(name).isSymLink(), linked);
        QCOMPARE(QFileInfo(real).exists() && !QFileInfo(real).isFile(), kind.endsWith("pipe"));
        return;
    }
    QCOMPARE(contents(real), QByteArray("new"));
    QCOMPARE(QFileInfo(link).symLinkTarget(), linked ? real : QString());
    struct stat st = {};
    QCOMPARE(::stat(QFile::encodeName(real).constData(), &st), 0);
    if (kind.endsWith("file"))
        QCOMPARE(st.st_mode & 0777, mode_t(0640));
}

// Asked, never opened: were the check to fail, a save would put a plain file in place of
// the system's null device.
void TestRxSaveFile::deviceIsNotReplaceable()
{
    QTemporaryDir dir;
    const QString link = dir.filePath("null.rx");
    QVERIFY(QFile::link("/dev/null", link));
    QVERIFY(!RxSaveFile::isReplaceable(link));
    QVERIFY(!RxSaveFile::isReplaceable("/dev/null"));
}

void TestRxSaveFile::keepsOwner()
{
    if (::geteuid() != 0)
        QSKIP("only root may give a file to another user");
    QTemporaryDir dir;
    const QString path = dir.filePath("theirs.rx");
    QVERIFY(QFile(path).open(QIODevice::WriteOnly));
    QCOMPARE(::chown(QFile::encodeName(path).constData(), 12345, 12346), 0);
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    QVERIFY(save(path));
    struct stat st = {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
    QCOMPARE(st.st_uid, uid_t(12345));
    QCOMPARE(st.st_gid, gid_t(12346));
    QCOMPARE(st.st_mode & 0777, mode_t(0604));
    QCOMPARE(contents(path), QByteArray("new"));
}

QTEST_GUILESS_MAIN(TestRxSaveFile)
#include "TestRxSaveFile.moc"
