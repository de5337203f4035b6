#include "components/kxLinkLabel.h"

#include "components/kxAccessible.h"
#include "platform/Shell.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProcess>

namespace {

// The folder part of a path, up to and including its last separator. Links and viewer paths may
// be written with either separator.
QString FolderOf(const QString &path)
{
    return path.left(std::max(path.lastIndexOf('/'), path.lastIndexOf('\\')) + 1);
}

bool IsProgram(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

// The link label: a link named by its caption and described by its address.
class TkxLinkLabelAccessible final : public QAccessibleWidget {
public:
    explicit TkxLinkLabelAccessible(TkxLinkLabel *label) : QAccessibleWidget(label, QAccessible::Link) {}
    QString text(QAccessible::Text t) const override
    {
        const auto *label = static_cast<const TkxLinkLabel *>(widget());
        if (t == QAccessible::Name && label->accessibleName().isEmpty())
            return label->Caption();
        if (t == QAccessible::Description && label->accessibleDescription().isEmpty())
            return label->Link();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.linked = true;
        state.traversed = static_cast<const TkxLinkLabel *>(widget())->Used();
        return state;
    }
};

} // namespace

TkxLinkLabel::TkxLinkLabel(QWidget *parent)
    : QLabel(parent), FFontStandard(MakeKxFont(font(), clWindowText)),
      FFontHighlight(MakeKxFont(font(), clBlue, true)), FFontUsed(MakeKxFont(font(), clPurple))
{
    setFocusPolicy(Qt::TabFocus); // the keyboard reaches the link; a click does not take the focus
    RegisterAccessible("TkxLinkLabel", [](QObject *object) -> QAccessibleInterface * {
        return new TkxLinkLabelAccessible(static_cast<TkxLinkLabel *>(object));
    });
}

void TkxLinkLabel::SetCaption(const QString &caption)
{
    setText(caption);
    adjustSize();
}

void TkxLinkLabel::SetUsed(bool used)
{
    FUsed = used;
    ShowLook(used ? FFontUsed : FFontStandard);
}

void TkxLinkLabel::ShowLook(const TkxFont &font)
{
    ShowKxFont(*this, font, QPalette::WindowText);
    adjustSize();
}

void TkxLinkLabel::enterEvent(QEnterEvent *event)
{
    QLabel::enterEvent(event);
    ShowLook(FFontHighlight);
    if (!FSavedCursor)
        FSavedCursor = cursor();
    if (!FLink.trimmed().isEmpty())
        setCursor(Qt::PointingHandCursor);
}

void TkxLinkLabel::leaveEvent(QEvent *event)
{
    QLabel::leaveEvent(event);
    if (FSavedCursor) {
        setCursor(*FSavedCursor);
        FSavedCursor.reset();
    }
    ShowLook(FUsed ? FFontUsed : FFontStandard);
}

// Enter or Space opens the link, as a click does.
void TkxLinkLabel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter && event->key() != Qt::Key_Space) {
        QLabel::keyPressEvent(event);
        return;
    }
    event->accept();
    Click();
}

// The focus shows as the pointer does: in the highlight look.
void TkxLinkLabel::focusInEvent(QFocusEvent *event)
{
    QLabel::focusInEvent(event);
    ShowLook(FFontHighlight);
}

void TkxLinkLabel::focusOutEvent(QFocusEvent *event)
{
    QLabel::focusOutEvent(event);
    if (!underMouse())
        ShowLook(FUsed ? FFontUsed : FFontStandard);
}

void TkxLinkLabel::mousePressEvent(QMouseEvent *event)
{
    FPressed = event->button() == Qt::LeftButton;
    event->accept();
}

void TkxLinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click =
        FPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    FPressed = false;
    event->accept();
    if (click)
        Click();
}

void TkxLinkLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    emit OnDblClick(this);
}

void TkxLinkLabel::Click()
{
    OpenLink();
    SetUsed(true);
    emit OnClick(this);
}

// Addresses are recognised by their scheme, before mail addresses, so a web address with "@" in
// its path still opens in the browser. Anything else is a file; a relative path lies in the
// program's folder, never in whatever folder the program was started from.
void TkxLinkLabel::OpenLink() const
{
    const QString link = FLink.trimmed();
    const QString viewer = FViewer.trimmed();
    if (link.isEmpty())
        return;
    if (HasScheme(link)) {
        Shell().OpenUrl(link);
        return;
    }
    if (link.contains('@')) {
        Shell().OpenUrl("mailto:" + link);
        return;
    }
    const QString file = ResolveLink(link, QCoreApplication::applicationDirPath());
    if (!viewer.isEmpty())
        Shell().StartProgram(viewer, QStringList{file} + QProcess::splitCommand(FParameters), FolderOf(viewer));
    else if (IsProgram(file))
        Shell().StartProgram(file, QProcess::splitCommand(FParameters), FolderOf(file));
    else
        Shell().OpenUrl(file);
}
