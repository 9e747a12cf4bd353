// purchase_order.cpp: a hand-written bindable purchase order (the shape of the benchmark
// schema, urn:example:po) that writes itself as formatted XML and as a gzip stream. Generated
// classes do the same through their metadata; here ToXml_Int drives the writer by hand.
#include <tessel16/tessel16.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace Tessel16;

namespace {

const char* const kPoNamespace = "urn:example:po";

void WriteSimple(CXmlWriter* writer, const char* name, const std::string& value, ItemType type) {
    writer->StartElement(name, kPoNamespace);
    writer->WriteText(value, type, false);
    writer->EndElement();
}

// One order line: an article (sku) or service hours, never both.
class CLine : public CXmlObjectBase {
public:
    CLine(int number, const char* description, int quantity, const char* unitPrice)
        : m_number(number),
          m_description(description),
          m_quantity(quantity),
          m_unitPrice(unitPrice) {
        SetElementName("line");
    }
    void SetSku(const char* sku) {
        Choice_SetElementValid(true, "sku", m_choice);  // throws if serviceHours is set
        m_sku = sku;
    }
    void SetServiceHours(const char* hours) {
        Choice_SetElementValid(true, "serviceHours", m_choice);
        m_serviceHours = hours;
    }
    CXmlObjectBase* GetBase() override { return this; }
    std::string GetTargetNamespace() const override { return kPoNamespace; }
    std::string GetNamespace() const override { return kPoNamespace; }

protected:
    void ToXml_Int(CXmlWriter* writer, bool, const char* namespaceUri, const CSerializationContext&,
                   bool) const override {
        writer->StartElement(GetElementName(), namespaceUri);
        writer->AddAttribute("number", "", std::to_string(m_number), ItemType_i4);
        if (m_choice == "sku")
            WriteSimple(writer, "sku", m_sku, ItemType_string);
        else
            WriteSimple(writer, "serviceHours", m_serviceHours, ItemType_decimal);
        WriteSimple(writer, "description", m_description, ItemType_string);
        WriteSimple(writer, "quantity", std::to_string(m_quantity), ItemType_i4);
        WriteSimple(writer, "unitPrice", m_unitPrice, ItemType_decimal);
        WriteSimple(writer, "taxable", "true", ItemType_boolean);
        writer->EndElement();
    }
    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* child, const CSerializationContext&,
                             bool) override {
        return child;  // this example only writes
    }

private:
    int m_number;
    std::string m_description;
    int m_quantity;
    std::string m_unitPrice;
    std::string m_choice;  // the member of the sku/serviceHours choice that is set
    std::string m_sku;
    std::string m_serviceHours;
};

class CPurchaseOrder : public CXmlObjectBase {
public:
    CPurchaseOrder() { SetElementName("purchaseOrder"); }
    void AddLine(CLine* line) { m_lines.emplace_back(line); }
    CXmlObjectBase* GetBase() override { return this; }
    std::string GetTargetNamespace() const override { return kPoNamespace; }
    std::string GetNamespace() const override { return kPoNamespace; }

protected:
    void AttributesToXml_Int(CXmlWriter* writer, const CSerializationContext&) const override {
        writer->AddAttribute("id", "", "4711", ItemType_i8);
        writer->AddAttribute("currency", "", "EUR", ItemType_string);
    }
    void ToXml_Int(CXmlWriter* writer, bool, const char* namespaceUri,
                   const CSerializationContext& context, bool) const override {
        writer->SetDefaultNamespace(namespaceUri);  // unprefixed names under xmlns="urn:..."
        writer->StartElement(GetElementName(), namespaceUri);
        AttributesToXml_Int(writer, context);
        WriteSimple(writer, "issued", "2026-12-05T14:30:00Z", ItemType_datetime);
        WriteSimple(writer, "status", "submitted", ItemType_string);
        writer->StartElement("buyer", kPoNamespace);
        writer->AddAttribute("id", "", "17", ItemType_i8);
        WriteSimple(writer, "name", "Gr\xC3\xBCn & S\xC3\xB6hne <GmbH>", ItemType_string);
        writer->EndElement();
        for (const CSmartPtr<CLine>& line : m_lines)
            CXmlObjectBase::ToXml_Int(line.get(), writer, false, kPoNamespace, context, false);
        writer->StartElement("totals", kPoNamespace);
        WriteSimple(writer, "lineCount", std::to_string(m_lines.size()), ItemType_i4);
        writer->EndElement();
        writer->EndElement();
    }
    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* child, const CSerializationContext&,
                             bool) override {
        return child;
    }

private:
    std::vector<CSmartPtr<CLine>> m_lines;
};

}  // namespace

int main() {
    Register(16, 1);
    CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
    for (int i = 1; i <= 3; ++i) {
        CLine* line = new CLine(i, "Widget, blue", 2 * i, "9.95");
        order->AddLine(line);
        if (i == 3)
            line->SetServiceHours("1.5");
        else
            line->SetSku("WID-000042");
    }
    try {
        CSerializationContext& context = CSerializationContext::GetDefaultContext();
        std::printf("%s", order->ToXml(true, true, EOLType_LF, context).c_str());

        const CBinaryData plain = order->ToXmlStream(true, false, XmlEncoding_UTF8, EOLType_LF,
                                                     context, CompressionType_None);
        const CBinaryData gzip = order->ToXmlStream(true, false, XmlEncoding_UTF8, EOLType_LF,
                                                    context, CompressionType_GZip);
        std::printf("UTF-8 bytes: %u, gzip bytes: %u\n", static_cast<unsigned>(plain.GetLength()),
                    static_cast<unsigned>(gzip.GetLength()));
    } catch (const CTsException& e) {
        std::fprintf(stderr, "%s\n", e.GetFullMessage().c_str());
        return 1;
    }
    return 0;
}
