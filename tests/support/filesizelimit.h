#pragma once

#include <QtGlobal>

#include <csignal>

#include <sys/resource.h>

// While it lives, every file this process writes fails at byte limit, as
// on a disk that fills up there: the write that would pass it stores what
// fits and reports an error (the signal the kernel sends as well is
// ignored). Files already on disk are not touched.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 limit)
    {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lower = m_previous;
        lower.rlim_cur = rlim_t(limit);
        m_active = setrlimit(RLIMIT_FSIZE, &lower) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool isActive() const { return m_active; }

private:
    rlimit m_previous {};
    void (*m_handler)(int) = nullptr;
    bool m_active = false;
};
