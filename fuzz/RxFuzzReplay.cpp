// Replays a fuzz target's kept inputs as an ordinary test: every file of the folders given
// (the seed corpus and the inputs that once failed) goes through the target once. Fails
// when a folder is missing or holds no input, so that a lost corpus does not pass.
#include "fuzz/RxFuzz.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    int inputs = 0;
    for (int a = 1; a < argc; ++a) {
        const QDir dir(QFile::decodeName(argv[a]));
        if (!dir.exists()) {
            std::fprintf(stderr, "no folder %s\n", argv[a]);
            return 1;
        }
        const QStringList names = dir.entryList(QDir::Files, QDir::Name);
        for (const QString &name : names) {
            QFile f(dir.filePath(name));
            if (!f.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(f.fileName()));
                return 1;
            }
            const QByteArray bytes = f.readAll();
            std::fprintf(stderr, "%s\n", qPrintable(f.fileName()));
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                static_cast<std::size_t>(bytes.size()));
            ++inputs;
        }
    }
    std::printf("%d inputs replayed\n", inputs);
    return inputs > 0 ? 0 : 1;
}
