#include "frmBreve.h"

#include "CampiFinanziamento.h"
#include "Dichiarazioni.h"
#include "Messaggi.h"
#include "PagineFinanziamenti.h"

#include <QDateEdit>
#include <QApplication>
#include <QFrame>
#include <QSignalBlocker>
#include <exception>

namespace {
// Design rows inside the frame, in twips.
constexpr int xDidascalia = 360, lDidascalia = 6240;
constexpr int xCampo = 6720, lCampo = 2280;
constexpr int altezzaRiga = 360;
constexpr int yRiga(int n) { return 480 + n * 540; }
constexpr int xRisultati = 9480, lRisultati = 2640;
constexpr int xTasso = 12240, lTasso = 1980;

const char* const didascalieImporti[3] = {
    "Importo finanziato", "Oneri trattenuti sul finanziato",
    "Importo restituito a scadenza comprensivo di ogni altro onere"};
} // namespace

frmBreve::frmBreve(Documento& documento, QWidget* genitore)
    : FinestraFiglia(QStringLiteral("frmBreve"), QStringLiteral("1513506645"), documento, genitore)
{
    setWindowTitle(QStringLiteral("T.E.G. su operazioni finanziarie a breve termine"));
    QFrame* cornice = PreparaFinestraFinanziamento(
        this, QStringLiteral("T.E.G. su operazioni finanziarie a breve termine"));

    const QString didascalieDate[2] = {QStringLiteral("Data di erogazione"),
                                       QStringLiteral("Data di restituzione")};
    for (int d = 0; d < 2; ++d) {
        Colloca(CreaEtichetta(QStringLiteral("Label1(%1)").arg(d), didascalieDate[d], cornice),
                xDidascalia, yRiga(d), lDidascalia, altezzaRiga);
        date_[d] = CreaSceltaData(QStringLiteral("DTPicker%1").arg(d + 1), cornice);
        Colloca(date_[d], xCampo, yRiga(d), lCampo, altezzaRiga);
        connect(date_[d], &QDateEdit::dateChanged, this, [this, d] { cambioData(d); });
    }
    for (int i = 0; i < 3; ++i) {
        Colloca(CreaEtichetta(QStringLiteral("Label1(%1)").arg(i + 2),
                              QString::fromUtf8(didascalieImporti[i]), cornice),
                xDidascalia, yRiga(i + 2), lDidascalia, altezzaRiga);
        importi_[i] = new CampoFinanziamento(QStringLiteral("XPText1(%1)").arg(i),
                                             CampoFinanziamento::Filtro::Importo, cornice);
        Colloca(importi_[i], xCampo, yRiga(i + 2), lCampo, altezzaRiga);
        connect(importi_[i], &CampoFinanziamento::Uscita, this, [this, i] { esciImporto(i); });
        SegnalaDigitazione(importi_[i]);
    }
    Colloca(CreaEtichetta(QStringLiteral("Label1(9)"), QStringLiteral("Descrizione operazione"), cornice),
            xDidascalia, yRiga(6), lDidascalia, altezzaRiga);
    descrizione_ = new CampoFinanziamento(QStringLiteral("XPText2"),
                                          CampoFinanziamento::Filtro::Descrizione, cornice);
    Colloca(descrizione_, xCampo, yRiga(6), xTasso + lTasso - xCampo, altezzaRiga);
    connect(descrizione_, &CampoFinanziamento::Uscita, this, &frmBreve::esciDescrizione);
    SegnalaDigitazione(descrizione_);

    avvisoLire_ = CreaAvvisoLire(cornice);
    Colloca(avvisoLire_, xCampo, yRiga(5), xTasso + lTasso - xCampo, altezzaRiga);
    Colloca(CreaEtichetta(QStringLiteral("Label1(5)"), QStringLiteral("T.E.G. del periodo"), cornice),
            xRisultati, yRiga(0), lRisultati, altezzaRiga);
    tassoPeriodo_ = CreaEtichetta(QStringLiteral("Label1(6)"), {}, cornice, true);
    Colloca(tassoPeriodo_, xTasso, yRiga(0), lTasso, altezzaRiga);
    Colloca(CreaEtichetta(QStringLiteral("Label1(7)"), QStringLiteral("T.E.G. su base annuale"), cornice),
            xRisultati, yRiga(1), lRisultati, altezzaRiga);
    tassoAnnuale_ = CreaEtichetta(QStringLiteral("Label1(8)"), {}, cornice, true);
    Colloca(tassoAnnuale_, xTasso, yRiga(1), lTasso, altezzaRiga);
}

