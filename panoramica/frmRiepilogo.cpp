#include "frmRiepilogo.h"

#include "Archivio.h"
#include "CaricaRiepilogo.h"
#include "Esportazione.h"
#include "GraficoRiepilogo.h"
#include "Messaggi.h"
#include "SoglieInUso.h"
#include "Stampanti.h"
#include "Twips.h"
#include "frmCalcoli.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>
#include <exception>

namespace {

// Spacing of the window, in twips.
constexpr int margine = 120, spaziatura = 90;

// The columns of GrigliaRiepilogo that take the width the window has to
// spare, or wrap when it has none: the category, the verdict with its note,
// the operation, the period.
const std::vector<int> ColonneLarghe = {3, 9, 1, 2};

QPushButton* Pulsante(const QString& nome, const QString& testo, QWidget* genitore)
{
    auto* b = new QPushButton(testo, genitore);
    b->setObjectName(nome);
    return b;
}

QFrame* Cornice(const QString& nome, QWidget* genitore)
{
    auto* c = new QFrame(genitore);
    c->setObjectName(nome);
    c->setFrameShape(QFrame::StyledPanel);
    c->setFrameShadow(QFrame::Sunken);
    return c;
}

const QString TestoScegliere =
    QStringLiteral("Scegliere uno o più conteggi dall'elenco, poi «Mostra riepilogo».");

// The wait cursor while files are read, restored however the reading ends.
struct CursoreAttesa {
    CursoreAttesa() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursoreAttesa() { QApplication::restoreOverrideCursor(); }
};

} // namespace

