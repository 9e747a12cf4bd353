// xml_loader_test.cpp: the load paths: strings, 16-bit strings, byte blocks, whole and
// chunked files, compressed input, and the messages of every failure.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "support/test_node.h"
#include "support/test_table.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/switches.h"
#include "tessel16/xml_document.h"
#include "xml/xml_messages.h"

using namespace Tessel16;
namespace msg = Tessel16::detail::XmlMessages;
using Tessel16::test::Compress;
using Tessel16::test::TempPath;
using Tessel16::test::WriteFileBytes;

namespace {

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CTsException& e) {
        return e.GetMessage();
    }
    return "<no exception>";
}

void LoadStream(CXmlDocument& doc, const std::string& bytes) {
    doc.LoadXmlStream(reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.data())),
                      static_cast<std::uint32_t>(bytes.size()));
}

// Restores the process-wide switch whatever the test does.
struct ChunkedReads {
    explicit ChunkedReads(bool on) { AsyncFromXmlFile(on); }
    ~ChunkedReads() { AsyncFromXmlFile(false); }
};

// A document of many records with multi-byte text, so chunk boundaries fall inside names,
// attribute values, text and UTF-8 sequences.
std::string LargeDocument(int records) {
    std::string xml = "<?xml version='1.0' encoding='UTF-8'?>\r\n<p:list xmlns:p='urn:list'>";
    for (int i = 0; i < records; ++i) {
        xml += "<p:record id='" + std::to_string(i) + "' note='caf\xC3\xA9 &amp; cr\xC3\xA8me'>";
        xml += "<name>Name number " + std::to_string(i) + " \xE2\x82\xAC</name>";
        xml += "<value>" + std::to_string(i * 7) + "</value></p:record>\r\n";
    }
    xml += "</p:list>";
    return xml;
}

void CheckLargeDocument(CXmlDocument& doc, int records) {
    CXmlElement* list = doc.GetDocumentElement();
    ASSERT_NE(list, nullptr);
    int count = 0;
    for (CXmlElement* r = list->GetFirstElement(); r; r = r->GetNextSiblingElement(), ++count) {
        if (r->GetAttribute("id", "") != std::to_string(count) ||
            r->GetAttribute("note", "") != "caf\xC3\xA9 & cr\xC3\xA8me" ||
            r->GetNamespaceURI() != "urn:list" ||
            r->GetFirstElement()->GetText() !=
                "Name number " + std::to_string(count) + " \xE2\x82\xAC" ||
            r->GetFirstElement()->GetNextSiblingElement()->GetText() != std::to_string(count * 7)) {
            ADD_FAILURE() << "record " << count << " differs";
            return;
        }
    }
    EXPECT_EQ(count, records);
    EXPECT_EQ(list->GetText(), std::string(static_cast<std::size_t>(records), '\n'));
}

}  // namespace

TEST(XmlLoader, EmptyInputsAreRejectedWithTheirMessages) {
    CXmlDocument doc;
    for (const char* text : {"", static_cast<const char*>(nullptr)})
        EXPECT_EQ(MessageOf([&] { doc.LoadXml(text); }), msg::kStringEmpty);
    const unsigned short empty16[] = {0};
    EXPECT_EQ(MessageOf([&] { doc.LoadXml(empty16); }), msg::kStringEmpty);
    unsigned char byte = '<';
    EXPECT_EQ(MessageOf([&] { doc.LoadXmlStream(&byte, 0); }), msg::kStreamEmpty);
    EXPECT_EQ(doc.GetDocumentElement(), nullptr);
}

TEST(XmlLoader, ParseErrorsCarryExpatTextAndLine) {
    for (const auto& row : Tessel16::test::ReadTable("xml/parse_errors.txt")) {
        SCOPED_TRACE("parse_errors.txt line " + std::to_string(row.line));
        // The first row is a lone blank: trimmed to nothing, so put it back.
        const std::string xml = row[0].empty() ? " " : row[0];
        CXmlDocument doc;
        EXPECT_EQ(MessageOf([&] { doc.LoadXml(xml.c_str()); }), row[1]);
    }
}

