#include "PaginaScalare.h"

#include "Calendario.h"
#include "Pagine.h"
#include "PaginaMovimenti.h"

#include <algorithm>
#include <exception>
#include <functional>

namespace {

const Qt::Alignment destra = Qt::AlignRight | Qt::AlignVCenter;

QString Media(std::int64_t somma, std::int64_t quanti, int decimali = 2)
{
    if (quanti == 0)
        return QStringLiteral("\u2013");
    return QString::number(static_cast<double>(somma) / static_cast<double>(quanti), 'f', decimali)
        .replace(QLatin1Char('.'), QLatin1Char(','));
}

// A header row: grey, bold, centred.
void Intestazione(Griglia& g, int riga, const QStringList& testi)
{
    for (int c = 0; c < g.Colonne() && c < testi.size(); ++c) {
        CellaGriglia& cella = g.Cella(riga, c);
        cella.testo = testi[c];
        cella.grigia = true;
        cella.grassetto = true;
        cella.allineamento = Qt::AlignCenter;
    }
}

struct Figura {
    const char* nome;
    std::function<QString(const TrimestreScalare&)> testo;
    bool grassetto = false;
};

std::vector<Figura> Figure()
{
    using T = const TrimestreScalare&;
    const auto euro = [](Centesimi c) { return TestoCentesimiQt(c); };
    return {
        {"Periodo", [](T q) { return TestoGiornoQt(q.inizio) + QStringLiteral(" \u2013 ") + TestoGiornoQt(q.fine); }},
        {"Copertura dei movimenti", [](T q) { return TestoCopertura(q.copertura); }},
        {"Giorni contati", [](T q) { return QString::number(q.giorni); }},
        {"Saldo iniziale per valuta", [=](T q) { return euro(q.saldoIniziale); }},
        {"Saldo finale per valuta", [=](T q) { return euro(q.saldoFinale); }},
        {"Fido accordato a fine trimestre",
         [=](T q) { return euro(q.fidoFine) + (q.fidoVariato ? QStringLiteral(" (variato)") : QString()); }},
        {"Numeri debitori entro il fido", [](T q) { return TestoNumeri(q.numeriDebitoriEntroFido); }},
        {"Numeri debitori oltre il fido", [](T q) { return TestoNumeri(q.numeriDebitoriOltreFido); }},
        {"Numeri debitori", [](T q) { return TestoNumeri(q.numeriDebitori()); }, true},
        {"Numeri creditori", [](T q) { return TestoNumeri(q.numeriCreditori); }},
        {"Massimo scoperto", [=](T q) { return euro(q.massimoScoperto); }, true},
        {"Data del massimo scoperto",
         [](T q) { return q.dataMassimoScoperto ? TestoGiornoQt(*q.dataMassimoScoperto) : QString(); }},
        {"Massimo scoperto oltre il fido", [=](T q) { return euro(q.massimoOltreFido); }},
        {"Giorni a debito", [](T q) { return QString::number(q.giorniADebito); }},
        {"Operazioni ordinarie", [](T q) { return QString::number(q.operazioni); }},
        {"Giorni valuta medi per operazione", [](T q) { return Media(q.giorniValuta, q.operazioni); }, true},
        {"Giorni valuta ponderati per importo",
         [](T q) { return Media(q.giorniValutaPonderati, q.importiOperazioni); }},
        {"Interessi debitori addebitati", [=](T q) { return euro(q.addebitato(ClasseMovimento::InteressiDebitori)); }},
        {"Interessi creditori accreditati",
         [=](T q) { return euro(q.perClasse[IndiceClasse(ClasseMovimento::InteressiCreditori)]); }},
        {"CMS addebitata", [=](T q) { return euro(q.addebitato(ClasseMovimento::CMS)); }},
        {"Commissioni e spese addebitate", [=](T q) { return euro(q.addebitato(ClasseMovimento::Commissioni)); }},
        {"Imposte addebitate", [=](T q) { return euro(q.addebitato(ClasseMovimento::Imposte)); }},
    };
}

} // namespace

QString TestoCopertura(Copertura c)
{
    switch (c) {
    case Copertura::Completa: return QStringLiteral("completa");
    case Copertura::SenzaChiusura: return QStringLiteral("senza chiusura");
    case Copertura::Parziale: return QStringLiteral("parziale");
    case Copertura::Nessuna: break;
    }
    return QStringLiteral("non coperto");
}

QString TestoNumeri(NumeriCentesimi n)
{
    return TestoCentesimiQt(n);
}

std::vector<AnnoCoperto> AnniDaCalcolare(const ContoMovimenti& conto)
{
    std::vector<AnnoCoperto> coperti = AnniCoperti(conto.movimenti, conto.saldi);
    const std::vector<PeriodoCoperto> periodi = PeriodiCoperti(conto.movimenti, conto.saldi);
    std::erase_if(coperti, [&](const AnnoCoperto& a) {
        const std::chrono::sys_days primo{std::chrono::year{a.anno} / 1 / 1},
            penultimo{std::chrono::year{a.anno} / 12 / 30};
        return std::none_of(periodi.begin(), periodi.end(),
                            [&](const PeriodoCoperto& p) { return p.dal <= penultimo && p.al >= primo; });
    });
    return coperti;
}

std::vector<int> AnniScalare(const ContoMovimenti& conto, const Scalare& scalare)
{
    std::vector<int> anni;
    for (const AnnoCoperto& a : AnniDaCalcolare(conto))
        anni.push_back(a.anno);
    if (anni.empty())
        for (const TrimestreScalare& q : scalare.trimestri)
            if (anni.empty() || anni.back() != q.anno)
                anni.push_back(q.anno);
    return anni;
}

