#pragma once

#include "model/RxFile.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Files for the document tests: written into a temporary folder under the name given, so
// that the document's name can be checked.
class RxTestFiles
{
public:
    RxTestFiles() { QVERIFY(m_dir.isValid()); }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    QString put(const QString &name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write test file");
        return f.fileName();
    }

    // Reads as the program opens a file: columns xCol and yCol when the layout has three
    // or more columns of numbers, else the layout's own.
    static RxFile::ReadResult read(
        RxFile &doc, const QString &file, int append = 0, int xCol = 1, int yCol = 2)
    {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return RxFile::ReadResult::Failed;
        const RxColumnLayout layout = doc.chooseLayout(&f);
        if (layout.numericColumns < 3) {
            xCol = layout.xCol;
            yCol = layout.yCol;
        }
        return doc.read(&f, xCol, yCol, append, layout);
    }

    RxFile::ReadResult readBytes(RxFile &doc, const QByteArray &bytes, int append = 0,
        const QString &name = QStringLiteral("in.rx")) const
    {
        return read(doc, put(name, bytes), append);
    }

    static QByteArray written(RxFile doc)
    {
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        if (!doc.write(b))
            qFatal("write to a buffer failed");
        return b.data();
    }

private:
    QTemporaryDir m_dir;
};
