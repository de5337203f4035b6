#pragma once
// What assistive technology reads of the month calendar: each shown month as a table of weeks
// and weekdays with header cells, every day by its full date and ISO week, the arrows and the
// today line as buttons; and the events that let a screen reader speak a newly selected day.

class QAccessibleEvent;
class QAccessibleInterface;
class TMonthCalendar;

QAccessibleInterface *NewMonthCalendarAccessible(TMonthCalendar *calendar);

// Tells assistive technology what changed since it last looked: the months shown (those that
// come and go; those that stay keep their parts) or the selected day (focus, selection and
// value). With `focusIn` the selected day is announced as the focus. Costs nothing while no
// assistive technology listens.
void MonthCalendarAccessibilityUpdate(TMonthCalendar *calendar, bool focusIn = false);

// Qt's focus announcement of a calendar widget that announces its selected day instead: dropped,
// so a reader hears one focus on entering the calendar, not the day and then the calendar.
bool IsMonthCalendarFocus(QAccessibleEvent *event);

// Also hands every event of the calendar to a listener, whether or not assistive technology is
// active: tests listen where the platform has no accessibility (offscreen). Null stops it.
using TAccessibleEventListener = void (*)(QAccessibleEvent *event);
void SetMonthCalendarEventListener(TAccessibleEventListener listener);
