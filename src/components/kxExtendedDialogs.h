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

    QString Title() const { return FTitle; }
    void SetTitle(const QString &title) { FTitle = title; }
    // Pairs of description and patterns, all separated by "|"; patterns separated by ";":
    // "Pictures|*.jpg;*.jpeg|All files|*.*".
    QString Filter() const { return FFilter; }
    void SetFilter(const QString &filter) { FFilter = filter; }
    // The chosen pair of the filter, counting from 1.
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int index) { FFilterIndex = index; }
    // Appended (after a ".") to a name typed without extension, whatever filter is chosen.
    QString DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const QString &extension) { FDefaultExt = extension; }
    // The proposed name before running; the chosen file's full path afterwards.
    QString FileName() const { return FFileName; }
    void SetFileName(const QString &fileName) { FFileName = fileName; }
    // The folder to start in when FileName names none.
    QString InitialDir() const { return FInitialDir; }
    void SetInitialDir(const QString &folder) { FInitialDir = folder; }
    TOptions Options() const { return FOptions; }
    void SetOptions(TOptions options) { FOptions = options; }
    // Stored only: the dialog is the platform's ordinary one either way.
    bool ShowPlacesBar() const { return FShowPlacesBar; }
    void SetShowPlacesBar(bool show) { FShowPlacesBar = show; }

    // Runs the dialog modally over the owner's window; true when the user chose a file.
    bool Execute();

private:
    void Configure(QFileDialog &dialog, const QStringList &nameFilters) const;

    QString FTitle;
    QString FFilter;
    int FFilterIndex = 1;
    QString FDefaultExt;
    QString FFileName;
    QString FInitialDir;
    TOptions FOptions;
    bool FShowPlacesBar = true;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TkxExtSaveDialog::TOptions)
