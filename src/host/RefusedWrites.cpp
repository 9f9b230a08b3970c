#include "host/RefusedWrites.h"

#include <numeric>

namespace solvane::host {

std::uint64_t RefusedWrites::total() const {
    return std::accumulate(m_counts.begin(), m_counts.end(), std::uint64_t{0});
}

} // namespace solvane::host
