#include "app/command_line.h"

#include "platform/drive_map.h"
#include "version.h"

#include <QCommandLineParser>

namespace kestrix::app {

namespace {

constexpr int usageError = 2;

// Qt names the program as it was started, often a path; the usage names it as it is called.
QString usage(const QCommandLineParser& parser) {
    const QString text = parser.helpText();
    return QStringLiteral("Usage: kestrix [options]") + text.mid(text.indexOf(u'\n'));
}

CommandLine::Exit error(const QCommandLineParser& parser, const QString& message) {
    return {QStringLiteral("kestrix: ") + message + u'\n' + usage(parser), true, usageError};
}

// Kestrix's own options, and the parser that knows them.
struct Options {
    Options() {
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.setApplicationDescription(
            (choosesPrefix
                 ? QStringLiteral("Finds the excessive fonts in the font folder of a Wine prefix "
                                  "and removes the ones you choose.")
                 : QStringLiteral("Finds the excessive fonts in C:\\WINDOWS\\Fonts and removes "
                                  "the ones you choose.")) +
            QStringLiteral("\nQt's own options, such as -style, -platform and -session, are "
                           "taken too."));
        parser.addOptions({help, version});
        if (choosesPrefix) {
            parser.addOption(prefix);
        }
    }

    // On Windows drive C: is the system's own: there is no prefix to choose.
    const bool choosesPrefix = platform::DriveMap::isWinePrefixDrive();
    const QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows these options and exits.")};
    const QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version and exits.")};
    const QCommandLineOption prefix{
        QStringLiteral("prefix"),
        QStringLiteral("Works on the C: drive of the Wine prefix PATH rather than on that of "
                       "WINEPREFIX (or ~/.wine)."),
        QStringLiteral("PATH")};
    QCommandLineParser parser;
};

}  // namespace

bool asksForText(const QStringList& arguments) {
    // Options Kestrix does not know are left for Qt to take: they do not hide --help.
    Options options;
    options.parser.parse(arguments);
    return options.parser.isSet(options.help) || options.parser.isSet(options.version);
}

CommandLine parseCommandLine(const QStringList& arguments, bool textAsked) {
    Options options;
    const QCommandLineParser& parser = options.parser;
    CommandLine result;
    if (!options.parser.parse(arguments)) {
        result.exit = error(parser, parser.errorText());
    } else if (!parser.positionalArguments().isEmpty()) {
        result.exit = error(parser, QStringLiteral("Unexpected argument '%1'.")
                                        .arg(parser.positionalArguments().constFirst()));
    } else if (options.choosesPrefix && parser.isSet(options.prefix) &&
               parser.value(options.prefix).isEmpty()) {
        result.exit = error(parser, QStringLiteral("--prefix needs the path of a Wine prefix."));
    } else if (parser.isSet(options.help)) {
        result.exit = CommandLine::Exit{usage(parser)};
    } else if (parser.isSet(options.version)) {
        result.exit =
            CommandLine::Exit{QStringLiteral("Kestrix ") + QLatin1String(programVersion) + u'\n'};
    } else if (textAsked) {
        result.exit = error(parser, QStringLiteral("Qt took --help or --version as the value of "
                                                   "one of its own options."));
    } else if (options.choosesPrefix) {
        result.winePrefix = parser.value(options.prefix);
    }
    return result;
}

}  // namespace kestrix::app
