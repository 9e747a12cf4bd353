// variant_from_string_heap_test.cpp: FromString for the kinds kept on the heap (strings,
// binary data, dates, decimals) takes the converted value over without a copy. These cases
// check the adopted value is whole, replaces whatever the variant held, and that a failed
// conversion leaves the held value alone.
#include <gtest/gtest.h>

#include <string>

#include "tessel16/binary_data.h"
#include "tessel16/decimal.h"
#include "tessel16/exception.h"
#include "tessel16/variant.h"

using namespace Tessel16;

namespace {
constexpr auto kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;
constexpr auto kNone = CWhitespaceUtils::WhitespaceRule_None;
}  // namespace

TEST(VariantFromStringHeap, LongValuesSurviveAndReplaceEachOther) {
    // Longer than any small-string buffer, so the characters live in their own block.
    const std::string longText(200, 'x');
    TsVariant v;
    v.FromString(longText, ItemType_string, kNone);
    EXPECT_EQ(v.GetString(), longText);

    v.FromString("  12345678901234567890.125  ", ItemType_decimal, kCollapse);
    EXPECT_EQ(v.GetTypeAsEnum(), ItemType_decimal);
    EXPECT_EQ(v.GetDecimal().ToString(), "12345678901234567890.125");

    v.FromString(std::string(64, 'A'), ItemType_base64Binary, kNone);
    EXPECT_EQ(v.GetTypeAsEnum(), ItemType_base64Binary);
    EXPECT_EQ(v.GetBase64Binary().GetLength(), 48u);

    v.FromString("\t a  b \n", ItemType_string, kCollapse);
    EXPECT_EQ(v.GetString(), "a b");

    TsVariant copy(v);
    v.FromString("2004-02-29", ItemType_date, kNone);
    EXPECT_EQ(copy.GetString(), "a b");
    EXPECT_EQ(v.GetDate().GetDay(), 29);
}

TEST(VariantFromStringHeap, FailedConversionKeepsTheHeldValue) {
    TsVariant v;
    v.FromString(std::string(40, 'k'), ItemType_string, kNone);
    EXPECT_THROW(v.FromString("1.2.3", ItemType_decimal, kNone), CTsInvalidValueException);
    EXPECT_EQ(v.GetTypeAsEnum(), ItemType_string);
    EXPECT_EQ(v.GetString(), std::string(40, 'k'));
}
