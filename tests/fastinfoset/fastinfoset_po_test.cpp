// fastinfoset_po_test.cpp: the purchase-order binding through Fast Infoset: objects to Fast
// Infoset to objects to XML gives the XML the original objects give, with the default
// encodings and with the suggested binary ones. The documents are also left in the test
// folder, where the Java oracle's check (ctest fi_oracle.po) decodes them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "po/po_binding.h"
#include "tessel16/exception.h"
#include "tessel16/fastinfoset_context.h"
#include "tessel16/serialization_context.h"

using namespace Tessel16;
using namespace Po;

namespace {

CSmartPtr<CPurchaseOrder> MakeOrder() {
    CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
    order->SetIssued(CDateTime("2024-03-01T10:20:30Z"));
    order->SetStatus(OrderStatus_submitted);
    order->SetId(4200000000LL);
    order->SetCurrency("EUR");
    order->SetUrgent(true);
    order->SetVersion(3);
    for (CParty* party : {order->GetBuyer(), order->GetSeller()}) {
        party->SetName("Party & Sons");
        party->SetId(7);
        party->GetAddress()->SetName("Head office");
        party->GetAddress()->GetStreet()->Add("1 Main St <x>");
        party->GetAddress()->SetCity("Springfield");
        party->GetAddress()->SetPostalCode("12345");
        party->GetAddress()->SetCountry("US");
    }
    for (int i = 1; i <= 40; ++i) {
        CLine* line = order->GetLine()->Add();
        line->SetNumber(i);
        if (i % 2) {
            line->GetChoice()->SetSku("ABCDEFGHI" + std::to_string(i % 5));
            line->SetUom(UnitOfMeasure_BOX);
            line->SetDeliveryDate(CDateTime(2024, 4, 1 + i % 20));
        } else {
            line->GetChoice()->SetServiceHours(CDecimal("2.5"));
            line->SetDiscountPercent(CDecimal("12.50"));
            line->SetBackordered(i % 4 == 0);
            line->SetNote("  spaces kept  ");
        }
        line->SetDescription("item " + std::to_string(i % 3));
        line->SetQuantity(3 * i);
        line->SetUnitPrice(CDecimal("19.99"));
        line->SetTaxable(i % 3 == 0);
    }
    order->GetTotals()->SetLineCount(40);
    order->GetTotals()->SetNet(CDecimal("10.5"));
    order->GetTotals()->SetTax(CDecimal("1.05"));
    order->GetTotals()->SetGross(CDecimal("11.55"));
    return order;
}

void Save(const std::string& name, const unsigned char* data, std::size_t length) {
    const char* dir = std::getenv("TESSEL16_TEST_TMP");
    if (!dir) return;
    std::ofstream(std::string(dir) + "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(length));
}

TEST(FastInfosetPurchaseOrder, RoundTripsWithDefaultAndSuggestedEncodings) {
    CSmartPtr<CPurchaseOrder> order = MakeOrder();
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
}

TEST(FastInfosetPurchaseOrder, FileOutputRefusesZlib) {
    CSmartPtr<CPurchaseOrder> order = MakeOrder();
    EXPECT_THROW(order->ToFastInfosetFile("unused.fi", FInfoDecl_None, CSerializationContext(),
                                          CompressionType_ZLib),
                 CTsException);
}

}  // namespace
