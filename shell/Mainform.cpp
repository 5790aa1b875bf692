#include "Mainform.h"

#include "AperturaEsterna.h"
#include "AttivazioneFinestre.h"
#include "Archivio.h"
#include "Comandi.h"
#include "ElencoFile.h"
#include "Fabbrica.h"
#include "FinestraFiglia.h"
#include "Finestre.h"
#include "Immagini.h"
#include "Messaggi.h"
#include "Routines.h"
#include "SoglieInUso.h"
#include "Stampanti.h"
#include "Twips.h"
#include "frmAttesa.h"
#include "frmCaricaFile.h"
#include "frmInfo.h"
#include "frmNuovoPiano.h"
#include "frmImpostaStampante.h"
#include "frmTitolo.h"
#include "modCopia.h"
#include "modStampa.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>
#include <exception>
#include <new>
#include <stdexcept>

namespace {

// Widths of the status bar's first and last panel, in twips.
constexpr double LarghezzaPannello1 = 2100;
constexpr double LarghezzaPannello3 = 1500;

// Takes the wait window down when the command ends, however it ends.
class Attesa {
public:
    explicit Attesa(Mainform* m) : m_(m) { m_->MostraAttesa(); }
    ~Attesa() { m_->NascondiAttesa(); }
    Attesa(const Attesa&) = delete;
    Attesa& operator=(const Attesa&) = delete;

private:
    Mainform* m_;
};

// Marks the shell's own rearranging of the child windows, during which the
// area's activation changes do not choose the current window.
class Riordino {
public:
    explicit Riordino(int& n) : n_(n) { ++n_; }
    ~Riordino() { --n_; }
    Riordino(const Riordino&) = delete;
    Riordino& operator=(const Riordino&) = delete;

private:
    int& n_;
};

QString TestoEccezione(std::exception_ptr e)
{
    try {
        std::rethrow_exception(e);
    } catch (const std::bad_alloc&) {
        return QStringLiteral("memoria insufficiente");
    } catch (const std::exception& ex) {
        const QString t = QString::fromUtf8(ex.what());
        return t.isEmpty() ? QStringLiteral("errore imprevisto") : t;
    } catch (...) {
        return QStringLiteral("errore imprevisto");
    }
}

// Keeps a separate top-level window in front of the main window.
void TieniDavanti(QWidget* finestra, QWidget* principale)
{
    finestra->winId();
    if (finestra->windowHandle() && principale->windowHandle())
        finestra->windowHandle()->setTransientParent(principale->windowHandle());
}

} // namespace

Mainform::Mainform(QWidget* genitore)
    : QMainWindow(genitore), fabbrica_([this](const QString& nome) { return CreaFinestra(nome, conteggio_); })
{
    setObjectName(QStringLiteral("Mainform"));
    setWindowTitle(TitoloProgramma);
    // Installed, the square icon of the desktop entry, at the size window
    // managers show; else the logo.
    const QIcon icona = QIcon::fromTheme(QStringLiteral("zelvi-teg"));
    setWindowIcon(icona.isNull() ? QIcon(LogoProgramma()) : QIcon(icona.pixmap(48)));

    area_ = new QMdiArea(this);
    area_->setObjectName(QStringLiteral("AreaFinestre"));
    area_->setBackground(QColor(171, 171, 171));
    setCentralWidget(area_);
    // The user can bring another open window to the front (Ctrl+Tab): the
    // one in front is the one printed and copied.
    new AttivazioneFinestre(
        area_, riordino_, [this](const QString& nome) { finestraCorrente_ = nome; }, [this] { AttivaCorrente(); });

    CreaComandi(*this);
    CreaStatusBar();

    file1_ = new ElencoFile(this);
    picture2_ = new QLabel(this);
    picture2_->setObjectName(QStringLiteral("Picture2"));
    picture2_->setPixmap(LogoProgramma());
    picture2_->resize(picture2_->pixmap().size());
    picture2_->hide();
    // Every printed page carries the logo the frame holds.
    ImpostaLogo(picture2_->pixmap().toImage());

    // The title follows the open calculation and its unsaved changes.
    connect(&conteggio_, &ConteggioAperto::ConteggioCaricato, this, &Mainform::MostraConteggio);
    connect(&conteggio_, &ConteggioAperto::ModificatoCambiato, this, &Mainform::setWindowModified);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(100);
    connect(timer1_, &QTimer::timeout, this, &Mainform::Timer1_Timer);
    timer1_->start();

    cartellaProgramma_ = QCoreApplication::applicationDirPath();
    cartellaDati_ = cartellaProgramma_;
    percorsoArchivio_ = cartellaProgramma_ + QStringLiteral("/Archivio");
    ImpostaCartellaSoglie(percorsoArchivio_);
    setMinimumSize(TwipsAPixel(LarghezzaMinima), TwipsAPixel(AltezzaMinima));
    AbilitaComandi(false);
    Timer1_Timer();
}

