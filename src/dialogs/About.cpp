#include "dialogs/About.h"

#include "components/kxFeedway.h"
#include "components/kxLinkLabel.h"
#include "components/kxStandard.h"
#include "dialogs/LanguageTables.h"
#include "platform/Colors.h"
#include "platform/Shell.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QVBoxLayout>
#include <QtMath>
#include <algorithm>

namespace {

constexpr const char *Publisher = "KX";
constexpr const char *MailAddress = "info@example.org";
constexpr const char *HomePage = "http://www.example.org/";
// The web folder that holds both news lists.
constexpr const char *NewsFolder = "http://www.example.org/orvani/";
// The window's reference text, 8 pt at 96 dpi, is 11 pixels high; larger texts keep their
// proportion to it.
constexpr double ReferenceTextPixels = 11;
// The title's shadow lies this many reference pixels right of and below the title.
constexpr int ShadowOffset = 2;

// The reference client size at 96 dpi.
constexpr QSize ReferenceSize(426, 229);
// The decorative strip's reference width, and how far its artwork starts above the window.
constexpr int StripWidth = 100;
constexpr int StripLift = 5;
constexpr const char *StripArt = ":/art/app/about-strip.svg";

// The strip artwork's width over its height, read once.
qreal StripAspect()
{
    static const qreal aspect = [] {
        const QSizeF size = QSvgRenderer(QString(StripArt)).defaultSize();
        return size.isEmpty() ? 100.0 / 240 : size.width() / size.height();
    }();
    return aspect;
}

// The decorative strip along the left edge: the artwork at the strip's width, its top a few
// pixels above the window's, and scaled up to cover the strip where the strip is relatively
// taller (cut equally on both sides). Rendered once per size, not at every paint.
class TAboutStrip final : public QWidget {
public:
    TAboutStrip(QWidget *parent, int lift) : QWidget(parent), FLift(lift) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        const qreal ratio = devicePixelRatioF();
        if (FPicture.size() != size() * ratio) {
            Render(ratio);
        }
        QPainter(this).drawPixmap(0, 0, FPicture);
    }

private:
    void Render(qreal ratio)
    {
        FPicture = QPixmap(size() * ratio);
        FPicture.setDevicePixelRatio(ratio);
        FPicture.fill(Qt::transparent);
        QSvgRenderer art{QString(StripArt)};
        const QSizeF artSize = art.defaultSize();
        if (!art.isValid() || artSize.isEmpty()) {
            return;
        }
        const qreal scale = std::max(width() / artSize.width(), (height() + FLift) / artSize.height());
        const QSizeF drawn = artSize * scale;
        QPainter painter(&FPicture);
        art.render(&painter, QRectF(QPointF((width() - drawn.width()) / 2, -FLift), drawn));
    }

    int FLift;
    QPixmap FPicture;
};

QLabel *NewLabel(QWidget *parent, const char *name, const QString &text, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(alignment);
    return label;
}

void SetTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

TkxLinkLabel *NewLink(QWidget *parent, const char *name, const QString &address)
{
    auto *link = new TkxLinkLabel(parent);
    link->setObjectName(name);
    link->SetCaption(address);
    link->SetLink(address);
    return link;
}

} // namespace

TAboutBox::TAboutBox(QWidget *parent) : TToolDialog("AboutBox", ReferenceSize, parent)
{
    // No close box and no system menu: OK closes the window.
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    setWindowFlag(Qt::WindowSystemMenuHint, false);
    setWindowTitle("Info");
    CreateControls();
    kxFeedway1 = new TkxFeedway(this);
    kxFeedway1->setObjectName("kxFeedway1");
    connect(BitBtn_OK, &QPushButton::clicked, this, &TAboutBox::BitBtn_OKClick);
    connect(BitBtn_Extra, &QPushButton::clicked, this, &TAboutBox::BitBtn_ExtraClick);
    connect(BitBtn_Feedway, &QPushButton::clicked, this, &TAboutBox::BitBtn_FeedwayClick);
}

