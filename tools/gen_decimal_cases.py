#!/usr/bin/env python3
"""Generates tests/data/values/decimal_cases.txt, the random cross-check table for CBigInteger
and CDecimal.

Every expected value is computed twice, independently: once with Python integers following our
rules step by step (scaled integers, truncating division, round-half-toward-zero), and once
with the decimal module (ROUND_DOWN for the guard digits of a quotient, ROUND_HALF_DOWN for the
final rounding, its own truncating // and %). The script stops if the two disagree, so the
table does not depend on any single reading of the rules, and never on the C++ code.

Rules the table encodes:
  * integers: / truncates toward zero, % takes the sign of the dividend;
  * decimals keep at most MAX_PLACES fraction digits; a product or a parsed text with more is
    rounded to the nearest, an exact half toward zero; a quotient is first truncated to
    MAX_PLACES + 2 digits and that is then rounded the same way;
  * results are written in their shortest form (no trailing fraction zeros, integer alone
    when the fraction is zero, no "-0");
  * a parsed text is rounded to MAX_PLACES first and then loses its trailing zeros, so its
    written form reads back as itself;
  * a text with a negative exponent is the mantissa divided by 10^e as above, one with a
    positive exponent the product with 10^e; either is then written in its shortest form.

Line formats (cells separated by '|', as the tests' table reader reads them):
  I<op>  a  b  expected      op in + - * / % c   (c: comparison, expected -1, 0 or 1)
  D<op>  a  b  expected      op in + - * / c
  P      text  expected      parse with exponents, whitespace and long fractions
  R      text  n  expected   ToString(n)
  X      text  decimal  integer   any short text; "!p" is a refusal at position p
Backslashes, bars, CR, LF, tabs and spaces in a cell are written as the reader's escapes.

Usage: tools/gen_decimal_cases.py [output path]
"""

import decimal
import random
import sys
from decimal import Decimal

MAX_PLACES = 30
SEED = 20261205
PER_OP = 400

CTX = decimal.Context(prec=2000, rounding=decimal.ROUND_HALF_EVEN, Emax=10**6, Emin=-10**6,
                      traps=[decimal.InvalidOperation, decimal.DivisionByZero])
decimal.setcontext(CTX)


# ---- reference 1: Python integers, value = n / 10**k with k >= 1 -------------------------

def trunc_div(a, b):
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b >= 0) else -q


def rationalise(n, k):
    while k > 1 and n % 10 == 0:
        n //= 10
        k -= 1
    if n == 0:
        k = 1
    return n, k


def change_divider(n, k, target):
    if target >= k:
        return n * 10 ** (target - k), target
    t = max(target, 0)
    p = 10 ** (k - t)
    q = trunc_div(n, p)
    r = n - q * p
    half = p // 2
    if r > half:
        q += 1
    elif r < -half:
        q -= 1
    if t == 0:
        return q * 10, 1
    return q, t


def limit(n, k):
    if k > MAX_PLACES:
        return change_divider(n, k, MAX_PLACES)
    return n, k


def align(a, b):
    k = max(a[1], b[1])
    return a[0] * 10 ** (k - a[1]), b[0] * 10 ** (k - b[1]), k


def int_add(a, b):
    x, y, k = align(a, b)
    return rationalise(x + y, k)


def int_sub(a, b):
    x, y, k = align(a, b)
    return rationalise(x - y, k)


def int_mul(a, b):
    return limit(*rationalise(a[0] * b[0], a[1] + b[1]))


def int_div(a, b):
    x, y, _ = align(a, b)
    q = trunc_div(x * 10 ** (MAX_PLACES + 2), y)
    return limit(*rationalise(q, MAX_PLACES + 2))


def int_cmp(a, b):
    x, y, _ = align(a, b)
    return (x > y) - (x < y)


class BadText(Exception):
    def __init__(self, position):
        super().__init__(position)
        self.position = position


# Our reader refuses positive exponents above this (a zero mantissa takes any exponent, and a
# negative one that divides every digit away reads as 0); see CDecimal::Parse.
MAX_EXPONENT = 1000
BLANKS = ' \t\n\r'


