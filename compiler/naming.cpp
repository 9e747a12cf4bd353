// naming.cpp: how XML names become C++ identifiers. Every generated identifier carries a prefix
// or a capital (C, Get, Set, m_, Prop_, the enum's own name), so no XML name can produce a C++
// keyword; what remains is spelling: characters outside [A-Za-z0-9_] and clashes, which the
// resolver settles by numbering.
#include <cctype>
#include <string>
#include <vector>

#include "schema_model.h"

namespace xsd {

namespace {

bool IsAlnum(unsigned char c) { return c < 0x80 && std::isalnum(c); }

// Pieces of a name split at every character that cannot stand in an identifier. Bytes beyond
// ASCII (UTF-8 letters) are kept as their hex value so that distinct names stay distinct.
std::vector<std::string> Pieces(const std::string& text) {
    std::vector<std::string> pieces;
    std::string current;
    for (unsigned char c : text) {
        if (IsAlnum(c)) {
            current += static_cast<char>(c);
        } else if (c >= 0x80) {
            static const char kHex[] = "0123456789ABCDEF";
            current += 'x';
            current += kHex[c >> 4];
            current += kHex[c & 15];
        } else if (!current.empty()) {
            pieces.push_back(current);
            current.clear();
        }
    }
    if (!current.empty()) pieces.push_back(current);
    return pieces;
}

}  // namespace

std::string Lowercase(const std::string& text) {
    std::string result = text;
    for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

// purchaseOrder -> PurchaseOrder, postal-code -> PostalCode, ns.v2 -> NsV2.
std::string PascalCase(const std::string& xmlName) {
    std::string result;
    for (std::string piece : Pieces(xmlName)) {
        piece[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(piece[0])));
        result += piece;
    }
    if (result.empty()) result = "X";
    if (std::isdigit(static_cast<unsigned char>(result[0]))) result = "_" + result;
    return result;
}

// An enumeration value as the tail of a constant: letters and digits kept, the rest "_".
std::string IdentifierPart(const std::string& text) {
    std::vector<std::string> pieces = Pieces(text);
    std::string result;
    for (const std::string& piece : pieces) {
        if (!result.empty()) result += '_';
        result += piece;
    }
    if (result.empty()) result = "Empty";
    if (!text.empty() && text[0] == '-' && result != "Empty") result = "Minus" + result;
    return result;
}

// The last word of the namespace URI that is not a scheme, a host part or a version:
// urn:example:po -> Po, http://maven.apache.org/POM/4.0.0 -> POM.
std::string DeriveNamespace(const std::string& targetNamespace, const std::string& fallback) {
    static const char* const kSkipped[] = {"http", "https", "urn", "www", "com", "org", "net",
                                           "xsd",  "xml",   "ns",  "schema", "schemas"};
    std::vector<std::string> pieces = Pieces(targetNamespace);
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) {
        const std::string& piece = *it;
        bool digits = true;
        for (char c : piece) digits = digits && std::isdigit(static_cast<unsigned char>(c));
        if (digits) continue;
        bool skipped = false;
        for (const char* word : kSkipped) skipped = skipped || Lowercase(piece) == word;
        if (skipped) continue;
        return PascalCase(piece);
    }
    return PascalCase(fallback);
}

}  // namespace xsd
