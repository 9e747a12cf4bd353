#include "tessel16/variant.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "conversion/conversion_messages.h"
#include "support/expect_exception.h"
#include "support/test_node.h"
#include "support/test_table.h"
#include "tessel16/exception.h"

using namespace Tessel16;
using Tessel16::test::CTestNode;
using Tessel16::test::ThrowsExactly;
constexpr auto kNone = CWhitespaceUtils::WhitespaceRule_None;

namespace {

// Reference count of an object, read without changing it.
int CountOf(CXmlObjectBase* object) {
    const int count = object->AddRef() - 1;
    object->Release();
    return count;
}

}  // namespace

TEST(Variant, NilKeepsTheKindAndInvalidDropsIt) {
    TsVariant v;
    EXPECT_FALSE(v.IsValid());
    EXPECT_FALSE(v.IsNil());
    v.SetI4(5);
    v.SetNil();
    EXPECT_TRUE(v.IsNil());
    EXPECT_TRUE(v.IsValid());
    EXPECT_EQ(v.GetTypeAsEnum(), ItemType_i4);
    EXPECT_EQ(v.GetI4(), 0);  // the value itself is gone
    v.SetInvalid();
    EXPECT_FALSE(v.IsValid());
    EXPECT_FALSE(v.IsNil());

    // nil on an empty variant, then a setter: a plain value again.
    TsVariant w;
    w.SetNil();
    EXPECT_TRUE(w.IsValid());
    EXPECT_EQ(w.GetTypeAsEnum(), ItemType_none);
    w.SetString(std::string(40, 'y'));
    EXPECT_FALSE(w.IsNil());
    EXPECT_EQ(w.ToString(), std::string(40, 'y'));
    w.SetNil();
    EXPECT_EQ(w.GetTypeAsEnum(), ItemType_string);
    // A nil heap kind reads and converts as empty, without a crash.
    EXPECT_EQ(w.GetString(), "");
    EXPECT_EQ(w.ToString(), "");
    std::string scratch;
    EXPECT_EQ(w.ToText(nullptr, scratch), "");
}

TEST(Variant, LabelsAndTypeErrors) {
    TsVariant v;
    for (int type : {0, 27, 28}) {  // empty, object, collection
        if (type == 27) v.SetXmlObject(nullptr);
        if (type == 28) v.SetXmlCollection(nullptr);
        const std::string label = "Invalid Type " + std::to_string(type);
        EXPECT_TRUE(ThrowsExactly<CTsException>([&] { v.GetType(); }, label));
        EXPECT_TRUE(
            ThrowsExactly<CTsException>([&] { v.ToString(); }, label + " to convert to string"));
    }
    for (int type : {0, 27, 28, 40, -3}) {
        EXPECT_TRUE(ThrowsExactly<CTsException>(
            [&] { v.FromString("1", static_cast<ItemType>(type), kNone); },
            "Invalid Type " + std::to_string(type) + " to convert to string"));
    }
}

// Every kind: parse its text, check tag, label and canonical text, and that copies, moves and
// a re-parse of the written text agree.
TEST(Variant, EveryKindThroughTextAndCopies) {
    for (const test::TableRow& c : test::ReadTable("values/variant_kinds.txt")) {
        SCOPED_TRACE(c.line);
        const ItemType type = test::ItemTypeNamed(c[0]);
        const std::string& canonical = c[2];
        TsVariant v;
        v.FromString(c[1], type, kNone);
        EXPECT_EQ(v.GetTypeAsEnum(), type);
        EXPECT_EQ(v.GetType(), c[0]);
        EXPECT_FALSE(v.IsNil());
        EXPECT_EQ(v.ToString(), canonical);
        TsVariant copy(v);
        EXPECT_EQ(copy.ToString(), canonical);
        TsVariant assigned;
        assigned.SetI4(1);
        assigned = v;
        EXPECT_EQ(assigned.GetTypeAsEnum(), type);
        v.Clear();  // the copies own their values
        EXPECT_EQ(assigned.ToString(), canonical);
        const TsVariant& alias = assigned;
        assigned = alias;  // self-assignment keeps the value
        EXPECT_EQ(assigned.ToString(), canonical);
        TsVariant reparsed;
        reparsed.FromString(copy.ToString(), type, kNone);
        EXPECT_EQ(reparsed.ToString(), canonical);
        // Moved, and moved over a value that owns memory of its own: that value is released
        // (ASan reports a leak otherwise) and the moved one arrives intact.
        TsVariant moved(std::move(reparsed));
        EXPECT_FALSE(reparsed.IsValid());  // NOLINT(bugprone-use-after-move): documented state
        TsVariant target;
        target.SetString(std::string(100, 'x'));
        target = std::move(moved);
        EXPECT_EQ(target.GetTypeAsEnum(), type);
        EXPECT_EQ(target.ToString(), canonical);
        // Nil drops the value but keeps the kind, in copies too.
        target.SetNil();
        TsVariant copyOfNil(target);
        EXPECT_TRUE(copyOfNil.IsNil());
        EXPECT_EQ(copyOfNil.GetTypeAsEnum(), type);
    }
}

