// Where Internet Explorer is missing, an address opens in the program the user chose for it.
#include "platform/program_start.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

namespace kestrix::platform {
namespace {

const wchar_t* const protocolKey = L"kestrix-test";

// The user's program for addresses "kestrix-test:...", for as long as the test needs one: it
// writes the address it was given into a file.
class ProtocolHandler {
public:
    explicit ProtocolHandler(const QString& mark) {
        const std::wstring command =
            L"cmd.exe /c echo %1>\"" + QDir::toNativeSeparators(mark).toStdWString() + L"\"";
        set(protocolKey, L"URL Protocol", L"");
        set(protocolKey + std::wstring(LR"(\shell\open\command)"), nullptr, command);
    }
    ProtocolHandler(const ProtocolHandler&) = delete;
    ProtocolHandler& operator=(const ProtocolHandler&) = delete;
    ~ProtocolHandler() { ::RegDeleteTreeW(HKEY_CLASSES_ROOT, protocolKey); }

private:
    static void set(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
        EXPECT_EQ(::RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
};

TEST(StartDetached, OpensAnAddressAloneInTheProgramChosenForIt) {
    QTemporaryDir folder;
    const QString mark = folder.filePath(QStringLiteral("opened.txt"));
    const ProtocolHandler handler(mark);
    ASSERT_TRUE(startDetached({QString(), {QStringLiteral("kestrix-test:page")}}));
    for (int waited = 0; waited < 10000 && QFile(mark).size() == 0; waited += 50) {
        QThread::msleep(50);
    }
    QFile opened(mark);
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
    EXPECT_EQ(opened.readAll().trimmed(), QByteArray("kestrix-test:page"));
}

}  // namespace
}  // namespace kestrix::platform
