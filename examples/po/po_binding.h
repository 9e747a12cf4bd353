// po_binding.h: the binding of the purchase-order schema (examples/po.xsd, urn:example:po) in
// the form a schema compiler emits: one class per complex type with typed fields, an indexed
// accessor, static record tables built once, a class factory, typed collections and enums.
// The example, the tests and the benchmark all compile it, so the figures measure this code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tessel16/class_factory.h"
#include "tessel16/date_time.h"
#include "tessel16/decimal.h"
#include "tessel16/smart_ptr.h"
#include "tessel16/xml_collection.h"
#include "tessel16/xml_document.h"
#include "tessel16/xml_generated_class.h"
#include "tessel16/xml_type_collection.h"

namespace Po {

extern const char* const kTargetNamespace;  // "urn:example:po"

enum OrderStatus {
    OrderStatus_draft,
    OrderStatus_submitted,
    OrderStatus_approved,
    OrderStatus_shipped,
    OrderStatus_invoiced,
    OrderStatus_cancelled
};
// Lexical forms of the enumerations; unknown text maps to -1, an unknown value to "".
const char* OrderStatusToString(int value);
int OrderStatusFromString(const char* text);

enum UnitOfMeasure {
    UnitOfMeasure_EA,
    UnitOfMeasure_BOX,
    UnitOfMeasure_KG,
    UnitOfMeasure_M,
    UnitOfMeasure_L,
    UnitOfMeasure_H
};
const char* UnitOfMeasureToString(int value);
int UnitOfMeasureFromString(const char* text);

struct PoMetaData;
class CAddress;
class CParty;
class CLine;
class CLineChoice;
class CTotals;
class CPurchaseOrder;

// Class ids handed to the element records; the factory creates an object from one.
enum ClassId {
    ClassId_Address = 1,
    ClassId_Party,
    ClassId_LineChoice,
    ClassId_Line,
    ClassId_Totals,
    ClassId_PurchaseOrder
};

class CPoClassFactory : public Tessel16::CClassfactoryBase {
public:
    // A new empty object of the class, named after the element it stands for.
    static Tessel16::CSmartPtr<Tessel16::CXmlObjectBase> CreateClass(int classId,
                                                                     const char* elementName);
};

// A repeated xs:string member (Address/street).
class CPoStringCol : public Tessel16::CXmlTypeCollection {
public:
    CPoStringCol(const char* elementName, int minOccurs, int maxOccurs);
    Tessel16::CXmlObjectBase* GetBase() override { return this; }
    int GetCount() const override { return static_cast<int>(m_values.size()); }
    void Clear() override;
    void Remove(int index) override;
    void Add(const std::string& value);
    const std::string& Item(int index) const;

protected:
    void AddFromString(std::string text) override;
    void ToXml_Int(Tessel16::CXmlWriter* writer, bool isRoot, const char* namespaceUri,
                   const Tessel16::CSerializationContext& context, bool inChoice) const override;

private:
    std::vector<std::string> m_values;
};

// A repeated member of a generated class T: the list of the base holds the references, and
// the typed face casts the node's item back to T.
template <class T>
class CPoObjectCol : public Tessel16::CXmlCollection {
public:
    CPoObjectCol(const char* elementName, int minOccurs, int maxOccurs)
        : CXmlCollection(elementName, kTargetNamespace, minOccurs, maxOccurs) {}
    Tessel16::CXmlObjectBase* GetBase() override { return this; }

    // Appends a new item (the collection takes a reference) and returns it.
    T* Add() {
        T* item = new T(GetElementName().c_str());
        AppendItem(item);
        return item;
    }
    void Add(T* item) { AppendItem(item); }
    T* Item(int index) const { return Cast(GetNodeAtIndex(index)); }

    class const_iterator {
    public:
        explicit const_iterator(CNode* node) : m_node(node) {}
        T* operator*() const { return Cast(m_node); }
        const_iterator& operator++() {
            m_node = m_node->GetNext();
            return *this;
        }
        bool operator!=(const const_iterator& other) const { return m_node != other.m_node; }

    private:
        CNode* m_node;
    };
    const_iterator begin() const { return const_iterator(GetHead()); }
    const_iterator end() const { return const_iterator(nullptr); }

protected:
    // Every item writes its own element, under the record's namespace.
    void ToXml_Int(Tessel16::CXmlWriter* writer, bool, const char* namespaceUri,
                   const Tessel16::CSerializationContext& context, bool inChoice) const override {
        for (CNode* node = GetHead(); node; node = node->GetNext()) {
            CXmlObjectBase::ToXml_Int(node->GetItem(), writer, false, namespaceUri, context,
                                      inChoice);
        }
    }
    // Takes consecutive elements of the item name, one new item each; the first element of
    // another name is where the parent goes on.
    Tessel16::CXmlElement* FromXml_Int(Tessel16::CXmlElement*, Tessel16::CXmlElement* cursor,
                                       const Tessel16::CSerializationContext& context,
                                       bool) override;

private:
    // Only T objects are ever appended, so the cast needs no run-time check.
    static T* Cast(CNode* node) { return static_cast<T*>(node->GetItemPtr().get()); }
};

class CAddress : public Tessel16::CXmlGeneratedClass {
public:
    explicit CAddress(const char* elementName = "address");

