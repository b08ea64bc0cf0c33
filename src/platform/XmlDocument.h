#pragma once

// The exchange document over libxml2. Text crosses this interface as UTF-8; the exchange layer
// converts it to and from the tool's ANSI text. Loading never fetches an external entity, a DTD or
// anything from the network, and entity expansion is bounded. A file that is not well-formed is an
// error naming the file and line, never an empty document.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct _xmlDoc;
struct _xmlNode;

namespace tqz::xml {

class Document;

// A handle to an element of a Document; valid while the element is in its document.
class Element {
public:
    std::string name() const;
    // The whole text content, descendants included.
    std::string text() const;
    // The attribute's value, or nothing when the element lacks it.
    std::optional<std::string> attribute(std::string_view name) const;
    // The source line of the element (0 for created elements).
    long line() const;

    // The elements a relative XPath location path selects from this element, such as "salida";
    // document order. An expression that is not a location path fails naming it.
    std::vector<Element> selectNodes(std::string_view path) const;
    // The first child element named `name`.
    std::optional<Element> selectSingleNode(std::string_view name) const;

    // The value is stored as text, escaped on saving. In values and texts, a character XML cannot
    // hold (a control other than tab, line feed and carriage return) or a malformed UTF-8 byte
    // becomes "?", so the saved file always loads again.
    void setAttribute(std::string_view name, std::string_view value);
    // The text becomes the element's whole content; it is stored as text ("a&b", "<" are escaped
    // on saving), never parsed as markup.
    void setText(std::string_view text);
    // The child (new, or moved from its place in the tree) becomes the last child. An element of
    // another document, or this element or one of its ancestors, fails.
    void appendChild(Element child);
    // The child leaves the tree with its subtree, which is freed. Anything but a child fails.
    void removeChild(Element child);

    bool operator==(const Element& other) const { return m_node == other.m_node; }

private:
    friend class Document;
    explicit Element(_xmlNode* node) : m_node(node) {}
    _xmlNode* m_node;
};

class Document {
public:
    static Document create();
    // Reads the file in any encoding it declares (UTF-8, UTF-16 with BOM, ISO-8859-1,
    // Windows-1252...). Fails naming the file (and the line) when it cannot be read, is not
    // well-formed, is larger than 64 MB, or uses an entity that is not declared inside it (an
    // external one, or one of an external DTD, which is never read and would become "").
    static Document load(const std::filesystem::path& file);
    // The same for bytes in memory; `name` stands for the file in messages.
    static Document parse(std::string_view bytes, const std::string& name);

    ~Document();
    Document(Document&&) noexcept;
    Document& operator=(Document&&) noexcept;

    std::optional<Element> root() const;
    // The elements an absolute XPath location path selects, such as
    // /SERVICIO/SALIDAS/listasal[@seq="AULAS"]/listasal; document order; no match gives an empty
    // list.
    std::vector<Element> selectNodes(std::string_view path) const;
    // A new element of this document, outside the tree until appended; freed with the document
    // if it never is.
    Element createElement(std::string_view name);

    // The document's bytes: its own encoding and declaration are kept (no declaration when the
    // source had none; UTF-8 then).
    std::string serialize() const;
    // serialize() written to a temporary file and renamed over `file`.
    void save(const std::filesystem::path& file) const;

private:
    explicit Document(_xmlDoc* doc);
    struct Free {
        void operator()(_xmlDoc* doc) const;
    };
    std::unique_ptr<_xmlDoc, Free> m_doc;
};

} // namespace tqz::xml
