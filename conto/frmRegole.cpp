#include "frmRegole.h"

#include "Dichiarazioni.h"
#include "Messaggi.h"
#include "Twips.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Spacing of the window, in twips.
constexpr int margine = 120, spaziatura = 90;

constexpr SegnoRegola Segni[] = {SegnoRegola::Qualsiasi, SegnoRegola::Addebito, SegnoRegola::Accredito};
constexpr ClasseMovimento Classi[] = {ClasseMovimento::Ordinario,   ClasseMovimento::InteressiDebitori,
                                      ClasseMovimento::InteressiCreditori, ClasseMovimento::CMS,
                                      ClasseMovimento::Commissioni, ClasseMovimento::Imposte};

// The table, with the cell being typed into committed on demand.
class TabellaRegole : public QTableWidget {
public:
    using QTableWidget::QTableWidget;
    // Leaving the cell commits what its editor holds, as a click elsewhere would.
    void ConfermaCella()
    {
        if (state() != QAbstractItemView::EditingState)
            return;
        const QModelIndex cella = currentIndex();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        selectionModel()->setCurrentIndex(cella, QItemSelectionModel::NoUpdate);
    }
};

QPushButton* Pulsante(const char* nome, const QString& testo, QWidget* genitore)
{
    auto* p = new QPushButton(testo, genitore);
    p->setObjectName(QLatin1String(nome));
    return p;
}

} // namespace

frmRegole::frmRegole(Documento& documento, QWidget* genitore)
    : FinestraFiglia(QStringLiteral("frmRegole"), QStringLiteral("1513506645"), documento, genitore)
{
    setWindowTitle(QStringLiteral("Regole delle classi"));
    PosizionaTwips(this, 0, 0, 15135, 6645);
    auto* layout = new QVBoxLayout(this);
    const int m = TwipsAPixel(margine), s = TwipsAPixel(spaziatura);
    layout->setContentsMargins(m, m, m, m);
    layout->setSpacing(s);
    layout->addWidget(CreaBandaTitolo(this, QStringLiteral("Regole delle classi dei movimenti")));

    auto* spiegazione = new QLabel(
        QStringLiteral("Ogni movimento prende la classe della prima regola che soddisfa: la causale CBI è una di "
                       "quelle indicate, la descrizione contiene una delle parole (separate da \u00ab;\u00bb; un "
                       "asterisco finale vale per ogni parola che comincia così) e il segno è quello indicato. "
                       "Le classi date a mano non cambiano."),
        this);
    spiegazione->setObjectName(QStringLiteral("Spiegazione"));
    spiegazione->setWordWrap(true);
    layout->addWidget(spiegazione);

    auto* tabella = new TabellaRegole(0, Colonne, this);
    tabella_ = tabella;
    tabella_->setObjectName(QStringLiteral("Regole"));
    tabella_->setHorizontalHeaderLabels({QStringLiteral("N."), QStringLiteral("Causali CBI"),
                                         QStringLiteral("Parole della descrizione"), QStringLiteral("Segno"),
                                         QStringLiteral("Classe"), QStringLiteral("Movimenti")});
    tabella_->setSelectionMode(QAbstractItemView::SingleSelection);
    tabella_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
    tabella_->verticalHeader()->hide();
    QHeaderView* intestazione = tabella_->horizontalHeader();
    intestazione->setSectionResizeMode(Parole, QHeaderView::Stretch);
    tabella_->setColumnWidth(Numero, TwipsAPixel(500));
    tabella_->setColumnWidth(Causali, TwipsAPixel(1400));
    tabella_->setColumnWidth(Segno, TwipsAPixel(1300));
    tabella_->setColumnWidth(Classe, TwipsAPixel(2200));
    tabella_->setColumnWidth(Movimenti, TwipsAPixel(1100));
    tabella_->setWordWrap(false);
    connect(tabella_, &QTableWidget::cellChanged, this, &frmRegole::cambiata);
    layout->addWidget(tabella_, 1);

    auto* pulsanti = new QHBoxLayout;
    QPushButton* aggiungi = Pulsante("Aggiungi", QStringLiteral("Aggiungi"), this);
    QPushButton* elimina = Pulsante("Elimina", QStringLiteral("Elimina"), this);
    QPushButton* su = Pulsante("Su", QStringLiteral("Sposta su"), this);
    QPushButton* giu = Pulsante("Giu", QStringLiteral("Sposta giù"), this);
    QPushButton* predefinite = Pulsante("Predefinite", QStringLiteral("Regole predefinite"), this);
    QPushButton* ripristina = Pulsante("Ripristina", QStringLiteral("Annulla le modifiche"), this);
    applica_ = Pulsante("Applica", QStringLiteral("Applica ai movimenti"), this);
    for (QPushButton* p : {aggiungi, elimina, su, giu, predefinite})
        pulsanti->addWidget(p);
    pulsanti->addStretch(1);
    pulsanti->addWidget(ripristina);
    pulsanti->addWidget(applica_);
    layout->addLayout(pulsanti);

    errori_ = new QLabel(this);
    errori_->setObjectName(QStringLiteral("Errori"));
    errori_->setWordWrap(true);
    errori_->setStyleSheet(QStringLiteral("color: #b00000;"));
    layout->addWidget(errori_);
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("Note"));
    note_->setWordWrap(true);
    layout->addWidget(note_);
    esito_ = new QLabel(this);
    esito_->setObjectName(QStringLiteral("EsitoApplica"));
    esito_->setWordWrap(true);
    layout->addWidget(esito_);

    connect(aggiungi, &QPushButton::clicked, this, [this] {
        tabella_->setFocus();
        const int dopo = tabella_->currentRow() >= 0 ? tabella_->currentRow() + 1 : static_cast<int>(regole_.size());
        RegolaClasse nuova;
        nuova.classe = ClasseMovimento::Commissioni;
        regole_.insert(regole_.begin() + dopo, nuova);
        riempi();
        modificata();
        tabella_->setCurrentCell(dopo, Parole);
        tabella_->editItem(tabella_->item(dopo, Parole));
    });
    connect(elimina, &QPushButton::clicked, this, [this] {
        const int r = tabella_->currentRow();
        if (r < 0 || r >= static_cast<int>(regole_.size()))
            return;
        regole_.erase(regole_.begin() + r);
        riempi();
        modificata();
        tabella_->setCurrentCell(std::min(r, tabella_->rowCount() - 1), Parole);
    });
    connect(su, &QPushButton::clicked, this, [this] { sposta(-1); });
    connect(giu, &QPushButton::clicked, this, [this] { sposta(+1); });
    connect(predefinite, &QPushButton::clicked, this, [this] {
        if (!Domanda(QStringLiteral("Sostituire le regole della tabella con quelle predefinite del programma?\n"
                                    "Si applicano ai movimenti con \u00abApplica ai movimenti\u00bb."),
                     this))
            return;
        regole_ = RegolePredefinite();
        riempi();
        modificata();
    });
    connect(ripristina, &QPushButton::clicked, this, [this] { Pagina(); });
    connect(applica_, &QPushButton::clicked, this, [this] { Applica(); });
}

