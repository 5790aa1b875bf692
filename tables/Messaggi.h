#pragma once
// Every message box of the program goes through here, titled "Zelvi T.E.G.".
// Tests install a responder to answer them without a display.
#include <QMessageBox>
#include <QString>
#include <exception>
#include <functional>

class QWidget;

inline const QString TitoloProgramma = QStringLiteral("Zelvi T.E.G.");

// Information or warning with an OK button.
void Messaggio(const QString& testo, QMessageBox::Icon icona = QMessageBox::Information,
               QWidget* genitore = nullptr);

// What a message quotes of a text the user typed or a file held: at most
// `massimo` characters, then "…", so that no message grows with the text.
QString Citazione(const QString& testo, int massimo = 20);

// A Yes/No question ("Sì", "No"; the keys S and N, Esc for No); true for "Yes".
bool Domanda(const QString& testo, QWidget* genitore = nullptr);

// A Yes/No/Cancel question ("Sì", "No", "Annulla"; the keys S, N and A),
// Yes the default and Esc for Cancel; returns QMessageBox::Yes, No or Cancel.
QMessageBox::StandardButton DomandaConAnnulla(const QString& testo, QWidget* genitore = nullptr);

// When set, message boxes are not shown: the responder gets the text and the
// buttons offered and returns the button pressed.
using RispostaMessaggio =
    std::function<QMessageBox::StandardButton(const QString& testo, QMessageBox::StandardButtons)>;
void ImpostaRisponditore(RispostaMessaggio r);

// Texts of the messages shown since the last call (kept only while a
// responder is set), for tests.
QStringList MessaggiMostrati(bool svuota = true);

// Thrown by a command that has already told the user why it stops (and what
// to do instead): the command runner shows nothing more.
class ComandoInterrotto : public std::exception {
public:
    const char* what() const noexcept override { return "comando interrotto"; }
};
