#include "frmRicalcolo.h"

#include "Dichiarazioni.h"
#include "Esportazione.h"
#include "Funzioni.h"
#include "GraficoRicalcolo.h"
#include "Messaggi.h"
#include "PagineFinanziamenti.h"
#include "SalvaFigura.h"
#include "SceltaData.h"
#include "SoglieInUso.h"
#include "Stampanti.h"
#include "TassoLegaleInUso.h"
#include "Twips.h"
#include "frmCalcoli.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <exception>

namespace {

// Spacing of the window, in twips.
constexpr int margine = 120, spaziatura = 90;

enum Pagina { PaginaOpzioni, PaginaTrimestri, PaginaAnni, PaginaRimesse, PaginaGrafico };

QString Testo(const std::string& s) { return QString::fromStdString(s); }

QLabel* Etichetta(const QString& nome, const QString& testo, QWidget* genitore, bool grassetto = false)
{
    auto* l = new QLabel(testo, genitore);
    l->setObjectName(nome);
    l->setWordWrap(true);
    if (grassetto) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

// A law under its option: smaller, grey, selectable.
QLabel* Norma(const QString& nome, const QString& testo, QWidget* genitore)
{
    QLabel* l = Etichetta(nome, testo, genitore);
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * 0.9);
    l->setFont(f);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, QColor(70, 70, 70));
    l->setPalette(p);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QFrame* Cornice(const QString& nome, QWidget* genitore)
{
    auto* c = new QFrame(genitore);
    c->setObjectName(nome);
    c->setFrameShape(QFrame::StyledPanel);
    c->setFrameShadow(QFrame::Sunken);
    return c;
}

QPushButton* Pulsante(const QString& nome, const QString& testo, QWidget* genitore)
{
    auto* b = new QPushButton(testo, genitore);
    b->setObjectName(nome);
    return b;
}

// The wait cursor while the chart is written, restored however it ends.
struct CursoreAttesa {
    CursoreAttesa() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursoreAttesa() { QApplication::restoreOverrideCursor(); }
};

// A BOT rate as the table shows it: percent with a decimal comma, "3,210".
QString TestoTassoBOT(double frazione)
{
    return Testo(FormatoImporto(frazione * 100)).replace(QStringLiteral(",00"), QString());
}

// The columns of the BOT table.
enum ColonnaBOT { AnnoBOT, MinimoBOT, MassimoBOT };

} // namespace

// ---- The remittances' model ---------------------------------------------------

void ModelloRimesse::Mostra(const DatiPaginaRicalcolo* dati)
{
    beginResetModel();
    dati_ = dati;
    endResetModel();
}

int ModelloRimesse::rowCount(const QModelIndex& genitore) const
{
    return genitore.isValid() || !dati_ ? 0 : static_cast<int>(dati_->esito.rimesse.size());
}

int ModelloRimesse::columnCount(const QModelIndex& genitore) const
{
    return genitore.isValid() ? 0 : static_cast<int>(IntestazioniRimesse().size());
}

QVariant ModelloRimesse::data(const QModelIndex& indice, int ruolo) const
{
    if (!dati_ || !indice.isValid() || indice.row() >= rowCount())
        return {};
    const auto riga = static_cast<std::size_t>(indice.row());
    if (ruolo == Qt::DisplayRole || ruolo == Qt::ToolTipRole)
        return TestiRimessa(*dati_, riga).at(static_cast<std::size_t>(indice.column()));
    if (ruolo == Qt::TextAlignmentRole)
        return QVariant::fromValue(indice.column() >= 1 && indice.column() <= 5 ? Qt::AlignRight | Qt::AlignVCenter
                                                                                : Qt::AlignLeft | Qt::AlignVCenter);
    if (ruolo == Qt::FontRole && !dati_->esito.rimesse[riga].coperture.empty()) {
        QFont f;
        f.setBold(true);
        return f;
    }
    return {};
}

QVariant ModelloRimesse::headerData(int sezione, Qt::Orientation verso, int ruolo) const
{
    if (ruolo != Qt::DisplayRole)
        return {};
    if (verso == Qt::Horizontal)
        return IntestazioniRimesse().at(static_cast<std::size_t>(sezione));
    return sezione + 1;
}

// ---- The window -----------------------------------------------------------------

