#pragma once

#include <vector>

namespace solvane::platform {

// Pauses the calling thread; tests use the recording double, which returns at once.
class Sleeper {
public:
    virtual ~Sleeper() = default;
    virtual void sleep(unsigned ms) = 0;
};

class ThreadSleeper final : public Sleeper {
public:
    void sleep(unsigned ms) override;
};

class RecordingSleeper final : public Sleeper {
public:
    void sleep(unsigned ms) override { m_sleeps.push_back(ms); }
    const std::vector<unsigned>& sleeps() const { return m_sleeps; }

private:
    std::vector<unsigned> m_sleeps;
};

} // namespace solvane::platform
