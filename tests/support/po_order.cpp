#include "support/po_order.h"

#include <string>

namespace Tessel16::test {

using namespace Po;

CSmartPtr<CPurchaseOrder> MakeOrder(int lines) {
    CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
    order->SetIssued(CDateTime("2024-03-01T10:20:30Z"));
    order->SetStatus(OrderStatus_submitted);
    order->SetId(4200000000LL);
    order->SetCurrency("EUR");
    order->SetUrgent(true);
    order->SetVersion(3);
    int partyId = 1;
    for (CParty* party : {order->GetBuyer(), order->GetSeller()}) {
        party->SetName("Party \"A\" & <B>");
        party->SetId(partyId++);
        CAddress* address = party->GetAddress();
        address->SetName("line\nbreak\ttab\\back");
        address->GetStreet()->Add("1 Main St & Co <x>");
        address->GetStreet()->Add("Gate \xC3\xA9");
        address->SetCity("Springfield");
        address->SetPostalCode("12345");
        address->SetCountry("US");
    }
    for (int i = 1; i <= lines; ++i) {
        CLine* line = order->GetLine()->Add();
        line->SetNumber(i);
        if (i % 2) {
            line->GetChoice()->SetSku("ABCDEFGHIJ");
            line->SetUom(UnitOfMeasure_BOX);
            line->SetDeliveryDate(CDateTime(2024, 4, static_cast<unsigned char>(1 + i % 20)));
        } else {
            line->GetChoice()->SetServiceHours(CDecimal("2.5"));
            line->SetDiscountPercent(CDecimal("12.50"));
            line->SetBackordered(i % 4 == 0);
            line->SetNote("  spaces kept  ");
        }
        line->SetDescription("item " + std::to_string(i));
        line->SetQuantity(3 * i);
        line->SetUnitPrice(CDecimal("19.99"));
        line->SetTaxable(i % 3 == 1);
    }
    CTotals* totals = order->GetTotals();
    totals->SetLineCount(lines);
    totals->SetNet(CDecimal("10.5"));
    totals->SetTax(CDecimal("1.05"));
    totals->SetGross(CDecimal("11.55"));
    order->SetComment("rush");
    return order;
}

}  // namespace Tessel16::test
