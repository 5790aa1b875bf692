#include "frmMutuo.h"

#include "CampiFinanziamento.h"
#include "Dichiarazioni.h"
#include "Messaggi.h"
#include "PaginaContratto.h"
#include "PagineFinanziamenti.h"
#include "PannelloContratto.h"
#include "Twips.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <algorithm>
#include <exception>

namespace {
const char* const didascalieImporti[3] = {"Importo finanziato", "Oneri trattenuti sul finanziato",
                                          "Importo rata comprensiva di spese"};
// Label1 elements of the captions beside the three amounts.
constexpr int etichetteImporti[3] = {0, 2, 3};

// Design rows inside the frame, in twips.
constexpr int xDidascalia = 360, lDidascalia = 4080;
constexpr int xCampo = 4560, lCampo = 2280;
constexpr int altezzaRiga = 360;
constexpr int yRiga(int n) { return 480 + n * 540; }
constexpr int xRisultati = 7800, lIntestazione = 4320;
constexpr int xTasso = 12240, lTasso = 1980;
// The exact rates, periodic and annual on one line, end where the rates do.
constexpr int xTassoEsatto = 9840;
// The contract's part fills the frame below the description.
constexpr int yContratto = 4260, margineContratto = 120;
} // namespace

frmMutuo::frmMutuo(Documento& documento, QWidget* genitore)
    : FinestraFiglia(QStringLiteral("frmMutuo"), QStringLiteral("1513506645"), documento, genitore)
{
    setWindowTitle(QStringLiteral("T.E.G. su mutui periodici a rata costante"));
    QFrame* cornice =
        PreparaFinestraFinanziamento(this, QStringLiteral("T.E.G. su mutui periodici a rata costante"));

    for (int i = 0; i < 3; ++i) {
        Colloca(CreaEtichetta(QStringLiteral("Label1(%1)").arg(etichetteImporti[i]),
                              QString::fromUtf8(didascalieImporti[i]), cornice),
                xDidascalia, yRiga(i), lDidascalia, altezzaRiga);
        importi_[i] = new CampoFinanziamento(QStringLiteral("XPText1(%1)").arg(i),
                                             CampoFinanziamento::Filtro::Importo, cornice);
        Colloca(importi_[i], xCampo, yRiga(i), lCampo, altezzaRiga);
        connect(importi_[i], &CampoFinanziamento::Uscita, this, [this, i] { esciImporto(i); });
        SegnalaDigitazione(importi_[i]);
    }

    Colloca(CreaEtichetta(QStringLiteral("Label1(4)"), QStringLiteral("Periodicità rata"), cornice),
            xDidascalia, yRiga(3), lDidascalia, altezzaRiga);
    periodicita_ = new ElencoFinanziamento(QStringLiteral("Combo1"), cornice);
    periodicita_->Riempi(ElencoPeriodicita());
    Colloca(periodicita_, xCampo, yRiga(3), lCampo, altezzaRiga);
    connect(periodicita_, &QComboBox::activated, this, &frmMutuo::sceltaPeriodicita);

    Colloca(CreaEtichetta(QStringLiteral("Label1(5)"), QStringLiteral("Numero complessivo di rate"),
                          cornice),
            xDidascalia, yRiga(4), lDidascalia, altezzaRiga);
    numeroRate_ = new ElencoFinanziamento(QStringLiteral("Combo2"), cornice);
    numeroRate_->Riempi(ElencoNumeroRate());
    Colloca(numeroRate_, xCampo, yRiga(4), 1320, altezzaRiga);
    connect(numeroRate_, &QComboBox::activated, this, &frmMutuo::sceltaNumeroRate);

    Colloca(CreaEtichetta(QStringLiteral("Label1(9)"), QStringLiteral("Descrizione mutuo"), cornice),
            xDidascalia, yRiga(6), lDidascalia, altezzaRiga);
    descrizione_ = new CampoFinanziamento(QStringLiteral("XPText2"),
                                          CampoFinanziamento::Filtro::Descrizione, cornice);
    Colloca(descrizione_, xCampo, yRiga(6), xTasso + lTasso - xCampo, altezzaRiga);
    connect(descrizione_, &CampoFinanziamento::Uscita, this, &frmMutuo::esciDescrizione);
    SegnalaDigitazione(descrizione_);

    intestazione_ = CreaEtichetta(QStringLiteral("Label1(1)"), IntestazioneTassoPeriodo({}), cornice);
    Colloca(intestazione_, xRisultati, yRiga(0), lIntestazione, altezzaRiga);
    tassoPeriodo_ = CreaEtichetta(QStringLiteral("Label1(6)"), {}, cornice, true);
    Colloca(tassoPeriodo_, xTasso, yRiga(0), lTasso, altezzaRiga);
    didascaliaAnnuale_ =
        CreaEtichetta(QStringLiteral("Label1(7)"), DidascaliaTassoAnnualeMutuo, cornice);
    Colloca(didascaliaAnnuale_, xRisultati, yRiga(1), lIntestazione, altezzaRiga);
    tassoAnnuale_ = CreaEtichetta(QStringLiteral("Label1(8)"), {}, cornice, true);
    Colloca(tassoAnnuale_, xTasso, yRiga(1), lTasso, altezzaRiga);
    Colloca(CreaEtichetta(QStringLiteral("Label1(10)"), DidascaliaTassoEsatto, cornice), xRisultati,
            yRiga(2), xTassoEsatto - xRisultati, altezzaRiga);
    tassoEsatto_ = CreaEtichetta(QStringLiteral("Label1(11)"), {}, cornice, true);
    Colloca(tassoEsatto_, xTassoEsatto, yRiga(2), xTasso + lTasso - xTassoEsatto, altezzaRiga);

    cornice_ = cornice;
    contratto_ = new PannelloContratto(documento, cornice);
    connect(contratto_, &PannelloContratto::Modificato, this, &frmMutuo::Modificato);
    connect(contratto_, &PannelloContratto::Comando, this, &frmMutuo::Comando);
    cornice->installEventFilter(this);
}

