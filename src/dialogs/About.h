#pragma once
// The About box: the product name over its shadow, the version line, the publisher's contact
// block with a mail and a web link, and three buttons: close, the local read-me page, and the
// news list (that button is made hidden and disabled and nothing shows it).

#include "dialogs/ToolDialog.h"

class QFrame;
class QKeyEvent;
class QLabel;
class TkxBitBtn;
class TkxFeedway;
class TkxLinkLabel;

class TAboutBox : public TToolDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);

    // The read-me page in an interface language: beside the executable, else in the installed data
    // folder ("orvani" under the generic data locations); empty when neither holds it.
    static QString ReadMePath(TLanguage language);

    // In painting order.
    QLabel *Label1; // the title's white shadow
    QLabel *Label_Title;
    QWidget *Image1;
    QLabel *Label_Versie;
    QFrame *Bevel2;
    QLabel *ntLabel_Naam;
    QLabel *ntLabel_Plaats;
    TkxLinkLabel *ntLinkLabelEmail;
    TkxLinkLabel *ntLinkLabelWeb;
    TkxBitBtn *BitBtn_Feedway;
    TkxBitBtn *BitBtn_Extra;
    TkxBitBtn *BitBtn_OK;
    TkxFeedway *kxFeedway1;

public slots:
    void FormShow() override;
    void BitBtn_OKClick();
    // Opens the read-me page in the interface language.
    void BitBtn_ExtraClick();
    // Opens the news window in the interface language.
    void BitBtn_FeedwayClick();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void CreateControls();
    void LoadGlyphs();
    void FitFonts();
    void FitStrip();
    int TextPixels(int reference) const;
};
