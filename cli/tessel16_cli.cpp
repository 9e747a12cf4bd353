// tessel16_cli.cpp: the `tessel16` command: converts documents between XML, Fast Infoset and
// JSON through untyped content (CElement), and prints the canonical tree of a document, which
// is what other implementations' output is compared by.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <zlib.h>

#include "tessel16/tessel16.h"

using namespace Tessel16;

namespace {

const char* const kUsage =
    "usage: tessel16 convert IN OUT [--to xml|fi|json] [--gzip] [--formatted] [--fi-decl N]\n"
    "                        [--fi-suggested]\n"
    "       tessel16 tree IN\n"
    "       tessel16 --help | tessel16 convert --help | tessel16 tree --help\n";

const char* const kConvertHelp =
    "tessel16 convert IN OUT [options]\n"
    "  Reads IN (XML, Fast Infoset or JSON, any of them gzip or zlib compressed) and writes it\n"
    "  to OUT.\n"
    "  --to xml|fi|json  output form (default: from OUT's extension .fi/.json, else xml)\n"
    "  --gzip            gzip-compress the output\n"
    "  --formatted       indent XML and JSON output\n"
    "  --fi-decl N       write XML declaration N (1..9) in front of Fast Infoset output\n"
    "  --fi-suggested    encode numbers, booleans and dates of Fast Infoset output in binary\n"
    "                    (untyped content is text, so this changes nothing for it)\n";

const char* const kTreeHelp =
    "tessel16 tree IN\n"
    "  Prints the canonical tree of IN (XML or Fast Infoset): one line per element start\n"
    "  (E {ns}local), attribute (A {ns}local=value, sorted), text (T ...) and element end (/E).\n";

struct UsageError {
    std::string message;
};

std::vector<unsigned char> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw CTsException(("Cannot open the file [" + path + "]").c_str());
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    return bytes;
}

// The first bytes of a gzip or zlib stream, inflated just far enough to tell JSON from XML
// (the loaders inflate the whole input themselves); other input comes back as it is.
std::vector<unsigned char> Head(const std::vector<unsigned char>& bytes) {
    const bool gzip = bytes.size() > 2 && bytes[0] == 0x1F && bytes[1] == 0x8B;
    const bool zlib = bytes.size() > 2 && (bytes[0] & 0x0F) == 8 && (bytes[0] * 256 + bytes[1]) % 31 == 0;
    if (!gzip && !zlib) return bytes;
    std::vector<unsigned char> head(256);
    z_stream stream{};
    if (inflateInit2(&stream, 47) != Z_OK) return bytes;
    stream.next_in = const_cast<unsigned char*>(bytes.data());
    stream.avail_in = static_cast<uInt>(std::min<std::size_t>(bytes.size(), 1u << 20));
    stream.next_out = head.data();
    stream.avail_out = static_cast<uInt>(head.size());
    const int status = inflate(&stream, Z_SYNC_FLUSH);
    head.resize(head.size() - stream.avail_out);
    inflateEnd(&stream);
    return status == Z_OK || status == Z_STREAM_END ? head : bytes;
}

bool LooksLikeJson(const std::vector<unsigned char>& input) {
    const std::vector<unsigned char> bytes = Head(input);
    std::size_t i = 0;
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) i = 3;
    while (i < bytes.size() && std::strchr(" \t\r\n", bytes[i])) ++i;
    return i < bytes.size() && (bytes[i] == '{' || bytes[i] == '[');
}

// Gives every namespace of the tree an alias in the context, so that the writers declare them
// all on the document element: untyped content keeps no declarations of its own, and JSON at
// round-trip level 2 names only namespaces that are declared.
void DeclareNamespaces(const CElement& root, CSerializationContext& context) {
    CNamespaceAliasMap& aliases = context.GetNamespaceAliases();
    auto declare = [&aliases](const std::string& uri) {
        // The xml prefix is bound by XML itself and never declared.
        if (uri.empty() || uri == "http://www.w3.org/XML/1998/namespace" ||
            aliases.DoesNamespaceExist(uri.c_str()))
            return;
        std::string alias;
        for (int n = aliases.GetNamespaceCount();; ++n) {
            alias = "ns" + std::to_string(n);
            if (!aliases.DoesAliasExist(alias.c_str())) break;
        }
        aliases.Add(alias.c_str(), uri.c_str());
    };
    std::vector<const CElement*> work{&root};
    while (!work.empty()) {
        const CElement* element = work.back();
        work.pop_back();
        declare(element->GetNamespace());
        for (const CAttribute* attribute : *element->GetAttributes())
            declare(attribute->GetNamespace());
        for (const CElement* child : *element->GetChildElements()) work.push_back(child);
    }
}

