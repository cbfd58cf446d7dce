// An address opens in the program the user chose for it, started by the desktop's shell.
#include "platform/program_start.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <iostream>

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

// Whether the program chosen for the address wrote it into the mark within `wait` ms.
QString openedWithin(const QString& mark, int wait) {
    for (int waited = 0; waited < wait && QFile(mark).size() == 0; waited += 50) {
        QThread::msleep(50);
    }
    QFile opened(mark);
    return opened.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(opened.readAll().trimmed())
                                            : QString();
}

// The shell gets the address as its one argument and starts what it opens; where there is no
// shell nothing is started, least of all with this program's rights. The desktop's own shell
// (Wine's explorer runs one where it has a display) opens it, or where there is none, nothing.
TEST(StartDetached, OpensAnAddressAloneThroughTheDesktopsShellOrNotAtAll) {
    QTemporaryDir folder;
    const QString mark = folder.filePath(QStringLiteral("opened.txt"));
    const ProtocolHandler handler(mark);
    const QString address = handler.address(QStringLiteral("page"));
    ASSERT_EQ(browserCommandLine(address), (CommandLine{QString(), {address}}));
    QStringList asked;
    const DesktopShell standIn = [&](const QString& document) {
        asked << document;
        return true;
    };
    EXPECT_TRUE(startThrough(browserCommandLine(address), standIn));
    EXPECT_EQ(asked, QStringList{address});
    EXPECT_FALSE(startThrough(browserCommandLine(address), [](const QString&) { return false; }));
    EXPECT_EQ(openedWithin(mark, 1000), QString()) << "started without the shell";

    const bool started = startDetached(browserCommandLine(address));
    EXPECT_EQ(openedWithin(mark, started ? 10000 : 1000), started ? address : QString());
    std::cout << (started ? "opened by the desktop's shell\n" : "no desktop shell here\n");
}

}  // namespace
}  // namespace kestrix::platform
