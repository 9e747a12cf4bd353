// fastinfoset_writer_test.cpp: the writer's octets: deferred headers, F0/FF terminators,
// namespace blocks, indexing thresholds, value encodings and declarations, checked against
// layouts worked out by hand from the format.
#include <gtest/gtest.h>

#include "fastinfoset/fi_test_support.h"
#include "support/expect_exception.h"
#include "support/test_table.h"
#include "support/writer_script.h"
#include "tessel16/exception.h"

using namespace Tessel16;
using namespace Tessel16::test;
using W = CFastInfosetWriter;

namespace {

const char* const kHeader = "E0 00 00 01 00 ";

TEST(FastInfosetWriter, WritesTheExpectedOctets) {
    CFastInfosetContext plain, suggested;
    suggested.SetSuggestedValues();
    for (const TableRow& c : ReadTable("fastinfoset/writer_octets.txt")) {
        SCOPED_TRACE("writer_octets.txt line " + std::to_string(c.line));
        const CBinaryData out = WriteFi(c[0] == "suggested" ? suggested : plain,
                                        [&](W& w) { RunWriterScript(w, c[1]); });
        EXPECT_EQ(Hex(out), kHeader + c[2]);
    }
}

TEST(FastInfosetWriter, IndexRangesAndValueIndicesSwitchAtTheirBoundaries) {
    CFastInfosetContext context;
    context.SetElementMaxAddLength(100);
    // Element names 32/33 and chunks 16/17 (r is element name 1): literal once, then
    // referenced.
    std::string script = "<r; ";
    for (int i = 2; i <= 33; ++i) script += "<n" + std::to_string(i) + "; >; ";
    script += "<n32; >; <n33; ";
    for (int i = 1; i <= 17; ++i) script += "<c; =t" + std::to_string(i) + "; >; ";
    script += "<c; =t16; =t17; >; >; >";
    std::string hex = Hex(WriteFi(context, [&](W& w) { RunWriterScript(w, script); }));
    EXPECT_NE(hex.find("F0 1F F0 20 00"), std::string::npos) << hex;  // n32 = 32, n33 = 33
    EXPECT_NE(hex.find("AF B0 00"), std::string::npos) << hex;        // chunks 16 and 17

    // Attribute value indices past 64 take two octets.
    script = "<r; ";
    for (int i = 1; i <= 65; ++i) script += "<e; @v=" + std::to_string(i) + "; >; ";
    script += "<e; @v=64; >; <e; @v=65; >; >";
    hex = Hex(WriteFi(CFastInfosetContext(), [&](W& w) { RunWriterScript(w, script); }));
    EXPECT_NE(hex.find("41 00 BF F0 F0 41 00 C0 00 F0 FF"), std::string::npos) << hex;
}

TEST(FastInfosetWriter, DeclarationsPrecedeTheIdentification) {
    CFastInfosetContext context;
    for (int d = 0; d <= 9; ++d) {
        const CBinaryData out = WriteFi(
            context, [](W& w) { RunWriterScript(w, "<a; >"); }, static_cast<FInfoDecl>(d));
        const std::string declaration = W::GetDeclaration(d);
        ASSERT_EQ(out.GetLength(), declaration.size() + 11) << d;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.GetData()), declaration.size()),
                  declaration);
        EXPECT_EQ(Hex(out.GetData() + declaration.size(), 4), "E0 00 00 01");
    }
    EXPECT_STREQ(W::GetDeclaration(5), "<?xml version='1.0' encoding='finf' standalone='yes'?>");
}

TEST(FastInfosetWriter, GeneratedVocabularyIsAnnouncedAndUsed) {
    CFastInfosetContext context;
    context.SetUseGeneratedVocabulary(true);
    context.SetExternalVocabularyURI("urn:v");
    context.GetVocabulary()->AddElement("", "", "a");
    const auto root = [](W& w) { RunWriterScript(w, "<a; >"); };
    EXPECT_EQ(Hex(WriteFi(context, root)), "E0 00 00 01 20 10 00 04 75 72 6E 3A 76 38 F0 00 FF");
    context.SetExternalVocabularyURI("");
    const std::string fixed = Hex(WriteFi(context, root));
    const std::string uri = CFastInfosetContext::kDefaultExternalVocabularyURI;
    EXPECT_NE(fixed.find(Hex(reinterpret_cast<const unsigned char*>(uri.data()), uri.size())),
              std::string::npos);
}

TEST(FastInfosetWriter, RefusesWhatItCannotWrite) {
    for (const TableRow& c : ReadTable("fastinfoset/writer_refusals.txt")) {
        SCOPED_TRACE("writer_refusals.txt line " + std::to_string(c.line));
        CFastInfosetContext context;
        std::uint32_t kind = 0, index = 0;
        if (std::sscanf(c[0].c_str(), "%u %u", &kind, &index) == 2)
            context.SetEncoding(ItemType_string, {kind, index});
        EXPECT_TRUE(ThrowsExactly<CTsException>(
            [&] { WriteFi(context, [&](W& w) { RunWriterScript(w, c[1]); }); }, c[2]));
    }
    // A text that is no value of the algorithm's type fails in its conversion.
    CFastInfosetContext ints;
    ints.SetEncoding(ItemType_string, {2, 4});
    EXPECT_THROW(WriteFi(ints, [](W& w) { RunWriterScript(w, "<a; =abc; >"); }), CTsException);
}

}  // namespace
