// roundtrip_main.cpp: reads one instance document into the classes generated for its schema,
// writes it back, and compares the two trees as canonical dumps (one line per element start,
// attribute, text and element end). What a binding may change without changing the
// document's meaning is normalised on both sides: whitespace-only text between elements, the
// blanks around a value, xsi:schemaLocation hints and xsi:type (written where the runtime
// needs it), the lexical form of numbers, booleans, times, hexBinary ("12.50", "12.5") and
// base64 (line breaks), the schema default an empty element comes back with, and the order of
// children (an xs:all group is written in schema order; xmllint checks the order of the
// written document).
#include <tessel16/tessel16.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "binding.h"
#include "support/tree_dump.h"

namespace {

// The words of a text one space apart (an XML text holds no blank but the four XML spaces).
std::string Collapse(const std::string& text) {
    std::istringstream words(text);
    std::string out, word;
    while (words >> word) out += (out.empty() ? "" : " ") + word;
    return out;
}

// "12:00:00.500" and "12:00:00.5" are one time: trailing zeros of a seconds' fraction go.
std::string TrimSecondsFraction(const std::string& text) {
    static const std::regex zeros(":([0-9]{2})(?:(\\.[0-9]*[1-9])0+|\\.0+)(?![0-9])");
    return std::regex_replace(text, zeros, ":$1$2");
}

// Numbers, booleans, times and hexBinary (its canonical form is upper case) in one spelling,
// so lexical variants of one value compare equal.
std::string Value(const std::string& raw) {
    std::string text = TrimSecondsFraction(Collapse(raw));
    if (text == "1" || text == "true") return "true";
    if (text == "0" || text == "false") return "false";
    char* end = nullptr;
    const long double number = std::strtold(text.c_str(), &end);
    if (!text.empty() && end && *end == '\0' && text.find_first_of("xXpP") == std::string::npos) {
        std::ostringstream out;
        out.precision(18);
        out << number;
        return "#" + out.str();
    }
    const auto hex = [](unsigned char c) { return std::isxdigit(c) != 0; };
    if (std::all_of(text.begin(), text.end(), hex))
        for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Base64 text may be broken into lines; the binary value is the same without the breaks.
bool SameBase64(const std::string& read, const std::string& written) {
    if (written.size() < 16 || written.find(' ') != std::string::npos) return false;
    std::string joined;
    for (char c : read) {
        if (c == ' ') continue;
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '/' && c != '=')
            return false;
        joined += c;
    }
    return joined == written;
}

bool Same(const std::string& a, const std::string& b) {
    return a == b || (a.compare(0, 2, "T ") == 0 && b.compare(0, 2, "T ") == 0 &&
                      SameBase64(a.substr(2), b.substr(2)));
}

// The prefixes the input declares (the first binding of each), read from its text. Declared
// again on the written root, they keep QName values such as xsi:type="xs:string" or
// "tns:Binding" resolvable: the binding holds those as text.
void DeclareInputPrefixes(const std::string& text, Tessel16::CSerializationContext& context) {
    static const std::regex declaration("xmlns:([^\\s=<>]+)\\s*=\\s*([\"'])(.*?)\\2");
    Tessel16::CNamespaceAliasMap& aliases = context.GetNamespaceAliases();
    for (std::sregex_iterator it(text.begin(), text.end(), declaration), end; it != end; ++it) {
        const std::string prefix = (*it)[1], uri = (*it)[3];
        if (prefix != "xml" && !aliases.DoesAliasExist(prefix.c_str()) &&
            !aliases.DoesNamespaceExist(uri.c_str()))
            aliases.Add(prefix.c_str(), uri.c_str());
    }
}

std::string ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s INSTANCE OUTPUT\n", argv[0]);
        return 2;
    }
    using namespace Tessel16;
    try {
        const std::string input = ReadFile(argv[1]);
        CXmlDocument doc;
        doc.LoadXml(input.c_str());
        const CXmlElement* root = doc.GetDocumentElement();
        CSmartPtr<CXmlObjectBase> object =
            CreateBindingElement(root->GetNamespaceURI().c_str(), root->GetLocalName().c_str());
        if (!object) {
            std::fprintf(stderr, "no class for the document element {%s}%s\n",
                         root->GetNamespaceURI().c_str(), root->GetLocalName().c_str());
            return 1;
        }
        CSerializationContext context;
        context.SetWriteDefaultElementValues(true);  // an element the input has stays
        DeclareInputPrefixes(input, context);
        object->FromXml(input.c_str(), context);
        const std::string output = object->ToXml(true, true, EOLType_LF, context);
        std::ofstream(argv[2], std::ios::binary) << output;
        const std::vector<std::string> expected = test::TreeOf(input, Value);
        const std::vector<std::string> actual = test::TreeOf(output, Value);
        std::size_t i = 0, j = 0;
        while (i < expected.size() || j < actual.size()) {
            const std::string want = i < expected.size() ? expected[i] : "(end)";
            const std::string got = j < actual.size() ? actual[j] : "(end)";
            // An empty element comes back with its schema default as its text.
            if (want == "/E" && got.compare(0, 2, "T ") == 0 && j + 1 < actual.size() &&
                actual[j + 1] == "/E") {
                ++j;
                continue;
            }
            if (!Same(want, got)) {
                std::fprintf(stderr,
                             "%s: trees differ at line %zu:\n  read:    %s\n  written: %s\n",
                             argv[1], i + 1, want.c_str(), got.c_str());
                return 1;
            }
            ++i;
            ++j;
        }
    } catch (const CTsException& error) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.GetFullMessage().c_str());
        return 1;
    }
    return 0;
}
