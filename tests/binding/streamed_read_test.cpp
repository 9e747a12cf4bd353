// streamed_read_test.cpp: a bound object reads a document while it is parsed, destroying the
// children of the document element it has read. What it reports must be what reading the
// whole parsed tree reports (CXmlObjectBase::FromXmlElement on a loaded CXmlDocument is that
// oracle): the objects, messages with sibling indexes far into the document, line numbers,
// and a parse error winning over an earlier schema violation. A JSON read streams the XML made
// from the JSON and gives it back as it goes.
#include <gtest/gtest.h>

#include <new>
#include <string>

#include "po/po_binding.h"
#include "support/expect_exception.h"
#include "support/po_order.h"
#include "tessel16/exception.h"
#include "tessel16/json_context.h"
#include "tessel16/serialization_context.h"
#include "tessel16/xml_document.h"

using namespace Tessel16;
using namespace Po;

namespace {

constexpr int kLines = 3000;

std::string LargeOrderText(int lines = kLines) {
    return test::MakeOrder(lines)->ToXml(false, true, EOLType_LF, CSerializationContext());
}

// Replaces the n-th (from 1) occurrence of `from`.
std::string ReplaceNth(std::string text, const std::string& from, const std::string& to, int n) {
    std::string::size_type at = std::string::npos;
    for (int i = 0; i < n; ++i) at = text.find(from, at == std::string::npos ? 0 : at + 1);
    EXPECT_NE(at, std::string::npos) << from << " #" << n;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

struct Failure {
    std::string kind, message, path;
};

template <class Read>
Failure FailureOf(Read read) {
    try {
        read();
    } catch (const CTsValidationException& e) {
        return {"validation", e.GetMessage(), e.GetPath()};
    } catch (const CTsException& e) {
        return {"exception", e.GetMessage(), ""};
    }
    return {"none", "", ""};
}

Failure StreamedFailure(const std::string& text, const CSerializationContext& context) {
    return FailureOf([&] {
        CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
        order->FromXml(text.c_str(), context);
    });
}

Failure WholeTreeFailure(const std::string& text, const CSerializationContext& context) {
    return FailureOf([&] {
        CXmlDocument document(context);
        document.LoadXml(text.c_str());
        CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
        order->FromXmlElement(document.GetDocumentElement(), context);
    });
}

}  // namespace

TEST(StreamedRead, FailuresMatchTheWholeTreeRead) {
    const std::string text = LargeOrderText();
    struct Case {
        const char* what;
        std::string document;
        const char* pathPart;  // the failure must name this (sibling index far in)
    } cases[] = {
        {"bad value deep in", ReplaceNth(text, "<AA:quantity>", "<AA:quantity>x", 2500),
         "AA:line[2500]"},
        {"unknown element deep in",
         ReplaceNth(text, "<AA:taxable>", "<AA:colour>red</AA:colour><AA:taxable>", 2999),
         "/AA:purchaseOrder"},
        {"unknown attribute on the last line",
         ReplaceNth(text, "<AA:line number=\"3000\"", "<AA:line number=\"3000\" x=\"1\"", 1),
         "AA:line[3000]/@x"},
        {"missing member after the lines", ReplaceNth(text, "<AA:totals>", "<AA:sums>", 1), ""},
        // The whole-tree read parses first: the malformed end wins over the bad value, so
        // both must report the parse error.
        {"malformed after invalid",
         ReplaceNth(ReplaceNth(text, "<AA:quantity>", "<AA:quantity>x", 3), "</AA:comment>",
                    "</AA:comment", 1),
         ""},
        {"bad value in the first line", ReplaceNth(text, "<AA:quantity>", "<AA:quantity>x", 1),
         "AA:line[1]"},
    };
    for (const Case& c : cases) {
        for (bool strict : {false, true}) {
            CSerializationContext context;
            context.SetStrictReading(strict);
            SCOPED_TRACE(std::string(c.what) + (strict ? " (strict)" : ""));
            const Failure streamed = StreamedFailure(c.document, context);
            const Failure whole = WholeTreeFailure(c.document, context);
            EXPECT_NE(streamed.kind, "none");
            EXPECT_EQ(streamed.kind, whole.kind);
            EXPECT_EQ(streamed.message, whole.message);
            EXPECT_EQ(streamed.path, whole.path);
            // Leniently a value that does not convert is reported without a place.
            if (strict || !streamed.path.empty()) {
                EXPECT_NE((streamed.path + streamed.message).find(c.pathPart), std::string::npos)
                    << streamed.path << ": " << streamed.message;
            }
        }
    }
}

TEST(StreamedRead, TheDocumentElementsStartTagOutlivesThePagesGivenBack) {
    // The parser keeps the start tag of the document element in its buffer until the end tag:
    // a long comment in front puts that tag a few large pages into the input, behind pages
    // the read gives back as it goes.
    const std::string text = LargeOrderText(12000);
    const std::string::size_type root = text.find("<AA:purchaseOrder");
    ASSERT_NE(root, std::string::npos);
    const std::string padded = text.substr(0, root) + "<!--" +
                               std::string(std::size_t{5} << 20, 'c') + "-->\n" + text.substr(root);
    CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
    order->FromXml(padded.c_str(), CSerializationContext());
    EXPECT_EQ(order->ToXml(false, true, EOLType_LF, CSerializationContext()), text);
}

TEST(StreamedRead, JsonReadGivesTheMappedXmlBackAndStillFailsAlike) {
    // The XML is given back in whole 2 MiB pages: this order maps to about 4 MB.
    const std::string text = LargeOrderText(20000);
    CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
    order->FromXml(text.c_str(), CSerializationContext());
    CSerializationContext context;
    context.GetJsonContext().SetSupportRoundtrip(JsonRoundTrip_Full);
    const std::string json = order->ToJson(false, EOLType_LF, context);
    CSmartPtr<CPurchaseOrder> copy(new CPurchaseOrder);
    copy->FromJson(json.c_str(), context);
    EXPECT_EQ(copy->ToXml(false, true, EOLType_LF, CSerializationContext()), text);
    // When line 19000 fails, the streamed pass has given most of the XML made from the JSON
    // back: the second pass and the message have to work from XML made again.
    // Line n orders 3n.
    const std::string bad =
        ReplaceNth(json, "\"AA:quantity\": 57000,", "\"AA:quantity\": \"x\",", 1);
    const std::string badXml = ReplaceNth(text, "<AA:quantity>57000<", "<AA:quantity>x<", 1);
    for (bool strict : {false, true}) {
        SCOPED_TRACE(strict);
        context.SetStrictReading(strict);
        const Failure whole = WholeTreeFailure(badXml, context);
        const auto e = test::Caught<CTsException>([&] { copy->FromJson(bad.c_str(), context); });
        ASSERT_TRUE(e) << "the bad quantity was accepted";
        EXPECT_EQ(e->GetMessage().rfind("Error converting JSON to XML:\n<?xml", 0), 0u);
        EXPECT_NE(e->GetMessage().find("<AA:quantity>x</AA:quantity>"), std::string::npos);
        ASSERT_NE(e->GetInnerException(), nullptr);
        // The XML made from JSON has no line breaks, so only the line differs.
        std::string inner = e->GetInnerException()->GetMessage();
        std::string expected = whole.message;
        for (std::string* message : {&inner, &expected}) {
            const auto at = message->find(" at line ");
            if (at != std::string::npos)
                message->erase(at, message->find_first_not_of("0123456789", at + 9) - at);
        }
        EXPECT_EQ(inner, expected);
    }
}

namespace {

// Runs out of memory on its first value, while most of the document is still unparsed.
class StarvedOrder : public CPurchaseOrder {
public:
    void InvokeProperty(int index, bool get, TsVariant& value) override {
        if (!get) throw std::bad_alloc();
        CPurchaseOrder::InvokeProperty(index, get, value);
    }
};

}  // namespace

TEST(StreamedRead, DestroyedElementsLendTheirTextBuffersButNotTheirText) {
    // Descriptions long enough to live outside the string, of lengths that go up and down,
    // so that each buffer handed on is too long or too short for the next text.
    CSmartPtr<CPurchaseOrder> order = test::MakeOrder(kLines);
    for (int i = 0; i < kLines; ++i)
        order->GetLine()->Item(i)->SetDescription(
            std::string(16 + i * 37 % 90, static_cast<char>('a' + i % 26)));
    const std::string text = order->ToXml(false, true, EOLType_LF, CSerializationContext());
    for (bool strict : {false, true}) {
        CSerializationContext context;
        context.SetStrictReading(strict);
        CSmartPtr<CPurchaseOrder> copy(new CPurchaseOrder);
        copy->FromXml(text.c_str(), context);
        EXPECT_EQ(copy->ToXml(false, true, EOLType_LF, CSerializationContext()), text);
    }
}

TEST(StreamedRead, GivingUpMidDocumentStopsTheParseAndTheNextReadsAreWhole) {
    const std::string text = LargeOrderText();
    CSmartPtr<StarvedOrder> starved(new StarvedOrder);
    EXPECT_TRUE(
        test::ThrowsMessage([&] { starved->FromXml(text.c_str(), CSerializationContext()); },
                            "Out of memory while reading the document"));
    // The stopped parse left nothing behind that the next streamed reads trip over, and they
    // read the same objects under either setting.
    for (bool strict : {false, true}) {
        CSerializationContext context;
        context.SetStrictReading(strict);
        CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
        order->FromXml(text.c_str(), context);
        ASSERT_EQ(order->GetLine()->GetCount(), kLines);
        EXPECT_EQ(order->GetLine()->Item(kLines - 1)->GetQuantity(), 3 * kLines);
        EXPECT_EQ(order->ToXml(false, true, EOLType_LF, CSerializationContext()), text);
    }
}
