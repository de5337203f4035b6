#include "platform/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {

class DesktopShell final : public TShell {
public:
    bool OpenUrl(const QString &address) override
    {
        const QUrl url = QUrl::fromUserInput(address, QString(), QUrl::AssumeLocalFile);
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

void SetShell(TShell *shell) { installedShell = shell; }
