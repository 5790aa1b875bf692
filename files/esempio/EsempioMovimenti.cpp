// Writes the example calculation "Esempio movimenti" into the archive folder
// given on the command line, the way a user makes one: a year of a small
// firm's current account (2012) is written as the bank's CBI statement file
// into a working folder, imported through the program's own import, given
// its conditions, and the four quarters of the reference year are filled
// from the scale of its movements. The file is then read back and its
// quarters compared with the scale.
//
// 2012 is the year the commission on the maximum overdraft (CMS) gave way to
// the fee on the credit line made available (CDF) and the fast-review fee
// (CIV, art. 117-bis TUB, in force from 1 July 2012): the first half posts
// the CMS, the second the CDF and a CIV, so every class of charge appears.
// The bank still capitalises debit interest every quarter. In May a timber
// purchase takes the balance beyond the credit line for six days, which the
// CMS is charged on: that quarter's rate goes over the usury threshold. The
// CMS was never agreed in writing, which a recalculation will strike out.
#include "Archivio.h"
#include "Dichiarazioni.h"
#include "ImportaEstratti.h"
#include "ImportazioneConto.h"
#include "Scalare.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <exception>
#include <map>
#include <stdexcept>

namespace {

using namespace std::chrono;

constexpr int Anno = 2012;
constexpr Centesimi Fido = 5'000'000;        // 50 000,00
constexpr double TassoEntroFido = 0.1325, TassoOltreFido = 0.155, PercentualeCMS = 0.005;
constexpr Centesimi SpeseTrimestrali = 4'500, SpesaOperazione = 150, Bollo = 2'500;
constexpr Centesimi SaldoIniziale = -2'200'000;  // at 31/12/2011
// The booked balance the firm keeps at the end of each month, from January
// 2012 to January 2013: lower in the spring, when the large orders are
// paid, near 30 000 in the second half.
constexpr Centesimi SaldoFineMese[13] = {-2'100'000, -1'900'000, -1'700'000, -1'300'000, -1'200'000,
                                         -1'100'000, -2'500'000, -3'000'000, -3'200'000, -3'000'000,
                                         -3'100'000, -2'900'000, -2'700'000};
const sys_days Contratto{year{2009} / June / 1};
const sys_days NuoveCondizioni{year{Anno} / July / 1};

const char* const Abi = "01234";
const char* const Cab = "56789";
const char* const NumeroConto = "000000012345";

struct Voce {
    sys_days contabile, valuta;
    Centesimi importo;
    std::string causale, descrizione, seguito;
};

sys_days Giorno(int g, int m, int a = Anno)
{
    return sys_days{year{a} / m / g};
}

sys_days UltimoGiorno(int m, int a = Anno)
{
    return sys_days{year{a} / m / last};
}

bool Festivo(sys_days d)
{
    const weekday w{d};
    const year_month_day ymd{d};
    return w == Saturday || w == Sunday || (ymd.month() == January && ymd.day() == day{1}) ||
           (ymd.month() == December && (ymd.day() == day{25} || ymd.day() == day{26})) ||
           (ymd.month() == August && ymd.day() == day{15});
}

// The first working day on or after d.
sys_days Lavorativo(sys_days d)
{
    while (Festivo(d))
        d += days{1};
    return d;
}

// The last working day on or before d.
sys_days LavorativoPrima(sys_days d)
{
    while (Festivo(d))
        d -= days{1};
    return d;
}

// A fixed sequence of numbers, so that the example is the same at every build.
class Sequenza {
public:
    // An amount in cents from da to a euro, rounded to ten cents.
    Centesimi Importo(int da, int a)
    {
        stato_ = stato_ * 6364136223846793005ULL + 1442695040888963407ULL;
        const auto passi = static_cast<std::uint64_t>(a - da) * 10;
        return (static_cast<Centesimi>(da) * 10 + static_cast<Centesimi>((stato_ >> 33) % (passi + 1))) * 10;
    }
    int Indice(int n)
    {
        stato_ = stato_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((stato_ >> 33) % static_cast<std::uint64_t>(n));
    }

private:
    std::uint64_t stato_ = 2012;
};

const char* const Clienti[] = {"HOTEL BELVEDERE SRL", "STUDIO TECNICO MORI", "ARREDI CASA SNC", "COMUNE DI VALLESANA",
                               "ROSSI MARIO",         "B&B IL GLICINE",      "SCUOLA MATERNA S.ANNA"};
const char* const Fornitori[] = {"SEGHERIA ALPINA SPA", "FERRAMENTA BIANCHI", "VERNICI NORD SRL",
                                 "TRASPORTI GALLI",     "COLLANTI ITALIA SRL"};

// The ordinary movements of a month (1..12 of 2012, 13 = January 2013),
// with the customers' payments of the month's end steered so that the
// month closes near its SaldoFineMese.
void Mese(int n, Sequenza& s, std::vector<Voce>& voci)
{
    const int m = n > 12 ? 1 : n, a = n > 12 ? Anno + 1 : Anno;
    auto giorno = [&](int g) { return Lavorativo(Giorno(g, m, a)); };
    auto voce = [&](sys_days d, int valuta, Centesimi importo, const char* causale, std::string descrizione,
                    std::string seguito = {}) {
        voci.push_back({d, d + days{valuta}, importo, causale, std::move(descrizione), std::move(seguito)});
    };
    voce(giorno(5), 0, -120'000, "26", "AFFITTO LABORATORIO VIA DEI MULINI", "CANONE MESE");
    voce(giorno(10), 0, -s.Importo(280, 620), "50", "ADDEBITO SDD ENEL ENERGIA");
    voce(giorno(16), 0, -s.Importo(900, 2400), "50", "PAGAMENTO DELEGA F24");
    voce(giorno(27), 0, -165'000, "26", "BONIFICO STIPENDIO FERRARI LUCA");
    voce(giorno(27), 0, -148'000, "26", "BONIFICO STIPENDIO CONTI ANNA");
    voce(giorno(12), 0, s.Importo(600, 1800), "05", "VERSAMENTO CONTANTI");
    // Customers pay by transfer, valued the next day; suppliers are paid
    // with the day's value.
    auto cliente = [&](sys_days d, Centesimi importo) {
        voce(d, 1, importo, "48", std::string("BONIFICO A VOSTRO FAVORE DA ") + Clienti[s.Indice(7)],
             "FATTURA N. " + std::to_string(10 + n * 6 + s.Indice(6)) + "/" + std::to_string(a));
    };
    for (int g : {3, 8, 13, 23, 28})
        cliente(giorno(g), s.Importo(1500, 3600));
    for (int g : {4, 11, 18, 24})
        voce(giorno(g), 0, -s.Importo(1400, 4400), "26", std::string("BONIFICO A FAVORE DI ") + Fornitori[s.Indice(5)]);

    const sys_days fine = UltimoGiorno(m, a);
    Centesimi saldo = SaldoIniziale;
    for (const Voce& v : voci)
        if (v.contabile <= fine)
            saldo += v.importo;
    const Centesimi manca = SaldoFineMese[n - 1] - saldo;
    if (manca > 0)
        cliente(LavorativoPrima(Giorno(20, m, a)), manca);
    else if (manca < 0)
        voce(LavorativoPrima(Giorno(20, m, a)), 0, manca, "26", "BONIFICO A FAVORE DI SEGHERIA ALPINA SPA",
             "FORNITURA MENSILE");
}

// Events of the year: the timber purchase of May that goes beyond the credit
// line until a customer pays, and a shorter one in September.
void Eventi(std::vector<Voce>& voci)
{
    voci.push_back({Giorno(15, 5), Giorno(15, 5), -3'800'000, "26", "BONIFICO A FAVORE DI SEGHERIA ALPINA SPA",
                    "ACQUISTO LEGNAME DI ROVERE"});
    voci.push_back({Giorno(21, 5), Giorno(22, 5), 3'800'000, "48", "BONIFICO A VOSTRO FAVORE DA COMUNE DI VALLESANA",
                    "ARREDI BIBLIOTECA COMUNALE SALDO"});
    voci.push_back({Giorno(25, 9), Giorno(25, 9), -2'200'000, "26", "BONIFICO A FAVORE DI VERNICI NORD SRL",
                    "FORNITURA STAGIONALE"});
    voci.push_back({Giorno(27, 9), Giorno(27, 9), -5'000, "66", "COMMISSIONE ISTRUTTORIA VELOCE",
                    "SCONFINAMENTO DEL 25/09/2012"});
    voci.push_back({Giorno(28, 9), Giorno(29, 9), 2'200'000, "48", "BONIFICO A VOSTRO FAVORE DA HOTEL BELVEDERE SRL",
                    "ACCONTO CAMERE"});
}

CondizioniConto Condizioni()
{
    CondizioniPeriodo p;
    p.dal = Contratto;
    p.accordato = Fido;
    p.tassoDebitore = TassoEntroFido;
    p.tassoDebitoreOltreFido = TassoOltreFido;
    p.tassoCreditore = 0.001;
    p.percentualeCMS = PercentualeCMS;
    p.baseCMS = BaseCMS::MassimoScoperto;
    p.speseFisse = SpeseTrimestrali;
    p.tassiPattuiti = Contratto;
    p.capitalizzazionePattuita = Contratto;
    CondizioniPeriodo cdf = p;
    cdf.dal = NuoveCondizioni;
    cdf.baseCMS = BaseCMS::Accordato;
    cdf.commissioniPattuite = NuoveCondizioni;
    cdf.tassiPattuiti = NuoveCondizioni;
    cdf.capitalizzazionePattuita = NuoveCondizioni;
    CondizioniConto c;
    c.periodi = {p, cdf};
    return c;
}

Movimento ComeMovimento(const Voce& v)
{
    Movimento m;
    m.dataContabile = v.contabile;
    m.dataValuta = v.valuta;
    m.importo = v.importo;
    return m;
}

// The quarter's closing, posted as the bank posts it: valued on its last day,
// booked on the first working day after it.
void Chiusura(int trimestre, const CondizioniConto& condizioni, std::vector<Voce>& voci)
{
    const sys_days inizio = Giorno(1, 3 * trimestre - 2), fine = UltimoGiorno(3 * trimestre);
    std::vector<Movimento> movimenti;
    for (const Voce& v : voci)
        movimenti.push_back(ComeMovimento(v));
    const SaldiEstratto partenza{Giorno(31, 12, Anno - 1), Giorno(31, 12, Anno - 1), SaldoIniziale, SaldoIniziale,
                                 {}, 0};
    const Scalare s = CalcolaScalare(movimenti, {partenza}, condizioni, inizio, fine);
    const TrimestreScalare& t = s.trimestri.front();
    const double giorniAnno = 366;
    const auto interessi = static_cast<Centesimi>(std::llround(
        (static_cast<double>(t.numeriDebitoriEntroFido) * TassoEntroFido +
         static_cast<double>(t.numeriDebitoriOltreFido) * TassoOltreFido) / giorniAnno));
    int operazioni = 0;
    for (const Voce& v : voci)
        operazioni += v.contabile >= inizio && v.contabile <= fine && (v.causale == "26" || v.causale == "48" ||
                                                                        v.causale == "50" || v.causale == "05");
    const sys_days registrazione = Lavorativo(fine + days{1});
    auto voce = [&](Centesimi importo, const char* causale, const char* descrizione, std::string seguito = {}) {
        voci.push_back({registrazione, fine, -importo, causale, descrizione, std::move(seguito)});
    };
    voce(interessi, "18", "INTERESSI DEBITORI",
         trimestre <= 2 && t.numeriDebitoriOltreFido > 0 ? "TASSO 13,25% ENTRO FIDO - 15,50% OLTRE FIDO"
                                                        : "TASSO 13,25% ENTRO FIDO");
    if (trimestre <= 2)
        voce(static_cast<Centesimi>(std::llround(static_cast<double>(t.massimoScoperto) * PercentualeCMS)), "18",
             "COMMISSIONE DI MASSIMO SCOPERTO", "0,500% SU MASSIMO SCOPERTO");
    else
        voce(static_cast<Centesimi>(std::llround(static_cast<double>(Fido) * PercentualeCMS)), "66",
             "COMMISSIONE DISPONIBILITA FONDI", "0,500% SU FIDO ACCORDATO DI EURO 50.000,00");
    voce(SpeseTrimestrali, "66", "SPESE TENUTA CONTO");
    voce(SpesaOperazione * operazioni, "66", "SPESE PER OPERAZIONI", "N. " + std::to_string(operazioni) + " OPERAZIONI");
    voce(Bollo, "34", "IMPOSTA DI BOLLO", "ESTRATTO CONTO TRIMESTRALE");
}

// The 120 characters of a CBI record, each field at its 1-based position.
std::string Record(std::initializer_list<std::pair<int, std::string>> campi)
{
    std::string r(120, ' ');
    for (const auto& [posizione, testo] : campi)
        r.replace(static_cast<std::size_t>(posizione - 1), testo.size(), testo);
    return r.substr(0, 120) + "\r\n";
}

std::string Cifre(long long n, int quante)
{
    std::string t = std::to_string(n);
    return std::string(static_cast<std::size_t>(std::max(0, quante - static_cast<int>(t.size()))), '0') + t;
}

std::string GGMMAA(sys_days d)
{
    const year_month_day g{d};
    return Cifre(unsigned(g.day()), 2) + Cifre(unsigned(g.month()), 2) + Cifre(int(g.year()) % 100, 2);
}

// "000000001234,56"
std::string ImportoCBI(Centesimi c)
{
    c = std::abs(c);
    return Cifre(c / 100, 12) + "," + Cifre(c % 100, 2);
}

std::string Segno(Centesimi c)
{
    return c < 0 ? "D" : "C";
}

// The IBAN's two check digits (ISO 13616, remainder 97).
std::string ControlloIBAN(const std::string& bban)
{
    std::string numeri;
    for (char c : bban + "IT00")
        numeri += std::isdigit(static_cast<unsigned char>(c)) ? std::string(1, c) : std::to_string(c - 'A' + 10);
    int resto = 0;
    for (char c : numeri)
        resto = (resto * 10 + (c - '0')) % 97;
    return Cifre(98 - resto, 2);
}

// One statement a month, booked balances, as the bank sends them in one flow.
std::string FileCBI(std::vector<Voce> voci)
{
    std::stable_sort(voci.begin(), voci.end(), [](const Voce& a, const Voce& b) { return a.contabile < b.contabile; });
    const std::string iban = "IT" + ControlloIBAN(std::string("X") + Abi + Cab + NumeroConto);
    std::string cbi = Record({{2, "RH"}, {4, Abi}, {9, "ZELVI"}, {14, GGMMAA(Giorno(1, 2, Anno + 1))},
                              {20, "ESEMPIO2012"}});
    int records = 1, estratti = 0;
    Centesimi saldo = SaldoIniziale;
    std::size_t i = 0;
    for (int n = 1; n <= 13; ++n) {
        const int m = n > 12 ? 1 : n, a = n > 12 ? Anno + 1 : Anno;
        const sys_days primo = Giorno(1, m, a), ultimo = UltimoGiorno(m, a);
        const std::string progressivo = Cifre(++estratti, 7);
        cbi += Record({{2, "61"}, {4, progressivo}, {20, "CONTO CORRENTE ORDINARIO"}, {52, "X"}, {53, Abi},
                       {58, Cab}, {63, NumeroConto}, {75, "EUR"}, {78, GGMMAA(primo - days{1})}, {84, Segno(saldo)},
                       {85, ImportoCBI(saldo)}, {100, iban.substr(0, 4)}});
        ++records;
        int movimento = 0;
        for (; i < voci.size() && voci[i].contabile <= ultimo; ++i) {
            const Voce& v = voci[i];
            const std::string numero = Cifre(++movimento, 3);
            cbi += Record({{2, "62"}, {4, progressivo}, {11, numero}, {14, GGMMAA(v.valuta)},
                           {20, GGMMAA(v.contabile)}, {26, Segno(v.importo)}, {27, ImportoCBI(v.importo)},
                           {42, v.causale}, {87, v.descrizione.substr(0, 34)}});
            ++records;
            if (!v.seguito.empty()) {
                cbi += Record({{2, "63"}, {4, progressivo}, {11, numero}, {14, v.seguito}});
                ++records;
            }
            saldo += v.importo;
        }
        cbi += Record({{2, "64"}, {4, progressivo}, {11, "EUR"}, {14, GGMMAA(ultimo)}, {20, Segno(saldo)},
                       {21, ImportoCBI(saldo)}, {36, Segno(saldo)}, {37, ImportoCBI(saldo)}});
        ++records;
    }
    if (i != voci.size())
        throw std::logic_error("movimenti oltre gennaio 2013");
    cbi += Record({{2, "EF"}, {4, Abi}, {9, "ZELVI"}, {14, GGMMAA(Giorno(1, 2, Anno + 1))}, {20, "ESEMPIO2012"},
                   {46, Cifre(estratti, 7)}, {83, Cifre(records + 1, 7)}});
    return cbi;
}

std::vector<Voce> Movimenti()
{
    const CondizioniConto condizioni = Condizioni();
    Sequenza s;
    std::vector<Voce> voci;
    Eventi(voci);
    for (int n = 1; n <= 13; ++n) {
        Mese(n, s, voci);
        if (n % 3 == 0)
            Chiusura(n / 3, condizioni, voci);
    }
    return voci;
}

void Compila(Documento& d, const EsitoImportazione& importato)
{
    d.setAnnoRiferimento(Anno);
    d.Trimestri(1).setDescrizione("Conto corrente di una falegnameria, movimenti del 2012 da estratto CBI");
    ContoMovimenti& conto = d.ContoCorrente();
    conto.conto.intestatario = "Falegnameria Verdi S.n.c.";
    conto.conto.banca = "Banca di prova";
    conto.condizioni = Condizioni();
    ApplicaImportazione(conto, importato);

    // The quarters as "Calcola trimestri dai movimenti" fills them.
    const Scalare scalare = CalcolaScalare(conto.movimenti, conto.saldi, conto.condizioni);
    const auto figure = FigureAnno(scalare, Anno);
    for (int q = 1; q <= 4; ++q) {
        const FigureTrimestre& f = figure[static_cast<std::size_t>(q - 1)];
        if (f.parziale())
            throw std::runtime_error("il trimestre " + std::to_string(q) + " non è coperto per intero dagli estratti");
        BOX& t = d.Trimestri(q);
        t.setNumeri(f.numeri.valore);
        t.setInteressi(f.interessi.valore);
        t.setCommissioni(f.commissioni.valore);
        t.setSpese(f.spese.valore);
        t.setGiorniValuta(f.giorniValuta.valore);
        t.setAccordato(f.accordato.valore);
        t.setCMS(f.cms.valore);
        t.setMassimoScoperto(f.massimoScoperto.valore);
    }
}

bool StesseFigure(const Documento& d)
{
    const ContoMovimenti& conto = d.ContoCorrente();
    const auto figure = FigureAnno(CalcolaScalare(conto.movimenti, conto.saldi, conto.condizioni), Anno);
    for (int q = 1; q <= 4; ++q) {
        const FigureTrimestre& f = figure[static_cast<std::size_t>(q - 1)];
        const BOX& t = d.Trimestri(q);
        if (t.Numeri() != f.numeri.valore || t.Interessi() != f.interessi.valore ||
            t.Commissioni() != f.commissioni.valore || t.Spese() != f.spese.valore ||
            t.GiorniValuta() != f.giorniValuta.valore || t.Accordato() != f.accordato.valore ||
            t.CMS() != f.cms.valore || t.MassimoScoperto() != f.massimoScoperto.valore)
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "uso: genera-esempio-movimenti <cartella dell'archivio> <cartella di lavoro>\n");
        return 2;
    }
    const QString cartella = QString::fromLocal8Bit(argv[1]), lavoro = QString::fromLocal8Bit(argv[2]);
    const QString nome = QStringLiteral("Esempio movimenti");
    try {
        QDir().mkpath(cartella);
        QDir().mkpath(lavoro);
        const QString estratto = QDir(lavoro).filePath(QStringLiteral("Esempio movimenti 2012.cbi"));
        QFile file(estratto);
        const std::string cbi = FileCBI(Movimenti());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(cbi.data(), static_cast<qint64>(cbi.size())) != static_cast<qint64>(cbi.size()))
            throw std::runtime_error("l'estratto " + estratto.toStdString() + " non si scrive");
        file.close();

        const EsitoImportazione importato = ImportaEstratti({estratto}, {});
        if (importato.riepilogo.fileAccettati != 1 || !importato.avvisi.isEmpty()) {
            for (const QString& riga : TestoEsito(importato))
                std::fprintf(stderr, "%s\n", qPrintable(riga));
            throw std::runtime_error("l'estratto dell'esempio non si importa");
        }

        CreaConteggio(cartella, nome);
        Documento atteso;
        atteso.InizializzaConteggio();
        atteso.setNomeConteggio(nome.toStdString());
        Compila(atteso, importato);
        SalvaConteggio(cartella, atteso);

        // Read back, the file holds what was written, and its quarters are
        // the scale's.
        Documento letto;
        letto.InizializzaConteggio();
        LeggiConteggio(cartella, nome, letto);
        const bool uguali = StessiValori(letto, atteso) && StessoConto(letto.ContoCorrente(), atteso.ContoCorrente());
        if (!uguali || !StesseFigure(letto)) {
            std::fprintf(stderr, "genera-esempio-movimenti: il conteggio riletto non %s\n",
                         uguali ? "ha i trimestri dello scalare" : "ha i dati scritti");
            QFile::remove(PercorsoConteggio(cartella, nome));
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "genera-esempio-movimenti: %s\n", e.what());
        QFile::remove(PercorsoConteggio(cartella, nome));
        return 1;
    }
    return 0;
}
