// lexical_check.cpp: the exact lexical forms of the value kinds, for strict reading. The
// conversions themselves stay lenient (case-insensitive booleans, exponents in decimals, the
// old "--MM--" month, any date form for the shared date readers); a strict reader first runs
// the text through these recognisers and then converts it the ordinary way, so the lenient
// path pays nothing for the strict one. Ranges (days in a month, widths of the integer
// kinds) are left to the conversion, which checks them in either mode.
#include "conversion/lexical_check.h"

#include <cstddef>
#include <cstring>

#include "conversion/conversion_messages.h"
#include "tessel16/exception.h"
#include "values/date_time_messages.h"
#include "values/decimal_messages.h"

namespace Tessel16::detail {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A cursor over the text with the few steps every form is built from.
struct Cursor {
    const std::string& t;
    std::size_t i = 0;

    bool AtEnd() const { return i == t.size(); }
    bool Take(char c) {
        if (i < t.size() && t[i] == c) {
            ++i;
            return true;
        }
        return false;
    }
    bool TakeSign() { return Take('+') || Take('-'); }
    std::size_t Digits() {
        const std::size_t start = i;
        while (i < t.size() && IsDigit(t[i])) ++i;
        return i - start;
    }
    bool Exactly(std::size_t count) { return Digits() == count; }
    int Number(std::size_t from, std::size_t count) const {
        int value = 0;
        for (std::size_t k = from; k < from + count; ++k) value = value * 10 + (t[k] - '0');
        return value;
    }
};

// [+-]?digits
bool IsInteger(Cursor& c) {
    c.TakeSign();
    return c.Digits() > 0 && c.AtEnd();
}

// [+-]?(digits(.digits*)?|.digits): the position where the text stops fitting, or npos.
std::size_t DecimalMismatch(const std::string& t) {
    Cursor c{t};
    c.TakeSign();
    const std::size_t whole = c.Digits();
    std::size_t fraction = 0;
    if (c.Take('.')) fraction = c.Digits();
    if (whole + fraction == 0) return c.i;
    return c.AtEnd() ? std::string::npos : c.i;
}

bool IsReal(const std::string& t) {
    if (t == "INF" || t == "-INF" || t == "NaN") return true;
    Cursor c{t};
    c.TakeSign();
    std::size_t digits = c.Digits();
    if (c.Take('.')) digits += c.Digits();
    if (digits == 0) return false;
    if (c.Take('e') || c.Take('E')) {
        c.TakeSign();
        if (c.Digits() == 0) return false;
    }
    return c.AtEnd();
}

// -?P(nY)?(nM)?(nD)?(T(nH)?(nM)?(dS)?)? with d a decimal, at least one part, and a T only
// before a time part.
bool IsDuration(const std::string& t) {
    Cursor c{t};
    c.Take('-');
    if (!c.Take('P')) return false;
    int parts = 0;
    auto part = [&c, &parts](char designator) {
        const std::size_t start = c.i;
        if (c.Digits() > 0 && c.Take(designator)) {
            ++parts;
            return;
        }
        c.i = start;
    };
    part('Y');
    part('M');
    part('D');
    if (c.Take('T')) {
        const int before = parts;
        part('H');
        part('M');
        // Seconds are a decimal: "5S", "5.S", ".5S", "5.25S".
        const std::size_t whole = c.Digits();
        const std::size_t fraction = c.Take('.') ? c.Digits() + 1 : 0;
        if (whole + fraction > 0) {
            if (whole == 0 && fraction == 1) return false;
            if (!c.Take('S')) return false;
            ++parts;
        }
        if (parts == before) return false;
    }
    return parts > 0 && c.AtEnd();
}

// -?yyyy with exactly four digits: the years this library holds.
bool Year(Cursor& c) {
    c.Take('-');
    return c.Exactly(4);
}
bool Two(Cursor& c) { return c.Exactly(2); }

// hh:mm:ss(.s+)?
bool Clock(Cursor& c) {
    if (!(Two(c) && c.Take(':') && Two(c) && c.Take(':') && Two(c))) return false;
    if (c.Take('.')) return c.Digits() > 0;
    return true;
}

// (Z|[+-]hh:mm)? with the offset at most 14:00.
bool Zone(Cursor& c) {
    if (c.AtEnd()) return true;
    if (c.Take('Z')) return c.AtEnd();
    if (!c.TakeSign()) return false;
    const std::size_t hours = c.i;
    if (!(Two(c) && c.Take(':') && Two(c) && c.AtEnd())) return false;
    const int hour = c.Number(hours, 2);
    const int minute = c.Number(hours + 3, 2);
    return hour < 14 || (hour == 14 && minute == 0);
}

bool IsDateForm(ItemType type, const std::string& t) {
    Cursor c{t};
    bool shape = false;
    switch (type) {
        case ItemType_datetime:
            shape = Year(c) && c.Take('-') && Two(c) && c.Take('-') && Two(c) && c.Take('T') &&
                    Clock(c);
            break;
        case ItemType_time:
            shape = Clock(c);
            break;
        case ItemType_date:
            shape = Year(c) && c.Take('-') && Two(c) && c.Take('-') && Two(c);
            break;
        case ItemType_yearMonth:
            shape = Year(c) && c.Take('-') && Two(c);
            break;
        case ItemType_year:
            shape = Year(c);
            break;
        case ItemType_monthDay:
            shape = c.Take('-') && c.Take('-') && Two(c) && c.Take('-') && Two(c);
            break;
        case ItemType_month:
            shape = c.Take('-') && c.Take('-') && Two(c);
            break;
        case ItemType_day:
            shape = c.Take('-') && c.Take('-') && c.Take('-') && Two(c);
            break;
        default:
            return true;
    }
    return shape && Zone(c);
}

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (IsDigit(c)) return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

[[noreturn]] void Refuse(const char* format, const std::string& t) {
    throw CTsInvalidValueException(FormatString(format, t.c_str()));
}

}  // namespace

