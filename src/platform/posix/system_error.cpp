#include "platform/system_error.h"

#include <cstring>

namespace kestrix::platform {

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace kestrix::platform