TEST(XmlLoader, SixteenBitTextIsReadAsUtf16WhateverTheDeclarationSays) {
    std::u16string text =
        u"<?xml version='1.0' encoding='UTF-8'?><a b='\u00e9'>\u20ac\U0001F600</a>";
    std::vector<unsigned short> units(text.begin(), text.end());
    units.push_back(0);
    CXmlDocument doc;
    doc.LoadXml(units.data());
    EXPECT_EQ(doc.GetDocumentElement()->GetText(), "\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(doc.GetDocumentElement()->GetAttribute("b", ""), "\xC3\xA9");
}

TEST(XmlLoader, ByteOrderMarkOrDeclarationDecidesTheEncodingOfAStream) {
    for (const auto& row : Tessel16::test::ReadTable("xml/stream_encodings.txt")) {
        SCOPED_TRACE("stream_encodings.txt line " + std::to_string(row.line));
        CXmlDocument doc;
        LoadStream(doc, row[0]);
        EXPECT_EQ(doc.GetDocumentElement()->GetText(), row[1]);
    }
}

TEST(XmlLoader, CompressedStreamsAreInflatedButStringsAndDamagedStreamsAreNot) {
    std::string xml = LargeDocument(200);
    for (int windowBits : {31, 15}) {
        SCOPED_TRACE(windowBits);
        std::string packed = Compress(xml, windowBits);
        CXmlDocument doc;
        LoadStream(doc, packed);
        CheckLargeDocument(doc, 200);

        std::string path = TempPath("xml_loader_packed.xml");
        WriteFileBytes(path, packed);
        CXmlDocument fromFile;
        fromFile.Load(path.c_str());
        CheckLargeDocument(fromFile, 200);
        // Chunked reads go straight to the parser, undecompressed.
        ChunkedReads chunked(true);
        EXPECT_EQ(MessageOf([&] { fromFile.Load(path.c_str()); }),
                  "not well-formed (invalid token) at line 1");
        std::remove(path.c_str());
    }
    // The same bytes as an 8-bit string reach the parser as they are.
    std::string packed = Compress("<a>compressed</a>", 31);
    CXmlDocument doc;
    EXPECT_EQ(MessageOf([&] { doc.LoadXml(packed.c_str()); }),
              "not well-formed (invalid token) at line 1");

    // Damaged compressed input is parsed as the raw bytes it is.
    packed = Compress(LargeDocument(50), 31);
    std::string truncated = packed.substr(0, packed.size() / 2);
    std::string corrupted = packed;
    corrupted[corrupted.size() / 2] ^= 0x5A;
    corrupted[corrupted.size() / 2 + 1] ^= 0x33;
    std::string badTrailer = packed;
    badTrailer[badTrailer.size() - 6] ^= 0x01;  // CRC of the gzip trailer
    for (const std::string& bytes : {truncated, corrupted, badTrailer}) {
        std::string message = MessageOf([&] { LoadStream(doc, bytes); });
        EXPECT_NE(message.find(" at line "), std::string::npos) << message;
    }

    // The inflated output grows in 64 KiB steps; documents ending right at a step must not
    // lose their end.
    for (std::size_t size : {65535u, 65536u, 65537u, 131072u, 1048576u + 3u}) {
        SCOPED_TRACE(size);
        const std::string text = "<a>" + std::string(size - 7, 'q') + "</a>";
        ASSERT_EQ(text.size(), size);
        for (int windowBits : {31, 15}) {
            CXmlDocument inflated;
            LoadStream(inflated, Compress(text, windowBits));
            EXPECT_EQ(inflated.GetDocumentElement()->GetText().size(), size - 7);
        }
    }
}

TEST(XmlLoader, WholeFileErrorsNameTheFileAndTheSystemError) {
    std::string missing = TempPath("xml_loader_does_not_exist.xml");
    std::remove(missing.c_str());
    CXmlDocument doc;
    EXPECT_EQ(MessageOf([&] { doc.Load(missing.c_str()); }),
              FormatString(msg::kOpenFailed, missing.c_str(), unsigned{ENOENT}));
    const std::string dir = TempPath("");  // the test folder, ending in '/'

    EXPECT_EQ(MessageOf([&] { doc.Load(dir.c_str()); }),
              FormatString(msg::kOpenFailed, dir.c_str(), unsigned{EISDIR}));
    // An empty file read whole reaches the parser.
    std::string empty = TempPath("xml_loader_empty.xml");
    WriteFileBytes(empty, "");
    EXPECT_EQ(MessageOf([&] { doc.Load(empty.c_str()); }), "no element found at line 1");
    {
        ChunkedReads chunked(true);
        EXPECT_EQ(MessageOf([&] { doc.Load(empty.c_str()); }),
                  FormatString(msg::kReadFailed, empty.c_str(), msg::kEndOfFileError));
        EXPECT_EQ(MessageOf([&] { doc.Load(missing.c_str()); }),
                  FormatString(msg::kOpenFailed, missing.c_str(), unsigned{ENOENT}));
        // /proc/self/mem opens, claims size 0 and fails every read at offset 0 with EIO: a
        // failing chunk read, the first one included, does not name the file.
        EXPECT_EQ(MessageOf([&] { doc.Load("/proc/self/mem"); }),
                  FormatString(msg::kChunkReadFailed, unsigned{EIO}));
    }
    std::remove(empty.c_str());
}

TEST(XmlLoader, ChunkedAndWholeFileReadsGiveTheSameTrees) {
    // About 3 MB: many 128 KiB chunks, boundaries falling anywhere in the markup.
    const int records = 30000;
    std::string xml = LargeDocument(records);
    ASSERT_GT(xml.size(), 3u * 131072u * 7u);
    std::string path = TempPath("xml_loader_large.xml");
    WriteFileBytes(path, xml);
    // Without namespace processing a prefixed name is the local name and no prefix map is kept.
    CSerializationContext context;
    context.SetSchemaType(static_cast<SchemaType>(2));
    std::string prefixed = TempPath("xml_loader_prefixed.xml");
    WriteFileBytes(prefixed, "<p:a xmlns:p='urn:x'><p:b/></p:a>");
    for (bool chunked : {false, true}) {
        SCOPED_TRACE(chunked);
        ChunkedReads mode(chunked);
        CXmlDocument doc;
        doc.Load(path.c_str());
        CheckLargeDocument(doc, records);
        CXmlDocument plain(context);
        plain.Load(prefixed.c_str());
        EXPECT_EQ(plain.GetDocumentElement()->GetLocalName(), "p:a");
        EXPECT_EQ(plain.GetDocumentElement()->GetFirstElement()->GetLocalName(), "p:b");
        EXPECT_EQ(plain.LookupNamespaceFromAlias("p"), "");
    }
    std::remove(prefixed.c_str());

    // Exactly two chunks: the last read finds the end of the file at once.
    ChunkedReads chunked(true);
    xml = "<a>" + std::string(2 * 131072 - 7, 'x') + "</a>";
    ASSERT_EQ(xml.size(), 2u * 131072u);
    WriteFileBytes(path, xml);
    CXmlDocument doc;
    doc.Load(path.c_str());
    EXPECT_EQ(doc.GetDocumentElement()->GetText().size(), 2u * 131072u - 7u);

    // A parse error in a later chunk reports the line counted over the whole file.
    WriteFileBytes(path, std::string("<a>\n") + std::string(300000, 'y') + "\n\n</b>");
    EXPECT_EQ(MessageOf([&] { doc.Load(path.c_str()); }), "mismatched tag at line 4");
    std::remove(path.c_str());
}