frmRicalcolo::frmRicalcolo(Documento& documento, QWidget* genitore)
    : FinestraFiglia(QStringLiteral("frmRicalcolo"), QStringLiteral("1513506645"), documento, genitore)
{
    setWindowTitle(QStringLiteral("Ricalcolo del conto"));
    PosizionaTwips(this, 0, 0, 15135, 6645);
    const int m = TwipsAPixel(margine), s = TwipsAPixel(spaziatura);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(m, m, m, m);
    layout->setSpacing(s);
    layout->addWidget(CreaBandaTitolo(
        this, QStringLiteral("Ricalcolo del conto: il saldo come la legge e il contratto lo consentivano")));

    schede_ = new QTabWidget(this);
    schede_->setObjectName(QStringLiteral("SchedeRicalcolo"));
    schede_->setDocumentMode(true);
    schede_->addTab(creaOpzioni(), QStringLiteral("&Opzioni"));
    schede_->addTab(creaRisultati(trimestri_, QStringLiteral("GrigliaTrimestri")), QStringLiteral("&Trimestri"));
    schede_->addTab(creaRisultati(anni_, QStringLiteral("GrigliaAnni")), QStringLiteral("&Anni"));
    schede_->addTab(creaRimesse(), QStringLiteral("&Rimesse"));
    schede_->addTab(creaGrafico(), QStringLiteral("&Grafico"));
    layout->addWidget(schede_, 1);

    errori_ = Etichetta(QStringLiteral("LabelErrori"), QString(), this, true);
    QPalette rosso = errori_->palette();
    rosso.setColor(QPalette::WindowText, QColor(170, 0, 0));
    errori_->setPalette(rosso);
    errori_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    errori_->hide();
    layout->addWidget(errori_);
    totali_ = Etichetta(QStringLiteral("LabelTotali"), QString(), this, true);
    totali_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(totali_);

    // A new series (an update, another archive folder) changes the verdicts.
    connect(&SegnaleSoglie(), &NotificaSoglie::cambiate, this, [this] {
        if (Riempita())
            rinfresca();
    });
}

frmRicalcolo::~frmRicalcolo()
{
    // A cell or a date still being edited is committed while the base class
    // hides the window, after this window's data are gone: nothing it sends
    // may reach this window any more.
    for (QObject* mittente : std::initializer_list<QObject*>{bot_, atto_, chiusura_, attoIndicato_, chiuso_})
        QObject::disconnect(mittente, nullptr, this, nullptr);
    for (QComboBox* c : opzioni_)
        QObject::disconnect(c, nullptr, this, nullptr);
    QObject::disconnect(&SegnaleSoglie(), nullptr, this, nullptr);
}

