#include "frmCalcoli.h"

#include "Dichiarazioni.h"
#include "Messaggi.h"
#include "Pagine.h"
#include "Twips.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QFrame>
#include <QHeaderView>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QToolBar>
#include <algorithm>
#include <exception>

namespace {
// Design geometry of the current-account windows, in twips.
constexpr int larghezzaProgetto = 15135, altezzaProgetto = 6645;
constexpr int xBanda = 120, yBanda = 120, lBanda = 14895, hBanda = 405;
constexpr int yBarra = 570, hBarra = 450;
constexpr int xCornice = 120, yCornice = 1080, lCornice = 14850, hCornice = 5445;
// The grid sits inside the frame, 240 twips narrower and 360 lower.
constexpr int xGriglia = 120, yGriglia = 240;

// Space around a cell's text, in pixels.
constexpr int margineOrizzontale = 4, margineVerticale = 2;
} // namespace

// ---------------------------------------------------------------------------
// ModelloGriglia

void ModelloGriglia::Imposta(const Griglia& g)
{
    beginResetModel();
    griglia_ = g;
    endResetModel();
}

int ModelloGriglia::rowCount(const QModelIndex& genitore) const
{
    return genitore.isValid() ? 0 : griglia_.Righe();
}

int ModelloGriglia::columnCount(const QModelIndex& genitore) const
{
    return genitore.isValid() ? 0 : griglia_.Colonne();
}

QVariant ModelloGriglia::data(const QModelIndex& i, int ruolo) const
{
    if (!i.isValid() || i.row() >= griglia_.Righe() || i.column() >= griglia_.Colonne())
        return {};
    const CellaGriglia& c = griglia_.Cella(i.row(), i.column());
    switch (ruolo) {
    case Qt::DisplayRole:
        return c.testo;
    case Qt::FontRole:
        if (c.grassetto) {
            QFont f;
            f.setBold(true);
            return f;
        }
        return {};
    case Qt::ForegroundRole:
        if (c.attenuata)
            return QBrush(QColor(128, 128, 128));
        return {};
    case Qt::BackgroundRole:
        // Cells are painted white or grey; the area beyond the last column
        // keeps the colour of the window.
        return QBrush(c.grigia ? ColoreGrigio() : QColor(Qt::white));
    case Qt::TextAlignmentRole:
        return static_cast<int>(c.allineamento);
    default:
        return {};
    }
}

