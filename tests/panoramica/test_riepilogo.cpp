// The multi-year overview: three yearly calculations saved into an archive
// with a damaged file among them, read without touching the open one; its
// lines, totals and chart; the chart saved; the report, copy and export.
#include "ScritturaLimitata.h"
#include "Archivio.h"
#include "CaricaRiepilogo.h"
#include "ConteggioAperto.h"
#include "Dichiarazioni.h"
#include "Funzioni.h"
#include "Finestre.h"
#include "GraficoRiepilogo.h"
#include "Messaggi.h"
#include "PaginaSoglia.h"
#include "PassaggiVerifica.h"
#include "Relazione.h"
#include "RelazioneRiepilogo.h"
#include "RapportoRiepilogo.h"
#include "SoglieInUso.h"
#include "TabellaEsportazione.h"
#include "modCopia.h"
#include "modStampa.h"
#include "frmCalcoli.h"
#include "frmRiepilogo.h"

#include <QChart>
#include <QChartView>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QLegendMarker>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolTip>
#include <QTest>
#include <algorithm>

using namespace std::chrono;

namespace {

// A year of a current account; quarter `oltre` (0: none, -1: all) has
// interest far above any threshold of the years used here. 2011 has its second quarter
// split by the change of formula on 14/05/2011.
void SalvaAnno(ConteggioAperto& aperto, const QString& cartella, int anno, int oltre, bool conMutuo)
{
    Documento& d = aperto.Doc();
    d.InizializzaConteggio();
    d.setAnnoRiferimento(anno);
    for (int q = 1; q <= 4; ++q) {
        BOX& t = d.Trimestri(q);
        t.setNumeri(9000000);
        t.setInteressi(q == oltre || oltre < 0 ? 5000 + 100 * q : 2000);
        t.setCommissioni(500);
        t.setSpese(100);
        t.setAccordato(150000);
        t.setMassimoScoperto(140000);
    }
    if (conMutuo) {
        Mutuo& m = d.MutuoCorrente();
        m.setImporto(100000);
        m.setOneri(1500);
        m.setRata(1000);
        m.setNRate(120);
        m.setRateAnnuali(12);
        d.Usura().setDataStipula(sys_days{year{anno} / June / 1});
    }
    aperto.SalvaConNome(cartella, QStringLiteral("Anno%1").arg(anno));
}

QString pdftotext(const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The labels of the marks above the threshold that a laid-out chart shows,
// each marked "!" when it leaves the plot area or covers a label or a mark.
QStringList EtichetteControllate(QChart* grafico)
{
    auto* oltre = qobject_cast<QScatterSeries*>(grafico->series().last());
    std::vector<QRectF> occupati;
    for (const QPointF& p : oltre->points()) {
        const QPointF c = grafico->mapToPosition(p, oltre);
        const qreal l = oltre->markerSize();
        occupati.push_back(QRectF(c.x() - l / 2, c.y() - l / 2, l, l));
    }
    QStringList testi;
    for (QGraphicsItem* i : grafico->childItems())
        if (auto* t = dynamic_cast<QGraphicsSimpleTextItem*>(i); t && t->isVisible()) {
            const QRectF r = t->mapRectToParent(t->boundingRect());
            const bool male = !grafico->plotArea().contains(r) ||
                              std::any_of(occupati.begin(), occupati.end(), [&](const QRectF& o) { return o.intersects(r); });
            testi << (male ? QStringLiteral("!") : QString()) + t->text();
            occupati.push_back(r);
        }
    testi.sort();
    return testi;
}

} // namespace

class TestRiepilogo : public QObject {
    Q_OBJECT

