// limb_arithmetic.cpp: schoolbook arithmetic on base 10^9 magnitudes. Operands in this
// library are short (a few limbs), so the quadratic algorithms are the fast ones here; long
// division is Knuth's algorithm D, which needs only 64-bit intermediates in this base.
#include "values/limb_arithmetic.h"

#include <algorithm>
#include <cassert>

namespace Tessel16::detail {

const std::uint32_t kPow10Table[10] = {1u,      10u,      100u,      1000u,      10000u,
                                       100000u, 1000000u, 10000000u, 100000000u, 1000000000u};

void TrimLimbs(Limbs& a) {
    while (!a.empty() && a.back() == 0) a.pop_back();
}

int CompareLimbs(const Limbs& a, const Limbs& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    for (std::size_t i = a.size(); i-- > 0;) {
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    }
    return 0;
}

bool IsPow10Limbs(const Limbs& a, unsigned n) {
    const std::size_t top = n / kLimbDigits;
    if (a.size() != top + 1 || a[top] != kPow10Table[n % kLimbDigits]) return false;
    for (std::size_t i = 0; i < top; ++i) {
        if (a[i] != 0) return false;
    }
    return true;
}

void AddLimbs(Limbs& a, const Limbs& b) {
    if (&a == &b) {
        const Limbs copy(b);
        AddLimbs(a, copy);
        return;
    }
    if (a.size() < b.size()) a.resize(b.size(), 0);
    std::uint32_t carry = 0;
    std::size_t i = 0;
    for (; i < b.size(); ++i) {
        std::uint32_t s = a[i] + b[i] + carry;
        carry = s >= kLimbBase ? 1 : 0;
        a[i] = carry ? s - kLimbBase : s;
    }
    for (; carry && i < a.size(); ++i) {
        std::uint32_t s = a[i] + 1;
        carry = s >= kLimbBase ? 1 : 0;
        a[i] = carry ? 0 : s;
    }
    if (carry) a.push_back(1);
}

void SubLimbs(Limbs& a, const Limbs& b) {
    if (&a == &b) {
        a.clear();
        return;
    }
    assert(CompareLimbs(a, b) >= 0);
    std::uint32_t borrow = 0;
    std::size_t i = 0;
    for (; i < b.size(); ++i) {
        std::uint32_t sub = b[i] + borrow;
        if (a[i] >= sub) {
            a[i] -= sub;
            borrow = 0;
        } else {
            a[i] = a[i] + kLimbBase - sub;
            borrow = 1;
        }
    }
    for (; borrow && i < a.size(); ++i) {
        if (a[i] > 0) {
            --a[i];
            borrow = 0;
        } else {
            a[i] = kLimbBase - 1;
        }
    }
    TrimLimbs(a);
}

void ReverseSubLimbs(Limbs& a, const Limbs& b) {
    Limbs result(b);
    SubLimbs(result, a);
    a.swap(result);
}

void AddSmall(Limbs& a, std::uint32_t value) {
    for (std::size_t i = 0; value && i < a.size(); ++i) {
        std::uint32_t s = a[i] + value;
        value = s >= kLimbBase ? 1 : 0;
        a[i] = value ? s - kLimbBase : s;
    }
    if (value) a.push_back(value);
}

void MulSmall(Limbs& a, std::uint32_t factor, std::uint32_t addend) {
    std::uint64_t carry = addend;
    for (auto& limb : a) {
        std::uint64_t p = static_cast<std::uint64_t>(limb) * factor + carry;
        limb = static_cast<std::uint32_t>(p % kLimbBase);
        carry = p / kLimbBase;
    }
    if (carry) a.push_back(static_cast<std::uint32_t>(carry));
    TrimLimbs(a);
}

std::uint32_t DivSmall(Limbs& a, std::uint32_t divisor) {
    std::uint64_t rem = 0;
    for (std::size_t i = a.size(); i-- > 0;) {
        std::uint64_t cur = rem * kLimbBase + a[i];
        a[i] = static_cast<std::uint32_t>(cur / divisor);
        rem = cur % divisor;
    }
    TrimLimbs(a);
    return static_cast<std::uint32_t>(rem);
}

Limbs MulLimbs(const Limbs& a, const Limbs& b) {
    if (a.empty() || b.empty()) return Limbs();
    Limbs result(a.size() + b.size(), 0);
    for (std::size_t i = 0; i < a.size(); ++i) {
        // A slot below the base plus a product of two limbs plus a carry stays below 10^18.
        std::uint64_t carry = 0;
        const std::uint64_t ai = a[i];
        for (std::size_t j = 0; j < b.size(); ++j) {
            std::uint64_t cur = result[i + j] + ai * b[j] + carry;
            result[i + j] = static_cast<std::uint32_t>(cur % kLimbBase);
            carry = cur / kLimbBase;
        }
        result[i + b.size()] = static_cast<std::uint32_t>(carry);
    }
    TrimLimbs(result);
    return result;
}

void DivModLimbs(const Limbs& a, const Limbs& b, Limbs* quotient, Limbs* remainder) {
    assert(!b.empty());
    if (CompareLimbs(a, b) < 0) {
        if (remainder) *remainder = a;
        if (quotient) quotient->clear();
        return;
    }
    if (b.size() == 1) {
        Limbs q(a);
        std::uint32_t r = DivSmall(q, b[0]);
        if (remainder) {
            remainder->clear();
            if (r) remainder->push_back(r);
        }
        if (quotient) quotient->swap(q);
        return;
    }

    // Knuth, TAOCP vol. 2, 4.3.1, algorithm D. Scaling both operands by d makes the top limb
    // of the divisor at least half the base, which bounds the trial quotient's error by 2.
    const std::size_t n = b.size();
    const std::size_t m = a.size() - n;
    const std::uint32_t d =
        static_cast<std::uint32_t>(kLimbBase / (static_cast<std::uint64_t>(b[n - 1]) + 1));
    Limbs u(a);
    Limbs v(b);
    if (d > 1) {
        MulSmall(u, d);
        MulSmall(v, d);
    }
    u.resize(a.size() + 1, 0);
    Limbs q(m + 1, 0);
    const std::uint64_t vTop = v[n - 1];
    const std::uint64_t vNext = v[n - 2];

    for (std::size_t j = m + 1; j-- > 0;) {
        const std::uint64_t num = static_cast<std::uint64_t>(u[j + n]) * kLimbBase + u[j + n - 1];
        std::uint64_t qhat = num / vTop;
        std::uint64_t rhat = num % vTop;
        while (qhat >= kLimbBase || qhat * vNext > rhat * kLimbBase + u[j + n - 2]) {
            --qhat;
            rhat += vTop;
            if (rhat >= kLimbBase) break;
        }

        std::int64_t borrow = 0;
        std::uint64_t carry = 0;
        for (std::size_t i = 0; i < n; ++i) {
            std::uint64_t p = qhat * v[i] + carry;
            carry = p / kLimbBase;
            std::int64_t t = static_cast<std::int64_t>(u[i + j]) -
                             static_cast<std::int64_t>(p % kLimbBase) - borrow;
            borrow = t < 0 ? 1 : 0;
            if (t < 0) t += kLimbBase;
            u[i + j] = static_cast<std::uint32_t>(t);
        }
        std::int64_t top =
            static_cast<std::int64_t>(u[j + n]) - static_cast<std::int64_t>(carry) - borrow;
        if (top < 0) {
            // The trial quotient was one too large: add the divisor back once.
            --qhat;
            std::uint32_t c = 0;
            for (std::size_t i = 0; i < n; ++i) {
                std::uint32_t s = u[i + j] + v[i] + c;
                c = s >= kLimbBase ? 1 : 0;
                u[i + j] = c ? s - kLimbBase : s;
            }
            top += c;
        }
        u[j + n] = static_cast<std::uint32_t>(top);
        q[j] = static_cast<std::uint32_t>(qhat);
    }

    if (remainder) {
        u.resize(n);
        TrimLimbs(u);
        if (d > 1) DivSmall(u, d);
        remainder->swap(u);
    }
    if (quotient) {
        TrimLimbs(q);
        quotient->swap(q);
    }
}

Limbs Pow10Limbs(unsigned n) {
    Limbs a(n / kLimbDigits + 1, 0);
    a.back() = kPow10Table[n % kLimbDigits];
    return a;
}

void MulPow10(Limbs& a, unsigned n) {
    if (a.empty() || n == 0) return;
    const unsigned shift = n % kLimbDigits;
    if (shift) MulSmall(a, kPow10Table[shift]);
    a.insert_front(n / kLimbDigits, 0u);
}

void DivModPow10(const Limbs& a, unsigned n, Limbs* quotient, Limbs* remainder) {
    const std::size_t whole = n / kLimbDigits;
    const unsigned shift = n % kLimbDigits;
    if (a.size() <= whole) {
        if (remainder) *remainder = a;
        if (quotient) quotient->clear();
        return;
    }
    Limbs q(a.begin() + whole, a.end());
    std::uint32_t low = shift ? DivSmall(q, kPow10Table[shift]) : 0;
    if (remainder) {
        Limbs r(a.begin(), a.begin() + whole);
        r.push_back(low);
        TrimLimbs(r);
        remainder->swap(r);
    }
    if (quotient) quotient->swap(q);
}

std::size_t DigitCountLimbs(const Limbs& a) {
    if (a.empty()) return 1;
    std::size_t digits = (a.size() - 1) * kLimbDigits;
    std::uint32_t top = a.back();
    unsigned topDigits = 1;
    while (topDigits < kLimbDigits && top >= kPow10Table[topDigits]) ++topDigits;
    return digits + topDigits;
}

std::size_t TrailingZeroDigits(const Limbs& a) {
    std::size_t zeros = 0;
    std::size_t i = 0;
    while (i < a.size() && a[i] == 0) {
        zeros += kLimbDigits;
        ++i;
    }
    if (i == a.size()) return zeros;
    std::uint32_t limb = a[i];
    while (limb % 10 == 0) {
        limb /= 10;
        ++zeros;
    }
    return zeros;
}

void LimbsFromDigits(Limbs& a, const char* begin, const char* end) {
    a.clear();
    while (begin < end && *begin == '0') ++begin;
    if (begin == end) return;
    const std::size_t count = static_cast<std::size_t>(end - begin);
    a.resize((count + kLimbDigits - 1) / kLimbDigits);
    // Fill from the least significant end, nine digits per limb.
    const char* p = end;
    for (auto& limb : a) {
        const char* start = p - std::min<std::ptrdiff_t>(kLimbDigits, p - begin);
        std::uint32_t value = 0;
        for (const char* c = start; c < p; ++c)
            value = value * 10 + static_cast<std::uint32_t>(*c - '0');
        limb = value;
        p = start;
    }
}

void LimbsFromU64(Limbs& a, std::uint64_t value) {
    a.clear();
    while (value) {
        a.push_back(static_cast<std::uint32_t>(value % kLimbBase));
        value /= kLimbBase;
    }
}

void AppendLimbs(std::string& out, const Limbs& a, std::size_t minWidth) {
    const std::size_t digits = DigitCountLimbs(a);
    if (minWidth > digits) out.append(minWidth - digits, '0');
    if (a.empty()) {
        out.push_back('0');
        return;
    }
    const std::size_t start = out.size();
    out.resize(start + digits);
    char* p = &out[start] + digits;
    for (std::size_t i = 0; i < a.size(); ++i) {
        std::uint32_t limb = a[i];
        const bool last = i + 1 == a.size();
        for (unsigned k = 0; k < kLimbDigits; ++k) {
            if (last && limb == 0) break;
            *--p = static_cast<char>('0' + limb % 10);
            limb /= 10;
        }
    }
}

}  // namespace Tessel16::detail