    const std::string& GetName() const { return m_name; }
    void SetName(const std::string& value);
    CPoStringCol* GetStreet() const { return m_street.get(); }
    const std::string& GetCity() const { return m_city; }
    void SetCity(const std::string& value);
    bool IsRegionValid() const { return (m_set & Bit(Prop_Region)) != 0; }
    const std::string& GetRegion() const { return m_region; }
    void SetRegion(const std::string& value);
    void ClearRegion() { m_set &= ~Bit(Prop_Region); }
    const std::string& GetPostalCode() const { return m_postalCode; }
    void SetPostalCode(const std::string& value);
    const std::string& GetCountry() const { return m_country; }
    void SetCountry(const std::string& value);
    bool IsResidentialValid() const { return (m_set & Bit(Prop_Residential)) != 0; }
    bool GetResidential() const { return m_residential; }
    void SetResidential(bool value);
    void ClearResidential() { m_set &= ~Bit(Prop_Residential); }

    Tessel16::CXmlObjectBase* GetBase() override { return this; }
    std::string GetNamespace() const override { return kTargetNamespace; }
    std::string GetTargetNamespace() const override { return kTargetNamespace; }
    void InvokeProperty(int propertyIndex, bool get, Tessel16::TsVariant& value) override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const override;
    void Init() override;

private:
    static const PoMetaData& MetaData();
    enum Property {
        Prop_Name,
        Prop_Street,
        Prop_City,
        Prop_Region,
        Prop_PostalCode,
        Prop_Country,
        Prop_Residential
    };
    static std::uint32_t Bit(int property) { return 1u << property; }

    std::uint32_t m_set = 0;  // one bit per property: the member holds a value
    std::string m_name;
    Tessel16::CSmartPtr<CPoStringCol> m_street;
    std::string m_city;
    std::string m_region;
    std::string m_postalCode;
    std::string m_country;
    bool m_residential = false;
};

class CParty : public Tessel16::CXmlGeneratedClass {
public:
    explicit CParty(const char* elementName = "party");

    const std::string& GetName() const { return m_name; }
    void SetName(const std::string& value);
    bool IsTaxIdValid() const { return (m_set & Bit(Prop_TaxId)) != 0; }
    const std::string& GetTaxId() const { return m_taxId; }
    void SetTaxId(const std::string& value);
    bool IsEmailValid() const { return (m_set & Bit(Prop_Email)) != 0; }
    const std::string& GetEmail() const { return m_email; }
    void SetEmail(const std::string& value);
    void ClearEmail() { m_set &= ~Bit(Prop_Email); }
    CAddress* GetAddress() const { return m_address.get(); }
    long long GetId() const { return m_id; }
    void SetId(long long value);

    Tessel16::CXmlObjectBase* GetBase() override { return this; }
    std::string GetNamespace() const override { return kTargetNamespace; }
    std::string GetTargetNamespace() const override { return kTargetNamespace; }
    void InvokeProperty(int propertyIndex, bool get, Tessel16::TsVariant& value) override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const override;
    void Init() override;

private:
    static const PoMetaData& MetaData();
    enum Property { Prop_Name, Prop_TaxId, Prop_Email, Prop_Address, Prop_Id };
    static std::uint32_t Bit(int property) { return 1u << property; }

    std::uint32_t m_set = 0;
    std::string m_name;
    std::string m_taxId;
    std::string m_email;
    Tessel16::CSmartPtr<CAddress> m_address;
    long long m_id = 0;
};

// The anonymous choice of Line (an article number or service hours). It has no tag of its
// own: its member element stands directly among the line's children.
class CLineChoice : public Tessel16::CXmlGeneratedClass {
public:
    explicit CLineChoice(const char* elementName = "LineChoice");

    // The name of the member that is set ("sku", "serviceHours"), or "" for none.
    const std::string& GetChoiceSelectedElement() const { return m_selected; }
    const std::string& GetSku() const { return m_sku; }
    // Throws CTsInvalidStateException while serviceHours is set.
    void SetSku(const std::string& value);
    const Tessel16::CDecimal& GetServiceHours() const { return m_serviceHours; }
    // Throws CTsInvalidStateException while sku is set.
    void SetServiceHours(const Tessel16::CDecimal& value);
    void ClearChoice() { m_selected.clear(); }

