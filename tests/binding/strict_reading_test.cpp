// strict_reading_test.cpp: strict reading of the purchase-order binding. One valid document is
// broken one way per case; lenient reading lets each break through (as it always has), strict
// reading refuses it with the class, path and line a user needs to find it.
#include <gtest/gtest.h>

#include <string>

#include "po/po_binding.h"
#include "support/expect_exception.h"
#include "support/test_table.h"
#include "support/untyped_binding.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"

using namespace Tessel16;
using namespace Po;
using Tessel16::test::ThrowsExactly;

namespace {

// A valid order with one element per line, so every case knows the line of what it breaks.
const std::string kOrder = test::ReadDataFile("binding/strict_order.xml");

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

// The exception a case expects, by the class named in the table.
template <class Call>
::testing::AssertionResult Refuses(const std::string& kind, Call&& call,
                                   const std::string& message) {
    return kind == "value" ? ThrowsExactly<CTsInvalidValueException>(call, message)
                           : ThrowsExactly<CTsValidationException>(call, message);
}

}  // namespace

// The catalogue of breaks, each refused by strict reading with path and line.
TEST(StrictReading, RefusesEachBreakNamingPathAndLine) {
    for (const test::TableRow& c : test::ReadTable("binding/strict_breaks.txt")) {
        SCOPED_TRACE(c[0]);
        const std::string text = Replace(kOrder, c[1], c[2]);
        ASSERT_NE(text, kOrder);
        CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
        const auto lenient = [&] { order->FromXml(text.c_str(), CSerializationContext()); };
        if (c[4] == "-") {
            EXPECT_NO_THROW(lenient());
        } else if (c[4] == "*") {
            // The binding's own setter refuses the -1 that stands for unknown text.
            EXPECT_THROW(lenient(), CTsValidationException);
        } else {
            EXPECT_TRUE(Refuses(c[3], lenient, c[4]));
        }
        // A fresh object: a read takes the name of the element it read.
        CSmartPtr<CPurchaseOrder> fresh(new CPurchaseOrder);
        EXPECT_TRUE(Refuses(
            c[3], [&] { fresh->FromXml(text.c_str(), Strict()); }, c[5]));
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
    // The collection checks its facets itself (a lenient read's refusal is a row of
    // untyped/binding_reads.txt); strict reading adds where.
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [&] { envelope->FromXml(text, Strict()); },
        "Invalid Value for score [101] at line 4\nPath: /e:envelope/e:score[2]"));
}
