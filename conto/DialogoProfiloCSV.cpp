#include "DialogoProfiloCSV.h"

#include "ControlloEstratti.h"
#include "Messaggi.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Rows of the file shown in the preview.
constexpr int RigheAnteprima = 20;

QString T(const std::string& s)
{
    return QString::fromStdString(s);
}

QComboBox* Elenco(const char* nome, QWidget* genitore)
{
    auto* c = new QComboBox(genitore);
    c->setObjectName(QLatin1String(nome));
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c->setMinimumContentsLength(14);
    return c;
}

// The item whose data is `valore`, or the first.
void Scegli(QComboBox* c, const QVariant& valore)
{
    c->setCurrentIndex(std::max(0, c->findData(valore)));
}

int Colonna(const QComboBox* c)
{
    return c->currentData().isValid() ? c->currentData().toInt() : -1;
}

// What a row of the preview was read as.
QString Letta(const RigaCSV& r)
{
    if (!r.movimento)
        return r.difetto;
    const Movimento& m = *r.movimento;
    QString t = T(TestoData(m.dataContabile));
    if (m.dataValuta != m.dataContabile)
        t += QStringLiteral(" (valuta %1)").arg(T(TestoData(m.dataValuta)));
    t += QStringLiteral("  %1  %2").arg(T(TestoCentesimi(m.importo)), T(m.descrizione));
    if (r.saldo)
        t += QStringLiteral("  [saldo %1]").arg(T(TestoCentesimi(*r.saldo)));
    return t;
}

} // namespace

