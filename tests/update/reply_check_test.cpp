#include "update/reply_check.h"

#include <gtest/gtest.h>

namespace kestrix::update {
namespace {

TEST(VersionRequest, IsTheFourLinesEachEndedByCrLf) {
    const QByteArray request = versionRequest(QStringLiteral("updates.kestrix.org"));
    EXPECT_EQ(request, QByteArray("GET /kestrix/version.html HTTP/1.1\r\n"
                                  "Host: updates.kestrix.org\r\n"
                                  "Connection: Keep-Alive\r\n"
                                  "\r\n"));
    EXPECT_EQ(request.size(), 70 + QByteArray("updates.kestrix.org").size());
}

TEST(LatestVersion, IsTheTextBehindTheFirstMarkerUpToASecondMarkerOrTheLineEnd) {
    const auto latest = [](const char* reply) { return latestVersion(QString::fromLatin1(reply)); };
    EXPECT_EQ(latest("HTTP/1.1 200 OK\r\n\r\n<p>Latest Version: 1.1.8"), QStringLiteral("1.1.8"));
    EXPECT_EQ(latest("Latest Version: 1.1.8\r\n"), QStringLiteral("1.1.8"));
    EXPECT_EQ(latest("Latest Version: 1.1.8\n</body>"), QStringLiteral("1.1.8"));
    EXPECT_EQ(latest("Latest Version: 1.2.0</p>\r\n"), QStringLiteral("1.2.0</p>"));
    EXPECT_EQ(latest("Latest Version: 1.1.8Latest Version: 2.0"), QStringLiteral("1.1.8"));
    EXPECT_EQ(latest("Latest Version:  1.1.8 "), QStringLiteral(" 1.1.8 "));
    EXPECT_EQ(latest("Latest Version: "), QStringLiteral(""));
    EXPECT_EQ(latest("Latest Version: \r\n1.1.8"), QStringLiteral(""));
}

TEST(LatestVersion, NeedsTheMarkerExactlyWithItsLetterCase) {
    EXPECT_FALSE(latestVersion(QStringLiteral("latest version: 1.1.8")));
    EXPECT_FALSE(latestVersion(QStringLiteral("Latest Version:1.1.8")));
    EXPECT_FALSE(latestVersion(QStringLiteral("Latest Ver")));
    EXPECT_FALSE(latestVersion(QString()));
}

TEST(OwnVersion, IsTheTextBehindVersionInTheCaption) {
    EXPECT_EQ(ownVersion(QStringLiteral("Version: 1.1.8")), QStringLiteral("1.1.8"));
    EXPECT_EQ(ownVersion(QStringLiteral("Version: 1.1.8 Version: 2")), QStringLiteral("1.1.8 "));
    EXPECT_EQ(ownVersion(QStringLiteral("1.1.8")), QStringLiteral(""));
}

TEST(DownloadAddress, LivesOnTheUpdateServer) {
    EXPECT_EQ(downloadAddress({QStringLiteral("updates.kestrix.org"), 80}),
              QStringLiteral("http://updates.kestrix.org/kestrix/kestrix.zip"));
    EXPECT_EQ(downloadAddress({QStringLiteral("127.0.0.1"), 8080}),
              QStringLiteral("http://127.0.0.1:8080/kestrix/kestrix.zip"));
    EXPECT_EQ(fixedUpdateServer().port, 80);
    EXPECT_FALSE(fixedUpdateServer().host.isEmpty());
}

}  // namespace
}  // namespace kestrix::update