bool frmMutuo::eventFilter(QObject* o, QEvent* e)
{
    // The contract's part takes the frame's room below the description.
    if (o == cornice_ && e->type() == QEvent::Resize) {
        const int x = TwipsAPixel(margineContratto), y = TwipsAPixel(yContratto);
        contratto_->setGeometry(x, y, std::max(0, cornice_->width() - 2 * x),
                                std::max(0, cornice_->height() - y - x));
    }
    return FinestraFiglia::eventFilter(o, e);
}

bool frmMutuo::event(QEvent* e)
{
    // Brought to the front: the usury check may have changed the contract date.
    if (e->type() == QEvent::WindowActivate && Riempita() && !CaricamentoInCorso())
        contratto_->AggiornaRisultati();
    return FinestraFiglia::event(e);
}

void frmMutuo::Pagina()
{
    hide();
    QString errore;
    {
        CaricamentoGuardia guardia(*this);
        const DatiPaginaMutuo p = PaginaMutuo(Conteggio().MutuoCorrente());
        for (int i = 0; i < 3; ++i)
            importi_[i]->setText(p.importi[i]);
        periodicita_->Riempi(ElencoPeriodicita());
        periodicita_->ImpostaTesto(p.periodicita);
        intestazione_->setText(p.intestazione);
        tassoPeriodo_->setText(p.tassoPeriodo);
        didascaliaAnnuale_->setText(p.didascaliaAnnuale);
        tassoAnnuale_->setText(p.tassoAnnuale);
        tassoEsatto_->setText(p.tassoEsatto);
        numeroRate_->Riempi(ElencoNumeroRate());
        numeroRate_->ImpostaTesto(p.numeroRate);
        descrizione_->setText(p.descrizione);
        descrizione_->setCursorPosition(0);
        contratto_->Riempi();
        SegnaRiempita();
        update();
        show();
        // Opened from the menu or the toolbar, the window takes the keyboard.
        if (!isAncestorOf(QApplication::focusWidget()))
            importi_[0]->setFocus(Qt::OtherFocusReason);
        errore = p.errore;
    }
    // Told once the window is filled and its handlers answer again.
    if (!errore.isEmpty())
        Messaggio(errore, QMessageBox::Warning, this);
}

