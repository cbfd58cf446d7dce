#include "platform/font_engine.h"

#include <QGuiApplication>

namespace kestrix::platform {

QString fontReaderPlatform() {
    // Offscreen would read with FreeType, the windows platform draws with DirectWrite or GDI.
    const QString own = QGuiApplication::platformName();
    return own.isEmpty() ? QStringLiteral("windows") : own;
}

}  // namespace kestrix::platform