frmRegole::~frmRegole()
{
    // An editor still open commits as the table goes, after the rules it
    // would write into: what it holds is dropped, as closing does.
    tabella_->disconnect(this);
}

void frmRegole::Pagina()
{
    regole_ = Conteggio().ContoCorrente().regole;
    daApplicare_ = false;
    esito_->clear();
    riempi();
    aggiornaPagina();
    SegnaRiempita();
}

void frmRegole::riempi()
{
    const CaricamentoGuardia guardia(*this);
    riempimento_ = true;
    tabella_->setRowCount(static_cast<int>(regole_.size()));
    for (int r = 0; r < static_cast<int>(regole_.size()); ++r)
        riga(r);
    riempimento_ = false;
}

void frmRegole::riga(int r)
{
    const RegolaClasse& regola = regole_[static_cast<std::size_t>(r)];
    auto cella = [this, r](int c, const QString& testo, bool modificabile) {
        auto* item = new QTableWidgetItem(testo);
        if (!modificabile)
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        if (c == Numero || c == Movimenti)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(c == Parole ? testo : QString());
        tabella_->setItem(r, c, item);
    };
    cella(Numero, QString::number(r + 1), false);
    cella(Causali, TestoCausali(regola), true);
    cella(Parole, TestoParole(regola), true);
    cella(Movimenti, QString(), false);

    auto* segno = new QComboBox;
    segno->setObjectName(QStringLiteral("Segno(%1)").arg(r));
    for (SegnoRegola s : Segni)
        segno->addItem(NomeSegno(s), int(s));
    segno->setCurrentIndex(segno->findData(int(regola.segno)));
    // Any change of the rows' order fills the table again: r stays right.
    connect(segno, &QComboBox::activated, this, [this, segno, r](int i) {
        regole_[static_cast<std::size_t>(r)].segno = static_cast<SegnoRegola>(segno->itemData(i).toInt());
        modificata();
    });
    tabella_->setCellWidget(r, Segno, segno);

    auto* classe = new QComboBox;
    classe->setObjectName(QStringLiteral("Classe(%1)").arg(r));
    for (ClasseMovimento c : Classi)
        classe->addItem(QString::fromStdString(NomeClasse(c)), int(c));
    classe->setCurrentIndex(classe->findData(int(regola.classe)));
    connect(classe, &QComboBox::activated, this, [this, classe, r](int i) {
        regole_[static_cast<std::size_t>(r)].classe = static_cast<ClasseMovimento>(classe->itemData(i).toInt());
        modificata();
    });
    tabella_->setCellWidget(r, Classe, classe);
}

