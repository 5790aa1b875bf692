#include "TestoEstratti.h"

#include <QIODevice>
#include <QStringDecoder>

#include <limits>

using namespace std::chrono;

namespace {

// Windows-1252 0x80-0x9F; 0 where the code page leaves a hole (read as U+FFFD).
constexpr char16_t Cp1252Alti[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool SoloAscii(QByteArrayView byte)
{
    for (char c : byte)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

QString DaWindows1252(QByteArrayView byte)
{
    QString r(byte.size(), Qt::Uninitialized);
    QChar* d = r.data();
    for (char c : byte) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 0x80 && u < 0xA0)
            *d++ = QChar(Cp1252Alti[u - 0x80] ? Cp1252Alti[u - 0x80] : char16_t(0xFFFD));
        else
            *d++ = QChar(u);
    }
    return r;
}

bool Utf8Valido(QByteArrayView byte)
{
    QStringDecoder d(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString testo = d.decode(byte);
    return !d.hasError();
}

QString DecodificaTesto::Riga(QByteArrayView riga)
{
    if (primaRiga_) {
        primaRiga_ = false;
        if (riga.startsWith("\xEF\xBB\xBF")) {
            deciso_ = utf8_ = true;
            riga = riga.sliced(3);
        }
    }
    if (SoloAscii(riga))
        return QString::fromLatin1(riga);
    if (!deciso_) {
        deciso_ = true;
        utf8_ = Utf8Valido(riga);
    }
    // A file that began in UTF-8 may still hold a stray Windows-1252 line.
    if (utf8_ && Utf8Valido(riga))
        return QString::fromUtf8(riga);
    return DaWindows1252(riga);
}

std::optional<Centesimi> LeggiCentesimi(QStringView testo, QChar decimale, QChar migliaia, QString* errore)
{
    auto sbaglia = [&](const QString& perche) -> std::optional<Centesimi> {
        if (errore)
            *errore = perche;
        return std::nullopt;
    };
    QStringView t = testo.trimmed();
    const QString citato = Citato(t);
    if (t.isEmpty())
        return sbaglia(QStringLiteral("l'importo manca"));
    bool negativo = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negativo = t.front() == u'-';
        t = t.sliced(1).trimmed();
    } else if (t.endsWith(u'-')) {
        negativo = true;
        t = t.chopped(1).trimmed();
    }
    // Integer part, with its groups checked, then the decimals.
    const qsizetype virgola = t.indexOf(decimale);
    const QStringView interi = virgola < 0 ? t : t.first(virgola);
    const QStringView decimali = virgola < 0 ? QStringView() : t.sliced(virgola + 1);
    if (interi.isEmpty() && decimali.isEmpty())
        return sbaglia(QStringLiteral("l'importo ") + citato + QStringLiteral(" non contiene cifre"));
    constexpr Centesimi limite = std::numeric_limits<Centesimi>::max() / 100 / 10;
    Centesimi valore = 0;
    int cifreGruppo = 0;
    bool gruppi = false;
    for (QChar c : interi) {
        if (!migliaia.isNull() && c == migliaia) {
            if ((gruppi && cifreGruppo != 3) || (!gruppi && (cifreGruppo == 0 || cifreGruppo > 3)))
                return sbaglia(QStringLiteral("l'importo ") + citato + QStringLiteral(" ha i separatori delle migliaia fuori posto"));
            gruppi = true;
            cifreGruppo = 0;
            continue;
        }
        if (!c.isDigit() || c.unicode() > 0x7F)
            return sbaglia(QStringLiteral("l'importo ") + citato + QStringLiteral(" non è un numero"));
        if (valore > limite)
            return sbaglia(QStringLiteral("l'importo ") + citato + QStringLiteral(" è troppo grande"));
        valore = valore * 10 + (c.unicode() - u'0');
        ++cifreGruppo;
    }
    if (gruppi && cifreGruppo != 3)
        return sbaglia(QStringLiteral("l'importo ") + citato + QStringLiteral(" ha i separatori delle migliaia fuori posto"));
    valore *= 100;
    int peso = 10;
    for (QChar c : decimali) {
        if (!c.isDigit() || c.unicode() > 0x7F)
            return sbaglia(QStringLiteral("l'importo ") + citato + QStringLiteral(" non è un numero"));
        const int cifra = c.unicode() - u'0';
        if (peso == 0) {
            if (cifra != 0)
                return sbaglia(QStringLiteral("l'importo ") + citato + QStringLiteral(" ha più di due decimali"));
            continue;
        }
        valore += cifra * peso;
        peso /= 10;
    }
    return negativo ? -valore : valore;
}

std::optional<sys_days> Giorno(int anno, int mese, int giorno)
{
    const year_month_day d{year{anno}, month{static_cast<unsigned>(mese)}, day{static_cast<unsigned>(giorno)}};
    if (mese < 1 || mese > 12 || giorno < 1 || giorno > 31 || !d.ok())
        return std::nullopt;
    return sys_days{d};
}

namespace {

// The number of n ASCII digits at the start of testo, or -1.
int Cifre(QStringView testo, qsizetype da, qsizetype n)
{
    if (testo.size() < da + n)
        return -1;
    int v = 0;
    for (qsizetype i = da; i < da + n; ++i) {
        const char16_t c = testo[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}

} // namespace

std::optional<sys_days> GiornoGGMMAA(QStringView testo)
{
    if (testo.size() != 6)
        return std::nullopt;
    const int g = Cifre(testo, 0, 2), m = Cifre(testo, 2, 2), a = Cifre(testo, 4, 2);
    if (g < 0 || m < 0 || a < 0)
        return std::nullopt;
    return Giorno(a < 70 ? 2000 + a : 1900 + a, m, g);
}

std::optional<sys_days> GiornoISO(QStringView testo)
{
    testo = testo.trimmed();
    if (testo.size() < 10 || testo[4] != u'-' || testo[7] != u'-' || (testo.size() > 10 && testo[10] != u'T'))
        return std::nullopt;
    const int a = Cifre(testo, 0, 4), m = Cifre(testo, 5, 2), g = Cifre(testo, 8, 2);
    if (a < 0 || m < 0 || g < 0)
        return std::nullopt;
    return Giorno(a, m, g);
}

sys_days DaQDate(QDate data)
{
    return sys_days{days{data.toJulianDay() - QDate(1970, 1, 1).toJulianDay()}};
}

QDate AQDate(sys_days giorno)
{
    return QDate(1970, 1, 1).addDays(giorno.time_since_epoch().count());
}

QString Citato(QStringView testo)
{
    return QStringLiteral("«") + testo.toString() + QStringLiteral("»");
}

QString Compatta(QStringView testo)
{
    QString r;
    r.reserve(testo.size());
    bool spazio = false;
    for (QChar c : testo) {
        if (c == u' ' || c == u'\t') {
            spazio = !r.isEmpty();
            continue;
        }
        if (spazio)
            r += u' ';
        spazio = false;
        r += c;
    }
    return r;
}

RigheFile::RigheFile(QIODevice& dispositivo, qsizetype lunghezzaMassima)
    : d_(dispositivo), massimo_(lunghezzaMassima)
{
}

bool RigheFile::Prossima(QByteArray& riga)
{
    if (d_.atEnd())
        return false;
    riga = d_.readLine(massimo_ + 2);
    ++numero_;
    troppoLunga_ = false;
    if (riga.endsWith('\n')) {
        riga.chop(riga.endsWith("\r\n") ? 2 : 1);
    } else if (!d_.atEnd()) {
        // Cut at the limit: skip to the end of this line.
        troppoLunga_ = true;
        while (!d_.atEnd() && !d_.readLine(massimo_ + 2).endsWith('\n')) {
        }
    } else if (riga.endsWith('\r')) {
        riga.chop(1);
    }
    return true;
}

qint64 RigheFile::Letti() const
{
    return d_.pos();
}
