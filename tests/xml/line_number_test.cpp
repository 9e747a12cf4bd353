// line_number_test.cpp: a plain load finds the elements' lines after the parse, from their
// offsets; a load with an element-end callback asks expat for each line as it goes. Both must
// agree on every element, whatever the line ends and wherever the breaks hide.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tessel16/exception.h"
#include "tessel16/xml_document.h"

using namespace Tessel16;

namespace {

std::vector<std::uint32_t> g_endLines;

bool RecordLine(CXmlElement* element) {
    g_endLines.push_back(element->GetLineNumber());
    return false;
}

// Lines in document order (pre-order), the order start tags appear in.
void PreOrder(const CXmlElement* element, std::vector<std::uint32_t>& lines) {
    lines.push_back(element->GetLineNumber());
    for (const CXmlElement* child = element->GetFirstElement(); child;
         child = child->GetNextSiblingElement())
        PreOrder(child, lines);
}

// Lines in the order elements end (post-order), as the callback saw them.
void PostOrder(const CXmlElement* element, std::vector<std::uint32_t>& lines) {
    for (const CXmlElement* child = element->GetFirstElement(); child;
         child = child->GetNextSiblingElement())
        PostOrder(child, lines);
    lines.push_back(element->GetLineNumber());
}

}  // namespace

TEST(LineNumbers, OffsetsResolveToTheLinesExpatCounts) {
    const char* const documents[] = {
        "<a>\n<b/>\n\n<c>\n<d/></c></a>",
        "<a>\r\n<b/>\r\n\r\n<c>\r\n<d/></c></a>",
        "<a>\r<b/>\r\r<c>\r<d/></c></a>",
        "<a>\r\n<b/>\r\r\n\n<c>\n\r<d/></c></a>",
        // Breaks inside a declaration, attribute values, comments, CDATA and a PI.
        "<?xml version='1.0'\n?>\n<!--\n\n--><a x='1\n2'\r\ny='3'><![CDATA[\n\r\n]]><b/>"
        "<?pi \n?>\n<c/></a>",
        "\xEF\xBB\xBF<a>\n<b>\xC3\xA9\n</b>\n<c/></a>",
    };
    for (const char* text : documents) {
        SCOPED_TRACE(text);
        CXmlDocument plain;
        plain.LoadXml(text);
        std::vector<std::uint32_t> resolved;
        PostOrder(plain.GetDocumentElement(), resolved);

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
    PreOrder(document.GetDocumentElement(), lines);
    EXPECT_EQ(lines, (std::vector<std::uint32_t>{1, 2, 3, 5}));
}
