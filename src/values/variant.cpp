// variant.cpp: TsVariant. Numbers, strings, dates and binary data live in the slot itself;
// durations, decimals and big integers (too large for it) are owned on the heap; objects and
// collections are shared by reference count. Everything that depends on the tag is one
// switch here.
#include "tessel16/variant.h"

#include <new>
#include <type_traits>
#include <utility>

#include "conversion/conversion_messages.h"
#include "conversion/lexical_check.h"
#include "tessel16/conversions.h"
#include "tessel16/exception.h"

namespace Tessel16 {
namespace {

constexpr const char* kLabels[] = {
    nullptr,     "hexBinary", "base64Binary", "i1",      "i2",      "i4",     "i8",
    "ui1",       "ui2",       "ui4",          "ui8",     "r4",      "r8",     "duration",
    "yearMonth", "monthDay",  "year",         "month",   "day",     "date",   "datetime",
    "time",      "char",      "string",       "boolean", "decimal", "integer"};

bool IsDateKind(std::int32_t type) {
    return type == ItemType_yearMonth || type == ItemType_monthDay || type == ItemType_date ||
           type == ItemType_datetime || type == ItemType_time;
}

// Calls f with a null pointer of the class that holds values of a class kind (strings,
// dates, decimals...), so copying, moving and destroying name each kind's class in one
// place; other kinds are left to the caller.
template <typename F>
void WithValueClass(std::int32_t type, F&& f) {
    switch (type) {
        case ItemType_hexBinary:
        case ItemType_base64Binary:
            f(static_cast<CBinaryData*>(nullptr));
            break;
        case ItemType_duration:
            f(static_cast<CDateTimeSpan*>(nullptr));
            break;
        case ItemType_yearMonth:
        case ItemType_monthDay:
        case ItemType_date:
        case ItemType_datetime:
        case ItemType_time:
            f(static_cast<CDateTime*>(nullptr));
            break;
        case ItemType_string:
            f(static_cast<std::string*>(nullptr));
            break;
        case ItemType_decimal:
            f(static_cast<CDecimal*>(nullptr));
            break;
        case ItemType_integer:
            f(static_cast<CBigInteger*>(nullptr));
            break;
        default:
            break;
    }
}

template <class P>
using ClassOf = std::remove_pointer_t<P>;

}  // namespace

// A class kind is held in place when it fits the slot and moves without throwing (the
// variant's own move is noexcept).
template <class T>
constexpr bool kHeldInPlace = sizeof(T) <= 32 &&
                              alignof(T) <= 8 && std::is_nothrow_move_constructible_v<T>;

template <class T>
T* TsVariant::ValueIn(Slot& slot) {
    static_assert(sizeof(slot.room) == 32, "kHeldInPlace assumes a 32-byte slot");
    if constexpr (kHeldInPlace<T>)
        return std::launder(reinterpret_cast<T*>(slot.room));
    else
        return static_cast<T*>(slot.heap);
}

template <class T>
const T* TsVariant::ValueIn(const Slot& slot) {
    return ValueIn<T>(const_cast<Slot&>(slot));
}

TsVariant::TsVariant() { ZeroSlot(m_value); }

TsVariant::TsVariant(const TsVariant& other) {
    ZeroSlot(m_value);
    CopyFrom(other);
}

TsVariant& TsVariant::operator=(const TsVariant& other) {
    if (this != &other) {
        // Copy first: if the source is unusable this value stays as it was.
        TsVariant copy(other);
        Clear();
        MoveFrom(copy);
    }
    return *this;
}

TsVariant::TsVariant(TsVariant&& other) noexcept {
    ZeroSlot(m_value);
    MoveFrom(other);
}

TsVariant& TsVariant::operator=(TsVariant&& other) noexcept {
    if (this != &other) {
        Clear();
        MoveFrom(other);
    }
    return *this;
}

// Expects this variant empty.
void TsVariant::MoveFrom(TsVariant& other) noexcept {
    m_nil = other.m_nil;
    m_type = other.m_type;
    m_value = other.m_value;
    if (!other.m_nil) {
        // A value held in place is moved into this slot; heap pointers and counted
        // references simply change hands with the slot's bits.
        WithValueClass(m_type, [this, &other](auto* tag) {
            using T = ClassOf<decltype(tag)>;
            if constexpr (kHeldInPlace<T>) {
                T* source = ValueIn<T>(other.m_value);
                new (m_value.room) T(std::move(*source));
                source->~T();
            }
        });
    }
    other.m_nil = false;
    other.m_type = ItemType_none;
    ZeroSlot(other.m_value);
}

// Expects this variant empty.
void TsVariant::CopyFrom(const TsVariant& other) {
    if (other.m_type < ItemType_none || other.m_type > ItemType_collection)
        throw CTsException(detail::kMsgUnknownType);
    m_value = other.m_value;
    if (!other.m_nil) {
        // The slot now shares the source's bits: class kinds get their own copy (the tag is
        // set only once it exists, so a copy that throws leaves this variant empty) and
        // shared kinds their own reference.
        WithValueClass(other.m_type, [this, &other](auto* tag) {
            using T = ClassOf<decltype(tag)>;
            const T& source = *ValueIn<T>(other.m_value);
            if constexpr (kHeldInPlace<T>)
                new (m_value.room) T(source);
            else
                m_value.heap = new T(source);
        });
        if (other.m_type == ItemType_object && m_value.object) {
            m_value.object->AddRef();
        } else if (other.m_type == ItemType_collection && m_value.collection.object) {
            m_value.collection.object->AddRef();
        }
    }
    m_nil = other.m_nil;
    m_type = other.m_type;
}

void TsVariant::DestroyValue() noexcept {
    if (m_nil) return;
    WithValueClass(m_type, [this](auto* tag) {
        using T = ClassOf<decltype(tag)>;
        if constexpr (kHeldInPlace<T>)
            ValueIn<T>(m_value)->~T();
        else
            delete ValueIn<T>(m_value);
    });
}

// Clear resets nil even on an empty variant, so that a setter after SetNil on an empty
// variant yields a plain value and SetInvalid always leaves IsValid() false.
void TsVariant::ClearValue() {
    if (!m_nil && (m_type == ItemType_object || m_type == ItemType_collection)) {
        // The variant is emptied before the release: an object whose destruction reaches
        // back into this variant then finds it already empty.
        CXmlObjectBase* held =
            m_type == ItemType_object ? m_value.object : m_value.collection.object;
        m_type = ItemType_none;
        ZeroSlot(m_value);
        if (held) held->Release();
        return;
    }
    DestroyValue();
    m_nil = false;
    m_type = ItemType_none;
    ZeroSlot(m_value);
}

void TsVariant::SetNil() {
    const std::int32_t type = m_type;
    Clear();
    m_type = type;
    m_nil = true;
}

void TsVariant::SetInvalid() { Clear(); }

template <class T>
void TsVariant::SetHeld(std::int32_t type, const T& value) {
    // Setting the value this variant already holds (through ToText's reference) is a no-op;
    // anything else is cleared first, as every setter does.
    if (m_type == type && !m_nil && ValueIn<T>(m_value) == &value) return;
    Clear();
    if constexpr (kHeldInPlace<T>)
        new (m_value.room) T(value);
    else
        m_value.heap = new T(value);
    m_type = type;
}

template <class T>
void TsVariant::AdoptHeld(std::int32_t type, T&& value) {
    using V = std::remove_reference_t<T>;
    Clear();
    if constexpr (kHeldInPlace<V>)
        new (m_value.room) V(std::move(value));
    else
        m_value.heap = new V(std::move(value));
    m_type = type;
}

template <class T>
T TsVariant::GetHeld(std::int32_t type) const {
    if (m_type != type || m_nil) return T();
    return *ValueIn<T>(m_value);
}

template <class T>
T TsVariant::TakeHeld(std::int32_t type) {
    if (!m_disposable || m_type != type || m_nil) return GetHeld<T>(type);
    T taken(std::move(*ValueIn<T>(m_value)));
    DestroyValue();
    m_type = ItemType_none;
    ZeroSlot(m_value);
    return taken;
}

void TsVariant::SetHexBinary(const CBinaryData& value) { SetHeld(ItemType_hexBinary, value); }
void TsVariant::SetBase64Binary(const CBinaryData& value) { SetHeld(ItemType_base64Binary, value); }
void TsVariant::SetDuration(const CDateTimeSpan& value) { SetHeld(ItemType_duration, value); }
void TsVariant::SetYearMonth(const CDateTime& value) { SetHeld(ItemType_yearMonth, value); }
void TsVariant::SetMonthDay(const CDateTime& value) { SetHeld(ItemType_monthDay, value); }
void TsVariant::SetDate(const CDateTime& value) { SetHeld(ItemType_date, value); }
void TsVariant::SetDateTime(const CDateTime& value) { SetHeld(ItemType_datetime, value); }
void TsVariant::SetTime(const CDateTime& value) { SetHeld(ItemType_time, value); }
void TsVariant::SetString(const std::string& value) { SetHeld(ItemType_string, value); }
void TsVariant::SetDecimal(const CDecimal& value) { SetHeld(ItemType_decimal, value); }
void TsVariant::SetInteger(const CBigInteger& value) { SetHeld(ItemType_integer, value); }

#define TESSEL16_INLINE_KIND(Name, Type, Tag, Field)                 \
    void TsVariant::Set##Name(Type value) {                          \
        Clear();                                                     \
        m_type = Tag;                                                \
        m_value.Field = value;                                       \
    }                                                                \
    Type TsVariant::Get##Name() const {                              \
        return m_type == Tag ? m_value.Field : static_cast<Type>(0); \
    }