DialogoProfiloCSV::DialogoProfiloCSV(const QString& percorso, const ProfiloCSV& proposta,
                                     std::vector<ProfiloCSV> salvati, QWidget* genitore, bool correzione)
    : QDialog(genitore), percorso_(percorso), proposta_(proposta), salvati_(std::move(salvati))
{
    setObjectName(QStringLiteral("frmProfiloCSV"));
    setWindowTitle(QStringLiteral("Come leggere il file"));
    auto* layout = new QVBoxLayout(this);

    const QString nomeFile = QFileInfo(percorso).fileName();
    auto* spiegazione = new QLabel(
        correzione ? QStringLiteral("Il file \u00ab%1\u00bb letto con il profilo \u00ab%2\u00bb è stato rifiutato. "
                                    "Correggere le colonne: l'anteprima mostra come si leggono le prime righe. Il "
                                    "profilo corretto viene salvato e i file vengono letti di nuovo.")
                         .arg(nomeFile, proposta.nome)
                   : QStringLiteral("Il file \u00ab%1\u00bb non è in un formato noto né riconosciuto da un profilo "
                                    "salvato. Indicare le sue colonne: l'anteprima mostra come si leggono le prime "
                                    "righe. Il profilo viene salvato e riproposto per i file con la stessa "
                                    "intestazione.")
                         .arg(nomeFile),
        this);
    spiegazione->setObjectName(QStringLiteral("Spiegazione"));
    spiegazione->setWordWrap(true);
    layout->addWidget(spiegazione);

    auto* scelte = new QHBoxLayout;
    layout->addLayout(scelte);

    auto* file = new QGroupBox(QStringLiteral("File"), this);
    auto* formFile = new QFormLayout(file);
    parteDa_ = Elenco("ParteDa", file);
    parteDa_->addItem(QStringLiteral("Proposta per questo file"));
    for (const ProfiloCSV& p : salvati_)
        parteDa_->addItem(p.nome);
    parteDa_->setMinimumContentsLength(24);
    formFile->addRow(QStringLiteral("Parti da"), parteDa_);
    nome_ = new QLineEdit(file);
    nome_->setObjectName(QStringLiteral("Nome"));
    formFile->addRow(QStringLiteral("Nome del profilo"), nome_);
    separatore_ = Elenco("Separatore", file);
    separatore_->addItem(QStringLiteral("punto e virgola ;"), QChar(u';'));
    separatore_->addItem(QStringLiteral("virgola ,"), QChar(u','));
    separatore_->addItem(QStringLiteral("tabulazione"), QChar(u'\t'));
    separatore_->addItem(QStringLiteral("barra verticale |"), QChar(u'|'));
    formFile->addRow(QStringLiteral("Separatore dei campi"), separatore_);
    decimale_ = Elenco("Decimale", file);
    decimale_->addItem(QStringLiteral("virgola (1.234,56)"), QChar(u','));
    decimale_->addItem(QStringLiteral("punto (1,234.56)"), QChar(u'.'));
    formFile->addRow(QStringLiteral("Decimali"), decimale_);
    formatoData_ = Elenco("FormatoData", file);
    formatoData_->addItem(QStringLiteral("gg/mm/aaaa"), int(FormatoData::GGMMAAAA));
    formatoData_->addItem(QStringLiteral("gg/mm/aa"), int(FormatoData::GGMMAA));
    formatoData_->addItem(QStringLiteral("aaaa-mm-gg"), int(FormatoData::AAAAMMGG));
    formFile->addRow(QStringLiteral("Formato delle date"), formatoData_);
    righeIniziali_ = new QSpinBox(file);
    righeIniziali_->setObjectName(QStringLiteral("RigheIniziali"));
    righeIniziali_->setRange(0, 50);
    righeIniziali_->setToolTip(QStringLiteral("Righe prima del primo movimento; l'ultima è l'intestazione."));
    formFile->addRow(QStringLiteral("Righe da saltare all'inizio"), righeIniziali_);
    righeFinali_ = new QSpinBox(file);
    righeFinali_->setObjectName(QStringLiteral("RigheFinali"));
    righeFinali_->setRange(0, 50);
    righeFinali_->setToolTip(QStringLiteral("Righe dopo l'ultimo movimento: totali, saldo finale."));
    formFile->addRow(QStringLiteral("Righe da saltare alla fine"), righeFinali_);
    codifica_ = new QLabel(file);
    codifica_->setObjectName(QStringLiteral("Codifica"));
    formFile->addRow(QStringLiteral("Codifica"), codifica_);
    scelte->addWidget(file);

    auto* colonne = new QGroupBox(QStringLiteral("Colonne"), this);
    auto* formColonne = new QFormLayout(colonne);
    contabile_ = Elenco("ColonnaContabile", colonne);
    formColonne->addRow(QStringLiteral("Data contabile"), contabile_);
    valuta_ = Elenco("ColonnaValuta", colonne);
    formColonne->addRow(QStringLiteral("Data valuta"), valuta_);
    auto* importi = new QHBoxLayout;
    unico_ = new QRadioButton(QStringLiteral("Un importo con segno"), colonne);
    unico_->setObjectName(QStringLiteral("ImportoUnico"));
    separati_ = new QRadioButton(QStringLiteral("Dare e Avere separati"), colonne);
    separati_->setObjectName(QStringLiteral("DareAvere"));
    importi->addWidget(unico_);
    importi->addWidget(separati_);
    formColonne->addRow(QStringLiteral("Importi"), importi);
    importo_ = Elenco("ColonnaImporto", colonne);
    formColonne->addRow(QStringLiteral("Importo (avere +, dare \u2212)"), importo_);
    dare_ = Elenco("ColonnaDare", colonne);
    formColonne->addRow(QStringLiteral("Dare"), dare_);
    avere_ = Elenco("ColonnaAvere", colonne);
    formColonne->addRow(QStringLiteral("Avere"), avere_);
    descrizione_ = Elenco("ColonnaDescrizione", colonne);
    formColonne->addRow(QStringLiteral("Descrizione"), descrizione_);
    descrizione2_ = Elenco("ColonnaDescrizione2", colonne);
    formColonne->addRow(QStringLiteral("Altra descrizione"), descrizione2_);
    saldo_ = Elenco("ColonnaSaldo", colonne);
    formColonne->addRow(QStringLiteral("Saldo (facoltativo)"), saldo_);
    causale_ = Elenco("ColonnaCausale", colonne);
    formColonne->addRow(QStringLiteral("Causale CBI (facoltativa)"), causale_);
    scelte->addWidget(colonne, 1);

    tabella_ = new QTableWidget(this);
    tabella_->setObjectName(QStringLiteral("Anteprima"));
    tabella_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabella_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabella_->verticalHeader()->hide();
    tabella_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(tabella_, 1);

    esito_ = new QLabel(this);
    esito_->setObjectName(QStringLiteral("Esito"));
    esito_->setWordWrap(true);
    layout->addWidget(esito_);

    auto* pulsanti = new QDialogButtonBox(this);
    salva_ = pulsanti->addButton(QStringLiteral("Salva profilo e importa"), QDialogButtonBox::AcceptRole);
    salva_->setObjectName(QStringLiteral("Salva"));
    salva_->setDefault(true);
    QPushButton* salta = pulsanti->addButton(QStringLiteral("Salta questo file"), QDialogButtonBox::RejectRole);
    salta->setObjectName(QStringLiteral("Salta"));
    connect(pulsanti, &QDialogButtonBox::accepted, this, &DialogoProfiloCSV::accept);
    connect(pulsanti, &QDialogButtonBox::rejected, this, &DialogoProfiloCSV::reject);
    layout->addWidget(pulsanti);

    for (QComboBox* c : {separatore_, decimale_, formatoData_, contabile_, valuta_, importo_, dare_, avere_,
                         descrizione_, descrizione2_, saldo_, causale_})
        connect(c, &QComboBox::currentIndexChanged, this, &DialogoProfiloCSV::aggiorna);
    for (QSpinBox* s : {righeIniziali_, righeFinali_})
        connect(s, &QSpinBox::valueChanged, this, &DialogoProfiloCSV::aggiorna);
    connect(unico_, &QRadioButton::toggled, this, &DialogoProfiloCSV::aggiorna);
    connect(parteDa_, &QComboBox::activated, this, [this](int i) {
        mostra(i == 0 ? proposta_ : salvati_[static_cast<std::size_t>(i - 1)]);
    });

    mostra(proposta_);
    resize(1000, 680);
}

