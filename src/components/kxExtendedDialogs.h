#pragma once
// TkxExtSaveDialog: the platform's ordinary save-file dialog as a configurable object that can be
// run many times and keeps its settings and the last chosen file between runs. It writes nothing
// into the configuration that Qt programs share.

#include <QFlags>
#include <QObject>
#include <QString>

class QFileDialog;

class TkxExtSaveDialog : public QObject {
    Q_OBJECT
public:
    enum TOption { ofOverwritePrompt = 0x1 };
    Q_DECLARE_FLAGS(TOptions, TOption)

    explicit TkxExtSaveDialog(QObject *parent = nullptr);

    QString Title() const { return title_; }
    void SetTitle(const QString &title) { title_ = title; }
    // Pairs of description and patterns, all separated by "|"; patterns separated by ";":
    // "Pictures|*.jpg;*.jpeg|All files|*.*".
    QString Filter() const { return filter_; }
    void SetFilter(const QString &filter) { filter_ = filter; }
    // The chosen pair of the filter, counting from 1.
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int index) { filterIndex_ = index; }
    // Appended (after a ".") to a name typed without extension, whatever filter is chosen.
    QString DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const QString &extension) { defaultExt_ = extension; }
    // The proposed name before running; the chosen file's full path afterwards.
    QString FileName() const { return fileName_; }
    void SetFileName(const QString &fileName) { fileName_ = fileName; }
    // The folder to start in when FileName names none.
    QString InitialDir() const { return initialDir_; }
    void SetInitialDir(const QString &folder) { initialDir_ = folder; }
    TOptions Options() const { return options_; }
    void SetOptions(TOptions options) { options_ = options; }
    // Stored only: the dialog is the platform's ordinary one either way.
    bool ShowPlacesBar() const { return showPlacesBar_; }
    void SetShowPlacesBar(bool show) { showPlacesBar_ = show; }

    // Runs the dialog modally over the owner's window; true when the user chose a file.
    bool Execute();

private:
    void Configure(QFileDialog &dialog, const QStringList &nameFilters) const;

    QString title_;
    QString filter_;
    int filterIndex_ = 1;
    QString defaultExt_;
    QString fileName_;
    QString initialDir_;
    TOptions options_;
    bool showPlacesBar_ = true;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TkxExtSaveDialog::TOptions)
