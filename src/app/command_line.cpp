#include "app/command_line.h"

#include "platform/drive_map.h"
#include "version.h"

#include <QCommandLineParser>

namespace kestrix::app {

namespace {

constexpr int usageError = 2;

// Without an application object the parser cannot know the program's name.
QString usage(const QCommandLineParser& parser) {
    return parser.helpText().replace(QStringLiteral("<executable_name>"),
                                     QStringLiteral("kestrix"));
}

CommandLine::Exit error(const QCommandLineParser& parser, const QString& message) {
    return {QStringLiteral("kestrix: ") + message + u'\n' + usage(parser), true, usageError};
}

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    // On Windows drive C: is the system's own: there is no prefix to choose.
    const bool choosesPrefix = platform::DriveMap::isWinePrefixDrive();
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        choosesPrefix ? QStringLiteral("Finds the excessive fonts in the font folder of a Wine "
                                       "prefix and removes the ones you choose.")
                      : QStringLiteral("Finds the excessive fonts in C:\\WINDOWS\\Fonts and "
                                       "removes the ones you choose."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows these options and exits."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version and exits."));
    const QCommandLineOption prefix(
        QStringLiteral("prefix"),
        QStringLiteral("Works on the C: drive of the Wine prefix PATH rather than on that of "
                       "WINEPREFIX (or ~/.wine)."),
        QStringLiteral("PATH"));
    parser.addOptions({help, version});
    if (choosesPrefix) {
        parser.addOption(prefix);
    }

    CommandLine result;
    if (!parser.parse(arguments)) {
        result.exit = error(parser, parser.errorText());
    } else if (!parser.positionalArguments().isEmpty()) {
        result.exit = error(parser, QStringLiteral("Unexpected argument '%1'.")
                                        .arg(parser.positionalArguments().constFirst()));
    } else if (choosesPrefix && parser.isSet(prefix) && parser.value(prefix).isEmpty()) {
        result.exit = error(parser, QStringLiteral("--prefix needs the path of a Wine prefix."));
    } else if (parser.isSet(help)) {
        result.exit = CommandLine::Exit{usage(parser)};
    } else if (parser.isSet(version)) {
        result.exit =
            CommandLine::Exit{QStringLiteral("Kestrix ") + QLatin1String(programVersion) + u'\n'};
    } else if (choosesPrefix) {
        result.winePrefix = parser.value(prefix);
    }
    return result;
}

}  // namespace kestrix::app
