// Turns the manual's HTML source into an A4 PDF: body text laid out by
// QTextDocument page by page, a running footer with the page number, and a
// table of contents built from the chapter and section headings.
//
//   GeneraManuale <source.html> <output.pdf> [version]
//
// "@VERSIONE@" in the source becomes the program's version.
//
// The PDF is written under a temporary name and moved into place only when it
// is complete, so a failed run never leaves a truncated manual behind.
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QAbstractTextDocumentLayout>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// Where the source asks for the table of contents.
const QString SegnapostoIndice = QStringLiteral("<p>@INDICE@</p>");

// Page geometry in millimetres.
constexpr double MargineSinistro = 22, MargineDestro = 22, MargineAlto = 20, MargineBasso = 14;
constexpr double AltezzaPiede = 10;  // room kept under the text for the footer
constexpr int Risoluzione = 300;     // dots per inch of the PDF's coordinate system

struct Voce {
    int livello;
    QString testo;
    int pagina;
};

double MmInPixel(double mm, double dpi) { return mm / 25.4 * dpi; }

QString Escape(const QString& s) { return s.toHtmlEscaped(); }

QString HtmlIndice(const std::vector<Voce>& voci)
{
    QString h = QStringLiteral("<h1 style=\"page-break-before: always; margin-top: 0px\">Indice</h1>\n"
                               "<table class=\"indice\" width=\"100%\" cellspacing=\"0\" cellpadding=\"1\">\n");
    for (const Voce& v : voci) {
        const QString rientro = v.livello == 1 ? QString() : QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;");
        const QString testo = v.livello == 1 ? QStringLiteral("<b>%1</b>").arg(Escape(v.testo)) : Escape(v.testo);
        const QString pagina = v.pagina > 0 ? QString::number(v.pagina) : QStringLiteral("00");
        const QString classe = v.livello == 1 ? QStringLiteral(" class=\"capitolo\"") : QString();
        h += QStringLiteral("<tr><td%1>%2%3</td><td%1 align=\"right\" width=\"10%\">%4</td></tr>\n")
                 .arg(classe, rientro, testo, pagina);
    }
    h += QStringLiteral("</table>\n");
    return h;
}

// The headings of levels 1 and 2 that follow the table of contents, with the
// page each one starts on.
std::vector<Voce> Titoli(const QTextDocument& doc, double altezzaPagina)
{
    std::vector<Voce> voci;
    bool dopoIndice = false;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const int livello = b.blockFormat().headingLevel();
        if (livello == 0)
            continue;
        const QString testo = b.text().trimmed();
        if (!dopoIndice) {
            dopoIndice = livello == 1 && testo == QLatin1String("Indice");
            continue;
        }
        if (livello > 2)
            continue;
        // The page of the heading's first line: a block moved to a new page
        // starts its bounding box at the end of the page before.
        double y = doc.documentLayout()->blockBoundingRect(b).top();
        if (b.layout() && b.layout()->lineCount() > 0)
            y = b.layout()->position().y() + b.layout()->lineAt(0).rect().center().y();
        voci.push_back({livello, testo, static_cast<int>(std::floor(y / altezzaPagina)) + 1});
    }
    return voci;
}

