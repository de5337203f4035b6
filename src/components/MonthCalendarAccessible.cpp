#include "components/MonthCalendarAccessible.h"

#include "components/MonthCalendar.h"

#include <QAccessibleWidget>
#include <QDate>
#include <map>

namespace {

enum class TPart { Previous, Next, Today, Month, Header, Week, Day };

// A part of the calendar by its place; a table column counts the week column first when shown.
struct TPartKey {
    TPart Kind = TPart::Month;
    int Block = 0;
    int Row = 0;
    int Column = 0;
    auto operator<=>(const TPartKey &) const = default;
};

QDate ToQDate(TDateTime date)
{
    const TDateParts parts = SplitDate(date);
    return QDate(parts.Year, parts.Month, parts.Day);
}

TAccessibleEventListener eventListener = nullptr;

void Send(QAccessibleEvent &event)
{
    QAccessible::updateAccessibility(&event);
    if (eventListener)
        eventListener(&event);
}

class TMonthCalendarAccessible final : public QAccessibleWidget {
public:
    explicit TMonthCalendarAccessible(TMonthCalendar *calendar)
        : QAccessibleWidget(calendar, QAccessible::Grouping), mView(CurrentView()), mDate(calendar->Date())
    {
    }
    ~TMonthCalendarAccessible() override { DropParts(); }

    TMonthCalendar *Calendar() const { return static_cast<TMonthCalendar *>(widget()); }
    const TMonthCalendarLayout &Layout() const { return Calendar()->Layout(); }
    const TMonthCalendarTexts &Texts() const { return Calendar()->AccessibleTexts(); }
    int WeekColumns() const { return Calendar()->WeekNumbers() ? 1 : 0; }
    int TableColumns() const { return TMonthCalendarLayout::DaysPerWeek + WeekColumns(); }

    QString LongDate(TDateTime date) const
    {
        return Calendar()->locale().toString(ToQDate(date), QLocale::LongFormat);
    }

    // The part at a place, made when first asked for and kept until the months shown change.
    QAccessibleInterface *Part(TPartKey key) const;
    QAccessibleInterface *SelectedCell() const
    {
        const auto pos = Layout().FindDate(Calendar()->Date());
        return pos ? Part({TPart::Day, pos->Block, pos->Row, pos->Column + WeekColumns()}) : nullptr;
    }

    void Update(bool focusIn);

    // QAccessibleInterface
    int childCount() const override { return 2 + Layout().MonthCount() + (Calendar()->ShowToday() ? 1 : 0); }
    QAccessibleInterface *child(int index) const override
    {
        const int months = Layout().MonthCount();
        if (index == 0)
            return Part({TPart::Previous});
        if (index == 1)
            return Part({TPart::Next});
        if (index >= 2 && index < 2 + months)
            return Part({TPart::Month, index - 2});
        return index == 2 + months && Calendar()->ShowToday() ? Part({TPart::Today}) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override { return QAccessibleObject::childAt(x, y); }
    QAccessibleInterface *focusChild() const override { return Calendar()->hasFocus() ? SelectedCell() : nullptr; }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return Calendar()->accessibleName().isEmpty() ? QStringLiteral("Month calendar")
                                                          : Calendar()->accessibleName();
        if (t == QAccessible::Value)
            return LongDate(Calendar()->Date());
        return QAccessibleWidget::text(t);
    }

private:
    // What decides the parts and their names.
    struct TView {
        TYearMonth First;
        int Count = 0;
        bool Weeks = false;
        bool TodayLine = false;
        QLocale Locale;
        TMonthCalendarTexts Texts;
        QString Name;
        bool operator==(const TView &) const = default;
    };
    TView CurrentView() const
    {
        const TMonthCalendar *c = Calendar();
        return {c->FirstVisibleMonth(), c->VisibleMonthCount(), c->WeekNumbers(), c->ShowToday(), c->locale(),
                c->AccessibleTexts(), c->accessibleName()};
    }
    void DropParts()
    {
        for (const auto &[key, id] : mParts)
            QAccessible::deleteAccessibleInterface(id);
        mParts.clear();
    }

