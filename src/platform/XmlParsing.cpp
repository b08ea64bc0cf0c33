#include "platform/XmlParsing.h"

#include "platform/Error.h"
#include "platform/Text.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <unordered_map>

namespace tqz::xml::parsing {
namespace {

// Only what makes the parse safe and quiet: no network, errors collected rather than printed, line
// numbers past 65535 kept for messages. Never NOENT, DTDLOAD, DTDVALID, XINCLUDE or HUGE: they
// would load external entities and DTDs or lift the parser's limits.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES;

// The parser stops entity loops and exponential nesting, but one large entity used many times
// still expands when its text is read; the whole text of a document may come to this many times
// its size, with a floor so that small documents can use entities freely.
constexpr std::size_t kExpansionFactor = 10;
constexpr std::size_t kExpansionFloor = 1024 * 1024;
constexpr int kEntityNestingLimit = 64;

std::string quoted(const std::string& text)
{
    return "'" + text + "'";
}

std::string fromXml(const char* text)
{
    return text != nullptr ? std::string(text) : std::string();
}

// Nothing outside the document is ever read: no external entity, no external DTD.
xmlParserInputPtr refuseExternalEntity(const char*, const char*, xmlParserCtxtPtr)
{
    return nullptr;
}

struct ParseFailure {
    bool seen = false;
    int line = 0;
    std::string message;
    int code = 0;
};

// The parse under way, for the errors libxml2 raises without a parser context (a byte the declared
// encoding cannot decode).
thread_local ParseFailure* currentFailure = nullptr;

void keepFirst(ParseFailure* failure, const xmlError* error)
{
    if (failure != nullptr && !failure->seen && error != nullptr && error->level >= XML_ERR_ERROR) {
        *failure = { true, error->line, fromXml(error->message), error->code };
    }
}

// Keeps the first error: later ones are often consequences of it ("Premature end of data").
void collectError(void* data, xmlErrorPtr error)
{
    const auto* context = static_cast<xmlParserCtxtPtr>(data);
    keepFirst(context != nullptr ? static_cast<ParseFailure*>(context->_private) : nullptr, error);
}

// Errors without a parser context would otherwise be printed on the standard error: while a
// parse runs they belong to it, and otherwise the caller reports the failure itself.
void collectErrorWithoutContext(void*, xmlErrorPtr error)
{
    keepFirst(currentFailure, error);
}

void ignoreMessage(void*, const char*, ...) { }

// The parser's own words for the limits it keeps name an option of the library and, for an
// entity that expands too far, a loop that is not there; the user gets what the document does.
std::string explanation(const ParseFailure& failure)
{
    constexpr std::string_view kDepth = "Excessive depth in document";
    if (failure.code == XML_I18N_CONV_FAILED) {
        return "tiene bytes que no son texto en la codificación que declara";
    }
    if (failure.code == XML_ERR_ENTITY_LOOP) {
        return "sus entidades se refieren a sí mismas o se expanden a un texto demasiado grande";
    }
    if (std::string_view(failure.message).starts_with(kDepth)) {
        return "sus elementos se anidan a más de " + std::to_string(xmlParserMaxDepth) + " niveles";
    }
    std::string detail(text::trim(failure.message));
    std::replace(detail.begin(), detail.end(), '\n', ' ');
    return detail;
}

[[noreturn]] void failParsing(const std::string& name, ParseFailure failure, const xmlError* last)
{
    if (!failure.seen && last != nullptr) {
        failure = { true, last->line, fromXml(last->message), last->code };
    }
    std::string message = "El archivo " + quoted(name) + " no es un documento XML válido";
    if (failure.line > 0) {
        message += " (línea " + std::to_string(failure.line) + ")";
    }
    const std::string detail = explanation(failure);
    fail(detail.empty() ? message : message + ": " + detail);
}

// The size of the whole text of a document with every entity reference expanded, as reading it
// would produce; stops counting past `limit`.
class ExpansionMeter {
public:
    explicit ExpansionMeter(std::size_t limit)
        : m_limit(limit)
    {
    }

    std::size_t measure(const xmlNode* first, int nesting = 0)
    {
        std::size_t size = 0;
        for (const xmlNode* node = first; node != nullptr && size <= m_limit; node = node->next) {
            size += nodeSize(node, nesting);
        }
        return size;
    }

    const xmlNode* unreadable() const { return m_unreadable; }

private:
    std::size_t nodeSize(const xmlNode* node, int nesting)
    {
        switch (node->type) {
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
            return node->content != nullptr ? std::strlen(reinterpret_cast<const char*>(node->content)) : 0;
        case XML_ELEMENT_NODE: {
            std::size_t size = measure(node->children, nesting);
            for (const xmlAttr* attribute = node->properties; attribute != nullptr;
                 attribute = attribute->next) {
                size += measure(attribute->children, nesting);
            }
            return size;
        }
        case XML_ENTITY_REF_NODE:
            return referenceSize(node, nesting + 1);
        default:
            return 0;
        }
    }

