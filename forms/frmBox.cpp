#include "frmBox.h"

#include "CampiFinanziamento.h"
#include "Dichiarazioni.h"
#include "Funzioni.h"
#include "Messaggi.h"
#include "Pagine.h"

#include <QFrame>
#include <QLabel>
#include <exception>

namespace {
const char* const didascalie[8] = {
    "Numeri debitori",          "Interessi addebitati", "Commissioni % su scoperti",
    "Oneri e spese fisse",      "Giorni valuta medi per operazione",
    "di cui commiss. su max scoperto", "Fido accordato", "Massimo scoperto",
};
const char* const trimestri[4] = {"I Trimestre", "II Trimestre", "III Trimestre", "IV Trimestre"};

// Design positions inside the frame, in twips.
constexpr int xDidascalia = 360, lDidascalia = 3600;
constexpr int xCampo(int i) { return 4080 + i * 2520; }
constexpr int lCampo = 2280;
constexpr int altezzaCampo = 360;
constexpr int yIntestazione = 240;
constexpr int yRiga(int k) { return 660 + k * 480; }
// The eighth row leaves less room below: year and description sit closer.
constexpr int yAnno = yRiga(8) + 60;
constexpr int yDescrizione = yAnno + 480;

double Leggi(const BOX& b, int k)
{
    const double valori[8] = {b.Numeri(),       b.Interessi(), b.Commissioni(), b.Spese(),
                              b.GiorniValuta(), b.CMS(),       b.Accordato(),   b.MassimoScoperto()};
    return valori[k];
}

void Scrivi(BOX& b, int k, double v)
{
    switch (k) {
    case 0: b.setNumeri(v); break;
    case 1: b.setInteressi(v); break;
    case 2: b.setCommissioni(v); break;
    case 3: b.setSpese(v); break;
    case 4: b.setGiorniValuta(v); break;
    case 5: b.setCMS(v); break;
    case 6: b.setAccordato(v); break;
    default: b.setMassimoScoperto(v); break;
    }
}
} // namespace

frmBox::frmBox(Documento& documento, QWidget* genitore)
    : FinestraConto(QStringLiteral("frmBox"), QStringLiteral("T.E.G. su conto corrente - dati di input"),
                    QStringLiteral("input"), documento, genitore)
{
    QFrame* cornice = Cornice();
    for (int i = 0; i < 4; ++i) {
        auto* l = CreaEtichetta(QStringLiteral("Label2(%1)").arg(i), QString::fromLatin1(trimestri[i]),
                                cornice);
        l->setAlignment(Qt::AlignCenter);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        Colloca(l, xCampo(i), yIntestazione, lCampo, altezzaCampo);
    }
    for (int k = 0; k < Righe; ++k)
        Colloca(CreaEtichetta(QStringLiteral("Label1(%1)").arg(k), QString::fromLatin1(didascalie[k]), cornice),
                xDidascalia, yRiga(k), lDidascalia, altezzaCampo);
    // Created quarter by quarter, so that Tab runs down one quarter's figures.
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < Righe; ++k) {
            auto* c = new CampoFinanziamento(QStringLiteral("XPText%1(%2)").arg(k + 1).arg(i),
                                             CampoFinanziamento::Filtro::Importo, cornice);
            Colloca(c, xCampo(i), yRiga(k), lCampo, altezzaCampo);
            connect(c, &CampoFinanziamento::Uscita, this, [this, k, i] { esciCampo(k, i); });
            SegnalaDigitazione(c);
            campi_[k][i] = c;
        }

    Colloca(CreaEtichetta(QStringLiteral("Label1(7)"), QStringLiteral("Anno di riferimento"), cornice),
            xDidascalia, yAnno, lDidascalia, altezzaCampo);
    anno_ = new ElencoFinanziamento(QStringLiteral("Combo1"), cornice);
    anno_->Riempi({});
    Colloca(anno_, xCampo(0), yAnno, lCampo, altezzaCampo);
    connect(anno_, &QComboBox::activated, this, &frmBox::sceltaAnno);
    avvisoLire_ = CreaAvvisoLire(cornice);
    Colloca(avvisoLire_, xCampo(1), yAnno, xCampo(3) + lCampo - xCampo(1), altezzaCampo);

    Colloca(CreaEtichetta(QStringLiteral("Label1(8)"), QStringLiteral("Descrizione conto corrente"),
                          cornice),
            xDidascalia, yDescrizione, lDidascalia, altezzaCampo);
    descrizione_ = new CampoFinanziamento(QStringLiteral("XPText20"), CampoFinanziamento::Filtro::Descrizione,
                                          cornice);
    Colloca(descrizione_, xCampo(0), yDescrizione, xCampo(3) + lCampo - xCampo(0), altezzaCampo);
    connect(descrizione_, &CampoFinanziamento::Uscita, this, &frmBox::esciDescrizione);
    SegnalaDigitazione(descrizione_);
}

void frmBox::Pagina()
{
    caricamento_ = true;
    const DatiPaginaInput p = PaginaInput(Conteggio());
    anno_->Riempi(p.anni);
    anno_->ImpostaTesto(p.anno);
    for (int k = 0; k < Righe; ++k)
        for (int i = 0; i < 4; ++i)
            campi_[k][i]->setText(p.campi[k][i]);
    descrizione_->setText(p.descrizione);
    descrizione_->setCursorPosition(0);
    MostraAvvisoLire(avvisoLire_, Conteggio().AnnoRiferimento());
    caricamento_ = false;
    SegnaRiempita();
}

void frmBox::esciCampo(int k, int i)
{
    // Fields not yet filled from the document hold nothing to write back.
    if (caricamento_ || !Riempita())
        return;
    // Whatever was typed is shown again as an amount, and the amount shown
    // is what the quarter keeps; a refused text gives the stored one back.
    BOX& b = Conteggio().Trimestri(i + 1);
    const double prima = Leggi(b, k);
    if (const auto v = LeggiCampoImporto(campi_[k][i], prima, this)) {
        Scrivi(b, k, *v);
        if (*v != prima)
            emit Modificato();
    }
}

void frmBox::esciDescrizione()
{
    const std::string testo = descrizione_->text().toStdString();
    if (caricamento_ || !Riempita() || testo == Conteggio().Trimestri(1).Descrizione())
        return;
    Conteggio().Trimestri(1).setDescrizione(testo);
    emit Modificato();
}

void frmBox::sceltaAnno(int indice)
{
    if (caricamento_ || indice < 0)
        return;
    const QString testo = anno_->itemText(indice);
    bool ok = false;
    const double anno = testo.toDouble(&ok);
    if (!ok)
        return;
    const int prima = Conteggio().AnnoRiferimento();
    try {
        Conteggio().setAnnoRiferimento(anno);
    } catch (const std::exception&) {
        Messaggio(QStringLiteral("L'anno \"%1\" non è ammesso.").arg(testo), QMessageBox::Warning, this);
        return;
    }
    MostraAvvisoLire(avvisoLire_, Conteggio().AnnoRiferimento());
    if (Conteggio().AnnoRiferimento() != prima)
        emit Modificato();
}

DatiPaginaInput frmBox::Dati() const
{
    return PaginaInput(Conteggio());
}

void frmBox::ConfermaModifiche()
{
    if (caricamento_ || !Riempita())
        return;
    QWidget* f = focusWidget();
    for (int k = 0; k < Righe; ++k)
        for (int i = 0; i < 4; ++i)
            if (f == campi_[k][i])
                esciCampo(k, i);
    if (f == descrizione_)
        esciDescrizione();
}
