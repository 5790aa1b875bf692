#include "frmMovimenti.h"

#include "ClassiMovimenti.h"
#include "Scalare.h"
#include "Dichiarazioni.h"
#include "Messaggi.h"
#include "PagineFinanziamenti.h"
#include "RicercaElenco.h"
#include "SceltaData.h"
#include "Twips.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <set>

namespace {

constexpr int margine = 120, spaziatura = 90;  // twips

// The class column is edited with a list of the classes.
class DelegatoClasse : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* genitore, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* c = new QComboBox(genitore);
        c->setObjectName(QStringLiteral("SceltaClasse"));
        for (std::size_t k = 0; k < NumeroClassi; ++k)
            c->addItem(QString::fromStdString(NomeClasse(static_cast<ClasseMovimento>(k))));
        AbilitaRicercaDigitata(c);
        return c;
    }
    void setEditorData(QWidget* editor, const QModelIndex& i) const override
    {
        auto* c = static_cast<QComboBox*>(editor);
        c->setCurrentIndex(std::max(0, c->findText(i.data(Qt::EditRole).toString())));
    }
    void setModelData(QWidget* editor, QAbstractItemModel* m, const QModelIndex& i) const override
    {
        m->setData(i, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
    }
};

// The table, which can commit the cell being edited when a command needs it.
class VistaMovimenti : public QTableView {
public:
    using QTableView::QTableView;

    void ConfermaCella()
    {
        if (state() != EditingState)
            return;
        QWidget* editor = QApplication::focusWidget();
        while (editor && editor->parentWidget() != viewport())
            editor = editor->parentWidget();
        if (editor) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
};

QLineEdit* CampoData(const QString& nome, QWidget* genitore)
{
    auto* e = new QLineEdit(genitore);
    e->setObjectName(nome);
    e->setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
    e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + TwipsAPixel(240));
    e->setClearButtonEnabled(true);
    return e;
}

QPushButton* Pulsante(const QString& nome, const QString& testo, const QString& suggerimento, QWidget* genitore)
{
    auto* b = new QPushButton(testo, genitore);
    b->setObjectName(nome);
    b->setToolTip(suggerimento);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

} // namespace