TESSEL16_INLINE_KIND(I1, char, ItemType_i1, i1)
TESSEL16_INLINE_KIND(I2, short, ItemType_i2, i2)
TESSEL16_INLINE_KIND(I4, std::int32_t, ItemType_i4, i4)
TESSEL16_INLINE_KIND(I8, long long, ItemType_i8, i8)
TESSEL16_INLINE_KIND(UI1, unsigned char, ItemType_ui1, ui1)
TESSEL16_INLINE_KIND(UI2, unsigned short, ItemType_ui2, ui2)
TESSEL16_INLINE_KIND(UI4, std::uint32_t, ItemType_ui4, ui4)
TESSEL16_INLINE_KIND(UI8, unsigned long long, ItemType_ui8, ui8)
TESSEL16_INLINE_KIND(R4, float, ItemType_r4, r4)
TESSEL16_INLINE_KIND(R8, double, ItemType_r8, r8)
TESSEL16_INLINE_KIND(Year, unsigned short, ItemType_year, year)
TESSEL16_INLINE_KIND(Month, unsigned char, ItemType_month, month)
TESSEL16_INLINE_KIND(Day, unsigned char, ItemType_day, day)
TESSEL16_INLINE_KIND(Char, char, ItemType_char, ch)
TESSEL16_INLINE_KIND(Boolean, bool, ItemType_boolean, boolean)
#undef TESSEL16_INLINE_KIND

