#include "components/MonthCalendarAccessible.h"

#include "components/MonthCalendar.h"
#include "components/kxAccessible.h"

#include <QAccessibleWidget>
#include <QDate>
#include <map>
#include <optional>
#include <utility>

namespace {

enum class TPart { Previous, Next, Today, Month, Header, Week, Day };

// A part of the calendar: a month (and its cells) by the month itself, not by where it stands, so
// the parts of a month that stays in view across a scroll stay the same objects. The generation
// changes when every part means something else (week column, locale, texts). A table column
// counts the week column first when shown.
struct TPartKey {
    int Generation = 0;
    TPart Kind = TPart::Month;
    int Month = 0; // months since January of year 0
    int Row = 0;
    int Column = 0;
    auto operator<=>(const TPartKey &) const = default;
};

int MonthNumber(TYearMonth month)
{
    return month.Year * 12 + month.Month - 1;
}

QDate ToQDate(TDateTime date)
{
    const TDateParts parts = SplitDate(date);
    return QDate(parts.Year, parts.Month, parts.Day);
}

TAccessibleEventListener eventListener = nullptr;

void SendEvent(QAccessibleEvent &event)
{
    QAccessible::updateAccessibility(&event);
    if (eventListener)
        eventListener(&event);
}

class TMonthCalendarAccessible final : public QAccessibleWidget, public TReadOnlyTextAccessible {
public:
    explicit TMonthCalendarAccessible(TMonthCalendar *calendar)
        : QAccessibleWidget(calendar, QAccessible::Grouping), FView(CurrentView()), FValue(Value())
    {
    }
    ~TMonthCalendarAccessible() override
    {
        for (const auto &[key, id] : FParts)
            QAccessible::deleteAccessibleInterface(id);
    }

    TMonthCalendar *Calendar() const { return static_cast<TMonthCalendar *>(widget()); }
    const TMonthCalendarLayout &Layout() const { return Calendar()->Layout(); }
    const TMonthCalendarTexts &Texts() const { return Calendar()->AccessibleTexts(); }
    int WeekColumns() const { return Calendar()->WeekNumbers() ? 1 : 0; }
    int Generation() const { return FGeneration; }
    int TableColumns() const { return TMonthCalendarLayout::DaysPerWeek + WeekColumns(); }

    QString LongDate(TDateTime date) const
    {
        return Calendar()->locale().toString(ToQDate(date), QLocale::LongFormat);
    }

    // The part for a key of the current generation, made when first asked for.
    QAccessibleInterface *Part(TPart kind, int month = 0, int row = 0, int column = 0) const
    {
        return Part({FGeneration, kind, month, row, column});
    }
    QAccessibleInterface *Part(TPartKey key) const;
    // The block that shows a month now, or -1.
    int BlockOf(int month) const
    {
        const int block = month - MonthNumber(Layout().FirstMonth());
        return block >= 0 && block < Layout().MonthCount() ? block : -1;
    }
    int BlockMonth(int block) const { return MonthNumber(Layout().BlockMonth(block)); }
    std::optional<TPartKey> SelectedKey() const
    {
        const auto pos = Layout().FindDate(Calendar()->Date());
        if (!pos)
            return std::nullopt;
        return TPartKey{FGeneration, TPart::Day, BlockMonth(pos->Block), pos->Row, pos->Column + WeekColumns()};
    }
    QAccessibleInterface *SelectedCell() const
    {
        const auto key = SelectedKey();
        return key ? Part(*key) : nullptr;
    }

    void Update(bool focusIn);

