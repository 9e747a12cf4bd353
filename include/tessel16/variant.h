// variant.h: TsVariant, the tagged value in which one member travels between a generated
// accessor and its metadata record: any XSD value kind, a generated object or a collection
// (each holding one reference), nil (which keeps the kind), or nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "tessel16/binary_data.h"
#include "tessel16/date_time.h"
#include "tessel16/decimal.h"
#include "tessel16/export.h"
#include "tessel16/fwd.h"
#include "tessel16/smart_ptr.h"
#include "tessel16/types.h"
#include "tessel16/whitespace_utils.h"
#include "tessel16/xml_object_base.h"

namespace Tessel16 {

// Copies are deep: heap values are duplicated, objects and collections gain one reference.
// A getter asked for another kind than the one stored (or for a nil value) returns that
// kind's empty value (0, false, "", an empty CDateTime...) rather than reinterpreting bits.
class TESSEL16_API TsVariant {
public:
    // Empty: tag 0, not nil.
    TsVariant();
    // Throws CTsException "Unknown Type" when the source carries a tag outside 0..28.
    TsVariant(const TsVariant& other);
    TsVariant& operator=(const TsVariant& other);
    // Takes the other's value; the other is left empty.
    TsVariant(TsVariant&& other) noexcept;
    TsVariant& operator=(TsVariant&& other) noexcept;
    ~TsVariant() {
        if (m_type != ItemType_none) ClearValue();
    }

    void SetHexBinary(const CBinaryData& value);
    void SetBase64Binary(const CBinaryData& value);
    void SetI1(char value);
    void SetI2(short value);
    void SetI4(std::int32_t value);
    void SetI8(long long value);
    void SetUI1(unsigned char value);
    void SetUI2(unsigned short value);
    void SetUI4(std::uint32_t value);
    void SetUI8(unsigned long long value);
    void SetR4(float value);
    void SetR8(double value);
    void SetDuration(const CDateTimeSpan& value);
    void SetYearMonth(const CDateTime& value);
    void SetMonthDay(const CDateTime& value);
    void SetYear(unsigned short value);
    void SetMonth(unsigned char value);
    void SetDay(unsigned char value);
    void SetDate(const CDateTime& value);
    void SetDateTime(const CDateTime& value);
    void SetTime(const CDateTime& value);
    void SetChar(char value);
    void SetString(const std::string& value);
    void SetBoolean(bool value);
    void SetDecimal(const CDecimal& value);
    void SetInteger(const CBigInteger& value);
    // Holds one reference of the object (none for null).
    void SetXmlObject(CXmlObjectBase* object);
    // Holds one reference of the collection (none for null). A template only so that this
    // header does not need the collection classes: the call site, which has the pointer,
    // converts it to its object base.
    template <class Collection = CXmlCollectionBase>
    void SetXmlCollection(Collection* collection) {
        StoreCollection(collection,
                        collection ? static_cast<CXmlObjectBase*>(collection) : nullptr);
    }
    void SetXmlCollection(std::nullptr_t) { StoreCollection(nullptr, nullptr); }

    CBinaryData GetHexBinary() const;
    CBinaryData GetBase64Binary() const;
    char GetI1() const;
    short GetI2() const;
    std::int32_t GetI4() const;
    long long GetI8() const;
    unsigned char GetUI1() const;
    unsigned short GetUI2() const;
    std::uint32_t GetUI4() const;
    unsigned long long GetUI8() const;
    float GetR4() const;
    double GetR8() const;
    CDateTimeSpan GetDuration() const;
    CDateTime GetYearMonth() const;
    CDateTime GetMonthDay() const;
    unsigned short GetYear() const;
    unsigned char GetMonth() const;
    unsigned char GetDay() const;
    CDateTime GetDate() const;
    CDateTime GetDateTime() const;
    CDateTime GetTime() const;
    char GetChar() const;
    std::string GetString() const;
    bool GetBoolean() const;
    CDecimal GetDecimal() const;
    CBigInteger GetInteger() const;
    // As the matching Get, but a variant marked disposable (SetDisposable) gives its value up
    // instead of copying it and is left empty; an unmarked one is left as it was.
    CBinaryData TakeHexBinary();
    CBinaryData TakeBase64Binary();
    CDateTimeSpan TakeDuration();
    CDateTime TakeYearMonth();
    CDateTime TakeMonthDay();
    CDateTime TakeDate();
    CDateTime TakeDateTime();
    CDateTime TakeTime();
    std::string TakeString();
    CDecimal TakeDecimal();
    CBigInteger TakeInteger();
    // Marks a holder that is thrown away once an accessor has taken its value, so the Take
    // getters may move the value out. The mark belongs to this variant, not to its value:
    // copies and moves do not carry it.
    void SetDisposable() { m_disposable = true; }

