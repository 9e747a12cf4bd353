// compiler_features_test.cpp: the classes tessel16-xsd generated from features.xsd at build
// time, one document per XSD construct. Each document is read into the classes, the typed
// accessors are checked, and the written document must have the same tree (children compared
// in a fixed order, since an xs:all group is written in schema order). The member names used
// here (Class_, Namespace_, ClassAttribute, CKeywords2) are the compiler's mangling at work.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <vector>

#include "features_binding.h"
#include "features_split.h"
#include "support/tree_dump.h"
#include "tessel16/xml_document.h"

using namespace Tessel16;
using namespace Features;

namespace {

// The document of element f:<root> whose start tag goes on with `rest` (attributes, then the
// tag's end and the content).
std::string Doc(const std::string& root, const std::string& rest) {
    return "<f:" + root +
           " xmlns:f=\"urn:test:features\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"" +
           rest + "</f:" + root + ">";
}

// The tree of a document, with its values as they are written.
std::vector<std::string> Tree(const std::string& xml) {
    return test::TreeOf(xml, [](const std::string& text) { return text; });
}

// Reads a document into the single-source binding, or into the one generated with --split 3.
CSmartPtr<CXmlObjectBase> Read(const std::string& xml, bool split = false) {
    CXmlDocument document;
    document.LoadXml(xml.c_str());
    const CXmlElement* root = document.GetDocumentElement();
    const auto create = split ? CreateFeaturesSplitElement : CreateFeaturesBindingElement;
    CSmartPtr<CXmlObjectBase> object =
        create(root->GetNamespaceURI().c_str(), root->GetLocalName().c_str());
    if (object) object->FromXml(xml.c_str(), CSerializationContext());
    return object;
}

template <class P>
std::string Written(const P& object) {
    return object->ToXml(false, false, EOLType_LF, CSerializationContext());
}

// The object as the class the document element should have given; throws when it is not.
template <class T>
T& As(const CSmartPtr<CXmlObjectBase>& object) {
    T* typed = dynamic_cast<T*>(object.get());
    if (!typed) throw std::runtime_error(std::string("not a ") + typeid(T).name());
    return *typed;
}

struct FeatureCase {
    const char* feature;
    std::string document;  // made by Doc()
    std::function<void(const CSmartPtr<CXmlObjectBase>&)> check;
};

void PrintTo(const FeatureCase& c, std::ostream* out) { *out << c.feature; }

class CompilerFeatures : public ::testing::TestWithParam<FeatureCase> {};

TEST_P(CompilerFeatures, DocumentRoundTripsThroughTheGeneratedClasses) {
    const FeatureCase& c = GetParam();
    CSmartPtr<CXmlObjectBase> object;
    try {
        object = Read(c.document);
    } catch (const CTsException& error) {
        FAIL() << error.GetFullMessage();
    }
    ASSERT_TRUE(object) << "no class for the document element";
    c.check(object);
    const std::string written = Written(object);
    EXPECT_EQ(Tree(written), Tree(c.document)) << written;
    EXPECT_EQ(Written(Read(written)), written);
    // The binding whose source is split over three files behaves as the single-file one: same
    // classes, same records, so the same document comes out.
    CSmartPtr<CXmlObjectBase> split = Read(c.document, true);
    ASSERT_TRUE(split);
    const CXmlObjectBase& splitObject = *split;
    EXPECT_NE(std::string(typeid(splitObject).name()).find("FeaturesSplit"), std::string::npos);
    EXPECT_EQ(Written(split), written);
}

const FeatureCase kCases[] = {
    {"extension, abstract type, xsi:type",
     Doc("drawing",
         "><f:shape xsi:type=\"f:Circle\" filled=\"true\"><f:label>c</f:label>"
         "<f:radius>1.5</f:radius></f:shape><f:shape xsi:type=\"f:Square\"><f:label>s</f:label>"
         "<f:side>2</f:side></f:shape>"),
     [](const CSmartPtr<CXmlObjectBase>& object) {
         CDrawing& drawing = As<CDrawing>(object);
         ASSERT_EQ(drawing.GetShape()->GetCount(), 2);
         CCircle* circle = dynamic_cast<CCircle*>(drawing.GetShape()->Item(0));
         ASSERT_TRUE(circle);
         EXPECT_EQ(circle->GetLabel(), "c");
         EXPECT_EQ(circle->GetRadius(), 1.5);
         EXPECT_TRUE(circle->IsFilledValid() && circle->GetFilled());
         CSquare* square = dynamic_cast<CSquare*>(drawing.GetShape()->Item(1));
         ASSERT_TRUE(square);
         EXPECT_EQ(square->GetSide(), 2);
     }},
    {"substitution group with an abstract head",
     Doc("garage", "><f:car wheels=\"4\"/><f:bike wheels=\"2\" bell=\"true\"/>"),
     [](const CSmartPtr<CXmlObjectBase>& object) {
         CGarage& garage = As<CGarage>(object);
         ASSERT_EQ(garage.GetVehicle()->GetCount(), 2);
         ASSERT_TRUE(garage.GetVehicle()->Item(0)->GetCar());
         EXPECT_EQ(garage.GetVehicle()->Item(0)->GetCar()->GetWheels(), 4);
         ASSERT_TRUE(garage.GetVehicle()->Item(1)->GetBike());
         EXPECT_TRUE(garage.GetVehicle()->Item(1)->GetBike()->GetBell());
     }},
    {"group ref with maxOccurs, optional nested sequence, attribute group",
     Doc("person",
         " created=\"2024-01-02\"><f:name>n</f:name><f:phone>1</f:phone><f:email>e@x</f:email>"
         "<f:street>s</f:street><f:city>c</f:city>"),
     [](const CSmartPtr<CXmlObjectBase>& object) {
         CPerson& person = As<CPerson>(object);
         ASSERT_EQ(person.GetContact()->GetCount(), 2);
         EXPECT_EQ(person.GetContact()->Item(0)->GetChoiceSelectedElement(), "phone");
         EXPECT_EQ(person.GetContact()->Item(1)->GetEmail(), "e@x");
         ASSERT_TRUE(person.GetSequence());
         EXPECT_EQ(person.GetSequence()->GetCity(), "c");
         EXPECT_EQ(person.GetCreated().ToString(), "2024-01-02");
     }},
    {"all group in any order, enumeration, list, union",
     Doc("settings", "><f:width>auto</f:width><f:sizes>1 2 3</f:sizes><f:level>class</f:level>"),
     [](const CSmartPtr<CXmlObjectBase>& object) {
         CSettings& settings = As<CSettings>(object);
         EXPECT_EQ(settings.GetLevel(), Level_class);
         EXPECT_FALSE(settings.IsShareValid());
         EXPECT_EQ(settings.GetSizes(), "1 2 3");
         EXPECT_EQ(settings.GetWidth(), "auto");
     }},
    {"repeated enumerations, dates and pattern-checked strings",
     Doc("lists",
         "><f:level>low</f:level><f:level>high</f:level><f:when>2024-02-29</f:when>"
         "<f:code>AB</f:code><f:code>CD</f:code>"),
     [](const CSmartPtr<CXmlObjectBase>& object) {
         CLists& lists = As<CLists>(object);
         ASSERT_EQ(lists.GetLevel()->GetCount(), 2);
         EXPECT_EQ(lists.GetLevel()->Item(1), Level_high);
         EXPECT_EQ(lists.GetWhen()->Item(0).ToString(), "2024-02-29");
         EXPECT_EQ(lists.GetCode()->Item(1), "CD");
     }},
    {"simple content, nillable, recursion, wildcards",
     Doc("tree",
         " xmlns:o=\"urn:other\" o:tag=\"x\"><f:value currency=\"EUR\">1.5</f:value>"
         "<f:node><f:value xsi:nil=\"true\"/></f:node><o:extra>t</o:extra>"),
     [](const CSmartPtr<CXmlObjectBase>& object) {
         CNode& tree = As<CNode>(object);
         EXPECT_EQ(tree.GetValue()->GetValue().ToString(), "1.5");
         // A member the class made itself, and an item its collection made, write under
         // their own element names.
         EXPECT_EQ(Tree(Written(tree.GetValue()))[0], "E {urn:test:features}value");
         EXPECT_EQ(tree.GetValue()->GetCurrency(), "EUR");
         ASSERT_EQ(tree.GetNode()->GetCount(), 1);
         EXPECT_EQ(Tree(Written(tree.GetNode()->Item(0)))[0], "E {urn:test:features}node");
         EXPECT_TRUE(tree.GetNode()->Item(0)->GetValue()->IsNil());
         EXPECT_EQ(tree.GetAny()->GetCount(), 1);
         EXPECT_EQ(tree.GetAnyAttribute()->GetCount(), 1);
     }},
    {"C++ keywords, reserved names and case clashes",
     Doc("switch",
         " class=\"low\"><f:class>a</f:class><Class>b</Class><f:namespace>3</f:namespace>"
         "<f:memberFromText>4</f:memberFromText>"),
     [](const CSmartPtr<CXmlObjectBase>& object) {
         CKeywords& keywords = As<CKeywords>(object);
         EXPECT_EQ(keywords.GetClass(), "a");
         EXPECT_EQ(keywords.GetClass_(), "b");
         EXPECT_EQ(keywords.GetNamespace_(), 3);
         EXPECT_EQ(keywords.GetMemberFromText_(), 4);
         EXPECT_EQ(keywords.GetClassAttribute(), Level_low);
         CSmartPtr<CKeywords2> other(new CKeywords2);  // "Keywords" after "keywords"
         other->SetX("y");
         EXPECT_NE(Written(other).find(":keywords xmlns:"), std::string::npos);
     }},
};

INSTANTIATE_TEST_SUITE_P(Features, CompilerFeatures, ::testing::ValuesIn(kCases));

// What the records enforce: facets and enumerations on reading and writing.
TEST(CompilerFeatures, RecordsCarryTheSchemaRules) {
    const std::string refusedOnRead[] = {
        Doc("settings", "><f:level>medium</f:level><f:sizes>1</f:sizes><f:width>1</f:width>"),
        Doc("person", "><f:name>n</f:name><f:phone>1</f:phone>"),
        Doc("drawing", "><f:shape><f:label>abstract</f:label></f:shape>"),
    };
    for (const std::string& xml : refusedOnRead) {
        EXPECT_THROW(Read(xml), CTsException) << xml;
    }
    CSmartPtr<CSettings> settings(new CSettings);
    settings->SetLevel(Level_high);
    settings->SetSizes("1");
    settings->SetWidth("2");
    settings->SetShare(CDecimal("100.5"));
    EXPECT_THROW(Written(settings), CTsException);
    settings->SetShare(CDecimal("99.25"));
    EXPECT_NO_THROW(Written(settings));
    CSmartPtr<CLists> lists(new CLists);
    lists->GetLevel()->Add(Level_low);
    EXPECT_THROW(lists->GetCode()->Add("abc"), CTsException);
}

}  // namespace
