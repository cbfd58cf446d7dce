// kestrix-font-reader: reads the names of font files for Kestrix, one request at a time, in a
// process of its own, so that a file which crashes or hangs the font engine harms nothing else.
#include "details/font_file.h"
#include "details/reader_protocol.h"
#include "platform/standard_streams.h"

#include <QGuiApplication>
#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char* argv[]) {
    const QGuiApplication application(argc, argv);
    kestrix::platform::useBinaryStandardStreams();
    std::string request;
    while (std::getline(std::cin, request, '\0')) {
        using namespace kestrix::details;
        const ReadRequest asked = decodeRequest(QByteArray::fromStdString(request));
        const QByteArray verdict = encodeVerdict(readFontFile(asked.hostPath), asked.withBytes);
        std::fwrite(verdict.constData(), 1, static_cast<std::size_t>(verdict.size()), stdout);
        std::fflush(stdout);
    }
    return 0;
}