bool IsBase64Text(const std::string& t, bool exact) {
    std::size_t symbols = 0;
    std::size_t padding = 0;
    int last = 0;  // the value of the last alphabet character
    bool previousBlank = true;
    for (char c : t) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (exact && (c != ' ' || previousBlank)) return false;
            previousBlank = true;
            continue;
        }
        previousBlank = false;
        if (c == '=') {
            ++padding;
            continue;
        }
        const int value = Base64Value(c);
        if (value < 0 || padding > 0) return false;
        last = value;
        ++symbols;
    }
    if (exact && previousBlank && !t.empty()) return false;
    if (padding > 2 || (symbols + padding) % 4 != 0) return false;
    if (padding > 0 && symbols % 4 + padding != 4) return false;
    // With padding, the last character carries bits that no byte uses; they must be zero.
    if (exact && padding == 1 && (last & 0x3) != 0) return false;
    if (exact && padding == 2 && (last & 0xF) != 0) return false;
    return true;
}

void CheckExactLexicalForm(ItemType type, const std::string& t) {
    switch (type) {
        case ItemType_boolean:
            if (t != "true" && t != "false" && t != "1" && t != "0") Refuse(kMsgBadBoolean, t);
            return;
        case ItemType_i1:
        case ItemType_i2:
        case ItemType_i4:
        case ItemType_i8:
        case ItemType_ui1:
        case ItemType_ui2:
        case ItemType_ui4:
        case ItemType_ui8: {
            Cursor c{t};
            if (IsInteger(c)) return;
            const bool wide = type == ItemType_i8 || type == ItemType_ui8;
            const bool isSigned = type <= ItemType_i8;
            Refuse(isSigned ? (wide ? kMsgI8NotConverted : kMsgI4NotConverted)
                            : (wide ? kMsgUI8NotConverted : kMsgUI4NotConverted),
                   t);
        }
        case ItemType_integer:
        case ItemType_decimal: {
            std::size_t at = DecimalMismatch(t);
            if (at == std::string::npos && type == ItemType_integer) {
                const char* point = std::strchr(t.c_str(), '.');
                if (point != nullptr) at = static_cast<std::size_t>(point - t.c_str());
            }
            if (at == std::string::npos) return;
            throw CTsInvalidValueException(
                FormatString(kDecimalInvalidChar, static_cast<int>(at), t.c_str()));
        }
        case ItemType_r4:
            if (!IsReal(t)) Refuse(kMsgR4NotConverted, t);
            return;
        case ItemType_r8:
            if (!IsReal(t)) Refuse(kMsgR8NotConverted, t);
            return;
        case ItemType_duration:
            if (!IsDuration(t)) Refuse(dtmsg::kSpanBad, t);
            return;
        case ItemType_datetime:
            if (!IsDateForm(type, t)) Refuse(dtmsg::kDateTimeBad, t);
            return;
        case ItemType_time:
            if (!IsDateForm(type, t)) Refuse(dtmsg::kTimeBad, t);
            return;
        case ItemType_date:
        case ItemType_yearMonth:
        case ItemType_monthDay:
        case ItemType_year:
        case ItemType_month:
        case ItemType_day:
            if (!IsDateForm(type, t)) Refuse(dtmsg::kDateBad, t);
            return;
        case ItemType_base64Binary:
            if (!IsBase64Text(t, true)) Refuse(kMsgBadBase64, t);
            return;
        default:
            // Strings, characters and hexBinary have no laxer reading to tighten.
            return;
    }
}

}  // namespace Tessel16::detail
