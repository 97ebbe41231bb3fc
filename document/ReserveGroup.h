#pragma once

#include "Archive.h"

#include <QJsonArray>

#include <array>
#include <memory>

// N arrays of one element type inside a reserve block. Almost every object
// leaves all of them empty, so the arrays are allocated only when one is
// written to or read non-empty from a file: an empty group costs one pointer.
template <class List, int N>
class ReserveGroup {
public:
    static constexpr int kSize = N;

    // Writable access allocates the group; the list stays where it is for
    // the group's lifetime.
    List& operator[](int index)
    {
        if (!m_lists)
            m_lists = std::make_unique<Lists>();
        return (*m_lists)[size_t(index)];
    }

    const List& operator[](int index) const
    {
        static const List empty;
        return m_lists ? (*m_lists)[size_t(index)] : empty;
    }

    void clear() { m_lists.reset(); }

    // Count and elements of each array in turn.
    // each(ar, list) writes or reads one array.
    template <class Each>
    void serialize(Archive& ar, const Each& each)
    {
        if (ar.IsStoring() && !m_lists) {
            // N empty arrays: N counts of zero, written at once.
            static const std::array<char, 2 * N> zeros{};
            ar.writeRaw(zeros.data(), 2 * N);
            return;
        }
        for (int i = 0; i < N; ++i) {
            if (ar.IsStoring()) {
                each(ar, (*m_lists)[size_t(i)]);
            } else {
                List read;
                each(ar, read);
                if (!read.isEmpty())
                    (*this)[i] = std::move(read);
                else if (m_lists)
                    (*m_lists)[size_t(i)].clear();
            }
        }
    }

    template <class ToJson>
    QJsonArray toJson(const ToJson& convert) const
    {
        QJsonArray out;
        for (int i = 0; i < N; ++i)
            out.append(convert((*this)[i]));
        return out;
    }

private:
    using Lists = std::array<List, N>;
    std::unique_ptr<Lists> m_lists;
};
