#include "Messaggi.h"

#include <QAbstractButton>
#include <QApplication>

namespace {
RispostaMessaggio risponditore;
QStringList mostrati;

QMessageBox::StandardButton mostra(const QString& testo, QMessageBox::Icon icona,
                                   QMessageBox::StandardButtons pulsanti,
                                   QMessageBox::StandardButton predefinito, QWidget* genitore)
{
    if (risponditore) {
        mostrati << testo;
        return risponditore(testo, pulsanti);
    }
    if (!genitore)
        genitore = QApplication::activeWindow();
    QMessageBox box(icona, TitoloProgramma, testo, pulsanti, genitore);
    box.setDefaultButton(predefinito);
    // S, N and A answer as the underlined letters say, Alt or not; Esc is
    // Annulla when there is one, No otherwise.
    if (QAbstractButton* si = box.button(QMessageBox::Yes))
        si->setText(QStringLiteral("&Sì"));
    if (QAbstractButton* no = box.button(QMessageBox::No)) {
        no->setText(QStringLiteral("&No"));
        box.setEscapeButton(no);
    }
    if (QAbstractButton* annulla = box.button(QMessageBox::Cancel)) {
        annulla->setText(QStringLiteral("&Annulla"));
        box.setEscapeButton(annulla);
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
} // namespace

void Messaggio(const QString& testo, QMessageBox::Icon icona, QWidget* genitore)
{
    mostra(testo, icona, QMessageBox::Ok, QMessageBox::Ok, genitore);
}

QString Citazione(const QString& testo, int massimo)
{
    if (testo.size() <= massimo)
        return testo;
    return testo.left(massimo) + QStringLiteral("\u2026");
}

bool Domanda(const QString& testo, QWidget* genitore)
{
    return mostra(testo, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
                  QMessageBox::No, genitore) == QMessageBox::Yes;
}

QMessageBox::StandardButton DomandaConAnnulla(const QString& testo, QWidget* genitore)
{
    const QMessageBox::StandardButton r =
        mostra(testo, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
               QMessageBox::Yes, genitore);
    return r == QMessageBox::Yes || r == QMessageBox::No ? r : QMessageBox::Cancel;
}

void ImpostaRisponditore(RispostaMessaggio r)
{
    risponditore = std::move(r);
    mostrati.clear();
}

QStringList MessaggiMostrati(bool svuota)
{
    QStringList l = mostrati;
    if (svuota)
        mostrati.clear();
    return l;
}