frmRiepilogo::frmRiepilogo(ConteggioAperto& aperto, QWidget* genitore)
    : FinestraFiglia(QStringLiteral("frmRiepilogo"), QStringLiteral("1513506645"), aperto.Doc(), genitore),
      aperto_(aperto)
{
    setWindowTitle(QStringLiteral("Riepilogo pluriennale"));
    PosizionaTwips(this, 0, 0, 15135, 6645);
    const int m = TwipsAPixel(margine), s = TwipsAPixel(spaziatura);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(m, m, m, m);
    layout->setSpacing(s);
    layout->addWidget(CreaBandaTitolo(
        this, QStringLiteral("Riepilogo pluriennale: più conteggi dell'archivio confrontati con le soglie")));

    auto* divisore = new QSplitter(Qt::Horizontal, this);
    divisore->setObjectName(QStringLiteral("Divisore"));
    divisore->setChildrenCollapsible(false);

    // The archive's calculations.
    auto* scelta = Cornice(QStringLiteral("CorniceScelta"), divisore);
    auto* colonna = new QVBoxLayout(scelta);
    colonna->setContentsMargins(m, s, m, s);
    colonna->setSpacing(s);
    auto* titoloLista = new QLabel(QStringLiteral("Conteggi dell'archivio (Ctrl o Maiusc per sceglierne più d'uno):"),
                                   scelta);
    titoloLista->setWordWrap(true);
    colonna->addWidget(titoloLista);
    lista_ = new QListWidget(scelta);
    lista_->setObjectName(QStringLiteral("ListaConteggi"));
    lista_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    colonna->addWidget(lista_, 1);
    auto* etichettaInizio = new QLabel(QStringLiteral("Tutti quelli il cui nome inizia con:"), scelta);
    colonna->addWidget(etichettaInizio);
    auto* rigaInizio = new QHBoxLayout;
    inizio_ = new QLineEdit(scelta);
    inizio_->setObjectName(QStringLiteral("TestoInizio"));
    inizio_->setPlaceholderText(QStringLiteral("es. Rossi"));
    etichettaInizio->setBuddy(inizio_);
    rigaInizio->addWidget(inizio_, 1);
    auto* seleziona = Pulsante(QStringLiteral("CmdSeleziona"), QStringLiteral("Scegli"), scelta);
    rigaInizio->addWidget(seleziona);
    colonna->addLayout(rigaInizio);
    auto* mostra = Pulsante(QStringLiteral("CmdMostra"), QStringLiteral("Mostra riepilogo"), scelta);
    mostra->setDefault(true);
    colonna->addWidget(mostra);
    connect(seleziona, &QPushButton::clicked, this, [this] { SelezionaInizio(inizio_->text()); });
    connect(inizio_, &QLineEdit::returnPressed, this, [this] { SelezionaInizio(inizio_->text()); });
    connect(mostra, &QPushButton::clicked, this, [this] { mostraScelti(); });
    connect(lista_, &QListWidget::itemDoubleClicked, this, [this] { mostraScelti(); });

    // The lines and the chart, each on its own page: on a small screen the
    // table still shows a good number of lines and the chart its years.
    auto* destra = new QTabWidget(divisore);
    destra->setObjectName(QStringLiteral("SchedeRisultati"));
    destra->setDocumentMode(true);
    auto* tabella = Cornice(QStringLiteral("CorniceTabella"), destra);
    auto* interno = new QVBoxLayout(tabella);
    interno->setContentsMargins(m, s, m, s);
    interno->setSpacing(s);
    vista_ = new VistaGriglia(tabella);
    interno->addWidget(vista_, 1);
    vista_->viewport()->installEventFilter(this);
    totali_ = new QLabel(tabella);
    totali_->setObjectName(QStringLiteral("LabelTotali"));
    totali_->setWordWrap(true);
    totali_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    interno->addWidget(totali_);

    auto* cornice = Cornice(QStringLiteral("CorniceGrafico"), destra);
    destra->addTab(tabella, QStringLiteral("&Tabella"));
    destra->addTab(cornice, QStringLiteral("&Grafico"));
    auto* internoGrafico = new QVBoxLayout(cornice);
    internoGrafico->setContentsMargins(s, s, s, s);
    internoGrafico->setSpacing(s);
    grafico_ = new QChartView(CreaGrafico(dati_), cornice);
    grafico_->setObjectName(QStringLiteral("Grafico"));
    grafico_->setRenderHint(QPainter::Antialiasing);
    grafico_->setMinimumHeight(TwipsAPixel(2400));
    internoGrafico->addWidget(grafico_, 1);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch(1);
    stampa_ = Pulsante(QStringLiteral("CmdStampaGrafico"), QStringLiteral("Stampa grafico"), cornice);
    salva_ = Pulsante(QStringLiteral("CmdSalvaGrafico"), QStringLiteral("Salva grafico\u2026"), cornice);
    pulsanti->addWidget(stampa_);
    pulsanti->addWidget(salva_);
    internoGrafico->addLayout(pulsanti);
    connect(salva_, &QPushButton::clicked, this, [this] { salvaGrafico(); });
    connect(stampa_, &QPushButton::clicked, this, [this] { stampaGrafico(); });

    divisore->addWidget(scelta);
    divisore->addWidget(destra);
    divisore->setStretchFactor(0, 0);
    divisore->setStretchFactor(1, 1);
    divisore->setSizes({TwipsAPixel(3600), TwipsAPixel(11200)});
    layout->addWidget(divisore, 1);
    salva_->setEnabled(false);
    stampa_->setEnabled(false);
    totali_->setText(TestoScegliere);

    // A new series (an update, another archive folder) changes the verdicts.
    connect(&SegnaleSoglie(), &NotificaSoglie::cambiate, this, [this] {
        if (!dati_.righe.empty() || !dati_.esclusi.isEmpty())
            mostraScelti();
    });
}

QString frmRiepilogo::Cartella() const { return cartella_.isEmpty() ? CartellaSoglie() : cartella_; }

void frmRiepilogo::Pagina()
{
    QStringList scelti;
    for (const QListWidgetItem* v : lista_->selectedItems())
        scelti << v->data(Qt::UserRole).toString();
    lista_->clear();
    for (const VoceArchivio& v : ElencoArchivio(Cartella())) {
        QString testo = v.nome;
        if (!v.leggibile)
            testo += QStringLiteral("  (illeggibile)");
        else if (!v.contoCorrente.isEmpty())
            testo += QStringLiteral(" \u2013 ") + v.contoCorrente;
        auto* voce = new QListWidgetItem(testo, lista_);
        voce->setData(Qt::UserRole, v.nome);
        voce->setToolTip(v.leggibile ? testo : v.motivo);
        voce->setSelected(scelti.contains(v.nome));
    }
    if (!dati_.righe.empty() || !dati_.esclusi.isEmpty())
        mostraScelti();
    SegnaRiempita();
}

