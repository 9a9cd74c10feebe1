#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/foundation/Json.h"

namespace solvara::json {
namespace {

TEST(Json, IntegersMustBeIntegralAndInRange) {
    EXPECT_EQ(decode<int>(*parse("3")), 3);
    EXPECT_EQ(decode<int>(*parse("3.0")), 3);
    EXPECT_FALSE(decode<int>(*parse("3.5")));
    EXPECT_FALSE(decode<int>(*parse("2147483648")));
    EXPECT_EQ(decode<int>(*parse("-2147483648")), std::numeric_limits<int>::min());
    EXPECT_EQ(decode<std::int64_t>(*parse("9223372036854775807")), std::numeric_limits<std::int64_t>::max());
    EXPECT_FALSE(decode<std::int64_t>(*parse("9223372036854775808")));
    EXPECT_FALSE(decode<std::int64_t>(*parse("9.3e18")));
    EXPECT_FALSE(decode<std::int64_t>(*parse("1e300")));
    EXPECT_FALSE(decode<std::uint32_t>(*parse("-1")));
    EXPECT_EQ(decode<std::uint32_t>(*parse("4294967295")), 4294967295u);
    EXPECT_FALSE(decode<int>(*parse("true")));
    EXPECT_FALSE(decode<int>(*parse("\"3\"")));
}

TEST(Json, ScalarsAreStrict) {
    EXPECT_EQ(decode<bool>(*parse("true")), true);
    EXPECT_FALSE(decode<bool>(*parse("1")));
    EXPECT_EQ(decode<double>(*parse("2")), 2.0);
    EXPECT_FALSE(decode<double>(*parse("\"2\"")));
    EXPECT_FALSE(decode<float>(*parse("1e300")));
    EXPECT_EQ(decode<Date>(*parse("86400.5"))->secondsSinceReferenceDate, 86400.5);
    EXPECT_TRUE(decode<Uuid>(*parse("\"3f2504e0-4f89-11d3-9a0c-0305e82c3301\"")));
    EXPECT_FALSE(decode<Uuid>(*parse("\"3f2504e0-4f89-11d3-9a0c-0305e82c330\"")));
    EXPECT_FALSE(decode<std::vector<std::string>>(*parse("[\"a\", 1]")));
    EXPECT_FALSE(parse("{\"a\": }"));
    EXPECT_FALSE(parse(""));
}

TEST(Json, ObjectReaderRejectsTheWholeRecordOnAnyBadField) {
    const Json doc = *parse(R"({"name": "x", "count": 2, "ratio": null, "extra": [1, 2]})");
    ObjectReader good(doc);
    EXPECT_EQ(good.required<std::string>("name"), "x");
    EXPECT_EQ(good.required<int>("count"), 2);
    EXPECT_FALSE(good.optional<double>("ratio"));  // null is absent
    EXPECT_FALSE(good.optional<double>("missing"));
    EXPECT_TRUE(good.ok());

    ObjectReader missing(doc);
    missing.required<double>("ratio");
    EXPECT_FALSE(missing.ok());

    ObjectReader wrongType(doc);
    wrongType.optional<std::string>("count");
    EXPECT_FALSE(wrongType.ok());

    ObjectReader notObject(*parse("[1]"));
    EXPECT_FALSE(notObject.ok());
}

TEST(Json, EncodingRefusesNonFiniteNumbers) {
    Json doc = {{"a", 1.5}, {"b", {1, 2, {{"c", 0.25}}}}};
    ASSERT_TRUE(encode(doc));
    EXPECT_EQ(*encode(doc), R"({"a":1.5,"b":[1,2,{"c":0.25}]})");
    doc["b"][2]["c"] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(encode(doc));
    doc["b"][2]["c"] = -std::numeric_limits<double>::infinity();
    EXPECT_FALSE(encode(doc, true));
    // Doubles survive a round trip exactly.
    const double value = 0.1 + 0.2;
    EXPECT_EQ(decode<double>((*parse(*encode(Json(value))))), value);
}

TEST(Json, UuidTextIsUpperCase) {
    const Uuid uuid = *Uuid::parse("3f2504e0-4f89-11d3-9a0c-0305e82c3301");
    EXPECT_EQ(uuid.string(), "3F2504E0-4F89-11D3-9A0C-0305E82C3301");
    const Uuid fresh = Uuid::random();
    EXPECT_EQ(Uuid::parse(fresh.string()), fresh);
    EXPECT_EQ(fresh.string()[14], '4');
    EXPECT_NE(Uuid::random(), fresh);
}

TEST(Json, DocumentsNestedDeeperThanAnyOfOursAreRefused) {
    const auto nested = [](int depth, const std::string& inner = "1") {
        std::string text;
        for (int i = 0; i < depth; ++i) text += i % 2 == 0 ? "[" : "{\"k\":";
        text += inner;
        for (int i = depth - 1; i >= 0; --i) text += i % 2 == 0 ? "]" : "}";
        return text;
    };
    const struct {
        std::string text;
        bool accepted;
    } cases[] = {
        {nested(maxDepth), true},
        {nested(maxDepth + 1), false},
        {nested(60000), false},
        {nested(maxDepth, R"("[[[{{{\"[[[")"), true},  // brackets in strings, an escaped quote
        {std::string(60000, '[') + "]", false},        // refused before the parser sees it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 80));
        EXPECT_EQ(parse(c.text).has_value(), c.accepted);
        EXPECT_EQ(accept(c.text), c.accepted);
    }
}

TEST(Json, AForkedProcessDrawsUuidsOfItsOwn) {
    const Uuid before = Uuid::random();
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const pid_t child = fork();
    if (child == 0) {
        const Uuid uuid = Uuid::random();
        _exit(::write(pipe[1], uuid.bytes.data(), uuid.bytes.size()) == 16 ? 0 : 1);
    }
    Uuid childs;
    EXPECT_EQ(::read(pipe[0], childs.bytes.data(), childs.bytes.size()), 16);
    ::waitpid(child, nullptr, 0);
    ::close(pipe[0]);
    ::close(pipe[1]);
    const Uuid parents = Uuid::random();
    EXPECT_NE(childs, parents);
    EXPECT_NE(childs, before);
}

}  // namespace
}  // namespace solvara::json
