#include "components/kxFeedway.h"

#include "components/kxFeedList.h"
#include "platform/Shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStringDecoder>
#include <QStyledItemDelegate>
#include <QSvgRenderer>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <string_view>

namespace {

// The node images in the order the list file numbers them.
constexpr const char *NodeArt[] = {
    "folder-closed", "folder-open", "arrow-left", "arrow-right", "arrow-down", "arrow-up",
    "ball-yellow",   "ball-blue",   "ball-green", "ball-red",    "page",       "page-link",
    "tools",         "shapes",      "note",       "camera",
};

QPixmap RenderArt(const char *name, qreal pixelRatio)
{
    QSvgRenderer renderer(QStringLiteral(":/art/feed/%1.svg").arg(QLatin1String(name)));
    const int side = qRound(16 * pixelRatio);
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(pixelRatio);
    return pixmap;
}

std::string_view View(const QByteArray &bytes)
{
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Lists are UTF-8 or, from older editors, the Windows Western code page.
QStringDecoder ListDecoder(const QByteArray &text)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString probe = utf8.decode(text); // decoding happens on this conversion
    if (!utf8.hasError())
        return QStringDecoder(QStringDecoder::Utf8);
    QStringDecoder western("windows-1252");
    return western.isValid() ? std::move(western) : QStringDecoder(QStringDecoder::Latin1);
}

QString Scheme(const QString &address)
{
    return QUrl(address.trimmed()).scheme();
}

bool IsWebAddress(const QString &address)
{
    const QString scheme = Scheme(address);
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

QString LocalListPath(const QString &address)
{
    const QUrl url(address.trimmed());
    return url.isLocalFile() ? url.toLocalFile() : address;
}

// Hot tracking: the entry under the pointer reads like a link.
class THotTrackDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (option->state & QStyle::State_MouseOver) {
            option->font.setUnderline(true);
            option->palette.setColor(QPalette::Text, option->palette.color(QPalette::Link));
        }
    }
};

} // namespace

TkxNetDialog::TkxNetDialog(QWidget *parent)
    : QWidget(parent, Qt::Tool), PanelButtons(new QWidget(this)),
      SpeedbuttonUpdate(new QToolButton(PanelButtons)), SpeedButtonInfo(new QToolButton(PanelButtons)),
      TreeViewDirect(new QTreeWidget(this)), StatusBar(new QStatusBar(this))
{
    setMinimumSize(470, 310);
    resize(470, 310);
    move(294, 240);

    PanelButtons->setFixedHeight(21);
    for (QToolButton *button : {SpeedbuttonUpdate, SpeedButtonInfo}) {
        button->setAutoRaise(true);
        button->setFixedSize(19, 19);
        button->setIconSize(QSize(16, 16));
        button->setFocusPolicy(Qt::TabFocus); // reached with Tab, not taken by a click
    }
    SpeedbuttonUpdate->move(2, 1);
    SpeedButtonInfo->move(22, 1);

    TreeViewDirect->setHeaderHidden(true);
    TreeViewDirect->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeViewDirect->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeViewDirect->setIndentation(24);
    TreeViewDirect->setIconSize(QSize(16, 16));
    TreeViewDirect->setMouseTracking(true);
    TreeViewDirect->viewport()->setAttribute(Qt::WA_Hover);
    TreeViewDirect->viewport()->installEventFilter(this);
    TreeViewDirect->setItemDelegate(new THotTrackDelegate(TreeViewDirect));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PanelButtons);
    layout->addWidget(TreeViewDirect, 1);
    layout->addWidget(StatusBar);

    connect(SpeedbuttonUpdate, &QToolButton::clicked, this, &TkxNetDialog::SpeedbuttonUpdateClick);
    connect(SpeedButtonInfo, &QToolButton::clicked, this, &TkxNetDialog::SpeedButtonInfoClick);
    connect(TreeViewDirect, &QTreeWidget::clicked, this, &TkxNetDialog::TreeViewDirectClick);
    connect(&FDownload, &TDownload::Finished, this, &TkxNetDialog::DownloadFinished);
    SetLanguage(lgNederlands);
}

