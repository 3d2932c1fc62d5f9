// Scanning helpers shared by the text readers of this folder (OBJ, MTL and the
// frame files of keys and cameras): lines with their CR LF ends, blanks, the
// first word of a line, and numbers that must fill the piece they stand in.
// Inline, since they sit in the readers' inner loops. No allocation.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace vorn::nodes::text {

// The lines of a text. A "\r" before a line's end (or before the end of the
// text) belongs to the line end, as Windows-authored files end lines with CR LF.
class LineReader {
public:
    explicit LineReader(std::string_view text) : next_(text.data()), end_(text.data() + text.size()) {}

    bool next(std::string_view& line) {
        if (next_ >= end_) return false;
        const char* stop = static_cast<const char*>(std::memchr(next_, '\n', std::size_t(end_ - next_)));
        const char* lineEnd = stop ? stop : end_;
        const char* contentEnd = lineEnd;
        if (contentEnd > next_ && contentEnd[-1] == '\r') --contentEnd;
        line = std::string_view(next_, std::size_t(contentEnd - next_));
        next_ = stop ? stop + 1 : end_;
        ++number_;
        return true;
    }
    // 1-based number of the line last returned.
    std::size_t number() const { return number_; }

private:
    const char* next_;
    const char* end_;
    std::size_t number_ = 0;
};

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

inline std::string_view trimBlanks(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// The first word of a line (between the leading blanks and the next blank)
// and the tail after it with surrounding blanks removed.
struct Words {
    std::string_view first;
    std::string_view tail;
};

inline Words firstWord(std::string_view line) {
    std::size_t b = 0;
    while (b < line.size() && isBlank(line[b])) ++b;
    std::size_t e = b;
    while (e < line.size() && !isBlank(line[e])) ++e;
    return {line.substr(b, e - b), trimBlanks(line.substr(e))};
}

// A float written in [p, end) from p on, with an optional sign; null when
// there is none, else the position after it. Exactly std::from_chars (the
// general format) with a leading "+" allowed; plain decimals of up to 15
// digits (what exporters write) take a shorter path with the same result.
inline const char* parseFloatSlowly(const char* p, const char* end, float& out) {
    if (p < end && *p == '+') {
        ++p;
        if (p < end && *p == '-') return nullptr;
    }
    auto [stop, error] = std::from_chars(p, end, out, std::chars_format::general);
    return error == std::errc() ? stop : nullptr;
}

inline const char* parseFloat(const char* p, const char* end, float& out) {
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* q = p;
    bool negative = false;
    if (q < end && (*q == '-' || *q == '+')) negative = *q++ == '-';
    const char* digits = q;
    uint64_t mantissa = 0;
    for (; q < end && unsigned(*q - '0') < 10; ++q) mantissa = mantissa * 10 + unsigned(*q - '0');
    std::size_t count = std::size_t(q - digits);
    if (count == 0) return parseFloatSlowly(p, end, out);
    std::size_t scale = 0;  // digits after the point
    if (q < end && *q == '.') {
        const char* fraction = ++q;
        for (; q < end && unsigned(*q - '0') < 10; ++q) mantissa = mantissa * 10 + unsigned(*q - '0');
        scale = std::size_t(q - fraction);
    }
    if (count + scale > 15 || (q < end && (*q == 'e' || *q == 'E'))) return parseFloatSlowly(p, end, out);
    // Below 2^24 the mantissa, and 10^scale up to 10^10, are exact floats: one
    // division rounds correctly (the usual case, 7 or 8 digits).
    static constexpr float kFloatPowers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    if (mantissa < (1u << 24) && scale <= 10) {
        const float value = float(mantissa) / kFloatPowers[scale];
        out = negative ? -value : value;
        return q;
    }
    // Up to 15 digits the mantissa and 10^scale are exact doubles (and the
    // mantissa cannot have wrapped), so the quotient is the correctly rounded
    // double. Rounding that to float is exact unless it lies exactly half-way
    // between two floats.
    const double value = double(mantissa) / kPowers[scale];
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    if ((bits & 0x1FFFFFFFu) == 0x10000000u) return parseFloatSlowly(p, end, out);
    out = negative ? -float(value) : float(value);
    return q;
}

// A decimal integer with an optional sign that fits in 32 bits, as parseFloat.
inline const char* parseInt(const char* p, const char* end, int32_t& out) {
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
    const char* digits = p;
    while (p < end && *p == '0') ++p;
    const char* significant = p;
    uint64_t value = 0;
    for (; p < end && unsigned(*p - '0') < 10; ++p) value = value * 10 + unsigned(*p - '0');
    if (p == digits || p - significant > 10 || value > (negative ? 2147483648u : 2147483647u)) return nullptr;
    out = negative ? int32_t(-int64_t(value)) : int32_t(value);
    return p;
}

// Whole-piece forms: the piece holds the number and nothing else.
inline bool wholeFloat(std::string_view piece, float& out) {
    const char* end = piece.data() + piece.size();
    return parseFloat(piece.data(), end, out) == end && !piece.empty();
}

inline bool wholeInt(std::string_view piece, int32_t& out) {
    const char* end = piece.data() + piece.size();
    return parseInt(piece.data(), end, out) == end && !piece.empty();
}

// Splits s at every delim: a delimiter always ends a piece (an empty one when
// two meet); what follows the last delimiter is a piece only when not empty.
// Calls piece(view) for each in order while it returns true; gives the count.
template <class Piece>
std::size_t forEachPiece(std::string_view s, char delim, Piece&& piece) {
    std::size_t count = 0, start = 0;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (s[i] == delim) {
            ++count;
            if (!piece(s.substr(start, i - start))) return count;
            start = i + 1;
        }
    if (start < s.size()) {
        ++count;
        piece(s.substr(start));
    }
    return count;
}

}  // namespace vorn::nodes::text
