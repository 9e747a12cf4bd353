// fastinfoset_context.cpp: the Fast Infoset settings: per-kind value encodings and the
// suggested set that trades literal text for the built-in binary algorithms.
#include "tessel16/fastinfoset_context.h"

#include "tessel16/exception.h"

namespace Tessel16 {

namespace {
constexpr const char* kMsgIndexOutOfRange = "Index %d is out of range, use 0 - %d";

constexpr std::uint32_t kAlphabet = 1;
constexpr std::uint32_t kAlgorithm = 2;
constexpr std::uint32_t kNumericAlphabet = 1;
constexpr std::uint32_t kDateTimeAlphabet = 2;

void CheckType(int type) {
    if (type < 0 || type >= CFastInfosetContext::kEncodingCount)
        throw CTsException(
            FormatString(kMsgIndexOutOfRange, type, CFastInfosetContext::kEncodingCount - 1));
}
}  // namespace

CFastInfosetContext::~CFastInfosetContext() = default;

CFastInfosetContext::EncodedCharacterString CFastInfosetContext::GetEncoding(int type) const {
    CheckType(type);
    return m_encodings[type];
}

void CFastInfosetContext::SetEncoding(int type, const EncodedCharacterString& encoding) {
    CheckType(type);
    m_encodings[type] = encoding;
}

void CFastInfosetContext::SetSuggestedValues() {
    auto set = [this](ItemType type, std::uint32_t kind, std::uint32_t index) {
        m_encodings[type] = EncodedCharacterString{kind, index};
    };
    // The unsigned kinds travel in the next wider signed algorithm.
    set(ItemType_hexBinary, kAlgorithm, 1);
    set(ItemType_base64Binary, kAlgorithm, 2);
    set(ItemType_i1, kAlgorithm, 3);
    set(ItemType_i2, kAlgorithm, 3);
    set(ItemType_i4, kAlgorithm, 4);
    set(ItemType_i8, kAlgorithm, 5);
    set(ItemType_ui1, kAlgorithm, 3);
    set(ItemType_ui2, kAlgorithm, 4);
    set(ItemType_ui4, kAlgorithm, 5);
    set(ItemType_ui8, kAlgorithm, 5);
    set(ItemType_r4, kAlgorithm, 7);
    set(ItemType_r8, kAlgorithm, 8);
    for (int t = ItemType_yearMonth; t <= ItemType_time; ++t)
        set(static_cast<ItemType>(t), kAlphabet, kDateTimeAlphabet);
    set(ItemType_boolean, kAlgorithm, 6);
    set(ItemType_decimal, kAlphabet, kNumericAlphabet);
    set(ItemType_integer, kAlphabet, kNumericAlphabet);
}

}  // namespace Tessel16
