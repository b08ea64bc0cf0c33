#pragma once

// The generator's only source of chance. SplitMix64 is written out here because the standard
// library's distributions may differ between implementations, and the same seed must give the
// same school everywhere.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tqz::bench {

class Random {
public:
    explicit Random(std::uint64_t seed)
        : m_state(seed)
    {
    }

    std::uint64_t next()
    {
        m_state += 0x9E3779B97F4A7C15ULL;
        std::uint64_t z = m_state;
        z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31U);
    }

    // 0 to bound - 1; the modulo bias is far below anything a school shows.
    std::size_t below(std::size_t bound) { return static_cast<std::size_t>(next() % bound); }

    // `lowest` to `highest`, both included.
    int between(int lowest, int highest)
    {
        return lowest + static_cast<int>(below(static_cast<std::size_t>(highest - lowest + 1)));
    }

    template <typename T>
    const T& pick(const std::vector<T>& items)
    {
        return items[below(items.size())];
    }

private:
    std::uint64_t m_state;
};

} // namespace tqz::bench
