#pragma once
// TkxLinkLabel: a text label that behaves like a hyperlink. It shows its highlight font under the
// pointer (and the hand pointer when it has a link), opens its link when clicked and then keeps
// its visited (used) look until Used is switched off.
//
// A click opens, in this order: an address with a scheme ("https:", "mailto:") in its program; a
// mail address (containing "@") in the mail program; otherwise the link is a file, a relative path
// lying in the program's folder: with a Viewer, that program with the file and the Parameters as
// arguments in the viewer's folder; otherwise the file itself, in its own folder.

#include "components/kxFont.h"

#include <QLabel>
#include <optional>

class TkxLinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit TkxLinkLabel(QWidget *parent = nullptr);

    // The label sizes itself to its caption.
    QString Caption() const { return text(); }
    void SetCaption(const QString &caption);

    bool Used() const { return FUsed; }
    // Shows the used or the standard font at once.
    void SetUsed(bool used);

    // The three looks. Setting one changes nothing on screen until the look next changes.
    TkxFont FontStandard() const { return FFontStandard; }
    void SetFontStandard(const TkxFont &font) { FFontStandard = font; }
    TkxFont FontHighlight() const { return FFontHighlight; }
    void SetFontHighlight(const TkxFont &font) { FFontHighlight = font; }
    TkxFont FontUsed() const { return FFontUsed; }
    void SetFontUsed(const TkxFont &font) { FFontUsed = font; }

    QString Link() const { return FLink; }
    void SetLink(const QString &link) { FLink = link; }
    // Full path of a program that opens links that are neither web nor mail addresses.
    QString Viewer() const { return FViewer; }
    void SetViewer(const QString &viewer) { FViewer = viewer; }
    // Extra command-line text for opening such links (split into arguments as a shell would).
    QString Parameters() const { return FParameters; }
    void SetParameters(const QString &parameters) { FParameters = parameters; }
    // Free text kept with the label; the label never reads it.
    QString ExtraInfo() const { return FExtraInfo; }
    void SetExtraInfo(const QString &info) { FExtraInfo = info; }

signals:
    void OnClick(QObject *Sender);
    void OnDblClick(QObject *Sender);

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void Click();
    void OpenLink() const;
    void ShowLook(const TkxFont &font);

    bool FUsed = false;
    TkxFont FFontStandard;
    TkxFont FFontHighlight;
    TkxFont FFontUsed;
    QString FLink;
    QString FViewer;
    QString FParameters;
    QString FExtraInfo;
    std::optional<QCursor> FSavedCursor;
    bool FPressed = false;
};
