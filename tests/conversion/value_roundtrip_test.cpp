// Property tests: random values of every kind, extremes included, written and read back
// through the record path give the same value and the same text.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/value_roundtrip.h"

using namespace Tessel16;
using Tessel16::test::roundtrip_detail::Padded;

namespace {

class SeededDraw : public test::Draw {
public:
    explicit SeededDraw(std::uint64_t seed) : m_random(seed) {}
    std::uint64_t Next() override { return m_random(); }

private:
    std::mt19937_64 m_random;
};

TEST(ValueRoundTrip, EveryKindSurvivesWritingAndReading) {
    for (ItemType kind : test::kRoundTripKinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        SeededDraw draw(20261206u + static_cast<unsigned>(kind));
        int failures = 0;
        for (int i = 0; i < 3000 && failures < 5; ++i) {
            const std::string problem = test::RoundTripOne(kind, draw);
            if (!problem.empty()) {
                ADD_FAILURE() << problem;
                ++failures;
            }
        }
    }
}

// Every offset from -14:00 to +14:00, minute by minute, on each date kind.
TEST(ValueRoundTrip, EveryZoneOffsetIsKept) {
    constexpr auto kNone = CWhitespaceUtils::WhitespaceRule_None;
    for (int offset = -14 * 60; offset <= 14 * 60; ++offset) {
        if (offset == 0) continue;  // written "+00:00" whatever its sign
        const int magnitude = offset < 0 ? -offset : offset;
        const std::string zone =
            (offset < 0 ? "-" : "+") + Padded(magnitude / 60) + ":" + Padded(magnitude % 60);
        SCOPED_TRACE(zone);
        const std::string dateTime = "2000-02-29T23:59:59.999999999" + zone;
        ASSERT_EQ(CConversions::datetimeToString(CConversions::datetimeFromString(dateTime, kNone)),
                  dateTime);
        const std::string time = "00:00:00" + zone;
        ASSERT_EQ(CConversions::timeToString(CConversions::timeFromString(time, kNone)), time);
        for (const char* form : {"-0001-12-31", "9999-12", "0001", "--02-29", "--12", "---31"}) {
            const std::string text = form + zone;
            ASSERT_EQ(CConversions::dateToString(CConversions::dateFromString(text, kNone)), text);
        }
    }
}

}  // namespace
