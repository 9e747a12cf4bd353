// output_entry_points_test.cpp: every XML output path of the object base, driven by a small
// bindable tree: strings, UTF-8/UTF-16 bytes, gzip/zlib bytes (inflated back with zlib
// itself), files in memory and direct, and the refusals of bad settings.
#include <gtest/gtest.h>

#include <string>

#include "binding/binding_messages.h"
#include "binding/entry_support.h"
#include "support/expect_exception.h"
#include "support/test_node.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/switches.h"
#include "writers/writer_messages.h"
#include "xml/stream_messages.h"

using namespace Tessel16;
using Tessel16::test::BytesOf;
using Tessel16::test::CTestNode;
using Tessel16::test::Inflate;
using Tessel16::test::ReadFileBytes;
using Tessel16::test::TempPath;
using Tessel16::test::ThrowsExactly;

namespace {

// A purchase-order-like tree, large enough to shrink under compression and to need several
// 4096-byte flushes on the direct file path.
CSmartPtr<CTestNode> Order(int lines) {
    CSmartPtr<CTestNode> order = CTestNode::Create("order", "urn:po");
    order->AddAttribute("id", "PO-1");
    CTestNode* customer = order->AddChild("customer");
    customer->AddChild("name", "Zo\xC3\xAB & Sons <Ltd>");
    for (int i = 0; i < lines; ++i) {
        CTestNode* line = order->AddChild("line");
        line->AddAttribute("n", std::to_string(i));
        line->AddChild("sku", "SKU" + std::to_string(1000000 + i));
        line->AddChild("note", "first\nsecond");
    }
    return order;
}

class OutputEntryPoints : public ::testing::Test {
protected:
    void TearDown() override { AsyncToXmlFile(false); }
    CSerializationContext ctx;
};

}  // namespace

