#pragma once
// Opening web and mail addresses, documents and programs: the one door to the desktop
// shell. Tests install a recording shell with SetShell.

#include <QString>
#include <QStringList>

class TShell {
public:
    virtual ~TShell() = default;
    // An address with a scheme ("http:", "mailto:", "file:") or a document's absolute path, in its
    // default program.
    virtual bool OpenUrl(const QString &address) = 0;
    // A program with its arguments in the given working directory; never through a shell string.
    virtual bool StartProgram(const QString &program, const QStringList &arguments,
                              const QString &workingDirectory) = 0;
};

// Whether a link is an address with a scheme of two or more letters ("https:", "mailto:"), as
// opposed to a path ("notes.txt", "/home/me/notes.txt", "C:\\Docs\\notes.txt").
bool HasScheme(const QString &link);
// A link as the shell opens it: an address as it is, a path made absolute against the folder that
// holds what the link came from.
QString ResolveLink(const QString &link, const QString &folder);

TShell &Shell();
// Replaces the shell (tests); nullptr restores the desktop shell. The caller keeps ownership.
void SetShell(TShell *shell);
