// value_roundtrip.h: random values of every kind, written and read back through the same
// path a record uses (TsVariant::FromString / ToString). Shared by the property test, which
// draws from a seeded generator, and the lexical fuzz target, which draws from its input.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "tessel16/tessel16.h"

namespace Tessel16::test {

// A source of random bits: a seeded generator in tests, the fuzzer's bytes in the fuzz target.
class Draw {
public:
    virtual ~Draw() = default;
    virtual std::uint64_t Next() = 0;
    // A number in [low, high].
    long long Between(long long low, long long high) {
        const auto span = static_cast<std::uint64_t>(high - low) + 1;
        return low + static_cast<long long>(span == 0 ? Next() : Next() % span);
    }
    bool OneIn(int n) { return Next() % static_cast<std::uint64_t>(n) == 0; }
};

// The kinds with a lexical form of their own (char and string have none to lose).
inline constexpr ItemType kRoundTripKinds[] = {
    ItemType_i1,      ItemType_i2,      ItemType_i4,        ItemType_i8,          ItemType_ui1,
    ItemType_ui2,     ItemType_ui4,     ItemType_ui8,       ItemType_r4,          ItemType_r8,
    ItemType_boolean, ItemType_decimal, ItemType_integer,   ItemType_duration,    ItemType_datetime,
    ItemType_date,    ItemType_time,    ItemType_yearMonth, ItemType_monthDay,    ItemType_year,
    ItemType_month,   ItemType_day,     ItemType_hexBinary, ItemType_base64Binary};

namespace roundtrip_detail {

inline std::string Digits(Draw& d, int count, bool leadingNonZero) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out.push_back(static_cast<char>(
            '0' + (i == 0 && leadingNonZero ? d.Between(1, 9) : d.Between(0, 9))));
    return out;
}

// v written in at least `width` digits.
inline std::string Padded(long long v, int width = 2) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%0*lld", width, v);
    return buffer;
}

// A point and the digits without their trailing zeros, or nothing when no digit is left.
inline std::string PointAnd(std::string digits) {
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    return digits.empty() ? std::string() : "." + digits;
}

// Nine fraction digits with their trailing zeros dropped: how seconds are written.
inline std::string Fraction(Draw& d) {
    if (d.OneIn(3)) return std::string();
    return PointAnd(d.OneIn(4) ? "000000001" : Digits(d, 9, false));
}

// Z or an offset of up to 14 hours; "-00:00" is written "+00:00", so it is not drawn.
inline std::string Zone(Draw& d) {
    const long long pick = d.Between(0, 3);
    if (pick == 0) return std::string();
    if (pick == 1) return "Z";
    const long long hour = d.Between(0, 14);
    const long long minute = hour == 14 ? 0 : d.Between(0, 59);
    const bool negative = (hour != 0 || minute != 0) && d.OneIn(2);
    return (negative ? "-" : "+") + Padded(hour) + ":" + Padded(minute);
}

// The bare-number kinds hold a positive year, so they are drawn without a sign.
inline std::string Year(Draw& d, bool mayBeNegative = true) {
    const long long year = d.OneIn(8) ? (d.OneIn(2) ? 9999 : 1) : d.Between(1, 9999);
    return (mayBeNegative && d.OneIn(10) ? "-" : "") + Padded(year, 4);
}

// Days that exist in every year, with 29 February in a year that is surely leap.
inline std::string MonthAndDay(Draw& d, std::string& year) {
    const long long month = d.Between(1, 12);
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    long long day = d.Between(1, kDays[month - 1]);
    if (month == 2 && d.OneIn(6)) {
        day = 29;
        year = "2000";
    }
    return Padded(month) + "-" + Padded(day);
}

inline std::string Clock(Draw& d) {
    return Padded(d.Between(0, 23)) + ":" + Padded(d.Between(0, 59)) + ":" +
           Padded(d.Between(0, 59)) + Fraction(d);
}

template <class T>
std::string Integer(Draw& d) {
    const T value =
        d.OneIn(6) ? (d.OneIn(2) ? std::numeric_limits<T>::min() : std::numeric_limits<T>::max())
                   : static_cast<T>(d.Next());
    return std::to_string(+value);  // the unary plus prints the char kinds as numbers
}

inline std::string Number(Draw& d, bool fraction) {
    std::string out = d.OneIn(2) ? "-" : "";
    const int whole = static_cast<int>(d.Between(0, d.OneIn(4) ? 60 : 12));
    out += whole == 0 ? "0" : Digits(d, whole, true);
    if (fraction && d.OneIn(2))
        out += PointAnd(Digits(d, static_cast<int>(d.Between(1, 30)), false));
    if (out == "-0") out = "0";
    return out;
}

inline std::string Duration(Draw& d) {
    std::string out = d.OneIn(4) ? "-P" : "P";
    const auto part = [&](unsigned long long max, char designator) {
        if (d.OneIn(2)) return std::string();
        const unsigned long long v = d.OneIn(5) ? max : d.Next() % max + 1;
        return std::to_string(v) + designator;
    };
    out += part(65535, 'Y') + part(4294967295ull, 'M') + part(4294967295ull, 'D');
    std::string time = part(4294967295ull, 'H') + part(~0ull, 'M');
    if (d.OneIn(2)) {
        const std::string fraction = Fraction(d);
        const unsigned long long seconds = d.OneIn(5) ? ~0ull : d.Next() % 100;
        if (seconds != 0 || !fraction.empty()) time += std::to_string(seconds) + fraction + "S";
    }
    if (!time.empty()) out += "T" + time;
    if (out.size() <= 2) out += "T0S";
    return out;
}

