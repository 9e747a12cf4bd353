// json_entry_points_test.cpp: the JSON entry points end to end with the purchase-order
// binding: XML -> objects -> JSON -> objects -> XML gives the same XML at levels 1 and 2,
// through text, compressed bytes and files; level 0 fails with the mapped XML in the message;
// the ignore-namespaces switch is put back however the read ends.
#include <gtest/gtest.h>

#include <string>

#include "po/po_binding.h"
#include "support/expect_exception.h"
#include "support/po_order.h"
#include "support/strict_json.h"
#include "support/test_node.h"
#include "support/untyped_binding.h"
#include "tessel16/tessel16.h"

using namespace Tessel16;
using namespace Po;
using Tessel16::test::IsStrictJson;
using Tessel16::test::MakeOrder;
using Tessel16::test::TempPath;
using Tessel16::test::ThrowsExactly;

namespace {

CSerializationContext Context(JsonRoundTrip level) {
    CSerializationContext context;
    context.GetJsonContext().SetSupportRoundtrip(level);
    return context;
}

}  // namespace

// Text at levels 1 and 2, formatted and not; streams of every compression and files at level 2.
TEST(JsonEntryPoints, PurchaseOrderRoundTripsThroughTextStreamsAndFiles) {
    CSmartPtr<CPurchaseOrder> order = MakeOrder();
    const std::string xml = order->ToXml(true, true, EOLType_LF, CSerializationContext());
    for (JsonRoundTrip level : {JsonRoundTrip_Attributes, JsonRoundTrip_Full}) {
        for (bool formatted : {true, false}) {
            SCOPED_TRACE(testing::Message() << "level " << level << " formatted " << formatted);
            CSerializationContext context = Context(level);
            const std::string json = order->ToJson(formatted, EOLType_LF, context);
            EXPECT_TRUE(IsStrictJson(json));
            CSmartPtr<CPurchaseOrder> copy(new CPurchaseOrder);
            copy->FromJson(json.c_str(), context);
            EXPECT_EQ(copy->ToXml(true, true, EOLType_LF, CSerializationContext()), xml);
            // A second write gives the same JSON again.
            EXPECT_EQ(copy->ToJson(formatted, EOLType_LF, context), json);
        }
    }
    CSerializationContext context = Context(JsonRoundTrip_Full);
    for (CompressionType compression :
         {CompressionType_None, CompressionType_GZip, CompressionType_ZLib}) {
        SCOPED_TRACE(compression);
        CBinaryData bytes =
            order->ToJsonStream(true, XmlEncoding_UTF8, EOLType_CRLF, context, compression);
        CSmartPtr<CPurchaseOrder> copy(new CPurchaseOrder);
        copy->FromJsonStream(bytes, context);
        EXPECT_EQ(copy->ToXml(true, true, EOLType_LF, CSerializationContext()), xml);
    }
    for (bool direct : {false, true}) {
        SCOPED_TRACE(direct);
        AsyncToXmlFile(direct);
        const std::string path = TempPath("json_entry_points.json");
        order->ToJsonFile(path.c_str(), true, XmlEncoding_UTF8, EOLType_LF, context,
                          CompressionType_None);
        AsyncToXmlFile(false);
        EXPECT_TRUE(IsStrictJson(Tessel16::test::ReadFileBytes(path)));
        CSmartPtr<CPurchaseOrder> copy(new CPurchaseOrder);
        copy->FromJsonFile(path.c_str(), context);
        EXPECT_EQ(copy->ToXml(true, true, EOLType_LF, CSerializationContext()), xml);
    }
    EXPECT_TRUE(ThrowsExactly<CTsException>(
        [&] {
            order->ToJsonFile(TempPath("z.json").c_str(), true, XmlEncoding_UTF8, EOLType_LF,
                              context, CompressionType_ZLib);
        },
        "ZLIB Compression only available for To Stream methods."));

    // The document object encloses the root, on one line or formatted with the line ends asked.
    const std::string flat = order->ToJson(false, EOLType_LF, context);
    EXPECT_EQ(flat.rfind("{\"AA:purchaseOrder\": {\"@xmlns:AA\": \"urn:example:po\",", 0), 0u)
        << flat;
    EXPECT_EQ(flat.back(), '}');
    EXPECT_EQ(flat.find('\n'), std::string::npos);
    const std::string formatted = order->ToJson(true, EOLType_CRLF, context);
    EXPECT_EQ(formatted.rfind("{\r\n\t\"AA:purchaseOrder\": {\r\n", 0), 0u);
    EXPECT_EQ(formatted.substr(formatted.size() - 7), "\r\n\t}\r\n}");
}