Mainform::~Mainform()
{
    // The children are closed by the base class after this object is no
    // longer a Mainform: no signal may reach it from then on.
    disconnect(area_, nullptr, this, nullptr);
    conteggio_.disconnect(this);
    // The windows go while the document they keep what is typed into is
    // still there.
    delete area_;
    area_ = nullptr;
    delete attesa_.data();
    delete info_.data();
}

QString Mainform::NumeriRomani(int trimestre)
{
    static const char* const numeri[] = {"I", "II", "III", "IV"};
    if (trimestre < 1 || trimestre > 4)
        return {};
    return QLatin1String(numeri[trimestre - 1]);
}

bool Mainform::HaTabella(const QString& finestra)
{
    const VoceFinestra* v = VoceDiFinestra(finestra);
    return v && v->rapporto;
}

// ---------------------------------------------------------------------------
// Status bar (the menus and the toolbar are made from the table in Comandi.cpp)

void Mainform::CreaStatusBar()
{
    QStatusBar* barra = statusBar();
    barra->setObjectName(QStringLiteral("StatusBar1"));
    barra->setSizeGripEnabled(false);
    for (int i = 0; i < 3; ++i) {
        auto* p = new QLabel(barra);
        p->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        p->setContentsMargins(4, 0, 4, 0);
        pannelli_[i] = p;
        barra->addWidget(p);
    }
    pannelli_[0]->setText(QStringLiteral("Conteggio in uso:"));
    pannelli_[0]->setFixedWidth(TwipsAPixel(LarghezzaPannello1));
    pannelli_[2]->setFixedWidth(TwipsAPixel(LarghezzaPannello3));
    pannelli_[2]->setAlignment(Qt::AlignCenter);
    // The date panel also tells how far the usury thresholds in use reach
    // (the name panel takes the rest of the width), kept current after an update.
    QLabel* data = pannelli_[2];
    connect(&SegnaleSoglie(), &NotificaSoglie::cambiate, data, [data] { data->setToolTip(TestoUltimaDataSoglie()); });
}

void Mainform::AbilitaComandi(bool abilita)
{
    ::AbilitaComandi(*this, abilita);
}

void Mainform::Timer1_Timer()
{
    pannelli_[2]->setText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    MostraConteggio();
}

void Mainform::MostraConteggio()
{
    QString nome = conteggio_.Nome();
    setWindowTitle(nome.isEmpty() ? TitoloProgramma : nome + QStringLiteral("[*] - ") + TitoloProgramma);
    // A file opened from outside the archive is saved where it is: say where.
    if (!nome.isEmpty() && CartellaConteggio() != percorsoArchivio_)
        nome += QStringLiteral("  \u2014  ") + QDir::toNativeSeparators(CartellaConteggio());
    pannelli_[1]->setText(nome);
}

// ---------------------------------------------------------------------------
// Start-up, size, exit

void Mainform::Avvia(const RigaComando& riga)
{
    setEnabled(false);

    // The frame takes the screen, less a strip at the bottom.
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect schermo = s ? s->geometry() : QRect(0, 0, 1024, 768);
    const QRect libero = s ? s->availableGeometry() : schermo;
    const int altezza = std::min(schermo.height() - TwipsAPixel(480), libero.height());
    setGeometry(libero.x(), libero.y(), libero.width(), altezza);

    // Built or copied, the program keeps its archive beside it; installed, in
    // the user's data folder, unless the command line names another.
    const QString installati = CartellaDatiInstallati(cartellaProgramma_);
    cartellaDati_ = installati.isEmpty() ? cartellaProgramma_ : installati;
    percorsoArchivio_ = ScegliArchivio(
        cartellaProgramma_, QFileInfo(cartellaProgramma_).isWritable(), !installati.isEmpty(),
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation), riga.archivio);
    ImpostaCartellaSoglie(percorsoArchivio_);
    pannelli_[0]->setToolTip(QStringLiteral("Archivio: ") + QDir::toNativeSeparators(percorsoArchivio_));
    pannelli_[1]->setToolTip(pannelli_[0]->toolTip());

    if (PixelATwips(schermo.width()) < 15360 || PixelATwips(schermo.height()) < 9000) {
        Messaggio(QStringLiteral("La risoluzione dello schermo è insufficiente. Potrebbe non "
                                 "essere possibile visualizzare alcune funzionalità."),
                  QMessageBox::Warning);
    }

    show();
    MostraTitolo();

    conteggio_.Nuovo();

    MostraTitolo();
    for (const QString& avviso : AvvisiAvvio(percorsoArchivio_, EsempiDelProgramma(cartellaDati_)))
        Messaggio(avviso, QMessageBox::Warning, this);
    bool aperto = false;
    if (!riga.file.isEmpty())
        Esegui(QStringLiteral("Apertura del conteggio"), [&] { aperto = ApriFile(riga.file); });
    if (!aperto)
        Esegui(QStringLiteral("Apertura del conteggio Esempio"), [this] { CaricaEsempio(); });
    Timer1_Timer();
    setEnabled(true);
}

