// generated_po_test.cpp: the purchase order binding end to end: an order built in memory is
// written as XML text, read into a new order and written again unchanged; schema violations
// in an instance document are reported with the path of the offending node.
#include <gtest/gtest.h>

#include <string>

#include "support/po_binding.h"
#include "tessel16/date_time.h"
#include "tessel16/decimal.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"

using namespace Tessel16;
using namespace Po;

namespace {

void FillParty(Party* party, long long id, const char* name) {
    party->Member(Party::Name).SetString(name);
    party->Member(Party::Id).SetI8(id);
    Address* address = party->GetAddress();
    address->Member(Address::Name).SetString(name);
    address->GetStreets()->Add("1 Main St & Co <x>");
    address->Member(Address::City).SetString("Springfield");
    address->Member(Address::PostalCode).SetString("12345");
    address->Member(Address::Country).SetString("US");
}

CSmartPtr<PurchaseOrder> MakeOrder() {
    CSmartPtr<PurchaseOrder> order(new PurchaseOrder);
    TsVariant issued;
    issued.FromString("2024-03-01T10:20:30Z", ItemType_datetime,
                      CWhitespaceUtils::WhitespaceRule_Collapse);
    order->Member(PurchaseOrder::Issued) = issued;
    order->Member(PurchaseOrder::Status).SetI4(1);  // submitted
    order->Member(PurchaseOrder::Id).SetI8(4200000000LL);
    order->Member(PurchaseOrder::Currency).SetString("EUR");
    order->Member(PurchaseOrder::Urgent).SetBoolean(true);
    FillParty(order->GetBuyer(), 1, "Buyer");
    FillParty(order->GetSeller(), 2, "Seller");
    for (int i = 1; i <= 2; ++i) {
        Line* line = new Line("line");
        line->Member(Line::Number).SetI4(i);
        if (i == 1) {
            line->GetChoice()->Member(LineChoice::Sku).SetString("ABCDEFGHIJ");
            line->Member(Line::Uom).SetI4(1);  // BOX
        } else {
            line->GetChoice()
                ->Member(LineChoice::ServiceHours)
                .FromString("2.5", ItemType_decimal, CWhitespaceUtils::WhitespaceRule_Collapse);
        }
        line->Member(Line::Description).SetString("item " + std::to_string(i));
        line->Member(Line::Quantity).SetI4(3 * i);
        line->Member(Line::UnitPrice)
            .FromString("19.99", ItemType_decimal, CWhitespaceUtils::WhitespaceRule_Collapse);
        line->Member(Line::Taxable).SetBoolean(i == 1);
        order->GetLines()->Add(line);
    }
    Totals* totals = order->GetTotals();
    totals->Member(Totals::LineCount).SetI4(2);
    for (int index : {Totals::Net, Totals::Tax, Totals::Gross}) {
        totals->Member(index).FromString("10.5", ItemType_decimal,
                                         CWhitespaceUtils::WhitespaceRule_Collapse);
    }
    return order;
}

}  // namespace

TEST(PurchaseOrderBinding, RoundTripIsIdentical) {
    CSmartPtr<PurchaseOrder> order = MakeOrder();
    CSerializationContext context;
    const std::string text = order->ToXml(true, true, EOLType_LF, context);
    EXPECT_NE(text.find("<AA:purchaseOrder xmlns:AA=\"urn:example:po\""), std::string::npos)
        << text;
    CSmartPtr<PurchaseOrder> copy(new PurchaseOrder);
    copy->FromXml(text.c_str(), context);
    EXPECT_EQ(copy->Member(PurchaseOrder::Id).GetI8(), 4200000000LL);
    EXPECT_EQ(copy->Member(PurchaseOrder::Status).GetI4(), 1);
    ASSERT_EQ(copy->GetLines()->GetCount(), 2);
    EXPECT_EQ(copy->GetLines()->Item(0)->GetChoice()->Member(LineChoice::Sku).GetString(),
              "ABCDEFGHIJ");
    EXPECT_FALSE(
        copy->GetLines()->Item(0)->GetChoice()->Member(LineChoice::ServiceHours).IsValid());
    EXPECT_EQ(copy->GetLines()->Item(1)->GetChoice()->Member(LineChoice::ServiceHours).ToString(),
              "2.5");
    EXPECT_EQ(copy->GetBuyer()->GetAddress()->GetStreets()->Item(0), "1 Main St & Co <x>");
    EXPECT_EQ(copy->ToXml(true, true, EOLType_LF, context), text);
}

TEST(PurchaseOrderBinding, InstanceDocumentViolations) {
    CSmartPtr<PurchaseOrder> order = MakeOrder();
    CSerializationContext context;
    const std::string text = order->ToXml(false, false, EOLType_LF, context);

    struct Case {
        std::string from, to, message, path;
    } cases[] = {
        {"<AA:totals>", "<AA:sums>", "Failed to find the required child element [totals].",
         "/AA:purchaseOrder"},
        {"<AA:sku>ABCDEFGHIJ</AA:sku>", "",
         "Failed to find the required child element [LineChoice].", "/AA:purchaseOrder/AA:line[1]"},
        {" currency=\"EUR\"", "", "Failed to find the required Attribute [currency].", ""},
    };
    for (const Case& c : cases) {
        std::string bad = text;
        const std::string::size_type at = bad.find(c.from);
        ASSERT_NE(at, std::string::npos) << c.from;
        bad.replace(at, c.from.size(), c.to);
        if (c.from == "<AA:totals>") {
            const std::string::size_type end = bad.find("</AA:totals>");
            bad.replace(end, 12, "</AA:sums>");
        }
        CSmartPtr<PurchaseOrder> copy(new PurchaseOrder);
        try {
            copy->FromXml(bad.c_str(), context);
            ADD_FAILURE() << "accepted: " << bad;
        } catch (const CTsValidationException& e) {
            EXPECT_EQ(e.GetPath(), c.path) << c.from;
            EXPECT_EQ(e.GetMessage().substr(0, c.message.size()), c.message) << c.from;
        }
    }
}
