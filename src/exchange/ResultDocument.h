#pragma once

// The result document of the Quorvane-to-Zentris conversion: the loaded exchange document with its
// output section replaced by the ERROR block and one record per teacher, each holding one record
// per lesson. Values arrive as the tables give them (8-bit ANSI text) and are stored untrimmed.

#include "platform/XmlDocument.h"

#include <cstddef>
#include <filesystem>
#include <string_view>

namespace tqz::exchange {

class ResultDocument {
public:
    // Takes over a freshly loaded document and derives the result from it: the root's first SALIDAS
    // goes with everything in it, a new empty SALIDAS is appended as the root's last child, and the
    // root's first SALIDAS, looked up again, becomes the container and receives the ERROR block.
    // With two SALIDAS the container is therefore the old second one, and the new one stays empty.
    // A document without a root element or without SALIDAS under its root fails naming `file`,
    // before anything is changed.
    ResultDocument(xml::Document document, const std::filesystem::path& file);

    // A listasal "EMPLEADO_<number>" appended to the container.
    xml::Element appendTeacher(std::size_t number);
    // A listasal "ACTIVIDAD_<number>" appended to `teacher`.
    xml::Element appendLesson(xml::Element teacher, std::size_t number);
    // A salida with the dato `field` and the 8-bit text `value`, appended to `record`.
    void appendSalida(xml::Element record, std::string_view field, std::string_view value);

    const xml::Document& document() const { return m_document; }
    // Written to a temporary file and renamed over `file`, so an earlier result is never left
    // half-overwritten.
    void save(const std::filesystem::path& file) const;

private:
    static xml::Element replaceSalidas(xml::Document& document, const std::filesystem::path& file);
    xml::Element appendRecord(xml::Element parent, std::string_view seqPrefix, std::size_t number);
    void appendErrorBlock();

    xml::Document m_document;
    xml::Element m_container;
};

} // namespace tqz::exchange
