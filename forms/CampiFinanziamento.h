#pragma once
// The input controls shared by the mortgage, various-operations and
// short-term windows: a text field with the program's focus colours and key
// filters, and a drop-down list that can also show a value it does not offer.
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <optional>

#include "SceltaData.h"

class QWidget;

class CampoFinanziamento : public QLineEdit {
    Q_OBJECT
public:
    enum class Filtro {
        Importo,     // digits, "," and Backspace only
        Descrizione  // everything but " * / : < > ? \ |
    };
    CampoFinanziamento(const QString& nome, Filtro filtro, QWidget* genitore);

    // True when a typed character passes the field's filter.
    static bool CarattereAmmesso(Filtro filtro, QChar c);
    // Why a text is not an amount written the Italian way, to follow
    // "L'importo «…»" in a message; empty when it is one: digits, "." only
    // between groups of three digits of the integer part (all of them or
    // none), at most one "," and two decimals after it, an optional leading
    // "-", blanks around it. The empty text is 0.
    static QString DifettoImporto(const QString& testo);
    // True when a text pasted into an amount field stands for a positive
    // Italian amount (blanks and "€" aside), by the rule above.
    static bool ImportoIncollabile(const QString& testo);

    static QColor ColoreFuoco() { return QColor(255, 192, 128); }
    static QColor ColoreNormale() { return QColor(255, 255, 255); }

signals:
    // The edit is complete: the user has left the field or pressed Enter.
    void Uscita();

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    // A click selects the whole text when the field takes the focus, and,
    // in an amount field, when it lands beside the amount rather than on
    // it: what is typed then replaces the amount instead of joining it.
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void colora(const QColor& c);
    void selezionaTutto();
    Filtro filtro_;
    bool selezionaAlRilascio_ = false;
};

// The amount the user typed into an amount field, read when the field is left
// or confirmed: the field then shows it formatted and the amount shown is
// returned. A text that is no Italian amount (DifettoImporto: "30002.000,00",
// "1,23456"), or one too large, is refused with a message that quotes only
// its start; the field shows the stored amount `memorizzato` again and
// nothing is returned.
std::optional<double> LeggiCampoImporto(CampoFinanziamento* campo, double memorizzato,
                                        QWidget* finestra);

// A drop-down list whose items are the only choices, but whose text can also
// show a stored value that is not among them (a count above 360, a year
// outside the list) without changing it. currentText() is what it shows.
// A click on the text opens it; typing picks an item as in every list of the
// program (AbilitaRicercaDigitata).
class ElencoFinanziamento : public QComboBox {
    Q_OBJECT
public:
    ElencoFinanziamento(const QString& nome, QWidget* genitore);

    // Fills the list, replacing what it held.
    void Riempi(const QStringList& voci);
    // Selects the item with this text, or shows the text with no item selected.
    void ImpostaTesto(const QString& testo);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
};


// A fixed caption or a result label.
QLabel* CreaEtichetta(const QString& nome, const QString& testo, QWidget* genitore,
                      bool risultato = false);

// The note beside the amounts of a period before 2002 (objectName
// "AvvisoLire"): the amounts are typed in euro, while the class of amount of
// that period's thresholds is in lire. MostraAvvisoLire shows it for a year
// before 2002 and hides it from 2002 on.
inline const QString TestoAvvisoLire =
    QStringLiteral("Importi in euro; classi delle soglie in lire (1 \u20AC = 1.936,27 lire)");
QLabel* CreaAvvisoLire(QWidget* genitore);
void MostraAvvisoLire(QLabel* avviso, int anno);

class QFrame;

// Gives a window of the three financing kinds its design size, its title band
// XPButton1 and its frame XPFrame4 (with the frame's layout tag), and returns
// the frame, which holds every input control.
QFrame* PreparaFinestraFinanziamento(QWidget* finestra, const QString& titolo);

// Places a control inside its frame at a design rectangle in twips.
void Colloca(QWidget* w, int sinistra, int alto, int larghezza, int altezza);