    // QAccessibleInterface
    int childCount() const override { return 2 + Layout().MonthCount() + (Calendar()->ShowToday() ? 1 : 0); }
    QAccessibleInterface *child(int index) const override
    {
        const int months = Layout().MonthCount();
        if (index == 0)
            return Part(TPart::Previous);
        if (index == 1)
            return Part(TPart::Next);
        if (index >= 2 && index < 2 + months)
            return Part(TPart::Month, BlockMonth(index - 2));
        return index == 2 + months && Calendar()->ShowToday() ? Part(TPart::Today) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override { return QAccessibleObject::childAt(x, y); }
    QAccessibleInterface *focusChild() const override { return Calendar()->hasFocus() ? SelectedCell() : nullptr; }
    // The focus lies on the selected day, not on the calendar around it: a reader that hears
    // the calendar take the focus after the day does not speak it again.
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.focused = state.focused && !SelectedKey();
        return state;
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return Calendar()->accessibleName().isEmpty() ? QStringLiteral("Month calendar")
                                                          : Calendar()->accessibleName();
        if (t == QAccessible::Value)
            return Value();
        return QAccessibleWidget::text(t);
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    // The selected date, also as read-only text: the bridge offers a value only as a number.
    QString Text() const override { return Value(); }

private:
    // What decides which parts are shown: the months in view and the today line; and what they
    // mean (the generation).
    struct TView {
        TYearMonth First;
        int Count = 0;
        bool TodayLine = false;
        bool Weeks = false;
        QLocale Locale;
        TMonthCalendarTexts Texts;
        bool operator==(const TView &) const = default;
        bool SameMeaning(const TView &other) const
        {
            return Weeks == other.Weeks && Locale == other.Locale && Texts == other.Texts;
        }
    };
    TView CurrentView() const
    {
        const TMonthCalendar *c = Calendar();
        return {c->FirstVisibleMonth(), c->VisibleMonthCount(), c->ShowToday(), c->WeekNumbers(), c->locale(),
                c->AccessibleTexts()};
    }
    QString Value() const { return LongDate(Calendar()->Date()); }
    // The children of the calendar under a view: the arrows, the months, the today line.
    std::vector<TPartKey> ChildKeys(const TView &view, int generation) const;
    bool Shown(const TPartKey &key, const TView &view, int generation) const;
    void ViewChanged(const TView &view);
    void Send(TPartKey key, QAccessible::Event type) const
    {
        QAccessibleEvent event(Part(key), type);
        SendEvent(event);
    }

    mutable std::map<TPartKey, QAccessible::Id> FParts;
    TView FView;
    int FGeneration = 0;
    std::optional<TPartKey> FSelected; // the day last announced as selected and focused
    QString FValue;
};

// One class serves every part: the kind decides its role, texts and which interfaces it offers.
class TCalendarPartAccessible final : public QAccessibleInterface,
                                      public QAccessibleTableInterface,
                                      public QAccessibleTableCellInterface,
                                      public QAccessibleActionInterface {
public:
    TCalendarPartAccessible(const TMonthCalendarAccessible *owner, TPartKey key) : FOwner(owner), FKey(key) {}

    TPartKey Key() const { return FKey; }

    // QAccessibleInterface
    bool isValid() const override { return FOwner->isValid(); }
    // Where the part's month stands now; -1 once it left the view (or the generation changed).
    int Block() const { return FKey.Generation == FOwner->Generation() ? FOwner->BlockOf(FKey.Month) : -1; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return FOwner->window(); }
    QAccessibleInterface *parent() const override
    {
        return IsCell() ? FOwner->Part({FKey.Generation, TPart::Month, FKey.Month})
                        : const_cast<TMonthCalendarAccessible *>(FOwner);
    }
    int childCount() const override
    {
        return FKey.Kind == TPart::Month ? (TMonthCalendarLayout::WeekRows + 1) * Columns() : 0;
    }
    QAccessibleInterface *child(int index) const override
    {
        if (FKey.Kind != TPart::Month || index < 0 || index >= childCount())
            return nullptr;
        if (index < Columns())
            return FOwner->Part({FKey.Generation, TPart::Header, FKey.Month, 0, index});
        return cellAt((index - Columns()) / Columns(), (index - Columns()) % Columns());
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *part = dynamic_cast<const TCalendarPartAccessible *>(child);
        if (FKey.Kind != TPart::Month || !part || !part->IsCell() || part->FKey.Month != FKey.Month ||
            part->FKey.Generation != FKey.Generation)
            return -1;
        const TPartKey &k = part->FKey;
        return k.Kind == TPart::Header ? k.Column : Columns() + k.Row * Columns() + k.Column;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int i = 0; i < childCount(); ++i) {
            QAccessibleInterface *c = child(i);
            if (c && !c->state().invisible && c->rect().contains(x, y))
                return c;
        }
        return nullptr;
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return Name();
        if (t == QAccessible::Description && FKey.Kind == TPart::Day && Cell().Kind == TCalendarCellKind::Trailing)
            return FOwner->Texts().OtherMonth;
        return {};
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface && FKey.Kind == TPart::Month)
            return static_cast<QAccessibleTableInterface *>(this);
        if (type == QAccessible::TableCellInterface && (FKey.Kind == TPart::Day || FKey.Kind == TPart::Week))
            return static_cast<QAccessibleTableCellInterface *>(this);
        if (type == QAccessible::ActionInterface && !actionNames().isEmpty())
            return static_cast<QAccessibleActionInterface *>(this);
        return nullptr;
    }

