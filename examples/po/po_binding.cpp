// po_binding.cpp: the record tables, accessors and factory of the purchase-order binding.
// Every class builds its tables once, on first use, and shares them with all its objects and
// threads; the members move to and from the records only through InvokeProperty.
#include "po/po_binding.h"

#include <cstring>
#include <initializer_list>

#include "tessel16/attribute_info.h"
#include "tessel16/element_info_variants.h"
#include "tessel16/exception.h"
#include "tessel16/variant.h"
#include "tessel16/xml_writer.h"

using namespace Tessel16;
using namespace Tessel16Data;

namespace Po {

const char* const kTargetNamespace = "urn:example:po";

// The three tables of one class. A function-local static of this type is built exactly once
// even when the first objects are serialised on several threads at once, which is why the
// engine's init lock is not needed here; the tables go away when the program ends.
struct PoMetaData {
    using Cleaner = void (*)(CParentElementInfo*&, CElementInfo**&, CAttributeInfo**&);
    PoMetaData(CParentElementInfo* info, CElementInfo** elementTable,
               CAttributeInfo** attributeTable, Cleaner clean)
        : classInfo(info), elements(elementTable), attributes(attributeTable), cleaner(clean) {}
    PoMetaData(const PoMetaData&) = delete;
    PoMetaData& operator=(const PoMetaData&) = delete;
    ~PoMetaData() { cleaner(classInfo, elements, attributes); }

