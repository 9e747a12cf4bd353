// generated_po_test.cpp: the purchase-order example binding end to end: an order built in
// memory is written as XML text, read into a new order and written again unchanged; an
// instance document written by hand (prefixes, attribute order, blanks) reads into the
// expected objects; facets and the line choice guard writing.
#include <gtest/gtest.h>

#include <string>

#include "po/po_binding.h"
#include "support/po_order.h"
#include "support/test_table.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"

using namespace Tessel16;
using namespace Po;
using Tessel16::test::MakeOrder;
namespace test = Tessel16::test;

TEST(PurchaseOrderBinding, RoundTripIsIdenticalAndLinesAreShared) {
    CSmartPtr<CPurchaseOrder> order = MakeOrder();
    order->GetOrCreateShipTo()->SetName("Dock 4");
    order->GetShipTo()->GetStreet()->Add("Quay 1");
    order->GetShipTo()->GetStreet()->Add("Gate B");
    order->GetShipTo()->SetCity("Hull");
    order->GetShipTo()->SetRegion("Yorkshire");
    order->GetShipTo()->SetPostalCode("HU1");
    order->GetShipTo()->SetCountry("GB");
    order->GetShipTo()->SetResidential(false);
    order->SetRequestedDelivery(CDateTime(2024, 4, 2));
    order->SetComment("rush");
    order->SetVersion(3);
    CSerializationContext context;
    // The expected text holds every member set here and by MakeOrder: both lines with their
    // choice members, the escaped texts, the preserved blanks of the note, the ship-to address.
    const std::string text = order->ToXml(true, true, EOLType_LF, context);
    EXPECT_EQ(text, test::ReadDataFile("binding/po_order_written.xml"));
    CSmartPtr<CPurchaseOrder> copy(new CPurchaseOrder);
    copy->FromXml(text.c_str(), context);
    EXPECT_EQ(copy->ToXml(true, true, EOLType_LF, context), text);

    // The typed collection shares its nodes' references.
    CLineCol* lines = order->GetLine();
    CSmartPtr<CLine> held(lines->Item(1));
    int numbers = 0;
    for (CLine* line : *lines) numbers = numbers * 10 + line->GetNumber();
    EXPECT_EQ(numbers, 12);
    lines->Remove(1);
    EXPECT_EQ(lines->GetCount(), 1);
    EXPECT_EQ(held->GetNumber(), 2) << "the item outlives its node while referenced";
}

TEST(PurchaseOrderBinding, HandWrittenDocumentReadsIntoTheObjects) {
    // Another prefix than the writer's, attributes in another order, blanks between the
    // elements, a declared but unused namespace, and the other member of the line choice.
    const std::string xml = Tessel16::test::ReadDataFile("binding/po_handwritten.xml");
    CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
    order->FromXml(xml.c_str(), CSerializationContext());
    // Written back: urgent="0" as false, the issued time without its blanks, no version, tax
    // id, ship-to or comment, the line's service hours and its attributes.
    EXPECT_EQ(order->ToXml(true, true, EOLType_LF, CSerializationContext()),
              test::ReadDataFile("binding/po_handwritten_read.xml"));
}

TEST(PurchaseOrderBinding, FacetsAndChoiceGuardOnWriting) {
    CSmartPtr<CPurchaseOrder> order = MakeOrder();
    order->SetCurrency("EURO");
    EXPECT_THROW(order->ToXml(false, false, EOLType_LF, CSerializationContext()),
                 CTsValidationException);
    order->SetCurrency("EUR");
    order->GetLine()->Item(0)->GetChoice()->ClearChoice();
    order->GetLine()->Item(0)->GetChoice()->SetSku("SHORT");
    EXPECT_THROW(order->ToXml(false, false, EOLType_LF, CSerializationContext()),
                 CTsValidationException);
    EXPECT_THROW(order->GetLine()->Item(0)->GetChoice()->SetServiceHours(CDecimal("1")),
                 CTsInvalidStateException);
}
