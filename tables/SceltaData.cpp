#include "SceltaData.h"

#include "Messaggi.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QSignalBlocker>

namespace {

const QString FormatoData = QStringLiteral("dd/MM/yyyy");

// A date field whose typing makes a whole date. The first digit or separator
// typed, wherever the cursor stands and whatever is selected, starts a new
// date: the field shows what is typed, Backspace takes back the last
// character, Esc gives up. Leaving the field, Enter or a click takes the date
// typed in full (LeggiDataDigitata); anything else is refused with a message
// and the field shows its date again. The arrows and the calendar change the
// date at once, as in any date field; Tab leaves the field instead of walking
// through its parts.
class CampoData : public QDateEdit {
public:
    explicit CampoData(QWidget* genitore) : QDateEdit(genitore) { lineEdit()->installEventFilter(this); }

    // Takes what is being typed, as leaving the field does. False when it was
    // refused (the user has been told).
    bool Conferma()
    {
        if (!inDigitazione_)
            return true;
        inDigitazione_ = false;
        const QString testo = digitato_;
        digitato_.clear();
        if (testo.trimmed().isEmpty()) {
            mostraData();
            return true;
        }
        QString motivo;
        const std::optional<QDate> data = LeggiDataDigitata(testo, &motivo);
        if (data && (*data < minimumDate() || *data > maximumDate()))
            motivo = QStringLiteral("è fuori dal calendario");
        else if (data) {
            mostraData();
            setDate(*data);
            return true;
        }
        mostraData();
        Messaggio(QStringLiteral("La data \u00ab%1\u00bb %2.\nResta la data precedente (%3).")
                      .arg(Citazione(testo.trimmed()), motivo, date().toString(FormatoData)),
                  QMessageBox::Warning, window());
        return false;
    }

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->matches(QKeySequence::Paste)) {
            inizia();
            digitato_ = QApplication::clipboard()->text().simplified();
            mostra();
            e->accept();
            return;
        }
        const QString t = e->text();
        const auto m = e->modifiers();
        const bool scorciatoia =
            m.testFlag(Qt::MetaModifier) || (m.testFlag(Qt::ControlModifier) && !m.testFlag(Qt::AltModifier));
        if (!scorciatoia && t.size() == 1 && (t.at(0).isDigit() || QStringLiteral("/.- ").contains(t.at(0)))) {
            inizia();
            digitato_ += t;
            mostra();
            e->accept();
            return;
        }
        if (inDigitazione_) {
            switch (e->key()) {
            case Qt::Key_Backspace:
                digitato_.chop(1);
                mostra();
                break;
            case Qt::Key_Escape:
                inDigitazione_ = false;
                digitato_.clear();
                mostraData();
                break;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                if (Conferma())
                    QDateEdit::keyPressEvent(e);
                return;
            default:
                break;  // nothing else edits the date being typed
            }
            e->accept();
            return;
        }
        QDateEdit::keyPressEvent(e);
    }
    void focusInEvent(QFocusEvent* e) override
    {
        inDigitazione_ = false;
        digitato_.clear();
        QDateEdit::focusInEvent(e);
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        // A context menu or another window coming to the front is no leaving:
        // the typing goes on when the field has the keyboard again.
        const bool apparente = e->reason() == Qt::PopupFocusReason || e->reason() == Qt::ActiveWindowFocusReason;
        if (inDigitazione_ && apparente) {
            QCoreApplication::sendEvent(lineEdit(), e);
            QWidget::focusOutEvent(e);
            return;
        }
        Conferma();
        QDateEdit::focusOutEvent(e);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        // The calendar's button: what was typed counts first.
        if (inDigitazione_ && !Conferma())
            return;
        QDateEdit::mousePressEvent(e);
    }
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (o == lineEdit() && inDigitazione_ &&
            (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick) && !Conferma())
            return true;
        return QDateEdit::eventFilter(o, e);
    }
    bool focusNextPrevChild(bool avanti) override { return QWidget::focusNextPrevChild(avanti); }

private:
    void inizia()
    {
        if (!inDigitazione_)
            digitato_.clear();
        inDigitazione_ = true;
    }
    // The typed text, shown as it is: the spin box does not read it back
    // until it is taken.
    void mostra()
    {
        QLineEdit* l = lineEdit();
        const QSignalBlocker blocco(l);
        l->setText(digitato_);
        l->setCursorPosition(static_cast<int>(digitato_.size()));
        l->update();
    }
    // The field's own date shown again, without signalling a change.
    void mostraData()
    {
        const QSignalBlocker blocco(this);
        setDate(date());
        QLineEdit* l = lineEdit();
        const QSignalBlocker bloccoTesto(l);
        l->setText(date().toString(FormatoData));
    }

    bool inDigitazione_ = false;
    QString digitato_;
};

} // namespace

std::optional<QDate> LeggiDataDigitata(const QString& testo, QString* motivo)
{
    const QString t = testo.trimmed();
    static const QRegularExpression conSeparatori(QStringLiteral("^(\\d{1,2})[/.\\- ](\\d{1,2})[/.\\- ](\\d{4})$"));
    static const QRegularExpression soloCifre(QStringLiteral("^(\\d{2})(\\d{2})(\\d{4})$"));
    QRegularExpressionMatch m = conSeparatori.match(t);
    if (!m.hasMatch())
        m = soloCifre.match(t);
    if (!m.hasMatch()) {
        if (motivo)
            *motivo = QStringLiteral("non è una data completa: va scritta per intero, con l'anno di quattro "
                                     "cifre (per esempio 20/05/2024 o 20052024)");
        return std::nullopt;
    }
    const QDate d(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    if (!d.isValid()) {
        if (motivo)
            *motivo = QStringLiteral("non esiste nel calendario");
        return std::nullopt;
    }
    return d;
}

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
    d->setDisplayFormat(FormatoData);
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

bool ConfermaDataInCorso(QWidget* finestra)
{
    QWidget* f = QApplication::focusWidget();
    for (QWidget* w = f; w; w = w->parentWidget()) {
        if (auto* campo = dynamic_cast<CampoData*>(w))
            return !(campo == finestra || finestra->isAncestorOf(campo)) || campo->Conferma();
        if (w == finestra)
            break;
    }
    return true;
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
                  .arg(scelta.toString(FormatoData))
                  .arg(AnnoDataMinimo)
                  .arg(AnnoDataMassimo)
                  .arg(memorizzata.toString(FormatoData)),
              QMessageBox::Warning, genitore);
    return false;
}
