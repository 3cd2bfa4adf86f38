#pragma once

#include "app/StartUp.h"

#include <QString>
#include <QStringList>

namespace hv {

// What the program's command line asks for: start (with the document, "/u" and "/d" of
// TStartOptions), or only print the help, the version or what is wrong with the arguments.
struct TCommandLine {
    enum class TAction { Start, Help, Version, Error };

    TAction Action = TAction::Start;
    // Help: the help text; Version: "Hollyvine X.Y.Z"; Error: the message. Each ends with a line end.
    QString Text;
    TStartOptions Options;
};

// Reads the arguments, the program's name first. The documents and the "/u" and "/d" switches
// are plain arguments; "--" ends the options (for a document whose name starts with "-").
// Qt's own options (-platform, -style, ...) are unknown here until QApplication has taken them
// out of the arguments, so main() reads them again after creating it when the first reading
// fails. That way --help and --version answer without a display.
TCommandLine ParseCommandLine(const QStringList& arguments);

// The exit code for an action other than Start: 0, or 2 after a wrong argument.
int CommandLineExitCode(const TCommandLine& commandLine);

} // namespace hv