void TsVariant::SetXmlObject(CXmlObjectBase* object) {
    // Take the new reference before dropping the old one, so re-setting the object that
    // this variant alone keeps alive does not destroy it.
    if (object) object->AddRef();
    Clear();
    m_type = ItemType_object;
    m_value.object = object;
}

void TsVariant::StoreCollection(CXmlCollectionBase* collection, CXmlObjectBase* asObject) {
    if (asObject) asObject->AddRef();
    Clear();
    m_type = ItemType_collection;
    m_value.collection = {collection, asObject};
}

CSmartPtr<CXmlObjectBase> TsVariant::GetXmlObject() const {
    return CSmartPtr<CXmlObjectBase>(m_type == ItemType_object ? m_value.object : nullptr);
}

CXmlCollectionBase* TsVariant::HeldCollection() const {
    return m_type == ItemType_collection ? m_value.collection.collection : nullptr;
}

CBinaryData TsVariant::GetHexBinary() const { return GetHeld<CBinaryData>(ItemType_hexBinary); }
CBinaryData TsVariant::GetBase64Binary() const {
    return GetHeld<CBinaryData>(ItemType_base64Binary);
}
CDateTimeSpan TsVariant::GetDuration() const { return GetHeld<CDateTimeSpan>(ItemType_duration); }
CDateTime TsVariant::GetYearMonth() const { return GetHeld<CDateTime>(ItemType_yearMonth); }
CDateTime TsVariant::GetMonthDay() const { return GetHeld<CDateTime>(ItemType_monthDay); }
CDateTime TsVariant::GetDate() const { return GetHeld<CDateTime>(ItemType_date); }
CDateTime TsVariant::GetDateTime() const { return GetHeld<CDateTime>(ItemType_datetime); }
CDateTime TsVariant::GetTime() const { return GetHeld<CDateTime>(ItemType_time); }
std::string TsVariant::GetString() const { return GetHeld<std::string>(ItemType_string); }
CDecimal TsVariant::GetDecimal() const { return GetHeld<CDecimal>(ItemType_decimal); }
CBigInteger TsVariant::GetInteger() const { return GetHeld<CBigInteger>(ItemType_integer); }

