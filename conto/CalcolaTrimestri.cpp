#include "CalcolaTrimestri.h"

#include "Archivio.h"
#include "ConteggioAperto.h"
#include "Messaggi.h"
#include "PaginaScalare.h"
#include "Pagine.h"
#include "TrimestriDaMovimenti.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

dlgCalcolaTrimestri::dlgCalcolaTrimestri(const std::vector<AnnoCoperto>& anni, int proposto, const QString& nome,
                                         QWidget* genitore)
    : QDialog(genitore), coperti_(anni), nome_(nome)
{
    setObjectName(QStringLiteral("dlgCalcolaTrimestri"));
    setWindowTitle(QStringLiteral("Calcola trimestri dai movimenti"));
    auto* layout = new QVBoxLayout(this);
    auto* spiega = new QLabel(QStringLiteral("I trimestri del conto corrente sono riempiti con le cifre dello scalare "
                                             "dei movimenti. Scegliere l'anno di riferimento del conteggio:"),
                              this);
    spiega->setWordWrap(true);
    layout->addWidget(spiega);

    anni_ = new QTableWidget(static_cast<int>(anni.size()), 5, this);
    anni_->setObjectName(QStringLiteral("Anni"));
    anni_->setHorizontalHeaderLabels({"Anno", "I trim.", "II trim.", "III trim.", "IV trim."});
    anni_->verticalHeader()->setVisible(false);
    anni_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    anni_->setSelectionBehavior(QAbstractItemView::SelectRows);
    anni_->setSelectionMode(QAbstractItemView::SingleSelection);
    int scelta = static_cast<int>(anni.size()) - 1;
    for (int r = 0; r < static_cast<int>(anni.size()); ++r) {
        const AnnoCoperto& a = anni[static_cast<std::size_t>(r)];
        anni_->setItem(r, 0, new QTableWidgetItem(QString::number(a.anno)));
        for (int t = 0; t < 4; ++t) {
            auto* cella = new QTableWidgetItem(TestoCopertura(a.trimestri[static_cast<std::size_t>(t)]));
            cella->setTextAlignment(Qt::AlignCenter);
            if (a.trimestri[static_cast<std::size_t>(t)] != Copertura::Completa)
                cella->setForeground(QColor(170, 0, 0));
            anni_->setItem(r, t + 1, cella);
        }
        if (a.anno == proposto)
            scelta = r;
    }
    anni_->resizeColumnsToContents();
    anni_->horizontalHeader()->setStretchLastSection(true);
    anni_->setMinimumWidth(anni_->horizontalHeader()->length() + 2 * anni_->frameWidth() + 24);
    // Up to a dozen years in sight without scrolling.
    anni_->setMinimumHeight(anni_->horizontalHeader()->height() + 2 * anni_->frameWidth() +
                            anni_->verticalHeader()->defaultSectionSize() * std::min(12, anni_->rowCount()) + 2);
    anni_->setCurrentCell(std::max(0, scelta), 0);
    layout->addWidget(anni_);

    altri_ = new QCheckBox(this);
    altri_->setObjectName(QStringLiteral("AltriAnni"));
    altri_->setText(QStringLiteral("Crea nell'archivio un conteggio per ciascuno degli altri anni"));
    altri_->setVisible(anni.size() > 1);
    layout->addWidget(altri_);
    nota_ = new QLabel(this);
    nota_->setObjectName(QStringLiteral("Nota"));
    nota_->setWordWrap(true);
    layout->addWidget(nota_);

    auto* pulsanti = new QDialogButtonBox(this);
    QPushButton* calcola = pulsanti->addButton(QStringLiteral("Calcola"), QDialogButtonBox::AcceptRole);
    calcola->setObjectName(QStringLiteral("Calcola"));
    calcola->setDefault(true);
    pulsanti->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("Annulla"));
    connect(pulsanti, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pulsanti, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(pulsanti);

    connect(anni_, &QTableWidget::currentCellChanged, this, &dlgCalcolaTrimestri::aggiornaNota);
    connect(altri_, &QCheckBox::toggled, this, &dlgCalcolaTrimestri::aggiornaNota);
    aggiornaNota();
}

int dlgCalcolaTrimestri::AnnoScelto() const
{
    const int r = anni_->currentRow();
    return r >= 0 && r < static_cast<int>(coperti_.size()) ? coperti_[static_cast<std::size_t>(r)].anno : 0;
}

bool dlgCalcolaTrimestri::PerOgniAnno() const { return coperti_.size() > 1 && altri_->isChecked(); }

void dlgCalcolaTrimestri::aggiornaNota()
{
    const int anno = AnnoScelto();
    QString t = QStringLiteral("Il conteggio \u00ab%1\u00bb prende l'anno %2; le cifre dei suoi trimestri sono "
                               "sostituite da quelle dei movimenti.")
                    .arg(nome_)
                    .arg(anno);
    if (PerOgniAnno()) {
        QStringList nomi;
        for (const AnnoCoperto& a : coperti_)
            if (a.anno != anno)
                nomi << QString::fromStdString(NomePerAnno(nome_.toStdString(), a.anno));
        t += QStringLiteral(" Nell'archivio si aggiungono %1, con gli stessi movimenti; quelli già presenti restano "
                            "come sono.")
                 .arg(nomi.size() > 3 ? QStringLiteral("\u00ab%1\u00bb \u2026 \u00ab%2\u00bb (%3 conteggi)")
                                            .arg(nomi.front(), nomi.back())
                                            .arg(nomi.size())
                                      : QStringLiteral("\u00ab") + nomi.join(QStringLiteral("\u00bb, \u00ab")) +
                                            QStringLiteral("\u00bb"));
    }
    nota_->setText(t);
}