// Keeps short tables (examples, formulas, small lists), headings and short
// paragraphs from being split across pages: a table shorter than 70% of a
// page that would cross a page boundary starts on the next page, together
// with the heading or the introducing sentence right before it; a heading too
// close to the bottom of a page moves to the next one, and so does a
// paragraph of up to eight lines that would be split. Repeats until nothing
// moves.
void Impagina(QTextDocument& doc, double altezzaPagina)
{
    auto pagina = [&](double y) { return static_cast<int>(std::floor(y / altezzaPagina)); };
    auto interrompiPrima = [](QTextBlock b) {
        QTextBlockFormat f = b.blockFormat();
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(b).setBlockFormat(f);
    };
    auto giaInterrotto = [](QTextBlock b) {
        return b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
    };
    auto* layout = doc.documentLayout();
    const double riga = QFontMetricsF(doc.defaultFont()).lineSpacing();
    // Where a block's first or last line stands in the document.
    auto centroRiga = [&](const QTextBlock& b, bool ultima) {
        const QTextLayout* l = b.layout();
        if (!l || l->lineCount() == 0)
            return layout->blockBoundingRect(b).center().y();
        // The bounding box is in document coordinates, also inside a table.
        const QTextLine riga = l->lineAt(ultima ? l->lineCount() - 1 : 0);
        return layout->blockBoundingRect(b).top() + riga.rect().center().y();
    };
    auto centroPrimaRiga = [&](const QTextBlock& b) { return centroRiga(b, false); };
    auto centroUltimaRiga = [&](const QTextBlock& b) { return centroRiga(b, true); };

    for (int giro = 0; giro < 200; ++giro) {
        bool spostato = false;
        for (QTextFrame* cornice : doc.rootFrame()->childFrames()) {
            const QRectF r = layout->frameBoundingRect(cornice);
            // A table pushed to the next page may keep its frame's top on the
            // page before: its first row tells where it really starts.
            double yPrima = r.top();
            if (auto* tabella = qobject_cast<QTextTable*>(cornice))
                yPrima = centroPrimaRiga(tabella->cellAt(0, 0).firstCursorPosition().block());
            const bool corta = r.height() <= altezzaPagina * 0.7;
            // What introduces the table goes with it: the non-empty block right
            // before it if it is a heading or ends with ":", and a heading right
            // before that sentence.
            QTextBlock prima = doc.findBlock(cornice->firstPosition() - 1);
            while (prima.isValid() && prima.text().trimmed().isEmpty() && prima.blockFormat().headingLevel() == 0)
                prima = prima.previous();
            QTextBlock inizio;
            if (prima.isValid() && (prima.blockFormat().headingLevel() > 0 || prima.text().trimmed().endsWith(u':'))) {
                inizio = prima;
                QTextBlock titolo = prima.previous();
                if (prima.blockFormat().headingLevel() == 0 && titolo.isValid() &&
                    titolo.blockFormat().headingLevel() > 0)
                    inizio = titolo;
            }
            // A chapter heading with no more than its opening sentence before
            // the section that moves goes along too, rather than stay alone.
            if (inizio.isValid() && inizio.blockFormat().headingLevel() > 1) {
                auto precedente = [](QTextBlock b) {
                    b = b.previous();
                    while (b.isValid() && b.text().trimmed().isEmpty() && b.blockFormat().headingLevel() == 0)
                        b = b.previous();
                    return b;
                };
                QTextBlock a = precedente(inizio);
                if (a.isValid() && a.blockFormat().headingLevel() == 0)
                    a = precedente(a);
                if (a.isValid() && a.blockFormat().headingLevel() == 1)
                    inizio = a;
            }
            const bool spezzata = corta && pagina(yPrima) != pagina(r.bottom() - 1);
            const bool staccata = inizio.isValid() && pagina(centroUltimaRiga(prima)) != pagina(yPrima);
            if (!spezzata && !staccata)
                continue;
            if (inizio.isValid()) {
                if (giaInterrotto(inizio))
                    continue;  // already starts a page: nothing more to gain
                interrompiPrima(inizio);
            } else {
                if (auto* tabella = qobject_cast<QTextTable*>(cornice)) {
                    QTextTableFormat f = tabella->format();
                    if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
                        continue;
                    f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                    tabella->setFormat(f);
                } else {
                    QTextFrameFormat f = cornice->frameFormat();
                    if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
                        continue;
                    f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                    cornice->setFrameFormat(f);
                }
            }
            spostato = true;
            break;
        }
        if (!spostato) {
            for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
                const int livello = b.blockFormat().headingLevel();
                if (livello == 0 || giaInterrotto(b))
                    continue;
                // A chapter needs room for its opening lines, a section for a few.
                const double spazio = (livello == 1 ? 8 : 3) * riga;
                const QRectF r = layout->blockBoundingRect(b);
                const double fondo = (pagina(r.top()) + 1) * altezzaPagina;
                if (fondo - r.bottom() < spazio) {
                    interrompiPrima(b);
                    spostato = true;
                    break;
                }
            }
        }
        if (!spostato) {
            // A short paragraph is not split: its lines go to the next page
            // together. (A split one would also leave its last line on the
            // first page drawn, clipped and invisible, at the top of the next.)
            for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
                const QTextLayout* l = b.layout();
                if (!l || l->lineCount() < 2 || l->lineCount() > 8 || giaInterrotto(b) ||
                    QTextCursor(b).currentFrame() != doc.rootFrame())
                    continue;
                if (pagina(centroPrimaRiga(b)) != pagina(centroUltimaRiga(b))) {
                    interrompiPrima(b);
                    spostato = true;
                    break;
                }
            }
        }
        if (!spostato)
            return;
    }
}

bool StessePagine(const std::vector<Voce>& a, const std::vector<Voce>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].pagina != b[i].pagina)
            return false;
    }
    return true;
}

// The build runs without a session: Qt's note that it has no runtime folder
// is noise there. Everything else goes through.
void Messaggi(QtMsgType tipo, const QMessageLogContext& contesto, const QString& testo)
{
    if (tipo == QtWarningMsg && testo.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(tipo, contesto, testo)));
}

} // namespace

