// stream_test.cpp: the chunked text buffer, output encodings of the text stream, and the two
// file streams (byte-order mark first, offsets, the system error number in failures).
#include <gtest/gtest.h>

#include <string>

#include "support/expect_exception.h"
#include "support/test_node.h"
#include "tessel16/exception.h"
#include "tessel16/streams.h"
#include "xml/stream_messages.h"

using namespace Tessel16;
using Tessel16::test::BytesOf;
using Tessel16::test::ReadFileBytes;
using Tessel16::test::TempPath;
using Tessel16::test::ThrowsMessage;

namespace {
std::string Pattern(std::size_t length) {
    std::string s;
    for (std::size_t i = 0; i < length; ++i) s += static_cast<char>('a' + i % 26);
    return s;
}

}  // namespace

TEST(StringBuffer, AppendsAcrossChunksJoinsOnceClearsAndStopsAtAZeroByte) {
    CStringBuffer buffer;
    EXPECT_STREQ(buffer.GetString(), "");
    std::string expected = Pattern(10000);
    buffer.Append(expected);
    EXPECT_EQ(buffer.GetLength(), 10000u);
    const char* joined = buffer.GetString();
    EXPECT_EQ(std::string(joined), expected);
    EXPECT_EQ(buffer.GetString(), joined);  // already one block: no second join
    for (int i = 0; i < 3000; ++i) {
        const std::string piece = Pattern(static_cast<std::size_t>(i % 7));
        buffer.Append(piece);
        buffer.Append('|');
        expected += piece + "|";
    }
    EXPECT_EQ(buffer.GetLength(), expected.size());
    EXPECT_EQ(std::string(buffer.GetString()), expected);
    buffer.Clear();  // several chunks: freed
    EXPECT_EQ(buffer.GetLength(), 0u);
    EXPECT_STREQ(buffer.GetString(), "");
    buffer.Append("ab");
    buffer.Clear();  // one chunk: kept and zeroed
    EXPECT_STREQ(buffer.GetString(), "");
    buffer.Append("q");
    EXPECT_STREQ(buffer.GetString(), "q");

    // Short and long strings take different paths; both end at an embedded zero byte.
    const std::string cases[] = {std::string("ab\0cd", 5),
                                 std::string("abcdefghijklmno\0p", 17),
                                 std::string(40, 'x') + std::string("\0y", 2),
                                 "sixteen-chars-ab",
                                 std::string(17, 'z'),
                                 ""};
    for (const std::string& text : cases) {
        CStringBuffer fresh;
        fresh.Append(text);
        fresh.Append(std::string("|"));
        EXPECT_EQ(std::string(fresh.GetString()), std::string(text.c_str()) + "|");
    }
}

TEST(TextStream, ConvertsToTheOutputEncodingAndTheBinaryStreamAppends) {
    const std::string text = "<a>\xC3\xA9</a>";  // internal text is UTF-8 by default
    {
        CTextStream s(XmlEncoding_UTF8);
        s.Write(text);
        EXPECT_EQ(BytesOf(s.GetBinaryData()), text);
        CTextStream empty(XmlEncoding_UTF8);
        EXPECT_EQ(empty.GetBinaryData().GetLength(), 0u);
        EXPECT_EQ(empty.GetBinaryData().GetData(), nullptr);
    }
    for (XmlEncoding e : {XmlEncoding_UTF16, XmlEncoding_UTF16_NoDecl}) {
        CTextStream s(e);
        s.Write(text);
        EXPECT_EQ(BytesOf(s.GetBinaryData()),
                  std::string("<\0a\0>\0\xE9\0<\0/\0a\0>\0", 16));  // LE, no BOM
    }
    for (int e : {0, 4, -1}) {
        CTextStream s(static_cast<XmlEncoding>(e));
        s.Write('x');
        EXPECT_TRUE(ThrowsMessage([&] { s.GetBinaryData(); }, detail::kMsgUnknownEncoding));
    }

    // The binary stream appends bytes of every form.
    CBinaryStream b("CBinaryStream", CBinaryData("ab"));
    b.Append(static_cast<unsigned char>('c'));
    b.Append(CBinaryData("de"));
    unsigned char raw[] = {'f', 0, 'g'};
    b.Append(raw, 3);
    EXPECT_EQ(BytesOf(b.GetData()), std::string("abcdef\0g", 8));
}

TEST(FileTextStream, Utf16FileStartsWithByteOrderMarkThenFlushedText) {
    const std::string path = TempPath("stream_utf16.xml");
    CFileTextStream s(path.c_str(), XmlEncoding_UTF16);
    s.Open();
    s.Flush();  // nothing buffered: no write
    s.Write("ab");
    s.Flush();
    s.Write(std::string("c"));
    s.Close();
    EXPECT_EQ(ReadFileBytes(path), std::string("\xFF\xFE\x61\0b\0c\0", 8));
}

TEST(FileStreams, WriteFailuresCarryTheSystemError) {
    // /dev/full accepts the open and refuses every write with ENOSPC.
    {
        CFileTextStream s("/dev/full", XmlEncoding_UTF8);
        s.Open();
        s.Write("text");
        EXPECT_TRUE(ThrowsMessage([&] { s.Flush(); },
                                  "Failed to write data to the file. Error [0x0000001C]"));
        s.Close();  // already closed by the failure: nothing left to do
    }
    {
        CFileTextStream s("/dev/full", XmlEncoding_UTF16);
        EXPECT_THROW(s.Open(), CTsException);  // the byte-order mark cannot be written
    }
    CFileBinaryStream b("/dev/full", XmlEncoding_UTF8, CBinaryData("x"));
    EXPECT_TRUE(ThrowsMessage([&] { b.Write(); },
                              "Failed to write data to the file [/dev/full] error [0x0000001C]"));
}
