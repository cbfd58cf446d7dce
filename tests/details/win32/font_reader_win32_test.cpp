// The rights the font reader starts with on Windows.
#include "details/font_reader.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <QTest>
#include <iostream>

namespace kestrix::details {
namespace {

DWORD integrityLevelOf(HANDLE token) {
    std::aligned_storage_t<sizeof(TOKEN_MANDATORY_LABEL) + SECURITY_MAX_SID_SIZE> label{};
    DWORD size = sizeof label;
    if (!::GetTokenInformation(token, TokenIntegrityLevel, &label, size, &size)) {
        return 0;
    }
    const PSID level = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(&label)->Label.Sid;
    return *::GetSidSubAuthority(level, *::GetSidSubAuthorityCount(level) - 1U);
}

// Whether a token keeps the low integrity level it is given: Wine's stay high.
bool integrityLevelsKept() {
    HANDLE own = nullptr;
    (void)::OpenProcessToken(::GetCurrentProcess(), TOKEN_ALL_ACCESS, &own);
    std::aligned_storage_t<SECURITY_MAX_SID_SIZE> low{};
    DWORD size = sizeof low;
    (void)::CreateWellKnownSid(WinLowLabelSid, nullptr, &low, &size);
    HANDLE copy = nullptr;
    (void)::DuplicateTokenEx(own, TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation, TokenPrimary,
                             &copy);
    TOKEN_MANDATORY_LABEL label{{&low, SE_GROUP_INTEGRITY}};
    (void)::SetTokenInformation(copy, TokenIntegrityLevel, &label, sizeof label + size);
    const bool kept = integrityLevelOf(copy) == SECURITY_MANDATORY_LOW_RID;
    ::CloseHandle(copy);
    ::CloseHandle(own);
    return kept;
}

// The reader has Administrators for denying access only, runs at low integrity where the system
// keeps integrity levels, and is inside a job.
TEST(FontReaderTest, StartsWithARestrictedLowIntegrityTokenInsideItsJob) {
    FontReader reader(QStringLiteral(KESTRIX_FONT_READER), readerPatience);
    std::optional<FontVerdict> read;
    QObject::connect(&reader, &FontReader::verdictRead,
                     [&](const QString&, const FontVerdict& verdict) { read = verdict; });
    reader.request({}, {QStringLiteral(KESTRIX_TEST_FONTS "/impostor.ttf"), false});
    ASSERT_TRUE(QTest::qWaitFor([&] { return read.has_value(); }, 20000));
    EXPECT_EQ(read->family, QStringLiteral("DejaVu Sans")) << read->reason.toStdString();
    const HANDLE process = ::OpenProcess(
        PROCESS_QUERY_INFORMATION, FALSE,
        static_cast<DWORD>(
            reader.findChildren<platform::HelperProcess*>().value(0, nullptr)->processId()));
    HANDLE token = nullptr;
    ASSERT_TRUE(::OpenProcessToken(process, TOKEN_QUERY | TOKEN_DUPLICATE, &token));

    std::aligned_storage_t<SECURITY_MAX_SID_SIZE> administrators{};
    DWORD size = sizeof administrators;
    ASSERT_TRUE(::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, &administrators, &size));
    BOOL isAdministrator = TRUE;
    EXPECT_TRUE(::CheckTokenMembership(nullptr, &administrators, &isAdministrator));
    ASSERT_TRUE(isAdministrator) << "the test runs elevated, as Kestrix does";
    HANDLE impersonation = nullptr;
    ASSERT_TRUE(::DuplicateToken(token, SecurityIdentification, &impersonation));
    EXPECT_TRUE(::CheckTokenMembership(impersonation, &administrators, &isAdministrator));
    EXPECT_FALSE(isAdministrator);
    if (integrityLevelsKept()) {
        EXPECT_EQ(integrityLevelOf(token), DWORD{SECURITY_MANDATORY_LOW_RID});
    } else {
        std::cout << "integrity level not kept here\n";
    }
    BOOL inJob = FALSE;
    EXPECT_TRUE(::IsProcessInJob(process, nullptr, &inJob) && inJob);
    ::CloseHandle(impersonation);
    ::CloseHandle(token);
    ::CloseHandle(process);
}

}  // namespace
}  // namespace kestrix::details