    // QAccessibleTableInterface (a month)
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override
    {
        if (row < 0 || row >= TMonthCalendarLayout::WeekRows || column < 0 || column >= Columns())
            return nullptr;
        const bool week = column < FOwner->WeekColumns();
        return FOwner->Part({FKey.Generation, week ? TPart::Week : TPart::Day, FKey.Month, row, column});
    }
    int selectedCellCount() const override { return static_cast<int>(selectedCells().size()); }
    QList<QAccessibleInterface *> selectedCells() const override
    {
        const auto selected = FOwner->SelectedKey();
        if (selected && selected->Month == FKey.Month && selected->Generation == FKey.Generation)
            return {FOwner->Part(*selected)};
        return {};
    }
    QString columnDescription(int column) const override
    {
        if (column < 0 || column >= Columns())
            return {};
        return FOwner->Part({FKey.Generation, TPart::Header, FKey.Month, 0, column})->text(QAccessible::Name);
    }
    QString rowDescription(int row) const override
    {
        QAccessibleInterface *week = FOwner->WeekColumns() ? cellAt(row, 0) : nullptr;
        return week ? week->text(QAccessible::Name) : QString();
    }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return Columns(); }
    int rowCount() const override { return TMonthCalendarLayout::WeekRows; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

    // QAccessibleTableCellInterface (a day or a week number)
    bool isSelected() const override { return state().selected; }
    QList<QAccessibleInterface *> columnHeaderCells() const override
    {
        return {FOwner->Part({FKey.Generation, TPart::Header, FKey.Month, 0, FKey.Column})};
    }
    // The week cell heads its row, also for itself: readers ask the first cell of a row.
    QList<QAccessibleInterface *> rowHeaderCells() const override
    {
        if (!FOwner->WeekColumns())
            return {};
        return {FOwner->Part({FKey.Generation, TPart::Week, FKey.Month, FKey.Row, 0})};
    }
    int columnIndex() const override { return FKey.Column; }
    int rowIndex() const override { return FKey.Row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

    // QAccessibleActionInterface
    QStringList actionNames() const override
    {
        switch (FKey.Kind) {
        case TPart::Previous:
        case TPart::Next:
        case TPart::Today:
            return {pressAction()};
        case TPart::Day:
            return Cell().Kind == TCalendarCellKind::Blank ? QStringList() : QStringList{pressAction(), setFocusAction()};
        default:
            return {};
        }
    }
    void doAction(const QString &name) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    bool IsCell() const
    {
        return FKey.Kind == TPart::Header || FKey.Kind == TPart::Week || FKey.Kind == TPart::Day;
    }
    int Columns() const { return FOwner->TableColumns(); }
    const TMonthCalendarLayout &Layout() const { return FOwner->Layout(); }
    // A month no longer in view shows nothing.
    TCalendarCell Cell() const
    {
        const int block = Block();
        return block < 0 ? TCalendarCell{} : Layout().Cell(block, FKey.Row, FKey.Column - FOwner->WeekColumns());
    }
    int Week() const
    {
        const int block = Block();
        return block < 0 ? 0 : Layout().WeekNumber(block, FKey.Row);
    }
    QString Name() const;
    QRect LocalRect() const;
    void Select(TDateTime date) const
    {
        TMonthCalendar *calendar = FOwner->Calendar();
        calendar->SetDate(date);
        emit calendar->OnClick();
    }

    const TMonthCalendarAccessible *FOwner;
    TPartKey FKey;
};

QAccessibleInterface *TMonthCalendarAccessible::Part(TPartKey key) const
{
    if (const auto found = FParts.find(key); found != FParts.end())
        return QAccessible::accessibleInterface(found->second);
    auto *part = new TCalendarPartAccessible(this, key);
    FParts[key] = QAccessible::registerAccessibleInterface(part);
    return part;
}

int TMonthCalendarAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *part = dynamic_cast<const TCalendarPartAccessible *>(child);
    if (!part || part->parent() != this || part->Key().Generation != FGeneration)
        return -1;
    switch (part->Key().Kind) {
    case TPart::Previous:
        return 0;
    case TPart::Next:
        return 1;
    case TPart::Month:
        return part->Block() < 0 ? -1 : 2 + part->Block();
    case TPart::Today:
        return Calendar()->ShowToday() ? 2 + Layout().MonthCount() : -1;
    default:
        return -1;
    }
}

