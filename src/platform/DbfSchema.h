#pragma once

// Field definitions of a table the tool creates. Kinds map to dBase fields as the engine writes
// them: text(n) → C(n), integer → N(11,0), boolean → L, float → N(20,4).

#include <string>
#include <vector>

namespace tqz::dbf {

enum class FieldKind { Text, Integer, Boolean, Float };

struct FieldDef {
    std::string name;   // at most 10 ASCII characters, upper case
    FieldKind kind = FieldKind::Text;
    int width = 0;      // text fields only; the other kinds have fixed widths
};

using Schema = std::vector<FieldDef>;

} // namespace tqz::dbf