TEST_F(OutputEntryPoints, ToXmlStreamEncodesUtf8AndUtf16) {
    CSmartPtr<CTestNode> root = CTestNode::Create("r");
    root->SetText("\xC3\xA9");
    const auto stream = [&](XmlEncoding encoding) {
        return BytesOf(
            root->ToXmlStream(true, false, encoding, EOLType_LF, ctx, CompressionType_None));
    };
    EXPECT_EQ(stream(XmlEncoding_UTF8),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r>\xC3\xA9</r>");
    const std::string utf16 = stream(XmlEncoding_UTF16);
    const std::string decl = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<r>";
    std::string expected;
    for (char c : decl) expected += std::string{c, '\0'};
    expected += std::string("\xE9\0<\0/\0r\0>\0", 10);
    EXPECT_EQ(utf16, expected);
    const std::string undeclared = stream(XmlEncoding_UTF16_NoDecl);
    EXPECT_EQ(undeclared.substr(0, 24), std::string("<\0?\0x\0m\0l\0 \0v\0e\0r\0s\0i\0o\0", 24));
    EXPECT_EQ(undeclared.find(std::string("e\0n\0c\0", 6)), std::string::npos);
}

TEST_F(OutputEntryPoints, CompressedStreamsInflateToThePlainBytes) {
    CSmartPtr<CTestNode> order = Order(40);
    const std::string plain = BytesOf(
        order->ToXmlStream(true, true, XmlEncoding_UTF8, EOLType_LF, ctx, CompressionType_None));
    const std::string gzip = BytesOf(
        order->ToXmlStream(true, true, XmlEncoding_UTF8, EOLType_LF, ctx, CompressionType_GZip));
    const std::string zlib = BytesOf(
        order->ToXmlStream(true, true, XmlEncoding_UTF8, EOLType_LF, ctx, CompressionType_ZLib));
    EXPECT_EQ(gzip.substr(0, 2), "\x1F\x8B");
    EXPECT_LT(gzip.size(), plain.size());
    EXPECT_EQ(Inflate(gzip, 16 + 15), plain);
    EXPECT_EQ(zlib.substr(0, 1), "\x78");
    EXPECT_EQ(Inflate(zlib, 15), plain);
}

TEST_F(OutputEntryPoints, ContextSettingsReachTheWriterAndCompressionThatWouldGrowFails) {
    CSmartPtr<CTestNode> tiny = CTestNode::Create("r");
    tiny->AddChild("c")->AddChild("g");
    ctx.SetIndentChars("  ");
    EXPECT_EQ(tiny->ToXml(false, true, EOLType_CRLF, ctx),
              "<r>\r\n  <c>\r\n    <g/>\r\n  </c>\r\n</r>\r\n");
    for (CompressionType type : {CompressionType_GZip, CompressionType_ZLib}) {
        const auto e = test::Caught<CTsException>(
            [&] { tiny->ToXmlStream(false, false, XmlEncoding_UTF8, EOLType_LF, ctx, type); });
        ASSERT_TRUE(e) << "compressed output longer than its input";
        EXPECT_EQ(e->GetMessage().rfind("Failed to compress data. [Error Code: ", 0), 0u)
            << e->GetMessage();
    }
    CBinaryData empty;
    detail::CompressData(empty, CompressionType_GZip);
    EXPECT_EQ(empty.GetLength(), 0u);
    CBinaryData other("unchanged");
    detail::CompressData(other, static_cast<CompressionType>(7));
    EXPECT_EQ(BytesOf(other), "unchanged");
}

TEST_F(OutputEntryPoints, FilesWrittenBothWaysAreIdentical) {
    CSmartPtr<CTestNode> order = Order(300);  // well past several 4096-byte flushes
    const struct {
        XmlEncoding encoding;
        EOLType eol;
    } cases[] = {{XmlEncoding_UTF8, EOLType_LF},
                 {XmlEncoding_UTF16, EOLType_CRLF},
                 {XmlEncoding_UTF16_NoDecl, EOLType_LF}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.encoding);
        const std::string memoryPath = TempPath("order_memory.xml");
        const std::string directPath = TempPath("order_direct.xml");
        order->ToXmlFile(memoryPath.c_str(), true, true, c.encoding, c.eol, ctx,
                         CompressionType_None);
        AsyncToXmlFile(true);
        order->ToXmlFile(directPath.c_str(), true, true, c.encoding, c.eol, ctx,
                         CompressionType_None);
        AsyncToXmlFile(false);
        const std::string memory = ReadFileBytes(memoryPath);
        const std::string direct = ReadFileBytes(directPath);
        EXPECT_GT(memory.size(), 3u * 4096u);
        EXPECT_EQ(memory, direct);
        const std::string stream =
            BytesOf(order->ToXmlStream(true, true, c.encoding, c.eol, ctx, CompressionType_None));
        const bool utf16 = c.encoding != XmlEncoding_UTF8;
        EXPECT_EQ(memory, (utf16 ? std::string("\xFF\xFE") : std::string()) + stream);
    }
}

TEST_F(OutputEntryPoints, BadSettingsGetTheirMessages) {
    CSmartPtr<CTestNode> order = Order(1);
    auto expectMessage = [](auto call, const std::string& message) {
        EXPECT_TRUE(ThrowsExactly<CTsException>(call, message));
    };
    const auto badEol = static_cast<EOLType>(2);
    expectMessage([&] { order->ToXml(true, true, badEol, ctx); }, detail::kMsgInvalidEolType);
    expectMessage(
        [&] {
            order->ToXmlStream(true, true, XmlEncoding_UTF8, badEol, ctx, CompressionType_None);
        },
        detail::kMsgInvalidEolType);
    expectMessage(
        [&] {
            order->ToXmlStream(true, false, XmlEncoding_None, EOLType_LF, ctx,
                               CompressionType_None);
        },
        detail::kMsgUnknownEncoding);
    for (bool direct : {false, true}) {
        AsyncToXmlFile(direct);
        expectMessage(
            [&] {
                order->ToXmlFile("/nonexistent-tessel-dir/po.xml", true, true, XmlEncoding_UTF8,
                                 EOLType_LF, ctx, CompressionType_None);
            },
            "Failed to write data to the file [/nonexistent-tessel-dir/po.xml] error "
            "[0x00000002]");
    }
}
