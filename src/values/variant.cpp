// variant.cpp: TsVariant. Small kinds live inline in the slot; binary data, durations,
// dates, strings, decimals and big integers are owned on the heap; objects and collections
// are shared by reference count. Everything that depends on the tag is one switch here.
#include "tessel16/variant.h"

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

// Hands the heap-owned value of a heap kind to f as its real type, so copying and
// releasing name each kind's class in one place; other kinds are left to the caller.
template <typename F>
void WithHeapValue(std::int32_t type, const void* heap, F&& f) {
    switch (type) {
        case ItemType_hexBinary:
        case ItemType_base64Binary:
            f(static_cast<const CBinaryData*>(heap));
            break;
        case ItemType_duration:
            f(static_cast<const CDateTimeSpan*>(heap));
            break;
        case ItemType_yearMonth:
        case ItemType_monthDay:
        case ItemType_date:
        case ItemType_datetime:
        case ItemType_time:
            f(static_cast<const CDateTime*>(heap));
            break;
        case ItemType_string:
            f(static_cast<const std::string*>(heap));
            break;
        case ItemType_decimal:
            f(static_cast<const CDecimal*>(heap));
            break;
        case ItemType_integer:
            f(static_cast<const CBigInteger*>(heap));
            break;
        default:
            break;
    }
}

}  // namespace

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

TsVariant::~TsVariant() { Clear(); }

void TsVariant::MoveFrom(TsVariant& other) noexcept {
    m_nil = other.m_nil;
    m_type = other.m_type;
    m_value = other.m_value;
    other.m_nil = false;
    other.m_type = ItemType_none;
    ZeroSlot(other.m_value);
}

void TsVariant::CopyFrom(const TsVariant& other) {
    if (other.m_type < ItemType_none || other.m_type > ItemType_collection)
        throw CTsException(detail::kMsgUnknownType);
    m_nil = other.m_nil;
    m_type = other.m_type;
    m_value = other.m_value;
    // The slot now shares the source's pointers: give heap kinds their own copy and
    // shared kinds their own reference.
    WithHeapValue(m_type, other.m_value.heap, [this](const auto* p) {
        if (p) m_value.heap = new std::remove_cv_t<std::remove_pointer_t<decltype(p)>>(*p);
    });
    if (m_type == ItemType_object && m_value.object) {
        m_value.object->AddRef();
    } else if (m_type == ItemType_collection && m_value.collection.object) {
        m_value.collection.object->AddRef();
    }
}

void TsVariant::ReleaseSlot(std::int32_t type, const Slot& value) {
    WithHeapValue(type, value.heap, [](const auto* p) { delete p; });
    if (type == ItemType_object && value.object) {
        value.object->Release();
    } else if (type == ItemType_collection && value.collection.object) {
        value.collection.object->Release();
    }
}

void TsVariant::Clear() {
    // nil is reset even on an empty variant, so that a setter after SetNil on an empty
    // variant yields a plain value and SetInvalid always leaves IsValid() false.
    m_nil = false;
    if (m_type == ItemType_none) return;
    // The variant is emptied before the release: an object whose destruction reaches back
    // into this variant then finds it already empty.
    const std::int32_t type = m_type;
    const Slot value = m_value;
    m_type = ItemType_none;
    ZeroSlot(m_value);
    ReleaseSlot(type, value);
}

void TsVariant::SetNil() {
    const std::int32_t type = m_type;
    Clear();
    m_type = type;
    m_nil = true;
}

void TsVariant::SetInvalid() { Clear(); }

template <class T>
void TsVariant::SetHeap(std::int32_t type, const T& value) {
    T* copy = new T(value);
    Clear();
    m_type = type;
    m_value.heap = copy;
}

template <class T>
void TsVariant::AdoptHeap(std::int32_t type, T&& value) {
    T* moved = new T(std::move(value));
    Clear();
    m_type = type;
    m_value.heap = moved;
}

template <class T>
T TsVariant::GetHeap(std::int32_t type) const {
    if (m_type != type || m_value.heap == nullptr) return T();
    return *static_cast<const T*>(m_value.heap);
}

void TsVariant::SetHexBinary(const CBinaryData& value) { SetHeap(ItemType_hexBinary, value); }
void TsVariant::SetBase64Binary(const CBinaryData& value) { SetHeap(ItemType_base64Binary, value); }
void TsVariant::SetDuration(const CDateTimeSpan& value) { SetHeap(ItemType_duration, value); }
void TsVariant::SetYearMonth(const CDateTime& value) { SetHeap(ItemType_yearMonth, value); }
void TsVariant::SetMonthDay(const CDateTime& value) { SetHeap(ItemType_monthDay, value); }
void TsVariant::SetDate(const CDateTime& value) { SetHeap(ItemType_date, value); }
void TsVariant::SetDateTime(const CDateTime& value) { SetHeap(ItemType_datetime, value); }
void TsVariant::SetTime(const CDateTime& value) { SetHeap(ItemType_time, value); }
void TsVariant::SetString(const std::string& value) { SetHeap(ItemType_string, value); }
void TsVariant::SetDecimal(const CDecimal& value) { SetHeap(ItemType_decimal, value); }
void TsVariant::SetInteger(const CBigInteger& value) { SetHeap(ItemType_integer, value); }

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