std::vector<TPartKey> TMonthCalendarAccessible::ChildKeys(const TView &view, int generation) const
{
    std::vector<TPartKey> keys{{generation, TPart::Previous}, {generation, TPart::Next}};
    for (int block = 0; block < view.Count; ++block)
        keys.push_back({generation, TPart::Month, MonthNumber(view.First) + block});
    if (view.TodayLine)
        keys.push_back({generation, TPart::Today});
    return keys;
}

bool TMonthCalendarAccessible::Shown(const TPartKey &key, const TView &view, int generation) const
{
    if (key.Generation != generation)
        return false;
    switch (key.Kind) {
    case TPart::Previous:
    case TPart::Next:
        return true;
    case TPart::Today:
        return view.TodayLine;
    default:
        return key.Month >= MonthNumber(view.First) && key.Month < MonthNumber(view.First) + view.Count;
    }
}

// Months that stay in view keep their parts; those that leave are announced as gone and those
// that come as new. A part that left stays answerable until the view changes once more (a
// reader still asks the day it spoke last for its table), and the day that had the focus stays
// as long as it is the last focus a reader heard, with its table.
void TMonthCalendarAccessible::ViewChanged(const TView &view)
{
    const TView before = FView;
    const int generationBefore = FGeneration;
    if (!view.SameMeaning(before))
        ++FGeneration;
    FView = view;
    const auto keep = [&](const TPartKey &key) {
        if (Shown(key, before, generationBefore) || Shown(key, view, FGeneration))
            return true;
        return FSelected && key.Generation == FSelected->Generation && key.Month == FSelected->Month &&
               (key == *FSelected || key.Kind == TPart::Month);
    };
    for (auto part = FParts.begin(); part != FParts.end();) {
        if (keep(part->first)) {
            ++part;
        } else {
            QAccessible::deleteAccessibleInterface(part->second);
            part = FParts.erase(part);
        }
    }
    const std::vector<TPartKey> gone = ChildKeys(before, generationBefore);
    const std::vector<TPartKey> come = ChildKeys(view, FGeneration);
    for (const TPartKey &key : gone)
        if (!Shown(key, view, FGeneration) && FParts.count(key))
            Send(key, QAccessible::ObjectDestroyed);
    for (const TPartKey &key : come)
        if (!Shown(key, before, generationBefore))
            Send(key, QAccessible::ObjectCreated);
}

void TMonthCalendarAccessible::Update(bool focusIn)
{
    if (const TView view = CurrentView(); !(view == FView))
        ViewChanged(view);
    const std::optional<TPartKey> selected = SelectedKey();
    const bool moved = selected != FSelected;
    if (moved && FSelected && FParts.count(*FSelected))
        Send(*FSelected, QAccessible::SelectionRemove); // the old day is no longer selected
    FSelected = selected;
    if (selected && (focusIn || (moved && Calendar()->hasFocus())))
        Send(*selected, QAccessible::Focus);
    if (selected && moved)
        Send(*selected, QAccessible::Selection);
    if (const QString value = Value(); value != FValue) {
        QAccessibleTextUpdateEvent event(widget(), 0, std::exchange(FValue, value), value);
        SendEvent(event);
    }
}

QString TCalendarPartAccessible::Name() const
{
    const TMonthCalendarTexts &texts = FOwner->Texts();
    const QLocale locale = FOwner->Calendar()->locale();
    switch (FKey.Kind) {
    case TPart::Previous:
        return texts.Previous;
    case TPart::Next:
        return texts.Next;
    case TPart::Today:
        return FOwner->Calendar()->TodayText();
    case TPart::Month:
        return locale.standaloneMonthName(FKey.Month % 12 + 1, QLocale::LongFormat) + ' ' +
               QString::number(FKey.Month / 12);
    case TPart::Header:
        if (FKey.Column < FOwner->WeekColumns())
            return texts.Week;
        return locale.dayName(Layout().ColumnWeekday(FKey.Column - FOwner->WeekColumns()), QLocale::LongFormat);
    case TPart::Week:
        return Week() > 0 ? texts.Week + ' ' + QString::number(Week()) : QString();
    case TPart::Day: {
        const TCalendarCell cell = Cell();
        if (cell.Kind == TCalendarCellKind::Blank)
            return {};
        QString name = FOwner->LongDate(cell.Date) + ", " + texts.Week + ' ' + QString::number(IsoWeekNumber(cell.Date));
        if (cell.Date == Today())
            name += ", " + texts.Today;
        return name;
    }
    }
    return {};
}

