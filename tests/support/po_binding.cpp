// po_binding.cpp: the metadata tables of the purchase order binding.
#include "support/po_binding.h"

#include <cstring>

namespace Po {

using namespace Tessel16;
using namespace Tessel16Data;
using EngineTest::StringCol;

const char* const kPoNs = "urn:example:po";

namespace {

const CWhitespaceUtils::WhitespaceRule kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;
const CWhitespaceUtils::WhitespaceRule kPreserve = CWhitespaceUtils::WhitespaceRule_Preserve;

CPrimitiveRestrictions NoFacets() { return CPrimitiveRestrictions(); }
CPrimitiveRestrictions Length(int length) {
    return CPrimitiveRestrictions("", -1, -1, "", "", "", "", length, -1, -1);
}

const char* const kStatuses[] = {"draft",   "submitted", "approved",
                                 "shipped", "invoiced",  "cancelled"};
const char* const kUnits[] = {"EA", "BOX", "KG", "M", "L", "H"};

template <size_t N>
const char* ToText(const char* const (&table)[N], int value) {
    return value >= 0 && static_cast<size_t>(value) < N ? table[value] : "";
}

template <size_t N>
int FromText(const char* const (&table)[N], const char* text) {
    for (size_t i = 0; i < N; ++i) {
        if (std::strcmp(table[i], text) == 0) return static_cast<int>(i);
    }
    return -1;
}

CSmartPtr<CXmlObjectBase> CreatePoClass(int classId, const char* elementName) {
    switch (classId) {
        case 1:
            return CSmartPtr<CXmlObjectBase>(new Address(elementName));
        case 2:
            return CSmartPtr<CXmlObjectBase>(new Party(elementName));
        case 3:
            return CSmartPtr<CXmlObjectBase>(new LineChoice(elementName));
        case 4:
            return CSmartPtr<CXmlObjectBase>(new Totals(elementName));
        default:
            return CSmartPtr<CXmlObjectBase>();
    }
}

CElementInfo* String(const char* name, int index, bool mandatory) {
    if (mandatory) {
        return new CElementInfoSeqPrimMnd(name, kPoNs, index, false, ItemType_string, nullptr,
                                          kPreserve, NoFacets(), nullptr);
    }
    return new CElementInfoSeqPrimOpt(name, kPoNs, index, false, ItemType_string, nullptr,
                                      kPreserve, NoFacets(), nullptr);
}

CElementInfo* Typed(const char* name, int index, ItemType type, bool mandatory) {
    if (mandatory) {
        return new CElementInfoSeqPrimMnd(name, kPoNs, index, false, type, nullptr, kCollapse,
                                          NoFacets(), nullptr);
    }
    return new CElementInfoSeqPrimOpt(name, kPoNs, index, false, type, nullptr, kCollapse,
                                      NoFacets(), nullptr);
}

CAttributeInfo* Attribute(const char* name, int index, ItemType type, bool optional,
                          const CPrimitiveRestrictions& facets = CPrimitiveRestrictions()) {
    return new CAttributeInfoPrimitive(name, "", index, optional, type, nullptr, kCollapse, facets,
                                       nullptr);
}

template <class T>
T* ObjectMember(EngineTest::TestObject* object, int index) {
    return dynamic_cast<T*>(object->Member(index).GetXmlObject().get());
}

}  // namespace

const char* OrderStatusToString(int value) { return ToText(kStatuses, value); }
int OrderStatusFromString(const char* text) { return FromText(kStatuses, text); }
const char* UnitToString(int value) { return ToText(kUnits, value); }
int UnitFromString(const char* text) { return FromText(kUnits, text); }

Address::Address(const char* elementName) : TestObject(MemberCount, elementName, kPoNs) { Init(); }

void Address::Init() {
    ResetMembers();
    Member(Streets).SetXmlCollection(new StringCol("street", 1, 3, kPoNs));
}

StringCol* Address::GetStreets() {
    return dynamic_cast<StringCol*>(Member(Streets).GetXmlCollection().get());
}

CParentElementInfo* Address::GetClassInfo() const {
    static CParentElementInfo info(XmlElementGroupType_Sequence, XmlElementType_Element, "Address",
                                   kPoNs, true, false, -1, ItemType_none, nullptr, false);
    return &info;
}

CElementInfo** Address::GetClassElementInfo() const {
    static CElementInfo* records[] = {String("name", Name, true),
                                      new CElementInfoSeqPrimCol("street", kPoNs, Streets),
                                      String("city", City, true),
                                      String("region", Region, false),
                                      String("postalCode", PostalCode, true),
                                      String("country", Country, true),
                                      nullptr};
    return records;
}

CAttributeInfo** Address::GetClassAttributeInfo() const {
    static CAttributeInfo* records[] = {
        Attribute("residential", Residential, ItemType_boolean, true), nullptr};
    return records;
}

Party::Party(const char* elementName) : TestObject(MemberCount, elementName, kPoNs) { Init(); }

void Party::Init() {
    ResetMembers();
    Member(AddressMember).SetXmlObject(new Address("address"));
}

Address* Party::GetAddress() { return ObjectMember<Address>(this, AddressMember); }

CParentElementInfo* Party::GetClassInfo() const {
    static CParentElementInfo info(XmlElementGroupType_Sequence, XmlElementType_Element, "Party",
                                   kPoNs, true, false, -1, ItemType_none, nullptr, false);
    return &info;
}

CElementInfo** Party::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        String("name", Name, true), String("taxId", TaxId, false), String("email", Email, false),
        new CElementInfoSeqClsMnd("address", kPoNs, AddressMember, XmlElementType_Element,
                                  CreatePoClass, 1, false),
        nullptr};
    return records;
}

