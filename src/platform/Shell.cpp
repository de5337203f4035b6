#include "platform/Shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QUrl>

namespace {

class DesktopShell final : public TShell {
public:
    bool OpenUrl(const QString &address) override
    {
        // A relative path naming a document in the current folder opens that document; anything
        // else without a scheme is taken as a web address ("www.example.com").
        const QUrl url = QUrl::fromUserInput(address, QDir::currentPath());
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

TShell &Shell()
{
    static DesktopShell desktop;
    return installedShell ? *installedShell : desktop;
}

void SetShell(TShell *shell)
{
    installedShell = shell;
}