void frmRegole::cambiata(int r, int c)
{
    if (riempimento_ || r < 0 || r >= static_cast<int>(regole_.size()))
        return;
    RegolaClasse& regola = regole_[static_cast<std::size_t>(r)];
    const QString testo = tabella_->item(r, c)->text();
    if (c == Causali)
        regola.causali = LeggiCausali(testo);
    else if (c == Parole)
        regola.parole = LeggiParole(testo);
    else
        return;
    // The cell shows what was read: separators and spaces as the rules keep them.
    riempimento_ = true;
    tabella_->item(r, c)->setText(c == Causali ? TestoCausali(regola) : TestoParole(regola));
    if (c == Parole)
        tabella_->item(r, c)->setToolTip(TestoParole(regola));
    riempimento_ = false;
    modificata();
}

void frmRegole::sposta(int di)
{
    const int r = tabella_->currentRow(), a = r + di;
    if (r < 0 || a < 0 || a >= static_cast<int>(regole_.size()))
        return;
    std::swap(regole_[static_cast<std::size_t>(r)], regole_[static_cast<std::size_t>(a)]);
    const int colonna = std::max(tabella_->currentColumn(), 0);
    riempi();
    modificata();
    tabella_->setFocus();
    tabella_->setCurrentCell(a, colonna);
}

void frmRegole::modificata()
{
    daApplicare_ = true;
    esito_->clear();
    aggiornaPagina();
}

void frmRegole::aggiornaPagina()
{
    dati_ = PaginaRegole(regole_, Conteggio().ContoCorrente().movimenti, daApplicare_);
    riempimento_ = true;
    std::vector<bool> difettose(regole_.size(), false);
    for (const ErroreRegola& e : ControllaRegole(regole_))
        if (e.riga >= 1 && e.riga <= difettose.size())
            difettose[e.riga - 1] = true;
    for (int r = 0; r < static_cast<int>(dati_.righe.size()) && r < tabella_->rowCount(); ++r) {
        tabella_->item(r, Movimenti)->setText(dati_.righe[static_cast<std::size_t>(r)].movimenti);
        tabella_->item(r, Numero)->setBackground(difettose[static_cast<std::size_t>(r)] ? QColor(255, 205, 205)
                                                                                       : QBrush());
    }
    riempimento_ = false;
    errori_->setText(dati_.errori.join(u'\n'));
    errori_->setVisible(!dati_.errori.isEmpty());
    note_->setText(dati_.note.join(u'\n'));
    applica_->setEnabled(daApplicare_);
}

bool frmRegole::Applica()
{
    static_cast<TabellaRegole*>(tabella_)->ConfermaCella();
    const std::vector<ErroreRegola> errori = ControllaRegole(regole_);
    if (!errori.empty()) {
        QStringList testi;
        for (const ErroreRegola& e : errori)
            testi << QString::fromStdString(e.testo);
        Messaggio(QStringLiteral("Le regole non sono state applicate:\n") + testi.join(u'\n'), QMessageBox::Warning,
                  this);
        return false;
    }
    ContoMovimenti& conto = Conteggio().ContoCorrente();
    const bool nuove = conto.regole != regole_;
    conto.regole = regole_;
    const std::size_t cambiati = ApplicaRegole(conto.movimenti, regole_);
    const auto aMano = std::count_if(conto.movimenti.begin(), conto.movimenti.end(),
                                     [](const Movimento& m) { return m.regolaClasse == ClasseAMano; });
    daApplicare_ = false;
    if (nuove || cambiati > 0)
        emit Modificato();
    esito_->setText(QStringLiteral("Regole applicate: %1 movimenti hanno cambiato classe o regola; %2 con la "
                                   "classe data a mano restano come sono.")
                        .arg(cambiati)
                        .arg(aMano));
    aggiornaPagina();
    return true;
}

void frmRegole::ConfermaModifiche()
{
    FinestraFiglia::ConfermaModifiche();
    static_cast<TabellaRegole*>(tabella_)->ConfermaCella();
    if (daApplicare_ && ControllaRegole(regole_).empty())
        Applica();
}

void frmRegole::hideEvent(QHideEvent* e)
{
    FinestraFiglia::hideEvent(e);
    if (e->spontaneous() || !daApplicare_ || !Riempita())
        return;
    // Sound rules were applied as the window went; these have faults.
    Messaggio(QStringLiteral("Le regole delle classi modificate non sono state applicate perché contengono "
                             "errori:\n") +
                  dati_.errori.join(u'\n') +
                  QStringLiteral("\nI movimenti restano classificati con le regole di prima."),
              QMessageBox::Warning, this);
    Pagina();
}