    // A new reference to the held object; null when there is none.
    CSmartPtr<CXmlObjectBase> GetXmlObject() const;
    // A new reference to the held collection; null when there is none.
    template <class Collection = CXmlCollectionBase>
    CSmartPtr<Collection> GetXmlCollection() const {
        return CSmartPtr<Collection>(static_cast<Collection*>(HeldCollection()));
    }

    // The held object or collection without a reference of its own (null when none): for
    // a caller that keeps this variant, and so the object, alive while it uses the pointer.
    CXmlObjectBase* PeekXmlObject() const {
        return m_type == ItemType_object ? m_value.object : nullptr;
    }
    CXmlCollectionBase* PeekXmlCollection() const { return HeldCollection(); }

    // True when a kind is set or the value is nil.
    bool IsValid() const { return m_type != ItemType_none || m_nil; }
    bool IsNil() const { return m_nil; }
    // Drops the value, keeps the kind, and marks the variant nil.
    void SetNil();
    // Drops the value and the kind.
    void SetInvalid();
    // Drops the value (releasing a held object or collection), the kind and nil. Every
    // setter starts here, mostly on an empty variant, hence the inline test.
    void Clear() {
        if (m_type == ItemType_none)
            m_nil = false;
        else
            ClearValue();
    }

    ItemType GetTypeAsEnum() const { return static_cast<ItemType>(m_type); }
    // The kind's label ("i4", "datetime"...). Throws CTsException "Invalid Type %d" for an
    // empty variant, an object or a collection.
    std::string GetType() const;

    // The canonical text of the value (CConversions); a non-null format is used by r4, r8 and
    // decimal. Throws CTsException "Invalid Type %d to convert to string" for an empty
    // variant, an object or a collection.
    std::string ToString(const char* format = nullptr) const;
    // The same text without a copy where one can be avoided: a held string is returned
    // itself, any other value is converted into `scratch`, which is returned.
    const std::string& ToText(const char* format, std::string& scratch) const;
    // Parses text as the given kind under the whitespace rule and stores it with that tag;
    // conversion failures are thrown unchanged. Throws CTsException
    // "Invalid Type %d to convert to string" for a kind outside 1..26.
    void FromString(const std::string& text, ItemType type, CWhitespaceUtils::WhitespaceRule rule);
    // As above; with `exact` set, text outside the kind's exact XSD lexical form (a
    // capitalised boolean, an exponent in a decimal, another date kind's form...) is refused
    // with the kind's conversion message before it is converted.
    void FromString(const std::string& text, ItemType type, CWhitespaceUtils::WhitespaceRule rule,
                    bool exact);

private:
    // Strings, dates and binary data fit the slot and are held in place, so handing a
    // member to a record costs no allocation of its own; larger kinds live on the heap.
    static constexpr std::size_t kSlotRoom = 32;

    struct CollectionSlot {
        CXmlCollectionBase* collection;
        // The same object seen as its base, through which the reference is counted.
        CXmlObjectBase* object;
    };
    union Slot {
        char i1;
        short i2;
        std::int32_t i4;
        long long i8;
        unsigned char ui1;
        unsigned short ui2;
        std::uint32_t ui4;
        unsigned long long ui8;
        float r4;
        double r8;
        unsigned short year;
        unsigned char month;
        unsigned char day;
        char ch;
        bool boolean;
        void* heap;  // a value kind too large for the slot
        CXmlObjectBase* object;
        CollectionSlot collection;
        alignas(8) unsigned char room[kSlotRoom];  // a value kind held in place
    };

    void StoreCollection(CXmlCollectionBase* collection, CXmlObjectBase* asObject);
    CXmlCollectionBase* HeldCollection() const;
    void CopyFrom(const TsVariant& other);
    void MoveFrom(TsVariant& other) noexcept;
    template <class T>
    void SetHeld(std::int32_t type, const T& value);
    // Takes over a freshly converted value instead of copying it.
    template <class T>
    void AdoptHeld(std::int32_t type, T&& value);
    template <class T>
    T GetHeld(std::int32_t type) const;
    template <class T>
    T TakeHeld(std::int32_t type);
    // The value of kind T that the slot holds (in place or on the heap); only valid while
    // the variant holds a value of that kind and is not nil.
    template <class T>
    static T* ValueIn(Slot& slot);
    template <class T>
    static const T* ValueIn(const Slot& slot);
    // Destroys or releases what the variant holds; the tag is left to the caller.
    void DestroyValue() noexcept;
    // Clear for a variant that has a kind.
    void ClearValue();

    static void ZeroSlot(Slot& slot) { slot.collection = {nullptr, nullptr}; }

    bool m_nil = false;
    bool m_disposable = false;
    std::int32_t m_type = ItemType_none;
    // Holds a value exactly when the tag is a kind and the variant is not nil.
    Slot m_value;
};

}  // namespace Tessel16
