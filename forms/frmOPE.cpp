#include "frmOPE.h"

#include "CampiFinanziamento.h"
#include "Dichiarazioni.h"
#include "Messaggi.h"
#include "PagineFinanziamenti.h"

#include <QApplication>
#include <QFrame>
#include <exception>

namespace {
// Design columns and rows inside the frame, in twips.
constexpr int xNumero = 240, lNumero = 480;
constexpr int xMese = 840, lMese = 1920;
constexpr int xSegno = 2880, lSegno = 1560;
constexpr int xImporto = 4560, lImporto = 2160;
constexpr int yIntestazioni = 240;
constexpr int altezzaRiga = 360;
constexpr int yRiga(int k) { return 660 + k * 480; }
constexpr int xDestra = 7440, lDidascalia = 4560;
constexpr int xTasso = 12120, lTasso = 2100;
// The exact rates, monthly and annual on one line, end where the rate does.
constexpr int xTassoEsatto = 9480;
} // namespace

frmOPE::frmOPE(Documento& documento, QWidget* genitore)
    : FinestraFiglia(QStringLiteral("frmOPE"), QStringLiteral("1513506645"), documento, genitore)
{
    setWindowTitle(QStringLiteral("T.E.G. su operazioni finanziarie varie"));
    QFrame* cornice =
        PreparaFinestraFinanziamento(this, QStringLiteral("T.E.G. su operazioni finanziarie varie"));

    Colloca(CreaEtichetta(QStringLiteral("Label1(0)"), QStringLiteral("Mese e anno"), cornice),
            xMese, yIntestazioni, lMese, altezzaRiga);
    Colloca(CreaEtichetta(QStringLiteral("Label1(1)"), QStringLiteral("Segno"), cornice), xSegno,
            yIntestazioni, lSegno, altezzaRiga);
    QLabel* titoloImporto = CreaEtichetta(QStringLiteral("Label1(2)"), QStringLiteral("Importo"), cornice);
    titoloImporto->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Colloca(titoloImporto, xImporto, yIntestazioni, lImporto, altezzaRiga);

    // Row by row, so that Tab runs along each row.
    for (int k = 0; k < Righe; ++k) {
        numeri_[k] = CreaEtichetta(QStringLiteral("Lnumero(%1)").arg(k),
                                   QString::number(k + 1) + QLatin1Char('.'), cornice);
        numeri_[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Colloca(numeri_[k], xNumero, yRiga(k), lNumero, altezzaRiga);

        mesi_[k] = new ElencoFinanziamento(QStringLiteral("Combo1(%1)").arg(k), cornice);
        Colloca(mesi_[k], xMese, yRiga(k), lMese, altezzaRiga);
        connect(mesi_[k], &QComboBox::activated, this, [this, k](int i) { sceltaMese(k, i); });

        segni_[k] = new ElencoFinanziamento(QStringLiteral("Combo2(%1)").arg(k), cornice);
        segni_[k]->Riempi({TestoEntrata, TestoUscita});
        Colloca(segni_[k], xSegno, yRiga(k), lSegno, altezzaRiga);
        connect(segni_[k], &QComboBox::activated, this, [this, k](int i) { sceltaSegno(k, i); });

        importi_[k] = new CampoFinanziamento(QStringLiteral("XPText1(%1)").arg(k),
                                             CampoFinanziamento::Filtro::Importo, cornice);
        Colloca(importi_[k], xImporto, yRiga(k), lImporto, altezzaRiga);
        connect(importi_[k], &CampoFinanziamento::Uscita, this, [this, k] { esciImporto(k); });
        SegnalaDigitazione(importi_[k]);
    }

    Colloca(CreaEtichetta(QStringLiteral("Label1(7)"), QStringLiteral("T.E.G. su base annua (approx.)"),
                          cornice),
            xDestra, yRiga(0), lDidascalia, altezzaRiga);
    tasso_ = CreaEtichetta(QStringLiteral("Label1(8)"), {}, cornice, true);
    Colloca(tasso_, xTasso, yRiga(0), lTasso, altezzaRiga);
    Colloca(CreaEtichetta(QStringLiteral("Label1(10)"), DidascaliaTassoEsatto, cornice), xDestra, yRiga(1),
            xTassoEsatto - xDestra, altezzaRiga);
    tassoEsatto_ = CreaEtichetta(QStringLiteral("Label1(11)"), {}, cornice, true);
    Colloca(tassoEsatto_, xTassoEsatto, yRiga(1), xTasso + lTasso - xTassoEsatto, altezzaRiga);

    Colloca(CreaEtichetta(QStringLiteral("Label1(9)"), QStringLiteral("Descrizione operazione"), cornice),
            xDestra, yRiga(2), lDidascalia, altezzaRiga);
    descrizione_ = new CampoFinanziamento(QStringLiteral("XPText2"),
                                          CampoFinanziamento::Filtro::Descrizione, cornice);
    Colloca(descrizione_, xDestra, yRiga(3), xTasso + lTasso - xDestra, altezzaRiga);
    connect(descrizione_, &CampoFinanziamento::Uscita, this, &frmOPE::esciDescrizione);
    SegnalaDigitazione(descrizione_);
}

void frmOPE::Pagina()
{
    hide();
    QString errore;
    {
        CaricamentoGuardia guardia(*this);
        const DatiPaginaOPE p = PaginaOPE(Conteggio().Operazioni());
        const QStringList mesiAnni = ElencoMesiAnni();
        for (int k = 0; k < Righe; ++k) {
            const DatiRigaOPE& r = p.righe[k];
            numeri_[k]->setText(r.numero);
            mesi_[k]->Riempi(mesiAnni);
            mesi_[k]->ImpostaTesto(r.meseAnno);
            segni_[k]->Riempi({TestoEntrata, TestoUscita});
            segni_[k]->ImpostaTesto(r.segno);
            importi_[k]->setText(r.importo);
        }
        tasso_->setText(p.tasso);
        tassoEsatto_->setText(p.tassoEsatto);
        descrizione_->setText(p.descrizione);
        descrizione_->setCursorPosition(0);
        SegnaRiempita();
        update();
        show();
        // Opened from the menu or the toolbar, the window takes the keyboard.
        if (!isAncestorOf(QApplication::focusWidget()))
            mesi_[0]->setFocus(Qt::OtherFocusReason);
        errore = p.errore;
    }
    // Told once the window is filled and its handlers answer again.
    if (!errore.isEmpty())
        Messaggio(errore, QMessageBox::Warning, this);
}

void frmOPE::aggiornaOPEsoft()
{
    if (inAggiornamento_)
        return;
    inAggiornamento_ = true;
    const TassiCalcolati t = RicalcolaOPE(Conteggio().Operazioni());
    tasso_->setText(t.tassoAnnuale);
    tassoEsatto_->setText(t.tassoEsatto);
    if (!t.errore.isEmpty())
        Messaggio(t.errore, QMessageBox::Warning, this);
    inAggiornamento_ = false;
}

void frmOPE::esciImporto(int k)
{
    const double prima = Conteggio().Operazioni().Importo(k + 1);
    const auto letto = LeggiCampoImporto(importi_[k], prima, this);
    if (!letto || CaricamentoInCorso())
        return;
    Conteggio().Operazioni().setImporto(k + 1, *letto);
    if (*letto != prima)
        emit Modificato();
    aggiornaOPEsoft();
}

void frmOPE::esciDescrizione()
{
    const std::string testo = descrizione_->text().toStdString();
    if (CaricamentoInCorso() || testo == Conteggio().Operazioni().Descrizione())
        return;
    Conteggio().Operazioni().setDescrizione(testo);
    emit Modificato();
}

void frmOPE::sceltaMese(int k, int indice)
{
    if (CaricamentoInCorso())
        return;
    int mese = 0, anno = 0;
    LeggiMeseAnno(mesi_[k]->itemText(indice), mese, anno);
    OPE& o = Conteggio().Operazioni();
    const bool cambiata = (mese > 0 && mese != o.Mese(k + 1)) || anno != o.Anno(k + 1);
    if (mese > 0)
        o.setMese(k + 1, mese);
    o.setAnno(k + 1, anno);
    if (cambiata)
        emit Modificato();
    aggiornaOPEsoft();
}

void frmOPE::sceltaSegno(int k, int indice)
{
    if (CaricamentoInCorso())
        return;
    const int segno = SegnoDaTesto(segni_[k]->itemText(indice));
    if (segno != 0 && segno != Conteggio().Operazioni().Segno(k + 1)) {
        Conteggio().Operazioni().setSegno(k + 1, segno);
        emit Modificato();
    }
    aggiornaOPEsoft();
}

DatiPaginaOPE frmOPE::Dati() const
{
    return PaginaOPE(Conteggio().Operazioni());
}

void frmOPE::ConfermaModifiche()
{
    // Until the window shows the document its fields hold nothing to keep.
    if (!Riempita() || CaricamentoInCorso())
        return;
    QWidget* f = focusWidget();
    for (int k = 0; k < Righe; ++k)
        if (f == importi_[k])
            esciImporto(k);
    if (f == descrizione_)
        esciDescrizione();
}
