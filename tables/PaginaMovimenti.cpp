#include "PaginaMovimenti.h"

#include "Calendario.h"
#include "ControlloEstratti.h"
#include "Scalare.h"

#include <algorithm>
#include <cstdint>
#include <exception>

QString TestoCentesimiQt(Centesimi importo)
{
    return QString::fromStdString(TestoCentesimi(importo));
}

QString TestoGiornoQt(std::chrono::sys_days giorno)
{
    return QString::fromStdString(calendario::Testo(giorno));
}

QString TestoConto(const DatiConto& conto)
{
    QStringList parti;
    for (const std::string* s : {&conto.intestatario, &conto.banca})
        if (!s->empty())
            parti << QString::fromStdString(*s);
    if (!conto.iban.empty())
        parti << QStringLiteral("IBAN ") + QString::fromStdString(conto.iban);
    else if (!conto.numero.empty())
        parti << QStringLiteral("ABI %1 CAB %2 c/c %3")
                     .arg(QString::fromStdString(conto.abi), QString::fromStdString(conto.cab),
                          QString::fromStdString(conto.numero));
    return parti.join(QStringLiteral(" \u2013 "));
}

const QStringList& IntestazioniMovimenti()
{
    static const QStringList intestazioni = {"N.",        "Data contabile", "Valuta", "Importo",
                                             "Causale",   "Descrizione",    "Classe", "Regola",
                                             "Saldo per valuta", "Saldo dichiarato"};
    return intestazioni;
}

SaldiAccanto CalcolaSaldiAccanto(const ContoMovimenti& conto)
{
    SaldiAccanto s;
    try {
        s.perValuta = SaldiPerValuta(conto.movimenti, SaldoDiPartenza(conto.movimenti, conto.saldi).first);
        s.estratti = ControllaSaldiDichiarati(conto.movimenti, conto.saldi);
    } catch (const std::overflow_error& e) {
        s = {};
        s.errore = QString::fromUtf8(e.what());
        return s;
    }
    for (std::size_t e = 0; e < s.estratti.size(); ++e)
        if (s.estratti[e].ultimo)
            s.chiusure.emplace_back(*s.estratti[e].ultimo, e);
    std::sort(s.chiusure.begin(), s.chiusure.end());
    return s;
}

std::vector<std::size_t> ChiusureDopo(const SaldiAccanto& s, std::size_t i)
{
    std::vector<std::size_t> estratti;
    auto it = std::lower_bound(s.chiusure.begin(), s.chiusure.end(), std::make_pair(i, std::size_t{0}));
    for (; it != s.chiusure.end() && it->first == i; ++it)
        estratti.push_back(it->second);
    return estratti;
}

QString TestoControlloSaldi(const ContoMovimenti& conto, const ControlloSaldi& c)
{
    const SaldiEstratto& e = conto.saldi[c.estratto];
    QString t = QStringLiteral("%1 al %2: ").arg(TestoCentesimiQt(e.saldoFinale), TestoGiornoQt(e.dataFinale));
    return t + (c.Concorda() ? QStringLiteral("concorda")
                             : QStringLiteral("differenza %1").arg(TestoCentesimiQt(c.differenza)));
}

QString DettaglioControlloSaldi(const ContoMovimenti& conto, const ControlloSaldi& c)
{
    const SaldiEstratto& e = conto.saldi[c.estratto];
    QString t = QStringLiteral("Estratto dal %1 al %2: saldo iniziale %3 + %4 movimenti per %5 = %6; "
                               "saldo finale dichiarato %7")
                    .arg(TestoGiornoQt(e.dataIniziale), TestoGiornoQt(e.dataFinale), TestoCentesimiQt(e.saldoIniziale))
                    .arg(c.movimenti)
                    .arg(TestoCentesimiQt(c.somma), TestoCentesimiQt(c.calcolato), TestoCentesimiQt(e.saldoFinale));
    return t + (c.Concorda() ? QStringLiteral(": concorda.")
                             : QStringLiteral(": non concorda, differenza %1.").arg(TestoCentesimiQt(c.differenza)));
}

QString TestoMovimento(const ContoMovimenti& conto, const SaldiAccanto& s, std::size_t i, ColonnaMovimenti c)
{
    const Movimento& m = conto.movimenti[i];
    switch (c) {
    case ColonnaMovimenti::Numero: return QString::number(i + 1);
    case ColonnaMovimenti::DataContabile: return TestoGiornoQt(m.dataContabile);
    case ColonnaMovimenti::DataValuta: return TestoGiornoQt(m.dataValuta);
    case ColonnaMovimenti::Importo: return TestoCentesimiQt(m.importo);
    case ColonnaMovimenti::Causale: return QString::fromStdString(m.causaleCBI);
    case ColonnaMovimenti::Descrizione: return QString::fromStdString(m.descrizione);
    case ColonnaMovimenti::Classe: return QString::fromStdString(NomeClasse(m.classe));
    case ColonnaMovimenti::Regola:
        return m.regolaClasse == ClasseAMano ? QStringLiteral("a mano")
               : m.regolaClasse > 0          ? QString::number(m.regolaClasse)
                                             : QString();
    case ColonnaMovimenti::Saldo: return i < s.perValuta.size() ? TestoCentesimiQt(s.perValuta[i]) : QString();
    case ColonnaMovimenti::Estratto: {
        QStringList testi;
        for (const std::size_t e : ChiusureDopo(s, i))
            testi << TestoControlloSaldi(conto, s.estratti[e]);
        return testi.join(QStringLiteral("; "));
    }
    }
    return {};
}

DatiPaginaMovimenti PaginaMovimenti(const ContoMovimenti& conto, const std::vector<std::size_t>& ordine,
                                    const QString& filtro, const QString& nomeConteggio)
{
    DatiPaginaMovimenti p;
    p.titolo = QStringLiteral("Movimenti del conto");
    p.sottotitolo = TestoConto(conto.conto);
    if (p.sottotitolo.isEmpty() && !nomeConteggio.isEmpty())
        p.sottotitolo = QStringLiteral("Conteggio \u00ab%1\u00bb").arg(nomeConteggio);
    p.filtro = filtro;
    const SaldiAccanto s = CalcolaSaldiAccanto(conto);
    p.errore = s.errore;
    p.righe.reserve(ordine.size());
    __int128 dare = 0, avere = 0;
    for (const std::size_t i : ordine) {
        if (i >= conto.movimenti.size())
            continue;
        std::array<QString, ColonneMovimenti> riga;
        for (int c = 0; c < ColonneMovimenti; ++c)
            riga[static_cast<std::size_t>(c)] = TestoMovimento(conto, s, i, static_cast<ColonnaMovimenti>(c));
        p.righe.push_back(std::move(riga));
        (conto.movimenti[i].importo < 0 ? dare : avere) += conto.movimenti[i].importo;
    }
    const auto testo = [](__int128 v) {
        return v >= INT64_MIN && v <= INT64_MAX ? TestoCentesimiQt(static_cast<Centesimi>(v))
                                                : QStringLiteral("(troppo grande)");
    };
    p.totali = QStringLiteral("%1 movimenti: dare %2, avere %3, differenza %4")
                   .arg(p.righe.size())
                   .arg(testo(-dare), testo(avere), testo(avere + dare));
    for (const ControlloSaldi& c : s.estratti)
        p.estratti << DettaglioControlloSaldi(conto, c);
    return p;
}
