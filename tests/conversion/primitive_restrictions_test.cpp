#include "tessel16/primitive_restrictions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "conversion/conversion_messages.h"
#include "support/expect_exception.h"
#include "support/test_table.h"
#include "tessel16/conversions.h"
#include "tessel16/exception.h"
#include "tessel16/switches.h"
#include "tessel16/variant.h"

using namespace Tessel16;
using Tessel16::test::ItemTypeNamed;
using Tessel16::test::ReadTable;
using Tessel16::test::TableRow;
using Tessel16::test::ThrowsExactly;
using C = CConversions;
constexpr auto kNone = CWhitespaceUtils::WhitespaceRule_None;

namespace {

// Facets by name, so each case states only what it sets.
struct Facets {
    const char* pattern = nullptr;
    std::int32_t minLength = -1;
    std::int32_t maxLength = -1;
    const char* minInclusive = nullptr;
    const char* maxInclusive = nullptr;
    const char* minExclusive = nullptr;
    const char* maxExclusive = nullptr;
    std::int32_t length = -1;
    std::int32_t totalDigits = -1;
    std::int32_t fractionDigits = -1;

    CPrimitiveRestrictions Make() const {
        return CPrimitiveRestrictions(pattern, minLength, maxLength, minInclusive, maxInclusive,
                                      minExclusive, maxExclusive, length, totalDigits,
                                      fractionDigits);
    }
};

Facets MaxInclusive(const char* bound) {
    Facets f;
    f.maxInclusive = bound;
    return f;
}

// "name=value ..." as in the facet table; the strings stay owned by the caller's cell.
Facets ParseFacets(std::vector<std::string>& parts) {
    Facets f;
    for (std::string& part : parts) {
        const std::size_t eq = part.find('=');
        const std::string name = part.substr(0, eq);
        part = part.substr(eq + 1);
        const char* text = part.c_str();
        if (name == "pattern")
            f.pattern = text;
        else if (name == "minLength")
            f.minLength = std::atoi(text);
        else if (name == "maxLength")
            f.maxLength = std::atoi(text);
        else if (name == "minInclusive")
            f.minInclusive = text;
        else if (name == "maxInclusive")
            f.maxInclusive = text;
        else if (name == "minExclusive")
            f.minExclusive = text;
        else if (name == "maxExclusive")
            f.maxExclusive = text;
        else if (name == "length")
            f.length = std::atoi(text);
        else if (name == "totalDigits")
            f.totalDigits = std::atoi(text);
        else if (name == "fractionDigits")
            f.fractionDigits = std::atoi(text);
        else
            ADD_FAILURE() << "unknown facet " << name;
    }
    return f;
}

// Checks that CheckString throws a message that starts with the pattern engine's `head` and
// ends with the value check's `tail`; the engine's own words lie between.
void ExpectHeadAndTail(const CPrimitiveRestrictions& r, const std::string& value,
                       const std::string& head, const std::string& tail) {
    try {
        r.CheckString("code", value);
        ADD_FAILURE() << "no exception";
    } catch (const CTsInvalidValueException& e) {
        const std::string m = e.GetMessage();
        EXPECT_EQ(m.compare(0, head.size(), head), 0) << m;
        ASSERT_GT(m.size(), head.size() + tail.size());
        EXPECT_EQ(m.substr(m.size() - tail.size()), tail) << m;
    }
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
        std::vector<std::string> parts;
        std::istringstream words(row[2]);
        for (std::string word; words >> word;) parts.push_back(word);
        const CPrimitiveRestrictions r = ParseFacets(parts).Make();
        if (row[3].empty()) {
            EXPECT_NO_THROW(r.CheckValue("v", value, type));
        } else {
            EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
                [&] { r.CheckValue("v", value, type); }, row[3]));
        }
    }
}

TEST(PrimitiveRestrictions, UnconvertibleBoundReportsTheConversionFailure) {
    // A bound that does not convert reports the conversion's own failure.
    TsVariant value;
    value.SetI1(5);
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [&] { MaxInclusive("200").Make().CheckValue("v", value, ItemType_i1); },
        FormatString(detail::kMsgI1TooLarge, "200")));
    value.SetI4(5);
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [&] { MaxInclusive("abc").Make().CheckValue("v", value, ItemType_i4); },
        FormatString(detail::kMsgI4NotConverted, "abc")));
}

TEST(PrimitiveRestrictions, InvalidPatternIsReportedWithTheValue) {
    Facets broken;
    broken.pattern = "(abc";
    const CPrimitiveRestrictions r = broken.Make();
    for (int i = 0; i < 2; ++i) {  // the second check must not reuse a half-built expression
        ExpectHeadAndTail(r, "abc", "Invalid Regular Expression: ^((abc)$ Error: '",
                          "'\nInvalid Value for code [abc].");
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
    struct Restore {
        unsigned int codePage = detail::LocalCharEncoding();
        ~Restore() { SetLocalCharEncoding(codePage); }
    } restore;
    Facets three;
    three.length = 3;
    const CPrimitiveRestrictions r = three.Make();
    EXPECT_NO_THROW(r.CheckString("v", "\xC3\xA9t\xC3\xA9"));  // UTF-8: three characters
    SetLocalCharEncoding(1252);
    EXPECT_THROW(r.CheckString("v", "\xC3\xA9t\xC3\xA9"), CTsInvalidValueException);
    EXPECT_NO_THROW(r.CheckString("v", "\xE9t\xE9"));
}

// A pattern the engine gives up on is reported like an invalid pattern: the engine's
// reason first, then the value check's own message.
TEST(PrimitiveRestrictions, PatternThatGivesUpIsReportedWithTheValue) {
    Facets runaway;
    runaway.pattern = "(a+)+(b|c)";
    const std::string value(40, 'a');
    ExpectHeadAndTail(runaway.Make(), value,
                      "Regular Expression: ^((a+)+(b|c))$ gave up before deciding",
                      "'\nInvalid Value for code [" + value + "].");
}
