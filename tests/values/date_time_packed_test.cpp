// date_time_packed_test.cpp: CDateTime keeps its zone in narrow bit-fields; the extreme
// offsets must come back exactly, sign of -00:mm included.
#include <gtest/gtest.h>

#include "tessel16/date_time.h"

using namespace Tessel16;

TEST(DateTimePacked, ZoneExtremesSurviveTheNarrowFields) {
    struct Case {
        const char* text;
        short hour;
        unsigned char minute;
        bool negative;
    };
    const Case cases[] = {{"2024-02-29T23:59:59.999999999-23:59", -23, 59, true},
                          {"2024-02-29T00:00:00+23:59", 23, 59, false},
                          {"2024-02-29T12:00:00-00:01", 0, 1, true},
                          {"2024-02-29T12:00:00+00:59", 0, 59, false},
                          {"2024-02-29T12:00:00-00:00", 0, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const CDateTime value(c.text);
        EXPECT_EQ(value.GetZoneHour(), c.hour);
        EXPECT_EQ(value.GetZoneMinute(), c.minute);
        EXPECT_EQ(value.IsZoneNegative(), c.negative);
        EXPECT_TRUE(value.HasTimeZone());
        EXPECT_EQ(CDateTime(value.ToString().c_str()).ToString(), value.ToString());
    }
    CDateTime zoned(2024, 2, 29);
    zoned.SetTimeZone(-23, 59);
    EXPECT_EQ(zoned.ToString(), "2024-02-29-23:59");
    zoned.SetUTC();
    EXPECT_EQ(zoned.ToString(), "2024-02-29Z");
    EXPECT_FALSE(zoned.HasTimeZone());
    EXPECT_TRUE(zoned.IsUTC());
}
