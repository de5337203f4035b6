#pragma once
// A look into the month calendar's accessibility (declared with the calendar, in MonthCalendar.h)
// for tests.

class QAccessibleEvent;

// Also hands every event of the calendar to a listener, whether or not assistive technology is
// active: tests listen where the platform has no accessibility (offscreen). Null stops it.
using TAccessibleEventListener = void (*)(QAccessibleEvent *event);
void SetMonthCalendarEventListener(TAccessibleEventListener listener);