frmMovimenti::frmMovimenti(ConteggioAperto& conteggio, QWidget* genitore)
    : FinestraFiglia(QStringLiteral("frmMovimenti"), QStringLiteral("1513506645"), conteggio.Doc(), genitore),
      conteggio_(conteggio)
{
    setWindowTitle(QStringLiteral("Movimenti"));
    PosizionaTwips(this, 0, 0, 15135, 6645);
    auto* layout = new QVBoxLayout(this);
    const int m = TwipsAPixel(margine), s = TwipsAPixel(spaziatura);
    layout->setContentsMargins(m, m, m, m);
    layout->setSpacing(s);
    layout->addWidget(CreaBandaTitolo(this, QStringLiteral("Movimenti del conto")));

    // The filter.
    auto* filtri = new QFrame(this);
    filtri->setObjectName(QStringLiteral("CorniceFiltro"));
    filtri->setFrameShape(QFrame::StyledPanel);
    auto* riga = new QHBoxLayout(filtri);
    riga->setContentsMargins(m, s, m, s);
    riga->setSpacing(s);
    const auto etichetta = [&](const QString& testo, QWidget* compagno) {
        auto* l = new QLabel(testo, filtri);
        l->setBuddy(compagno);
        // Never squeezed by the fields; a little room after the last letter,
        // which some fonts draw wider than they measure it.
        l->setMinimumWidth(l->sizeHint().width() + TwipsAPixel(60));
        l->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        riga->addWidget(l);
        riga->addWidget(compagno);
    };
    dal_ = CampoData(QStringLiteral("FiltroDal"), filtri);
    al_ = CampoData(QStringLiteral("FiltroAl"), filtri);
    etichetta(QStringLiteral("Data contabile &dal"), dal_);
    etichetta(QStringLiteral("&al"), al_);
    classe_ = new QComboBox(filtri);
    classe_->setObjectName(QStringLiteral("FiltroClasse"));
    classe_->addItem(QStringLiteral("tutte"));
    for (std::size_t k = 0; k < NumeroClassi; ++k)
        classe_->addItem(QString::fromStdString(NomeClasse(static_cast<ClasseMovimento>(k))), static_cast<int>(k));
    classe_->addItem(QStringLiteral("scelte a mano"), -1);
    AbilitaRicercaDigitata(classe_);
    etichetta(QStringLiteral("&Classe"), classe_);
    testo_ = new QLineEdit(filtri);
    testo_->setObjectName(QStringLiteral("FiltroTesto"));
    testo_->setPlaceholderText(QStringLiteral("parole della descrizione, causale o importo"));
    testo_->setClearButtonEnabled(true);
    etichetta(QStringLiteral("&Testo"), testo_);
    riga->setStretch(riga->count() - 1, 1);
    auto* tutti = Pulsante(QStringLiteral("MostraTutti"), QStringLiteral("Mostra tutti"),
                           QStringLiteral("Toglie il filtro"), filtri);
    riga->addWidget(tutti);
    layout->addWidget(filtri);

    // The commands.
    auto* comandi = new QHBoxLayout;
    comandi->setSpacing(s);
    auto* aggiungi = Pulsante(QStringLiteral("Aggiungi"), QStringLiteral("Aggiungi"),
                              QStringLiteral("Aggiunge un movimento dopo quello corrente (Ins)"), this);
    auto* elimina = Pulsante(QStringLiteral("Elimina"), QStringLiteral("Elimina"),
                             QStringLiteral("Elimina i movimenti selezionati (Canc)"), this);
    auto* regole = Pulsante(QStringLiteral("ClasseRegole"), QStringLiteral("Classe dalle regole"),
                            QStringLiteral("Ridà ai movimenti selezionati la classe delle regole, anche se scelta a mano"),
                            this);
    auto* annulla = Pulsante(QStringLiteral("Annulla"), QStringLiteral("Annulla"),
                             QStringLiteral("Annulla l'ultima modifica dei movimenti (Ctrl+Z)"), this);
    auto* ripeti = Pulsante(QStringLiteral("Ripeti"), QStringLiteral("Ripeti"),
                            QStringLiteral("Ripete la modifica annullata (Ctrl+Y)"), this);
    for (QPushButton* b : {aggiungi, elimina, regole, annulla, ripeti})
        comandi->addWidget(b);
    comandi->addStretch(1);
    stato_ = new QLabel(this);
    stato_->setObjectName(QStringLiteral("Stato"));
    comandi->addWidget(stato_);
    layout->addLayout(comandi);

    // The table.
    modello_ = new ModelloMovimenti(conteggio.Doc(), this);
    tabella_ = new VistaMovimenti(this);
    tabella_->setObjectName(QStringLiteral("TabellaMovimenti"));
    tabella_->setModel(modello_);
    tabella_->setItemDelegateForColumn(static_cast<int>(ColonnaMovimenti::Classe), new DelegatoClasse(tabella_));
    tabella_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabella_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tabella_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
    tabella_->setWordWrap(false);
    tabella_->setAlternatingRowColors(true);
    tabella_->setTabKeyNavigation(false);
    tabella_->verticalHeader()->setVisible(false);
    tabella_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tabella_->verticalHeader()->setDefaultSectionSize(tabella_->fontMetrics().height() + TwipsAPixel(90));
    QHeaderView* testata = tabella_->horizontalHeader();
    testata->setSectionsClickable(true);
    testata->setSortIndicatorShown(true);
    testata->setSortIndicator(-1, Qt::AscendingOrder);
    connect(testata, &QHeaderView::sortIndicatorChanged, modello_, [this](int colonna, Qt::SortOrder verso) {
        modello_->sort(colonna, verso);
        // The current movement stays in sight at its new place.
        if (tabella_->currentIndex().isValid())
            tabella_->scrollTo(tabella_->currentIndex(), QAbstractItemView::PositionAtCenter);
    });
    const QFontMetrics fm = tabella_->fontMetrics();
    const char* const larghezze[ColonneMovimenti] = {"000000", "00/00/0000 ", "00/00/0000", "-00.000.000,00",
                                                     "Causale",  "",            "interessi creditori", "Regola",
                                                     "-00.000.000,00 ", ""};
    for (int c = 0; c < ColonneMovimenti; ++c)
        if (*larghezze[c])
            testata->resizeSection(c, std::max(fm.horizontalAdvance(QString::fromLatin1(larghezze[c])),
                                               fm.horizontalAdvance(IntestazioniMovimenti()[c])) + TwipsAPixel(240));
    testata->resizeSection(static_cast<int>(ColonnaMovimenti::Descrizione), fm.averageCharWidth() * 42);
    testata->resizeSection(static_cast<int>(ColonnaMovimenti::Estratto), fm.averageCharWidth() * 34);
    // The description takes the room the window has to spare.
    testata->setSectionResizeMode(static_cast<int>(ColonnaMovimenti::Descrizione), QHeaderView::Stretch);
    layout->addWidget(tabella_, 1);

    // Reactions.
    connect(modello_, &ModelloMovimenti::Modificato, this, [this] {
        impronta_ = ModelloMovimenti::Impronta(Conteggio().ContoCorrente().movimenti);
        aggiornaStato();
        proprio_ = true;
        emit Modificato();
        proprio_ = false;
    });
    connect(modello_, &ModelloMovimenti::Rifiutato, this, [this](const QString& motivo) {
        // Shown once the editor has closed, never inside its commit.
        QTimer::singleShot(0, this, [this, motivo] { Messaggio(motivo, QMessageBox::Warning, this); });
    });
    // Another window changed the calculation: the movements are read again
    // if it changed them.
    connect(&conteggio_, &ConteggioAperto::DocumentoCambiato, this, [this] {
        if (!proprio_ && Riempita())
            QTimer::singleShot(0, this, [this] {
                if (ModelloMovimenti::Impronta(Conteggio().ContoCorrente().movimenti) != impronta_)
                    Pagina();
            });
    });
    connect(modello_, &QAbstractItemModel::modelReset, this, &frmMovimenti::aggiornaStato);
    connect(modello_, &QAbstractItemModel::rowsInserted, this, &frmMovimenti::aggiornaStato);
    connect(modello_, &QAbstractItemModel::rowsRemoved, this, &frmMovimenti::aggiornaStato);

    attesaTesto_ = new QTimer(this);
    attesaTesto_->setSingleShot(true);
    attesaTesto_->setInterval(250);
    connect(attesaTesto_, &QTimer::timeout, this, &frmMovimenti::applicaFiltro);
    connect(testo_, &QLineEdit::textChanged, attesaTesto_, qOverload<>(&QTimer::start));
    connect(testo_, &QLineEdit::returnPressed, this, &frmMovimenti::applicaFiltro);
    for (QLineEdit* d : {dal_, al_})
        connect(d, &QLineEdit::editingFinished, this, &frmMovimenti::applicaFiltro);
    connect(classe_, &QComboBox::activated, this, &frmMovimenti::applicaFiltro);
    connect(tutti, &QPushButton::clicked, this, [this] {
        for (QLineEdit* e : {dal_, al_, testo_})
            e->clear();
        classe_->setCurrentIndex(0);
        applicaFiltro();
    });

    connect(aggiungi, &QPushButton::clicked, this, &frmMovimenti::AggiungiMovimento);
    connect(elimina, &QPushButton::clicked, this, &frmMovimenti::EliminaSelezionati);
    connect(regole, &QPushButton::clicked, this, &frmMovimenti::ClasseDalleRegole);
    QUndoStack* pila = modello_->Annullamenti();
    connect(annulla, &QPushButton::clicked, pila, &QUndoStack::undo);
    connect(ripeti, &QPushButton::clicked, pila, &QUndoStack::redo);
    connect(pila, &QUndoStack::canUndoChanged, annulla, &QPushButton::setEnabled);
    connect(pila, &QUndoStack::canRedoChanged, ripeti, &QPushButton::setEnabled);
    connect(pila, &QUndoStack::undoTextChanged, annulla,
            [annulla](const QString& t) { annulla->setToolTip(QStringLiteral("Annulla: %1 (Ctrl+Z)").arg(t)); });
    annulla->setEnabled(false);
    ripeti->setEnabled(false);

    // Keys: Ctrl+Z and Ctrl+Y anywhere in the window but in a field being
    // edited (which takes them for its own text); Ins and Canc on the table.
    const auto tasto = [this](QWidget* dove, const QKeySequence& k, Qt::ShortcutContext contesto, auto fai) {
        auto* a = new QShortcut(k, dove);
        a->setContext(contesto);
        connect(a, &QShortcut::activated, this, fai);
    };
    tasto(this, QKeySequence::Undo, Qt::WidgetWithChildrenShortcut, [pila] { pila->undo(); });
    // Redo answers Ctrl+Y as well as the platform's keys, in one shortcut:
    // two shortcuts on the same key would cancel each other out.
    QList<QKeySequence> ripetizione = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!ripetizione.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
        ripetizione << QKeySequence(Qt::CTRL | Qt::Key_Y);
    auto* rifai = new QShortcut(this);
    rifai->setKeys(ripetizione);
    rifai->setContext(Qt::WidgetWithChildrenShortcut);
    connect(rifai, &QShortcut::activated, pila, &QUndoStack::redo);
    tasto(tabella_, QKeySequence(Qt::Key_Insert), Qt::WidgetShortcut, [this] { AggiungiMovimento(); });
    tasto(tabella_, QKeySequence(Qt::Key_Delete), Qt::WidgetShortcut, [this] { EliminaSelezionati(); });
}