// Canonical text of a text-made kind: what the writer gives for the value it denotes.
inline std::string CanonicalText(ItemType kind, Draw& d) {
    std::string year;
    if (kind == ItemType_i1) return Integer<signed char>(d);
    if (kind == ItemType_i2) return Integer<short>(d);
    if (kind == ItemType_i4) return Integer<std::int32_t>(d);
    if (kind == ItemType_i8) return Integer<long long>(d);
    if (kind == ItemType_ui1) return Integer<unsigned char>(d);
    if (kind == ItemType_ui2) return Integer<unsigned short>(d);
    if (kind == ItemType_ui4) return Integer<std::uint32_t>(d);
    if (kind == ItemType_ui8) return Integer<unsigned long long>(d);
    if (kind == ItemType_boolean) return d.OneIn(2) ? "true" : "false";
    if (kind == ItemType_decimal) return Number(d, true);
    if (kind == ItemType_integer) return Number(d, false);
    if (kind == ItemType_duration) return Duration(d);
    if (kind == ItemType_datetime || kind == ItemType_date) {
        year = Year(d);
        const std::string md = MonthAndDay(d, year);
        return year + "-" + md + (kind == ItemType_date ? "" : "T" + Clock(d)) + Zone(d);
    }
    if (kind == ItemType_time) return Clock(d) + Zone(d);
    if (kind == ItemType_yearMonth) return Year(d) + "-" + Padded(d.Between(1, 12)) + Zone(d);
    if (kind == ItemType_monthDay) return "--" + MonthAndDay(d, year) + Zone(d);
    if (kind == ItemType_year) return Year(d, false);
    if (kind == ItemType_month) return "--" + Padded(d.Between(1, 12));
    if (kind == ItemType_day) return "---" + Padded(d.Between(1, 31));
    return std::string();
}

template <class Real, class Bits>
Real RealFrom(Draw& d) {
    using L = std::numeric_limits<Real>;
    static const Real kExtremes[] = {Real(0),          -Real(0),      L::denorm_min(),
                                     -L::denorm_min(), L::min(),      L::max(),
                                     L::lowest(),      L::infinity(), -L::infinity(),
                                     L::quiet_NaN(),   Real(0.1),     Real(1) / Real(3)};
    if (d.OneIn(5)) return kExtremes[d.Between(0, sizeof kExtremes / sizeof kExtremes[0] - 1)];
    const Bits bits = static_cast<Bits>(d.Next());
    Real value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

template <class Real>
bool SameReal(Real a, Real b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace roundtrip_detail

// Draws one value of `kind`, writes it, reads the text back and writes again. Returns ""
// when the value survived (same value, same text), else what went wrong.
inline std::string RoundTripOne(ItemType kind, Draw& d) {
    namespace rd = roundtrip_detail;
    using Rule = CWhitespaceUtils::WhitespaceRule;
    constexpr Rule kNone = CWhitespaceUtils::WhitespaceRule_None;
    std::string text;
    try {
        if (kind == ItemType_r8 || kind == ItemType_r4) {
            TsVariant value;
            if (kind == ItemType_r8)
                value.SetR8(rd::RealFrom<double, std::uint64_t>(d));
            else
                value.SetR4(rd::RealFrom<float, std::uint32_t>(d));
            text = value.ToString();
            TsVariant back;
            back.FromString(text, kind, kNone);
            const bool same = kind == ItemType_r8 ? rd::SameReal(value.GetR8(), back.GetR8())
                                                  : rd::SameReal(value.GetR4(), back.GetR4());
            if (!same) return "[" + text + "] reads back as another value";
            if (back.ToString() != text) return "[" + text + "] is written as " + back.ToString();
            return std::string();
        }
        if (kind == ItemType_hexBinary || kind == ItemType_base64Binary) {
            CBinaryData data;
            for (long long n = d.Between(0, 40); n > 0; --n)
                data.Append(static_cast<char>(d.Next()));
            text = kind == ItemType_hexBinary ? CConversions::hexBinaryToString(data)
                                              : CConversions::base64BinaryToString(data);
            TsVariant back;
            back.FromString(text, kind, kNone);
            const CBinaryData read =
                kind == ItemType_hexBinary ? back.GetHexBinary() : back.GetBase64Binary();
            return read == data ? std::string() : "[" + text + "] reads back as other bytes";
        }
        text = rd::CanonicalText(kind, d);
        TsVariant value;
        value.FromString(text, kind, kNone);
        const std::string written = value.ToString();
        if (written != text) return "[" + text + "] is written as [" + written + "]";
        // Strict reading accepts every canonical text.
        TsVariant strict;
        strict.FromString(text, kind, kNone, true);
        if (strict.ToString() != text) return "[" + text + "] reads strictly as another value";
        return std::string();
    } catch (const CTsException& e) {
        return "[" + text + "] was refused: " + e.GetFullMessage();
    }
}

}  // namespace Tessel16::test
