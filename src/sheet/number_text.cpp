// Reading, rounding and writing the numbers that fields hold as text.
//
// Both directions go through std::from_chars / std::to_chars, which are
// correctly rounded and never consult the C locale; the user's separators are
// handled here and nowhere else.

#include "design_sheet.h"

#include <charconv>
#include <cmath>
#include <string>

namespace tivora {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    void advance(std::size_t count = 1) { pos_ += count; }

    bool startsWith(std::string_view token) const { return !token.empty() && text_.substr(pos_).starts_with(token); }
    bool skip(char c)
    {
        if (peek() != c || atEnd())
            return false;
        advance();
        return true;
    }
    void skipBlanks()
    {
        while (!atEnd() && isBlank(peek()))
            advance();
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// Past any exponent a double can hold; saturating keeps huge exponents from
// wrapping around.
constexpr long long kExponentLimit = 100'000'000;

// Digits of a number without sign or separators, and the power of ten that
// the last digit stands for.
struct Decimal {
    bool negative = false;
    std::string digits;
    long long exponent = 0;
};

// The typographic minus, U+2212, as the help page and many documents write it.
constexpr std::string_view kMinusSign = "\u2212";

// An optional "+", "-" or minus sign; true when negative.
bool skipSign(Scanner& in)
{
    if (in.skip('+'))
        return false;
    if (in.skip('-'))
        return true;
    if (in.startsWith(kMinusSign)) {
        in.advance(kMinusSign.size());
        return true;
    }
    return false;
}

// Grouping separators stand only between true groups: a first group of one to
// three digits that is not a lone 0, then groups of exactly three. Anything
// else, "0,35" or "1,5" in a full-stop locale above all, is a decimal written
// with the wrong separator, and reading it with the separator skipped would
// silently make it tens or hundreds of times too large.
bool scanWholePart(Scanner& in, const NumberFormat& format, std::string& digits)
{
    const std::string& group = format.groupSeparator;
    const bool grouping = !group.empty() && group != format.decimalSeparator;
    bool grouped = false;
    std::size_t groupLength = 0;
    for (;;) {
        if (isDigit(in.peek())) {
            digits += in.peek();
            ++groupLength;
            in.advance();
        } else if (grouping && in.startsWith(group)) {
            const bool fits = grouped ? groupLength == 3 : groupLength >= 1 && groupLength <= 3 && digits != "0";
            if (!fits)
                return false;
            grouped = true;
            groupLength = 0;
            in.advance(group.size());
        } else {
            break;
        }
    }
    return !grouped || groupLength == 3;
}

std::optional<Decimal> scanDecimal(std::string_view text, const NumberFormat& format)
{
    Scanner in(text);
    Decimal number;
    in.skipBlanks();
    number.negative = skipSign(in);

    if (!scanWholePart(in, format, number.digits))
        return std::nullopt;
    if (in.startsWith(format.decimalSeparator)) {
        in.advance(format.decimalSeparator.size());
        while (isDigit(in.peek())) {
            number.digits += in.peek();
            --number.exponent;
            in.advance();
        }
    }
    if (number.digits.empty())
        return std::nullopt;

    if (in.peek() == 'E' || in.peek() == 'e') {
        in.advance();
        const bool negativeExponent = skipSign(in);
        if (!isDigit(in.peek()))
            return std::nullopt;
        long long exponent = 0;
        while (isDigit(in.peek())) {
            exponent = std::min(exponent * 10 + (in.peek() - '0'), kExponentLimit);
            in.advance();
        }
        number.exponent += negativeExponent ? -exponent : exponent;
    }

    in.skipBlanks();
    if (!in.atEnd())
        return std::nullopt;
    return number;
}

}  // namespace

ReadResult parseNumber(std::string_view text, const NumberFormat& format)
{
    auto scanned = scanDecimal(text, format);
    if (!scanned)
        return {ReadStatus::NotANumber, 0.0};
    Decimal& number = *scanned;
    const double signedZero = number.negative ? -0.0 : 0.0;

    const auto first = number.digits.find_first_not_of('0');
    if (first == std::string::npos)
        return {ReadStatus::Ok, signedZero};
    number.digits.erase(0, first);
    const auto last = number.digits.find_last_not_of('0');
    number.exponent += static_cast<long long>(number.digits.size() - 1 - last);
    number.digits.erase(last + 1);

    // The value is 0.digits times ten to this power.
    const long long magnitude = number.exponent + static_cast<long long>(number.digits.size());
    if (magnitude > 400)
        return {ReadStatus::Overflow, 0.0};
    if (magnitude < -400)
        return {ReadStatus::Ok, signedZero};

    const std::string plain = number.digits + "e" + std::to_string(number.exponent);
    double value = 0.0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error == std::errc::result_out_of_range) {
        if (magnitude > 0)
            return {ReadStatus::Overflow, 0.0};
        return {ReadStatus::Ok, signedZero};
    }
    if (error != std::errc() || end != plain.data() + plain.size())
        return {ReadStatus::NotANumber, 0.0};
    return {ReadStatus::Ok, number.negative ? -value : value};
}