CAttributeInfo** Party::GetClassAttributeInfo() const {
    static CAttributeInfo* records[] = {Attribute("id", Id, ItemType_i8, false), nullptr};
    return records;
}

LineChoice::LineChoice(const char* elementName) : TestObject(MemberCount, elementName, kPoNs) {}

void LineChoice::Init() { ResetMembers(); }

CParentElementInfo* LineChoice::GetClassInfo() const {
    static CParentElementInfo info(XmlElementGroupType_Choice, XmlElementType_Pseudo, "LineChoice",
                                   kPoNs, false, false, -1, ItemType_none, nullptr, false);
    return &info;
}

CElementInfo** LineChoice::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoChoicePrimOpt("sku", kPoNs, Sku, false, ItemType_string, nullptr, kPreserve,
                                      Length(10), nullptr),
        new CElementInfoChoicePrimOpt("serviceHours", kPoNs, ServiceHours, false, ItemType_decimal,
                                      nullptr, kCollapse, NoFacets(), nullptr),
        nullptr};
    return records;
}

CAttributeInfo** LineChoice::GetClassAttributeInfo() const {
    static CAttributeInfo* records[] = {nullptr};
    return records;
}

Line::Line(const char* elementName) : TestObject(MemberCount, elementName, kPoNs) { Init(); }

void Line::Init() {
    ResetMembers();
    Member(Choice).SetXmlObject(new LineChoice());
}

LineChoice* Line::GetChoice() { return ObjectMember<LineChoice>(this, Choice); }

CParentElementInfo* Line::GetClassInfo() const {
    static CParentElementInfo info(XmlElementGroupType_Sequence, XmlElementType_Element, "Line",
                                   kPoNs, true, false, -1, ItemType_none, nullptr, false);
    return &info;
}

CElementInfo** Line::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        new CElementInfoSeqClsMnd("LineChoice", kPoNs, Choice, XmlElementType_Pseudo, CreatePoClass,
                                  3, true),
        String("description", Description, true),
        Typed("quantity", Quantity, ItemType_i4, true),
        Typed("unitPrice", UnitPrice, ItemType_decimal, true),
        Typed("discountPercent", DiscountPercent, ItemType_decimal, false),
        Typed("deliveryDate", DeliveryDate, ItemType_date, false),
        Typed("taxable", Taxable, ItemType_boolean, true),
        String("note", Note, false),
        nullptr};
    return records;
}

