#include "platform/drive_map.h"
#include "support/temp_drive.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace kestrix::platform {
namespace {

using Status = ResolvedPath::Status;

TEST(DriveMap, MatchesEachComponentExactlyFirstThenIgnoringCase) {
    test::TempDrive drive;
    const QString arial = drive.addFont("Arial.ttf");
    const DriveMap map = drive.drives();

    const auto exact = map.resolve("C:\\windows\\Fonts\\Arial.ttf");
    EXPECT_EQ(exact.status, Status::Found);
    EXPECT_EQ(exact.hostPath, arial);

    const auto anyCase = map.resolve("c:\\WINDOWS\\FONTS\\arial.TTF");
    EXPECT_EQ(anyCase.status, Status::Found);
    EXPECT_EQ(anyCase.hostPath, arial);

    const auto folder = map.resolve("C:\\WINDOWS\\Fonts");
    EXPECT_EQ(folder.status, Status::Found);
    EXPECT_EQ(folder.hostPath, drive.fontsFolder());

    const auto opened = map.openFolder("c:\\WINDOWS\\FONTS");
    ASSERT_TRUE(std::holds_alternative<OpenFolder>(opened));
    EXPECT_EQ(std::get<OpenFolder>(opened).find("ARIAL.ttf").name, "Arial.ttf");
}

TEST(DriveMap, PrefersTheExactNameAndRefusesToGuessBetweenOthers) {
    test::TempDrive drive;
    const QString exact = drive.addFont("MyFont.ttf");
    drive.addFont("MYFONT.TTF");
    const DriveMap map = drive.drives();

    EXPECT_EQ(map.resolve("C:\\WINDOWS\\Fonts\\MyFont.ttf").hostPath, exact);
    EXPECT_EQ(map.resolve("C:\\WINDOWS\\Fonts\\myfont.ttf").status, Status::Ambiguous);

    ASSERT_TRUE(QDir().mkpath(drive.driveC() + "/windows/Twin"));
    ASSERT_TRUE(QDir().mkpath(drive.driveC() + "/windows/TWIN"));
    const auto twins = map.openFolder("C:\\windows\\twin");
    ASSERT_TRUE(std::holds_alternative<QString>(twins));
    EXPECT_TRUE(std::get<QString>(twins).contains("letter case"));
}

TEST(DriveMap, NamesWhereAMissingFileWouldBe) {
    test::TempDrive drive;
    const DriveMap map = drive.drives();

    const auto missing = map.resolve("C:\\WINDOWS\\Fonts\\new.ttf");
    EXPECT_EQ(missing.status, Status::Missing);
    EXPECT_EQ(missing.hostPath, drive.fontsFolder() + "/new.ttf");

    EXPECT_EQ(map.resolve("C:\\nowhere\\Fonts").status, Status::Missing);
    EXPECT_EQ(map.resolve("D:\\WINDOWS\\Fonts").status, Status::Invalid);
    EXPECT_EQ(map.resolve("C:\\WINDOWS\\..\\etc").status, Status::Invalid);
    for (const auto* path : {"C:\\nowhere\\Fonts", "D:\\WINDOWS\\Fonts", "C:\\WINDOWS\\..\\etc"}) {
        EXPECT_TRUE(std::holds_alternative<QString>(map.openFolder(path))) << path;
    }
}

TEST(DriveMap, FindsADanglingLinkByName) {
    test::TempDrive drive;
    const QString link = drive.fontsFolder() + "/gone.ttf";
    ASSERT_TRUE(QFile::link(drive.fontsFolder() + "/nothing-here", link));
    const auto resolved = drive.drives().resolve("C:\\WINDOWS\\Fonts\\GONE.TTF");
    EXPECT_EQ(resolved.status, Status::Found);
    EXPECT_EQ(resolved.hostPath, link);
}

TEST(DriveMap, TakesTheGivenPrefixOverWineprefixAndNamesAMissingDriveC) {
    QTemporaryDir dir;
    const QString given = dir.filePath("given");
    const QString named = dir.filePath("named");
    ASSERT_TRUE(QDir().mkpath(given + "/drive_c/windows/Fonts"));
    const QByteArray saved = qgetenv("WINEPREFIX");
    const bool wasSet = qEnvironmentVariableIsSet("WINEPREFIX");
    qputenv("WINEPREFIX", named.toLocal8Bit());

    const DriveMap map = DriveMap::fromEnvironment(given);
    EXPECT_EQ(map.resolve("C:\\WINDOWS\\Fonts").hostPath, given + "/drive_c/windows/Fonts");
    EXPECT_FALSE(map.missingDriveC());

    const auto missing = DriveMap::fromEnvironment().missingDriveC();
    ASSERT_TRUE(missing);
    EXPECT_TRUE(missing->contains('\n' + named + "/drive_c\n")) << missing->toStdString();
    EXPECT_TRUE(missing->contains("WINEPREFIX") && missing->contains("--prefix"));

    wasSet ? qputenv("WINEPREFIX", saved) : qunsetenv("WINEPREFIX");
}

}  // namespace
}  // namespace kestrix::platform
