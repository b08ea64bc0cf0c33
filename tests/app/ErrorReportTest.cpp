#include "app/ErrorReport.h"

#include <gtest/gtest.h>

namespace {

// A period follows any last character that sorts after "." and nothing else.
TEST(ErrorReportText, PeriodAfterCharactersThatSortAfterIt)
{
    const std::pair<const char*, const char*> cases[] = {
        { "'$0x1A' no es un valor entero válido", "'$0x1A' no es un valor entero válido." },
        { "Unable to write to /opt/tqz/Quorvane.ini", "Unable to write to /opt/tqz/Quorvane.ini." },
        { "fin/", "fin/." },
        { "hora 9:", "hora 9:." },
        { "canción", "canción." },
        { "cita'", "cita'" },
        { "hecho.", "hecho." },
        { "¡no!", "¡no!" },
        { "(x)", "(x)" },
        { "a,", "a," },
        { "a-", "a-" },
        { "espacio ", "espacio " },
        { "", "" },
    };
    for (const auto& [message, shown] : cases) {
        EXPECT_EQ(tqz::app::errorReportText(QString::fromUtf8(message)), QString::fromUtf8(shown)) << message;
    }
}

} // namespace
