#include "frmBox.h"

#include "CampiFinanziamento.h"
#include "Dichiarazioni.h"
#include "Funzioni.h"
#include "Messaggi.h"
#include "Pagine.h"

#include "TrimestriDaMovimenti.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <exception>

namespace {
const char* const didascalie[9] = {
    "Numeri debitori",          "Interessi addebitati", "Commissioni % su scoperti",
    "Oneri e spese fisse",      "Giorni valuta medi per operazione",
    "di cui commiss. su max scoperto", "Fido accordato", "Massimo scoperto",
    "CMS media del periodo (%)",
};

// The average CMS is the decree's figure, which the program does not hold.
const char* const notaCMSMedia =
    "CMS media: il programma non ne contiene la serie; indicarla dal decreto trimestrale del periodo "
    "(verifica della CMS fino al 31/12/2009).";

// The highest average CMS accepted, in percent: a figure above it is a typing slip.
constexpr double CMSMediaMassima = 100;
const char* const trimestri[4] = {"I Trimestre", "II Trimestre", "III Trimestre", "IV Trimestre"};

// Design positions inside the frame, in twips.
constexpr int xDidascalia = 360, lDidascalia = 3600;
constexpr int xCampo(int i) { return 4080 + i * 2520; }
constexpr int lCampo = 2280;
constexpr int altezzaCampo = 360;
constexpr int yIntestazione = 200;
constexpr int yRiga(int k) { return 600 + k * 440; }
// Nine rows leave little room below: year and description sit closer.
constexpr int yAnno = yRiga(9) + 60;
constexpr int yDescrizione = yAnno + 440;
constexpr int yLegenda = yDescrizione + 600;

// Row k of quarter q; the average CMS in percent.
double Leggi(const Documento& d, int k, int q)
{
    if (k == 8)  // as the field shows it, two decimals
        return ArrotondaAlCentesimo(d.Usura().CMSMedia(q).value_or(0) * 100);
    const BOX& b = d.Trimestri(q);
    const double valori[8] = {b.Numeri(),       b.Interessi(), b.Commissioni(), b.Spese(),
                              b.GiorniValuta(), b.CMS(),       b.Accordato(),   b.MassimoScoperto()};
    return valori[k];
}

// The mark of a figure drawn from the movements (blue) or the conditions
// (green): a dot inside the field, at its end.
QIcon Segno(const QColor& colore)
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(Qt::NoPen);
    g.setBrush(colore);
    g.drawEllipse(QRectF(4, 4, 8, 8));
    return QIcon(p);
}

void Scrivi(Documento& d, int k, int q, double v)
{
    BOX& b = d.Trimestri(q);
    switch (k) {
    case 0: b.setNumeri(v); break;
    case 1: b.setInteressi(v); break;
    case 2: b.setCommissioni(v); break;
    case 3: b.setSpese(v); break;
    case 4: b.setGiorniValuta(v); break;
    case 5: b.setCMS(v); break;
    case 6: b.setAccordato(v); break;
    case 7: b.setMassimoScoperto(v); break;
    default: d.Usura().setCMSMedia(q, v / 100); break;
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
        intestazioni_[i] = l;
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
            segni_[k][i] = c->addAction(QIcon(), QLineEdit::TrailingPosition);
            segni_[k][i]->setObjectName(QStringLiteral("Fonte%1(%2)").arg(k + 1).arg(i));
            segni_[k][i]->setVisible(false);
        }

    Colloca(CreaEtichetta(QStringLiteral("Label1(%1)").arg(Righe), QStringLiteral("Anno di riferimento"), cornice),
            xDidascalia, yAnno, lDidascalia, altezzaCampo);
    anno_ = new ElencoFinanziamento(QStringLiteral("Combo1"), cornice);
    anno_->Riempi({});
    Colloca(anno_, xCampo(0), yAnno, lCampo, altezzaCampo);
    auto* nota = CreaEtichetta(QStringLiteral("LabelCMSMedia"), QString::fromUtf8(notaCMSMedia), cornice);
    nota->setWordWrap(true);
    QFont piccolo = nota->font();
    piccolo.setPointSizeF(piccolo.pointSizeF() * 0.9);
    nota->setFont(piccolo);
    Colloca(nota, xCampo(1), yAnno - 40, xCampo(3) + lCampo - xCampo(1), altezzaCampo + 80);
    connect(anno_, &QComboBox::activated, this, &frmBox::sceltaAnno);
    avvisoLire_ = CreaAvvisoLire(cornice);
    Colloca(avvisoLire_, xCampo(1), yAnno, xCampo(3) + lCampo - xCampo(1), altezzaCampo);

    Colloca(CreaEtichetta(QStringLiteral("Label1(%1)").arg(Righe + 1), QStringLiteral("Descrizione conto corrente"),
                          cornice),
            xDidascalia, yDescrizione, lDidascalia, altezzaCampo);
    descrizione_ = new CampoFinanziamento(QStringLiteral("XPText20"), CampoFinanziamento::Filtro::Descrizione,
                                          cornice);
    Colloca(descrizione_, xCampo(0), yDescrizione, xCampo(3) + lCampo - xCampo(0), altezzaCampo);
    connect(descrizione_, &CampoFinanziamento::Uscita, this, &frmBox::esciDescrizione);
    SegnalaDigitazione(descrizione_);

    // What the marks mean, shown while there are any.
    legenda_ = CreaEtichetta(QStringLiteral("LegendaFonti"),
                             QStringLiteral("<span style=\"color:#2864c8\">\u25cf</span> cifra calcolata dai movimenti"
                                            "&nbsp;&nbsp;&nbsp;<span style=\"color:#28964a\">\u25cf</span> cifra presa "
                                            "dalle condizioni del conto&nbsp;&nbsp;&nbsp;\u25d0 trimestre coperto "
                                            "solo in parte dai movimenti. Una cifra scritta a mano perde il segno."),
                             cornice);
    legenda_->setTextFormat(Qt::RichText);
    legenda_->setWordWrap(true);
    Colloca(legenda_, xDidascalia, yLegenda, xCampo(3) + lCampo - xDidascalia, 2 * altezzaCampo);
    legenda_->setVisible(false);
}