    ConteggioAperto conteggio_;
    QTemporaryDir dir_;
    QString cartella_;

private slots:
    void initTestCase()
    {
        ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Ok; });
        cartella_ = dir_.path();
        SalvaAnno(conteggio_, cartella_, 2017, 0, false);
        SalvaAnno(conteggio_, cartella_, 2011, 0, false);
        SalvaAnno(conteggio_, cartella_, 2016, 3, true);
        QFile rotto(cartella_ + "/Anno2018.ccc");
        QVERIFY(rotto.open(QIODevice::WriteOnly) && rotto.write("non un conteggio") > 0);
        rotto.close();
        ImpostaCartellaSoglie({});
    }

    void righeTotaliEGrafico()
    {
        // The open calculation stays as it is, unsaved edits included.
        conteggio_.Doc().Trimestri(1).setInteressi(123.45);
        const QString aperto = conteggio_.File();
        const DatiPaginaRiepilogo d = CaricaRiepilogo(
            cartella_, {"Anno2016", "Anno2018", "Anno2011", "Anno2017"}, SoglieIncorporate());
        QCOMPARE(conteggio_.Doc().Trimestri(1).Interessi(), 123.45);
        QCOMPARE(conteggio_.Doc().NomeConteggio(), std::string("Anno2016"));
        QCOMPARE(conteggio_.File(), aperto);

        QCOMPARE(d.esclusi.size(), 1);
        QVERIFY(d.esclusi[0].contains("Anno2018"));
        QVERIFY(!d.sottotitolo.contains("Anno2018"));
        // 12 quarters, II 2011 on two lines, and the mortgage on its own.
        QCOMPARE(d.righe.size(), std::size_t(14));
        QCOMPARE(d.trimestriVerificati, 12);
        QCOMPARE(d.trimestriOltre, 1);
        for (std::size_t i = 1; i < d.righe.size(); ++i)
            QVERIFY(*d.righe[i - 1].inizio <= *d.righe[i].inizio);
        int oltre = 0;
        for (const RigaRiepilogo& r : d.righe) {
            QVERIFY2(!r.teg.isEmpty() && !r.soglia.isEmpty() && !r.margine.isEmpty(), qPrintable(r.operazione));
            QCOMPARE(r.tegAnalitico.isEmpty(), !r.trimestre);
            // 2011 and 2016 by the 2009 instructions; 2017 by them up to 31/03, then by the 2016 ones.
            if (r.trimestre)
                QCOMPARE(r.formula, QString::fromStdString(NomeFormula(FormulaInVigore(*r.inizio))));
            if (r.oltre) {
                ++oltre;
                QCOMPARE(r.conteggio, QStringLiteral("Anno2016"));
                QCOMPARE(r.periodo, QStringLiteral("01/07/2016 \u2013 30/09/2016"));
                QCOMPARE(r.esito, TestoOltreSoglia);
                QVERIFY(r.margine.startsWith('-'));
            }
        }
        QCOMPARE(oltre, 1);
        const RigaRiepilogo& mutuo = d.righe[7];
        QVERIFY2(!mutuo.trimestre && mutuo.operazione.startsWith("Mutuo"), qPrintable(mutuo.operazione));

        // The chart: a point per quarter line and rate, a mark on the line
        // above the threshold, labelled with its deciding rate.
        QCOMPARE(d.grafico.teg.size(), std::size_t(13));
        QCOMPARE(d.grafico.analitico.size(), std::size_t(13));
        QCOMPARE(d.grafico.soglia.size(), std::size_t(13));
        QCOMPARE(d.grafico.oltre.size(), std::size_t(1));
        for (const PuntoGrafico& p : d.grafico.oltre) {
            QCOMPARE(p.data, QDate(2016, 8, 15));
            QVERIFY(p.percento > 16 && p.etichetta.endsWith('%'));
        }
        std::unique_ptr<QChart> grafico(CreaGrafico(d));
        QStringList punti;
        for (QAbstractSeries* s : grafico->series())
            punti << s->name() + ":" + QString::number(static_cast<QXYSeries*>(s)->count());
        QCOMPARE(punti, QStringList({NomeSerieSoglia + ":13", NomeSerieTeg + ":13", NomeSerieAnalitico + ":13",
                                     NomeSerieOltre + ":1"}));
        QGraphicsScene scena;
        scena.addItem(grafico.get());
        ImpaginaGrafico(grafico.get(), QSizeF(1000, 600));
        QCOMPARE(EtichetteControllate(grafico.get()), QStringList({d.grafico.oltre[0].etichetta}));
        scena.removeItem(grafico.get());
        QCOMPARE(grafico->locale().language(), QLocale::Italian);

        // On paper the line above the threshold is bold; the export reads every page.
        const Rapporto r = RapportoRiepilogo(d);
        int grassetti = 0;
        for (int i = 2; i <= TabellaStampa::MaxRighe; ++i)
            grassetti += r.tabella.RigaGrassetto(i) && r.tabella.Testo(i, 1) == "Anno2016";
        QCOMPARE(grassetti, 1);
        QVERIFY(CopiaRiepilogo(d).contains("Escluso dal riepilogo"));
        // The spreadsheet gets the rates as numbers under the printed headings.
        const TabellaEsportazione x = TabellaDaRapporto(r);
        QCOMPARE(x.rigaIntestazione, 0);
        bool oltreComeNumero = false;
        for (const auto& riga : x.righe)
            for (const CellaEsportazione& c : riga)
                oltreComeNumero |= c.tipo == TipoCella::Tasso && c.grassetto && c.valore > 0.16;
        QVERIFY(oltreComeNumero);
    }

    void molteRighe()
    {
        // More lines than a report page, and than a report holds: the export
        // follows the pages, the copy keeps every line, the report counts
        // what it could not print.
        std::vector<ConteggioRiepilogo> conteggi;
        constexpr int quanti = TabellaStampa::MaxRighe / 4 + 50;
        for (int i = 0; i < quanti; ++i) {
            ConteggioRiepilogo c{QStringLiteral("C%1").arg(i), {}, {}, {}};
            for (int q = 0; q < 4; ++q) {
                RigaFormula f;
                f.formula = FormulaConto::Istruzioni2009;
                EsitoVerifica& e = f.esito;
                e.operazione = "Conto corrente, trimestre " + std::to_string(q + 1);
                e.formula = NomeFormula(f.formula);
                e.inizio = sys_days{year{1990 + i} / January / 1} + days{91 * q};
                e.fine = *e.inizio + days{90};
                e.tasso = 0.1;
                e.soglia = 0.15;
                e.margine = 0.05;
                e.stato = StatoVerifica::EntroSoglia;
                TrattoConto t;
                t.righe.push_back(f);
                EsitoTrimestreConto trimestre;
                trimestre.trimestre = q + 1;
                trimestre.operazione = e.operazione;
                trimestre.tratti.push_back(t);
                c.conto.push_back(trimestre);
            }
            conteggi.push_back(std::move(c));
        }
        const DatiPaginaRiepilogo d = PaginaRiepilogo(conteggi);
        QCOMPARE(d.trimestriVerificati, quanti * 4);
        QCOMPARE(CopiaRiepilogo(d).count('\n'), quanti * 4 + 3);
        const Rapporto r = RapportoRiepilogo(d);
        QVERIFY(r.NumeroPagine > 1);
        bool contate = false;
        for (int i = 1; i <= TabellaStampa::MaxRighe; ++i)
            contate |= r.tabella.Testo(i, 1).contains("righe non stampate");
        QVERIFY(contate);
        QVERIFY(TabellaDaRapporto(r).righe.size() > std::size_t(r.RighePerPagina));
    }

    // A mortgage the grid gives no rate for (2015, 100.000 in 120 instalments
    // of 500) and a quarter whose rate is the marker of no rate: the
    // overview, its chart, copy, report and CSV never show the marker.
    void nessunMarcatore()
    {
        Documento doc;
        doc.InizializzaConteggio();
        doc.setAnnoRiferimento(2015);
        doc.MutuoCorrente().setImporto(100000);
        doc.MutuoCorrente().setNRate(120);
        doc.MutuoCorrente().setRata(500);
        doc.Usura().setDataStipula(sys_days{2015y / June / 15});
        ConteggioRiepilogo c{QStringLiteral("Mutuo2015"), {}, VerificaConteggio(doc, SoglieIncorporate()), {}};
        RigaFormula f;
        f.formula = FormulaConto::Istruzioni2009;
        f.esito.operazione = "Conto corrente, trimestre I";
        f.esito.formula = NomeFormula(f.formula);
        f.esito.inizio = sys_days{2015y / January / 1};
        f.esito.fine = sys_days{2015y / March / 31};
        f.esito.tasso = DatiIncoerenti;
        f.esito.soglia = 0.16;
        f.esito.margine = 0.16 - DatiIncoerenti;
        f.esito.stato = StatoVerifica::EntroSoglia;
        TrattoConto t;
        t.righe.push_back(f);
        c.conto.push_back({1, f.esito.operazione, f.formula, {t}});
        const DatiPaginaRiepilogo d = PaginaRiepilogo({c});
        QCOMPARE(d.righe.size(), std::size_t(2));
        QVERIFY(d.grafico.teg.empty() && d.grafico.oltre.empty());
        QCOMPARE(d.trimestriVerificati, 0);
        const Rapporto r = RapportoRiepilogo(d);
        QString testi = CopiaRiepilogo(d) + QString::fromUtf8(TestoCSV(TabellaDaRapporto(r)));
        for (int i = 1; i <= TabellaStampa::MaxRighe; ++i)
            for (int k = 1; k <= TabellaStampa::MaxColonne; ++k)
                testi += r.tabella.Testo(i, k);
        QVERIFY2(!testi.contains("1.234.567") && !testi.contains("1234567") && !testi.contains("12345"),
                 qPrintable(testi));
        QCOMPARE(d.righe[0].esito, QStringLiteral("tasso non determinabile"));
    }

    void salvaGrafico_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::newRow("png") << "grafico.png";
        QTest::newRow("pdf") << "grafico.PDF";
        QTest::newRow("cartella mancante") << "manca/grafico.png";
        QTest::newRow("pdf su disco pieno") << "pieno-pdf/grafico.pdf";
        QTest::newRow("png su disco pieno") << "pieno-png/grafico.png";
    }
    void salvaGrafico()
    {
        QFETCH(QString, nome);
        const DatiPaginaRiepilogo d = CaricaRiepilogo(cartella_, {"Anno2016"}, SoglieIncorporate());
        const QString percorso = cartella_ + "/" + nome;
        if (nome.startsWith("manca")) {
            QVERIFY_THROWS_EXCEPTION(std::runtime_error, SalvaGrafico(d, percorso));
            QVERIFY(!QFile::exists(percorso));
            return;
        }
        if (nome.startsWith("pieno")) {
            // A write that fails partway leaves the old file and names the cause.
            QDir().mkpath(QFileInfo(percorso).path());
            QFile vecchio(percorso);
            QVERIFY(vecchio.open(QIODevice::WriteOnly) && vecchio.write("prima") == 5);
            vecchio.close();
            ScritturaLimitata limite(4);
            try {
                SalvaGrafico(d, percorso);
                QFAIL("nessun errore");
            } catch (const std::runtime_error& e) {
                QVERIFY2(QString::fromUtf8(e.what()).contains("supera la dimensione"), e.what());
            }
            QCOMPARE(QFileInfo(percorso).size(), 5);
            QCOMPARE(QDir(QFileInfo(percorso).path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
            return;
        }
        SalvaGrafico(d, percorso);
        QFile f(percorso);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray byte = f.readAll();
        if (nome.endsWith("png")) {
            const QImage immagine = QImage::fromData(byte, "PNG");
            QCOMPARE(immagine.size(), QSize(2953, 1772));
            QCOMPARE(immagine.dotsPerMeterX(), 11811);
        } else {
            QVERIFY(byte.startsWith("%PDF") && byte.size() > 2000);
            // A4 landscape: 842 x 595 points.
            const auto m = QRegularExpression("/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\]").match(byte);
            QVERIFY(m.hasMatch());
            QCOMPARE(std::lround(m.captured(1).toDouble()), 842);
            QCOMPARE(std::lround(m.captured(2).toDouble()), 595);
        }
    }

    // The report of the overview's set: cover naming each calculation, the
    // overview's table, the chart on its page, each calculation's steps in
    // order of year, every page numbered through the whole document.
    void relazioneInsieme()
    {
        frmRiepilogo w(conteggio_);
        w.setCartella(cartella_);
        w.Pagina();
        w.Mostra({"Anno2017", "Anno2018", "Anno2016", "Anno2011"});
        QCOMPARE(w.Documenti().size(), std::size_t(3));  // the damaged file is left out
        std::vector<Documento*> documenti;
        for (const auto& d : w.Documenti())
            documenti.push_back(d.get());
        std::vector<QRectF> disegni;
        Relazione r = RelazioneInsieme(documenti, w.Dati(), [&](QPainter& p, const QRectF& q) {
            disegni.push_back(q);
            DisegnaGrafico(w.Dati(), p, q);
        }, QDate(2026, 3, 2));
        int totale = 0;
        for (const Rapporto& pagina : r.pagine)
            totale += static_cast<int>(pagina.NumeroPagine);
        const QString file = cartella_ + "/insieme.pdf";
        ScriviRelazionePdf(r, file);
        if (!qEnvironmentVariableIsEmpty("ZELVI_RELAZIONE"))
            QFile::copy(file, qEnvironmentVariable("ZELVI_RELAZIONE"));
        const QStringList pagine = pdftotext(file).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QCOMPARE(pagine.size(), totale);
        for (int i = 0; i < totale; ++i)
            QVERIFY2(pagine[i].contains(QStringLiteral("pag. %1 di %2").arg(i + 1).arg(totale)), qPrintable(pagine[i]));

        const QRegularExpression ordine("Conteggi esaminati.*Anno2011.*Anno2016.*Anno2017",
                                        QRegularExpression::DotMatchesEverythingOption);
        QVERIFY2(pagine[0].contains(ordine) && pagine[0].contains("02/03/2026"), qPrintable(pagine[0]));
        QVERIFY(pagine[1].contains(w.Dati().TestoTotali()) && pagine[1].contains("OLTRE SOGLIA"));
        QVERIFY2(pagine[2].contains("T.E.G. trimestrali e tasso soglia"), qPrintable(pagine[2]));
        // Drawn once, across the page's width, inside an A4 page at 1200 dpi.
        QCOMPARE(disegni.size(), std::size_t(1));
        QVERIFY(QRectF(0, 0, 9921, 14031).contains(disegni[0]) && disegni[0].width() > 8000);

        // Each section opens on its own cover, in order of year, with the
        // formula of its first quarter.
        int sezione = 2;
        for (const int anno : {2011, 2016, 2017}) {
            const auto inizio = std::find_if(pagine.begin() + sezione + 1, pagine.end(), [&](const QString& p) {
                return p.contains(QStringLiteral("Conteggio \u00abAnno%1\u00bb").arg(anno));
            });
            QVERIFY(inizio != pagine.end());
            sezione = static_cast<int>(inizio - pagine.begin());
            QVERIFY(inizio->contains(QStringLiteral("Anno%1 \u2013 pag. %2 di").arg(anno).arg(sezione + 1)));
            QVERIFY(pagine[0].contains(QRegularExpression(
                QStringLiteral("Conteggio \u00abAnno%1\u00bb.* pag. %2\\n").arg(anno).arg(sezione + 1))));
            const auto d = std::find_if(documenti.begin(), documenti.end(),
                                        [&](const Documento* x) { return x->AnnoRiferimento() == anno; });
            BOX t = (*d)->Trimestri(1);
            t.Aggiorna();
            const std::vector<EsitoTrimestreConto> verifica = VerificaConto(**d, SoglieInUso());
            const RigaFormula& f = verifica.at(0).tratti.at(0).Decisiva();
            const QString formula =
                PassaggiIstruzioni(f.formula, std::get<TerminiIstruzioni>(f.termini), t).last();
            QVERIFY2(std::any_of(inizio, pagine.end(), [&](const QString& p) { return p.contains(formula); }),
                     qPrintable(formula));
        }

        // The command on the overview writes the set; elsewhere, the open calculation.
        QString scelto = cartella_ + "/comando";
        ImpostaSceltaFileRelazione([&](QWidget*, const QString&) { return scelto; });
        QVERIFY(CreaRelazioneFinestra(&w, conteggio_.Doc(), nullptr));
        QVERIFY(pdftotext(scelto + ".pdf").contains("Conteggi esaminati"));
        QVERIFY(CreaRelazioneFinestra(nullptr, conteggio_.Doc(), nullptr));
        QVERIFY(!pdftotext(scelto + ".pdf").contains("Conteggi esaminati"));
        ImpostaSceltaFileRelazione({});
    }

    // Forty yearly calculations, four years above the threshold all year
    // long (2005-2006, 2012, 2019), at the size the main window gives its
    // windows on a 1366 x 768 screen (the frame less 240 x 1920 twips).
    void quarantaAnni()
    {
        QTemporaryDir archivio;
        QStringList nomi;
        const auto sopra = [](int anno) { return anno == 2005 || anno == 2006 || anno == 2012 || anno == 2019; };
        for (int anno = 1987; anno <= 2026; ++anno) {
            SalvaAnno(conteggio_, archivio.path(), anno, sopra(anno) ? -1 : 0, false);
            nomi << QStringLiteral("Anno%1").arg(anno);
        }
        frmRiepilogo w(conteggio_);
        w.setCartella(archivio.path());
        w.resize(1350, 608);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.Pagina();
        w.Mostra(nomi);
        QCOMPARE(w.Dati().grafico.oltre.size(), std::size_t(16));

        // At least ten lines of the table in full view.
        VistaGriglia* v = w.Vista();
        int intere = 0;
        for (int r = 1; r < v->model()->rowCount(); ++r)
            intere += v->viewport()->rect().contains(v->visualRect(v->model()->index(r, 0)));
        QVERIFY2(intere >= 10, qPrintable(QString::number(intere)));

        // One label per run, on its highest rate, on screen and on paper.
        auto* schede = w.findChild<QTabWidget*>("SchedeRisultati");
        QTest::mouseClick(schede->tabBar(), Qt::LeftButton, {}, schede->tabBar()->tabRect(1).center());
        QTRY_VERIFY(w.VistaGrafico()->isVisible());
        QTRY_COMPARE(EtichetteControllate(w.VistaGrafico()->chart()).size(), 3);
        QGraphicsScene scena;
        QChart* carta = CreaGrafico(w.Dati());
        scena.addItem(carta);
        ImpaginaGrafico(carta, QSizeF(1000, 600));
        const QStringList etichette = EtichetteControllate(carta);
        QCOMPARE(etichette.size(), 3);
        QVERIFY2(!etichette.join(' ').contains('!'), qPrintable(etichette.join(' ')));
        QCOMPARE(etichette, EtichetteControllate(w.VistaGrafico()->chart()));
        QString piuAlta;
        for (const PuntoGrafico& p : w.Dati().grafico.oltre)
            if (p.data.year() <= 2006 && (piuAlta.isEmpty() || p.etichetta > piuAlta))
                piuAlta = p.etichetta;
        QVERIFY2(etichette.contains(piuAlta), qPrintable(etichette.join(' ')));

        // The threshold and the marks above it look different in the legend.
        const auto segno = [&](const QString& nome) {
            for (QLegendMarker* m : carta->legend()->markers())
                if (m->label() == nome)
                    return m;
            return static_cast<QLegendMarker*>(nullptr);
        };
        QVERIFY(segno(NomeSerieSoglia) && segno(NomeSerieOltre));
        QVERIFY(segno(NomeSerieSoglia)->shape() != segno(NomeSerieOltre)->shape());

        // Under the mouse, a mark tells its rate.
        auto* oltre = qobject_cast<QScatterSeries*>(w.VistaGrafico()->chart()->series().last());
        emit oltre->hovered(oltre->at(0), true);
        QTRY_VERIFY(QToolTip::isVisible());
        QVERIFY2(QToolTip::text().endsWith('%'), qPrintable(QToolTip::text()));

        // An overview with nothing in it makes up no axis.
        std::unique_ptr<QChart> vuoto(CreaGrafico(DatiPaginaRiepilogo{}));
        for (QAbstractAxis* a : vuoto->axes())
            QVERIFY(!a->isVisible());
    }

    void finestra()
    {
        frmRiepilogo w(conteggio_);
        w.setCartella(cartella_);
        w.Pagina();
        QCOMPARE(w.Lista()->count(), 4);
        w.SelezionaInizio(" anno201");  // Anno2011, 2016, 2017, and the damaged 2018
        QCOMPARE(w.Lista()->selectedItems().size(), 4);
        QCOMPARE(w.Dati().esclusi.size(), 1);
        QCOMPARE(w.Dati().trimestriOltre, 1);
        QCOMPARE(w.VistaGrafico()->chart()->series().size(), 4);
        Rapporto r;
        QString copia;
        QVERIFY(RapportoFinestra("frmRiepilogo", &w, r) && TestoCopiaFinestra("frmRiepilogo", &w, copia));
        QCOMPARE(r.sottotitolo, w.Dati().sottotitolo);
        QCOMPARE(copia, CopiaRiepilogo(w.Dati()));
        w.SelezionaInizio("Bianchi");
        QCOMPARE(w.Lista()->selectedItems().size(), 4);
        QVERIFY(MessaggiMostrati().join("").contains("Bianchi"));

        QString salvato;
        w.ImpostaSceltaFile([&](QWidget*, const QString&) { return salvato = cartella_ + "/finestra.png"; });
        w.findChild<QPushButton*>("CmdSalvaGrafico")->click();
        QVERIFY(QFile(salvato).size() > 10000);
    }
};

QTEST_MAIN(TestRiepilogo)
#include "test_riepilogo.moc"
