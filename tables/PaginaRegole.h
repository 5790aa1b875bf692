#pragma once
// The page of "Regole delle classi": the rules that class the account's
// movements, one row each in their order, with how many movements each
// classes now, and what is wrong with them; plus how the rules' cells are
// written and read back.
#include "ClassiMovimenti.h"

#include <QString>
#include <QStringList>

#include <vector>

struct RigaPaginaRegole {
    QString numero;      // "1", "2", ...
    QString causali;     // "18; 26"
    QString parole;      // "interess*; competenz*"
    QString segno;       // "qualsiasi", "dare", "avere"
    QString classe;      // NomeClasse
    QString movimenti;   // how many movements the rule classes, those with a class by hand left out
};

struct DatiPaginaRegole {
    QString titolo;
    std::vector<RigaPaginaRegole> righe;
    // Totals below the rules, as lines of text: the movements no rule
    // meets, those with a class by hand, how many movements in all.
    QStringList note;
    // ControllaRegole's faults ("Regola 3: ..."); empty when the rules are sound.
    QStringList errori;
    // The rules shown differ from those applied to the movements.
    bool daApplicare = false;
};

// The page of `regole` over `movimenti`. The counts are those the rules
// would give: each movement whose class is not by hand counts for the first
// rule it meets. Never throws but for lack of memory.
DatiPaginaRegole PaginaRegole(const std::vector<RegolaClasse>& regole, const std::vector<Movimento>& movimenti,
                              bool daApplicare);

// A rule's causali and words as its cells show them, joined by "; ".
QString TestoCausali(const RegolaClasse& regola);
QString TestoParole(const RegolaClasse& regola);
// A causali cell read back: separated by ';', ',' or spaces, empty parts
// left out. The words cell: separated by ';', each trimmed, empty ones left out.
std::vector<std::string> LeggiCausali(const QString& testo);
std::vector<std::string> LeggiParole(const QString& testo);

// "qualsiasi", "dare", "avere".
QString NomeSegno(SegnoRegola segno);