QRect TCalendarPartAccessible::LocalRect() const
{
    const TMonthCalendarLayout &layout = Layout();
    const int weeks = FOwner->WeekColumns();
    const int block = Block();
    if ((IsCell() || FKey.Kind == TPart::Month) && block < 0)
        return {}; // its month left the view
    switch (FKey.Kind) {
    case TPart::Previous:
        return layout.PrevButtonRect();
    case TPart::Next:
        return layout.NextButtonRect();
    case TPart::Today:
        return layout.TodayRect();
    case TPart::Month:
        return layout.BlockRect(block);
    case TPart::Header: {
        const QRect header = layout.HeaderRect(block);
        const QRect column = FKey.Column < weeks ? layout.WeekNumberRect(block, 0)
                                                 : layout.CellRect(block, 0, FKey.Column - weeks);
        return {column.left(), header.top(), column.width(), header.height()};
    }
    case TPart::Week:
        return layout.WeekNumberRect(block, FKey.Row);
    case TPart::Day:
        return layout.CellRect(block, FKey.Row, FKey.Column - weeks);
    }
    return {};
}

QRect TCalendarPartAccessible::rect() const
{
    const QRect local = LocalRect();
    return QRect(FOwner->Calendar()->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::Role TCalendarPartAccessible::role() const
{
    switch (FKey.Kind) {
    case TPart::Month:
        return QAccessible::Table;
    case TPart::Header:
        return QAccessible::ColumnHeader;
    case TPart::Week:
        return QAccessible::RowHeader;
    case TPart::Day:
        return QAccessible::Cell;
    default:
        return QAccessible::Button;
    }
}

QAccessible::State TCalendarPartAccessible::state() const
{
    QAccessible::State state;
    const TMonthCalendar *calendar = FOwner->Calendar();
    state.invisible = !calendar->isVisible();
    state.disabled = !calendar->isEnabled();
    if (FKey.Kind == TPart::Month)
        state.invisible = state.invisible || Block() < 0;
    if (FKey.Kind == TPart::Week)
        state.invisible = state.invisible || Week() == 0;
    if (FKey.Kind == TPart::Day) {
        const TCalendarCell cell = Cell();
        state.invisible = state.invisible || cell.Kind == TCalendarCellKind::Blank;
        state.selectable = state.focusable = cell.Kind != TCalendarCellKind::Blank;
        state.selected = state.selectable && FOwner->SelectedKey() == FKey;
        state.focused = state.selected && calendar->hasFocus();
    }
    return state;
}

void TCalendarPartAccessible::doAction(const QString &name)
{
    if (!actionNames().contains(name))
        return;
    TMonthCalendar *calendar = FOwner->Calendar();
    switch (FKey.Kind) {
    case TPart::Previous:
    case TPart::Next:
        calendar->ScrollView((FKey.Kind == TPart::Previous ? -1 : 1) * Layout().MonthCount());
        break;
    case TPart::Today:
        Select(Today());
        break;
    case TPart::Day:
        if (name == setFocusAction())
            calendar->setFocus(Qt::OtherFocusReason);
        Select(Cell().Date);
        break;
    default:
        break;
    }
}

} // namespace

QAccessibleInterface *NewMonthCalendarAccessible(TMonthCalendar *calendar)
{
    return new TMonthCalendarAccessible(calendar);
}

void MonthCalendarAccessibilityUpdate(TMonthCalendar *calendar, bool focusIn)
{
    if (!QAccessible::isActive() && !eventListener)
        return;
    if (auto *iface = dynamic_cast<TMonthCalendarAccessible *>(QAccessible::queryAccessibleInterface(calendar)))
        iface->Update(focusIn);
}

bool IsMonthCalendarFocus(QAccessibleEvent *event)
{
    if (event->type() != QAccessible::Focus || !qobject_cast<TMonthCalendar *>(event->object()))
        return false;
    QAccessibleInterface *calendar = event->accessibleInterface();
    return calendar && calendar->focusChild();
}

void SetMonthCalendarEventListener(TAccessibleEventListener listener)
{
    eventListener = listener;
}
