#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kestrix::app {

// What Kestrix was asked on its command line.
struct CommandLine {
    // Kestrix stops before opening a window: prints `text` to standard output (or standard
    // error) and exits with `code`.
    struct Exit {
        QString text;
        bool toStandardError = false;
        int code = 0;
    };
    std::optional<Exit> exit;
    // The Wine prefix given with --prefix; "" when none was.
    QString winePrefix;
};

// Reads the arguments, the program's own name first, leaving Qt's own options (-style,
// -platform, -session...) to Qt. --help and --version end with code 0; an unknown option, a
// missing value or an argument Kestrix takes none of end with code 2 and a one-line error
// followed by the usage.
[[nodiscard]] CommandLine parseCommandLine(const QStringList& arguments);

}  // namespace kestrix::app
