#pragma once
// The date field every window uses: a calendar, dd/mm/yyyy in Italian, typed
// with or without separators, and the check of a typed year.
#include <QDate>
#include <QDateEdit>

class QWidget;

// A date field with a calendar, written day/month/year in Italian: typed as
// dd/mm/yyyy with or without separators; Tab leaves it.
QDateEdit* CreaSceltaData(const QString& nome, QWidget* genitore);

// The plausible years of a typed date; dates outside them are refused.
inline constexpr int AnnoDataMinimo = 1990;
inline constexpr int AnnoDataMassimo = 2100;
bool DataAmmessa(const QDate& d);

// True when the date the field shows is admitted. Otherwise the field shows
// memorizzata again (without signalling a change), the user is told why, and
// the result is false.
bool ControllaDataDigitata(QDateEdit* campo, const QDate& memorizzata, QWidget* genitore);
