// The week's time slots from the keyed list TRAMOS. A slot's name is its day letter followed by
// its period number (L1, X12); the day number and the period are taken apart from it.

#include "convert/Builders.h"

#include "exchange/DayLetters.h"
#include "exchange/Envelope.h"
#include "exchange/InputRecords.h"
#include "tables/Schemas.h"
#include "tables/WorkingTable.h"

#include <array>
#include <string>
#include <utility>

namespace tqz::convert {

namespace {

namespace field = tables::diashorast;

struct SlotValues {
    std::string diho;
    std::string codDiho;
    std::string horaDesde;
    std::string horaHasta;
    std::string minutos;
};

// Field keys and the value each fills. NOMBRE and DIA both name the slot; whichever comes later
// in the record wins.
const std::array<std::pair<std::string_view, std::string SlotValues::*>, 6> kFieldKeys { {
    { exchange::tramo::kCodigoZentris, &SlotValues::codDiho },
    { exchange::tramo::kNombre, &SlotValues::diho },
    { exchange::tramo::kDia, &SlotValues::diho },
    { exchange::tramo::kInicio, &SlotValues::horaDesde },
    { exchange::tramo::kFin, &SlotValues::horaHasta },
    { exchange::tramo::kMinutos, &SlotValues::minutos },
} };

SlotValues readSlot(const exchange::InputRecord& record)
{
    SlotValues slot;
    for (const auto& keyed : record.keyedValues()) {
        for (const auto& [key, member] : kFieldKeys) {
            if (keyed.key == key) {
                slot.*member = keyed.value;
                break;
            }
        }
    }
    return slot;
}

// The day number of the slot's letter; a character that is no day letter stands for itself.
std::string dayOf(const std::string& diho)
{
    if (diho.empty()) {
        return {};
    }
    const auto number = exchange::dayNumberOf(diho.front());
    return number ? std::string(*number) : diho.substr(0, 1);
}

// The period: at most two characters after the day letter.
std::string periodOf(const std::string& diho)
{
    return diho.size() > 1 ? diho.substr(1, 2) : std::string();
}

} // namespace

dbf::TableWriter TransformarTramos(const LoadedDocument& source)
{
    auto table = tables::newWorkingTable(field::kTable);
    for (const auto& record : exchange::selectRecords(source.document, exchange::list::kTramos)) {
        const SlotValues slot = readSlot(record);
        table.append();
        table.setText(field::kDiho, slot.diho);
        table.setText(field::kDia, dayOf(slot.diho));
        table.setText(field::kHora, periodOf(slot.diho));
        table.setText(field::kCodDiho, slot.codDiho);
        table.setText(field::kHoraDesde, slot.horaDesde);
        table.setText(field::kHoraHasta, slot.horaHasta);
        table.setText(field::kMinutos, slot.minutos);
        table.post();
    }
    return table;
}

} // namespace tqz::convert
