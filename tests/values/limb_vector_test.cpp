// limb_vector_test.cpp: LimbVector switches between its inline buffer and the heap; copies,
// moves and swaps across that boundary must keep every limb.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "tessel16/decimal.h"

using Tessel16::detail::LimbVector;

namespace {

LimbVector Make(std::uint32_t count) {
    LimbVector v;
    for (std::uint32_t i = 0; i < count; ++i) v.push_back(i * 7 + 1);
    return v;
}

std::vector<std::uint32_t> Contents(const LimbVector& v) {
    return std::vector<std::uint32_t>(v.begin(), v.end());
}

std::vector<std::uint32_t> Expected(std::uint32_t count) {
    std::vector<std::uint32_t> out;
    for (std::uint32_t i = 0; i < count; ++i) out.push_back(i * 7 + 1);
    return out;
}

}  // namespace

TEST(LimbVector, CopiesMovesAndSwapsAcrossTheInlineLimit) {
    // 0 and 3 fit inline, 4 fills it, 5 and 40 live on the heap.
    const std::uint32_t kSizes[] = {0, 3, 4, 5, 40};
    for (std::uint32_t a : kSizes) {
        for (std::uint32_t b : kSizes) {
            SCOPED_TRACE(testing::Message() << a << " and " << b);
            LimbVector x = Make(a);
            LimbVector y = Make(b);
            x.swap(y);
            EXPECT_EQ(Contents(x), Expected(b));
            EXPECT_EQ(Contents(y), Expected(a));

            LimbVector copy = Make(a);
            copy = x;
            EXPECT_EQ(Contents(copy), Expected(b));
            LimbVector moved = Make(a);
            moved = std::move(copy);
            EXPECT_EQ(Contents(moved), Expected(b));
            EXPECT_TRUE(copy.empty());  // NOLINT: a moved-from vector is empty by contract
            copy.push_back(9);          // and still usable
            EXPECT_EQ(Contents(copy), std::vector<std::uint32_t>{9});
            LimbVector constructed(std::move(moved));
            EXPECT_EQ(Contents(constructed), Expected(b));
        }
    }
}

TEST(LimbVector, InsertFrontShiftsTheLimbs) {
    LimbVector v = Make(3);
    v.insert_front(3, 0);
    EXPECT_EQ(Contents(v), (std::vector<std::uint32_t>{0, 0, 0, 1, 8, 15}));
    v.resize(2);
    v.insert_front(0, 5);
    EXPECT_EQ(Contents(v), (std::vector<std::uint32_t>{0, 0}));
    LimbVector& self = v;
    v = self;
    EXPECT_EQ(v.size(), 2u);
}