int main(int argc, char** argv)
{
    // The build runs without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(Messaggi);
    QGuiApplication app(argc, argv);

    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "uso: GeneraManuale <sorgente.html> <manuale.pdf> [versione]\n");
        return 2;
    }
    const QString sorgente = QString::fromLocal8Bit(argv[1]);
    const QString destinazione = QString::fromLocal8Bit(argv[2]);

    QFile f(sorgente);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "GeneraManuale: impossibile leggere %s\n", argv[1]);
        return 1;
    }
    QString html = QString::fromUtf8(f.readAll());
    html.replace(QStringLiteral("@VERSIONE@"),
                 argc == 4 ? QString::fromLocal8Bit(argv[3]).toHtmlEscaped() : QString());
    f.close();
    if (!html.contains(SegnapostoIndice)) {
        std::fprintf(stderr, "GeneraManuale: il sorgente non indica dove mettere l'indice\n");
        return 1;
    }

    const QString temporaneo = destinazione + QStringLiteral(".tmp");
    QFile::remove(temporaneo);
    int pagine = 0;
    {
        QPdfWriter pdf(temporaneo);
        pdf.setResolution(Risoluzione);
        pdf.setTitle(QStringLiteral("Zelvi T.E.G. - Manuale d'uso"));
        pdf.setCreator(QStringLiteral("Zelvi T.E.G."));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(MargineSinistro, MargineAlto, MargineDestro, MargineBasso),
                                      QPageLayout::Millimeter));
        const QRectF area = pdf.pageLayout().paintRectPixels(Risoluzione);
        const double piede = MmInPixel(AltezzaPiede, Risoluzione);

        // The text is laid out at the screen's logical resolution, where the
        // source's pixel lengths mean what they say, and scaled onto the page.
        const double dpiTesto = QGuiApplication::primaryScreen()
                                    ? QGuiApplication::primaryScreen()->logicalDotsPerInchY()
                                    : 96.0;
        const double scala = Risoluzione / dpiTesto;
        // Whole layout units, so that page boundaries fall exactly where the
        // layout puts them.
        const QSizeF pagina(std::floor(area.width() / scala), std::floor((area.height() - piede) / scala));

        QTextDocument doc;
        doc.setUseDesignMetrics(true);
        doc.setDocumentMargin(0);
        QFont base(QStringLiteral("Liberation Serif"));
        base.setPointSizeF(11);
        doc.setDefaultFont(base);

        // The table of contents changes nothing after it (it ends with a page
        // break), but a longer one could push everything on; lay out until the
        // page numbers settle.
        std::vector<Voce> voci;
        for (int giro = 0; giro < 4; ++giro) {
            QString testo = html;
            testo.replace(SegnapostoIndice, HtmlIndice(voci));
            doc.setHtml(testo);
            doc.setPageSize(pagina);
            Impagina(doc, pagina.height());
            std::vector<Voce> nuove = Titoli(doc, pagina.height());
            const bool ferme = giro > 0 && StessePagine(voci, nuove);
            voci = std::move(nuove);
            if (ferme)
                break;
        }
        if (voci.empty()) {
            std::fprintf(stderr, "GeneraManuale: nessun capitolo dopo l'indice\n");
            return 1;
        }

        pagine = doc.pageCount();
        QPainter p;
        if (!p.begin(&pdf)) {
            std::fprintf(stderr, "GeneraManuale: impossibile scrivere %s\n", qPrintable(temporaneo));
            return 1;
        }
        QFont fontPiede(QStringLiteral("Liberation Sans"));
        fontPiede.setPointSizeF(8.5);
        for (int n = 0; n < pagine; ++n) {
            if (n > 0)
                pdf.newPage();
            p.save();
            p.scale(scala, scala);
            p.translate(0, -n * pagina.height());
            // A line that starts exactly on the boundary belongs to the next
            // page: leave it out here, or it would be drawn clipped (invisible
            // but still found by a search) at the foot of this one.
            doc.drawContents(&p, QRectF(0, n * pagina.height(), pagina.width(), pagina.height() - 1));
            p.restore();
            if (n == 0)
                continue;  // the title page carries no footer
            const double yLinea = area.height() - piede * 0.55;
            p.setPen(QPen(QColor(150, 150, 150), MmInPixel(0.2, Risoluzione)));
            p.drawLine(QPointF(0, yLinea), QPointF(area.width(), yLinea));
            p.setPen(QColor(80, 80, 80));
            p.setFont(fontPiede);
            const QRectF riga(0, yLinea, area.width(), piede * 0.55);
            p.drawText(riga, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Zelvi T.E.G. – Manuale d'uso"));
            p.drawText(riga, Qt::AlignRight | Qt::AlignVCenter,
                       QStringLiteral("Pagina %1 di %2").arg(n + 1).arg(pagine));
        }
        if (!p.end()) {
            std::fprintf(stderr, "GeneraManuale: impossibile completare %s\n", qPrintable(temporaneo));
            return 1;
        }
    }

    if (QFileInfo(temporaneo).size() == 0) {
        QFile::remove(temporaneo);
        std::fprintf(stderr, "GeneraManuale: il PDF prodotto è vuoto\n");
        return 1;
    }
    QFile::remove(destinazione);
    if (!QFile::rename(temporaneo, destinazione)) {
        QFile::remove(temporaneo);
        std::fprintf(stderr, "GeneraManuale: impossibile creare %s\n", argv[2]);
        return 1;
    }
    std::printf("GeneraManuale: %s, %d pagine\n", argv[2], pagine);
    return 0;
}
