// lumo: typesets text onto round disc labels. With a settings file named on
// the command line it starts with those settings.
#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <csignal>
#include <cstdio>
#include <variant>

#include "CLumoApp.h"
#include "Version.h"

namespace {

// Reads the command line before any window exists, so that --help, --version
// and mistakes are answered without a display: the exit status for those, the
// settings file to open (empty for none) otherwise. The words are Japanese
// under a Japanese locale, English otherwise.
std::variant<int, QString> ReadCommandLine(int argc, char* argv[]) {
  const QCoreApplication core(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("lumo"));
  const bool japanese = QLocale::system().language() == QLocale::Japanese;
  QTranslator qtWords;
  if (japanese && qtWords.load(QStringLiteral("qtbase_ja"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(&qtWords);
  }
  const auto words = [japanese](const char* ja, const char* en) {
    return japanese ? QString::fromUtf8(ja) : QString::fromUtf8(en);
  };
  QCommandLineParser parser;
  parser.setApplicationDescription(
      words("円盤のﾗﾍﾞﾙに文字を同心円状に並べます。", "Typesets text onto round disc labels."));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                words("このﾍﾙﾌﾟを表示します。", "Displays this help."));
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                   words("ﾊﾞｰｼﾞｮﾝを表示します。", "Displays the version."));
  parser.addOption(help);
  parser.addOption(version);
  parser.addPositionalArgument(QStringLiteral("file"),
                               words("開く設定ﾌｧｲﾙ。", "Settings file to open."),
                               QStringLiteral("[file.lum]"));
  const bool parsed = parser.parse(QCoreApplication::arguments());
  if (parsed && parser.isSet(help)) {
    std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
    return 0;
  }
  if (parsed && parser.isSet(version)) {
    std::fputs("lumo " LUMO_VERSION "\n", stdout);
    return 0;
  }
  const QStringList files = parser.positionalArguments();
  if (!parsed || files.size() > 1) {
    const QString why = parsed ? words("設定ﾌｧｲﾙは 1 つだけ指定できます。",
                                       "Only one settings file can be given.")
                               : parser.errorText();
    std::fprintf(stderr, "lumo: %s\n%s", why.toLocal8Bit().constData(),
                 parser.helpText().toLocal8Bit().constData());
    return 2;
  }
  return files.value(0);
}

}  // namespace

int main(int argc, char* argv[]) {
  // A file-size limit fails a label's write, which is reported, instead of
  // ending the program in the middle of it.
  std::signal(SIGXFSZ, SIG_IGN);
  const std::variant<int, QString> read = ReadCommandLine(argc, argv);
  if (const int* status = std::get_if<int>(&read)) return *status;

  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("lumo"));
  QApplication::setApplicationVersion(QStringLiteral(LUMO_VERSION));
  CLumoApp lumo;
  if (!lumo.InitInstance(std::get<QString>(read))) return 1;
  return QApplication::exec();
}
