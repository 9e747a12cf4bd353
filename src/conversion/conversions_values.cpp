// conversions_values.cpp: the lexical forms that belong to the value types (decimal, big
// integer, binary data; dates and durations follow the same pattern). These functions only
// apply the whitespace rule and hand over: parsing, writing and their messages are the value
// types' own, so there is one definition of each form.
#include <string>

#include "tessel16/binary_data.h"
#include "tessel16/conversions.h"
#include "tessel16/decimal.h"

namespace Tessel16 {
namespace {

// atoi's reading of a number at the head of a text, without its undefined overflow.
int LeadingInt(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if (value < 1000000000) value = value * 10 + (text[i] - '0');
    return static_cast<int>(negative ? -value : value);
}

}  // namespace

std::string CConversions::decimalToString(const CDecimal& value) { return value.ToString(); }

std::string CConversions::decimalToString(const CDecimal& value, const std::string& format) {
    if (format.empty()) return value.ToString();
    return value.ToString(LeadingInt(format));
}

std::string CConversions::integerToString(const CBigInteger& value) { return value.ToString(); }

std::string CConversions::hexBinaryToString(const CBinaryData& value) {
    return value.GetAsHexString();
}

std::string CConversions::base64BinaryToString(const CBinaryData& value) {
    return value.GetAsBase64();
}

CDecimal CConversions::decimalFromString(const std::string& text, WhitespaceRule rule) {
    return CDecimal(CWhitespaceUtils::ApplyRule(rule, text).c_str());
}

CBigInteger CConversions::integerFromString(const std::string& text, WhitespaceRule rule) {
    return CBigInteger(CWhitespaceUtils::ApplyRule(rule, text).c_str());
}

CBinaryData CConversions::hexBinaryFromString(const std::string& text, WhitespaceRule rule) {
    CBinaryData data;
    data.SetAsHexString(CWhitespaceUtils::ApplyRule(rule, text).c_str());
    return data;
}

CBinaryData CConversions::base64BinaryFromString(const std::string& text, WhitespaceRule rule) {
    CBinaryData data;
    data.SetAsBase64(CWhitespaceUtils::ApplyRule(rule, text).c_str());
    return data;
}

}  // namespace Tessel16
