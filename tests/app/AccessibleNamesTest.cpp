#include "app/MainWindow.h"

#include "components/MonthCalendar.h"
#include "components/kxColorPick.h"
#include "components/kxFeedway.h"
#include "components/kxFontCombobox.h"
#include "components/kxLinkLabel.h"
#include "dialogs/About.h"
#include "dialogs/DatumInfo.h"
#include "dialogs/GaNaar.h"
#include "dialogs/LanguageTables.h"
#include "dialogs/Opties.h"
#include "settings/MemoryRegistryBackend.h"
#include "settings/Settings.h"
#include "support/SettingsSupport.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

// The program's windows as main() creates them, each shown.
struct Program {
    Program()
    {
        main = std::make_unique<TForm_Orvani>(settings.Model());
        gaNaar = new TForm_GaNaar(main->MonthCalendar1, main.get());
        opties = new TForm_Opties(settings.Model(), main.get());
        datumInfo = new TForm_DatumInfo(settings.Model(), main.get());
        about = new TAboutBox(main.get());
        main->AttachDialogs(gaNaar, opties, datumInfo, about);
    }

    testsupport::TScopedSettings settings;
    testsupport::TScopedClock clock{MakeDate(2026, 9, 24)};
    std::unique_ptr<TForm_Orvani> main;
    TForm_GaNaar *gaNaar;
    TForm_Opties *opties;
    TForm_DatumInfo *datumInfo;
    TAboutBox *about;
};

// Roles of what a person operates or reads one by one: each must say what it is.
bool NeedsName(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Button:
    case QAccessible::ButtonDropDown:
    case QAccessible::ButtonMenu:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::Link:
    case QAccessible::MenuItem:
    case QAccessible::PageTab:
    case QAccessible::Tree:
    case QAccessible::Table:
    case QAccessible::ColumnHeader:
        return true;
    default:
        return false;
    }
}

// A control the keyboard reaches must say what it is; the generic role of a container is fine.
bool NeedsName(QAccessibleInterface *node)
{
    return NeedsName(node->role()) || (node->role() == QAccessible::Client && node->state().focusable);
}

// Walks the shown part of a tree, every node once; `path` says where a nameless one stands.
void CollectNameless(QAccessibleInterface *node, const QString &path, QStringList &nameless, int &walked)
{
    ++walked;
    const QString name = node->text(QAccessible::Name);
    const QString here = path + '/' + (node->object() ? node->object()->objectName() : QString()) + '[' +
                         QString::number(node->role(), 16) + ']';
    if (NeedsName(node) && name.trimmed().isEmpty())
        nameless << here;
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (child && !child->state().invisible && child->role() != QAccessible::Separator)
            CollectNameless(child, here, nameless, walked);
    }
}

} // namespace

TEST(AccessibleNames, EveryControlOfEveryWindowIsNamedInBothLanguages)
{
    Program program;
    program.main->show();
    program.about->kxFeedway1->SetTitle("Orvani");
    TkxNetDialog *news = program.about->kxFeedway1->NetDialog();
    for (int taal : {0, 1}) {
        SCOPED_TRACE(taal);
        program.main->ApplyLanguage(LanguageOf(taal));
        news->SetLanguage(taal == 0 ? lgNederlands : lgEnglish);
        QStringList nameless;
        int walked = 0;
        // Every page of the Options dialog in turn; menus are walked whole, as they open.
        for (int page = 0; page < program.opties->PageControl1->count(); ++page) {
            program.opties->PageControl1->setCurrentIndex(page);
            for (QWidget *window : std::initializer_list<QWidget *>{program.main.get(), program.gaNaar, program.opties,
                                                                   program.datumInfo, program.about, news}) {
                if (page > 0 && window != program.opties)
                    continue;
                window->show();
                CollectNameless(QAccessible::queryAccessibleInterface(window), window->objectName(), nameless,
                                walked);
                window->hide();
            }
        }
        for (QMenu *menu : {program.main->PopupMenu1, program.main->Kopieren1, program.main->PopupMenu_SystemTray}) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(menu);
            for (int i = 0; i < iface->childCount(); ++i) {
                if (iface->child(i)->role() != QAccessible::Separator)
                    CollectNameless(iface->child(i), menu->objectName(), nameless, walked);
            }
        }
        EXPECT_GT(walked, 200);
        EXPECT_TRUE(nameless.isEmpty()) << nameless.join('\n').toStdString();
    }
}