void frmMutuo::aggiornaMUTUOsoft()
{
    // A message shown from here moves the focus; never recompute inside it.
    if (inAggiornamento_)
        return;
    inAggiornamento_ = true;
    const TassiCalcolati t = RicalcolaMutuo(Conteggio().MutuoCorrente());
    intestazione_->setText(IntestazioneTassoPeriodo(periodicita_->currentText()));
    tassoPeriodo_->setText(t.tassoPeriodo);
    tassoAnnuale_->setText(t.tassoAnnuale);
    tassoEsatto_->setText(t.tassoEsatto);
    contratto_->AggiornaRisultati();
    if (!t.errore.isEmpty())
        Messaggio(t.errore, QMessageBox::Warning, this);
    inAggiornamento_ = false;
}

void frmMutuo::esciImporto(int i)
{
    Mutuo& m = Conteggio().MutuoCorrente();
    const double prima = i == 0 ? m.Importo() : i == 1 ? m.Oneri() : m.Rata();
    const auto letto = LeggiCampoImporto(importi_[i], prima, this);
    if (!letto || CaricamentoInCorso())
        return;
    const double v = *letto;
    if (i == 0)
        m.setImporto(v);
    else if (i == 1)
        m.setOneri(v);
    else
        m.setRata(v);
    if (v != prima)
        emit Modificato();
    aggiornaMUTUOsoft();
}

void frmMutuo::esciDescrizione()
{
    const std::string testo = descrizione_->text().toStdString();
    if (CaricamentoInCorso() || testo == Conteggio().MutuoCorrente().Descrizione())
        return;
    Conteggio().MutuoCorrente().setDescrizione(testo);
    emit Modificato();
}

void frmMutuo::sceltaPeriodicita(int indice)
{
    if (CaricamentoInCorso())
        return;
    const int rate = RateAnnualiDaPeriodicita(periodicita_->itemText(indice));
    if (rate > 0 && rate != Conteggio().MutuoCorrente().RateAnnuali()) {
        Conteggio().MutuoCorrente().setRateAnnuali(rate);
        emit Modificato();
    }
    aggiornaMUTUOsoft();
}

void frmMutuo::sceltaNumeroRate(int indice)
{
    if (CaricamentoInCorso())
        return;
    const double n = LeggiImporto(numeroRate_->itemText(indice));
    const double prima = Conteggio().MutuoCorrente().NRate();
    try {
        Conteggio().MutuoCorrente().setNRate(n);
    } catch (const std::exception&) {
        Messaggio(QStringLiteral("Il numero di rate \"%1\" non è ammesso.").arg(numeroRate_->itemText(indice)),
                  QMessageBox::Warning, this);
        return;
    }
    if (Conteggio().MutuoCorrente().NRate() != prima)
        emit Modificato();
    aggiornaMUTUOsoft();
}

DatiPaginaMutuo frmMutuo::Dati() const
{
    return PaginaMutuoConContratto(Conteggio());
}

void frmMutuo::ConfermaModifiche()
{
    // Until the window shows the document its fields hold nothing to keep.
    if (!Riempita() || CaricamentoInCorso())
        return;
    QWidget* f = focusWidget();
    for (int i = 0; i < 3; ++i)
        if (f == importi_[i])
            esciImporto(i);
    if (f == descrizione_)
        esciDescrizione();
    contratto_->ConfermaModifiche();
}
