#include "NativeThread.h"

NativeThread::NativeThread(std::function<void()> body, std::size_t stackSize)
    : m_body(std::move(body))
    , m_nStackSize(stackSize)
{
}

NativeThread::~NativeThread()
{
    Join();
}

bool NativeThread::Start()
{
    if (m_bStarted)
        return true;
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0)
        return false;
    pthread_attr_setstacksize(&attributes, m_nStackSize);
    m_bStarted = pthread_create(&m_thread, &attributes, &NativeThread::Entry, this) == 0;
    pthread_attr_destroy(&attributes);
    return m_bStarted;
}

void NativeThread::Join()
{
    if (!m_bStarted || m_bJoined)
        return;
    pthread_join(m_thread, nullptr);
    m_bJoined = true;
}

void* NativeThread::Entry(void* self)
{
    static_cast<NativeThread*>(self)->m_body();
    return nullptr;
}
