#ifndef TENARAI_APP_COMMANDLINE_H
#define TENARAI_APP_COMMANDLINE_H

#include "practice/Plan.h"

#include <QString>
#include <QStringList>
#include <optional>

// What the command line asks of this run.
struct TCommandLine
{
    std::optional<TPlan> Plan; // wins over the remembered plan for this run
    QString References;        // a folder of references to open; wins over the remembered one
    QString ResultFolder;      // where sheets go; empty: "result" below the working folder
    QString ExportHistory;     // write the practice record here as CSV, and start no window

    // When set, the program does not start: it prints these and ends with ExitCode.
    std::optional<int> ExitCode;
    QString Output; // for standard output (help, version)
    QString Error;  // for standard error
};

/**
 * @brief Reads the arguments (the program's name first). A bad option or value gives exit
 * status 2 with a message in the loaded language; --help and --version give 0 with their text.
 * `--language` is taken before, by ChosenLanguage; here it is only checked.
 */
TCommandLine ReadCommandLine(const QStringList& arguments);

#endif