TEST(AccessibleNames, ControlsAreReadWithTheirCaptionsAndValues)
{
    Program program;
    program.datumInfo->CurrentDate = MakeDate(2026, 9, 24);
    program.datumInfo->FormShow();
    program.opties->kxColorPickerAchtergrond->SetColor(0xFFFFFF);
    program.opties->kxColorPickerTitel->SetColor(0x123456);
    const auto iface = [](QObject *object) { return QAccessible::queryAccessibleInterface(object); };
    // The caption that labels a control, as a screen reader joins them.
    const auto labelled = [&](QObject *object) {
        const auto labels = iface(object)->relations(QAccessible::Label);
        return labels.isEmpty() ? QString("(no label)")
                                : labels.first().first->text(QAccessible::Name) + ": " + iface(object)->text(QAccessible::Name);
    };
    struct Case {
        int Taal;
        QObject *Control;
        QAccessible::Role Role;
        QString Reading; // the labelled name, or the name itself
        QAccessible::Text Extra;
        QString ExtraText;
    };
    TForm_Opties *opties = program.opties;
    TForm_DatumInfo *info = program.datumInfo;
    TAboutBox *about = program.about;
    const Case cases[] = {
        {0, info->ntLabelDayNoYear, QAccessible::StaticText, "Dagnummer in jaar: 267", QAccessible::Name, "267"},
        {1, info->ntLabelDayNoYear, QAccessible::StaticText, "Daynumber in year: 267", QAccessible::Name, "267"},
        {1, info->ntLabelWeekNo, QAccessible::StaticText, "ISO weeknumber: 39", QAccessible::Name, "39"},
        {0, opties->kxColorPickerAchtergrond, QAccessible::ComboBox, "Achtergrond", QAccessible::Value, "wit"},
        {1, opties->kxColorPickerAchtergrond, QAccessible::ComboBox, "Background", QAccessible::Value, "white"},
        {1, opties->kxColorPickerTitel, QAccessible::ComboBox, "Title", QAccessible::Value, "#563412"},
        {0, opties->kxFontComboBox1, QAccessible::ComboBox, "Lettertype", QAccessible::Name, "Lettertype"},
        {1, about->ntLinkLabelWeb, QAccessible::Link, "http://www.example.org/", QAccessible::Description,
         "http://www.example.org/"},
        {0, program.main->MonthCalendar1, QAccessible::Grouping, "Maandkalender", QAccessible::Value,
         "donderdag 24 september 2026"},
        {1, program.main->ToolButton_StayOnTop, QAccessible::CheckBox, "On top", QAccessible::Description,
         "Window stay on top"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Control->objectName().toStdString() + " " + std::to_string(c.Taal));
        program.main->ApplyLanguage(LanguageOf(c.Taal));
        program.main->MonthCalendar1->SetDate(MakeDate(2026, 9, 24));
        program.main->MonthCalendar1->setLocale(QLocale(c.Taal == 0 ? "nl_NL" : "en_GB"));
        QAccessibleInterface *control = iface(c.Control);
        EXPECT_EQ(control->role(), c.Role);
        // A value shown by a label is read with the caption whose buddy it is.
        const bool value = c.Role == QAccessible::StaticText;
        EXPECT_EQ(value ? labelled(c.Control) : control->text(QAccessible::Name), c.Reading);
        EXPECT_EQ(control->text(c.Extra), c.ExtraText);
        if (QAccessibleTextInterface *text = control->textInterface(); text && c.Extra == QAccessible::Value)
            EXPECT_EQ(text->text(0, text->characterCount()), c.ExtraText); // the value as readers get it
    }
    // Readers name a combo box by its label: the size box has one that is not shown.
    const auto sizeLabels = iface(opties->ComboBoxFontSize)->relations(QAccessible::Label);
    ASSERT_FALSE(sizeLabels.isEmpty());
    EXPECT_EQ(sizeLabels.first().first->text(QAccessible::Name), "Font size");
}

// Tab follows the reading order: each control the keyboard reaches next stands lower, or on the
// same line further right, or in a group further right (a column of its own), until it comes
// round to the first again.
TEST(AccessibleNames, TabFollowsTheVisualOrderInEveryWindow)
{
    Program program;
    const auto check = [](QWidget *window) {
        window->show();
        std::vector<QWidget *> chain;
        for (QWidget *w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy())
                chain.push_back(w);
        }
        // The chain is a ring: one step back, from the last control to the first, wherever it starts.
        QStringList back;
        for (std::size_t i = 0; i < chain.size(); ++i) {
            QWidget *from = chain[i];
            QWidget *to = chain[(i + 1) % chain.size()];
            const QRect a(from->mapTo(window, QPoint()), from->size());
            const QRect b(to->mapTo(window, QPoint()), to->size());
            const bool sameLine = b.top() < a.bottom() && a.top() < b.bottom();
            if (!(b.top() >= a.bottom() - 2 || (sameLine && b.left() >= a.left()) || b.left() >= a.right()))
                back << from->objectName() + " -> " + to->objectName();
        }
        window->hide();
        return back.size() <= 1 ? QStringList() : back;
    };
    for (QWidget *window : std::initializer_list<QWidget *>{program.main.get(), program.gaNaar, program.datumInfo}) {
        const QStringList wrong = check(window);
        EXPECT_TRUE(wrong.isEmpty()) << window->objectName().toStdString() << ": " << wrong.join(", ").toStdString();
    }
    for (int page = 0; page < program.opties->PageControl1->count(); ++page) {
        program.opties->PageControl1->setCurrentIndex(page);
        const QStringList wrong = check(program.opties);
        EXPECT_TRUE(wrong.isEmpty()) << "page " << page << ": " << wrong.join(", ").toStdString();
    }
}

// Every button and link the mouse can press, the keyboard reaches too (the leap-year box only
// shows), and every fact of the date sheet, so a screen reader reads it with its caption.
TEST(AccessibleNames, TabReachesEveryButtonAndLink)
{
    Program program;
    QStringList unreached;
    for (QWidget *window : std::initializer_list<QWidget *>{program.main.get(), program.gaNaar, program.opties,
                                                           program.datumInfo, program.about}) {
        QList<QWidget *> controls;
        for (QAbstractButton *button : window->findChildren<QAbstractButton *>())
            controls << button;
        for (TkxLinkLabel *link : window->findChildren<TkxLinkLabel *>())
            controls << link;
        if (window == program.datumInfo)
            controls << QList<QWidget *>{program.datumInfo->ntLabelYear, program.datumInfo->ntLabelMonthname,
                                         program.datumInfo->ntLabelDayName, program.datumInfo->LabelDaysSince,
                                         program.datumInfo->LabelCount};
        for (QWidget *control : controls) {
            const bool internal = control->objectName().isEmpty() || control->objectName().startsWith("qt_");
            if (!internal && control != program.datumInfo->CheckBoxLeapYear && !(control->focusPolicy() & Qt::TabFocus))
                unreached << control->objectName();
        }
    }
    EXPECT_TRUE(unreached.isEmpty()) << unreached.join(", ").toStdString();
}