    mutable std::map<TPartKey, QAccessible::Id> mParts;
    TView mView;
    TDateTime mDate;
};

// One class serves every part: the kind decides its role, texts and which interfaces it offers.
class TCalendarPartAccessible final : public QAccessibleInterface,
                                      public QAccessibleTableInterface,
                                      public QAccessibleTableCellInterface,
                                      public QAccessibleActionInterface {
public:
    TCalendarPartAccessible(const TMonthCalendarAccessible *owner, TPartKey key) : mOwner(owner), mKey(key) {}

    TPartKey Key() const { return mKey; }

    // QAccessibleInterface
    bool isValid() const override { return mOwner->isValid(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return mOwner->window(); }
    QAccessibleInterface *parent() const override
    {
        return IsCell() ? mOwner->Part({TPart::Month, mKey.Block})
                        : const_cast<TMonthCalendarAccessible *>(mOwner);
    }
    int childCount() const override
    {
        return mKey.Kind == TPart::Month ? (TMonthCalendarLayout::WeekRows + 1) * Columns() : 0;
    }
    QAccessibleInterface *child(int index) const override
    {
        if (mKey.Kind != TPart::Month || index < 0 || index >= childCount())
            return nullptr;
        if (index < Columns())
            return mOwner->Part({TPart::Header, mKey.Block, 0, index});
        return cellAt((index - Columns()) / Columns(), (index - Columns()) % Columns());
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *part = dynamic_cast<const TCalendarPartAccessible *>(child);
        if (mKey.Kind != TPart::Month || !part || !part->IsCell() || part->mKey.Block != mKey.Block)
            return -1;
        const TPartKey &k = part->mKey;
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
        if (t == QAccessible::Description && mKey.Kind == TPart::Day && Cell().Kind == TCalendarCellKind::Trailing)
            return mOwner->Texts().OtherMonth;
        return {};
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface && mKey.Kind == TPart::Month)
            return static_cast<QAccessibleTableInterface *>(this);
        if (type == QAccessible::TableCellInterface && (mKey.Kind == TPart::Day || mKey.Kind == TPart::Week))
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
        const bool week = column < mOwner->WeekColumns();
        return mOwner->Part({week ? TPart::Week : TPart::Day, mKey.Block, row, column});
    }
    int selectedCellCount() const override { return static_cast<int>(selectedCells().size()); }
    QList<QAccessibleInterface *> selectedCells() const override
    {
        QAccessibleInterface *cell = mOwner->SelectedCell();
        if (const auto *part = dynamic_cast<const TCalendarPartAccessible *>(cell); part && part->mKey.Block == mKey.Block)
            return {cell};
        return {};
    }
    QString columnDescription(int column) const override
    {
        if (column < 0 || column >= Columns())
            return {};
        return mOwner->Part({TPart::Header, mKey.Block, 0, column})->text(QAccessible::Name);
    }
    QString rowDescription(int row) const override
    {
        QAccessibleInterface *week = mOwner->WeekColumns() ? cellAt(row, 0) : nullptr;
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
        return {mOwner->Part({TPart::Header, mKey.Block, 0, mKey.Column})};
    }
    QList<QAccessibleInterface *> rowHeaderCells() const override
    {
        if (mKey.Kind != TPart::Day || !mOwner->WeekColumns())
            return {};
        return {mOwner->Part({TPart::Week, mKey.Block, mKey.Row, 0})};
    }
    int columnIndex() const override { return mKey.Column; }
    int rowIndex() const override { return mKey.Row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

    // QAccessibleActionInterface
    QStringList actionNames() const override
    {
        switch (mKey.Kind) {
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
        return mKey.Kind == TPart::Header || mKey.Kind == TPart::Week || mKey.Kind == TPart::Day;
    }
    int Columns() const { return mOwner->TableColumns(); }
    const TMonthCalendarLayout &Layout() const { return mOwner->Layout(); }
    TCalendarCell Cell() const
    {
        return Layout().Cell(mKey.Block, mKey.Row, mKey.Column - mOwner->WeekColumns());
    }
    int Week() const { return Layout().WeekNumber(mKey.Block, mKey.Row); }
    QString Name() const;
    QRect LocalRect() const;
    void Select(TDateTime date) const
    {
        TMonthCalendar *calendar = mOwner->Calendar();
        calendar->SetDate(date);
        emit calendar->OnClick();
    }

    const TMonthCalendarAccessible *mOwner;
    TPartKey mKey;
};

QAccessibleInterface *TMonthCalendarAccessible::Part(TPartKey key) const
{
    if (const auto found = mParts.find(key); found != mParts.end())
        return QAccessible::accessibleInterface(found->second);
    auto *part = new TCalendarPartAccessible(this, key);
    mParts[key] = QAccessible::registerAccessibleInterface(part);
    return part;
}

int TMonthCalendarAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *part = dynamic_cast<const TCalendarPartAccessible *>(child);
    if (!part || part->parent() != this)
        return -1;
    switch (part->Key().Kind) {
    case TPart::Previous:
        return 0;
    case TPart::Next:
        return 1;
    case TPart::Month:
        return 2 + part->Key().Block;
    case TPart::Today:
        return 2 + Layout().MonthCount();
    default:
        return -1;
    }
}

void TMonthCalendarAccessible::Update(bool focusIn)
{
    const TView view = CurrentView();
    const bool viewChanged = !(view == mView);
    if (viewChanged) {
        mView = view;
        DropParts();
        QAccessibleEvent reorder(widget(), QAccessible::ObjectReorder);
        Send(reorder);
    }
    const TDateTime date = Calendar()->Date();
    const bool dateChanged = date != mDate;
    mDate = date;
    QAccessibleInterface *cell = SelectedCell();
    if (cell && (focusIn || ((dateChanged || viewChanged) && Calendar()->hasFocus()))) {
        QAccessibleEvent focus(cell, QAccessible::Focus);
        Send(focus);
    }
    if (!dateChanged)
        return;
    if (cell) {
        QAccessibleEvent selection(cell, QAccessible::Selection);
        Send(selection);
    }
    QAccessibleValueChangeEvent value(widget(), text(QAccessible::Value));
    Send(value);
}

QString TCalendarPartAccessible::Name() const
{
    const TMonthCalendarTexts &texts = mOwner->Texts();
    const QLocale locale = mOwner->Calendar()->locale();
    switch (mKey.Kind) {
    case TPart::Previous:
        return texts.Previous;
    case TPart::Next:
        return texts.Next;
    case TPart::Today:
        return mOwner->Calendar()->TodayText();
    case TPart::Month: {
        const TYearMonth month = Layout().BlockMonth(mKey.Block);
        return locale.standaloneMonthName(month.Month, QLocale::LongFormat) + ' ' + QString::number(month.Year);
    }
    case TPart::Header:
        if (mKey.Column < mOwner->WeekColumns())
            return texts.Week;
        return locale.dayName(Layout().ColumnWeekday(mKey.Column - mOwner->WeekColumns()), QLocale::LongFormat);
    case TPart::Week:
        return Week() > 0 ? texts.Week + ' ' + QString::number(Week()) : QString();
    case TPart::Day: {
        const TCalendarCell cell = Cell();
        if (cell.Kind == TCalendarCellKind::Blank)
            return {};
        QString name = mOwner->LongDate(cell.Date) + ", " + texts.Week + ' ' + QString::number(IsoWeekNumber(cell.Date));
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
    const int weeks = mOwner->WeekColumns();
    switch (mKey.Kind) {
    case TPart::Previous:
        return layout.PrevButtonRect();
    case TPart::Next:
        return layout.NextButtonRect();
    case TPart::Today:
        return layout.TodayRect();
    case TPart::Month:
        return layout.BlockRect(mKey.Block);
    case TPart::Header: {
        const QRect header = layout.HeaderRect(mKey.Block);
        const QRect column = mKey.Column < weeks ? layout.WeekNumberRect(mKey.Block, 0)
                                                 : layout.CellRect(mKey.Block, 0, mKey.Column - weeks);
        return {column.left(), header.top(), column.width(), header.height()};
    }
    case TPart::Week:
        return layout.WeekNumberRect(mKey.Block, mKey.Row);
    case TPart::Day:
        return layout.CellRect(mKey.Block, mKey.Row, mKey.Column - weeks);
    }
    return {};
}

QRect TCalendarPartAccessible::rect() const
{
    const QRect local = LocalRect();
    return QRect(mOwner->Calendar()->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::Role TCalendarPartAccessible::role() const
{
    switch (mKey.Kind) {
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
    const TMonthCalendar *calendar = mOwner->Calendar();
    state.invisible = !calendar->isVisible();
    state.disabled = !calendar->isEnabled();
    if (mKey.Kind == TPart::Week)
        state.invisible = state.invisible || Week() == 0;
    if (mKey.Kind == TPart::Day) {
        const TCalendarCell cell = Cell();
        state.invisible = state.invisible || cell.Kind == TCalendarCellKind::Blank;
        state.selectable = state.focusable = cell.Kind != TCalendarCellKind::Blank;
        state.selected = state.selectable && cell.Date == calendar->Date();
        state.focused = state.selected && calendar->hasFocus();
    }
    return state;
}

void TCalendarPartAccessible::doAction(const QString &name)
{
    if (!actionNames().contains(name))
        return;
    TMonthCalendar *calendar = mOwner->Calendar();
    switch (mKey.Kind) {
    case TPart::Previous:
    case TPart::Next:
        calendar->ScrollView((mKey.Kind == TPart::Previous ? -1 : 1) * Layout().MonthCount());
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

void SetMonthCalendarEventListener(TAccessibleEventListener listener)
{
    eventListener = listener;
}
