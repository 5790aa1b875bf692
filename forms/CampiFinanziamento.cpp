#include "CampiFinanziamento.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>

#include "FinestraFiglia.h"
#include "Funzioni.h"
#include "Messaggi.h"
#include "PagineFinanziamenti.h"
#include "RicercaElenco.h"
#include "Twips.h"

#include <stdexcept>

namespace {
// The longest selection a field makes when it takes the focus.
constexpr int selezioneMassima = 1000;

// Focus moves that are not the user leaving the field: a context menu or
// another application (or a message box) coming to the front.
bool UscitaSoloApparente(Qt::FocusReason r)
{
    return r == Qt::PopupFocusReason || r == Qt::ActiveWindowFocusReason;
}
} // namespace

CampoFinanziamento::CampoFinanziamento(const QString& nome, Filtro filtro, QWidget* genitore)
    : QLineEdit(genitore), filtro_(filtro)
{
    setObjectName(nome);
    colora(ColoreNormale());
    if (filtro == Filtro::Importo)
        setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

bool CampoFinanziamento::CarattereAmmesso(Filtro filtro, QChar c)
{
    if (c == QLatin1Char('\b'))
        return true;
    if (filtro == Filtro::Importo)
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char(',');
    static const QString vietati = QStringLiteral("\"*/:<>?\\|");
    return !vietati.contains(c);
}

QString CampoFinanziamento::DifettoImporto(const QString& testo)
{
    const QString t = testo.trimmed();
    qsizetype i = t.startsWith(QLatin1Char('-')) ? 1 : 0;
    // The integer part: digits, in groups of three after the first when
    // there are dots.
    qsizetype gruppo = 0;
    bool punti = false, cifre = false;
    for (; i < t.size() && t[i] != QLatin1Char(','); ++i) {
        if (t[i].isDigit() && t[i].unicode() < 128) {
            ++gruppo;
            cifre = true;
        } else if (t[i] == QLatin1Char('.')) {
            if (gruppo == 0 || gruppo > 3 || (punti && gruppo != 3))
                return QStringLiteral("ha punti fuori posto (il punto separa le migliaia: 1.234.567,89)");
            punti = true;
            gruppo = 0;
        } else {
            return QStringLiteral("contiene caratteri che non sono cifre");
        }
    }
    if (punti && gruppo != 3)
        return QStringLiteral("ha punti fuori posto (il punto separa le migliaia: 1.234.567,89)");
    if (i < t.size()) {
        const QString decimali = t.mid(i + 1);
        if (decimali.contains(QLatin1Char(',')))
            return QStringLiteral("ha più di una virgola");
        for (QChar c : decimali)
            if (!c.isDigit() || c.unicode() >= 128)
                return QStringLiteral("ha dopo la virgola caratteri che non sono cifre");
        if (decimali.size() > 2)
            return QStringLiteral("ha più di due decimali");
        cifre = cifre || !decimali.isEmpty();
    }
    if (!cifre && !t.isEmpty())
        return QStringLiteral("non contiene cifre");
    return {};
}

bool CampoFinanziamento::ImportoIncollabile(const QString& testo)
{
    QString t = testo;
    t.remove(QChar(0x20AC));
    t.removeIf([](QChar c) { return c.isSpace(); });
    if (t.startsWith(QLatin1Char('-')) || !DifettoImporto(t).isEmpty())
        return false;
    try {
        LeggiNumeroItaliano(t.toStdString());
    } catch (const std::invalid_argument&) {
        return false;
    } catch (const std::exception&) {
        // Too large: taken, and refused with the reason when the field is left.
    }
    return true;
}

void CampoFinanziamento::colora(const QColor& c)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, c);
    setPalette(p);
}

void CampoFinanziamento::selezionaTutto()
{
    setSelection(0, std::min<int>(static_cast<int>(text().size()), selezioneMassima));
}

void CampoFinanziamento::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    colora(ColoreFuoco());
    if (e->reason() == Qt::PopupFocusReason)
        return;  // back from the context menu: keep the user's selection
    selezionaTutto();
    // A click places the cursor after the focus arrives; select again once
    // the button is released, unless the user dragged a selection of his own.
    selezionaAlRilascio_ = e->reason() == Qt::MouseFocusReason;
}

void CampoFinanziamento::mouseReleaseEvent(QMouseEvent* e)
{
    QLineEdit::mouseReleaseEvent(e);
    const bool primo = selezionaAlRilascio_;
    selezionaAlRilascio_ = false;
    if (hasSelectedText())
        return;  // a selection the user dragged
    // Beside a right-aligned amount the cursor would go before its first
    // digit, where typing makes "30002.000,00" of "2.000,00".
    const bool accanto = filtro_ == Filtro::Importo && e->button() == Qt::LeftButton && !text().isEmpty() &&
                         cursorPosition() == 0 && e->position().x() < cursorRect().center().x();
    if (primo || accanto)
        selezionaTutto();
}

void CampoFinanziamento::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    if (UscitaSoloApparente(e->reason()))
        return;
    selezionaAlRilascio_ = false;
    colora(ColoreNormale());
    emit Uscita();
}

