// Property tests: random values of every kind, extremes included, written and read back
// through the record path give the same value and the same text.
#include <gtest/gtest.h>

#include <random>

#include "support/value_roundtrip.h"

using namespace Tessel16;

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

}  // namespace