CAttributeInfo** Line::GetClassAttributeInfo() const {
    static CAttributeInfo* records[] = {
        Attribute("number", Number, ItemType_i4, false),
        new CAttributeInfoEnum("uom", "", Uom, true, UnitToString, UnitFromString, nullptr),
        Attribute("backordered", Backordered, ItemType_boolean, true), nullptr};
    return records;
}

Totals::Totals(const char* elementName) : TestObject(MemberCount, elementName, kPoNs) {}

void Totals::Init() { ResetMembers(); }

CParentElementInfo* Totals::GetClassInfo() const {
    static CParentElementInfo info(XmlElementGroupType_Sequence, XmlElementType_Element, "Totals",
                                   kPoNs, true, false, -1, ItemType_none, nullptr, false);
    return &info;
}

CElementInfo** Totals::GetClassElementInfo() const {
    static CElementInfo* records[] = {Typed("lineCount", LineCount, ItemType_i4, true),
                                      Typed("net", Net, ItemType_decimal, true),
                                      Typed("tax", Tax, ItemType_decimal, true),
                                      Typed("gross", Gross, ItemType_decimal, true), nullptr};
    return records;
}

CAttributeInfo** Totals::GetClassAttributeInfo() const {
    static CAttributeInfo* records[] = {nullptr};
    return records;
}

PurchaseOrder::PurchaseOrder() : TestObject(MemberCount, "purchaseOrder", kPoNs) { Init(); }

void PurchaseOrder::Init() {
    ResetMembers();
    Member(Buyer).SetXmlObject(new Party("buyer"));
    Member(Seller).SetXmlObject(new Party("seller"));
    Member(Lines).SetXmlCollection(new LineCol("line", 1, -1, kPoNs));
    Member(TotalsMember).SetXmlObject(new Totals("totals"));
}

Party* PurchaseOrder::GetBuyer() { return ObjectMember<Party>(this, Buyer); }
Party* PurchaseOrder::GetSeller() { return ObjectMember<Party>(this, Seller); }
Totals* PurchaseOrder::GetTotals() { return ObjectMember<Totals>(this, TotalsMember); }
LineCol* PurchaseOrder::GetLines() {
    return dynamic_cast<LineCol*>(Member(Lines).GetXmlCollection().get());
}

CParentElementInfo* PurchaseOrder::GetClassInfo() const {
    static CParentElementInfo info(XmlElementGroupType_Sequence, XmlElementType_Element,
                                   "PurchaseOrder", kPoNs, true, false, -1, ItemType_none, nullptr,
                                   false);
    return &info;
}

CElementInfo** PurchaseOrder::GetClassElementInfo() const {
    static CElementInfo* records[] = {
        Typed("issued", Issued, ItemType_datetime, true),
        new CElementInfoSeqEnumMnd("status", kPoNs, Status, false, OrderStatusToString,
                                   OrderStatusFromString, nullptr),
        new CElementInfoSeqClsMnd("buyer", kPoNs, Buyer, XmlElementType_Element, CreatePoClass, 2,
                                  false),
        new CElementInfoSeqClsMnd("seller", kPoNs, Seller, XmlElementType_Element, CreatePoClass, 2,
                                  false),
        new CElementInfoSeqClsOpt("shipTo", kPoNs, ShipTo, XmlElementType_Element, CreatePoClass,
                                  1),
        Typed("requestedDelivery", RequestedDelivery, ItemType_date, false),
        new CElementInfoSeqClsCol("line", kPoNs, Lines, XmlElementType_Element),
        new CElementInfoSeqClsMnd("totals", kPoNs, TotalsMember, XmlElementType_Element,
                                  CreatePoClass, 4, false),
        String("comment", Comment, false),
        nullptr};
    return records;
}

CAttributeInfo** PurchaseOrder::GetClassAttributeInfo() const {
    static CAttributeInfo* records[] = {
        Attribute("id", Id, ItemType_i8, false),
        Attribute("currency", Currency, ItemType_string, false, Length(3)),
        Attribute("version", Version, ItemType_i4, true),
        Attribute("urgent", Urgent, ItemType_boolean, true), nullptr};
    return records;
}

}  // namespace Po
