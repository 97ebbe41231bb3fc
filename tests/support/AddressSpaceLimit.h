#pragma once

#include <QFile>
#include <QRegularExpression>

#include <sys/resource.h>

// Caps this process's address space for its lifetime at what it uses now
// plus a little, so that any large reservation (a thread's stack) fails.
class AddressSpaceLimit {
public:
    explicit AddressSpaceLimit(rlim_t headroom)
    {
        ::getrlimit(RLIMIT_AS, &m_saved);
        rlimit lowered = m_saved;
        lowered.rlim_cur = CurrentSize() + headroom;
        ::setrlimit(RLIMIT_AS, &lowered);
    }
    ~AddressSpaceLimit() { ::setrlimit(RLIMIT_AS, &m_saved); }
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

private:
    static rlim_t CurrentSize()
    {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return RLIM_INFINITY;
        const QRegularExpressionMatch size =
            QRegularExpression(QStringLiteral("VmSize:\\s*(\\d+) kB")).match(QString::fromLatin1(status.readAll()));
        return size.hasMatch() ? rlim_t(size.captured(1).toULongLong()) * 1024 : RLIM_INFINITY;
    }

    rlimit m_saved{};
};
