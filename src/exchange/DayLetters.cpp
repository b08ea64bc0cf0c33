#include "exchange/DayLetters.h"

#include <array>

namespace tqz::exchange {

namespace {

struct Day {
    std::string_view letter;
    std::string_view number;
};

constexpr std::array<Day, 7> kDays { {
    { "L", "1" },
    { "M", "2" },
    { "X", "3" },
    { "J", "4" },
    { "V", "5" },
    { "S", "6" },
    { "D", "7" },
} };

} // namespace

std::optional<std::string_view> dayNumberOf(char letter)
{
    for (const auto& day : kDays) {
        if (day.letter.front() == letter) {
            return day.number;
        }
    }
    return std::nullopt;
}

std::optional<std::string_view> dayLetterOf(std::string_view number)
{
    for (const auto& day : kDays) {
        if (day.number == number) {
            return day.letter;
        }
    }
    return std::nullopt;
}

} // namespace tqz::exchange
