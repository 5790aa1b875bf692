#include "PaginaRegole.h"

#include <QRegularExpression>

namespace {

QString Unite(const std::vector<std::string>& parti)
{
    QStringList t;
    for (const std::string& p : parti)
        t << QString::fromStdString(p);
    return t.join(QStringLiteral("; "));
}

std::vector<std::string> Parti(const QStringList& parti)
{
    std::vector<std::string> r;
    for (const QString& p : parti)
        if (const QString t = p.trimmed(); !t.isEmpty())
            r.push_back(t.toStdString());
    return r;
}

} // namespace

QString TestoCausali(const RegolaClasse& regola)
{
    return Unite(regola.causali);
}

QString TestoParole(const RegolaClasse& regola)
{
    return Unite(regola.parole);
}

std::vector<std::string> LeggiCausali(const QString& testo)
{
    static const QRegularExpression separatori(QStringLiteral("[;,\\s]+"));
    return Parti(testo.split(separatori, Qt::SkipEmptyParts));
}

std::vector<std::string> LeggiParole(const QString& testo)
{
    return Parti(testo.split(QLatin1Char(';')));
}

QString NomeSegno(SegnoRegola segno)
{
    switch (segno) {
    case SegnoRegola::Addebito: return QStringLiteral("dare");
    case SegnoRegola::Accredito: return QStringLiteral("avere");
    case SegnoRegola::Qualsiasi: break;
    }
    return QStringLiteral("qualsiasi");
}

DatiPaginaRegole PaginaRegole(const std::vector<RegolaClasse>& regole, const std::vector<Movimento>& movimenti,
                              bool daApplicare)
{
    DatiPaginaRegole d;
    d.titolo = QStringLiteral("Regole delle classi dei movimenti");
    d.daApplicare = daApplicare;

    std::vector<std::size_t> perRegola(regole.size() + 1, 0);
    std::size_t aMano = 0;
    const ClassificatoreMovimenti classificatore(regole);
    for (const Movimento& m : movimenti) {
        if (m.regolaClasse == ClasseAMano) {
            ++aMano;
            continue;
        }
        ++perRegola[static_cast<std::size_t>(classificatore.Classe(m).second)];
    }
    for (std::size_t i = 0; i < regole.size(); ++i) {
        const RegolaClasse& r = regole[i];
        d.righe.push_back({QString::number(i + 1), TestoCausali(r), TestoParole(r), NomeSegno(r.segno),
                           QString::fromStdString(NomeClasse(r.classe)), QString::number(perRegola[i + 1])});
    }
    d.note << QStringLiteral("Movimenti che nessuna regola classifica (ordinari): %1").arg(perRegola[0])
           << QStringLiteral("Movimenti con la classe data a mano, che le regole non cambiano: %1").arg(aMano)
           << QStringLiteral("Movimenti del conto: %1").arg(movimenti.size());
    if (daApplicare)
        d.note << QStringLiteral("Le regole mostrate non sono ancora state applicate ai movimenti.");
    for (const ErroreRegola& e : ControllaRegole(regole))
        d.errori << QString::fromStdString(e.testo);
    return d;
}
