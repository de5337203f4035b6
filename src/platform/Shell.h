#pragma once
// Opening web and mail addresses, documents and programs: the one door to the desktop
// shell. Tests install a recording shell with SetShell.

#include <QString>
#include <QStringList>

class TShell {
public:
    virtual ~TShell() = default;
    // A web ("http...") or mail ("mailto:...") address, or a document path, in its default program.
    virtual bool OpenUrl(const QString &address) = 0;
    // A program with its arguments in the given working directory; never through a shell string.
    virtual bool StartProgram(const QString &program, const QStringList &arguments,
                              const QString &workingDirectory) = 0;
};

TShell &Shell();
// Replaces the shell (tests); nullptr restores the desktop shell. The caller keeps ownership.
void SetShell(TShell *shell);
