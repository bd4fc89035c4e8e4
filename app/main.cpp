// lumo: typesets text onto round disc labels. With a settings file named on
// the command line it starts with those settings.
#include <QApplication>
#include <QCommandLineParser>
#include <csignal>

#include "CLumoApp.h"
#include "Version.h"

int main(int argc, char* argv[]) {
  // A file-size limit fails a label's write, which is reported, instead of
  // ending the program in the middle of it.
  std::signal(SIGXFSZ, SIG_IGN);
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("lumo"));
  QApplication::setApplicationVersion(QStringLiteral(LUMO_VERSION));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Typesets text onto round disc labels."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Settings file to open."),
                               QStringLiteral("[file.lum]"));
  parser.process(application);
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) {
    parser.showHelp(2);
  }

  CLumoApp lumo;
  if (!lumo.InitInstance(files.value(0))) return 1;
  return QApplication::exec();
}
