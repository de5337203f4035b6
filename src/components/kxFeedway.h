#pragma once
// The news feed: TkxFeedway, a non-visual component, shows TkxNetDialog, a small tool window
// that fetches a list file of titled links over HTTP, keeps the last good copy in a cache
// file and shows the entries as a two-level tree. Clicking an entry opens its link.

#include "components/kxLanguage.h"
#include "platform/Download.h"

#include <QIcon>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPixmap>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <optional>

class QModelIndex;
class QStatusBar;
class QToolButton;
class QTreeWidget;

class TkxNetDialog : public QWidget {
    Q_OBJECT
public:
    explicit TkxNetDialog(QWidget *parent = nullptr);
    ~TkxNetDialog() override;

    // Set by the component before each showing.
    void SetAddress(const QString &address) { FAddress = address; }
    QString Address() const { return FAddress; }
    // Also names the list and the picture buttons for assistive technology.
    void SetLanguage(TkxLanguage language);
    void SetInformation(const QString &text);
    // Folder of the cache file; empty (the default) chooses it with CacheFolderFor.
    void SetCacheFolder(const QString &folder) { FCacheFolder = folder; }

    // The program's folder when it is writable, else the per-user cache folder.
    static QString CacheFolderFor(const QString &programFolder);

    // Clears the tree and fetches, loads and shows the list again. A web address is fetched
    // in the background; RefreshDone follows when the tree is final.
    void RefreshList();
    bool IsRefreshing() const { return FDownload.IsRunning(); }
    // The cache file for the address: its last path segment in the cache folder, or empty
    // when that segment is no plain file name.
    QString LocalFileName() const;
    // The link of the selected child; empty when nothing or a root is selected.
    QString SelectedLink() const;
    // Status phrase 1..4; a message joins a cause (1 or 2) and an outcome (3 or 4). A link that a
    // list from the network may not open is named in the status line after its own phrase.
    QString StatusMessage(int number) const;
    QString StatusText() const;

    // Data roles of the tree items (children only carry a link index).
    static constexpr int LinkIndexRole = Qt::UserRole;
    static constexpr int ImageIndexRole = Qt::UserRole + 1;
    static constexpr int SelectedIndexRole = Qt::UserRole + 2;

    QWidget *PanelButtons;
    QToolButton *SpeedbuttonUpdate;
    QToolButton *SpeedButtonInfo;
    QTreeWidget *TreeViewDirect;
    QStatusBar *StatusBar;
    QList<QPixmap> ImageList1; // the sixteen 16 x 16 node images, made when first needed

signals:
    // The user opens a child entry: sent before the link is opened.
    void LinkSelected(const QString &link);
    void RefreshDone();

public slots:
    void SpeedbuttonUpdateClick();
    void SpeedButtonInfoClick();
    void TreeViewDirectClick(const QModelIndex &index);
    void TreeViewDirectMouseMove(const QPoint &position);

protected:
    void showEvent(QShowEvent *event) override; // FormShow
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void DownloadFinished(TDownloadResult result, const QByteArray &body);
    void ShowFallback(int cause);
    void StoreCopy(const QByteArray &text);
    std::optional<QByteArray> ReadListFile(const QString &path);
    // Shows the list's entries; false when it holds none (text without lines is an error).
    bool ShowList(const QByteArray &text, const QString &source);
    void LoadArtwork();
    QIcon NodeIcon(int imageIndex, int selectedIndex) const;
    QString LinkAddress(const QString &link) const;
    void SetBusy(bool busy);
    void SetStatus(const QString &text);
    void ShowMessage(QMessageBox::Icon icon, const QString &text);
    void ShowError(const QString &dutch, const QString &english, const QString &source);
    QString Text(const QString &dutch, const QString &english) const { return FEnglish ? english : dutch; }
    QString CacheFolder() const;

    QString FAddress;
    QString FInformation;
    QString FCacheFolder;
    bool FEnglish = false;
    bool FFromWeb = false;      // the shown list came over the network (now or earlier)
    bool FPreviousCopy = false; // a cache file existed when the refresh began
    bool FRefusalShown = false; // the status line says a clicked link was not opened
    QString FCachePath;
    QString FListFolder; // of a local list: its relative links lie there
    QStringList FLinks;
    TDownload FDownload;
};

class TkxFeedway : public QObject {
    Q_OBJECT
public:
    explicit TkxFeedway(QObject *parent = nullptr);
    ~TkxFeedway() override;

    TkxLanguage Language() const { return FLanguage; }
    void SetLanguage(TkxLanguage language) { FLanguage = language; }
    QString Title() const;
    void SetTitle(const QString &title);
    QString Information() const { return FInformation; }
    void SetInformation(const QString &information) { FInformation = information; }
    QString URL() const { return FURL; }
    void SetURL(const QString &url) { FURL = url; }

    // Shows the news window without waiting for it to close and refreshes its list.
    void Execute();

    // The news window, the caption being the title.
    TkxNetDialog *NetDialog();

signals:
    void OnURLSelected(TkxFeedway *Sender, const QString &StrURL);

private:
    TkxLanguage FLanguage = lgNederlands;
    QString FInformation;
    QString FURL;
    QString FTitle; // until the window is made
    std::unique_ptr<TkxNetDialog> FDialog;
};
