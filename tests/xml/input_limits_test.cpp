// The reader's limits against hostile input: nesting depth, inflated size, entity
// amplification, names chosen to collide in the name tables, and lengths beyond 32 bits. Each
// limit is refused with a message naming it and how to raise it, and raising it lets the same
// input through.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <set>
#include <string>

#include "support/expect_exception.h"
#include "support/test_node.h"
#include "tessel16/binary_data.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/xml_document.h"
#include "xml/xml_messages.h"

namespace {

using namespace Tessel16;
using Tessel16::test::Compress;
using Tessel16::test::ThrowsExactly;
namespace msg = detail::XmlMessages;

void LoadBytes(const std::string& bytes, const CSerializationContext& context) {
    CXmlDocument document(context);
    std::string copy = bytes;
    document.LoadXmlStream(reinterpret_cast<unsigned char*>(&copy[0]),
                           static_cast<std::uint32_t>(copy.size()));
}

std::string Nested(int depth) {
    std::string xml;
    for (int i = 0; i < depth; ++i) xml += "<a>";
    for (int i = 0; i < depth; ++i) xml += "</a>";
    return xml;
}

TEST(InputLimits, NestingDepth) {
    const std::uint32_t limit = CSerializationContext::kDefaultMaxDepth;
    CXmlDocument document;
    document.LoadXml(Nested(static_cast<int>(limit)).c_str());
    const std::string tooDeep = Nested(static_cast<int>(limit) + 1);
    EXPECT_TRUE(ThrowsExactly<CTsException>([&] { document.LoadXml(tooDeep.c_str()); },
                                            FormatString(msg::kTooDeep, limit, 1)));
    CSerializationContext raised;
    raised.SetMaxDepth(limit + 1);
    CSerializationContext copy(raised);  // limits travel with the other settings
    CXmlDocument deeper(copy);
    deeper.LoadXml(tooDeep.c_str());
    EXPECT_NE(deeper.GetDocumentElement(), nullptr);
}

TEST(InputLimits, InflatedSizeIsBoundedByRatioAndCap) {
    // 5 MiB of text packs into a few kilobytes: far beyond the default ratio, and above the
    // floor that small documents may always inflate to.
    const std::string xml = "<a>" + std::string(5u << 20, 'q') + "</a>";
    const std::string packed = Compress(xml, 31);
    const auto ratioMessage = FormatString(msg::kInflatedTooLarge, 4ull << 20,
                                           static_cast<unsigned long long>(packed.size()));
    EXPECT_TRUE(ThrowsExactly<CTsException>([&] { LoadBytes(packed, CSerializationContext()); },
                                            ratioMessage));
    CSerializationContext generous;
    generous.SetMaxInflateRatio(100000);
    LoadBytes(packed, generous);

    // The cap, at the document's own size of 5007 bytes and just below it.
    const std::string small = Compress("<a>" + std::string(5000, 'q') + "</a>", 31);
    for (unsigned long long cap : {4096ull, 5006ull}) {
        CSerializationContext capped;
        capped.SetMaxInflatedSize(cap);
        EXPECT_TRUE(ThrowsExactly<CTsException>(
            [&] { LoadBytes(small, capped); },
            FormatString(msg::kInflatedTooLarge, cap,
                         static_cast<unsigned long long>(small.size()))));
    }
    CSerializationContext exact;
    exact.SetMaxInflatedSize(5007);
    LoadBytes(small, exact);
}

TEST(InputLimits, EntityAmplificationIsTighterThanTheParsersDefault) {
    // About 17 times its size once expanded, past the size at which the parser starts to
    // measure: under its own default of 100 this would be read.
    std::string xml = "<!DOCTYPE r [<!ENTITY e '" + std::string(50, 'x') + "'>]><r>";
    for (int i = 0; i < 180000; ++i) xml += "&e;";
    xml += "</r>";
    EXPECT_TRUE(ThrowsExactly<CTsException>([&] { LoadBytes(xml, CSerializationContext()); },
                                            FormatString(msg::kAmplification, 10.0, 1)));
    CSerializationContext raised;
    raised.SetMaxEntityAmplification(100.0f);
    LoadBytes(xml, raised);

    EXPECT_TRUE(ThrowsExactly<CTsInvalidParamException>(
        [&] { raised.SetMaxEntityAmplification(0.5f); },
        "The entity amplification limit must be at least 1 [0.5]"));
    EXPECT_EQ(raised.GetMaxEntityAmplification(), 100.0f);
}

TEST(InputLimits, NamesThatShareTheirEndsDoNotCollide) {
    // Same length, same first and last sixteen bytes: names a hash of the ends alone would
    // put in one chain. The reader must still tell every one of them apart.
    const int count = 20000;
    std::string xml = "<r>";
    for (int i = 0; i < count; ++i) {
        char middle[16];
        std::snprintf(middle, sizeof(middle), "%08d", i);
        xml += "<n" + std::string(15, 'a') + middle + std::string(16, 'b') + "/>";
    }
    xml += "</r>";
    CXmlDocument document;
    document.LoadXml(xml.c_str());
    std::set<std::string> names;
    for (const CXmlElement* e = document.GetDocumentElement()->GetFirstElement(); e;
         e = e->GetNextSiblingElement())
        names.insert(e->GetLocalName());
    EXPECT_EQ(names.size(), static_cast<std::size_t>(count));
    EXPECT_EQ(*names.begin(), "n" + std::string(15, 'a') + "00000000" + std::string(16, 'b'));
}

// A C string longer than 4 GiB without 4 GiB of memory: one small file
// mapped again and again into a reserved range, with a terminator in the last piece.
class HugeText {
public:
    HugeText(std::size_t total, const std::string& pattern) {
        const std::size_t piece = 1u << 20;
        m_size = (total / piece + 1) * piece;
        m_base =
            mmap(nullptr, m_size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        FILE* file = std::tmpfile();
        std::string fill;
        while (fill.size() < piece) fill += pattern;
        fill.resize(piece);
        std::fwrite(fill.data(), 1, fill.size(), file);
        std::fflush(file);
        auto* at = static_cast<char*>(m_base);
        for (std::size_t offset = 0; offset + piece < m_size; offset += piece)
            mmap(at + offset, piece, PROT_READ, MAP_PRIVATE | MAP_FIXED, fileno(file), 0);
        // The last piece is private and writable, ending in zeros.
        mmap(at + m_size - piece, piece, PROT_READ | PROT_WRITE,
             MAP_PRIVATE | MAP_FIXED | MAP_ANONYMOUS, -1, 0);
        std::memcpy(at + m_size - piece, fill.data(), piece / 2);
        std::fclose(file);
    }
    ~HugeText() { munmap(m_base, m_size); }
    const char* Data() const { return static_cast<const char*>(m_base); }
    bool Ok() const { return m_base != MAP_FAILED; }

private:
    void* m_base;
    std::size_t m_size;
};

TEST(InputLimits, TextBeyondThirtyTwoBitsIsRefusedNotTruncated) {
    const std::size_t beyond = (std::size_t{1} << 32) + 16;
    HugeText text(beyond, "a");
    ASSERT_TRUE(text.Ok());
    CBinaryData data;
    EXPECT_TRUE(ThrowsExactly<CTsException>([&] { data.Append(text.Data()); },
                                            "The binary data would exceed 4294967295 bytes"));
    EXPECT_EQ(data.GetLength(), 0u);
}

bool ExhaustMemory(CXmlElement*) { throw std::bad_alloc(); }

TEST(InputLimits, RunningOutOfMemoryIsALibraryException) {
    CXmlDocument document(&ExhaustMemory);
    EXPECT_TRUE(
        ThrowsExactly<CTsException>([&] { document.LoadXml("<a><b/></a>"); }, msg::kOutOfMemory));
    EXPECT_EQ(document.GetDocumentElement(), nullptr);
}

}  // namespace
