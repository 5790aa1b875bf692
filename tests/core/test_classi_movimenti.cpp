// The classes of the movements: the default rules on typical descriptions,
// hand-set classes kept, and the rules' text read back.
#include "ClassiMovimenti.h"

#include <QtTest>

Q_DECLARE_METATYPE(ClasseMovimento)

class TestClassiMovimenti : public QObject {
    Q_OBJECT
private slots:
    void descrizioniTipiche_data();
    void descrizioniTipiche();
    void testoConfrontabile_data();
    void testoConfrontabile();
    void classeAManoRestaERegolaRegistrata();
    void testoDelleRegoleRiletto();
    void testoConErrori();
};

void TestClassiMovimenti::descrizioniTipiche_data()
{
    using C = ClasseMovimento;
    QTest::addColumn<QString>("descrizione");
    QTest::addColumn<QString>("causale");
    QTest::addColumn<qlonglong>("importo");
    QTest::addColumn<ClasseMovimento>("classe");
    QTest::newRow("interessi debitori") << "INTERESSI DEBITORI" << "" << -1000LL << C::InteressiDebitori;
    QTest::newRow("abbreviati") << "Int. debitori al 31/12" << "" << -1000LL << C::InteressiDebitori;
    QTest::newRow("competenze addebitate") << "COMPETENZE DI CHIUSURA" << "" << -1000LL << C::InteressiDebitori;
    QTest::newRow("competenze accreditate") << "COMPETENZE DI CHIUSURA" << "" << 1000LL << C::InteressiCreditori;
    QTest::newRow("massimo scoperto") << "COMM. MASSIMO SCOPERTO" << "" << -1000LL << C::CMS;
    QTest::newRow("sigla CMS puntata") << "C.M.S. 3° trim." << "" << -1000LL << C::CMS;
    QTest::newRow("CDF accentata") << "COMMISSIONE DISPONIBILITÀ FONDI" << "" << -1000LL << C::Commissioni;
    QTest::newRow("CDF con apostrofo") << "Commissione disponibilita' fondi" << "" << -1000LL << C::Commissioni;
    QTest::newRow("sigla CDF") << "CDF 2T" << "" << -1000LL << C::Commissioni;
    QTest::newRow("CIV") << "CIV per sconfinamento" << "" << -5000LL << C::Commissioni;
    QTest::newRow("canone") << "CANONE MENSILE CONTO" << "" << -600LL << C::Commissioni;
    QTest::newRow("bollo") << "IMPOSTA DI BOLLO E/C" << "" << -3420LL << C::Imposte;
    QTest::newRow("bollo su titoli") << "Imp. bollo dossier titoli" << "" << -200LL << C::Imposte;
    QTest::newRow("rata di mutuo") << "RATA MUTUO N. 12 QUOTA INTERESSI" << "" << -90000LL << C::Ordinario;
    QTest::newRow("cedole") << "ACCREDITO CEDOLE TITOLI" << "" << 12000LL << C::Ordinario;
    QTest::newRow("bollo auto") << "PAGAMENTO BOLLO AUTO" << "" << -21000LL << C::Ordinario;
    QTest::newRow("civico non è CIV") << "BONIFICO VIA ROMA CIVICO 12" << "48" << -5000LL << C::Ordinario;
    QTest::newRow("causale 18 addebito") << "LIQUIDAZIONE" << "18" << -1000LL << C::InteressiDebitori;
    QTest::newRow("causale 18 accredito") << "" << " 18 " << 1000LL << C::InteressiCreditori;
    QTest::newRow("causale 18 a zero") << "" << "18" << 0LL << C::Ordinario;
}

void TestClassiMovimenti::descrizioniTipiche()
{
    QFETCH(QString, descrizione);
    QFETCH(QString, causale);
    QFETCH(qlonglong, importo);
    QFETCH(ClasseMovimento, classe);
    Movimento m;
    m.descrizione = descrizione.toStdString();
    m.causaleCBI = causale.toStdString();
    m.importo = importo;
    const auto [trovata, regola] = ClassificatoreMovimenti(RegolePredefinite()).Classe(m);
    QCOMPARE(trovata, classe);
    QCOMPARE(regola == ClasseNessunaRegola,
             classe == ClasseMovimento::Ordinario && !descrizione.contains("MUTUO") && !descrizione.contains("CEDOLE"));
}

