// Layout of the child windows: geometry in twips from the design tags, and
// its application to the widgets.
#include "FinestreProva.h"
#include "Routines.h"
#include "Twips.h"

#include <QTest>

namespace {
bool Vicino(double a, double b) { return std::abs(a - b) < 0.01; }
} // namespace

class TestDisposizione : public QObject {
    Q_OBJECT

    Documento conteggio_;
private slots:
    void letturaDeiTag()
    {
        QCOMPARE(NumeroTag(QStringLiteral("00120")), 120.0);
        QCOMPARE(NumeroTag(QStringLiteral("12a45")), 12.0);
        QCOMPARE(NumeroTag(QString()), 0.0);
        QCOMPARE(NumeroTag(QStringLiteral("x1234")), 0.0);

        QCOMPARE(MisuraProgetto(QStringLiteral("1513506645")), QSizeF(15135, 6645));
        // First five and last five characters, whatever the length.
        QCOMPARE(MisuraProgetto(QStringLiteral("15135066")), QSizeF(15135, 35066));
        QCOMPARE(MisuraProgetto(QStringLiteral("1513506645x")), QSizeF(15135, 6645));
        QCOMPARE(MisuraProgetto(QStringLiteral("15135")), QSizeF(15135, 15135));

        QCOMPARE(RettangoloProgetto(QStringLiteral("00120010801485005445")),
                 QRectF(120, 1080, 14850, 5445));
        // A short frame tag leaves the missing groups at 0.
        QCOMPARE(RettangoloProgetto(QStringLiteral("001200108014850")),
                 QRectF(120, 1080, 14850, 0));
        QCOMPARE(RettangoloProgetto(QString()), QRectF());
    }

    void valoriDellaCorniceAlMinimo()
    {
        const QRectF figlia = GeometriaFiglia(QSizeF(15360, 8520));
        QCOMPARE(figlia, QRectF(0, 0, 15120, 6600));
        const auto c = GeometriaCornice(QSizeF(15135, 6645), QRectF(120, 1080, 14850, 5445),
                                        figlia.size());
        QVERIFY(c.has_value());
        QVERIFY(Vicino(c->x(), 119.88));
        QVERIFY(Vicino(c->y(), 1072.69));
        QVERIFY(Vicino(c->width(), 14835.28));
        QVERIFY(Vicino(c->height(), 5408.13));
        const QSizeF g = MisuraGriglia(c->size());
        QVERIFY(Vicino(g.width(), 14595.28));
        QVERIFY(Vicino(g.height(), 5048.13));
        QCOMPARE(LarghezzaBanda(figlia.width()), 14880.0);
    }

    void valoriDellaCorniceGrande()
    {
        const QRectF figlia = GeometriaFiglia(QSizeF(28800, 15720));
        QCOMPARE(figlia.size(), QSizeF(28560, 13800));
        const auto c = GeometriaCornice(QSizeF(15135, 6645), QRectF(120, 1080, 14850, 5445),
                                        figlia.size());
        QVERIFY(c.has_value());
        QVERIFY(Vicino(c->x(), 226.44));
        QVERIFY(std::abs(c->y() - 2242.89) < 0.01);
        QVERIFY(std::abs(c->width() - 28022.2) < 0.01);
        QVERIFY(std::abs(c->height() - 11307.9) < 0.05);
        QCOMPARE(GeometriaTitolo(QSizeF(28800, 15720)), QRectF(0, 0, 28800, 15720));
    }

    void progettoNulloLasciaLaCornice()
    {
        QVERIFY(!GeometriaCornice(QSizeF(0, 6645), QRectF(1, 2, 3, 4), QSizeF(100, 100)));
        QVERIFY(!GeometriaCornice(QSizeF(15135, 0), QRectF(1, 2, 3, 4), QSizeF(100, 100)));

        FinestraProva w(conteggio_, QStringLiteral("frmMutuo"), false);
        w.setProperty("Tag", QString());
        w.cornice->setGeometry(3, 4, 50, 60);
        DisponiMutuo(&w, QSizeF(15360, 8520));
        QCOMPARE(w.cornice->geometry(), QRect(3, 4, 50, 60));
        QVERIFY(w.isVisible());
    }