bool readsWithTheOtherDecimalSeparator(std::string_view text, const NumberFormat& format)
{
    const std::string other = format.decimalSeparator == "." ? "," : format.decimalSeparator == "," ? "." : "";
    if (other.empty() || text.find(other) == std::string_view::npos)
        return false;
    return parseNumber(text, format).status == ReadStatus::NotANumber &&
           parseNumber(text, NumberFormat{other, ""}).status == ReadStatus::Ok;
}

// Ties go to the even neighbour, never away from zero as std::round sends
// them: the figures are defined with this rule (0.125 to two places is 0.12,
// -0.25 to one place is -0.2), and half away from zero would change the last
// digit of such texts. It also keeps a value that passes through several
// rounded fields from drifting one way. std::nearbyint rounds the same only
// while nobody has changed the floating-point environment's rounding mode;
// this works it out from floor, whatever the mode.
double roundTo(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double product = value * scale;
    // Beyond 2^52 every double is already whole.
    if (!std::isfinite(product) || std::fabs(product) >= 4503599627370496.0)
        return product / scale;

    const double below = std::floor(product);
    const double fraction = product - below;  // exact in this range
    double whole = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0))
        whole = below + 1.0;
    return std::copysign(whole, product) / scale;
}

std::string formatNumber(double value, const NumberFormat& format)
{
    if (value == 0.0 || !std::isfinite(value))
        return "0";

    // d.dddddddddddddde±x: fifteen significant digits, correctly rounded.
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 14);
    const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const auto e = scientific.find('e');
    std::string digits = std::string(1, scientific[0]) + std::string(scientific.substr(2, e - 2));
    int exponent = 0;
    std::from_chars(scientific.data() + e + (scientific[e + 1] == '+' ? 2 : 1), scientific.data() + scientific.size(),
                    exponent);
    digits.erase(digits.find_last_not_of('0') + 1);

    std::string text = value < 0 ? "-" : "";
    if (exponent >= -4 && exponent <= 14) {
        if (exponent < 0) {
            text += "0" + format.decimalSeparator + std::string(-exponent - 1, '0') + digits;
        } else {
            const auto wholeCount = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() <= wholeCount) {
                text += digits + std::string(wholeCount - digits.size(), '0');
            } else {
                text += digits.substr(0, wholeCount) + format.decimalSeparator + digits.substr(wholeCount);
            }
        }
        return text;
    }

    text += digits.substr(0, 1);
    if (digits.size() > 1)
        text += format.decimalSeparator + digits.substr(1);
    const int magnitude = std::abs(exponent);
    text += exponent < 0 ? "E-" : "E+";
    if (magnitude < 10)
        text += '0';
    text += std::to_string(magnitude);
    return text;
}

}  // namespace tivora
