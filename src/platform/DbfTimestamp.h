#pragma once

// Date-time fields of other programs' tables, rendered as text "YYYYMMDD HH:MM:SS" (the date part
// as date fields store it).

#include <cstdint>
#include <optional>
#include <string>

namespace tqz::dbf::timestamp {

// Visual FoxPro: a Julian day number and the milliseconds since midnight. Nothing when either is
// out of range.
std::optional<std::string> fromJulianDay(std::uint32_t julianDay, std::uint32_t milliseconds);

// dBase 7: milliseconds counted from day 1 = 1 January of year 1. Nothing when out of range.
std::optional<std::string> fromMilliseconds(double milliseconds);

} // namespace tqz::dbf::timestamp