// Copies a parsed tree into untyped content without recursion (documents can nest deeply).
CSmartPtr<CElement> ToUntyped(const CXmlElement* root) {
    CSmartPtr<CElement> top(new CElement(root->GetLocalName().c_str()));
    std::vector<std::pair<const CXmlElement*, CElement*>> work{{root, top.get()}};
    while (!work.empty()) {
        auto [source, target] = work.back();
        work.pop_back();
        target->SetName(source->GetLocalName().c_str());
        target->SetNamespace(source->GetNamespaceURI().c_str());
        target->SetText(source->GetText().c_str());
        for (const CXmlAttribute* a : source->GetAttributes())
            target->GetAttributes()->Add(a->GetLocalName().c_str(), a->GetValue().c_str(),
                                         a->GetNamespaceURI().c_str());
        for (const CXmlElement* c = source->GetFirstElement(); c; c = c->GetNextSiblingElement()) {
            CElement* child = target->GetChildElements()->Add(c->GetLocalName().c_str(),
                                                              c->GetNamespaceURI().c_str());
            work.emplace_back(c, child);
        }
    }
    return top;
}

void Escape(const std::string& s, std::string& out) {
    static const char* hex = "0123456789ABCDEF";
    for (unsigned char c : s) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    out += "\\x";
                    out += hex[c >> 4];
                    out += hex[c & 15];
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
}

void DumpTree(const CXmlElement* root, std::string& out) {
    // (element, closing?) pairs: the end line is written when the marker comes off the stack.
    std::vector<std::pair<const CXmlElement*, bool>> work{{root, false}};
    while (!work.empty()) {
        auto [e, closing] = work.back();
        work.pop_back();
        if (closing) {
            if (!e->GetText().empty()) {
                out += "T ";
                Escape(e->GetText(), out);
                out += '\n';
            }
            out += "/E\n";
            continue;
        }
        out += "E {";
        Escape(e->GetNamespaceURI(), out);
        out += '}';
        Escape(e->GetLocalName(), out);
        out += '\n';
        std::vector<const CXmlAttribute*> attributes(e->GetAttributes().begin(),
                                                     e->GetAttributes().end());
        std::sort(attributes.begin(), attributes.end(), [](auto* a, auto* b) {
            if (a->GetNamespaceURI() != b->GetNamespaceURI())
                return a->GetNamespaceURI() < b->GetNamespaceURI();
            return a->GetLocalName() < b->GetLocalName();
        });
        for (const CXmlAttribute* a : attributes) {
            out += "A {";
            Escape(a->GetNamespaceURI(), out);
            out += '}';
            Escape(a->GetLocalName(), out);
            out += '=';
            Escape(a->GetValue(), out);
            out += '\n';
        }
        work.emplace_back(e, true);
        std::vector<const CXmlElement*> children;
        for (const CXmlElement* c = e->GetFirstElement(); c; c = c->GetNextSiblingElement())
            children.push_back(c);
        for (auto it = children.rbegin(); it != children.rend(); ++it) work.emplace_back(*it, false);
    }
}

