#include "TabellaEsportazione.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <set>

int TabellaEsportazione::Colonne() const
{
    std::size_t n = 0;
    for (const auto& r : righe)
        n = std::max(n, r.size());
    return static_cast<int>(n);
}

namespace {

// The number of a text in the windows' Italian form: optional "-", digits
// grouped by "." in threes (or not grouped), optional "," and decimals.
// Read through the C locale's decimal point with the exponent doing the
// division, so "8,125" as a percentage is the double nearest to 0.08125.
bool leggiNumero(const QString& testo, int esponente, double& valore, int& decimali)
{
    static const QRegularExpression forma(QStringLiteral("^(-?)(\\d{1,3}(?:\\.\\d{3})+|\\d+)(?:,(\\d+))?$"));
    const QRegularExpressionMatch m = forma.match(testo);
    if (!m.hasMatch())
        return false;
    QString intera = m.captured(2);
    intera.remove(QLatin1Char('.'));
    const QString frazione = m.captured(3);
    QString c = m.captured(1) + intera;
    if (!frazione.isEmpty())
        c += QLatin1Char('.') + frazione;
    if (esponente != 0)
        c += QStringLiteral("e%1").arg(esponente);
    bool ok = false;
    valore = c.toDouble(&ok);
    if (!ok || !std::isfinite(valore))
        return false;
    if (valore == 0)
        valore = 0;  // no "-0" in a sheet
    decimali = static_cast<int>(frazione.size());
    return true;
}

QString pulisciFoglio(QString nome)
{
    for (const QChar c : QStringLiteral("[]:*?/\\"))
        nome.replace(c, QLatin1Char(' '));
    nome = nome.simplified();
    while (nome.startsWith(QLatin1Char('\'')))
        nome.remove(0, 1);
    while (nome.endsWith(QLatin1Char('\'')))
        nome.chop(1);
    return nome.trimmed();
}

// Cuts to n characters, at the last blank when that keeps most of the name.
QString tronca(const QString& nome, int n)
{
    if (nome.size() <= n)
        return nome;
    QString t = nome.left(n);
    const int spazio = static_cast<int>(t.lastIndexOf(QLatin1Char(' ')));
    if (spazio >= n * 2 / 3 && !nome.at(n).isSpace())
        t = t.left(spazio);
    return t.trimmed();
}

QString numeroCSV(const CellaEsportazione& c)
{
    const double v = c.tipo == TipoCella::Tasso ? c.valore * 100 : c.valore;
    QString t = QString::number(v, 'f', std::clamp(c.decimali, 0, 15));
    t.replace(QLatin1Char('.'), QLatin1Char(','));
    static const QRegularExpression cifra(QStringLiteral("[1-9]"));
    if (t.startsWith(QLatin1Char('-')) && !t.contains(cifra))
        t.remove(0, 1);  // "-0,00"
    return c.tipo == TipoCella::Tasso ? t + QLatin1Char('%') : t;
}

QString campoCSV(const CellaEsportazione& c)
{
    switch (c.tipo) {
    case TipoCella::Vuota:
        return {};
    case TipoCella::Importo:
    case TipoCella::Tasso:
    case TipoCella::Numero:
        return numeroCSV(c);
    case TipoCella::Data:
        return c.data.toString(QStringLiteral("dd/MM/yyyy"));
    case TipoCella::Testo:
        break;
    }
    QString t = c.testo;
    // A label made of a sign, a blank and words ("= Oneri effettivamente
    // addebitati", "+ spese") has nothing a formula could compute with: it is
    // quoted and keeps its text. Any other text starting with a sign gets an
    // apostrophe in front, so that no spreadsheet takes it as a formula.
    static const QRegularExpression etichetta(QStringLiteral("^[=+\\-@] [\\p{L} .,'\u2019%\u20AC]+$"));
    const bool segno = !t.isEmpty() && QStringLiteral("=+-@").contains(t.at(0));
    const bool soloParole = segno && etichetta.match(t).hasMatch();
    if (segno && !soloParole)
        t.prepend(QLatin1Char('\''));
    if (soloParole || t.contains(QLatin1Char(';')) || t.contains(QLatin1Char('"')) || t.contains(QLatin1Char('\n'))
        || t.contains(QLatin1Char('\r'))) {
        t.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        t = QLatin1Char('"') + t + QLatin1Char('"');
    }
    return t;
}

CellaEsportazione cellaTesto(const QString& t, bool grassetto = false)
{
    CellaEsportazione c;
    c.tipo = t.isEmpty() ? TipoCella::Vuota : TipoCella::Testo;
    c.testo = t;
    c.grassetto = grassetto;
    return c;
}

} // namespace

