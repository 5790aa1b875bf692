#include "DialogoEsitoImportazione.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString T(const std::string& s)
{
    return QString::fromStdString(s);
}

QString Data(const std::optional<std::chrono::sys_days>& d)
{
    return d ? T(TestoData(*d)) : QString();
}

QString Saldo(const std::optional<SaldoDichiarato>& s)
{
    return s ? QStringLiteral("%1 al %2").arg(T(TestoCentesimi(s->saldo)), T(TestoData(s->data)))
             : QStringLiteral("non dichiarato");
}

QString Conto(const DatiConto& c)
{
    if (!c.iban.empty())
        return T(c.iban);
    if (!c.numero.empty())
        return QStringLiteral("ABI %1 CAB %2 n. %3").arg(T(c.abi), T(c.cab), T(c.numero));
    return T(c.intestatario);
}

QString Formato(const EsitoFileEstratto& f)
{
    const QString nome = NomeFormato(f.formato);
    return f.profilo.isEmpty() ? nome : QStringLiteral("%1, profilo \u00ab%2\u00bb").arg(nome, f.profilo);
}

// "1 estratto", "3 estratti".
QString Quanti(qsizetype n, const char* uno, const char* molti)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? uno : molti));
}

enum Colonna { File, Formato_, Esito, Conto_, Dal, Al, Iniziale, Finale, Letti, Nuovi, Presenti, Colonne };

} // namespace

DialogoEsitoImportazione::DialogoEsitoImportazione(const EsitoImportazione& esito, bool applicabile,
                                                   QWidget* genitore)
    : QDialog(genitore)
{
    setObjectName(QStringLiteral("frmEsitoImportazione"));
    setWindowTitle(QStringLiteral("Importazione degli estratti conto"));
    auto* layout = new QVBoxLayout(this);

    const RiepilogoImportazione& r = esito.riepilogo;
    QString testo;
    if (r.fileAccettati == 0)
        testo = QStringLiteral("Nessun file può essere importato: il conteggio resta com'è.");
    else {
        testo = QStringLiteral("%1 da %2 file, dal %3 al %4: %5 da aggiungere, %6 nel conteggio (non "
                               "saranno aggiunti di nuovo).")
                    .arg(Quanti(r.estratti, "estratto", "estratti"))
                    .arg(r.fileAccettati)
                    .arg(Data(r.dal), Data(r.al))
                    .arg(Quanti(r.movimentiAggiunti, "movimento", "movimenti"))
                    .arg(r.duplicati == 1 ? QStringLiteral("1 già presente") : QStringLiteral("%1 già presenti").arg(r.duplicati));
        if (!applicabile)
            testo += QStringLiteral(" Non c'è nulla di nuovo da aggiungere.");
    }
    if (r.fileRifiutati > 0)
        testo += r.fileRifiutati == 1 ? QStringLiteral(" 1 file rifiutato: da questo non si aggiunge nulla.")
                                      : QStringLiteral(" %1 file rifiutati: da questi non si aggiunge nulla.")
                                            .arg(r.fileRifiutati);
    riepilogo_ = new QLabel(testo, this);
    riepilogo_->setObjectName(QStringLiteral("Riepilogo"));
    riepilogo_->setWordWrap(true);
    QFont grassetto = riepilogo_->font();
    grassetto.setBold(true);
    riepilogo_->setFont(grassetto);
    layout->addWidget(riepilogo_);

    estratti_ = new QTableWidget(0, Colonne, this);
    estratti_->setObjectName(QStringLiteral("Estratti"));
    estratti_->setHorizontalHeaderLabels({QStringLiteral("File"), QStringLiteral("Formato"), QStringLiteral("Esito"),
                                          QStringLiteral("Conto"), QStringLiteral("Dal"), QStringLiteral("Al"),
                                          QStringLiteral("Saldo iniziale"), QStringLiteral("Saldo finale"),
                                          QStringLiteral("Movimenti"), QStringLiteral("Nuovi"),
                                          QStringLiteral("Già presenti")});
    estratti_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    estratti_->setSelectionBehavior(QAbstractItemView::SelectRows);
    estratti_->verticalHeader()->hide();
    auto riga = [this](const QStringList& celle, bool rifiutato) {
        const int n = estratti_->rowCount();
        estratti_->insertRow(n);
        for (int c = 0; c < celle.size(); ++c) {
            auto* cella = new QTableWidgetItem(celle[c]);
            if (c >= Iniziale)
                cella->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (rifiutato)
                cella->setForeground(QColor(176, 0, 0));
            estratti_->setItem(n, c, cella);
        }
    };
    for (const EsitoFileEstratto& f : esito.file) {
        if (!f.accettato) {
            riga({f.nome, f.formato == FormatoEstratto::Sconosciuto ? QString() : Formato(f),
                  f.serveProfilo ? QStringLiteral("rifiutato: nessun profilo") : QStringLiteral("rifiutato")},
                 true);
            continue;
        }
        for (const RiepilogoEstratto& e : f.estratti)
            riga({f.nome, Formato(f),
                  e.saldiControllati ? QStringLiteral("saldi quadrati") : QStringLiteral("senza i due saldi"),
                  Conto(e.conto), Data(e.dal), Data(e.al), Saldo(e.iniziale), Saldo(e.finale),
                  QString::number(e.movimenti), QString::number(e.aggiunti), QString::number(e.duplicati)},
                 false);
    }
    estratti_->resizeColumnsToContents();
    estratti_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(estratti_, 2);

    QStringList righe = esito.avvisi;
    for (const EsitoFileEstratto& f : esito.file)
        if (!f.accettato) {
            righe << QStringLiteral("%1 rifiutato, non se ne aggiunge nulla:").arg(f.nome);
            for (const DifettoEstratto& d : f.difetti)
                righe << QStringLiteral("  ") + T(d.Messaggio());
        }
    auto* titoloAvvisi = new QLabel(righe.isEmpty() ? QStringLiteral("Nessun avviso.")
                                                    : QStringLiteral("Avvisi e file rifiutati:"),
                                    this);
    titoloAvvisi->setObjectName(QStringLiteral("TitoloAvvisi"));
    layout->addWidget(titoloAvvisi);
    avvisi_ = new QPlainTextEdit(righe.join(u'\n'), this);
    avvisi_->setObjectName(QStringLiteral("Avvisi"));
    avvisi_->setReadOnly(true);
    avvisi_->setVisible(!righe.isEmpty());
    layout->addWidget(avvisi_, 1);

    auto* pulsanti = new QDialogButtonBox(this);
    if (applicabile) {
        importa_ = pulsanti->addButton(QStringLiteral("Importa"), QDialogButtonBox::AcceptRole);
        importa_->setObjectName(QStringLiteral("Importa"));
        importa_->setDefault(true);
        pulsanti->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole)
            ->setObjectName(QStringLiteral("Annulla"));
    } else {
        pulsanti->addButton(QStringLiteral("Chiudi"), QDialogButtonBox::RejectRole)
            ->setObjectName(QStringLiteral("Chiudi"));
    }
    connect(pulsanti, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pulsanti, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(pulsanti);

    // Wide enough for every column of the statements, within the screen.
    int larghezza = estratti_->frameWidth() * 2 + 40;
    for (int c = 0; c < Colonne; ++c)
        larghezza += estratti_->columnWidth(c);
    const QScreen* schermo = genitore ? genitore->screen() : QGuiApplication::primaryScreen();
    const int massima = schermo ? schermo->availableGeometry().width() * 9 / 10 : 1200;
    resize(std::clamp(larghezza, 800, std::max(massima, 800)), 520);
}
