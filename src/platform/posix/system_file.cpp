#include "platform/system_file.h"

namespace kestrix::platform {

bool isSystemFile(const QString&) {
    return false;
}

}  // namespace kestrix::platform
