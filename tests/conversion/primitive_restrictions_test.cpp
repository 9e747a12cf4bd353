#include "tessel16/primitive_restrictions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/expect_exception.h"
#include "support/test_node.h"
#include "support/test_table.h"
#include "tessel16/exception.h"
#include "tessel16/switches.h"
#include "tessel16/variant.h"

using namespace Tessel16;
using Tessel16::test::ItemTypeNamed;
using Tessel16::test::ReadTable;
using Tessel16::test::TableRow;
using Tessel16::test::ThrowsExactly;
constexpr auto kNone = CWhitespaceUtils::WhitespaceRule_None;

namespace {

// "name=value ..." as in the facet table: the facets named, the others unset.
CPrimitiveRestrictions FacetsOf(const std::string& cell) {
    std::map<std::string, std::string> set;
    std::istringstream words(cell);
    for (std::string word; words >> word;) {
        const std::size_t eq = word.find('=');
        set[word.substr(0, eq)] = word.substr(eq + 1);
    }
    const std::string known =
        " pattern minLength maxLength minInclusive maxInclusive minExclusive maxExclusive length"
        " totalDigits fractionDigits ";
    for (const auto& facet : set)
        EXPECT_NE(known.find(" " + facet.first + " "), std::string::npos) << facet.first;
    const auto text = [&](const char* name) -> const char* {
        const auto it = set.find(name);
        return it == set.end() ? nullptr : it->second.c_str();
    };
    const auto number = [&](const char* name) { return text(name) ? std::atoi(text(name)) : -1; };
    return CPrimitiveRestrictions(text("pattern"), number("minLength"), number("maxLength"),
                                  text("minInclusive"), text("maxInclusive"), text("minExclusive"),
                                  text("maxExclusive"), number("length"), number("totalDigits"),
                                  number("fractionDigits"));
}

}  // namespace

// The facet table reaches every field through the constructor, so its order needs no test of
// its own; only emptiness is read back.
TEST(PrimitiveRestrictions, EmptyOnlyWithoutFacets) {
    EXPECT_TRUE(CPrimitiveRestrictions().IsEmpty());
    EXPECT_FALSE(CPrimitiveRestrictions("", -1, -1, "", "", "", "", -1, -1, 0).IsEmpty());
}

TEST(PrimitiveRestrictions, FacetTable) {
    const std::vector<TableRow> rows = ReadTable("conversion/facet_cases.txt");
    ASSERT_GT(rows.size(), 60u);
    for (const TableRow& row : rows) {
        SCOPED_TRACE("facet_cases.txt line " + std::to_string(row.line));
        const ItemType type = ItemTypeNamed(row[0]);
        TsVariant value;
        value.FromString(row[1].c_str(), type, kNone);
        const CPrimitiveRestrictions r = FacetsOf(row[2]);
        if (row[3].empty()) {
            EXPECT_NO_THROW(r.CheckValue("v", value, type));
        } else {
            EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
                [&] { r.CheckValue("v", value, type); }, row[3]));
        }
    }
}

TEST(PrimitiveRestrictions, KindsWithoutFacetsAndUnknownKinds) {
    // Char and boolean have no facets to break; without facets nothing can fail, whatever the
    // variant holds; an unknown kind is refused all the same.
    const CPrimitiveRestrictions all("x", 9, 9, "9", "9", "9", "9", 9, 0, 0);
    TsVariant value;
    value.SetChar('a');
    EXPECT_NO_THROW(all.CheckValue("v", value, ItemType_char));
    value.SetBoolean(true);
    EXPECT_NO_THROW(all.CheckValue("v", value, ItemType_boolean));
    const CPrimitiveRestrictions none;
    TsVariant text;
    text.SetString("not a number");
    TsVariant empty;
    for (int type = ItemType_hexBinary; type <= ItemType_integer; ++type) {
        SCOPED_TRACE(type);
        EXPECT_NO_THROW(none.CheckValue("v", text, static_cast<ItemType>(type)));
        EXPECT_NO_THROW(none.CheckValue("v", empty, static_cast<ItemType>(type)));
    }
    for (const CPrimitiveRestrictions* r : {&all, &none}) {
        for (int type : {0, 27, 28, 29, -1}) {
            EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
                [&] { r->CheckValue("v", text, static_cast<ItemType>(type)); },
                "Unknown type [" + std::to_string(type) + "]."));
        }
    }
}

TEST(PrimitiveRestrictions, StringLengthCountsCharactersOfTheLocalEncoding) {
    const CPrimitiveRestrictions r = FacetsOf("length=3");
    EXPECT_NO_THROW(r.CheckString("v", "\xC3\xA9t\xC3\xA9"));  // UTF-8: three characters
    test::CodePageScope latin1(1252);
    EXPECT_THROW(r.CheckString("v", "\xC3\xA9t\xC3\xA9"), CTsInvalidValueException);
    EXPECT_NO_THROW(r.CheckString("v", "\xE9t\xE9"));
}

// A pattern that is invalid or that the engine gives up on is reported with the engine's
// reason first, then the value check's own message; a second check must not reuse a
// half-built expression.
TEST(PrimitiveRestrictions, PatternFailuresAreReportedWithTheValue) {
    using namespace ::testing;
    const std::string runaway(40, 'a');
    const struct {
        const char* pattern;
        std::string value;
        const char* head;
    } cases[] = {
        {"(abc", "abc", "Invalid Regular Expression: ^((abc)$ Error: '"},
        {"(a+)+(b|c)", runaway, "Regular Expression: ^((a+)+(b|c))$ gave up before deciding"},
    };
    for (const auto& c : cases) {
        const CPrimitiveRestrictions r = FacetsOf(std::string("pattern=") + c.pattern);
        const std::string tail = "'\nInvalid Value for code [" + c.value + "].";
        for (int i = 0; i < 2; ++i) {
            const auto e =
                test::Caught<CTsInvalidValueException>([&] { r.CheckString("code", c.value); });
            ASSERT_TRUE(e);
            // The engine's own words lie between the head and the tail.
            EXPECT_THAT(e->GetMessage(), AllOf(StartsWith(c.head), EndsWith(tail),
                                               SizeIs(Gt(std::strlen(c.head) + tail.size()))));
        }
    }
}
