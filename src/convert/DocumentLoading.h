#pragma once

#include "platform/XmlDocument.h"

#include <filesystem>

namespace tqz::convert {

// Loads the chosen exchange document afresh; both conversions start with it. A file that cannot
// be read or is not well-formed is an error naming the file (and the line), never an empty
// document that would turn into empty tables.
xml::Document CargarDocumentoXML(const std::filesystem::path& archivoXml);

} // namespace tqz::convert
