// line_number_test.cpp: a plain load finds the elements' lines after the parse, from their
// offsets; a load with an element-end callback asks expat for each line as it goes. Both must
// agree on every element, whatever the line ends and wherever the breaks hide.
#include <gtest/gtest.h>

#include <vector>

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

}  // namespace

TEST(LineNumbers, OffsetsResolveToTheLinesExpatCounts) {
    for (const test::TableRow& row : test::ReadTable("xml/line_documents.txt")) {
        const char* text = row[0].c_str();
        SCOPED_TRACE(text);
        CXmlDocument plain;
        plain.LoadXml(text);
        std::vector<std::uint32_t> resolved;
        Lines(plain.GetDocumentElement(), false, resolved);

        g_endLines.clear();
        CXmlDocument watched(&RecordLine);
        watched.LoadXml(text);
        EXPECT_EQ(resolved, g_endLines);
        EXPECT_GT(resolved.back(), 0u);
    }
}

TEST(LineNumbers, AFailedLoadKeepsTheLinesOfItsPartialTree) {
    CXmlDocument document;
    EXPECT_THROW(document.LoadXml("<a>\n<b>\r\n<c/>\n</b>\n<d>\n</a>"), CTsException);
    std::vector<std::uint32_t> lines;
    Lines(document.GetDocumentElement(), true, lines);
    EXPECT_EQ(lines, (std::vector<std::uint32_t>{1, 2, 3, 5}));
}
