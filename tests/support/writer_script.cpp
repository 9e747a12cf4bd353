// writer_script.cpp: the interpreter of the writer scripts in tests/data.
#include "support/writer_script.h"

#include <stdexcept>

#include "support/test_table.h"
#include "tessel16/json_text_writer.h"
#include "tessel16/streams.h"

namespace Tessel16::test {

namespace {

// "{urn}local" or "local" into its namespace and local name.
void SplitName(const std::string& text, std::string& ns, std::string& local) {
    ns.clear();
    local = text;
    if (text.empty() || text[0] != '{') return;
    const std::size_t close = text.find('}');
    ns = text.substr(1, close - 1);
    local = text.substr(close + 1);
}

// "name=value" or "name#type=value" (the type may end in '!', a default value).
void SplitValue(const std::string& text, std::string& name, ItemType& type, bool& isDefault,
                std::string& value) {
    const std::size_t eq = text.find('=');
    if (eq == std::string::npos) throw std::runtime_error("no value in [" + text + "]");
    name = text.substr(0, eq);
    value = text.substr(eq + 1);
    type = ItemType_string;
    isDefault = !name.empty() && name.back() == '!';
    if (isDefault) name.pop_back();
    const std::size_t hash = name.find('#');
    if (hash == std::string::npos) return;
    type = ItemTypeNamed(name.substr(hash + 1));
    name.resize(hash);
}

}  // namespace

void RunWriterScript(CXmlWriter& writer, const std::string& script, bool simpleCalls) {
    std::size_t at = 0;
    while (at <= script.size()) {
        std::size_t end = script.find(';', at);
        if (end == std::string::npos) end = script.size();
        std::string command = script.substr(at, end - at);
        at = end + 1;
        command.erase(0, command.find_first_not_of(' '));
        if (command.empty()) continue;
        const std::size_t space = command.find(' ');
        const std::string word = command.substr(0, space);
        const std::string rest = space == std::string::npos ? "" : command.substr(space + 1);
        std::string ns, local, name, value;
        ItemType type;
        bool isDefault;
        if (command[0] == '<') {
            SplitName(command.substr(1), ns, local);
            writer.StartElement(local, ns);
        } else if (command == ">") {
            writer.EndElement();
        } else if (command[0] == '@') {
            SplitValue(command.substr(1), name, type, isDefault, value);
            SplitName(name, ns, local);
            writer.AddAttribute(local, ns, value, type);
        } else if (command[0] == '+') {
            SplitValue(command.substr(1), name, type, isDefault, value);
            SplitName(name, ns, local);
            if (simpleCalls) {
                writer.WriteSimpleElement(local, ns, value, type, isDefault);
            } else {
                writer.StartElement(local, ns);
                writer.WriteText(value, type, isDefault);
                writer.EndElement();
            }
        } else if (command[0] == '=' || command[0] == '#') {
            SplitValue(command, name, type, isDefault, value);
            writer.WriteText(value, type, isDefault);
        } else if (command == "[" || command == "]") {
            writer.SetCollectionState(command == "[" ? CollectionState_Starting
                                                     : CollectionState_Ended);
        } else if (word == "xsitype") {
            SplitName(rest, ns, local);
            writer.AddXsiType(ns, local, ItemType_string);
        } else if (word == "nil") {
            writer.AddXsiNil();
        } else if (word == "default") {
            writer.SetDefaultNamespace(rest);
        } else if (word == "alias") {
            writer.AddNamespaceAlias(rest.substr(0, rest.find(' ')),
                                     rest.substr(rest.find(' ') + 1));
        } else if (word == "comment") {
            writer.WriteComment(rest);
        } else if (word == "pi") {
            writer.WriteProcessingInstruction(rest);
        } else if (word == "schema") {
            writer.WriteInLineSchema(rest);
        } else {
            throw std::runtime_error("unknown writer command [" + command + "]");
        }
    }
}

std::string WriteJson(JsonRoundTrip level, bool formatted,
                      const std::function<void(CXmlWriter&)>& body) {
    CTextStream stream(XmlEncoding_None);
    CJsonTextWriter writer(&stream);
    writer.StartDocument();
    writer.SetFormatted(formatted);
    writer.SetSupportRoundtrip(level);
    writer.WriteObjectStart();
    body(writer);
    writer.WriteObjectEnd();
    writer.EndDocument();
    return stream.GetString();
}

}  // namespace Tessel16::test