TEST(Variant, OtherKindsReadAsEmptyAndFormatsApply) {
    TsVariant v;
    v.SetR8(2.5);
    EXPECT_EQ(v.GetI4(), 0);  // another kind reads as empty
    EXPECT_EQ(v.GetDate().GetType(), CDateTime::dt_yearZero);
    v.SetDecimal(CDecimal("3.25"));
    EXPECT_EQ(v.ToString("1"), "3.2");  // the format gives the fraction digits
    v.SetR8(1.5);
    EXPECT_EQ(v.ToString("%.2f"), "1.50");
    EXPECT_EQ(v.ToString(nullptr), "1.5");
    v.SetChar('\0');
    EXPECT_EQ(v.ToString(), "");
}

TEST(Variant, FromStringPassesConversionFailuresThrough) {
    TsVariant v;
    v.SetI4(7);
    EXPECT_TRUE(
        ThrowsExactly<CTsInvalidValueException>([&] { v.FromString("32768", ItemType_i2, kNone); },
                                                "The value [32768] is to large to fit in a i2"));
    EXPECT_EQ(v.GetI4(), 7);            // a failed parse leaves the variant as it was
    v.SetString(std::string(40, 'k'));  // and so it does a value held on the heap
    EXPECT_THROW(v.FromString("1.2.3", ItemType_decimal, kNone), CTsInvalidValueException);
    EXPECT_EQ(v.GetString(), std::string(40, 'k'));
    EXPECT_THROW(v.FromString("2003-02-29", ItemType_date, kNone), CTsInvalidValueException);
    EXPECT_THROW(v.FromString("P", ItemType_duration, kNone), CTsInvalidValueException);
    EXPECT_THROW(v.FromString("0G", ItemType_hexBinary, kNone), CTsException);
    EXPECT_THROW(v.FromString(" x", ItemType_boolean, kNone), CTsInvalidValueException);
    EXPECT_THROW(v.FromString(" 5 ", ItemType_i4, kNone), CTsInvalidValueException);
    v.FromString(" 5 ", ItemType_i4, CWhitespaceUtils::WhitespaceRule_Collapse);
    EXPECT_EQ(v.GetI4(), 5);
}

TEST(Variant, ObjectSlotHoldsOneReference) {
    const int before = CTestNode::LiveCount();
    CSmartPtr<CXmlObjectBase> owner = CTestNode::Create("probe");
    CXmlObjectBase* object = owner.get();
    ASSERT_EQ(CountOf(object), 1);
    {
        TsVariant v;
        v.SetXmlObject(object);
        EXPECT_EQ(CountOf(object), 2);
        TsVariant copy(v);
        EXPECT_EQ(CountOf(object), 3);
        EXPECT_EQ(copy.GetXmlObject().get(), object);
        EXPECT_EQ(CountOf(object), 3);  // the returned smart pointer gave its reference back
        copy.SetI4(1);
        EXPECT_EQ(CountOf(object), 2);
        v.SetXmlObject(object);  // re-setting the same object keeps one reference
        EXPECT_EQ(CountOf(object), 2);
        EXPECT_EQ(copy.GetXmlObject(), nullptr);
    }
    EXPECT_EQ(CountOf(object), 1);
    EXPECT_EQ(CTestNode::LiveCount(), before + 1);

    // A variant that holds the last reference deletes the object when it lets go.
    TsVariant last;
    last.SetXmlObject(object);
    owner = nullptr;
    EXPECT_EQ(CTestNode::LiveCount(), before + 1);
    last.SetXmlObject(object);  // the sole owner re-sets it: must survive
    EXPECT_EQ(CTestNode::LiveCount(), before + 1);
    last.SetNil();
    EXPECT_EQ(CTestNode::LiveCount(), before);
    EXPECT_EQ(last.GetTypeAsEnum(), ItemType_object);
}

// Arbitrary text for every kind either parses (and then writes and re-parses) or throws a
// member of the family; under the sanitizers this also guards against reads past the text.
TEST(Variant, ArbitraryTextNeverEscapesTheFamily) {
    std::mt19937 random(99);
    const std::string alphabet = "0123456789+-.:eETPYMDHSZ-- \t\nabcfINAQ#/=\x01\xC3\xA9\xFF";
    int parsed = 0;
    for (int i = 0; i < 4000; ++i) {
        std::string text(static_cast<std::size_t>(random() % 24), ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        const auto type = static_cast<ItemType>(1 + i % 26);
        const auto rule = static_cast<CWhitespaceUtils::WhitespaceRule>(random() % 4);
        TsVariant v;
        try {
            v.FromString(text, type, rule);
        } catch (const CTsException&) {
            continue;
        }
        ++parsed;
        // The canonical text of a parsed value parses again to the same canonical text.
        try {
            const std::string written = v.ToString();
            TsVariant again;
            again.FromString(written, type, kNone);
            EXPECT_EQ(again.ToString(), written) << "type " << type << " [" << text << "]";
        } catch (const CTsException& e) {
            ADD_FAILURE() << "type " << type << " [" << text << "] failed to write or to read "
                          << "its own text: " << e.GetMessage();
        }
    }
    EXPECT_GT(parsed, 200);  // the write and re-parse path was exercised
}
