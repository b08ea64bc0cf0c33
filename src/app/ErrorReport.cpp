#include "app/ErrorReport.h"

namespace tqz::app {

QString errorReportText(const QString& message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) {
        return message + QLatin1Char('.');
    }
    return message;
}

} // namespace tqz::app
