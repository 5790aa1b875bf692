#pragma once
// The date field every window uses: a calendar, dd/mm/yyyy in Italian, typed
// with or without separators, and the check of a typed year.
#include <QDate>
#include <QDateEdit>
#include <optional>

class QWidget;

// A date field with a calendar, written day/month/year in Italian. Typing
// makes a whole new date, however the field was reached (a click anywhere in
// it, Tab) and whatever is selected: dd/mm/yyyy (day and month of one or two
// digits; "/", ".", "-" or a blank between them) or ddmmyyyy, taken when the
// field is left, Enter is pressed or the field is clicked again. A text that
// is not such a date is refused with a message and the field keeps its date.
// The arrows and the calendar change the date at once; Tab leaves the field.
QDateEdit* CreaSceltaData(const QString& nome, QWidget* genitore);

// The date a typed text stands for, as the date field reads it; empty, with
// the reason in Italian (to follow "La data «…»"), when it is not a whole
// date of the calendar.
std::optional<QDate> LeggiDataDigitata(const QString& testo, QString* motivo = nullptr);

// Takes the date being typed in the date field that has the keyboard, when
// that field is in `finestra`, as leaving it would (a command about to read
// the window). False when it was refused.
bool ConfermaDataInCorso(QWidget* finestra);

// The plausible years of a typed date; dates outside them are refused.
inline constexpr int AnnoDataMinimo = 1990;
inline constexpr int AnnoDataMassimo = 2100;
bool DataAmmessa(const QDate& d);

// True when the date the field shows is admitted. Otherwise the field shows
// memorizzata again (without signalling a change), the user is told why, and
// the result is false.
bool ControllaDataDigitata(QDateEdit* campo, const QDate& memorizzata, QWidget* genitore);
