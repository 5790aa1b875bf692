#include "modStampa.h"

#include "Griglia.h"

#include <QBuffer>
#include <QDate>
#include <QDateTime>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

QString titolo(const QString& descrizione) { return QStringLiteral("T.E.G. su ") + descrizione; }

QImage logoImpostato;

// Two-column summary of the short-term and mortgage windows.
Rapporto riepilogo(const QString& nome, const QString& descrizione)
{
    Rapporto r;
    r.nome = nome;
    r.titolo = titolo(descrizione);
    r.RighePerPagina = 9;
    r.colonne = {{1, 500, 0}, {2, 5150, 2}};
    r.tabella.setRigaGrassetto(8, true);
    r.tabella.setRigaGrassetto(9, true);
    return r;
}

void riga(TabellaStampa& t, int r, const QString& a, const QString& b)
{
    t.setTesto(r, 1, a);
    t.setTesto(r, 2, b);
}

bool iniziaCon(const QString& testo, const QString& prefisso)
{
    return testo.left(prefisso.size()).toLower() == prefisso;
}

// Copies a grid into the print table from row 1 and column 1; the table's
// limits bound what is read.
template <typename Regola>
void leggiGriglia(const Griglia& g, Rapporto& r, Regola regola)
{
    const int righe = std::min(g.Righe(), TabellaStampa::MaxRighe);
    const int colonne = std::min(g.Colonne(), TabellaStampa::MaxColonne);
    for (int i = 0; i < righe; ++i)
        for (int c = 0; c < colonne; ++c) {
            r.tabella.setTesto(i + 1, c + 1, g.Testo(i, c));
            regola(i + 1, c, g.Testo(i, c));
        }
    r.RighePerPagina = righe;
}

} // namespace