Qt::ItemFlags ModelloGriglia::flags(const QModelIndex& i) const
{
    return i.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

// ---------------------------------------------------------------------------
// VistaGriglia

VistaGriglia::VistaGriglia(QWidget* genitore) : QTableView(genitore), modello_(new ModelloGriglia(this))
{
    setObjectName(QStringLiteral("Grid"));
    setModel(modello_);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(true);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    QPalette p = palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    setPalette(p);
}

QFont VistaGriglia::CarattereAdatto(const Griglia& g, const QFont& base)
{
    // The columns were drawn for a compact sans-serif face: take one with the
    // same metrics when it is installed, at the program's size or smaller, so
    // that every label of an ordinary row stays on one line.
    QFont f = base;
    for (const char* famiglia : {"Liberation Sans", "Arial", "Helvetica"}) {
        if (QFontDatabase::families().contains(QString::fromLatin1(famiglia))) {
            f.setFamily(QString::fromLatin1(famiglia));
            break;
        }
    }
    double punti = base.pointSizeF() > 0 ? base.pointSizeF() : 9;
    auto entra = [&g](const QFont& carattere) {
        QFont grassetto = carattere;
        grassetto.setBold(true);
        const QFontMetrics normale(carattere), nero(grassetto);
        for (int r = 0; r < g.Righe(); ++r) {
            if (g.Riga(r).altezza >= 480 || g.Riga(r).unisci)
                continue;  // headers have room for two lines
            for (int c = 0; c < g.Colonne(); ++c) {
                const CellaGriglia& cella = g.Cella(r, c);
                const QFontMetrics& fm = cella.grassetto ? nero : normale;
                if (fm.horizontalAdvance(cella.testo) + 2 * margineOrizzontale + 1 >
                    TwipsAPixel(g.Colonna(c).larghezza))
                    return false;
            }
        }
        return true;
    };
    for (;; punti -= 0.5) {
        f.setPointSizeF(punti);
        if (punti <= 7.5 || entra(f))
            return f;
    }
}

std::vector<std::pair<int, int>> VistaGriglia::Unioni(const Griglia& g, int riga)
{
    std::vector<std::pair<int, int>> unioni;
    if (!g.Riga(riga).unisci)
        return unioni;
    for (int c = 0; c < g.Colonne();) {
        int fine = c + 1;
        const QString& t = g.Testo(riga, c);
        while (fine < g.Colonne() && g.Testo(riga, fine) == t)
            ++fine;
        // Empty neighbours stay separate cells: there is nothing to join.
        if (fine - c > 1 && !t.isEmpty())
            unioni.emplace_back(c, fine - c);
        c = fine;
    }
    return unioni;
}

int VistaGriglia::altezzaContenuto(int riga) const
{
    const Griglia& g = modello_->Tabella();
    int altezza = 0;
    for (int c = 0; c < g.Colonne(); ++c) {
        const CellaGriglia& cella = g.Cella(riga, c);
        if (cella.testo.isEmpty())
            continue;
        int larghezza = columnWidth(c);
        const int estensione = columnSpan(riga, c);
        if (estensione > 1) {
            for (int k = 1; k < estensione; ++k)
                larghezza += columnWidth(c + k);
            c += estensione - 1;
        }
        QFont f = font();
        if (cella.grassetto)
            f.setBold(true);
        const QFontMetrics fm(f);
        const QRect r = fm.boundingRect(QRect(0, 0, std::max(1, larghezza - 2 * margineOrizzontale), 100000),
                                        Qt::TextWordWrap | (cella.allineamento & Qt::AlignHorizontal_Mask),
                                        cella.testo);
        altezza = std::max(altezza, r.height() + 2 * margineVerticale + 1);
    }
    return altezza;
}

void VistaGriglia::Mostra(const Griglia& g)
{
    setUpdatesEnabled(false);
    setFont(CarattereAdatto(g, QApplication::font(this)));
    clearSpans();
    modello_->Imposta(g);
    for (int c = 0; c < g.Colonne(); ++c)
        setColumnWidth(c, std::max(1, TwipsAPixel(g.Colonna(c).larghezza)));
    for (int r = 0; r < g.Righe(); ++r)
        for (const auto& [inizio, quante] : Unioni(g, r))
            setSpan(r, inizio, 1, quante);
    // A row is as high as the table says, or higher when its text would
    // otherwise be cut off.
    for (int r = 0; r < g.Righe(); ++r)
        setRowHeight(r, std::max(TwipsAPixel(g.Riga(r).altezza), altezzaContenuto(r)));
    setUpdatesEnabled(true);
}

void VistaGriglia::AdattaColonne(const std::vector<int>& flessibili)
{
    const Griglia& g = Tabella();
    const int colonne = g.Colonne();
    for (int c : flessibili)
        if (c < 0 || c >= colonne)
            return;
    // Each column's longest line, and its longest word in the heading row,
    // which may wrap.
    std::vector<int> serve(static_cast<std::size_t>(colonne), 0);
    for (int c = 0; c < colonne; ++c)
        for (int r = 0; r < g.Righe(); ++r) {
            QFont f = font();
            f.setBold(g.Cella(r, c).grassetto);
            const QFontMetrics fm(f);
            const QStringList parti = g.Cella(r, c).testo.split(r == 0 ? QRegularExpression(QStringLiteral("\\s+"))
                                                                       : QRegularExpression(QStringLiteral("\n")));
            for (const QString& p : parti)
                serve[static_cast<std::size_t>(c)] =
                    std::max(serve[static_cast<std::size_t>(c)], fm.horizontalAdvance(p) + 2 * margineOrizzontale + 1);
        }
    int disponibile = viewport()->width() - 2, flessibiliServe = 0;
    for (int c = 0; c < colonne; ++c) {
        if (std::find(flessibili.begin(), flessibili.end(), c) == flessibili.end())
            disponibile -= serve[static_cast<std::size_t>(c)];
        else
            flessibiliServe += serve[static_cast<std::size_t>(c)];
    }
    std::vector<int> larghezze = serve;
    if (disponibile < flessibiliServe) {
        // Short of room: the widest flexible columns give way first, down
        // to one width for all of them that uses what is left, and wrap.
        std::vector<int> ordine = flessibili;
        std::sort(ordine.begin(), ordine.end(), [&](int a, int b) {
            return serve[static_cast<std::size_t>(a)] < serve[static_cast<std::size_t>(b)];
        });
        int resto = std::max(disponibile, 0);
        for (std::size_t i = 0; i < ordine.size(); ++i) {
            int& l = larghezze[static_cast<std::size_t>(ordine[i])];
            const int quota = resto / static_cast<int>(ordine.size() - i);
            l = std::max(TwipsAPixel(300), std::min(l, quota));
            resto -= std::min(l, resto);
        }
    } else if (!flessibili.empty()) {
        larghezze[static_cast<std::size_t>(flessibili.front())] += disponibile - flessibiliServe;
    }
    for (int c = 0; c < colonne; ++c)
        setColumnWidth(c, std::max(1, larghezze[static_cast<std::size_t>(c)]));
    for (int r = 0; r < g.Righe(); ++r)
        setRowHeight(r, std::max(TwipsAPixel(g.Riga(r).altezza), altezzaContenuto(r)));
}

// ---------------------------------------------------------------------------
// FinestraConto

QString FinestraConto::DidascaliaPulsante(const QString& chiave)
{
    if (chiave == QLatin1String("input"))
        return QStringLiteral("Dati di input").leftJustified(28);
    if (chiave == QLatin1String("matematico"))
        return QStringLiteral("TEG matematico").leftJustified(21);
    if (chiave == QLatin1String("italia"))
        return QStringLiteral("TEG Banca d'Italia").leftJustified(23);
    return {};
}

FinestraConto::FinestraConto(const QString& nome, const QString& titolo, const QString& chiavePropria,
                             Documento& documento, QWidget* genitore)
    : FinestraFiglia(nome, QStringLiteral("1513506645"), documento, genitore), chiavePropria_(chiavePropria)
{
    setWindowTitle(titolo);
    PosizionaTwips(this, 0, 0, larghezzaProgetto, altezzaProgetto);

    CreaBandaTitolo(this, titolo);

    barra_ = new QToolBar(this);
    barra_->setObjectName(QStringLiteral("Toolbar1"));
    barra_->setMovable(false);
    barra_->setFloatable(false);
    barra_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    barra_->setIconSize(QSize(16, 16));
    const struct {
        const char* chiave;
        QStyle::StandardPixmap icona;
    } pulsanti[] = {
        {"input", QStyle::SP_FileDialogContentsView},
        {"matematico", QStyle::SP_FileDialogDetailedView},
        {"italia", QStyle::SP_FileDialogInfoView},
    };
    for (const auto& p : pulsanti) {
        const QString chiave = QString::fromLatin1(p.chiave);
        QAction* a = barra_->addAction(style()->standardIcon(p.icona), DidascaliaPulsante(chiave));
        a->setObjectName(chiave);
        a->setData(chiave);
        a->setToolTip(DidascaliaPulsante(chiave).trimmed());
        connect(a, &QAction::triggered, this, [this, chiave] { pulsante(chiave); });
    }
    PosizionaTwips(barra_, xBanda, yBarra, lBanda, hBarra);

    cornice_ = new QFrame(this);
    cornice_->setObjectName(QStringLiteral("XPFrame4"));
    cornice_->setProperty("Tag", QStringLiteral("00120010801485005445"));
    cornice_->setFrameShape(QFrame::StyledPanel);
    cornice_->setFrameShadow(QFrame::Sunken);
    PosizionaTwips(cornice_, xCornice, yCornice, lCornice, hCornice);
}

void FinestraConto::pulsante(const QString& chiave)
{
    // The button of the window itself does nothing.
    if (chiave != chiavePropria_)
        emit Comando(chiave);
}

// ---------------------------------------------------------------------------
// FinestraRisultati

void FinestraRisultati::CreaVista()
{
    vista_ = new VistaGriglia(Cornice());
    PosizionaTwips(vista_, xGriglia, yGriglia, lCornice - 240, hCornice - 360);
}

DatiPaginaConto FinestraRisultati::Dati() const
{
    return {Tabella(), QString::fromStdString(Conteggio().Trimestri(1).Descrizione()), {}};
}

void FinestraRisultati::MostraTabella(const Griglia& g, const QString& errore)
{
    vista_->Mostra(g);
    if (!errore.isEmpty())
        Messaggio(errore, QMessageBox::Warning, this);
}

// ---------------------------------------------------------------------------
// frmCalcoli

frmCalcoli::frmCalcoli(Documento& documento, QWidget* genitore)
    : FinestraRisultati(QStringLiteral("frmCalcoli"),
                        QStringLiteral("T.E.G. su conto corrente con calcolo analitico"),
                        QStringLiteral("matematico"), documento, genitore)
{
    CreaVista();
}

void frmCalcoli::Pagina()
{
    QString errore;
    Griglia g;
    try {
        g = PaginaMatematico(Conteggio(), errore);
    } catch (const std::exception& e) {
        errore = QStringLiteral("Impossibile costruire la tabella: %1").arg(QString::fromStdString(e.what()));
    }
    MostraTabella(g, errore);
}