QWidget* frmRicalcolo::creaOpzioni()
{
    const int m = TwipsAPixel(margine), s = TwipsAPixel(spaziatura);
    auto* scorre = new QScrollArea(schede_);
    scorre->setObjectName(QStringLiteral("AreaOpzioni"));
    scorre->setWidgetResizable(true);
    scorre->setFrameShape(QFrame::NoFrame);
    auto* pagina = new QWidget(scorre);
    pagina->setObjectName(QStringLiteral("PaginaOpzioni"));
    auto* colonne = new QHBoxLayout(pagina);
    colonne->setContentsMargins(s, s, s, s);
    colonne->setSpacing(m * 2);

    // On the left the options, each with its choices (the default marked)
    // and its law; then the rules that are not options.
    auto* sinistra = new QGridLayout;
    sinistra->setHorizontalSpacing(m);
    sinistra->setVerticalSpacing(s / 2);
    int riga = 0;
    sinistra->addWidget(Etichetta(QStringLiteral("TitoloOpzioni"), QStringLiteral("Opzioni (tra parentesi la scelta "
                                                                                  "predefinita)"),
                                  pagina, true),
                        riga++, 0, 1, 2);
    const std::vector<DescrizioneOpzione>& disponibili = OpzioniRicalcoloDisponibili();
    for (std::size_t i = 0; i < disponibili.size(); ++i) {
        const DescrizioneOpzione& d = disponibili[i];
        const QString chiave = Testo(d.chiave);
        auto* titolo = Etichetta(QStringLiteral("TitoloOpzione(%1)").arg(chiave), Testo(d.titolo), pagina);
        auto* scelta = new QComboBox(pagina);
        scelta->setObjectName(QStringLiteral("Opzione(%1)").arg(chiave));
        for (std::size_t k = 0; k < d.scelte.size(); ++k)
            scelta->addItem(Testo(d.scelte[k]) + (k == d.predefinita ? QStringLiteral(" (predefinita)") : QString()));
        scelta->setToolTip(Testo(d.norma));
        titolo->setBuddy(scelta);
        sinistra->addWidget(titolo, riga, 0);
        sinistra->addWidget(scelta, riga++, 1);
        sinistra->addWidget(Norma(QStringLiteral("NormaOpzione(%1)").arg(chiave), Testo(d.norma), pagina), riga++, 1);
        connect(scelta, &QComboBox::activated, this, [this, i](int indice) { sceltaOpzione(i, indice); });
        opzioni_.push_back(scelta);
    }
    sinistra->addWidget(Etichetta(QStringLiteral("TitoloRegole"), QStringLiteral("Regole che non sono opzioni"), pagina,
                                  true),
                        riga++, 0, 1, 2);
    const std::vector<VoceOpzione> regole = OpzioniScelte(OpzioniRicalcolo{});
    for (std::size_t i = disponibili.size() + 3; i < regole.size(); ++i) {
        const VoceOpzione& v = regole[i];
        sinistra->addWidget(Etichetta(QStringLiteral("TitoloRegola(%1)").arg(i), Testo(v.titolo), pagina), riga, 0);
        sinistra->addWidget(Etichetta(QStringLiteral("Regola(%1)").arg(i), Testo(v.scelta), pagina), riga++, 1);
        sinistra->addWidget(Norma(QStringLiteral("NormaRegola(%1)").arg(i), Testo(v.norma), pagina), riga++, 1);
    }
    sinistra->setColumnStretch(0, 2);
    sinistra->setColumnStretch(1, 3);
    sinistra->setRowStretch(riga, 1);
    colonne->addLayout(sinistra, 5);

    // On the right the dates of the prescription, the BOT rates and the
    // quarters above the threshold.
    auto* destra = new QVBoxLayout;
    destra->setSpacing(s);
    destra->addWidget(Etichetta(QStringLiteral("TitoloPrescrizione"), QStringLiteral("Prescrizione"), pagina, true));
    auto* date = new QGridLayout;
    date->setHorizontalSpacing(m);
    attoIndicato_ = new QCheckBox(QStringLiteral("Atto &interruttivo (reclamo, diffida, citazione) del"), pagina);
    attoIndicato_->setObjectName(QStringLiteral("AttoIndicato"));
    atto_ = CreaSceltaData(QStringLiteral("DataAtto"), pagina);
    chiuso_ = new QCheckBox(QStringLiteral("Conto &chiuso il"), pagina);
    chiuso_->setObjectName(QStringLiteral("ContoChiuso"));
    chiusura_ = CreaSceltaData(QStringLiteral("DataChiusura"), pagina);
    date->addWidget(attoIndicato_, 0, 0);
    date->addWidget(atto_, 0, 1);
    date->addWidget(chiuso_, 1, 0);
    date->addWidget(chiusura_, 1, 1);
    date->setColumnStretch(2, 1);
    destra->addLayout(date);
    destra->addWidget(Norma(QStringLiteral("NormaPrescrizione"),
                            QStringLiteral("Artt. 2943 e 2946 c.c.: prescrizione decennale, dal pagamento per le rimesse "
                                           "solutorie, dalla chiusura del conto per le altre (Cass. S.U. 24418/2010). "
                                           "Vuote: nessun atto, conto aperto."),
                            pagina));
    connect(attoIndicato_, &QCheckBox::toggled, this, [this] { cambioData(true); });
    connect(atto_, &QDateEdit::dateChanged, this, [this] { cambioData(true); });
    connect(chiuso_, &QCheckBox::toggled, this, [this] { cambioData(false); });
    connect(chiusura_, &QDateEdit::dateChanged, this, [this] { cambioData(false); });

    destra->addWidget(Etichetta(QStringLiteral("TitoloBOT"),
                                QStringLiteral("Tassi BOT per anno (art. 117 c. 7 TUB), in percentuale"), pagina, true));
    auto* rigaBOT = new QHBoxLayout;
    bot_ = new QTableWidget(0, 3, pagina);
    bot_->setObjectName(QStringLiteral("TabellaBOT"));
    bot_->setHorizontalHeaderLabels({QStringLiteral("Anno"), QStringLiteral("Minimo (a debito)"),
                                     QStringLiteral("Massimo (a credito)")});
    bot_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    bot_->verticalHeader()->hide();
    bot_->setSelectionBehavior(QAbstractItemView::SelectRows);
    bot_->setMinimumHeight(TwipsAPixel(1500));
    bot_->setToolTip(QStringLiteral("Il rendimento minimo e massimo dei BOT annuali emessi nei dodici mesi precedenti, "
                                    "per i giorni di ogni anno; servono solo con i tassi BOT."));
    rigaBOT->addWidget(bot_, 1);
    auto* pulsantiBOT = new QVBoxLayout;
    auto* aggiungi = Pulsante(QStringLiteral("CmdAggiungiBOT"), QStringLiteral("Aggiungi anno"), pagina);
    auto* elimina = Pulsante(QStringLiteral("CmdEliminaBOT"), QStringLiteral("Elimina anno"), pagina);
    pulsantiBOT->addWidget(aggiungi);
    pulsantiBOT->addWidget(elimina);
    pulsantiBOT->addStretch(1);
    rigaBOT->addLayout(pulsantiBOT);
    destra->addLayout(rigaBOT);
    connect(bot_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* v) { cambioBOT(v); });
    connect(aggiungi, &QPushButton::clicked, this, [this] { aggiungiBOT(); });
    connect(elimina, &QPushButton::clicked, this, [this] { eliminaBOT(); });

    destra->addWidget(Etichetta(QStringLiteral("TitoloSoglia"),
                                QStringLiteral("Trimestri verificati con la soglia d'usura (in grassetto quelli oltre, "
                                               "senza interessi)"),
                                pagina, true));
    soglia_ = new VistaGriglia(pagina);
    soglia_->setObjectName(QStringLiteral("GrigliaSoglia"));
    soglia_->setMinimumHeight(TwipsAPixel(2400));
    destra->addWidget(soglia_, 1);
    fonte_ = Norma(QStringLiteral("LabelFonte"), QString(), pagina);
    destra->addWidget(fonte_);
    colonne->addLayout(destra, 4);

    scorre->setWidget(pagina);
    return scorre;
}