CBinaryData TsVariant::GetHexBinary() const { return GetHeap<CBinaryData>(ItemType_hexBinary); }
CBinaryData TsVariant::GetBase64Binary() const {
    return GetHeap<CBinaryData>(ItemType_base64Binary);
}
CDateTimeSpan TsVariant::GetDuration() const { return GetHeap<CDateTimeSpan>(ItemType_duration); }
CDateTime TsVariant::GetYearMonth() const { return GetHeap<CDateTime>(ItemType_yearMonth); }
CDateTime TsVariant::GetMonthDay() const { return GetHeap<CDateTime>(ItemType_monthDay); }
CDateTime TsVariant::GetDate() const { return GetHeap<CDateTime>(ItemType_date); }
CDateTime TsVariant::GetDateTime() const { return GetHeap<CDateTime>(ItemType_datetime); }
CDateTime TsVariant::GetTime() const { return GetHeap<CDateTime>(ItemType_time); }
std::string TsVariant::GetString() const { return GetHeap<std::string>(ItemType_string); }
CDecimal TsVariant::GetDecimal() const { return GetHeap<CDecimal>(ItemType_decimal); }
CBigInteger TsVariant::GetInteger() const { return GetHeap<CBigInteger>(ItemType_integer); }

std::string TsVariant::GetType() const {
    if (m_type <= ItemType_none || m_type > ItemType_integer)
        throw CTsException(FormatString(detail::kMsgInvalidType, m_type));
    return kLabels[m_type];
}

namespace {
// The value a heap slot holds, read in place; a null slot reads as the default value, as
// the copying getters give it.
template <class T>
const T& HeldOrDefault(const void* heap) {
    static const T kDefault{};
    return heap ? *static_cast<const T*>(heap) : kDefault;
}
}  // namespace

std::string TsVariant::ToString(const char* format) const {
    const std::string fmt = format ? format : "";
    switch (m_type) {
        case ItemType_hexBinary:
            return CConversions::hexBinaryToString(HeldOrDefault<CBinaryData>(m_value.heap));
        case ItemType_base64Binary:
            return CConversions::base64BinaryToString(HeldOrDefault<CBinaryData>(m_value.heap));
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
            return CConversions::r4ToString(GetR4(), fmt);
        case ItemType_r8:
            return CConversions::r8ToString(GetR8(), fmt);
        case ItemType_duration:
            return CConversions::durationToString(HeldOrDefault<CDateTimeSpan>(m_value.heap));
        case ItemType_year:
            return CConversions::yearToString(GetYear());
        case ItemType_month:
            return CConversions::monthToString(GetMonth());
        case ItemType_day:
            return CConversions::dayToString(GetDay());
        case ItemType_char:
            return CConversions::charToString(GetChar());
        case ItemType_string:
            return HeldOrDefault<std::string>(m_value.heap);
        case ItemType_boolean:
            return CConversions::booleanToString(GetBoolean());
        case ItemType_decimal:
            return CConversions::decimalToString(HeldOrDefault<CDecimal>(m_value.heap), fmt);
        case ItemType_integer:
            return CConversions::integerToString(HeldOrDefault<CBigInteger>(m_value.heap));
        default:
            break;
    }
    if (IsDateKind(m_type)) return CConversions::datetimeToString(HeldOrDefault<CDateTime>(m_value.heap));
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
            return AdoptHeap(ItemType_hexBinary, C::hexBinaryFromString(text, rule));
        case ItemType_base64Binary:
            return AdoptHeap(ItemType_base64Binary, C::base64BinaryFromString(text, rule));
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
            return AdoptHeap(ItemType_duration, C::durationFromString(text, rule));
        case ItemType_yearMonth:
            return AdoptHeap(ItemType_yearMonth, C::yearMonthFromString(text, rule));
        case ItemType_monthDay:
            return AdoptHeap(ItemType_monthDay, C::monthDayFromString(text, rule));
        case ItemType_year:
            return SetYear(C::yearFromString(text, rule));
        case ItemType_month:
            return SetMonth(C::monthFromString(text, rule));
        case ItemType_day:
            return SetDay(C::dayFromString(text, rule));
        case ItemType_date:
            return AdoptHeap(ItemType_date, C::dateFromString(text, rule));
        case ItemType_datetime:
            return AdoptHeap(ItemType_datetime, C::datetimeFromString(text, rule));
        case ItemType_time:
            return AdoptHeap(ItemType_time, C::timeFromString(text, rule));
        case ItemType_char:
            return SetChar(C::charFromString(text, rule));
        case ItemType_string:
            return AdoptHeap(ItemType_string, C::stringFromString(text, rule));
        case ItemType_boolean:
            return SetBoolean(C::booleanFromString(text, rule));
        case ItemType_decimal:
            return AdoptHeap(ItemType_decimal, C::decimalFromString(text, rule));
        case ItemType_integer:
            return AdoptHeap(ItemType_integer, C::integerFromString(text, rule));
        default:
            break;
    }
    throw CTsException(FormatString(detail::kMsgInvalidTypeToString, static_cast<int>(type)));
}

}  // namespace Tessel16
