// Strict reading through the records: the context's switch reaches the value conversions of
// simple elements, so text outside a kind's exact lexical form is refused only when it is on.
#include <gtest/gtest.h>

#include <string>

#include "support/engine_bindings.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"

using namespace Tessel16;
using namespace EngineTest;

namespace {

std::string Item(const std::string& count, const std::string& flag) {
    return "<item xmlns=\"urn:t\" id=\"1\"><count>" + count + "</count><color>red</color><flag>" +
           flag + "</flag></item>";
}

TEST(StrictValueReading, ElementTextMustHaveTheExactForm) {
    CSerializationContext lenient;
    CSerializationContext strict;
    strict.SetStrictReading(true);
    const struct {
        const char* count;
        const char* flag;
        bool strictReads;
    } kCases[] = {
        {"7", "true", true},
        {" +7 ", "1", true},   // collapsed first, and a '+' is part of the form
        {"7", "TRUE", false},  // booleans are lower case
        {"7", "False", false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.count) + " " + c.flag);
        CSmartPtr<CItem> item(new CItem);
        item->FromXml(Item(c.count, c.flag).c_str(), lenient);
        EXPECT_EQ(item->GetCount_(), 7);
        CSmartPtr<CItem> strictItem(new CItem);
        if (c.strictReads) {
            strictItem->FromXml(Item(c.count, c.flag).c_str(), strict);
            EXPECT_EQ(strictItem->GetFlag(), item->GetFlag());
        } else {
            EXPECT_THROW(strictItem->FromXml(Item(c.count, c.flag).c_str(), strict),
                         CTsInvalidValueException);
        }
    }
}

}  // namespace
