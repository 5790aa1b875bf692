// The manual's advice against the program's own rules: the example names
// and descriptions it gives are ones the program takes.
#include "CampiFinanziamento.h"
#include "frmNuovoPiano.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

class TestManuale : public QObject {
    Q_OBJECT

    static QString testo(QString html)
    {
        html.remove(QRegularExpression(QStringLiteral("<[^>]+>")));
        html.replace(QStringLiteral("&lt;"), QStringLiteral("<")).replace(QStringLiteral("&gt;"), QStringLiteral(">"));
        html.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        return html.simplified();
    }

private slots:
    void esempiAmmessi()
    {
        QFile f(QStringLiteral(MANUALE));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(f.readAll());
        auto descrizioneAmmessa = [](const QString& t) {
            return std::all_of(t.begin(), t.end(), [](QChar c) {
                return CampoFinanziamento::CarattereAmmesso(CampoFinanziamento::Filtro::Descrizione, c);
            });
        };
        // Quoted texts are examples to type, or the program's own messages
        // (which end as sentences do).
        static const QRegularExpression citato(QStringLiteral("\u00ab(.*?)\u00bb"),
                                               QRegularExpression::DotMatchesEverythingOption);
        for (auto it = citato.globalMatch(html); it.hasNext();) {
            const QString t = testo(it.next().captured(1));
            if (!t.endsWith(QLatin1Char('?')) && !t.endsWith(QLatin1Char(':')) && !t.endsWith(QLatin1Char('.')))
                QVERIFY2(descrizioneAmmessa(t), qPrintable(t));
        }
        int nomi = 0;
        static const QRegularExpression nome(QStringLiteral("<b class=\"nome\">(.*?)</b>"),
                                             QRegularExpression::DotMatchesEverythingOption);
        for (auto it = nome.globalMatch(html); it.hasNext(); ++nomi) {
            const QString n = testo(it.next().captured(1));
            QVERIFY2(frmNuovoPiano::NomeNonValido(n).isEmpty(), qPrintable(n));
        }
        QVERIFY(nomi >= 2);
    }
};

QTEST_MAIN(TestManuale)
#include "test_manuale.moc"
