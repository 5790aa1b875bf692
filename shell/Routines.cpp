#include "Routines.h"

#include "Finestre.h"
#include "Twips.h"

#include <QMdiSubWindow>
#include <QStringList>
#include <QWidget>

double NumeroTag(const QString& gruppo)
{
    double n = 0;
    for (const QChar c : gruppo) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        n = n * 10 + (c.unicode() - '0');
    }
    return n;
}

QSizeF MisuraProgetto(const QString& tagFinestra)
{
    return {NumeroTag(tagFinestra.left(5)), NumeroTag(tagFinestra.right(5))};
}

QRectF RettangoloProgetto(const QString& tagCornice)
{
    return {NumeroTag(tagCornice.mid(0, 5)), NumeroTag(tagCornice.mid(5, 5)),
            NumeroTag(tagCornice.mid(10, 5)), NumeroTag(tagCornice.mid(15, 5))};
}

QRectF GeometriaFiglia(const QSizeF& principale)
{
    return {0, 0, principale.width() - 240, principale.height() - 1920};
}

QRectF GeometriaTitolo(const QSizeF& principale)
{
    return {0, 0, principale.width(), principale.height()};
}

std::optional<QRectF> GeometriaCornice(const QSizeF& progetto, const QRectF& cornice,
                                       const QSizeF& figlia)
{
    if (progetto.width() == 0 || progetto.height() == 0)
        return std::nullopt;
    const double fx = figlia.width() / progetto.width();
    const double fy = figlia.height() / progetto.height();
    return QRectF(fx * cornice.x(), fy * cornice.y(), fx * cornice.width(),
                  fy * cornice.height());
}

double LarghezzaBanda(double larghezzaFinestra)
{
    return larghezzaFinestra - 240;
}

QSizeF MisuraGriglia(const QSizeF& cornice)
{
    return {cornice.width() - 240, cornice.height() - 360};
}

namespace {

// The widget that carries the window's position: its MDI sub-window when it
// lives in the main window's area, the window itself otherwise.
QWidget* Contenitore(QWidget* w)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget()))
        return sub;
    return w;
}

bool ECornice(const QObject* o)
{
    return o->objectName().left(7).toLower() == QLatin1String("xpframe");
}

void ApplicaGeometria(QWidget* w, const QRectF& r)
{
    QWidget* c = Contenitore(w);
    PosizionaTwips(c, r);
    if (c != w)
        w->setGeometry(0, 0, c->width(), c->height());
}

void DisponiFiglia(QWidget* w, const QSizeF& principale, bool conGriglia)
{
    if (!w)
        return;
    QWidget* c = Contenitore(w);
    c->hide();

    const QSizeF progetto = MisuraProgetto(w->property("Tag").toString());
    const QRectF finestra = GeometriaFiglia(principale);
    ApplicaGeometria(w, finestra);

    std::optional<QRectF> cornice4;
    for (QWidget* figlio : w->findChildren<QWidget*>()) {
        if (!ECornice(figlio))
            continue;
        const auto r = GeometriaCornice(
            progetto, RettangoloProgetto(figlio->property("Tag").toString()), finestra.size());
        if (!r)
            continue;
        PosizionaTwips(figlio, *r);
        if (figlio->objectName() == QLatin1String("XPFrame4"))
            cornice4 = r;
    }

    if (auto* banda = w->findChild<QWidget*>(QStringLiteral("XPButton1"))) {
        banda->resize(std::max(0, TwipsAPixel(LarghezzaBanda(finestra.width()))),
                      banda->height());
    }

    if (conGriglia && cornice4) {
        if (auto* griglia = w->findChild<QWidget*>(QStringLiteral("Grid"))) {
            const QSizeF g = MisuraGriglia(cornice4->size());
            griglia->resize(std::max(0, TwipsAPixel(g.width())),
                            std::max(0, TwipsAPixel(g.height())));
        }
    }

    c->show();
}

} // namespace

void DisponiTitolo(QWidget* titolo, const QSizeF& principale)
{
    if (titolo)
        ApplicaGeometria(titolo, GeometriaTitolo(principale));
}

void DisponiCalcoli(QWidget* w, const QSizeF& principale) { DisponiFiglia(w, principale, true); }
void DisponiItalia(QWidget* w, const QSizeF& principale) { DisponiFiglia(w, principale, true); }
void DisponiBox(QWidget* w, const QSizeF& principale) { DisponiFiglia(w, principale, false); }
void DisponiMutuo(QWidget* w, const QSizeF& principale) { DisponiFiglia(w, principale, false); }
void DisponiOPE(QWidget* w, const QSizeF& principale) { DisponiFiglia(w, principale, false); }
void DisponiBreve(QWidget* w, const QSizeF& principale) { DisponiFiglia(w, principale, false); }
void DisponiUsura(QWidget* w, const QSizeF& principale) { DisponiFiglia(w, principale, false); }
void DisponiRiepilogo(QWidget* w, const QSizeF& principale) { DisponiFiglia(w, principale, false); }
void DisponiRegole(QWidget* w, const QSizeF& principale) { DisponiFiglia(w, principale, false); }
void DisponiPiano(QWidget* w, const QSizeF& principale) { DisponiFiglia(w, principale, false); }
void DisponiConto(QWidget* w, const QSizeF& principale) { DisponiFiglia(w, principale, false); }
void DisponiRicalcolo(QWidget* w, const QSizeF& principale) { DisponiFiglia(w, principale, false); }

bool DisponiPerNome(const QString& nome, QWidget* w, const QSizeF& principale)
{
    const VoceFinestra* v = VoceDiFinestra(nome);
    if (!v)
        return false;
    v->disponi(w, principale);
    return true;
}

const QStringList& FinestreFiglie()
{
    static const QStringList nomi = [] {
        QStringList n;
        for (const VoceFinestra& v : ElencoFinestre())
            n << QLatin1String(v.nome);
        return n;
    }();
    return nomi;
}