void TAboutBox::CreateControls()
{
    // The shadow first, so the title paints over it; both share one cell, their texts apart by
    // the shadow's offset.
    Label1 = NewLabel(this, "Label1", "Orvani", Qt::AlignCenter);
    Label_Title = NewLabel(this, "Label_Title", "Orvani", Qt::AlignCenter);
    Label1->setContentsMargins(Scaled(ShadowOffset), Scaled(ShadowOffset), 0, 0);
    Label_Title->setContentsMargins(0, 0, Scaled(ShadowOffset), Scaled(ShadowOffset));

    Image1 = new TAboutStrip(this, Scaled(StripLift));
    Image1->setObjectName("Image1");
    Image1->setFixedWidth(Scaled(StripWidth));

    Label_Versie = NewLabel(this, "Label_Versie", "Versie 2.21 / Juni 2003", Qt::AlignCenter);
    Label_Versie->setMinimumSize(Scaled(300), Scaled(20));

    Bevel2 = new QFrame(this);
    Bevel2->setObjectName("Bevel2");
    Bevel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Bevel2->setMinimumSize(Scaled(310), Scaled(94));
    ntLabel_Naam = NewLabel(Bevel2, "ntLabel_Naam", Publisher, Qt::AlignCenter);
    ntLabel_Plaats =
        NewLabel(Bevel2, "ntLabel_Plaats", "Postbus 1221, 9999 ZZ Voorbeeldstad, Nederland", Qt::AlignCenter);
    ntLabel_Plaats->setMinimumSize(Scaled(286), Scaled(13));
    ntLinkLabelEmail = NewLink(Bevel2, "ntLinkLabelEmail", MailAddress);
    ntLinkLabelWeb = NewLink(Bevel2, "ntLinkLabelWeb", HomePage);

    const auto newButton = [this](const char *name, const char *text) {
        auto *button = new TkxBitBtn(this);
        button->setObjectName(name);
        button->setText(text);
        return button;
    };
    BitBtn_Feedway = newButton("BitBtn_Feedway", "Laatste nieuws");
    BitBtn_Feedway->setVisible(false);
    BitBtn_Feedway->setEnabled(false);
    BitBtn_Extra = newButton("BitBtn_Extra", "Meer info");
    BitBtn_OK = NewOkButton();
    for (TkxBitBtn *button : {BitBtn_Feedway, BitBtn_Extra, BitBtn_OK}) {
        button->setMinimumSize(Scaled(100), Scaled(27));
    }
    // Reading order: the links, then the buttons from left to right (OK keeps the first focus).
    QWidget *const order[] = {ntLinkLabelEmail, ntLinkLabelWeb, BitBtn_Feedway, BitBtn_Extra, BitBtn_OK};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    auto *title = new QGridLayout;
    title->addWidget(Label1, 0, 0, Qt::AlignCenter);
    title->addWidget(Label_Title, 0, 0, Qt::AlignCenter);

    auto *contact = new QVBoxLayout(Bevel2);
    contact->setContentsMargins(Scaled(12), Scaled(12), Scaled(12), Scaled(11));
    contact->setSpacing(Scaled(4));
    for (QWidget *line :
         std::initializer_list<QWidget *>{ntLabel_Naam, ntLabel_Plaats, ntLinkLabelEmail, ntLinkLabelWeb}) {
        contact->addWidget(line, 0, Qt::AlignHCenter);
    }

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(Scaled(6));
    buttons->addStretch(1);
    for (TkxBitBtn *button : {BitBtn_Feedway, BitBtn_Extra, BitBtn_OK}) {
        buttons->addWidget(button);
    }
    buttons->addStretch(1);

    auto *content = new QVBoxLayout;
    content->setContentsMargins(Scaled(7), Scaled(5), Scaled(9), Scaled(6));
    content->setSpacing(0);
    content->addLayout(title);
    content->addSpacing(Scaled(8));
    content->addWidget(Label_Versie, 0, Qt::AlignHCenter);
    content->addSpacing(Scaled(25));
    content->addWidget(Bevel2);
    content->addSpacing(Scaled(11));
    content->addStretch(1);
    content->addLayout(buttons);

    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(Image1);
    outer->addLayout(content, 1);
}

