// schema_loader.cpp: reads schema documents with Tessel's own XML loader, follows include and
// import, and indexes the global components by qualified name. The tree keeps no source
// positions, so the loader finds the start tags in the text itself (in document order, which
// is the tree's pre-order) to put file:line:col on every diagnostic.
#include "schema_loader.h"

#include <fstream>
#include <sstream>

#include "tessel16/exception.h"

namespace xsd {

using Tessel16::CXmlElement;

const char* const kXsdNamespace = "http://www.w3.org/2001/XMLSchema";
const char* const kXmlNamespace = "http://www.w3.org/XML/1998/namespace";

namespace {

std::string ReadFile(const std::string& path, const std::string& where) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw SchemaError(where, "cannot open schema '" + path + "'");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Directory(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// "a/b/../c.xsd" -> "a/c.xsd", so one document reached by two routes is loaded once.
std::string Normalize(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(path);
    const bool absolute = !path.empty() && path[0] == '/';
    while (std::getline(in, part, '/')) {
        if (part.empty() || part == ".") continue;
        if (part == ".." && !parts.empty() && parts.back() != "..") {
            parts.pop_back();
        } else {
            parts.push_back(part);
        }
    }
    std::string result = absolute ? "/" : "";
    for (std::size_t i = 0; i < parts.size(); ++i) result += (i ? "/" : "") + parts[i];
    return result;
}

// Line and column (1-based, in bytes) of every start tag, in document order. Comments,
// CDATA sections, processing instructions and the DOCTYPE (with its internal subset) hold
// no start tags of the tree and are skipped.
std::vector<std::pair<int, int>> StartTags(const std::string& text) {
    std::vector<std::pair<int, int>> tags;
    int line = 1, column = 1;
    std::size_t i = 0;
    auto advanceTo = [&](std::size_t end) {
        for (; i < end && i < text.size(); ++i) {
            if (text[i] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
    };
    while (i < text.size()) {
        if (text[i] != '<') {
            advanceTo(i + 1);
            continue;
        }
        if (text.compare(i, 4, "<!--") == 0) {
            const std::size_t end = text.find("-->", i + 4);
            advanceTo(end == std::string::npos ? text.size() : end + 3);
        } else if (text.compare(i, 9, "<![CDATA[") == 0) {
            const std::size_t end = text.find("]]>", i + 9);
            advanceTo(end == std::string::npos ? text.size() : end + 3);
        } else if (text.compare(i, 2, "<?") == 0) {
            const std::size_t end = text.find("?>", i + 2);
            advanceTo(end == std::string::npos ? text.size() : end + 2);
        } else if (text.compare(i, 2, "<!") == 0) {
            int depth = 0;
            std::size_t j = i;
            for (; j < text.size(); ++j) {
                if (text[j] == '[') ++depth;
                if (text[j] == ']') --depth;
                if (text[j] == '>' && depth <= 0) break;
            }
            advanceTo(j + 1);
        } else if (text.compare(i, 2, "</") == 0) {
            advanceTo(i + 2);
        } else {
            tags.emplace_back(line, column);
            advanceTo(i + 1);
        }
    }
    return tags;
}

void NumberElements(const CXmlElement* element, const std::vector<std::pair<int, int>>& tags,
                    std::size_t& next, SchemaDocument& doc) {
    // Iterative pre-order walk: schemas nest deeply enough in places to make recursion a risk.
    std::vector<const CXmlElement*> stack{element};
    while (!stack.empty()) {
        const CXmlElement* current = stack.back();
        stack.pop_back();
        if (next < tags.size()) doc.positions[current] = tags[next];
        ++next;
        std::vector<const CXmlElement*> children;
        for (const CXmlElement* child = current->GetFirstElement(); child;
             child = child->GetNextSiblingElement())
            children.push_back(child);
        for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back(*it);
    }
}

}  // namespace

bool IsXsd(const CXmlElement* node, const char* localName) {
    return node->GetNamespaceURI() == kXsdNamespace && node->GetLocalName() == localName;
}

std::string Attr(const CXmlElement* node, const char* name) {
    return node->GetAttribute(name, "");
}

bool HasAttr(const CXmlElement* node, const char* name) {
    for (const Tessel16::CXmlAttribute* attribute : node->GetAttributes()) {
        if (attribute->GetLocalName() == name && attribute->GetNamespaceURI().empty()) return true;
    }
    return false;
}

std::string SchemaSet::Where(const SchemaDocument* doc, const CXmlElement* node) const {
    std::string where = doc->path;
    auto found = doc->positions.find(node);
    if (found != doc->positions.end()) {
        where += ":" + std::to_string(found->second.first) + ":" +
                 std::to_string(found->second.second);
    }
    return where;
}

QName SchemaSet::Resolve(const SchemaDocument* doc, const CXmlElement* node,
                         const std::string& qname) const {
    const std::size_t colon = qname.find(':');
    const std::string prefix = colon == std::string::npos ? "" : qname.substr(0, colon);
    const std::string local = colon == std::string::npos ? qname : qname.substr(colon + 1);
    if (prefix == "xml") return QName(kXmlNamespace, local);
    auto found = doc->prefixes.find(prefix);
    if (found == doc->prefixes.end()) {
        if (prefix.empty()) return QName("", local);
        throw SchemaError(Where(doc, node), "the prefix of '" + qname + "' is not declared");
    }
    return QName(found->second, local);
}

// The loader keeps one prefix map per document (the last binding of a prefix wins); schema
// documents bind their prefixes on the root, where that is exact. The raw text gives the
// bindings, with the default namespace under "".
static void CollectPrefixes(const std::string& text, SchemaDocument& doc) {
    std::size_t at = 0;
    while ((at = text.find("xmlns", at)) != std::string::npos) {
        std::size_t i = at + 5;
        std::string prefix;
        if (i < text.size() && text[i] == ':') {
            std::size_t start = ++i;
            while (i < text.size() && text[i] != '=' && text[i] != ' ' && text[i] != '\t' &&
                   text[i] != '\n' && text[i] != '\r')
                ++i;
            prefix = text.substr(start, i - start);
        }
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                                   text[i] == '\r'))
            ++i;
        if (i >= text.size() || text[i] != '=') {
            at += 5;
            continue;
        }
        ++i;
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                                   text[i] == '\r'))
            ++i;
        if (i >= text.size() || (text[i] != '"' && text[i] != '\'')) {
            at += 5;
            continue;
        }
        const char quote = text[i];
        const std::size_t end = text.find(quote, i + 1);
        if (end == std::string::npos) break;
        std::string uri = text.substr(i + 1, end - i - 1);
        if (!doc.prefixes.count(prefix)) doc.prefixes[prefix] = uri;
        at = end;
    }
}

