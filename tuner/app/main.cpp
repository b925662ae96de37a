// TovrexTuner_K7PXXX: live view of a touch controller.
#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdlib>
#include <cstring>

#include "app/CTovrexTunerT3300App.h"

#ifndef TOVREX_VERSION
#define TOVREX_VERSION "0"
#endif

namespace {

bool AsksForInformation(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"--help", "-h", "-?", "--help-all", "--version", "-v"}) {
            if (std::strcmp(argv[i], option) == 0) return true;
        }
    }
    return false;
}

// Prints the help or the version and ends the process with status 0, before any window, lock or
// controller exists (and without a display).
[[noreturn]] void AnswerInformation(int argc, char* argv[]) {
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("TovrexTuner_K7PXXX"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TOVREX_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Live view of a K7PXXX touch controller: touch and stylus traces, firmware state and the\n"
        "sensor image, with CSV logs in TovrexTuner_Logs.\n"
        "\n"
        "Environment:\n"
        "  DEVLINK            controller backend; sim:MODEL (e.g. sim:K7P100) simulates one\n"
        "  DEVLINK_SIM_STATE  file that keeps the simulated controller's stored sets\n"
        "  DEVLINK_SIM_TRACE  file the simulated controller writes one line per request to\n"
        "  QT_QPA_PLATFORM    offscreen runs without a display\n"
        "\n"
        "Exit status: 0 when the window was closed, 1 when the tuner could not start."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(core);  // answers --help and --version and exits
    std::exit(0);          // a spelling the parser does not answer, such as -v twice
}

}  // namespace

int main(int argc, char* argv[]) {
    if (AsksForInformation(argc, argv)) AnswerInformation(argc, argv);
    QApplication qt(argc, argv);
    CTovrexTunerT3300App tuner;
    return tuner.Run();
}
