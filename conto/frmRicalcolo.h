#pragma once
// "Ricalcolo": the account rebuilt day by day as the law and the contract
// allow. The page "Opzioni" shows every option with its default and its law,
// the dates of the interrupting act and of the closing, the BOT rates by year
// and the quarters found above the usury threshold; the pages "Trimestri",
// "Anni", "Rimesse" and "Grafico" show the results, and the totals stay in
// view under all of them. Each change is written into the document and
// recomputes at once; bad input shows its faults and no result. The window
// checks the quarters against the threshold again whenever it is shown or
// brought to the front, so it follows edits made in the other windows.
#include "FinestraFiglia.h"
#include "PaginaRicalcolo.h"

#include <QAbstractTableModel>
#include <functional>
#include <string>

class QChartView;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableView;
class QTableWidget;
class QTableWidgetItem;
class VistaGriglia;

// The remittances of a page, one row each, formatted when shown: a model, so
// that tens of thousands of rows cost nothing until seen.
class ModelloRimesse : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModelloRimesse(QObject* genitore = nullptr) : QAbstractTableModel(genitore) {}
    // Shows the remittances of `dati`, which must outlive the model's use of it.
    void Mostra(const DatiPaginaRicalcolo* dati);
    int rowCount(const QModelIndex& genitore = {}) const override;
    int columnCount(const QModelIndex& genitore = {}) const override;
    QVariant data(const QModelIndex& indice, int ruolo) const override;
    QVariant headerData(int sezione, Qt::Orientation verso, int ruolo) const override;

private:
    const DatiPaginaRicalcolo* dati_ = nullptr;
};

class frmRicalcolo : public FinestraFiglia {
    Q_OBJECT
public:
    explicit frmRicalcolo(Documento& documento, QWidget* genitore = nullptr);
    ~frmRicalcolo() override;

    // Shows the document's options, checks the quarters against the
    // threshold and recomputes.
    void Pagina() override;

    // What the window shows; the report, the copy and the exports take it.
    const DatiPaginaRicalcolo& Dati() const { return dati_; }

    // The pages: 0 Opzioni, 1 Trimestri, 2 Anni, 3 Rimesse, 4 Grafico.
    QTabWidget* Schede() const { return schede_; }
    // The choice of an option by its key (DescrizioneOpzione::chiave).
    QComboBox* Opzione(const std::string& chiave) const;
    QCheckBox* AttoIndicato() const { return attoIndicato_; }
    QDateEdit* Atto() const { return atto_; }
    QCheckBox* ContoChiuso() const { return chiuso_; }
    QDateEdit* Chiusura() const { return chiusura_; }
    QTableWidget* TabellaBOT() const { return bot_; }
    VistaGriglia* VistaSoglia() const { return soglia_; }
    VistaGriglia* VistaTrimestri() const { return trimestri_; }
    VistaGriglia* VistaAnni() const { return anni_; }
    QTableView* VistaRimesse() const { return rimesse_; }
    QChartView* VistaGrafico() const { return grafico_; }
    QLabel* Errori() const { return errori_; }
    QLabel* Totali() const { return totali_; }

    // Where "Salva grafico…" saves: the system's dialog unless replaced (tests).
    using SceltaFile = std::function<QString(QWidget* genitore, const QString& proposto)>;
    void ImpostaSceltaFile(SceltaFile scelta) { scelta_ = std::move(scelta); }

protected:
    void showEvent(QShowEvent* e) override;
    bool event(QEvent* e) override;

private:
    QWidget* creaOpzioni();
    QWidget* creaRisultati(VistaGriglia*& vista, const QString& nome);
    QWidget* creaRimesse();
    QWidget* creaGrafico();

    void riempiScelte();
    void riempiBOT();
    void verificaSoglia();
    void aggiorna();
    void rinfresca();

    void sceltaOpzione(std::size_t opzione, int indice);
    void cambioData(bool atto);
    void cambioBOT(QTableWidgetItem* voce);
    void aggiungiBOT();
    void eliminaBOT();
    void salvaGrafico();
    void stampaGrafico();

    DatiPaginaRicalcolo dati_;
    VerificaMovimenti verifica_;
    QTabWidget* schede_ = nullptr;
    std::vector<QComboBox*> opzioni_;
    QCheckBox* attoIndicato_ = nullptr;
    QDateEdit* atto_ = nullptr;
    QCheckBox* chiuso_ = nullptr;
    QDateEdit* chiusura_ = nullptr;
    QTableWidget* bot_ = nullptr;
    VistaGriglia* soglia_ = nullptr;
    QLabel* fonte_ = nullptr;
    VistaGriglia* trimestri_ = nullptr;
    VistaGriglia* anni_ = nullptr;
    QTableView* rimesse_ = nullptr;
    ModelloRimesse* modello_ = nullptr;
    QChartView* grafico_ = nullptr;
    QPushButton* salva_ = nullptr;
    QPushButton* stampa_ = nullptr;
    QLabel* errori_ = nullptr;
    QLabel* totali_ = nullptr;
    SceltaFile scelta_;
    bool rinfrescoInAttesa_ = false;
};