void DialogoProfiloCSV::mostra(const ProfiloCSV& p)
{
    caricamento_ = true;
    nome_->setText(p.nome);
    Scegli(separatore_, p.separatore);
    Scegli(decimale_, p.decimale);
    Scegli(formatoData_, int(p.formatoData));
    righeIniziali_->setValue(p.righeIniziali);
    righeFinali_->setValue(p.righeFinali);
    // The columns' lists follow the file as these choices read it.
    anteprima_ = AnteprimaFileCSV(percorso_, p, RigheAnteprima);
    int massima = std::max({p.colonnaContabile, p.colonnaValuta, p.colonnaImporto, p.colonnaDare, p.colonnaAvere,
                            p.colonnaSaldo, p.colonnaCausale});
    for (int c : p.colonneDescrizione)
        massima = std::max(massima, c);
    colonne(std::max(anteprima_.colonne, massima + 1));
    Scegli(contabile_, p.colonnaContabile);
    Scegli(valuta_, p.colonnaValuta);
    const bool separati = p.colonnaImporto < 0 && (p.colonnaDare >= 0 || p.colonnaAvere >= 0);
    (separati ? separati_ : unico_)->setChecked(true);
    Scegli(importo_, p.colonnaImporto);
    Scegli(dare_, p.colonnaDare);
    Scegli(avere_, p.colonnaAvere);
    Scegli(descrizione_, p.colonneDescrizione.value(0, -1));
    Scegli(descrizione2_, p.colonneDescrizione.value(1, -1));
    Scegli(saldo_, p.colonnaSaldo);
    Scegli(causale_, p.colonnaCausale);
    caricamento_ = false;
    aggiorna();
}