def ref_parse(text):
    """Reads text the way our decimal parser does; returns (n, k) or raises BadText.
    [blanks][sign](digits[.digits]|.digits)[(e|E)[sign]digits][blanks]"""
    i, end = 0, len(text)
    while i < end and text[i] in BLANKS:
        i += 1
    negative = False
    if i < end and text[i] in '+-':
        negative = text[i] == '-'
        i += 1
    start = i
    while i < end and text[i].isdigit():
        i += 1
    int_digits = text[start:i]
    frac_digits = ''
    if i < end and text[i] == '.':
        i += 1
        start = i
        while i < end and text[i].isdigit():
            i += 1
        frac_digits = text[start:i]
    if not int_digits and not frac_digits:
        raise BadText(i)
    exp_digits = None
    exp_negative = False
    if i < end and text[i] in 'eE':
        i += 1
        if i < end and text[i] in '+-':
            exp_negative = text[i] == '-'
            i += 1
        start = i
        while i < end and text[i].isdigit():
            i += 1
        if i == start:
            raise BadText(i)
        exp_digits = text[start:i]
    while i < end and text[i] in BLANKS:
        i += 1
    if i != end:
        raise BadText(i)
    k = max(1, len(frac_digits))
    n = int(int_digits + frac_digits.ljust(k, '0') or '0')
    if negative:
        n = -n
    if exp_digits is None or n == 0:
        return rationalise(*limit(n, k))
    e = int(exp_digits)
    if exp_negative:
        vanishing = len(int_digits) + len(frac_digits.rstrip('0') or '0') + MAX_PLACES + 2
        if e >= vanishing:
            return 0, 1
    elif e > MAX_EXPONENT:
        raise BadText(-1)  # the limit's own message; the table keeps such texts out
    power = (10 ** (e + 1), 1)  # 10^e with one (zero) fraction digit
    if exp_negative:
        return rationalise(*limit(*int_div((n, k), power)))
    return rationalise(*limit(*int_mul((n, k), power)))


def ref_big_integer(text):
    """Reads text the way CBigInteger does: [blanks][sign]digits[blanks] directly; anything
    else as a decimal that must be whole, else refused at its first '.', 'e' or 'E'."""
    t = text.strip(BLANKS)
    body = t[1:] if t[:1] in ('+', '-') else t
    if body.isdigit() and body.isascii():
        return int(t)
    n, k = ref_parse(text)
    if n % 10 ** k != 0:
        marks = [text.find(c) for c in '.eE' if c in text]
        raise BadText(min(marks) if marks else 0)
    return trunc_div(n, 10 ** k)


def fmt(n, k):
    negative = n < 0
    whole, frac = divmod(abs(n), 10 ** k)
    if frac == 0:
        return ('-' if negative and whole else '') + str(whole)
    return ('-' if negative else '') + str(whole) + '.' + str(frac).zfill(k)


def fmt_places(n, k, places):
    n, k = change_divider(n, k, places)
    negative = n < 0
    whole, frac = divmod(abs(n), 10 ** k)
    sign = '-' if negative else ''
    if places <= 0:
        return (sign if whole else '') + str(whole)
    return sign + str(whole) + '.' + str(frac).zfill(k)


# ---- reference 2: the decimal module ----------------------------------------------------

QUANTUM = Decimal(1).scaleb(-MAX_PLACES)
GUARD_QUANTUM = Decimal(1).scaleb(-(MAX_PLACES + 2))


def dec_places(d):
    """Fraction digits of d in its shortest form."""
    return max(0, -d.normalize().as_tuple().exponent) if d else 0


class Limited:
    """A result that was rounded to MAX_PLACES: it is written with all MAX_PLACES digits,
    trailing zeros included, because rounding comes after the trailing zeros are dropped."""

    def __init__(self, value):
        self.value = value


def dec_limit(d):
    if dec_places(d) > MAX_PLACES:
        return Limited(d.quantize(QUANTUM, rounding=decimal.ROUND_HALF_DOWN))
    return d


def dec_div(a, b):
    q = decimal.Context(prec=2000, rounding=decimal.ROUND_DOWN).divide(a, b)
    q = q.quantize(GUARD_QUANTUM, rounding=decimal.ROUND_DOWN)
    return dec_limit(q)


def dec_value(d):
    return d.value if isinstance(d, Limited) else d


