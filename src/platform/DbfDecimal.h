#pragma once

// Decimal numbers as dBase keeps them in N and F fields: ASCII, right-aligned, with exactly the
// field's decimals. Files from other programs also hold leading zeros, a comma for the point,
// NUL padding and '*' fill (overflow or NULL); those are read leniently.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tqz::dbf::decimal {

enum class Status { Empty, Number, Invalid };

struct Parsed {
    Status status = Status::Empty;
    std::string plain;  // Number only: the plain decimal form ("3", "-2.5", "0.25")
};

// Stored characters → a number in plain decimal form. Blanks, NULs and '*' fill give Empty.
Parsed parse(std::string_view stored);

// A plain decimal form → double.
double toDouble(std::string_view plain);
// A plain decimal form without a fractional part.
bool isWhole(std::string_view plain);
// A whole plain decimal form that fits a signed 32-bit integer.
std::optional<std::int32_t> toInt32(std::string_view plain);

// The plain decimal form of a binary number: the shortest that reads back as the same value,
// never an exponent. `value` must be finite.
std::string fromDouble(double value);

// `value` with exactly `decimals` digits after the point, right-aligned in `width` characters;
// nothing when it is not finite or does not fit (the engine never writes '*' fill).
std::optional<std::string> format(double value, int decimals, std::size_t width);

} // namespace tqz::dbf::decimal