void DialogoProfiloCSV::colonne(int quante)
{
    struct Lista {
        QComboBox* c;
        bool facoltativa;
    };
    const Lista liste[] = {{contabile_, false}, {valuta_, true},       {importo_, true}, {dare_, true},
                           {avere_, true},      {descrizione_, true}, {descrizione2_, true},
                           {saldo_, true},      {causale_, true}};
    for (const Lista& l : liste) {
        const QSignalBlocker blocco(l.c);
        const QVariant scelta = l.c->currentData();
        l.c->clear();
        if (l.facoltativa)
            l.c->addItem(l.c == valuta_ ? QStringLiteral("(nessuna: la data contabile)") : QStringLiteral("(nessuna)"),
                         -1);
        for (int i = 0; i < quante; ++i) {
            const QString nome = anteprima_.intestazione.value(i).trimmed();
            l.c->addItem(nome.isEmpty() ? QStringLiteral("colonna %1").arg(i + 1)
                                        : QStringLiteral("%1 \u2013 %2").arg(i + 1).arg(nome),
                         i);
        }
        Scegli(l.c, scelta.isValid() ? scelta : QVariant(-1));
    }
}

ProfiloCSV DialogoProfiloCSV::Profilo() const
{
    ProfiloCSV p;
    p.nome = nome_->text().trimmed();
    p.separatore = separatore_->currentData().toChar();
    p.decimale = decimale_->currentData().toChar();
    p.formatoData = static_cast<FormatoData>(formatoData_->currentData().toInt());
    p.righeIniziali = righeIniziali_->value();
    p.righeFinali = righeFinali_->value();
    p.colonnaContabile = Colonna(contabile_);
    p.colonnaValuta = Colonna(valuta_);
    if (unico_->isChecked()) {
        p.colonnaImporto = Colonna(importo_);
    } else {
        p.colonnaDare = Colonna(dare_);
        p.colonnaAvere = Colonna(avere_);
    }
    for (const QComboBox* c : {descrizione_, descrizione2_})
        if (const int i = Colonna(c); i >= 0 && !p.colonneDescrizione.contains(i))
            p.colonneDescrizione.push_back(i);
    p.colonnaSaldo = Colonna(saldo_);
    p.colonnaCausale = Colonna(causale_);
    if (p.righeIniziali > 0)
        p.intestazione = PrimeRighe(percorso_, p.righeIniziali).value(p.righeIniziali - 1);
    return p;
}