    CParentElementInfo* classInfo;
    CElementInfo** elements;
    CAttributeInfo** attributes;
    Cleaner cleaner;
};

namespace {

const CWhitespaceUtils::WhitespaceRule kPreserve = CWhitespaceUtils::WhitespaceRule_Preserve;
const CWhitespaceUtils::WhitespaceRule kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;

const char* const kOrderStatusTexts[] = {"draft",   "submitted", "approved",
                                         "shipped", "invoiced",  "cancelled"};
const char* const kUnitTexts[] = {"EA", "BOX", "KG", "M", "L", "H"};

template <std::size_t N>
const char* EnumToText(const char* const (&texts)[N], int value) {
    return value >= 0 && static_cast<std::size_t>(value) < N ? texts[value] : "";
}

template <std::size_t N>
int EnumFromText(const char* const (&texts)[N], const char* text) {
    for (std::size_t i = 0; i < N; ++i) {
        if (std::strcmp(texts[i], text) == 0) return static_cast<int>(i);
    }
    return -1;
}

// A null-ended table on the heap, as CleanMetaData expects to free it.
template <class Record>
Record** Table(std::initializer_list<Record*> records) {
    Record** table = new Record*[records.size() + 1];
    std::size_t i = 0;
    for (Record* record : records) table[i++] = record;
    table[i] = nullptr;
    return table;
}

CPrimitiveRestrictions NoFacets() { return CPrimitiveRestrictions(); }

CPrimitiveRestrictions Length(std::int32_t length) {
    return CPrimitiveRestrictions("", -1, -1, "", "", "", "", length, -1, -1);
}

CParentElementInfo* SequenceClass(const char* typeName) {
    return new CParentElementInfo(XmlElementGroupType_Sequence, XmlElementType_Element, typeName,
                                  kTargetNamespace, true, false, -1, ItemType_none, nullptr, false);
}

// Simple element records: strings keep their blanks, every other kind collapses them.
CElementInfo* Mandatory(const char* name, int property, ItemType type,
                        const CPrimitiveRestrictions& facets = NoFacets()) {
    return new CElementInfoSeqPrimMnd(name, kTargetNamespace, property, false, type, nullptr,
                                      type == ItemType_string ? kPreserve : kCollapse, facets,
                                      nullptr);
}

CElementInfo* Optional(const char* name, int property, ItemType type) {
    return new CElementInfoSeqPrimOpt(name, kTargetNamespace, property, false, type, nullptr,
                                      type == ItemType_string ? kPreserve : kCollapse, NoFacets(),
                                      nullptr);
}

CAttributeInfo* Attribute(const char* name, int property, bool optional, ItemType type,
                          const CPrimitiveRestrictions& facets = NoFacets()) {
    return new CAttributeInfoPrimitive(name, "", property, optional, type, nullptr,
                                       type == ItemType_string ? kPreserve : kCollapse, facets,
                                       nullptr);
}

// Accessor helpers. A member that holds no value reads as an empty variant, so an optional
// member is left out and a mandatory one is refused; an empty variant stored marks it unset.
bool Has(std::uint32_t set, std::uint32_t bit) { return (set & bit) != 0; }

void Mark(std::uint32_t& set, std::uint32_t bit, const TsVariant& value) {
    if (value.IsValid() && !value.IsNil())
        set |= bit;
    else
        set &= ~bit;
}

// The object a record stores, checked against the member's class.
template <class T>
T* ObjectOf(const TsVariant& value, const char* member) {
    CSmartPtr<CXmlObjectBase> object = value.GetXmlObject();
    if (!object) return nullptr;
    T* typed = dynamic_cast<T*>(object.get());
    if (!typed) {
        throw CTsInvalidParamException(
            FormatString("The object given for [%s] is of another class", member));
    }
    return typed;
}

template <class T>
T* CollectionOf(const TsVariant& value, const char* member) {
    CSmartPtr<CXmlCollectionBase> collection = value.GetXmlCollection();
    if (!collection) return nullptr;
    T* typed = dynamic_cast<T*>(collection.get());
    if (!typed) {
        throw CTsInvalidParamException(
            FormatString("The collection given for [%s] is of another class", member));
    }
    return typed;
}

[[noreturn]] void ThrowNoSuchProperty(int propertyIndex) {
    throw CTsInvalidParamException(FormatString("No property with index %d", propertyIndex));
}

}  // namespace

const char* OrderStatusToString(int value) { return EnumToText(kOrderStatusTexts, value); }
int OrderStatusFromString(const char* text) { return EnumFromText(kOrderStatusTexts, text); }
const char* UnitOfMeasureToString(int value) { return EnumToText(kUnitTexts, value); }
int UnitOfMeasureFromString(const char* text) { return EnumFromText(kUnitTexts, text); }

CSmartPtr<CXmlObjectBase> CPoClassFactory::CreateClass(int classId, const char* elementName) {
    switch (classId) {
        case ClassId_Address:
            return new CAddress(elementName);
        case ClassId_Party:
            return new CParty(elementName);
        case ClassId_LineChoice:
            return new CLineChoice(elementName);
        case ClassId_Line:
            return new CLine(elementName);
        case ClassId_Totals:
            return new CTotals(elementName);
        case ClassId_PurchaseOrder:
            return new CPurchaseOrder();
        default:
            return nullptr;
    }
}

CPoStringCol::CPoStringCol(const char* elementName, int minOccurs, int maxOccurs)
    : CXmlTypeCollection(ItemType_string, elementName, kTargetNamespace, minOccurs, maxOccurs, "",
                         -1, -1, "", "", "", "", -1, -1, -1, kPreserve, "") {}

void CPoStringCol::Clear() {
    while (!m_values.empty()) Remove(0);
}

void CPoStringCol::Remove(int index) {
    if (index < 0 || index >= GetCount()) {
        throw CTsInvalidParamException(
            FormatString("Index %d is out of range, use 0 - %d", index, GetCount() - 1));
    }
    FireOnCollectionRemove(index);
    m_values.erase(m_values.begin() + index);
    FireOnCollectionRemoveComplete(index);
    FireOnCollectionChange();
}

void CPoStringCol::Add(const std::string& value) {
    FireOnCollectionAdd(nullptr);
    m_values.push_back(value);
    FireOnCollectionAddComplete(&m_values.back());
    FireOnCollectionChange();
}

const std::string& CPoStringCol::Item(int index) const {
    if (index < 0 || index >= GetCount()) {
        throw CTsInvalidParamException(
            FormatString("Index %d is out of range, use 0 - %d", index, GetCount() - 1));
    }
    return m_values[static_cast<std::size_t>(index)];
}

void CPoStringCol::AddFromString(std::string text) { m_values.push_back(std::move(text)); }

void CPoStringCol::ToXml_Int(CXmlWriter* writer, bool, const char* namespaceUri,
                             const CSerializationContext&, bool) const {
    for (const std::string& value : m_values) {
        writer->StartElement(GetElementName(), namespaceUri ? namespaceUri : "");
        writer->WriteText(value, ItemType_string, false);
        writer->EndElement();
    }
}

CAddress::CAddress(const char* elementName) {
    SetElementName(elementName);
    Init();
}

void CAddress::Init() {
    m_set = 0;
    m_street = new CPoStringCol("street", 1, 3);
    m_residential = false;
}

const PoMetaData& CAddress::MetaData() {
    static const PoMetaData meta(
        SequenceClass("Address"),
        Table<CElementInfo>({Mandatory("name", Prop_Name, ItemType_string),
                             new CElementInfoSeqPrimCol("street", kTargetNamespace, Prop_Street),
                             Mandatory("city", Prop_City, ItemType_string),
                             Optional("region", Prop_Region, ItemType_string),
                             Mandatory("postalCode", Prop_PostalCode, ItemType_string),
                             Mandatory("country", Prop_Country, ItemType_string)}),
        Table<CAttributeInfo>({Attribute("residential", Prop_Residential, true, ItemType_boolean)}),
        &CAddress::CleanMetaData);
    return meta;
}

CParentElementInfo* CAddress::GetClassInfo() const { return MetaData().classInfo; }
CElementInfo** CAddress::GetClassElementInfo() const { return MetaData().elements; }
CAttributeInfo** CAddress::GetClassAttributeInfo() const { return MetaData().attributes; }

void CAddress::InvokeProperty(int propertyIndex, bool get, TsVariant& value) {
    const std::uint32_t bit = Bit(propertyIndex);
    switch (propertyIndex) {
        case Prop_Name:
        case Prop_City:
        case Prop_Region:
        case Prop_PostalCode:
        case Prop_Country: {
            std::string& field = propertyIndex == Prop_Name         ? m_name
                                 : propertyIndex == Prop_City       ? m_city
                                 : propertyIndex == Prop_Region     ? m_region
                                 : propertyIndex == Prop_PostalCode ? m_postalCode
                                                                    : m_country;
            if (get) {
                if (Has(m_set, bit)) value.SetString(field);
            } else {
                field = value.GetString();
                Mark(m_set, bit, value);
            }
            return;
        }
        case Prop_Street:
            if (get)
                value.SetXmlCollection(m_street.get());
            else
                m_street = CollectionOf<CPoStringCol>(value, "street");
            return;
        case Prop_Residential:
            if (get) {
                if (Has(m_set, bit)) value.SetBoolean(m_residential);
            } else {
                m_residential = value.GetBoolean();
                Mark(m_set, bit, value);
            }
            return;
        default:
            ThrowNoSuchProperty(propertyIndex);
    }
}

void CAddress::SetName(const std::string& value) {
    m_name = value;
    m_set |= Bit(Prop_Name);
}
void CAddress::SetCity(const std::string& value) {
    m_city = value;
    m_set |= Bit(Prop_City);
}
void CAddress::SetRegion(const std::string& value) {
    m_region = value;
    m_set |= Bit(Prop_Region);
}
void CAddress::SetPostalCode(const std::string& value) {
    m_postalCode = value;
    m_set |= Bit(Prop_PostalCode);
}
void CAddress::SetCountry(const std::string& value) {
    m_country = value;
    m_set |= Bit(Prop_Country);
}
void CAddress::SetResidential(bool value) {
    m_residential = value;
    m_set |= Bit(Prop_Residential);
}

CParty::CParty(const char* elementName) {
    SetElementName(elementName);
    Init();
}

void CParty::Init() {
    m_set = 0;
    m_address = new CAddress("address");
    m_id = 0;
}

const PoMetaData& CParty::MetaData() {
    static const PoMetaData meta(
        SequenceClass("Party"),
        Table<CElementInfo>({Mandatory("name", Prop_Name, ItemType_string),
                             Optional("taxId", Prop_TaxId, ItemType_string),
                             Optional("email", Prop_Email, ItemType_string),
                             new CElementInfoSeqClsMnd(
                                 "address", kTargetNamespace, Prop_Address, XmlElementType_Element,
                                 &CPoClassFactory::CreateClass, ClassId_Address, false)}),
        Table<CAttributeInfo>({Attribute("id", Prop_Id, false, ItemType_i8)}),
        &CParty::CleanMetaData);
    return meta;
}

CParentElementInfo* CParty::GetClassInfo() const { return MetaData().classInfo; }
CElementInfo** CParty::GetClassElementInfo() const { return MetaData().elements; }
CAttributeInfo** CParty::GetClassAttributeInfo() const { return MetaData().attributes; }

void CParty::InvokeProperty(int propertyIndex, bool get, TsVariant& value) {
    const std::uint32_t bit = Bit(propertyIndex);
    switch (propertyIndex) {
        case Prop_Name:
        case Prop_TaxId:
        case Prop_Email: {
            std::string& field = propertyIndex == Prop_Name    ? m_name
                                 : propertyIndex == Prop_TaxId ? m_taxId
                                                               : m_email;
            if (get) {
                if (Has(m_set, bit)) value.SetString(field);
            } else {
                field = value.GetString();
                Mark(m_set, bit, value);
            }
            return;
        }
        case Prop_Address:
            if (get)
                value.SetXmlObject(m_address.get());
            else
                m_address = ObjectOf<CAddress>(value, "address");
            return;
        case Prop_Id:
            if (get) {
                if (Has(m_set, bit)) value.SetI8(m_id);
            } else {
                m_id = value.GetI8();
                Mark(m_set, bit, value);
            }
            return;
        default:
            ThrowNoSuchProperty(propertyIndex);
    }
}

void CParty::SetName(const std::string& value) {
    m_name = value;
    m_set |= Bit(Prop_Name);
}
void CParty::SetTaxId(const std::string& value) {
    m_taxId = value;
    m_set |= Bit(Prop_TaxId);
}
void CParty::SetEmail(const std::string& value) {
    m_email = value;
    m_set |= Bit(Prop_Email);
}
void CParty::SetId(long long value) {
    m_id = value;
    m_set |= Bit(Prop_Id);
}

CLineChoice::CLineChoice(const char* elementName) { SetElementName(elementName); }

void CLineChoice::Init() { m_selected.clear(); }

const PoMetaData& CLineChoice::MetaData() {
    static const PoMetaData meta(
        new CParentElementInfo(XmlElementGroupType_Choice, XmlElementType_Pseudo, "LineChoice",
                               kTargetNamespace, false, false, -1, ItemType_none, nullptr, false),
        Table<CElementInfo>({new CElementInfoChoicePrimOpt("sku", kTargetNamespace, Prop_Sku, false,
                                                           ItemType_string, nullptr, kPreserve,
                                                           Length(10), nullptr),
                             new CElementInfoChoicePrimOpt(
                                 "serviceHours", kTargetNamespace, Prop_ServiceHours, false,
                                 ItemType_decimal, nullptr, kCollapse, NoFacets(), nullptr)}),
        Table<CAttributeInfo>({}), &CLineChoice::CleanMetaData);
    return meta;
}

CParentElementInfo* CLineChoice::GetClassInfo() const { return MetaData().classInfo; }
CElementInfo** CLineChoice::GetClassElementInfo() const { return MetaData().elements; }
CAttributeInfo** CLineChoice::GetClassAttributeInfo() const { return MetaData().attributes; }

void CLineChoice::InvokeProperty(int propertyIndex, bool get, TsVariant& value) {
    switch (propertyIndex) {
        case Prop_Sku:
            if (get) {
                if (m_selected == "sku") value.SetString(m_sku);
            } else if (value.IsValid()) {
                SetSku(value.GetString());
            } else if (m_selected == "sku") {
                m_selected.clear();
            }
            return;
        case Prop_ServiceHours:
            if (get) {
                if (m_selected == "serviceHours") value.SetDecimal(m_serviceHours);
            } else if (value.IsValid()) {
                SetServiceHours(value.GetDecimal());
            } else if (m_selected == "serviceHours") {
                m_selected.clear();
            }
            return;
        default:
            ThrowNoSuchProperty(propertyIndex);
    }
}

void CLineChoice::SetSku(const std::string& value) {
    Choice_SetElementValid(true, "sku", m_selected);
    m_sku = value;
}

void CLineChoice::SetServiceHours(const CDecimal& value) {
    Choice_SetElementValid(true, "serviceHours", m_selected);
    m_serviceHours = value;
}

CLine::CLine(const char* elementName) {
    SetElementName(elementName);
    Init();
}

void CLine::Init() {
    m_set = 0;
    // An unset choice is already in its initial state: a line that is built and then read
    // (every line of a document) keeps the one its constructor made.
    if (!m_choice || !m_choice->GetChoiceSelectedElement().empty()) m_choice = new CLineChoice();
    m_quantity = 0;
    m_taxable = false;
    m_number = 0;
    m_uom = UnitOfMeasure_EA;
    m_backordered = false;
}

const PoMetaData& CLine::MetaData() {
    static const PoMetaData meta(
        SequenceClass("Line"),
        Table<CElementInfo>({new CElementInfoSeqClsMnd(
                                 "LineChoice", kTargetNamespace, Prop_Choice, XmlElementType_Pseudo,
                                 &CPoClassFactory::CreateClass, ClassId_LineChoice, true),
                             Mandatory("description", Prop_Description, ItemType_string),
                             Mandatory("quantity", Prop_Quantity, ItemType_i4),
                             Mandatory("unitPrice", Prop_UnitPrice, ItemType_decimal),
                             Optional("discountPercent", Prop_DiscountPercent, ItemType_decimal),
                             Optional("deliveryDate", Prop_DeliveryDate, ItemType_date),
                             Mandatory("taxable", Prop_Taxable, ItemType_boolean),
                             Optional("note", Prop_Note, ItemType_string)}),
        Table<CAttributeInfo>(
            {Attribute("number", Prop_Number, false, ItemType_i4),
             new CAttributeInfoEnum("uom", "", Prop_Uom, true, &UnitOfMeasureToString,
                                    &UnitOfMeasureFromString, nullptr),
             Attribute("backordered", Prop_Backordered, true, ItemType_boolean)}),
        &CLine::CleanMetaData);
    return meta;
}

CParentElementInfo* CLine::GetClassInfo() const { return MetaData().classInfo; }
CElementInfo** CLine::GetClassElementInfo() const { return MetaData().elements; }
CAttributeInfo** CLine::GetClassAttributeInfo() const { return MetaData().attributes; }

void CLine::InvokeProperty(int propertyIndex, bool get, TsVariant& value) {
    const std::uint32_t bit = Bit(propertyIndex);
    const bool has = Has(m_set, bit);
    switch (propertyIndex) {
        case Prop_Choice:
            if (get)
                value.SetXmlObject(m_choice.get());
            else
                m_choice = ObjectOf<CLineChoice>(value, "LineChoice");
            return;
        case Prop_Description:
        case Prop_Note: {
            std::string& field = propertyIndex == Prop_Description ? m_description : m_note;
            if (get) {
                if (has) value.SetString(field);
            } else {
                field = value.GetString();
                Mark(m_set, bit, value);
            }
            return;
        }
        case Prop_Quantity:
        case Prop_Number: {
            std::int32_t& field = propertyIndex == Prop_Quantity ? m_quantity : m_number;
            if (get) {
                if (has) value.SetI4(field);
            } else {
                field = value.GetI4();
                Mark(m_set, bit, value);
            }
            return;
        }
        case Prop_UnitPrice:
        case Prop_DiscountPercent: {
            CDecimal& field = propertyIndex == Prop_UnitPrice ? m_unitPrice : m_discountPercent;
            if (get) {
                if (has) value.SetDecimal(field);
            } else {
                field = value.GetDecimal();
                Mark(m_set, bit, value);
            }
            return;
        }
        case Prop_DeliveryDate:
            if (get) {
                if (has) value.SetDate(m_deliveryDate);
            } else {
                m_deliveryDate = value.GetDate();
                Mark(m_set, bit, value);
            }
            return;
        case Prop_Taxable:
        case Prop_Backordered: {
            bool& field = propertyIndex == Prop_Taxable ? m_taxable : m_backordered;
            if (get) {
                if (has) value.SetBoolean(field);
            } else {
                field = value.GetBoolean();
                Mark(m_set, bit, value);
            }
            return;
        }
        case Prop_Uom:
            if (get) {
                if (has) value.SetI4(m_uom);
            } else {
                const std::int32_t uom = value.GetI4();
                if (value.IsValid() && (uom < UnitOfMeasure_EA || uom > UnitOfMeasure_H)) {
                    throw CTsInvalidValueException(
                        FormatString("[%d] is not a unit of measure", uom));
                }
                m_uom = static_cast<UnitOfMeasure>(uom);
                Mark(m_set, bit, value);
            }
            return;
        default:
            ThrowNoSuchProperty(propertyIndex);
    }
}

void CLine::SetDescription(const std::string& value) {
    m_description = value;
    m_set |= Bit(Prop_Description);
}
void CLine::SetQuantity(std::int32_t value) {
    m_quantity = value;
    m_set |= Bit(Prop_Quantity);
}
void CLine::SetUnitPrice(const CDecimal& value) {
    m_unitPrice = value;
    m_set |= Bit(Prop_UnitPrice);
}
void CLine::SetDiscountPercent(const CDecimal& value) {
    m_discountPercent = value;
    m_set |= Bit(Prop_DiscountPercent);
}
void CLine::SetDeliveryDate(const CDateTime& value) {
    m_deliveryDate = value;
    m_set |= Bit(Prop_DeliveryDate);
}
void CLine::SetTaxable(bool value) {
    m_taxable = value;
    m_set |= Bit(Prop_Taxable);
}
void CLine::SetNote(const std::string& value) {
    m_note = value;
    m_set |= Bit(Prop_Note);
}
void CLine::SetNumber(std::int32_t value) {
    m_number = value;
    m_set |= Bit(Prop_Number);
}
void CLine::SetUom(UnitOfMeasure value) {
    m_uom = value;
    m_set |= Bit(Prop_Uom);
}
void CLine::SetBackordered(bool value) {
    m_backordered = value;
    m_set |= Bit(Prop_Backordered);
}

CTotals::CTotals(const char* elementName) {
    SetElementName(elementName);
    Init();
}

void CTotals::Init() {
    m_set = 0;
    m_lineCount = 0;
}

const PoMetaData& CTotals::MetaData() {
    static const PoMetaData meta(
        SequenceClass("Totals"),
        Table<CElementInfo>({Mandatory("lineCount", Prop_LineCount, ItemType_i4),
                             Mandatory("net", Prop_Net, ItemType_decimal),
                             Mandatory("tax", Prop_Tax, ItemType_decimal),
                             Mandatory("gross", Prop_Gross, ItemType_decimal)}),
        Table<CAttributeInfo>({}), &CTotals::CleanMetaData);
    return meta;
}

CParentElementInfo* CTotals::GetClassInfo() const { return MetaData().classInfo; }
CElementInfo** CTotals::GetClassElementInfo() const { return MetaData().elements; }
CAttributeInfo** CTotals::GetClassAttributeInfo() const { return MetaData().attributes; }

void CTotals::InvokeProperty(int propertyIndex, bool get, TsVariant& value) {
    const std::uint32_t bit = Bit(propertyIndex);
    switch (propertyIndex) {
        case Prop_LineCount:
            if (get) {
                if (Has(m_set, bit)) value.SetI4(m_lineCount);
            } else {
                m_lineCount = value.GetI4();
                Mark(m_set, bit, value);
            }
            return;
        case Prop_Net:
        case Prop_Tax:
        case Prop_Gross: {
            CDecimal& field = propertyIndex == Prop_Net   ? m_net
                              : propertyIndex == Prop_Tax ? m_tax
                                                          : m_gross;
            if (get) {
                if (Has(m_set, bit)) value.SetDecimal(field);
            } else {
                field = value.GetDecimal();
                Mark(m_set, bit, value);
            }
            return;
        }
        default:
            ThrowNoSuchProperty(propertyIndex);
    }
}

void CTotals::SetLineCount(std::int32_t value) {
    m_lineCount = value;
    m_set |= Bit(Prop_LineCount);
}
void CTotals::SetNet(const CDecimal& value) {
    m_net = value;
    m_set |= Bit(Prop_Net);
}
void CTotals::SetTax(const CDecimal& value) {
    m_tax = value;
    m_set |= Bit(Prop_Tax);
}
void CTotals::SetGross(const CDecimal& value) {
    m_gross = value;
    m_set |= Bit(Prop_Gross);
}

CPurchaseOrder::CPurchaseOrder() {
    SetElementName("purchaseOrder");
    Init();
}

void CPurchaseOrder::Init() {
    m_set = 0;
    m_status = OrderStatus_draft;
    m_buyer = new CParty("buyer");
    m_seller = new CParty("seller");
    m_shipTo = nullptr;
    m_line = new CLineCol("line", 1, -1);
    m_totals = new CTotals("totals");
    m_id = 0;
    m_version = 0;
    m_urgent = false;
}

const PoMetaData& CPurchaseOrder::MetaData() {
    static const PoMetaData meta(
        SequenceClass("PurchaseOrder"),
        Table<CElementInfo>(
            {Mandatory("issued", Prop_Issued, ItemType_datetime),
             new CElementInfoSeqEnumMnd("status", kTargetNamespace, Prop_Status, false,
                                        &OrderStatusToString, &OrderStatusFromString, nullptr),
             new CElementInfoSeqClsMnd("buyer", kTargetNamespace, Prop_Buyer,
                                       XmlElementType_Element, &CPoClassFactory::CreateClass,
                                       ClassId_Party, false),
             new CElementInfoSeqClsMnd("seller", kTargetNamespace, Prop_Seller,
                                       XmlElementType_Element, &CPoClassFactory::CreateClass,
                                       ClassId_Party, false),
             new CElementInfoSeqClsOpt("shipTo", kTargetNamespace, Prop_ShipTo,
                                       XmlElementType_Element, &CPoClassFactory::CreateClass,
                                       ClassId_Address),
             Optional("requestedDelivery", Prop_RequestedDelivery, ItemType_date),
             new CElementInfoSeqClsCol("line", kTargetNamespace, Prop_Line, XmlElementType_Element),
             new CElementInfoSeqClsMnd("totals", kTargetNamespace, Prop_Totals,
                                       XmlElementType_Element, &CPoClassFactory::CreateClass,
                                       ClassId_Totals, false),
             Optional("comment", Prop_Comment, ItemType_string)}),
        Table<CAttributeInfo>(
            {Attribute("id", Prop_Id, false, ItemType_i8),
             Attribute("currency", Prop_Currency, false, ItemType_string, Length(3)),
             Attribute("version", Prop_Version, true, ItemType_i4),
             Attribute("urgent", Prop_Urgent, true, ItemType_boolean)}),
        &CPurchaseOrder::CleanMetaData);
    return meta;
}

CParentElementInfo* CPurchaseOrder::GetClassInfo() const { return MetaData().classInfo; }
CElementInfo** CPurchaseOrder::GetClassElementInfo() const { return MetaData().elements; }
CAttributeInfo** CPurchaseOrder::GetClassAttributeInfo() const { return MetaData().attributes; }

void CPurchaseOrder::InvokeProperty(int propertyIndex, bool get, TsVariant& value) {
    const std::uint32_t bit = Bit(propertyIndex);
    const bool has = Has(m_set, bit);
    switch (propertyIndex) {
        case Prop_Issued:
            if (get) {
                if (has) value.SetDateTime(m_issued);
            } else {
                m_issued = value.GetDateTime();
                Mark(m_set, bit, value);
            }
            return;
        case Prop_Status:
            if (get) {
                if (has) value.SetI4(m_status);
            } else {
                const std::int32_t status = value.GetI4();
                if (value.IsValid() &&
                    (status < OrderStatus_draft || status > OrderStatus_cancelled))
                    throw CTsInvalidValueException(
                        FormatString("[%d] is not an order status", status));
                m_status = static_cast<OrderStatus>(status);
                Mark(m_set, bit, value);
            }
            return;
        case Prop_Buyer:
        case Prop_Seller:
        case Prop_Totals:
        case Prop_ShipTo:
            if (get) {
                CXmlObjectBase* object = propertyIndex == Prop_Buyer    ? m_buyer.get()
                                         : propertyIndex == Prop_Seller ? m_seller.get()
                                         : propertyIndex == Prop_ShipTo
                                             ? static_cast<CXmlObjectBase*>(m_shipTo.get())
                                             : m_totals.get();
                value.SetXmlObject(object);
            } else if (propertyIndex == Prop_Buyer) {
                m_buyer = ObjectOf<CParty>(value, "buyer");
            } else if (propertyIndex == Prop_Seller) {
                m_seller = ObjectOf<CParty>(value, "seller");
            } else if (propertyIndex == Prop_ShipTo) {
                m_shipTo = ObjectOf<CAddress>(value, "shipTo");
            } else {
                m_totals = ObjectOf<CTotals>(value, "totals");
            }
            return;
        case Prop_RequestedDelivery:
            if (get) {
                if (has) value.SetDate(m_requestedDelivery);
            } else {
                m_requestedDelivery = value.GetDate();
                Mark(m_set, bit, value);
            }
            return;
        case Prop_Line:
            if (get)
                value.SetXmlCollection(m_line.get());
            else
                m_line = CollectionOf<CLineCol>(value, "line");
            return;
        case Prop_Comment:
        case Prop_Currency: {
            std::string& field = propertyIndex == Prop_Comment ? m_comment : m_currency;
            if (get) {
                if (has) value.SetString(field);
            } else {
                field = value.GetString();
                Mark(m_set, bit, value);
            }
            return;
        }
        case Prop_Id:
            if (get) {
                if (has) value.SetI8(m_id);
            } else {
                m_id = value.GetI8();
                Mark(m_set, bit, value);
            }
            return;
        case Prop_Version:
            if (get) {
                if (has) value.SetI4(m_version);
            } else {
                m_version = value.GetI4();
                Mark(m_set, bit, value);
            }
            return;
        case Prop_Urgent:
            if (get) {
                if (has) value.SetBoolean(m_urgent);
            } else {
                m_urgent = value.GetBoolean();
                Mark(m_set, bit, value);
            }
            return;
        default:
            ThrowNoSuchProperty(propertyIndex);
    }
}

CAddress* CPurchaseOrder::GetOrCreateShipTo() {
    if (!m_shipTo) m_shipTo = new CAddress("shipTo");
    return m_shipTo.get();
}

void CPurchaseOrder::SetIssued(const CDateTime& value) {
    m_issued = value;
    m_set |= Bit(Prop_Issued);
}
void CPurchaseOrder::SetStatus(OrderStatus value) {
    m_status = value;
    m_set |= Bit(Prop_Status);
}
void CPurchaseOrder::SetRequestedDelivery(const CDateTime& value) {
    m_requestedDelivery = value;
    m_set |= Bit(Prop_RequestedDelivery);
}
void CPurchaseOrder::SetComment(const std::string& value) {
    m_comment = value;
    m_set |= Bit(Prop_Comment);
}
void CPurchaseOrder::SetId(long long value) {
    m_id = value;
    m_set |= Bit(Prop_Id);
}
void CPurchaseOrder::SetCurrency(const std::string& value) {
    m_currency = value;
    m_set |= Bit(Prop_Currency);
}
void CPurchaseOrder::SetVersion(std::int32_t value) {
    m_version = value;
    m_set |= Bit(Prop_Version);
}
void CPurchaseOrder::SetUrgent(bool value) {
    m_urgent = value;
    m_set |= Bit(Prop_Urgent);
}

}  // namespace Po
