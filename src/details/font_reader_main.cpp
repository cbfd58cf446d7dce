// kestrix-font-reader: reads the names of font files for Kestrix and draws their samples, one
// request at a time, in a process of its own, under a memory limit of its own and with the least
// rights, so that a file which crashes, hangs or swells the font engine, or takes it over, harms
// nothing else.
#include "details/font_file.h"
#include "details/reader_protocol.h"
#include "platform/helper_process.h"
#include "platform/memory_limit.h"
#include "platform/standard_streams.h"

#include <QGuiApplication>
#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char* argv[]) {
    using namespace kestrix;
    // Verdicts go where nothing else writes: libraries print on standard output when asked to
    // (fontconfig's debugging, for one), and that goes to standard error from here on.
    const platform::OwnStream verdicts = platform::takeStandardOutput();
    if (!verdicts) {
        std::perror("kestrix-font-reader: standard output");
        return 1;
    }
    // FreeType, the font engine of the offscreen platform, reads every kind of font file on every
    // system (Windows' own engine reads no .fon), and the reader needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication application(argc, argv);
    platform::useBinaryStandardStreams();
    if (!platform::limitMemoryGrowth(details::readerMemory)) {
        std::fputs("kestrix-font-reader: the system would not limit its memory\n", stderr);
        return 1;
    }
    if (!platform::giveUpRights()) {
        std::fputs("kestrix-font-reader: the system would not let it give up its rights\n", stderr);
        return 1;
    }
    std::string request;
    while (std::getline(std::cin, request, '\0')) {
        const details::ReadRequest asked =
            details::decodeRequest(QByteArray::fromStdString(request));
        const QByteArray verdict =
            details::encodeVerdict(details::readFontFile(asked, platform::takeHandedFile()));
        std::fwrite(verdict.constData(), 1, static_cast<std::size_t>(verdict.size()),
                    verdicts.get());
        std::fflush(verdicts.get());
    }
    return 0;
}
