#pragma once
// Helpers of the statement-import tests: the fixtures' folder, files written
// for a case, and movements and balances as one line of text each, so that a
// failed comparison shows what differs.
#include "ControlloEstratti.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <chrono>

inline QString Fissaggio(const QString& nome)
{
    return QStringLiteral(DATI_ESTRATTI "/") + nome;
}

inline QByteArray LeggiFissaggio(const QString& nome)
{
    QFile f(Fissaggio(nome));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("fixture %s missing", qPrintable(nome));
    return f.readAll();
}

inline QString ScriviFile(const QDir& cartella, const QString& nome, const QByteArray& contenuto)
{
    const QString percorso = cartella.filePath(nome);
    QFile f(percorso);
    if (!f.open(QIODevice::WriteOnly) || f.write(contenuto) != contenuto.size())
        qFatal("cannot write %s", qPrintable(percorso));
    return percorso;
}

inline std::chrono::sys_days GG(int g, int m, int a)
{
    return std::chrono::sys_days{std::chrono::year{a} / m / g};
}

// "02/01/2023 30/12/2022 2.500,50 48/BE ACCREDITO @5"
inline QString Riga(const Movimento& m)
{
    return QStringLiteral("%1 %2 %3 %4/%5 %6 @%7")
        .arg(QString::fromStdString(TestoData(m.dataContabile)), QString::fromStdString(TestoData(m.dataValuta)),
             QString::fromStdString(TestoCentesimi(m.importo)), QString::fromStdString(m.causaleCBI),
             QString::fromStdString(m.causaleBanca), QString::fromStdString(m.descrizione))
        .arg(m.riga);
}

inline QStringList Righe(const std::vector<Movimento>& movimenti)
{
    QStringList r;
    for (const Movimento& m : movimenti)
        r << Riga(m);
    return r;
}

// "02/01/2023 1.000,00 > 02/01/2023 3.350,50"
inline QString Riga(const SaldiEstratto& s)
{
    return QStringLiteral("%1 %2 > %3 %4")
        .arg(QString::fromStdString(TestoData(s.dataIniziale)), QString::fromStdString(TestoCentesimi(s.saldoIniziale)),
             QString::fromStdString(TestoData(s.dataFinale)), QString::fromStdString(TestoCentesimi(s.saldoFinale)));
}
