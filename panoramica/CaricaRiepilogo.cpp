#include "CaricaRiepilogo.h"

#include "Archivio.h"
#include "Dichiarazioni.h"

#include <exception>

QStringList ConteggiCheInizianoCon(const QStringList& elenco, const QString& inizio)
{
    QStringList scelti;
    for (const QString& n : elenco)
        if (n.startsWith(inizio.trimmed(), Qt::CaseInsensitive))
            scelti << n;
    return scelti;
}

DatiPaginaRiepilogo CaricaRiepilogo(const QString& cartella, const QStringList& nomi, const SerieSoglie& serie,
                                    const QString& fonte, std::vector<std::shared_ptr<Documento>>* letti)
{
    if (letti)
        letti->clear();
    std::vector<ConteggioRiepilogo> conteggi;
    conteggi.reserve(static_cast<std::size_t>(nomi.size()));
    for (const QString& nome : nomi) {
        ConteggioRiepilogo c;
        c.nome = nome;
        try {
            auto documento = std::make_shared<Documento>();
            LeggiConteggio(cartella, nome, *documento);
            c.conto = VerificaConto(*documento, serie);
            c.esiti = VerificaConteggio(*documento, serie);
            if (letti)
                letti->push_back(std::move(documento));
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception& e) {
            c.conto.clear();
            c.esiti.clear();
            c.errore = QString::fromUtf8(e.what());
        }
        conteggi.push_back(std::move(c));
    }
    return PaginaRiepilogo(conteggi, fonte);
}
