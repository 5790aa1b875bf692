#include "PannelloContratto.h"

#include "CampiFinanziamento.h"
#include "ContrattoConteggio.h"
#include "Dichiarazioni.h"
#include "Messaggi.h"
#include "PagineFinanziamenti.h"
#include "SceltaData.h"
#include "Twips.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>

#include <cmath>

using namespace std::chrono;

namespace {

// Spacing and the narrowest fields, in twips.
constexpr int margine = 90, spaziatura = 60;
constexpr int larghezzaData = 1500, larghezzaTasso = 1000, larghezzaElenco = 2600, larghezzaImporto = 1300;

// Sets a flag for its lifetime: the fields are being filled, their handlers
// neither write nor recompute.
class Guardia {
public:
    explicit Guardia(bool& b) : b_(b), prima_(b) { b_ = true; }
    ~Guardia() { b_ = prima_; }
    Guardia(const Guardia&) = delete;
    Guardia& operator=(const Guardia&) = delete;

private:
    bool& b_;
    bool prima_;
};

QLabel* Didascalia(const QString& nome, const QString& testo, QWidget* genitore, bool titolo = false)
{
    QLabel* l = CreaEtichetta(nome, testo, genitore);
    if (titolo) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

ElencoFinanziamento* Elenco(const QString& nome, const QStringList& voci, QWidget* genitore, int larghezza)
{
    auto* e = new ElencoFinanziamento(nome, genitore);
    e->Riempi(voci);
    e->setMinimumWidth(TwipsAPixel(larghezza));
    return e;
}

QDateEdit* Data(const QString& nome, QWidget* genitore)
{
    QDateEdit* d = CreaSceltaData(nome, genitore);
    d->setMinimumWidth(TwipsAPixel(larghezzaData));
    return d;
}


// What a rate field holds, as it shows it: empty for none.
QString TestoTasso(const std::optional<double>& t) { return t ? TestoPercento(*t) : QString(); }

// Reads a rate typed in percent: the fraction, or for an empty text `vuoto`.
// A text that is no rate is refused with a message, and the field shows the
// stored rate again: then the outer optional is empty.
std::optional<std::optional<double>> LeggiTasso(CampoFinanziamento* campo, const std::optional<double>& memorizzato,
                                                std::optional<double> vuoto, QWidget* finestra)
{
    const QString testo = campo->text();
    if (testo.trimmed().isEmpty()) {
        campo->setText(TestoTasso(vuoto));
        return vuoto;
    }
    QString motivo;
    if (const std::optional<double> t = LeggiPercento(testo, &motivo)) {
        campo->setText(TestoPercento(*t));
        return std::optional<double>(*t);
    }
    campo->setText(TestoTasso(memorizzato));
    Messaggio(QStringLiteral("Il tasso \"%1\" %2.\nSi scrive in percentuale, per esempio 4,125.")
                  .arg(Citazione(testo), motivo),
              QMessageBox::Warning, finestra);
    return std::nullopt;
}

} // namespace

PannelloContratto::PannelloContratto(Documento& documento, QWidget* genitore)
    : QWidget(genitore), documento_(documento)
{
    setObjectName(QStringLiteral("CorniceContratto"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(TwipsAPixel(margine));

    auto* areaDati = new QScrollArea(this);
    areaDati->setObjectName(QStringLiteral("AreaDatiContratto"));
    areaDati->setWidgetResizable(true);
    areaDati->setWidget(creaDati());
    layout->addWidget(areaDati, 3);

    auto* areaRisultati = new QScrollArea(this);
    areaRisultati->setObjectName(QStringLiteral("AreaRisultatiContratto"));
    areaRisultati->setWidgetResizable(true);
    risultati_ = new QWidget(areaRisultati);
    risultati_->setObjectName(QStringLiteral("RisultatiContratto"));
    grigliaRisultati_ = new QGridLayout(risultati_);
    const int m = TwipsAPixel(margine), s = TwipsAPixel(spaziatura);
    grigliaRisultati_->setContentsMargins(m, m, m, m);
    grigliaRisultati_->setHorizontalSpacing(m);
    grigliaRisultati_->setVerticalSpacing(s);
    areaRisultati->setWidget(risultati_);
    layout->addWidget(areaRisultati, 2);
}

CampoFinanziamento* PannelloContratto::campo(const QString& nome, int filtro, QWidget* genitore,
                                              std::function<void()> uscita)
{
    auto* c = new CampoFinanziamento(nome, static_cast<CampoFinanziamento::Filtro>(filtro), genitore);
    connect(c, &CampoFinanziamento::Uscita, this, [this, uscita] {
        if (!riempimento_)
            uscita();
    });
    connect(c, &QLineEdit::textEdited, this, [this] {
        if (!riempimento_)
            emit Modificato();
    });
    uscite_.push_back({c, uscita});
    return c;
}

QWidget* PannelloContratto::creaDati()
{
    auto* w = new QWidget;
    w->setObjectName(QStringLiteral("DatiContratto"));
    auto* g = new QGridLayout(w);
    const int m = TwipsAPixel(margine), s = TwipsAPixel(spaziatura);
    g->setContentsMargins(m, m, m, m);
    g->setHorizontalSpacing(m);
    g->setVerticalSpacing(s);
    constexpr int importo = static_cast<int>(CampoFinanziamento::Filtro::Importo);
    int r = 0;

    g->addWidget(Didascalia(QStringLiteral("TitoloContratto"), QStringLiteral("Dati del contratto"), w, true), r, 0,
                 1, 2);
    auto* piano = new QPushButton(QStringLiteral("Piano di ammortamento"), w);
    piano->setObjectName(QStringLiteral("PianoAmmortamento"));
    connect(piano, &QPushButton::clicked, this, [this] { emit Comando(QStringLiteral("piano")); });
    g->addWidget(piano, r++, 3, Qt::AlignRight);

    stipulaIndicata_ = new QCheckBox(QStringLiteral("Data di stipula"), w);
    stipulaIndicata_->setObjectName(QStringLiteral("DataStipulaIndicata"));
    stipula_ = Data(QStringLiteral("DataStipula"), w);
    primaRataIndicata_ = new QCheckBox(QStringLiteral("Data della prima rata"), w);
    primaRataIndicata_->setObjectName(QStringLiteral("DataPrimaRataIndicata"));
    primaRata_ = Data(QStringLiteral("DataPrimaRata"), w);
    g->addWidget(stipulaIndicata_, r, 0);
    g->addWidget(stipula_, r, 1);
    g->addWidget(primaRataIndicata_, r, 2);
    g->addWidget(primaRata_, r++, 3);
    for (bool primaRata : {false, true}) {
        connect(primaRata ? primaRataIndicata_ : stipulaIndicata_, &QCheckBox::toggled, this,
                [this, primaRata] { cambioData(primaRata); });
        connect(primaRata ? primaRata_ : stipula_, &QDateEdit::dateChanged, this,
                [this, primaRata] { cambioData(primaRata); });
    }

    g->addWidget(Didascalia(QStringLiteral("DidascaliaTan"), QStringLiteral("TAN %"), w), r, 0);
    tan_ = campo(QStringLiteral("Tan"), importo, w, [this] { esciTan(); });
    tan_->setMinimumWidth(TwipsAPixel(larghezzaTasso));
    g->addWidget(tan_, r, 1);
    g->addWidget(Didascalia(QStringLiteral("DidascaliaBaseTan"), QStringLiteral("Base di calcolo"), w), r, 2);
    base_ = Elenco(QStringLiteral("BaseTan"), ElencoBasiTan(), w, larghezzaElenco);
    connect(base_, &QComboBox::activated, this, [this](int i) {
        if (riempimento_ || i < 0)
            return;
        const auto b = static_cast<BaseTan>(i);
        const bool cambiata = b != documento_.Contratto().base;
        documento_.Contratto().base = b;
        modificato(cambiata);
    });
    g->addWidget(base_, r++, 3);

    g->addWidget(Didascalia(QStringLiteral("DidascaliaMetodo"), QStringLiteral("Ammortamento"), w), r, 0);
    metodo_ = Elenco(QStringLiteral("Metodo"), ElencoMetodi(), w, larghezzaElenco);
    connect(metodo_, &QComboBox::activated, this, [this](int i) {
        if (riempimento_ || i < 0)
            return;
        const auto v = static_cast<MetodoAmmortamento>(i);
        const bool cambiata = v != documento_.Contratto().metodo;
        documento_.Contratto().metodo = v;
        modificato(cambiata);
    });
    g->addWidget(metodo_, r, 1);
    g->addWidget(Didascalia(QStringLiteral("DidascaliaPreammortamento"), QStringLiteral("Giorni di preammortamento"),
                            w),
                 r, 2);
    preammortamento_ = campo(QStringLiteral("Preammortamento"), importo, w, [this] { esciPreammortamento(); });
    preammortamento_->setMinimumWidth(TwipsAPixel(larghezzaTasso));
    g->addWidget(preammortamento_, r++, 3, Qt::AlignLeft);

    g->addWidget(Didascalia(QStringLiteral("DidascaliaTaeg"), QStringLiteral("TAEG/ISC dichiarato %"), w), r, 0);
    taeg_ = campo(QStringLiteral("TaegDichiarato"), importo, w, [this] { esciTaeg(); });
    taeg_->setMinimumWidth(TwipsAPixel(larghezzaTasso));
    taeg_->setToolTip(QStringLiteral("Il tasso indicato dalla banca nel contratto; vuoto se non indicato"));
    g->addWidget(taeg_, r++, 1);

    g->addWidget(Didascalia(QStringLiteral("TitoloCosti"), QStringLiteral("Costi"), w, true), r, 0, 1, 2);
    auto* aggiungi = new QPushButton(QStringLiteral("Aggiungi costo"), w);
    aggiungi->setObjectName(QStringLiteral("AggiungiCosto"));
    connect(aggiungi, &QPushButton::clicked, this, &PannelloContratto::aggiungiCosto);
    g->addWidget(aggiungi, r++, 3, Qt::AlignRight);
    cornicecosti_ = new QWidget(w);
    cornicecosti_->setObjectName(QStringLiteral("Costi"));
    grigliaCosti_ = new QGridLayout(cornicecosti_);
    grigliaCosti_->setContentsMargins(0, 0, 0, 0);
    grigliaCosti_->setHorizontalSpacing(s);
    grigliaCosti_->setVerticalSpacing(s);
    g->addWidget(cornicecosti_, r++, 0, 1, 4);

    g->addWidget(Didascalia(QStringLiteral("TitoloMora"), QStringLiteral("Interessi di mora ed estinzione anticipata"),
                            w, true),
                 r++, 0, 1, 4);
    g->addWidget(Didascalia(QStringLiteral("DidascaliaTipoMora"), QStringLiteral("Interessi di mora"), w), r, 0);
    tipoMora_ = Elenco(QStringLiteral("TipoMora"), ElencoTipiMora(), w, larghezzaElenco);
    connect(tipoMora_, &QComboBox::activated, this, [this](int i) {
        if (riempimento_ || i < 0)
            return;
        const auto v = static_cast<TipoMora>(i);
        const bool cambiata = v != documento_.Contratto().mora.tipo;
        documento_.Contratto().mora.tipo = v;
        abilita();
        modificato(cambiata);
    });
    g->addWidget(tipoMora_, r, 1);
    g->addWidget(Didascalia(QStringLiteral("DidascaliaMora"), QStringLiteral("Maggiorazione o tasso %"), w), r, 2);
    mora_ = campo(QStringLiteral("Mora"), importo, w, [this] { esciMora(); });
    mora_->setMinimumWidth(TwipsAPixel(larghezzaTasso));
    g->addWidget(mora_, r++, 3, Qt::AlignLeft);

    estinzione_ = new QCheckBox(QStringLiteral("Estinzione anticipata al"), w);
    estinzione_->setObjectName(QStringLiteral("Estinzione"));
    estinzione_->setToolTip(
        QStringLiteral("I giudici non sono concordi sul fatto che la penale entri nella verifica: è una scelta"));
    connect(estinzione_, &QCheckBox::toggled, this, &PannelloContratto::cambioEstinzione);
    dataEstinzione_ = Data(QStringLiteral("DataEstinzione"), w);
    connect(dataEstinzione_, &QDateEdit::dateChanged, this, &PannelloContratto::cambioEstinzione);
    g->addWidget(estinzione_, r, 0);
    g->addWidget(dataEstinzione_, r++, 1);
    g->addWidget(Didascalia(QStringLiteral("DidascaliaPenale"), QStringLiteral("Penale"), w), r, 0);
    tipoPenale_ = Elenco(QStringLiteral("TipoPenale"), ElencoTipiPenale(), w, larghezzaElenco);
    connect(tipoPenale_, &QComboBox::activated, this, [this](int i) {
        if (riempimento_ || i < 0)
            return;
        const auto v = static_cast<TipoPenale>(i);
        EstinzioneAnticipata& e = documento_.Contratto().estinzione;
        const bool cambiata = v != e.tipo;
        e.tipo = v;
        // A percentage and an amount are not the same figure.
        if (cambiata)
            e.valore = 0;
        Guardia guardia(riempimento_);
        penale_->setText(e.tipo == TipoPenale::Percentuale ? TestoPercento(e.valore) : TestoImporto(e.valore));
        modificato(cambiata);
    });
    g->addWidget(tipoPenale_, r, 1);
    penale_ = campo(QStringLiteral("Penale"), importo, w, [this] { esciPenale(); });
    penale_->setMinimumWidth(TwipsAPixel(larghezzaImporto));
    g->addWidget(Didascalia(QStringLiteral("DidascaliaValorePenale"), QStringLiteral("% o importo"), w), r, 2);
    g->addWidget(penale_, r++, 3, Qt::AlignLeft);

    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    g->setRowStretch(r, 1);
    return w;
}

void PannelloContratto::Riempi()
{
    Guardia guardia(riempimento_);
    const DatiContratto& c = documento_.Contratto();
    mostraDate();
    tan_->setText(TestoPercento(c.tan));
    base_->setCurrentIndex(static_cast<int>(c.base));
    metodo_->setCurrentIndex(static_cast<int>(c.metodo));
    preammortamento_->setText(QString::number(c.giorniPreammortamento));
    taeg_->setText(TestoTasso(c.taegDichiarato));
    tipoMora_->setCurrentIndex(static_cast<int>(c.mora.tipo));
    mora_->setText(TestoPercento(c.mora.valore));
    const EstinzioneAnticipata& e = c.estinzione;
    estinzione_->setChecked(e.considerata);
    dataEstinzione_->setDate(e.data ? DataQt(*e.data) : stipula_->date().addYears(5));
    tipoPenale_->setCurrentIndex(static_cast<int>(e.tipo));
    penale_->setText(e.tipo == TipoPenale::Percentuale ? TestoPercento(e.valore) : TestoImporto(e.valore));
    creaCosti();
    abilita();
    AggiornaRisultati();
}

void PannelloContratto::mostraDate()
{
    Guardia guardia(riempimento_);
    const auto stipula = documento_.Usura().DataStipula();
    const auto primaRata = documento_.Contratto().dataPrimaRata;
    stipulaIndicata_->setChecked(stipula.has_value());
    if (stipula)
        stipula_->setDate(DataQt(*stipula));
    else if (!stipula_->date().isValid() || stipula_->date() == QDate(2000, 1, 1))
        stipula_->setDate(QDate(documento_.AnnoRiferimento(), 1, 1));
    primaRataIndicata_->setChecked(primaRata.has_value());
    primaRata_->setDate(primaRata ? DataQt(*primaRata) : stipula_->date().addMonths(1));
    stipula_->setEnabled(stipula.has_value());
    primaRata_->setEnabled(primaRata.has_value());
}

void PannelloContratto::abilita()
{
    const DatiContratto& c = documento_.Contratto();
    mora_->setEnabled(c.mora.tipo != TipoMora::Nessuna);
    dataEstinzione_->setEnabled(c.estinzione.considerata);
    tipoPenale_->setEnabled(c.estinzione.considerata);
    penale_->setEnabled(c.estinzione.considerata);
    for (std::size_t i = 0; i < costi_.size() && i < c.costi.size(); ++i)
        costi_[i].data->setEnabled(c.costi[i].pagamento == PagamentoCosto::AllaData);
}

void PannelloContratto::modificato(bool cambiato)
{
    if (cambiato)
        emit Modificato();
    AggiornaRisultati();
}

void PannelloContratto::AggiornaRisultati()
{
    // The contract date is also the usury check's: it may have changed there.
    const auto stipula = documento_.Usura().DataStipula();
    if (stipula.has_value() != stipulaIndicata_->isChecked() || (stipula && DataQt(*stipula) != stipula_->date()))
        mostraDate();

    dati_ = PaginaContratto(documento_);
    while (QLayoutItem* voce = grigliaRisultati_->takeAt(0)) {
        delete voce->widget();  // labels only: none is sending a signal now
        delete voce;
    }
    int r = 0;
    const auto etichetta = [this](const QString& nome, const QString& testo) {
        auto* l = new QLabel(testo, risultati_);
        l->setObjectName(nome);
        l->setWordWrap(true);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return l;
    };
    if (!dati_.indicato) {
        grigliaRisultati_->addWidget(
            etichetta(QStringLiteral("ContrattoNonIndicato"),
                      QStringLiteral("Indicando i dati del contratto (data di stipula, prima rata, TAN, costi) il "
                                     "programma ricostruisce il piano di ammortamento e calcola il T.A.E.G. con e "
                                     "senza ciascun costo, la mora e l'estinzione anticipata.")),
            r++, 0, 1, 2);
    }
    for (const RigaContratto& riga : dati_.risultati) {
        QLabel* didascalia = etichetta(QStringLiteral("DidascaliaContratto(%1)").arg(riga.chiave), riga.didascalia);
        QFont f = didascalia->font();
        f.setBold(riga.titolo);
        didascalia->setFont(f);
        if (riga.evidenza && riga.valore.isEmpty())
            didascalia->setStyleSheet(QStringLiteral("color: #b00000;"));
        if (riga.titolo || riga.valore.isEmpty()) {
            grigliaRisultati_->addWidget(didascalia, r++, 0, 1, 2);
            continue;
        }
        grigliaRisultati_->addWidget(didascalia, r, 0);
        QLabel* valore = etichetta(QStringLiteral("Contratto(%1)").arg(riga.chiave), riga.valore);
        valore->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (riga.evidenza) {
            f = valore->font();
            f.setBold(true);
            valore->setFont(f);
        }
        grigliaRisultati_->addWidget(valore, r++, 1);
    }
    grigliaRisultati_->setColumnStretch(0, 3);
    grigliaRisultati_->setColumnStretch(1, 2);
    // Only the row below the last takes the room left: a grid keeps the
    // stretch of rows that an earlier, shorter list ended at.
    for (int i = 0; i < grigliaRisultati_->rowCount(); ++i)
        grigliaRisultati_->setRowStretch(i, i == r ? 1 : 0);
    grigliaRisultati_->setRowStretch(r, 1);
}

void PannelloContratto::ConfermaModifiche()
{
    QWidget* f = focusWidget();
    if (!f || riempimento_)
        return;
    for (const auto& [c, uscita] : uscite_)
        if (c == f)
            uscita();
    for (std::size_t i = 0; i < costi_.size(); ++i) {
        const int k = static_cast<int>(i);
        if (f == costi_[i].importo)
            esciImportoCosto(k);
        else if (f == costi_[i].descrizione)
            esciTestoCosto(k, false);
        else if (f == costi_[i].motivo)
            esciTestoCosto(k, true);
    }
    ConfermaDataInCorso(this);
}

// ---- Contract data ------------------------------------------------------------

void PannelloContratto::cambioData(bool primaRata)
{
    if (riempimento_)
        return;
    QCheckBox* indicata = primaRata ? primaRataIndicata_ : stipulaIndicata_;
    QDateEdit* campo = primaRata ? primaRata_ : stipula_;
    const std::optional<sys_days> memorizzata =
        primaRata ? documento_.Contratto().dataPrimaRata : documento_.Usura().DataStipula();
    std::optional<sys_days> data;
    if (indicata->isChecked() && campo->date().isValid()) {
        // A refused year leaves the stored date, which the field shows again.
        {
            Guardia guardia(riempimento_);
            if (!ControllaDataDigitata(campo, memorizzata ? DataQt(*memorizzata) : campo->date(), window()))
                return;
        }
        data = DataCalcolo(campo->date());
    }
    campo->setEnabled(indicata->isChecked());
    const bool cambiata = data != memorizzata;
    if (primaRata)
        documento_.Contratto().dataPrimaRata = data;
    else
        documento_.Usura().setDataStipula(data);
    modificato(cambiata);
}

void PannelloContratto::esciTan()
{
    double& tan = documento_.Contratto().tan;
    const auto letto = LeggiTasso(tan_, tan, 0.0, window());
    if (!letto)
        return;
    const bool cambiato = **letto != tan;
    tan = **letto;
    modificato(cambiato);
}

void PannelloContratto::esciTaeg()
{
    std::optional<double>& taeg = documento_.Contratto().taegDichiarato;
    const auto letto = LeggiTasso(taeg_, taeg, std::nullopt, window());
    if (!letto)
        return;
    const bool cambiato = *letto != taeg;
    taeg = *letto;
    modificato(cambiato);
}

void PannelloContratto::esciMora()
{
    double& mora = documento_.Contratto().mora.valore;
    const auto letto = LeggiTasso(mora_, mora, 0.0, window());
    if (!letto)
        return;
    const bool cambiato = **letto != mora;
    mora = **letto;
    modificato(cambiato);
}

void PannelloContratto::esciPreammortamento()
{
    int& giorni = documento_.Contratto().giorniPreammortamento;
    const QString testo = preammortamento_->text().trimmed();
    bool ok = testo.isEmpty();
    int letto = 0;
    if (!ok && testo.size() <= 5 && !testo.contains(QLatin1Char(',')))
        letto = testo.toInt(&ok);
    if (!ok) {
        preammortamento_->setText(QString::number(giorni));
        Messaggio(QStringLiteral("I giorni di preammortamento \"%1\" non sono un numero intero di giorni.\n"
                                 "Restano %2.")
                      .arg(Citazione(testo))
                      .arg(giorni),
                  QMessageBox::Warning, window());
        return;
    }
    preammortamento_->setText(QString::number(letto));
    const bool cambiato = letto != giorni;
    giorni = letto;
    modificato(cambiato);
}

void PannelloContratto::esciPenale()
{
    EstinzioneAnticipata& e = documento_.Contratto().estinzione;
    std::optional<double> letto;
    if (e.tipo == TipoPenale::Percentuale) {
        if (const auto t = LeggiTasso(penale_, e.valore, 0.0, window()))
            letto = **t;
    } else {
        letto = LeggiCampoImporto(penale_, e.valore, window());
    }
    if (!letto)
        return;
    const bool cambiato = *letto != e.valore;
    e.valore = *letto;
    modificato(cambiato);
}

void PannelloContratto::cambioEstinzione()
{
    if (riempimento_)
        return;
    EstinzioneAnticipata& e = documento_.Contratto().estinzione;
    const EstinzioneAnticipata prima = e;
    e.considerata = estinzione_->isChecked();
    if (e.considerata && dataEstinzione_->date().isValid()) {
        {
            Guardia guardia(riempimento_);
            if (!ControllaDataDigitata(dataEstinzione_, e.data ? DataQt(*e.data) : dataEstinzione_->date(),
                                       window())) {
                e = prima;
                return;
            }
        }
        e.data = DataCalcolo(dataEstinzione_->date());
    }
    abilita();
    modificato(e.considerata != prima.considerata || e.data != prima.data);
}

// ---- Costs --------------------------------------------------------------------

void PannelloContratto::creaCosti()
{
    // The button that asked for this may be among them: deleted later, and
    // unnamed at once so that no one finds the old row by its name.
    costi_.clear();
    while (QLayoutItem* voce = grigliaCosti_->takeAt(0)) {
        if (QWidget* w = voce->widget()) {
            w->setObjectName(QString());
            w->hide();
            w->deleteLater();
        }
        delete voce;
    }

    const std::vector<CostoMutuo>& costi = documento_.Contratto().costi;
    if (costi.empty()) {
        grigliaCosti_->addWidget(Didascalia(QStringLiteral("NessunCosto"),
                                            QStringLiteral("Nessun costo: «Aggiungi costo» per indicarne uno."),
                                            cornicecosti_),
                                 0, 0, 1, 7);
        return;
    }
    const char* const intestazioni[] = {"Tipo", "Descrizione", "Importo", "Quando", "Data", "Nel tasso"};
    for (int c = 0; c < 6; ++c)
        grigliaCosti_->addWidget(
            Didascalia(QStringLiteral("IntestazioneCosti(%1)").arg(c), QString::fromUtf8(intestazioni[c]), cornicecosti_),
            0, c);
    constexpr int importo = static_cast<int>(CampoFinanziamento::Filtro::Importo);
    constexpr int descrizione = static_cast<int>(CampoFinanziamento::Filtro::Descrizione);
    constexpr int testo = static_cast<int>(CampoFinanziamento::Filtro::Testo);
    QWidget* w = cornicecosti_;
    QWidget* precedente = nullptr;
    for (std::size_t n = 0; n < costi.size(); ++n) {
        const int i = static_cast<int>(n);
        const int r = 1 + 2 * i;
        RigaCosto riga;
        riga.tipo = Elenco(QStringLiteral("CostoTipo(%1)").arg(i), ElencoTipiCosto(), w, 1700);
        connect(riga.tipo, &QComboBox::activated, this, [this, i](int k) { cambioTipoCosto(i, k); });
        // The cost fields are not in uscite_: their rows come and go.
        auto testoCosto = [&](const QString& nome, int filtro) {
            auto* c = new CampoFinanziamento(nome, static_cast<CampoFinanziamento::Filtro>(filtro), w);
            connect(c, &QLineEdit::textEdited, this, [this] {
                if (!riempimento_)
                    emit Modificato();
            });
            return c;
        };
        riga.descrizione = testoCosto(QStringLiteral("CostoDescrizione(%1)").arg(i), descrizione);
        riga.descrizione->setMinimumWidth(TwipsAPixel(1800));
        connect(riga.descrizione, &CampoFinanziamento::Uscita, this, [this, i] {
            if (!riempimento_)
                esciTestoCosto(i, false);
        });
        riga.importo = testoCosto(QStringLiteral("CostoImporto(%1)").arg(i), importo);
        riga.importo->setMinimumWidth(TwipsAPixel(larghezzaImporto));
        connect(riga.importo, &CampoFinanziamento::Uscita, this, [this, i] {
            if (!riempimento_)
                esciImportoCosto(i);
        });
        riga.pagamento = Elenco(QStringLiteral("CostoPagamento(%1)").arg(i), ElencoPagamenti(), w, 1600);
        connect(riga.pagamento, &QComboBox::activated, this, [this, i](int k) { cambioPagamento(i, k); });
        riga.data = Data(QStringLiteral("CostoData(%1)").arg(i), w);
        connect(riga.data, &QDateEdit::dateChanged, this, [this, i] { cambioDataCosto(i); });
        riga.nelTasso = new QCheckBox(w);
        riga.nelTasso->setObjectName(QStringLiteral("CostoNelTasso(%1)").arg(i));
        riga.nelTasso->setToolTip(QStringLiteral("Il costo entra nel tasso confrontato con la soglia"));
        connect(riga.nelTasso, &QCheckBox::toggled, this, [this, i] { cambioNelTasso(i); });
        riga.elimina = new QPushButton(QStringLiteral("Elimina"), w);
        riga.elimina->setObjectName(QStringLiteral("CostoElimina(%1)").arg(i));
        connect(riga.elimina, &QPushButton::clicked, this, [this, i] { eliminaCosto(i); });
        auto* motivo = Didascalia(QStringLiteral("DidascaliaMotivo(%1)").arg(i), QStringLiteral("Motivo"), w);
        motivo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        riga.motivo = testoCosto(QStringLiteral("CostoMotivo(%1)").arg(i), testo);
        connect(riga.motivo, &CampoFinanziamento::Uscita, this, [this, i] {
            if (!riempimento_)
                esciTestoCosto(i, true);
        });
        grigliaCosti_->addWidget(riga.tipo, r, 0);
        grigliaCosti_->addWidget(riga.descrizione, r, 1);
        grigliaCosti_->addWidget(riga.importo, r, 2);
        grigliaCosti_->addWidget(riga.pagamento, r, 3);
        grigliaCosti_->addWidget(riga.data, r, 4);
        grigliaCosti_->addWidget(riga.nelTasso, r, 5, Qt::AlignCenter);
        grigliaCosti_->addWidget(riga.elimina, r, 6);
        grigliaCosti_->addWidget(motivo, r + 1, 0);
        grigliaCosti_->addWidget(riga.motivo, r + 1, 1, 1, 6);
        // Tab runs along the row, then to the reason, then to the next cost.
        for (QWidget* x : {static_cast<QWidget*>(riga.tipo), static_cast<QWidget*>(riga.descrizione),
                           static_cast<QWidget*>(riga.importo), static_cast<QWidget*>(riga.pagamento),
                           static_cast<QWidget*>(riga.data), static_cast<QWidget*>(riga.nelTasso),
                           static_cast<QWidget*>(riga.motivo), static_cast<QWidget*>(riga.elimina)}) {
            if (precedente)
                QWidget::setTabOrder(precedente, x);
            precedente = x;
        }
        costi_.push_back(std::move(riga));
        mostraCosto(i);
    }
    grigliaCosti_->setColumnStretch(1, 2);
    grigliaCosti_->setColumnStretch(3, 1);
    // Shown now, not at the next turn of the event loop, so that the new
    // row can take the focus at once.
    for (int k = 0; k < grigliaCosti_->count(); ++k)
        if (QWidget* x = grigliaCosti_->itemAt(k)->widget())
            x->show();
    grigliaCosti_->activate();
}

void PannelloContratto::mostraCosto(int i)
{
    Guardia guardia(riempimento_);
    const CostoMutuo& c = documento_.Contratto().costi.at(static_cast<std::size_t>(i));
    RigaCosto& r = costi_.at(static_cast<std::size_t>(i));
    r.tipo->setCurrentIndex(static_cast<int>(c.tipo));
    r.descrizione->setText(QString::fromStdString(c.descrizione));
    r.importo->setText(TestoImporto(std::isfinite(c.importo) ? c.importo : 0));
    r.pagamento->setCurrentIndex(static_cast<int>(c.pagamento));
    const auto stipula = documento_.Usura().DataStipula();
    r.data->setDate(c.data ? DataQt(*c.data) : stipula ? DataQt(*stipula) : stipula_->date());
    r.data->setEnabled(c.pagamento == PagamentoCosto::AllaData);
    r.nelTasso->setChecked(c.nelTasso);
    r.motivo->setText(QString::fromStdString(c.motivo));
    r.motivo->setCursorPosition(0);
}

void PannelloContratto::aggiungiCosto()
{
    documento_.Contratto().costi.push_back(CostoPredefinito(TipoCosto::Istruttoria, 0, PagamentoCosto::Stipula));
    creaCosti();
    abilita();
    modificato(true);
    const RigaCosto& nuova = costi_.back();
    nuova.tipo->setFocus(Qt::OtherFocusReason);
}

void PannelloContratto::eliminaCosto(int i)
{
    std::vector<CostoMutuo>& costi = documento_.Contratto().costi;
    if (i < 0 || static_cast<std::size_t>(i) >= costi.size())
        return;
    costi.erase(costi.begin() + i);
    creaCosti();
    abilita();
    modificato(true);
}

void PannelloContratto::cambioTipoCosto(int i, int indice)
{
    if (riempimento_ || indice < 0)
        return;
    CostoMutuo& c = documento_.Contratto().costi.at(static_cast<std::size_t>(i));
    const auto tipo = static_cast<TipoCosto>(indice);
    if (tipo == c.tipo)
        return;
    // Another kind: its inclusion and reason as the rules propose them.
    const CostoMutuo predefinito = CostoPredefinito(tipo, c.importo, c.pagamento);
    c.tipo = tipo;
    c.nelTasso = predefinito.nelTasso;
    c.motivo = predefinito.motivo;
    mostraCosto(i);
    modificato(true);
}

void PannelloContratto::cambioPagamento(int i, int indice)
{
    if (riempimento_ || indice < 0)
        return;
    CostoMutuo& c = documento_.Contratto().costi.at(static_cast<std::size_t>(i));
    const auto pagamento = static_cast<PagamentoCosto>(indice);
    if (pagamento == c.pagamento)
        return;
    c.pagamento = pagamento;
    // Paid at a date: the date the field shows, until the user changes it.
    if (pagamento == PagamentoCosto::AllaData && !c.data)
        c.data = DataCalcolo(costi_.at(static_cast<std::size_t>(i)).data->date());
    abilita();
    modificato(true);
}

void PannelloContratto::cambioDataCosto(int i)
{
    if (riempimento_)
        return;
    CostoMutuo& c = documento_.Contratto().costi.at(static_cast<std::size_t>(i));
    QDateEdit* campo = costi_.at(static_cast<std::size_t>(i)).data;
    if (!campo->date().isValid())
        return;
    {
        Guardia guardia(riempimento_);
        if (!ControllaDataDigitata(campo, c.data ? DataQt(*c.data) : campo->date(), window()))
            return;
    }
    const auto data = DataCalcolo(campo->date());
    const bool cambiata = c.data != data;
    c.data = data;
    modificato(cambiata);
}

void PannelloContratto::cambioNelTasso(int i)
{
    if (riempimento_)
        return;
    CostoMutuo& c = documento_.Contratto().costi.at(static_cast<std::size_t>(i));
    const bool nelTasso = costi_.at(static_cast<std::size_t>(i)).nelTasso->isChecked();
    if (nelTasso == c.nelTasso)
        return;
    // The proposed reason follows the choice; one the user wrote stays.
    const bool motivoProposto = c.motivo.empty() || c.motivo == MotivoPredefinito(c.tipo, c.nelTasso);
    c.nelTasso = nelTasso;
    if (motivoProposto) {
        c.motivo = MotivoPredefinito(c.tipo, nelTasso);
        Guardia guardia(riempimento_);
        costi_.at(static_cast<std::size_t>(i)).motivo->setText(QString::fromStdString(c.motivo));
        costi_.at(static_cast<std::size_t>(i)).motivo->setCursorPosition(0);
    }
    modificato(true);
}

void PannelloContratto::esciImportoCosto(int i)
{
    CostoMutuo& c = documento_.Contratto().costi.at(static_cast<std::size_t>(i));
    const auto letto = LeggiCampoImporto(costi_.at(static_cast<std::size_t>(i)).importo, c.importo, window());
    if (!letto)
        return;
    const bool cambiato = *letto != c.importo;
    c.importo = *letto;
    modificato(cambiato);
}

void PannelloContratto::esciTestoCosto(int i, bool motivo)
{
    CostoMutuo& c = documento_.Contratto().costi.at(static_cast<std::size_t>(i));
    const RigaCosto& r = costi_.at(static_cast<std::size_t>(i));
    std::string& valore = motivo ? c.motivo : c.descrizione;
    const std::string testo = (motivo ? r.motivo : r.descrizione)->text().toStdString();
    if (testo == valore)
        return;
    valore = testo;
    modificato(true);
}
