#include "frmUsura.h"

#include "Dichiarazioni.h"
#include "PagineFinanziamenti.h"
#include "RicercaElenco.h"
#include "SceltaData.h"
#include "SoglieInUso.h"
#include "Twips.h"
#include "frmCalcoli.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const char* const operazioni[4] = {"Conto corrente", "Mutuo", "Operazioni varie", "Breve termine"};
const char* const didascalieData[4] = {"", "Data di stipula", "Data del contratto", ""};

// The column of GrigliaSoglia that holds the category, and its narrowest width
// in twips.
constexpr int ColonnaCategoria = 3;
constexpr int LarghezzaMinimaCategoria = 1800;

// Spacing of the window, in twips.
constexpr int margine = 120, spaziatura = 90;

OperazioneUsura Operazione(int k) { return static_cast<OperazioneUsura>(k); }

QLabel* Etichetta(const QString& nome, const QString& testo, QWidget* genitore, bool grassetto = false)
{
    auto* l = new QLabel(testo, genitore);
    l->setObjectName(nome);
    if (grassetto) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

QComboBox* Elenco(const QString& nome, QWidget* genitore)
{
    auto* c = new QComboBox(genitore);
    c->setObjectName(nome);
    // Category names run to a hundred and more characters: the field takes
    // the room it is given, the open list shows them whole.
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c->setMinimumContentsLength(16);
    c->view()->setTextElideMode(Qt::ElideNone);
    AbilitaRicercaDigitata(c);
    return c;
}

void Riempi(QComboBox* c, const std::vector<VoceScelta>& voci, int scelta)
{
    c->clear();
    for (const VoceScelta& v : voci)
        c->addItem(v.testo, v.valore);
    c->setCurrentIndex(scelta);
    c->setToolTip(c->currentText());
    c->view()->setMinimumWidth(c->view()->sizeHintForColumn(0) + 2 * c->view()->frameWidth() + 24);
}

} // namespace