namespace {

// "I 2014 (parziale), IV 2023 (senza chiusura)": the quarters of these years
// not covered for the whole of them, but covered in part.
QStringList Parziali(const std::vector<AnnoCoperto>& coperti, const std::vector<int>& anni)
{
    QStringList t;
    for (const AnnoCoperto& a : coperti)
        if (std::find(anni.begin(), anni.end(), a.anno) != anni.end())
            for (int q = 0; q < 4; ++q) {
                const Copertura c = a.trimestri[static_cast<std::size_t>(q)];
                if (c == Copertura::Parziale || c == Copertura::SenzaChiusura)
                    t << QStringLiteral("%1 %2 (%3)").arg(NumeroRomano(q + 1)).arg(a.anno).arg(TestoCopertura(c));
            }
    return t;
}

} // namespace

bool CalcolaTrimestriDaMovimenti(ConteggioAperto& conteggio, const QString& archivio, QWidget* genitore)
{
    Documento& d = conteggio.Doc();
    const ContoMovimenti& conto = d.ContoCorrente();
    if (conto.movimenti.empty()) {
        Messaggio(QStringLiteral("Il conteggio non contiene movimenti: importare un estratto conto (menu File) o "
                                 "inserire i movimenti nella finestra Movimenti."),
                  QMessageBox::Information, genitore);
        return false;
    }
    const Scalare scalare = CalcolaScalare(conto.movimenti, conto.saldi, conto.condizioni);
    const std::vector<AnnoCoperto> coperti = AnniDaCalcolare(conto);
    if (coperti.empty()) {
        Messaggio(QStringLiteral("I movimenti non coprono alcun giorno: non c'è un trimestre da calcolare."),
                  QMessageBox::Information, genitore);
        return false;
    }
    const QString nome = conteggio.Nome().isEmpty() ? QStringLiteral("Conteggio") : conteggio.Nome();
    const auto coperto = [&](int anno) {
        return std::any_of(coperti.begin(), coperti.end(), [anno](const AnnoCoperto& a) { return a.anno == anno; });
    };
    dlgCalcolaTrimestri dialogo(coperti, coperto(d.AnnoRiferimento()) ? d.AnnoRiferimento() : coperti.back().anno,
                                nome, genitore);
    if (dialogo.exec() != QDialog::Accepted)
        return false;
    const int anno = dialogo.AnnoScelto();
    std::vector<int> anni{anno};
    if (dialogo.PerOgniAnno())
        for (const AnnoCoperto& a : coperti)
            if (a.anno != anno)
                anni.push_back(a.anno);

    bool parziali = false;
    if (const QStringList p = Parziali(coperti, anni); !p.isEmpty()) {
        const auto r = DomandaConAnnulla(
            QStringLiteral("I movimenti coprono solo in parte i trimestri %1.\n"
                           "Riempire anche questi trimestri con le cifre dei movimenti?\n"
                           "S\u00ec: li riempie, segnandoli come coperti in parte. No: li lascia come sono.")
                .arg(p.join(QStringLiteral(", "))),
            genitore);
        if (r == QMessageBox::Cancel)
            return false;
        parziali = r == QMessageBox::Yes;
    }

    // The other years first, all or nothing: then the open calculation.
    QStringList creati, presenti;
    try {
        for (std::size_t k = 1; k < anni.size(); ++k) {
            const QString n = QString::fromStdString(NomePerAnno(nome.toStdString(), anni[k]));
            if (EsisteConteggio(archivio, n)) {
                presenti << n;
                continue;
            }
            Documento copia = d;
            copia.setNomeConteggio(n.toStdString());
            RiempiTrimestri(copia, scalare, anni[k], parziali);
            SalvaConteggioConNome(archivio, n, copia);
            creati << n;
        }
    } catch (...) {
        for (const QString& n : creati)
            RimuoviFileConteggio(archivio, n);
        throw;
    }
    RiempiTrimestri(d, scalare, anno, parziali);
    conteggio.SegnaModifica();

    QStringList riempiti, lasciati;
    for (int q = 0; q < 4; ++q) {
        const OrigineTrimestre& o = d.ContoCorrente().origini.trimestri[static_cast<std::size_t>(q)];
        (o.riempito ? riempiti : lasciati)
            << (o.riempito ? NumeroRomano(q + 1)
                           : QStringLiteral("%1 (%2)").arg(NumeroRomano(q + 1), TestoCopertura(o.copertura)));
    }
    QString t = riempiti.isEmpty()
                    ? QStringLiteral("Nessun trimestre del %1 è stato riempito dai movimenti.").arg(anno)
                    : QStringLiteral("Trimestri del %1 calcolati dai movimenti: %2.")
                          .arg(anno)
                          .arg(riempiti.join(QStringLiteral(", ")));
    if (!lasciati.isEmpty())
        t += QStringLiteral("\nLasciati come erano: %1.").arg(lasciati.join(QStringLiteral(", ")));
    if (!creati.isEmpty())
        t += QStringLiteral("\nConteggi creati nell'archivio: %1.").arg(creati.join(QStringLiteral(", ")));
    if (!presenti.isEmpty())
        t += QStringLiteral("\nGià presenti nell'archivio, lasciati come sono: %1.").arg(presenti.join(QStringLiteral(", ")));
    t += QStringLiteral("\nIl conteggio \u00ab%1\u00bb non è ancora salvato.").arg(nome);
    Messaggio(t, QMessageBox::Information, genitore);
    return true;
}
