// lumo: typesets text onto round disc labels. With a settings file named on
// the command line it starts with those settings; the desktop's menu starts
// it with --desktop.
#include <QApplication>
#include <QCommandLineParser>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <csignal>
#include <cstdio>
#include <thread>
#include <variant>

#include "CLumoApp.h"
#include "Version.h"

namespace {

struct StartRequest {
  QString file;  // empty for none
  CLumoApp::Start start = CLumoApp::Start::FromCommandLine;
};

// Reads the command line before any window exists, so that --help, --version
// and mistakes are answered without a display: the exit status for those, the
// settings file to open and how lumo was started otherwise. The words are
// Japanese under a Japanese locale, English otherwise.
std::variant<int, StartRequest> ReadCommandLine(int argc, char* argv[]) {
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
  const QCommandLineOption desktop(
      QStringLiteral("desktop"),
      words("ﾃﾞｽｸﾄｯﾌﾟのﾒﾆｭｰから起動: 出力設定でﾌｫﾙﾀﾞを選ぶまで、ﾗﾍﾞﾙのﾌｧｲﾙをﾋﾟｸﾁｬ ﾌｫﾙﾀﾞの "
            "lumo に書き出します。",
            "Started from the desktop menu: until a folder is chosen in the window, label "
            "files go to a lumo folder in the pictures folder."));
  parser.addOption(help);
  parser.addOption(version);
  parser.addOption(desktop);
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
  return StartRequest{files.value(0), parser.isSet(desktop) ? CLumoApp::Start::FromDesktop
                                                            : CLumoApp::Start::FromCommandLine};
}

}  // namespace

int main(int argc, char* argv[]) {
  // A file-size limit fails a label's write, which is reported, instead of
  // ending the program in the middle of it.
  std::signal(SIGXFSZ, SIG_IGN);
  const std::variant<int, StartRequest> read = ReadCommandLine(argc, argv);
  if (const int* status = std::get_if<int>(&read)) return *status;

  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("lumo"));
  QApplication::setApplicationVersion(QStringLiteral(LUMO_VERSION));
  // The window's first text waits for the list of fonts; it is read meanwhile.
  const std::jthread fonts([] { (void)QFontDatabase::families(); });
  CLumoApp lumo;
  const auto& [file, start] = std::get<StartRequest>(read);
  if (!lumo.InitInstance(file, start)) return 1;
  return QApplication::exec();
}