def dec_fmt(d):
    limited = isinstance(d, Limited)
    text = format(dec_value(d), 'f')
    whole, _, frac = text.partition('.')
    if not limited:
        frac = frac.rstrip('0')
    if not frac.strip('0'):
        text = whole
    else:
        text = whole + '.' + frac
    if text.lstrip('-').strip('0') == '':
        text = '0'
    return text


def dec_from_text(text):
    """The decimal module's reading of a text of the generated kinds (no stray signs)."""
    compact = ''.join(c for c in text if c not in ' \t\n\r')
    mantissa, _, exponent = compact.replace('E', 'e').partition('e')
    if mantissa in ('', '+', '-', '.', '+.', '-.'):
        mantissa = mantissa.replace('.', '') + '0'
    if mantissa.endswith('.'):
        mantissa += '0'
    m = Decimal(mantissa)
    if not exponent.strip('+- '):
        return dec_value(dec_limit(m))
    e = int(exponent.lstrip('+-'))
    sign = ''
    for c in exponent:
        if c in '+-':
            sign = c
    # A scaled value ends in its shortest form: the rounding of the quotient or product may
    # leave a final zero, which the reader's last rationalising step drops.
    if sign == '-':
        return dec_value(dec_div(m, Decimal(10) ** e))
    if m == 0:
        return m
    return dec_value(dec_limit(m * Decimal(10) ** e))


# ---- operand generation -----------------------------------------------------------------

def digits(count, rng):
    style = rng.random()
    if style < 0.70:
        return ''.join(rng.choice('0123456789') for _ in range(count))
    if style < 0.80:
        return '9' * count
    if style < 0.85:
        return '0' * count
    if style < 0.92:
        return ''.join(rng.choice('09') for _ in range(count))
    return '1' + '0' * (count - 1) if count else ''


def int_text(rng, max_digits=60):
    count = rng.choice([rng.randint(1, 9), rng.randint(1, 20), rng.randint(1, max_digits)])
    body = digits(count, rng) or '0'
    if rng.random() < 0.05:
        body = '00' + body
    return ('-' if rng.random() < 0.45 else '') + body


def dec_text(rng, max_frac=MAX_PLACES):
    int_count = rng.choice([0, 1, rng.randint(1, 9), rng.randint(1, 30)])
    frac_count = rng.choice([0, 1, 2, rng.randint(1, 9), rng.randint(1, max_frac)])
    whole = digits(int_count, rng)
    frac = digits(frac_count, rng)
    sign = rng.choice(['', '', '-', '-', '+'])
    if not whole and not frac:
        whole = '0'
    text = sign + (whole or ('0' if rng.random() < 0.5 else ''))
    if frac or rng.random() < 0.1:
        text += '.' + frac
    return text


def parse_text(rng):
    """Texts for the parser: long fractions, exponents, blanks between the parts."""
    base = dec_text(rng, max_frac=45)
    if rng.random() < 0.6:
        sign = rng.choice(['', '+', '-', '-'])
        base += rng.choice('eE') + sign + str(rng.choice([0, 1, 2, rng.randint(0, 40)]))
    if rng.random() < 0.2:
        # Blanks are allowed around the number only (tabs are covered by the unit tests;
        # they cannot sit in a tab-separated file).
        base = rng.choice([' ', '', '  ']) + base + rng.choice([' ', ''])
    return base


def check(label, first, second):
    if first != second:
        sys.exit(f'reference mismatch in {label}: {first!r} != {second!r}')


