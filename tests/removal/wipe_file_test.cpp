#include "removal/wipe_file_fixture.h"
#include "support/files.h"
#include "support/links.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <iostream>

namespace kestrix::removal {
namespace {

using test::contentOf;

TEST_F(WipeFileTest, OverwritesWithBlanksToTheNextBlockBoundaryThenDeletes) {
    const std::vector<std::pair<qsizetype, qsizetype>> sizes = {
        {0, 4096}, {4095, 4096}, {4096, 8192}, {5000, 8192}};
    for (const auto& [size, wiped] : sizes) {
        const QString host = drive_.addFont(QStringLiteral("Sized.ttf"), pattern(size));
        auto opened = platform::WipeTarget::open(fonts(), QStringLiteral("Sized.ttf"));
        auto* file = std::get_if<platform::WipeTarget>(&opened);
        ASSERT_NE(file, nullptr) << size;
        EXPECT_TRUE(file->ownsContent());
        EXPECT_EQ(file->size(), size);

        EXPECT_EQ(OverwriteFile(*file), std::nullopt) << size;
        EXPECT_EQ(contentOf(host), QByteArray(wiped, ' ')) << size;

        EXPECT_EQ(file->removeName(), std::nullopt) << size;
        EXPECT_FALSE(drive_.hasFont(QStringLiteral("Sized.ttf"))) << size;
    }
}

TEST_F(WipeFileTest, RemovesTheFileWhateverTheLetterCaseOfThePath) {
    drive_.addFont(QStringLiteral("MyFont.TTF"), pattern(10000));
    EXPECT_EQ(WipeFile(QStringLiteral("c:\\windows\\fonts\\myfont.ttf"), drives_), std::nullopt);
    EXPECT_FALSE(drive_.hasFont(QStringLiteral("MyFont.TTF")));
    EXPECT_TRUE(QDir(drive_.fontsFolder()).isEmpty());
}

TEST_F(WipeFileTest, ReadOnlyFileIsNeitherWrittenNorDeleted) {
    // We run as root in CI, and administrators on Windows: the missing write bits, or the
    // read-only attribute, alone must hold the file.
    const QFile::Permissions readable = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    for (const auto permissions :
         {readable, QFile::Permissions(QFile::ReadOwner), QFile::Permissions()}) {
        const QString host = drive_.addFont(QStringLiteral("Locked.ttf"), pattern(5000));
        if (!QFile::setPermissions(host, permissions)) {
            // Windows has the read-only attribute alone, no file without any permission.
            std::cout << "not made here, permissions " << permissions.toInt() << '\n';
            continue;
        }
        EXPECT_EQ(WipeFile(windowsPath(QStringLiteral("Locked.ttf")), drives_),
                  QStringLiteral("read-only"));
        ASSERT_TRUE(QFile::setPermissions(host, readable | QFile::WriteOwner));
        EXPECT_EQ(contentOf(host), pattern(5000)) << permissions.toInt();
        QFile::remove(host);
    }
}

TEST_F(WipeFileTest, MissingFileIsNotCreated) {
    EXPECT_EQ(WipeFile(windowsPath(QStringLiteral("Gone.ttf")), drives_),
              QStringLiteral("file not found"));
    EXPECT_FALSE(drive_.hasFont(QStringLiteral("Gone.ttf")));
    EXPECT_NE(WipeFile(QStringLiteral("C:\\NoSuchFolder\\x.ttf"), drives_), std::nullopt);
    EXPECT_FALSE(QFileInfo::exists(drive_.driveC() + QStringLiteral("/NoSuchFolder")));
    EXPECT_NE(WipeFile(QStringLiteral("D:\\x.ttf"), drives_), std::nullopt);

    // A name holding a stream (":") or a folder ("\\") is never an entry of the folder, and
    // leads to nothing of the files it names.
    drive_.addFont(QStringLiteral("Font.ttf"), pattern(100));
    ASSERT_TRUE(QDir(drive_.fontsFolder()).mkdir(QStringLiteral("sub")));
    test::writeFile(drive_.fontsFolder() + QStringLiteral("/sub/Font.ttf"), pattern(200));
    for (const auto& name : {QStringLiteral("Font.ttf:hidden"), QStringLiteral("Font.ttf::$DATA"),
                             QStringLiteral("sub\\Font.ttf"), QStringLiteral("sub/Font.ttf")}) {
        EXPECT_EQ(WipeFile(fonts(), name), QStringLiteral("file not found")) << name.toStdString();
    }
    EXPECT_EQ(contentOf(drive_.fontsFolder() + QStringLiteral("/Font.ttf")), pattern(100));
    EXPECT_EQ(contentOf(drive_.fontsFolder() + QStringLiteral("/sub/Font.ttf")), pattern(200));
}

TEST_F(WipeFileTest, SymbolicLinkIsRemovedAndItsTargetLeftIntact) {
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral("precious.ttf"));
    test::writeFile(target, pattern(5000));
    const struct {
        QString name;
        QString target;
    } links[] = {{QStringLiteral("Link.ttf"), target},
                 {QStringLiteral("Dangling.ttf"), elsewhere.filePath(QStringLiteral("none"))}};
    for (const auto& link : links) {
        if (auto failure =
                test::symbolicLink(link.target, drive_.fontsFolder() + u'/' + link.name)) {
            std::cout << "not made here, link " << link.name.toStdString() << ": "
                      << failure->toStdString() << '\n';
            continue;
        }
        EXPECT_EQ(WipeFile(windowsPath(link.name), drives_), std::nullopt);
        EXPECT_FALSE(drive_.hasFont(link.name));
    }
    EXPECT_EQ(contentOf(target), pattern(5000));
    EXPECT_FALSE(QFileInfo::exists(elsewhere.filePath(QStringLiteral("none"))));
}

TEST_F(WipeFileTest, HardLinkedFileLosesOnlyThisName) {
    const QString host = drive_.addFont(QStringLiteral("Shared.ttf"), pattern(5000));
    const QString other = drive_.driveC() + QStringLiteral("/other-name.ttf");
    ASSERT_EQ(test::hardLink(host, other), std::nullopt);
    auto opened = platform::WipeTarget::open(fonts(), QStringLiteral("Shared.ttf"));
    ASSERT_TRUE(std::holds_alternative<platform::WipeTarget>(opened));
    EXPECT_FALSE(std::get<platform::WipeTarget>(opened).ownsContent());

    EXPECT_EQ(WipeFile(windowsPath(QStringLiteral("Shared.ttf")), drives_), std::nullopt);
    EXPECT_FALSE(drive_.hasFont(QStringLiteral("Shared.ttf")));
    EXPECT_EQ(contentOf(other), pattern(5000));
}

}  // namespace
}  // namespace kestrix::removal