void TkxNetDialog::SetLanguage(TkxLanguage language)
{
    FEnglish = language != lgNederlands;
    SpeedbuttonUpdate->setAccessibleName(Text("Bijwerken", "Update"));
    SpeedButtonInfo->setAccessibleName(Text("Informatie", "Information"));
    TreeViewDirect->setAccessibleName(Text("Nieuws", "News"));
}

TkxNetDialog::~TkxNetDialog() = default;

void TkxNetDialog::SetInformation(const QString &text)
{
    FInformation = text;
    SpeedButtonInfo->setToolTip(text);
}

QString TkxNetDialog::CacheFolderFor(const QString &programFolder)
{
    const QFileInfo folder(programFolder);
    if (folder.isDir() && folder.isWritable())
        return programFolder;
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
}

QString TkxNetDialog::CacheFolder() const
{
    return FCacheFolder.isEmpty() ? CacheFolderFor(QCoreApplication::applicationDirPath()) : FCacheFolder;
}

QString TkxNetDialog::LocalFileName() const
{
    // The last path segment, never the address's first character (so "x" alone names nothing).
    const QString name = FAddress.mid(std::max<qsizetype>(FAddress.lastIndexOf('/') + 1, 1));
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") || name.contains('/') ||
        name.contains('\\'))
        return {};
    return QDir(CacheFolder()).filePath(name);
}

QString TkxNetDialog::StatusMessage(int number) const
{
    switch (number) {
    case 1:
        return Text("Connectie fout, ", "Connection error, ");
    case 2:
        return Text("Web server niet gevonden, ", "Web server not found, ");
    case 3:
        return Text("vorige update zal gebruikt worden", "using previous update");
    case 4:
        return Text("aanvraag afgebroken", "request aborted");
    default:
        return {};
    }
}

QString TkxNetDialog::StatusText() const
{
    return StatusBar->currentMessage();
}

void TkxNetDialog::SetStatus(const QString &text)
{
    FRefusalShown = false;
    if (text.isEmpty())
        StatusBar->clearMessage();
    else
        StatusBar->showMessage(text);
}

void TkxNetDialog::SetBusy(bool busy)
{
    SpeedbuttonUpdate->setEnabled(!busy);
    if (busy)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void TkxNetDialog::LoadArtwork()
{
    if (!ImageList1.isEmpty())
        return;
    const qreal ratio = devicePixelRatioF();
    for (const char *name : NodeArt)
        ImageList1.append(RenderArt(name, ratio));
    SpeedbuttonUpdate->setIcon(RenderArt("update", ratio));
    SpeedButtonInfo->setIcon(RenderArt("info", ratio));
}

void TkxNetDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        LoadArtwork();
        SetStatus({});
    }
    QWidget::showEvent(event);
}

bool TkxNetDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == TreeViewDirect->viewport() && event->type() == QEvent::MouseMove)
        TreeViewDirectMouseMove(static_cast<QMouseEvent *>(event)->position().toPoint());
    return QWidget::eventFilter(watched, event);
}

void TkxNetDialog::SpeedbuttonUpdateClick()
{
    RefreshList();
}

void TkxNetDialog::SpeedButtonInfoClick()
{
    ShowMessage(QMessageBox::Information, FInformation);
}