def main():
    sys.set_int_max_str_digits(0)
    out_path = sys.argv[1] if len(sys.argv) > 1 else 'tests/data/values/decimal_cases.txt'
    rng = random.Random(SEED)
    lines = []

    for op in '+-*/%c':
        made = 0
        while made < PER_OP:
            a_text, b_text = int_text(rng), int_text(rng)
            a, b = int(a_text), int(b_text)
            da, db = Decimal(a_text), Decimal(b_text)
            if op in '/%' and b == 0:
                continue
            if op == '+':
                expected = a + b
                check(a_text + op + b_text, expected, int(da + db))
            elif op == '-':
                expected = a - b
                check(a_text + op + b_text, expected, int(da - db))
            elif op == '*':
                expected = a * b
                check(a_text + op + b_text, expected, int(da * db))
            elif op == '/':
                expected = trunc_div(a, b)
                check(a_text + op + b_text, expected, int(da // db))
            elif op == '%':
                expected = a - b * trunc_div(a, b)
                check(a_text + op + b_text, expected, int(da % db))
            else:
                expected = (a > b) - (a < b)
                check(a_text + op + b_text, expected, int(da.compare(db)))
            lines.append([f'I{op}', a_text, b_text, expected])
            made += 1

    for op in '+-*/c':
        made = 0
        while made < PER_OP:
            a_text = dec_text(rng)
            # Equal operands now and then, so that comparison sees ties.
            b_text = a_text if op == 'c' and rng.random() < 0.1 else dec_text(rng)
            a, b = ref_parse(a_text), ref_parse(b_text)
            da, db = dec_from_text(a_text), dec_from_text(b_text)
            if op == '/' and b[0] == 0:
                continue
            label = a_text + ' ' + op + ' ' + b_text
            if op == '+':
                expected = fmt(*int_add(a, b))
                check(label, expected, dec_fmt(dec_value(da) + dec_value(db)))
            elif op == '-':
                expected = fmt(*int_sub(a, b))
                check(label, expected, dec_fmt(dec_value(da) - dec_value(db)))
            elif op == '*':
                expected = fmt(*int_mul(a, b))
                check(label, expected, dec_fmt(dec_limit(dec_value(da) * dec_value(db))))
            elif op == '/':
                expected = fmt(*int_div(a, b))
                check(label, expected, dec_fmt(dec_div(dec_value(da), dec_value(db))))
            else:
                expected = str(int_cmp(a, b))
                check(label, expected, str(int(dec_value(da).compare(dec_value(db)))))
            lines.append([f'D{op}', a_text, b_text, expected])
            made += 1

    for _ in range(PER_OP):
        text = parse_text(rng)
        value = ref_parse(text)
        expected = fmt(*value)
        check(repr(text), expected, dec_fmt(dec_from_text(text)))
        lines.append(['P', text, expected])

    for _ in range(PER_OP):
        text = dec_text(rng)
        places = rng.choice([0, 1, 2, 3, rng.randint(0, 35)])
        n, k = ref_parse(text)
        expected = fmt_places(n, k, places)
        rounded = dec_value(dec_from_text(text)).quantize(Decimal(1).scaleb(-places),
                                               rounding=decimal.ROUND_HALF_DOWN)
        alt = format(rounded, 'f')
        if rounded == 0:
            alt = alt.lstrip('-')
        check(repr(text) + f' to {places}', expected, alt)
        lines.append(['R', text, places, expected])

    # Arbitrary short texts over the characters that matter: each either reads as a value or
    # is refused at a position, for CDecimal and CBigInteger alike.
    alphabet = '0123456789' * 3 + '+-.eE  x,\r\n'
    made = 0
    while made < 2 * PER_OP:
        text = ''.join(rng.choice(alphabet) for _ in range(rng.randint(0, 12)))
        try:
            decimal_expected = fmt(*ref_parse(text))
        except BadText as bad:
            decimal_expected = '!' + str(bad.position)
        try:
            integer_expected = str(ref_big_integer(text))
        except BadText as bad:
            integer_expected = '!' + str(bad.position)
        if '!-1' in (decimal_expected, integer_expected):
            continue  # over the exponent limit; the unit tests cover its message
        if len(decimal_expected) > 200:
            continue  # a big exponent; the unit tests cover those
        lines.append(['X', text, decimal_expected, integer_expected])
        made += 1

    escapes = {'\\': '\\\\', '|': '\\|', '\r': '\\r', '\n': '\\n', '\t': '\\t', ' ': '\\x20'}
    with open(out_path, 'w', encoding='ascii', newline='\n') as out:
        out.write('# Generated by tools/gen_decimal_cases.py; do not edit.\n')
        for cells in lines:
            out.write(' | '.join(''.join(escapes.get(c, c) for c in str(cell)) for cell in cells) + '\n')
    print(f'{len(lines)} cases written to {out_path}')


if __name__ == '__main__':
    main()
