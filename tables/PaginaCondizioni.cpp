#include "PaginaCondizioni.h"

#include "PaginaMovimenti.h"
#include "PagineFinanziamenti.h"

const QStringList& IntestazioniCondizioni()
{
    static const QStringList t = {"Dal",
                                  "Fido accordato",
                                  "Tasso debitore",
                                  "Tasso oltre il fido",
                                  "Tasso creditore",
                                  "CMS",
                                  "Base della CMS",
                                  "Spese fisse",
                                  "Liquidazione",
                                  "Divisore",
                                  "Tassi pattuiti per iscritto",
                                  "Usi di piazza",
                                  "Capitalizzazione pattuita",
                                  "CMS pattuita",
                                  "Commissioni pattuite"};
    return t;
}

const QStringList& TestiBaseCMS()
{
    static const QStringList t = {"massimo scoperto", "scoperto oltre il fido", "fido accordato"};
    return t;
}

const QStringList& TestiLiquidazione()
{
    static const QStringList t = {"trimestrale", "annuale"};
    return t;
}

const QStringList& TestiDivisore()
{
    static const QStringList t = {"365/366 (anno civile)", "360 (anno commerciale)"};
    return t;
}

QStringList TestiPeriodo(const CondizioniPeriodo& p)
{
    const auto data = [](const std::optional<std::chrono::sys_days>& d) { return d ? TestoGiornoQt(*d) : QString(); };
    const auto voce = [](const QStringList& l, auto e) { return l.value(static_cast<int>(e)); };
    return {TestoGiornoQt(p.dal),
            TestoCentesimiQt(p.accordato),
            TestoTasso(p.tassoDebitore),
            TestoTasso(p.tassoDebitoreOltreFido),
            TestoTasso(p.tassoCreditore),
            TestoTasso(p.percentualeCMS),
            voce(TestiBaseCMS(), p.baseCMS),
            TestoCentesimiQt(p.speseFisse),
            voce(TestiLiquidazione(), p.liquidazione),
            voce(TestiDivisore(), p.divisore),
            data(p.tassiPattuiti),
            p.usiPiazza ? QStringLiteral("sì") : QStringLiteral("no"),
            data(p.capitalizzazionePattuita),
            data(p.cmsPattuita),
            data(p.commissioniPattuite)};
}

std::vector<std::pair<QString, QString>> DatiDelConto(const ContoMovimenti& conto)
{
    const DatiConto& c = conto.conto;
    const auto t = [](const std::string& s) { return QString::fromStdString(s); };
    const auto& a = conto.condizioni.autorizzazioneAddebito;
    return {{QStringLiteral("Intestatario"), t(c.intestatario)},
            {QStringLiteral("Banca"), t(c.banca)},
            {QStringLiteral("IBAN"), t(c.iban)},
            {QStringLiteral("ABI"), t(c.abi)},
            {QStringLiteral("CAB"), t(c.cab)},
            {QStringLiteral("Numero del conto"), t(c.numero)},
            {QStringLiteral("Divisa"), t(c.divisa)},
            {QStringLiteral("Autorizzazione all'addebito degli interessi"),
             a ? QStringLiteral("data il %1").arg(TestoGiornoQt(*a)) : QStringLiteral("non data")}};
}

DatiPaginaCondizioni PaginaCondizioni(const ContoMovimenti& conto, const QString& nomeConteggio)
{
    DatiPaginaCondizioni p;
    p.titolo = QStringLiteral("Condizioni del conto");
    p.sottotitolo = TestoConto(conto.conto);
    if (p.sottotitolo.isEmpty() && !nomeConteggio.isEmpty())
        p.sottotitolo = QStringLiteral("Conteggio \u00ab%1\u00bb").arg(nomeConteggio);
    p.conto = DatiDelConto(conto);
    for (const CondizioniPeriodo& c : conto.condizioni.periodi)
        p.periodi.push_back(TestiPeriodo(c));
    if (!conto.condizioni.periodi.empty())
        for (const ErroreCondizioni& e : ControllaCondizioni(conto.condizioni))
            p.errori << QString::fromStdString(e.testo);
    return p;
}
