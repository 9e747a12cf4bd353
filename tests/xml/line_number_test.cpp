// line_number_test.cpp: 8-bit and UTF-8 loads count the elements' lines themselves as the
// parse goes; UTF-16 loads ask expat. Both must agree on every element, whatever the line ends
// and wherever the breaks hide, and an element-end callback must see the same lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "conversion/char_encoding.h"
#include "support/test_table.h"
#include "tessel16/exception.h"
#include "tessel16/xml_document.h"

using namespace Tessel16;

namespace {

std::vector<std::uint32_t> g_endLines;

bool RecordLine(CXmlElement* element) {
    g_endLines.push_back(element->GetLineNumber());
    return false;
}

// Lines in document order (pre-order: the order start tags appear in) or in the order
// elements end (post-order, as the callback saw them).
void Lines(const CXmlElement* element, bool pre, std::vector<std::uint32_t>& lines) {
    if (pre) lines.push_back(element->GetLineNumber());
    for (const CXmlElement* child = element->GetFirstElement(); child;
         child = child->GetNextSiblingElement())
        Lines(child, pre, lines);
    if (!pre) lines.push_back(element->GetLineNumber());
}

// The UTF-16 code units of the text, zero-terminated and without a leading byte-order mark:
// the UTF-16 load writes its own.
std::vector<unsigned short> Utf16(const std::string& text) {
    const CBinaryData bytes = detail::LocalToUtf16(text.c_str());
    const unsigned char* data = bytes.GetData();
    std::vector<unsigned short> units;
    for (std::uint32_t i = 0; i + 1 < bytes.GetLength(); i += 2) {
        const auto unit = static_cast<unsigned short>(data[i] | data[i + 1] << 8);
        if (i > 0 || unit != 0xFEFF) units.push_back(unit);
    }
    units.push_back(0);
    return units;
}

}  // namespace

TEST(LineNumbers, TheReaderCountsTheLinesExpatCounts) {
    for (const test::TableRow& row : test::ReadTable("xml/line_documents.txt")) {
        const char* text = row[0].c_str();
        SCOPED_TRACE(text);
        CXmlDocument plain;
        plain.LoadXml(text);
        std::vector<std::uint32_t> counted;
        Lines(plain.GetDocumentElement(), false, counted);

        CXmlDocument wide;
        wide.LoadXml(Utf16(row[0]).data());
        std::vector<std::uint32_t> expat;
        Lines(wide.GetDocumentElement(), false, expat);
        EXPECT_EQ(counted, expat);

        g_endLines.clear();
        CXmlDocument watched(&RecordLine);
        watched.LoadXml(text);
        EXPECT_EQ(counted, g_endLines);
        EXPECT_GT(*std::max_element(counted.begin(), counted.end()), 1u);
    }
}

TEST(LineNumbers, AFailedLoadKeepsTheLinesOfItsPartialTree) {
    CXmlDocument document;
    EXPECT_THROW(document.LoadXml("<a>\n<b>\r\n<c/>\n</b>\n<d>\n</a>"), CTsException);
    std::vector<std::uint32_t> lines;
    Lines(document.GetDocumentElement(), true, lines);
    EXPECT_EQ(lines, (std::vector<std::uint32_t>{1, 2, 3, 5}));
}
