#include "Relazione.h"

#include "Dichiarazioni.h"
#include "Esportazione.h"
#include "GraficoRicalcolo.h"
#include "Pagine.h"
#include "PagineFinanziamenti.h"
#include "PaginaSoglia.h"
#include "RapportoRicalcolo.h"
#include "RapportoRiepilogo.h"
#include "PassaggiVerifica.h"
#include "RapportiConto.h"
#include "RapportoSoglia.h"
#include "SoglieInUso.h"
#include "modStampa.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>

namespace {

SceltaFileRelazione sceltaFile;

QString testo(const std::string& s) { return QString::fromStdString(s); }

long long pagineDi(const Rapporto& r) { return std::max(1LL, std::llround(r.NumeroPagine)); }

// A reason a table could not be computed, two rows under it.
void aggiungiNota(Rapporto& r, const QString& errore)
{
    if (errore.isEmpty())
        return;
    if (pagineDi(r) > 1) {
        // A table of several pages (a mortgage with its contract): after its
        // last row, on a page of its own when the last one is full.
        int ultima = static_cast<int>(std::min<long long>(r.RighePerPagina * pagineDi(r), TabellaStampa::MaxRighe));
        const auto vuota = [&r](int riga) {
            for (int c = 1; c <= TabellaStampa::MaxColonne; ++c)
                if (!r.tabella.Testo(riga, c).isEmpty())
                    return false;
            return true;
        };
        while (ultima > 0 && vuota(ultima))
            --ultima;
        if (ultima + 2 > TabellaStampa::MaxRighe)
            return;
        if (ultima + 2 > r.RighePerPagina * pagineDi(r))
            r.NumeroPagine = pagineDi(r) + 1;
        r.tabella.setTesto(ultima + 2, 1, QStringLiteral("Attenzione: ") + errore.simplified());
        return;
    }
    if (r.RighePerPagina + 2 > TabellaStampa::MaxRighe)
        return;
    r.RighePerPagina += 2;
    r.tabella.setTesto(r.RighePerPagina, 1, QStringLiteral("Attenzione: ") + errore.simplified());
}

// ---- The tables, built from the same page data the windows show ----------

bool contoConDati(const Documento& d)
{
    for (int q = 1; q <= 4; ++q) {
        const BOX& b = d.Trimestri(q);
        for (double v : {b.Numeri(), b.Interessi(), b.Commissioni(), b.Spese(), b.CMS(), b.Accordato()})
            if (v != 0)
                return true;
    }
    return false;
}

std::vector<Rapporto> tabelleConto(Documento& d)
{
    const QString descrizione = testo(d.Trimestri(1).Descrizione());
    QString errore;
    Rapporto matematico = RapportoMatematico(PaginaMatematico(d, errore), descrizione);
    aggiungiNota(matematico, errore);
    errore.clear();
    Rapporto italia = RapportoItalia(PaginaItalia(d, errore), descrizione);
    aggiungiNota(italia, errore);
    return {RapportoInput(PaginaInput(d), descrizione), std::move(matematico), std::move(italia)};
}

// The account from its movements: how the scale gives the quarters' figures
// of the reference year, and the statements' balances checked. Nothing when
// the calculation has no movements for that year.
void sezioneMovimenti(const Documento& d, std::vector<Rapporto>& tabelle, QStringList& esaminati)
{
    std::vector<Rapporto> pagine = PagineMovimentiRelazione(d);
    if (pagine.empty())
        return;
    for (Rapporto& r : pagine)
        tabelle.push_back(std::move(r));
    const auto& movimenti = d.ContoCorrente().movimenti;
    const auto [primo, ultimo] = std::minmax_element(
        movimenti.begin(), movimenti.end(),
        [](const Movimento& a, const Movimento& b) { return a.dataContabile < b.dataContabile; });
    esaminati << QStringLiteral("Movimenti del conto")
              << (movimenti.empty() ? QStringLiteral("nessun movimento")
                                    : QStringLiteral("%1 movimenti dal %2 al %3")
                                          .arg(movimenti.size())
                                          .arg(TestoGiornoQt(primo->dataContabile), TestoGiornoQt(ultimo->dataContabile)));
}

// A financing's table from its page, with the reason when a rate could not
// be computed.
template <typename Dati>
Rapporto tabella(const Dati& p, Rapporto (*rapporto)(const Dati&, const QString&))
{
    Rapporto r = rapporto(p, p.descrizione);
    aggiungiNota(r, p.errore);
    return r;
}

bool operazioniConDati(const OPE& o)
{
    for (int k = 1; k <= 10; ++k)
        if (o.Importo(k) != 0)
            return true;
    return false;
}

// The line of the contents that names a page.
QString voce(const Rapporto& r)
{
    return r.sottotitolo.isEmpty() ? r.titolo : r.titolo + QStringLiteral(" - ") + r.sottotitolo;
}

// Rows a cover page holds between the title and the page number.
constexpr int RighePagina = 44;

// What a cover says: its heading lines (what, value; the first in bold), the
// things examined under their own heading, then the contents.
struct Copertina {
    QString titolo, sottotitolo;
    std::vector<std::pair<QString, QString>> dati;
    QString titoloEsaminati;
    QStringList esaminati;  // pairs: what, its description
    QString nessunoEsaminato;
};

// A line of the contents: its text and how many pages it stands for.
struct VoceIndice {
    QString testo;
    long long pagine = 1;
};

std::vector<VoceIndice> indiceDi(const std::vector<Rapporto>& pagine)
{
    std::vector<VoceIndice> v;
    for (const Rapporto& r : pagine)
        v.push_back({voce(r), pagineDi(r)});
    return v;
}

// The cover's page: `primaPagina` is its own first page, the contents start
// after its last. As many pages as its lines need.
Rapporto copertina(const Copertina& d, const std::vector<VoceIndice>& indice, long long primaPagina)
{
    Rapporto c;
    c.nome = QStringLiteral("Relazione");
    c.titolo = d.titolo;
    c.sottotitolo = d.sottotitolo;
    c.colonne = {{1, 1000, 0}, {2, 4500, 0}, {3, 10900, 2}};
    TabellaStampa& t = c.tabella;
    int n = 1;
    // A value too long for its place goes on over the next rows, broken
    // between words.
    constexpr double StanzaValore = 11000 - 4500;  // to the right edge the page keeps its texts in
    auto riga = [&](const QString& a, const QString& b, bool grassetto = false) {
        if (n > TabellaStampa::MaxRighe)
            return 0;
        const int prima = n;
        const QStringList pezzi = SpezzaStampa(b, grassetto, StanzaValore);
        for (int i = 0; i < pezzi.size() && n <= TabellaStampa::MaxRighe; ++i, ++n) {
            t.setTesto(n, 1, i == 0 ? a : QString());
            t.setTesto(n, 2, pezzi[i]);
            t.setRigaGrassetto(n, grassetto);
        }
        return prima;
    };
    for (std::size_t i = 0; i < d.dati.size(); ++i)
        riga(d.dati[i].first, d.dati[i].second, i == 0);
    ++n;
    riga(d.titoloEsaminati, QString(), true);
    for (int i = 0; i + 1 < d.esaminati.size(); i += 2)
        riga(d.esaminati[i], d.esaminati[i + 1]);
    if (d.esaminati.isEmpty())
        riga(d.nessunoEsaminato, QString());
    ++n;
    riga(QStringLiteral("Indice"), QString(), true);
    std::vector<int> righeIndice;
    for (const VoceIndice& v : indice)
        righeIndice.push_back(riga(v.testo, QString()));
    const int righe = std::min(n - 1, TabellaStampa::MaxRighe);
    c.RighePerPagina = std::min(righe, RighePagina);
    c.NumeroPagine = static_cast<double>(std::max(1, (righe + RighePagina - 1) / RighePagina));
    long long pagina = primaPagina + pagineDi(c);
    for (std::size_t k = 0; k < indice.size(); ++k) {
        if (righeIndice[k] > 0)
            t.setTesto(righeIndice[k], 3, QStringLiteral("pag. %1").arg(pagina));
        pagina += indice[k].pagine;
    }
    return c;
}

// A calculation's cover: its name, reference year and what it examines.
Copertina copertinaConteggio(const Documento& d, const QStringList& esaminati)
{
    Copertina c;
    c.titolo = QStringLiteral("Conteggio \u00ab%1\u00bb").arg(testo(d.NomeConteggio()));
    c.sottotitolo = QStringLiteral("Anno di riferimento %1").arg(d.AnnoRiferimento());
    c.dati = {{QStringLiteral("Conteggio"), testo(d.NomeConteggio())},
              {QStringLiteral("Anno di riferimento"), QString::number(d.AnnoRiferimento())}};
    c.titoloEsaminati = QStringLiteral("Rapporti esaminati");
    c.esaminati = esaminati;
    c.nessunoEsaminato = QStringLiteral("Il conteggio non contiene dati da esaminare.");
    return c;
}

// The overview's chart on a page of its own, across the page's width, with
// the totals under it.
Rapporto paginaGrafico(const DatiPaginaRiepilogo& d, FiguraPagina grafico)
{
    Rapporto r;
    r.nome = QStringLiteral("GraficoRiepilogo");
    r.titolo = d.titolo + QStringLiteral(": T.E.G. trimestrali e tasso soglia");
    r.sottotitolo = d.sottotitolo;
    r.colonne = {{1, 500, 0}};
    r.figura = std::move(grafico);
    r.areaFigura = {500, 2700, 10500, 6300};  // 5:3, as the saved chart
    int n = 22;  // the first row under the chart
    r.tabella.setTesto(n++, 1, d.TestoTotali());
    for (const QString& f : d.fonte.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        r.tabella.setTesto(n++, 1, f);
    r.RighePerPagina = n - 1;
    return r;
}

// ---- The recalculation of the account ---------------------------------------

// The chart of the two balances on a page of its own, the totals under it.
Rapporto paginaGraficoRicalcolo(std::shared_ptr<const DatiPaginaRicalcolo> d)
{
    Rapporto r;
    r.nome = QStringLiteral("GraficoRicalcolo");
    r.titolo = d->titolo + QStringLiteral(": saldo della banca e saldo ricalcolato");
    r.sottotitolo = d->sottotitolo;
    r.colonne = {{1, 500, 0}, {2, 4500, 0}};
    r.areaFigura = {500, 2700, 10500, 6300};  // 5:3, as the saved chart
    r.figura = [d](QPainter& p, const QRectF& area) { DisegnaGraficoRicalcolo(*d, p, area); };
    int n = 22;  // the first row under the chart
    for (const TotaleRicalcolo& t : d->totali) {
        r.tabella.setTesto(n, 1, t.voce);
        r.tabella.setTesto(n++, 2, t.risultato);
    }
    r.RighePerPagina = n - 1;
    return r;
}

// The recalculation, when the account has movements: the options with their
// laws and the quarters checked against the threshold; then, when the data
// allow it, the results per year and per quarter, each quarter's working,
// the remittances with the totals, and the chart. Without a result the
// first pages say why.
std::vector<Rapporto> sezioneRicalcolo(const Documento& d, QStringList& esaminati)
{
    std::vector<Rapporto> pagine;
    if (d.ContoCorrente().movimenti.empty())
        return pagine;
    const auto dati = std::make_shared<const DatiPaginaRicalcolo>(PaginaRicalcolo(d));
    const auto passaggi = [&pagine](const SezionePassaggi& s, const QString& titolo) {
        for (Rapporto& r : RapportiPassaggi(s)) {
            r.nome = QStringLiteral("StampaRicalcolo");
            r.titolo = titolo;
            pagine.push_back(std::move(r));
        }
    };
    const QString& titolo = dati->titolo;
    passaggi(PassaggiOpzioniRicalcolo(*dati), titolo + QStringLiteral(": opzioni e norme"));
    if (dati->Valido()) {
        for (const auto& [griglia, cosa] : {std::pair{&dati->anni, QStringLiteral(": risultati per anno")},
                                            std::pair{&dati->trimestri, QStringLiteral(": risultati per trimestre")}})
            for (Rapporto& r : RapportiRisultatiRicalcolo(*griglia, titolo + cosa, dati->sottotitolo))
                pagine.push_back(std::move(r));
        passaggi(PassaggiTrimestriRicalcolo(*dati), titolo + QStringLiteral(": i passaggi di ogni trimestre"));
        passaggi(PassaggiRimesseRicalcolo(*dati), titolo + QStringLiteral(": rimesse, prescrizione e totali"));
        pagine.push_back(paginaGraficoRicalcolo(dati));
    }
    esaminati << titolo << dati->sottotitolo;
    return pagine;
}

// ---- PDF document information ----------------------------------------------

// A PDF text string: UTF-16BE with its byte order mark, in hexadecimal.
QByteArray stringaPdf(const QString& s)
{
    QByteArray b = "<FEFF";
    for (const QChar c : s)
        b += QByteArray::number(c.unicode() + 0x10000, 16).right(4).toUpper();
    return b + '>';
}

// Qt writes only the title and the creator into the document information.
// This appends an incremental update (a new information dictionary, its
// cross-reference section and a trailer pointing back to Qt's) that also
// names the author and the subject. Unchanged when Qt's trailer is not found.
void completaInformazioni(QByteArray& pdf, const Relazione& r)
{
    const int coda = static_cast<int>(pdf.lastIndexOf("trailer"));
    const int inizioXref = static_cast<int>(pdf.lastIndexOf("startxref"));
    if (coda < 0 || inizioXref < coda)
        return;
    const QString trailer = QString::fromLatin1(pdf.mid(coda, inizioXref - coda));
    static const QRegularExpression dimensione(QStringLiteral("/Size\\s+(\\d+)"));
    static const QRegularExpression radice(QStringLiteral("/Root\\s+(\\d+\\s+\\d+\\s+R)"));
    static const QRegularExpression xref(QStringLiteral("startxref\\s+(\\d+)"));
    const auto d = dimensione.match(trailer), ra = radice.match(trailer);
    const auto x = xref.match(QString::fromLatin1(pdf.mid(inizioXref)));
    if (!d.hasMatch() || !ra.hasMatch() || !x.hasMatch())
        return;
    const int oggetto = d.captured(1).toInt();

    if (!pdf.endsWith('\n'))
        pdf += '\n';
    const qsizetype posizioneOggetto = pdf.size();
    const QByteArray adesso =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
    pdf += QByteArray::number(oggetto) + " 0 obj\n<<\n/Title " + stringaPdf(r.titolo) + "\n/Author "
           + stringaPdf(r.autore) + "\n/Subject " + stringaPdf(r.soggetto) + "\n/Creator "
           + stringaPdf(QStringLiteral("Zelvi T.E.G.")) + "\n/Producer "
           + stringaPdf(QStringLiteral("Zelvi T.E.G. (Qt %1)").arg(QLatin1String(qVersion())))
           + "\n/CreationDate (D:" + adesso + ")\n>>\nendobj\n";
    const qsizetype posizioneXref = pdf.size();
    pdf += "xref\n" + QByteArray::number(oggetto) + " 1\n"
           + QByteArray::number(posizioneOggetto).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<<\n/Size " + QByteArray::number(oggetto + 1) + "\n/Info " + QByteArray::number(oggetto)
           + " 0 R\n/Root " + ra.captured(1).toLatin1() + "\n/Prev " + x.captured(1).toLatin1()
           + "\n>>\nstartxref\n" + QByteArray::number(posizioneXref) + "\n%%EOF\n";
}

QString sceltaDiSistema(QWidget* genitore, const QString& proposto)
{
    return QFileDialog::getSaveFileName(genitore, QStringLiteral("Crea relazione PDF"), proposto,
                                        QStringLiteral("Documenti PDF (*.pdf)"));
}

QString nomeProposto(const QString& di)
{
    QString nome = QStringLiteral("Relazione T.E.G. - ") + di;
    for (const QChar c : QStringLiteral("\\/:*?\"<>|"))
        nome.replace(c, QLatin1Char(' '));
    return QDir(CartellaUscite()).filePath(nome.simplified() + QStringLiteral(".pdf"));
}

// Asks for the file, then writes the report `crea` builds. False when
// cancelled.
bool scriviScelta(QWidget* genitore, const QString& di, const std::function<Relazione()>& crea)
{
    QString file = (sceltaFile ? sceltaFile : sceltaDiSistema)(genitore, nomeProposto(di));
    if (file.isEmpty())
        return false;
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".pdf");
    ScriviRelazionePdf(crea(), file);
    return true;
}

} // namespace

