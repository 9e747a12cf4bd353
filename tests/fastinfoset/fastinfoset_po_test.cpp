// fastinfoset_po_test.cpp: the purchase-order binding through Fast Infoset: objects to Fast
// Infoset to objects to XML gives the XML the original objects give, with the default
// encodings and with the suggested binary ones; files refuse zlib. The documents are also left
// in the test folder, where the Java oracle's check (ctest fi_oracle.po) decodes them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "po/po_binding.h"
#include "support/po_order.h"
#include "tessel16/exception.h"
#include "tessel16/fastinfoset_context.h"
#include "tessel16/serialization_context.h"

using namespace Tessel16;
using namespace Po;

namespace {

void Save(const std::string& name, const unsigned char* data, std::size_t length) {
    const char* dir = std::getenv("TESSEL16_TEST_TMP");
    if (!dir) return;
    std::ofstream(std::string(dir) + "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(length));
}

TEST(FastInfosetPurchaseOrder, RoundTripsWithDefaultAndSuggestedEncodings) {
    CSmartPtr<CPurchaseOrder> order = test::MakeOrder(40);
    const CSerializationContext plain;
    const std::string xml = order->ToXml(false, false, EOLType_LF, plain);
    Save("po.xml", reinterpret_cast<const unsigned char*>(xml.data()), xml.size());
    for (bool suggested : {false, true}) {
        CSerializationContext context;
        if (suggested) context.GetFIContext().SetSuggestedValues();
        CBinaryData fi = order->ToFastInfosetStream(FInfoDecl_None, context, CompressionType_None);
        Save(suggested ? "po_suggested.fi" : "po_default.fi", fi.GetData(), fi.GetLength());
        EXPECT_LT(fi.GetLength(), xml.size());
        CSmartPtr<CPurchaseOrder> copy(new CPurchaseOrder);
        copy->FromXmlStream(fi, context);
        EXPECT_EQ(copy->ToXml(false, false, EOLType_LF, plain), xml) << suggested;

        CBinaryData zipped = order->ToFastInfosetStream(FInfoDecl_1, context, CompressionType_GZip);
        CSmartPtr<CPurchaseOrder> unzipped(new CPurchaseOrder);
        unzipped->FromXmlStream(zipped, context);
        EXPECT_EQ(unzipped->ToXml(false, false, EOLType_LF, plain), xml) << suggested;
    }
    EXPECT_THROW(order->ToFastInfosetFile("unused.fi", FInfoDecl_None, plain, CompressionType_ZLib),
                 CTsException);
}

}  // namespace
