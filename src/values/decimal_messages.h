// decimal_messages.h: the message texts of CBigInteger and CDecimal, kept in one table so the
// tests compare against the same constants the code throws with.
#pragma once

namespace Tessel16::detail {

constexpr const char* kDecimalInvalidChar =
    "The string representing a Decimal, contained an invalid char at position %d [%s].";
constexpr const char* kDecimalExponentLimit =
    "The string representing a Decimal [%s] has an exponent above the limit of %d.";
constexpr const char* kBigIntDivideByZero = "ERROR: Overflow in operator/.";
constexpr const char* kBigIntModuloByZero = "ERROR: Overflow in operator%.";
constexpr const char* kBigIntDivideAssignByZero = "ERROR: Overflow in operator /=.";
constexpr const char* kBigIntModuloAssignByZero = "ERROR: Overflow in operator%=.";
constexpr const char* kBigIntNegativeSquareRoot =
    "ERROR: Negative Number in function SquareRoot().";
constexpr const char* kBigIntLongLongOutOfBound = "ERROR: Value out of bound of LONGLONG.";
// The 32-bit conversion mirrors the 64-bit one's wording.
constexpr const char* kBigIntLongOutOfBound = "ERROR: Value out of bound of LONG.";
constexpr const char* kDecimalTooLargeForDouble =
    "The Decimal value if to large to fit into a Double";
constexpr const char* kDecimalTooLargeForLongLong =
    "The Decimal value if to large to fit into a LONGLONG";
constexpr const char* kDecimalTooLargeForLong = "The Decimal value if to large to fit into a LONG";

}  // namespace Tessel16::detail
