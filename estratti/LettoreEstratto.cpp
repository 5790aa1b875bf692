#include "LettoreEstratto.h"

#include "LettoreCBI.h"
#include "LettoreCamt.h"
#include "LettoreOFX.h"

QString NomeFormato(FormatoEstratto formato)
{
    switch (formato) {
    case FormatoEstratto::CBI:
        return QStringLiteral("CBI");
    case FormatoEstratto::Camt053:
        return QStringLiteral("camt.053");
    case FormatoEstratto::CSV:
        return QStringLiteral("CSV");
    case FormatoEstratto::OFX:
        return QStringLiteral("OFX");
    case FormatoEstratto::Sconosciuto:
        break;
    }
    return QStringLiteral("sconosciuto");
}

FormatoEstratto RiconosciFormato(const QByteArray& inizio, QString* difetto)
{
    if (inizio.trimmed().isEmpty()) {
        *difetto = QStringLiteral("il file è vuoto.");
        return FormatoEstratto::Sconosciuto;
    }
    // XML in UTF-16 announces itself with its byte order mark.
    if (inizio.startsWith("\xFF\xFE") || inizio.startsWith("\xFE\xFF"))
        return FormatoEstratto::Camt053;
    // Text has no NUL and hardly any control character; a statement none.
    qsizetype controllo = 0;
    for (char c : inizio) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u == 0) {
            controllo = inizio.size();
            break;
        }
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r' && u != '\f' && u != 0x1A)
            ++controllo;
    }
    if (controllo * 100 > inizio.size()) {
        *difetto = QStringLiteral("il file non è un testo (è un file binario): non è un estratto conto.");
        return FormatoEstratto::Sconosciuto;
    }
    if (PareOFX(inizio))
        return FormatoEstratto::OFX;
    if (PareXML(inizio))
        return FormatoEstratto::Camt053;
    if (PareCBI(inizio))
        return FormatoEstratto::CBI;
    return FormatoEstratto::CSV;
}

std::unique_ptr<LettoreEstratto> LettorePerFormato(FormatoEstratto formato)
{
    switch (formato) {
    case FormatoEstratto::CBI:
        return std::make_unique<LettoreCBI>();
    case FormatoEstratto::Camt053:
        return std::make_unique<LettoreCamt>();
    case FormatoEstratto::OFX:
        return std::make_unique<LettoreOFX>();
    case FormatoEstratto::CSV:
    case FormatoEstratto::Sconosciuto:
        break;
    }
    return nullptr;
}