CBinaryData TsVariant::TakeHexBinary() { return TakeHeld<CBinaryData>(ItemType_hexBinary); }
CBinaryData TsVariant::TakeBase64Binary() { return TakeHeld<CBinaryData>(ItemType_base64Binary); }
CDateTimeSpan TsVariant::TakeDuration() { return TakeHeld<CDateTimeSpan>(ItemType_duration); }
CDateTime TsVariant::TakeYearMonth() { return TakeHeld<CDateTime>(ItemType_yearMonth); }
CDateTime TsVariant::TakeMonthDay() { return TakeHeld<CDateTime>(ItemType_monthDay); }
CDateTime TsVariant::TakeDate() { return TakeHeld<CDateTime>(ItemType_date); }
CDateTime TsVariant::TakeDateTime() { return TakeHeld<CDateTime>(ItemType_datetime); }
CDateTime TsVariant::TakeTime() { return TakeHeld<CDateTime>(ItemType_time); }
std::string TsVariant::TakeString() { return TakeHeld<std::string>(ItemType_string); }
CDecimal TsVariant::TakeDecimal() { return TakeHeld<CDecimal>(ItemType_decimal); }
CBigInteger TsVariant::TakeInteger() { return TakeHeld<CBigInteger>(ItemType_integer); }

std::string TsVariant::GetType() const {
    if (m_type <= ItemType_none || m_type > ItemType_integer)
        throw CTsException(FormatString(detail::kMsgInvalidType, m_type));
    return kLabels[m_type];
}

const std::string& TsVariant::ToText(const char* format, std::string& scratch) const {
    if (m_type == ItemType_string && !m_nil) return *ValueIn<std::string>(m_value);
    scratch = ToString(format);
    return scratch;
}

std::string TsVariant::ToString(const char* format) const {
    // A nil value keeps its kind but holds nothing; it converts as that kind's empty value.
    const auto held = [this](auto* tag) {
        using T = ClassOf<decltype(tag)>;
        static const T kEmpty{};
        return m_nil ? &kEmpty : ValueIn<T>(m_value);
    };
    // Only floats and decimals take a format; the others need not build its string.
    const auto fmt = [format] { return std::string(format ? format : ""); };
    switch (m_type) {
        case ItemType_hexBinary:
            return CConversions::hexBinaryToString(*held(static_cast<CBinaryData*>(nullptr)));
        case ItemType_base64Binary:
            return CConversions::base64BinaryToString(*held(static_cast<CBinaryData*>(nullptr)));
        case ItemType_i1:
            return CConversions::i1ToString(GetI1());
        case ItemType_i2:
            return CConversions::i2ToString(GetI2());
        case ItemType_i4:
            return CConversions::i4ToString(GetI4());
        case ItemType_i8:
            return CConversions::i8ToString(GetI8());
        case ItemType_ui1:
            return CConversions::ui1ToString(GetUI1());
        case ItemType_ui2:
            return CConversions::ui2ToString(GetUI2());
        case ItemType_ui4:
            return CConversions::ui4ToString(GetUI4());
        case ItemType_ui8:
            return CConversions::ui8ToString(GetUI8());
        case ItemType_r4:
            return CConversions::r4ToString(GetR4(), fmt());
        case ItemType_r8:
            return CConversions::r8ToString(GetR8(), fmt());
        case ItemType_duration:
            return CConversions::durationToString(*held(static_cast<CDateTimeSpan*>(nullptr)));
        case ItemType_year:
            return CConversions::yearToString(GetYear());
        case ItemType_month:
            return CConversions::monthToString(GetMonth());
        case ItemType_day:
            return CConversions::dayToString(GetDay());
        case ItemType_char:
            return CConversions::charToString(GetChar());
        case ItemType_string:
            return *held(static_cast<std::string*>(nullptr));
        case ItemType_boolean:
            return CConversions::booleanToString(GetBoolean());
        case ItemType_decimal:
            return CConversions::decimalToString(*held(static_cast<CDecimal*>(nullptr)), fmt());
        case ItemType_integer:
            return CConversions::integerToString(*held(static_cast<CBigInteger*>(nullptr)));
        default:
            break;
    }
    if (IsDateKind(m_type))
        return CConversions::datetimeToString(*held(static_cast<CDateTime*>(nullptr)));
    throw CTsException(FormatString(detail::kMsgInvalidTypeToString, m_type));
}

