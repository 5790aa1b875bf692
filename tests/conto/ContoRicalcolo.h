#pragma once
// A small account for the tests of the recalculation's window and report:
// 2015, a debit of 5.000,00 declared at the start, rates of 10% agreed in
// writing, the bank's quarterly interest above what the rates give, two
// payments in.
#include "Dichiarazioni.h"

#include <chrono>

namespace prova {

inline void ContoRicalcolo(Documento& d)
{
    using namespace std::chrono;
    const auto g = [](int a, unsigned m, unsigned gg) { return sys_days{year{a} / month{m} / day{gg}}; };
    d.InizializzaConteggio();
    d.setNomeConteggio("Ricalcolo di prova");
    d.setAnnoRiferimento(2015);
    ContoMovimenti& c = d.ContoCorrente();
    c.conto.intestatario = "Rossi Mario";
    c.conto.banca = "Banca di Prova";
    CondizioniPeriodo p;
    p.dal = g(2015, 1, 1);
    p.tassoDebitore = p.tassoDebitoreOltreFido = 0.10;
    p.tassiPattuiti = p.dal;
    c.condizioni.periodi = {p};
    const auto m = [&](sys_days contabile, sys_days valuta, Centesimi importo, ClasseMovimento classe,
                       const char* descrizione) {
        Movimento mv;
        mv.dataContabile = contabile;
        mv.dataValuta = valuta;
        mv.importo = importo;
        mv.classe = classe;
        mv.descrizione = descrizione;
        c.movimenti.push_back(mv);
    };
    using C = ClasseMovimento;
    m(g(2015, 2, 16), g(2015, 2, 15), 100000, C::Ordinario, "Versamento contanti");
    m(g(2015, 4, 2), g(2015, 3, 31), -15000, C::InteressiDebitori, "Interessi debitori I trimestre");
    m(g(2015, 7, 2), g(2015, 6, 30), -13000, C::InteressiDebitori, "Interessi debitori II trimestre");
    m(g(2015, 8, 10), g(2015, 8, 12), 50000, C::Ordinario, "Bonifico a favore");
    m(g(2015, 10, 2), g(2015, 9, 30), -12000, C::InteressiDebitori, "Interessi debitori III trimestre");
    m(g(2015, 12, 31), g(2015, 12, 31), -11000, C::InteressiDebitori, "Interessi debitori IV trimestre");
    Centesimi fine = -500000;
    for (const Movimento& mv : c.movimenti)
        fine += mv.importo;
    c.saldi = {{g(2015, 1, 1), g(2015, 12, 31), -500000, fine, "estratto 2015", 1}};
}

} // namespace prova