void frmBreve::Pagina()
{
    hide();
    QString errore;
    {
        CaricamentoGuardia guardia(*this);
        const DatiPaginaBreve p = PaginaBreve(Conteggio().BreveCorrente());
        descrizione_->setText(p.descrizione);
        descrizione_->setCursorPosition(0);
        for (int i = 0; i < 3; ++i)
            importi_[i]->setText(p.importi[i]);
        date_[0]->setDate(p.data0);
        date_[1]->setDate(p.data1);
        MostraAvvisoLire(avvisoLire_, p.data0.year());
        tassoAnnuale_->setText(p.tassoAnnuale);
        tassoPeriodo_->setText(p.tassoPeriodo);
        SegnaRiempita();
        update();
        show();
        // Opened from the menu or the toolbar, the window takes the keyboard.
        if (!isAncestorOf(QApplication::focusWidget()))
            date_[0]->setFocus(Qt::OtherFocusReason);
        errore = p.errore;
        if (errore.isEmpty() && (date_[0]->date() != p.data0 || date_[1]->date() != p.data1))
            errore = QStringLiteral("Una data dell'operazione è fuori dal calendario e non può essere "
                                    "mostrata; il calcolo usa la data registrata.");
    }
    if (!errore.isEmpty())
        Messaggio(errore, QMessageBox::Warning, this);
}

void frmBreve::aggiornaBREVEsoft()
{
    if (inAggiornamento_)
        return;
    inAggiornamento_ = true;
    const TassiCalcolati t = RicalcolaBreve(Conteggio().BreveCorrente());
    tassoAnnuale_->setText(t.tassoAnnuale);
    tassoPeriodo_->setText(t.tassoPeriodo);
    if (!t.errore.isEmpty())
        Messaggio(t.errore, QMessageBox::Warning, this);
    inAggiornamento_ = false;
}

void frmBreve::cambioData(int quale)
{
    if (CaricamentoInCorso())
        return;
    const QDate scelta = date_[quale]->date();
    if (!scelta.isValid())
        return;
    BREVE& b = Conteggio().BreveCorrente();
    // A refused year leaves the stored date, which the field shows again.
    if (!ControllaDataDigitata(date_[quale], DataQt(quale == 0 ? b.Data0() : b.Data1()), this))
        return;
    const auto data = DataCalcolo(scelta);
    const bool cambiata = data != (quale == 0 ? b.Data0() : b.Data1());
    if (quale == 0) {
        b.setData0(data);
        MostraAvvisoLire(avvisoLire_, scelta.year());
    } else {
        b.setData1(data);
    }
    if (cambiata)
        emit Modificato();
    aggiornaBREVEsoft();
}

void frmBreve::esciImporto(int i)
{
    BREVE& b = Conteggio().BreveCorrente();
    const double prima = i == 0 ? b.Finanziato() : i == 1 ? b.Oneri() : b.Restituito();
    const auto letto = LeggiCampoImporto(importi_[i], prima, this);
    if (!letto || CaricamentoInCorso())
        return;
    const double v = *letto;
    if (i == 0)
        b.setFinanziato(v);
    else if (i == 1)
        b.setOneri(v);
    else
        b.setRestituito(v);
    if (v != prima)
        emit Modificato();
    aggiornaBREVEsoft();
}

void frmBreve::esciDescrizione()
{
    const std::string testo = descrizione_->text().toStdString();
    if (testo == Conteggio().BreveCorrente().Descrizione())
        return;
    Conteggio().BreveCorrente().setDescrizione(testo);
    emit Modificato();
}

DatiPaginaBreve frmBreve::Dati() const
{
    return PaginaBreve(Conteggio().BreveCorrente());
}

void frmBreve::ConfermaModifiche()
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
    ConfermaDataInCorso(this);  // a date typed, not yet confirmed
}
