#include "exchange/ResultDocument.h"

#include "exchange/Envelope.h"
#include "platform/Error.h"
#include "platform/Text.h"

#include <string>
#include <utility>

namespace tqz::exchange {

namespace {

std::string quoted(const std::filesystem::path& file)
{
    return "'" + file.string() + "'";
}

} // namespace

ResultDocument::ResultDocument(xml::Document document, const std::filesystem::path& file)
    : m_document(std::move(document))
    , m_container(replaceSalidas(m_document, file))
{
    appendErrorBlock();
}

xml::Element ResultDocument::replaceSalidas(xml::Document& document, const std::filesystem::path& file)
{
    auto root = document.root();
    if (!root) {
        fail("El documento " + quoted(file) + " no tiene elemento raíz");
    }
    const auto loaded = root->selectSingleNode(kSalidas);
    if (!loaded) {
        fail("El documento " + quoted(file) + " no tiene elemento " + std::string(kSalidas)
            + " bajo su raíz '" + root->name() + "'");
    }
    root->removeChild(*loaded);
    root->appendChild(document.createElement(kSalidas));
    // Looked up again rather than taking the new element: when the document had a second SALIDAS,
    // that one is now the first and receives the result.
    return *root->selectSingleNode(kSalidas);
}

void ResultDocument::appendErrorBlock()
{
    auto block = m_document.createElement(result::kError);
    m_container.appendChild(block);
    appendSalida(block, result::kCnError, result::kCnErrorValue);
    appendSalida(block, result::kTeError, result::kTeErrorValue);
}

xml::Element ResultDocument::appendTeacher(std::size_t number)
{
    return appendRecord(m_container, result::kTeacherSeqPrefix, number);
}

xml::Element ResultDocument::appendLesson(xml::Element teacher, std::size_t number)
{
    return appendRecord(teacher, result::kLessonSeqPrefix, number);
}

xml::Element ResultDocument::appendRecord(xml::Element parent, std::string_view seqPrefix, std::size_t number)
{
    auto record = m_document.createElement(kListasal);
    record.setAttribute(kSeq, std::string(seqPrefix) + std::to_string(number));
    parent.appendChild(record);
    return record;
}

void ResultDocument::appendSalida(xml::Element record, std::string_view field, std::string_view value)
{
    auto salida = m_document.createElement(kSalida);
    salida.setAttribute(kDato, field);
    salida.setText(text::fromAnsi(value));
    record.appendChild(salida);
}

void ResultDocument::save(const std::filesystem::path& file) const
{
    m_document.save(file);
}

} // namespace tqz::exchange
