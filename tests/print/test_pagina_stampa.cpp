// The page frame: each report printed to a PDF file, positions read back with
// pdftotext -bbox (points; 1 point = 20 twips), and the drawing of fonts,
// colours and lines checked on an image.
#include "EsempiStampa.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Parola {
    double x0, y0, x1, y1;  // twips
    QString testo;
};

QString decodifica(QString s)
{
    s.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    s.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    s.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    s.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
    s.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    s.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return s;
}

QList<Parola> parole(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression re(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<Parola> l;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        l.append({m.captured(1).toDouble() * 20, m.captured(2).toDouble() * 20, m.captured(3).toDouble() * 20,
                  m.captured(4).toDouble() * 20, decodifica(m.captured(5))});
    }
    return l;
}

// The words whose top edge is at y (within a point).
QList<Parola> riga(const QList<Parola>& tutte, double y)
{
    QList<Parola> l;
    for (const Parola& p : tutte)
        if (std::abs(p.y0 - y) <= 20)
            l.append(p);
    std::sort(l.begin(), l.end(), [](const Parola& a, const Parola& b) { return a.x0 < b.x0; });
    return l;
}

double sinistra(const QList<Parola>& l)
{
    double x = 1e9;
    for (const Parola& p : l)
        x = std::min(x, p.x0);
    return x;
}

double destra(const QList<Parola>& l)
{
    double x = -1e9;
    for (const Parola& p : l)
        x = std::max(x, p.x1);
    return x;
}

QString testoRiga(const QList<Parola>& l)
{
    QStringList t;
    for (const Parola& p : l)
        t << p.testo;
    return t.join(QLatin1Char(' '));
}

int conta(const QList<Parola>& tutte, const QString& parola)
{
    int n = 0;
    for (const Parola& p : tutte)
        n += p.testo == parola;
    return n;
}

} // namespace

class TestPaginaStampa : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void pagine_data();
    void pagine();
    void matematicoInPdf();
    void italiaInPdf();
    void elementiDellaPagina();
    void grassettoDelleRigheUguali();
    void caratteriEColori();
    void lineeTraTrimestri();
    void piuPagine();
    void testiLunghiNellaPagina_data();
    void testiLunghiNellaPagina();

private:
    QString stampa(const Rapporto& r, const QString& nome);
    QTemporaryDir cartella_;
};

void TestPaginaStampa::initTestCase()
{
    QVERIFY(cartella_.isValid());
    QVERIFY2(QStandardPaths::findExecutable(QStringLiteral("pdftotext")).size() > 0, "pdftotext missing");
}

QString TestPaginaStampa::stampa(const Rapporto& r, const QString& nome)
{
    QPrinter stampante(QPrinter::HighResolution);
    stampante.setOutputFormat(QPrinter::PdfFormat);
    const QString file = cartella_.filePath(nome + QStringLiteral(".pdf"));
    stampante.setOutputFileName(file);
    if (!StampaSuStampante(r, stampante))
        return {};
    if (qEnvironmentVariableIsSet("ZELVI_PDF_STAMPA"))  // keeps a copy to look at
        QFile::copy(file, qEnvironmentVariable("ZELVI_PDF_STAMPA") + QLatin1Char('/') + nome + QStringLiteral(".pdf"));
    return file;
}

void TestPaginaStampa::pagine_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<int>("righe");
    QTest::newRow("breve") << 0 << 9;
    QTest::newRow("mutuo") << 1 << 9;
    QTest::newRow("ope") << 2 << 15;
    QTest::newRow("input") << 3 << 10;
    QTest::newRow("matematico") << 4 << 41;
    QTest::newRow("italia") << 5 << 13;
}

static Rapporto rapporto(int tipo, const QString& d)
{
    switch (tipo) {
    case 0: return RapportoBreve(esempi::breve(), d);
    case 1: return RapportoMutuo(esempi::mutuo(), d);
    case 2: return RapportoOPE(esempi::operazioni(), d);
    case 3: return RapportoInput(esempi::input(), d);
    case 4: return RapportoMatematico(esempi::grigliaMatematico(), d);
    default: return RapportoItalia(esempi::grigliaItalia(), d);
    }
}

