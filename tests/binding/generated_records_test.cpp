// generated_records_test.cpp: every typed element record class (sequence, all and choice;
// mandatory, optional and each collection kind) driven through the engine by the classes
// generated for everySeq, everyAll, defaults and many: documents using them all survive
// object -> XML -> object -> XML unchanged, and the record rules that the other engine tests
// leave open hold under both settings. What these classes refuse to read is in
// tests/data/binding/engine_reads.txt.
#include <gtest/gtest.h>

#include <string>

#include "support/engine_bindings.h"
#include "support/expect_exception.h"
#include "tessel16/serialization_context.h"

using namespace Tessel16;
using namespace EngineTest;
using Tessel16::test::ThrowsExactly;

namespace {

CChild* NewChild(const char* element, const char* name) {
    CChild* child = new CChild(element);
    child->SetName(name);
    child->SetCode("c");
    return child;
}

CShape* NewShape(const char* element, bool circle, int size) {
    if (!circle) {
        CSquare* square = new CSquare(element);
        square->SetSide(size);
        return square;
    }
    CCircle* shape = new CCircle(element);
    shape->SetRadius(size);
    return shape;
}

// Every member of a sequence or all group set, each collection with two items.
template <class T>
void FillEverything(T* object) {
    object->SetShape(NewShape("shape", true, 1));
    object->SetSpare(NewShape("spare", false, 2));
    object->SetFirst(NewChild("first", "f"));
    object->SetSecond(NewChild("second", "s"));
    object->SetTone(Color_green);
    object->SetShade(Color_blue);
    object->SetCount_(42);
    object->SetLabel(" a & b ");
    for (int i = 0; i < 2; ++i) {
        object->GetFigure()->Add(NewShape("figure", i == 0, 10 + i));
        object->GetKid()->Add(NewChild("kid", i ? "k2" : "k1"));
        object->GetHue()->Add(i ? Color_blue : Color_red);
        object->GetTag()->Add(i ? "t2" : "t1");
        object->GetNote()->Add(i ? "n2" : "n1");
    }
}

CSmartPtr<CEverySeq> FilledSeq() {
    CSmartPtr<CEverySeq> seq(new CEverySeq);
    FillEverything(seq.get());
    seq->SetCode("std");
    return seq;
}

// The text the object writes, read into a fresh object of its class and written again.
template <class T>
::testing::AssertionResult RoundTrips(T* object, CSmartPtr<T>* copyOut = nullptr) {
    const CSerializationContext context;
    const std::string text = object->ToXml(false, true, EOLType_LF, context);
    CSmartPtr<T> copy(new T);
    copy->FromXml(text.c_str(), context);
    const std::string again = copy->ToXml(false, true, EOLType_LF, context);
    if (copyOut) *copyOut = copy;
    if (again == text) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "first:\n" << text << "\nsecond:\n" << again;
}

}  // namespace

TEST(GeneratedRecords, SequenceOfEveryKindRoundTripsWithEachChoiceMember) {
    // One document per member of the inlined choice, each using every sequence record.
    const std::vector<std::string> picks = {"shape", "second", "tone", "count", "figure",
                                            "kid",   "hue",    "tag",  "memo"};
    for (const std::string& pick : picks) {
        CSmartPtr<CEverySeq> seq = FilledSeq();
        CEverySeqChoice* choice = seq->GetChoice();
        if (pick == "shape") choice->SetShape(NewShape("shape", false, 7));
        if (pick == "second") choice->SetSecond(NewChild("second", "c"));
        if (pick == "tone") choice->SetTone(Color_blue);
        if (pick == "count") choice->SetCount_(-3);
        if (pick == "figure") choice->GetFigure()->Add(NewShape("figure", true, 5));
        if (pick == "kid") choice->GetKid()->Add(NewChild("kid", "ck"));
        if (pick == "hue") choice->GetHue()->Add(Color_green);
        if (pick == "tag") choice->GetTag()->Add("ct");
        if (pick == "memo") choice->GetMemo()->Add("cn");

        CSmartPtr<CEverySeq> copy;
        ASSERT_TRUE(RoundTrips(seq.get(), &copy)) << pick;
        EXPECT_EQ(copy->GetShade(), Color_blue) << pick;
        EXPECT_EQ(copy->GetLabel(), " a & b ") << pick;
        EXPECT_EQ(copy->GetHue()->Item(1), Color_blue) << pick;
        EXPECT_EQ(copy->GetNote()->Item(0), "n1") << pick;
        EXPECT_NE(dynamic_cast<CCircle*>(copy->GetFigure()->Item(0)), nullptr) << pick;
    }
}

