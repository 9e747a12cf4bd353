// strict_reading_test.cpp: strict reading of the purchase-order binding. One valid document is
// broken one way per case; lenient reading lets each break through (as it always has), strict
// reading refuses it with the class, path and line a user needs to find it.
#include <gtest/gtest.h>

#include <string>

#include "po/po_binding.h"
#include "support/expect_exception.h"
#include "support/test_node.h"
#include "support/untyped_binding.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"

using namespace Tessel16;
using namespace Po;
using Tessel16::test::ThrowsExactly;

namespace {

// A valid order with one element per line, so every case knows the line of what it breaks.
std::string ReadOrder() {
    return test::ReadFileBytes(std::string(TESSEL16_TEST_DATA_DIR) + "/binding/strict_order.xml");
}
const std::string kOrder = ReadOrder();

// Every occurrence, so that a renamed element is renamed in its end tag too.
std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

CSerializationContext Strict() {
    CSerializationContext context;
    context.SetStrictReading(true);
    return context;
}

// Which exception class a case expects.
enum class Kind { Validation, Value };

template <class Call>
::testing::AssertionResult Refuses(Kind kind, Call&& call, const std::string& message) {
    return kind == Kind::Value ? ThrowsExactly<CTsInvalidValueException>(call, message)
                               : ThrowsExactly<CTsValidationException>(call, message);
}

}  // namespace

TEST(StrictReading, ValidOrderReadsInBothModes) {
    for (bool strict : {false, true}) {
        CSerializationContext context;
        context.SetStrictReading(strict);
        CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
        ASSERT_NO_THROW(order->FromXml(kOrder.c_str(), context));
        EXPECT_EQ(order->GetLine()->GetCount(), 2);
        EXPECT_EQ(order->GetStatus(), OrderStatus_submitted);
    }
}

// The catalogue of breaks. Lenient reading lets some through without a word and refuses
// others without saying where (or, for enumerations, without naming the text); strict
// reading refuses each, naming path and line, in the class lenient reading uses.
TEST(StrictReading, RefusesEachBreakNamingPathAndLine) {
    const struct {
        const char* what;
        const char* from;
        const char* to;
        Kind kind;
        const char* lenient;  // null: lenient reading accepts the document
        const char* strict;
    } cases[] = {
        {"wrong document element", "purchaseOrder", "shelf", Kind::Validation, nullptr,
         "The document element [shelf] in namespace [urn:example:po] does not match the element "
         "[purchaseOrder] in namespace [urn:example:po] that this object reads. at line 2\n"
         "Path: /po:shelf"},
        {"document element in another namespace", "xmlns:po=\"urn:example:po\"",
         "xmlns:po=\"urn:example:other\"", Kind::Validation,
         "Failed to find the required child element [issued].\nPath: /po:purchaseOrder",
         "The document element [purchaseOrder] in namespace [urn:example:other] does not match "
         "the element [purchaseOrder] in namespace [urn:example:po] that this object reads. at "
         "line 2\nPath: /po:purchaseOrder"},
        {"short sku", "<po:sku>KLMNOPQRST</po:sku>", "<po:sku>ABC</po:sku>", Kind::Value, nullptr,
         "Invalid Value for sku [ABC]. at line 8\nPath: /po:purchaseOrder/po:line[2]/po:sku"},
        {"attribute facet", "currency=\"EUR\"", "currency=\"EURO\"", Kind::Value, nullptr,
         "Invalid Value for currency [EURO]. at line 2\nPath: /po:purchaseOrder/@currency"},
        {"stray text", "<po:totals>", "<po:totals>\n  oops  ", Kind::Validation, nullptr,
         "The element [totals] holds element-only content, but it contains the text [oops]. at "
         "line 9\nPath: /po:purchaseOrder/po:totals"},
        {"unknown enumeration text", "<po:status>submitted", "<po:status>kindle", Kind::Value, "",
         "The value [kindle] is not one of the enumerated values of [status]. at line 4\n"
         "Path: /po:purchaseOrder/po:status"},
        {"unknown enumeration attribute", "uom=\"BOX\"", "uom=\"CRATE\"", Kind::Value, "",
         "The value [CRATE] is not one of the enumerated values of [uom]. at line 7\n"
         "Path: /po:purchaseOrder/po:line[1]/@uom"},
        {"bad day", "2024-02-28", "2024-02-30", Kind::Value,
         "Invalid Day [30] (1 <= day <= days in month)",
         "Invalid Day [30] (1 <= day <= days in month) at line 8\n"
         "Path: /po:purchaseOrder/po:line[2]/po:deliveryDate"},
        {"mandatory child in no namespace", "<po:status>submitted</po:status>",
         "<status>submitted</status>", Kind::Validation,
         "Failed to find the required child element [status].\nPath: /po:purchaseOrder",
         "Failed to find the required child element [status]. The element [status] is in "
         "namespace [], where [urn:example:po] is expected. at line 2\n"
         "Path: /po:purchaseOrder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = Replace(kOrder, c.from, c.to);
        ASSERT_NE(text, kOrder);
        CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
        const auto lenient = [&] { order->FromXml(text.c_str(), CSerializationContext()); };
        if (!c.lenient) {
            EXPECT_NO_THROW(lenient());
        } else if (*c.lenient) {
            EXPECT_TRUE(Refuses(c.kind, lenient, c.lenient));
        } else {
            // The binding's own setter refuses the -1 that stands for unknown text.
            EXPECT_THROW(lenient(), CTsValidationException);
        }
        // A fresh object: a read takes the name of the element it read.
        CSmartPtr<CPurchaseOrder> fresh(new CPurchaseOrder);
        EXPECT_TRUE(Refuses(
            c.kind, [&] { fresh->FromXml(text.c_str(), Strict()); }, c.strict));
    }
}

TEST(StrictReading, IgnoreSettingsStillApply) {
    // Ignoring namespaces admits a document element in another namespace.
    CSerializationContext context = Strict();
    context.SetIgnoreNamespaces(true);
    const std::string text =
        Replace(kOrder, "xmlns:po=\"urn:example:po\"", "xmlns:po=\"urn:example:other\"");
    CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
    EXPECT_NO_THROW(order->FromXml(text.c_str(), context));

    // An unknown element passed over by the ignore setting is not stray content.
    CSerializationContext ignoring = Strict();
    ignoring.SetIgnoreUnknownElements(true);
    const std::string extra = Replace(kOrder, "<po:totals>", "<po:extra>x</po:extra><po:totals>");
    EXPECT_NO_THROW(order->FromXml(extra.c_str(), ignoring));
    EXPECT_EQ(order->GetTotals()->GetLineCount(), 2);
}

TEST(StrictReading, ChecksEachItemOfAPrimitiveCollection) {
    const char* const text =
        "<e:envelope xmlns:e=\"urn:env\" id=\"1\">\n<e:title>t</e:title>\n"
        "<e:score>7</e:score>\n<e:score>101</e:score>\n</e:envelope>";
    CSmartPtr<UntypedTest::Envelope> envelope(new UntypedTest::Envelope);
    // The collection checks its facets itself; strict reading adds where.
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [&] { envelope->FromXml(text, CSerializationContext()); },
        "Invalid Value for score [101]"));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [&] { envelope->FromXml(text, Strict()); },
        "Invalid Value for score [101] at line 4\nPath: /e:envelope/e:score[2]"));
}