    void applicazioneAllaFinestraDeiRisultati()
    {
        QWidget cornicePrincipale;
        FinestraProva w(conteggio_, QStringLiteral("frmCalcoli"), true);
        w.setParent(&cornicePrincipale);
        const QPoint posGriglia = w.griglia->pos();
        const QRect banda = w.banda->geometry();
        DisponiCalcoli(&w, QSizeF(15360, 8520));

        QCOMPARE(w.geometry(), QRect(0, 0, TwipsAPixel(15120), TwipsAPixel(6600)));
        QVERIFY(!w.isHidden());

        QWidget atteso;
        PosizionaTwips(&atteso, 119.88, 1072.69, 14835.28, 5408.13);
        QCOMPARE(w.cornice->geometry(), atteso.geometry());

        QCOMPARE(w.banda->pos(), banda.topLeft());
        QCOMPARE(w.banda->height(), banda.height());
        QCOMPARE(w.banda->width(), TwipsAPixel(15120 - 240));

        QCOMPARE(w.griglia->pos(), posGriglia);
        QCOMPARE(w.griglia->size(), QSize(TwipsAPixel(14595.28), TwipsAPixel(5048.13)));
    }

    void soloLeFinestreDeiRisultatiAllarganoLaGriglia()
    {
        FinestraProva w(conteggio_, QStringLiteral("frmBox"), true);
        const QSize prima = w.griglia->size();
        DisponiBox(&w, QSizeF(15360, 8520));
        QCOMPARE(w.griglia->size(), prima);
        QWidget atteso;
        PosizionaTwips(&atteso, 119.88, 1072.69, 14835.28, 5408.13);
        QCOMPARE(w.cornice->geometry(), atteso.geometry());
    }

    void ogniCorniceSiRiconoscePerNome()
    {
        FinestraProva w(conteggio_, QStringLiteral("frmOPE"), false);
        auto* seconda = new QFrame(&w);
        seconda->setObjectName(QStringLiteral("xpFRAME2"));
        seconda->setProperty("Tag", QStringLiteral("00000000001513506645"));
        auto* altra = new QFrame(&w);
        altra->setObjectName(QStringLiteral("XPFram9"));
        altra->setProperty("Tag", QStringLiteral("00000000001513506645"));
        altra->setGeometry(1, 1, 5, 5);
        DisponiOPE(&w, QSizeF(28800, 15720));
        QCOMPARE(seconda->geometry(), QRect(0, 0, TwipsAPixel(28560), TwipsAPixel(13800)));
        QCOMPARE(altra->geometry(), QRect(1, 1, 5, 5));
    }

    void sceltaPerNome()
    {
        FinestraProva w(conteggio_, QStringLiteral("frmBreve"), false);
        QVERIFY(DisponiPerNome(QStringLiteral("frmBreve"), &w, QSizeF(15360, 8520)));
        QCOMPARE(w.size(), QSize(TwipsAPixel(15120), TwipsAPixel(6600)));
        QVERIFY(!DisponiPerNome(QStringLiteral("frmAltro"), &w, QSizeF(28800, 15720)));
        QVERIFY(!DisponiPerNome(QString(), &w, QSizeF(28800, 15720)));
        QCOMPARE(w.size(), QSize(TwipsAPixel(15120), TwipsAPixel(6600)));

        QWidget titolo;
        QVERIFY(DisponiPerNome(QStringLiteral("frmTitolo"), &titolo, QSizeF(28800, 15720)));
        QCOMPARE(titolo.geometry(), QRect(0, 0, TwipsAPixel(28800), TwipsAPixel(15720)));

        QCOMPARE(FinestreFiglie(),
                 QStringList({"frmBox", "frmTitolo", "frmCalcoli", "frmItalia", "frmMutuo",
                              "frmOPE", "frmBreve", "frmUsura", "frmRiepilogo", "frmRegole", "frmPiano",
                              "frmMovimenti", "frmCondizioni", "frmScalare", "frmRicalcolo"}));
    }
};

QTEST_MAIN(TestDisposizione)
#include "test_disposizione.moc"