QWidget* frmRicalcolo::creaRisultati(VistaGriglia*& vista, const QString& nome)
{
    const int s = TwipsAPixel(spaziatura);
    auto* cornice = Cornice(QStringLiteral("Cornice") + nome, schede_);
    auto* interno = new QVBoxLayout(cornice);
    interno->setContentsMargins(s, s, s, s);
    vista = new VistaGriglia(cornice);
    vista->setObjectName(nome);
    interno->addWidget(vista, 1);
    interno->addWidget(Norma(nome + QStringLiteral("Nota"),
                             QStringLiteral("Per ogni periodo: quanto ha addebitato la banca, quanto risulta dal "
                                            "ricalcolo e la differenza (banca meno ricalcolo). Costo netto = interessi "
                                            "debitori + CMS + commissioni e spese \u2212 interessi creditori; l'effetto "
                                            "valuta è la parte degli interessi netti dovuta alle valute."),
                             cornice));
    return cornice;
}

QWidget* frmRicalcolo::creaRimesse()
{
    const int s = TwipsAPixel(spaziatura);
    auto* cornice = Cornice(QStringLiteral("CorniceRimesse"), schede_);
    auto* interno = new QVBoxLayout(cornice);
    interno->setContentsMargins(s, s, s, s);
    modello_ = new ModelloRimesse(this);
    rimesse_ = new QTableView(cornice);
    rimesse_->setObjectName(QStringLiteral("TabellaRimesse"));
    rimesse_->setModel(modello_);
    rimesse_->setWordWrap(false);
    rimesse_->setSelectionBehavior(QAbstractItemView::SelectRows);
    rimesse_->horizontalHeader()->setStretchLastSection(true);
    rimesse_->verticalHeader()->setDefaultSectionSize(rimesse_->fontMetrics().height() + 6);
    interno->addWidget(rimesse_, 1);
    interno->addWidget(Norma(QStringLiteral("NotaRimesse"),
                             QStringLiteral("Ogni accredito del conto ricalcolato: solutoria = min(importo; max(0; "
                                            "\u2212saldo prima \u2212 fido)), il resto ripristinatoria (Cass. S.U. "
                                            "24418/2010). In grassetto le rimesse che hanno pagato addebiti indebiti."),
                             cornice));
    return cornice;
}

