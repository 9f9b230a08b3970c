#pragma once

#include <cstdint>
#include <deque>

namespace solvane::platform {

// Pseudo-random numbers with the semantics of the C library's rand(): 0 to 32767.
class RandomSource {
public:
    static constexpr int kMax = 32767;
    virtual ~RandomSource() = default;
    virtual void seed(std::uint32_t seed) = 0;
    virtual int next() = 0;
};

// The linear congruential generator of the Windows C library, so a given seed gives the same
// sequence the program gave there.
class LcgRandom final : public RandomSource {
public:
    explicit LcgRandom(std::uint32_t seed = 1) : m_state(seed) {}
    void seed(std::uint32_t seed) override { m_state = seed; }
    int next() override {
        m_state = m_state * 214013U + 2531011U;
        return static_cast<int>((m_state >> 16) & 0x7FFFU);
    }

private:
    std::uint32_t m_state;
};

// Test double: hands out queued numbers, then the queue's last number again.
class ScriptedRandom final : public RandomSource {
public:
    void seed(std::uint32_t seed) override { m_seeds.push_back(seed); }
    int next() override {
        if (m_values.size() > 1) {
            const int value = m_values.front();
            m_values.pop_front();
            return value;
        }
        return m_values.empty() ? 0 : m_values.front();
    }
    void queue(int value) { m_values.push_back(value); }
    const std::deque<std::uint32_t>& seeds() const { return m_seeds; }

private:
    std::deque<int> m_values;
    std::deque<std::uint32_t> m_seeds;
};

} // namespace solvane::platform
