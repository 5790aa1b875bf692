#include "Fabbrica.h"

#include "Finestre.h"

FinestraFiglia* CreaFinestra(const QString& nome, ConteggioAperto& conteggio)
{
    const VoceFinestra* v = VoceDiFinestra(nome);
    return v && v->crea ? v->crea(conteggio) : nullptr;
}
