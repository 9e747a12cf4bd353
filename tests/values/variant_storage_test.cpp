// variant_storage_test.cpp: ToText hands out a held string without copying it, and a
// disposable variant gives its value up to Take.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/test_table.h"
#include "tessel16/variant.h"

using namespace Tessel16;
constexpr auto kNone = CWhitespaceUtils::WhitespaceRule_None;

TEST(VariantStorage, ToTextLendsAHeldStringAndConvertsTheRest) {
    const std::string longText(64, 'z');
    TsVariant v;
    v.SetString(longText);
    std::string scratch;
    const std::string& lent = v.ToText(nullptr, scratch);
    EXPECT_EQ(lent, longText);
    EXPECT_NE(&lent, &scratch);
    EXPECT_EQ(&v.ToText(nullptr, scratch), &lent);  // the same held string, not a copy
    EXPECT_TRUE(scratch.empty());

    // Storing the lent string back into its own variant keeps it.
    v.SetString(v.ToText(nullptr, scratch));
    EXPECT_EQ(v.GetString(), longText);

    v.SetI4(-17);
    const std::string& converted = v.ToText(nullptr, scratch);
    EXPECT_EQ(&converted, &scratch);
    EXPECT_EQ(converted, "-17");
}

namespace {

// A class kind taken out of `v` the way a generated accessor takes it, put into a fresh
// variant so that its text can be compared; empty for the other kinds. The five cover values
// held in the slot and on the heap.
TsVariant TakeInto(TsVariant& v, ItemType type) {
    TsVariant out;
    if (type == ItemType_string) out.SetString(v.TakeString());
    if (type == ItemType_decimal) out.SetDecimal(v.TakeDecimal());
    if (type == ItemType_date) out.SetDate(v.TakeDate());
    if (type == ItemType_duration) out.SetDuration(v.TakeDuration());
    if (type == ItemType_integer) out.SetInteger(v.TakeInteger());
    return out;
}

}  // namespace

TEST(VariantStorage, TakeMovesOutOfADisposableVariantOnly) {
    for (const test::TableRow& c : test::ReadTable("values/variant_kinds.txt")) {
        SCOPED_TRACE(c.line);
        const ItemType type = test::ItemTypeNamed(c[0]);
        TsVariant kept;
        kept.FromString(c[1], type, kNone);
        const TsVariant taken = TakeInto(kept, type);
        if (!taken.IsValid()) continue;  // a kind TakeInto leaves out
        EXPECT_EQ(taken.ToString(), c[2]);
        EXPECT_EQ(kept.ToString(), c[2]);  // unmarked: a copy, the variant keeps its value

        TsVariant given(kept);
        given.SetDisposable();
        TsVariant copy(given);  // the mark stays with the variant it was put on
        EXPECT_EQ(TakeInto(given, type).ToString(), c[2]);
        EXPECT_FALSE(given.IsValid());
        EXPECT_EQ(TakeInto(copy, type).ToString(), c[2]);
        EXPECT_EQ(copy.ToString(), c[2]);

        // Nil has nothing to give: the kind's empty value, and the variant stays nil.
        given.FromString(c[1], type, kNone);
        given.SetNil();
        const std::string empty = given.ToString();
        EXPECT_EQ(TakeInto(given, type).ToString(), empty);
        EXPECT_TRUE(given.IsNil());
        EXPECT_EQ(given.GetTypeAsEnum(), type);
    }
}