const SchemaDocument* SchemaSet::Load(const std::string& rawPath, const std::string& where,
                                      const std::string* chameleonNamespace) {
    const std::string path = Normalize(rawPath);
    const std::string key = path + "|" + (chameleonNamespace ? *chameleonNamespace : "");
    auto known = m_loaded.find(key);
    if (known != m_loaded.end()) return known->second;

    const std::string text = ReadFile(path, where);
    auto doc = std::make_unique<SchemaDocument>();
    doc->path = path;
    doc->xml = std::make_unique<Tessel16::CXmlDocument>();
    try {
        doc->xml->LoadXml(text.c_str());
    } catch (const Tessel16::CTsException& error) {
        throw SchemaError(path, "not well-formed XML: " + error.GetFullMessage());
    }
    const CXmlElement* root = doc->xml->GetDocumentElement();
    std::size_t next = 0;
    NumberElements(root, StartTags(text), next, *doc);
    CollectPrefixes(text, *doc);
    if (!IsXsd(root, "schema")) {
        throw SchemaError(Where(doc.get(), root),
                          "the document element is <" + root->GetLocalName() +
                              ">, not an xs:schema");
    }
    doc->targetNamespace = Attr(root, "targetNamespace");
    if (chameleonNamespace && doc->targetNamespace.empty())
        doc->targetNamespace = *chameleonNamespace;
    doc->elementsQualified = Attr(root, "elementFormDefault") == "qualified";
    doc->attributesQualified = Attr(root, "attributeFormDefault") == "qualified";

    SchemaDocument* raw = doc.get();
    m_documents.push_back(std::move(doc));
    m_loaded[key] = raw;
    m_files.push_back(path);

    for (const CXmlElement* child = root->GetFirstElement(); child;
         child = child->GetNextSiblingElement()) {
        const std::string here = Where(raw, child);
        if (child->GetNamespaceURI() != kXsdNamespace) continue;
        const std::string& kind = child->GetLocalName();
        if (kind == "include" || kind == "import") {
            const std::string location = Attr(child, "schemaLocation");
            if (location.empty()) continue;  // resolved from the rest of the set, or reported
            if (location.find("://") != std::string::npos) {
                throw SchemaError(here, "xs:" + kind + " of a remote schema ('" + location +
                                            "') is not supported: give a local copy");
            }
            const std::string target =
                location[0] == '/' ? location : Directory(path) + location;
            if (kind == "include") {
                Load(target, here, &raw->targetNamespace);
            } else {
                Load(target, here, nullptr);
            }
        } else if (kind == "redefine" || kind == "override") {
            throw SchemaError(here, "xs:" + kind + " is not supported");
        } else if (kind == "element" || kind == "complexType" || kind == "simpleType" ||
                   kind == "group" || kind == "attributeGroup" || kind == "attribute") {
            const QName name(raw->targetNamespace, Attr(child, "name"));
            auto& table = m_components[kind];
            auto [slot, inserted] = table.emplace(name, Component{child, raw});
            if (!inserted) {
                throw SchemaError(here, "duplicate definition of " + kind + " '" + name.second +
                                            "' (first defined at " +
                                            Where(slot->second.doc, slot->second.node) + ")");
            }
            m_order[kind].push_back(name);
        }
    }
    return raw;
}

const Component* SchemaSet::Find(const std::string& kind, const QName& name) const {
    auto table = m_components.find(kind);
    if (table == m_components.end()) return nullptr;
    auto found = table->second.find(name);
    return found == table->second.end() ? nullptr : &found->second;
}

const std::vector<QName>& SchemaSet::Order(const std::string& kind) const {
    static const std::vector<QName> kNone;
    auto found = m_order.find(kind);
    return found == m_order.end() ? kNone : found->second;
}

}  // namespace xsd