// Modal to this window only, and without a nested event loop: a download may finish meanwhile.
void TkxNetDialog::ShowMessage(QMessageBox::Icon icon, const QString &text)
{
    auto *box = new QMessageBox(icon, windowTitle(), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void TkxNetDialog::ShowError(const QString &dutch, const QString &english, const QString &source)
{
    ShowMessage(QMessageBox::Critical, Text(dutch, english).arg(QDir::toNativeSeparators(source)));
}

void TkxNetDialog::RefreshList()
{
    FDownload.Abort();
    SetBusy(false);
    SetStatus({});
    FLinks.clear();
    TreeViewDirect->clear();
    FFromWeb = IsWebAddress(FAddress);

    if (!FFromWeb) {
        const QString path = LocalListPath(FAddress);
        FListFolder = QFileInfo(path).absolutePath();
        if (const std::optional<QByteArray> text = ReadListFile(path)) {
            if (FirstLineHas404(View(*text)))
                SetStatus(StatusMessage(2) + StatusMessage(4));
            else
                ShowList(*text, path);
        }
        emit RefreshDone();
        return;
    }

    FCachePath = LocalFileName();
    FPreviousCopy = !FCachePath.isEmpty() && QFileInfo(FCachePath).isFile();
    if (FCachePath.isEmpty() || !FDownload.Start(QUrl(FAddress.trimmed()))) {
        DownloadFinished(TDownloadResult::Failed, {});
        return;
    }
    SetBusy(true);
    SetStatus(Text("Connectie maken met: ", "Connecting to: ") + FAddress);
}

void TkxNetDialog::DownloadFinished(TDownloadResult result, const QByteArray &body)
{
    SetBusy(false);
    SetStatus({});
    if (result == TDownloadResult::Succeeded && !FirstLineHas404(View(body))) {
        // Only a list with entries is an update: an empty answer or one that holds none (a web
        // page) keeps the last good copy, as a failed download does.
        if (!body.isEmpty() && ShowList(body, FAddress))
            StoreCopy(body);
        else
            ShowFallback(1);
    } else {
        ShowFallback(result == TDownloadResult::Failed ? 1 : 2);
    }
    emit RefreshDone();
}

// A failed fetch or an error page: the last good copy, when there is one, and why.
void TkxNetDialog::ShowFallback(int cause)
{
    if (!FPreviousCopy) {
        SetStatus(StatusMessage(cause) + StatusMessage(4));
        return;
    }
    if (const std::optional<QByteArray> copy = ReadListFile(FCachePath)) {
        ShowList(*copy, FCachePath);
        SetStatus(StatusMessage(cause) + StatusMessage(3));
    }
}

// Written beside the old copy and renamed over it, so a crash never leaves half a list.
void TkxNetDialog::StoreCopy(const QByteArray &text)
{
    QDir().mkpath(QFileInfo(FCachePath).absolutePath());
    QSaveFile file(FCachePath);
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size())
        file.commit();
}

std::optional<QByteArray> TkxNetDialog::ReadListFile(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        ShowError("Het bestand \"%1\" kan niet gelezen worden.", "The file \"%1\" cannot be read.", path);
        return std::nullopt;
    }
    QByteArray text = file.read(TDownload::DefaultMaxBytes + 1);
    if (text.size() > TDownload::DefaultMaxBytes) {
        ShowError("Het bestand \"%1\" is te groot voor een nieuwslijst.",
                  "The file \"%1\" is too large for a news list.", path);
        return std::nullopt;
    }
    return text;
}

bool TkxNetDialog::ShowList(const QByteArray &text, const QString &source)
{
    if (text.isEmpty()) {
        ShowError("De lijst \"%1\" bevat geen regels.", "The list \"%1\" holds no lines.", source);
        return false;
    }
    LoadArtwork();
    QStringDecoder decoder = ListDecoder(text);
    const auto decode = [&decoder](const std::string &bytes) { return QString(decoder.decode(bytes)); };
    const auto addNode = [this, &decode](QTreeWidgetItem *item, const TFeedNode &node) {
        item->setText(0, decode(node.Text));
        item->setData(0, ImageIndexRole, node.ImageIndex);
        item->setData(0, SelectedIndexRole, node.SelectedIndex);
        item->setIcon(0, NodeIcon(node.ImageIndex, node.SelectedIndex));
    };
    const std::vector<TFeedNode> roots = ParseFeedList(View(text));
    for (const TFeedNode &root : roots) {
        auto *rootItem = new QTreeWidgetItem(TreeViewDirect);
        addNode(rootItem, root);
        for (const TFeedNode &child : root.Children) {
            auto *childItem = new QTreeWidgetItem(rootItem);
            addNode(childItem, child);
            childItem->setData(0, LinkIndexRole, FLinks.size());
            FLinks.append(decode(child.Link));
        }
    }
    return !roots.empty();
}

