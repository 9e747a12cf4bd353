// serialization_context_test.cpp: the rules between settings, the indent check, the lazily
// created sub-contexts and what copies share.
#include "tessel16/serialization_context.h"

#include <gtest/gtest.h>

#include "binding/binding_messages.h"
#include "support/expect_exception.h"
#include "support/test_table.h"
#include "tessel16/exception.h"
#include "tessel16/fastinfoset_context.h"
#include "tessel16/json_context.h"

using namespace Tessel16;
using Tessel16::test::ThrowsExactly;

TEST(SerializationContext, IgnoreRulesSchemaTypeAndIndentChars) {
    CSerializationContext c;
    c.SetIgnoreUnknownElements(true);
    EXPECT_TRUE(ThrowsExactly<CTsInvalidStateException>(
        [&] { c.SetIgnoreMissingMandatoryElements(true); }, detail::kMsgIgnoreMissingMandatory));
    EXPECT_FALSE(c.GetIgnoreMissingMandatoryElements());
    c.SetIgnoreMissingMandatoryElements(false);  // false always succeeds
    c.SetIgnoreUnknownElements(false);
    c.SetIgnoreMissingMandatoryElements(true);
    EXPECT_TRUE(ThrowsExactly<CTsInvalidStateException>([&] { c.SetIgnoreUnknownElements(true); },
                                                        detail::kMsgIgnoreUnknownElements));
    EXPECT_FALSE(c.GetIgnoreUnknownElements());

    // Schema type 2 ignores namespaces; the switch itself is never set.
    for (int type : {int{SchemaType_Xsd}, 2, int{SchemaType_Default}}) {
        c.SetSchemaType(static_cast<SchemaType>(type));
        EXPECT_EQ(c.GetIgnoreNamespaces(), type == 2) << type;
    }

    // IndentChars accept only blanks and tabs.
    for (const char* text : {"  \t", "", static_cast<const char*>(nullptr)}) {
        CSerializationContext ctx;
        ctx.SetIndentChars("  ");
        ctx.SetIndentChars(text);
        EXPECT_EQ(ctx.GetIndentChars(), text ? text : "");
    }
    for (const char* text : {" x", "\n", "\t\r"}) {
        SCOPED_TRACE(text);
        CSerializationContext ctx;
        ctx.SetIndentChars("  ");
        EXPECT_TRUE(ThrowsExactly<CTsInvalidParamException>(
            [&] { ctx.SetIndentChars(text); },
            "IndentChars can only contain Whitespace characters, i.e. \\t or spaces"));
        EXPECT_EQ(ctx.GetIndentChars(), "  ");
    }
}

// The sub-contexts are made on first use with their defaults, and keep what is set on them.
TEST(SerializationContext, CopiesCarrySettingsAndOwnTheirSubContexts) {
    CSerializationContext a;
    EXPECT_EQ(a.GetJsonContext().GetSupportRoundtrip(), JsonRoundTrip_Full);
    EXPECT_EQ(a.GetFIContext().GetAttributeMaxAddLength(), 6u);
    a.SetIndentChars("  ");
    a.SetWriteTypeAttribute(false);
    a.SetIgnoreUnknownAttributes(true);
    a.SetSchemaType(SchemaType_NoNamespaces);
    a.SetInLineSchema("<s/>");
    a.SetDefaultNamespaceURI("urn:d");
    a.GetNamespaceAliases().Add("p", "urn:p");
    a.GetProcessingInstructions().push_back("<?pi?>");
    a.GetJsonContext().SetRootElementName("Doc");
    a.GetFIContext().SetAttributeMaxAddLength(9);

    CSerializationContext b(a);
    CSerializationContext c;
    c = a;
    for (const CSerializationContext* x : {&b, &c}) {
        EXPECT_EQ(x->GetIndentChars(), "  ");
        EXPECT_FALSE(x->GetWriteTypeAttribute());
        EXPECT_TRUE(x->GetIgnoreUnknownAttributes());
        EXPECT_EQ(x->GetSchemaType(), SchemaType_NoNamespaces);
        EXPECT_EQ(x->GetInLineSchema(), "<s/>");
        EXPECT_EQ(x->GetDefaultNamespaceURI(), "urn:d");
        EXPECT_EQ(x->GetNamespaceAliases().GetAliasFromNamespace("urn:p"), "p");
        ASSERT_EQ(x->GetProcessingInstructions().size(), 1u);
        EXPECT_EQ(x->GetJsonContext().GetRootElementName(), "Doc");
        EXPECT_EQ(x->GetFIContext().GetAttributeMaxAddLength(), 9u);
        EXPECT_NE(&x->GetJsonContext(), &a.GetJsonContext());
    }
    b.GetNamespaceAliases().Add("q", "urn:q");
    EXPECT_FALSE(a.GetNamespaceAliases().DoesNamespaceExist("urn:q"));
}

TEST(FastInfosetContext, SuggestedValues) {
    CFastInfosetContext fi;
    for (int t = 0; t < CFastInfosetContext::kEncodingCount; ++t)
        EXPECT_EQ(fi.GetEncoding(t), (CFastInfosetContext::EncodedCharacterString{0, 0}));
    fi.SetSuggestedValues();
    for (const test::TableRow& c : test::ReadTable("binding/suggested_encodings.txt")) {
        SCOPED_TRACE("suggested_encodings.txt line " + std::to_string(c.line));
        const auto number = [&](std::size_t i) {
            return static_cast<std::uint32_t>(std::stoul(c[i]));
        };
        EXPECT_EQ(fi.GetEncoding(std::stoi(c[0])),
                  (CFastInfosetContext::EncodedCharacterString{number(1), number(2)}));
    }
    EXPECT_THROW(fi.GetEncoding(29), CTsException);
    EXPECT_THROW(fi.SetEncoding(-1, {}), CTsException);
}