void frmRiepilogo::Mostra(const QStringList& nomi)
{
    for (int i = 0; i < lista_->count(); ++i)
        lista_->item(i)->setSelected(nomi.contains(lista_->item(i)->data(Qt::UserRole).toString()));
    mostraScelti();
}

void frmRiepilogo::SelezionaInizio(const QString& inizio)
{
    QStringList nomi;
    for (int i = 0; i < lista_->count(); ++i)
        nomi << lista_->item(i)->data(Qt::UserRole).toString();
    const QStringList scelti = ConteggiCheInizianoCon(nomi, inizio);
    if (scelti.isEmpty()) {
        Messaggio(QStringLiteral("Nessun conteggio dell'archivio ha un nome che inizia con \u00ab%1\u00bb.")
                      .arg(Citazione(inizio.trimmed())),
                  QMessageBox::Information, this);
        return;
    }
    Mostra(scelti);
}

void frmRiepilogo::mostraScelti()
{
    QStringList nomi;
    for (int i = 0; i < lista_->count(); ++i)
        if (lista_->item(i)->isSelected())
            nomi << lista_->item(i)->data(Qt::UserRole).toString();
    {
        CursoreAttesa attesa;
        QString fonte = TestoUltimaDataSoglie();
        if (!AvvisoSoglie().isEmpty())
            fonte += QLatin1Char('\n') + AvvisoSoglie();
        dati_ = CaricaRiepilogo(Cartella(), nomi, SoglieInUso(), fonte, &documenti_);
        vista_->Mostra(GrigliaRiepilogo(dati_));
        vista_->AdattaColonne(ColonneLarghe);
        QChart* vecchio = grafico_->chart();
        grafico_->setChart(CreaGrafico(dati_));
        delete vecchio;
    }
    QStringList righe;
    righe << (nomi.isEmpty() ? TestoScegliere : dati_.TestoTotali());
    for (const QString& e : dati_.esclusi)
        righe << QStringLiteral("\u26A0 ") + e;
    // The files are read as saved: say so when the open one has edits not saved yet.
    const QString aperto = aperto_.Nome();
    if (!aperto.isEmpty() && nomi.contains(aperto) && aperto_.Modificato())
        righe << QStringLiteral("Il conteggio aperto \u00ab%1\u00bb ha modifiche non salvate: il riepilogo ne usa "
                                "l'ultima versione salvata.")
                     .arg(aperto);
    if (!dati_.fonte.isEmpty())
        righe << dati_.fonte;
    totali_->setText(righe.join(QLatin1Char('\n')));
    const bool punti = !dati_.grafico.soglia.empty() || !dati_.grafico.teg.empty();
    salva_->setEnabled(punti);
    stampa_->setEnabled(punti);
}

bool frmRiepilogo::eventFilter(QObject* o, QEvent* e)
{
    if (o == vista_->viewport() && e->type() == QEvent::Resize)
        vista_->AdattaColonne(ColonneLarghe);
    return FinestraFiglia::eventFilter(o, e);
}

void frmRiepilogo::salvaGrafico()
{
    const QString percorso = scelta_ ? scelta_(this, CartellaUscite()) : ScegliFileGrafico(this, CartellaUscite());
    if (percorso.isEmpty())
        return;
    try {
        CursoreAttesa attesa;
        SalvaGrafico(dati_, percorso);
    } catch (const std::exception& e) {
        Messaggio(QString::fromUtf8(e.what()), QMessageBox::Warning, this);
    }
}

void frmRiepilogo::stampaGrafico()
{
    // The program's PDF device writes the chart to a file, as it does reports.
    const QString dispositivo = StampanteCorrente();
    if (dispositivo == DispositivoPdf) {
        salvaGrafico();
        return;
    }
    QPrinter stampante(QPrinter::HighResolution);
    stampante.setPrinterName(dispositivo);
    stampante.setPageSize(QPageSize(QPageSize::A4));
    stampante.setDocName(QStringLiteral("Riepilogo pluriennale"));
    bool stampato = false;
    {
        CursoreAttesa attesa;
        stampato = stampante.isValid() && StampaGrafico(dati_, stampante);
    }
    if (!stampato)
        Messaggio(QStringLiteral("Impossibile stampare il grafico sul dispositivo \u00ab%1\u00bb.").arg(dispositivo),
                  QMessageBox::Warning, this);
}