void frmMovimenti::Pagina()
{
    CaricamentoGuardia g(*this);
    const std::size_t corrente =
        tabella_->currentIndex().isValid() ? modello_->IndiceDi(tabella_->currentIndex().row()) : 0;
    modello_->Ricarica();
    impronta_ = ModelloMovimenti::Impronta(Conteggio().ContoCorrente().movimenti);
    vaiA(std::max(0, modello_->RigaDi(corrente)), 1);
    aggiornaStato();
    SegnaRiempita();
}

void frmMovimenti::ConfermaModifiche()
{
    // A cell being edited is committed, as leaving it would.
    static_cast<VistaMovimenti*>(tabella_)->ConfermaCella();
    FinestraFiglia::ConfermaModifiche();
}

DatiPaginaMovimenti frmMovimenti::Dati() const
{
    return PaginaMovimenti(Conteggio().ContoCorrente(), modello_->Ordine(), modello_->Filtro().Descrizione(),
                           QString::fromStdString(Conteggio().NomeConteggio()));
}

void frmMovimenti::AggiungiMovimento()
{
    ConfermaModifiche();
    const int riga = tabella_->currentIndex().isValid() ? tabella_->currentIndex().row() : modello_->rowCount() - 1;
    const int nuova = modello_->Aggiungi(riga);
    if (nuova < 0) {
        Messaggio(QStringLiteral("Il movimento è stato aggiunto, ma il filtro lo nasconde: togliere il filtro per "
                                 "vederlo."),
                  QMessageBox::Information, this);
        return;
    }
    vaiA(nuova, static_cast<int>(ColonnaMovimenti::Importo));
    tabella_->setFocus();
    tabella_->edit(tabella_->currentIndex());
}