void TestPaginaStampa::pagine()
{
    QFETCH(int, tipo);
    QFETCH(int, righe);
    const Rapporto r = rapporto(tipo, QStringLiteral("Esempio di calcolo"));
    QCOMPARE(r.RighePerPagina, righe);
    const QString file = stampa(r, QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(!file.isEmpty());
    const QList<Parola> tutte = parole(file);
    QVERIFY(!tutte.isEmpty());

    // Title centred on x = 6000 with its top at y = 1900.
    const QList<Parola> titolo = riga(tutte, 1900);
    QCOMPARE(testoRiga(titolo), QStringLiteral("T.E.G. su Esempio di calcolo"));
    QVERIFY2(std::abs((sinistra(titolo) + destra(titolo)) / 2 - 6000) <= 20,
             qPrintable(QString::number((sinistra(titolo) + destra(titolo)) / 2)));

    // Subtitle centred at y = 2300 when the report has one.
    const QList<Parola> sotto = riga(tutte, 2300);
    QCOMPARE(testoRiga(sotto), r.sottotitolo);
    if (!sotto.isEmpty())
        QVERIFY(std::abs((sinistra(sotto) + destra(sotto)) / 2 - 6000) <= 20);

    // The time stamp ends at x = 11100, its top at y = 1000.
    const QList<Parola> momento = riga(tutte, 1000);
    QCOMPARE(momento.size(), 2);
    QVERIFY(momento[0].testo.startsWith(QLatin1Char('[')));
    QVERIFY(std::abs(destra(momento) - 11100) <= 20);

    // First row at y = 2840, the last at 2540 + 300 * rows.
    QVERIFY(!riga(tutte, 2840).isEmpty());
    QVERIFY(!riga(tutte, 2540 + 300 * righe).isEmpty());

    // Footer: Pagina 1 di 1, right edge at 6000, top at 16000.
    const QList<Parola> piede = riga(tutte, 16000);
    QCOMPARE(testoRiga(piede), QStringLiteral("Pagina 1 di 1"));
    QVERIFY2(std::abs(destra(piede) - 6000) <= 20, qPrintable(QString::number(destra(piede))));

    // Nothing else below the table but the footer (and the formula picture).
    for (const Parola& p : tutte)
        if (p.y0 > 2540 + 300 * righe + 40 && p.y0 < 15900)
            QVERIFY2(tipo == 5 && p.y0 >= 8000 && p.y1 <= 9455 + 20, qPrintable(p.testo));
}

void TestPaginaStampa::matematicoInPdf()
{
    const QString file = stampa(rapporto(4, QStringLiteral("Conto")), QStringLiteral("matematico-dettaglio"));
    const QList<Parola> tutte = parole(file);
    // Last of 41 rows at y = 14840.
    const QList<Parola> ultima = riga(tutte, 14840);
    QCOMPARE(testoRiga(ultima), QStringLiteral("Debito medio giornaliero per data € 12.345,67 Costo annuale 9,876%"));
    // The header prints as "Incidenza %"; each quarter title once, at x = 500.
    QCOMPARE(conta(tutte, QStringLiteral("Incidenza")), 4);
    QCOMPARE(conta(tutte, QStringLiteral("Trimestre")), 4);
    QCOMPARE(conta(tutte, QStringLiteral("debito")), 0);
    for (int q = 0; q < 4; ++q) {
        const QList<Parola> testata = riga(tutte, 2840 + 3000 * q);
        QVERIFY(testoRiga(testata).startsWith(esempi::titoloTrimestre(q + 1, 2012) + QStringLiteral(" Importi")));
        QVERIFY(std::abs(sinistra(testata) - 500) <= 20);
        // "Incidenza %" right-aligned on 10950
        QVERIFY(std::abs(destra(testata) - 10950) <= 20);
    }
}

void TestPaginaStampa::italiaInPdf()
{
    const QString file = stampa(rapporto(5, QStringLiteral("Conto")), QStringLiteral("italia-dettaglio"));
    const QList<Parola> tutte = parole(file);
    QCOMPARE(testoRiga(riga(tutte, 2840)), QStringLiteral("Trimestre I - 2012 Trimestre II - 2012"));
    QVERIFY(std::abs(sinistra(riga(tutte, 2840)) - 1000) <= 20);
    QCOMPARE(testoRiga(riga(tutte, 6440)), QStringLiteral("T.E.G. 9,250% T.E.G. 10,250%"));
    // The formula picture stands in its box at (2600, 8000), 4815 x 1455.
    QList<Parola> formula;
    for (const Parola& p : tutte)
        if (p.y0 >= 7980 && p.y1 <= 9475)
            formula.append(p);
    const QString testo = testoRiga(formula);
    QVERIFY2(testo.contains(QStringLiteral("Formula della Banca d'Italia")), qPrintable(testo));
    for (const char* t : {"T.E.G.%", "Interessi", "365(6)", "Numeri", "capitale", "Oneri", "100", "Accordato"})
        QVERIFY2(testo.contains(QLatin1String(t)), t);
    QVERIFY(sinistra(formula) >= 2580 && destra(formula) <= 7435);
}

void TestPaginaStampa::elementiDellaPagina()
{
    QImage img(595, 842, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    std::vector<ElementoTesto> elementi;
    DisegnaRapporto(rapporto(2, QString()), p, 72.0 / 1440, &elementi);
    p.end();

    // Stamp, title, then the rows; empty cells draw nothing; the footer last.
    QCOMPARE(elementi.front().x, 11100);
    QCOMPARE(elementi.front().codiceDimensione, 0);
    QCOMPARE(elementi.front().allineamento, 2);
    QVERIFY(QRegularExpression(QStringLiteral("^\\[\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d\\]$"))
                .match(elementi.front().testo).hasMatch());
    const ElementoTesto& titolo = elementi[1];
    QCOMPARE(titolo.testo, QStringLiteral("T.E.G. su "));
    QVERIFY(titolo.grassetto && !titolo.corsivo);
    QCOMPARE(titolo.codiceDimensione, 12);
    QCOMPARE(titolo.allineamento, 1);
    const ElementoTesto& piede = elementi.back();
    QCOMPARE(piede.testo, QStringLiteral("Pagina 1 di 1"));
    QVERIFY(piede.corsivo && !piede.grassetto);
    QCOMPARE(piede.y, 16000);
    for (const ElementoTesto& e : elementi)
        QVERIFY(!e.testo.isEmpty());
    // "Flussi" on row 1, bold; the operations right-aligned number at 1000.
    QCOMPARE(elementi[2].testo, QStringLiteral("Flussi"));
    QCOMPARE(elementi[2].y, 2840);
    QVERIFY(elementi[2].grassetto);
    QCOMPARE(elementi[7].testo, QStringLiteral("1"));
    QCOMPARE(elementi[7].x, 1000);
    QCOMPARE(elementi[7].allineamento, 2);
    QVERIFY(!elementi[7].grassetto);
}

void TestPaginaStampa::grassettoDelleRigheUguali()
{
    QImage img(595, 842, QImage::Format_RGB32);
    QPainter p(&img);
    std::vector<ElementoTesto> elementi;
    DisegnaRapporto(rapporto(4, QString()), p, 72.0 / 1440, &elementi);
    p.end();
    auto trova = [&](int y, int x) -> const ElementoTesto* {
        for (const ElementoTesto& e : elementi)
            if (e.y == y && e.x == x)
                return &e;
        return nullptr;
    };
    // Row 7 ("= Oneri ..."): cost columns bold, input side empty.
    const int y7 = 2540 + 300 * 7;
    QVERIFY(trova(y7, 5200)->grassetto && trova(y7, 9150)->grassetto && trova(y7, 10950)->grassetto);
    // Row 9 ("= Totale ..."): cost side bold, input side follows the row flag.
    const int y9 = 2540 + 300 * 9;
    QVERIFY(trova(y9, 5200)->grassetto && trova(y9, 10950)->grassetto);
    QVERIFY(!trova(y9, 500)->grassetto && !trova(y9, 4450)->grassetto);
    // Row 4 (" + spese"): regular.
    QVERIFY(!trova(2540 + 1200, 5200)->grassetto);
    // Title rows: the quarter title bold, "Importi" regular (no "=" line).
    QVERIFY(trova(2840, 500)->grassetto);
    QVERIFY(!trova(2840, 9150)->grassetto);
    // The last row: everything bold.
    for (int x : {500, 4450, 5200, 10950})
        QVERIFY(trova(14840, x)->grassetto);
}

void TestPaginaStampa::caratteriEColori()
{
    QCOMPARE(PuntiCarattere(0), 7);
    QCOMPARE(PuntiCarattere(12), 11);
    QCOMPARE(PuntiCarattere(10), 9);
    QVERIFY(!FamigliaCarattere().isEmpty());

    // 144 dpi: 0.1 pixel per twip.
    auto disegna = [](const QString& colore, int codice, bool grassetto, int allineamento, QRect* area) {
        QImage img(1000, 300, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        StampaTesto(p, 0.1, 5000, 1000, QStringLiteral("Ottobre MMM"), grassetto, false, codice, allineamento, colore);
        p.end();
        bool rosso = false;
        int x0 = 9999, x1 = -1, y0 = 9999, y1 = -1;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = img.pixelColor(x, y);
                if (c == Qt::white)
                    continue;
                rosso |= c.red() > 200 && c.green() < 60 && c.blue() < 60;
                x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
        *area = QRect(QPoint(x0, y0), QPoint(x1, y1));
        return rosso;
    };
    QRect a7, a11, b11, sx, dx, cx;
    QVERIFY(disegna(QStringLiteral("rosso"), 0, false, 0, &a7));
    QVERIFY(!disegna(QStringLiteral("Rosso"), 0, false, 0, &a7));
    QVERIFY(!disegna(QString(), 12, false, 0, &a11));
    disegna(QString(), 12, true, 0, &b11);
    QVERIFY(a11.height() > a7.height() * 1.35);  // 11 points against 7
    QVERIFY(b11.width() > a11.width());          // bold is wider
    // The text's top edge is at y (1000 twips = pixel 100).
    QVERIFY(a11.top() >= 100 && a11.top() <= 104);
    // Alignments against x = 5000 twips, pixel 500.
    disegna(QString(), 0, false, 0, &sx);
    disegna(QString(), 0, false, 2, &dx);
    disegna(QString(), 0, false, 1, &cx);
    QVERIFY(std::abs(sx.left() - 500) <= 2);
    QVERIFY(std::abs(dx.right() - 500) <= 2);
    QVERIFY(std::abs((cx.left() + cx.right()) / 2 - 500) <= 2);
}

void TestPaginaStampa::lineeTraTrimestri()
{
    const double k = 0.1;  // 144 dpi
    QImage img(qRound(11906 * k), qRound(16838 * k), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    DisegnaRapporto(rapporto(4, QString()), p, k);
    p.end();
    auto scura = [&](int y) {
        int n = 0;
        for (int x = 60; x < 1090; ++x)
            n += qGray(img.pixel(x, y)) < 128;
        return n;
    };
    for (int n : {10, 20, 30, 40}) {
        const int y = qRound((2540 + 300 * n) * k);
        QVERIFY2(std::max({scura(y - 1), scura(y), scura(y + 1)}) > 1000, qPrintable(QString::number(n)));
    }
    QVERIFY(scura(qRound((2540 + 300 * 5) * k)) < 500);  // no line in the middle of a block
}

void TestPaginaStampa::piuPagine()
{
    // The frame's page loop: rows continue on the next page.
    Rapporto r = rapporto(0, QString());
    r.RighePerPagina = 3;
    r.NumeroPagine = 2.4;  // rounded to 2
    const QString file = stampa(r, QStringLiteral("due-pagine"));
    const QList<Parola> tutte = parole(file);
    QCOMPARE(conta(tutte, QStringLiteral("Pagina")), 2);
    QVERIFY(testoRiga(tutte).contains(QStringLiteral("Pagina 2 di 2")));
    QVERIFY(testoRiga(tutte).contains(QStringLiteral("Data di erogazione")));  // row 4, page 2
}


void TestPaginaStampa::testiLunghiNellaPagina_data() { pagine_data(); }

// A long description stays inside the frame and off its neighbours: shortened
// where it stands, printed in full at the foot of the page.
void TestPaginaStampa::testiLunghiNellaPagina()
{
    QFETCH(int, tipo);
    const QString lunga = QStringLiteral(
        "Conto corrente n. 00000012345678 presso Banca Popolare dell'Emilia Romagna, filiale di Modena, "
        "intestato a Rossi Mario");
    Rapporto r = rapporto(tipo, lunga);
    if (tipo <= 1)
        r.tabella.setTesto(1, 2, lunga);  // the description row
    const QList<Parola> tutte = parole(stampa(r, QStringLiteral("lungo_") + QTest::currentDataTag()));
    QVERIFY(!tutte.isEmpty());
    QStringList testi;
    for (const Parola& p : tutte) {
        testi << p.testo;
        // Inside the frame, whose right edge is the date's (a tenth of a point for rounding).
        QVERIFY2(p.x0 >= 400 - 2 && p.x1 <= 11100 + 2, qPrintable(QStringLiteral("%1: %2-%3").arg(p.testo).arg(p.x0).arg(p.x1)));
        for (const Parola& q : tutte)
            if (&p != &q && std::abs(p.y0 - q.y0) < 100 && p.x0 < q.x0 && q.x0 < p.x1 - 20)
                QFAIL(qPrintable(p.testo + " / " + q.testo));
    }
    QVERIFY2(testi.join(' ').contains("T.E.G. su " + lunga), qPrintable(testi.join(' ')));
}

QTEST_MAIN(TestPaginaStampa)
#include "test_pagina_stampa.moc"