QWidget* frmRicalcolo::creaGrafico()
{
    const int s = TwipsAPixel(spaziatura);
    auto* cornice = Cornice(QStringLiteral("CorniceGrafico"), schede_);
    auto* interno = new QVBoxLayout(cornice);
    interno->setContentsMargins(s, s, s, s);
    interno->setSpacing(s);
    grafico_ = new QChartView(CreaGraficoRicalcolo(dati_), cornice);
    grafico_->setObjectName(QStringLiteral("Grafico"));
    grafico_->setRenderHint(QPainter::Antialiasing);
    grafico_->setMinimumHeight(TwipsAPixel(2400));
    interno->addWidget(grafico_, 1);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch(1);
    stampa_ = Pulsante(QStringLiteral("CmdStampaGrafico"), QStringLiteral("Stampa grafico"), cornice);
    salva_ = Pulsante(QStringLiteral("CmdSalvaGrafico"), QStringLiteral("Salva grafico\u2026"), cornice);
    pulsanti->addWidget(stampa_);
    pulsanti->addWidget(salva_);
    interno->addLayout(pulsanti);
    connect(salva_, &QPushButton::clicked, this, [this] { salvaGrafico(); });
    connect(stampa_, &QPushButton::clicked, this, [this] { stampaGrafico(); });
    return cornice;
}

QComboBox* frmRicalcolo::Opzione(const std::string& chiave) const
{
    const std::vector<DescrizioneOpzione>& d = OpzioniRicalcoloDisponibili();
    for (std::size_t i = 0; i < d.size() && i < opzioni_.size(); ++i)
        if (d[i].chiave == chiave)
            return opzioni_[i];
    return nullptr;
}

void frmRicalcolo::Pagina()
{
    riempiScelte();
    verificaSoglia();
    aggiorna();
    SegnaRiempita();
}

void frmRicalcolo::riempiScelte()
{
    CaricamentoGuardia guardia(*this);
    const OpzioniRicalcolo& o = Conteggio().ContoCorrente().ricalcolo;
    const std::vector<DescrizioneOpzione>& d = OpzioniRicalcoloDisponibili();
    for (std::size_t i = 0; i < d.size(); ++i)
        opzioni_[i]->setCurrentIndex(static_cast<int>(SceltaOpzione(o, d[i].chiave)));

    // An empty date shows where it would most likely fall: today for the act,
    // the last movement for the closing.
    const auto& movimenti = Conteggio().ContoCorrente().movimenti;
    std::chrono::sys_days ultimo = Conteggio().Oggi();
    if (!movimenti.empty()) {
        ultimo = movimenti.front().dataContabile;
        for (const Movimento& mv : movimenti)
            ultimo = std::max({ultimo, mv.dataContabile, mv.dataValuta});
    }
    attoIndicato_->setChecked(o.attoInterruttivo.has_value());
    atto_->setDate(DataQt(o.attoInterruttivo.value_or(Conteggio().Oggi())));
    atto_->setEnabled(o.attoInterruttivo.has_value());
    chiuso_->setChecked(o.chiusuraConto.has_value());
    chiusura_->setDate(DataQt(o.chiusuraConto.value_or(ultimo)));
    chiusura_->setEnabled(o.chiusuraConto.has_value());
    riempiBOT();
}

void frmRicalcolo::riempiBOT()
{
    CaricamentoGuardia guardia(*this);
    const std::vector<TassiBOT>& tassi = Conteggio().ContoCorrente().ricalcolo.tassiBOT;
    bot_->setRowCount(static_cast<int>(tassi.size()));
    for (std::size_t i = 0; i < tassi.size(); ++i) {
        const int r = static_cast<int>(i);
        const QString testi[] = {QString::number(tassi[i].anno), TestoTassoBOT(tassi[i].minimo),
                                 TestoTassoBOT(tassi[i].massimo)};
        for (int c = AnnoBOT; c <= MassimoBOT; ++c) {
            // An item kept keeps its editor: a cell the user went on to
            // (Tab after a value) is not taken away from under the keys.
            if (QTableWidgetItem* voce = bot_->item(r, c)) {
                if (voce->text() != testi[c])
                    voce->setText(testi[c]);
                continue;
            }
            auto* voce = new QTableWidgetItem(testi[c]);
            voce->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            bot_->setItem(r, c, voce);
        }
    }
}

