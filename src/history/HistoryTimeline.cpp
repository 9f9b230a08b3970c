#include "history/HistoryTimeline.h"

#include "history/HistoryStore.h"

#include <algorithm>

namespace solvane::history {

HistoryTimeline::Moment HistoryTimeline::at(std::int64_t wallSeconds, std::int64_t bootSeconds) {
    if (!m_started) {
        m_started = true;
        m_time = wallSeconds;
        // A clock that jumped before the run cannot be told from a machine that was off: the
        // newest stored minute bounds the reference, so the old rows go only as the run goes on.
        m_reference = m_newestStored ? std::min(wallSeconds, *m_newestStored) : wallSeconds;
    } else {
        const auto elapsed = std::max<std::int64_t>(0, bootSeconds - m_boot);
        m_time = wallSeconds >= m_time ? wallSeconds : m_time + elapsed;
        m_reference = std::min(m_reference + elapsed, m_time);
    }
    m_boot = bootSeconds;
    return {m_time, m_reference - kMinuteRetentionSeconds};
}

} // namespace solvane::history