QSizeF Mainform::MisuraTwips() const
{
    const QRect r = frameGeometry();
    return {PixelATwips(r.width()), PixelATwips(r.height())};
}

void Mainform::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    if (isMinimized())
        return;
    try {
        const int minL = TwipsAPixel(LarghezzaMinima), minA = TwipsAPixel(AltezzaMinima);
        if (width() < minL || height() < minA)
            resize(std::max(width(), minL), std::max(height(), minA));
    } catch (...) {
    }
    try {
        const double w = MisuraTwips().width() - LarghezzaPannello1 - LarghezzaPannello3 - 240;
        pannelli_[1]->setFixedWidth(std::max(0, TwipsAPixel(w)));
    } catch (...) {
    }
    try {
        DisponiFinestraCorrente();
    } catch (...) {
    }
}

void Mainform::DisponiFinestraCorrente()
{
    Riordino r(riordino_);
    QWidget* w = FinestraAperta(finestraCorrente_);
    if (!w)
        return;
    DisponiPerNome(finestraCorrente_, w, MisuraTwips());
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget())) {
        sub->raise();
        area_->setActiveSubWindow(sub);
    }
}

void Mainform::closeEvent(QCloseEvent* e)
{
    if (!esciSenzaSalvare_) {
        bool prosegui = false;
        Esegui(QStringLiteral("Esci"), [this, &prosegui] { prosegui = ChiediSalvataggio(); });
        if (!prosegui) {
            e->ignore();
            return;
        }
    }
    try {
        RilasciaDatabase();
    } catch (...) {
        Messaggio(QStringLiteral("Il file del conteggio non è stato chiuso correttamente:\n") +
                      TestoEccezione(std::current_exception()),
                  QMessageBox::Warning);
    }
    ScaricaFinestre();
    NascondiAttesa();
    if (info_)
        info_->close();
    QList<QPointer<QWidget>> altre;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible())
            altre << w;
    }
    for (const auto& w : altre) {
        if (w)
            w->close();
    }
    timer1_->stop();
    e->accept();
}

// ---------------------------------------------------------------------------
// Child windows

QWidget* Mainform::FinestraAperta(const QString& nome) const
{
    if (nome.isEmpty())
        return nullptr;
    for (QMdiSubWindow* sub : area_->subWindowList()) {
        if (sub->widget() && sub->widget()->objectName() == nome)
            return sub->widget();
    }
    return nullptr;
}

FinestraFiglia* Mainform::FinestraFigliaCorrente() const
{
    return qobject_cast<FinestraFiglia*>(FinestraAperta(finestraCorrente_));
}

void Mainform::ChiudiFinestra(QWidget* w)
{
    QWidget* c = w;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget())) {
        c = sub;
        sub->hide();
        area_->removeSubWindow(sub);
    } else {
        w->hide();
    }
    // The window may be the one whose own command is running: it goes when
    // that command is over.
    c->deleteLater();
}

void Mainform::ScaricaFinestre()
{
    Riordino r(riordino_);
    for (const QString& nome : FinestreFiglie()) {
        if (QWidget* w = FinestraAperta(nome))
            ChiudiFinestra(w);
    }
}

void Mainform::MostraTitolo()
{
    Riordino r(riordino_);
    auto* titolo = qobject_cast<frmTitolo*>(FinestraAperta(QStringLiteral("frmTitolo")));
    QMdiSubWindow* sub = titolo ? qobject_cast<QMdiSubWindow*>(titolo->parentWidget()) : nullptr;
    if (!titolo) {
        titolo = new frmTitolo;
        sub = area_->addSubWindow(titolo, Qt::FramelessWindowHint);
    }
    finestraCorrente_ = QStringLiteral("frmTitolo");
    DisponiTitolo(titolo, MisuraTwips());
    titolo->SovrapponiImmagini();
    sub->show();
    sub->raise();
    area_->setActiveSubWindow(sub);
}

