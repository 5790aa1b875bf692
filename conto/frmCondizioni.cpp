#include "frmCondizioni.h"

#include "CampiFinanziamento.h"
#include "Calendario.h"
#include "Dichiarazioni.h"
#include "Funzioni.h"
#include "Messaggi.h"
#include "ModelloMovimenti.h"
#include "PagineFinanziamenti.h"
#include "RicercaElenco.h"
#include "SceltaData.h"
#include "Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <stdexcept>

namespace {

constexpr int margine = 120, spaziatura = 90;  // twips

QFrame* Cornice(const QString& nome, QWidget* genitore)
{
    auto* f = new QFrame(genitore);
    f->setObjectName(nome);
    f->setFrameShape(QFrame::StyledPanel);
    return f;
}

QLabel* Titolo(const QString& testo, QWidget* genitore)
{
    auto* l = new QLabel(testo, genitore);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

// A rate as its field shows it: the percentage with three decimals.
QString TestoPercentuale(double tasso)
{
    QString t = QString::fromStdString(FormatoTasso(tasso));
    t.chop(1);
    return t;
}

bool Uguali(const CondizioniPeriodo& a, const CondizioniPeriodo& b)
{
    return a.dal == b.dal && a.accordato == b.accordato && a.tassoDebitore == b.tassoDebitore &&
           a.tassoDebitoreOltreFido == b.tassoDebitoreOltreFido && a.tassoCreditore == b.tassoCreditore &&
           a.percentualeCMS == b.percentualeCMS && a.baseCMS == b.baseCMS && a.speseFisse == b.speseFisse &&
           a.liquidazione == b.liquidazione && a.divisore == b.divisore && a.tassiPattuiti == b.tassiPattuiti &&
           a.usiPiazza == b.usiPiazza && a.capitalizzazionePattuita == b.capitalizzazionePattuita &&
           a.cmsPattuita == b.cmsPattuita && a.commissioniPattuite == b.commissioniPattuite;
}

std::optional<std::chrono::sys_days> CondizioniPeriodo::*const pattuizioni[4] = {
    &CondizioniPeriodo::tassiPattuiti, &CondizioniPeriodo::capitalizzazionePattuita, &CondizioniPeriodo::cmsPattuita,
    &CondizioniPeriodo::commissioniPattuite};
double CondizioniPeriodo::*const tassi[4] = {&CondizioniPeriodo::tassoDebitore,
                                              &CondizioniPeriodo::tassoDebitoreOltreFido,
                                              &CondizioniPeriodo::tassoCreditore, &CondizioniPeriodo::percentualeCMS};

} // namespace

frmCondizioni::frmCondizioni(Documento& documento, QWidget* genitore)
    : FinestraFiglia(QStringLiteral("frmCondizioni"), QStringLiteral("1513506645"), documento, genitore)
{
    setWindowTitle(QStringLiteral("Condizioni del conto"));
    PosizionaTwips(this, 0, 0, 15135, 6645);
    auto* layout = new QVBoxLayout(this);
    const int m = TwipsAPixel(margine), s = TwipsAPixel(spaziatura);
    layout->setContentsMargins(m, m, m, m);
    layout->setSpacing(s);
    layout->addWidget(CreaBandaTitolo(this, QStringLiteral("Condizioni del conto")));

    // The particulars.
    QFrame* conto = Cornice(QStringLiteral("CorniceConto"), this);
    auto* gc = new QGridLayout(conto);
    gc->setContentsMargins(m, s, m, s);
    gc->setHorizontalSpacing(m);
    gc->setVerticalSpacing(s / 2 + 1);
    const char* const nomi[6] = {"Intestatario", "Banca", "IBAN", "ABI", "CAB", "Numero"};
    const char* const etichette[6] = {"&Intestatario", "&Banca", "IBA&N", "ABI", "CAB", "N. conto"};
    std::string DatiConto::*const membri[6] = {&DatiConto::intestatario, &DatiConto::banca, &DatiConto::iban,
                                                &DatiConto::abi, &DatiConto::cab, &DatiConto::numero};
    for (int k = 0; k < 6; ++k) {
        auto* e = new QLineEdit(conto);
        e->setObjectName(QString::fromLatin1(nomi[k]));
        auto* l = new QLabel(QString::fromUtf8(etichette[k]), conto);
        l->setBuddy(e);
        const int riga = k < 3 ? 0 : 1, colonna = (k % 3) * 2;
        gc->addWidget(l, riga, colonna);
        gc->addWidget(e, riga, colonna + 1);
        connect(e, &QLineEdit::editingFinished, this, [this, e, membro = membri[k]] { esciDatoConto(e, membro); });
        SegnalaDigitazione(e);
        datiConto_[static_cast<std::size_t>(k)] = e;
    }
    autorizzazione_ = new QCheckBox(QStringLiteral("Autorizzazione del cliente all'addebito degli interessi, data il"),
                                    conto);
    autorizzazione_->setObjectName(QStringLiteral("Autorizzazione"));
    dataAutorizzazione_ = CreaSceltaData(QStringLiteral("DataAutorizzazione"), conto);
    gc->addWidget(autorizzazione_, 2, 0, 1, 3);
    gc->addWidget(dataAutorizzazione_, 2, 3);
    connect(autorizzazione_, &QCheckBox::toggled, this, &frmCondizioni::cambioAutorizzazione);
    connect(dataAutorizzazione_, &QDateEdit::dateChanged, this, &frmCondizioni::cambioAutorizzazione);
    for (int c : {1, 3, 5})
        gc->setColumnStretch(c, 1);
    layout->addWidget(conto);

    // The periods.
    auto* elenco = new QHBoxLayout;
    periodi_ = new QTableWidget(0, ColonneCondizioni, this);
    periodi_->setObjectName(QStringLiteral("TabellaPeriodi"));
    periodi_->setHorizontalHeaderLabels(IntestazioniCondizioni());
    periodi_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    periodi_->setSelectionBehavior(QAbstractItemView::SelectRows);
    periodi_->setSelectionMode(QAbstractItemView::SingleSelection);
    periodi_->verticalHeader()->setVisible(false);
    periodi_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    periodi_->setWordWrap(false);
    connect(periodi_, &QTableWidget::currentCellChanged, this, [this](int riga) {
        if (!caricamento_ && riga >= 0)
            ScegliPeriodo(riga);
    });
    elenco->addWidget(periodi_, 1);
    auto* pulsanti = new QVBoxLayout;
    aggiungi_ = new QPushButton(QStringLiteral("&Aggiungi periodo"), this);
    aggiungi_->setObjectName(QStringLiteral("AggiungiPeriodo"));
    elimina_ = new QPushButton(QStringLiteral("&Elimina periodo"), this);
    elimina_->setObjectName(QStringLiteral("EliminaPeriodo"));
    pulsanti->addWidget(aggiungi_);
    pulsanti->addWidget(elimina_);
    pulsanti->addStretch(1);
    elenco->addLayout(pulsanti);
    connect(aggiungi_, &QPushButton::clicked, this, &frmCondizioni::AggiungiPeriodo);
    connect(elimina_, &QPushButton::clicked, this, &frmCondizioni::EliminaPeriodo);
    layout->addLayout(elenco, 1);

    // The period chosen.
    QFrame* periodo = Cornice(QStringLiteral("CornicePeriodo"), this);
    editor_ = periodo;
    auto* g = new QGridLayout(periodo);
    g->setContentsMargins(m, s, m, s);
    g->setHorizontalSpacing(m);
    g->setVerticalSpacing(s / 2 + 1);
    const auto metti = [&](const QString& testo, QWidget* w, int riga, int colonna) {
        auto* l = new QLabel(testo, periodo);
        l->setBuddy(w);
        g->addWidget(l, riga, colonna);
        g->addWidget(w, riga, colonna + 1);
    };
    const auto campo = [&](const QString& nome) {
        auto* c = new CampoFinanziamento(nome, CampoFinanziamento::Filtro::Importo, periodo);
        SegnalaDigitazione(c);
        return c;
    };
    dal_ = CreaSceltaData(QStringLiteral("Dal"), periodo);
    metti(QStringLiteral("In vigore &dal"), dal_, 0, 0);
    accordato_ = campo(QStringLiteral("Accordato"));
    metti(QStringLiteral("&Fido accordato"), accordato_, 0, 2);
    speseFisse_ = campo(QStringLiteral("SpeseFisse"));
    metti(QStringLiteral("Spese fisse per liquidazione"), speseFisse_, 0, 4);
    const char* const nomiTassi[4] = {"TassoDebitore", "TassoOltreFido", "TassoCreditore", "PercentualeCMS"};
    const char* const testiTassi[4] = {"Tasso debitore %", "Tasso oltre il fido %", "Tasso creditore %", "CMS %"};
    for (int k = 0; k < 4; ++k) {
        tassi_[static_cast<std::size_t>(k)] = campo(QString::fromLatin1(nomiTassi[k]));
        metti(QString::fromUtf8(testiTassi[k]), tassi_[static_cast<std::size_t>(k)], k < 3 ? 1 : 2, k < 3 ? k * 2 : 0);
    }
    const auto lista = [&](const QString& nome, const QStringList& voci) {
        auto* c = new QComboBox(periodo);
        c->setObjectName(nome);
        c->addItems(voci);
        AbilitaRicercaDigitata(c);
        return c;
    };
    baseCMS_ = lista(QStringLiteral("BaseCMS"), TestiBaseCMS());
    metti(QStringLiteral("Base della CMS"), baseCMS_, 2, 2);
    liquidazione_ = lista(QStringLiteral("Liquidazione"), TestiLiquidazione());
    metti(QStringLiteral("&Liquidazione"), liquidazione_, 2, 4);
    divisore_ = lista(QStringLiteral("Divisore"), TestiDivisore());
    metti(QStringLiteral("Di&visore"), divisore_, 3, 0);

    g->addWidget(Titolo(QStringLiteral("Pattuito per iscritto:"), periodo), 4, 0);
    const char* const nomiPatti[4] = {"TassiPattuiti", "CapitalizzazionePattuita", "CMSPattuita",
                                      "CommissioniPattuite"};
    const char* const testiPatti[4] = {"Tassi, dal", "Capitalizzazione, dal", "CMS, dal", "Commissioni, dal"};
    for (int k = 0; k < 4; ++k) {
        auto* c = new QCheckBox(QString::fromUtf8(testiPatti[k]), periodo);
        c->setObjectName(QString::fromLatin1(nomiPatti[k]));
        auto* d = CreaSceltaData(QStringLiteral("Data") + QString::fromLatin1(nomiPatti[k]), periodo);
        const int riga = 4 + k / 2, colonna = 1 + (k % 2) * 2;
        g->addWidget(c, riga, colonna);
        g->addWidget(d, riga, colonna + 1);
        patti_[static_cast<std::size_t>(k)] = c;
        datePatti_[static_cast<std::size_t>(k)] = d;
        const auto leggi = [c, d, membro = pattuizioni[k]](CondizioniPeriodo& p) {
            p.*membro = c->isChecked() ? std::optional(DataCalcolo(d->date())) : std::nullopt;
            return QString();
        };
        connect(c, &QCheckBox::toggled, this, [this, c, d, leggi, membro = pattuizioni[k]] {
            const auto& periodi = Conteggio().ContoCorrente().condizioni.periodi;
            if (caricamento_ || scelto_ < 0 || scelto_ >= static_cast<int>(periodi.size()))
                return;
            // First ticked: agreed from the period's start, unless a date is typed.
            const CondizioniPeriodo& p = periodi[static_cast<std::size_t>(scelto_)];
            if (c->isChecked() && !(p.*membro)) {
                caricamento_ = true;
                d->setDate(DataQt(p.dal));
                caricamento_ = false;
            }
            esci(leggi);
        });
        connect(d, &QDateEdit::dateChanged, this, [this, leggi] { esci(leggi); });
    }
    usiPiazza_ = new QCheckBox(QStringLiteral("Tassi rinviati agli \u00abusi di piazza\u00bb"), periodo);
    usiPiazza_->setObjectName(QStringLiteral("UsiPiazza"));
    g->addWidget(usiPiazza_, 4, 5, 1, 2);
    for (int c : {1, 3, 5})
        g->setColumnStretch(c, 1);
    layout->addWidget(periodo);

    errori_ = new QLabel(this);
    errori_->setObjectName(QStringLiteral("Errori"));
    errori_->setWordWrap(true);
    errori_->setStyleSheet(QStringLiteral("color: #b00000"));
    layout->addWidget(errori_);

    // Reading each field of the period.
    connect(dal_, &QDateEdit::dateChanged, this, [this] {
        esci([this](CondizioniPeriodo& p) {
            p.dal = DataCalcolo(dal_->date());
            return QString();
        });
    });
    const auto importo = [this](CampoFinanziamento* c, Centesimi CondizioniPeriodo::*membro) {
        connect(c, &CampoFinanziamento::Uscita, this, [this, c, membro] {
            esci([c, membro](CondizioniPeriodo& p) {
                QString motivo;
                const std::optional<Centesimi> v = LeggiCentesimi(c->text().isEmpty() ? QStringLiteral("0") : c->text(), &motivo);
                if (!v)
                    return QStringLiteral("L'importo \u00ab%1\u00bb %2.").arg(Citazione(c->text()), motivo);
                p.*membro = *v;
                return QString();
            });
        });
    };
    importo(accordato_, &CondizioniPeriodo::accordato);
    importo(speseFisse_, &CondizioniPeriodo::speseFisse);
    for (int k = 0; k < 4; ++k) {
        CampoFinanziamento* c = tassi_[static_cast<std::size_t>(k)];
        connect(c, &CampoFinanziamento::Uscita, this, [this, c, membro = tassi[k]] {
            esci([c, membro](CondizioniPeriodo& p) {
                try {
                    p.*membro = LeggiNumeroItaliano(c->text().toStdString()) / 100;
                } catch (const std::exception& e) {
                    return QStringLiteral("Il tasso \u00ab%1\u00bb non è un numero: %2")
                        .arg(Citazione(c->text()), QString::fromUtf8(e.what()));
                }
                return QString();
            });
        });
    }
    const auto scelta = [this](QComboBox* c, auto CondizioniPeriodo::*membro) {
        connect(c, &QComboBox::activated, this, [this, c, membro] {
            esci([c, membro](CondizioniPeriodo& p) {
                p.*membro = static_cast<std::remove_reference_t<decltype(p.*membro)>>(c->currentIndex());
                return QString();
            });
        });
    };
    scelta(baseCMS_, &CondizioniPeriodo::baseCMS);
    scelta(liquidazione_, &CondizioniPeriodo::liquidazione);
    scelta(divisore_, &CondizioniPeriodo::divisore);
    connect(usiPiazza_, &QCheckBox::toggled, this, [this] {
        esci([this](CondizioniPeriodo& p) {
            p.usiPiazza = usiPiazza_->isChecked();
            return QString();
        });
    });
}

void frmCondizioni::Pagina()
{
    CaricamentoGuardia g(*this);
    caricamento_ = true;
    const ContoMovimenti& conto = Conteggio().ContoCorrente();
    std::string DatiConto::*const membri[6] = {&DatiConto::intestatario, &DatiConto::banca, &DatiConto::iban,
                                                &DatiConto::abi, &DatiConto::cab, &DatiConto::numero};
    for (std::size_t k = 0; k < 6; ++k)
        datiConto_[k]->setText(QString::fromStdString(conto.conto.*membri[k]));
    const auto& a = conto.condizioni.autorizzazioneAddebito;
    autorizzazione_->setChecked(a.has_value());
    dataAutorizzazione_->setEnabled(a.has_value());
    dataAutorizzazione_->setDate(a ? DataQt(*a) : QDate(2016, 10, 1));
    const int n = static_cast<int>(conto.condizioni.periodi.size());
    scelto_ = n == 0 ? -1 : std::clamp(scelto_, 0, n - 1);
    caricamento_ = false;
    mostraElenco();
    mostraPeriodo();
    mostraErrori();
    SegnaRiempita();
}

void frmCondizioni::ConfermaModifiche()
{
    FinestraFiglia::ConfermaModifiche();
    QWidget* f = focusWidget();
    for (CampoFinanziamento* c : {accordato_, speseFisse_, tassi_[0], tassi_[1], tassi_[2], tassi_[3]})
        if (f == c)
            emit c->Uscita();
    for (QLineEdit* e : datiConto_)
        if (f == e)
            emit e->editingFinished();
}

DatiPaginaCondizioni frmCondizioni::Dati() const
{
    return PaginaCondizioni(Conteggio().ContoCorrente(), QString::fromStdString(Conteggio().NomeConteggio()));
}

void frmCondizioni::ScegliPeriodo(int periodo)
{
    const int n = static_cast<int>(Conteggio().ContoCorrente().condizioni.periodi.size());
    scelto_ = n == 0 ? -1 : std::clamp(periodo, 0, n - 1);
    mostraElenco();
    mostraPeriodo();
}

void frmCondizioni::AggiungiPeriodo()
{
    ConfermaModifiche();
    const ContoMovimenti& conto = Conteggio().ContoCorrente();
    CondizioniConto nuove = conto.condizioni;
    CondizioniPeriodo p;
    if (!nuove.periodi.empty()) {
        // The conditions of the last period, from the quarter after its start.
        p = nuove.periodi.back();
        const std::chrono::sys_days d = p.dal;
        const int q = calendario::Trimestre(d);
        p.dal = q == 4 ? calendario::Giorno(calendario::Anno(d) + 1, 1, 1)
                       : calendario::InizioTrimestre(calendario::Anno(d), q + 1);
        for (auto membro : pattuizioni)
            if (p.*membro && *(p.*membro) < p.dal)
                p.*membro = p.dal;
    } else {
        int anno = Conteggio().AnnoRiferimento();
        if (!conto.movimenti.empty())
            anno = calendario::Anno(std::min_element(conto.movimenti.begin(), conto.movimenti.end(),
                                                     [](const Movimento& a, const Movimento& b) {
                                                         return a.dataContabile < b.dataContabile;
                                                     })->dataContabile);
        p.dal = calendario::Giorno(anno, 1, 1);
    }
    nuove.periodi.push_back(p);
    if (applica(nuove, static_cast<int>(nuove.periodi.size()) - 1)) {
        dal_->setFocus();
        dal_->selectAll();
    }
}

void frmCondizioni::EliminaPeriodo()
{
    ConfermaModifiche();
    CondizioniConto nuove = Conteggio().ContoCorrente().condizioni;
    if (scelto_ < 0 || scelto_ >= static_cast<int>(nuove.periodi.size()))
        return;
    nuove.periodi.erase(nuove.periodi.begin() + scelto_);
    Conteggio().ContoCorrente().condizioni = nuove;
    scelto_ = std::min(scelto_, static_cast<int>(nuove.periodi.size()) - 1);
    mostraElenco();
    mostraPeriodo();
    mostraErrori();
    emit Modificato();
}

void frmCondizioni::esci(const Lettura& leggi)
{
    if (caricamento_ || !Riempita() || scelto_ < 0)
        return;
    CondizioniConto nuove = Conteggio().ContoCorrente().condizioni;
    if (scelto_ >= static_cast<int>(nuove.periodi.size()))
        return;
    const QString motivo = leggi(nuove.periodi[static_cast<std::size_t>(scelto_)]);
    if (!motivo.isEmpty()) {
        mostraPeriodo();
        Messaggio(motivo, QMessageBox::Warning, this);
        return;
    }
    applica(nuove, scelto_);
}

bool frmCondizioni::applica(CondizioniConto nuove, int periodo)
{
    CondizioniConto& attuali = Conteggio().ContoCorrente().condizioni;
    const std::chrono::sys_days dal = nuove.periodi[static_cast<std::size_t>(periodo)].dal;
    const CondizioniPeriodo cambiato = nuove.periodi[static_cast<std::size_t>(periodo)];
    // Kept in date order; a period moved to another date moves in the list.
    std::stable_sort(nuove.periodi.begin(), nuove.periodi.end(),
                     [](const CondizioniPeriodo& a, const CondizioniPeriodo& b) { return a.dal < b.dal; });
    // Only the faults this change brings are refused: those the conditions
    // had already are shown under the window.
    QStringList prima, nuovi;
    for (const ErroreCondizioni& e : ControllaCondizioni(attuali))
        prima << QString::fromStdString(e.testo);
    for (const ErroreCondizioni& e : ControllaCondizioni(nuove))
        if (const QString t = QString::fromStdString(e.testo); !prima.contains(t) && !nuove.periodi.empty())
            nuovi << t;
    if (!nuovi.isEmpty()) {
        mostraPeriodo();
        Messaggio(nuovi.join(QLatin1Char('\n')) + QStringLiteral("\nResta il valore precedente."),
                  QMessageBox::Warning, this);
        return false;
    }
    bool uguali = nuove.periodi.size() == attuali.periodi.size();
    for (std::size_t k = 0; uguali && k < nuove.periodi.size(); ++k)
        uguali = Uguali(nuove.periodi[k], attuali.periodi[k]);
    const auto it = std::find_if(nuove.periodi.begin(), nuove.periodi.end(), [&](const CondizioniPeriodo& p) {
        return p.dal == dal && Uguali(p, cambiato);
    });
    scelto_ = static_cast<int>(it - nuove.periodi.begin());
    attuali = std::move(nuove);
    mostraElenco();
    mostraPeriodo();
    mostraErrori();
    if (!uguali)
        emit Modificato();
    return true;
}

void frmCondizioni::mostraElenco()
{
    const bool prima = caricamento_;
    caricamento_ = true;
    const auto& periodi = Conteggio().ContoCorrente().condizioni.periodi;
    periodi_->setRowCount(static_cast<int>(periodi.size()));
    for (int r = 0; r < static_cast<int>(periodi.size()); ++r) {
        const QStringList testi = TestiPeriodo(periodi[static_cast<std::size_t>(r)]);
        for (int c = 0; c < ColonneCondizioni; ++c) {
            auto* cella = periodi_->item(r, c);
            if (!cella) {
                cella = new QTableWidgetItem;
                periodi_->setItem(r, c, cella);
            }
            cella->setText(testi.value(c));
            cella->setTextAlignment(c == 0 ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    periodi_->resizeColumnsToContents();
    if (scelto_ >= 0)
        periodi_->setCurrentCell(scelto_, std::max(0, periodi_->currentColumn()));
    elimina_->setEnabled(scelto_ >= 0);
    caricamento_ = prima;
}

void frmCondizioni::mostraPeriodo()
{
    const bool prima = caricamento_;
    caricamento_ = true;
    const auto& periodi = Conteggio().ContoCorrente().condizioni.periodi;
    editor_->setEnabled(scelto_ >= 0);
    const CondizioniPeriodo p = scelto_ >= 0 ? periodi[static_cast<std::size_t>(scelto_)] : CondizioniPeriodo{};
    dal_->setDate(scelto_ >= 0 ? DataQt(p.dal) : QDate());
    accordato_->setText(TestoCentesimiQt(p.accordato));
    speseFisse_->setText(TestoCentesimiQt(p.speseFisse));
    for (std::size_t k = 0; k < 4; ++k)
        tassi_[k]->setText(TestoPercentuale(p.*tassi[k]));
    baseCMS_->setCurrentIndex(static_cast<int>(p.baseCMS));
    liquidazione_->setCurrentIndex(static_cast<int>(p.liquidazione));
    divisore_->setCurrentIndex(static_cast<int>(p.divisore));
    for (std::size_t k = 0; k < 4; ++k) {
        const auto& d = p.*pattuizioni[k];
        patti_[k]->setChecked(d.has_value());
        datePatti_[k]->setEnabled(d.has_value());
        datePatti_[k]->setDate(DataQt(d.value_or(p.dal)));
    }
    usiPiazza_->setChecked(p.usiPiazza);
    caricamento_ = prima;
}

void frmCondizioni::mostraErrori()
{
    const CondizioniConto& c = Conteggio().ContoCorrente().condizioni;
    if (c.periodi.empty()) {
        errori_->setText(QStringLiteral("Nessun periodo di condizioni: il conto non ha fido, e il ricalcolo non ha "
                                        "tassi da applicare. \u00abAggiungi periodo\u00bb ne crea uno."));
        return;
    }
    QStringList t;
    for (const ErroreCondizioni& e : ControllaCondizioni(c))
        t << QString::fromStdString(e.testo);
    errori_->setText(t.join(QLatin1Char('\n')));
}

void frmCondizioni::esciDatoConto(QLineEdit* campo, std::string DatiConto::*membro)
{
    if (caricamento_ || !Riempita())
        return;
    std::string& valore = Conteggio().ContoCorrente().conto.*membro;
    const std::string testo = campo->text().trimmed().toStdString();
    if (testo == valore)
        return;
    valore = testo;
    emit Modificato();
}

void frmCondizioni::cambioAutorizzazione()
{
    if (caricamento_ || !Riempita())
        return;
    dataAutorizzazione_->setEnabled(autorizzazione_->isChecked());
    auto& a = Conteggio().ContoCorrente().condizioni.autorizzazioneAddebito;
    const std::optional<std::chrono::sys_days> nuova =
        autorizzazione_->isChecked() ? std::optional(DataCalcolo(dataAutorizzazione_->date())) : std::nullopt;
    if (nuova == a)
        return;
    a = nuova;
    emit Modificato();
}
