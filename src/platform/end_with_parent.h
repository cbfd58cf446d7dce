#pragma once

class QProcess;

namespace kestrix::platform {

// Has the program that `child` starts end as soon as this process ends, however it ends, even
// while it is busy and reads nothing. Call it before the child is started. (On Linux the child
// ends with the thread that started it: start it from the user-interface thread.)
void endWithParent(QProcess& child);

}  // namespace kestrix::platform