CellaEsportazione LeggiCella(const QString& testo)
{
    CellaEsportazione c;
    c.testo = testo;
    const QString t = testo.trimmed();
    if (t.isEmpty())
        return c;
    c.tipo = TipoCella::Testo;

    static const QRegularExpression forma(QStringLiteral("^(\\d{2})/(\\d{2})/(\\d{4})$"));
    if (const QRegularExpressionMatch m = forma.match(t); m.hasMatch()) {
        const QDate d(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
        if (d.isValid()) {
            c.tipo = TipoCella::Data;
            c.data = d;
        }
        return c;
    }
    if (t.endsWith(QLatin1Char('%'))) {
        if (leggiNumero(t.chopped(1).trimmed(), -2, c.valore, c.decimali))
            c.tipo = TipoCella::Tasso;
        return c;
    }
    QString n = t;
    if (n.startsWith(QChar(0x20AC))) {
        n = n.mid(1).trimmed();
        c.euro = true;
    }
    if (!leggiNumero(n, 0, c.valore, c.decimali)) {
        c.euro = false;
        return c;
    }
    // Amounts always show their cents; a whole number ("120", "2012") stays a
    // plain number, unless the euro sign says it is money.
    c.tipo = c.euro || c.decimali == 2 ? TipoCella::Importo : TipoCella::Numero;
    c.migliaia = n.contains(QLatin1Char('.'));
    return c;
}

TabellaEsportazione TabellaDaRapporto(const Rapporto& r)
{
    TabellaEsportazione t;
    t.titolo = r.titolo;
    t.sottotitolo = r.sottotitolo;
    // The titles all start "T.E.G. su "; a sheet name has no room to spare.
    t.foglio = r.sottotitolo.isEmpty() ? r.titolo : r.sottotitolo;
    const QString prefisso = QStringLiteral("T.E.G. su ");
    if (t.foglio.startsWith(prefisso) && !t.foglio.mid(prefisso.size()).trimmed().isEmpty())
        t.foglio = t.foglio.mid(prefisso.size());

    std::vector<ColonnaStampa> colonne = r.colonne;
    std::stable_sort(colonne.begin(), colonne.end(),
                     [](const ColonnaStampa& a, const ColonnaStampa& b) { return a.colonna < b.colonna; });
    colonne.erase(
        std::unique(colonne.begin(), colonne.end(),
                    [](const ColonnaStampa& a, const ColonnaStampa& b) { return a.colonna == b.colonna; }),
        colonne.end());

    // Every printed page: the rows run on from one page to the next.
    const int perPagina = std::clamp(r.RighePerPagina, 0, TabellaStampa::MaxRighe);
    const long long pagine = std::max(1LL, std::llround(r.NumeroPagine));
    const int righe = static_cast<int>(std::min<long long>(perPagina * pagine, TabellaStampa::MaxRighe));
    for (int i = 1; i <= righe; ++i) {
        std::vector<CellaEsportazione> riga;
        int testi = 0;
        bool soloTesto = true;
        for (const ColonnaStampa& c : colonne) {
            CellaEsportazione cella = LeggiCella(r.tabella.Testo(i, c.colonna));
            // The same bold rule as the printed page.
            cella.grassetto = c.regola == RegolaGrassetto::LineaUguale
                                  ? r.tabella.Testo(i, 4).startsWith(QLatin1Char('=')) || i % perPagina == 0
                                  : r.tabella.RigaGrassetto(i);
            if (cella.tipo == TipoCella::Testo)
                ++testi;
            else if (cella.tipo != TipoCella::Vuota)
                soloTesto = false;
            riga.push_back(std::move(cella));
        }
        if (t.rigaIntestazione < 0 && soloTesto && testi >= 2 && r.tabella.RigaGrassetto(i))
            t.rigaIntestazione = i - 1;
        t.righe.push_back(std::move(riga));
    }
    return t;
}

QString NomeFoglio(const QString& voluto, const QStringList& usati)
{
    QString base = tronca(pulisciFoglio(voluto), 31);
    if (base.isEmpty())
        base = QStringLiteral("Tabella");
    auto libero = [&usati](const QString& n) { return !usati.contains(n, Qt::CaseInsensitive); };
    if (libero(base))
        return base;
    for (int k = 2;; ++k) {
        const QString suffisso = QStringLiteral(" (%1)").arg(k);
        const QString n = pulisciFoglio(tronca(base, 31 - static_cast<int>(suffisso.size()))) + suffisso;
        if (libero(n))
            return n;
    }
}

QByteArray TestoCSV(const TabellaEsportazione& t)
{
    std::vector<std::vector<CellaEsportazione>> righe;
    righe.push_back({cellaTesto(t.titolo)});
    if (!t.sottotitolo.isEmpty())
        righe.push_back({cellaTesto(t.sottotitolo)});
    righe.emplace_back();
    righe.insert(righe.end(), t.righe.begin(), t.righe.end());

    const int colonne = std::max(1, t.Colonne());
    QString s;
    for (const auto& riga : righe) {
        for (int c = 0; c < colonne; ++c) {
            if (c > 0)
                s += QLatin1Char(';');
            if (c < static_cast<int>(riga.size()))
                s += campoCSV(riga[c]);
        }
        s += QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + s.toUtf8();
}
