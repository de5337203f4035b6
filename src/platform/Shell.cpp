#include "platform/Shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

namespace {

class DesktopShell final : public TShell {
public:
    bool OpenUrl(const QString &address) override
    {
        // Never a guess: without a scheme the address is a file, never a web host.
        const QUrl url = HasScheme(address) ? QUrl(address)
                                            : QUrl::fromLocalFile(ResolveLink(address, QDir::currentPath()));
        return url.isValid() && QDesktopServices::openUrl(url);
    }

    bool StartProgram(const QString &program, const QStringList &arguments,
                      const QString &workingDirectory) override
    {
        return QProcess::startDetached(program, arguments, workingDirectory);
    }
};

TShell *installedShell = nullptr;

} // namespace

bool HasScheme(const QString &link)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(link).hasMatch();
}

QString ResolveLink(const QString &link, const QString &folder)
{
    // A drive letter ("C:\\...") or a separator at the start makes a path absolute on any system.
    static const QRegularExpression absolute(QStringLiteral("^([A-Za-z]:)?[\\\\/]"));
    if (HasScheme(link) || absolute.match(link).hasMatch())
        return link;
    return QDir::cleanPath(QDir(folder).absoluteFilePath(link));
}

TShell &Shell()
{
    static DesktopShell desktop;
    return installedShell ? *installedShell : desktop;
}

void SetShell(TShell *shell)
{
    installedShell = shell;
}
