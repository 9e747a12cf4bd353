// po_binding.h: a hand-written binding, in the form a schema compiler emits, of the purchase
// order schema (urn:example:po) the benchmarks use: nested sequences, a choice inlined as a
// pseudo element, repeated members, enumerations, attributes, and every value kind it needs.
#pragma once

#include "support/engine_bindings.h"

namespace Po {

extern const char* const kPoNs;  // "urn:example:po"

const char* OrderStatusToString(int value);
int OrderStatusFromString(const char* text);
const char* UnitToString(int value);
int UnitFromString(const char* text);

class Address : public EngineTest::TestObject {
public:
    enum { Name, Streets, City, Region, PostalCode, Country, Residential, MemberCount };
    explicit Address(const char* elementName = "address");
    void Init() override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const override;
    EngineTest::StringCol* GetStreets();
};

class Party : public EngineTest::TestObject {
public:
    enum { Name, TaxId, Email, AddressMember, Id, MemberCount };
    explicit Party(const char* elementName = "party");
    void Init() override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const override;
    Address* GetAddress();
};

// The anonymous choice of a line (sku or serviceHours), inlined into the line element.
class LineChoice : public EngineTest::TestObject {
public:
    enum { Sku, ServiceHours, MemberCount };
    explicit LineChoice(const char* elementName = "LineChoice");
    void Init() override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const override;
};

class Line : public EngineTest::TestObject {
public:
    enum {
        Choice,
        Description,
        Quantity,
        UnitPrice,
        DiscountPercent,
        DeliveryDate,
        Taxable,
        Note,
        Number,
        Uom,
        Backordered,
        MemberCount
    };
    explicit Line(const char* elementName = "line");
    void Init() override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const override;
    LineChoice* GetChoice();
};

class Totals : public EngineTest::TestObject {
public:
    enum { LineCount, Net, Tax, Gross, MemberCount };
    explicit Totals(const char* elementName = "totals");
    void Init() override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const override;
};

using LineCol = EngineTest::ObjectCol<Line>;

class PurchaseOrder : public EngineTest::TestObject {
public:
    enum {
        Issued,
        Status,
        Buyer,
        Seller,
        ShipTo,
        RequestedDelivery,
        Lines,
        TotalsMember,
        Comment,
        Id,
        Currency,
        Version,
        Urgent,
        MemberCount
    };
    PurchaseOrder();
    void Init() override;
    Tessel16Data::CParentElementInfo* GetClassInfo() const override;
    Tessel16Data::CElementInfo** GetClassElementInfo() const override;
    Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const override;
    Party* GetBuyer();
    Party* GetSeller();
    LineCol* GetLines();
    Totals* GetTotals();
};

}  // namespace Po
