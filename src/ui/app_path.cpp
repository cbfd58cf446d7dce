#include "ui/app_path.h"

#include <QCoreApplication>

namespace kestrix::ui {

QString appPath() {
    return QCoreApplication::applicationDirPath();
}

}  // namespace kestrix::ui
