#include "Fabbrica.h"

#include "Finestre.h"

FinestraFiglia* CreaFinestra(const QString& nome)
{
    const VoceFinestra* v = VoceDiFinestra(nome);
    return v && v->crea ? v->crea() : nullptr;
}