    Tessel16::CXmlObjectBase* GetBase() override { return this; }
    std::string GetNamespace() const override { return kTargetNamespace; }
    std::string GetTargetNamespace() const override { return kTargetNamespace; }
    void InvokeProperty(int propertyIndex, bool get, Tessel16::TsVariant& value) override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const override;
    void Init() override;

private:
    static const PoMetaData& MetaData();
    enum Property { Prop_Sku, Prop_ServiceHours };

    std::string m_selected;
    std::string m_sku;
    Tessel16::CDecimal m_serviceHours;
};

class CLine : public Tessel16::CXmlGeneratedClass {
public:
    explicit CLine(const char* elementName = "line");

    CLineChoice* GetChoice() const { return m_choice.get(); }
    const std::string& GetDescription() const { return m_description; }
    void SetDescription(const std::string& value);
    std::int32_t GetQuantity() const { return m_quantity; }
    void SetQuantity(std::int32_t value);
    const Tessel16::CDecimal& GetUnitPrice() const { return m_unitPrice; }
    void SetUnitPrice(const Tessel16::CDecimal& value);
    bool IsDiscountPercentValid() const { return (m_set & Bit(Prop_DiscountPercent)) != 0; }
    const Tessel16::CDecimal& GetDiscountPercent() const { return m_discountPercent; }
    void SetDiscountPercent(const Tessel16::CDecimal& value);
    bool IsDeliveryDateValid() const { return (m_set & Bit(Prop_DeliveryDate)) != 0; }
    const Tessel16::CDateTime& GetDeliveryDate() const { return m_deliveryDate; }
    void SetDeliveryDate(const Tessel16::CDateTime& value);
    bool GetTaxable() const { return m_taxable; }
    void SetTaxable(bool value);
    bool IsNoteValid() const { return (m_set & Bit(Prop_Note)) != 0; }
    const std::string& GetNote() const { return m_note; }
    void SetNote(const std::string& value);
    std::int32_t GetNumber() const { return m_number; }
    void SetNumber(std::int32_t value);
    bool IsUomValid() const { return (m_set & Bit(Prop_Uom)) != 0; }
    UnitOfMeasure GetUom() const { return m_uom; }
    void SetUom(UnitOfMeasure value);
    bool IsBackorderedValid() const { return (m_set & Bit(Prop_Backordered)) != 0; }
    bool GetBackordered() const { return m_backordered; }
    void SetBackordered(bool value);

    Tessel16::CXmlObjectBase* GetBase() override { return this; }
    std::string GetNamespace() const override { return kTargetNamespace; }
    std::string GetTargetNamespace() const override { return kTargetNamespace; }
    void InvokeProperty(int propertyIndex, bool get, Tessel16::TsVariant& value) override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const override;
    void Init() override;

private:
    static const PoMetaData& MetaData();
    enum Property {
        Prop_Choice,
        Prop_Description,
        Prop_Quantity,
        Prop_UnitPrice,
        Prop_DiscountPercent,
        Prop_DeliveryDate,
        Prop_Taxable,
        Prop_Note,
        Prop_Number,
        Prop_Uom,
        Prop_Backordered
    };
    static std::uint32_t Bit(int property) { return 1u << property; }

    std::uint32_t m_set = 0;
    Tessel16::CSmartPtr<CLineChoice> m_choice;
    std::string m_description;
    std::int32_t m_quantity = 0;
    Tessel16::CDecimal m_unitPrice;
    Tessel16::CDecimal m_discountPercent;
    Tessel16::CDateTime m_deliveryDate;
    bool m_taxable = false;
    std::string m_note;
    std::int32_t m_number = 0;
    UnitOfMeasure m_uom = UnitOfMeasure_EA;
    bool m_backordered = false;
};

using CLineCol = CPoObjectCol<CLine>;

class CTotals : public Tessel16::CXmlGeneratedClass {
public:
    explicit CTotals(const char* elementName = "totals");

    std::int32_t GetLineCount() const { return m_lineCount; }
    void SetLineCount(std::int32_t value);
    const Tessel16::CDecimal& GetNet() const { return m_net; }
    void SetNet(const Tessel16::CDecimal& value);
    const Tessel16::CDecimal& GetTax() const { return m_tax; }
    void SetTax(const Tessel16::CDecimal& value);
    const Tessel16::CDecimal& GetGross() const { return m_gross; }
    void SetGross(const Tessel16::CDecimal& value);

