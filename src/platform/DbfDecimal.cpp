#include "platform/DbfDecimal.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace tqz::dbf::decimal {

namespace {

// Enough for any double in fixed notation (about 310 digits before the point).
constexpr std::size_t kBufferSize = 512;

bool isPadding(char c)
{
    return c == ' ' || c == '\0';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view trimPadding(std::string_view text)
{
    while (!text.empty() && isPadding(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isPadding(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view takeDigits(std::string_view& text)
{
    std::size_t n = 0;
    while (n < text.size() && isDigit(text[n])) {
        ++n;
    }
    const std::string_view digits = text.substr(0, n);
    text.remove_prefix(n);
    return digits;
}

std::string plainForm(bool negative, std::string_view whole, std::string_view fraction)
{
    while (!whole.empty() && whole.front() == '0') {
        whole.remove_prefix(1);
    }
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.remove_suffix(1);
    }
    std::string plain = whole.empty() ? "0" : std::string(whole);
    if (!fraction.empty()) {
        plain += '.';
        plain += fraction;
    }
    if (negative && plain != "0") {
        plain.insert(plain.begin(), '-');
    }
    return plain;
}

} // namespace

Parsed parse(std::string_view stored)
{
    std::string_view text = trimPadding(stored);
    if (text.empty() || text.front() == '*') {
        return {};
    }
    bool negative = false;
    if (text.front() == '-' || text.front() == '+') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::string_view whole = takeDigits(text);
    std::string_view fraction;
    if (!text.empty() && (text.front() == '.' || text.front() == ',')) {
        text.remove_prefix(1);
        fraction = takeDigits(text);
    }
    if (!text.empty() || (whole.empty() && fraction.empty())) {
        return {Status::Invalid, {}};
    }
    return {Status::Number, plainForm(negative, whole, fraction)};
}

double toDouble(std::string_view plain)
{
    double value = 0.0;
    std::from_chars(plain.data(), plain.data() + plain.size(), value);
    return value;
}

bool isWhole(std::string_view plain)
{
    return plain.find('.') == std::string_view::npos;
}

std::optional<std::int32_t> toInt32(std::string_view plain)
{
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size()) {
        return std::nullopt;
    }
    return value;
}

std::string fromDouble(double value)
{
    std::array<char, kBufferSize> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    const std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    // Re-read through parse so that "-0" and the like come out in the one plain form.
    return parse(text).plain;
}

std::optional<std::string> format(double value, int decimals, std::size_t width)
{
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    std::array<char, kBufferSize> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) {
        return std::nullopt;
    }
    std::string text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    // A value that rounds to zero is written without its sign.
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);
    }
    if (text.size() > width) {
        return std::nullopt;
    }
    return std::string(width - text.size(), ' ') + text;
}

} // namespace tqz::dbf::decimal
