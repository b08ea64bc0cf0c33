#include "exchange/InputRecords.h"

#include "exchange/Envelope.h"
#include "platform/Error.h"
#include "platform/Text.h"

#include <string>

namespace tqz::exchange {

namespace {

std::string ansiValue(const xml::Element& field)
{
    return text::toAnsi(text::trim(field.text()));
}

} // namespace

InputRecord::InputRecord(const xml::Element& element, std::size_t position)
    : m_fields(element.selectNodes(kSalida))
    , m_position(position)
{
}

std::string InputRecord::value(std::size_t index) const
{
    if (index >= m_fields.size()) {
        return {};
    }
    return ansiValue(m_fields[index]);
}

std::vector<KeyedValue> InputRecord::keyedValues() const
{
    std::vector<KeyedValue> values;
    values.reserve(m_fields.size());
    for (const auto& field : m_fields) {
        const auto key = field.attribute(kDato);
        if (key) {
            values.push_back({ text::toAnsi(*key), ansiValue(field) });
        }
    }
    return values;
}

std::string listPath(std::string_view listName)
{
    // The name sits inside a double-quoted literal; the list names are fixed words without quotes.
    if (listName.find('"') != std::string_view::npos) {
        fail("El nombre de lista '" + std::string(listName) + "' no puede contener comillas");
    }
    std::string path;
    path.append("/").append(kRoot).append("/").append(kSalidas).append("/").append(kListasal);
    path.append("[@").append(kSeq).append("=\"").append(listName).append("\"]/").append(kListasal);
    return path;
}

std::vector<InputRecord> selectRecords(const xml::Document& document, std::string_view listName)
{
    const auto elements = document.selectNodes(listPath(listName));
    std::vector<InputRecord> records;
    records.reserve(elements.size());
    for (std::size_t i = 0; i < elements.size(); ++i) {
        records.emplace_back(elements[i], i + 1);
    }
    return records;
}

} // namespace tqz::exchange
