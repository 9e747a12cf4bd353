#include "tessel16/binary_data.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "support/expect_exception.h"
#include "support/test_table.h"
#include "tessel16/exception.h"

using namespace Tessel16;
using Tessel16::test::ThrowsExactly;

namespace {
CBinaryData Bytes(std::vector<unsigned char> v) {
    return CBinaryData(v.data(), static_cast<std::uint32_t>(v.size()), false);
}

// Hex digits to bytes, read independently of the class under test.
CBinaryData FromHex(const std::string& hex) {
    std::vector<unsigned char> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return Bytes(bytes);
}
}  // namespace

TEST(BinaryData, Base64EncodingPadsToFourCharacters) {
    for (const test::TableRow& c : test::ReadTable("values/binary_base64.txt")) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(FromHex(c[0]).GetAsBase64(), c[1]);
        CBinaryData back;
        back.SetAsBase64(c[1].c_str());
        EXPECT_EQ(back, FromHex(c[0]));
    }
}

TEST(BinaryData, Base64DecodingSkipsBlanksAndRejectsStrayCharacters) {
    CBinaryData plain, spaced, bad;
    plain.SetAsBase64("SGVsbG8gd29ybGQ=");
    spaced.SetAsBase64(" SGVs\nbG8g\r\nd29y\tbGQ =");
    EXPECT_EQ(plain, CBinaryData("Hello world"));
    EXPECT_EQ(spaced, plain);
    EXPECT_NO_THROW(bad.SetAsBase64("SGVs*bG8="));
    EXPECT_EQ(bad, CBinaryData());
    // Bits that do not complete a byte are dropped.
    CBinaryData partial;
    partial.SetAsBase64("TWF");
    EXPECT_EQ(partial, Bytes({'M', 'a'}));
}

TEST(BinaryData, HexBothWays) {
    EXPECT_EQ(Bytes({0x0F, 0xA0}).GetAsHexString(), "0FA0");
    CBinaryData h;
    h.SetAsHexString("0fa0");
    EXPECT_EQ(h, Bytes({0x0F, 0xA0}));
    h.SetAsHexString("");
    EXPECT_EQ(h.GetData(), nullptr);
    // The empty text and the refusals with their messages are rows of conversion/text_reads.txt.
}

TEST(BinaryData, CopiesShareUntilOneSideWrites) {
    CBinaryData a = Bytes({1, 2, 3});
    CBinaryData b;
    b = a;
    EXPECT_EQ(a.GetData(), b.GetData());
    b[0] = 9;
    EXPECT_NE(a.GetData(), b.GetData());
    EXPECT_EQ(a[0], 1);
    EXPECT_EQ(b[0], 9);
    CBinaryData c(a);
    c.Append('x');
    EXPECT_EQ(a.GetLength(), 3u);
    EXPECT_EQ(c.GetLength(), 4u);
}

TEST(BinaryData, ReleaseDataOnlyWhenUnshared) {
    CBinaryData a = Bytes({1, 2});
    CBinaryData shared(a);
    EXPECT_TRUE(ThrowsExactly<CTsException>(
        [] {
            CBinaryData x = Bytes({1});
            CBinaryData y(x);
            x.ReleaseData();
        },
        "Failed to release data. [RefCount=1]"));
    shared.Clear();
    unsigned char* raw = a.ReleaseData();
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(raw[1], 2);
    delete[] raw;
    EXPECT_EQ(a.GetData(), nullptr);
    EXPECT_EQ(a.GetLength(), 0u);
    EXPECT_EQ(CBinaryData().ReleaseData(), nullptr);
}

TEST(BinaryData, EqualityConstructionAndIndexRange) {
    const CBinaryData two = Bytes({1, 2});
    EXPECT_TRUE(ThrowsExactly<CTsException>([&] { (void)two[2]; }, "Index Out of range [2]"));
    const CBinaryData empty;
    EXPECT_TRUE(ThrowsExactly<CTsException>([&] { (void)empty[0]; }, "Index Out of range [0]"));
    EXPECT_EQ(CBinaryData(), CBinaryData());
    EXPECT_NE(CBinaryData(), Bytes({0}));
    EXPECT_NE(Bytes({1, 2}), Bytes({1, 3}));
    EXPECT_NE(Bytes({1, 2}), Bytes({1, 2, 3}));
    EXPECT_EQ(CBinaryData("abc"), Bytes({'a', 'b', 'c'}));
    EXPECT_EQ(CBinaryData("").GetData(), nullptr);
    auto* adopted = new unsigned char[2]{7, 8};
    CBinaryData owner(adopted, 2, true);
    EXPECT_EQ(owner.GetData(), adopted);
}

TEST(BinaryData, AppendGrowsAndHandlesSelfAppend) {
    CBinaryData a;
    std::string expected;
    for (int i = 0; i < 20000; ++i) {
        a.Append(static_cast<char>('a' + i % 26));
        expected += static_cast<char>('a' + i % 26);
    }
    a.Append(std::string("tail"));
    a.Append("");
    expected += "tail";
    ASSERT_EQ(a.GetLength(), expected.size());
    EXPECT_EQ(std::memcmp(a.GetData(), expected.data(), expected.size()), 0);

    CBinaryData s = Bytes({1, 2, 3});
    s.Append(s);
    EXPECT_EQ(s, Bytes({1, 2, 3, 1, 2, 3}));
    CBinaryData t = Bytes({4, 5});
    t.Append(t.GetData(), t.GetLength());  // source inside the buffer itself
    EXPECT_EQ(t, Bytes({4, 5, 4, 5}));
}

TEST(BinaryData, SharedRecordSurvivesCopiesFromManyThreads) {
    CBinaryData source = Bytes({1, 2, 3, 4});
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&source] {
            for (int i = 0; i < 2000; ++i) {
                CBinaryData copy(source);
                CBinaryData other;
                other = copy;
                other.Append('z');  // unshares the local copy
            }
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_EQ(source, Bytes({1, 2, 3, 4}));
}