void TAboutBox::FormShow()
{
    // On the button face of the desktop's theme as it is now: the navy title over a white shadow
    // on a light face; on a dark face a lighter navy over a black shadow, so the title reads.
    QPalette palette = QApplication::palette(this);
    const QColor face = palette.color(QPalette::Button);
    palette.setColor(QPalette::Window, face);
    setPalette(palette);
    SetTextColor(Label_Title, ReadableOn(ToQColor(clNavy), face));
    SetTextColor(Label1, ToQColor(ContrastRatio(Qt::white, face) < ContrastRatio(Qt::black, face) ? clWhite : clBlack));
    LoadGlyphs();
    FitFonts();
    FitStrip();
    BitBtn_OK->setFocus(Qt::OtherFocusReason);
}

// The buttons' pictures are drawn at the first showing: the box is seldom opened.
void TAboutBox::LoadGlyphs()
{
    if (!BitBtn_Extra->Glyph().isNull()) {
        return;
    }
    BitBtn_Feedway->SetResourceBitmap(":/art/about/news.svg");
    BitBtn_Extra->SetResourceBitmap(":/art/feed/info.svg");
}

// A window made taller by larger text gets a wider strip, so the artwork keeps its shape.
void TAboutBox::FitStrip()
{
    // The fonts set just now reach every nested layout; the window is not shown yet, so its
    // layout does not catch up by itself.
    layout()->activate();
    const int height = std::max(Scaled(ReferenceSize.height()), layout()->sizeHint().height());
    Image1->setFixedWidth(std::max(Scaled(StripWidth), qCeil((height + Scaled(StripLift)) * StripAspect())));
}

// The texts' looks follow the window's font as it is at this showing.
void TAboutBox::FitFonts()
{
    QFont title("Arial");
    title.setBold(true);
    title.setPixelSize(TextPixels(28));
    Label1->setFont(title);
    Label_Title->setFont(title);

    QFont heading = font();
    heading.setBold(true);
    heading.setPixelSize(TextPixels(13));
    Label_Versie->setFont(heading);
    ntLabel_Naam->setFont(heading);

    const TkxFont hot = MakeKxFont(font(), clNavy, true);
    for (TkxBitBtn *button : {BitBtn_Feedway, BitBtn_Extra, BitBtn_OK}) {
        button->SetHotTrackFont(hot);
    }
    const TkxFont standard = MakeKxFont(font(), clWindowText);
    for (TkxLinkLabel *link : {ntLinkLabelEmail, ntLinkLabelWeb}) {
        link->SetFontStandard(standard);
        link->SetFontHighlight(MakeKxFont(font(), clBlue, true));
        link->SetFontUsed(standard);
        link->SetUsed(link->Used());
    }
}

// A text height given in pixels beside the 8 pt reference text: scaled to the screen, and
// larger where the window's own text is larger than the reference.
int TAboutBox::TextPixels(int reference) const
{
    return std::max(Scaled(reference),
                    qRound(QFontInfo(font()).pixelSize() * reference / ReferenceTextPixels));
}

QString TAboutBox::ReadMePath(TLanguage language)
{
    const QString name = language == lnDutch ? "Orvani_Leesmij.htm" : "Orvani_Readme.htm";
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    if (QFileInfo(beside).isFile()) {
        return beside;
    }
    return QStandardPaths::locate(QStandardPaths::GenericDataLocation, "orvani/" + name);
}

void TAboutBox::BitBtn_OKClick()
{
    accept();
}

void TAboutBox::BitBtn_ExtraClick()
{
    // A page that is nowhere opens nothing, without a message.
    const QString path = ReadMePath(Language());
    if (!path.isEmpty()) {
        Shell().OpenUrl(path);
    }
}

void TAboutBox::BitBtn_FeedwayClick()
{
    const bool dutch = Language() == lnDutch;
    const QString homePage = QString("%1 - %2").arg(Publisher, HomePage);
    kxFeedway1->SetLanguage(dutch ? lgNederlands : lgEnglish);
    kxFeedway1->SetTitle(QString::fromUtf8(LanguageTexts(Language()).NewsTitle) + homePage);
    kxFeedway1->SetURL(NewsFolder + QString(dutch ? "Feedway_Ned.inf" : "Feedway_Eng.inf"));
    kxFeedway1->Execute();
}

void TAboutBox::keyPressEvent(QKeyEvent *event)
{
    // There is no cancel button: Escape does nothing.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    TToolDialog::keyPressEvent(event);
}