frmUsura::frmUsura(Documento& documento, QWidget* genitore)
    : FinestraFiglia(QStringLiteral("frmUsura"), QStringLiteral("1513506645"), documento, genitore)
{
    setWindowTitle(QStringLiteral("Verifica usura"));
    PosizionaTwips(this, 0, 0, 15135, 6645);
    auto* layout = new QVBoxLayout(this);
    const int m = TwipsAPixel(margine), s = TwipsAPixel(spaziatura);
    layout->setContentsMargins(m, m, m, m);
    layout->setSpacing(s);
    layout->addWidget(CreaBandaTitolo(
        this, QStringLiteral("Verifica usura: i tassi del conteggio confrontati con le soglie")));

    auto* scelte = new QFrame(this);
    scelte->setObjectName(QStringLiteral("CorniceScelte"));
    scelte->setFrameShape(QFrame::StyledPanel);
    scelte->setFrameShadow(QFrame::Sunken);
    auto* griglia = new QGridLayout(scelte);
    griglia->setContentsMargins(m, s, m, s);
    griglia->setHorizontalSpacing(m);
    griglia->setVerticalSpacing(s / 2 + 1);
    const char* const intestazioni[4] = {"Operazione", "Categoria", "Classe di importo",
                                         "Data che individua il periodo"};
    for (int c = 0; c < 4; ++c)
        griglia->addWidget(Etichetta(QStringLiteral("Intestazione(%1)").arg(c), QString::fromUtf8(intestazioni[c]),
                                     scelte, true),
                           0, c == 3 ? 3 : c, 1, c == 3 ? 2 : 1);
    for (int k = 0; k < 4; ++k) {
        const int riga = k + 1;
        griglia->addWidget(Etichetta(QStringLiteral("Operazione(%1)").arg(k), QString::fromUtf8(operazioni[k]),
                                     scelte),
                           riga, 0);
        categorie_[k] = Elenco(QStringLiteral("Categoria(%1)").arg(k), scelte);
        griglia->addWidget(categorie_[k], riga, 1);
        connect(categorie_[k], &QComboBox::activated, this, [this, k](int i) { sceltaCategoria(k, i); });
        classi_[k] = Elenco(QStringLiteral("Classe(%1)").arg(k), scelte);
        classi_[k]->setMinimumWidth(classi_[k]->fontMetrics().horizontalAdvance(TestoClasseAutomatica) +
                                    TwipsAPixel(600));
        griglia->addWidget(classi_[k], riga, 2);
        connect(classi_[k], &QComboBox::activated, this, [this, k](int i) { sceltaClasse(k, i); });
        if (*didascalieData[k]) {
            indicate_[k] = new QCheckBox(QString::fromUtf8(didascalieData[k]), scelte);
            indicate_[k]->setObjectName(QStringLiteral("DataIndicata(%1)").arg(k));
            griglia->addWidget(indicate_[k], riga, 3);
            connect(indicate_[k], &QCheckBox::toggled, this, [this, k] { cambioData(k); });
            date_[k] = CreaSceltaData(QStringLiteral("Data(%1)").arg(k), scelte);
            griglia->addWidget(date_[k], riga, 4);
            connect(date_[k], &QDateEdit::dateChanged, this, [this, k] { cambioData(k); });
        } else {
            noteDate_[k] = Etichetta(QStringLiteral("NotaData(%1)").arg(k), QString(), scelte);
            griglia->addWidget(noteDate_[k], riga, 3, 1, 2);
        }
    }
    griglia->setColumnStretch(1, 5);
    griglia->setColumnStretch(2, 2);
    layout->addWidget(scelte);

    auto* cornice = new QFrame(this);
    cornice->setObjectName(QStringLiteral("CorniceTabella"));
    cornice->setFrameShape(QFrame::StyledPanel);
    cornice->setFrameShadow(QFrame::Sunken);
    auto* interno = new QVBoxLayout(cornice);
    interno->setContentsMargins(m, m, m, s);
    interno->setSpacing(s);
    vista_ = new VistaGriglia(cornice);
    interno->addWidget(vista_, 1);
    vista_->viewport()->installEventFilter(this);
    fonte_ = Etichetta(QStringLiteral("LabelFonte"), QString(), cornice);
    fonte_->setWordWrap(true);
    interno->addWidget(fonte_);
    layout->addWidget(cornice, 1);

    // A new series (an update, another archive folder) changes the verdicts.
    connect(&SegnaleSoglie(), &NotificaSoglie::cambiate, this, [this] {
        if (Riempita())
            rinfresca();
    });
}

void frmUsura::Pagina()
{
    aggiorna(true);
    SegnaRiempita();
}

void frmUsura::aggiorna(bool ancheDate)
{
    rinfrescoInAttesa_ = false;
    caricamento_ = true;
    dati_ = PaginaSoglia(Conteggio());
    const SerieSoglie& serie = SoglieInUso();
    for (int k = 0; k < 4; ++k) {
        const ScelteUsura s = ScelteDi(Operazione(k), Conteggio(), serie);
        Riempi(categorie_[k], s.categorie, s.categoria);
        Riempi(classi_[k], s.classi, s.classe);
        if (date_[k]) {
            if (ancheDate) {
                indicate_[k]->setChecked(s.dataIndicata);
                date_[k]->setDate(s.data.isValid() ? s.data : QDate(Conteggio().AnnoRiferimento(), 1, 1));
            } else if (!s.dataIndicata && s.data.isValid()) {
                date_[k]->setDate(s.data);
            }
            date_[k]->setEnabled(s.dataIndicata);
        } else {
            const QString data = s.data.isValid() ? s.data.toString(QStringLiteral("dd/MM/yyyy")) : QString();
            noteDate_[k]->setText(k == 0 ? QStringLiteral("i trimestri dell'anno %1").arg(Conteggio().AnnoRiferimento())
                                         : QStringLiteral("erogazione del %1").arg(data));
        }
    }
    vista_->Mostra(GrigliaSoglia(dati_));
    allargaCategoria();
    QStringList righe;
    if (!dati_.errore.isEmpty())
        righe << dati_.errore;
    righe << dati_.formule;
    for (const QString& t : {dati_.fonte, dati_.avviso})
        if (!t.isEmpty())
            righe << t;
    fonte_->setText(righe.join(QLatin1Char('\n')));
    caricamento_ = false;
}

