// Import of ten years of a busy business account: 50 000 movements in one
// CBI file (a statement a day) and in one camt.053 file (a statement a
// month), read, checked and returned ready to add. The memory the result
// holds is reported as a counter (MB_risultato).
#include "ImportaEstratti.h"
#include "TestoEstratti.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <malloc.h>

#include <cstdio>

using namespace std::chrono;

namespace {

constexpr int Movimenti = 50000;
constexpr int PerGiorno = 20;  // 2 500 days of statements

std::string Importo(Centesimi c)
{
    char s[24];
    std::snprintf(s, sizeof s, "%012lld,%02lld", static_cast<long long>((c < 0 ? -c : c) / 100),
                  static_cast<long long>((c < 0 ? -c : c) % 100));
    return s;
}

std::string GGMMAA(sys_days g)
{
    const year_month_day d{g};
    char s[16];
    std::snprintf(s, sizeof s, "%02u%02u%02d", unsigned(d.day()), unsigned(d.month()), int(d.year()) % 100);
    return s;
}

std::string ISO(sys_days g)
{
    const year_month_day d{g};
    char s[16];
    std::snprintf(s, sizeof s, "%04d-%02u-%02u", int(d.year()), unsigned(d.month()), unsigned(d.day()));
    return s;
}

// A record of 120 characters with the fields at their 1-based positions.
std::string Record(std::initializer_list<std::pair<int, std::string>> campi)
{
    std::string r(120, ' ');
    for (const auto& [da, testo] : campi)
        r.replace(static_cast<std::size_t>(da - 1), testo.size(), testo);
    return r + "\r\n";
}

// The amount of movement i: mostly small debits, some large credits.
Centesimi ImportoDi(int i)
{
    return i % 7 == 0 ? 150000 + i % 1000 : -(1000 + (i * 37) % 90000);
}

struct File {
    QTemporaryDir cartella;
    QString cbi, camt;
};

const File& Fissaggi()
{
    static const File f = [] {
        File f;
        const sys_days inizio = sys_days{year{2014} / 1 / 2};
        // CBI: a statement a day, each movement with a 63.
        std::string cbi = Record({{2, "RH"}, {4, "05428"}, {9, "AB123"}, {14, "010124"}});
        Centesimi saldo = 0;
        int n = 0, records = 1, estratti = 0;
        for (int giorno = 0; n < Movimenti; ++giorno) {
            const sys_days g = inizio + days{giorno};
            char prog[16];
            std::snprintf(prog, sizeof prog, "%07d", ++estratti);
            cbi += Record({{2, "61"}, {4, prog}, {53, "05428"}, {58, "11101"}, {63, "000000123456"}, {75, "EUR"},
                           {78, GGMMAA(g)}, {84, saldo < 0 ? "D" : "C"}, {85, Importo(saldo)}});
            for (int k = 0; k < PerGiorno; ++k, ++n) {
                const Centesimi importo = ImportoDi(n);
                saldo += importo;
                cbi += Record({{2, "62"}, {4, prog}, {14, GGMMAA(g - days{k % 3})}, {20, GGMMAA(g)},
                               {26, importo < 0 ? "D" : "C"}, {27, Importo(importo)}, {42, "26"},
                               {87, "BONIFICO N. " + std::to_string(n)}});
                cbi += Record({{2, "63"}, {4, prog}, {14, "A FAVORE DI FORNITORE " + std::to_string(n % 300)}});
            }
            cbi += Record({{2, "64"}, {4, prog}, {11, "EUR"}, {14, GGMMAA(g)}, {20, saldo < 0 ? "D" : "C"},
                           {21, Importo(saldo)}});
            records += 2 + 2 * PerGiorno;
        }
        char conteggi[2][16];
        std::snprintf(conteggi[0], 16, "%07d", estratti);
        std::snprintf(conteggi[1], 16, "%07d", records + 1);
        cbi += Record({{2, "EF"}, {4, "05428"}, {46, conteggi[0]}, {83, conteggi[1]}});

        // camt.053: a statement a month.
        std::string camt = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Document "
                           "xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.08\"><BkToCstmrStmt>\n";
        auto saldoXml = [](const char* tipo, Centesimi s, sys_days g) {
            char t[64];
            std::snprintf(t, sizeof t, "%lld.%02lld", static_cast<long long>((s < 0 ? -s : s) / 100),
                          static_cast<long long>((s < 0 ? -s : s) % 100));
            return std::string("<Bal><Tp><CdOrPrtry><Cd>") + tipo + "</Cd></CdOrPrtry></Tp><Amt Ccy=\"EUR\">" + t +
                   "</Amt><CdtDbtInd>" + (s < 0 ? "DBIT" : "CRDT") + "</CdtDbtInd><Dt><Dt>" + ISO(g) + "</Dt></Dt></Bal>\n";
        };
        saldo = 0;
        const int mesi = 120, perMese = Movimenti / mesi + 1;
        n = 0;
        for (int mese = 0; mese < mesi && n < Movimenti; ++mese) {
            const sys_days g0{year_month_day{year{2014} / January / 1} + months{mese}};
            camt += "<Stmt><Id>" + std::to_string(mese) +
                    "</Id><Acct><Id><IBAN>IT60X0542811101000000123456</IBAN></Id><Ccy>EUR</Ccy></Acct>\n";
            camt += saldoXml("OPBD", saldo, g0);
            for (int k = 0; k < perMese && n < Movimenti; ++k, ++n) {
                const Centesimi importo = ImportoDi(n);
                saldo += importo;
                const sys_days g = g0 + days{k % 28};
                char t[64];
                std::snprintf(t, sizeof t, "%lld.%02lld", static_cast<long long>((importo < 0 ? -importo : importo) / 100),
                              static_cast<long long>((importo < 0 ? -importo : importo) % 100));
                camt += std::string("<Ntry><Amt Ccy=\"EUR\">") + t + "</Amt><CdtDbtInd>" +
                        (importo < 0 ? "DBIT" : "CRDT") + "</CdtDbtInd><Sts><Cd>BOOK</Cd></Sts><BookgDt><Dt>" + ISO(g) +
                        "</Dt></BookgDt><ValDt><Dt>" + ISO(g - days{k % 3}) +
                        "</Dt></ValDt><BkTxCd><Domn><Cd>PMNT</Cd><Fmly><Cd>ICDT</Cd><SubFmlyCd>ESCT</SubFmlyCd></Fmly>"
                        "</Domn><Prtry><Cd>26</Cd><Issr>ABI</Issr></Prtry></BkTxCd><NtryDtls><TxDtls><RmtInf><Ustrd>"
                        "BONIFICO N. " + std::to_string(n) + "</Ustrd></RmtInf></TxDtls></NtryDtls><AddtlNtryInf>A FAVORE DI "
                        "FORNITORE " + std::to_string(n % 300) + "</AddtlNtryInf></Ntry>\n";
            }
            camt += saldoXml("CLBD", saldo, g0 + days{27}) + "</Stmt>\n";
        }
        camt += "</BkToCstmrStmt></Document>\n";

        auto scrivi = [&](const char* nome, const std::string& testo) {
            const QString percorso = f.cartella.filePath(QString::fromLatin1(nome));
            QFile file(percorso);
            if (!file.open(QIODevice::WriteOnly) || file.write(testo.data(), qint64(testo.size())) != qint64(testo.size()))
                std::abort();
            return percorso;
        };
        f.cbi = scrivi("dieci_anni.cbi", cbi);
        f.camt = scrivi("dieci_anni.xml", camt);
        return f;
    }();
    return f;
}

void Importa(benchmark::State& stato, const QString& percorso)
{
    OpzioniImportazione opzioni;
    opzioni.oggi = sys_days{year{2025} / 1 / 1};
    std::size_t inUso = 0;
    for (auto _ : stato) {
        const std::size_t prima = mallinfo2().uordblks;
        EsitoImportazione esito = ImportaEstratti({percorso}, {}, opzioni);
        inUso = mallinfo2().uordblks - prima;
        if (esito.movimenti.size() != std::size_t(Movimenti) || !esito.file.front().accettato)
            stato.SkipWithError("import refused");
        benchmark::DoNotOptimize(esito.movimenti.data());
    }
    stato.counters["movimenti"] = Movimenti;
    stato.counters["MB_file"] = double(QFileInfo(percorso).size()) / (1 << 20);
    stato.counters["MB_risultato"] = double(inUso) / (1 << 20);
}

void ImportaCBI(benchmark::State& stato)
{
    Importa(stato, Fissaggi().cbi);
}

void ImportaCamt053(benchmark::State& stato)
{
    Importa(stato, Fissaggi().camt);
}

// The floor under ImportaCamt053: Qt's reader going through the file alone.
void SoloLetturaXML(benchmark::State& stato)
{
    for (auto _ : stato) {
        QFile file(Fissaggi().camt);
        if (!file.open(QIODevice::ReadOnly))
            stato.SkipWithError("cannot open");
        QXmlStreamReader xml(&file);
        long elementi = 0;
        while (!xml.atEnd())
            elementi += xml.readNext() == QXmlStreamReader::StartElement;
        benchmark::DoNotOptimize(elementi);
    }
}

BENCHMARK(ImportaCBI)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportaCamt053)->Unit(benchmark::kMillisecond);
BENCHMARK(SoloLetturaXML)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