QString TestoData(const QDate& data)
{
    return data.isValid() ? data.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

Rapporto RapportoBreve(const DatiPaginaBreve& d, const QString& descrizione)
{
    Rapporto r = riepilogo(QStringLiteral("StampaBreve"), descrizione);
    TabellaStampa& t = r.tabella;
    riga(t, 1, QStringLiteral("Descrizione operazione"), d.descrizione);
    riga(t, 2, QStringLiteral("Importo finanziato"), d.importi[0]);
    riga(t, 3, QStringLiteral("Oneri trattenuti sul finanziato"), d.importi[1]);
    riga(t, 4, QStringLiteral("Data di erogazione"), TestoData(d.data0));
    riga(t, 5, QStringLiteral("Data di restituzione"), TestoData(d.data1));
    riga(t, 6, QStringLiteral("Importo restituito a scadenza"), d.importi[2]);
    riga(t, 8, QStringLiteral("T.E.G. di periodo"), d.tassoPeriodo);
    riga(t, 9, QStringLiteral("T.E.G. su base annuale"), d.tassoAnnuale);
    return r;
}

Rapporto RapportoMutuo(const DatiPaginaMutuo& d, const QString& descrizione)
{
    Rapporto r = riepilogo(QStringLiteral("StampaMutuo"), descrizione);
    TabellaStampa& t = r.tabella;
    riga(t, 1, QStringLiteral("Descrizione mutuo"), d.descrizione);
    riga(t, 2, QStringLiteral("Importo finanziato"), d.importi[0]);
    riga(t, 3, QStringLiteral("Oneri trattenuti sul finanziato"), d.importi[1]);
    riga(t, 4, QStringLiteral("Importo rata comprensiva di spese"), d.importi[2]);
    riga(t, 5, QStringLiteral("Periodicità rata"), d.periodicita);
    riga(t, 6, QStringLiteral("Numero complessivo di rate"), d.numeroRate);
    riga(t, 8, d.intestazione, d.tassoPeriodo);
    riga(t, 9, d.didascaliaAnnuale, d.tassoAnnuale);
    return r;
}

Rapporto RapportoOPE(const DatiPaginaOPE& d, const QString& descrizione)
{
    Rapporto r;
    r.nome = QStringLiteral("StampaOPE");
    r.titolo = titolo(descrizione);
    r.colonne = {{1, 1000, 2}, {2, 1500, 0}, {3, 3450, 2}, {4, 4400, 0}};
    TabellaStampa& t = r.tabella;
    t.setTesto(1, 1, QStringLiteral("Flussi"));
    t.setTesto(3, 1, QStringLiteral("N."));
    t.setTesto(3, 2, QStringLiteral("Data"));
    t.setTesto(3, 3, QStringLiteral("Importo"));
    t.setTesto(3, 4, QStringLiteral("Segno"));
    t.setRigaGrassetto(1, true);
    t.setRigaGrassetto(3, true);
    int m = 3;
    for (const DatiRigaOPE& f : d.righe) {
        if (f.valore == 0)
            continue;
        ++m;
        t.setTesto(m, 1, QString::number(m - 3));
        t.setTesto(m, 2, f.meseAnno);
        t.setTesto(m, 3, f.importo);
        t.setTesto(m, 4, f.segno);
    }
    m += 2;
    t.setTesto(m, 2, d.didascalia);
    t.setTesto(m, 4, d.tasso);
    t.setRigaGrassetto(m, true);
    r.RighePerPagina = m;
    return r;
}

Rapporto RapportoInput(const DatiPaginaInput& d, const QString& descrizione)
{
    static const char* const etichette[7] = {
        "Numeri debitori", "Interessi addebitati", "Commissione % su scoperti",
        "   di cui comm. su max scoperto", "Oneri e spese fisse",
        "Giorni valuta medi per operazione", "Fido accordato"};
    // The page's rows (XPText1 .. XPText8) in the order of the labels.
    static const int campi[7] = {0, 1, 2, 5, 3, 4, 6};
    Rapporto r;
    r.nome = QStringLiteral("StampaInput");
    r.titolo = titolo(descrizione);
    r.sottotitolo = QStringLiteral("Dati di input");
    r.colonne = {{1, 1000, 0}, {2, 4500, 2}, {3, 6500, 2}, {4, 8500, 2}, {5, 10500, 2}};
    r.RighePerPagina = 10;
    TabellaStampa& t = r.tabella;
    t.setTesto(1, 1, QStringLiteral("Anno di riferimento"));
    t.setTesto(1, 2, d.anno);
    t.setTesto(3, 2, QStringLiteral("I Trimestre"));
    t.setTesto(3, 3, QStringLiteral("II Trimestre"));
    t.setTesto(3, 4, QStringLiteral("III Trimestre"));
    t.setTesto(3, 5, QStringLiteral("IV Trimestre"));
    for (int k = 0; k < 7; ++k) {
        t.setTesto(4 + k, 1, QString::fromUtf8(etichette[k]));
        for (int q = 0; q < 4; ++q)
            t.setTesto(4 + k, q + 2, d.campi[campi[k]][q]);
    }
    t.setRigaGrassetto(1, true);
    t.setRigaGrassetto(3, true);
    return r;
}

Rapporto RapportoMatematico(const Griglia& g, const QString& descrizione)
{
    Rapporto r;
    r.nome = QStringLiteral("StampaMatematico");
    r.titolo = titolo(descrizione);
    r.sottotitolo = QStringLiteral("Calcolo con procedura analitica");
    r.colonne = {{1, 500, 0},
                 {2, 4450, 2},
                 {4, 5200, 0, RegolaGrassetto::LineaUguale},
                 {5, 9150, 2, RegolaGrassetto::LineaUguale},
                 {6, 10950, 2, RegolaGrassetto::LineaUguale}};
    r.lineeTrimestri = true;
    TabellaStampa& t = r.tabella;
    leggiGriglia(g, r, [&t](int riga, int c, const QString& testo) {
        if (c > 0 && iniziaCon(testo, QStringLiteral("trimestre"))) {
            t.setTesto(riga, c + 1, QString());
            t.setRigaGrassetto(riga, true);
        }
        if (iniziaCon(testo, QStringLiteral("incidenza")))
            t.setTesto(riga, c + 1, QStringLiteral("Incidenza %"));
    });
    if (r.RighePerPagina > 0)
        t.setRigaGrassetto(r.RighePerPagina, true);
    return r;
}

Rapporto RapportoItalia(const Griglia& g, const QString& descrizione)
{
    Rapporto r;
    r.nome = QStringLiteral("StampaItalia");
    r.titolo = titolo(descrizione);
    r.sottotitolo = QStringLiteral("Calcolo con procedura della Banca d'Italia");
    r.colonne = {{1, 1000, 0}, {2, 4950, 2}, {4, 6200, 0}, {5, 10150, 2}};
    TabellaStampa& t = r.tabella;
    leggiGriglia(g, r, [&t](int riga, int c, const QString& testo) {
        if ((c == 1 || c == 4) && iniziaCon(testo, QStringLiteral("trimestre"))) {
            t.setTesto(riga, c + 1, QString());
            t.setRigaGrassetto(riga, true);
        }
        if (iniziaCon(testo, QStringLiteral("t.e.g.")))
            t.setRigaGrassetto(riga, true);
    });
    r.figura = DisegnaFormula;
    return r;
}

// ---------------------------------------------------------------------------
// The page frame

QString FamigliaCarattere()
{
    static const QString famiglia = [] {
        const QStringList installate = QFontDatabase::families();
        for (const char* f : {"MS Sans Serif", "Liberation Sans", "DejaVu Sans", "Arial"})
            if (installate.contains(QString::fromLatin1(f), Qt::CaseInsensitive))
                return QString::fromLatin1(f);
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return famiglia;
}

int PuntiCarattere(int codiceDimensione) { return codiceDimensione == 0 ? 7 : codiceDimensione - 1; }

namespace {

QFont carattere(bool grassetto, bool corsivo, int codiceDimensione)
{
    QFont f(FamigliaCarattere());
    f.setPointSizeF(std::max(1, PuntiCarattere(codiceDimensione)));
    f.setBold(grassetto);
    f.setItalic(corsivo);
    f.setUnderline(false);
    f.setStrikeOut(false);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// What the page's texts keep inside, in twips from the page's left edge (an
// A4 page is 11906 twips wide): the right edge is the date's, where the
// page's frame ends; and the least room between two texts.
constexpr double MargineSinistro = 400;
constexpr double MargineDestro = 11100;
constexpr double Distacco = 100;
// The block of full texts sits above the page number, in lines of this height.
constexpr double FineBlocco = 15850;
constexpr double RigaBlocco = 200;

// A text as it fits a room of `stanza` twips in that font: itself, or its
// start followed by "…". larghezza receives the width in twips.
QString accorcia(QPainter& p, double k, const QFont& f, const QString& testo, double stanza,
                 double& larghezza)
{
    const QFontMetricsF fm(f, p.device());
    larghezza = fm.horizontalAdvance(testo) / k;
    if (larghezza <= stanza)
        return testo;
    const QString corto = fm.elidedText(testo, Qt::ElideRight, std::max(0.0, stanza) * k);
    larghezza = fm.horizontalAdvance(corto) / k;
    return corto;
}

// A long text broken into lines no wider than `larghezza` twips, at blanks
// where it can, inside a word where one word alone is too wide.
QStringList aCapo(QPainter& p, double k, const QFont& f, const QString& testo, double larghezza)
{
    const QFontMetricsF fm(f, p.device());
    const double massimo = larghezza * k;
    QStringList righe;
    QString riga;
    for (const QString& parola : testo.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString prova = riga.isEmpty() ? parola : riga + QLatin1Char(' ') + parola;
        if (fm.horizontalAdvance(prova) <= massimo) {
            riga = prova;
            continue;
        }
        if (!riga.isEmpty())
            righe << riga;
        riga = parola;
        while (fm.horizontalAdvance(riga) > massimo && riga.size() > 1) {
            int n = riga.size() - 1;
            while (n > 1 && fm.horizontalAdvance(riga.left(n)) > massimo)
                --n;
            righe << riga.left(n);
            riga = riga.mid(n);
        }
    }
    if (!riga.isEmpty())
        righe << riga;
    return righe;
}

// Records a text that did not fit, unless one recorded already holds it.
void ricorda(QStringList& completi, const QString& testo)
{
    for (QString& c : completi) {
        if (c.contains(testo))
            return;
        if (testo.contains(c)) {
            c = testo;
            return;
        }
    }
    completi << testo;
}

// One centred heading line, shortened to the page.
void stampaIntestazione(QPainter& p, double k, int y, const QString& testo, int codice,
                        QStringList& completi, std::vector<ElementoTesto>* registro)
{
    const double stanza = 2 * std::min(6000 - MargineSinistro, MargineDestro - 6000);
    double w = 0;
    const QString corto = accorcia(p, k, carattere(true, false, codice), testo, stanza, w);
    if (corto != testo)
        ricorda(completi, testo);
    StampaTesto(p, k, 6000, y, corto, true, false, codice, 1, QString(), registro);
}

} // namespace

void StampaTesto(QPainter& p, double k, int x, int y, const QString& testo, bool grassetto,
                 bool corsivo, int codiceDimensione, int allineamento, const QString& colore,
                 std::vector<ElementoTesto>* registro)
{
    p.setFont(carattere(grassetto, corsivo, codiceDimensione));
    p.setPen(colore == QLatin1String("rosso") ? QColor(255, 0, 0) : QColor(0, 0, 0));

    const QFontMetricsF fm(p.font(), p.device());
    const double larghezza = fm.horizontalAdvance(testo);
    double sinistra = x * k;
    if (allineamento == 1)
        sinistra -= larghezza / 2;
    else if (allineamento == 2)
        sinistra -= larghezza;
    p.drawText(QPointF(sinistra, y * k + fm.ascent()), testo);

    if (registro)
        registro->push_back({x, y, testo, grassetto, corsivo, codiceDimensione, allineamento, colore});
}

void DisegnaRapporto(const Rapporto& r, QPainter& p, double k, std::vector<ElementoTesto>* registro)
{
    // Job set-up: black, plain, 8 points.
    p.setPen(QColor(0, 0, 0));
    QFont base(FamigliaCarattere());
    base.setPointSize(8);
    p.setFont(base);
    p.setRenderHint(QPainter::SmoothPixmapTransform);

    const QImage logo = !r.logo.isNull() ? r.logo : !logoImpostato.isNull() ? logoImpostato : LogoStampa(4);
    const long long pagine = std::llround(r.NumeroPagine);
    int i = 0;
    for (long long pagina = 1; pagina <= pagine; ++pagina) {
        p.drawImage(QRectF(500 * k, 700 * k, 2025 * k, 900 * k), logo);
        const QString momento = QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        StampaTesto(p, k, 11100, 1000, QLatin1Char('[') + momento + QLatin1Char(']'), false, false,
                    0, 2, QString(), registro);
        // Texts too long for their place are shortened with "…" and
        // printed in full in a block at the foot of the page.
        QStringList completi;
        stampaIntestazione(p, k, 1900, r.titolo, 12, completi, registro);
        if (!r.sottotitolo.isEmpty())
            stampaIntestazione(p, k, 2300, r.sottotitolo, 10, completi, registro);

        double fineContenuto = 2540;
        for (int n = 1; n <= r.RighePerPagina && i < TabellaStampa::MaxRighe; ++n) {
            ++i;
            const int y = 2540 + 300 * n;
            fineContenuto = y + 250;
            struct Cella {
                const ColonnaStampa* c;
                QString testo;
                bool grassetto;
                double larghezza;
            };
            std::vector<Cella> celle;
            for (const ColonnaStampa& c : r.colonne) {
                const QString& testo = r.tabella.Testo(i, c.colonna);
                if (testo.isEmpty())
                    continue;
                bool grassetto = r.tabella.RigaGrassetto(i);
                if (c.regola == RegolaGrassetto::LineaUguale)
                    grassetto = r.tabella.Testo(i, 4).startsWith(QLatin1Char('='))
                                || n == r.RighePerPagina;
                const QFontMetricsF fm(carattere(grassetto, false, 0), p.device());
                celle.push_back({&c, testo, grassetto, fm.horizontalAdvance(testo) / k});
            }
            std::stable_sort(celle.begin(), celle.end(),
                             [](const Cella& a, const Cella& b) { return a.c->x < b.c->x; });
            // Each text has the room from the end of the one on its left to
            // the start of the one on its right; a text on the right aligned
            // to its right edge keeps at least half the gap between the two.
            double fine = MargineSinistro;
            for (std::size_t j = 0; j < celle.size(); ++j) {
                Cella& c = celle[j];
                const double x = c.c->x;
                double limite = MargineDestro;
                if (j + 1 < celle.size()) {
                    const Cella& s = celle[j + 1];
                    const double meta = std::max(0.0, (s.c->x - std::max(x, fine)) / 2);
                    double inizio = s.c->x;
                    if (s.c->allineamento == 2)
                        inizio -= std::min(s.larghezza, meta);
                    else if (s.c->allineamento == 1)
                        inizio -= std::min(s.larghezza / 2, meta);
                    limite = std::min(limite, inizio - Distacco);
                }
                double stanza = limite - x;
                if (c.c->allineamento == 2)
                    stanza = std::min(x, MargineDestro) - fine;
                else if (c.c->allineamento == 1)
                    stanza = 2 * std::min(x - fine, limite - x);
                double w = 0;
                const QString corto = accorcia(p, k, carattere(c.grassetto, false, 0), c.testo, stanza, w);
                if (corto != c.testo)
                    ricorda(completi, c.testo);
                fine = (c.c->allineamento == 0 ? x + w : c.c->allineamento == 1 ? x + w / 2 : x) + Distacco;
                if (!corto.isEmpty())
                    StampaTesto(p, k, c.c->x, y, corto, c.grassetto, false, 0, c.c->allineamento,
                                QString(), registro);
            }
            if (r.lineeTrimestri && (n == 10 || n == 20 || n == 30 || n == 40)) {
                p.setPen(QPen(QColor(0, 0, 0), std::max(1.0, 15 * k)));
                p.drawLine(QPointF(500 * k, y * k), QPointF(11000 * k, y * k));
            }
        }
        if (r.figura) {
            const auto& [x, y, larghezza, altezza] = r.areaFigura;
            r.figura(p, QRectF(x * k, y * k, larghezza * k, altezza * k));
            fineContenuto = std::max(fineContenuto, y + altezza + 100.0);
        }
        if (!completi.isEmpty()) {
            const QFont f = carattere(false, false, 0);
            QStringList righe;
            for (const QString& t : completi)
                righe << aCapo(p, k, f, t, MargineDestro - 500);
            const int spazio = static_cast<int>((FineBlocco - fineContenuto) / RigaBlocco);
            if (righe.size() > spazio && spazio > 0) {
                // What does not fit ends the last line with "…".
                const QFontMetricsF fm(f, p.device());
                const double massimo = (MargineDestro - 500) * k;
                righe = righe.mid(0, spazio);
                QString& ultima = righe.last();
                while (!ultima.isEmpty() && fm.horizontalAdvance(ultima + QStringLiteral("\u2026")) > massimo)
                    ultima.chop(1);
                ultima += QStringLiteral("\u2026");
            }
            double y = std::max(fineContenuto, FineBlocco - RigaBlocco * righe.size());
            for (const QString& riga : righe) {
                if (y + RigaBlocco > FineBlocco + 1)
                    break;
                StampaTesto(p, k, 500, static_cast<int>(y), riga, false, false, 0, 0, QString(), registro);
                y += RigaBlocco;
            }
        }

        StampaTesto(p, k, 6000, 16000,
                    r.piede ? r.piede(pagina) : QStringLiteral("Pagina %1 di %2").arg(pagina).arg(pagine), false, true, 0, 2,
                    QString(), registro);
        if (pagina < pagine)
            if (auto* dispositivo = dynamic_cast<QPagedPaintDevice*>(p.device()))
                dispositivo->newPage();
    }
}

void PreparaStampante(const Rapporto& r, QPrinter& stampante)
{
    stampante.setFullPage(true);
    stampante.setPageSize(QPageSize(QPageSize::A4));
    stampante.setPageOrientation(QPageLayout::Portrait);
    stampante.setDocName(r.titolo);
    stampante.setCreator(QStringLiteral("Zelvi T.E.G."));
}

bool StampaSuStampante(const Rapporto& r, QPrinter& stampante)
{
    PreparaStampante(r, stampante);
    QPainter p;
    if (!p.begin(&stampante))
        return false;
    DisegnaRapporto(r, p, stampante.resolution() / 1440.0);
    const bool chiuso = p.end();
    return chiuso && stampante.printerState() != QPrinter::Error
           && stampante.printerState() != QPrinter::Aborted;
}

QByteArray RapportoPdf(const Rapporto& r)
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
            throw std::runtime_error("Impossibile preparare il documento PDF.");
        DisegnaRapporto(r, p, pdf.resolution() / 1440.0);
        if (!p.end())
            throw std::runtime_error("Impossibile completare il documento PDF.");
    }
    return memoria.data();
}

// ---------------------------------------------------------------------------
// Pictures

QImage LogoStampa(int scala)
{
    // 188 x 84: about the proportions of the printed box, so the name is not
    // stretched when the picture is scaled into it.
    scala = std::max(1, scala);
    QImage img(188 * scala, 84 * scala, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(scala, scala);

    QLinearGradient sfondo(0, 0, 0, 84);
    sfondo.setColorAt(0, QColor(36, 88, 136));
    sfondo.setColorAt(1, QColor(18, 46, 74));
    p.setPen(Qt::NoPen);
    p.setBrush(sfondo);
    p.drawRoundedRect(QRectF(1, 1, 186, 82), 8, 8);

    QFont f(FamigliaCarattere());
    f.setPixelSize(30);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 8, 188, 40), Qt::AlignCenter, QStringLiteral("Zelvi T.E.G."));

    p.setPen(QPen(QColor(242, 169, 0), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(24, 52), QPointF(164, 52));

    f.setPixelSize(12);
    f.setBold(false);
    p.setFont(f);
    p.setPen(QColor(230, 236, 244));
    p.drawText(QRectF(0, 56, 188, 20), Qt::AlignCenter, QStringLiteral("tasso effettivo globale"));
    return img;
}

void ImpostaLogo(const QImage& logo) { logoImpostato = logo; }

void DisegnaFormula(QPainter& p, const QRectF& rettangolo)
{
    // Drawn on a 317 x 97 design grid, scaled to the rectangle.
    p.save();
    p.translate(rettangolo.topLeft());
    p.scale(rettangolo.width() / 317.0, rettangolo.height() / 97.0);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 0), 1));

    QFont intestazione(FamigliaCarattere());
    intestazione.setPixelSize(13);
    intestazione.setBold(true);
    intestazione.setHintingPreference(QFont::PreferNoHinting);
    p.setFont(intestazione);
    p.drawText(QPointF(4, 15), QStringLiteral("Formula della Banca d'Italia:"));

    QFont f(FamigliaCarattere());
    f.setPixelSize(13);
    f.setHintingPreference(QFont::PreferNoHinting);
    p.setFont(f);
    const QFontMetricsF fm(f);
    const double linea = 62, sopra = linea - 4, sotto = linea + fm.ascent() + 2;
    double x = 4;
    auto testo = [&](const QString& t) {
        p.drawText(QPointF(x, linea + fm.ascent() / 2 - 2), t);
        x += fm.horizontalAdvance(t);
    };
    auto frazione = [&](const QString& num, const QString& den) {
        const double w = std::max(fm.horizontalAdvance(num), fm.horizontalAdvance(den)) + 6;
        p.drawText(QPointF(x + (w - fm.horizontalAdvance(num)) / 2, sopra), num);
        p.drawLine(QPointF(x, linea), QPointF(x + w, linea));
        p.drawText(QPointF(x + (w - fm.horizontalAdvance(den)) / 2, sotto), den);
        x += w;
    };
    testo(QStringLiteral("T.E.G.% = "));
    frazione(QStringLiteral("Interessi x 365(6)"), QStringLiteral("Numeri capitale"));
    testo(QStringLiteral(" + "));
    frazione(QStringLiteral("Oneri x 100"), QStringLiteral("Accordato"));
    p.restore();
}