void TsVariant::FromString(const std::string& text, ItemType type,
                           CWhitespaceUtils::WhitespaceRule rule, bool exact) {
    if (!exact) return FromString(text, type, rule);
    const std::string t = CWhitespaceUtils::ApplyRule(rule, text);
    detail::CheckExactLexicalForm(type, t);
    FromString(t, type, CWhitespaceUtils::WhitespaceRule_None);
}

void TsVariant::FromString(const std::string& text, ItemType type,
                           CWhitespaceUtils::WhitespaceRule rule) {
    using C = CConversions;
    switch (type) {
        case ItemType_hexBinary:
            return AdoptHeld(ItemType_hexBinary, C::hexBinaryFromString(text, rule));
        case ItemType_base64Binary:
            return AdoptHeld(ItemType_base64Binary, C::base64BinaryFromString(text, rule));
        case ItemType_i1:
            return SetI1(C::i1FromString(text, rule));
        case ItemType_i2:
            return SetI2(C::i2FromString(text, rule));
        case ItemType_i4:
            return SetI4(C::i4FromString(text, rule));
        case ItemType_i8:
            return SetI8(C::i8FromString(text, rule));
        case ItemType_ui1:
            return SetUI1(C::ui1FromString(text, rule));
        case ItemType_ui2:
            return SetUI2(C::ui2FromString(text, rule));
        case ItemType_ui4:
            return SetUI4(C::ui4FromString(text, rule));
        case ItemType_ui8:
            return SetUI8(C::ui8FromString(text, rule));
        case ItemType_r4:
            return SetR4(C::r4FromString(text, rule));
        case ItemType_r8:
            return SetR8(C::r8FromString(text, rule));
        case ItemType_duration:
            return AdoptHeld(ItemType_duration, C::durationFromString(text, rule));
        case ItemType_yearMonth:
            return AdoptHeld(ItemType_yearMonth, C::yearMonthFromString(text, rule));
        case ItemType_monthDay:
            return AdoptHeld(ItemType_monthDay, C::monthDayFromString(text, rule));
        case ItemType_year:
            return SetYear(C::yearFromString(text, rule));
        case ItemType_month:
            return SetMonth(C::monthFromString(text, rule));
        case ItemType_day:
            return SetDay(C::dayFromString(text, rule));
        case ItemType_date:
            return AdoptHeld(ItemType_date, C::dateFromString(text, rule));
        case ItemType_datetime:
            return AdoptHeld(ItemType_datetime, C::datetimeFromString(text, rule));
        case ItemType_time:
            return AdoptHeld(ItemType_time, C::timeFromString(text, rule));
        case ItemType_char:
            return SetChar(C::charFromString(text, rule));
        case ItemType_string:
            return AdoptHeld(ItemType_string, C::stringFromString(text, rule));
        case ItemType_boolean:
            return SetBoolean(C::booleanFromString(text, rule));
        case ItemType_decimal:
            return AdoptHeld(ItemType_decimal, C::decimalFromString(text, rule));
        case ItemType_integer:
            return AdoptHeld(ItemType_integer, C::integerFromString(text, rule));
        default:
            break;
    }
    throw CTsException(FormatString(detail::kMsgInvalidTypeToString, static_cast<int>(type)));
}

}  // namespace Tessel16