    // An entity the parser did not expand (an external one, or one declared only in an external
    // DTD) would read as an empty value; the first such reference is kept for the message.
    std::size_t referenceSize(const xmlNode* reference, int nesting)
    {
        const auto* entity = reinterpret_cast<const xmlEntity*>(reference->children);
        const bool internal = entity != nullptr && entity->type == XML_ENTITY_DECL
            && (entity->etype == XML_INTERNAL_GENERAL_ENTITY
                || entity->etype == XML_INTERNAL_PREDEFINED_ENTITY);
        if (!internal) {
            if (m_unreadable == nullptr) {
                m_unreadable = reference;
            }
            return 0;
        }
        return entitySize(entity, nesting);
    }

    std::size_t entitySize(const xmlEntity* entity, int nesting)
    {
        if (entity == nullptr || entity->type != XML_ENTITY_DECL) {
            return 0;
        }
        if (nesting > kEntityNestingLimit) {
            return m_limit + 1;
        }
        const auto known = m_sizes.find(entity);
        if (known != m_sizes.end()) {
            return known->second;
        }
        const std::size_t size = measure(entity->children, nesting);
        m_sizes.emplace(entity, size);
        return size;
    }

    std::size_t m_limit;
    std::unordered_map<const xmlEntity*, std::size_t> m_sizes;
    const xmlNode* m_unreadable = nullptr;
};

[[noreturn]] void failUnreadable(const std::string& name, const xmlNode* reference)
{
    const auto* entity = reinterpret_cast<const xmlEntity*>(reference->children);
    const long line = xmlGetLineNo(reference);
    const std::string start = "El archivo " + quoted(name) + " usa"
        + (line > 0 ? " en la línea " + std::to_string(line) : std::string()) + " la entidad ";
    const std::string entityName = quoted(fromXml(reinterpret_cast<const char*>(reference->name)));
    if (entity == nullptr || entity->type != XML_ENTITY_DECL) {
        fail(start + entityName + ", que no está declarada en el propio documento");
    }
    const std::string source = fromXml(reinterpret_cast<const char*>(entity->SystemID));
    fail(start + "externa " + entityName + (source.empty() ? std::string() : ", que apunta a " + source + ",")
        + " y no se lee: un documento de Zentris no puede depender de otros archivos");
}

void requireSoundEntities(const xmlDoc* doc, std::size_t inputSize, const std::string& name)
{
    const std::size_t limit = std::max(kExpansionFloor, inputSize * kExpansionFactor);
    ExpansionMeter meter(limit);
    const std::size_t size = meter.measure(doc->children);
    if (meter.unreadable() != nullptr) {
        failUnreadable(name, meter.unreadable());
    }
    if (size > limit) {
        fail("El archivo " + quoted(name) + " no se puede cargar: sus entidades se expanden a un texto "
            + "demasiado grande");
    }
}

xmlDocPtr parseDocument(std::string_view bytes, const std::string& name)
{
    initialise();
    if (bytes.empty()) {
        fail("El archivo " + quoted(name) + " no es un documento XML válido: está vacío");
    }
    if (bytes.size() > INT_MAX) {
        fail("El archivo " + quoted(name) + " es demasiado grande para un documento XML");
    }
    std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> context(xmlNewParserCtxt(), xmlFreeParserCtxt);
    if (!context) {
        fail("No hay memoria para leer el archivo " + quoted(name));
    }
    ParseFailure failure;
    context->_private = &failure;
    context->sax->serror = collectError;
    currentFailure = &failure;
    xmlDocPtr doc = xmlCtxtReadMemory(
        context.get(), bytes.data(), static_cast<int>(bytes.size()), name.c_str(), nullptr, kParseOptions);
    currentFailure = nullptr;
    if (doc == nullptr) {
        failParsing(name, failure, xmlCtxtGetLastError(context.get()));
    }
    return doc;
}

} // namespace

void initialise()
{
    static const bool initialised = [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(refuseExternalEntity);
        return true;
    }();
    static_cast<void>(initialised);
    // The error handlers are the thread's own in libxml2.
    thread_local const bool quiet = [] {
        xmlSetStructuredErrorFunc(nullptr, collectErrorWithoutContext);
        xmlSetGenericErrorFunc(nullptr, ignoreMessage);
        return true;
    }();
    static_cast<void>(quiet);
}

xmlDocPtr parse(std::string_view bytes, const std::string& name)
{
    std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> doc(parseDocument(bytes, name), xmlFreeDoc);
    requireSoundEntities(doc.get(), bytes.size(), name);
    return doc.release();
}

} // namespace tqz::xml::parsing
