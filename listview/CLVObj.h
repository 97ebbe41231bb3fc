#pragma once

#include <QStringList>

#include <vector>

// One host of the device list: its cells by master column, and its detail
// lines (the k-th child holds the (k+1)-th record of every table for the
// host). Children have no children of their own.
class CLVObj {
public:
    // Longer texts are cut here, once, so display, sort and print agree.
    static constexpr qsizetype kMaxCell = 1023;

    QStringList m_astrCells;
    std::vector<CLVObj> m_children;

    QString Cell(qsizetype column) const { return m_astrCells.value(column); }
    // Pads the cells to the start column, then appends the fields.
    void Put(qsizetype start, const QStringList& fields);
};
