// The font combo box with a supplied font list: filling, the used block, FontName and events.
#include "components/kxFontCombobox.h"
#include "support/TestSupport.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <gmock/gmock.h>

namespace {

using testing::ElementsAre;

TkxFontFamily Outline(const QString &name)
{
    return {name, true, false, true, false};
}
TkxFontFamily Symbol(const QString &name)
{
    return {name, true, false, false, true};
}
TkxFontFamily Raster(const QString &name)
{
    return {name, false, true, true, false};
}

std::vector<TkxFontFamily> Machine()
{
    return {
        Outline("Liberation Serif"),
        Outline("beta"),
        Symbol("Standard Symbols PS"),
        Raster("Fixed"),
        Outline("Alpha"),
        Outline("@Vertical Mincho"),                // vertical variant: never listed
        {"Arabic Only", true, false, false, false}, // other character set: never listed
        Raster("Terminal"),
        Outline("Gamma"),
        Outline("An extremely long typeface family name"),
        Outline("Delta Condensed"),
        Outline("Delta"),
    };
}

QStringList Entries(const TkxFontComboBox &combo)
{
    QStringList entries;
    for (int i = 0; i < combo.count(); ++i)
        entries.append(combo.itemText(i));
    return entries;
}

class FontComboTest : public testing::Test {
protected:
    void SetUp() override
    {
        combo.SetFontSource(Machine);
        combo.FillFontList();
    }

    int Row(const QString &entry) const
    {
        const QStringList entries = Entries(combo);
        return int(entries.lastIndexOf(entry)); // the sorted place, behind the used block
    }

