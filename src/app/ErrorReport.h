#pragma once

#include <QString>

namespace tqz::app {

// The text of the default error report: the error's message, with "." added when its last
// character sorts after "." (so "válido" gets one, "ok." or "¡no!" do not).
QString errorReportText(const QString& message);

} // namespace tqz::app