std::vector<Rapporto> PagineConteggio(Documento& d, QStringList& esaminati, QString& fonteSoglie)
{
    std::vector<Rapporto> tabelle;
    sezioneMovimenti(d, tabelle, esaminati);
    if (contoConDati(d)) {
        for (Rapporto& r : tabelleConto(d))
            tabelle.push_back(std::move(r));
        esaminati << QStringLiteral("Conto corrente") << testo(d.Trimestri(1).Descrizione());
    }
    Mutuo& m = d.MutuoCorrente();
    if (m.Importo() != 0 || m.Rata() != 0) {
        tabelle.push_back(tabella(PaginaMutuoConContratto(d), RapportoMutuo));
        esaminati << QStringLiteral("Mutuo") << testo(m.Descrizione());
    }
    if (operazioniConDati(d.Operazioni())) {
        tabelle.push_back(tabella(PaginaOPE(d.Operazioni()), RapportoOPE));
        esaminati << QStringLiteral("Operazioni finanziarie varie") << testo(d.Operazioni().Descrizione());
    }
    BREVE& b = d.BreveCorrente();
    if (b.Finanziato() != 0 || b.Restituito() != 0) {
        tabelle.push_back(tabella(PaginaBreve(b), RapportoBreve));
        esaminati << QStringLiteral("Operazione di breve termine") << testo(b.Descrizione());
    }

    // The usury check after the tables whose rates it checks: the verdicts
    // as the check window shows them, then for each rate its steps, from the
    // same check.
    const DatiPaginaSoglia verifica = PaginaSoglia(d);
    // The cover names the series as data: its source and its last period.
    fonteSoglie = verifica.errore.isEmpty() ? TestoFonteSoglie() : QString();
    if (!verifica.righe.empty() || !verifica.errore.isEmpty())
        tabelle.push_back(RapportoSoglia(verifica));
    for (const SezionePassaggi& s : PassaggiVerifica(d, verifica.conto, verifica.esiti))
        for (Rapporto& r : RapportiPassaggi(s))
            tabelle.push_back(std::move(r));

    for (Rapporto& r : sezioneRicalcolo(d, esaminati))
        tabelle.push_back(std::move(r));
    return tabelle;
}