void frmMovimenti::EliminaSelezionati()
{
    ConfermaModifiche();
    const std::vector<int> righe = righeSelezionate();
    if (righe.empty())
        return;
    const int prima = *std::min_element(righe.begin(), righe.end());
    modello_->Elimina(righe);
    vaiA(std::min(prima, modello_->rowCount() - 1), std::max(0, tabella_->currentIndex().column()));
}

void frmMovimenti::ClasseDalleRegole()
{
    ConfermaModifiche();
    if (!modello_->ClasseDalleRegole(righeSelezionate()))
        Messaggio(QStringLiteral("I movimenti selezionati hanno già la classe che danno le regole."),
                  QMessageBox::Information, this);
}

std::vector<int> frmMovimenti::righeSelezionate() const
{
    std::set<int> righe;
    for (const QItemSelectionRange& r : tabella_->selectionModel()->selection())
        for (int k = r.top(); k <= r.bottom(); ++k)
            righe.insert(k);
    if (righe.empty() && tabella_->currentIndex().isValid())
        righe.insert(tabella_->currentIndex().row());
    return {righe.begin(), righe.end()};
}

void frmMovimenti::vaiA(int riga, int colonna)
{
    if (riga < 0 || riga >= modello_->rowCount())
        return;
    const QModelIndex i = modello_->index(riga, std::clamp(colonna, 0, ColonneMovimenti - 1));
    tabella_->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    tabella_->scrollTo(i);
}