FinestraFiglia* Mainform::ApriFinestra(const QString& nome)
{
    Riordino r(riordino_);
    if (nome == QLatin1String("frmTitolo")) {
        MostraTitolo();
        return nullptr;
    }
    // A window already open is loaded afresh, so that it shows the document
    // as it is now and becomes the current window again.
    if (QWidget* vecchia = FinestraAperta(nome))
        ChiudiFinestra(vecchia);

    FinestraFiglia* w = fabbrica_ ? fabbrica_(nome) : nullptr;
    if (!w)
        return nullptr;
    connect(w, &FinestraFiglia::Comando, this,
            [this, w](const QString& chiave) { ComandoFiglia(w, chiave); });
    // An edit in the window is an unsaved change of the calculation.
    connect(w, &FinestraFiglia::Modificato, &conteggio_, &ConteggioAperto::SegnaModifica);

    finestraCorrente_ = nome;
    QMdiSubWindow* sub = area_->addSubWindow(w, Qt::FramelessWindowHint);
    sub->hide();
    if (!DisponiPerNome(nome, w, MisuraTwips()))
        sub->show();
    sub->raise();
    area_->setActiveSubWindow(sub);

    try {
        w->Pagina();
    } catch (...) {
        Messaggio(QStringLiteral("La finestra non è stata riempita completamente:\n") +
                      TestoEccezione(std::current_exception()),
                  QMessageBox::Warning, this);
    }
    return w;
}

void Mainform::DopoCaricamento()
{
    finestraCorrente_.clear();
    ScaricaFinestre();
    AbilitaComandi(true);
    ScaricaFinestre();
    MostraTitolo();
    Timer1_Timer();
}

// ---------------------------------------------------------------------------
// Wait and information windows

