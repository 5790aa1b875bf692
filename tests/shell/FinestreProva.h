#pragma once
// A stand-in child window with the controls the layout works on.
#include "Dichiarazioni.h"
#include "FinestraFiglia.h"

#include <QFrame>
#include <QPushButton>
#include <QTableWidget>
#include <stdexcept>

class FinestraProva : public FinestraFiglia {
public:
    // Result windows carry a grid inside XPFrame4 and the frame tag of the
    // current-account windows; the others the taller frame.
    FinestraProva(Documento& documento, const QString& nome, bool conGriglia, bool paginaLancia = false)
        : FinestraFiglia(nome, QStringLiteral("1513506645"), documento), lancia_(paginaLancia)
    {
        cornice = new QFrame(this);
        cornice->setObjectName(QStringLiteral("XPFrame4"));
        cornice->setProperty("Tag", conGriglia ? QStringLiteral("00120010801485005445")
                                                : QStringLiteral("00120006001485005925"));
        banda = new QPushButton(QStringLiteral("Titolo"), this);
        banda->setObjectName(QStringLiteral("XPButton1"));
        banda->setGeometry(8, 6, 300, 30);
        griglia = new QTableWidget(cornice);
        griglia->setObjectName(QStringLiteral("Grid"));
        griglia->setGeometry(8, 16, 50, 50);
    }

    void Pagina() override
    {
        ++pagine;
        if (lancia_)
            throw std::runtime_error("valore fuori intervallo");
    }
    void ConfermaModifiche() override { ++conferme; }
    void Premi(const QString& chiave) { emit Comando(chiave); }
    void Modifica() { emit Modificato(); }

    QFrame* cornice;
    QPushButton* banda;
    QTableWidget* griglia;
    int pagine = 0;
    int conferme = 0;

private:
    bool lancia_;
};
