#pragma once

#include <QtGlobal>

// A number that changes with every change of what holds it, for pictures cached from a
// document. The numbers come from one counter for the whole program and only grow, so the
// largest among a document and its curves changes whenever any of them changes, a curve
// changed through a pointer included. Copies take a new number: a copy is not the picture's
// source. Documents are changed on one thread only, so the counter needs no lock.
class RxRevision
{
public:
    RxRevision()
        : m_value(next())
    { }
    RxRevision(const RxRevision &)
        : m_value(next())
    { }
    RxRevision &operator=(const RxRevision &)
    {
        touch();
        return *this;
    }

    void touch() { m_value = next(); }
    quint64 value() const { return m_value; }

private:
    static quint64 next()
    {
        static quint64 counter = 0;
        return ++counter;
    }

    quint64 m_value;
};
