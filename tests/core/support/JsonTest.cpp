#include "core/support/Json.h"

#include <gtest/gtest.h>

using namespace tolvane::json;

namespace {

struct Inner {
    int64_t level = 0;
    std::optional<QString> name;
};

Decoded<std::vector<Inner>> decodeInners(QByteArrayView text)
{
    return decode<std::vector<Inner>>(text, [](Value root) {
        return root.toObject().required("players", [](Value v) {
            return v.toArray().map([](Value p) {
                const Object o = p.toObject();
                return Inner {o.int64("level"), o.optString("name")};
            });
        });
    });
}

} // namespace

TEST(StrictJson, DecodesAndIgnoresUnknownKeys)
{
    auto r = decodeInners(R"({"players":[{"level":3,"name":"a","x":[1,{}]},{"level":4.0,"name":null}],"other":1})");
    ASSERT_TRUE(r) << r.error.toStdString();
    ASSERT_EQ(r.value->size(), 2u);
    EXPECT_EQ((*r.value)[0].level, 3);
    EXPECT_EQ((*r.value)[0].name, QStringLiteral("a"));
    EXPECT_EQ((*r.value)[1].level, 4);
    EXPECT_FALSE((*r.value)[1].name.has_value());
}

TEST(StrictJson, FailuresNameTheKeyPath)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {R"({"players":[{"level":1},{"level":"2"}]})", "players[1].level: expected integer"},
        {R"({"players":[{"level":1},{"level":2.5}]})", "players[1].level: expected integer"},
        {R"({"players":[{}]})", "players[0].level: missing"},
        {R"({"players":[{"level":null}]})", "players[0].level: missing"},
        {R"({"players":{}})", "players: expected array"},
        {R"({"players":[{"level":1,"name":7}]})", "players[0].name: expected string"},
        {R"({"players":[{"level":9223372036854775808}]})", "players[0].level: integer out of range"},
        {R"([])", "expected object"},
    };
    for (const Case& c : cases) {
        auto r = decodeInners(c.text);
        EXPECT_FALSE(r) << c.text;
        EXPECT_EQ(r.error.toStdString(), c.error) << c.text;
    }
}

TEST(StrictJson, RejectsMalformedDocuments)
{
    for (const char* text : {"", "{", R"({"players":[)", "nul", "{\"a\":1}x"}) {
        auto r = decodeInners(text);
        EXPECT_FALSE(r) << text;
        EXPECT_TRUE(r.error.startsWith(QStringLiteral("invalid JSON"))) << r.error.toStdString();
    }
}

TEST(StrictJson, IntegerWidthsAreChecked)
{
    auto r = decode<int32_t>(R"({"v":3000000000})", [](Value root) { return root.toObject().int32("v"); });
    EXPECT_FALSE(r);
    EXPECT_EQ(r.error, QStringLiteral("v: integer out of range"));
    auto d = decode<double>(R"({"v":0})", [](Value root) { return root.toObject().number("v"); });
    ASSERT_TRUE(d);
    EXPECT_EQ(*d.value, 0.0);
}