Relazione RelazioneConteggio(Documento& d, const QDate& data)
{
    QStringList esaminati;  // pairs: what, its description
    QString fonteSoglie;
    std::vector<Rapporto> tabelle = PagineConteggio(d, esaminati, fonteSoglie);

    Relazione r;
    const QString nome = testo(d.NomeConteggio());
    r.titolo = QStringLiteral("Relazione di calcolo del T.E.G. - ") + nome;
    r.soggetto = QStringLiteral("T.E.G. del conteggio \u00ab%1\u00bb, anno di riferimento %2")
                     .arg(nome)
                     .arg(d.AnnoRiferimento());
    Copertina c = copertinaConteggio(d, esaminati);
    c.titolo = QStringLiteral("Relazione di calcolo del T.E.G.");
    c.sottotitolo = QStringLiteral("Conteggio \u00ab%1\u00bb").arg(nome);
    c.dati.emplace_back(QStringLiteral("Data della relazione"), data.toString(QStringLiteral("dd/MM/yyyy")));
    if (!fonteSoglie.isEmpty())
        c.dati.emplace_back(QStringLiteral("Soglie d'usura"), fonteSoglie);
    r.pagine.push_back(copertina(c, indiceDi(tabelle), 1));
    for (Rapporto& t : tabelle)
        r.pagine.push_back(std::move(t));
    return r;
}