    // Opens the list, highlights the entry's sorted row and presses Enter, as a user would.
    void ChooseThroughList(const QString &entry)
    {
        combo.showPopup();
        const int row = Row(entry);
        ASSERT_GE(row, 0) << entry.toStdString();
        combo.view()->setCurrentIndex(combo.model()->index(row, 0));
        QTest::keyClick(combo.view(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    QStringList UsedBlock() const { return Entries(combo).mid(0, combo.UsedCount()); }

    TkxFontComboBox combo;
};

TEST(FontComboDefaults, AreThoseOfANewControl)
{
    TkxFontComboBox combo;
    EXPECT_TRUE(combo.MoveUsedToTop());
    EXPECT_EQ(combo.MaxUsed(), 5);
    EXPECT_EQ(combo.ColorUsed(), 0x800000u);
    EXPECT_EQ(combo.PreviewText(), "");
    EXPECT_EQ(combo.PreviewWidth(), 240);
    EXPECT_EQ(combo.PreviewHeight(), 60);
    EXPECT_EQ(combo.FontName(), "");
    EXPECT_EQ(combo.FontTypes(), (TkxFontTypes{ftTrueTypeAnsi, ftTrueTypeSymbol}));
    EXPECT_TRUE(combo.ShowPreview());
    EXPECT_TRUE(combo.ShowPreviewFontName());
    EXPECT_TRUE(combo.ShowPreviewInList());
    EXPECT_FALSE(combo.ShowPreviewInEdit());
    EXPECT_TRUE(combo.ShowImagesFontType());
    EXPECT_EQ(combo.ItemHeight(), 18);
    EXPECT_EQ(combo.maxVisibleItems(), 12);
    EXPECT_EQ(combo.width(), 200);
    EXPECT_EQ(combo.font().pointSize(), 10);
    EXPECT_EQ(combo.UsedCount(), 0);
    EXPECT_FALSE(combo.ListOpen());
    EXPECT_FALSE(combo.isEditable());
    ASSERT_NE(combo.Preview(), nullptr);
    EXPECT_EQ(combo.Preview()->size(), QSize(240, 60));
    EXPECT_FALSE(combo.Preview()->isVisible());
}

// A box that nobody sized takes its size hint, the height following its font, when shown.
TEST(FontComboDefaults, ShownAloneItTakesItsSizeHint)
{
    TkxFontComboBox combo;
    combo.SetFontSource([] { return std::vector<TkxFontFamily>{Outline("Alpha")}; });
    QFont big = combo.font();
    big.setPointSize(20);
    combo.setFont(big);
    combo.show();
    EXPECT_EQ(combo.size(), combo.sizeHint());
    EXPECT_GT(combo.height(), QFontMetrics(big).height());
}

TEST_F(FontComboTest, FillsSortedEntriesOfTheAdmittedKinds)
{
    EXPECT_THAT(Entries(combo),
                ElementsAre("Alpha=TA", "An extremely long typeface famil=TA", "beta=TA", "Delta=TA",
                            "Delta Condensed=TA", "Gamma=TA", "Liberation Serif=TA", "Standard Symbols PS=TS"));
    EXPECT_EQ(combo.currentIndex(), -1); // nothing chosen yet
    EXPECT_EQ(combo.FontName(), "");
}

TEST_F(FontComboTest, FontTypesFilterTheList)
{
    const struct {
        TkxFontTypes Types;
        QStringList Expected;
    } cases[] = {
        {{ftTrueTypeAnsi},
         {"Alpha=TA", "An extremely long typeface famil=TA", "beta=TA", "Delta=TA", "Delta Condensed=TA",
          "Gamma=TA", "Liberation Serif=TA"}},
        {{ftTrueTypeSymbol}, {"Standard Symbols PS=TS"}},
        {{ftRaster}, {"Fixed=R", "Terminal=R"}},
        {{ftRaster, ftTrueTypeSymbol}, {"Fixed=R", "Standard Symbols PS=TS", "Terminal=R"}},
        {{}, {}},
    };
    for (const auto &c : cases) {
        combo.SetFontTypes(c.Types);
        EXPECT_EQ(Entries(combo), c.Expected);
    }
}

TEST(FontComboNames, AreCutToWholeCharacters)
{
    TkxFontComboBox combo;
    const QString face = QString(31, 'x') + QString::fromUtf8("\xF0\x9D\x90\x80"); // 31 + a surrogate pair
    combo.SetFontSource([face] { return std::vector<TkxFontFamily>{Outline(face)}; });
    combo.FillFontList();
    EXPECT_EQ(combo.itemText(0), QString(31, 'x') + "=TA");
}

TEST_F(FontComboTest, ChoosingThroughTheListBuildsTheUsedBlock)
{
    ChooseThroughList("Delta=TA");
    ChooseThroughList("Gamma=TA");
    ChooseThroughList("Delta=TA");
    EXPECT_THAT(UsedBlock(), ElementsAre("Delta=TA", "Gamma=TA"));
    EXPECT_EQ(combo.count(), 10);
    EXPECT_EQ(combo.currentIndex(), 0);
    EXPECT_EQ(combo.FontName(), "Delta");
    EXPECT_FALSE(combo.ListOpen());
}

TEST_F(FontComboTest, UsedBlockKeepsTheMostRecentUpToMaxUsed)
{
    combo.SetMaxUsed(2);
    for (const char *entry : {"Gamma=TA", "beta=TA", "Delta=TA"})
        ChooseThroughList(entry);
    EXPECT_THAT(UsedBlock(), ElementsAre("Delta=TA", "beta=TA"));
    EXPECT_EQ(Entries(combo).count("Gamma=TA"), 1); // only at its sorted place
    EXPECT_EQ(combo.count(), 10);
}

TEST_F(FontComboTest, MaxUsedZeroHasNoLimit)
{
    combo.SetMaxUsed(0);
    const QStringList all = Entries(combo);
    for (const QString &entry : all.mid(1))
        ChooseThroughList(entry);
    EXPECT_EQ(combo.UsedCount(), all.size() - 1);
    EXPECT_EQ(combo.itemText(0), all.last());
}

TEST_F(FontComboTest, TheFirstEntryWithAnEmptyUsedBlockIsNotCopied)
{
    ChooseThroughList("Alpha=TA");
    EXPECT_EQ(combo.UsedCount(), 0);
    EXPECT_EQ(combo.FontName(), "Alpha");
    EXPECT_EQ(combo.count(), 8);
}

TEST(FontComboFontName, MatchesTheTailOfAnEarlierLongerName)
{
    TkxFontComboBox combo;
    combo.SetFontSource([] { return std::vector<TkxFontFamily>{Outline("Sans"), Outline("Gill Sans")}; });
    combo.SetMoveUsedToTop(false);
    combo.SetFontName("Sans");
    EXPECT_EQ(combo.FontName(), "Gill Sans");
    EXPECT_EQ(combo.currentText(), "Gill Sans=TA");
    // Screen readers hear the family, never the stored form with its type code.
    QAccessibleInterface *box = QAccessible::queryAccessibleInterface(&combo);
    EXPECT_EQ(box->text(QAccessible::Value), "Gill Sans");
    EXPECT_EQ(box->textInterface()->text(0, box->textInterface()->characterCount()), "Gill Sans");
    EXPECT_EQ(combo.itemData(1, Qt::AccessibleTextRole).toString(), "Sans"); // the entries too
}

TEST_F(FontComboTest, FontNameWithMoveUsedToTopCopiesToTheUsedBlock)
{
    QSignalSpy changed(&combo, &TkxFontComboBox::OnChange);
    QSignalSpy clicked(&combo, &TkxFontComboBox::OnClick);
    combo.SetFontName("Gamma");
    EXPECT_EQ(combo.FontName(), "Gamma");
    EXPECT_THAT(UsedBlock(), ElementsAre("Gamma=TA"));
    EXPECT_EQ(combo.currentIndex(), 0);
    EXPECT_EQ(changed.count() + clicked.count(), 0);
}

TEST_F(FontComboTest, FontNameWithoutMoveUsedToTopNeverReorders)
{
    combo.SetMoveUsedToTop(false);
    const QStringList before = Entries(combo);
    for (const char *name : {"Gamma", "Delta", "Gamma"}) {
        combo.SetFontName(name);
        EXPECT_EQ(combo.FontName(), name);
        EXPECT_EQ(combo.currentText(), QString(name) + "=TA");
    }
    ChooseThroughList("beta=TA");
    EXPECT_EQ(Entries(combo), before);
    EXPECT_EQ(combo.UsedCount(), 0);
}

TEST_F(FontComboTest, UnknownOrEmptyFontNameChangesNothing)
{
    combo.SetFontName("Delta");
    const QStringList before = Entries(combo);
    for (const char *name : {"Helvetica", "", "delta"}) {
        combo.SetFontName(name);
        EXPECT_EQ(combo.FontName(), "Delta") << name;
        EXPECT_EQ(combo.currentIndex(), 0);
        EXPECT_EQ(Entries(combo), before);
    }
}

TEST_F(FontComboTest, RefillKeepsTheChosenFontAndEmptiesTheUsedBlock)
{
    combo.SetFontName("Delta");
    combo.SetFontTypes({ftTrueTypeAnsi});
    EXPECT_EQ(combo.UsedCount(), 0);
    EXPECT_EQ(combo.FontName(), "Delta");
    EXPECT_EQ(combo.currentText(), "Delta=TA");
    combo.SetFontTypes({ftRaster});
    EXPECT_EQ(combo.FontName(), "");
    EXPECT_EQ(combo.currentIndex(), -1);
}

TEST_F(FontComboTest, EventsComeInOrderOnOpenPickAndCancel)
{
    QStringList events;
    QObject::connect(&combo, &TkxFontComboBox::OnDropDown, [&](TkxFontComboBox *sender) {
        events << QString("DropDown open=%1").arg(sender->ListOpen());
    });
    QObject::connect(&combo, &TkxFontComboBox::OnClick, [&](TkxFontComboBox *sender) {
        events << QString("Click open=%1 font=%2").arg(sender->ListOpen()).arg(sender->FontName());
    });
    QObject::connect(&combo, &TkxFontComboBox::OnChange,
                     [&](TkxFontComboBox *sender) { events << "Change font=" + sender->FontName(); });

    ChooseThroughList("Gamma=TA");
    EXPECT_THAT(events, ElementsAre("DropDown open=1", "Click open=0 font=Gamma", "Change font=Gamma"));

    events.clear();
    combo.showPopup();
    combo.view()->setCurrentIndex(combo.model()->index(Row("Delta=TA"), 0));
    QTest::keyClick(combo.view(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_THAT(events, ElementsAre("DropDown open=1", "Click open=0 font=Gamma"));
    EXPECT_FALSE(combo.Preview()->isVisible());
}

TEST_F(FontComboTest, ChangingTheClosedBoxLeavesTheUsedBlock)
{
    combo.SetFontName("Delta");
    QStringList events;
    QObject::connect(&combo, &TkxFontComboBox::OnClick, [&] { events << "Click"; });
    QObject::connect(&combo, &TkxFontComboBox::OnChange, [&] { events << "Change " + combo.FontName(); });
    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_THAT(events, ElementsAre("Click", "Change Alpha"));
    EXPECT_THAT(UsedBlock(), ElementsAre("Delta=TA"));
    EXPECT_EQ(combo.currentIndex(), 1);
}

TEST_F(FontComboTest, ClosingWithoutAnEntryOnlyClosesTheList)
{
    QSignalSpy changed(&combo, &TkxFontComboBox::OnChange);
    combo.showPopup();
    EXPECT_TRUE(combo.ListOpen());
    combo.hidePopup();
    QCoreApplication::processEvents();
    EXPECT_FALSE(combo.ListOpen());
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(combo.FontName(), "");
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(FontComboTest, SymbolEntriesAreDrawnInTheControlsFace)
{
    const QString face = combo.font().family();
    const int symbol = Row("Standard Symbols PS=TS");
    const int plain = Row("Gamma=TA");
    EXPECT_EQ(combo.EntryFont(symbol, true).family(), face);
    EXPECT_EQ(combo.EntryFont(plain, true).family(), "Gamma");
    EXPECT_EQ(combo.EntryFont(plain, true).pointSize(), 10);
    EXPECT_EQ(combo.EntryFont(plain, false).family(), face); // the closed box keeps its face
    combo.SetShowPreviewInEdit(true);
    EXPECT_EQ(combo.EntryFont(plain, false).family(), "Gamma");
    combo.SetShowPreviewInList(false);
    EXPECT_EQ(combo.EntryFont(plain, true).family(), face);
}

TEST(FontComboEntryParts, SplitAtTheLastEquals)
{
    EXPECT_EQ(TkxFontComboBox::NamePart("Gill Sans=TA"), "Gill Sans");
    EXPECT_EQ(TkxFontComboBox::CodePart("Gill Sans=TA"), "TA");
    EXPECT_EQ(TkxFontComboBox::NamePart("Odd=Name=R"), "Odd=Name");
    EXPECT_EQ(TkxFontComboBox::CodePart("Odd=Name=R"), "R");
}

// The machine's own font list, with typefaces of the URW and Noto packages added as the
// application's fonts: Nimbus Sans from two foundries (the second in italics only), and two fonts
// of scripts that Qt does not know, which are neither symbol nor Latin fonts. Qt's stand-ins for
// the generic families are no installed fonts.
TEST(SystemFontList, ShowsEachFamilyOnceInItsRegularStyleAndNoFontsOfOtherScripts)
{
    struct Case {
        const char *file; // nullptr: known to Qt without a file
        const char *family;
        const char *entry; // nullptr: not listed
    };
    const Case cases[] = {
        {nullptr, "Sans Serif", nullptr},
        {nullptr, "Serif", nullptr},
        {nullptr, "Monospace", nullptr},
        {"/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf", "Nimbus Sans", "Nimbus Sans=TA"},
        {"/usr/share/fonts/type1/urw-base35/NimbusSans-Italic.t1", "Nimbus Sans", "Nimbus Sans=TA"},
        {"/usr/share/fonts/truetype/noto/NotoSansAdlam-Regular.ttf", "Noto Sans Adlam", nullptr},
        {"/usr/share/fonts/truetype/noto/NotoSansCherokee-Regular.ttf", "Noto Sans Cherokee", nullptr},
    };
    const auto present = [](const Case &c) { return !c.file || QFile::exists(c.file); };
    std::vector<int> added;
    for (const Case &c : cases)
        if (c.file && present(c))
            added.push_back(QFontDatabase::addApplicationFont(c.file));

    TkxFontComboBox combo;
    combo.FillFontList();
    const QStringList entries = Entries(combo);
    EXPECT_EQ(entries.filter("[").size(), 0) << "no foundry in brackets";
    EXPECT_EQ(QSet<QString>(entries.begin(), entries.end()).size(), entries.size()) << "each family once";
    for (const Case &c : cases) {
        if (!present(c))
            continue;
        SCOPED_TRACE(c.family);
        if (!c.entry) {
            EXPECT_FALSE(std::any_of(entries.begin(), entries.end(), [&](const QString &entry) {
                return TkxFontComboBox::NamePart(entry) == c.family;
            }));
            continue;
        }
        const int index = int(entries.indexOf(c.entry));
        ASSERT_GE(index, 0);
        combo.SetFontName(c.family);
        EXPECT_EQ(combo.FontName(), c.family) << "the plain family name is what is chosen";
        const QFontInfo drawn(combo.EntryFont(index, true));
        EXPECT_FALSE(drawn.italic()) << "drawn in its regular style";
    }
    combo.show();
    combo.showPopup();
    combo.view()->scrollTo(combo.model()->index(int(entries.indexOf("Nimbus Sans=TA")), 0));
    testsupport::SaveScreenshot(combo.view()->window(), "kxFontCombobox_system_list");
    combo.hidePopup();
    for (int id : added)
        QFontDatabase::removeApplicationFont(id);
}

} // namespace