int Tree(const std::vector<std::string>& args) {
    if (args.size() == 1 && args[0] == "--help") {
        std::cout << kTreeHelp;
        return 0;
    }
    if (args.size() != 1) throw UsageError{"tree takes exactly one input file"};
    std::vector<unsigned char> bytes = ReadFile(args[0]);
    CXmlDocument document;
    if (bytes.empty()) throw CTsException("The input file is empty.");
    if (LooksLikeJson(bytes)) {
        // JSON is read as untyped content (its mapping adds no indentation) and dumped
        // through the XML it writes.
        CSmartPtr<CElement> element(new CElement("json"));
        CSerializationContext context;
        element->FromJsonStream(bytes.data(), static_cast<std::uint32_t>(bytes.size()), context);
        DeclareNamespaces(*element, context);
        const std::string xml = element->ToXml(true, false, EOLType_LF, context);
        bytes.assign(xml.begin(), xml.end());
    }
    document.LoadXmlStream(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    if (!document.GetDocumentElement()) throw CTsException("Invalid or empty XML document");
    std::string out;
    DumpTree(document.GetDocumentElement(), out);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

int Convert(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    std::string to;
    bool gzip = false, formatted = false, suggested = false;
    int declaration = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError{a + " needs a value"};
            return args[++i];
        };
        if (a == "--help") {
            std::cout << kConvertHelp;
            return 0;
        } else if (a == "--to") {
            to = value();
            if (to != "xml" && to != "fi" && to != "json")
                throw UsageError{"--to takes xml, fi or json, not '" + to + "'"};
        } else if (a == "--gzip") {
            gzip = true;
        } else if (a == "--formatted") {
            formatted = true;
        } else if (a == "--fi-suggested") {
            suggested = true;
        } else if (a == "--fi-decl") {
            const std::string& n = value();
            if (n.size() != 1 || n[0] < '0' || n[0] > '9')
                throw UsageError{"--fi-decl takes a number from 0 to 9, not '" + n + "'"};
            declaration = n[0] - '0';
        } else if (a.size() > 1 && a[0] == '-') {
            throw UsageError{"unknown option '" + a + "'"};
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2) throw UsageError{"convert takes an input and an output file"};
    if (to.empty()) {
        const std::string& out = files[1];
        auto endsWith = [&](const char* ext) {
            const std::size_t n = std::strlen(ext);
            return out.size() >= n && out.compare(out.size() - n, n, ext) == 0;
        };
        to = endsWith(".fi") ? "fi" : endsWith(".json") ? "json" : "xml";
    }

    CSerializationContext context;
    if (suggested) context.GetFIContext().SetSuggestedValues();
    std::vector<unsigned char> bytes = ReadFile(files[0]);
    if (bytes.empty()) throw CTsException("The input file is empty.");
    CSmartPtr<CElement> element;
    if (LooksLikeJson(bytes)) {
        element = CSmartPtr<CElement>(new CElement("json"));
        element->FromJsonStream(bytes.data(), static_cast<std::uint32_t>(bytes.size()), context);
    } else {
        CXmlDocument document(context);
        document.LoadXmlStream(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        if (!document.GetDocumentElement()) throw CTsException("Invalid or empty XML document");
        element = ToUntyped(document.GetDocumentElement());
    }
    DeclareNamespaces(*element, context);
    const CompressionType compression = gzip ? CompressionType_GZip : CompressionType_None;
    if (to == "fi")
        element->ToFastInfosetFile(files[1].c_str(), static_cast<FInfoDecl>(declaration), context,
                                   compression);
    else if (to == "json")
        element->ToJsonFile(files[1].c_str(), formatted, XmlEncoding_UTF8, EOLType_LF, context,
                            compression);
    else
        element->ToXmlFile(files[1].c_str(), true, formatted, XmlEncoding_UTF8, EOLType_LF,
                           context, compression);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Register(16, 1);
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.empty()) throw UsageError{"no command given"};
        const std::string command = args[0];
        args.erase(args.begin());
        if (command == "--help" || command == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (command == "convert") return Convert(args);
        if (command == "tree") return Tree(args);
        throw UsageError{"unknown command '" + command + "'"};
    } catch (const UsageError& e) {
        std::cerr << "tessel16: " << e.message << "\n" << kUsage;
        return 2;
    } catch (const CTsException& e) {
        std::cerr << "tessel16: " << e.GetMessage() << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "tessel16: " << e.what() << "\n";
        return 1;
    }
}
