#include "platform/font_engine.h"

namespace kestrix::platform {

QString fontReaderPlatform() {
    return QStringLiteral("offscreen");
}

}  // namespace kestrix::platform