void frmMovimenti::applicaFiltro()
{
    attesaTesto_->stop();
    FiltroMovimenti f;
    for (auto [campo, data] : {std::pair{dal_, &f.dal}, std::pair{al_, &f.al}}) {
        const QString t = campo->text().trimmed();
        if (t.isEmpty())
            continue;
        QString motivo;
        const std::optional<QDate> d = LeggiDataDigitata(t, &motivo);
        if (!d) {
            campo->clear();
            Messaggio(QStringLiteral("La data \u00ab%1\u00bb %2.").arg(Citazione(t), motivo), QMessageBox::Warning, this);
            continue;
        }
        campo->setText(d->toString(QStringLiteral("dd/MM/yyyy")));
        *data = DataCalcolo(*d);
    }
    const QVariant c = classe_->currentData();
    if (c.isValid()) {
        if (c.toInt() < 0)
            f.soloAMano = true;
        else
            f.classe = static_cast<ClasseMovimento>(c.toInt());
    }
    f.testo = testo_->text();
    const std::size_t corrente =
        tabella_->currentIndex().isValid() ? modello_->IndiceDi(tabella_->currentIndex().row()) : 0;
    modello_->ImpostaFiltro(f);
    vaiA(std::max(0, modello_->RigaDi(corrente)), 1);
    aggiornaStato();
}

void frmMovimenti::aggiornaStato()
{
    const ContoMovimenti& conto = Conteggio().ContoCorrente();
    const SaldiAccanto& s = modello_->Saldi();
    QString t = QStringLiteral("%1 movimenti").arg(modello_->rowCount());
    if (static_cast<std::size_t>(modello_->rowCount()) != conto.movimenti.size())
        t = QStringLiteral("%1 di %2 movimenti").arg(modello_->rowCount()).arg(conto.movimenti.size());
    if (!s.estratti.empty()) {
        const auto discordi = std::count_if(s.estratti.begin(), s.estratti.end(),
                                            [](const ControlloSaldi& c) { return !c.Concorda(); });
        t += discordi == 0 ? QStringLiteral("; saldi dichiarati di %1 estratti: tutti concordano").arg(s.estratti.size())
                           : QStringLiteral("; saldi dichiarati di %1 estratti: %2 non concordano")
                                 .arg(s.estratti.size())
                                 .arg(discordi);
    }
    if (!s.errore.isEmpty())
        t += QStringLiteral("; ") + s.errore;
    stato_->setText(t);
}

bool frmMovimenti::event(QEvent* e)
{
    // Back in front: another window (the class rules, an import) may have
    // changed the movements.
    if (e->type() == QEvent::WindowActivate && Riempita() &&
        ModelloMovimenti::Impronta(Conteggio().ContoCorrente().movimenti) != impronta_)
        QTimer::singleShot(0, this, [this] { Pagina(); });
    return FinestraFiglia::event(e);
}
