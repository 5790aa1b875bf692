#include "SceltaData.h"

#include "Messaggi.h"

#include <QCalendarWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QSignalBlocker>

namespace {

// A date field typed as dd/mm/yyyy. A separator typed right after a day or
// month the field has completed (and moved on from) is the one it already
// stands at, not a jump over the next part; ".", "-" and a blank separate
// as "/" does; Tab leaves the field instead of walking through its parts.
class CampoData : public QDateEdit {
public:
    using QDateEdit::QDateEdit;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        const QString t = e->text();
        const bool separatore = t.size() == 1 && QStringLiteral("/.- ").contains(t.at(0));
        if (separatore) {
            const bool gia = avanzato_;
            avanzato_ = false;
            if (gia) {
                e->accept();
                return;
            }
            // After a part of fewer digits: on to the next part.
            const int prossima = currentSectionIndex() + 1;
            if (prossima < sectionCount())
                setSelectedSection(sectionAt(prossima));
            e->accept();
            return;
        }
        const Section prima = currentSection();
        QDateEdit::keyPressEvent(e);
        avanzato_ = t.size() == 1 && t.at(0).isDigit() && currentSection() != prima;
    }
    void focusInEvent(QFocusEvent* e) override
    {
        avanzato_ = false;
        QDateEdit::focusInEvent(e);
    }
    bool focusNextPrevChild(bool avanti) override { return QWidget::focusNextPrevChild(avanti); }

private:
    bool avanzato_ = false;
};

} // namespace

bool DataAmmessa(const QDate& d)
{
    return d.isValid() && d.year() >= AnnoDataMinimo && d.year() <= AnnoDataMassimo;
}

QDateEdit* CreaSceltaData(const QString& nome, QWidget* genitore)
{
    auto* d = new CampoData(genitore);
    d->setObjectName(nome);
    const QLocale italiano(QLocale::Italian, QLocale::Italy);
    d->setLocale(italiano);
    d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    d->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    d->setCalendarPopup(true);
    if (QCalendarWidget* c = d->calendarWidget()) {
        c->setLocale(italiano);
        c->setFirstDayOfWeek(Qt::Monday);
        c->setGridVisible(true);
    }
    // Typed dates count once the field is left or Enter is pressed; the
    // arrows and the calendar count at once.
    d->setKeyboardTracking(false);
    return d;
}


bool ControllaDataDigitata(QDateEdit* campo, const QDate& memorizzata, QWidget* genitore)
{
    const QDate scelta = campo->date();
    if (DataAmmessa(scelta))
        return true;
    {
        const QSignalBlocker blocco(campo);
        campo->setDate(memorizzata);
    }
    Messaggio(QStringLiteral("La data %1 non è ammessa: l'anno deve essere compreso tra %2 e %3.\n"
                             "Resta la data precedente (%4).")
                  .arg(scelta.toString(QStringLiteral("dd/MM/yyyy")))
                  .arg(AnnoDataMinimo)
                  .arg(AnnoDataMassimo)
                  .arg(memorizzata.toString(QStringLiteral("dd/MM/yyyy"))),
              QMessageBox::Warning, genitore);
    return false;
}
