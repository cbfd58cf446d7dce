#pragma once

#include "support/files.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace kestrix::settings {

inline const QString section = QStringLiteral("Kestrix Settings");

// An Info.ini of the test's own, in a temporary folder.
class ProfileFileTest : public testing::Test {
protected:
    QString file() const { return dir_.filePath(QStringLiteral("Info.ini")); }

    void store(const QByteArray& bytes) const { test::writeFile(file(), bytes); }
    QByteArray stored() const { return test::contentOf(file()); }

    QTemporaryDir dir_;
};

}  // namespace kestrix::settings
