#include "platform/Error.h"

#include <cstring>

namespace tqz {

void fail(const std::string& message)
{
    throw Error(message);
}

std::string systemMessage(int errorNumber)
{
    return std::strerror(errorNumber);
}

} // namespace tqz
