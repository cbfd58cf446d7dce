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

// The user's program for addresses "kestrix-test-PROCESS:...", for as long as the test needs
// one: it writes the address it was given into a file. Named for the process, so that tests
// running at once each have their own.
class ProtocolHandler {
public:
    explicit ProtocolHandler(const QString& mark) {
        const std::wstring command =
            L"cmd.exe /c echo %1>\"" + QDir::toNativeSeparators(mark).toStdWString() + L"\"";
        set(protocol_, L"URL Protocol", L"");
        set(protocol_ + LR"(\shell\open\command)", nullptr, command);
    }
    ProtocolHandler(const ProtocolHandler&) = delete;
    ProtocolHandler& operator=(const ProtocolHandler&) = delete;
    ~ProtocolHandler() { ::RegDeleteTreeW(HKEY_CLASSES_ROOT, protocol_.c_str()); }

    [[nodiscard]] QString address(const QString& page) const {
        return QString::fromStdWString(protocol_) + u':' + page;
    }

private:
    const std::wstring protocol_ = L"kestrix-test-" + std::to_wstring(::GetCurrentProcessId());

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
    const QString address = handler.address(QStringLiteral("page"));
    ASSERT_TRUE(startDetached({QString(), {address}}));
    for (int waited = 0; waited < 10000 && QFile(mark).size() == 0; waited += 50) {
        QThread::msleep(50);
    }
    QFile opened(mark);
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLocal8Bit(opened.readAll().trimmed()), address);
}

}  // namespace
}  // namespace kestrix::platform
