// mandatory_members_test.cpp: a document that lacks a mandatory member is refused whatever the
// group kind and member kind, with the engine's message naming the member (and the parent's
// path, except for an all group); the complete documents read, so each refusal is the missing
// member's.
#include <gtest/gtest.h>

#include <string>

#include "mandatory_binding.h"
#include "support/expect_exception.h"

using namespace Tessel16;

namespace {

std::string Doc(const std::string& root, const std::string& content) {
    return "<m:" + root + " xmlns:m=\"urn:test:mandatory\">" + content + "</m:" + root + ">";
}

void Read(const std::string& root, const std::string& xml) {
    CSmartPtr<CXmlObjectBase> object =
        CreateMandatoryBindingElement("urn:test:mandatory", root.c_str());
    ASSERT_TRUE(object) << root;
    object->FromXml(xml.c_str(), CSerializationContext());
}

struct Case {
    const char* root;
    const char* content;
    const char* message;  // "" when the document is complete
};

const Case kCases[] = {
    {"seq", "<m:n>1</m:n><m:box/><m:shape/>", ""},
    {"seq", "<m:box/><m:shape/>", "Failed to find the required child element [n].\nPath: /m:seq"},
    {"seq", "<m:n>1</m:n><m:shape/>",
     "Failed to find the required child element [box].\nPath: /m:seq"},
    {"seq", "<m:n>1</m:n><m:box/>",
     "Failed to find a suitable substitution element for [shape].\nPath: /m:seq"},
    {"all", "<m:shape/><m:box/><m:n>1</m:n>", ""},
    {"all", "<m:shape/><m:box/>", "Failed to find the mandatory element [n]."},
    {"all", "<m:shape/><m:n>1</m:n><m:spare/>", "Failed to find the mandatory element [box]."},
    {"all", "<m:box/><m:n>1</m:n>", "Failed to find the mandatory element [shape]."},
    {"choice", "<m:box/>", ""},
    {"choice", "<m:from>1</m:from><m:to/>", ""},
    {"choice", "<m:n>1</m:n>",
     "Failed to find the required child element [ChoiceChoice].\nPath: /m:choice"},
    {"choice", "<m:n>1</m:n><m:from>1</m:from>",
     "Failed to find the required child element [ChoiceChoice].\nPath: /m:choice"},
    {"loose", "<m:last>1</m:last>", ""},
    {"loose", "", "Failed to find the required child element [last].\nPath: /m:loose"},
};

TEST(MandatoryMembers, MissingMemberIsRefusedInEveryGroupKind) {
    for (const Case& c : kCases) {
        const std::string xml = Doc(c.root, c.content);
        if (*c.message == '\0') {
            EXPECT_NO_THROW(Read(c.root, xml)) << xml;
        } else {
            EXPECT_TRUE(
                test::ThrowsExactly<CTsValidationException>([&] { Read(c.root, xml); }, c.message))
                << xml;
        }
    }
}

}  // namespace
