#include "nodes/scene/TextScan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace vorn::test {
namespace {

using namespace nodes::text;

// What the standard library reads from the whole text, for comparison.
std::optional<float> standardFloat(std::string_view s, std::size_t& used) {
    float value = 0;
    auto [stop, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc()) return std::nullopt;
    used = std::size_t(stop - s.data());
    return value;
}

TEST(TextScan, FloatsReadExactlyAsTheStandardLibraryReadsThem) {
    // 16777217 and 16777219 lie half-way between floats: ties go to the even one.
    float tie = 0;
    parseFloat("16777219", "16777219" + 8, tie);
    EXPECT_EQ(tie, 16777220.0f);
    std::vector<std::string> texts = {"16777217", "16777219", "-0", "0.000000", "1.", "3.40282347e38", "1e-45",
                                      "123456789012345678", "0.1234567890123456789", "7.5abc", "2.5.1", "-.5"};
    std::mt19937_64 random(7);
    for (int i = 0; i < 200000; ++i) {
        // Up to 17 digits around a point, as exporters write them.
        std::string text = random() % 2 ? "-" : "";
        text += std::to_string(random() % 100000000);
        text += "." + std::to_string(random() % 1000000000ull);
        texts.push_back(text.substr(0, 2 + random() % 17));
    }
    for (const std::string& text : texts) {
        std::size_t used = 0;
        std::optional<float> expected = standardFloat(text, used);
        float value = -1;
        const char* stop = parseFloat(text.data(), text.data() + text.size(), value);
        ASSERT_EQ(stop != nullptr, expected.has_value()) << text;
        if (!expected) continue;
        EXPECT_EQ(std::size_t(stop - text.data()), used) << text;
        uint32_t a, b;
        std::memcpy(&a, &value, 4);
        std::memcpy(&b, &*expected, 4);
        ASSERT_EQ(a, b) << text;
    }
}

TEST(TextScan, IntegersFitIn32BitsAndLinesEndWithoutTheirCarriageReturn) {
    const std::pair<std::string_view, std::optional<int32_t>> ints[] = {
        {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}, {"2147483648", std::nullopt},
        {"00000000000012", 12},     {"+7", 7},                  {"-", std::nullopt}};
    for (auto [text, expected] : ints) {
        int32_t value = 0;
        EXPECT_EQ(wholeInt(text, value) ? std::optional(value) : std::nullopt, expected) << text;
    }

    LineReader lines("a\r\nb\rc\n\r");
    std::vector<std::string> read;
    for (std::string_view line; lines.next(line);) read.emplace_back(line);
    EXPECT_EQ(read, (std::vector<std::string>{"a", "b\rc", ""}));
}

}  // namespace
}  // namespace vorn::test
