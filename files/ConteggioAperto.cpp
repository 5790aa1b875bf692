#include "ConteggioAperto.h"

#include "Archivio.h"
#include "Messaggi.h"

ConteggioAperto::ConteggioAperto(QObject* genitore) : QObject(genitore) {}

ConteggioAperto::~ConteggioAperto() = default;

QString ConteggioAperto::Nome() const
{
    return QString::fromStdString(documento_.NomeConteggio());
}

void ConteggioAperto::Nuovo()
{
    Chiudi();
    documento_.InizializzaConteggio();
    impostaModificato(false);
    emit ConteggioCaricato();
}

void ConteggioAperto::Carica(const QString& cartella, const QString& nome)
{
    auto file = std::make_unique<basedati::BaseDati>(CaricaConteggio(cartella, nome, documento_));
    file_ = std::move(file);
    cartella_ = cartella;
    percorso_ = PercorsoConteggio(cartella, nome);
    impostaModificato(false);
    emit ConteggioCaricato();
}

void ConteggioAperto::Salva()
{
    SalvaConteggio(cartella_, documento_);
    impostaModificato(false);
}

void ConteggioAperto::SalvaConNome(const QString& cartella, const QString& nome)
{
    SalvaConteggioConNome(cartella, nome, documento_);
    // The copy becomes the open calculation only once it loads as any other.
    try {
        Carica(cartella, nome);
    } catch (const std::exception& e) {
        RimuoviFileConteggio(cartella, nome);
        throw ErroreConteggio("Il conteggio \u00ab" + Citazione(nome, 60).toStdString() +
                              "\u00bb non è stato salvato:\n" + e.what());
    }
}

void ConteggioAperto::Chiudi()
{
    file_.reset();
    cartella_.clear();
    percorso_.clear();
}

void ConteggioAperto::SegnaModifica()
{
    impostaModificato(true);
    emit DocumentoCambiato();
}

void ConteggioAperto::impostaModificato(bool v)
{
    if (v == modificato_)
        return;
    modificato_ = v;
    emit ModificatoCambiato(v);
}
