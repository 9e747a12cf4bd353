// purchase_order.cpp: the purchase-order binding (po/, for po.xsd) at work: build an order,
// write it as formatted XML, read the text back into a new order, edit that copy, write it
// again, and let the schema's facets refuse an invalid edit with a readable message.
#include <cstdio>
#include <string>

#include "po/po_binding.h"
#include "tessel16/tessel16.h"

using namespace Tessel16;
using namespace Po;

namespace {

void FillParty(CParty* party, long long id, const char* name, const char* street, const char* city,
               const char* postalCode, const char* country) {
    party->SetId(id);
    party->SetName(name);
    CAddress* address = party->GetAddress();
    address->SetName(name);
    address->GetStreet()->Add(street);
    address->SetCity(city);
    address->SetPostalCode(postalCode);
    address->SetCountry(country);
}

CSmartPtr<CPurchaseOrder> BuildOrder() {
    CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
    order->SetId(4711);
    order->SetCurrency("EUR");
    order->SetIssued(CDateTime("2026-12-05T14:30:00Z"));
    order->SetStatus(OrderStatus_submitted);
    FillParty(order->GetBuyer(), 17, "Gr\xC3\xBCn & S\xC3\xB6hne <GmbH>",
              "Hauptstra\xC3\x9F"
              "e 1",
              "M\xC3\xBCnchen", "80331", "DE");
    order->GetBuyer()->SetEmail("einkauf@gruen.example");
    FillParty(order->GetSeller(), 42, "Nordwerk Fasteners AB", "Hamngatan 3", "Malm\xC3\xB6",
              "21120", "SE");

    const char* const skus[] = {"WID-000042", "WID-000043"};
    for (int i = 0; i < 3; ++i) {
        CLine* line = order->GetLine()->Add();
        line->SetNumber(i + 1);
        if (i < 2) {
            line->GetChoice()->SetSku(skus[i]);
            line->SetUom(UnitOfMeasure_BOX);
            line->SetDescription("Widget, blue");
        } else {
            line->GetChoice()->SetServiceHours(CDecimal("1.5"));
            line->SetUom(UnitOfMeasure_H);
            line->SetDescription("Fitting");
        }
        line->SetQuantity(2 * (i + 1));
        line->SetUnitPrice(CDecimal("9.95"));
        line->SetTaxable(true);
    }
    CTotals* totals = order->GetTotals();
    totals->SetLineCount(3);
    totals->SetNet(CDecimal("59.70"));
    totals->SetTax(CDecimal("11.34"));
    totals->SetGross(CDecimal("71.04"));
    return order;
}

}  // namespace

int main() {
    Register(16, 1);
    try {
        CSerializationContext context;
        context.GetNamespaceAliases().Add("po", kTargetNamespace);

        CSmartPtr<CPurchaseOrder> order = BuildOrder();
        const std::string written = order->ToXml(true, true, EOLType_LF, context);
        std::printf("-- the order as built --\n%s", written.c_str());

        CSmartPtr<CPurchaseOrder> copy(new CPurchaseOrder);
        copy->FromXml(written.c_str(), context);
        std::printf("-- read back: order %lld, %d lines, buyer %s, first sku %s --\n",
                    copy->GetId(), copy->GetLine()->GetCount(), copy->GetBuyer()->GetName().c_str(),
                    copy->GetLine()->Item(0)->GetChoice()->GetSku().c_str());

        // Edit the copy: approve it, ship to another address, drop a line, and fix the totals.
        copy->SetStatus(OrderStatus_approved);
        CAddress* shipTo = copy->GetOrCreateShipTo();
        shipTo->SetName("Receiving, gate 2");
        shipTo->GetStreet()->Add("Industriepark 74");
        shipTo->SetCity("Malm\xC3\xB6");
        shipTo->SetPostalCode("21120");
        shipTo->SetCountry("SE");
        copy->GetLine()->Remove(1);
        copy->GetLine()->Item(1)->SetNumber(2);
        copy->GetLine()->Item(0)->SetNote("Deliver before noon");
        copy->GetTotals()->SetLineCount(copy->GetLine()->GetCount());
        copy->GetTotals()->SetNet(CDecimal("39.80"));
        copy->GetTotals()->SetTax(CDecimal("7.56"));
        copy->GetTotals()->SetGross(CDecimal("47.36"));
        copy->SetComment("Approved with changes");
        std::printf("-- the edited copy --\n%s",
                    copy->ToXml(true, true, EOLType_LF, context).c_str());

        // An article number must be exactly ten characters long (po:Sku): writing refuses it.
        CLineChoice* choice = copy->GetLine()->Item(0)->GetChoice();
        choice->ClearChoice();
        choice->SetSku("WID-42");
        try {
            copy->ToXml(true, true, EOLType_LF, context);
            std::printf("-- the invalid sku was not refused --\n");
            return 1;
        } catch (const CTsValidationException& e) {
            std::printf("-- writing an invalid sku fails --\n%s\n", e.GetFullMessage().c_str());
        }
    } catch (const CTsException& e) {
        std::fprintf(stderr, "%s\n", e.GetFullMessage().c_str());
        return 1;
    }
    return 0;
}