void frmUsura::allargaCategoria()
{
    // The category column takes the room the window has beyond the table's
    // design width, so that long names need fewer lines, and gives some up
    // when the window is narrower, so that the verdicts stay in view.
    const Griglia& g = vista_->Tabella();
    if (g.Colonne() <= ColonnaCategoria)
        return;
    int usata = 0;
    for (int c = 0; c < g.Colonne(); ++c)
        usata += TwipsAPixel(g.Colonna(c).larghezza);
    const int libera = vista_->viewport()->width() - usata - 2;
    const int larghezza = std::max(TwipsAPixel(LarghezzaMinimaCategoria),
                                   TwipsAPixel(g.Colonna(ColonnaCategoria).larghezza) + libera);
    if (larghezza == vista_->columnWidth(ColonnaCategoria))
        return;
    vista_->setColumnWidth(ColonnaCategoria, larghezza);
    // The names wrap again: each row as high as its longest text needs.
    for (int r = 0; r < g.Righe(); ++r)
        vista_->setRowHeight(r, std::max(TwipsAPixel(g.Riga(r).altezza), static_cast<const QAbstractItemView*>(vista_)->sizeHintForRow(r)));
}

bool frmUsura::eventFilter(QObject* o, QEvent* e)
{
    if (o == vista_->viewport() && e->type() == QEvent::Resize)
        allargaCategoria();
    return FinestraFiglia::eventFilter(o, e);
}

void frmUsura::rinfresca()
{
    // Rebuilt once control returns to the event loop: never inside the
    // handler of a list being rebuilt.
    if (rinfrescoInAttesa_)
        return;
    rinfrescoInAttesa_ = true;
    QTimer::singleShot(0, this, [this] {
        if (rinfrescoInAttesa_)
            aggiorna(false);
    });
}

void frmUsura::sceltaCategoria(int k, int indice)
{
    if (caricamento_ || indice < 0)
        return;
    const std::string scelta = categorie_[k]->itemData(indice).toString().toStdString();
    const bool cambiata = scelta != CategoriaUsura(Conteggio(), Operazione(k));
    ScegliCategoria(Conteggio(), Operazione(k), scelta);
    if (cambiata)
        emit Modificato();
    rinfresca();
}

void frmUsura::sceltaClasse(int k, int indice)
{
    if (caricamento_ || indice < 0)
        return;
    const std::string scelta = classi_[k]->itemData(indice).toString().toStdString();
    const bool cambiata = scelta != ClasseUsura(Conteggio(), Operazione(k));
    ScegliClasse(Conteggio(), Operazione(k), scelta);
    if (cambiata)
        emit Modificato();
    rinfresca();
}

void frmUsura::cambioData(int k)
{
    if (caricamento_ || !date_[k])
        return;
    ParametriUsura& p = Conteggio().Usura();
    std::optional<std::chrono::sys_days> data;
    if (indicate_[k]->isChecked() && date_[k]->date().isValid()) {
        // A refused year leaves the stored date, which the field shows again.
        const auto memorizzata = k == 1 ? p.DataStipula() : p.DataOperazioni();
        if (!ControllaDataDigitata(date_[k], memorizzata ? DataQt(*memorizzata)
                                                         : QDate(Conteggio().AnnoRiferimento(), 1, 1), this))
            return;
        data = DataCalcolo(date_[k]->date());
    }
    date_[k]->setEnabled(indicate_[k]->isChecked());
    const bool cambiata = data != (k == 1 ? p.DataStipula() : p.DataOperazioni());
    if (k == 1)
        p.setDataStipula(data);
    else
        p.setDataOperazioni(data);
    if (cambiata)
        emit Modificato();
    rinfresca();
}

void frmUsura::showEvent(QShowEvent* e)
{
    FinestraFiglia::showEvent(e);
    if (Riempita())
        rinfresca();
}

bool frmUsura::event(QEvent* e)
{
    // Brought to the front among the main window's windows (or the program
    // activated again): the other windows may have changed the calculation.
    if (e->type() == QEvent::WindowActivate && Riempita())
        rinfresca();
    return FinestraFiglia::event(e);
}
