#pragma once
// "Riepilogo pluriennale": several calculations of the archive checked
// against the usury thresholds together. On the left the archive's list
// (several at once, or all whose name starts with a text); on the right two
// pages: "Tabella", one line per period checked in date order with the
// totals, and "Grafico", the chart of the quarterly rates and the threshold,
// which prints and saves as PDF or PNG. The open calculation is never touched.
#include "ConteggioAperto.h"
#include "FinestraFiglia.h"
#include "PaginaRiepilogo.h"

#include <functional>
#include <memory>
#include <vector>

class Documento;

class QChartView;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class VistaGriglia;

class frmRiepilogo : public FinestraFiglia {
    Q_OBJECT
public:
    // `aperto`: the open calculation, whose unsaved edits the overview
    // (which reads the files as saved) points out; it is never touched.
    explicit frmRiepilogo(ConteggioAperto& aperto, QWidget* genitore = nullptr);

    // Lists the archive's calculations again (keeping the choice) and, when
    // an overview is shown, builds it again.
    void Pagina() override;

    // The archive folder; by default the one the program uses.
    void setCartella(const QString& cartella) { cartella_ = cartella; }
    QString Cartella() const;

    // Chooses the named calculations in the list and shows their overview.
    void Mostra(const QStringList& nomi);
    // Chooses every calculation whose name starts with `inizio` and shows them.
    void SelezionaInizio(const QString& inizio);

    // What the window shows; the report, the copy and the exports take it.
    const DatiPaginaRiepilogo& Dati() const { return dati_; }
    // The calculations of the overview shown, as read for it (the files
    // that could not be read are not among them).
    const std::vector<std::shared_ptr<Documento>>& Documenti() const { return documenti_; }
    QListWidget* Lista() const { return lista_; }
    VistaGriglia* Vista() const { return vista_; }
    QChartView* VistaGrafico() const { return grafico_; }

    // Where "Salva grafico…" saves: the system's dialog unless replaced (tests).
    using SceltaFile = std::function<QString(QWidget* genitore, const QString& cartella)>;
    void ImpostaSceltaFile(SceltaFile scelta) { scelta_ = std::move(scelta); }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void mostraScelti();
    void salvaGrafico();
    void stampaGrafico();

    const ConteggioAperto& aperto_;
    QString cartella_;
    DatiPaginaRiepilogo dati_;
    std::vector<std::shared_ptr<Documento>> documenti_;
    QListWidget* lista_ = nullptr;
    QLineEdit* inizio_ = nullptr;
    VistaGriglia* vista_ = nullptr;
    QLabel* totali_ = nullptr;
    QChartView* grafico_ = nullptr;
    QPushButton* salva_ = nullptr;
    QPushButton* stampa_ = nullptr;
    SceltaFile scelta_;
};