DatiPaginaScalare PaginaScalare(const ContoMovimenti& conto, int anno, int annoRiferimento, const QString& nomeConteggio)
{
    DatiPaginaScalare p;
    p.titolo = QStringLiteral("Scalare del conto");
    Scalare s;
    try {
        s = CalcolaScalare(conto.movimenti, conto.saldi, conto.condizioni);
    } catch (const std::exception& e) {
        p.errore = QString::fromUtf8(e.what());
    }
    p.anni = AnniScalare(conto, s);
    if (anno == 0 || std::find(p.anni.begin(), p.anni.end(), anno) == p.anni.end())
        anno = std::find(p.anni.begin(), p.anni.end(), annoRiferimento) != p.anni.end() ? annoRiferimento
               : p.anni.empty()                                                       ? 0
                                                                                      : p.anni.back();
    p.anno = anno;
    QString conto_ = TestoConto(conto.conto);
    if (conto_.isEmpty() && !nomeConteggio.isEmpty())
        conto_ = QStringLiteral("Conteggio \u00ab%1\u00bb").arg(nomeConteggio);
    p.sottotitolo = anno ? QStringLiteral("Anno %1").arg(anno) : QString();
    if (!conto_.isEmpty())
        p.sottotitolo += (p.sottotitolo.isEmpty() ? QString() : QStringLiteral(" \u2013 ")) + conto_;
    if (p.errore.isEmpty() && conto.Vuoto())
        p.errore = QStringLiteral("Il conteggio non contiene movimenti.");

    // The quarters of the year (a quarter outside the scale stays empty).
    std::array<const TrimestreScalare*, 4> trimestri{};
    for (const TrimestreScalare& q : s.trimestri)
        if (q.anno == anno)
            trimestri[static_cast<std::size_t>(q.trimestre - 1)] = &q;

    const std::vector<Figura> figure = Figure();
    p.riepilogo = Griglia(static_cast<int>(figure.size()) + 1, 5);
    p.riepilogo.Colonna(0).larghezza = 3800;
    for (int c = 1; c <= 4; ++c) {
        p.riepilogo.Colonna(c).larghezza = 2500;
        p.riepilogo.Colonna(c).allineamento = destra;
    }
    Intestazione(p.riepilogo, 0,
                 {QString(), TitoloTrimestre(1, anno), TitoloTrimestre(2, anno), TitoloTrimestre(3, anno),
                  TitoloTrimestre(4, anno)});
    for (std::size_t k = 0; k < figure.size(); ++k) {
        const int r = static_cast<int>(k) + 1;
        p.riepilogo.Cella(r, 0).testo = QString::fromUtf8(figure[k].nome);
        p.riepilogo.Cella(r, 0).grassetto = figure[k].grassetto;
        for (int t = 0; t < 4; ++t) {
            CellaGriglia& c = p.riepilogo.Cella(r, t + 1);
            c.allineamento = destra;
            c.grassetto = figure[k].grassetto;
            if (const TrimestreScalare* q = trimestri[static_cast<std::size_t>(t)])
                c.testo = figure[k].testo(*q);
        }
    }

    const QStringList intestazioni = {"Trimestre",         "Valuta dal",           "Giorni",
                                      "Saldo per valuta",  "Fido",                 "Numeri debitori entro il fido",
                                      "Numeri debitori oltre il fido", "Numeri creditori"};
    std::size_t linee = 0;
    for (const TrimestreScalare* q : trimestri)
        linee += q ? q->righe : 0;
    p.righe = Griglia(static_cast<int>(linee) + 1, static_cast<int>(intestazioni.size()));
    const int larghezze[] = {1300, 1400, 900, 2000, 1700, 2300, 2300, 2300};
    for (int c = 0; c < p.righe.Colonne(); ++c) {
        p.righe.Colonna(c).larghezza = larghezze[c];
        p.righe.Colonna(c).allineamento = c <= 1 ? Qt::AlignCenter : destra;
    }
    Intestazione(p.righe, 0, intestazioni);
    int r = 1;
    for (const TrimestreScalare* q : trimestri) {
        if (!q)
            continue;
        for (std::size_t k = q->primaRiga; k < q->primaRiga + q->righe; ++k, ++r) {
            const RigaScalare& l = s.righe[k];
            RigaElenco(p.righe, r,
                       {k == q->primaRiga ? TitoloTrimestre(q->trimestre, q->anno) : QString(), TestoGiornoQt(l.valuta),
                        QString::number(l.giorni), TestoCentesimiQt(l.saldo), TestoCentesimiQt(l.fido),
                        TestoNumeri(l.numeriDebitoriEntroFido), TestoNumeri(l.numeriDebitoriOltreFido),
                        TestoNumeri(l.numeriCreditori)});
        }
    }

    if (anno && p.errore.isEmpty()) {
        QStringList nota;
        nota << (s.saldoPartenzaDichiarato
                     ? QStringLiteral("Saldo di partenza %1, dal saldo iniziale del primo estratto conto.")
                           .arg(TestoCentesimiQt(s.saldoPartenza))
                     : QStringLiteral("Nessun estratto conto dichiara un saldo iniziale: lo scalare parte da zero."));
        QStringList incompleti;
        for (int t = 0; t < 4; ++t)
            if (const TrimestreScalare* q = trimestri[static_cast<std::size_t>(t)]; !q || q->copertura != Copertura::Completa)
                incompleti << QStringLiteral("%1 (%2)").arg(NumeroRomano(t + 1),
                                                            TestoCopertura(q ? q->copertura : Copertura::Nessuna));
        if (!incompleti.isEmpty())
            nota << QStringLiteral("Trimestri non coperti per intero dai movimenti: %1.")
                        .arg(incompleti.join(QStringLiteral(", ")));
        p.nota = nota.join(QLatin1Char(' '));
    }
    return p;
}
