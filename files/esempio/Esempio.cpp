// Writes the example calculation "Esempio" into the archive folder given on
// the command line: a current account over the four quarters of 2010, a
// mortgage, ten dated cash flows and a short-term financing, with the
// choices of the usury check. The file is made and filled through the same
// functions the program uses, then read back and compared field by field.
#include "Archivio.h"
#include "Dichiarazioni.h"
#include "Funzioni.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <array>
#include <chrono>
#include <cstdio>
#include <exception>

namespace {

using namespace std::chrono;

struct Trimestre {
    double numeri, interessi, commissioni, spese, giorniValuta, accordato, cms, massimoScoperto;
};

// A year of statements of a small firm's current account.
constexpr std::array<Trimestre, 4> Conto = {{
    {9000000.00, 2000.00, 500.00, 100.00, 3.00, 150000.00, 300.00, 140000.00},
    {12500000.00, 2650.40, 610.25, 85.50, 2.50, 150000.00, 400.00, 162000.00},
    {7300000.55, 1820.10, 380.00, 92.30, 4.00, 120000.00, 250.00, 118000.00},
    {10100000.00, 2300.75, 520.40, 110.00, 3.50, 0.00, 350.00, 125000.00},
}};

void Compila(Documento& d)
{
    d.setAnnoRiferimento(2010);
    d.Trimestri(1).setDescrizione("Conto corrente aziendale con fido, anno 2010");
    for (int q = 1; q <= 4; ++q) {
        const Trimestre& f = Conto[static_cast<std::size_t>(q - 1)];
        BOX& t = d.Trimestri(q);
        t.setNumeri(f.numeri);
        t.setInteressi(f.interessi);
        t.setCommissioni(f.commissioni);
        t.setSpese(f.spese);
        t.setGiorniValuta(f.giorniValuta);
        t.setAccordato(f.accordato);
        t.setCMS(f.cms);
        t.setMassimoScoperto(f.massimoScoperto);
    }

    Mutuo& m = d.MutuoCorrente();
    m.setDescrizione("Mutuo ipotecario prima casa, 10 anni a rate mensili");
    m.setImporto(100000);
    m.setOneri(1500);
    m.setRata(1000);
    m.setNRate(120);
    m.setRateAnnuali(12);

    // 10000 received in January, repaid with nine monthly payments of 1200.
    OPE& o = d.Operazioni();
    o.setDescrizione("Prestito personale con nove rimborsi mensili");
    for (int r = 1; r <= OPE::Righe; ++r) {
        o.setAnno(r, 2010);
        o.setMese(r, r);
        o.setImporto(r, r == 1 ? 10000 : 1200);
        o.setSegno(r, r == 1 ? 1 : -1);
    }

    BREVE& b = d.BreveCorrente();
    b.setDescrizione("Anticipo su fatture a tre mesi");
    b.setFinanziato(10000);
    b.setOneri(100);
    b.setRestituito(10200);
    b.setData0(sys_days{year{2010} / January / 1});
    b.setData1(sys_days{year{2010} / April / 1});

    // The usury check: the account and the mortgage keep their default
    // categories; every operation has a date and a category, so that each
    // rate gets a verdict.
    ParametriUsura& u = d.Usura();
    u.setDataStipula(sys_days{year{2010} / March / 15});
    u.setDataOperazioni(sys_days{year{2010} / January / 4});
    u.setCategoriaOperazioni("CREDITO PERSONALE");
    u.setCategoriaBreve("ANTICIPI, SCONTI COMMERCIALI E ALTRI FINANZIAMENTI ALLE IMPRESE");
}

bool Tasso(double t)
{
    return t != DatiIncoerenti && t > 0 && t < 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "uso: genera-esempio <cartella dell'archivio>\n");
        return 2;
    }
    const QString cartella = QString::fromLocal8Bit(argv[1]);
    const QString nome = QStringLiteral("Esempio");
    try {
        QDir().mkpath(cartella);
        CreaConteggio(cartella, nome);
        Documento atteso;
        atteso.InizializzaConteggio();
        atteso.setNomeConteggio(nome.toStdString());
        Compila(atteso);
        SalvaConteggio(cartella, atteso);

        // Loaded back, the file gives these figures and a rate for each of
        // the four calculations.
        Documento letto;
        letto.InizializzaConteggio();
        LeggiConteggio(cartella, nome, letto);
        const bool uguali = StessiValori(letto, atteso);
        letto.MutuoCorrente().Aggiorna();
        letto.Operazioni().Aggiorna();
        letto.BreveCorrente().Aggiorna();
        bool tassi = Tasso(letto.MutuoCorrente().TEGannuale()) && Tasso(letto.Operazioni().TEG()) &&
                     Tasso(letto.BreveCorrente().TEG());
        for (int q = 1; q <= 4; ++q) {
            letto.Trimestri(q).Aggiorna();
            tassi = tassi && Tasso(letto.Trimestri(q).TEG());
        }
        if (!uguali || !tassi) {
            std::fprintf(stderr, "genera-esempio: il conteggio riletto non %s\n",
                         uguali ? "dà un tasso per ogni calcolo" : "ha le cifre scritte");
            QFile::remove(PercorsoConteggio(cartella, nome));
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "genera-esempio: %s\n", e.what());
        return 1;
    }
    return 0;
}