void frmBox::Pagina()
{
    caricamento_ = true;
    const DatiPaginaInput p = PaginaInput(Conteggio());
    anno_->Riempi(p.anni);
    anno_->ImpostaTesto(p.anno);
    for (int k = 0; k < Righe; ++k)
        for (int i = 0; i < 4; ++i) {
            campi_[k][i]->setText(p.campi[k][i]);
            mostraFonte(k, i, k < static_cast<int>(p.fonti.size()) ? p.fonti[k][i] : QString());
        }
    for (int i = 0; i < 4; ++i) {
        // A quarter the movements covered only in part is marked.
        const QString& nota = p.coperture[i];
        intestazioni_[i]->setText(QString::fromLatin1(trimestri[i]) + (nota.isEmpty() ? QString() : QStringLiteral(" \u25d0")));
        intestazioni_[i]->setToolTip(nota);
    }
    descrizione_->setText(p.descrizione);
    descrizione_->setCursorPosition(0);
    aggiornaLegenda();
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
    const double prima = Leggi(Conteggio(), k, i + 1);
    if (const auto v = LeggiCampoImporto(campi_[k][i], prima, this)) {
        if (k == 8 && *v > CMSMediaMassima) {
            Messaggio(QStringLiteral("La CMS media %1% non è ammessa: si indica in percentuale, per esempio 0,30.")
                          .arg(campi_[k][i]->text()),
                      QMessageBox::Warning, this);
            campi_[k][i]->setText(QString::fromStdString(FormatoImporto(prima)));
            return;
        }
        Scrivi(Conteggio(), k, i + 1, *v);
        if (*v != prima) {
            // Typed over, the figure is the user's.
            if (k < static_cast<int>(CampiTrimestre)) {
                FiguraDigitata(Conteggio(), i + 1, static_cast<CampoTrimestre>(k));
                mostraFonte(k, i, QString());
            }
            emit Modificato();
        }
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
    if (Conteggio().AnnoRiferimento() != prima) {
        // The marks say whether the figures were computed for this year.
        const DatiPaginaInput p = PaginaInput(Conteggio());
        for (int k = 0; k < static_cast<int>(p.fonti.size()); ++k)
            for (int i = 0; i < 4; ++i)
                mostraFonte(k, i, p.fonti[k][i]);
        emit Modificato();
    }
}

void frmBox::mostraFonte(int k, int i, const QString& fonte)
{
    QAction* a = segni_[k][i];
    if (!fonte.isEmpty())
        a->setIcon(Segno(fonte.startsWith(QStringLiteral("Dai movimenti")) ? QColor(40, 100, 200) : QColor(40, 150, 70)));
    a->setToolTip(fonte);
    a->setVisible(!fonte.isEmpty());
    campi_[k][i]->setToolTip(fonte);
    aggiornaLegenda();
}

void frmBox::aggiornaLegenda()
{
    bool segni = false;
    for (int i = 0; i < 4; ++i) {
        segni = segni || !intestazioni_[i]->toolTip().isEmpty();
        for (int k = 0; k < Righe; ++k)
            segni = segni || segni_[k][i]->isVisible();
    }
    legenda_->setVisible(segni);
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