QIcon TkxNetDialog::NodeIcon(int imageIndex, int selectedIndex) const
{
    QIcon icon;
    if (imageIndex >= 0 && imageIndex < ImageList1.size())
        icon.addPixmap(ImageList1[imageIndex], QIcon::Normal);
    if (selectedIndex >= 0 && selectedIndex < ImageList1.size())
        icon.addPixmap(ImageList1[selectedIndex], QIcon::Selected);
    return icon;
}

QString TkxNetDialog::SelectedLink() const
{
    const QList<QTreeWidgetItem *> selected = TreeViewDirect->selectedItems();
    if (selected.isEmpty() || !selected.first()->parent())
        return {};
    return FLinks.value(selected.first()->data(0, LinkIndexRole).toInt());
}

// What the shell opens for a link, or nothing. Links of a list that came over the network could
// name any program or file on this computer: only web and mail addresses are opened from such a
// list, and its relative links are resolved against the list's own address, as on a web page. A
// relative link of a local list names a file beside that list.
QString TkxNetDialog::LinkAddress(const QString &link) const
{
    if (!FFromWeb)
        return ResolveLink(link, FListFolder);
    if (Scheme(link) == QLatin1String("mailto"))
        return link;
    const QString address = HasScheme(link) ? link : QUrl(FAddress.trimmed()).resolved(QUrl(link)).toString();
    return IsWebAddress(address) ? address : QString();
}

void TkxNetDialog::TreeViewDirectClick(const QModelIndex &)
{
    const QString link = SelectedLink();
    if (link.isEmpty()) {
        if (FRefusalShown) // it spoke of the click before this one
            SetStatus({});
        return;
    }
    const QString address = LinkAddress(link);
    if (address.isEmpty()) {
        SetStatus(Text("Link niet geopend: ", "Link not opened: ") + link);
        FRefusalShown = true;
        return;
    }
    SetStatus(link); // what the pointer shows over the entry, in place of an earlier refusal
    emit LinkSelected(link);
    Shell().OpenUrl(address);
    TreeViewDirect->clearSelection(); // so the next click on the same entry opens it again
}

void TkxNetDialog::TreeViewDirectMouseMove(const QPoint &position)
{
    const QTreeWidgetItem *item = TreeViewDirect->itemAt(position);
    if (item && item->parent())
        SetStatus(FLinks.value(item->data(0, LinkIndexRole).toInt()));
}

TkxFeedway::TkxFeedway(QObject *parent) : QObject(parent) {}

TkxFeedway::~TkxFeedway() = default;

// The window is made when first needed: most programs never open it.
TkxNetDialog *TkxFeedway::NetDialog()
{
    if (!FDialog) {
        FDialog = std::make_unique<TkxNetDialog>();
        FDialog->setWindowTitle(FTitle);
        connect(FDialog.get(), &TkxNetDialog::LinkSelected, this,
                [this](const QString &link) { emit OnURLSelected(this, link); });
    }
    return FDialog.get();
}

QString TkxFeedway::Title() const
{
    return FDialog ? FDialog->windowTitle() : FTitle;
}

void TkxFeedway::SetTitle(const QString &title)
{
    FTitle = title;
    if (FDialog)
        FDialog->setWindowTitle(title);
}

void TkxFeedway::Execute()
{
    NetDialog();
    FDialog->SetAddress(FURL);
    FDialog->SetLanguage(FLanguage);
    FDialog->SetInformation(FInformation);
    FDialog->SpeedButtonInfo->setVisible(!FInformation.trimmed().isEmpty());
    FDialog->show();
    FDialog->raise();
    FDialog->activateWindow();
    FDialog->RefreshList();
}
