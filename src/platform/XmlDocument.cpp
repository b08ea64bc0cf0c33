#include "platform/XmlDocument.h"

#include "platform/CodePage.h"
#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/Text.h"
#include "platform/XmlParsing.h"

#include <libxml/tree.h>
#include <libxml/xmlsave.h>
#include <libxml/xpath.h>

#include <climits>
#include <cstdint>
#include <memory>
#include <system_error>
#include <utility>

namespace tqz::xml {
namespace {

// A regional document of a hundred schools takes about 5 MB, and its tree some fifteen times that
// in memory. A file far beyond it is no exchange document, and loading it would take gigabytes.
constexpr std::uintmax_t kMegabyte = 1024 * 1024;
constexpr std::uintmax_t kMaxDocumentBytes = 64 * kMegabyte;

const xmlChar* xmlText(const std::string& text)
{
    return reinterpret_cast<const xmlChar*>(text.c_str());
}

std::string fromXml(const xmlChar* text)
{
    return text != nullptr ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

// A string libxml2 allocated for us, copied and freed.
std::string takeXml(xmlChar* text)
{
    std::string copy = fromXml(text);
    xmlFree(text);
    return copy;
}

std::string quoted(const std::string& text)
{
    return "'" + text + "'";
}

bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

// Text as XML 1.0 can hold it. A control character or a malformed UTF-8 byte becomes "?": written
// as it is, it would make a file that no XML reader loads.
std::string xmlSafe(std::string_view text)
{
    if (text.size() > INT_MAX) {
        fail("El texto es demasiado largo para un documento XML");
    }
    constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
    std::string safe;
    safe.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        const char32_t c = codepage::readUtf8(text, pos);
        const std::string_view bytes = text.substr(start, pos - start);
        const bool malformed = c == 0xFFFD && bytes != kReplacementCharacter;
        if (malformed || !isXmlChar(c)) {
            safe += '?';
        } else {
            safe += bytes;
        }
    }
    return safe;
}

void requireName(const std::string& name)
{
    if (xmlValidateName(xmlText(name), 0) != 0) {
        fail(quoted(name) + " no es un nombre XML válido");
    }
}

// The expressions are the tool's own; a broken one is reported by name, not printed by libxml2.
void ignoreXPathError(void*, xmlErrorPtr) { }

// The elements a location path selects from `context` (the document itself for an absolute path),
// in document order.
std::vector<xmlNodePtr> evaluate(xmlDocPtr doc, xmlNodePtr context, std::string_view path)
{
    const std::string expression(path);
    std::unique_ptr<xmlXPathContext, void (*)(xmlXPathContextPtr)> xpath(
        xmlXPathNewContext(doc), xmlXPathFreeContext);
    if (!xpath) {
        fail("No hay memoria para evaluar la expresión XPath " + quoted(expression));
    }
    xpath->node = context;
    xpath->error = ignoreXPathError;
    std::unique_ptr<xmlXPathObject, void (*)(xmlXPathObjectPtr)> result(
        xmlXPathEvalExpression(xmlText(expression), xpath.get()), xmlXPathFreeObject);
    if (!result) {
        fail("La expresión XPath " + quoted(expression) + " no es válida");
    }
    if (result->type != XPATH_NODESET) {
        fail("La expresión XPath " + quoted(expression) + " no selecciona nodos");
    }
    std::vector<xmlNodePtr> elements;
    if (const xmlNodeSet* nodes = result->nodesetval; nodes != nullptr) {
        for (int i = 0; i < nodes->nodeNr; ++i) {
            if (nodes->nodeTab[i]->type == XML_ELEMENT_NODE) {
                elements.push_back(nodes->nodeTab[i]);
            }
        }
    }
    return elements;
}

// Elements created but not (or not yet) in the tree hang under a holder node of their document, so
// they are freed with it.
xmlNodePtr holderOf(xmlDocPtr doc)
{
    if (doc->_private == nullptr) {
        doc->_private = xmlNewDocNode(doc, nullptr, reinterpret_cast<const xmlChar*>("holder"), nullptr);
        if (doc->_private == nullptr) {
            fail("No hay memoria para crear un elemento XML");
        }
    }
    return static_cast<xmlNodePtr>(doc->_private);
}

} // namespace

std::string Element::name() const
{
    return fromXml(m_node->name);
}

std::string Element::text() const
{
    return takeXml(xmlNodeGetContent(m_node));
}

std::optional<std::string> Element::attribute(std::string_view name) const
{
    const std::string key(name);
    if (xmlHasProp(m_node, xmlText(key)) == nullptr) {
        return std::nullopt;
    }
    return takeXml(xmlGetProp(m_node, xmlText(key)));
}

long Element::line() const
{
    return xmlGetLineNo(m_node);
}

std::vector<Element> Element::selectNodes(std::string_view path) const
{
    std::vector<Element> elements;
    // A bare element name, a record's "salida", is by far the most frequent path, and setting up
    // an XPath context for each record cost more than parsing the whole document. Its children are
    // taken directly, as the child axis gives them: elements of that name in no namespace, in
    // document order.
    if (const std::string name(path); xmlValidateNCName(xmlText(name), 0) == 0) {
        for (xmlNodePtr child = m_node->children; child != nullptr; child = child->next) {
            if (child->type == XML_ELEMENT_NODE && child->ns == nullptr
                && xmlStrEqual(child->name, xmlText(name)) != 0) {
                elements.push_back(Element(child));
            }
        }
        return elements;
    }
    for (xmlNodePtr node : evaluate(m_node->doc, m_node, path)) {
        elements.push_back(Element(node));
    }
    return elements;
}

std::optional<Element> Element::selectSingleNode(std::string_view name) const
{
    for (xmlNodePtr child = m_node->children; child != nullptr; child = child->next) {
        if (child->type == XML_ELEMENT_NODE && fromXml(child->name) == name) {
            return Element(child);
        }
    }
    return std::nullopt;
}

void Element::setAttribute(std::string_view name, std::string_view value)
{
    const std::string key(name);
    requireName(key);
    if (xmlSetProp(m_node, xmlText(key), xmlText(xmlSafe(value))) == nullptr) {
        fail("No se puede poner el atributo " + quoted(key) + " al elemento " + quoted(this->name()));
    }
}

void Element::setText(std::string_view text)
{
    const std::string content = xmlSafe(text);
    while (m_node->children != nullptr) {
        xmlNodePtr child = m_node->children;
        xmlUnlinkNode(child);
        xmlFreeNode(child);
    }
    // Added as content, never set: xmlNodeSetContent would parse "a&b <c>" as markup.
    xmlNodeAddContentLen(m_node, xmlText(content), static_cast<int>(content.size()));
}

void Element::appendChild(Element child)
{
    if (child.m_node->doc != m_node->doc) {
        fail("El elemento " + quoted(child.name()) + " pertenece a otro documento XML");
    }
    for (xmlNodePtr ancestor = m_node; ancestor != nullptr; ancestor = ancestor->parent) {
        if (ancestor == child.m_node) {
            fail("El elemento " + quoted(child.name()) + " no puede ir dentro de sí mismo");
        }
    }
    xmlUnlinkNode(child.m_node);
    if (xmlAddChild(m_node, child.m_node) == nullptr) {
        fail("No se puede añadir el elemento " + quoted(child.name()) + " a " + quoted(name()));
    }
}

void Element::removeChild(Element child)
{
    if (child.m_node->parent != m_node) {
        fail("El elemento " + quoted(child.name()) + " no es hijo de " + quoted(name()));
    }
    xmlUnlinkNode(child.m_node);
    xmlFreeNode(child.m_node);
}

Document::Document(_xmlDoc* doc)
    : m_doc(doc)
{
}
Document::~Document() = default;
Document::Document(Document&&) noexcept = default;
Document& Document::operator=(Document&&) noexcept = default;

void Document::Free::operator()(_xmlDoc* doc) const
{
    if (doc->_private != nullptr) {
        xmlFreeNode(static_cast<xmlNodePtr>(doc->_private));
    }
    xmlFreeDoc(doc);
}

Document Document::create()
{
    parsing::initialise();
    xmlDocPtr doc = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    if (doc == nullptr) {
        fail("No hay memoria para crear un documento XML");
    }
    return Document(doc);
}

Document Document::load(const std::filesystem::path& file)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (!error && size > kMaxDocumentBytes) {
        fail("El archivo " + quoted(file.string()) + " ocupa " + std::to_string(size / kMegabyte)
            + " MB; un documento de Zentris no puede pasar de "
            + std::to_string(kMaxDocumentBytes / kMegabyte) + " MB");
    }
    return parse(io::readFile(file), file.string());
}

