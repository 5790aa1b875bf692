#include "RicercaElenco.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// The longest pause between two keys of one search, in milliseconds.
constexpr int PausaMassima = 1000;

// Letters and digits only, case folded: "Gen - 2011" -> "gen2011".
QString Normale(const QString& s)
{
    QString r = s.toCaseFolded();
    r.removeIf([](QChar c) { return !c.isLetterOrNumber(); });
    return r;
}

class RicercaDigitata : public QObject {
public:
    explicit RicercaDigitata(QComboBox* elenco) : QObject(elenco), elenco_(elenco)
    {
        elenco->installEventFilter(this);
        if (elenco->lineEdit())
            elenco->lineEdit()->installEventFilter(this);
        elenco->view()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress)
            return false;
        const auto* k = static_cast<QKeyEvent*>(e);
        const QString t = k->text();
        if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier) || t.size() != 1 ||
            !t.at(0).isPrint())
            return false;
        if (!ultimoTasto_.isValid() || ultimoTasto_.elapsed() > PausaMassima)
            cercato_.clear();
        if (cercato_.isEmpty() && t.at(0).isSpace())
            return false;  // the list's own use of the blank
        const bool aperto = o == elenco_->view();
        const int attuale = aperto ? elenco_->view()->currentIndex().row() : elenco_->currentIndex();
        const bool ripetuto = !cercato_.isEmpty() && cercato_.count(t.at(0)) == cercato_.size();
        cercato_ += t;
        int i = cerca(cercato_, 0);
        if (i < 0 && ripetuto) {
            // "eee": the next item starting with "e", round again at the end.
            i = cerca(t, attuale + 1);
            if (i < 0)
                i = cerca(t, 0);
        } else if (i < 0) {
            cercato_ = t;
            i = cerca(cercato_, 0);
        }
        if (i >= 0 && i != attuale) {
            if (aperto) {
                const QModelIndex voce = elenco_->model()->index(i, elenco_->modelColumn(), elenco_->rootModelIndex());
                elenco_->view()->setCurrentIndex(voce);
                elenco_->view()->scrollTo(voce);
            } else {
                elenco_->setCurrentIndex(i);
                emit elenco_->activated(i);
                emit elenco_->textActivated(elenco_->itemText(i));
            }
        }
        // The pause counts from the end of what the choice set off.
        ultimoTasto_.start();
        return true;
    }

private:
    int cerca(const QString& testo, int da) const
    {
        const QString inizio = Normale(testo);
        if (inizio.isEmpty())
            return -1;
        for (int i = std::max(da, 0); i < elenco_->count(); ++i)
            if (Normale(elenco_->itemText(i)).startsWith(inizio))
                return i;
        return -1;
    }

    QComboBox* elenco_;
    QString cercato_;
    QElapsedTimer ultimoTasto_;
};

} // namespace

void AbilitaRicercaDigitata(QComboBox* elenco)
{
    new RicercaDigitata(elenco);
}