void TestClassiMovimenti::testoConfrontabile_data()
{
    QTest::addColumn<QByteArray>("testo");
    QTest::addColumn<QByteArray>("atteso");
    QTest::newRow("accenti") << QByteArray("Disponibilità") << QByteArray("disponibilita");
    QTest::newRow("punteggiatura") << QByteArray(" COMM.NE  MAX-SCOPERTO ") << QByteArray("comm ne max scoperto");
    QTest::newRow("euro e cifre") << QByteArray("€ 1.000,00") << QByteArray("1 000 00");
    QTest::newRow("latino 1") << QByteArray("ÀÉÎÕÜ ß Æ ×") << QByteArray("aeiou ss ae");
    QTest::newRow("apostrofo tipografico") << QByteArray("l’interesse") << QByteArray("l interesse");
    QTest::newRow("byte non UTF-8") << QByteArray("\xE0 conto \xC3") << QByteArray("conto");
    QTest::newRow("altre lettere") << QByteArray("Ωmega") << QByteArray("Ωmega");
}

void TestClassiMovimenti::testoConfrontabile()
{
    QFETCH(QByteArray, testo);
    QFETCH(QByteArray, atteso);
    QCOMPARE(QByteArray::fromStdString(TestoConfrontabile(testo.toStdString())), atteso);
}

void TestClassiMovimenti::classeAManoRestaERegolaRegistrata()
{
    std::vector<Movimento> movimenti(3);
    movimenti[0].descrizione = "SPESE TENUTA CONTO";
    movimenti[1].descrizione = "SPESE TENUTA CONTO";
    movimenti[1].classe = ClasseMovimento::Imposte;
    movimenti[1].regolaClasse = ClasseAMano;
    movimenti[2].descrizione = "BONIFICO";
    movimenti[2].classe = ClasseMovimento::CMS;  // left by an older rule set
    movimenti[2].regolaClasse = 2;
    const std::vector<RegolaClasse> regole = RegolePredefinite();
    QCOMPARE(ApplicaRegole(movimenti, regole), std::size_t{2});
    QCOMPARE(movimenti[0].classe, ClasseMovimento::Commissioni);
    QCOMPARE(regole[static_cast<std::size_t>(movimenti[0].regolaClasse - 1)].classe, ClasseMovimento::Commissioni);
    QCOMPARE(movimenti[1].classe, ClasseMovimento::Imposte);
    QCOMPARE(movimenti[1].regolaClasse, ClasseAMano);
    QCOMPARE(movimenti[2].classe, ClasseMovimento::Ordinario);
    QCOMPARE(movimenti[2].regolaClasse, ClasseNessunaRegola);
    QCOMPARE(ApplicaRegole(movimenti, regole), std::size_t{0});
}

void TestClassiMovimenti::testoDelleRegoleRiletto()
{
    std::vector<RegolaClasse> regole = RegolePredefinite();
    QVERIFY(ControllaRegole(regole).empty());
    regole.push_back({{"A1", "z9"}, {"Società à responsabilità", "spese*"}, SegnoRegola::Accredito, ClasseMovimento::CMS});
    const LetturaRegole lettura = LeggiRegole(TestoRegole(regole));
    QVERIFY(lettura.errori.empty());
    QVERIFY(lettura.regole == regole);
    // The words match as typed, accents and all.
    Movimento m;
    m.descrizione = "SOCIETA A RESPONSABILITA LIMITATA";
    m.causaleCBI = "Z9";
    m.importo = 1;
    QCOMPARE(ClassificatoreMovimenti({regole.back()}).Classe(m).first, ClasseMovimento::CMS);
}

void TestClassiMovimenti::testoConErrori()
{
    const std::string testo = "# commento\n"
                              "\n"
                              "18 | | dare\n"
                              "| | | ordinario\n"
                              "1 | spese | | commissioni\n"
                              "| inter*essi | | CMS\n"
                              "| ... | | imposte\n"
                              "| bollo | forse | imposte\n"
                              "| bollo | | varie\n"
                              "18; A1, 26 | interessi | DARE | Interessi Debitori\r\n";
    const LetturaRegole lettura = LeggiRegole(testo);
    QCOMPARE(lettura.regole.size(), std::size_t{1});
    QCOMPARE(lettura.regole[0].causali, (std::vector<std::string>{"18", "A1", "26"}));
    QCOMPARE(lettura.regole[0].segno, SegnoRegola::Addebito);
    QCOMPARE(lettura.regole[0].classe, ClasseMovimento::InteressiDebitori);
    std::vector<std::size_t> righe;
    for (const ErroreRegola& e : lettura.errori) {
        righe.push_back(e.riga);
        QVERIFY2(e.testo.rfind("Riga " + std::to_string(e.riga) + ": ", 0) == 0, e.testo.c_str());
    }
    QCOMPARE(righe, (std::vector<std::size_t>{3, 4, 5, 6, 7, 8, 9}));

    const std::vector<ErroreRegola> errori = ControllaRegole({{{}, {"a|b", "ok"}, SegnoRegola::Qualsiasi, ClasseMovimento::CMS}});
    QCOMPARE(errori.size(), std::size_t{1});
    QCOMPARE(errori[0].riga, std::size_t{1});
}

QTEST_APPLESS_MAIN(TestClassiMovimenti)
#include "test_classi_movimenti.moc"
