// fastinfoset_writer_test.cpp: the writer's octets: deferred headers, F0/FF terminators,
// namespace blocks, indexing thresholds, value encodings and declarations, checked against
// layouts worked out by hand from the format.
#include <gtest/gtest.h>

#include "fastinfoset/fi_test_support.h"
#include "support/expect_exception.h"
#include "tessel16/element.h"
#include "tessel16/exception.h"
#include "writers/writer_messages.h"

using namespace Tessel16;
using namespace Tessel16::test;
using W = CFastInfosetWriter;

namespace {

const char* const kHeader = "E0 00 00 01 00 ";

struct OctetCase {
    const char* name;
    std::function<void(W&)> script;
    const char* expected;  // after the five header octets
};

TEST(FastInfosetWriter, WritesTheExpectedOctets) {
    const OctetCase cases[] = {
        {"root alone: empty namespace block, literal name, FF",
         [](W& w) {
             w.StartElement("a", "");
             w.EndElement();
         },
         "38 F0 3C 00 61 FF"},
        {"siblings: F0 before the second start, FF where two ends meet, name by index",
         [](W& w) {
             w.StartElement("r", "");
             w.StartElement("a", "");
             w.EndElement();
             w.StartElement("a", "");
             w.EndElement();
             w.EndElement();
         },
         "38 F0 3C 00 72 3C 00 61 F0 01 FF F0"},
        {"text after a child: the child's F0 comes first; empty text writes nothing",
         [](W& w) {
             w.StartElement("r", "");
             w.StartElement("a", "");
             w.WriteText("", ItemType_string, false);
             w.EndElement();
             w.WriteText("hi", ItemType_string, false);
             w.EndElement();
         },
         "38 F0 3C 00 72 3C 00 61 F0 91 68 69 FF"},
        {"attribute values: five characters indexed, six never, empty is FF",
         [](W& w) {
             w.StartElement("r", "");
             w.AddAttribute("x", "", "abcde", ItemType_string);
             w.AddAttribute("e", "", "", ItemType_string);
             w.StartElement("a", "");
             w.AddAttribute("x", "", "abcde", ItemType_string);
             w.AddAttribute("y", "", "abcdef", ItemType_string);
             w.AddAttribute("y", "", "abcdef", ItemType_string);
             w.EndElement();
             w.EndElement();
         },
         "78 F0 3C 00 72 78 00 78 44 61 62 63 64 65 78 00 65 FF F0 "
         "7C 00 61 00 80 78 00 79 05 61 62 63 64 65 66 02 05 61 62 63 64 65 66 F0 FF F0"},
        {"namespaces: default on the root, a new one declared where it is first used",
         [](W& w) {
             w.SetDefaultNamespace("urn:d");
             w.StartElement("r", "urn:d");
             w.StartElement("a", "urn:o");
             w.AddAttribute("x", "urn:o", "1", ItemType_string);
             w.EndElement();
             w.EndElement();
         },
         "38 CD 04 75 72 6E 3A 64 F0 3D 81 00 72 "
         "78 CF 01 41 41 04 75 72 6E 3A 6F F0 3F 81 82 00 61 7B 81 82 00 78 40 31 F0 FF F0"},
        {"xml:lang uses the predefined prefix and namespace entries",
         [](W& w) {
             w.StartElement("r", "");
             w.AddAttribute("lang", "http://www.w3.org/XML/1998/namespace", "en", ItemType_string);
             w.EndElement();
         },
         "78 F0 3C 00 72 7B 80 80 03 6C 61 6E 67 41 65 6E F0 FF"},
    };
    CFastInfosetContext context;
    for (const OctetCase& c : cases)
        EXPECT_EQ(Hex(WriteFi(context, c.script)), kHeader + std::string(c.expected)) << c.name;
}

TEST(FastInfosetWriter, SuggestedValuesUseAlgorithmsAndAlphabets) {
    CFastInfosetContext context;
    context.SetSuggestedValues();
    struct Case {
        ItemType type;
        const char* text;
        const char* chunk;
    } cases[] = {
        {ItemType_i4, "7", "9C 0E 01 00 00 00 07"},
        {ItemType_decimal, "12.5", "98 01 12 C5"},
        {ItemType_datetime, "Z", "98 04 DF"},
        {ItemType_boolean, "true", "9C 14 38"},
        {ItemType_r8, "1.5", "9C 1E 05 3F F8 00 00 00 00 00 00"},
        {ItemType_string, "7", "90 37"},
    };
    for (const Case& c : cases) {
        const CBinaryData out = WriteFi(context, [&](W& w) {
            w.StartElement("a", "");
            w.WriteText(c.text, c.type, false);
            w.EndElement();
        });
        EXPECT_EQ(Hex(out), kHeader + std::string("38 F0 3C 00 61 ") + c.chunk + " FF") << c.text;
    }
    const CBinaryData nil = WriteFi(context, [](W& w) {
        w.StartElement("a", "");
        w.AddXsiNil();
        w.EndElement();
    });
    // xsi:nil = true as the boolean algorithm: literal, added to the table, octet 38.
    EXPECT_NE(Hex(nil).find("6E 69 6C 70 50 38"), std::string::npos) << Hex(nil);
}

TEST(FastInfosetWriter, IndexRangesSwitchAtTheirBoundaries) {
    CFastInfosetContext context;
    context.SetElementMaxAddLength(100);
    // Element names 32/33 and chunks 16/17 (r is element name 1): literal once, then
    // referenced.
    const CBinaryData refs = WriteFi(context, [](W& w) {
        w.StartElement("r", "");
        for (int i = 2; i <= 33; ++i) {
            w.StartElement("n" + std::to_string(i), "");
            w.EndElement();
        }
        w.StartElement("n32", "");
        w.EndElement();
        w.StartElement("n33", "");
        for (int i = 1; i <= 17; ++i) {
            w.StartElement("c", "");
            w.WriteText("t" + std::to_string(i), ItemType_string, false);
            w.EndElement();
        }
        w.StartElement("c", "");
        w.WriteText("t16", ItemType_string, false);
        w.WriteText("t17", ItemType_string, false);
        w.EndElement();
        w.EndElement();
        w.EndElement();
    });
    const std::string hex = Hex(refs);
    EXPECT_NE(hex.find("F0 1F F0 20 00"), std::string::npos) << hex;  // n32 = 32, n33 = 33
    EXPECT_NE(hex.find("AF B0 00"), std::string::npos) << hex;        // chunks 16 and 17
}

TEST(FastInfosetWriter, AttributeValueIndicesPast64TakeTwoOctets) {
    CFastInfosetContext context;
    const CBinaryData out = WriteFi(context, [](W& w) {
        w.StartElement("r", "");
        for (int i = 1; i <= 65; ++i) {
            w.StartElement("e", "");
            w.AddAttribute("v", "", std::to_string(i), ItemType_string);
            w.EndElement();
        }
        for (int i : {64, 65}) {
            w.StartElement("e", "");
            w.AddAttribute("v", "", std::to_string(i), ItemType_string);
            w.EndElement();
        }
        w.EndElement();
    });
    const std::string hex = Hex(out);
    EXPECT_NE(hex.find("41 00 BF F0 F0 41 00 C0 00 F0 FF"), std::string::npos) << hex;
}

TEST(FastInfosetWriter, DeclarationsPrecedeTheIdentification) {
    CFastInfosetContext context;
    for (int d = 0; d <= 9; ++d) {
        const CBinaryData out = WriteFi(
            context,
            [](W& w) {
                w.StartElement("a", "");
                w.EndElement();
            },
            static_cast<FInfoDecl>(d));
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
    const CBinaryData out = WriteFi(context, [](W& w) {
        w.StartElement("a", "");
        w.EndElement();
    });
    EXPECT_EQ(Hex(out), "E0 00 00 01 20 10 00 04 75 72 6E 3A 76 38 F0 00 FF");
    context.SetExternalVocabularyURI("");
    const std::string fixed = Hex(WriteFi(context, [](W& w) {
        w.StartElement("a", "");
        w.EndElement();
    }));
    const std::string uri = CFastInfosetContext::kDefaultExternalVocabularyURI;
    EXPECT_NE(fixed.find(Hex(reinterpret_cast<const unsigned char*>(uri.data()), uri.size())),
              std::string::npos);
}

TEST(FastInfosetWriter, RefusesWhatItCannotWrite) {
    CFastInfosetContext context;
    auto attributeAfterChild = [&] {
        WriteFi(context, [](W& w) {
            w.StartElement("r", "");
            w.StartElement("a", "");
            w.EndElement();
            w.AddAttribute("x", "", "1", ItemType_string);
        });
    };
    EXPECT_TRUE(ThrowsExactly<CTsException>(attributeAfterChild,
                                            detail::kMsgAttributesBeforeElements));
    struct Case {
        CFastInfosetContext::EncodedCharacterString encoding;
        const char* text;
        const char* message;
    } cases[] = {
        {{1, 3}, "1", "Failed to write FastInfoset. Invalid Restricted Alphabet value [3]"},
        {{2, 11}, "1", "Failed to write FastInfoset. Invalid Encoding Algorithm value [11]"},
        {{7, 0}, "1", "Failed to write FastInfoset. Unknown encoding in EncodedCharacterStringBit7."},
        {{1, 1}, "1x", "Failed to write FastInfoset. Invalid character not found for Restricted Alphabet."},
    };
    for (const Case& c : cases) {
        CFastInfosetContext custom;
        custom.SetEncoding(ItemType_string, c.encoding);
        EXPECT_TRUE(ThrowsExactly<CTsException>(
            [&] {
                WriteFi(custom, [&](W& w) {
                    w.StartElement("a", "");
                    w.WriteText(c.text, ItemType_string, false);
                    w.EndElement();
                });
            },
            c.message));
    }
    // A text that is no value of the algorithm's type fails in its conversion.
    CFastInfosetContext ints;
    ints.SetEncoding(ItemType_string, {2, 4});
    EXPECT_THROW(WriteFi(ints,
                         [](W& w) {
                             w.StartElement("a", "");
                             w.WriteText("abc", ItemType_string, false);
                             w.EndElement();
                         }),
                 CTsException);
    CFastInfosetContext custom;
    custom.SetEncoding(ItemType_string, {5, 0});
    EXPECT_TRUE(ThrowsExactly<CTsException>(
        [&] {
            WriteFi(custom, [](W& w) {
                w.StartElement("a", "");
                w.AddAttribute("x", "", "1", ItemType_string);
                w.EndElement();
            });
        },
        "Failed to write FastInfoset. Unknown encoding in EncodedCharacterStringBit5."));
}

}  // namespace
