// mandatory_members_test.cpp: a document that lacks a mandatory member is refused whatever the
// group kind and member kind, with the engine's message naming the member (and the parent's
// path, except for an all group); the complete documents read, so each refusal is the missing
// member's.
#include <gtest/gtest.h>

#include <string>

#include "mandatory_binding.h"
#include "support/expect_exception.h"
#include "support/test_table.h"

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

TEST(MandatoryMembers, MissingMemberIsRefusedInEveryGroupKind) {
    for (const test::TableRow& c : test::ReadTable("compiler/mandatory_reads.txt")) {
        SCOPED_TRACE("mandatory_reads.txt line " + std::to_string(c.line));
        const std::string xml = Doc(c[0], c[1]);
        if (c[2].empty()) {
            EXPECT_NO_THROW(Read(c[0], xml));
        } else {
            EXPECT_TRUE(
                test::ThrowsExactly<CTsValidationException>([&] { Read(c[0], xml); }, c[2]));
        }
    }
}

}  // namespace
