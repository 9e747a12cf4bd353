// Builds a catalogue through the generated classes, writes it, reads it back and writes it
// again: both texts must agree, and the invalid currency must be refused.
#include <tessel16/tessel16.h>

#include <cstdio>

#include "catalog_binding.h"

int main() {
    using namespace Tessel16;
    try {
        CSmartPtr<Catalog::CCatalog> catalog(new Catalog::CCatalog);
        catalog->SetIssued(CDateTime(2024, 5, 6));
        Catalog::CItem* item = catalog->GetItem()->Add();
        item->SetSku("A-1");
        item->SetTitle("Lamp");
        item->GetPrice()->SetValue(CDecimal("12.50"));
        item->GetPrice()->SetCurrency("EUR");
        catalog->GetTotal()->SetValue(CDecimal("12.50"));
        catalog->GetTotal()->SetCurrency("EUR");
        const std::string xml = catalog->ToXml(false, false, EOLType_LF, CSerializationContext());
        CSmartPtr<Catalog::CCatalog> copy(new Catalog::CCatalog);
        copy->FromXml(xml.c_str(), CSerializationContext());
        const std::string again = copy->ToXml(false, false, EOLType_LF, CSerializationContext());
        std::printf("%s\n", again.c_str());
        if (again != xml || copy->GetItem()->Item(0)->GetTitle() != "Lamp") return 1;
        copy->GetTotal()->SetCurrency("EURO");
        copy->ToXml(false, false, EOLType_LF, CSerializationContext());
        std::fprintf(stderr, "a four-letter currency was written\n");
        return 1;
    } catch (const CTsException& e) {
        std::printf("refused as expected: %s\n", e.GetFullMessage().c_str());
        return 0;
    }
}
