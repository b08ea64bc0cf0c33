#pragma once

// Turns bytes into a libxml2 document for the XML document layer, safely: nothing outside the
// bytes is read (no external entity, DTD or network), libxml2 prints nothing, entity expansion is
// bounded, a reference to an entity the bytes do not declare is refused rather than read as "",
// and a failure is an Error naming the file and the line.

#include <libxml/tree.h>

#include <string>
#include <string_view>

namespace tqz::xml::parsing {

// Sets libxml2 up once for the process: its parser initialised, every external entity refused.
void initialise();

// The document the bytes hold, owned by the caller (xmlFreeDoc). `name` stands for the file in
// messages.
xmlDocPtr parse(std::string_view bytes, const std::string& name);

} // namespace tqz::xml::parsing