Document Document::parse(std::string_view bytes, const std::string& name)
{
    return Document(parsing::parse(bytes, name));
}

std::optional<Element> Document::root() const
{
    xmlNodePtr root = xmlDocGetRootElement(m_doc.get());
    return root != nullptr ? std::optional<Element>(Element(root)) : std::nullopt;
}

std::vector<Element> Document::selectNodes(std::string_view path) const
{
    std::vector<Element> elements;
    for (xmlNodePtr node : evaluate(m_doc.get(), reinterpret_cast<xmlNodePtr>(m_doc.get()), path)) {
        elements.push_back(Element(node));
    }
    return elements;
}

Element Document::createElement(std::string_view name)
{
    const std::string tag(name);
    requireName(tag);
    xmlNodePtr node = xmlNewDocNode(m_doc.get(), nullptr, xmlText(tag), nullptr);
    if (node == nullptr || xmlAddChild(holderOf(m_doc.get()), node) == nullptr) {
        xmlFreeNode(node);
        fail("No hay memoria para crear el elemento " + quoted(tag));
    }
    return Element(node);
}

std::string Document::serialize() const
{
    xmlDocPtr doc = m_doc.get();
    const std::string encoding = doc->encoding != nullptr ? fromXml(doc->encoding) : "UTF-8";
    // No declaration when the loaded file had none.
    const int options = doc->standalone == -1 ? XML_SAVE_NO_DECL : 0;
    std::unique_ptr<xmlBuffer, void (*)(xmlBufferPtr)> buffer(xmlBufferCreate(), xmlBufferFree);
    xmlSaveCtxtPtr save = buffer ? xmlSaveToBuffer(buffer.get(), encoding.c_str(), options) : nullptr;
    if (save == nullptr) {
        fail("No se puede escribir un documento XML en la codificación " + quoted(encoding));
    }
    const long written = xmlSaveDoc(save, doc);
    if (xmlSaveClose(save) < 0 || written < 0) {
        fail("No se puede escribir el documento XML en la codificación " + quoted(encoding));
    }
    return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
        static_cast<std::size_t>(xmlBufferLength(buffer.get())));
}

void Document::save(const std::filesystem::path& file) const
{
    io::writeFileAtomically(file, serialize());
}

} // namespace tqz::xml
