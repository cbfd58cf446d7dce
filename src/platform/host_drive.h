#pragma once

#include <QString>

namespace kestrix::platform {

// Where drive C: lies among the host's folders: elsewhere than on Windows the C: drive of a
// Wine prefix, PREFIX/dosdevices/c: or PREFIX/drive_c, where PREFIX is `winePrefix` when given,
// otherwise $WINEPREFIX, otherwise ~/.wine; on Windows "", for paths are host paths there.
[[nodiscard]] QString hostDriveC(const QString& winePrefix);
// The Wine prefix that holds that drive C:, chosen the same way; "" on Windows.
[[nodiscard]] QString winePrefixFolder(const QString& winePrefix);

}  // namespace kestrix::platform