TEST(JsonEntryPoints, FailedReadWrapsTheMappedXmlAndRestoresTheSwitch) {
    CSmartPtr<CPurchaseOrder> order = MakeOrder();
    // Level 0 writes attributes as elements, which the binding refuses on the way back.
    CSerializationContext context = Context(JsonRoundTrip_None);
    const std::string json = order->ToJson(false, EOLType_LF, context);
    EXPECT_TRUE(IsStrictJson(json));
    CSmartPtr<CPurchaseOrder> copy(new CPurchaseOrder);
    const auto e = test::Caught<CTsException>([&] { copy->FromJson(json.c_str(), context); });
    ASSERT_TRUE(e) << "level 0 output was accepted";
    const std::string prefix =
        "Error converting JSON to XML:\n<?xml version=\"1.0\" "
        "encoding=\"UTF-8\"?>\n<purchaseOrder>";
    EXPECT_EQ(e->GetMessage().rfind(prefix, 0), 0u) << e->GetMessage();
    EXPECT_NE(e->GetInnerException(), nullptr);
    EXPECT_FALSE(context.GetIgnoreNamespaces());

    // Level 1 reads without namespaces and puts the caller's switch back on success too.
    CSerializationContext level1 = Context(JsonRoundTrip_Attributes);
    copy->FromJson(order->ToJson(false, EOLType_LF, level1).c_str(), level1);
    EXPECT_FALSE(level1.GetIgnoreNamespaces());
    // At level 2 the JSON carries the namespaces: the switch is left alone, so the unprefixed
    // level 1 text does not match the binding's namespace.
    CSerializationContext level2 = Context(JsonRoundTrip_Full);
    EXPECT_THROW(copy->FromJson(order->ToJson(false, EOLType_LF, level1).c_str(), level2),
                 CTsException);
    EXPECT_FALSE(level2.GetIgnoreNamespaces());
}

TEST(JsonEntryPoints, UntypedElementsAndWildcardRunsThroughJson) {
    // Untyped content writes through the same writer and reads back into an untyped element
    // equal to the first.
    CSmartPtr<CElement> element(new CElement("placeholder"));
    element->FromXml("<p:r xmlns:p='urn:u' a='1'><p:c>x</p:c><p:c>y</p:c><d/><e b='2'>t</e></p:r>");
    CSerializationContext context;
    const std::string json = element->ToJson(false, EOLType_LF, context);
    EXPECT_TRUE(IsStrictJson(json));
    // The repeated child is one member with an array.
    EXPECT_NE(json.find("\"AA:c\": [\"x\",\"y\"]"), std::string::npos) << json;
    const std::string expected = element->ToXml(false, false, EOLType_LF, context);
    // The entry point maps to XML without indentation, so the text is unchanged.
    CSmartPtr<CElement> direct(new CElement("placeholder"));
    direct->FromJson(json.c_str(), context);
    EXPECT_EQ(direct->ToXml(false, false, EOLType_LF, context), expected);
    // Below the root only namespaces declared on the root can be named.
    CSmartPtr<CElement> foreign(new CElement("placeholder"));
    foreign->FromXml("<r><q:c xmlns:q='urn:v'/></r>");
    EXPECT_TRUE(ThrowsExactly<CTsException>([&] { foreign->ToJson(false, EOLType_LF, context); },
                                            "Unknown Namespace: urn:v."));

    // An xs:any collection is one repeated member to the engine; in JSON only runs of one
    // name become arrays, so every name keeps its own member.
    context.GetNamespaceAliases().Add("o", "urn:other");
    context.GetNamespaceAliases().Add("m", "urn:meta");
    CSmartPtr<UntypedTest::Envelope> envelope(new UntypedTest::Envelope());
    envelope->FromXml(
        "<envelope xmlns='urn:env' xmlns:o='urn:other' id='7'><title>t</title><score>1</score>"
        "<o:x/><o:x k='1'/><o:y>t</o:y><o:x/></envelope>",
        context);
    const std::string envelopeXml = envelope->ToXml(false, false, EOLType_LF, context);
    const std::string envelopeJson = envelope->ToJson(false, EOLType_LF, context);
    EXPECT_TRUE(IsStrictJson(envelopeJson));
    // Untyped elements always write their text, so an empty one is "" rather than null.
    EXPECT_NE(envelopeJson.find("\"o:x\": [\"\",{\"@k\": \"1\"}],\"o:y\": \"t\",\"o:x\": \"\""),
              std::string::npos)
        << envelopeJson;
    CSmartPtr<UntypedTest::Envelope> copy(new UntypedTest::Envelope());
    copy->FromJson(envelopeJson.c_str(), context);
    EXPECT_EQ(copy->ToXml(false, false, EOLType_LF, context), envelopeXml);
}
