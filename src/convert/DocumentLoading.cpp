#include "convert/DocumentLoading.h"

namespace tqz::convert {

xml::Document CargarDocumentoXML(const std::filesystem::path& archivoXml)
{
    return xml::Document::load(archivoXml);
}

} // namespace tqz::convert
