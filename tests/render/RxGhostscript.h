#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>

// Runs Ghostscript over PostScript text with its bounding-box device. Returns an empty
// text when Ghostscript reads it without error, else what went wrong; a missing Ghostscript
// is an error, not a reason to skip. The box it found ("%%BoundingBox: ...") goes to *bbox.
inline QByteArray rxGhostscriptCheck(const QByteArray &postscript, QByteArray *bbox = nullptr)
{
    const QString gs = QStandardPaths::findExecutable(QStringLiteral("gs"));
    if (gs.isEmpty())
        return "Ghostscript (gs) is not installed: run scripts/setup as root";
    QTemporaryFile file;
    if (!file.open() || file.write(postscript) != postscript.size() || !file.flush())
        return "cannot write the PostScript to a temporary file";
    QProcess p;
    p.start(gs, {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=bbox", file.fileName()});
    if (!p.waitForFinished(60000))
        return "Ghostscript did not finish";
    const QByteArray err = p.readAllStandardError();
    const QByteArray out = p.readAllStandardOutput();
    if (bbox) {
        const qsizetype at = err.indexOf("%%BoundingBox:");
        *bbox = at < 0 ? QByteArray() : err.mid(at, err.indexOf('\n', at) - at);
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 || err.contains("Error")
        || out.contains("Error"))
        return "Ghostscript: " + err + out;
    return QByteArray();
}

// The picture Ghostscript draws of PostScript text at dpi dots per inch, cropped to its
// bounding box, as a binary grey map without smoothing; empty when it could not be drawn.
inline QByteArray rxGhostscriptRender(const QByteArray &postscript, int dpi)
{
    const QString gs = QStandardPaths::findExecutable(QStringLiteral("gs"));
    QTemporaryFile file;
    if (gs.isEmpty() || !file.open() || file.write(postscript) != postscript.size()
        || !file.flush())
        return QByteArray();
    QProcess p;
    p.start(gs,
        {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dEPSCrop", "-sDEVICE=pgmraw",
            "-r" + QString::number(dpi), "-sOutputFile=-", file.fileName()});
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QByteArray();
    return p.readAllStandardOutput();
}
