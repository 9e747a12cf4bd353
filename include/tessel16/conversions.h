// conversions.h: CConversions, the canonical lexical form of every XSD value kind and back.
// Every reader takes the raw text and a whitespace rule, applies the rule, then parses;
// failures throw CTsInvalidValueException (or what the value type throws for the date,
// duration, decimal, integer and binary kinds).
#pragma once

#include <cstdint>
#include <string>

#include "tessel16/binary_data.h"
#include "tessel16/date_time.h"
#include "tessel16/decimal.h"
#include "tessel16/export.h"
#include "tessel16/fwd.h"
#include "tessel16/whitespace_utils.h"

namespace Tessel16 {

class TESSEL16_API CConversions {
public:
    using WhitespaceRule = CWhitespaceUtils::WhitespaceRule;

    CConversions() = delete;

    // Integers: decimal text with '-' for negatives and no leading zeros.
    static std::string i1ToString(char value);
    static std::string i2ToString(short value);
    static std::string i4ToString(std::int32_t value);
    static std::string i8ToString(long long value);
    static std::string ui1ToString(unsigned char value);
    static std::string ui2ToString(unsigned short value);
    static std::string ui4ToString(std::uint32_t value);
    static std::string ui8ToString(unsigned long long value);

    // "NaN", "INF", "-INF", or the number with seven significant digits ("%.7g"); a non-empty
    // format is used as a printf format for one double instead. At most 31 characters.
    // Throws CTsInvalidParamException when the format is not a format for one double.
    static std::string r4ToString(float value);
    static std::string r4ToString(float value, const std::string& format);
    // As r4ToString with sixteen significant digits ("%.16g") and at most 47 characters.
    static std::string r8ToString(double value);
    static std::string r8ToString(double value, const std::string& format);

    static std::string booleanToString(bool value);
    // The one-character string, or "" for the NUL character.
    static std::string charToString(char value);
    static std::string stringToString(const std::string& value);

    // CDecimal::ToString(), or with the number of fraction digits that a non-empty format
    // starts with (read as atoi reads it).
    static std::string decimalToString(const CDecimal& value);
    static std::string decimalToString(const CDecimal& value, const std::string& format);
    static std::string integerToString(const CBigInteger& value);
    static std::string durationToString(const CDateTimeSpan& value);
    // The five date writers are one operation: the XSD form of the value's own kind.
    static std::string datetimeToString(const CDateTime& value);
    static std::string dateToString(const CDateTime& value);
    static std::string timeToString(const CDateTime& value);
    static std::string yearMonthToString(const CDateTime& value);
    static std::string monthDayToString(const CDateTime& value);
    // gYear, gMonth and gDay held as bare numbers: "5", "--03", "---07".
    static std::string yearToString(unsigned short value);
    static std::string monthToString(unsigned char value);
    static std::string dayToString(unsigned char value);
    static std::string hexBinaryToString(const CBinaryData& value);
    static std::string base64BinaryToString(const CBinaryData& value);

    // Integers with strtol/strtoul semantics in base 10 (leading whitespace skipped, one
    // optional sign, digits to the end of the text); the unsigned kinds accept '-' and wrap.
    static char i1FromString(const std::string& text, WhitespaceRule rule);
    static short i2FromString(const std::string& text, WhitespaceRule rule);
    static std::int32_t i4FromString(const std::string& text, WhitespaceRule rule);
    static long long i8FromString(const std::string& text, WhitespaceRule rule);
    static unsigned char ui1FromString(const std::string& text, WhitespaceRule rule);
    static unsigned short ui2FromString(const std::string& text, WhitespaceRule rule);
    static std::uint32_t ui4FromString(const std::string& text, WhitespaceRule rule);
    static unsigned long long ui8FromString(const std::string& text, WhitespaceRule rule);

    // "NaN", "1.#QNAN", "-NAN", "INF", "-INF" or a decimal number with optional exponent.
    static float r4FromString(const std::string& text, WhitespaceRule rule);
    static double r8FromString(const std::string& text, WhitespaceRule rule);
    // "true", "false", "1" or "0", in any letter case.
    static bool booleanFromString(const std::string& text, WhitespaceRule rule);
    // Exactly one character.
    static char charFromString(const std::string& text, WhitespaceRule rule);
    static std::string stringFromString(const std::string& text, WhitespaceRule rule);

    static CDecimal decimalFromString(const std::string& text, WhitespaceRule rule);
    static CBigInteger integerFromString(const std::string& text, WhitespaceRule rule);
    static CDateTimeSpan durationFromString(const std::string& text, WhitespaceRule rule);
    // The date readers take the kind from the shape of the text (so "--05" read by
    // dateFromString is a gMonth); datetime and time need their own forms.
    static CDateTime datetimeFromString(const std::string& text, WhitespaceRule rule);
    static CDateTime dateFromString(const std::string& text, WhitespaceRule rule);
    static CDateTime timeFromString(const std::string& text, WhitespaceRule rule);
    static CDateTime yearMonthFromString(const std::string& text, WhitespaceRule rule);
    static CDateTime monthDayFromString(const std::string& text, WhitespaceRule rule);
    static unsigned short yearFromString(const std::string& text, WhitespaceRule rule);
    static unsigned char monthFromString(const std::string& text, WhitespaceRule rule);
    static unsigned char dayFromString(const std::string& text, WhitespaceRule rule);
    static CBinaryData hexBinaryFromString(const std::string& text, WhitespaceRule rule);
    static CBinaryData base64BinaryFromString(const std::string& text, WhitespaceRule rule);
};

}  // namespace Tessel16
