// The fiber under a streamed read: a switch keeps each side's callee-saved registers and
// floating-point rounding mode, and a body runs deep calls and exceptions on its own stack.
#include "platform/fiber.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <stdexcept>

namespace {

using Tessel16::detail::Fiber;

// Not inlined, so the values a loop keeps across a switch sit in callee-saved registers.
__attribute__((noinline)) long Mix(long a, long b, long c, long d) {
    return a * 3 + b * 5 + c * 7 + d * 11;
}

long Rounds(int rounds, Fiber* fiber) {
    long a = 1, b = 2, c = 3, d = 4, sum = 0;
    for (int i = 0; i < rounds; ++i) {
        if (fiber) fiber->Yield();
        a += i, b ^= i, c -= i, d += 2 * i;
        sum += Mix(a, b, c, d);
    }
    return sum;
}

struct Shared {
    Fiber* fiber = nullptr;
    long sum = 0;
    int rounding = -1;
    double third = 0;
};

// Divides in SSE registers, so the result follows the rounding mode of MXCSR rather than the
// x87 control word that fegetround reports.
double Third() {
    volatile double one = 1, three = 3;
    return one / three;
}

TEST(Fiber, SwitchesKeepEachSidesRegistersAndRoundingMode) {
    constexpr int kRounds = 1000;
    Shared shared;
    Fiber fiber(
        [](void* argument) {
            auto* s = static_cast<Shared*>(argument);
            std::fesetround(FE_UPWARD);
            s->sum = Rounds(kRounds, s->fiber);
            s->rounding = std::fegetround();
            s->third = Third();
        },
        &shared);
    shared.fiber = &fiber;
    const double nearest = Third();
    long x = 7, y = 9;
    int resumes = 0;
    while (!fiber.IsFinished()) {
        fiber.Resume();
        ++resumes, x = x * 3 % 1000003, y ^= x;
        ASSERT_EQ(std::fegetround(), FE_TONEAREST);
        ASSERT_EQ(Third(), nearest);
    }
    EXPECT_EQ(resumes, kRounds + 1);
    EXPECT_EQ(shared.sum, Rounds(kRounds, nullptr));
    EXPECT_EQ(shared.rounding, FE_UPWARD);
    EXPECT_GT(shared.third, nearest);
    long ex = 7, ey = 9;
    for (int i = 0; i < resumes; ++i) ex = ex * 3 % 1000003, ey ^= ex;
    EXPECT_EQ(x * 31 + y, ex * 31 + ey);
}

__attribute__((noinline)) int Deep(int depth) {
    volatile char frame[1024];
    frame[0] = 1;
    return depth == 0 ? 0 : Deep(depth - 1) + frame[0];
}

TEST(Fiber, BodyRunsDeepCallsAndExceptionsOnItsOwnStack) {
    Shared shared;
    Fiber fiber(
        [](void* argument) {
            auto* s = static_cast<Shared*>(argument);
            s->sum = Deep(4000);  // about 4 MB of frames
            try {
                throw std::runtime_error("inside");
            } catch (const std::runtime_error&) {
                s->rounding = 0;
            }
        },
        &shared);
    fiber.Resume();
    EXPECT_TRUE(fiber.IsFinished());
    EXPECT_EQ(shared.sum, 4000);
    EXPECT_EQ(shared.rounding, 0) << "the exception was caught inside";
    fiber.Resume();  // a finished fiber stays finished
    EXPECT_TRUE(fiber.IsFinished());
}

}  // namespace