    Tessel16::CXmlObjectBase* GetBase() override { return this; }
    std::string GetNamespace() const override { return kTargetNamespace; }
    std::string GetTargetNamespace() const override { return kTargetNamespace; }
    void InvokeProperty(int propertyIndex, bool get, Tessel16::TsVariant& value) override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const override;
    void Init() override;

private:
    static const PoMetaData& MetaData();
    enum Property { Prop_LineCount, Prop_Net, Prop_Tax, Prop_Gross };
    static std::uint32_t Bit(int property) { return 1u << property; }

    std::uint32_t m_set = 0;
    std::int32_t m_lineCount = 0;
    Tessel16::CDecimal m_net;
    Tessel16::CDecimal m_tax;
    Tessel16::CDecimal m_gross;
};

// The document element, <purchaseOrder>.
class CPurchaseOrder : public Tessel16::CXmlGeneratedClass {
public:
    CPurchaseOrder();

    const Tessel16::CDateTime& GetIssued() const { return m_issued; }
    void SetIssued(const Tessel16::CDateTime& value);
    OrderStatus GetStatus() const { return m_status; }
    void SetStatus(OrderStatus value);
    CParty* GetBuyer() const { return m_buyer.get(); }
    CParty* GetSeller() const { return m_seller.get(); }
    // Null until set or read.
    CAddress* GetShipTo() const { return m_shipTo.get(); }
    // Creates the optional shipping address when there is none yet.
    CAddress* GetOrCreateShipTo();
    void ClearShipTo() { m_shipTo = nullptr; }
    bool IsRequestedDeliveryValid() const { return (m_set & Bit(Prop_RequestedDelivery)) != 0; }
    const Tessel16::CDateTime& GetRequestedDelivery() const { return m_requestedDelivery; }
    void SetRequestedDelivery(const Tessel16::CDateTime& value);
    CLineCol* GetLine() const { return m_line.get(); }
    CTotals* GetTotals() const { return m_totals.get(); }
    bool IsCommentValid() const { return (m_set & Bit(Prop_Comment)) != 0; }
    const std::string& GetComment() const { return m_comment; }
    void SetComment(const std::string& value);
    long long GetId() const { return m_id; }
    void SetId(long long value);
    const std::string& GetCurrency() const { return m_currency; }
    void SetCurrency(const std::string& value);
    bool IsVersionValid() const { return (m_set & Bit(Prop_Version)) != 0; }
    std::int32_t GetVersion() const { return m_version; }
    void SetVersion(std::int32_t value);
    bool IsUrgentValid() const { return (m_set & Bit(Prop_Urgent)) != 0; }
    bool GetUrgent() const { return m_urgent; }
    void SetUrgent(bool value);

    Tessel16::CXmlObjectBase* GetBase() override { return this; }
    std::string GetNamespace() const override { return kTargetNamespace; }
    std::string GetTargetNamespace() const override { return kTargetNamespace; }
    void InvokeProperty(int propertyIndex, bool get, Tessel16::TsVariant& value) override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const override;
    void Init() override;

private:
    static const PoMetaData& MetaData();
    enum Property {
        Prop_Issued,
        Prop_Status,
        Prop_Buyer,
        Prop_Seller,
        Prop_ShipTo,
        Prop_RequestedDelivery,
        Prop_Line,
        Prop_Totals,
        Prop_Comment,
        Prop_Id,
        Prop_Currency,
        Prop_Version,
        Prop_Urgent
    };
    static std::uint32_t Bit(int property) { return 1u << property; }

    std::uint32_t m_set = 0;
    Tessel16::CDateTime m_issued;
    OrderStatus m_status = OrderStatus_draft;
    Tessel16::CSmartPtr<CParty> m_buyer;
    Tessel16::CSmartPtr<CParty> m_seller;
    Tessel16::CSmartPtr<CAddress> m_shipTo;
    Tessel16::CDateTime m_requestedDelivery;
    Tessel16::CSmartPtr<CLineCol> m_line;
    Tessel16::CSmartPtr<CTotals> m_totals;
    std::string m_comment;
    long long m_id = 0;
    std::string m_currency;
    std::int32_t m_version = 0;
    bool m_urgent = false;
};

template <class T>
Tessel16::CXmlElement* CPoObjectCol<T>::FromXml_Int(Tessel16::CXmlElement*,
                                                    Tessel16::CXmlElement* cursor,
                                                    const Tessel16::CSerializationContext& context,
                                                    bool) {
    const std::string name = GetElementName();
    const std::string namespaceUri = GetNamespace();
    while (cursor && DoesElementNameMatch(context, cursor, name.c_str(), namespaceUri.c_str())) {
        T* item = Add();  // owned by the list before it reads, so a throw cannot leak it
        CXmlObjectBase::FromXml_Int(item, cursor, cursor->GetFirstElement(), context);
        cursor = cursor->GetNextSiblingElement();
    }
    return cursor;
}

}  // namespace Po
