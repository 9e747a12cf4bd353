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
    const std::string text = order->ToXml(true, true, EOLType_LF, context);
    EXPECT_NE(text.find("<AA:purchaseOrder xmlns:AA=\"urn:example:po\""), std::string::npos)
        << text;

    CSmartPtr<CPurchaseOrder> copy(new CPurchaseOrder);
    copy->FromXml(text.c_str(), context);
    EXPECT_EQ(copy->GetId(), 4200000000LL);
    EXPECT_EQ(copy->GetStatus(), OrderStatus_submitted);
    EXPECT_EQ(copy->GetVersion(), 3);
    EXPECT_TRUE(copy->GetUrgent());
    ASSERT_EQ(copy->GetLine()->GetCount(), 2);
    CLine* first = copy->GetLine()->Item(0);
    EXPECT_EQ(first->GetChoice()->GetChoiceSelectedElement(), "sku");
    EXPECT_EQ(first->GetChoice()->GetSku(), "ABCDEFGHIJ");
    EXPECT_EQ(first->GetUom(), UnitOfMeasure_BOX);
    EXPECT_FALSE(first->IsDiscountPercentValid());
    CLine* second = copy->GetLine()->Item(1);
    EXPECT_EQ(second->GetChoice()->GetChoiceSelectedElement(), "serviceHours");
    EXPECT_EQ(second->GetChoice()->GetServiceHours().ToString(), "2.5");
    EXPECT_EQ(second->GetNote(), "  spaces kept  ");
    EXPECT_TRUE(second->IsBackorderedValid());
    EXPECT_FALSE(second->IsUomValid());
    EXPECT_EQ(copy->GetBuyer()->GetAddress()->GetStreet()->Item(0), "1 Main St & Co <x>");
    ASSERT_NE(copy->GetShipTo(), nullptr);
    EXPECT_EQ(copy->GetShipTo()->GetStreet()->GetCount(), 2);
    EXPECT_EQ(copy->GetShipTo()->GetRegion(), "Yorkshire");
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
    EXPECT_EQ(order->GetId(), 7);
    EXPECT_EQ(order->GetCurrency(), "USD");
    EXPECT_TRUE(order->IsUrgentValid());
    EXPECT_FALSE(order->GetUrgent());
    EXPECT_FALSE(order->IsVersionValid());
    EXPECT_EQ(order->GetIssued().ToString(), "2024-01-02T03:04:05Z");
    EXPECT_EQ(order->GetStatus(), OrderStatus_shipped);
    EXPECT_EQ(order->GetBuyer()->GetEmail(), "b@x");
    EXPECT_FALSE(order->GetBuyer()->IsTaxIdValid());
    EXPECT_TRUE(order->GetBuyer()->GetAddress()->GetResidential());
    EXPECT_EQ(order->GetSeller()->GetAddress()->GetStreet()->GetCount(), 3);
    EXPECT_EQ(order->GetShipTo(), nullptr);
    ASSERT_EQ(order->GetLine()->GetCount(), 1);
    CLine* line = order->GetLine()->Item(0);
    EXPECT_EQ(line->GetNumber(), 9);
    EXPECT_EQ(line->GetUom(), UnitOfMeasure_H);
    EXPECT_TRUE(line->GetBackordered());
    EXPECT_EQ(line->GetChoice()->GetServiceHours().ToString(), "1.25");
    EXPECT_TRUE(line->GetTaxable());
    EXPECT_EQ(order->GetTotals()->GetGross().ToString(), "80");
    EXPECT_FALSE(order->IsCommentValid());
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
