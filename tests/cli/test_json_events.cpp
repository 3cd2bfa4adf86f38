#include "JsonEvents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hv::cli::test {
namespace {

// Writes each event as a short token, so that a whole reading compares as one string.
class TRecorder : public TJsonHandler {
public:
    std::string Events;
    int StopAfter = -1; // events before the handler stops the reading

    bool Null() override { return Add("null"); }
    bool Boolean(bool value) override { return Add(value ? "true" : "false"); }
    bool Integer(std::int64_t value, bool outOfRange) override {
        return Add((outOfRange ? "int!" : "int:") + std::to_string(value));
    }
    bool Float() override { return Add("float"); }
    bool String(std::string& value) override { return Add("s:" + value); }
    bool Key(std::string& name) override { return Add("k:" + name); }
    bool StartObject() override { return Add("{"); }
    bool EndObject() override { return Add("}"); }
    bool StartArray() override { return Add("["); }
    bool EndArray() override { return Add("]"); }

private:
    bool Add(const std::string& event) {
        Events += Events.empty() ? event : " " + event;
        return StopAfter < 0 || --StopAfter > 0;
    }
};

std::string EventsOf(std::string_view text) {
    TRecorder recorder;
    const TJsonReadResult result = ReadJson(text, recorder);
    EXPECT_EQ(result.Kind, TJsonReadResult::Ok) << text << " at " << result.Position;
    return recorder.Events;
}

TEST(JsonEventsTest, ReportsValuesInTextOrder) {
    EXPECT_EQ(EventsOf(R"( {"a":[1,-2,0.5,1e3,true,false,null,"x"],"b":{},"c":[]} )"),
              "{ k:a [ int:1 int:-2 float float true false null s:x ] k:b { } k:c [ ] }");
    EXPECT_EQ(EventsOf("\xEF\xBB\xBF\"bom\""), "s:bom");
    EXPECT_EQ(EventsOf("[9223372036854775807,9223372036854775808,-9223372036854775809]"),
              "[ int:9223372036854775807 int!9223372036854775807 int!-9223372036854775808 ]");
}

TEST(JsonEventsTest, DecodesEscapesAndKeepsUtf8) {
    EXPECT_EQ(EventsOf(R"("a\"b\\c\/d\b\f\n\r\t")"), "s:a\"b\\c/d\b\f\n\r\t");
    EXPECT_EQ(EventsOf(R"("\u0041\u00e9\u6771\uD83D\uDE00")"), "s:A\xC3\xA9\xE6\x9D\xB1\xF0\x9F\x98\x80");
    EXPECT_EQ(EventsOf("\"東京\xF0\x9F\x98\x80\""), "s:東京\xF0\x9F\x98\x80");
}

TEST(JsonEventsTest, ReadsAnyDepthWithoutRecursion) {
    constexpr int kDepth = 200000;
    const std::string text = std::string(kDepth, '[') + std::string(kDepth, ']');
    TRecorder recorder;
    EXPECT_EQ(ReadJson(text, recorder).Kind, TJsonReadResult::Ok);
    EXPECT_EQ(recorder.Events.size(), 4U * kDepth - 1);
}

struct TBadCase {
    const char* Name;
    std::string Text;
    std::size_t Position; // the offending byte, from 1
};

class TJsonSyntaxTest : public ::testing::TestWithParam<TBadCase> {};

TEST_P(TJsonSyntaxTest, StopsAtTheOffendingByte) {
    TRecorder recorder;
    const TJsonReadResult result = ReadJson(GetParam().Text, recorder);
    EXPECT_EQ(result.Kind, TJsonReadResult::SyntaxError);
    EXPECT_EQ(result.Position, GetParam().Position);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, TJsonSyntaxTest,
    ::testing::Values(TBadCase{"Empty", "", 1}, TBadCase{"OnlySpace", "  ", 3}, TBadCase{"TrailingComma", "[1,]", 4},
                      TBadCase{"MissingColon", R"({"a" 1})", 6}, TBadCase{"UnquotedKey", "{a:1}", 2},
                      TBadCase{"Unclosed", R"({"a":[1})", 8}, TBadCase{"Mismatched", "[}", 2},
                      TBadCase{"SecondValue", "{} {}", 4}, TBadCase{"LeadingZero", "01", 2},
                      TBadCase{"BareMinus", "-", 2}, TBadCase{"NoFractionDigits", "1.", 3},
                      TBadCase{"NoExponentDigits", "1e+", 4}, TBadCase{"Literal", "tru", 4},
                      TBadCase{"Unterminated", "\"abc", 5}, TBadCase{"RawNewline", "\"a\nb\"", 3},
                      TBadCase{"BadEscape", R"("\x")", 3}, TBadCase{"ShortUnicode", R"("\u12")", 6},
                      TBadCase{"LoneLowSurrogate", R"("\uDC00")", 8}, TBadCase{"HighSurrogateAlone", R"("\uD800x")", 8},
                      TBadCase{"InvalidByte", "\"\xFF\"", 2}, TBadCase{"Overlong", "\"\xC0\xAF\"", 2},
                      TBadCase{"EncodedSurrogate", "\"\xED\xA0\x80\"", 2},
                      TBadCase{"TruncatedSequence", "\"\xE6\x9D\"", 2}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(JsonEventsTest, AHandlerCanStopTheReading) {
    TRecorder recorder;
    recorder.StopAfter = 3;
    EXPECT_EQ(ReadJson(R"({"a":[1,2,3]})", recorder).Kind, TJsonReadResult::Stopped);
    EXPECT_EQ(recorder.Events, "{ k:a [");
}

} // namespace
} // namespace hv::cli::test