void frmRicalcolo::verificaSoglia()
{
    verifica_ = VerificaSoglieRicalcolo(Conteggio());
}

void frmRicalcolo::aggiorna()
{
    rinfrescoInAttesa_ = false;
    QString fonte = TestoUltimaDataSoglie();
    if (!AvvisoSoglie().isEmpty())
        fonte += QLatin1Char('\n') + AvvisoSoglie();
    dati_ = PaginaRicalcolo(Conteggio(), verifica_, TassoLegaleInUso(), TestoTassoLegale(), fonte);

    soglia_->Mostra(GrigliaSogliaRicalcolo(dati_));
    QStringList note;
    for (const QString& t : {dati_.erroreSoglia, dati_.fonteSoglie, dati_.tassoLegale})
        if (!t.isEmpty())
            note << t;
    fonte_->setText(note.join(QLatin1Char('\n')));

    trimestri_->Mostra(dati_.trimestri);
    anni_->Mostra(dati_.anni);
    modello_->Mostra(&dati_);
    AggiornaGraficoRicalcolo(grafico_->chart(), dati_);

    const bool valido = dati_.Valido();
    for (int p = PaginaTrimestri; p <= PaginaGrafico; ++p)
        schede_->setTabEnabled(p, valido);
    salva_->setEnabled(valido);
    stampa_->setEnabled(valido);
    if (valido) {
        errori_->hide();
        QStringList righe{dati_.TestoTotali()};
        righe << dati_.avvertenze;
        totali_->setText(righe.join(QLatin1Char('\n')));
    } else {
        QStringList righe{QStringLiteral("Ricalcolo non eseguito:")};
        for (const QString& e : dati_.errori)
            righe << QStringLiteral("\u2022 ") + e;
        errori_->setText(righe.join(QLatin1Char('\n')));
        errori_->show();
        totali_->setText(QStringLiteral("Nessun risultato: correggere i dati indicati sopra."));
    }
}

void frmRicalcolo::rinfresca()
{
    // Rebuilt once control returns to the event loop: never inside the
    // handler of a control being refilled.
    if (rinfrescoInAttesa_)
        return;
    rinfrescoInAttesa_ = true;
    QTimer::singleShot(0, this, [this] {
        if (!rinfrescoInAttesa_)
            return;
        verificaSoglia();
        aggiorna();
    });
}

void frmRicalcolo::sceltaOpzione(std::size_t opzione, int indice)
{
    if (CaricamentoInCorso() || indice < 0)
        return;
    OpzioniRicalcolo& o = Conteggio().ContoCorrente().ricalcolo;
    const std::string& chiave = OpzioniRicalcoloDisponibili()[opzione].chiave;
    if (SceltaOpzione(o, chiave) == static_cast<std::size_t>(indice))
        return;
    ScegliOpzione(o, chiave, static_cast<std::size_t>(indice));
    emit Modificato();
    aggiorna();
}

void frmRicalcolo::cambioData(bool atto)
{
    if (CaricamentoInCorso())
        return;
    QCheckBox* indicata = atto ? attoIndicato_ : chiuso_;
    QDateEdit* campo = atto ? atto_ : chiusura_;
    OpzioniRicalcolo& o = Conteggio().ContoCorrente().ricalcolo;
    std::optional<std::chrono::sys_days>& memorizzata = atto ? o.attoInterruttivo : o.chiusuraConto;
    std::optional<std::chrono::sys_days> data;
    if (indicata->isChecked() && campo->date().isValid()) {
        // A refused year leaves the stored date, which the field shows again.
        if (!ControllaDataDigitata(campo, memorizzata ? DataQt(*memorizzata) : campo->date(), this))
            return;
        data = DataCalcolo(campo->date());
    }
    campo->setEnabled(indicata->isChecked());
    if (data == memorizzata)
        return;
    memorizzata = data;
    emit Modificato();
    aggiorna();
}

