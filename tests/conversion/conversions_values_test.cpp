#include <gtest/gtest.h>

#include <string>

#include "support/expect_exception.h"
#include "tessel16/binary_data.h"
#include "tessel16/conversions.h"
#include "tessel16/decimal.h"
#include "tessel16/exception.h"
#include "values/decimal_messages.h"

using namespace Tessel16;
using Tessel16::test::ThrowsExactly;
using C = CConversions;
using WS = CWhitespaceUtils;
constexpr WS::WhitespaceRule kNone = WS::WhitespaceRule_None;
constexpr WS::WhitespaceRule kCollapse = WS::WhitespaceRule_Collapse;

TEST(ValueConversions, DecimalFormsAndFormat) {
    EXPECT_EQ(C::decimalToString(C::decimalFromString("1.50", kNone)), "1.5");
    EXPECT_EQ(C::decimalToString(C::decimalFromString(" -0012.250\n", kCollapse)), "-12.25");
    EXPECT_EQ(C::decimalToString(C::decimalFromString("12", kNone)), "12");
    // A non-empty format gives the fraction digits, read like atoi.
    const CDecimal d = C::decimalFromString("3.14159", kNone);
    EXPECT_EQ(C::decimalToString(d, "2"), "3.14");
    EXPECT_EQ(C::decimalToString(d, "4 digits"), "3.1416");
    EXPECT_EQ(C::decimalToString(d, ""), "3.14159");
    EXPECT_EQ(C::decimalToString(C::decimalFromString("2", kNone), "3"), "2.000");
    EXPECT_EQ(C::decimalToString(d, "x"), C::decimalToString(d, "0"));

    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [] { C::decimalFromString("12a", kNone); },
        FormatString(detail::kDecimalInvalidChar, 2, "12a")));
    EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
        [] { C::decimalFromString("1.2.3", kNone); },
        FormatString(detail::kDecimalInvalidChar, 3, "1.2.3")));
}


TEST(ValueConversions, BinaryForms) {
    const CBinaryData hex = C::hexBinaryFromString("0fa0", kNone);
    ASSERT_EQ(hex.GetLength(), 2u);
    EXPECT_EQ(hex[0], 0x0F);
    EXPECT_EQ(hex[1], 0xA0);
    EXPECT_EQ(C::hexBinaryToString(hex), "0FA0");
    EXPECT_EQ(C::hexBinaryToString(C::hexBinaryFromString("  0FA0 ", kCollapse)), "0FA0");
    EXPECT_TRUE(ThrowsExactly<CTsException>([] { C::hexBinaryFromString("0FA", kNone); },
                                            "Invalid length in hex string"));
    EXPECT_TRUE(ThrowsExactly<CTsException>([] { C::hexBinaryFromString("0G", kNone); },
                                            "Invalid char in hex string [G]"));
    EXPECT_EQ(C::hexBinaryFromString("", kNone).GetLength(), 0u);

    EXPECT_EQ(C::base64BinaryToString(C::base64BinaryFromString("TWFu", kNone)), "TWFu");
    EXPECT_EQ(C::base64BinaryToString(C::base64BinaryFromString("TW\nFu", kNone)), "TWFu");
    EXPECT_EQ(C::base64BinaryFromString("TWE=", kNone).GetLength(), 2u);
    EXPECT_EQ(C::base64BinaryFromString("TQ==", kNone).GetLength(), 1u);
    // Text that is not base64 would decode to other bytes than it holds: refused.
    for (const char* text : {"TW*u", "A", "AQ*D", "TWE", "TW=u", "T===", "TQ=", "TWFu="}) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(ThrowsExactly<CTsInvalidValueException>(
            [&] { C::base64BinaryFromString(text, kNone); },
            FormatString("The value [%s] can not be converted to a base64Binary", text)));
    }
    EXPECT_EQ(C::base64BinaryToString(CBinaryData()), "");
}

TEST(ValueConversions, DateKindsComeFromTheText) {
    // The five date writers are one operation: a time written through dateToString is a time.
    const CDateTime time = C::timeFromString("12:30:00.5", kNone);
    EXPECT_EQ(C::dateToString(time), "12:30:00.5");
    EXPECT_EQ(C::datetimeToString(time), C::monthDayToString(time));
    EXPECT_EQ(C::dateFromString("--05", kNone).GetType(), CDateTime::dt_gMonth);
    EXPECT_EQ(C::dateFromString("--05--", kNone).GetType(), CDateTime::dt_gMonth);
    EXPECT_EQ(C::yearMonthFromString("2004-05", kNone).GetType(), CDateTime::dt_gYearMonth);
    EXPECT_EQ(C::monthDayFromString("--02-29", kNone).GetType(), CDateTime::dt_gMonthDay);
    EXPECT_EQ(C::datetimeFromString(" 2004-02-29T00:00:00Z ", kCollapse).GetType(),
              CDateTime::dt_dateTime);
    EXPECT_EQ(C::durationToString(C::durationFromString("PT1.5S", kNone)), "PT1.5S");

    EXPECT_THROW(C::dateFromString("2003-02-29", kNone), CTsInvalidValueException);
    EXPECT_THROW(C::datetimeFromString("2004-02-29", kNone), CTsInvalidValueException);
    EXPECT_THROW(C::timeFromString("25:00:00", kNone), CTsInvalidValueException);
    EXPECT_THROW(C::durationFromString("P1DT", kNone), CTsInvalidValueException);
    EXPECT_THROW(C::dateFromString(" 2004-01-01", kNone), CTsInvalidValueException);
}