void Mainform::MostraAttesa()
{
    if (!attesa_)
        attesa_ = new frmAttesa;
    setEnabled(false);
    attesa_->Centra();
    attesa_->show();
    TieniDavanti(attesa_, this);
    attesa_->raise();
    attesa_->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Mainform::NascondiAttesa()
{
    if (attesa_) {
        delete attesa_.data();
        if (!info_) {
            setEnabled(true);
            AttivaCorrente();
        }
    }
}

void Mainform::AttivaCorrente()
{
    // A disabled frame's area activates nothing: the window opened while the
    // wait window was up is made the active one once the frame answers again,
    // before a stale activation can choose another.
    Riordino r(riordino_);
    QWidget* w = FinestraAperta(finestraCorrente_);
    if (auto* sub = w ? qobject_cast<QMdiSubWindow*>(w->parentWidget()) : nullptr) {
        sub->raise();
        area_->setActiveSubWindow(sub);
    }
}

void Mainform::ConAttesa(const std::function<void()>& f)
{
    Attesa a(this);
    f();
}

bool Mainform::AttesaVisibile() const
{
    return attesa_ && attesa_->isVisible();
}

void Mainform::MostraInfo()
{
    if (info_) {
        info_->raise();
        info_->activateWindow();
        return;
    }
    info_ = new frmInfo;
    info_->MostraArchivio(PercorsoArchivio());
    connect(info_, &frmInfo::Chiuso, this, [this] {
        if (!attesa_)
            setEnabled(true);
    });
    info_->Centra(frameGeometry());
    setEnabled(false);
    info_->show();
    TieniDavanti(info_, this);
    info_->raise();
    info_->activateWindow();
}

// ---------------------------------------------------------------------------
// Commands

void Mainform::Esegui(const QString& comando, const std::function<void()>& f)
{
    try {
        if (FinestraFiglia* c = FinestraFigliaCorrente())
            c->ConfermaModifiche();
        f();
    } catch (const ComandoInterrotto&) {
        NascondiAttesa();
    } catch (...) {
        const QString testo = TestoEccezione(std::current_exception());
        NascondiAttesa();
        QString nome = comando;
        nome.remove(QLatin1Char('&'));
        Messaggio(QStringLiteral("Il comando \u00ab%1\u00bb non è stato completato:\n%2").arg(nome, testo),
                  QMessageBox::Warning, this);
    }
}

void Mainform::EseguiComando(const QString& chiave)
{
    if (const Comando* c = ComandoDi(chiave))
        Esegui(QString::fromUtf8(c->testo), [this, c] { c->DaBarra()(*this); });
}

void Mainform::ComandoFiglia(QObject* mittente, const QString& chiave)
{
    // The current-account input window's own "input" button is itself.
    if (chiave == QLatin1String("input") && mittente &&
        mittente->objectName() == QLatin1String("frmBox"))
        return;
    EseguiComando(chiave);
}

void Mainform::ApriConAttesa(const QString& nome)
{
    ConAttesa([this, &nome] { ApriFinestra(nome); });
}

bool Mainform::ChiediSalvataggio()
{
    return ProseguiSenzaPerdereModifiche(ConteggioModificato(), conteggio_.Nome(), [this] { SalvaConteggio(); },
                                         this);
}

void Mainform::EsciSenzaSalvare()
{
    esciSenzaSalvare_ = true;
    close();
}

// ---------------------------------------------------------------------------
// Commands carried out by other parts of the program; a failure is reported by
// throwing.

void Mainform::NuovoConteggio()
{
    auto* d = new frmNuovoPiano(this, PercorsoArchivio(),
                                [this](const QString& nome) { CaricaConteggio(nome); });
    d->show();
}

void Mainform::ApriConteggio()
{
    auto* d = new frmCaricaFile(
        this, PercorsoArchivio(), [this](const QString& nome) { CaricaConteggio(nome); }, conteggio_.File());
    d->show();
}

void Mainform::SalvaConteggio()
{
    SalvaOppureConNome(conteggio_, PercorsoArchivio(), this);
    statusBar()->showMessage(QStringLiteral("Conteggio \u00ab%1\u00bb salvato").arg(conteggio_.Nome()), 4000);
}

void Mainform::ApriManuale()
{
    const QString pdf = cartellaDati_ + QStringLiteral("/help/manuale.pdf");
    if (!QFileInfo(pdf).isFile())
        throw std::runtime_error(("Il manuale non è stato trovato:\n" +
                                  QDir::toNativeSeparators(pdf)).toStdString());
    ApriConDesktop(pdf, QStringLiteral("application/pdf"), QStringLiteral("il manuale"));
}

void Mainform::StampaTabella(const QString& finestra)
{
    Rapporto r;
    if (RapportoFinestra(finestra, FinestraAperta(finestra), r))
        StampaRapporto(r, this);
}

void Mainform::CopiaTabella(const QString& finestra)
{
    QString testo;
    if (TestoCopiaFinestra(finestra, FinestraAperta(finestra), testo))
        CopiaTabellaCorrente(testo);
}

void Mainform::ImpostaStampante()
{
    SelezionaStampante(this);
}

void Mainform::CaricaEsempio()
{
    QDir().mkpath(PercorsoArchivio());
    const QString nome = QStringLiteral("Esempio");
    if (!QFileInfo::exists(PercorsoConteggio(PercorsoArchivio(), nome))) {
        Messaggio(QStringLiteral("Il conteggio di esempio \u00abEsempio\u00bb non si trova "
                                 "nell'archivio:\n%1\nIl programma parte con un documento vuoto.")
                      .arg(QDir::toNativeSeparators(PercorsoArchivio())),
                  QMessageBox::Information, this);
        return;
    }
    CaricaConteggio(nome);
}

void Mainform::RilasciaDatabase()
{
    conteggio_.Chiudi();
}

bool Mainform::ConteggioModificato() const
{
    return conteggio_.Modificato();
}

bool Mainform::CaricaConteggio(const QString& nome)
{
    return CaricaDa(PercorsoArchivio(), nome);
}

bool Mainform::ApriFile(const QString& percorso)
{
    FileConteggio f;
    try {
        f = DividiPercorso(percorso);
    } catch (const std::exception& e) {
        // The work area is not left empty: the title window comes back.
        MostraTitolo();
        Messaggio(QString::fromUtf8(e.what()), QMessageBox::Warning, this);
        return false;
    }
    return CaricaDa(f.cartella, f.nome);
}

bool Mainform::CaricaDa(const QString& cartella, const QString& nome)
{
    finestraCorrente_.clear();
    ScaricaFinestre();
    try {
        if (!conteggio_.Apri(cartella, nome, this))
            throw ComandoInterrotto();
    } catch (const ComandoInterrotto&) {
        MostraTitolo();
        return false;
    } catch (const std::exception& e) {
        // The work area is not left empty: the title window comes back.
        MostraTitolo();
        Messaggio(QString::fromUtf8(e.what()), QMessageBox::Warning, this);
        return false;
    }
    DopoCaricamento();
    return true;
}
