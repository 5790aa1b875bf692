#include "LetturaFinestre.h"

#include "Griglia.h"
#include "frmCalcoli.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QBrush>
#include <QColor>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {
LettoreGriglia lettoreGriglia;

QString indice(const QString& nome, int i) { return nome + QLatin1Char('(') + QString::number(i) + QLatin1Char(')'); }
} // namespace

QString TestoData(const QDate& data)
{
    return data.isValid() ? data.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QString TestoControllo(const QWidget* finestra, const QString& nome)
{
    if (!finestra)
        return {};
    const QObject* o = finestra->findChild<QObject*>(nome);
    if (!o)
        return {};
    if (auto* e = qobject_cast<const QDateTimeEdit*>(o))
        return TestoData(e->date());
    if (auto* e = qobject_cast<const QLineEdit*>(o))
        return e->text();
    if (auto* c = qobject_cast<const QComboBox*>(o))
        return c->currentText();
    if (auto* l = qobject_cast<const QLabel*>(o))
        return l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(o))
        return b->text();
    if (auto* t = qobject_cast<const QPlainTextEdit*>(o))
        return t->toPlainText();
    if (auto* t = qobject_cast<const QTextEdit*>(o))
        return t->toPlainText();
    const QVariant v = o->property("date");
    if (v.typeId() == QMetaType::QDate)
        return TestoData(v.toDate());
    return o->property("text").toString();
}

DatiBreve LeggiBreve(const QWidget* f)
{
    DatiBreve d;
    d.descrizione = TestoControllo(f, QStringLiteral("XPText2"));
    d.finanziato = TestoControllo(f, indice(QStringLiteral("XPText1"), 0));
    d.oneri = TestoControllo(f, indice(QStringLiteral("XPText1"), 1));
    d.restituito = TestoControllo(f, indice(QStringLiteral("XPText1"), 2));
    d.dataErogazione = TestoControllo(f, QStringLiteral("DTPicker1"));
    d.dataRestituzione = TestoControllo(f, QStringLiteral("DTPicker2"));
    d.tegPeriodo = TestoControllo(f, indice(QStringLiteral("Label1"), 6));
    d.tegAnnuo = TestoControllo(f, indice(QStringLiteral("Label1"), 8));
    return d;
}

DatiMutuo LeggiMutuo(const QWidget* f)
{
    DatiMutuo d;
    d.descrizione = TestoControllo(f, QStringLiteral("XPText2"));
    d.importo = TestoControllo(f, indice(QStringLiteral("XPText1"), 0));
    d.oneri = TestoControllo(f, indice(QStringLiteral("XPText1"), 1));
    d.rata = TestoControllo(f, indice(QStringLiteral("XPText1"), 2));
    d.periodicita = TestoControllo(f, QStringLiteral("Combo1"));
    d.numeroRate = TestoControllo(f, QStringLiteral("Combo2"));
    d.etichettaPeriodo = TestoControllo(f, indice(QStringLiteral("Label1"), 1));
    d.tegPeriodo = TestoControllo(f, indice(QStringLiteral("Label1"), 6));
    d.etichettaAnnuo = TestoControllo(f, indice(QStringLiteral("Label1"), 7));
    d.tegAnnuo = TestoControllo(f, indice(QStringLiteral("Label1"), 8));
    return d;
}

DatiOPE LeggiOPE(const QWidget* f, const std::array<double, 10>& importi)
{
    DatiOPE d;
    d.importi = importi;
    for (int k = 0; k < 10; ++k) {
        d.date[k] = TestoControllo(f, indice(QStringLiteral("Combo1"), k));
        d.testiImporto[k] = TestoControllo(f, indice(QStringLiteral("XPText1"), k));
        d.segni[k] = TestoControllo(f, indice(QStringLiteral("Combo2"), k));
    }
    // The caption beside the rate is fixed; a window that does not name it
    // still prints it.
    const QString etichetta = TestoControllo(f, indice(QStringLiteral("Label1"), 7));
    if (!etichetta.isEmpty())
        d.etichettaTEG = etichetta;
    d.teg = TestoControllo(f, indice(QStringLiteral("Label1"), 8));
    return d;
}

DatiInput LeggiInput(const QWidget* f)
{
    static const char* const campi[7] = {"XPText1", "XPText2", "XPText3", "XPText6",
                                         "XPText4", "XPText5", "XPText7"};
    DatiInput d;
    d.anno = TestoControllo(f, QStringLiteral("Combo1"));
    for (int k = 0; k < 7; ++k)
        for (int q = 0; q < 4; ++q)
            d.campi[k][q] = TestoControllo(f, indice(QString::fromLatin1(campi[k]), q));
    return d;
}

void ImpostaLettoreGriglia(LettoreGriglia lettore) { lettoreGriglia = std::move(lettore); }

bool LeggiGriglia(const QWidget* finestra, Griglia& griglia)
{
    if (!finestra)
        return false;
    if (lettoreGriglia) {
        if (const Griglia* g = lettoreGriglia(finestra)) {
            griglia = *g;
            return true;
        }
    }
    if (auto* risultati = qobject_cast<const FinestraRisultati*>(finestra)) {
        griglia = risultati->Tabella();
        return true;
    }
    auto* vista = finestra->findChild<const QAbstractItemView*>(QStringLiteral("Grid"));
    if (!vista || !vista->model())
        return false;
    const QAbstractItemModel* m = vista->model();
    const QModelIndex radice = vista->rootIndex();
    griglia.Dimensiona(m->rowCount(radice), m->columnCount(radice));
    for (int r = 0; r < griglia.Righe(); ++r)
        for (int c = 0; c < griglia.Colonne(); ++c) {
            const QModelIndex i = m->index(r, c, radice);
            CellaGriglia& cella = griglia.Cella(r, c);
            cella.testo = m->data(i, Qt::DisplayRole).toString();
            const QVariant font = m->data(i, Qt::FontRole);
            cella.grassetto = font.isValid() && font.value<QFont>().bold();
            const QVariant sfondo = m->data(i, Qt::BackgroundRole);
            cella.grigia = sfondo.isValid() && sfondo.value<QBrush>().color() == QColor(224, 224, 224);
        }
    return true;
}

QWidget* FinestraDiNome(QWidget* finestra, const QString& nome)
{
    if (!finestra)
        return nullptr;
    if (finestra->objectName() == nome)
        return finestra;
    return finestra->findChild<QWidget*>(nome);
}
