// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/SpokenLine.h"
#include "engine/SpokenNumber.h"

using namespace engine;

namespace {

// The clips as the characters they say, so that a table reads as Mandarin.
std::string said(const std::vector<int>& clips) {
    static const std::map<int, std::string> kWords = {
        {100, "零"}, {101, "一"}, {102, "二"}, {103, "三"},   {104, "四"}, {105, "五"},
        {106, "六"}, {107, "七"}, {108, "八"}, {109, "九"},   {110, "点"}, {112, "加"},
        {113, "减"}, {114, "乘"}, {115, "除"}, {116, "等于"}, {117, "E"},  {118, "负"},
        {119, "十"}, {120, "百"}, {121, "千"}, {122, "万"},   {123, "亿"}};
    std::string out;
    for (const int clip : clips) {
        const auto word = kWords.find(clip);
        out += word == kWords.end() ? "?" + std::to_string(clip) : word->second;
    }
    return out;
}

} // namespace

TEST(SpokenNumber, PlaceUnitsSayGroupsZerosAndTensAsAmounts) {
    const std::pair<const char*, const char*> table[] = {
        {"0", "零"},
        {"10", "十"},
        {"15.5", "十五点五"},
        {"-15", "负十五"},
        {"20", "二十"},
        {"110", "一百一十"},
        {"1010", "一千零一十"},
        {"10005", "一万零五"},
        {"12345", "一万二千三百四十五"},
        {"100000", "十万"},
        {"100200300", "一亿零二十万零三百"},
        {"100000000", "一亿"},
        {"100000005", "一亿零五"},
        {"100010000", "一亿零一万"},
        {"100001000", "一亿零一千"},
        {"100100000", "一亿零一十万"},
        {"10001000", "一千万一千"},
        {"1000000000000", "一万亿"},
        {"1000000000001", "一万亿零一"},
        {"1000100000000", "一万零一亿"},
        {"10000000000000", "十万亿"},
        {"999999999999999", "九百九十九万九千九百九十九亿九千九百九十九万九千九百九十九"},
        {"0.07", "零点零七"},
        {"-3.5", "负三点五"},
        {"5.", "五点"},
        {"0.", "零点"},
        // Zeros that end one group and start the next still say one 零.
        {"10000010", "一千万零一十"},
        {"1001001", "一百万一千零一"},
        {"200000000020", "二千亿零二十"},
        {"110000000000000", "一百一十万亿"},
        {"-1000000000000.5", "负一万亿点五"},
    };
    for (const auto& [text, expected] : table) {
        EXPECT_EQ(said(SpokenNumber::placeUnits(text)), expected) << text;
    }
    // Exponent forms stay digit by digit.
    EXPECT_EQ(
        said(SpokenNumber::clips(SpokenNumber::speechText("1.5E+15", 2), ReadingStyle::PlaceUnits)),
        "一点五E一五");
}

TEST(SpokenLine, LinesAreReadWholeWithSignsOperatorsAndExponents) {
    const std::pair<const char*, std::vector<int>> table[] = {
        {"12+3.5=15.5", {101, 102, 112, 103, 110, 105, 116, 101, 105, 110, 105}},
        {"(-2)*3=-6", {118, 102, 114, 103, 116, 118, 106}},
        {"+5=5", {112, 105, 116, 105}},
        {"1/3=0.3333", {101, 115, 103, 116, 100, 110, 103, 103, 103, 103}},
        {"(-1.2345)+1=-0.2345",
         {118, 101, 110, 102, 103, 104, 105, 112, 101, 116, 118, 100, 110, 102, 103, 104, 105}},
        {"-5=-5", {113, 105, 116, 118, 105}},
        {"7438313623/0.0000=1.4304E+16",
         {107, 104, 103, 108, 103, 101, 103, 106, 102, 103, 115, 100, 110, 100,
          100, 100, 100, 116, 101, 110, 104, 103, 100, 104, 117, 101, 106}},
        {"1.5E+15-2=1.5E+15",
         {101, 110, 105, 117, 101, 105, 113, 102, 116, 101, 110, 105, 117, 101, 105}},
    };
    for (const auto& [line, clips] : table) {
        EXPECT_EQ(SpokenLine::clips(line, ReadingStyle::Digits), clips) << line;
    }
    EXPECT_EQ(said(SpokenLine::clips("12345-(-20)=12365", ReadingStyle::PlaceUnits)),
              "一万二千三百四十五减负二十等于一万二千三百六十五");
    EXPECT_EQ(SpokenLine::words("12+3.5=15.5"), "12加3.5等于15.5");
    EXPECT_EQ(SpokenLine::words("(-2)*3=-6"), "(负2)乘3等于负6");
    EXPECT_EQ(SpokenLine::words("-5/1.5E+15=-3.3333E-15"), "减5除1.5E+15等于负3.3333E-15");
}
