// writer_script.h: drives any writer from a one-line script, so the writer tests keep their
// cases as data. Commands are separated by ';' (blanks before a command are skipped); names
// take a namespace in braces, "{urn:a}name":
//   <name  start an element        >  end it             @name=v  attribute (@name#i4=v typed)
//   =text  string text             #i4=5  typed text      #i4!=5   a default value
//   xsitype {urn}T   nil   default urn   alias p urn   comment c   pi <?p?>   schema <s/>
//   [  a collection starts         ]  it ends (the JSON writer's arrays)
//   +name=text (+name#i4=5, +name#i4!=5)  a text-only element: one WriteSimpleElement call
//      when `simpleCalls` is set, else StartElement, WriteText and EndElement
#pragma once

#include <functional>
#include <string>

#include "tessel16/json_context.h"
#include "tessel16/xml_writer.h"

namespace Tessel16::test {

// Runs `script` on `writer`; throws std::runtime_error on a command it does not know.
void RunWriterScript(CXmlWriter& writer, const std::string& script, bool simpleCalls = false);

// The text a JSON writer at `level` gives when `body` runs between the document object's
// braces, as the entry points run it.
std::string WriteJson(JsonRoundTrip level, bool formatted,
                      const std::function<void(CXmlWriter&)>& body);

}  // namespace Tessel16::test