void DialogoProfiloCSV::aggiorna()
{
    if (caricamento_)
        return;
    importo_->setEnabled(unico_->isChecked());
    dare_->setEnabled(!unico_->isChecked());
    avere_->setEnabled(!unico_->isChecked());

    ProfiloCSV p = Profilo();
    anteprima_ = AnteprimaFileCSV(percorso_, p, RigheAnteprima);
    if (anteprima_.colonne != contabile_->count()) {
        // The separator or the header changed the columns: the lists follow,
        // each keeping its column where the file still has it.
        colonne(std::max(anteprima_.colonne, 1));
        p = Profilo();
        anteprima_ = AnteprimaFileCSV(percorso_, p, RigheAnteprima);
    }
    codifica_->setText(anteprima_.errore.isEmpty() ? (anteprima_.utf8 ? QStringLiteral("UTF-8")
                                                                       : QStringLiteral("Windows-1252"))
                                                   : QString());

    const int campi = anteprima_.colonne;
    tabella_->clear();
    tabella_->setColumnCount(campi + 2);
    tabella_->setRowCount(static_cast<int>(anteprima_.righe.size()));
    QStringList intestazioni{QStringLiteral("Riga")};
    for (int i = 0; i < campi; ++i) {
        const QString nome = anteprima_.intestazione.value(i).trimmed();
        intestazioni << (nome.isEmpty() ? QString::number(i + 1) : QStringLiteral("%1 %2").arg(i + 1).arg(nome));
    }
    intestazioni << QStringLiteral("Letta come");
    tabella_->setHorizontalHeaderLabels(intestazioni);
    int buone = 0, saltate = 0;
    for (int r = 0; r < static_cast<int>(anteprima_.righe.size()); ++r) {
        const RigaAnteprima& riga = anteprima_.righe[static_cast<std::size_t>(r)];
        tabella_->setItem(r, 0, new QTableWidgetItem(QString::number(riga.riga)));
        for (int i = 0; i < campi; ++i)
            tabella_->setItem(r, i + 1, new QTableWidgetItem(riga.campi.value(i)));
        auto* letta = new QTableWidgetItem(riga.finale ? QStringLiteral("saltata: riga finale") : Letta(riga.letta));
        if (riga.finale) {
            letta->setForeground(QColor(110, 110, 110));
            ++saltate;
        } else if (!riga.letta.movimento) {
            letta->setForeground(QColor(176, 0, 0));
        } else {
            ++buone;
        }
        tabella_->setItem(r, campi + 1, letta);
    }
    tabella_->resizeColumnsToContents();
    for (int i = 1; i <= campi; ++i)
        tabella_->setColumnWidth(i, std::min(tabella_->columnWidth(i), 220));

    const QString difetto = p.Difetto();
    const int difettose = static_cast<int>(anteprima_.righe.size()) - buone - saltate;
    QString testo;
    if (!anteprima_.errore.isEmpty())
        testo = anteprima_.errore;
    else if (!difetto.isEmpty())
        testo = difetto;
    else if (anteprima_.righe.size() == static_cast<std::size_t>(saltate))
        testo = QStringLiteral("Con queste scelte il file non ha righe di movimenti.");
    else {
        testo = QStringLiteral("Righe mostrate: %1 lette, %2 con difetti")
                    .arg(buone)
                    .arg(difettose);
        if (saltate > 0)
            testo += QStringLiteral("; righe finali saltate: %1").arg(saltate);
        testo += u'.';
    }
    esito_->setText(testo);
    esito_->setStyleSheet(difettose > 0 || !difetto.isEmpty() ? QStringLiteral("color: #b00000;") : QString());
}

void DialogoProfiloCSV::accept()
{
    const ProfiloCSV p = Profilo();
    if (const QString difetto = p.Difetto(); !difetto.isEmpty()) {
        Messaggio(difetto, QMessageBox::Warning, this);
        return;
    }
    std::vector<RigaAnteprima> movimenti;
    for (const RigaAnteprima& r : anteprima_.righe)
        if (!r.finale)
            movimenti.push_back(r);
    const auto prima = std::find_if(movimenti.begin(), movimenti.end(),
                                    [](const RigaAnteprima& r) { return !r.letta.movimento; });
    if (movimenti.empty() || prima == movimenti.begin()) {
        Messaggio(movimenti.empty()
                      ? QStringLiteral("Con queste scelte il file non ha righe di movimenti: controllare le righe "
                                       "da saltare e il separatore.")
                      : QStringLiteral("Con queste scelte la prima riga del file (riga %1) non si legge: %2")
                            .arg(prima->riga)
                            .arg(prima->letta.difetto),
                  QMessageBox::Warning, this);
        return;
    }
    if (prima != movimenti.end() &&
        !Domanda(QStringLiteral("La riga %1 non si legge con queste scelte: %2\nUn file con righe che non si "
                                "leggono viene rifiutato. Salvare comunque il profilo?")
                     .arg(prima->riga)
                     .arg(prima->letta.difetto),
                 this))
        return;
    const auto stesso = std::find_if(salvati_.begin(), salvati_.end(), [&p](const ProfiloCSV& s) {
        return s.nome == p.nome;
    });
    if (stesso != salvati_.end() &&
        !Domanda(QStringLiteral("Esiste già un profilo \u00ab%1\u00bb. Sostituirlo con questo?").arg(stesso->nome),
                 this))
        return;
    QDialog::accept();
}
