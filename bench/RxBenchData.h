#pragma once

#include "model/RxFile.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cmath>
#include <cstdio>
#include <random>

// The benchmarks' data: a noisy sine of n points, the same for every run.
inline RxFile rxNoisySine(int n)
{
    std::mt19937 random(12345);
    std::normal_distribution<float> noise(0.0f, 0.05f);
    RxFile doc;
    for (int i = 0; i < n; ++i) {
        const float x = static_cast<float>(i) * 1e-3f;
        doc.addPoint(0, i == 0 ? PointNewLine : PointLine, x, std::sin(x) + noise(random));
    }
    doc.autoScale();
    return doc;
}

// The data file in the default fixed-width profile.
inline bool rxWriteDataFile(const RxFile &doc, const QString &path)
{
    RxFile copy = doc;
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && copy.save(&f) == 1;
}

// The same points as a plain two-column file, tab-delimited or with another delimiter,
// after an optional header line.
inline bool rxWriteColumnFile(const RxFile &doc, const QString &path, char delimiter = '\t',
    const QByteArray &header = QByteArray())
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const RxCurve *c = doc.curve(0);
    QByteArray text = header;
    char line[64];
    for (int i = 0; i < c->numPoints(); ++i) {
        const int n = std::snprintf(line, sizeof line, "%g%c%g\n", static_cast<double>(c->x(i)),
            delimiter, static_cast<double>(c->y(i)));
        text.append(line, n);
    }
    return f.write(text) == text.size();
}
