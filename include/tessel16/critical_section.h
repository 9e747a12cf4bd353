// critical_section.h: the re-entrant lock that guards shared buffers. A thin wrapper over
// std::recursive_mutex so that the same thread may take it again (a copy-on-write step can
// run inside an append that already holds it).
#pragma once

#include <mutex>

#include "tessel16/export.h"

namespace Tessel16 {

class TESSEL16_API CTSCriticalSection {
public:
    CTSCriticalSection() = default;
    CTSCriticalSection(const CTSCriticalSection&) = delete;
    CTSCriticalSection& operator=(const CTSCriticalSection&) = delete;

    void Enter() { m_mutex.lock(); }
    void Leave() { m_mutex.unlock(); }
    // BasicLockable, so std::lock_guard works.
    void lock() { Enter(); }
    void unlock() { Leave(); }

private:
    std::recursive_mutex m_mutex;
};

}  // namespace Tessel16