void DisegnaRelazione(const Relazione& r, QPainter& p, double k, std::vector<ElementoTesto>* registro)
{
    long long totale = 0;
    for (const Rapporto& pagina : r.pagine)
        totale += pagineDi(pagina);
    long long inizio = 1;
    for (std::size_t i = 0; i < r.pagine.size(); ++i) {
        const Rapporto& pagina = r.pagine[i];
        if (inizio > 1)
            if (auto* dispositivo = dynamic_cast<QPagedPaintDevice*>(p.device()))
                dispositivo->newPage();
        Rapporto copia = pagina;
        const QString sezione = i < r.sezioni.size() && !r.sezioni[i].isEmpty()
                                    ? r.sezioni[i] + QStringLiteral(" \u2013 ")
                                    : QString();
        copia.piede = [inizio, totale, sezione](long long n) {
            return sezione + QStringLiteral("pag. %1 di %2").arg(inizio + n - 1).arg(totale);
        };
        DisegnaRapporto(copia, p, k, registro);
        inizio += pagineDi(pagina);
    }
}

void ScriviRelazionePdf(const Relazione& r, const QString& percorso)
{
    QBuffer memoria;
    memoria.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&memoria);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Portrait);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setResolution(1200);
        pdf.setTitle(r.titolo);
        pdf.setCreator(QStringLiteral("Zelvi T.E.G."));
        QPainter p;
        if (!p.begin(&pdf))
            throw std::runtime_error("Impossibile preparare il documento PDF della relazione.");
        DisegnaRelazione(r, p, pdf.resolution() / 1440.0);
        if (!p.end())
            throw std::runtime_error("Impossibile completare il documento PDF della relazione.");
    }
    QByteArray dati = memoria.data();
    completaInformazioni(dati, r);
    ScriviFileIntero(percorso, dati);
}