void frmRicalcolo::cambioBOT(QTableWidgetItem* voce)
{
    if (CaricamentoInCorso() || !voce)
        return;
    std::vector<TassiBOT>& tassi = Conteggio().ContoCorrente().ricalcolo.tassiBOT;
    const auto r = static_cast<std::size_t>(voce->row());
    if (r >= tassi.size())
        return;
    TassiBOT& t = tassi[r];
    const QString testo = voce->text().trimmed();
    QString errore;
    try {
        const double numero = LeggiNumeroItaliano(testo.toStdString());
        if (voce->column() == AnnoBOT) {
            if (numero != std::floor(numero) || numero < AnnoDataMinimo || numero > AnnoDataMassimo)
                errore = QStringLiteral("L'anno dei tassi BOT deve essere un anno intero dal %1 al %2.")
                             .arg(AnnoDataMinimo)
                             .arg(AnnoDataMassimo);
            else
                t.anno = static_cast<int>(numero);
        } else {
            if (!(numero >= 0 && numero <= 100))
                errore = QStringLiteral("Un tasso BOT va da 0 a 100 (per cento).");
            else
                (voce->column() == MinimoBOT ? t.minimo : t.massimo) = numero / 100;
        }
    } catch (const std::exception& e) {
        errore = QStringLiteral("Il valore \u00ab%1\u00bb non è un numero: %2")
                     .arg(Citazione(testo), QString::fromUtf8(e.what()));
    }
    if (!errore.isEmpty()) {
        Messaggio(errore, QMessageBox::Warning, this);
        // The table shows the stored values again, once its editor is gone.
        QTimer::singleShot(0, this, [this] { riempiBOT(); });
        return;
    }
    emit Modificato();
    aggiorna();
    // The value as the table writes it, once the item edited is no longer in use.
    QTimer::singleShot(0, this, [this] { riempiBOT(); });
}

void frmRicalcolo::aggiungiBOT()
{
    std::vector<TassiBOT>& tassi = Conteggio().ContoCorrente().ricalcolo.tassiBOT;
    // The year after the last one given, or the first year of the movements.
    int anno = DataQt(Conteggio().Oggi()).year();
    for (const Movimento& m : Conteggio().ContoCorrente().movimenti)
        anno = std::min(anno, DataQt(std::min(m.dataValuta, m.dataContabile)).year());
    for (const TassiBOT& t : tassi)
        anno = std::max(anno, t.anno + 1);
    tassi.push_back({anno, 0, 0});
    emit Modificato();
    riempiBOT();
    bot_->setCurrentCell(bot_->rowCount() - 1, MinimoBOT);
    aggiorna();
}

void frmRicalcolo::eliminaBOT()
{
    std::vector<TassiBOT>& tassi = Conteggio().ContoCorrente().ricalcolo.tassiBOT;
    const int r = bot_->currentRow();
    if (r < 0 || r >= static_cast<int>(tassi.size()))
        return;
    tassi.erase(tassi.begin() + r);
    emit Modificato();
    riempiBOT();
    aggiorna();
}

void frmRicalcolo::salvaGrafico()
{
    const QString proposto = QDir(CartellaUscite()).filePath(QStringLiteral("Ricalcolo.pdf"));
    const QString percorso = scelta_ ? scelta_(this, proposto) : ScegliFileFigura(this, proposto);
    if (percorso.isEmpty())
        return;
    try {
        CursoreAttesa attesa;
        SalvaGraficoRicalcolo(dati_, percorso);
    } catch (const std::exception& e) {
        Messaggio(QString::fromUtf8(e.what()), QMessageBox::Warning, this);
    }
}

void frmRicalcolo::stampaGrafico()
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
    stampante.setDocName(QStringLiteral("Ricalcolo del conto"));
    bool stampato = false;
    {
        CursoreAttesa attesa;
        stampato = stampante.isValid() && StampaGraficoRicalcolo(dati_, stampante);
    }
    if (!stampato)
        Messaggio(QStringLiteral("Impossibile stampare il grafico sul dispositivo \u00ab%1\u00bb.").arg(dispositivo),
                  QMessageBox::Warning, this);
}

void frmRicalcolo::showEvent(QShowEvent* e)
{
    FinestraFiglia::showEvent(e);
    if (Riempita())
        rinfresca();
}

bool frmRicalcolo::event(QEvent* e)
{
    // Brought to the front among the main window's windows (or the program
    // activated again): the other windows may have changed the account.
    if (e->type() == QEvent::WindowActivate && Riempita())
        rinfresca();
    return FinestraFiglia::event(e);
}
