#include "PassaggiVerifica.h"

#include "Dichiarazioni.h"
#include "Funzioni.h"
#include "PaginaSoglia.h"
#include "PagineFinanziamenti.h"
#include "PassaggiContratto.h"
#include "modStampa.h"

#include <QDate>
#include <QFontMetricsF>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <exception>

using namespace std::chrono;

namespace {

const QString Per = QStringLiteral(" \u00d7 ");
const QString Meno = QStringLiteral(" \u2212 ");
const QChar SpazioFisso(0x00A0);

QString Testo(const std::string& s) { return QString::fromStdString(s); }

// A rate as the windows show it ("14,000%"); the reason when there is none.
QString TassoFinestra(double tasso)
{
    if (tasso == DatiIncoerenti || !std::isfinite(tasso * 100))
        return QStringLiteral("dati incoerenti");
    return Testo(FormatoTasso(tasso));
}

QString Data(sys_days d) { return DataQt(d).toString(QStringLiteral("dd/MM/yyyy")); }

// A figure that may be negative inside a sum: "− 50" rather than "+ −50".
QString Aggiungi(const QString& somma, double valore, const QString& testo)
{
    return somma + (valore < 0 ? Meno + testo.mid(1) : QStringLiteral(" + ") + testo);
}

QString Romano(int q)
{
    static const char* const romani[] = {"I", "II", "III", "IV"};
    return QString::fromLatin1(romani[q - 1]);
}

// A section's heading: what it is and, when given, its description.
QString Intestazione(const QString& cosa, const std::string& descrizione)
{
    const QString testo = Testo(descrizione).simplified();
    return testo.isEmpty() ? cosa : cosa + QStringLiteral(" \u2013 ") + testo;
}

// "mensile", "trimestrale", ... for instalments per year.
QString Periodicita(int rateAnnue)
{
    switch (rateAnnue) {
    case 12: return QStringLiteral("mensile");
    case 6: return QStringLiteral("bimestrale");
    case 4: return QStringLiteral("trimestrale");
    case 3: return QStringLiteral("quadrimestrale");
    case 2: return QStringLiteral("semestrale");
    case 1: return QStringLiteral("annuale");
    }
    return QStringLiteral("del periodo");
}

// ---- The rate of each operation ---------------------------------------------

BloccoPassaggi Trimestre(const Documento& d, int q)
{
    BloccoPassaggi b;
    b.push_back({Intestazione(QStringLiteral("Conto corrente, trimestre %1 %2").arg(Romano(q)).arg(d.AnnoRiferimento()),
                              d.Trimestri(1).Descrizione()),
                 0, true});
    BOX t = d.Trimestri(q);
    try {
        t.Aggiorna();
    } catch (const std::exception& e) {
        b.push_back({QStringLiteral("Il trimestre non si calcola: %1").arg(QString::fromUtf8(e.what())), 1});
        return b;
    }
    const int g = t.GiorniTrimestre();
    b.push_back({QStringLiteral("T.E.G. del programma (tabella del calcolo con procedura della Banca "
                                "d'Italia, manuale 4.3):"),
                 1});
    if (t.GiorniValuta() != 0)
        b.push_back({QStringLiteral("Numeri capitale = Numeri \u00d7 (G \u2212 giorni di valuta) / G = ") +
                         NumeroNelTesto(t.Numeri(), 0, 2) + Per + QLatin1Char('(') + QString::number(g) + Meno +
                         NumeroNelTesto(t.GiorniValuta(), 0, 2) + QStringLiteral(") / ") + QString::number(g) +
                         QStringLiteral(" = ") + NumeroNelTesto(t.TEGnumeri(), 0, 2),
                     2});
    b.push_back({QStringLiteral("Oneri = Commissioni + Spese \u2212 CMS = ") + ImportoNelTesto(t.Commissioni()) +
                     QStringLiteral(" + ") + ImportoNelTesto(t.Spese()) + Meno + ImportoNelTesto(t.CMS()) +
                     QStringLiteral(" = ") + ImportoNelTesto(t.TEGoneri()),
                 2});
    b.push_back({QStringLiteral("T.E.G. = Interessi \u00d7 %1 \u00d7 100 / Numeri capitale + Oneri \u00d7 100 / "
                                "Fido accordato")
                     .arg(t.GiorniAnno()),
                 2});
    b.push_back({QStringLiteral("T.E.G. = ") + FormulaProgramma(t, t.GiorniAnno()), 2});
    if (t.Accordato() == 0)
        b.push_back({QStringLiteral("Senza fido accordato gli oneri non entrano nel T.E.G. del programma."), 2});

    b.push_back({QStringLiteral("T.E.G. secondo le istruzioni della Banca d'Italia di luglio 2016:"), 1});
    b.push_back({BaseIstruzioni2016(t), 2});
    b.push_back({QStringLiteral("Oneri = Commissioni + Spese = ") + ImportoNelTesto(t.Commissioni()) +
                     QStringLiteral(" + ") + ImportoNelTesto(t.Spese()) + QStringLiteral(" = ") +
                     ImportoNelTesto(t.Commissioni() + t.Spese()),
                 2});
    b.push_back({QStringLiteral("T.E.G. = Interessi \u00d7 36 500 / Numeri + Oneri \u00d7 4 \u00d7 100 / B"), 2});
    b.push_back({QStringLiteral("T.E.G. = ") + FormulaIstruzioni2016(t), 2});
    return b;
}

BloccoPassaggi MutuoPassaggi(const Documento& d)
{
    BloccoPassaggi b;
    Mutuo m = d.MutuoCorrente();
    b.push_back({Intestazione(QStringLiteral("Mutuo"), m.Descrizione()), 0, true});
    try {
        m.Aggiorna();
    } catch (const std::exception& e) {
        b.push_back({QStringLiteral("Il mutuo non si calcola: %1").arg(QString::fromUtf8(e.what())), 1});
        return b;
    }
    const int n = static_cast<int>(m.NRate()), annue = static_cast<int>(m.RateAnnuali());
    b.push_back({QStringLiteral("Il tasso del periodo i rende il valore attuale delle rate uguale alla somma "
                                "ricevuta:"),
                 1});
    b.push_back(
        {QStringLiteral("Importo finanziato \u2212 Oneri = Rata \u00d7 \u03a3 (k = 1\u2026N) (1 + i)^\u2212k"), 2});
    b.push_back({ImportoNelTesto(m.Importo()) + Meno + ImportoNelTesto(m.Oneri()) + QStringLiteral(" = ") +
                     ImportoNelTesto(m.Rata()) +
                     QStringLiteral(" \u00d7 \u03a3 (k = 1\u2026%1) (1 + i)^\u2212k").arg(n),
                 2});
    b.push_back({QStringLiteral("T.E.G. annuale = (1 + i)^%1 \u2212 1 (%2 rate l'anno, periodicit\u00e0 %3)")
                     .arg(annue)
                     .arg(annue)
                     .arg(Periodicita(annue)),
                 1});
    if (m.TEGperiodoEsatto() && m.TEGannualeEsatto())
        b.push_back({QStringLiteral("Tasso esatto: i = %1 %2; T.E.G. esatto = (1 + i)^%3 \u2212 1 = %4")
                         .arg(TassoFinestra(*m.TEGperiodoEsatto()), Periodicita(annue))
                         .arg(annue)
                         .arg(TassoFinestra(*m.TEGannualeEsatto())),
                     2});
    else
        b.push_back({QStringLiteral("Tasso esatto: l'equazione non ha una soluzione (non determinabile)."), 2});
    if (m.TEGannuale() == DatiIncoerenti || m.TEGperiodo() == DatiIncoerenti)
        b.push_back({QStringLiteral("Tasso della griglia (passi di 0,01%): dati incoerenti"), 2});
    else
        b.push_back({QStringLiteral("Tasso della griglia (passi di 0,01%): i = %1; T.E.G. = (1 + %1)^%2 \u2212 1 = %3")
                         .arg(TassoFinestra(m.TEGperiodo()))
                         .arg(annue)
                         .arg(TassoFinestra(m.TEGannuale())),
                     2});
    return b;
}

BloccoPassaggi OperazioniPassaggi(const Documento& d)
{
    BloccoPassaggi b;
    OPE o = d.Operazioni();
    b.push_back({Intestazione(QStringLiteral("Operazioni finanziarie varie"), o.Descrizione()), 0, true});
    try {
        o.Aggiorna();
    } catch (const std::exception& e) {
        b.push_back({QStringLiteral("Le operazioni non si calcolano: %1").arg(QString::fromUtf8(e.what())), 1});
        return b;
    }
    // The flows by date, months counted from the first, as the calculation
    // takes them (positive received, negative paid).
    std::vector<std::pair<long long, double>> flussi;
    for (int r = 1; r <= OPE::Righe; ++r)
        if (o.Segno(r) * o.Importo(r) != 0)
            flussi.push_back({static_cast<long long>(o.Anno(r)) * 12 + o.Mese(r), o.Segno(r) * o.Importo(r)});
    std::stable_sort(flussi.begin(), flussi.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    b.push_back({QStringLiteral("Il tasso mensile j rende nullo il valore attuale dei flussi F (positivi i "
                                "ricevuti, negativi i pagati) a t mesi dal primo:"),
                 1});
    b.push_back({QStringLiteral("\u03a3 F \u00d7 (1 + j)^\u2212t = 0"), 2});
    QString somma;
    for (const auto& [mese, flusso] : flussi) {
        QString termine = ImportoNelTesto(flusso);
        const long long t = mese - flussi.front().first;
        if (t != 0)
            termine += QStringLiteral(" \u00d7 (1 + j)^\u2212%1").arg(t);
        termine.replace(QLatin1Char(' '), SpazioFisso);
        somma = somma.isEmpty() ? termine : Aggiungi(somma, flusso, termine);
    }
    b.push_back({somma + QStringLiteral(" = 0"), 2});
    if (o.TEGmensileEsatto() && o.TEGesatto())
        b.push_back({QStringLiteral("Tasso esatto: j = %1 mensile; T.E.G. esatto = (1 + j)^12 \u2212 1 = %2")
                         .arg(TassoFinestra(*o.TEGmensileEsatto()))
                         .arg(TassoFinestra(*o.TEGesatto())),
                     1});
    else
        b.push_back({QStringLiteral("Tasso esatto: l'equazione non ha una soluzione sola (non determinabile)."), 1});
    b.push_back({QStringLiteral("Tasso della griglia (passi di 0,005% mensile): T.E.G. = (1 + j)^12 \u2212 1 = %1")
                     .arg(TassoFinestra(o.TEG())),
                 1});
    return b;
}

BloccoPassaggi BrevePassaggi(const Documento& d)
{
    BloccoPassaggi b;
    BREVE f = d.BreveCorrente();
    b.push_back({Intestazione(QStringLiteral("Operazione di breve termine"), f.Descrizione()), 0, true});
    try {
        f.Aggiorna();
    } catch (const std::exception& e) {
        b.push_back({QStringLiteral("Il finanziamento non si calcola: %1").arg(QString::fromUtf8(e.what())), 1});
        return b;
    }
    const long long giorni = (f.Data1() - f.Data0()).count();
    b.push_back({QStringLiteral("T.E.G. del periodo = Importo restituito / (Importo finanziato \u2212 Oneri) \u2212 1"),
                 1});
    if (f.TEG() == DatiIncoerenti) {
        b.push_back({QStringLiteral("dati incoerenti: la restituzione deve seguire l'erogazione e superare "
                                    "l'importo netto ricevuto"),
                     2});
        return b;
    }
    b.push_back({QStringLiteral("T.E.G. del periodo = ") + ImportoNelTesto(f.Restituito()) + QStringLiteral(" / (") +
                     ImportoNelTesto(f.Finanziato()) + Meno + ImportoNelTesto(f.Oneri()) + QStringLiteral(")") +
                     Meno + QStringLiteral("1 = ") + TassoFinestra(f.TEGbreve()),
                 2});
    b.push_back({QStringLiteral("T.E.G. su base annuale = T.E.G. del periodo \u00d7 365 / giorni (dal %1 al %2)")
                     .arg(Data(f.Data0()), Data(f.Data1())),
                 1});
    b.push_back({QStringLiteral("T.E.G. su base annuale = %1 \u00d7 365 / %2 = %3")
                     .arg(TassoFinestra(f.TEGbreve()))
                     .arg(giorni)
                     .arg(TassoFinestra(f.TEG())),
                 2});
    return b;
}

// ---- The threshold and the verdicts -----------------------------------------

// What the class of an operation was chosen by.
QString ImportoDellaClasse(const QString& operazione, const Documento& d, int trimestre)
{
    if (trimestre > 0)
        return d.Trimestri(trimestre).Accordato() > 0 ? QStringLiteral("fido accordato")
                                                      : QStringLiteral("massimo scoperto");
    if (operazione == QLatin1String("Operazioni"))
        return QStringLiteral("somme ricevute");
    return QStringLiteral("importo finanziato");
}

// The date that places an operation in its period, and what it is; empty
// for the current account, whose quarters are their own periods.
QString DataDellOperazione(const QString& operazione, const Documento& d)
{
    const ParametriUsura& u = d.Usura();
    if (operazione == QLatin1String("Mutuo"))
        return u.DataStipula() ? QStringLiteral("data di stipula ") + Data(*u.DataStipula()) : QString();
    if (operazione == QLatin1String("Operazioni"))
        return u.DataOperazioni() ? QStringLiteral("data del contratto ") + Data(*u.DataOperazioni())
                                  : QStringLiteral("mese del primo flusso");
    if (operazione.startsWith(QLatin1String("Conto corrente")))
        return {};
    return QStringLiteral("data di erogazione ") + Data(d.BreveCorrente().Data0());
}

BloccoPassaggi Soglia(const EsitoVerifica& e, const QString& operazione, const Documento& d, int trimestre,
                      const std::vector<std::pair<const EsitoVerifica*, RigaPaginaSoglia>>& verdetti)
{
    BloccoPassaggi b;
    const QString periodo = e.inizio && e.fine ? TestoPeriodo(*e.inizio, *e.fine) : QString();
    b.push_back({periodo.isEmpty() ? QStringLiteral("Soglia d'usura")
                                   : QStringLiteral("Soglia d'usura del periodo ") + periodo,
                 1, true});
    if (e.tegm && e.soglia && e.inizio) {
        const QString data = DataDellOperazione(operazione, d);
        if (!data.isEmpty())
            b.push_back({QStringLiteral("Data che individua il periodo: ") + data, 2});
        b.push_back({QStringLiteral("Categoria: ") + Testo(e.categoria), 2});
        QString classe = QStringLiteral("Classe: ") + Testo(e.classe);
        if (e.importoClasse)
            classe += QStringLiteral(" (dall'importo: %1 di %2 euro)")
                          .arg(ImportoDellaClasse(operazione, d, trimestre), ImportoNelTesto(*e.importoClasse));
        else
            classe += QStringLiteral(" (indicata nel conteggio)");
        b.push_back({classe, 2});
        const bool primaDel2011 = *e.inizio <= sys_days{2011y / May / 13};
        b.push_back({QStringLiteral("TEGM %1%; soglia = %2 (%3)")
                         .arg(NumeroNelTesto(*e.tegm * 100, 2, 4))
                         .arg(primaDel2011 ? QStringLiteral("TEGM \u00d7 1,5")
                                           : QStringLiteral("min(TEGM \u00d7 1,25 + 4; TEGM + 8)"))
                         .arg(primaDel2011 ? QStringLiteral("periodi iniziati fino al 13/05/2011")
                                           : QStringLiteral("periodi dal 14/05/2011")),
                     2});
        b.push_back({QStringLiteral("Soglia = ") + FormulaSoglia(*e.tegm * 100, *e.inizio), 2});
    }
    for (const auto& [esito, riga] : verdetti) {
        if (esito->inizio != e.inizio || esito->fine != e.fine)
            continue;
        QString t = riga.formula + QStringLiteral(": ");
        if (!riga.tasso.isEmpty())
            t += riga.tasso + QStringLiteral(" ");
        if (!riga.tassoGriglia.isEmpty())
            t += QStringLiteral("(griglia %1) ").arg(riga.tassoGriglia);
        t += QStringLiteral("\u2013 ") + (riga.Oltre() ? QStringLiteral("OLTRE SOGLIA") : riga.esito);
        if (!riga.margine.isEmpty())
            t += QStringLiteral(", margine %1 punti").arg(riga.margine);
        if (!riga.nota.isEmpty())
            t += QStringLiteral(" (%1)").arg(riga.nota);
        b.push_back({t, 2, riga.Oltre()});
    }
    return b;
}

// Breaks a line between words so that it stays on the paper: the room is
// measured in twips, in the font the page frame prints rows with.
QStringList Spezza(const QString& testo, bool grassetto, double stanza)
{
    QImage misura(1, 1, QImage::Format_RGB32);
    misura.setDotsPerMeterX(56693);  // 1440 dots per inch: a dot is a twip
    misura.setDotsPerMeterY(56693);
    QFont carattere(FamigliaCarattere());
    carattere.setPointSizeF(PuntiCarattere(0));
    carattere.setBold(grassetto);
    const QFontMetricsF fm(carattere, &misura);
    QStringList righe;
    QString riga;
    for (const QString& parola : testo.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString prova = riga.isEmpty() ? parola : riga + QLatin1Char(' ') + parola;
        if (!riga.isEmpty() && fm.horizontalAdvance(prova) > stanza) {
            righe << riga;
            riga = parola;
        } else {
            riga = prova;
        }
    }
    if (!riga.isEmpty() || righe.isEmpty())
        righe << riga;
    return righe;
}

} // namespace

QString NumeroNelTesto(double valore, int minimo, int massimo)
{
    if (!std::isfinite(valore))
        return QStringLiteral("?");
    const double scala = std::pow(10.0, massimo);
    const double arrotondato = std::round(std::abs(valore) * scala) / scala;
    QString s = QString::number(arrotondato, 'f', massimo);
    const qsizetype punto = s.indexOf(QLatin1Char('.'));
    QString intero = punto < 0 ? s : s.left(punto);
    QString decimali = punto < 0 ? QString() : s.mid(punto + 1);
    while (decimali.size() > minimo && decimali.endsWith(QLatin1Char('0')))
        decimali.chop(1);
    for (qsizetype i = intero.size() - 3; i > 0; i -= 3)
        intero.insert(i, SpazioFisso);
    const QString segno = (valore < 0 && arrotondato != 0) ? QStringLiteral("\u2212") : QString();
    return segno + intero + (decimali.isEmpty() ? QString() : QLatin1Char(',') + decimali);
}

QString ImportoNelTesto(double valore)
{
    return NumeroNelTesto(valore, valore == std::round(valore) ? 0 : 2, 2);
}

QString FormulaProgramma(const BOX& t, int giorniAnno)
{
    QString s = QStringLiteral("0");
    if (t.TEGnumeri() != 0)
        s = ImportoNelTesto(t.TEGinteressi()) + Per + NumeroNelTesto(giorniAnno * 100.0, 0, 0) + QStringLiteral(" / ") +
            NumeroNelTesto(t.TEGnumeri(), 0, 2);
    if (t.Accordato() != 0)
        s = Aggiungi(s, t.TEGoneri(), ImportoNelTesto(t.TEGoneri())) + Per + QStringLiteral("100 / ") +
            ImportoNelTesto(t.Accordato());
    return s + QStringLiteral(" = ") + TassoFinestra(t.TEG());
}

QString BaseIstruzioni2016(const BOX& t)
{
    if (t.Accordato() == 0 && t.MassimoScoperto() == 0)
        return QStringLiteral("B: n\u00e9 fido accordato n\u00e9 massimo scoperto indicati");
    if (t.Accordato() == 0)
        return QStringLiteral("B = Massimo scoperto = %1: nessun fido accordato")
            .arg(ImportoNelTesto(t.MassimoScoperto()));
    if (t.MassimoScoperto() > t.Accordato())
        return QStringLiteral("B = Massimo scoperto = %1: il saldo ha superato il fido accordato di %2")
            .arg(ImportoNelTesto(t.MassimoScoperto()), ImportoNelTesto(t.Accordato()));
    return QStringLiteral("B = Fido accordato = %1: il saldo non ha superato il fido")
        .arg(ImportoNelTesto(t.Accordato()));
}

QString FormulaIstruzioni2016(const BOX& t)
{
    const double oneri = t.Commissioni() + t.Spese();
    const double base = (t.Accordato() == 0 || t.MassimoScoperto() > t.Accordato()) ? t.MassimoScoperto()
                                                                                     : t.Accordato();
    QString s = t.Numeri() == 0 ? QStringLiteral("0")
                                : ImportoNelTesto(t.Interessi()) + Per + QStringLiteral("36\u00a0500 / ") +
                                      NumeroNelTesto(t.Numeri(), 0, 2);
    if (oneri != 0)
        s = Aggiungi(s, oneri, ImportoNelTesto(oneri)) + Per + QStringLiteral("4") + Per + QStringLiteral("100 / ") +
            (base > 0 ? ImportoNelTesto(base) : QStringLiteral("B"));
    return s + QStringLiteral(" = ") + TassoFinestra(t.TEGIstruzioni2016());
}

QString FormulaSoglia(double tegm, sys_days inizio)
{
    const QString m = NumeroNelTesto(tegm, 2, 4);
    const QString soglia = NumeroNelTesto(SerieSoglie::SogliaLegale(tegm, inizio), 2, 4) + QLatin1Char('%');
    if (inizio <= sys_days{2011y / May / 13})
        return m + Per + QStringLiteral("1,5 = ") + soglia;
    return QStringLiteral("min(") + m + Per + QStringLiteral("1,25 + 4; ") + m + QStringLiteral(" + 8) = ") + soglia;
}

std::vector<SezionePassaggi> PassaggiVerifica(const Documento& d, const std::vector<EsitoVerifica>& tutti)
{
    // The loan contract's verdicts have steps of their own, after the others.
    const std::vector<EsitoVerifica> esiti = SenzaEsitiContratto(tutti);
    const std::vector<RigaPaginaSoglia> righe = RigheSoglia(esiti);
    std::vector<SezionePassaggi> sezioni;
    const QString prefissoConto = QStringLiteral("Conto corrente, trimestre ");
    for (std::size_t i = 0; i < esiti.size();) {
        // The verdicts of one operation follow one another.
        const QString operazione = Testo(esiti[i].operazione);
        std::vector<std::pair<const EsitoVerifica*, RigaPaginaSoglia>> verdetti;
        std::size_t j = i;
        for (; j < esiti.size() && Testo(esiti[j].operazione) == operazione; ++j)
            verdetti.push_back({&esiti[j], righe[j]});

        int trimestre = 0;
        QString sezione = operazione;
        BloccoPassaggi calcolo;
        if (operazione.startsWith(prefissoConto)) {
            const QString romano = operazione.mid(prefissoConto.size());
            for (int q = 1; q <= 4; ++q)
                if (Romano(q) == romano)
                    trimestre = q;
            sezione = QStringLiteral("Conto corrente");
            if (trimestre > 0)
                calcolo = Trimestre(d, trimestre);
        } else if (operazione == QLatin1String("Mutuo")) {
            calcolo = MutuoPassaggi(d);
        } else if (operazione == QLatin1String("Operazioni")) {
            sezione = QStringLiteral("Operazioni finanziarie varie");
            calcolo = OperazioniPassaggi(d);
        } else {
            sezione = QStringLiteral("Operazione di breve termine");
            calcolo = BrevePassaggi(d);
        }
        if (sezioni.empty() || sezioni.back().operazione != sezione)
            sezioni.push_back({sezione, {}});
        SezionePassaggi& s = sezioni.back();
        if (!calcolo.empty())
            s.blocchi.push_back(std::move(calcolo));
        // One threshold block per period, in the verdicts' order.
        std::vector<std::pair<std::optional<sys_days>, std::optional<sys_days>>> visti;
        for (const auto& [esito, riga] : verdetti) {
            const std::pair periodo{esito->inizio, esito->fine};
            if (std::find(visti.begin(), visti.end(), periodo) != visti.end())
                continue;
            visti.push_back(periodo);
            s.blocchi.push_back(Soglia(*esito, operazione, d, trimestre, verdetti));
        }
        i = j;
    }
    AggiungiPassaggiContratto(sezioni, d, tutti);
    return sezioni;
}

std::vector<Rapporto> RapportiPassaggi(const SezionePassaggi& sezione)
{
    constexpr int RighePagina = 44;                // as the threshold report's pages
    constexpr int PaginePerRapporto = 4;           // a print table holds 200 rows
    constexpr int Rientri[3] = {500, 800, 1100};  // x of each indent, twips
    constexpr double FineRiga = 11300;            // inside the frame's right margin
    std::vector<Rapporto> rapporti;
    auto nuovo = [&] {
        Rapporto r;
        r.nome = QStringLiteral("StampaPassaggiUsura");
        r.titolo = QStringLiteral("Verifica usura: i passaggi");
        r.sottotitolo = sezione.operazione;
        r.colonne = {{1, Rientri[0], 0}, {2, Rientri[1], 0}, {3, Rientri[2], 0}};
        rapporti.push_back(std::move(r));
    };
    int n = 0;  // rows used in the current report
    auto chiudi = [&] {
        Rapporto& r = rapporti.back();
        r.RighePerPagina = std::min(n, RighePagina);
        r.NumeroPagine = std::max(1, (n + RighePagina - 1) / RighePagina);
    };
    nuovo();
    for (const BloccoPassaggi& blocco : sezione.blocchi) {
        std::vector<std::pair<QString, const RigaPassaggio*>> righe;
        for (const RigaPassaggio& riga : blocco)
            for (const QString& pezzo :
                 Spezza(riga.testo, riga.grassetto, FineRiga - Rientri[std::clamp(riga.rientro, 0, 2)]))
                righe.push_back({pezzo, &riga});
        const int quante = static_cast<int>(righe.size()) + (n > 0 ? 1 : 0);
        const int liberi = RighePagina - n % RighePagina;
        if (n > 0 && quante > liberi && static_cast<int>(righe.size()) <= RighePagina)
            n += liberi;  // the block starts the next page
        else if (n > 0)
            ++n;  // a blank row between blocks
        if (n + static_cast<int>(righe.size()) > RighePagina * PaginePerRapporto) {
            chiudi();
            nuovo();
            n = 0;
        }
        for (const auto& [testo, riga] : righe) {
            ++n;
            if (n > TabellaStampa::MaxRighe)
                break;
            rapporti.back().tabella.setTesto(n, std::clamp(riga->rientro, 0, 2) + 1, testo);
            rapporti.back().tabella.setRigaGrassetto(n, riga->grassetto);
        }
    }
    chiudi();
    return rapporti;
}
