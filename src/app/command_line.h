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

// Whether the whole command line asks for --help or --version. Kestrix answers those on its
// console, and the application object that first takes Qt's own options out of the arguments
// then needs no screen.
[[nodiscard]] bool asksForText(const QStringList& arguments);

// Reads what Qt left of the arguments (QCoreApplication::arguments(): the program's own name
// first, without Qt's options such as -style, -platform or -session). --help and --version end
// with code 0; an unknown option, a missing value or an argument Kestrix takes none of end with
// code 2 and a one-line error followed by the usage. `textAsked` is asksForText() of the whole
// command line: the answer must then come from what Qt left.
[[nodiscard]] CommandLine parseCommandLine(const QStringList& arguments, bool textAsked);

}  // namespace kestrix::app
