#pragma once

// The subject codes already written while building the subjects table. Codes are whole trimmed
// texts compared without regard to letter case (ñ = Ñ, á = Á, a ≠ á); the first record with a code
// wins and later ones in any case are dropped. Kept in a hash set so a long list stays linear.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>

namespace tqz::convert {

// A text under which every two codes that compare equal ignoring case fall together.
std::string foldedCode(std::string_view code);

class CodesSeen {
public:
    // Adds `code` unless an equal code is already there; true when it was added.
    bool add(std::string_view code);

private:
    struct FoldedHash {
        std::size_t operator()(const std::string& code) const;
    };
    struct EqualIgnoringCase {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    std::unordered_set<std::string, FoldedHash, EqualIgnoringCase> m_codes;
};

} // namespace tqz::convert