void ImpostaSceltaFileRelazione(SceltaFileRelazione scelta) { sceltaFile = std::move(scelta); }

bool CreaRelazionePdf(Documento& d, QWidget* genitore)
{
    return scriviScelta(genitore, testo(d.NomeConteggio()), [&d] { return RelazioneConteggio(d, QDate::currentDate()); });
}

Relazione RelazioneInsieme(const std::vector<Documento*>& documenti, const DatiPaginaRiepilogo& riepilogo,
                           FiguraPagina grafico, const QDate& data)
{
    std::vector<Documento*> ordinati = documenti;
    std::stable_sort(ordinati.begin(), ordinati.end(), [](const Documento* a, const Documento* b) {
        return a->AnnoRiferimento() < b->AnnoRiferimento();
    });

    struct Sezione {
        Copertina dati;
        Rapporto copertina;
        std::vector<Rapporto> pagine;
    };
    std::vector<Sezione> sezioni;
    QString fonteSoglie;
    QStringList nomi, conteggi;
    for (Documento* d : ordinati) {
        QStringList esaminati;
        QString fonte;
        Sezione s;
        s.pagine = PagineConteggio(*d, esaminati, fonte);
        s.dati = copertinaConteggio(*d, esaminati);
        s.copertina = copertina(s.dati, indiceDi(s.pagine), 1);  // numbered below
        if (fonteSoglie.isEmpty())
            fonteSoglie = fonte;
        QStringList cosa;
        for (int i = 0; i < esaminati.size(); i += 2)
            cosa << esaminati[i];
        nomi << testo(d->NomeConteggio());
        conteggi << nomi.last()
                 << QStringLiteral("anno di riferimento %1%2")
                        .arg(d->AnnoRiferimento())
                        .arg(cosa.isEmpty() ? QString() : QStringLiteral(" \u2013 ") + cosa.join(QStringLiteral(", ")));
        sezioni.push_back(std::move(s));
    }
    Rapporto tabella = RapportoRiepilogo(riepilogo);
    Rapporto figura = paginaGrafico(riepilogo, std::move(grafico));

    Relazione r;
    r.titolo = QStringLiteral("Relazione di calcolo del T.E.G. - Riepilogo pluriennale");
    r.soggetto = QStringLiteral("T.E.G. dei conteggi ") + nomi.join(QStringLiteral(", "));
    if (!ordinati.empty())
        r.soggetto += QStringLiteral(", anni di riferimento %1\u2013%2")
                          .arg(ordinati.front()->AnnoRiferimento())
                          .arg(ordinati.back()->AnnoRiferimento());

    Copertina c;
    c.titolo = QStringLiteral("Relazione di calcolo del T.E.G.");
    c.sottotitolo = riepilogo.titolo + QStringLiteral(": ") + nomi.join(QStringLiteral(", "));
    c.dati = {{riepilogo.titolo, QStringLiteral("%1 conteggi").arg(nomi.size())},
              {QStringLiteral("Data della relazione"), data.toString(QStringLiteral("dd/MM/yyyy"))}};
    if (!fonteSoglie.isEmpty())
        c.dati.emplace_back(QStringLiteral("Soglie d'usura"), fonteSoglie);
    c.titoloEsaminati = QStringLiteral("Conteggi esaminati");
    c.esaminati = conteggi;
    c.nessunoEsaminato = QStringLiteral("Nessun conteggio letto.");
    std::vector<VoceIndice> indice = indiceDi({tabella, figura});
    for (const Sezione& s : sezioni) {
        long long pagine = pagineDi(s.copertina);
        for (const Rapporto& t : s.pagine)
            pagine += pagineDi(t);
        indice.push_back({voce(s.copertina), pagine});
    }
    r.pagine.push_back(copertina(c, indice, 1));

    // Each calculation's section opens with its own cover, whose contents
    // give the pages' numbers in the whole document.
    long long pagina = 1 + pagineDi(r.pagine.front()) + pagineDi(tabella) + pagineDi(figura);
    r.pagine.push_back(std::move(tabella));
    r.pagine.push_back(std::move(figura));
    r.sezioni.resize(r.pagine.size());
    for (std::size_t k = 0; k < sezioni.size(); ++k) {
        Sezione& s = sezioni[k];
        s.copertina = copertina(s.dati, indiceDi(s.pagine), pagina);
        pagina += pagineDi(s.copertina);
        r.pagine.push_back(std::move(s.copertina));
        for (Rapporto& t : s.pagine) {
            pagina += pagineDi(t);
            r.pagine.push_back(std::move(t));
        }
        r.sezioni.resize(r.pagine.size(), nomi[static_cast<qsizetype>(k)]);
    }
    return r;
}

bool CreaRelazioneInsieme(QWidget* genitore, const std::vector<Documento*>& documenti,
                          const DatiPaginaRiepilogo& riepilogo, FiguraPagina grafico)
{
    return scriviScelta(genitore, riepilogo.titolo, [&] {
        return RelazioneInsieme(documenti, riepilogo, grafico, QDate::currentDate());
    });
}