void CampoFinanziamento::keyPressEvent(QKeyEvent* e)
{
    if (e->matches(QKeySequence::Paste)) {
        // Pasted text goes through the same filter as typed text. Into an
        // amount, a text that is no positive Italian amount once blanks and
        // "€" are left out (words, exponents, "1,234.56", a sign) is refused,
        // not read as the digits it holds.
        const QString appunti = QApplication::clipboard()->text();
        if (filtro_ == Filtro::Importo && !ImportoIncollabile(appunti)) {
            Messaggio(QStringLiteral("Il testo incollato \u00ab%1\u00bb non è un importo e non è stato "
                                     "inserito.")
                          .arg(Citazione(appunti.simplified())),
                      QMessageBox::Warning, window());
            return;
        }
        QString incollato;
        for (QChar c : appunti)
            if (c != QLatin1Char('\b') && c.isPrint() && CarattereAmmesso(filtro_, c))
                incollato += c;
        if (!isReadOnly())
            insert(incollato);
        return;
    }
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        // Enter confirms the edit as leaving the field does, and stays.
        emit Uscita();
        selezionaTutto();
        e->accept();
        return;
    }
    // Shortcuts (Ctrl+A, Ctrl+C, ...) are no typing; Ctrl together with Alt
    // is AltGr on some keyboards and does type.
    const auto m = e->modifiers();
    const bool scorciatoia =
        m.testFlag(Qt::MetaModifier) || (m.testFlag(Qt::ControlModifier) && !m.testFlag(Qt::AltModifier));
    const QString t = e->text();
    if (!scorciatoia && t.size() == 1 && t.at(0).isPrint() && !CarattereAmmesso(filtro_, t.at(0))) {
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

std::optional<double> LeggiCampoImporto(CampoFinanziamento* campo, double memorizzato,
                                        QWidget* finestra)
{
    const QString testo = campo->text();
    QString motivo = CampoFinanziamento::DifettoImporto(testo);
    if (motivo.isEmpty()) {
        try {
            const QString mostrato = TestoImporto(LeggiNumeroItaliano(testo.toStdString()));
            campo->setText(mostrato);
            return LeggiImporto(mostrato);
        } catch (const std::invalid_argument& e) {
            motivo = QStringLiteral("non è un importo (%1)").arg(QString::fromUtf8(e.what()));
        } catch (const std::exception&) {
            motivo = QStringLiteral("è troppo grande");
        }
    }
    QString precedente;
    try {
        precedente = TestoImporto(memorizzato);
    } catch (const std::exception&) {
        // A stored amount that cannot be written leaves the field empty.
    }
    campo->setText(precedente);
    Messaggio(QStringLiteral("L'importo \"%1\" %2.\nResta l'importo precedente%3.")
                  .arg(Citazione(testo), motivo,
                       precedente.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(precedente)),
              QMessageBox::Warning, finestra);
    return std::nullopt;
}

ElencoFinanziamento::ElencoFinanziamento(const QString& nome, QWidget* genitore)
    : QComboBox(genitore)
{
    setObjectName(nome);
    setEditable(true);
    lineEdit()->setReadOnly(true);
    lineEdit()->installEventFilter(this);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMaxVisibleItems(16);
    AbilitaRicercaDigitata(this);
}

void ElencoFinanziamento::Riempi(const QStringList& voci)
{
    clear();
    addItems(voci);
}

void ElencoFinanziamento::ImpostaTesto(const QString& testo)
{
    const int i = testo.isEmpty() ? -1 : findText(testo, Qt::MatchExactly);
    setCurrentIndex(i);
    if (i < 0)
        setEditText(testo);
}

bool ElencoFinanziamento::eventFilter(QObject* o, QEvent* e)
{
    // The text part is not typed into: a click on it opens the list. It
    // opens on the release, so that no release is left to close it again.
    if (o == lineEdit() && isEnabled()) {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            setFocus(Qt::MouseFocusReason);
            return true;
        case QEvent::MouseButtonRelease: {
            const auto* m = static_cast<QMouseEvent*>(e);
            if (m->button() == Qt::LeftButton && lineEdit()->rect().contains(m->position().toPoint())
                && !view()->isVisible())
                showPopup();
            return true;
        }
        default:
            break;
        }
    }
    return QComboBox::eventFilter(o, e);
}

QLabel* CreaAvvisoLire(QWidget* genitore)
{
    QLabel* l = CreaEtichetta(QStringLiteral("AvvisoLire"), TestoAvvisoLire, genitore);
    l->setToolTip(QStringLiteral("Gli importi si scrivono in euro anche per i periodi prima del 2002; "
                                 "le classi di importo dei tassi soglia di quei periodi sono in lire e "
                                 "gli importi vi sono confrontati convertiti in lire."));
    QFont f = l->font();
    f.setItalic(true);
    l->setFont(f);
    l->hide();
    return l;
}

void MostraAvvisoLire(QLabel* avviso, int anno)
{
    avviso->setVisible(anno < 2002);
}

QLabel* CreaEtichetta(const QString& nome, const QString& testo, QWidget* genitore, bool risultato)
{
    auto* l = new QLabel(testo, genitore);
    l->setObjectName(nome);
    if (risultato) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setFrameShape(QFrame::StyledPanel);
        l->setFrameShadow(QFrame::Sunken);
        l->setMargin(2);
    } else {
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return l;
}

QFrame* PreparaFinestraFinanziamento(QWidget* finestra, const QString& titolo)
{
    // Designed 15135 x 6645 twips; the title band runs across the top and the
    // frame below it (its tag: left 120, top 600, width 14850, height 5925).
    PosizionaTwips(finestra, 0, 0, 15135, 6645);
    CreaBandaTitolo(finestra, titolo);

    auto* cornice = new QFrame(finestra);
    cornice->setObjectName(QStringLiteral("XPFrame4"));
    cornice->setProperty("Tag", QStringLiteral("00120006001485005925"));
    cornice->setFrameShape(QFrame::StyledPanel);
    cornice->setFrameShadow(QFrame::Sunken);
    PosizionaTwips(cornice, 120, 600, 14850, 5925);
    return cornice;
}

void Colloca(QWidget* w, int sinistra, int alto, int larghezza, int altezza)
{
    PosizionaTwips(w, sinistra, alto, larghezza, altezza);
}
