#pragma once

// The week's day letters of the slot names, L M X J V S D for the days 1 to 7 (upper case only).
// The time-slot table stores the number of a slot's letter; results turn numbers back into letters.

#include <optional>
#include <string_view>

namespace tqz::exchange {

// "1" to "7" for the day letters, nothing for any other character.
std::optional<std::string_view> dayNumberOf(char letter);

// The day letter of "1" to "7", nothing for any other text.
std::optional<std::string_view> dayLetterOf(std::string_view number);

} // namespace tqz::exchange