TEST(GeneratedRecords, AllGroupOfEveryKindRoundTrips) {
    CSmartPtr<CEveryAll> all(new CEveryAll);
    FillEverything(all.get());
    CSmartPtr<CEveryAll> copy;
    ASSERT_TRUE(RoundTrips(all.get(), &copy));
    EXPECT_NE(dynamic_cast<CSquare*>(copy->GetSpare()), nullptr);
    EXPECT_EQ(copy->GetKid()->GetCount(), 2);

    // Only the mandatory members: the optional records and empty collections stay absent.
    CSmartPtr<CEveryAll> bare(new CEveryAll);
    bare->SetShape(NewShape("shape", false, 3));
    bare->SetFirst(NewChild("first", "f"));
    bare->SetTone(Color_red);
    bare->SetCount_(0);
    ASSERT_TRUE(RoundTrips(bare.get(), &copy));
    EXPECT_EQ(copy->GetSpare(), nullptr);
    EXPECT_EQ(copy->GetSecond(), nullptr);
    EXPECT_FALSE(copy->IsShadeValid());
    EXPECT_EQ(copy->GetTag()->GetCount(), 0);
}

// An attribute's facet is checked whenever the value is written, never when it is read: a row
// of engine_reads.txt.
TEST(GeneratedRecords, OptionalAttributeDefaultsAndChoiceMembersOnWriting) {
    // A choice collection is never count-checked on writing, a sequence one always is
    // unless counts are ignored.
    CSmartPtr<CEverySeq> seq = FilledSeq();
    for (Color hue : {Color_red, Color_green, Color_blue})  // maximum 2
        seq->GetChoice()->GetHue()->Add(hue);
    seq->SetLevel(Color_red);  // optional, equal to its default
    for (bool omit : {false, true}) {
        CSerializationContext context;
        context.SetNoOptionalAttributeDefaultOutput(omit);
        const std::string text = seq->ToXml(false, false, EOLType_LF, context);
        EXPECT_NE(text.find(" code=\"std\""), std::string::npos) << "required: always written";
        EXPECT_EQ(text.find(" level=\"red\"") != std::string::npos, !omit) << text;
    }
    seq->GetNote()->Add("x");
    EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
        [&] { seq->ToXml(false, false, EOLType_LF, CSerializationContext()); },
        "The Maximum number of [note] elements allowed in this collection is 2"));
    CSerializationContext ignoreCounts;
    ignoreCounts.SetIgnoreInvalidCollectionCounts(true);
    EXPECT_NO_THROW(seq->ToXml(false, false, EOLType_LF, ignoreCounts));
}

TEST(GeneratedRecords, ElementDefaultsAndNilOnWriting) {
    CSmartPtr<Twisted<CDefaults>> object(new Twisted<CDefaults>);
    object->SetFlag("toolong");  // the default, over its facet
    object->SetSize(1);
    object->nilOn = 2;  // size, which is not nillable
    for (bool writeDefaults : {false, true}) {
        CSerializationContext context;
        context.SetDefaultNamespaceURI(kNs);  // unprefixed names, to compare the text
        context.SetWriteDefaultElementValues(writeDefaults);
        std::string text;
        ASSERT_NO_THROW(text = object->ToXml(false, false, EOLType_LF, context))
            << "a default value is not facet-checked";
        const std::string flag = writeDefaults ? "<flag>toolong</flag>" : "<flag/>";
        EXPECT_NE(text.find(flag), std::string::npos) << text;
        EXPECT_NE(text.find(":nil=\"true\"/>"), std::string::npos) << text;
    }
}

TEST(GeneratedRecords, RequiredAttributesBeyondTheStackFlags) {
    // The attributes in reverse order, all but `skip`, each twice its number.
    const auto manyXml = [](int skip) {
        std::string xml = "<many xmlns=\"urn:t\"";
        for (int i = 39; i >= 0; --i) {
            if (i != skip) xml += " a" + std::to_string(i) + "=\"" + std::to_string(i * 2) + "\"";
        }
        return xml + "/>";
    };
    CSmartPtr<CMany> many(new CMany);
    many->FromXml(manyXml(-1).c_str(), CSerializationContext());
    EXPECT_EQ(many->GetA0(), 0);
    EXPECT_EQ(many->GetA39(), 78);
    for (int skip : {3, 31, 32, 39}) {
        EXPECT_TRUE(ThrowsExactly<CTsValidationException>(
            [&] { many->FromXml(manyXml(skip).c_str(), CSerializationContext()); },
            "Failed to find the required Attribute [a" + std::to_string(skip) + "]."))
            << skip;
    }
}
