// parsed_xml.h: a document parsed from text with its root element at hand, for the tests
// that feed elements and attributes straight to the read paths.
#pragma once

#include "tessel16/xml_document.h"

namespace Tessel16::test {

struct ParsedXml {
    CXmlDocument document;
    CXmlElement* root = nullptr;
    explicit ParsedXml(const char* xml) {
        document.LoadXml(xml);
        root = document.GetDocumentElement();
    }
};

}  // namespace Tessel16::test
